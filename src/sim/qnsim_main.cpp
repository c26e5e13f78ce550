// SPDX-License-Identifier: GPL-3.0-or-later
// qnsim: a simulated converter on a pseudo-terminal, for trying the PC side without hardware.

#include "about/licence.h"
#include "config/modelcatalog.h"
#include "simulator/convertersim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr int ExitUsage = 2;

int usageError(const QString &message)
{
    std::fprintf(stderr, "qnsim: %s\n", qPrintable(message));
    return ExitUsage;
}

QString modelList()
{
    QStringList codes;
    for (const ModelInfo &m : modelCatalog())
        codes.append(m.code);
    return codes.join(QStringLiteral(", "));
}

// PATH -> device, replacing a symlink already there (but never a real file), atomically.
bool makeLink(const QString &path, const QString &device, QString *error)
{
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isSymLink()) {
        *error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    const QByteArray target = QFile::encodeName(device);
    const QByteArray link = QFile::encodeName(path);
    const QByteArray temp = link + ".qnsim-" + QByteArray::number(::getpid());
    ::unlink(temp.constData());
    if (::symlink(target.constData(), temp.constData()) != 0 ||
        ::rename(temp.constData(), link.constData()) != 0) {
        *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

// Only our own link: another simulator may have taken the name over since.
void removeLink(const QString &path, const QString &device)
{
    if (!path.isEmpty() && QFileInfo(path).isSymLink() && QFileInfo(path).symLinkTarget() == device)
        QFile::remove(path);
}

} // namespace

int main(int argc, char *argv[])
{
    // Termination signals arrive through a descriptor, so they end the event loop cleanly.
    // Blocked before anything can start a thread, so no thread takes them the old way.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qnsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QNCF_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated Quintrel converter on a pseudo-terminal. Prints the device path on the first line\n"
        "of standard output, then serves the PC on it until terminated.\n"
        "\n"
        "Downloads (N E E ...), uploads (T E E, and T E M on LBW models; UCT models add an unasked\n"
        "second reply after the PC acknowledges the first), the off-line manager (M) and DF1 diagnostic\n"
        "status commands at the --baud speed.\n"
        "\n"
        "A pty cannot pass a break, so a \"D\" after at least 900 ms of silence from the PC stands for\n"
        "the break-then-\"D\" that selects debug mode.\n"
        "\n"
        "Faults: noack (download reply without the acknowledge, nothing stored), silent (no answer to\n"
        "anything), short (every reply half length), garbage (every reply replaced by junk of the same\n"
        "length), badtr (upload replies not starting \"TR\"), xoff (XOFF on the first byte of a\n"
        "download or upload, then nothing), drop (the device goes away halfway through a download or\n"
        "upload; qnsim then exits), holdack (XOFF before a download reply or after an upload reply,\n"
        "XON 300 ms later; what the PC sends meanwhile after an upload reply is lost), noxon (the same\n"
        "XOFF and never an XON), flashhold (XOFF once 4 KB of a system file are in, XON 1.5 s later;\n"
        "more than 72 KB arriving after the XOFF is an overrun and the burn fails)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modelOpt(QStringLiteral("model"),
                                      QStringLiteral("Converter model: %1.").arg(modelList()),
                                      QStringLiteral("CODE"));
    const QCommandLineOption linkOpt(QStringLiteral("link"),
                                     QStringLiteral("Also make PATH a symbolic link to the device."),
                                     QStringLiteral("PATH"));
    const QCommandLineOption eepromOpt(
        QStringLiteral("eeprom"),
        QStringLiteral("Keep the configuration body in FILE: read at start, written after each download "
                       "and factory restore."),
        QStringLiteral("FILE"));
    const QCommandLineOption baudOpt(QStringLiteral("baud"),
                                     QStringLiteral("DF1 speed the unit answers at (default 9600)."),
                                     QStringLiteral("RATE"), QStringLiteral("9600"));
    const QCommandLineOption nodesOpt(QStringLiteral("nodes"),
                                      QStringLiteral("Active DH+ nodes, octal, comma-separated: 3,17,40."),
                                      QStringLiteral("LIST"));
    const QCommandLineOption pcNodeOpt(QStringLiteral("pc-node"),
                                       QStringLiteral("The unit's own DH+ node, octal (default 1)."),
                                       QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption faultOpt(
        QStringLiteral("fault"),
        QStringLiteral("Misbehave: %1.").arg(faultNames().join(QStringLiteral(", "))), QStringLiteral("NAME"),
        QStringLiteral("none"));
    const QCommandLineOption paceOpt(QStringLiteral("pace"),
                                     QStringLiteral("Send at the line speed the PC set."));
    const QCommandLineOption traceOpt(
        QStringLiteral("trace"),
        QStringLiteral("Every byte each way in hex on stderr (\"PC> \", \"SIM>\")."));
    const QCommandLineOption oldNgdOpt(QStringLiteral("old-ngd"),
                                       QStringLiteral("A QN4000-NGD of the old firmware (54-byte upload)."));
    const QCommandLineOption lateProbeOpt(QStringLiteral("late-probe"),
                                          QStringLiteral("Answer DLE ENQ MS late."), QStringLiteral("MS"),
                                          QStringLiteral("0"));
    const QCommandLineOption lateStatusOpt(
        QStringLiteral("late-status"),
        QStringLiteral("Answer the status command for node 376 (the one Autoconfigure asks) MS late."),
        QStringLiteral("MS"), QStringLiteral("0"));
    parser.addOptions({modelOpt, linkOpt, eepromOpt, baudOpt, nodesOpt, pcNodeOpt, faultOpt, paceOpt,
                       traceOpt, oldNgdOpt, lateProbeOpt, lateStatusOpt});

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) {
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().constFirst()));

    SimOptions opt;
    opt.model = parser.value(modelOpt);
    if (opt.model.isEmpty())
        return usageError(QStringLiteral("--model is required (one of %1)").arg(modelList()));
    if (!findModel(opt.model))
        return usageError(QStringLiteral("unknown model %1 (one of %2)").arg(opt.model, modelList()));
    bool ok = false;
    opt.baud = parser.value(baudOpt).toInt(&ok);
    if (!ok || !isSupportedBaud(opt.baud))
        return usageError(QStringLiteral("unsupported --baud %1").arg(parser.value(baudOpt)));
    const std::optional<QSet<int>> nodes = parseOctalNodes(parser.value(nodesOpt));
    if (!nodes)
        return usageError(QStringLiteral("bad --nodes list \"%1\" (octal nodes 0..77, comma-separated)")
                              .arg(parser.value(nodesOpt)));
    opt.nodes = *nodes;
    const std::optional<int> pcNode = parseOctalNode(parser.value(pcNodeOpt));
    if (!pcNode)
        return usageError(QStringLiteral("bad --pc-node \"%1\" (octal 0..77)").arg(parser.value(pcNodeOpt)));
    opt.pcNode = *pcNode;
    const std::optional<SimFault> fault = parseFault(parser.value(faultOpt));
    if (!fault)
        return usageError(QStringLiteral("unknown fault %1 (one of %2)")
                              .arg(parser.value(faultOpt), faultNames().join(QStringLiteral(", "))));
    opt.fault = *fault;
    opt.eepromPath = parser.value(eepromOpt);
    opt.pace = parser.isSet(paceOpt);
    opt.trace = parser.isSet(traceOpt);
    opt.oldNgd = parser.isSet(oldNgdOpt);
    for (const auto &[option, ms] :
         {std::pair{&lateProbeOpt, &opt.lateProbeMs}, {&lateStatusOpt, &opt.lateStatusMs}}) {
        *ms = parser.value(*option).toInt(&ok);
        if (!ok || *ms < 0 || *ms > 60000)
            return usageError(QStringLiteral("bad --%1 %2 (0..60000 ms)")
                                  .arg(option->names().constFirst(), parser.value(*option)));
    }

    ConverterSim sim(opt);
    QString error;
    if (!sim.open(&error)) {
        std::fprintf(stderr, "qnsim: %s\n", qPrintable(error));
        return 1;
    }
    const QString device = sim.devicePath();
    const QString linkPath = parser.value(linkOpt);
    if (!linkPath.isEmpty() && !makeLink(linkPath, device, &error)) {
        std::fprintf(stderr, "qnsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(device));
    std::fflush(stdout);

    const int sigFd = ::signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC);
    if (sigFd < 0) {
        std::fprintf(stderr, "qnsim: signalfd: %s\n", std::strerror(errno));
        removeLink(linkPath, device);
        return 1;
    }
    QSocketNotifier sigNotifier(sigFd, QSocketNotifier::Read);
    QObject::connect(&sigNotifier, &QSocketNotifier::activated, &app, [sigFd] {
        signalfd_siginfo info;
        while (::read(sigFd, &info, sizeof info) == sizeof info) {
        }
        QCoreApplication::exit(0);
    });
    QObject::connect(&sim, &ConverterSim::lineDropped, &app, [] {
        std::fprintf(stderr, "qnsim: line dropped, the device is gone\n");
        QCoreApplication::exit(0);
    });

    const int status = app.exec();
    removeLink(linkPath, device);
    ::close(sigFd);
    return status;
}
