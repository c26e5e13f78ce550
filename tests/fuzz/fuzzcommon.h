// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the fuzz targets share: the failure that libFuzzer reports, the input read as bytes,
// one model of each file layout, and what the file reader makes of each kind of field.

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/configfile.h"
#include "files/loadedvalues.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// True in the replay of a corpus, which runs in full the checks that the fuzzer cuts short
// for speed.
inline bool &replayingCorpus()
{
    static bool replaying = false;
    return replaying;
}

// A broken property aborts, which libFuzzer reports with the input; the message says which.
[[noreturn]] inline void fuzzFailure(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
    std::abort();
}
#define FUZZ_CHECK(cond) ((cond) ? void(0) : fuzzFailure(#cond, __FILE__, __LINE__))

inline QByteArray describe(const LoadedValue &v)
{
    if (v.isText())
        return "text " + v.textValue().toHex(' ');
    if (v.isNumber())
        return "number " + QByteArray::number(v.numberValue());
    return "unset";
}

// Two tables that must be equal; the slots that differ are shown before the failure.
#define FUZZ_CHECK_TABLE(actual, expected) checkTable((actual), (expected), #actual, __FILE__, __LINE__)
inline void checkTable(const LoadedValues &actual, const LoadedValues &expected, const char *what,
                       const char *file, int line)
{
    if (actual == expected)
        return;
    for (int i = 0; i < LoadedSlotCount; ++i) {
        if (!(actual[i] == expected[i]))
            std::fprintf(stderr, "slot %d: %s, expected %s\n", i, describe(actual[i]).constData(),
                         describe(expected[i]).constData());
    }
    fuzzFailure(what, file, line);
}

// The input taken one byte at a time; past its end every byte is zero, so any input decodes.
class ByteSource
{
public:
    ByteSource(const uint8_t *data, size_t size) : m_p(data), m_n(size) {}

    quint8 next()
    {
        if (m_n == 0)
            return 0;
        --m_n;
        return *m_p++;
    }
    QByteArray take(size_t n)
    {
        n = n < m_n ? n : m_n;
        QByteArray out(reinterpret_cast<const char *>(m_p), qsizetype(n));
        m_p += n;
        m_n -= n;
        return out;
    }
    QByteArray rest() { return take(m_n); }

private:
    const uint8_t *m_p;
    size_t m_n;
};

// The first model of the catalog with each file layout: None, TypeWord, DataTable, RackMap,
// ModbusTable.
inline const QList<const ModelInfo *> &layoutModels()
{
    static const QList<const ModelInfo *> models = [] {
        QList<const ModelInfo *> out;
        for (FileParams p : {FileParams::None, FileParams::TypeWord, FileParams::DataTable,
                             FileParams::RackMap, FileParams::ModbusTable}) {
            for (const ModelInfo &m : modelCatalog()) {
                if (m.fileParams == p) {
                    out.append(&m);
                    break;
                }
            }
        }
        FUZZ_CHECK(out.size() == 5);
        return out;
    }();
    return models;
}

// The slots of the fields the reader treats apart.
namespace FieldSlot {
constexpr int NetworkSpeed = 3;
constexpr int ChanBSpeed = 4;
constexpr int ChanCSpeed = 6;
constexpr int BusType = 9;
constexpr int AuxByte1 = 10;
constexpr int AuxByte2 = 11;
} // namespace FieldSlot

// What the reader keeps of a one-character field written from byte b: that byte, cut from its
// quotes like any text at a zero byte, which most fields take back as the byte 0; but
// ChanBSpeed keeps the empty text (which the table's users take as 0 too), and a zero channel C
// speed reads as speed code 8.
inline LoadedValue readBackChar(int slot, quint8 b)
{
    if (slot == FieldSlot::ChanCSpeed && b == 0)
        return LoadedValue::text("\x08");
    if (slot == FieldSlot::ChanBSpeed && b == 0)
        return LoadedValue::text({});
    return LoadedValue::text(QByteArray(1, char(b)));
}

// Of a two-character field: the text up to its first zero byte; BusType's empty text is byte 0.
inline LoadedValue readBackPair(int slot, quint8 first, quint8 second)
{
    QByteArray t;
    if (first != 0) {
        t.append(char(first));
        if (second != 0)
            t.append(char(second));
    }
    if (t.isEmpty() && slot == FieldSlot::BusType)
        t = QByteArray(1, '\0');
    return LoadedValue::text(t);
}

// Of a decimal text field: the text, or byte 0 for the empty text.
inline LoadedValue readBackDecimal(const DecimalText &t)
{
    return LoadedValue::text(t.isEmpty() ? QByteArray(1, '\0') : t.text());
}

// The slots a file of the model fills, in file order: the fourteen common ones, then its
// parameter entries.
inline QList<int> filledSlots(const ModelInfo &model)
{
    QList<int> filled;
    for (int slot = 0; slot < 14; ++slot)
        filled.append(slot);
    for (const QList<int> &line : modelParamLines(model)) {
        for (int k : line)
            filled.append(slotOfProtoParam(k));
    }
    return filled;
}

// The upload replies of a unit that took a configuration message with this body: the first
// reply holds the body from offset 6; the parameter block (from offset 24) or the rack map
// (from offset 16) comes in the second, from the entries the body carries after its common
// part and eight zero bytes.
inline void unitReplies(const QByteArray &body, const ModelInfo &model, QByteArray *first, QByteArray *second,
                        int firstLength = 66)
{
    *first = (QByteArray("TR") + QByteArray(4, '\0') + body).left(firstLength);
    first->append(firstLength - first->size(), '\0');
    second->clear();
    const QByteArray entries = body.mid(50);
    if (model.fileParams == FileParams::ModbusTable)
        *second = QByteArray("TR") + QByteArray(22, '\0') + entries + QByteArray(4, '\0');
    else if (model.fileParams == FileParams::RackMap)
        *second = QByteArray("TR") + QByteArray(14, '\0') + entries + QByteArray(66, '\0');
}
