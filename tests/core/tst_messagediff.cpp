// SPDX-License-Identifier: GPL-3.0-or-later
#include "message/configmessage.h"
#include "message/messagediff.h"

#include <QTest>

#include "support/testdata.h"

namespace {

QByteArray messageOf(const ModelInfo &model)
{
    ConfigRecord rec;
    rec.ConfigLength = model.configLength;
    rec.applyFreshConfiguration();
    return BuildConfigMessage(rec).bytes;
}

// The checksum again after a change to the body: 7-byte header, two sum bytes at the end.
void resum(QByteArray &m)
{
    m.replace(m.size() - 2, 2, MessageChecksum(QByteArrayView(m).sliced(7, m.size() - 9)));
}

} // namespace

class TestMessageDiff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One byte changed at its offset on the wire: the report names the field of that byte and
    // words both values as the summary does.
    void namesTheByte_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("low"); // the byte before it, where it is a word's high byte
        QTest::addColumn<QString>("line");
        QTest::newRow("BCC vs CRC") << "QN4000-PXA" << 42 << 0x01 << -1
                                    << "byte 42 LinkOptions: 00 | 01 (BCC | CRC)";
        QTest::newRow("a link bit with no text")
            << "QN4000-PXA" << 42 << 0x02 << -1 << "byte 42 LinkOptions: 00 | 02";
        QTest::newRow("channel B format")
            << "QN4000-PXA" << 36 << 0x16 << -1
            << "byte 36 ChanBFormat: 00 | 16 (PARITY NONE, DATA BITS 8 | PARITY EVEN, DATA BITS 7)";
        QTest::newRow("network speed") << "QN4000-NGD" << 33 << 0x09 << -1
                                       << "byte 33 NetworkSpeed[0]: 08 | 09 (57.6 Kbaud | 115.2 Kbaud)";
        QTest::newRow("channel C speed")
            << "QN4000-F7H" << 37 << 0x09 << -1 << "byte 37 ChanCSpeed: 00 | 09 (- | 19.2 Kbaud)";
        QTest::newRow("Modbus table cell") << "QN4000-LBW" << 86 << 0x01 << 0x2C
                                           << "byte 86 ProtoParam[29] (Modbus table row 3, MODICON START "
                                              "ADDRESS, high byte): 00 | 01 (44 | 300)";
        QTest::newRow("Modbus framing")
            << "QN6000-LBW" << 58 << 0x03 << -1
            << "byte 58 ProtoParam[1] (Modbus options): 00 | 03 (RTU, SLAVE | ASCII, MASTER)";
        QTest::newRow("rack entry") << "QN6000-UCT" << 60 << 0x80 << -1
                                    << "byte 60 ProtoParam[3] (rack 2, groups 4-7): 00 | 80";
        QTest::newRow("data table file")
            << "QN4000-QOF" << 60 << 0x01 << 0xB4
            << "byte 60 ProtoParam[3] (NECKDOWNS file, high byte): 00 | 01 (180 | 436)";
        QTest::newRow("Toshiba register")
            << "QN4000-EPV4" << 78 << 0x40 << 0x07
            << "byte 78 ProtoParam[21] (Toshiba word WD30 (REG 1), high byte): 00 | 40 (0007 | 4007)";
        QTest::newRow("Toshiba drive type")
            << "QN4000-EPV4" << 52 << 0x01 << -1 << "byte 52 ExtParam[3] (drive type): 00 | 01 (G2 | G3)";
        QTest::newRow("Toshiba delay")
            << "QN4000-EPV4" << 54 << 0x01 << 0x2C
            << "byte 54 ExtParam[5] (delay before the network crash command, high byte): 00 | 01 (44 | 300)";
    }
    void namesTheByte()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        QFETCH(int, offset);
        QFETCH(int, low);
        QByteArray a = messageOf(model);
        if (low >= 0)
            a[offset - 1] = char(low);
        resum(a);
        QByteArray b = a;
        b[offset] = char(FETCHED(int, value));
        resum(b);

        const MessageComparison c = compareMessages(model, a, b);
        QVERIFY(c.unread.isEmpty());
        QVERIFY(!c.differences.isEmpty());
        QCOMPARE(differenceLine(c.differences.first()), FETCHED(QString, line));
        // The rest is the checksum, which a changed body byte always moves.
        for (const ByteDifference &d : c.differences.mid(1))
            QVERIFY2(d.offset >= a.size() - 2 && d.field.startsWith(QLatin1String("checksum")),
                     qPrintable(differenceLine(d)));
        QVERIFY(compareMessages(model, a, a).equal());
    }

    // A damaged sum alone is a difference too.
    void checksumOnly()
    {
        const ModelInfo &model = modelOf(u"QN4000-PXA");
        const QByteArray a = messageOf(model);
        QByteArray b = a;
        b[66] = char(quint8(b[66]) + 1);
        const MessageComparison c = compareMessages(model, a, b);
        QCOMPARE(c.differences.size(), 1);
        QCOMPARE(differenceLine(c.differences.first()),
                 QStringLiteral("byte 66 checksum (high byte): 00 | 01"));
    }

    // What a unit sends back, placed where the message carries it; what no reply carries is
    // unread, and a difference there is not reported.
    void readBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("firstLength");
        QTest::addColumn<int>("secondLength");
        QTest::addColumn<QStringList>("unread");
        QTest::newRow("PXA") << "QN4000-PXA" << 66 << 0 << QStringList();
        QTest::newRow("old NGD") << "QN4000-NGD" << 54 << 0 << QStringList();
        QTest::newRow("UCT") << "QN4000-UCT" << 66 << 96 << QStringList();
        QTest::newRow("LBW") << "QN6000-LBW" << 66 << 114 << QStringList();
        QTest::newRow("EPV4") << "QN4000-EPV4" << 66 << 0
                              << QStringList{"bytes 67..136 (ProtoParam[10]..ProtoParam[79])",
                                             "bytes 137..138 (checksum)"};
    }
    void readBack()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        QFETCH(int, secondLength);
        // The unit holds a body of distinct bytes; its replies carry it as the unit sends them.
        QByteArray sent = messageOf(model);
        for (int k = 0; k < model.configLength; ++k)
            sent[7 + k] = char(k * 7 + 3);
        resum(sent);
        QByteArray first(FETCHED(int, firstLength), '\0');
        QByteArray second(secondLength, '\0');
        first[0] = 'T';
        first[1] = 'R';
        for (int k = 0; 6 + k < first.size() && k < model.configLength; ++k)
            first[6 + k] = sent[7 + k];
        const int secondOffset = secondLength == 114 ? 24 : 16;
        for (int e = 0; secondOffset + e < secondLength && 50 + e < model.configLength; ++e)
            second[secondOffset + e] = sent[57 + e];

        const UnitMessage unit = messageFromUpload(model, first, second);
        QCOMPARE(unit.bytes.size(), sent.size());
        QByteArray changed = sent;
        changed[sent.size() - 3] = char(~quint8(changed[sent.size() - 3]));
        const MessageComparison same = compareMessages(model, sent, unit.bytes, unit.known);
        QVERIFY2(same.equal(), same.equal() ? "" : qPrintable(differenceLine(same.differences.first())));
        QCOMPARE(unreadRanges(model, same.unread), FETCHED(QStringList, unread));
        // The last body byte: a difference where the unit sent it back, unread where it did not.
        const bool lastRead = same.unread.isEmpty();
        QCOMPARE(compareMessages(model, changed, unit.bytes, unit.known).equal(), !lastRead);
    }
};

QTEST_GUILESS_MAIN(TestMessageDiff)
#include "tst_messagediff.moc"
