// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/licence.h"
#include "frame/qtprompts.h"
#include "programparts.h"
#include "shell/model_freestand.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

// The program's own texts in the user's language, where a translation into it is built in
// (:/i18n/qncf_<lang>.qm), and only then Qt's own (its dialogs' buttons) to match. The forms'
// fixed captions are never translated: their .ui files mark them notr.
void installTranslations(QTranslator &ours, QTranslator &qts)
{
    if (ours.load(QLocale::system(), QStringLiteral("qncf"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(&ours);
        if (qts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qts);
    }
}

// What qncf takes besides the options of every Qt program, described in the language of the
// translations installed when it is made.
struct Options
{
    QCommandLineParser parser;
    QCommandLineOption trace{QStringLiteral("trace")};

    Options()
    {
        parser.setApplicationDescription(
            QCoreApplication::translate("main", "Configures Quintrel freestanding converters."));
        parser.addHelpOption();
        parser.addVersionOption();
        //: FILE is the option's value, as --help shows it
        trace.setDescription(
            QCoreApplication::translate("main", "Log every byte each way on the serial port to FILE."));
        trace.setValueName(QStringLiteral("FILE"));
        parser.addOption(trace);
        parser.addPositionalArgument(
            QStringLiteral("configuration"),
            QCoreApplication::translate("main",
                                        "A configuration file (.QNC) to open, once its model is chosen."),
            QStringLiteral("[FILE.QNC]"));
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("qncf"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QNCF_VERSION));
    QTranslator ours, qts;

    // --help and --version are answered before the window system is asked for, so that they
    // work where there is no display. Qt's own options (-platform ...) are unknown here.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool textOnly = [&] {
        Options first;
        first.parser.parse(arguments);
        return first.parser.isSet(QStringLiteral("help")) || first.parser.isSet(QStringLiteral("help-all")) ||
               first.parser.isSet(QStringLiteral("version"));
    }();
    if (textOnly) {
        QCoreApplication core(argc, argv);
        installTranslations(ours, qts);
        Options options;
        options.parser.parse(arguments);
        if (options.parser.isSet(QStringLiteral("version"))) {
            std::fputs(qPrintable(versionText()), stdout);
            return 0;
        }
        if (!options.parser.isSet(QStringLiteral("help-all")))
            options.parser.showHelp(0);
        options.parser.process(core); // --help-all, with the options Qt takes
    }

    QApplication app(argc, argv);
    installTranslations(ours, qts);
    // The desktop file names the program's icon and menu entry; the window icon is built in.
    QApplication::setDesktopFileName(QStringLiteral("com.quintrel.QNCF"));
    QIcon icon;
    for (const QFileInfo &size : QDir(QStringLiteral(":/icons")).entryInfoList())
        icon.addFile(size.filePath());
    QApplication::setWindowIcon(icon);
    // Windows come and go as the user moves through the program; only Exit and the start
    // window end it.
    app.setQuitOnLastWindowClosed(false);

    Options options;
    options.parser.process(app);

    ProgramParts<QtPrompts> program;
    if (options.parser.isSet(options.trace)) {
        QString why;
        if (!program.comm.startTrace(options.parser.value(options.trace), &why)) {
            std::fprintf(stderr, "qncf: %s\n", qPrintable(why));
            return 2;
        }
    }
    if (const QStringList files = options.parser.positionalArguments(); !files.isEmpty())
        startWithFile(program.context, files.front());
    else
        program.forms.show(QStringLiteral("Welcome"));
    return app.exec();
}
