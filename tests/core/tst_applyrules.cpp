// SPDX-License-Identifier: GPL-3.0-or-later
#include "apply/applyloaded.h"
#include "files/configfile.h"

#include <QTest>

#include "support/testdata.h"

namespace {

// A record as a fresh configuration of the model holds it, with the slave and group bytes
// the RIO to Modbus layout can show.
ConfigRecord startingRecord(const ModelInfo &m)
{
    ConfigRecord rec;
    rec.ConfigLength = m.configLength;
    rec.ProductCode = quint8(m.productCode);
    rec.FamilyCode = m.familyCode();
    rec.applyFreshConfiguration();
    rec.BusType = {1, 0};
    rec.AuxByte1.set("1");
    rec.AuxByte2.set("2");
    rec.AuxByte3 = 1;
    rec.AuxByte4 = 2;
    return rec;
}

QByteArray field(const ConfigRecord &rec, const QString &name)
{
    if (name == QLatin1String("NetworkSpeed"))
        return QByteArray::number(rec.NetworkSpeed[0]);
    if (name == QLatin1String("BusType"))
        return QByteArray::number(rec.BusType[0]);
    if (name == QLatin1String("StationNumber"))
        return QByteArray::number(rec.StationNumber);
    if (name == QLatin1String("HighAddress"))
        return QByteArray::number(rec.HighAddress);
    if (name == QLatin1String("ChanBFormat"))
        return QByteArray::number(rec.ChanBFormat);
    if (name == QLatin1String("AuxByte1"))
        return rec.AuxByte1.text();
    if (name == QLatin1String("AuxByte2"))
        return rec.AuxByte2.text();
    if (name == QLatin1String("ProtoParam2"))
        return QByteArray::number(rec.ProtoParam[2]);
    qFatal("no field %s", qPrintable(name));
}

} // namespace

class TestApplyLoadedRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("edits"); // "line=value" in the file
        QTest::addColumn<QString>("field");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QList<int>>("refused"); // the lines refused

        QTest::newRow("230.4 on a QN4000 list: 115.2") << "QN4000-NGD" << QStringList{"10=0", "4=10"}
                                                       << "NetworkSpeed" << QByteArray("9") << QList<int>{4};
        QTest::newRow("230.4 on a QN6000 list") << "QN6000-NGD" << QStringList{"10=0", "4=10"}
                                                << "NetworkSpeed" << QByteArray("10") << QList<int>{};
        QTest::newRow("station past the list: 1") << "QN4000-NGD" << QStringList{"10=0", "2=64"}
                                                  << "StationNumber" << QByteArray("1") << QList<int>{2};
        QTest::newRow("bridging high address past the list: station + 1")
            << "QN4000-NGD" << QStringList{"10=1", "2=5", "3=64"} << "HighAddress" << QByteArray("6")
            << QList<int>{3};
        QTest::newRow("hidden high address still taken")
            << "QN4000-NGD" << QStringList{"10=0", "3=7"} << "HighAddress" << QByteArray("7") << QList<int>{};
        // The bus type is the code of the mode shown, whatever other code the file has.
        QTest::newRow("bus type no mode stands for: the mode's")
            << "QN4000-JMR" << QStringList{"10=111"} << "BusType" << QByteArray("1") << QList<int>{10};
        QTest::newRow("the dual-DF1 code on a bridge: bridging")
            << "QN4000-NGD" << QStringList{"10=2"} << "BusType" << QByteArray("1") << QList<int>{10};
        QTest::newRow("the RIO code on a RIO adapter")
            << "QN4000-UCT" << QStringList{"10=4", "3=1"} << "BusType" << QByteArray("4") << QList<int>{};
        QTest::newRow("RS-422/485 where channel B has no such interface")
            << "QN4000-NGD" << QStringList{"6=98"} << "ChanBFormat" << QByteArray("2") << QList<int>{};
        QTest::newRow("RS-485 where it has")
            << "QN6000-NGD" << QStringList{"6=98"} << "ChanBFormat" << QByteArray("98") << QList<int>{};
        QTest::newRow("telegram with a leading zero")
            << "QN4000-WOLTA" << QStringList{"11=\"05\""} << "AuxByte1" << QByteArray("5") << QList<int>{};
        QTest::newRow("telegram past the list: 20")
            << "QN4000-WOLTA" << QStringList{"11=\"39\""} << "AuxByte1" << QByteArray("20") << QList<int>{11};
        QTest::newRow("broadcast start in octal digits") << "QN4000-LBW" << QStringList{"16=4", "17=17"}
                                                         << "ProtoParam2" << QByteArray("17") << QList<int>{};
        QTest::newRow("broadcast start not octal: 00") << "QN4000-LBW" << QStringList{"16=4", "17=18"}
                                                       << "ProtoParam2" << QByteArray("0") << QList<int>{17};
        QTest::newRow("half rack, second group") << "QN6000-XAJ" << QStringList{"12=\"5\"", "11=\"2\""}
                                                 << "AuxByte2" << QByteArray("5") << QList<int>{};
        QTest::newRow("two slaves on a quarter rack: one")
            << "QN6000-XAJ" << QStringList{"12=\"1\"", "11=\"2\""} << "AuxByte1" << QByteArray("1")
            << QList<int>{11};
        QTest::newRow("no such group: quarter rack, group 0")
            << "QN6000-XAJ" << QStringList{"12=\"9\""} << "AuxByte2" << QByteArray("0") << QList<int>{12};
    }

    void rules()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, edits);
        QFETCH(QString, field);
        QFETCH(QByteArray, expected);
        QFETCH(QList<int>, refused);
        const ModelInfo &m = modelOf(model);
        const ConfigRecord base = startingRecord(m);
        QByteArray file;
        QVERIFY(configFileBytes(base, m, &file).ok);
        QList<QByteArray> lines = file.split('\n');
        for (const QString &edit : edits) {
            const int line = edit.section(QLatin1Char('='), 0, 0).toInt();
            lines[line - 1] = edit.section(QLatin1Char('='), 1).toLatin1() + '\r';
        }
        LoadedValues values;
        QVERIFY(ReadConfigRecords(lines.join('\n'), m, values).ok);

        const AppliedConfiguration applied = applyLoadedValues(values, m, base);
        QCOMPARE(::field(applied.record, field), expected);
        QList<int> refusedLines;
        for (const RefusedValue &r : applied.refused)
            refusedLines << r.line;
        QCOMPARE(refusedLines, refused);
    }
};

QTEST_GUILESS_MAIN(TestApplyLoadedRules)
#include "tst_applyrules.moc"
