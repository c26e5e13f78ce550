// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/flashplan.h"
#include "online/terminaltext.h"

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(QList<QByteArray>)

namespace {

// What a window holding the terminal shows after applying every change it was given.
struct Window
{
    QString shown;
    void apply(const TerminalText::Change &c)
    {
        if (c.whole)
            shown = c.appended;
        else
            shown = shown.left(shown.size() - c.erased) + c.appended;
    }
};

QByteArray repeated(char c, int n)
{
    return QByteArray(n, c);
}

} // namespace

class TestOnline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each read is taken as it came: its backspaces first (one takes the byte before it in
    // the read, a CR too; those at its start erase the last character there, once), then its
    // carriage returns go and its line feeds become CR LF.
    void terminalText_data()
    {
        QTest::addColumn<QList<QByteArray>>("received"); // as the reads delivered it
        QTest::addColumn<QString>("text");               // the terminal's text, CR LF line ends

        const QByteArray bs("\x08");
        QTest::newRow("backspace erases the character before it")
            << QList<QByteArray>{"AB" + bs + "C"} << "AC";
        QTest::newRow("leading backspace erases what is there") << QList<QByteArray>{"AB", bs + "C"} << "AC";
        QTest::newRow("two leading backspaces erase one") << QList<QByteArray>{"ABC", bs + bs + "D"} << "ABD";
        QTest::newRow("backspaces past the read's start erase one")
            << QList<QByteArray>{"xy", "AB" + bs + bs + bs + bs + "C"} << "xC";
        QTest::newRow("CR then backspace takes the CR") << QList<QByteArray>{"A\r" + bs + "B"} << "AB";
        QTest::newRow("CR, then backspace in the next read") << QList<QByteArray>{"A\r", bs + "B"} << "B";
        QTest::newRow("backspace after a line feed in the read")
            << QList<QByteArray>{"a\n" + bs + "b"} << "ab";
        QTest::newRow("leading backspace after a line end leaves its CR")
            << QList<QByteArray>{"a\n", bs + bs + "b"} << "a\rb";
        QTest::newRow("backspace into an empty text") << QList<QByteArray>{bs, bs + "X"} << "X";
        QTest::newRow("more backspaces than text")
            << QList<QByteArray>{"AB" + bs + bs + bs + bs + "C"} << "C";
        QTest::newRow("CR LF and lone LF are one break each")
            << QList<QByteArray>{"one\r\ntwo\nthree"} << "one\r\ntwo\r\nthree";
        QTest::newRow("lone CR dropped") << QList<QByteArray>{"a\rb\r", "\rc"} << "abc";
        QTest::newRow("CR LF split between reads") << QList<QByteArray>{"a\r", "\nb"} << "a\r\nb";
        QTest::newRow("zero bytes are not shown") << QList<QByteArray>{QByteArray("a\0b", 3)} << "ab";
        QTest::newRow("Latin-1 kept") << QList<QByteArray>{"\xB0\xFF"} << QString::fromLatin1("\xB0\xFF");

        // Past 16383 characters the first 4096 go before anything else happens.
        const QByteArray full = repeated('a', 16383);
        QTest::newRow("at the limit nothing goes")
            << QList<QByteArray>{full + "b"} << QString::fromLatin1(full + "b");
        QTest::newRow("one past the limit trims 4096")
            << QList<QByteArray>{full + "bc"} << QString::fromLatin1(repeated('a', 16383 - 4096) + "bc");
        QTest::newRow("trim, then the leading backspace")
            << QList<QByteArray>{"x" + full, bs + "y"}
            << QString::fromLatin1(repeated('a', 16383 - 4096) + "y");
        QTest::newRow("a flood stays bounded")
            << QList<QByteArray>{repeated('q', 100000)}
            << QString::fromLatin1(repeated('q', 12289 + (100000 - 16385) % 4096));
    }

    void terminalText()
    {
        QFETCH(QList<QByteArray>, received);
        QFETCH(QString, text);

        // The window following each read.
        TerminalText t;
        Window w;
        for (const QByteArray &piece : received) {
            t.append(piece);
            w.apply(t.takeChange());
        }
        QCOMPARE(t.text(), text);
        QCOMPARE(w.shown, QString(text).remove(QLatin1Char('\r')));
        QCOMPARE(t.shownText(), w.shown);
        QVERIFY(t.text().size() <= TerminalText::TrimAbove + 2);

        // The window looking only now and then: its copy still matches.
        const QByteArray all = received.join();
        QRandomGenerator rng(uint(all.size()));
        for (int round = 0; round < 10; ++round) {
            TerminalText r;
            Window rw;
            for (const QByteArray &piece : received) {
                r.append(piece);
                if (rng.bounded(2) == 0)
                    rw.apply(r.takeChange());
            }
            rw.apply(r.takeChange());
            QCOMPARE(rw.shown, r.shownText());
        }

        // Without backspaces, where the reads begin makes no difference.
        if (all.contains('\x08'))
            return;
        for (int round = 0; round < 10; ++round) {
            TerminalText r;
            for (qsizetype at = 0; at < all.size();) {
                const qsizetype n = qMin<qsizetype>(all.size() - at, rng.bounded(1, 9000));
                r.append(QByteArrayView(all).sliced(at, n));
                at += n;
            }
            QCOMPARE(r.text(), text);
        }
    }

    void flashPlan_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("blocks");
        QTest::addColumn<QList<int>>("percents");
        QTest::addColumn<int>("maximum");

        QTest::newRow("1024 bytes") << 1024 << QList<int>{512, 513} << QList<int>{50, 100} << 7;
        QTest::newRow("1000 bytes") << 1000 << QList<int>{512, 489} << QList<int>{51, 100} << 7;
        QTest::newRow("one block and one byte") << 513 << QList<int>{512, 2} << QList<int>{99, 100} << 6;
        QTest::newRow("exactly one block") << 512 << QList<int>{513} << QList<int>{100} << 6;
        QTest::newRow("short file sent whole") << 100 << QList<int>{101} << QList<int>{100} << 5;
        QTest::newRow("half a block rounds to even") << 256 << QList<int>{257} << QList<int>{100} << 5;
        QTest::newRow("one and a half blocks") << 768 << QList<int>{512, 257} << QList<int>{67, 100} << 7;
        QTest::newRow("two and a half blocks")
            << 1280 << QList<int>{512, 512, 257} << QList<int>{40, 80, 100} << 7;
        QTest::newRow("empty file") << 0 << QList<int>{} << QList<int>{} << 5;
    }

    void flashPlan()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, blocks);
        QFETCH(QList<int>, percents);
        QFETCH(int, maximum);

        QByteArray file(size, '\0');
        for (int i = 0; i < size; ++i)
            file[i] = char('!' + i % 90);
        FlashPlan plan(file);
        QCOMPARE(plan.progressMaximum(), maximum);
        QList<int> sizes, seen;
        QByteArray sent;
        while (!plan.atEnd()) {
            const QByteArray b = plan.nextBlock();
            sizes << int(b.size());
            seen << plan.percent();
            sent += b;
        }
        QCOMPARE(sizes, blocks);
        QCOMPARE(seen, percents);
        QCOMPARE(plan.blocksSent(), int(blocks.size()));
        QCOMPARE(sent, size ? file + ' ' : QByteArray());
        QCOMPARE(plan.bytesSent(), plan.bytesToSend());
    }
};

QTEST_GUILESS_MAIN(TestOnline)
#include "tst_online.moc"
