// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/configfile.h"

#include <QSet>
#include <QTest>

#include "support/testdata.h"

class TestConfigRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("cleared");
        QTest::newRow("set a clear bit") << 0 << 16 << 16 << 0;
        QTest::newRow("mask already set") << 18 << 16 << 18 << 2;
        QTest::newRow("mask already clear") << 2 << 64 << 66 << 2;
        QTest::newRow("two bits at once") << 0x7F << (32 | 64) << 0x7F << 0x1F;
        QTest::newRow("other bits kept") << 0x55 << 0x04 << 0x55 << 0x51;
    }
    void bits()
    {
        QFETCH(int, value);
        QFETCH(int, mask);
        QCOMPARE(SetBit(value, mask), FETCHED(int, set));
        QCOMPARE(ClearBit(value, mask), FETCHED(int, cleared));
    }

    void wordSplit_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::newRow("1000") << 1000 << 3 << 232;
        QTest::newRow("255") << 255 << 0 << 255;
        QTest::newRow("256") << 256 << 1 << 0;
        QTest::newRow("65535") << 65535 << 255 << 255;
    }
    void wordSplit()
    {
        ConfigRecord rec;
        rec.splitWord(FETCHED(int, value));
        QCOMPARE(rec.WordHigh, FETCHED(int, high));
        QCOMPARE(rec.WordLow, FETCHED(int, low));
    }

    void decimalText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("value");
        QTest::newRow("0") << QByteArray("0") << true << 0;
        QTest::newRow("20") << QByteArray("20") << true << 20;
        QTest::newRow("255") << QByteArray("255") << true << 255;
        QTest::newRow("leading zero") << QByteArray("020") << true << 20;
        QTest::newRow("256") << QByteArray("256") << false << 0;
        QTest::newRow("negative") << QByteArray("-1") << false << 0;
        QTest::newRow("letters") << QByteArray("2a") << false << 0;
        QTest::newRow("blank inside") << QByteArray(" 2") << false << 0;
        QTest::newRow("four digits") << QByteArray("0001") << false << 0;
        QTest::newRow("empty") << QByteArray("") << false << 0;
    }
    void decimalText()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, accepted);
        DecimalText t;
        QVERIFY(t.isEmpty());
        QCOMPARE(t.value(), quint8(0)); // a fresh field counts as 0
        QCOMPARE(t.set(text), accepted);
        QCOMPARE(t.text(), accepted ? text : QByteArray());
        QCOMPARE(int(t.value()), FETCHED(int, value));

        // A refused text leaves the previous value in place.
        DecimalText kept;
        QVERIFY(kept.set("7"));
        kept.set(text);
        QCOMPARE(kept.text(), accepted ? text : QByteArray("7"));
    }

    void freshConfiguration()
    {
        ConfigRecord rec;
        rec.StationNumber = 9;
        rec.ChanCSpeed = 3;
        rec.ChanCFormat = 31;
        rec.applyFreshConfiguration();
        QCOMPARE(rec.NetworkSpeed, (CharPair{8, 0}));
        QCOMPARE(rec.ChanBSpeed, CharByte(8));
        QCOMPARE(rec.StationNumber, CharByte(1));
        QCOMPARE(rec.ChanCSpeed, CharByte(0));
        QCOMPARE(rec.ChanCFormat, IntByte(0));
    }

    // The catalog restated once, with what each model puts on the wire and in its files:
    // message body length, product code, the file's lines (and values a parameter line) and
    // how an upload gathers the configuration.
    void catalog_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("product");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("fileLines");
        QTest::addColumn<int>("perLine");
        QTest::addColumn<QString>("upload");
        auto row = [](const char *code, const char *button, const char *key, int length, int product,
                      const char *family, int lines, int perLine, const char *upload) {
            QTest::newRow(code) << QString::fromLatin1(code) << QString::fromLatin1(button)
                                << QString::fromLatin1(key) << length << product
                                << QString::fromLatin1(family) << lines << perLine
                                << QString::fromLatin1(upload);
        };
        row("QN4000-JMR", "cmdBrabender", "M", 58, 4, "4000", 15, 2, "TEE");
        row("QN4000-EPV4", "cmdEpv4", "E", 130, 3, "4000", 14, 0, "TEE");
        row("QN4000-WOLTA", "cmdWolta", "W", 58, 2, "4000", 15, 2, "TEE");
        row("QN4000-RW31", "Command3", "W", 58, 10, "4000", 14, 0, "TEE");
        row("QN4000-QOF", "Command9", "Q", 58, 12, "4000", 17, 2, "TEE");
        row("QN4000-HNV", "Command11", "N", 58, 11, "4000", 14, 0, "TEE");
        row("QN4000-PXA", "Command5", "X", 58, 8, "4000", 14, 0, "TEE");
        row("QN4000-TBQ", "Command2", "T", 42, 5, "4000", 14, 0, "TEE");
        row("QN4000-YZE", "Command4", "E", 58, 9, "4000", 17, 2, "TEE");
        row("QN4000-F7H", "Command1", "H", 58, 6, "4000", 14, 0, "TEE");
        row("QN4000-NGD", "Command6", "N", 42, 0, "4000", 14, 0, "TEE");
        row("QN4000-UCT", "Command7", "T", 64, 7, "4000", 21, 2, "TEE, then the unasked rack map");
        row("QN4000-LBW", "Command8", "L", 136, 1, "4000", 84, 1, "TEE, then TEM");
        row("QN6000-XAJ", "cmd6000XAJ", "", 58, 13, "6000", 14, 0, "TEE");
        row("QN6000-YZE", "cmdYZE", "", 58, 9, "6000", 17, 2, "TEE");
        row("QN6000-LBW", "cmd6000LBW", "", 136, 1, "6000", 84, 1, "TEE, then TEM");
        row("QN6000-UCT", "cmd6000UCT", "", 64, 7, "6000", 21, 2, "TEE, then the unasked rack map");
        row("QN6000-NGD", "Command22", "", 42, 0, "6000", 14, 0, "TEE");
    }
    void catalog()
    {
        QFETCH(QString, code);
        const ModelInfo *m = findModel(code);
        QVERIFY(m);
        QCOMPARE(m->button, FETCHED(QString, button));
        const QString key = FETCHED(QString, key);
        QCOMPARE(m->accessKey().isNull() ? QString() : QString(m->accessKey()), key);
        // The caption is the model code with its access key marked.
        QCOMPARE(QString(m->caption).remove(QLatin1Char('&')), code);
        QCOMPARE(m->configLength, FETCHED(int, length));
        QCOMPARE(m->productCode, FETCHED(int, product));
        QCOMPARE(m->familyCode(), FETCHED(QString, family));
        QVERIFY(!m->description.isEmpty());

        QByteArray file;
        QVERIFY(configFileBytes(ConfigRecord(), *m, &file).ok);
        QList<QByteArray> lines = file.split('\n');
        lines.removeLast(); // after the last CR LF
        QCOMPARE(lines.size(), FETCHED(int, fileLines));
        for (qsizetype i = 14; i < lines.size(); ++i)
            QCOMPARE(lines.at(i).count(',') + 1, FETCHED(int, perLine));
        QCOMPARE(modelParamValueCount(*m), (lines.size() - 14) * FETCHED(int, perLine));

        const QString upload = m->uploadPlan == UploadPlan::ParameterRequest ? QStringLiteral("TEE, then TEM")
                               : m->uploadPlan == UploadPlan::UnaskedReply
                                   ? QStringLiteral("TEE, then the unasked rack map")
                                   : QStringLiteral("TEE");
        QCOMPARE(upload, FETCHED(QString, upload));
    }

    void catalogHoldsEachModelOnce()
    {
        QCOMPARE(modelCatalog().size(), 18);
        QSet<QString> codes, buttons;
        for (const ModelInfo &m : modelCatalog()) {
            codes.insert(m.code);
            buttons.insert(m.button);
        }
        QCOMPARE(codes.size(), 18);
        QCOMPARE(buttons.size(), 18);
        QVERIFY(!findModel(u"QN4000-XYZ"));
        QCOMPARE(findModel(u"QN4000-PXA")->description,
                 QStringLiteral("DF1 -  Half Duplex Multidrop Master to DH+"));
        // Once mangled by a rename of the code's cross-form helper.
        QCOMPARE(findModel(u"QN6000-XAJ")->description,
                 QStringLiteral("Remote I/O Interface to Modbus Master Scanner"));
    }
};

QTEST_APPLESS_MAIN(TestConfigRecord)
#include "tst_configrecord.moc"
