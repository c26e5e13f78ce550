// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary/summaryrows.h"

#include <QTest>

#include "support/testdata.h"

namespace {

// A fresh record of the model with a few fields set: "bus=4 mode=1 station=8 high=3
// chanB=9/22 chanC=8/0 aux2=4 aux3=1 ext3=2 p0=3 p1=3".
ConfigRecord recordOf(const ModelInfo &model, const QString &fields)
{
    ConfigRecord rec;
    rec.ConfigLength = model.configLength;
    rec.ProductCode = quint8(model.productCode);
    rec.applyFreshConfiguration();
    rec.BusType = {1, 0};
    for (const QString &f : fields.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = f.section(QLatin1Char('='), 0, 0);
        const QString value = f.section(QLatin1Char('='), 1);
        const int v = value.section(QLatin1Char('/'), 0, 0).toInt();
        const quint8 second = quint8(value.section(QLatin1Char('/'), 1).toInt());
        if (name == QLatin1String("bus"))
            rec.BusType = {quint8(v), 0};
        else if (name == QLatin1String("mode"))
            rec.ProtocolMode = quint8(v);
        else if (name == QLatin1String("station"))
            rec.StationNumber = quint8(v);
        else if (name == QLatin1String("high"))
            rec.HighAddress = quint8(v);
        else if (name == QLatin1String("net"))
            rec.NetworkSpeed = {quint8(v), 0};
        else if (name == QLatin1String("chanB"))
            rec.ChanBSpeed = quint8(v), rec.ChanBFormat = second;
        else if (name == QLatin1String("chanC"))
            rec.ChanCSpeed = quint8(v), rec.ChanCFormat = second;
        else if (name == QLatin1String("aux2"))
            rec.AuxByte2 = DecimalText::fromNumber(v);
        else if (name == QLatin1String("aux3"))
            rec.AuxByte3 = quint8(v);
        else if (name == QLatin1String("ext3"))
            rec.ExtParam[3] = quint8(v);
        else if (name.startsWith(QLatin1Char('p')))
            rec.ProtoParam[name.mid(1).toInt()] = quint8(v);
        else
            qFatal("no field %s", qPrintable(name));
    }
    return rec;
}

} // namespace

class TestSummaryRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the page says follows from the record and the model alone: which network side the
    // mode puts on it, and each value worded as the lists and dialogs word it.
    void rows_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QStringList>("shown");    // lines that must be on the page
        QTest::addColumn<QStringList>("notShown"); // captions that must not

        const auto row = [](const char *tag, const char *model, const char *fields, QStringList shown,
                            QStringList notShown) {
            QTest::newRow(tag) << model << fields << shown << notShown;
        };
        row("standard mode of a RIO adapter", "QN4000-UCT", "bus=0 station=8",
            {"NETWORK PROTOCOL: DH+", "STATION NUMBER: 10 Octal", "NETWORK SPEED: 57.6"},
            {"RACK NUMBER", "RACK RANGE", "RACK SIZE", "CHANNEL C PROTOCOL ASYNC SPEED"});
        row("RIO adapter", "QN6000-UCT", "bus=4 station=8 high=7 aux3=1 net=10",
            {"NETWORK PROTOCOL: RIO", "RACK NUMBER: 10 Octal", "RACK RANGE: 7", "RACK SIZE: 1/2",
             "NETWORK SPEED: 230.4"},
            {"STATION NUMBER", "HIGH ADDRESS"});
        row("RIO to Modbus, half rack", "QN6000-XAJ", "aux2=5 aux3=1",
            {"RACK SIZE: 1/2", "RACK NUMBER: 1 Octal"}, {"RACK RANGE", "STATION NUMBER"});
        row("RIO to Modbus, quarter rack", "QN6000-XAJ", "aux2=3 aux3=2", {"RACK SIZE: 1/4"}, {});
        row("bridge", "QN4000-NGD", "station=7 high=8", {"STATION NUMBER: 7 Octal", "HIGH ADDRESS: 10 Octal"},
            {});
        row("bridge in standard mode", "QN6000-NGD", "bus=0", {"STATION NUMBER: 1 Octal"}, {"HIGH ADDRESS"});
        row("data table", "QN4000-YZE", "high=9", {"PLC ADDRESS: 11 Octal"}, {"HIGH ADDRESS"});
        row("Eaton drives", "QN4000-RW31", "", {"PLC ADDRESS: 0 Octal"}, {"CHANNEL B PROTOCOL ASYNC SPEED"});
        row("Eaton drives in standard mode", "QN4000-RW31", "bus=0",
            {"CHANNEL B PROTOCOL ASYNC SPEED: 9600 Baud"}, {"PLC ADDRESS"});
        row("dual DF1", "QN4000-F7H", "chanC=10/27",
            {"CHANNEL C PROTOCOL ASYNC SPEED: 38.4 Kbaud", "CHANNEL C PROTOCOL PARITY: ODD",
             "CHANNEL C PROTOCOL DATA BITS: 7", "CHANNEL C PROTOCOL STOP BITS: 2",
             "CHANNEL C PROTOCOL HANDSHAKING: ACTIVE"},
            {});
        // Even parity chosen, parity off: the unit gets no parity, and the page says so.
        row("even without parity", "QN4000-NGD", "chanB=5/4",
            {"CHANNEL B PROTOCOL ASYNC SPEED: 1200 Baud", "CHANNEL B PROTOCOL PARITY: NONE"},
            {"CHANNEL C PROTOCOL ASYNC SPEED"});
        row("even parity", "QN4000-NGD", "chanB=12/6",
            {"CHANNEL B PROTOCOL ASYNC SPEED: 115.2 Kbaud", "CHANNEL B PROTOCOL PARITY: EVEN"}, {});
        row("Brabender on DH+", "QN4000-JMR", "mode=0 p0=3",
            {"NETWORK PROTOCOL: AB - DH+", "BRABENDER EQUIPMENT SELECTED: PT03", "NETWORK SPEED: 57.6"},
            {"RACK NUMBER"});
        row("Brabender on RIO", "QN4000-JMR", "mode=1 aux3=0",
            {"NETWORK PROTOCOL: AB - RIO", "RACK NUMBER: 1 Octal", "RACK SIZE: 1/4", "NETWORK SPEED: 57.6"},
            {"STATION NUMBER", "RACK RANGE", "CHANNEL C PROTOCOL ASYNC SPEED"});
        row("Brabender in standard mode", "QN4000-JMR", "bus=0", {"NETWORK PROTOCOL: DH+"},
            {"BRABENDER EQUIPMENT SELECTED"});
        row("Siemens drives on Modbus", "QN4000-WOLTA", "mode=2 station=17 aux2=1 chanC=8/0",
            {"NETWORK PROTOCOL: MODBUS RTU", "STATION NUMBER: 17 Decimal", "SIEMENS PROTOCOL: DUST6B",
             "CHANNEL C PROTOCOL ASYNC SPEED: 9600 Baud"},
            {"NETWORK SPEED", "RACK NUMBER"});
        row("Toshiba drives", "QN4000-EPV4", "mode=0 ext3=2", {"TOSHIBA PROTOCOL: SUPER2E"},
            {"SIEMENS PROTOCOL"});
        row("Modbus unit", "QN6000-LBW", "p1=3", {"DEVICE TYPE: MASTER", "MODE OF OPERATION: ASCII"}, {});
        row("Modbus unit in standard mode", "QN4000-LBW", "bus=0 p1=0",
            {"DEVICE TYPE: SLAVE", "MODE OF OPERATION: RTU"}, {});
        row("no Modbus rows elsewhere", "QN4000-PXA", "p1=3", {"HIGH ADDRESS: 0 Octal"},
            {"DEVICE TYPE", "MODE OF OPERATION", "SIEMENS PROTOCOL", "TOSHIBA PROTOCOL"});
    }
    void rows()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, shown);
        const ModelInfo *m = findModel(model);
        QVERIFY(m);
        const QStringList lines = summaryLines(summaryRows(recordOf(*m, FETCHED(QString, fields)), *m, 3));
        QCOMPARE(lines.value(0), QStringLiteral("MODEL: ") + model);
        QCOMPARE(lines.value(1), QStringLiteral("COMMUNICATION PORT: 3"));
        for (const QString &line : shown)
            QVERIFY2(lines.contains(line),
                     qPrintable(line + QStringLiteral(" not in:\n") + lines.join('\n')));
        for (const QString &caption : FETCHED(QStringList, notShown)) {
            for (const QString &line : lines)
                QVERIFY2(!line.startsWith(caption + QLatin1String(": ")), qPrintable(line));
        }
    }

    // Every model in each of its modes words every row it shows: no empty value, no raw code
    // (which is what a code no list offers shows as).
    void everyModeWordsItsRows()
    {
        for (const ModelInfo &m : modelCatalog()) {
            for (const char *mode :
                 {"bus=0", "bus=1 mode=0", "bus=1 mode=1", "bus=1 mode=2", "bus=2", "bus=4"}) {
                const QString fields = QLatin1String(mode) + QStringLiteral(" chanC=8");
                for (const QString &line : summaryLines(summaryRows(recordOf(m, fields), m, 1))) {
                    QVERIFY2(!line.endsWith(QLatin1String(": ")) && !line.contains(QLatin1String("code ")),
                             qPrintable(m.code + QLatin1Char(' ') + fields + QStringLiteral(": ") + line));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSummaryRows)
#include "tst_summaryrows.moc"
