#include "frame/qtprompts.h"
#include "programparts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qncf"));
    // The program's own texts in the user's language, where a translation into it is built in
    // (:/i18n/qncf_<lang>.qm), and only then Qt's own (its dialogs' buttons) to match. The forms'
    // fixed captions are never translated: their .ui files mark them notr.
    QTranslator ours, qts;
    if (ours.load(QLocale::system(), QStringLiteral("qncf"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(&ours);
        if (qts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qts);
    }
    // The desktop file names the program's icon and menu entry; the window icon is built in.
    QApplication::setDesktopFileName(QStringLiteral("com.quintrel.QNCF"));
    QIcon icon;
    for (const QFileInfo &size : QDir(QStringLiteral(":/icons")).entryInfoList())
        icon.addFile(size.filePath());
    QApplication::setWindowIcon(icon);
    // Windows come and go as the user moves through the program; only Exit and the start
    // window end it.
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Configures Quintrel freestanding converters."));
    parser.addHelpOption();
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        //: FILE is the option's value, as --help shows it
        QCoreApplication::translate("main", "Log every byte each way on the serial port to FILE."),
        QStringLiteral("FILE"));
    parser.addOption(traceOption);
    parser.process(app);

    ProgramParts<QtPrompts> program;
    if (parser.isSet(traceOption)) {
        QString why;
        if (!program.comm.startTrace(parser.value(traceOption), &why)) {
            std::fprintf(stderr, "qncf: %s\n", qPrintable(why));
            return 2;
        }
    }
    program.forms.show(QStringLiteral("Welcome"));
    return app.exec();
}
