// SPDX-License-Identifier: GPL-3.0-or-later
// A configuration record built from the input, saved as a file, sent as a configuration
// message and uploaded back: each road must keep the values the record holds.
// Input: the model (its index in the catalog), then the record's fields a byte each.

#include "files/configfile.h"
#include "files/uploadfile.h"
#include "message/configmessage.h"

#include <QByteArray>

#include "fuzzcommon.h"

namespace {

// A decimal text as a screen enters it: empty (a fresh record), plain or with leading zeros.
DecimalText decimalFrom(ByteSource &in)
{
    const quint8 form = in.next();
    const quint8 value = in.next();
    DecimalText t;
    switch (form % 3) {
    case 1:
        t = DecimalText::fromNumber(value);
        break;
    case 2:
        FUZZ_CHECK(t.set(QByteArray::number(value).rightJustified(3, '0')));
        break;
    default:
        break;
    }
    return t;
}

ConfigRecord recordFrom(ByteSource &in, const ModelInfo &model)
{
    ConfigRecord rec;
    rec.ConfigLength = model.configLength;
    rec.ProductCode = quint8(model.productCode);
    rec.FamilyCode = model.familyCode();
    rec.ProtocolMode = in.next();
    rec.StationNumber = in.next();
    rec.HighAddress = in.next();
    rec.NetworkSpeed = {in.next(), in.next()};
    rec.ChanBSpeed = in.next();
    rec.ChanBFormat = in.next();
    rec.ChanCSpeed = in.next();
    rec.ChanCFormat = in.next();
    rec.LinkOptions = in.next();
    rec.BusType = {in.next(), in.next()};
    rec.AuxByte1 = decimalFrom(in);
    rec.AuxByte2 = decimalFrom(in);
    rec.AuxByte3 = in.next();
    rec.AuxByte4 = in.next();
    for (IntByte &v : rec.ExtParam)
        v = in.next();
    for (IntByte &v : rec.ProtoParam)
        v = in.next();
    return rec;
}

// What reading the record's file gives.
LoadedValues storedValues(const ConfigRecord &rec, const ModelInfo &model)
{
    LoadedValues t;
    t[0] = readBackChar(0, rec.ProtocolMode);
    t[1] = LoadedValue::number(rec.StationNumber);
    t[2] = LoadedValue::number(rec.HighAddress);
    t[3] = readBackPair(3, rec.NetworkSpeed[0], rec.NetworkSpeed[1]);
    t[4] = readBackChar(4, rec.ChanBSpeed);
    t[5] = LoadedValue::number(rec.ChanBFormat);
    t[6] = readBackChar(6, rec.ChanCSpeed);
    t[7] = LoadedValue::number(rec.ChanCFormat);
    t[8] = LoadedValue::number(rec.LinkOptions);
    t[9] = readBackPair(9, rec.BusType[0], rec.BusType[1]);
    t[10] = readBackDecimal(rec.AuxByte1);
    t[11] = readBackDecimal(rec.AuxByte2);
    t[12] = readBackChar(12, rec.AuxByte3);
    t[13] = LoadedValue::number(rec.AuxByte4);
    for (const QList<int> &line : modelParamLines(model)) {
        for (int k : line)
            t[slotOfProtoParam(k)] = LoadedValue::number(rec.ProtoParam[k]);
    }
    return t;
}

bool holdsQuote(const CharPair &pair)
{
    return pair[0] == '"' || pair[1] == '"';
}

// The message a download sends: its header, a body of the record's length, and the sum.
QByteArray checkedBody(const ConfigMessage &msg, int length)
{
    FUZZ_CHECK(msg.ok());
    const QByteArray &m = msg.bytes;
    FUZZ_CHECK(m.size() == 7 + length + 2);
    FUZZ_CHECK(m.startsWith(QByteArray("NEE") + char(length) + QByteArray(3, '\0')));
    const QByteArray body = m.mid(7, length);
    quint16 sum = 0;
    for (char c : body)
        sum = quint16(sum + quint8(c));
    FUZZ_CHECK(quint8(m.at(m.size() - 2)) == (sum & 0xFF) && quint8(m.at(m.size() - 1)) == (sum >> 8));
    return body;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ByteSource in(data, size);
    const ModelInfo &model = modelCatalog().at(in.next() % modelCatalog().size());
    const ConfigRecord rec = recordFrom(in, model);
    const bool unquotable = holdsQuote(rec.NetworkSpeed) || holdsQuote(rec.BusType);

    // Saved: refused only for a pair that cannot stand between quotes, and then named.
    QByteArray file("untouched");
    const FileResult saved = configFileBytes(rec, model, &file);
    FUZZ_CHECK(saved.ok == !unquotable);
    if (!saved.ok) {
        const char *field = holdsQuote(rec.NetworkSpeed) ? "NetworkSpeed" : "BusType";
        FUZZ_CHECK(file == "untouched" && saved.error.contains(QLatin1String(field)));
    }
    LoadedValues fromFile;
    if (saved.ok) {
        FUZZ_CHECK(ReadConfigRecords(file, model, fromFile).ok);
        FUZZ_CHECK_TABLE(fromFile, storedValues(rec, model));
    }

    // Sent: every model's layout gives a message; a length no layout has gives none, and a
    // message is never built with a length byte that does not describe its body.
    const QByteArray body = checkedBody(BuildConfigMessage(rec), model.configLength);
    ConfigRecord odd = rec;
    odd.ConfigLength = in.next();
    const ConfigMessage oddMsg = BuildConfigMessage(odd);
    if (oddMsg.ok())
        checkedBody(oddMsg, odd.ConfigLength);
    else
        FUZZ_CHECK(oddMsg.bytes.isEmpty() && !oddMsg.error.isEmpty());

    // Uploaded from a unit that took the message: the same file, but for the two decimal
    // texts, which come back as their numbers.
    QByteArray first;
    QByteArray second;
    unitReplies(body, model, &first, &second);
    QByteArray uploaded;
    const FileResult up = uploadFileBytes(first, second, model, &uploaded);
    FUZZ_CHECK(up.ok == !unquotable);
    if (up.ok) {
        LoadedValues fromUnit;
        FUZZ_CHECK(ReadConfigRecords(uploaded, model, fromUnit).ok);
        fromFile[FieldSlot::AuxByte1] = LoadedValue::number(rec.AuxByte1.value());
        fromFile[FieldSlot::AuxByte2] = LoadedValue::number(rec.AuxByte2.value());
        FUZZ_CHECK_TABLE(fromUnit, fromFile);
    }
    return 0;
}
