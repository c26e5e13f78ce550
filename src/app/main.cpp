#include "frame/qtprompts.h"
#include "programparts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qncf"));
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
    parser.setApplicationDescription(QStringLiteral("Configures Quintrel freestanding converters."));
    parser.addHelpOption();
    const QCommandLineOption traceOption(
        QStringLiteral("trace"), QStringLiteral("Log every byte each way on the serial port to FILE."),
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
