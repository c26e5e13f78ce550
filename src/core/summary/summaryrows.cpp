// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary/summaryrows.h"

#include "config/speedcodes.h"

namespace {

// Which network side a layout puts on the page.
enum class Network {
    DhPlus,    // station, speed
    Bridge,    // station, speed and the high address
    DataTable, // station, speed and the PLC the data goes to
    Rio,       // rack number, range and size, speed
    RioModbus, // rack number and size (from the starting group), speed
    DriveDhPlus,
    DriveRio,
    DriveModbus,
};

Network networkOf(const ConfigRecord &rec, const ModelInfo &model)
{
    // Every model offers the standard DF1-to-DH+ mode beside its own; bus type 0 is it.
    if (rec.BusType[0] == 0)
        return Network::DhPlus;
    switch (model.kind) {
    case ModelKind::Bridge:
    case ModelKind::MultidropMaster:
        return Network::Bridge;
    case ModelKind::RioAdapter:
        return Network::Rio;
    case ModelKind::RioToModbus:
        return Network::RioModbus;
    case ModelKind::Brabender:
    case ModelKind::ToshibaDrives:
    case ModelKind::SiemensDrives:
        return rec.ProtocolMode == 1   ? Network::DriveRio
               : rec.ProtocolMode == 2 ? Network::DriveModbus
                                       : Network::DriveDhPlus;
    default:
        return model.dataTableForm ? Network::DataTable : Network::DhPlus;
    }
}

QString octal(int v)
{
    return QString::number(v, 8);
}

// The text of a code from its list, or the code itself where no list has it: the page says
// what is sent, even where no window offers it.
QString oneOf(std::initializer_list<const char *> texts, int index)
{
    if (index >= 0 && index < int(texts.size()))
        return QString::fromLatin1(texts.begin()[index]);
    return QStringLiteral("code %1").arg(index);
}

QString rackSize(const ConfigRecord &rec, const ModelInfo &model)
{
    // The RIO-to-Modbus unit keeps its rack size in the starting group: 0..3 are the groups of a
    // quarter rack, 4 and 5 those of a half rack.
    if (model.kind == ModelKind::RioToModbus)
        return rec.AuxByte2.value() <= 3 ? QStringLiteral("1/4") : QStringLiteral("1/2");
    return oneOf({"1/4", "1/2", "FULL"}, rec.AuxByte3);
}

// The boxes of a channel's frame, in page order: caption, value and unit of each row.
struct ChannelBoxes
{
    const char *boxes[5][3];
};
const ChannelBoxes ChannelB{{{"txtAsyncSpeedB", "txtAsyncB", "txtKbaudChannelB"},
                             {"txtParityB", "txtParityNoneOddB", nullptr},
                             {"txtDataB", "txtData1B", nullptr},
                             {"txtStopB", "txtStop1B", nullptr},
                             {"txtHandShakeB", "txtHandShake1B", nullptr}}};
const ChannelBoxes ChannelC{{{"txtAsyncSpeedC", "txtAsyncC", "txtKbaudChannelC"},
                             {"txtParityC", "txtParityNoneOddC", nullptr},
                             {"txtDataC", "txtData1C", nullptr},
                             {"txtStopC", "txtStop1C", nullptr},
                             {"txtHandShakeC", "txtHandShake1C", nullptr}}};

void addChannel(QList<SummaryRow> &rows, QChar ch, int speedCode, int format, bool shown)
{
    const ChannelBoxes &b = ch == QLatin1Char('B') ? ChannelB : ChannelC;
    const QString texts[5][3] = {
        {QStringLiteral("ASYNC SPEED"), speedOrCode(ChannelSpeeds, speedCode),
         speedCode <= LastBaudCode ? QStringLiteral("Baud") : QStringLiteral("Kbaud")},
        {QStringLiteral("PARITY"),
         !(format & ChanFlag::Parity)      ? QStringLiteral("NONE")
         : (format & ChanFlag::EvenParity) ? QStringLiteral("EVEN")
                                           : QStringLiteral("ODD"),
         {}},
        {QStringLiteral("DATA BITS"),
         format & ChanFlag::SevenDataBits ? QStringLiteral("7") : QStringLiteral("8"),
         {}},
        {QStringLiteral("STOP BITS"),
         format & ChanFlag::TwoStopBits ? QStringLiteral("2") : QStringLiteral("1"),
         {}},
        {QStringLiteral("HANDSHAKING"),
         format & ChanFlag::Handshake ? QStringLiteral("ACTIVE") : QStringLiteral("IGNORE"),
         {}},
    };
    for (int k = 0; k < 5; ++k) {
        const char *const *box = b.boxes[k];
        rows << SummaryRow{box[0],      box[1], box[2],          texts[k][0], texts[k][1],
                           texts[k][2], shown,  shown && box[2], ch};
    }
}

} // namespace

QList<SummaryRow> summaryRows(const ConfigRecord &rec, const ModelInfo &model, int portNumber)
{
    const Network net = networkOf(rec, model);
    const bool drive = net == Network::DriveDhPlus || net == Network::DriveRio || net == Network::DriveModbus;
    const bool modbusNet = net == Network::DriveModbus;
    const bool rio = net == Network::Rio || net == Network::RioModbus || net == Network::DriveRio;
    const bool standard = rec.BusType[0] == 0;

    QList<SummaryRow> rows;
    const auto row = [&rows](const char *captionBox, const char *valueBox, const char *unitBox,
                             const QString &caption, const QString &value, const QString &unit, bool shown,
                             bool unitShown = true) {
        rows << SummaryRow{captionBox, valueBox, unitBox, caption,
                           value,      unit,     shown,   shown && unitBox && unitShown,
                           QChar()};
    };

    row("Text5", "txtModel", nullptr, QStringLiteral("MODEL:"), model.code, {}, true);
    row("Text4", "txtComSelect", nullptr, QStringLiteral("COMMUNICATION PORT:"),
        portNumber > 0 ? QString::number(portNumber) : QString(), {}, true);
    row("Text2", "txtProtocola", nullptr, QStringLiteral("NETWORK PROTOCOL"),
        net == Network::Rio || net == Network::RioModbus ? QStringLiteral("RIO")
        : net == Network::DriveDhPlus                    ? QStringLiteral("AB - DH+")
        : net == Network::DriveRio                       ? QStringLiteral("AB - RIO")
        : net == Network::DriveModbus                    ? QStringLiteral("MODBUS RTU")
                                                         : QStringLiteral("DH+"),
        {}, true);
    row("txtBusProtocol", nullptr, nullptr, QStringLiteral("BUS  PROTOCOL:  DF1"), {}, {}, false);
    // The network speed is in kbaud; the page leaves its unit out.
    row("txtNetSpeed1", "txtNetSpeed", "txtKbaud2", QStringLiteral("NETWORK SPEED"),
        speedOrCode(NetworkSpeeds, rec.NetworkSpeed[0]), QStringLiteral("Kbaud"), !modbusNet, false);
    row("txtStationNum1", "txtStationNum", "txtOctal1", QStringLiteral("STATION NUMBER"),
        modbusNet ? QString::number(rec.StationNumber) : octal(rec.StationNumber),
        modbusNet ? QStringLiteral("Decimal") : QStringLiteral("Octal"), !rio);
    row("txtHighAddress1", "txtHighAddress", "txtOctal2",
        net == Network::DataTable ? QStringLiteral("PLC ADDRESS") : QStringLiteral("HIGH ADDRESS"),
        octal(rec.HighAddress), QStringLiteral("Octal"), net == Network::Bridge || net == Network::DataTable);
    row("txtRackNum1", "txtRackNum", "txtRackNumOctal", QStringLiteral("RACK NUMBER"),
        octal(rec.StationNumber), QStringLiteral("Octal"), rio);
    row("txtRackRange1", "txtRackRange", nullptr, QStringLiteral("RACK RANGE"),
        QString::number(rec.HighAddress), {}, net == Network::Rio);
    row("txtRackSize1", "txtRackSize", nullptr, QStringLiteral("RACK SIZE"), rackSize(rec, model), {}, rio);
    row("txtBusSpeed1", "txtBusSpeed", "txtKbaud", QStringLiteral("BUS SPEED EMULATION"), {},
        QStringLiteral("Kbaud"), false);
    // The Modbus unit's own parameters go with every message it is sent, in either mode.
    const bool modbusUnit = model.kind == ModelKind::Modbus;
    const int modbusBits = rec.ProtoParam[1];
    row("txtDeviceType", "txtDeviceType1", nullptr, QStringLiteral("DEVICE TYPE:"),
        modbusBits & ModbusFlag::Master ? QStringLiteral("MASTER") : QStringLiteral("SLAVE"), {}, modbusUnit);
    row("txtModeOp", "txtModeOp1", nullptr, QStringLiteral("MODE OF OPERATION:"),
        modbusBits & ModbusFlag::AsciiFraming ? QStringLiteral("ASCII") : QStringLiteral("RTU"), {},
        modbusUnit);
    const bool toshiba = model.kind == ModelKind::ToshibaDrives;
    row("txtSiemensProt", "txtSiemensProt1", nullptr,
        toshiba ? QStringLiteral("TOSHIBA PROTOCOL") : QStringLiteral("SIEMENS PROTOCOL"),
        toshiba ? oneOf({"G2", "G3", "SUPER2E"}, rec.ExtParam[3])
                : oneOf({"SIMPLE", "DUST6B", "USS"}, rec.AuxByte2.value()),
        {}, drive && (toshiba || model.kind == ModelKind::SiemensDrives));
    row("txtJMR", "txtJMR1", nullptr, QStringLiteral("BRABENDER EQUIPMENT SELECTED :"),
        oneOf({"S", "M", "L/M2", "PT03", "L/M3", "S(A)"}, rec.ProtoParam[0]), {},
        drive && model.kind == ModelKind::Brabender);

    // The Eaton layout talks to its drives on its own terms: no channel B rows.
    addChannel(rows, QLatin1Char('B'), rec.ChanBSpeed, rec.ChanBFormat,
               standard || model.kind != ModelKind::EatonDrives);
    addChannel(rows, QLatin1Char('C'), rec.ChanCSpeed, rec.ChanCFormat,
               !standard && (model.kind == ModelKind::DualDf1 || modbusNet));
    return rows;
}

QString summaryChannelTitle(QChar channel)
{
    return QStringLiteral("CHANNEL %1 PROTOCOL").arg(channel);
}

QString summaryRowName(const SummaryRow &row)
{
    const QString prefix =
        row.channel.isNull() ? QString() : summaryChannelTitle(row.channel) + QLatin1Char(' ');
    QString caption = row.caption.trimmed();
    // A row with a value reads "caption: value"; its caption's own colon goes.
    while (row.valueBox && caption.endsWith(QLatin1Char(':')))
        caption = caption.chopped(1).trimmed();
    return prefix + caption;
}

QStringList summaryLines(const QList<SummaryRow> &rows)
{
    QStringList out;
    for (const SummaryRow &r : rows) {
        if (!r.shown)
            continue;
        if (!r.valueBox) {
            out << summaryRowName(r);
            continue;
        }
        QString value = r.value.trimmed();
        if (r.unitShown && !r.unit.isEmpty())
            value += QLatin1Char(' ') + r.unit;
        out << QStringLiteral("%1: %2").arg(summaryRowName(r), value);
    }
    return out;
}
