// SPDX-License-Identifier: GPL-3.0-or-later
#include "df1/df1.h"

#include <QStringList>
#include <QTest>

#include "support/testdata.h"

namespace {

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QStringList describe(const QList<DF1Event> &events)
{
    QStringList out;
    for (const DF1Event &e : events) {
        switch (e.kind) {
        case DF1Event::Enq:
            out << QStringLiteral("ENQ");
            break;
        case DF1Event::Ack:
            out << QStringLiteral("ACK");
            break;
        case DF1Event::Nak:
            out << QStringLiteral("NAK");
            break;
        case DF1Event::BadFrame:
            out << QStringLiteral("BAD");
            break;
        case DF1Event::Frame:
            out << QStringLiteral("FRAME %1 %2")
                       .arg(QString::fromLatin1(e.body.toHex()), e.bccOk ? "ok" : "bad");
            break;
        }
    }
    return out;
}

} // namespace

class TestDf1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusCommand_data()
    {
        QTest::addColumn<int>("dst");
        QTest::addColumn<int>("src");
        QTest::addColumn<int>("tns");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("node probe") << 0xFE << 0 << 0 << hex("10 02 FE 00 06 00 00 00 03 10 03 F9");
        QTest::newRow("node 020, DLE doubled")
            << 0x10 << 0 << 1 << hex("10 02 10 10 00 06 00 00 01 03 10 03 E6");
        QTest::newRow("TNS high byte first")
            << 0x03 << 0x01 << 0x1234 << hex("10 02 03 01 06 00 12 34 03 10 03 AD");
        QTest::newRow("DLE in both TNS bytes")
            << 0x01 << 0 << 0x1010 << hex("10 02 01 00 06 00 10 10 10 10 03 10 03 D6");
    }
    void statusCommand()
    {
        quint16 counter = 41;
        const QByteArray frame = QuintrelTX_Status(quint8(FETCHED(int, dst)), quint8(FETCHED(int, src)),
                                                   quint16(FETCHED(int, tns)), counter);
        QCOMPARE(frame.toHex(' '), FETCHED(QByteArray, frame).toHex(' '));
        QCOMPARE(counter, quint16(42));
    }

    void bcc_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("bcc");
        QTest::newRow("empty") << QByteArray() << 0x00;
        QTest::newRow("a DLE counts once") << hex("10") << 0xF0;
        QTest::newRow("sum wraps") << hex("FF 01") << 0x00;
        QTest::newRow("worked body") << hex("10 00 06 00 00 01 03") << 0xE6;
    }
    void bcc() { QCOMPARE(int(DF1_BCC(FETCHED(QByteArray, body))), FETCHED(int, bcc)); }

    void stuffing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("stuffed");
        QTest::newRow("no DLE") << hex("01 02 03") << hex("01 02 03");
        QTest::newRow("DLE before ETX") << hex("10 03") << hex("10 10 03");
        QTest::newRow("two DLEs") << hex("10 10") << hex("10 10 10 10");
    }
    void stuffing()
    {
        QCOMPARE(StuffDLE(FETCHED(QByteArray, body)).toHex(' '), FETCHED(QByteArray, stuffed).toHex(' '));
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("control pairs") << hex("10 05 10 06 10 15") << QStringList{"ENQ", "ACK", "NAK"};
        QTest::newRow("worked frame")
            << hex("10 02 FE 00 06 00 00 00 03 10 03 F9") << QStringList{"FRAME fe000600000003 ok"};
        QTest::newRow("stuffed frame")
            << hex("10 02 10 10 00 06 00 00 01 03 10 03 E6") << QStringList{"FRAME 10000600000103 ok"};
        QTest::newRow("bad BCC") << hex("10 02 FE 00 06 00 00 00 03 10 03 F8")
                                 << QStringList{"FRAME fe000600000003 bad"};
        QTest::newRow("noise around") << hex("41 0D 10 05 00 03") << QStringList{"ENQ"};
        QTest::newRow("ACK then reply")
            << hex("10 06 10 02 01 FE 46 02 00 00 10 03 B9") << QStringList{"ACK", "FRAME 01fe46020000 ok"};
        QTest::newRow("restarted frame")
            << hex("10 02 55 10 02 FE 00 06 00 00 00 03 10 03 F9") << QStringList{"FRAME fe000600000003 ok"};
        QTest::newRow("cut short by ENQ") << hex("10 02 01 02 10 05") << QStringList{"BAD", "ENQ"};
        QTest::newRow("overlong frame")
            << hex("10 02") + QByteArray(DF1FrameReader::MaxBody + 1, 'A') + hex("10 05")
            << QStringList{"BAD", "ENQ"};
    }
    // The counter runs on past 32767 and wraps to 0 after 65535.
    void counterWraps()
    {
        quint16 counter = 32767;
        QuintrelTX_Status(1, 0, counter, counter);
        QCOMPARE(counter, quint16(32768));
        counter = 65535;
        QCOMPARE(QuintrelTX_Status(1, 0, counter, counter).mid(6, 2), hex("FF FF"));
        QCOMPARE(counter, quint16(0));
    }

    void statusReply_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("dst");
        QTest::addColumn<int>("sts");
        QTest::newRow("node answered") << hex("10 06 10 02 01 03 46 00 00 05") << true << 0x01 << 0x00;
        QTest::newRow("no such node") << hex("10 06 10 02 0F 03 46 10 10 00 05") << true << 0x0F << 0x10;
        QTest::newRow("DST of 0x10 unstuffed")
            << hex("10 06 10 02 10 10 22 46 30 00") << true << 0x10 << 0x30;
        QTest::newRow("SRC of 0x10 unstuffed") << hex("10 06 10 02 05 10 10 46 30") << true << 0x05 << 0x30;
        QTest::newRow("cut before the status") << hex("10 06 10 02 05 01 46") << false << 0 << 0;
        QTest::newRow("no acknowledge first") << hex("10 02 05 01 46 30 00 00 00") << false << 0 << 0;
        QTest::newRow("overlong, cut at 201")
            << hex("10 06 10 02 01 03 46 00") + QByteArray(300, ' ') << true << 0x01 << 0x00;
        QTest::newRow("line noise") << hex("A5 5A 13 77 01 02 03 04 05 06 07 08 09") << false << 0 << 0;
    }
    void statusReply()
    {
        QFETCH(QByteArray, received);
        const Df1StatusReply r(received);
        QCOMPARE(r.bytes.size(),
                 qMin<qsizetype>(Df1StatusReply::MaxLength, received.size() - received.count("\x10\x10")));
        QCOMPARE(r.complete(), FETCHED(bool, complete));
        if (r.complete()) {
            QCOMPARE(int(r.dst()), FETCHED(int, dst));
            QCOMPARE(int(r.sts()), FETCHED(int, sts));
        }
    }

    void reader()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, events);
        DF1FrameReader block;
        QCOMPARE(describe(block.feed(stream)), events);
        QVERIFY(block.isIdle());

        DF1FrameReader bytewise;
        QList<DF1Event> seen;
        for (char c : stream)
            seen += bytewise.feed(QByteArrayView(&c, 1));
        QCOMPARE(describe(seen), events);
    }
};

QTEST_APPLESS_MAIN(TestDf1)
#include "tst_df1.moc"
