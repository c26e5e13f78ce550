#include "configmessage.h"

#include <QCoreApplication>

bool isKnownConfigLength(int length)
{
    return length == 42 || length == 58 || length == 64 || length == 130 || length == 136;
}

QByteArray MessageChecksum(QByteArrayView body)
{
    quint16 sum = 0;
    for (char c : body)
        sum = static_cast<quint16>(sum + static_cast<quint8>(c));
    QByteArray out;
    out.append(static_cast<char>(sum & 0xFF));
    out.append(static_cast<char>(sum >> 8));
    return out;
}

ConfigMessage BuildConfigMessage(const ConfigRecord &rec)
{
    // The length byte in the header must describe the body that follows, so a record that
    // has no model (or an unknown layout) gives no message at all.
    if (!isKnownConfigLength(rec.ConfigLength))
        return {{},
                //: ConfigLength is the name of a record field; %1 its value
                QCoreApplication::translate(
                    "configmessage",
                    "No converter model has been chosen (ConfigLength %1 is not a known message layout).")
                    .arg(rec.ConfigLength)};

    QByteArray body;
    body.reserve(rec.ConfigLength);
    auto put = [&body](quint8 b) { body.append(static_cast<char>(b)); };
    auto zeros = [&body](int n) { body.append(n, '\0'); };

    put(0x00);
    put(0x01);
    zeros(8);
    put(0x04);
    put(0x99);
    zeros(10);
    put(rec.ProductCode);
    put(rec.ProtocolMode);
    put(rec.StationNumber);
    put(rec.HighAddress);
    put(rec.NetworkSpeed[0]);
    put(rec.NetworkSpeed[1]);
    put(rec.ChanBSpeed);
    put(rec.ChanBFormat);
    put(rec.ChanCSpeed);
    put(rec.ChanCFormat);
    put(0x08);
    put(0x00);
    put(0x00);
    put(rec.LinkOptions);
    put(rec.BusType[0]);
    put(rec.BusType[1]);
    put(rec.AuxByte1.value());
    put(rec.AuxByte2.value());
    put(rec.AuxByte3);
    put(rec.AuxByte4);

    auto protoParams = [&](int count) {
        for (int i = 0; i < count; ++i)
            put(rec.ProtoParam[i]);
    };
    switch (rec.ConfigLength) {
    case 58:
        zeros(8);
        protoParams(8);
        break;
    case 64:
        zeros(8);
        protoParams(14);
        break;
    case 130:
        for (IntByte v : rec.ExtParam)
            put(v);
        zeros(2);
        protoParams(80);
        break;
    case 136:
        zeros(8);
        protoParams(86);
        break;
    default: // 42: the common part is the whole body
        break;
    }
    Q_ASSERT(body.size() == rec.ConfigLength);

    QByteArray msg("NEE");
    msg.append(static_cast<char>(rec.ConfigLength));
    msg.append(3, '\0');
    msg.append(body);
    msg.append(MessageChecksum(body));
    return {msg, {}};
}
