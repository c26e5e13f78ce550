// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagelayout.h"

#include "config/modelcatalog.h"

#include <map>

namespace {

using Source = MessageSlot::Source;

QList<MessageSlot> buildLayout(int configLength)
{
    QList<MessageSlot> s;
    auto fixed = [&s](int value, int count = 1) {
        for (int i = 0; i < count; ++i)
            s.append({Source::Fixed, value});
    };
    auto field = [&s](Source source, int n = 0) { s.append({source, n}); };
    auto entries = [&s](Source source, int count) {
        for (int i = 0; i < count; ++i)
            s.append({source, i});
    };

    // Header: "N" "E" "E", the body length, three zero bytes.
    fixed('N');
    fixed('E', 2);
    field(Source::ConfigLength);
    fixed(0, 3);

    // The common part of every body.
    fixed(0x00);
    fixed(0x01);
    fixed(0x00, 8);
    fixed(0x04);
    fixed(0x99);
    fixed(0x00, 10);
    field(Source::ProductCode);
    field(Source::ProtocolMode);
    field(Source::StationNumber);
    field(Source::HighAddress);
    field(Source::NetworkSpeed, 0);
    field(Source::NetworkSpeed, 1);
    field(Source::ChanBSpeed);
    field(Source::ChanBFormat);
    field(Source::ChanCSpeed);
    field(Source::ChanCFormat);
    fixed(0x08);
    fixed(0x00, 2);
    field(Source::LinkOptions);
    field(Source::BusType, 0);
    field(Source::BusType, 1);
    field(Source::AuxByte1);
    field(Source::AuxByte2);
    field(Source::AuxByte3);
    field(Source::AuxByte4);

    // The model part; a ProtoParam entry i always lands at body offset 50 + i.
    switch (configLength) {
    case 58:
        fixed(0, 8);
        entries(Source::ProtoParam, 8);
        break;
    case 64:
        fixed(0, 8);
        entries(Source::ProtoParam, 14);
        break;
    case 130:
        entries(Source::ExtParam, ExtParamCount);
        fixed(0, 2);
        entries(Source::ProtoParam, 80);
        break;
    case 136:
        fixed(0, 8);
        entries(Source::ProtoParam, 86);
        break;
    default: // 42: the common part is the whole body
        break;
    }
    Q_ASSERT(s.size() == MessageHeaderLength + configLength);

    field(Source::Checksum, 0);
    field(Source::Checksum, 1);
    return s;
}

const char *const ModbusColumns[] = {"MODICON START ADDRESS", "MODICON END ADDRESS", "FILE", "WORD"};
const char *const ToshibaExt[] = {"retries for single interrupt commands",
                                  "retries for polling commands",
                                  "action on loss of network integrity",
                                  "drive type",
                                  "delay before the network crash command, low byte",
                                  "delay before the network crash command, high byte"};
const char *const ModbusParams[] = {nullptr,
                                    "Modbus options",
                                    "first DH+ station of the broadcast range",
                                    "last DH+ station of the broadcast range",
                                    "A-B PLC type",
                                    "register range or address decode"};

QString byteHalf(int entry)
{
    return entry % 2 ? QStringLiteral("high byte") : QStringLiteral("low byte");
}

} // namespace

const QList<MessageSlot> &messageLayout(int configLength)
{
    static const std::map<int, QList<MessageSlot>> layouts = [] {
        std::map<int, QList<MessageSlot>> m;
        for (int length : {42, 58, 64, 130, 136})
            m[length] = buildLayout(length);
        return m;
    }();
    static const QList<MessageSlot> none;
    const auto it = layouts.find(configLength);
    return it == layouts.end() ? none : it->second;
}

quint8 slotValue(const ConfigRecord &rec, const MessageSlot &slot)
{
    switch (slot.source) {
    case Source::Fixed:
        return quint8(slot.n);
    case Source::ConfigLength:
        return quint8(rec.ConfigLength);
    case Source::ProductCode:
        return rec.ProductCode;
    case Source::ProtocolMode:
        return rec.ProtocolMode;
    case Source::StationNumber:
        return rec.StationNumber;
    case Source::HighAddress:
        return rec.HighAddress;
    case Source::NetworkSpeed:
        return rec.NetworkSpeed[slot.n];
    case Source::ChanBSpeed:
        return rec.ChanBSpeed;
    case Source::ChanBFormat:
        return rec.ChanBFormat;
    case Source::ChanCSpeed:
        return rec.ChanCSpeed;
    case Source::ChanCFormat:
        return rec.ChanCFormat;
    case Source::LinkOptions:
        return rec.LinkOptions;
    case Source::BusType:
        return rec.BusType[slot.n];
    case Source::AuxByte1:
        return rec.AuxByte1.value();
    case Source::AuxByte2:
        return rec.AuxByte2.value();
    case Source::AuxByte3:
        return rec.AuxByte3;
    case Source::AuxByte4:
        return rec.AuxByte4;
    case Source::ExtParam:
        return rec.ExtParam[slot.n];
    case Source::ProtoParam:
        return rec.ProtoParam[slot.n];
    case Source::Checksum:
        break;
    }
    return 0;
}

QString slotFieldName(const MessageSlot &slot)
{
    auto indexed = [&slot](const char *name) {
        return QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(slot.n);
    };
    switch (slot.source) {
    case Source::Fixed:
        return QStringLiteral("fixed byte");
    case Source::ConfigLength:
        return QStringLiteral("ConfigLength");
    case Source::ProductCode:
        return QStringLiteral("ProductCode");
    case Source::ProtocolMode:
        return QStringLiteral("ProtocolMode");
    case Source::StationNumber:
        return QStringLiteral("StationNumber");
    case Source::HighAddress:
        return QStringLiteral("HighAddress");
    case Source::NetworkSpeed:
        return indexed("NetworkSpeed");
    case Source::ChanBSpeed:
        return QStringLiteral("ChanBSpeed");
    case Source::ChanBFormat:
        return QStringLiteral("ChanBFormat");
    case Source::ChanCSpeed:
        return QStringLiteral("ChanCSpeed");
    case Source::ChanCFormat:
        return QStringLiteral("ChanCFormat");
    case Source::LinkOptions:
        return QStringLiteral("LinkOptions");
    case Source::BusType:
        return indexed("BusType");
    case Source::AuxByte1:
        return QStringLiteral("AuxByte1");
    case Source::AuxByte2:
        return QStringLiteral("AuxByte2");
    case Source::AuxByte3:
        return QStringLiteral("AuxByte3");
    case Source::AuxByte4:
        return QStringLiteral("AuxByte4");
    case Source::ExtParam:
        return indexed("ExtParam");
    case Source::ProtoParam:
        return indexed("ProtoParam");
    case Source::Checksum:
        return slot.n == 0 ? QStringLiteral("checksum (low byte)") : QStringLiteral("checksum (high byte)");
    }
    return {};
}

QString slotMeaning(const ModelInfo &model, const MessageSlot &slot)
{
    const int i = slot.n;
    if (slot.source == Source::ExtParam && model.kind == ModelKind::ToshibaDrives)
        return QLatin1String(ToshibaExt[i]);
    if (slot.source != Source::ProtoParam)
        return {};
    // The PLC data-table dialogs: two words, low byte first.
    if (model.dataTableForm && i >= 2 && i <= 5) {
        const bool vr58 = QLatin1String(model.dataTableForm) == QLatin1String("VR58_DataTable");
        const char *word =
            i < 4 ? (vr58 ? "NECKDOWNS file" : "FILE NUMBER") : (vr58 ? "LUMPS file" : "STARTING WORD");
        return QStringLiteral("%1, %2").arg(QLatin1String(word), byteHalf(i));
    }
    switch (model.fileParams) {
    case FileParams::ModbusTable:
        if (i >= 1 && i <= 5)
            return QLatin1String(ModbusParams[i]);
        // Row n takes entries 8 + 10(n-1) .. 15 + 10(n-1): four words, low byte first.
        if (i >= 8 && (i - 8) % 10 < 8)
            return QStringLiteral("Modbus table row %1, %2, %3")
                .arg((i - 8) / 10 + 1)
                .arg(QLatin1String(ModbusColumns[(i - 8) % 10 / 2]), byteHalf(i));
        return {};
    case FileParams::RackMap:
        if (i < 14)
            return QStringLiteral("rack %1, groups %2").arg(i / 2 + 1).arg(i % 2 ? "4-7" : "0-3");
        return {};
    case FileParams::TypeWord:
        if (i < 2)
            return QStringLiteral("type word, %1").arg(byteHalf(i));
        return {};
    default:
        break;
    }
    if (model.kind == ModelKind::ToshibaDrives && i < 80) {
        // Words WD20..WD29 are the relay addresses, WD30..WD59 the registers REG 1..REG 30.
        const int word = 20 + i / 2;
        const QString what =
            word < 30 ? QStringLiteral("relay %1").arg(word - 19) : QStringLiteral("REG %1").arg(word - 29);
        return QStringLiteral("Toshiba word WD%1 (%2), %3").arg(word).arg(what, byteHalf(i));
    }
    return {};
}
