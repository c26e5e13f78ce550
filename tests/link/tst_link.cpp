// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "message/configmessage.h"
#include "online/dhpdiagnostics.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "simulator/convertersim.h"
#include "support/scriptedprompts.h"
#include "transfer/devicelink.h"
#include "transfer/transfers.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "support/records.h"
#include "support/testdata.h"

Q_DECLARE_METATYPE(ExchangeOutcome)
Q_DECLARE_METATYPE(SimFault)

namespace {

const QString Settings = QStringLiteral("baud=9600 parity=N data=8 stop=1");

// One converter on a pty and a PC-side session pointed at it as COM1.
struct Bench
{
    explicit Bench(const QString &model, SimFault fault = SimFault::None, bool oldNgd = false)
        : Bench(makeOptions(model, fault, oldNgd))
    {
    }
    explicit Bench(const SimOptions &options) : sim(options)
    {
        QString why;
        opened = sim.open(&why);
        if (!opened)
            qWarning("simulator: %s", qPrintable(why));
        comm.setComDevice(1, sim.devicePath());
        session.PortNumber = 1;
        const ModelInfo *m = findModel(options.model);
        if (m) {
            session.rec.ConfigLength = m->configLength;
            session.rec.ProductCode = quint8(m->productCode);
            session.rec.FamilyCode = m->familyCode();
        }
    }

    static SimOptions makeOptions(const QString &model, SimFault fault, bool oldNgd)
    {
        SimOptions o;
        o.model = model;
        o.fault = fault;
        o.oldNgd = oldNgd;
        return o;
    }

    // Every transfer starts with the configuration-mode prompt.
    void expectPrompt() { prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON")); }

    ConverterSim sim;
    bool opened = false;
    Session session;
    ModComm comm;
    ScriptedPrompts prompts;
    DeviceLink link{session, comm, prompts};
};

// A record with something different in every field a message carries.
ExchangeOutcome runDownload(Bench &b, int timeoutOverride = 300)
{
    DownloadTransfer t(b.link);
    t.runner().setTimeoutOverride(timeoutOverride);
    QSignalSpy done(&t, &DownloadTransfer::finished);
    t.start();
    if (done.isEmpty() && !done.wait(10000))
        return ExchangeOutcome::NoMessage;
    return done.first().first().value<ExchangeOutcome>();
}

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deviceNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("env");
        QTest::addColumn<QString>("chosen"); // for COM1 in this run
        QTest::addColumn<QString>("device");
        QTest::newRow("COM1 with nothing set") << "COM1" << QByteArray() << ""
                                               << "/dev/ttyS0";
        QTest::newRow("COM4") << "COM4" << QByteArray() << ""
                              << "/dev/ttyS3";
        QTest::newRow("COM1 set") << "COM1" << QByteArray("/dev/ttyUSB0") << ""
                                  << "/dev/ttyUSB0";
        QTest::newRow("COM1 chosen") << "COM1" << QByteArray("/dev/ttyUSB0") << "/dev/serial/by-id/usb-x"
                                     << "/dev/serial/by-id/usb-x";
        QTest::newRow("another port chosen") << "com2" << QByteArray() << "/dev/ttyUSB1"
                                             << "/dev/ttyS1";
        QTest::newRow("a path stands") << "/dev/pts/7" << QByteArray() << "/dev/ttyUSB1"
                                       << "/dev/pts/7";
    }
    void deviceNames()
    {
        qunsetenv("QNCF_COM1");
        qunsetenv("QNCF_COM2");
        qunsetenv("QNCF_COM4");
        const QByteArray env = FETCHED(QByteArray, env);
        if (!env.isEmpty())
            qputenv("QNCF_COM1", env);
        ModComm comm;
        comm.setComDevice(1, FETCHED(QString, chosen));
        QCOMPARE(comm.deviceForName(FETCHED(QString, name)), FETCHED(QString, device));
        qunsetenv("QNCF_COM1");
    }

    void missingDevice()
    {
        ModComm comm;
        const int r = comm.CommOpen(3, QStringLiteral("/dev/no-such-serial-device"), Settings);
        QCOMPARE(r, 2);
        QString line;
        QCOMPARE(comm.FormatCommError(line), 2);
        QCOMPARE(line, QStringLiteral("Error (2): CommOpen (CreateFile) - ") + qt_error_string(2).trimmed());
        QVERIFY(!comm.isOpen(3));
        QCOMPARE(comm.CommClose(3), 0); // closing a port that is not open is not an error
    }

    void portInUse()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), -1);
        QString line;
        QCOMPARE(b.comm.FormatCommError(line), -1);
        QCOMPARE(line, QStringLiteral("Error (-1): CommOpen - Port in use."));
        QCOMPARE(b.comm.CommClose(1), 0);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
    }

    // A failed open's error names the device only where the device itself would not open,
    // and the advice made from it goes with that error, not with a later one.
    void openErrorValue_data()
    {
        QTest::addColumn<QString>("device"); // COM1's device; empty: the simulator's pty
        QTest::addColumn<QString>("settings");
        QTest::addColumn<bool>("inUse");     // COM1 is open already
        QTest::addColumn<bool>("thenWrite"); // a write to the unopened port follows
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("named");
        const QString missing = QStringLiteral("/dev/no-such-serial-device");
        QTest::newRow("no such device")
            << missing << Settings << false << false << ENOENT << "CommOpen (CreateFile)"
            << qt_error_string(ENOENT).trimmed() << true;
        QTest::newRow("then a failed write")
            << missing << Settings << false << true << EBADF << "CommWrite (WriteFile)"
            << qt_error_string(EBADF).trimmed() << false;
        QTest::newRow("in use") << QString() << Settings << true << false << -1 << "CommOpen"
                                << "Port in use." << false;
        QTest::newRow("opened, bad settings")
            << QString() << "baud=fast" << false << false << EINVAL << "CommOpen (BuildCommDCB)"
            << qt_error_string(EINVAL).trimmed() << false;
    }
    void openErrorValue()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        if (!FETCHED(QString, device).isEmpty())
            b.comm.setComDevice(1, FETCHED(QString, device));
        if (FETCHED(bool, inUse))
            QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        QVERIFY(b.comm.CommOpen(1, QStringLiteral("COM1"), FETCHED(QString, settings)) != 0);
        if (FETCHED(bool, thenWrite))
            QCOMPARE(b.comm.CommWrite(1, "x"), -1);
        const CommError e = b.comm.lastError();
        QCOMPARE(e.code, FETCHED(int, code));
        QCOMPARE(e.source, FETCHED(QString, source));
        QCOMPARE(e.text, FETCHED(QString, text));
        QCOMPARE(e.device, FETCHED(bool, named) ? b.comm.deviceForName(QStringLiteral("COM1")) : QString());
        QCOMPARE(e.advice().isEmpty(), !FETCHED(bool, named));
        QCOMPARE(b.comm.openFailureAdvice(), e.advice());
        b.comm.CommClose(1);
    }

    void portNumberOutOfRange()
    {
        ModComm comm;
        QByteArray data;
        QCOMPARE(comm.CommRead(9, data, 10), -1);
        QCOMPARE(comm.lastError().source, QStringLiteral("CommRead"));
        QVERIFY(comm.CommOpen(0, QStringLiteral("COM1"), Settings) > 0);
        QCOMPARE(comm.lastError().source, QStringLiteral("CommOpen"));
        QCOMPARE(comm.CommWrite(-1, "x"), -1);
    }

    void badSettingsAreRefused()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QVERIFY(b.comm.CommOpen(1, QStringLiteral("COM1"), QStringLiteral("baud=fast")) != 0);
        QCOMPARE(b.comm.lastError().source, QStringLiteral("CommOpen (BuildCommDCB)"));
        b.comm.CommClose(1);
        QVERIFY(!b.comm.isOpen(1));
    }

    // A pty has no modem lines: those calls fail on their own, the port stays usable.
    void modemLinesOnAPty()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        QSignalSpy lost(&b.comm, &ModComm::portLost);
        bool state = true;
        const int cd = b.comm.CommReadCD(1, ModComm::MS_DSR_ON, state);
        if (cd != 0)
            QCOMPARE(b.comm.lastError().source, QStringLiteral("CommReadCD (GetCommModemStatus)"));
        QCOMPARE(b.comm.CommSetLine(1, ModComm::LINE_BRK, true), 0);
        QCOMPARE(b.comm.CommSetLine(1, ModComm::LINE_BRK, false), 0);
        QVERIFY(b.comm.CommSetLine(1, 4, true) != 0);
        QCOMPARE(b.comm.lastError().source, QStringLiteral("CommSetLine (EscapeCommFunction)"));
        b.comm.CommSetLine(1, ModComm::LINE_DTR, true);
        QVERIFY(b.comm.isOpen(1));
        QCOMPARE(b.comm.CommWrite(1, "ok"), 2);
        QTRY_COMPARE(b.sim.received(), QByteArray("ok"));
        QVERIFY(lost.isEmpty());
    }

    void readReturnsEverythingThatCame()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        QByteArray data("stale");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(b.comm.CommRead(1, data, 100), 0);
        QVERIFY(data.isEmpty());
        QVERIFY(clock.elapsed() < 50);

        QByteArray burst(5000, '\0');
        for (int i = 0; i < burst.size(); ++i)
            burst[i] = char('A' + i % 26);
        b.sim.send(burst);
        QTRY_COMPARE(b.comm.bytesAvailable(1), qint64(burst.size()));
        QCOMPARE(b.comm.CommRead(1, data, 10), int(burst.size()));
        QCOMPARE(data, burst);
        QCOMPARE(b.comm.CommRead(1, data, 10), 0);
    }

    void xoffPausesOutputUntilXon()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        QCOMPARE(b.comm.CommSet(1, Settings), 0);
        QSignalSpy lost(&b.comm, &ModComm::portLost);
        b.sim.send(QByteArray(1, 0x13));
        QTest::qWait(100);
        b.sim.clearReceived();
        const QByteArray payload(200, 'p');
        QCOMPARE(b.comm.CommWrite(1, payload), int(payload.size()));
        QTest::qWait(300);
        QCOMPARE(b.sim.received().size(), 0);
        b.sim.send(QByteArray(1, 0x11));
        QTRY_COMPARE(b.sim.received(), payload);
        QVERIFY(lost.isEmpty());
        QVERIFY(b.comm.isOpen(1));
    }

    void xoffIsNotHonouredWithoutCommSet()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        b.sim.send(QByteArray(1, 0x13));
        QTest::qWait(100);
        b.sim.clearReceived();
        QCOMPARE(b.comm.CommWrite(1, "abc"), 3);
        QTRY_COMPARE(b.sim.received(), QByteArray("abc"));
    }

    void checkPort()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QVERIFY(b.link.CheckPort());
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY(b.prompts.shown().isEmpty());

        b.session.PortNumber = 3;
        b.comm.setComDevice(3, QStringLiteral("/dev/no-such-serial-device"));
        QVERIFY(!b.link.CheckPort());
        QCOMPARE(b.prompts.shown().size(), 1);
        // The port layer's line, then what to do about it.
        const QStringList lines = b.prompts.shown().first().text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first(),
                 QStringLiteral("COM Error: Error (2): CommOpen (CreateFile) - ") + b.comm.lastError().text);
        QVERIFY2(lines.last().startsWith(QLatin1String("/dev/no-such-serial-device: not connected")),
                 qPrintable(lines.last()));
        QVERIFY(!b.comm.isOpen(3));
    }

    void configModePrompt_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("4000")
            << "4000"
            << "Press CFG PUSHBUTTON to Activate Quintrel Module Manager (BIOS)"
            << "Press CFG pushbutton on the Quintrel.\n\rCHAN 2 'OUT' AND 'ERR' LEDS SHOULD BE ON !";
        QTest::newRow("6000") << "6000"
                              << "Press Configure PUSHBUTTON to Activate Quintrel Module Manager (BIOS)"
                              << "Press the Configure pushbutton on the Quintrel.\n\r"
                                 "'CHA' AND 'CHC' LEDS SHOULD BE RED, 'CHB' LED SHOULD BE OFF!";
    }
    void configModePrompt()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        b.session.rec.FamilyCode = FETCHED(QString, family);
        b.expectPrompt();
        QCOMPARE(b.link.OpenDevicePort(), 1);
        QVERIFY(b.comm.isOpen(1));
        QCOMPARE(b.prompts.shown().size(), 1);
        const ScriptedPrompts::Shown &p = b.prompts.shown().first();
        QCOMPARE(p.title, FETCHED(QString, title));
        QCOMPARE(p.text, FETCHED(QString, text));
        QCOMPARE(p.icon, Prompts::Icon::Exclamation);
        QCOMPARE(p.buttons, Prompts::Buttons::OkCancel);
        b.link.closePort();

        // Cancel (Escape, the close box) goes no further, and leaves the port closed.
        b.prompts.answerMessage(Prompts::Cancel, QStringLiteral("PUSHBUTTON"));
        QVERIFY(b.link.OpenDevicePort() != 1);
        QVERIFY(!b.comm.isOpen(1));
    }

    void openDevicePortFailuresCloseThePort()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        // Neither generation: no prompt, nothing left open.
        b.session.rec.FamilyCode = QStringLiteral("5000");
        QCOMPARE(b.link.OpenDevicePort(), 0);
        QVERIFY(b.prompts.shown().isEmpty());
        QVERIFY(!b.comm.isOpen(1));

        // A port left open by someone else's failure is reported as in use, then released,
        // so the next transfer opens it.
        b.session.rec.FamilyCode = QStringLiteral("4000");
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        b.prompts.answerMessage(Prompts::Ok);
        QCOMPARE(b.link.OpenDevicePort(), 2);
        QCOMPARE(
            b.prompts.shown().last().text,
            QStringLiteral(
                "Unable to Open COM PORT to Quintrel!!, COM Error: Error (-1): CommOpen - Port in use."));
        QVERIFY(!b.comm.isOpen(1));
        b.expectPrompt();
        QCOMPARE(b.link.OpenDevicePort(), 1);
        b.link.closePort();
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    void receiveReply()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);

        // A lone DLE answering a one-byte wait is taken as an acknowledge.
        QByteArray got;
        bool called = false;
        b.link.ReceiveReply(2000, 1, [&](const QByteArray &r) { got = r, called = true; });
        b.sim.send(QByteArray(1, 0x10));
        QTRY_VERIFY(called);
        QCOMPARE(got, QByteArray(1, 0x06));
        QVERIFY(b.link.timeoutFlag());

        // It returns once n bytes are in, long before the timer, and leaves later bytes.
        called = false;
        QElapsedTimer clock;
        clock.start();
        b.link.ReceiveReply(2000, 4, [&](const QByteArray &r) { got = r, called = true; });
        b.sim.send("abcd");
        QTRY_VERIFY(called);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(got, QByteArray("abcd"));
        b.sim.send("ef");
        QTRY_COMPARE(b.comm.bytesAvailable(1), qint64(2));

        // A reply well inside the wait is taken: the wait is this call's own, not the last one's.
        QByteArray rest;
        b.comm.CommRead(1, rest, 0);
        called = false;
        b.link.ReceiveReply(800, 2, [&](const QByteArray &r) { got = r, called = true; });
        QTimer::singleShot(200, [&b] { b.sim.send("hi"); });
        QTRY_VERIFY(called);
        QCOMPARE(got, QByteArray("hi"));
        QVERIFY(b.link.timeoutFlag());

        // Nothing more comes: the timer ends the wait and clears TimeoutFlag.
        called = false;
        b.link.ReceiveReply(200, 3, [&](const QByteArray &r) { got = r, called = true; });
        b.sim.send("g");
        QTRY_VERIFY(called);
        QCOMPARE(got, QByteArray("g"));
        QVERIFY(!b.link.timeoutFlag());
        b.link.closePort();
    }

    // A download of each layout ends in the unit's EEPROM byte for byte, and the PC answers
    // the unit's acknowledge exactly once.
    void downloadStoresTheMessage_data()
    {
        QTest::addColumn<QString>("model");
        for (const char *m : {"QN4000-NGD", "QN4000-PXA", "QN4000-UCT", "QN4000-EPV4", "QN6000-LBW"})
            QTest::newRow(m) << QString::fromLatin1(m);
    }
    void downloadStoresTheMessage()
    {
        Bench b(FETCHED(QString, model));
        QVERIFY(b.opened);
        busyFields(b.session.rec, 3);
        b.expectPrompt();
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press Reset Button"));
        DownloadTransfer t(b.link);
        QStringList statuses;
        connect(&t, &DownloadTransfer::status, [&](const QString &s) { statuses << s; });
        QSignalSpy done(&t, &DownloadTransfer::finished);
        t.start();
        QVERIFY(done.wait(8000));
        QCOMPARE(done.first().first().value<ExchangeOutcome>(), ExchangeOutcome::Accepted);
        QCOMPARE(statuses, (QStringList{QStringLiteral("Downloading Parameters..."),
                                        QStringLiteral("Initiating transfer to Quintrel"),
                                        QStringLiteral("A-OK! Transmission received by Quintrel")}));
        const QByteArray message = BuildConfigMessage(b.session.rec).bytes;
        QCOMPARE(b.sim.eeprom().toHex(' '), message.mid(7, message.size() - 9).toHex(' '));
        QTRY_COMPARE(b.sim.pcAcksAfterReply(), 1);
        QTest::qWait(100);
        QCOMPARE(b.sim.pcAcksAfterReply(), 1);
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        const ScriptedPrompts::Shown &reset = b.prompts.shown().last();
        QCOMPARE(reset.text, QStringLiteral("Press the RESET Button of the Quintrel to put it ON-LINE"));
        QCOMPARE(reset.icon, Prompts::Icon::Information);
    }

    // The unit sends XOFF, its acknowledged reply, and XON a while later: the PC's own
    // acknowledge waits for the XON and goes out before the port is closed.
    void heldAcknowledgeLeavesBeforeTheClose()
    {
        Bench b(QStringLiteral("QN4000-PXA"), SimFault::HoldAck);
        QVERIFY(b.opened);
        busyFields(b.session.rec, 2);
        b.expectPrompt();
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press Reset Button"));
        QCOMPARE(runDownload(b, 0), ExchangeOutcome::Accepted);
        QTRY_COMPARE(b.sim.pcAcksAfterReply(), 1);
        QVERIFY(!b.comm.isOpen(1));
    }

    // What was written is never purged: a flush right after a write (an acknowledge, then
    // the purge before the next request) leaves every byte on its way.
    void flushKeepsWhatWasWritten()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));
        const int hold = ::open(::ptsname(master), O_RDWR | O_NOCTTY); // keeps the line up between opens
        ModComm comm;
        const int rounds = 50;
        for (int i = 0; i < rounds; ++i) {
            QCOMPARE(comm.CommOpen(1, slave, Settings), 0);
            QCOMPARE(comm.CommWrite(1, QByteArray(1, 0x06)), 1);
            QCOMPARE(comm.CommFlush(1), 0);
            QCOMPARE(comm.CommClose(1), 0);
        }
        QByteArray got;
        QTRY_VERIFY([&] {
            char buf[256];
            for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;)
                got.append(buf, int(n));
            return got.size() >= rounds;
        }());
        QCOMPARE(got, QByteArray(rounds, 0x06));
        ::close(hold);
        ::close(master);
    }

    void downloadFaults_data()
    {
        QTest::addColumn<SimFault>("fault");
        QTest::addColumn<ExchangeOutcome>("outcome");
        QTest::addColumn<QString>("boxTitle");
        QTest::newRow("noack") << SimFault::NoAck << ExchangeOutcome::NoAck << "NO ACK RECEIVED";
        QTest::newRow("garbage") << SimFault::Garbage << ExchangeOutcome::NoAck << "NO ACK RECEIVED";
        QTest::newRow("short") << SimFault::Short << ExchangeOutcome::Timeout << "TIMEOUT DETECTED";
        QTest::newRow("silent") << SimFault::Silent << ExchangeOutcome::Timeout << "TIMEOUT DETECTED";
        QTest::newRow("xoff") << SimFault::Xoff << ExchangeOutcome::Timeout << "TIMEOUT DETECTED";
        QTest::newRow("drop") << SimFault::Drop << ExchangeOutcome::LineLost << "COM PORT LOST";
        // The unit acknowledges but holds the PC off for good: its acknowledge cannot leave,
        // and that is no success.
        QTest::newRow("noxon") << SimFault::NoXon << ExchangeOutcome::AckNotSent << "ACKNOWLEDGE NOT SENT";
    }
    void downloadFaults()
    {
        QFETCH(QString, boxTitle);
        Bench b(QStringLiteral("QN4000-PXA"), FETCHED(SimFault, fault));
        QVERIFY(b.opened);
        busyFields(b.session.rec, 1);
        const QByteArray before = b.sim.eeprom();
        b.expectPrompt();
        b.prompts.answerMessage(Prompts::Ok, boxTitle);
        QCOMPARE(runDownload(b), FETCHED(ExchangeOutcome, outcome));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        const ScriptedPrompts::Shown &box = b.prompts.shown().last();
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        if (boxTitle == QLatin1String("NO ACK RECEIVED") || boxTitle == QLatin1String("TIMEOUT DETECTED"))
            QCOMPARE(box.text, QStringLiteral("Unable to communicate with Quintrel."));
        QVERIFY(!b.comm.isOpen(1));
        QCOMPARE(b.sim.pcAcksAfterReply(), 0);
        if (FETCHED(SimFault, fault) == SimFault::NoAck)
            QCOMPARE(b.sim.eeprom(), before);
    }

    // The one test at the real interval: 6000 ms, with the CPU idle while it waits.
    void downloadTimesOutAtSixSeconds()
    {
        Bench b(QStringLiteral("QN4000-NGD"), SimFault::Silent);
        QVERIFY(b.opened);
        b.expectPrompt();
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("TIMEOUT DETECTED"));
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu = std::clock();
        QCOMPARE(runDownload(b, 0), ExchangeOutcome::Timeout);
        const qint64 elapsed = clock.elapsed();
        const double cpuMs = double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
        QVERIFY2(elapsed >= 5900 && elapsed < 7000, qPrintable(QString::number(elapsed)));
        QVERIFY2(cpuMs < 500, qPrintable(QStringLiteral("%1 ms of CPU while waiting").arg(cpuMs)));
        QVERIFY(!b.comm.isOpen(1));
    }

    // Upload of what was downloaded: each layout's reply holds the body where the file
    // writer will look for it.
    void uploadGivesBackTheDownload_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("oldNgd");
        QTest::addColumn<int>("firstLength");
        QTest::addColumn<int>("secondLength");
        QTest::newRow("42 NGD") << "QN4000-NGD" << false << 66 << 0;
        QTest::newRow("42 old NGD") << "QN4000-NGD" << true << 54 << 0;
        QTest::newRow("58 WOLTA") << "QN4000-WOLTA" << false << 66 << 0;
        QTest::newRow("64 UCT") << "QN6000-UCT" << false << 66 << 94;
        QTest::newRow("130 EPV4") << "QN4000-EPV4" << false << 66 << 0;
        QTest::newRow("136 LBW") << "QN4000-LBW" << false << 66 << 114;
    }
    void uploadGivesBackTheDownload()
    {
        QFETCH(QString, model);
        QFETCH(int, firstLength);
        QFETCH(int, secondLength);
        const bool oldNgd = FETCHED(bool, oldNgd);
        Bench b(model, SimFault::None, oldNgd);
        QVERIFY(b.opened);
        b.session.rec.UploadReplyLength = oldNgd ? 54 : 66;
        busyFields(b.session.rec, 5);
        // Bytes that are also XON and XOFF must come back as data.
        b.session.rec.ChanBFormat = 0x13; // handshaking, odd parity, seven data bits
        b.session.rec.ProtoParam[1] = 0x11;
        b.session.rec.ProtoParam[12] = 0x13;
        b.session.rec.ProtoParam[40] = 0x11;
        b.expectPrompt();
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press Reset Button"));
        QCOMPARE(runDownload(b), ExchangeOutcome::Accepted);
        const QByteArray message = BuildConfigMessage(b.session.rec).bytes;
        const QByteArray body = message.mid(7, message.size() - 9);

        b.expectPrompt();
        UploadTransfer t(b.link);
        QSignalSpy done(&t, &UploadTransfer::finished);
        b.sim.clearReceived();
        t.start(modelOf(model));
        QVERIFY(done.wait(8000));
        QCOMPARE(done.first().first().value<ExchangeOutcome>(), ExchangeOutcome::Accepted);
        QVERIFY(b.sim.received().contains("TEE"));

        const QByteArray first = t.firstReply();
        QCOMPARE(first.size(), firstLength);
        QVERIFY(first.startsWith("TR"));
        for (int k = 0; 6 + k < first.size(); ++k)
            QCOMPARE(quint8(first.at(6 + k)), k < body.size() ? quint8(body.at(k)) : quint8(0));

        const QByteArray second = t.secondReply();
        if (secondLength == 0) {
            QVERIFY(second.isEmpty());
        } else {
            QVERIFY(second.size() >= secondLength);
            QVERIFY(second.startsWith("TR"));
            const int offset = secondLength == 114 ? 24 : 16;
            const int count = secondLength == 114 ? 86 : 14;
            for (int k = 0; k < count; ++k)
                QCOMPARE(quint8(second.at(offset + k)), b.session.rec.ProtoParam[k]);
            if (secondLength == 114)
                QVERIFY(b.sim.received().contains("TEM"));
        }
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    void uploadFaults_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<SimFault>("fault");
        QTest::addColumn<ExchangeOutcome>("outcome");
        QTest::addColumn<QString>("status");
        const QString timeout = QStringLiteral("Check connections/settings and TRY UPLOAD AGAIN");
        const QString invalid = QStringLiteral("!Error!Invalid Upload Message Received! Upload Again!");
        QTest::newRow("silent") << "QN4000-PXA" << SimFault::Silent << ExchangeOutcome::Timeout << timeout;
        QTest::newRow("short") << "QN4000-PXA" << SimFault::Short << ExchangeOutcome::Timeout << timeout;
        QTest::newRow("badtr") << "QN4000-PXA" << SimFault::BadTr << ExchangeOutcome::Invalid << invalid;
        QTest::newRow("garbage") << "QN4000-PXA" << SimFault::Garbage << ExchangeOutcome::Invalid << invalid;
        QTest::newRow("xoff") << "QN4000-PXA" << SimFault::Xoff << ExchangeOutcome::Timeout << timeout;
        QTest::newRow("drop") << "QN4000-PXA" << SimFault::Drop << ExchangeOutcome::LineLost << timeout;
        QTest::newRow("LBW badtr") << "QN4000-LBW" << SimFault::BadTr << ExchangeOutcome::Invalid << invalid;
        QTest::newRow("UCT short") << "QN4000-UCT" << SimFault::Short << ExchangeOutcome::Timeout << timeout;
    }
    void uploadFaults()
    {
        QFETCH(ExchangeOutcome, outcome);
        Bench b(FETCHED(QString, model), FETCHED(SimFault, fault));
        QVERIFY(b.opened);
        b.expectPrompt();
        if (outcome == ExchangeOutcome::Timeout)
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("TIMEOUT DETECTED"));
        if (outcome == ExchangeOutcome::LineLost)
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("COM PORT LOST"));
        UploadTransfer t(b.link);
        t.runner().setTimeoutOverride(300);
        QStringList statuses;
        connect(&t, &UploadTransfer::status, [&](const QString &s) { statuses << s; });
        QSignalSpy done(&t, &UploadTransfer::finished);
        t.start(modelOf(FETCHED(QString, model)));
        QVERIFY(done.wait(8000));
        QCOMPARE(done.first().first().value<ExchangeOutcome>(), outcome);
        QCOMPARE(statuses.last(), FETCHED(QString, status));
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        // An invalid reply is never acknowledged.
        if (outcome != ExchangeOutcome::Accepted)
            QCOMPARE(b.sim.pcAcksAfterReply(), 0);
        if (outcome == ExchangeOutcome::Timeout) {
            const ScriptedPrompts::Shown &box = b.prompts.shown().last();
            QCOMPARE(box.text, QStringLiteral("Unable to upload parameters from Quintrel1."));
        }
    }

    // An LBW unit that answers "TEE" but not "TEM": its first reply was acknowledged, and the
    // status says what happened instead of a time-out.
    void lbwWithoutItsModbusTable_data()
    {
        QTest::addColumn<SimFault>("second"); // how the unit meets "TEM"
        QTest::addColumn<ExchangeOutcome>("outcome");
        QTest::newRow("no answer") << SimFault::Silent << ExchangeOutcome::Timeout;
        QTest::newRow("not TR") << SimFault::BadTr << ExchangeOutcome::Invalid;
    }
    void lbwWithoutItsModbusTable()
    {
        Bench b(QStringLiteral("QN4000-LBW"));
        QVERIFY(b.opened);
        b.expectPrompt();
        // The first reply is out by the time the request is reported.
        connect(&b.sim, &ConverterSim::bytesReceived, &b.sim, [&b](const QByteArray &bytes) {
            if (bytes.contains("TEE"))
                b.sim.setFault(FETCHED(SimFault, second));
        });
        UploadTransfer t(b.link);
        t.runner().setTimeoutOverride(300);
        QStringList statuses;
        connect(&t, &UploadTransfer::status, [&](const QString &s) { statuses << s; });
        QSignalSpy done(&t, &UploadTransfer::finished);
        t.start(modelOf(QStringLiteral("QN4000-LBW")));
        QVERIFY(done.wait(8000));
        QCOMPARE(done.first().first().value<ExchangeOutcome>(), FETCHED(ExchangeOutcome, outcome));
        QCOMPARE(statuses.last(),
                 QStringLiteral("the unit sent its configuration but not its Modbus table: nothing saved"));
        QVERIFY(b.sim.received().contains("TEM"));
        QCOMPARE(b.sim.received().count(char(0x06)), 1); // the first reply's, and no other
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    // Autoconfigure at each speed, with the unit's answers just inside and just outside its
    // two waits: 100 ms for the probe's two bytes, 500 ms for the status reply's thirteen, each
    // counted from its own request. The replies go at the line speed.
    void autoconfigureWaits_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("lateProbe");
        QTest::addColumn<int>("lateStatus");
        QTest::addColumn<QString>("status");
        for (const int baud : {115200, 57600, 38400, 19200, 9600, 4800, 2400}) {
            const QString connected = QStringLiteral("Connected at %1 N,8,1 to DH+ Node : 1 Octal").arg(baud);
            // The status reply takes 13 character times on the line: 54 ms at 2400.
            const int wire = 13 * 10'000 / baud;
            QTest::addRow("%d inside both", baud) << baud << 40 << 350 - wire << connected;
            QTest::addRow("%d probe late", baud) << baud << 180 << 0 << "Unable to Connect to Quintrel";
            QTest::addRow("%d status late", baud)
                << baud << 0 << 650 - wire << "Unable to Connect, Reset the Quintrel";
        }
    }
    void autoconfigureWaits()
    {
        SimOptions o;
        o.model = QStringLiteral("QN4000-NGD");
        o.baud = FETCHED(int, baud);
        o.pace = true;
        o.lateProbeMs = FETCHED(int, lateProbe);
        o.lateStatusMs = FETCHED(int, lateStatus);
        Bench b(o);
        QVERIFY(b.opened);
        DhpDiagnostics diag(b.session, b.comm);
        QStringList statuses;
        connect(&diag, &DhpDiagnostics::statusChanged, [&](const QString &s) { statuses << s; });
        QSignalSpy ended(&diag, &DhpDiagnostics::autoconfigureEnded);
        diag.autoconfigure();
        QVERIFY(ended.wait(5000));
        QCOMPARE(statuses, QStringList{FETCHED(QString, status)});
        diag.leave({});
    }

    // The adapter vanishes: one report, the port closed, and the repeats ignored.
    void lostLineIsReportedOnce()
    {
        Bench b(QStringLiteral("QN4000-NGD"));
        QVERIFY(b.opened);
        QCOMPARE(b.comm.CommOpen(1, QStringLiteral("COM1"), Settings), 0);
        QSignalSpy lost(&b.comm, &ModComm::portLost);
        b.sim.dropLine();
        QVERIFY(lost.wait(2000));
        QTest::qWait(200);
        QCOMPARE(lost.size(), 1);
        // "Error (code): source - text", the text being the system's own for that code.
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^Error \\((\\d+)\\): (.*) - (.*)$"))
                .match(lost.first().at(1).toString());
        QVERIFY2(m.hasMatch(), qPrintable(lost.first().at(1).toString()));
        QCOMPARE(m.captured(3), qt_error_string(m.captured(1).toInt()).trimmed());
        QVERIFY(!b.comm.isOpen(1));
        QByteArray data;
        QCOMPARE(b.comm.CommRead(1, data, 0), -1);
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
