// qncf-cli: the configuration program's forms, run headless, for scripts and for checking a
// file or a unit without the windows. What it reads, shows and sends is what the windows would.

#include "config/modelcatalog.h"
#include "consoleprompts.h"
#include "editor/configfiles.h"
#include "editor/download.h"
#include "editor/downloadconfig.h"
#include "editor/summarytext.h"
#include "editor/upload.h"
#include "files/localfile.h"
#include "formcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "message/configmessage.h"
#include "online/dhpdiagnostics.h"
#include "online/flashtransfer.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "shell/model_freestand.h"
#include "transfer/devicelink.h"
#include "transfer/transfers.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

enum Exit { Success = 0, NoProperAnswer = 1, BadInput = 2 };

QTextStream out(stdout);
QTextStream err(stderr);

int fail(int status, const QString &reason)
{
    out.flush();
    err << "qncf-cli: " << reason << Qt::endl;
    return status;
}

const char *const Usage =
    "usage:\n"
    "  qncf-cli models\n"
    "  qncf-cli show --model CODE FILE.QNC\n"
    "  qncf-cli message --model CODE FILE.QNC\n"
    "  qncf-cli download --model CODE --port DEVICE FILE.QNC [--yes]\n"
    "  qncf-cli upload --model CODE --port DEVICE OUT.QNC [--yes] [--old-ngd]\n"
    "  qncf-cli who-active --port DEVICE\n"
    "  qncf-cli flash --port DEVICE FILE.TXT [--yes]\n"
    "DEVICE is a device path or COM1..COM8. Exit status: 0 done, 1 the converter did not\n"
    "answer as required, 2 bad arguments or an unreadable file.";

// How long a flashed unit may take to say "A-OK" once the file is in.
constexpr int FlashAnswerMs = 10000;

// The program's state and forms, as the windows have them.
struct Program
{
    Program() : prompts(out), printer(prompts)
    {
        forms.setContext(&context);
        defineForms(forms);
    }
    ~Program() { forms.destroyAll(); }

    Session session;
    ModComm comm;
    ConsolePrompts prompts;
    DeviceLink link{session, comm, prompts};
    FormRegistry forms;
    QtPrintService printer;
    AppContext context{session, comm, prompts, link, forms, printer};
};

// DEVICE as the program's COM port: COMn is that port; any other name (a path) is the device
// for COM1 in this run.
bool choosePort(Program &p, const QString &device)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-8])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(device);
    if (m.hasMatch()) {
        p.session.PortNumber = m.captured(1).toInt();
        return true;
    }
    if (device.isEmpty())
        return false;
    p.comm.setComDevice(1, device);
    p.session.PortNumber = 1;
    return true;
}

// A control of a form, looked up by name; a form without it is a fault of this program.
template <typename T> T *controlOf(QWidget &form, const char *name)
{
    T *c = form.findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("qncf-cli: %s has no %s", qPrintable(form.objectName()), name);
    return c;
}

int runModels()
{
    for (const ModelInfo &m : modelCatalog())
        out << m.code.leftJustified(14) << QString::number(m.configLength + 9).rightJustified(4) << " bytes  "
            << m.description << Qt::endl;
    return Success;
}

// The summary, one "caption: value" line a row.
int runShow(Program &p, const QString &file)
{
    if (!loadConfigurationFile(p.context, file))
        return fail(BadInput, p.prompts.lastError());
    for (const QString &line : summaryLines(*p.forms.form(QStringLiteral("view"))))
        out << line << Qt::endl;
    return Success;
}

// The bytes a download would send, in hex.
int runMessage(Program &p, const QString &file)
{
    if (!loadConfigurationFile(p.context, file))
        return fail(BadInput, p.prompts.lastError());
    const ConfigMessage m = BuildConfigMessage(p.session.rec);
    if (!m.ok())
        return fail(BadInput, m.error);
    out << m.bytes.toHex(' ').toUpper() << Qt::endl;
    return Success;
}

// The download screen's way: the file is opened as the editor opens it, then sent.
int runDownload(Program &p, const QString &file)
{
    auto *screen = p.forms.form<download>(QStringLiteral("download"));
    QEventLoop loop;
    ExchangeOutcome outcome = ExchangeOutcome::NoMessage;
    QObject::connect(&screen->transfer(), &DownloadConfig::status,
                     [](const QString &s) { out << s << Qt::endl; });
    QObject::connect(&screen->transfer(), &DownloadConfig::finished, [&](ExchangeOutcome o) {
        outcome = o;
        loop.quit();
    });
    p.prompts.openPath = file;
    controlOf<QPushButton>(*screen, "cmdDOWNLOAD")->click();
    if (!screen->transfer().isRunning() && outcome == ExchangeOutcome::NoMessage)
        return fail(BadInput, p.prompts.lastError());
    if (screen->transfer().isRunning())
        loop.exec();
    switch (outcome) {
    case ExchangeOutcome::Accepted:
        return Success;
    case ExchangeOutcome::PortFailed:
    case ExchangeOutcome::NoMessage:
        return fail(BadInput, p.prompts.lastError());
    default:
        return fail(NoProperAnswer, p.prompts.lastError().isEmpty()
                                        ? QStringLiteral("no acknowledge from the Quintrel")
                                        : p.prompts.lastError());
    }
}

// The upload screen's way: the unit's configuration saved to the file, then opened.
int runUpload(Program &p, const QString &file)
{
    auto *screen = p.forms.form<upload>(QStringLiteral("upload"));
    QEventLoop loop;
    ExchangeOutcome outcome = ExchangeOutcome::NoMessage;
    bool success = false;
    QString lastStatus;
    QObject::connect(&screen->transfer(), &UploadTransfer::status, [&](const QString &s) {
        out << s << Qt::endl;
        lastStatus = s;
    });
    QObject::connect(&screen->transfer(), &UploadTransfer::finished, [&](ExchangeOutcome o) { outcome = o; });
    QObject::connect(screen, &upload::uploadEnded, [&](bool ok) {
        success = ok;
        loop.quit();
    });
    p.prompts.savePath = file;
    controlOf<QPushButton>(*screen, "cmdUpload")->click();
    if (screen->transfer().isRunning())
        loop.exec();
    const QString status = controlOf<QLabel>(*screen, "lblStatus")->text();
    if (status != lastStatus)
        out << status << Qt::endl;
    if (success)
        return Success;
    if (outcome == ExchangeOutcome::PortFailed || outcome == ExchangeOutcome::Accepted)
        return fail(BadInput, p.prompts.lastError().isEmpty() ? status : p.prompts.lastError());
    return fail(NoProperAnswer, status);
}

// Autoconfigure, then one pass over the DH+ nodes 00 to 77: the status line, then a line a
// node with what its row shows ("Workstation", "Active Node", or nothing).
int runWhoActive(Program &p)
{
    if (!p.link.CheckPort())
        return fail(BadInput, p.prompts.lastError());
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
        if (text == DhpDiagnostics::Testing)
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
    p.session.CommStatus = p.comm.CommOpen(port, p.link.portName(), DeviceLink::PortSettings);
    if (p.session.CommStatus != 0) {
        p.comm.FormatCommError(p.session.CommErrorText);
        p.comm.CommClose(port);
        return fail(BadInput, QStringLiteral("Unable to Open COM PORT to Quintrel!!, COM Error: ") +
                                  p.session.CommErrorText);
    }
    p.comm.CommFlush(port);

    QEventLoop loop;
    QByteArray said;
    QString error;
    bool whole = false;
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
        if (answerWait.isActive() && said.contains("A-OK"))
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
        answerWait.start(FlashAnswerMs);
    });
    QObject::connect(&p.comm, &ModComm::portLost, &loop, &QEventLoop::quit);
    flash.start(file);
    loop.exec();
    const bool answered = said.contains("A-OK");
    p.comm.CommClose(port);
    if (!whole)
        return fail(NoProperAnswer,
                    error.isEmpty() ? QStringLiteral("the transfer did not complete") : error);
    if (!answered)
        return fail(NoProperAnswer,
                    QStringLiteral("the file was sent, but the Quintrel did not answer A-OK"));
    return Success;
}

// Without a desktop session there is no runtime folder; give Qt a private one rather than
// have it warn on standard error, which carries only our reason line.
void provideRuntimeFolder()
{
#ifdef Q_OS_UNIX
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir =
            QDir::tempPath().toLocal8Bit() + "/qncf-cli-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromLocal8Bit(dir));
        QFile::setPermissions(QString::fromLocal8Bit(dir),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
#endif
}

} // namespace

int main(int argc, char **argv)
{
    // The forms run without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    provideRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qncf-cli"));
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
    const QCommandLineOption modelOption(QStringLiteral("model"), QStringLiteral("Converter model code."),
                                         QStringLiteral("CODE"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Device path or COMn."),
                                        QStringLiteral("DEVICE"));
    const QCommandLineOption yesOption(
        QStringLiteral("yes"),
        QStringLiteral("Do not wait for Enter at the configuration-mode prompt; for flash, do not ask\n"
                       "whether the unit is ready for the file."));
    const QCommandLineOption oldNgdOption(QStringLiteral("old-ngd"),
                                          QStringLiteral("A QN4000-NGD without flash (54-byte upload)."));
    parser.addOptions({modelOption, portOption, yesOption, oldNgdOption});
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("models, show, message, download, upload, who-active or flash"));
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(BadInput, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText() << Qt::endl;
        return Success;
    }

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    if (command == QLatin1String("models") && args.size() == 1)
        return runModels();

    const QString &file = args.value(1);
    const bool online = command == QLatin1String("who-active") || command == QLatin1String("flash");
    if (online) {
        if (args.size() != (command == QLatin1String("flash") ? 2 : 1) || !parser.isSet(portOption) ||
            parser.isSet(modelOption))
            return fail(BadInput, QStringLiteral("bad arguments\n") + QString::fromLatin1(Usage));
        Program p;
        if (!choosePort(p, parser.value(portOption)))
            return fail(BadInput, QStringLiteral("no device given"));
        if (command == QLatin1String("who-active"))
            return runWhoActive(p);
        return runFlash(p, file, parser.isSet(yesOption));
    }

    const bool needsPort = command == QLatin1String("download") || command == QLatin1String("upload");
    const bool known = needsPort || command == QLatin1String("show") || command == QLatin1String("message");
    if (!known || args.size() != 2 || !parser.isSet(modelOption) || needsPort != parser.isSet(portOption))
        return fail(BadInput, QStringLiteral("bad arguments\n") + QString::fromLatin1(Usage));
    const QString model = parser.value(modelOption).toUpper();
    if (!findModel(model))
        return fail(BadInput,
                    QStringLiteral("unknown model \"%1\"; \"qncf-cli models\" lists them").arg(model));

    Program p;
    p.prompts.proceedWithoutWaiting = parser.isSet(yesOption);
    p.prompts.answers.insert(QStringLiteral("!CHECK QN4000 MODEL and SERIAL NUMBER!"),
                             parser.isSet(oldNgdOption) ? Prompts::Yes : Prompts::No);
    p.forms.form<model_freestand>(QStringLiteral("model_freestand"))->chooseModel(model);
    if (needsPort && !choosePort(p, parser.value(portOption)))
        return fail(BadInput, QStringLiteral("no device given"));

    if (command == QLatin1String("show"))
        return runShow(p, file);
    if (command == QLatin1String("message"))
        return runMessage(p, file);
    if (command == QLatin1String("download"))
        return runDownload(p, file);
    return runUpload(p, file);
}
