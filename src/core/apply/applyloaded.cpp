// SPDX-License-Identifier: GPL-3.0-or-later
#include "applyloaded.h"

#include "config/speedcodes.h"
#include "files/configfile.h"

#include <QHash>
#include <QStringList>

namespace {

QStringList numbers(int from, int to, int base = 10)
{
    QStringList all;
    for (int n = from; n <= to; ++n)
        all << QString::number(n, base);
    return all;
}

QStringList speeds(const QList<int> &codes)
{
    QStringList all;
    for (int c : codes)
        all << speedText(ChannelSpeeds, c);
    return all;
}

// The layouts of the main form a file can leave: the model's own, or the standard DF1 one.
enum class Layout {
    Standard,
    Bridging,
    Multidrop,
    DualDf1,
    RioAdapter,
    RioToModbus,
    Ascii,
    Brabender,
    Modbus,
    Toshiba,
    Siemens,
};

// The bus type each layout's mode stands for.
quint8 busTypeOf(Layout layout)
{
    switch (layout) {
    case Layout::Standard:
        return 0;
    case Layout::DualDf1:
        return 2;
    case Layout::RioAdapter:
        return 4;
    default:
        return 1;
    }
}

Layout ownLayout(ModelKind kind)
{
    switch (kind) {
    case ModelKind::Bridge:
        return Layout::Bridging;
    case ModelKind::Modbus:
        return Layout::Modbus;
    case ModelKind::SiemensDrives:
        return Layout::Siemens;
    case ModelKind::ToshibaDrives:
        return Layout::Toshiba;
    case ModelKind::Brabender:
        return Layout::Brabender;
    case ModelKind::DualDf1:
        return Layout::DualDf1;
    case ModelKind::RioAdapter:
        return Layout::RioAdapter;
    case ModelKind::MultidropMaster:
        return Layout::Multidrop;
    case ModelKind::RioToModbus:
        return Layout::RioToModbus;
    case ModelKind::AsciiDisplays:
    case ModelKind::Scanners:
    case ModelKind::EatonDrives:
    case ModelKind::Centerscan:
    case ModelKind::Zumbach:
        return Layout::Ascii;
    }
    return Layout::Standard;
}

// The lists of the main form, by what they set.
enum class List {
    Station,
    HighAddress,
    RackNumber,
    RackRange,
    RackSize,
    NetworkSpeed,
    NetworkSpeed2,
    ModbusAddress,
    ChannelB,
    ChannelC,
    ModbusChannelC,
    Slave1,
    Slave2,
};

class Applier
{
public:
    Applier(const LoadedValues &values, const ModelInfo &model, const ConfigRecord &base)
        : m_t(values)
        , m_model(model)
        , m_rec(base)
    {
        // A fresh configuration shows the model's own layout, except a bridge, which starts
        // from the standard one.
        m_layout = model.kind == ModelKind::Bridge ? Layout::Standard : ownLayout(model.kind);
    }

    AppliedConfiguration run();

private:
    const LoadedValue &R(int n) const { return m_t[n - 1]; }
    int X(int k) const { return m_t[slotOfProtoParam(k)].leadingNumber(); }
    int lineOf(int k) const
    {
        const QList<QList<int>> lines = modelParamLines(m_model);
        for (int i = 0; i < int(lines.size()); ++i) {
            if (lines[i].contains(k))
                return 15 + i;
        }
        return 0;
    }
    void copyParams(int from, int to)
    {
        for (int k = from; k <= to; ++k)
            m_rec.ProtoParam[k] = clampedByte(X(k));
    }
    void refuse(int line, const QString &field, const QString &fileValue, const QString &used)
    {
        m_refused.append({line, field, fileValue, used});
    }

    bool drives() const
    {
        return m_layout == Layout::Brabender || m_layout == Layout::Toshiba || m_layout == Layout::Siemens;
    }
    bool dataTable() const { return m_model.dataTableForm != nullptr; }
    QStringList items(List list) const;
    bool shown(List list) const;
    QString caption(List list) const;
    void take(List list, const QString &text);
    // Position n of a list; a position it does not have writes nothing.
    void pickPosition(List list, int n)
    {
        const QStringList all = items(list);
        if (n >= 0 && n < all.size())
            take(list, all[n]);
    }
    void pick(List list, int n, int line, const QString &fileValue, const QString &fallback);
    void pickText(List list, const QString &text, int line, const QString &fileValue, const QString &fallback)
    {
        pick(list, text.isEmpty() ? -1 : int(items(list).indexOf(text)), line, fileValue, fallback);
    }

    void standardLayout();
    void bridgingLayout();
    void takeShownValues();
    void networkOption();
    void networkLists();
    void speedRule(List list, bool isShown);
    void rackSize();
    void channelSpeeds();
    void channelFormats();
    void siemensOptions();
    void modbusOptions();
    void modeOption();
    void xajOptions();

    const LoadedValues &m_t;
    const ModelInfo &m_model;
    ConfigRecord m_rec;
    QList<RefusedValue> m_refused;
    Layout m_layout;
    int m_network = 0;             // the drive layouts' network option: DH+, RIO, Modbus
    QHash<int, QString> m_current; // what each list shows, where a pick has changed it
    bool m_halfRack = false;
    bool m_twoSlaves = false;
};

// The items of each list as the model's set-up leaves them.
QStringList Applier::items(List list) const
{
    // The Modbus slave addresses are filled by the set-up of the models that offer Modbus.
    const bool custom = m_model.kind == ModelKind::Brabender || m_model.kind == ModelKind::ToshibaDrives ||
                        m_model.kind == ModelKind::SiemensDrives || m_model.kind == ModelKind::RioAdapter;
    switch (list) {
    case List::Station:
    case List::HighAddress:
        return numbers(0, 63, 8);
    case List::RackNumber:
        return numbers(1, 23, 8);
    case List::RackRange:
        return numbers(1, 7);
    case List::RackSize:
        if (m_model.kind == ModelKind::SiemensDrives || m_model.kind == ModelKind::ToshibaDrives)
            return {QStringLiteral("FULL"), QStringLiteral("1/4"), QStringLiteral("1/2")};
        return {QStringLiteral("FULL")};
    case List::NetworkSpeed:
        return m_model.isQn6000() ? QStringList{"57.6", "115.2", "230.4"} : QStringList{"57.6", "115.2"};
    case List::NetworkSpeed2:
        return {QStringLiteral("57.6"), QStringLiteral("115.2"), QStringLiteral("230.4")};
    case List::ModbusAddress:
        return custom ? numbers(1, 247) : QStringList();
    case List::ChannelB: {
        // 300 to 19.2, then the speeds the model adds.
        QList<int> codes{3, 4, 5, 6, 7, 8, 9};
        if (m_model.isQn6000())
            codes << 10 << 11 << 12;
        switch (m_model.kind) {
        case ModelKind::ToshibaDrives:
        case ModelKind::DualDf1:
            codes << 10 << 11 << 12;
            break;
        case ModelKind::Modbus:
        case ModelKind::RioAdapter:
        case ModelKind::Bridge:
            if (!m_model.isQn6000())
                codes << (m_model.kind == ModelKind::Modbus ? QList<int>{10, 11, 12} : QList<int>{11});
            break;
        case ModelKind::SiemensDrives:
            codes << 10 << 18 << 12 << 17 << 16 << 13;
            break;
        case ModelKind::MultidropMaster:
            codes << 10 << 11 << 12 << 13;
            break;
        case ModelKind::AsciiDisplays:
        case ModelKind::Scanners:
            codes << 11;
            break;
        default:
            break;
        }
        return speeds(codes);
    }
    case List::ChannelC:
    case List::ModbusChannelC:
        return speeds({3, 4, 5, 6, 7, 8, 9, 10});
    case List::Slave1:
    case List::Slave2:
        return m_model.kind == ModelKind::RioToModbus ? numbers(1, 247) : QStringList();
    }
    return {};
}

// Whether the layout shows a list: a shown list takes the file's value or a fallback, a hidden
// one only a value it has.
bool Applier::shown(List list) const
{
    const bool dh = !drives() || m_network == 0;
    const bool rio =
        m_layout == Layout::RioAdapter || m_layout == Layout::RioToModbus || (drives() && m_network == 1);
    switch (list) {
    case List::Station:
    case List::NetworkSpeed:
        return dh && !rio;
    case List::HighAddress:
        return m_layout == Layout::Bridging || m_layout == Layout::Multidrop ||
               (m_layout == Layout::Ascii && dataTable());
    case List::RackNumber:
    case List::NetworkSpeed2:
        return rio;
    case List::RackRange:
        return m_layout == Layout::RioAdapter;
    case List::RackSize:
        return m_layout == Layout::RioAdapter || (drives() && m_network == 1);
    case List::ModbusAddress:
    case List::ModbusChannelC:
        return drives() && m_network == 2;
    case List::ChannelB:
        return !(m_layout == Layout::Ascii && m_model.kind == ModelKind::EatonDrives);
    case List::ChannelC:
        return m_layout == Layout::DualDf1;
    case List::Slave1:
        return m_layout == Layout::RioToModbus;
    case List::Slave2:
        return m_layout == Layout::RioToModbus && m_twoSlaves;
    }
    return false;
}

QString Applier::caption(List list) const
{
    switch (list) {
    case List::Station:
        return QStringLiteral("STATION NUMBER");
    case List::HighAddress:
        return m_layout == Layout::Ascii ? QStringLiteral("PLC ADDRESS") : QStringLiteral("HIGH ADDRESS");
    case List::RackNumber:
        return QStringLiteral("RACK NUMBER");
    case List::RackRange:
        return QStringLiteral("RACK RANGE");
    case List::RackSize:
        return QStringLiteral("RACK SIZE");
    case List::NetworkSpeed:
    case List::NetworkSpeed2:
        return QStringLiteral("NETWORK SPEED");
    case List::ModbusAddress:
        return QStringLiteral("MODBUS SLAVE ADDRESS");
    case List::ChannelB:
        switch (m_layout) {
        case Layout::Standard:
        case Layout::Bridging:
        case Layout::Multidrop:
        case Layout::RioAdapter:
            return QStringLiteral("CHANNEL SERIAL SPEED");
        case Layout::DualDf1:
            return QStringLiteral("1ST CHAN. SERIAL SPEED");
        case Layout::RioToModbus:
            return QStringLiteral("MODBUS SERIAL SPEED");
        case Layout::Ascii:
            return m_model.kind == ModelKind::Zumbach ? QStringLiteral("ZUMBAHC ASYNC SPEED")
                                                      : QStringLiteral("ASCII ASYNC SPEED");
        case Layout::Brabender:
            return QStringLiteral("CHANNEL B ASYNC SPEED");
        case Layout::Modbus:
            return QStringLiteral("MODBUS ASYNC SPEED");
        case Layout::Toshiba:
            return QStringLiteral("VFD ASYNC SPEED");
        case Layout::Siemens:
            return QStringLiteral("DRIVE ASYNC SPEED");
        }
        return QString();
    case List::ChannelC:
        return QStringLiteral("2ND CHAN. SERIAL SPEED");
    case List::ModbusChannelC:
        return QStringLiteral("MODBUS ASYNC SPEED");
    case List::Slave1:
        return QStringLiteral("FIRST MODBUS SLAVE");
    case List::Slave2:
        return QStringLiteral("SECOND MODBUS SLAVE");
    }
    return QString();
}

// What a list's handler writes for the item it shows.
void Applier::take(List list, const QString &text)
{
    m_current.insert(int(list), text);
    bool ok = false;
    switch (list) {
    case List::Station: {
        const int v = text.toInt(&ok, 8);
        if (!ok || !fitsByte(v))
            return;
        m_rec.StationNumber = quint8(v);
        // The bridging layouts keep the high address one above the station.
        if (m_rec.BusType == CharPair{1, 0} && v + 1 < 64)
            take(List::HighAddress, QString::number(v + 1, 8));
        return;
    }
    case List::HighAddress:
        if (const int v = text.toInt(&ok, 8); ok && fitsByte(v))
            m_rec.HighAddress = quint8(v);
        return;
    case List::RackNumber:
        if (const int v = text.toInt(&ok, 8); ok && fitsByte(v))
            m_rec.StationNumber = quint8(v);
        return;
    case List::RackRange:
        if (const int v = text.toInt(&ok); ok && v >= 1 && v <= 7)
            m_rec.HighAddress = quint8(v);
        return;
    case List::RackSize: {
        static const QStringList sizes = {QStringLiteral("1/4"), QStringLiteral("1/2"),
                                          QStringLiteral("FULL")};
        if (const qsizetype c = sizes.indexOf(text); c >= 0)
            m_rec.AuxByte3 = quint8(c);
        return;
    }
    case List::NetworkSpeed:
    case List::NetworkSpeed2:
        if (const std::optional<quint8> code = speedCodeOf(NetworkSpeeds, text))
            m_rec.NetworkSpeed = {*code, 0};
        return;
    case List::ModbusAddress:
        if (const int v = text.toInt(&ok); ok && v >= 1 && v <= 247)
            m_rec.StationNumber = quint8(v);
        return;
    case List::ChannelB:
    case List::ChannelC:
    case List::ModbusChannelC:
        if (const std::optional<quint8> code = speedCodeOf(ChannelSpeeds, text)) {
            if (list == List::ChannelB) {
                m_rec.ChanBSpeedSel = DecimalText::fromNumber(*code);
                m_rec.ChanBSpeed = *code;
            } else {
                (list == List::ChannelC ? m_rec.ChanCSpeedSelA : m_rec.ChanCSpeedSelB) =
                    DecimalText::fromNumber(*code);
                m_rec.ChanCSpeed = *code;
            }
        }
        return;
    case List::Slave1:
    case List::Slave2:
        if (const int v = text.toInt(&ok); ok && v >= 0 && v <= 255)
            (list == List::Slave1 ? m_rec.AuxByte3 : m_rec.AuxByte4) = quint8(v);
        return;
    }
}

void Applier::pick(List list, int n, int line, const QString &fileValue, const QString &fallback)
{
    const QStringList all = items(list);
    if (n >= 0 && n < all.size()) {
        take(list, all[n]);
        return;
    }
    QString used = fallback;
    if (!all.contains(fallback))
        used = m_current.value(int(list));
    if (all.contains(used))
        take(list, used);
    refuse(line, caption(list), fileValue, used);
}

void Applier::standardLayout()
{
    m_layout = Layout::Standard;
    m_network = 0;
    m_rec.ChanCSpeed = 0;
    m_rec.ChanCFormat = 0;
    m_rec.ProtocolMode = 0;
    m_rec.HighAddress = 0;
    m_rec.BusType = {0, 0};
    m_rec.AuxByte4 = 0;
    m_rec.AuxByte3 = 0;
    m_rec.AuxByte2.set("0");
    m_rec.AuxByte1.set("0");
    takeShownValues();
}

void Applier::bridgingLayout()
{
    m_layout = Layout::Bridging;
    m_current.insert(int(List::HighAddress), QStringLiteral("1"));
    m_rec.ChanCSpeed = 0;
    m_rec.ChanCFormat = 0;
    m_rec.ProtocolMode = 0;
    m_rec.HighAddress = 1;
    m_rec.BusType = {1, 0};
    takeShownValues();
}

void Applier::takeShownValues()
{
    // A layout that runs takes what its shown lists show; the station's own rule for the high
    // address is not part of it.
    static const QHash<int, QString> fresh = {
        {int(List::Station), QStringLiteral("1")},
        {int(List::HighAddress), QStringLiteral("1")},
        {int(List::RackNumber), QStringLiteral("1")},
        {int(List::RackRange), QStringLiteral("1")},
        {int(List::RackSize), QStringLiteral("FULL")},
        {int(List::NetworkSpeed), QStringLiteral("57.6")},
        {int(List::NetworkSpeed2), QStringLiteral("57.6")},
        {int(List::ModbusAddress), QStringLiteral("1")},
        {int(List::ChannelB), QStringLiteral("9600")},
        {int(List::ChannelC), QStringLiteral("9600")},
        {int(List::ModbusChannelC), QStringLiteral("9600")},
        {int(List::Slave1), QStringLiteral("1")},
        {int(List::Slave2), QStringLiteral("2")},
    };
    for (List list : {List::Station, List::ModbusAddress, List::RackNumber, List::HighAddress,
                      List::RackRange, List::RackSize, List::NetworkSpeed, List::NetworkSpeed2,
                      List::ChannelB, List::ChannelC, List::ModbusChannelC, List::Slave1, List::Slave2}) {
        if (!shown(list))
            continue;
        const QString text = m_current.value(int(list), fresh.value(int(list)));
        if (list == List::Station) {
            bool ok = false;
            if (const int v = text.toInt(&ok, 8); ok && fitsByte(v))
                m_rec.StationNumber = quint8(v);
        } else {
            take(list, text);
        }
    }
}

AppliedConfiguration Applier::run()
{
    // 1. The type word, where the model's file carries it.
    if (modelParamValueCount(m_model) >= 2)
        copyParams(0, 1);

    // 3. The operating mode, before the network side.
    if (R(10).code() == 0) {
        if (m_layout != Layout::Standard)
            standardLayout();
    } else {
        modeOption();
    }

    // 2. The network option, then the lists the layout now shows.
    networkOption();
    networkLists();
    if (m_model.kind == ModelKind::SiemensDrives || m_model.kind == ModelKind::ToshibaDrives)
        rackSize();

    // 5, 11. The rack map and the data-table words.
    if (m_model.fileParams == FileParams::RackMap)
        copyParams(2, 13);
    if (m_model.fileParams == FileParams::DataTable)
        copyParams(2, 5);

    // 7, 8. Serial speeds.
    channelSpeeds();

    // 9. Formats and link options.
    channelFormats();
    m_rec.LinkOptions = clampedByte(R(9).leadingNumber());

    // 10. The bus personality is the code of the mode the layout shows: a file's other code
    // would be sent under a mode that does not stand for it.
    const quint8 bus = busTypeOf(m_layout);
    if (R(10).code() != bus)
        refuse(10, QStringLiteral("OPERATING MODE SELECTION"), QStringLiteral("code %1").arg(R(10).code()),
               QStringLiteral("code %1").arg(bus));
    m_rec.BusType = {bus, 0};

    // 12. Siemens drives keep their settings in the model-specific bytes.
    if (m_layout == Layout::Siemens) {
        m_rec.LinkOptions = clampedByte(R(9).leadingNumber());
        m_rec.AuxByte2 = DecimalText::fromNumber(clampedByte(R(12).leadingNumber()));
        m_rec.AuxByte1 = DecimalText::fromNumber(clampedByte(R(11).leadingNumber()));
        m_rec.AuxByte4 = clampedByte(R(14).leadingNumber());
        copyParams(0, 1);
        siemensOptions();
    }

    // 13. The Modbus dialog.
    if (m_model.kind == ModelKind::Modbus)
        modbusOptions();
    return {m_rec, m_refused};
}

void Applier::modeOption()
{
    switch (m_model.kind) {
    case ModelKind::Bridge:
        if (m_layout != Layout::Bridging)
            bridgingLayout();
        break;
    case ModelKind::Zumbach:
        // Terminal mode is the one a fresh configuration shows.
        if (X(0) == 1) {
            m_rec.ProtoParam[0] = 1;
        } else if (X(0) != 0) {
            m_rec.ProtoParam[0] = 0;
            refuse(lineOf(0), QStringLiteral("Zumbach Interface Operating Mode Selection"),
                   QString::number(X(0)), QStringLiteral("Terminal Mode"));
        }
        break;
    case ModelKind::Brabender: {
        static const char *const types[] = {"S", "M", "LM", "PT03", "L", "SA"};
        const int x = X(0);
        // Type S is the one shown: choosing it again writes nothing.
        if (x >= 1 && x <= 5) {
            m_rec.ProtoParam[0] = quint8(x);
            m_rec.ProtoParam[1] = 0;
        } else if (x != 0) {
            m_rec.ProtoParam[0] = 0;
            m_rec.ProtoParam[1] = 0;
            refuse(lineOf(0), QStringLiteral("BRABENDER EQUIPMENT SELECTION"), QString::number(x),
                   QLatin1String(types[0]));
        }
        break;
    }
    case ModelKind::RioToModbus:
        xajOptions();
        break;
    default:
        break;
    }
}

void Applier::networkOption()
{
    if (!drives())
        return;
    const int m = R(1).code();
    if (m == 1) {
        m_network = 1;
        m_rec.ProtocolMode = 1;
        m_rec.NetworkSpeed = {8, 0};
        m_current.insert(int(List::RackNumber), QStringLiteral("1"));
        m_current.insert(int(List::NetworkSpeed2), QStringLiteral("57.6"));
        takeShownValues();
    } else if (m == 2) {
        m_network = 2;
        m_rec.ProtocolMode = 2;
        m_rec.ChanCSpeed = 8;
        m_rec.StationNumber = 1;
        m_current.insert(int(List::ModbusChannelC), QStringLiteral("9600"));
        m_current.insert(int(List::ModbusAddress), QStringLiteral("1"));
        takeShownValues();
    } else if (m != 0) {
        m_rec.ProtocolMode = 0;
        takeShownValues();
        refuse(1, QStringLiteral("NETWORK PROTOCOL"), QString::number(m), QStringLiteral("AB - DH+"));
    }
}

void Applier::speedRule(List list, bool isShown)
{
    const int c = R(4).code();
    if (c == 10 && m_rec.FamilyCode != QLatin1String("6000") &&
        !items(list).contains(speedText(NetworkSpeeds, c))) {
        pickPosition(list, 1);
        if (isShown)
            refuse(4, caption(list), speedText(NetworkSpeeds, c), m_current.value(int(list)));
    } else if (isShown) {
        pickText(list, speedText(NetworkSpeeds, c), 4, speedOrCode(NetworkSpeeds, c), QStringLiteral("57.6"));
    } else {
        pickPosition(list, c - 8);
    }
}

void Applier::networkLists()
{
    const int network = R(1).code();
    const int c = R(4).code();
    if (shown(List::NetworkSpeed))
        speedRule(List::NetworkSpeed, true);
    else if (shown(List::NetworkSpeed2))
        pickText(List::NetworkSpeed2, speedText(NetworkSpeeds, c), 4, speedOrCode(NetworkSpeeds, c),
                 QStringLiteral("57.6"));
    else if (network == 1)
        pickPosition(List::NetworkSpeed2, c - 8);
    else
        speedRule(List::NetworkSpeed, false);

    const int station = R(2).leadingNumber();
    const QString stationValue = QString::number(station);
    if (shown(List::Station))
        pick(List::Station, station, 2, stationValue, QStringLiteral("1"));
    else if (shown(List::RackNumber))
        pick(List::RackNumber, station - 1, 2, stationValue, QStringLiteral("1"));
    else if (shown(List::ModbusAddress))
        pick(List::ModbusAddress, station - 1, 2, stationValue, QStringLiteral("1"));
    else if (network == 1)
        pickPosition(List::RackNumber, station - 1);
    else if (network == 2)
        pickPosition(List::ModbusAddress, station - 1);

    const int high = R(3).leadingNumber();
    const QString highValue = QString::number(high);
    if (shown(List::RackRange)) {
        pick(List::RackRange, high - 1, 3, highValue, QStringLiteral("1"));
    } else if (shown(List::HighAddress)) {
        const bool bridging = m_rec.BusType == CharPair{1, 0} && m_rec.StationNumber < 63;
        pick(List::HighAddress, high, 3, highValue,
             bridging ? QString::number(m_rec.StationNumber + 1, 8) : QStringLiteral("0"));
    } else {
        pickPosition(List::HighAddress, high);
    }
}

void Applier::rackSize()
{
    static const QStringList sizes = {QStringLiteral("1/4"), QStringLiteral("1/2"), QStringLiteral("FULL")};
    const int c = R(13).code();
    const QString size = sizes.value(c);
    if (shown(List::RackSize))
        pickText(List::RackSize, size, 13, QString::number(c), QStringLiteral("FULL"));
    else if (!size.isEmpty())
        take(List::RackSize, size);
}

void Applier::channelSpeeds()
{
    const int b = R(5).code();
    const QString bText = speedText(ChannelSpeeds, b);
    if (shown(List::ChannelB))
        pickText(List::ChannelB, bText, 5, speedOrCode(ChannelSpeeds, b), QStringLiteral("9600"));
    else if (items(List::ChannelB).contains(bText))
        take(List::ChannelB, bText);

    const int c = R(7).code();
    if (c == 0 || c == 255)
        return;
    const QString cText = speedText(ChannelSpeeds, c);
    for (List list : {List::ChannelC, List::ModbusChannelC}) {
        if (shown(list))
            pickText(list, cText, 7, speedOrCode(ChannelSpeeds, c), QStringLiteral("9600"));
        else if (items(list).contains(cText))
            take(list, cText);
    }
}

void Applier::channelFormats()
{
    // The file's bits, but for channel B's interface: RS-422 or RS-485 only where the model
    // offers a choice of serial connection.
    int b = clampedByte(R(6).leadingNumber());
    if ((b & ChanFlag::RS422) && !m_model.offersSerialConnection())
        b &= ~ChanFlag::Interface;
    m_rec.ChanBFormat = quint8(b);
    m_rec.ChanCFormat = clampedByte(R(8).leadingNumber());
}

void Applier::siemensOptions()
{
    const auto decimal = [](const QString &t) {
        bool ok = false;
        const int n = t.toInt(&ok);
        return ok && n >= 0 ? QString::number(n) : t;
    };
    // The telegram list holds 0 to 38; the protocol options start at USS, which choosing
    // again writes nothing.
    const QString telegram = decimal(R(11).asWritten());
    if (numbers(0, 38).contains(telegram)) {
        m_rec.AuxByte1.set(telegram.toLatin1());
    } else {
        m_rec.AuxByte1.set("20");
        refuse(11, QStringLiteral("Length of Telegram - in Bytes"), R(11).asWritten(), QStringLiteral("20"));
    }
    static const QStringList protocols = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    if (const qsizetype p = protocols.indexOf(decimal(R(12).asWritten())); p >= 0 && p != 2) {
        m_rec.AuxByte2 = DecimalText::fromNumber(int(p));
    } else if (p < 0) {
        m_rec.AuxByte2 = DecimalText::fromNumber(0);
        refuse(12, QStringLiteral("SIEMENS serial protocol"), R(12).asWritten(), QStringLiteral("SIMPLE"));
    }
    // A delay other than none, chosen, clears the entry after it.
    if (m_rec.ProtoParam[0] >= 1 && m_rec.ProtoParam[0] <= 4) {
        m_rec.ProtoParam[1] = 0;
    } else if (m_rec.ProtoParam[0] > 4) {
        m_rec.ProtoParam[0] = 0;
        m_rec.ProtoParam[1] = 0;
        refuse(lineOf(0), QStringLiteral("Additional Delay for Response"), QString::number(X(0)),
               QStringLiteral("NONE"));
    }
}

void Applier::modbusOptions()
{
    const int bits = X(1);
    const bool master = bits & ModbusFlag::Master;
    // The broadcast stations: the stored number's decimal digits read as octal give the list
    // position, whose item is those digits again.
    const bool broadcastShown = !master && (bits & ModbusFlag::PassBroadcast);
    for (const auto &[k, field] :
         {std::pair{2, "BROADCAST ADDRESSES START"}, {3, "BROADCAST ADDRESSES END"}}) {
        bool ok = false;
        const int position = QString::number(X(k)).toInt(&ok, 8);
        if (ok && position >= 0 && position < 64) {
            m_rec.ProtoParam[k] = quint8(QString::number(position, 8).toInt());
        } else if (broadcastShown) {
            m_rec.ProtoParam[k] = 0;
            refuse(lineOf(k), QLatin1String(field), QString::number(X(k)), QStringLiteral("00"));
        }
    }
    const int type = X(4);
    if (type >= 1 && type <= 2) {
        m_rec.ProtoParam[4] = quint8(type);
    } else if (type == 0) {
        // PLC 5 is shown already: choosing it again writes nothing.
    } else if (!master) {
        m_rec.ProtoParam[4] = 0;
        refuse(lineOf(4), QStringLiteral("A-B PLC TYPE"), QString::number(type), QStringLiteral("PLC 5"));
    }
    const int range = X(5);
    if (range == 0 || range == 1) {
        m_rec.ProtoParam[5] = quint8(range);
    } else if (master) {
        m_rec.ProtoParam[5] = 0;
        refuse(lineOf(5), QStringLiteral("Master Mode Destination Data Table Address Decode"),
               QString::number(range), QStringLiteral("Up to 99 Slaves and 999 registers"));
    }
    if (!master) {
        if (range >= 0 && range <= 9) {
            m_rec.ProtoParam[5] = quint8(range);
        } else {
            m_rec.ProtoParam[5] = 0;
            refuse(lineOf(5), QStringLiteral("MODBUS ACCESIBLE REGISTER RANGE"), QString::number(range),
                   QStringLiteral("0xxx"));
        }
    }
    for (int n = 1; n <= 8; ++n)
        copyParams(10 * n - 2, 10 * n + 5);
}

void Applier::xajOptions()
{
    // A quarter rack from group 0 with one slave is what a fresh configuration shows.
    const int g = R(12).leadingNumber();
    if (g >= 0 && g <= 3) {
        m_rec.AuxByte2 = DecimalText::fromNumber(g);
    } else if (g == 4 || g == 5) {
        m_halfRack = true;
        m_twoSlaves = true;
        m_rec.AuxByte1.set("2");
        m_rec.AuxByte2 = DecimalText::fromNumber(g);
    } else {
        m_rec.AuxByte2 = DecimalText::fromNumber(0);
        m_rec.AuxByte1.set("1");
        refuse(12, QStringLiteral("RIO Starting Group"), R(12).asWritten(), QStringLiteral("1/4 Rack, 0"));
    }
    const int slaves = R(11).leadingNumber();
    if (slaves == 1) {
        m_twoSlaves = false;
        m_rec.AuxByte1.set("1");
    } else if (slaves == 2 && m_halfRack) {
        m_rec.AuxByte1.set("2");
    } else {
        m_rec.AuxByte1.set(m_halfRack ? "2" : "1");
        refuse(11, QStringLiteral("Number of Modbus Slaves"), R(11).asWritten(),
               QLatin1String(m_halfRack ? "2" : "1"));
    }

    const int first = R(13).code();
    pick(List::Slave1, first - 1, 13, QString::number(first), QStringLiteral("1"));
    const int second = R(14).leadingNumber();
    if (shown(List::Slave2))
        pick(List::Slave2, second - 1, 14, QString::number(second), QStringLiteral("2"));
    else
        pickPosition(List::Slave2, second - 1);
}

} // namespace

AppliedConfiguration applyLoadedValues(const LoadedValues &values, const ModelInfo &model,
                                       const ConfigRecord &base)
{
    return Applier(values, model, base).run();
}

ConfigRecord freshConfiguration(const ModelInfo &model, bool oldNgd)
{
    ConfigRecord rec;
    rec.ConfigLength = model.configLength;
    rec.ProductCode = quint8(model.productCode);
    rec.FamilyCode = model.familyCode();
    rec.applyFreshConfiguration();
    rec.ChanBSpeedSel = DecimalText::fromNumber(8);
    rec.BusType = {1, 0};
    if (model.asksFlashQuestion())
        rec.UploadReplyLength = oldNgd ? 54 : 66;
    // What each model's set-up and layout write.
    const auto aux = [&rec](const char *one, const char *two) {
        rec.AuxByte1.set(one);
        rec.AuxByte2.set(two);
    };
    switch (model.kind) {
    case ModelKind::Bridge:
        rec.BusType = {0, 0};
        aux("0", "0");
        break;
    case ModelKind::Modbus:
    case ModelKind::Brabender:
    case ModelKind::Scanners:
        aux("0", "0");
        break;
    case ModelKind::SiemensDrives:
        aux("20", "2");
        rec.AuxByte3 = 2;
        rec.LinkOptions = LinkFlag::MultiDrop;
        break;
    case ModelKind::ToshibaDrives: {
        aux("0", "0");
        rec.LinkOptions = LinkFlag::MultiDrop;
        // One interrupt and one polling retry; relays 1 to 3 and the registers the drives are
        // usually polled for, the rest FFFF.
        rec.ExtParam[0] = 1;
        rec.ExtParam[1] = 1;
        static const quint16 words[] = {1,      2,      3,      0,      0,      0,      0,      0,
                                        0,      0,      0x4007, 0x4008, 0x4009, 0x400B, 0x400C, 0x400D,
                                        0x400E, 0x4004, 0x4005, 0x4026, 0x4027, 0x4028, 0x4029, 0x402A,
                                        0x402B, 0x402C, 0x402D, 0x4023, 0x4024};
        for (int k = 0; k < 40; ++k) {
            const quint16 w = k < int(std::size(words)) ? words[k] : 0xFFFF;
            rec.ProtoParam[2 * k] = quint8(w & 0xFF);
            rec.ProtoParam[2 * k + 1] = quint8(w >> 8);
        }
        break;
    }
    case ModelKind::DualDf1:
        rec.BusType = {2, 0};
        rec.ChanCSpeedSelA = DecimalText::fromNumber(8);
        rec.ChanCSpeed = 8;
        break;
    case ModelKind::RioAdapter:
        aux("0", "0");
        rec.ProtocolMode = 1;
        rec.HighAddress = 1;
        rec.BusType = {4, 0};
        rec.AuxByte3 = 2;
        break;
    case ModelKind::RioToModbus:
        aux("1", "0");
        rec.ProtocolMode = 1;
        rec.AuxByte3 = 1;
        rec.AuxByte4 = 2;
        break;
    case ModelKind::MultidropMaster:
        rec.HighAddress = 1;
        break;
    case ModelKind::EatonDrives:
        // Its layout shows no channel B list to take the speed from.
        rec.ChanBSpeedSel = DecimalText();
        break;
    case ModelKind::AsciiDisplays:
    case ModelKind::Centerscan:
    case ModelKind::Zumbach:
        break;
    }
    return rec;
}
