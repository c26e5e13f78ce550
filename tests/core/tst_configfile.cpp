// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "files/configfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/records.h"
#include "support/testdata.h"

// Readable failure output for slot comparisons.
char *toString(const LoadedValue &v)
{
    switch (v.kind()) {
    case LoadedValue::Kind::Text:
        return QTest::toString(QByteArray("text ") + v.textValue().toHex(' '));
    case LoadedValue::Kind::Number:
        return QTest::toString(QByteArray("number ") + QByteArray::number(v.numberValue()));
    case LoadedValue::Kind::Unset:
        break;
    }
    return QTest::toString("unset");
}

namespace {

QList<QByteArray> linesOf(const QByteArray &file)
{
    // Every line must end in CR LF; split on that and drop the empty tail.
    QList<QByteArray> lines = file.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &l : lines) {
        if (!l.endsWith('\r'))
            return {};
        l.chop(1);
    }
    return lines;
}

QByteArray fileFor(const ConfigRecord &rec, const QString &model)
{
    QByteArray bytes;
    const FileResult r = configFileBytes(rec, modelOf(model), &bytes);
    return r.ok ? bytes : QByteArray();
}

ConfigRecord freshRecord()
{
    ConfigRecord rec;
    rec.applyFreshConfiguration();
    return rec;
}

LoadedValue text(const QByteArray &t)
{
    return LoadedValue::text(t);
}

LoadedValues sentinelTable()
{
    LoadedValues t;
    for (int i = 0; i < LoadedSlotCount; ++i)
        t[i] = LoadedValue::number(1000 + i);
    return t;
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshNgdFile()
    {
        const QList<QByteArray> lines = linesOf(fileFor(freshRecord(), QStringLiteral("QN4000-NGD")));
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines.at(1), QByteArray("1"));
        QCOMPARE(lines.at(3), QByteArray("\"\x08\x00\"", 4));
        QCOMPARE(lines.at(4), QByteArray("\"\x08\""));
        QCOMPARE(lines.at(6), QByteArray("\"\x00\"", 3)); // ChanCSpeed 0, raw
        QCOMPARE(lines.at(10), QByteArray("\"\""));       // an empty T field stays an empty text
    }

    void lbwStoresTheBlockTableEntries()
    {
        const QList<QByteArray> lines = linesOf(fileFor(busyRecord(0), QStringLiteral("QN4000-LBW")));
        QCOMPARE(lines.size(), 84);
        QList<int> entries;
        for (int i = 14; i < 84; ++i)
            entries.append(lines.at(i).toInt() - 100);
        QCOMPARE(entries.mid(0, 6), (QList<int>{0, 1, 2, 3, 4, 5}));
        QCOMPARE(entries.mid(6, 8), (QList<int>{8, 9, 10, 11, 12, 13, 14, 15}));
        QCOMPARE(entries.mid(62, 8), (QList<int>{78, 79, 80, 81, 82, 83, 84, 85}));
    }

    // One line of a fresh file replaced, and what the reader makes of it.
    void zeroAndEmptyRules_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("slot");
        QTest::addColumn<LoadedValue>("expected");
        QTest::newRow("empty line 1 is byte 0") << 1 << QByteArray("\"\"") << 0 << text(QByteArray(1, '\0'));
        QTest::newRow("empty line 7 is speed code 8") << 7 << QByteArray("\"\"") << 6 << text("\x08");
        QTest::newRow("zero byte on line 7 is speed code 8")
            << 7 << QByteArray("\"\x00\"", 3) << 6 << text("\x08");
        QTest::newRow("line 10 loses its zero byte")
            << 10 << QByteArray("\"\x01\x00\"", 4) << 9 << text("\x01");
        QTest::newRow("line 4 cut at zero") << 4 << QByteArray("\"\x08\x00\"", 4) << 3 << text("\x08");
        QTest::newRow("empty line 4 stays empty") << 4 << QByteArray("\"\"") << 3 << text("");
        QTest::newRow("empty line 11 is byte 0")
            << 11 << QByteArray("\"\"") << 10 << text(QByteArray(1, '\0'));
        QTest::newRow("number on line 11") << 11 << QByteArray("20") << 10 << LoadedValue::number(20);
        QTest::newRow("quoted comma") << 1 << QByteArray("\",\"") << 0 << text(",");
    }
    void zeroAndEmptyRules()
    {
        QFETCH(int, line);
        QList<QByteArray> lines = linesOf(fileFor(freshRecord(), QStringLiteral("QN4000-NGD")));
        lines[line - 1] = FETCHED(QByteArray, content);
        LoadedValues table;
        const FileResult r = ReadConfigRecords(lines.join("\r\n") + "\r\n", modelOf(u"QN4000-NGD"), table);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(table[FETCHED(int, slot)], FETCHED(LoadedValue, expected));
    }

    void lastOfSeveralConfigurationsWins()
    {
        ConfigRecord first = freshRecord();
        first.StationNumber = 5;
        ConfigRecord second = freshRecord();
        second.StationNumber = 9;
        second.ProtoParam[1] = 77;
        const QString model = QStringLiteral("QN4000-WOLTA");
        LoadedValues table;
        const FileResult r = ReadConfigRecords(fileFor(first, model) + fileFor(second, model) + "\r\n \r\n",
                                               modelOf(model), table);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(table[1], LoadedValue::number(9));
        QCOMPARE(table[16], LoadedValue::number(77));
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        const QByteArray wolta = fileFor(busyRecord(0), QStringLiteral("QN4000-WOLTA"));
        QTest::newRow("empty") << QByteArray() << QStringLiteral("no values");
        QTest::newRow("ends after line 9") << wolta.split('\n').mid(0, 9).join('\n') + '\n'
                                           << QStringLiteral("ends before");
        QTest::newRow("saved under a shorter model")
            << fileFor(busyRecord(0), QStringLiteral("QN4000-NGD")) << QStringLiteral("ends before");
        QTest::newRow("second pass cut short") << wolta + wolta.left(30) << QStringLiteral("ends before");
        QTest::newRow("open quote") << QByteArray("\"abc") << QStringLiteral("ends before");
        QTest::newRow("word where a number belongs")
            << QByteArray("\"A\"\r\nfive\r\n") << QStringLiteral("line 2");
        QTest::newRow("junk after a quote") << QByteArray("\"A\"x\r\n") << QStringLiteral("line 1");
        // A number is never wrapped or clamped into its byte: it does not fit, so the file is refused.
        const auto withLine = [&](int line, const QByteArray &value) {
            QList<QByteArray> lines = wolta.split('\n');
            lines[line - 1] = value + '\r';
            return lines.join('\n');
        };
        QTest::newRow("station past 32 bits")
            << withLine(2, "4294967298") << QStringLiteral("line 2 holds 4294967298");
        QTest::newRow("near INT_MIN")
            << withLine(3, "-2147483648") << QStringLiteral("line 3 holds -2147483648");
        QTest::newRow("negative format") << withLine(9, "-3") << QStringLiteral("line 9 holds -3");
        QTest::newRow("bus type -4") << withLine(10, "-4") << QStringLiteral("line 10 holds -4");
        QTest::newRow("256 in a parameter") << withLine(15, "256,0") << QStringLiteral("line 15 holds 256");
        QTest::newRow("beyond 64 bits") << withLine(6, "99999999999999999999") << QStringLiteral("line 6");
        QTest::newRow("word for AuxByte1") << withLine(11, "\"x\"") << QStringLiteral("line 11");
        QTest::newRow("quoted 300 for a format") << withLine(6, "\"300\"") << QStringLiteral("line 6");
        QTest::newRow("AuxByte2 too big") << withLine(12, "\"300\"") << QStringLiteral("line 12");
        QTest::newRow("over a megabyte")
            << wolta + QByteArray(1024 * 1024, '\n') << QStringLiteral("too large");
    }
    void refusedFileChangesNothing()
    {
        QElapsedTimer clock;
        clock.start();
        const LoadedValues before = sentinelTable();
        LoadedValues table = before;
        const FileResult r = ReadConfigRecords(FETCHED(QByteArray, data), modelOf(u"QN4000-WOLTA"), table,
                                               QStringLiteral("/tmp/broken.QNC"));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("broken.QNC")) &&
                     r.error.contains(QStringLiteral("QN4000-WOLTA")),
                 qPrintable(r.error));
        QVERIFY2(r.error.contains(FETCHED(QString, reason)), qPrintable(r.error));
        QVERIFY(table == before);
        QVERIFY(clock.elapsed() < 1000);
    }

    // Blank lines between the values are empty values; many of them are read in time linear
    // in the file's size (a tail rescanned at every pass made 400,000 of them take seconds).
    void manyBlankLinesReadInLinearTime()
    {
        QByteArray values = fileFor(busyRecord(0), QStringLiteral("QN4000-NGD"));
        const QByteArray blanks(14 * 64000, '\n'); // whole passes of empty values
        LoadedValues table;
        QElapsedTimer clock;
        clock.start();
        const FileResult r = ReadConfigRecords(blanks + values, modelOf(u"QN4000-NGD"), table);
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(table[1], LoadedValue::number(busyRecord(0).StationNumber)); // the last pass wins
    }

    // Line-end bytes stand raw between the quotes, in one- and two-character fields alike
    // (a 230.4 kbaud network is speed code 10); only the quote of a one-character field is
    // written as its number. Each reads back as the byte it was.
    void awkwardBytesRoundTrip_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QByteArray>("charLine"); // how lines 1, 5, 7 and 13 are written
        QTest::newRow("quote") << 0x22 << QByteArray("34");
        QTest::newRow("CR") << 0x0D << QByteArray("\"\r\"");
        QTest::newRow("LF") << 0x0A << QByteArray("\"\n\"");
    }
    void awkwardBytesRoundTrip()
    {
        const quint8 b = quint8(FETCHED(int, byte));
        const QByteArray charLine = FETCHED(QByteArray, charLine);
        ConfigRecord rec = busyRecord(0);
        rec.ProtocolMode = b;
        rec.ChanBSpeed = b;
        rec.ChanCSpeed = b;
        rec.AuxByte3 = b;
        if (b != '"') {
            rec.NetworkSpeed = {b, 0};
            rec.BusType = {7, b};
        }
        const QByteArray file = fileFor(rec, QStringLiteral("QN4000-JMR"));
        QVERIFY(!file.isEmpty());
        QVERIFY(file.contains("\r\n" + charLine + "\r\n")); // line 5 as the one example
        QVERIFY(file.startsWith(charLine + "\r\n"));

        LoadedValues table;
        QVERIFY(ReadConfigRecords(file, modelOf(u"QN4000-JMR"), table).ok);
        for (int slot : {0, 4, 6, 12})
            QCOMPARE(table[slot], text(QByteArray(1, char(b))));
        QCOMPARE(table[1], LoadedValue::number(rec.StationNumber)); // the lines around stay as they were
        if (b != '"') {
            QCOMPARE(table[3], text(QByteArray(1, char(b)))); // cut at its zero byte
            QCOMPARE(table[9], text(QByteArray("\x07") + char(b)));
        }
        QCOMPARE(table[15], LoadedValue::number(100));
    }

    // Earlier files wrote CR and LF of a one-character field as numbers; they still open.
    void numberFormOfLineEndsStillReads()
    {
        QByteArray file = fileFor(busyRecord(0), QStringLiteral("QN4000-NGD"));
        QList<QByteArray> lines = linesOf(file);
        lines[4] = "13";
        lines[6] = "10";
        LoadedValues table;
        QVERIFY(ReadConfigRecords(lines.join("\r\n") + "\r\n", modelOf(u"QN4000-NGD"), table).ok);
        QCOMPARE(table[4], text("\r"));
        QCOMPARE(table[6], text("\n"));
    }

    void pairThatCannotBeQuotedIsNotSaved()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("good.QNC"));
        QVERIFY(SaveConfigFile(path, freshRecord(), modelOf(u"QN4000-NGD")).ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray good = f.readAll();
        f.close();

        ConfigRecord bad = freshRecord();
        bad.BusType = {0x22, 0};
        const FileResult r = SaveConfigFile(path, bad, modelOf(u"QN4000-NGD"));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("BusType")), qPrintable(r.error));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), good);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("good.QNC")});
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.QNC"));
        QVERIFY(SaveConfigFile(path, busyRecord(1), modelOf(u"QN4000-UCT")).ok);
        QVERIFY(
            !SaveConfigFile(dir.path(), busyRecord(2), modelOf(u"QN4000-UCT")).ok); // a folder, not a file
        const FileResult missing = SaveConfigFile(dir.filePath(QStringLiteral("no/such/b.QNC")),
                                                  busyRecord(2), modelOf(u"QN4000-UCT"));
        QVERIFY(!missing.ok);
        QVERIFY(missing.error.contains(QStringLiteral("b.QNC")));

        // The new file replaces the old one only as a whole.
        QVERIFY(SaveConfigFile(path, busyRecord(2), modelOf(u"QN4000-UCT")).ok);
        LoadedValues table;
        QVERIFY(ReadConfigFile(path, modelOf(u"QN4000-UCT"), table).ok);
        QCOMPARE(table[1], LoadedValue::number(busyRecord(2).StationNumber));
    }

    void missingFileIsReported()
    {
        LoadedValues table = sentinelTable();
        const FileResult r =
            ReadConfigFile(QStringLiteral("/nonexistent/x.QNC"), modelOf(u"QN4000-NGD"), table);
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QStringLiteral("x.QNC")));
        QVERIFY(table == sentinelTable());
    }

    // Every model: the values written come back in the slots the loader reads them from.
    void roundTrip_data() { addModelRows(); }
    void roundTrip()
    {
        QFETCH(QString, model);
        const ConfigRecord rec = busyRecord(int(qHash(model) % 50) + 20);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rt.QNC"));
        QVERIFY(SaveConfigFile(path, rec, modelOf(model)).ok);
        LoadedValues table;
        const FileResult r = ReadConfigFile(path, modelOf(model), table);
        QVERIFY2(r.ok, qPrintable(r.error));

        auto ch = [](quint8 b) { return text(QByteArray(1, char(b))); };
        auto pair = [](const CharPair &p) {
            return text(QByteArray().append(char(p[0])).append(char(p[1])));
        };
        QCOMPARE(table[0], ch(rec.ProtocolMode));
        QCOMPARE(table[1], LoadedValue::number(rec.StationNumber));
        QCOMPARE(table[2], LoadedValue::number(rec.HighAddress));
        QCOMPARE(table[3], pair(rec.NetworkSpeed));
        QCOMPARE(table[4], ch(rec.ChanBSpeed));
        QCOMPARE(table[5], LoadedValue::number(rec.ChanBFormat));
        QCOMPARE(table[6], ch(rec.ChanCSpeed));
        QCOMPARE(table[7], LoadedValue::number(rec.ChanCFormat));
        QCOMPARE(table[8], LoadedValue::number(rec.LinkOptions));
        QCOMPARE(table[9], pair(rec.BusType));
        QCOMPARE(table[10], text(rec.AuxByte1.text()));
        QCOMPARE(table[11], text(rec.AuxByte2.text()));
        QCOMPARE(table[12], ch(rec.AuxByte3));
        QCOMPARE(table[13], LoadedValue::number(rec.AuxByte4));

        QList<int> stored;
        for (const QList<int> &line : modelParamLines(modelOf(model)))
            stored += line;
        QCOMPARE(int(stored.size()), modelParamValueCount(modelOf(model)));
        for (int slot = 14; slot < LoadedSlotCount; ++slot) {
            int k = -1;
            for (int e : stored) {
                if (slotOfProtoParam(e) == slot)
                    k = e;
            }
            if (k < 0)
                QVERIFY2(table[slot].isUnset(), qPrintable(QStringLiteral("slot %1").arg(slot)));
            else
                QCOMPARE(table[slot], LoadedValue::number(rec.ProtoParam[k]));
        }
    }

    void slotMapping()
    {
        QCOMPARE(slotOfProtoParam(0), 15);
        QCOMPARE(slotOfProtoParam(15), 30);
        QCOMPARE(slotOfProtoParam(16), -1);
        QCOMPARE(slotOfProtoParam(18), 41);
        QCOMPARE(slotOfProtoParam(85), 108);
    }
};

QTEST_APPLESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
