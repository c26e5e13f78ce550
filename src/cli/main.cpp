// qncf-cli: the configuration program's forms, run headless, for scripts and for checking a
// file or a unit without the windows. What it reads, shows and sends is what the windows would.

#include "config/modelcatalog.h"
#include "consoleprompts.h"
#include "editor/configfiles.h"
#include "editor/download.h"
#include "editor/downloadconfig.h"
#include "editor/summarytext.h"
#include "editor/upload.h"
#include "formcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "message/configmessage.h"
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
    "DEVICE is a device path or COM1..COM8. Exit status: 0 done, 1 the converter did not\n"
    "answer as required, 2 bad arguments or an unreadable file.";

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
        QStringLiteral("yes"), QStringLiteral("Do not wait for Enter at the configuration-mode prompt."));
    const QCommandLineOption oldNgdOption(QStringLiteral("old-ngd"),
                                          QStringLiteral("A QN4000-NGD without flash (54-byte upload)."));
    parser.addOptions({modelOption, portOption, yesOption, oldNgdOption});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("models, show, message, download or upload"));
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

    const bool needsPort = command == QLatin1String("download") || command == QLatin1String("upload");
    const bool known = needsPort || command == QLatin1String("show") || command == QLatin1String("message");
    if (!known || args.size() != 2 || !parser.isSet(modelOption) || needsPort != parser.isSet(portOption))
        return fail(BadInput, QStringLiteral("bad arguments\n") + QString::fromLatin1(Usage));
    const QString model = parser.value(modelOption).toUpper();
    if (!findModel(model))
        return fail(BadInput,
                    QStringLiteral("unknown model \"%1\"; \"qncf-cli models\" lists them").arg(model));
    const QString &file = args.at(1);

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
