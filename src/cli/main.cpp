// SPDX-License-Identifier: GPL-3.0-or-later
// qncf-cli: the configuration program without its windows, for scripts and for checking a file
// or a unit. It applies a file, shows the summary and runs the transfers with the same core and
// link the windows use, so what it reads, shows and sends is what the windows would.

#include "about/licence.h"
#include "apply/applyloaded.h"
#include "config/modelcatalog.h"
#include "consoleprompts.h"
#include "files/fileflow.h"
#include "files/layoutcheck.h"
#include "files/localfile.h"
#include "message/configmessage.h"
#include "message/messagediff.h"
#include "online/dhpdiagnostics.h"
#include "online/flashtransfer.h"
#include "serial/modcomm.h"
#include "serial/portinfo.h"
#include "session/session.h"
#include "summary/summaryrows.h"
#include "transfer/devicelink.h"
#include "transfer/transfers.h"

#include <QBitArray>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

enum Exit { Success = 0, NoProperAnswer = 1, BadInput = 2, PortProblem = 3 };

QTextStream out(stdout);
QTextStream err(stderr);

// The reason on one line; a line after it (what to do) where there is one.
int fail(int status, const QString &reason, const QString &advice = QString())
{
    out.flush();
    err << "qncf-cli: " << reason << Qt::endl;
    if (!advice.isEmpty())
        err << advice << Qt::endl;
    return status;
}

const char *const Usage =
    "usage:\n"
    "  qncf-cli models\n"
    "  qncf-cli show --model CODE FILE.QNC [--strict]\n"
    "  qncf-cli message --model CODE FILE.QNC [--strict]\n"
    "  qncf-cli download --model CODE --port DEVICE FILE.QNC [--yes] [--verify] [--strict]\n"
    "  qncf-cli upload --model CODE --port DEVICE OUT.QNC [--yes] [--old-ngd]\n"
    "  qncf-cli who-active --port DEVICE\n"
    "  qncf-cli flash --port DEVICE FILE.TXT [--yes]\n"
    "  qncf-cli compare --model CODE --port DEVICE FILE.QNC [--yes] [--strict]\n"
    "  qncf-cli diff --model CODE A.QNC B.QNC [--strict]\n"
    "  qncf-cli ports\n"
    "DEVICE is a device path, a /dev/serial/by-id name or COM1..COM8. Results go to standard\n"
    "output; prompts, progress and errors to standard error. Exit status: 0 done (compare, diff:\n"
    "no difference), 1 the converter did not answer as required (compare, diff: a difference),\n"
    "2 bad arguments or an unreadable file, 3 a port that cannot be opened or is busy.\n"
    "A file whose lines are not laid out as the model's (one probably saved for another model)\n"
    "is read with a warning, or with --strict refused with status 2.";

// How long a flashed unit may take to say "A-OK" once the file is in.
constexpr int FlashAnswerMs = 10000;

// One run's state, port and link, as the windows have them, asking on the console.
struct Program
{
    Session session;
    ModComm comm;
    ConsolePrompts prompts{err};
    DeviceLink link{session, comm, prompts};
};

// DEVICE as the program's COM port: COMn is that port; any other name (a path) is the device
// for COM1 in this run.
bool choosePort(Program &p, const QString &device)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-8])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(device);
    if (m.hasMatch()) {
        // COMn as the window has it: the device named for it, or the adapter it takes.
        const int n = m.captured(1).toInt();
        p.comm.setComDevice(n, defaultComDevice(n, listSerialPorts()));
        p.session.PortNumber = n;
        return true;
    }
    if (device.isEmpty())
        return false;
    p.comm.setComDevice(1, device);
    p.session.PortNumber = 1;
    return true;
}

int runModels()
{
    for (const ModelInfo &m : modelCatalog())
        out << m.code.leftJustified(14) << QString::number(m.configLength + 9).rightJustified(4) << " bytes  "
            << m.description << Qt::endl;
    return Success;
}

// A file read under a model it does not fit is almost always another model's: a warning, or
// with strict an error. A file the reader cannot take at all is left to the reader to report.
int checkFileModel(const QString &file, const ModelInfo &model, bool strict)
{
    QByteArray data;
    if (!readRegularFile(file, MaxConfigFileBytes, &data).ok)
        return Success;
    const LayoutCheck check = checkFileLayout(data, model);
    if (check.fits() || check.verdict == LayoutCheck::Verdict::NotWholePasses)
        return Success;
    const QString why = QStringLiteral("%1: %2").arg(file, check.explanation(model));
    if (strict)
        return fail(BadInput, why + QStringLiteral(" (refused: --strict)"));
    out.flush();
    err << "qncf-cli: warning: " << why << Qt::endl;
    return Success;
}

// Reads the file and applies it to the model's fresh configuration (every program is made
// afresh for the file it takes), telling the values not taken as the windows would.
bool applyFile(Program &p, const QString &file)
{
    if (!readConfigurationFile(p.session, p.prompts, file))
        return false;
    const AppliedConfiguration applied = applyLoadedValues(p.session.loaded, *p.session.model, p.session.rec);
    p.session.rec = applied.record;
    tellRefusedValues(p.prompts, file, applied.refused);
    return true;
}

// The summary, one "caption: value" line a row.
int runShow(Program &p, const QString &file)
{
    if (!applyFile(p, file))
        return fail(BadInput, p.prompts.lastError());
    for (const QString &line : summaryLines(summaryRows(p.session.rec, *p.session.model)))
        out << line << Qt::endl;
    return Success;
}

// The bytes a download would send, in hex.
int runMessage(Program &p, const QString &file)
{
    if (!applyFile(p, file))
        return fail(BadInput, p.prompts.lastError());
    const ConfigMessage m = BuildConfigMessage(p.session.rec);
    if (!m.ok())
        return fail(BadInput, m.error);
    out << m.bytes.toHex(' ').toUpper() << Qt::endl;
    return Success;
}

// A transfer that could not start: the port would not open (3), or the configuration mode was
// not confirmed and nothing was sent (2).
int portFailed(Program &p)
{
    if (p.prompts.cancelled())
        return fail(BadInput, p.prompts.lastError());
    return fail(PortProblem, p.prompts.lastError(), p.prompts.lastAdvice());
}

// Waits for a transfer that has started to finish; outcome is what its finished() set.
template <typename Transfer>
ExchangeOutcome finishedTransfer(Transfer &transfer, const ExchangeOutcome &outcome)
{
    if (!transfer.isRunning())
        return outcome;
    QEventLoop loop;
    QObject::connect(&transfer, &Transfer::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return outcome;
}

// The download screen's way: the file is opened as the editor opens it, then sent.
int runDownload(Program &p, const QString &file)
{
    // The file is read first: one that cannot be read is reported and nothing is sent.
    if (!applyFile(p, file))
        return fail(BadInput, p.prompts.lastError());
    noteWhatTheFileLacks(p.session, p.prompts, FileUse::Sent, file);
    DownloadTransfer transfer(p.link);
    ExchangeOutcome outcome = ExchangeOutcome::NoMessage;
    QObject::connect(&transfer, &DownloadTransfer::status, [](const QString &s) { err << s << Qt::endl; });
    QObject::connect(&transfer, &DownloadTransfer::finished, [&](ExchangeOutcome o) { outcome = o; });
    transfer.start();
    switch (finishedTransfer(transfer, outcome)) {
    case ExchangeOutcome::Accepted:
        return Success;
    case ExchangeOutcome::PortFailed:
        return portFailed(p);
    case ExchangeOutcome::NoMessage:
        return fail(BadInput, p.prompts.lastError());
    default:
        return fail(NoProperAnswer, p.prompts.lastError().isEmpty()
                                        ? QStringLiteral("no acknowledge from the Quintrel")
                                        : p.prompts.lastError());
    }
}

// The upload screen's way: the unit's configuration saved to the file, then opened.
// With unit, the message the unit's replies say it holds.
int runUpload(Program &p, const QString &file, UnitMessage *unit = nullptr)
{
    UploadTransfer transfer(p.link);
    ExchangeOutcome outcome = ExchangeOutcome::NoMessage;
    QString status;
    QObject::connect(&transfer, &UploadTransfer::status, [&](const QString &s) {
        err << s << Qt::endl;
        status = s;
    });
    QObject::connect(&transfer, &UploadTransfer::finished, [&](ExchangeOutcome o) { outcome = o; });
    transfer.start(*p.session.model);
    if (finishedTransfer(transfer, outcome) == ExchangeOutcome::Accepted) {
        if (unit)
            *unit = messageFromUpload(*p.session.model, transfer.firstReply(), transfer.secondReply());
        p.prompts.savePath = file;
        const UploadSaved saved =
            saveUploadedConfiguration(p.session, p.prompts, transfer.firstReply(), transfer.secondReply(),
                                      [&p](const QString &path) { return applyFile(p, path); });
        err << saved.status << Qt::endl;
        if (saved.ok)
            return Success;
        return fail(BadInput, p.prompts.lastError().isEmpty() ? saved.status : p.prompts.lastError());
    }
    if (outcome == ExchangeOutcome::PortFailed)
        return portFailed(p);
    // The unit held the line: its box says so, the status does not.
    if (outcome == ExchangeOutcome::AckNotSent)
        return fail(NoProperAnswer, p.prompts.lastError());
    return fail(NoProperAnswer, status);
}

// Autoconfigure, then one pass over the DH+ nodes 00 to 77: the status line, then a line a
// node with what its row shows ("Workstation", "Active Node", or nothing).
int runWhoActive(Program &p)
{
    if (!p.link.CheckPort())
        return portFailed(p);
    DhpDiagnostics diag(p.session, p.comm);
    QEventLoop loop;
    QString status;
    QObject::connect(&diag, &DhpDiagnostics::statusChanged, [&](const QString &s) {
        status = s;
        out << s << Qt::endl;
    });
    QObject::connect(&diag, &DhpDiagnostics::autoconfigureEnded, &loop, &QEventLoop::quit);
    QObject::connect(&diag, &DhpDiagnostics::scanEnded, &loop, &QEventLoop::quit);
    QObject::connect(&diag, &DhpDiagnostics::nodeChanged, [&](int node, const QString &text) {
        // A node asked when the adapter went gave no answer we could have had: no row.
        if (text == DhpDiagnostics::Testing || !p.comm.isOpen(p.session.PortNumber))
            return;
        out << QStringLiteral("%1 %2").arg(node, 2, 8, QLatin1Char('0')).arg(text).trimmed() << Qt::endl;
        if (node == DhpDiagnostics::NodeCount - 1)
            diag.stopScan(); // one pass: the scan ends before it goes round again
    });
    diag.autoconfigure();
    if (diag.isBusy())
        loop.exec();
    if (!diag.isConnected())
        return fail(NoProperAnswer, status);
    diag.startScan();
    if (diag.isBusy())
        loop.exec();
    const bool connected = diag.isConnected();
    diag.leave({});
    return connected ? Success : fail(NoProperAnswer, status);
}

// How long what is queued on the port needs on the line.
int lineTimeMs(ModComm &comm, int port)
{
    return int(comm.bytesNotSent(port) * 10 * 1000 / qMax(1, comm.baudRate(port)));
}

// The terminal's flash transfer: the file in its blocks, one blank and a line feed, with the
// progress on standard error and what the converter says on standard output; done once the
// converter answers "A-OK".
int runFlash(Program &p, const QString &path, bool confirmed)
{
    QByteArray file;
    const FileResult read = readRegularFile(path, FlashPlan::MaxFileBytes, &file);
    if (!read.ok)
        return fail(BadInput, read.error);
    if (!confirmed) {
        err << "The Quintrel must be in its off-line manager with the WRITE SYSTEM FILE option chosen\n"
               "and answered 'Y'ES. Has this already been done? [y/N] "
            << Qt::flush;
        char line[64] = {};
        const bool yes = std::fgets(line, sizeof line, stdin) && (line[0] == 'y' || line[0] == 'Y');
        if (!yes)
            return fail(NoProperAnswer, QStringLiteral("nothing sent"));
    }
    const int port = p.session.PortNumber;
    if (p.comm.CommOpen(port, p.link.portName(), DeviceLink::PortSettings) != 0) {
        const CommError error = p.comm.lastError();
        p.comm.CommClose(port);
        return fail(PortProblem,
                    QStringLiteral("Unable to Open COM PORT to Quintrel!!, COM Error: ") + error.line(),
                    error.advice());
    }
    // The terminal's line: a unit writing its flash holds the PC off with XOFF, and a PC
    // that does not stop overruns it.
    if (p.link.setLine() != 0) {
        const CommError error = p.comm.lastError();
        p.comm.CommClose(port);
        return fail(PortProblem, QStringLiteral("the port cannot take XON/XOFF flow control, which a flash "
                                                "needs: ") +
                                     error.line());
    }

    QEventLoop loop;
    QByteArray said;
    QString error;
    bool whole = false;
    bool awaiting = false; // the file is out: what the unit says now is its answer
    QTimer answerWait;
    answerWait.setSingleShot(true);
    QObject::connect(&answerWait, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&p.comm, &ModComm::readyRead, [&](int) {
        QByteArray data;
        if (p.comm.CommRead(port, data, 0) <= 0)
            return;
        out << QString::fromLatin1(data) << Qt::flush;
        said.append(data);
        if (said.size() > 4096)
            said.remove(0, said.size() - 4096);
        if (awaiting && said.contains("A-OK"))
            loop.quit();
    });
    FlashTransfer flash(p.session, p.comm);
    const qint64 total = FlashPlan(file).bytesToSend();
    // On a terminal the progress line is rewritten in place; in a log it is a line a block.
#ifdef Q_OS_UNIX
    const bool terminal = isatty(STDERR_FILENO);
#else
    const bool terminal = false;
#endif
    QObject::connect(&flash, &FlashTransfer::progressed, [&](int, int percent) {
        err << (terminal ? "\r" : "") << "sent " << flash.plan()->bytesSent() << " of " << total << " bytes ("
            << percent << "%)" << (terminal ? "" : "\n") << Qt::flush;
    });
    QObject::connect(&flash, &FlashTransfer::finished, [&](bool w, const QString &e) {
        whole = w;
        error = e;
        if (terminal)
            err << Qt::endl;
        if (!w) {
            loop.quit();
            return;
        }
        said.clear(); // only an answer to this file counts
        awaiting = true;
        // The unit answers once the last bytes are in: its time starts when they have left.
        p.comm.whenDrained(port, lineTimeMs(p.comm, port) * 2 + 2000, &loop, [&](bool drained) {
            if (!drained && p.comm.isOpen(port)) {
                whole = false;
                error = QStringLiteral("the file did not leave the port (the line is held)");
                loop.quit();
                return;
            }
            answerWait.start(FlashAnswerMs);
        });
    });
    QObject::connect(&p.comm, &ModComm::portLost, &loop, &QEventLoop::quit);
    flash.start(file);
    loop.exec();
    const bool answered = said.contains("A-OK");
    // The closing line feed goes out before the port closes, however the transfer ended.
    if (p.comm.isOpen(port) && p.comm.bytesNotSent(port) > 0) {
        QEventLoop drain;
        bool drained = false;
        p.comm.whenDrained(port, lineTimeMs(p.comm, port) * 2 + 2000, &drain, [&](bool) {
            drained = true;
            drain.quit();
        });
        if (!drained)
            drain.exec();
    }
    p.comm.CommClose(port);
    if (!whole)
        return fail(NoProperAnswer,
                    error.isEmpty() ? QStringLiteral("the transfer did not complete") : error);
    if (!answered)
        return fail(NoProperAnswer,
                    QStringLiteral("the file was sent, but the Quintrel did not answer A-OK"));
    return Success;
}

// The system's serial ports, one a line: path, by-id name, description, maker, serial number
// (tab-separated, "-" for what is unknown).
int runPorts()
{
    for (const SerialPortEntry &e : listSerialPorts()) {
        QStringList fields{e.path, e.byId, e.description, e.manufacturer, e.serialNumber};
        for (QString &f : fields)
            if (f.isEmpty())
                f = QStringLiteral("-");
        out << fields.join(QLatin1Char('\t')) << Qt::endl;
    }
    return Success;
}

// A configuration as the summary shows it: its rows as caption and value, in order.
using Summary = QList<std::pair<QString, QString>>;

Summary summaryOf(Program &p)
{
    Summary rows;
    for (const QString &line : summaryLines(summaryRows(p.session.rec, *p.session.model))) {
        const qsizetype at = line.indexOf(QLatin1String(": "));
        rows.append(at < 0 ? std::pair{line, QString()} : std::pair{line.left(at), line.mid(at + 2)});
    }
    return rows;
}

// One side of a comparison: its summary rows, and the message it sends (a unit's, as far as
// its upload gives it back).
struct Side
{
    QString name;
    Summary summary;
    QByteArray message;
    QBitArray known; // empty: every byte
};

// The summary rows that differ, "caption: A-value | B-value", then every byte of the messages
// that differs, named by its field, with the two sources named once above them; 0 when
// nothing differs, 1 otherwise. Bytes a unit cannot send back are named on standard error.
int listDifferences(const ModelInfo &model, const Side &a, const Side &b)
{
    QStringList lines;
    QMap<QString, int> seen; // a caption that comes twice is matched to its second
    QMap<QString, QStringList> others;
    for (const auto &[caption, value] : b.summary)
        others[caption].append(value);
    for (const auto &[caption, value] : a.summary) {
        const QStringList values = others.value(caption);
        const int k = seen[caption]++;
        const QString other = k < values.size() ? values.at(k) : QStringLiteral("(none)");
        if (other != value)
            lines << QStringLiteral("%1: %2 | %3").arg(caption, value, other);
    }
    // What is sent decides, not what is shown: a byte the summary has no row for counts too.
    const MessageComparison bytes = compareMessages(model, a.message, b.message, b.known);
    for (const ByteDifference &d : bytes.differences)
        lines << differenceLine(d);
    if (!bytes.unread.isEmpty())
        err << b.name << " cannot send back " << unreadRanges(model, bytes.unread).join(QLatin1String(", "))
            << ": not compared" << Qt::endl;
    if (lines.isEmpty())
        return Success;
    out << QStringLiteral("%1 | %2").arg(a.name, b.name) << Qt::endl;
    for (const QString &l : lines)
        out << l << Qt::endl;
    return NoProperAnswer;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qncf-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QNCF_VERSION));
    // A file name whose bytes are no valid text in this system's encoding would come back
    // from the conversion as another name, and another file would be read or written.
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QFile::encodeName(QFile::decodeName(raw)) != raw)
            return fail(BadInput,
                        QStringLiteral("\"%1\" is not valid text in this system's encoding, so the file "
                                       "it names cannot be used; rename it")
                            .arg(QFile::decodeName(raw)));
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Usage));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modelOption(QStringLiteral("model"), QStringLiteral("Converter model code."),
                                         QStringLiteral("CODE"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Device path, /dev/serial/by-id name or COMn."),
                                        QStringLiteral("DEVICE"));
    const QCommandLineOption yesOption(
        QStringLiteral("yes"),
        QStringLiteral("Do not wait for Enter at the configuration-mode prompt; for flash, do not ask\n"
                       "whether the unit is ready for the file."));
    const QCommandLineOption oldNgdOption(QStringLiteral("old-ngd"),
                                          QStringLiteral("A QN4000-NGD without flash (54-byte upload)."));
    const QCommandLineOption forceOption(QStringLiteral("force"),
                                         QStringLiteral("upload: replace OUT.QNC if it exists."));
    const QCommandLineOption verifyOption(
        QStringLiteral("verify"), QStringLiteral("download: upload afterwards and compare with the file."));
    const QCommandLineOption strictOption(
        QStringLiteral("strict"),
        QStringLiteral("Refuse a file whose lines are not laid out as the model's (exit status 2)\n"
                       "instead of reading it with a warning."));
    const QCommandLineOption traceOption(QStringLiteral("trace"),
                                         QStringLiteral("Log every byte each way on the port to FILE."),
                                         QStringLiteral("FILE"));
    parser.addOptions({modelOption, portOption, yesOption, oldNgdOption, forceOption, verifyOption,
                       strictOption, traceOption});
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("models, ports, show, message, download, upload, compare, diff, who-active or flash"));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(BadInput, parser.errorText() + QStringLiteral(" (qncf-cli --help lists them)"));
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        out << parser.helpText() << Qt::endl;
        return Success;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << versionText() << Qt::flush;
        return Success;
    }

    // What each command takes: its files, and whether it needs a model and a port.
    struct Shape
    {
        const char *name;
        int files;
        bool model;
        bool port;
        QList<const QCommandLineOption *> options; // the optional ones it accepts
    };
    const Shape shapes[] = {
        {"models", 0, false, false, {}},
        {"ports", 0, false, false, {}},
        {"show", 1, true, false, {&strictOption}},
        {"message", 1, true, false, {&strictOption}},
        {"download", 1, true, true, {&yesOption, &oldNgdOption, &verifyOption, &strictOption}},
        {"upload", 1, true, true, {&yesOption, &oldNgdOption, &forceOption}},
        {"compare", 1, true, true, {&yesOption, &oldNgdOption, &strictOption}},
        {"diff", 2, true, false, {&strictOption}},
        {"who-active", 0, false, true, {}},
        {"flash", 1, false, true, {&yesOption}},
    };
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(BadInput, QStringLiteral("no command given (qncf-cli --help lists them)"));
    const QString command = args.first();
    const Shape *shape = nullptr;
    for (const Shape &sh : shapes)
        if (command == QLatin1String(sh.name))
            shape = &sh;
    if (!shape)
        return fail(BadInput,
                    QStringLiteral("unknown command \"%1\" (qncf-cli --help lists them)").arg(command));
    const QStringList files = args.mid(1);
    if (files.size() != shape->files)
        return fail(
            BadInput,
            files.size() > shape->files
                ? QStringLiteral("%1: unexpected argument \"%2\"").arg(command, files.at(shape->files))
                : QStringLiteral("%1 needs %2 file name%3")
                      .arg(command)
                      .arg(shape->files)
                      .arg(shape->files > 1 ? "s" : ""));
    for (const auto &[option, wanted] :
         {std::pair{&modelOption, shape->model}, std::pair{&portOption, shape->port}}) {
        if (parser.isSet(*option) != wanted)
            return fail(
                BadInput,
                wanted ? QStringLiteral("%1 needs --%2 %3")
                             .arg(command, option->names().first(), option->valueName())
                       : QStringLiteral("--%1 does not go with %2").arg(option->names().first(), command));
    }
    if (parser.isSet(traceOption) && !shape->port)
        return fail(BadInput, QStringLiteral("--trace does not go with %1").arg(command));
    for (const QCommandLineOption *o :
         {&yesOption, &oldNgdOption, &forceOption, &verifyOption, &strictOption}) {
        if (parser.isSet(*o) && !shape->options.contains(o))
            return fail(BadInput,
                        QStringLiteral("--%1 does not go with %2").arg(o->names().first(), command));
    }

    if (command == QLatin1String("models"))
        return runModels();
    if (command == QLatin1String("ports"))
        return runPorts();

    auto makeProgram = [&]() -> std::unique_ptr<Program> {
        auto p = std::make_unique<Program>();
        p->prompts.proceedWithoutWaiting = parser.isSet(yesOption);
        p->prompts.answers.insert(QStringLiteral("!CHECK QN4000 MODEL and SERIAL NUMBER!"),
                                  parser.isSet(oldNgdOption) ? Prompts::Yes : Prompts::No);
        // Each file has been checked once, up front, and a misfit said as a warning.
        p->prompts.answers.insert(anotherModelsFileTitle(), Prompts::Yes);
        p->prompts.settled.insert(anotherModelsFileTitle());
        if (shape->model) {
            // The record choosing the model leaves: a first-generation bridge is asked about
            // its flash as the model selection asks.
            const ModelInfo *model = findModel(parser.value(modelOption).toUpper());
            const bool oldNgd = model && model->asksFlashQuestion() && askWhetherOldNgd(p->prompts);
            p->session.model = model;
            if (model)
                p->session.rec = freshConfiguration(*model, oldNgd);
        }
        if (shape->port)
            choosePort(*p, parser.value(portOption));
        if (parser.isSet(traceOption)) {
            QString why;
            if (!p->comm.startTrace(parser.value(traceOption), &why))
                return nullptr;
        }
        return p;
    };
    if (shape->model && !findModel(parser.value(modelOption).toUpper()))
        return fail(BadInput, QStringLiteral("unknown model \"%1\" (qncf-cli models lists them)")
                                  .arg(parser.value(modelOption)));
    if (shape->port && parser.value(portOption).isEmpty())
        return fail(BadInput, QStringLiteral("--port names no device"));
    const QString file = files.value(0);

    std::unique_ptr<Program> p = makeProgram();
    if (!p)
        return fail(BadInput, QStringLiteral("--trace %1 cannot be written").arg(parser.value(traceOption)));
    if (command == QLatin1String("who-active"))
        return runWhoActive(*p);
    if (command == QLatin1String("flash"))
        return runFlash(*p, file, parser.isSet(yesOption));
    if (shape->options.contains(&strictOption)) {
        const ModelInfo &model = *findModel(parser.value(modelOption).toUpper());
        for (const QString &f : files) {
            if (const int r = checkFileModel(f, model, parser.isSet(strictOption)); r != Success)
                return r;
        }
    }
    if (command == QLatin1String("show"))
        return runShow(*p, file);
    if (command == QLatin1String("message"))
        return runMessage(*p, file);
    if (command == QLatin1String("upload")) {
        if (QFileInfo::exists(file) && !parser.isSet(forceOption))
            return fail(BadInput, QStringLiteral("%1 exists; --force replaces it").arg(file));
        return runUpload(*p, file);
    }

    // Two configurations side by side: two files, or a file and what the unit holds.
    const ModelInfo &model = *findModel(parser.value(modelOption).toUpper());
    auto fileSide = [&](const QString &path, const QString &name, Side *side) {
        std::unique_ptr<Program> q = makeProgram();
        if (!applyFile(*q, path))
            return fail(BadInput, q->prompts.lastError());
        const ConfigMessage m = BuildConfigMessage(q->session.rec);
        if (!m.ok())
            return fail(BadInput, m.error);
        *side = {name, summaryOf(*q), m.bytes, {}};
        return int(Success);
    };
    if (command == QLatin1String("diff")) {
        Side a, b;
        if (const int r = fileSide(files.at(0), files.at(0), &a); r != Success)
            return r;
        if (const int r = fileSide(files.at(1), files.at(1), &b); r != Success)
            return r;
        return listDifferences(model, a, b);
    }
    // A file is read before anything goes to the unit, so a bad one stops it at once.
    if (!applyFile(*p, file))
        return fail(BadInput, p->prompts.lastError());
    // The unit's side is what it sent back, byte for byte: the uploaded file gives its summary
    // rows, but a file cannot hold everything a unit does (the Toshiba drive settings).
    auto unitAgainstFile = [&](const QByteArray &sent) {
        Side mine;
        if (const int r = fileSide(file, file, &mine); r != Success)
            return r;
        if (!sent.isEmpty())
            mine.message = sent;
        QTemporaryDir dir;
        const QString uploaded = dir.filePath(QStringLiteral("unit.QNC"));
        std::unique_ptr<Program> reader = makeProgram();
        UnitMessage held;
        if (const int r = runUpload(*reader, uploaded, &held); r != Success)
            return r;
        Side unit;
        if (const int r = fileSide(uploaded, QStringLiteral("the unit"), &unit); r != Success)
            return r;
        unit.message = held.bytes;
        unit.known = held.known;
        return listDifferences(model, mine, unit);
    };
    if (command == QLatin1String("compare"))
        return unitAgainstFile({});
    p = makeProgram();
    if (const int r = runDownload(*p, file); r != Success || !parser.isSet(verifyOption))
        return r;
    // Checked against what went out, byte for byte.
    return unitAgainstFile(BuildConfigMessage(p->session.rec).bytes);
}
