// SPDX-License-Identifier: GPL-3.0-or-later
#include "df1/df1.h"
#include "online/dhpdiag.h"
#include "online/dhpdiagnostics.h"
#include "online/monitor.h"
#include "shell/model_freestand.h"
#include "simulator/convertersim.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "support/guibench.h"

namespace {

const char *const Menu = "Welcome1";

// A converter on a pty, plugged in as COM1 and tested good from the main menu.
struct Bench
{
    explicit Bench(SimOptions o = {}, const QString &model = QStringLiteral("QN4000-LBW"))
    {
        o.model = model;
        sim = std::make_unique<ConverterSim>(o);
        QString why;
        ok = sim->open(&why);
        b.comm.setComDevice(1, sim->devicePath());
        b.chooseModel(model);
        b.button(Menu, "optCom1")->click();
    }
    QWidget *menuControl(const char *name) { return b.control<QWidget>(Menu, name); }
    bool usable(const char *name)
    {
        return menuControl(name)->isEnabledTo(b.forms.existing(QLatin1String(Menu)));
    }

    GuiBench b;
    std::unique_ptr<ConverterSim> sim;
    bool ok = false;
};

QString label(GuiBench &b, const char *form, const QString &name)
{
    return b.control<QLabel>(form, name.toLatin1())->text();
}

QString row(GuiBench &b, int node)
{
    return label(b, "DHPDiag", QStringLiteral("lblStatus0_%1").arg(node));
}

QByteArray fileOf(int size)
{
    QByteArray f;
    for (int i = 0; f.size() < size; ++i)
        f += (i % 40 == 39) ? QByteArray("\r\n") : QByteArray(1, char('A' + i % 26));
    return f.left(size);
}

} // namespace

class TestOnlineTools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The terminal: "M" once on opening, keys sent and not shown, the manager's answers shown;
    // then the flash file as the converter must receive it, with a cancel or the close box
    // still closing it with its line feed.
    void flashThroughTerminal_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("stopAfter"); // blocks handed over before the stop; 0 runs to the end
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("1024 bytes") << 1024 << 0 << false;
        QTest::newRow("1000 bytes") << 1000 << 0 << false;
        QTest::newRow("100 bytes") << 100 << 0 << false;
        QTest::newRow("cancel after the first block") << 4000 << 1 << false;
        QTest::newRow("cancel while a block waits") << 4000 << 2 << false;
        QTest::newRow("close box during the transfer") << 4000 << 1 << true;
    }
    void flashThroughTerminal()
    {
        QFETCH(int, size);
        QFETCH(int, stopAfter);
        QFETCH(bool, closeBox);

        Bench u;
        QVERIFY(u.ok);
        GuiBench &b = u.b;
        QVERIFY(u.usable("cmdBurn"));
        QVERIFY(!u.usable("cmdOnline")); // not a DF1 to DH+ mode
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        b.button(Menu, "cmdBurn")->click();
        auto *term = b.control<QPlainTextEdit>("monitor", "Term");
        QTRY_COMPARE(u.sim->received(), QByteArray("M"));
        QTRY_VERIFY(term->toPlainText().contains(QLatin1String("WRITE SYSTEM FILE")));
        for (char key : {'1', 'Y'})
            QTest::keyClick(term, key);
        QTRY_VERIFY(term->toPlainText().endsWith(QLatin1String("SEND SYSTEM FILE\n")));
        QCOMPARE(u.sim->received(), QByteArray("M1Y")); // one byte a key, nothing typed shown

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SYSTEM.TXT"));
        const QByteArray file = fileOf(size);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == size);
        f.close();
        u.sim->clearReceived();
        b.prompts.answerMessage(Prompts::Yes, QStringLiteral("Quintrel MUST be in the correct mode!!"));
        b.prompts.answerOpen(path);

        auto *bar = b.control<QProgressBar>("monitor", "ProgressBar1");
        QPointer<QWidget> window = b.forms.existing(QStringLiteral("monitor"));
        if (stopAfter) {
            connect(bar, &QProgressBar::valueChanged, this, [&](int blocks) {
                if (blocks != stopAfter)
                    return;
                if (closeBox)
                    window->close();
                else
                    b.button("monitor", "cmdCancel")->click();
            });
        }
        b.button("monitor", "cmdSendText")->click();
        QVERIFY2(b.prompts.allAnswered() && b.prompts.unexpected().isEmpty(),
                 qPrintable(b.prompts.problems()));

        const QByteArray expected = stopAfter ? file.left(512 * stopAfter) + '\n' : file + " \n";
        QTRY_COMPARE(u.sim->received().size(), expected.size());
        QCOMPARE(u.sim->received(), expected);
        if (closeBox) {
            QTRY_VERIFY(!b.comm.isOpen(1));
            QTRY_VERIFY(!window);
            QVERIFY(b.forms.existing(QLatin1String(Menu))->isVisible());
            return;
        }
        if (!stopAfter) {
            QTRY_COMPARE(u.sim->flashFile(), file);
            QTRY_VERIFY(term->toPlainText().endsWith(QLatin1String("A-OK\n")));
            QVERIFY(
                b.text("monitor", "lblMonStat").startsWith(QLatin1String("File Transfered Successfully")));
        } else {
            QCOMPARE(b.text("monitor", "lblMonStat"),
                     QStringLiteral("Cancellation of file transfer to Quintrel"));
        }
        for (const char *n : {"cmdSendText", "cmdEXIT", "cmdFreeDebug"})
            QVERIFY2(b.control<QWidget>("monitor", n)->isEnabled(), n);
        for (const char *n : {"ProgressBar1", "lblPercent", "cmdCancel"})
            QVERIFY2(b.control<QWidget>("monitor", n)->isHidden(), n);

        // Return: the port closes once the last bytes are out, the menu comes back.
        b.button("monitor", "cmdEXIT")->click();
        QTRY_VERIFY(!b.comm.isOpen(1));
        QTRY_VERIFY(!window);
        QVERIFY(b.forms.existing(QLatin1String(Menu))->isVisible());
    }

    // The debug mode: a break of a second, then "D" (which the simulator takes, since a pty
    // passes no break, as "D" after the quiet).
    void debugMode()
    {
        Bench u;
        QVERIFY(u.ok);
        u.b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        u.b.button(Menu, "cmdBurn")->click();
        QTRY_COMPARE(u.sim->received(), QByteArray("M"));
        QTest::keyClick(u.b.control<QWidget>("monitor", "Term"), 'X'); // leave the manager
        QTRY_COMPARE(u.sim->received(), QByteArray("MX"));
        QElapsedTimer clock;
        clock.start();
        u.b.button("monitor", "cmdFreeDebug")->click();
        QTRY_COMPARE(u.sim->received(), QByteArray("MXD"));
        QVERIFY(clock.elapsed() >= monitor::BreakMs);
        QTRY_VERIFY(u.sim->inDebugMode());
    }

    // Autoconfigure finds the speed and the PC's node, the scan lists the nodes, goes round
    // after 77, and a stop lets the exchange under way write its row.
    void whoActive()
    {
        SimOptions o;
        o.baud = 19200;
        o.pcNode = 0;
        o.nodes = {3, 020, 040};
        Bench u(o);
        QVERIFY(u.ok);
        GuiBench &b = u.b;
        b.forms.show(QStringLiteral("DHPDiag"));
        QVERIFY(b.button("DHPDiag", "cmdConfig")->isEnabled());
        QVERIFY(!b.button("DHPDiag", "cmdWHOStart")->isEnabled());
        QCOMPARE(label(b, "DHPDiag", QStringLiteral("lblstn0_16")), QStringLiteral("20"));
        QVERIFY(!b.comm.isOpen(1)); // nothing opened before Autoconfigure

        b.button("DHPDiag", "cmdConfig")->click();
        QTRY_COMPARE(b.text("DHPDiag", "lblDiagStat"),
                     QStringLiteral("Connected at 19200 N,8,1 to DH+ Node : 0 Octal"));
        QVERIFY(b.button("DHPDiag", "cmdWHOStart")->isEnabled());
        // Found on the fourth try; acknowledged; then asked at the any-node address.
        const QByteArray asked = u.sim->received();
        QCOMPARE(asked.count(TX_ENQ), 4);
        QVERIFY(asked.startsWith(TX_ENQ + TX_ENQ + TX_ENQ + TX_ENQ + TX_ACK +
                                 QByteArray::fromHex("1002fe0006000000031003f9")));

        auto *engine = b.forms.existing(QStringLiteral("DHPDiag"))->findChild<DhpDiagnostics *>();
        QVERIFY(engine);
        int pass = 0;
        connect(engine, &DhpDiagnostics::nodeChanged, this, [&](int node, const QString &text) {
            if (node == 0 && text == DhpDiagnostics::Testing && ++pass == 2)
                b.button("DHPDiag", "cmdWHOStop")->click();
        });
        QSignalSpy ended(engine, &DhpDiagnostics::scanEnded);
        b.button("DHPDiag", "cmdWHOStart")->click();
        QVERIFY(!b.button("DHPDiag", "cmdWHOStart")->isEnabled());
        QVERIFY(b.button("DHPDiag", "cmdWHOStop")->isEnabled());
        QVERIFY(ended.wait(15000));
        QCOMPARE(pass, 2);
        for (int node = 0; node < 64; ++node) {
            const QString want = node == 0                                   ? QStringLiteral("Workstation")
                                 : (node == 3 || node == 020 || node == 040) ? QStringLiteral("Active Node")
                                                                             : DhpDiagnostics::Silent;
            QCOMPARE(row(b, node), want);
        }
        QVERIFY(b.button("DHPDiag", "cmdWHOStart")->isEnabled());
        QVERIFY(!b.button("DHPDiag", "cmdWHOStop")->isEnabled());
        // Node 20 octal: DLE doubled, counted once in the check byte; TNS 17 (frame 0 asked
        // autoconfigure's question).
        QVERIFY(u.sim->received().contains(QByteArray::fromHex("1002101000060000110310"
                                                               "03d6")));

        b.button("DHPDiag", "Command4")->click();
        QTRY_VERIFY(!b.forms.isLoaded(QStringLiteral("DHPDiag")));
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY(b.forms.existing(QLatin1String(Menu))->isVisible());
    }

    // Leaving while the scan runs: the exchange under way ends, then the port closes.
    void leaveDuringScan()
    {
        SimOptions o;
        o.nodes = {5};
        Bench u(o);
        QVERIFY(u.ok);
        GuiBench &b = u.b;
        b.forms.show(QStringLiteral("DHPDiag"));
        b.button("DHPDiag", "cmdConfig")->click();
        QTRY_VERIFY(b.button("DHPDiag", "cmdWHOStart")->isEnabled());
        b.button("DHPDiag", "cmdWHOStart")->click();
        QTRY_COMPARE(row(b, 6), DhpDiagnostics::Testing);
        b.forms.existing(QStringLiteral("DHPDiag"))->close();
        QTRY_VERIFY(!b.forms.isLoaded(QStringLiteral("DHPDiag")));
        QVERIFY(!b.comm.isOpen(1));
        const QByteArray sent = u.sim->received();
        QTest::qWait(200);
        QCOMPARE(u.sim->received(), sent); // nothing asked after leaving
    }

    // The adapter pulled out: each tool says so once, closes the port and asks nothing more.
    void lineLost_data()
    {
        QTest::addColumn<bool>("scan");
        QTest::newRow("terminal") << false;
        QTest::newRow("who-active scan") << true;
    }
    void lineLost()
    {
        QFETCH(bool, scan);
        Bench u;
        QVERIFY(u.ok);
        GuiBench &b = u.b;
        const char *form = scan ? "DHPDiag" : "monitor";
        const char *status = scan ? "lblDiagStat" : "lblMonStat";
        if (scan) {
            b.forms.show(QStringLiteral("DHPDiag"));
            b.button("DHPDiag", "cmdConfig")->click();
            QTRY_VERIFY(b.button("DHPDiag", "cmdWHOStart")->isEnabled());
            b.button("DHPDiag", "cmdWHOStart")->click();
            QTRY_COMPARE(row(b, 3), DhpDiagnostics::Testing);
        } else {
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
            b.button(Menu, "cmdBurn")->click();
            QTRY_COMPARE(u.sim->received(), QByteArray("M"));
        }
        u.sim->dropLine();
        // Seen through the port's error, with nothing typed and nothing polled.
        QTRY_VERIFY_WITH_TIMEOUT(!b.comm.isOpen(1), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(!b.text(form, status).isEmpty() &&
                                     !b.text(form, status).startsWith(QLatin1String("Connected")),
                                 1000);
        const QString said = b.text(form, status);
        const QString time = scan ? QString() : b.text(form, "lblTime");
        QTest::qWait(scan ? 300 : 1100); // the terminal's clock would have ticked
        QCOMPARE(b.text(form, status), said);
        if (!scan)
            QCOMPARE(b.text(form, "lblTime"), time);
        QVERIFY2(b.prompts.shown().size() <= 1, qPrintable(b.prompts.problems()));
        if (scan) {
            QVERIFY(!b.button("DHPDiag", "cmdWHOStop")->isEnabled());
            QVERIFY(b.button("DHPDiag", "cmdConfig")->isEnabled());
        }
    }

    void noConverter()
    {
        SimOptions o;
        o.fault = SimFault::Silent;
        Bench u(o);
        QVERIFY(u.ok);
        u.b.forms.show(QStringLiteral("DHPDiag"));
        u.b.button("DHPDiag", "cmdConfig")->click();
        QElapsedTimer clock;
        clock.start();
        QTRY_COMPARE(u.b.text("DHPDiag", "lblDiagStat"), QStringLiteral("Unable to Connect to Quintrel"));
        QVERIFY(clock.elapsed() >= 7 * Df1Exchange::ProbeTimeoutMs);
        QCOMPARE(u.sim->received(), TX_ENQ + TX_ENQ + TX_ENQ + TX_ENQ + TX_ENQ + TX_ENQ + TX_ENQ);
        QVERIFY(!u.b.comm.isOpen(1));
        QVERIFY(u.b.button("DHPDiag", "cmdConfig")->isEnabled());
        QVERIFY(!u.b.button("DHPDiag", "cmdWHOStart")->isEnabled());
    }

    // The main menu offers the who-active tool in the DF1-to-DH+ modes with a good port, and
    // a failed port test takes both tools away again.
    void menuOffersTheTools()
    {
        Bench u({}, QStringLiteral("QN4000-NGD"));
        QVERIFY(u.ok);
        QVERIFY(u.usable("cmdBurn"));
        QVERIFY(u.usable("cmdOnline")); // the model starts in its DF1 to DH+ mode
        u.b.prompts.answerMessage(Prompts::No, QStringLiteral("Open Existing"));
        u.b.button(Menu, "cmdUpdate")->click();
        u.b.button("main4000", "optEPV4")->click();
        QVERIFY(!u.usable("cmdOnline"));
        u.b.button("main4000", "optKF2NGD")->click();
        QVERIFY(u.usable("cmdOnline"));
        u.b.comm.setComDevice(2, QStringLiteral("/dev/no-such-serial-device"));
        u.b.prompts.answerMessage(Prompts::Ok);
        u.b.button(Menu, "optCom2")->click();
        QVERIFY(!u.usable("cmdOnline"));
        QVERIFY(!u.usable("cmdBurn"));
    }
};

QTEST_MAIN(TestOnlineTools)
#include "tst_onlinetools.moc"
