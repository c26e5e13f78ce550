// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/exchange.h"

#include <QSignalSpy>
#include <QTest>

#include "support/testdata.h"

Q_DECLARE_METATYPE(ExchangeOutcome)

namespace {

const char ACK = 0x06;

QByteArray withAckAt(int length, int position)
{
    QByteArray r(length, 'x');
    if (position >= 0)
        r[position] = ACK;
    return r;
}

QByteArray trReply(int length)
{
    QByteArray r(length, '\0');
    r[0] = 'T';
    r[1] = 'R';
    return r;
}

// Feeds a reply to an engine in pieces of `piece` bytes (0: all at once).
void feed(ExchangeEngine &e, const QByteArray &bytes, int piece)
{
    if (piece <= 0) {
        e.receive(bytes);
        return;
    }
    for (qsizetype i = 0; i < bytes.size(); i += piece)
        e.receive(bytes.mid(i, piece));
}

struct Run
{
    QList<QByteArray> sent;
    QList<ExchangeOutcome> outcomes;
};

void watch(ExchangeEngine &e, Run &run)
{
    QObject::connect(&e, &ExchangeEngine::send, [&run](const QByteArray &b) { run.sent.append(b); });
    QObject::connect(&e, &ExchangeEngine::finished, [&run](ExchangeOutcome o) { run.outcomes.append(o); });
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void download_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("piece");
        QTest::addColumn<bool>("timeoutAfter");
        QTest::addColumn<ExchangeOutcome>("outcome");
        QTest::newRow("ack first") << withAckAt(113, 0) << 0 << false << ExchangeOutcome::Accepted;
        QTest::newRow("ack last") << withAckAt(113, 112) << 0 << false << ExchangeOutcome::Accepted;
        QTest::newRow("ack mid, byte by byte")
            << withAckAt(113, 57) << 1 << false << ExchangeOutcome::Accepted;
        QTest::newRow("longer reply in pieces")
            << withAckAt(150, 120) << 64 << false << ExchangeOutcome::Accepted;
        // The decision is taken on what has come when the count is reached.
        QTest::newRow("ack after the decision")
            << withAckAt(150, 140) << 64 << false << ExchangeOutcome::NoAck;
        QTest::newRow("no ack") << withAckAt(113, -1) << 7 << false << ExchangeOutcome::NoAck;
        QTest::newRow("one byte short") << withAckAt(112, 3) << 0 << true << ExchangeOutcome::Timeout;
        QTest::newRow("a lone ack is a time-out")
            << QByteArray(1, ACK) << 0 << true << ExchangeOutcome::Timeout;
        QTest::newRow("silence") << QByteArray() << 0 << true << ExchangeOutcome::Timeout;
    }
    void download()
    {
        QFETCH(ExchangeOutcome, outcome);
        DownloadExchange e;
        Run run;
        watch(e, run);
        const QByteArray message("NEE*\0\0\0body", 11);
        e.start(message);
        QCOMPARE(run.sent, QList<QByteArray>{message});
        feed(e, FETCHED(QByteArray, reply), FETCHED(int, piece));
        if (FETCHED(bool, timeoutAfter)) {
            QVERIFY(e.isRunning());
            e.timeout();
        }
        QCOMPARE(run.outcomes, QList<ExchangeOutcome>{outcome});
        // The PC answers an acknowledge with exactly one 0x06, and nothing else ever.
        const QList<QByteArray> expectedAfter = outcome == ExchangeOutcome::Accepted
                                                    ? QList<QByteArray>{QByteArray(1, ACK)}
                                                    : QList<QByteArray>{};
        QCOMPARE(run.sent.mid(1), expectedAfter);

        // Late bytes and a late timer change nothing.
        e.receive(withAckAt(113, 0));
        e.timeout();
        QCOMPARE(run.outcomes.size(), 1);
        QCOMPARE(run.sent.size(), 1 + int(expectedAfter.size()));
    }

    void upload_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("piece");
        QTest::addColumn<bool>("timeoutAfter");
        QTest::addColumn<QByteArray>("requestBytes");
        QTest::addColumn<ExchangeOutcome>("outcome");
        const int conf = int(UploadExchange::Request::Configuration);
        const int par = int(UploadExchange::Request::Parameters);
        const int un = int(UploadExchange::Request::Unasked);
        QTest::newRow("66, rest zero")
            << conf << 66 << trReply(66) << 0 << false << QByteArray("TEE") << ExchangeOutcome::Accepted;
        QTest::newRow("54 from an old unit")
            << conf << 54 << trReply(54) << 5 << false << QByteArray("TEE") << ExchangeOutcome::Accepted;
        QTest::newRow("54 is short for 66")
            << conf << 66 << trReply(54) << 0 << true << QByteArray("TEE") << ExchangeOutcome::Timeout;
        QTest::newRow("not TR") << conf << 66 << QByteArray(66, 'T') << 0 << false << QByteArray("TEE")
                                << ExchangeOutcome::Invalid;
        QTest::newRow("parameters") << par << 0 << trReply(114) << 1 << false << QByteArray("TEM")
                                    << ExchangeOutcome::Accepted;
        QTest::newRow("parameters short")
            << par << 0 << trReply(113) << 0 << true << QByteArray("TEM") << ExchangeOutcome::Timeout;
        QTest::newRow("unasked 96") << un << 0 << trReply(96) << 10 << false << QByteArray()
                                    << ExchangeOutcome::Accepted;
        QTest::newRow("unasked 70 by the time-out")
            << un << 0 << trReply(70) << 0 << true << QByteArray() << ExchangeOutcome::Accepted;
        QTest::newRow("unasked 60 is too few")
            << un << 0 << trReply(60) << 0 << true << QByteArray() << ExchangeOutcome::Timeout;
        QTest::newRow("unasked 110 is too many")
            << un << 0 << trReply(110) << 0 << false << QByteArray() << ExchangeOutcome::Invalid;
        QTest::newRow("unasked not TR")
            << un << 0 << QByteArray(96, 'R') << 0 << false << QByteArray() << ExchangeOutcome::Invalid;
    }
    void upload()
    {
        QFETCH(ExchangeOutcome, outcome);
        QFETCH(QByteArray, requestBytes);
        UploadExchange e;
        Run run;
        watch(e, run);
        e.start(UploadExchange::Request(FETCHED(int, request)), FETCHED(int, expected));
        QCOMPARE(run.sent, requestBytes.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{requestBytes});
        feed(e, FETCHED(QByteArray, reply), FETCHED(int, piece));
        if (FETCHED(bool, timeoutAfter)) {
            QVERIFY(e.isRunning());
            e.timeout();
        }
        QCOMPARE(run.outcomes, QList<ExchangeOutcome>{outcome});
        const int acks = outcome == ExchangeOutcome::Accepted ? 1 : 0;
        QCOMPARE(run.sent.size(), int(!requestBytes.isEmpty()) + acks);
        if (acks)
            QCOMPARE(run.sent.last(), QByteArray(1, ACK));
    }

    // A 0x11 or 0x13 within a reply is data; after it, the unit's XOFF holds the acknowledge
    // until its XON, and a wait that ends first sends none.
    void uploadHeldOff_data()
    {
        QTest::addColumn<QByteArray>("reply"); // fed at once
        QTest::addColumn<QByteArray>("later"); // fed after it; then the time runs out
        QTest::addColumn<bool>("ackBeforeLater");
        QTest::addColumn<ExchangeOutcome>("outcome");
        QByteArray inside = trReply(66);
        inside[30] = 0x13;
        inside[31] = 0x11;
        inside[65] = 0x13;
        const QByteArray xoff(1, 0x13), xon(1, 0x11);
        QTest::newRow("XON/XOFF bytes inside") << inside << QByteArray() << true << ExchangeOutcome::Accepted;
        QTest::newRow("XOFF, XON later") << trReply(66) + xoff << xon << false << ExchangeOutcome::Accepted;
        QTest::newRow("XOFF, then XON in one piece")
            << trReply(66) + xoff + xon << QByteArray() << true << ExchangeOutcome::Accepted;
        QTest::newRow("XOFF and never XON")
            << trReply(66) + xoff << QByteArray("x") << false << ExchangeOutcome::AckNotSent;
        QTest::newRow("XON, XOFF") << trReply(66) + xon + xoff << QByteArray() << false
                                   << ExchangeOutcome::AckNotSent;
    }
    void uploadHeldOff()
    {
        UploadExchange e;
        Run run;
        watch(e, run);
        e.start(UploadExchange::Request::Configuration, 66);
        e.receive(FETCHED(QByteArray, reply));
        QCOMPARE(run.sent.size() == 2, FETCHED(bool, ackBeforeLater));
        e.receive(FETCHED(QByteArray, later));
        e.timeout();
        QFETCH(ExchangeOutcome, outcome);
        QCOMPARE(run.outcomes, QList<ExchangeOutcome>{outcome});
        QCOMPARE(run.sent.size(), outcome == ExchangeOutcome::Accepted ? 2 : 1);
        QVERIFY(e.reply().startsWith(FETCHED(QByteArray, reply).left(66)));
    }

    void restartForgetsTheOldReply()
    {
        UploadExchange e;
        Run run;
        watch(e, run);
        e.start(UploadExchange::Request::Configuration, 66);
        e.receive(trReply(30));
        e.timeout();
        e.start(UploadExchange::Request::Configuration, 66);
        e.receive(trReply(66));
        QCOMPARE(run.outcomes, (QList<ExchangeOutcome>{ExchangeOutcome::Timeout, ExchangeOutcome::Accepted}));
        QCOMPARE(e.reply(), trReply(66));
    }

    void lineLostEndsTheWait()
    {
        DownloadExchange e;
        Run run;
        watch(e, run);
        e.start("NEE");
        e.receive("abc");
        e.lineLost();
        e.lineLost();
        QCOMPARE(run.outcomes, QList<ExchangeOutcome>{ExchangeOutcome::LineLost});
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
