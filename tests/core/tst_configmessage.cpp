// SPDX-License-Identifier: GPL-3.0-or-later
#include "message/configmessage.h"

#include <QTest>

#include "support/testdata.h"

namespace {

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QByteArray bodyOf(const QByteArray &msg)
{
    return msg.mid(7, msg.size() - 9);
}

int sumOf(const QByteArray &bytes)
{
    int s = 0;
    for (char c : bytes)
        s += quint8(c);
    return s;
}

ConfigRecord recordWithLength(int length)
{
    ConfigRecord rec;
    rec.ConfigLength = length;
    // Mark every parameter entry, so a layout that sends one it should not shows up.
    for (int i = 0; i < ProtoParamCount; ++i)
        rec.ProtoParam[i] = quint8(0x80 + i);
    for (int i = 0; i < ExtParamCount; ++i)
        rec.ExtParam[i] = quint8(0x40 + i);
    return rec;
}

} // namespace

class TestConfigMessage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void allZeroShortLayout()
    {
        ConfigRecord rec;
        rec.ConfigLength = 42;
        const ConfigMessage m = BuildConfigMessage(rec);
        QVERIFY(m.ok());
        const QByteArray expected = hex("4E 45 45 2A 00 00 00"
                                        " 00 01 00 00 00 00 00 00 00 00 04 99"
                                        " 00 00 00 00 00 00 00 00 00 00"
                                        " 00 00 00 00 00 00 00 00 00 00"
                                        " 08 00 00 00 00 00 00 00 00 00"
                                        " A6 00");
        QCOMPARE(m.bytes.size(), 51);
        QCOMPARE(m.bytes.toHex(' '), expected.toHex(' '));
    }

    void layouts_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("headerByte");
        QTest::addColumn<int>("protoSent"); // ProtoParam entries in the body
        QTest::addColumn<bool>("extSent");
        QTest::newRow("42") << 42 << 0x2A << 0 << false;
        QTest::newRow("58") << 58 << 0x3A << 8 << false;
        QTest::newRow("64") << 64 << 0x40 << 14 << false;
        QTest::newRow("130") << 130 << 0x82 << 80 << true;
        QTest::newRow("136") << 136 << 0x88 << 86 << false;
    }
    void layouts()
    {
        QFETCH(int, length);
        QFETCH(int, protoSent);
        QFETCH(bool, extSent);
        const ConfigMessage m = BuildConfigMessage(recordWithLength(length));
        QVERIFY(m.ok());
        QCOMPARE(m.bytes.size(), length + 9);
        QCOMPARE(m.bytes.left(3), QByteArray("NEE"));
        QCOMPARE(quint8(m.bytes.at(3)), quint8(FETCHED(int, headerByte)));
        QCOMPARE(m.bytes.mid(4, 3), QByteArray(3, '\0'));

        const QByteArray body = bodyOf(m.bytes);
        for (int off = 42; off < length; ++off) {
            int expected = 0;
            if (off >= 50)
                expected = 0x80 + (off - 50);
            else if (extSent && off < 48)
                expected = 0x40 + (off - 42);
            QVERIFY2(quint8(body.at(off)) == expected, qPrintable(QStringLiteral("body offset %1").arg(off)));
        }
        if (length > 42)
            QCOMPARE(length - 50, protoSent);

        const int sum = sumOf(body);
        QCOMPARE(quint8(m.bytes.at(length + 7)), quint8(sum & 0xFF));
        QCOMPARE(quint8(m.bytes.at(length + 8)), quint8((sum >> 8) & 0xFF));
    }

    void commonFieldsLandAtTheirOffsets()
    {
        ConfigRecord rec;
        rec.ConfigLength = 42;
        rec.ProductCode = 13;
        rec.ProtocolMode = 0x21;
        rec.StationNumber = 0x3F;
        rec.HighAddress = 0x02;
        rec.NetworkSpeed = {8, 0};
        rec.ChanBSpeed = 0x09;
        rec.ChanBFormat = 0x7F;
        rec.ChanCSpeed = 0x05;
        rec.ChanCFormat = 0x1E;
        rec.LinkOptions = 0x3F;
        rec.BusType = {4, 0};
        QVERIFY(rec.AuxByte1.set("20"));
        QVERIFY(rec.AuxByte2.set("255"));
        rec.AuxByte3 = 0xF7;
        rec.AuxByte4 = 0x22;
        const QByteArray body = bodyOf(BuildConfigMessage(rec).bytes);
        QCOMPARE(body.mid(22).toHex(' '),
                 hex("0D 21 3F 02 08 00 09 7F 05 1E 08 00 00 3F 04 00 14 FF F7 22").toHex(' '));
    }

    void emptyDecimalTextSendsZero()
    {
        ConfigRecord rec;
        rec.ConfigLength = 58;
        QVERIFY(rec.AuxByte1.isEmpty());
        QVERIFY(rec.AuxByte2.set("0"));
        const QByteArray body = bodyOf(BuildConfigMessage(rec).bytes);
        QCOMPARE(body.at(38), '\0');
        QCOMPARE(body.at(39), '\0');
    }

    void fullestBodyGetsItsChecksum()
    {
        ConfigRecord rec;
        rec.ConfigLength = 136;
        rec.ProtoParam.fill(255);
        rec.ProductCode = rec.ProtocolMode = rec.StationNumber = rec.HighAddress = 255;
        rec.NetworkSpeed = rec.BusType = {255, 255};
        rec.ChanBSpeed = rec.ChanBFormat = rec.ChanCSpeed = rec.ChanCFormat = rec.LinkOptions = 255;
        rec.AuxByte1.set("255");
        rec.AuxByte2.set("255");
        rec.AuxByte3 = rec.AuxByte4 = 255;
        const ConfigMessage m = BuildConfigMessage(rec);
        QVERIFY(m.ok());
        const int sum = sumOf(bodyOf(m.bytes));
        QCOMPARE(sum, 166 + 103 * 255); // seventeen fields and 86 parameters at 255
        QCOMPARE(m.bytes.right(2), QByteArray().append(char(sum & 0xFF)).append(char(sum >> 8)));
    }

    void checksumVectors_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("sum");
        QTest::newRow("empty") << QByteArray() << hex("00 00");
        QTest::newRow("166") << hex("01 04 99 08") << hex("A6 00");
        QTest::newRow("carry into high byte") << hex("FF 01") << hex("00 01");
        QTest::newRow("past the signed range") << QByteArray(136, char(0xFF)) << hex("78 87"); // 34680
        QTest::newRow("16-bit wrap") << QByteArray(300, char(0xFF)) << hex("D4 2A");           // 76500
    }
    void checksumVectors()
    {
        QFETCH(QByteArray, body);
        QCOMPARE(MessageChecksum(body).toHex(' '), FETCHED(QByteArray, sum).toHex(' '));
    }

    void unknownLayoutGivesNoMessage_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("no model yet") << 0;
        QTest::newRow("between layouts") << 50;
        QTest::newRow("too long") << 300;
    }
    void unknownLayoutGivesNoMessage()
    {
        const ConfigMessage m = BuildConfigMessage(recordWithLength(FETCHED(int, length)));
        QVERIFY(!m.ok());
        QVERIFY(m.bytes.isEmpty());
        QVERIFY(m.error.contains(QStringLiteral("ConfigLength")));
    }
};

QTEST_APPLESS_MAIN(TestConfigMessage)
#include "tst_configmessage.moc"
