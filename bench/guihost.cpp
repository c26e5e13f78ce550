// SPDX-License-Identifier: GPL-3.0-or-later
// qncf-bench-gui: the program as qncf builds it (the same session, port layer, forms and
// registry), walked by clicking its buttons to the screen a figure is taken at.
//
//   qncf-bench-gui start|main|monitor|whoactive [MODEL]
//       Sits at that screen like a program nobody touches; the bench reads its memory and
//       CPU time from outside. "main" is the main form with COM1 chosen, "monitor" the
//       terminal, "whoactive" a who-active scan going round after Autoconfigure (COM1 is the
//       device QNCF_COM1 names, and its port test must pass). Prints "ready" once the screen
//       is on the display (and the scan has started); ends when standard input closes.
//   qncf-bench-gui flash FILE [MODEL]
//       The terminal's flash transfer of FILE: the off-line manager's write-system-file
//       option chosen and answered as a user types it, then BURN SYSTEM FILE. Prints "sent"
//       once the window has handed over the last block and "done" once the converter has
//       answered A-OK.
//   qncf-bench-gui ingest BYTES [MODEL]
//       BYTES of text flooded into the terminal from a pseudo-terminal of our own, and the
//       same flood read by nothing but a socket notifier, for the rate the pty itself gives.
//       Prints one JSON line: both rates in bytes a second and the longest time the event
//       loop went without serving a timer while the terminal took the flood (on the wall
//       clock, and in the loop's own CPU time).
//   qncf-bench-gui print FILE [MODEL]
//       PRINT Summary on the summary of MODEL, the print dialog answered with a printer that
//       writes FILE (the print engine a real queue gets). Prints one JSON line: the time the
//       click took and the resident memory it added at its peak.

#include "config/modelcatalog.h"
#include "formcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "online/dhpdiag.h"
#include "online/dhpdiagnostics.h"
#include "online/flashtransfer.h"
#include "online/monitor.h"
#include "programparts.h"
#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/devicelink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// A user who opens the one file the bench names, says Yes to the one question it names, No to
// every other question and OK to every other box (the unit's button is pressed when asked). Each prompt is
// logged, so a screen that asked something new shows in the output.
class BenchUser : public Prompts
{
public:
    Answer message(const QString &text, const QString &, Buttons buttons, Icon) override
    {
        std::fprintf(stderr, "qncf-bench-gui: prompt: %s\n", qPrintable(text.simplified()));
        if (!yesTo.isEmpty() && text.contains(yesTo))
            return Yes;
        if (buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo)
            return No;
        return Ok;
    }
    QString openFile(const FileRequest &) override { return openPath; }
    QString saveFile(const FileRequest &) override { return {}; }

    QString yesTo;
    QString openPath;
};

struct Program : ProgramParts<BenchUser>
{

    void click(const char *form, const char *button)
    {
        QWidget *f = forms.form(QLatin1String(form));
        auto *b = f ? f->findChild<QAbstractButton *>(QLatin1String(button)) : nullptr;
        if (!b || !b->isEnabled())
            qFatal("qncf-bench-gui: %s.%s cannot be clicked", form, button);
        b->click();
    }
};

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Start window, model selection, the model's button, COM1 on the main menu, then the screen.
QWidget *walkTo(Program &p, const QString &screen, const ModelInfo &model)
{
    p.forms.show(QStringLiteral("Welcome"));
    if (screen == QLatin1String("Welcome"))
        return p.forms.existing(screen);
    p.click("Welcome", "Command4");
    p.click("model_freestand", qPrintable(model.button));
    p.click("Welcome1", "optCom1");
    const char *button = screen == QLatin1String("main4000")  ? "cmdUpdate"
                         : screen == QLatin1String("monitor") ? "cmdBurn"
                                                              : "cmdOnline";
    p.click("Welcome1", button);
    QWidget *w = p.forms.existing(screen);
    if (!w || w->isHidden())
        qFatal("qncf-bench-gui: %s is not showing", qPrintable(screen));
    return w;
}

// Calls then() once the window is on the display.
void whenExposed(QWidget *w, std::function<void()> then)
{
    auto *look = new QTimer(w);
    QObject::connect(look, &QTimer::timeout, w, [w, look, then = std::move(then)] {
        if (w->windowHandle() && w->windowHandle()->isExposed()) {
            look->deleteLater(); // nothing of ours runs once the screen is up
            then();
        }
    });
    look->start(10);
}

// Calls then() once, when the terminal's text first holds needle and the window shows it all.
void whenTerminalShows(monitor *m, const QString &needle, std::function<void()> then)
{
    auto *term = m->findChild<QPlainTextEdit *>(QStringLiteral("Term"));
    auto *once = new QObject(m);
    QObject::connect(term, &QPlainTextEdit::textChanged, once, [m, once, needle, then = std::move(then)] {
        if (!m->terminalText().hasChange() && m->terminalText().text().contains(needle)) {
            delete once;
            then();
        }
    });
}

int idleAt(Program &p, const QString &state, const ModelInfo &model)
{
    const QString screen = state == QLatin1String("start")       ? QStringLiteral("Welcome")
                           : state == QLatin1String("main")      ? QStringLiteral("main4000")
                           : state == QLatin1String("monitor")   ? QStringLiteral("monitor")
                           : state == QLatin1String("whoactive") ? QStringLiteral("DHPDiag")
                                                                 : QString();
    if (screen.isEmpty())
        qFatal("qncf-bench-gui: no state %s", qPrintable(state));
    QWidget *w = walkTo(p, screen, model);
    auto *diag = qobject_cast<DHPDiag *>(w);
    if (!diag) {
        whenExposed(w, [] { say("ready"); });
        return QCoreApplication::exec();
    }
    // Ready once the scan goes round.
    QObject::connect(&diag->diagnostics(), &DhpDiagnostics::autoconfigureEnded, diag,
                     [&p, diag](bool connected) {
                         if (!connected)
                             qFatal("qncf-bench-gui: autoconfigure found no converter");
                         p.click("DHPDiag", "cmdWHOStart");
                         if (!diag->diagnostics().isScanning())
                             qFatal("qncf-bench-gui: the scan did not start");
                         whenExposed(diag, [] { say("ready"); });
                     });
    p.click("DHPDiag", "cmdConfig");
    return QCoreApplication::exec();
}

int flash(Program &p, const QString &file, const ModelInfo &model)
{
    auto *m = qobject_cast<monitor *>(walkTo(p, QStringLiteral("monitor"), model));
    const int port = 1;
    // The manager's menu comes on its own; then what the user types to it, a key a byte.
    whenTerminalShows(m, QStringLiteral("SELECT: "), [&p, m, file] {
        p.comm.CommWrite(port, QByteArrayLiteral("1"));
        whenTerminalShows(m, QStringLiteral("(Y/N)? "), [&p, m, file] {
            p.comm.CommWrite(port, QByteArrayLiteral("Y"));
            whenTerminalShows(m, QStringLiteral("SEND SYSTEM FILE"), [&p, m, file] {
                p.prompts.yesTo = QStringLiteral("BURNING A FLASH SYSTEM FILE");
                p.prompts.openPath = file;
                whenTerminalShows(m, QStringLiteral("A-OK"), [] {
                    say("done");
                    QCoreApplication::quit();
                });
                QObject::connect(m->findChild<FlashTransfer *>(), &FlashTransfer::finished, m,
                                 [] { say("sent"); });
                // A pty takes a few kilobytes at once: a short file may be handed over whole
                // before the click returns.
                p.click("monitor", "cmdSendText");
            });
        });
    });
    return QCoreApplication::exec();
}

// ---- the flood -------------------------------------------------------------------------------

// Text as an off-line manager prints it, with a backspace and a lone carriage return in each
// line for the append rules to deal with, then a last line to know the end by.
const QByteArray EndOfFlood = QByteArrayLiteral("END OF FLOOD");

QByteArray floodText(qsizetype bytes)
{
    QByteArray text;
    text.reserve(bytes + 64);
    for (int n = 0; text.size() < bytes - EndOfFlood.size(); ++n)
        text += "LINE " + QByteArray::number(n).rightJustified(7, '0') +
                ": STATUS OK  RX 0000 TX 0000 ERR X\bY\r\n" + (n % 8 == 0 ? "\r" : "");
    text.truncate(bytes - EndOfFlood.size());
    return text + EndOfFlood;
}

// A pseudo-terminal whose far side is ours. A hold of our own on the near side keeps the line
// up while the program closes and opens its port; it is raw, as a serial port is opened.
struct Pty
{
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
            ::ptsname_r(master, name, sizeof name) != 0)
            qFatal("qncf-bench-gui: no pseudo-terminal");
        path = QString::fromLocal8Bit(name);
        slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios raw{};
        if (slave < 0 || ::tcgetattr(slave, &raw) != 0)
            qFatal("qncf-bench-gui: %s will not open", name);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
    }
    ~Pty()
    {
        ::close(slave);
        ::close(master);
    }
    int master = -1;
    int slave = -1;
    QString path;
};

// When the first byte of a flood went, on a clock both threads read.
struct FloodStart
{
    FloodStart() { clock.start(); }
    bool begun() const { return at >= 0; }
    double secondsSince() const { return double(clock.nsecsElapsed() - at) / 1e9; }

    QElapsedTimer clock;
    std::atomic<qint64> at{-1};
};

// Writes text to the master, as fast as the pty takes it, once the far side has sent trigger
// (0 for at once).
std::thread flooder(const Pty &pty, const QByteArray &text, char trigger, FloodStart *started)
{
    return std::thread([fd = pty.master, &text, trigger, started] {
        for (char c = 0; trigger && c != trigger;) {
            if (::read(fd, &c, 1) <= 0)
                return;
        }
        started->at = started->clock.nsecsElapsed();
        for (qsizetype at = 0; at < text.size();) {
            const ssize_t n =
                ::write(fd, text.constData() + at, size_t(qMin<qsizetype>(4096, text.size() - at)));
            if (n <= 0)
                return;
            at += n;
        }
    });
}

// The longest gap between two ticks of a 5 ms timer, less the 5 ms: as the clock on the wall
// saw it, and as the event loop's own CPU time saw it (which leaves out the time the system
// gave to other programs).
class StallWatch : public QObject
{
public:
    StallWatch()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        connect(&m_tick, &QTimer::timeout, this, [this] {
            const qint64 cpu = threadCpuNs();
            m_longest = qMax(m_longest, m_since.nsecsElapsed());
            m_longestCpu = qMax(m_longestCpu, cpu - m_cpuSince);
            m_since.restart();
            m_cpuSince = cpu;
        });
        m_since.start();
        m_cpuSince = threadCpuNs();
        m_tick.start(TickMs);
    }
    double stallMs() const { return double(m_longest) / 1e6 - TickMs; }
    double busyStallMs() const { return qMax(0.0, double(m_longestCpu) / 1e6 - TickMs); }

private:
    static qint64 threadCpuNs()
    {
        timespec t{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    }

    static constexpr int TickMs = 5;
    QTimer m_tick;
    QElapsedTimer m_since;
    qint64 m_cpuSince = 0;
    qint64 m_longest = 0;
    qint64 m_longestCpu = 0;
};

int ingest(Program &p, qsizetype bytes, const ModelInfo &model)
{
    const QByteArray text = floodText(bytes);

    // The pty alone: a notifier reads and drops.
    double ptyRate = 0;
    {
        Pty pty;
        const int slave = pty.slave;
        FloodStart started;
        qsizetype got = 0;
        QEventLoop loop;
        QSocketNotifier readable(slave, QSocketNotifier::Read);
        QObject::connect(&readable, &QSocketNotifier::activated, [&] {
            char buf[65536];
            ssize_t n;
            while ((n = ::read(slave, buf, sizeof buf)) > 0)
                got += n;
            if (got >= text.size())
                loop.quit();
        });
        std::thread writer = flooder(pty, text, 0, &started);
        loop.exec();
        ptyRate = double(got) / started.secondsSince();
        writer.join();
    }

    // The terminal, from the moment it has asked for the manager's menu.
    Pty pty;
    p.comm.setComDevice(1, pty.path);
    auto *m = qobject_cast<monitor *>(walkTo(p, QStringLiteral("monitor"), model));
    FloodStart started;
    std::thread writer = flooder(pty, text, 'M', &started);
    StallWatch *watch = nullptr;
    auto *watchStart = new QTimer(m);
    // The watch starts with the flood, so the window's first paint is not counted.
    QObject::connect(watchStart, &QTimer::timeout, m, [&] {
        if (started.begun()) {
            delete watchStart;
            watch = new StallWatch;
        }
    });
    watchStart->start(1);
    double terminalRate = 0;
    whenTerminalShows(m, QString::fromLatin1(EndOfFlood), [&] {
        terminalRate = double(text.size()) / started.secondsSince();
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    writer.join();
    std::printf("{\"pty_bps\": %.0f, \"terminal_bps\": %.0f, \"stall_ms\": %.2f, \"busy_stall_ms\": %.2f}\n",
                ptyRate, terminalRate, watch ? watch->stallMs() : -1.0, watch ? watch->busyStallMs() : -1.0);
    delete watch;
    return 0;
}

} // namespace

long statusKb(const char *field)
{
    FILE *f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(field);
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, n) == 0)
            kb = std::atol(line + n + 1);
    }
    if (f)
        std::fclose(f);
    return kb;
}

int printSummary(Program &p, const QString &file, const ModelInfo &model)
{
    p.forms.show(QStringLiteral("Welcome"));
    p.click("Welcome", "Command4");
    p.click("model_freestand", qPrintable(model.button));
    p.forms.hide(QStringLiteral("Welcome1"));
    p.forms.show(QStringLiteral("view"));
    p.printer.setPrintDialog([file](QPrinter &printer) {
        printer.setOutputFileName(file);
        return true;
    });
    int status = 1;
    whenExposed(p.forms.existing(QStringLiteral("view")), [&p, &status] {
        // The peak is counted from here: what the print itself adds.
        if (FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        const long before = statusKb("VmRSS:");
        QElapsedTimer clock;
        clock.start();
        p.click("view", "cmdPrintConf");
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const long peak = statusKb("VmHWM:");
        std::printf("{\"ms\": %.2f, \"extra_mb\": %.2f}\n", ms, double(peak - before) / 1024.0);
        std::fflush(stdout);
        status = 0;
        QCoreApplication::quit();
    });
    QApplication::exec();
    return status;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qncf"));
    app.setQuitOnLastWindowClosed(false);
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: qncf-bench-gui start|main|monitor|whoactive|flash FILE|ingest BYTES|print FILE "
                     "[MODEL]\n");
        return 2;
    }
    const QString what = args.at(1);
    const bool takesValue =
        what == QLatin1String("flash") || what == QLatin1String("ingest") || what == QLatin1String("print");
    const QString value = takesValue ? args.value(2) : QString();
    // Who-active is offered for the models whose modes allow it; the bridge's does.
    const ModelInfo *model = findModel(args.value(takesValue ? 3 : 2, QStringLiteral("QN4000-NGD")));
    if (!model)
        qFatal("qncf-bench-gui: unknown model");

    Program p;
    if (what == QLatin1String("flash"))
        return flash(p, value, *model);
    if (what == QLatin1String("ingest"))
        return ingest(p, value.toLongLong(), *model);
    if (what == QLatin1String("print"))
        return printSummary(p, value, *model);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            QCoreApplication::quit();
    });
    return idleAt(p, what, *model);
}
