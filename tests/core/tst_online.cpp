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
    void terminalText_data()
    {
        QTest::addColumn<QList<QByteArray>>("received"); // as the reads delivered it
        QTest::addColumn<QString>("text");               // the terminal's text, CR LF line ends

        const QByteArray bs("\x08");
        QTest::newRow("backspace erases the character before it") << QList<QByteArray>{"AB\x08"
                                                                                       "C"}
                                                                  << "AC";
        QTest::newRow("leading backspace erases what is shown") << QList<QByteArray>{"AB", "\x08"
                                                                                           "C"}
                                                                << "AC";
        QTest::newRow("two leading backspaces erase two") << QList<QByteArray>{"ABC", bs + bs + "D"} << "AD";
        QTest::newRow("backspace into an empty text") << QList<QByteArray>{bs, bs + "X"} << "X";
        QTest::newRow("more backspaces than text") << QList<QByteArray>{"AB\x08\x08\x08\x08"
                                                                        "C"}
                                                   << "C";
        QTest::newRow("CR LF and lone LF are one break each")
            << QList<QByteArray>{"one\r\ntwo\nthree"} << "one\r\ntwo\r\nthree";
        QTest::newRow("lone CR dropped") << QList<QByteArray>{"a\rb\r", "\rc"} << "abc";
        QTest::newRow("CR LF split between reads") << QList<QByteArray>{"a\r", "\nb"} << "a\r\nb";
        QTest::newRow("backspace after a line end") << QList<QByteArray>{"a\n", bs + bs + "b"} << "ab";
        QTest::newRow("one backspace leaves the CR of a line end") << QList<QByteArray>{"a\n\x08"
                                                                                        "b"}
                                                                   << "a\rb";
        QTest::newRow("zero bytes are not shown") << QList<QByteArray>{QByteArray("a\0b", 3)} << "ab";
        QTest::newRow("Latin-1 kept") << QList<QByteArray>{"\xB0\xFF"} << QString::fromLatin1("\xB0\xFF");

        // Past 16383 characters the first 4096 go before the next byte is taken.
        const QByteArray full = repeated('a', 16383);
        QTest::newRow("at the limit nothing goes")
            << QList<QByteArray>{full + "b"} << QString::fromLatin1(full + "b");
        QTest::newRow("one past the limit trims 4096")
            << QList<QByteArray>{full + "bc"} << QString::fromLatin1(repeated('a', 16383 - 4096) + "bc");
        QTest::newRow("trim then backspace") << QList<QByteArray>{"x" + full, "yz\x08"}
                                             << QString::fromLatin1(repeated('a', 16383 - 4096 + 1) + "y");
        QTest::newRow("a flood stays bounded")
            << QList<QByteArray>{repeated('q', 100000)}
            << QString::fromLatin1(repeated('q', 12289 + (100000 - 16385) % 4096));
    }

    void terminalText()
    {
        QFETCH(QList<QByteArray>, received);
        QFETCH(QString, text);

        // In the reads' pieces, with the window following each piece.
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

        // Byte by byte, and in random pieces looked at now and then: the same text.
        const QByteArray all = received.join();
        TerminalText single;
        for (char c : all)
            single.append(QByteArrayView(&c, 1));
        QCOMPARE(single.text(), text);
        QRandomGenerator rng(uint(all.size()));
        for (int round = 0; round < 20; ++round) {
            TerminalText r;
            Window rw;
            for (qsizetype at = 0; at < all.size();) {
                const qsizetype n = qMin<qsizetype>(all.size() - at, rng.bounded(1, 9000));
                r.append(QByteArrayView(all).sliced(at, n));
                at += n;
                if (rng.bounded(3) == 0)
                    rw.apply(r.takeChange());
            }
            rw.apply(r.takeChange());
            QCOMPARE(r.text(), text);
            QCOMPARE(rw.shown, r.shownText());
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
