// SPDX-License-Identifier: GPL-3.0-or-later
// From a converter's upload replies to the configuration file, and the file read back.
// Input: the model (its index in the catalog), the length of the first reply, the first reply,
// and the rest as the second reply.

#include "files/configfile.h"
#include "files/uploadfile.h"

#include <QByteArray>

#include "fuzzcommon.h"

namespace {

// The first reply carries configuration message body byte k at offset 6 + k.
constexpr int BodyAt = 6;

// The parameter entry k of the file, as the reply of the model carries it.
quint8 paramByte(const ModelInfo &m, const QByteArray &first, const QByteArray &second, int k)
{
    switch (m.fileParams) {
    case FileParams::TypeWord:
    case FileParams::DataTable:
        return quint8(first.at(BodyAt + 50 + k)); // after the common part and eight zero bytes
    case FileParams::ModbusTable:
        return quint8(second.at(24 + k));
    case FileParams::RackMap:
        return quint8(second.at(16 + k));
    case FileParams::None:
        break;
    }
    fuzzFailure("a model without parameter lines has no parameter entry", __FILE__, __LINE__);
}

// The highest offset of each reply the file takes a value from, plus one.
void neededSizes(const ModelInfo &m, int *first, int *second)
{
    *first = BodyAt + 42; // the common part of the body
    *second = 0;
    int highest = -1;
    for (const QList<int> &line : modelParamLines(m)) {
        for (int k : line)
            highest = qMax(highest, k);
    }
    switch (m.fileParams) {
    case FileParams::TypeWord:
    case FileParams::DataTable:
        *first = BodyAt + 50 + highest + 1;
        break;
    case FileParams::ModbusTable:
        *second = 24 + highest + 1;
        break;
    case FileParams::RackMap:
        *second = 16 + highest + 1;
        break;
    case FileParams::None:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ByteSource in(data, size);
    const ModelInfo &model = modelCatalog().at(in.next() % modelCatalog().size());
    const QByteArray first = in.take(in.next());
    const QByteArray second = in.rest();

    QByteArray file("untouched");
    const FileResult r = uploadFileBytes(first, second, model, &file);

    int firstNeeded = 0;
    int secondNeeded = 0;
    neededSizes(model, &firstNeeded, &secondNeeded);
    if (first.size() < firstNeeded || second.size() < secondNeeded) {
        FUZZ_CHECK(!r.ok && file == "untouched");
        return 0;
    }
    auto at = [&first](int bodyOffset) { return quint8(first.at(BodyAt + bodyOffset)); };
    // NetworkSpeed and BusType are written between quotes, which cannot hold a quote.
    const bool unquotable = at(26) == '"' || at(27) == '"' || at(36) == '"' || at(37) == '"';
    FUZZ_CHECK(r.ok == !unquotable);
    if (!r.ok) {
        FUZZ_CHECK(file == "untouched" && !r.error.isEmpty());
        return 0;
    }

    LoadedValues table;
    const FileResult read = ReadConfigRecords(file, model, table);
    FUZZ_CHECK(read.ok);

    // Every value is the byte the unit sent, as the reader keeps each kind of field.
    const LoadedValues expected = [&] {
        LoadedValues t;
        auto number = [&](int bodyOffset) { return LoadedValue::number(at(bodyOffset)); };
        t[0] = readBackChar(0, at(23));
        t[1] = number(24);
        t[2] = number(25);
        t[3] = readBackPair(3, at(26), at(27));
        t[4] = readBackChar(4, at(28));
        t[5] = number(29);
        t[6] = readBackChar(6, at(30));
        t[7] = number(31);
        t[8] = number(35);
        t[9] = readBackPair(9, at(36), at(37));
        t[10] = number(38);
        t[11] = number(39);
        t[12] = readBackChar(12, at(40));
        t[13] = number(41);
        for (const QList<int> &line : modelParamLines(model)) {
            for (int k : line)
                t[slotOfProtoParam(k)] = LoadedValue::number(paramByte(model, first, second, k));
        }
        return t;
    }();
    FUZZ_CHECK_TABLE(table, expected);
    return 0;
}
