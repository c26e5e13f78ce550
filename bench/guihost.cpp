// qncf-bench-gui: the program as qncf builds it (the same session, port layer, forms and
// registry), walked by clicking its buttons to the screen a figure is taken at, where it then
// sits like a program nobody touches. The bench reads its memory and CPU time from outside.
//
//   qncf-bench-gui start|main [MODEL]
//
// "main" is the main form with COM1 chosen (QNCF_COM1 names the device; the port test must
// pass). Prints "ready" on standard output once the screen is on the display; ends when
// standard input closes.

#include "config/modelcatalog.h"
#include "formcatalog.h"
#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/devicelink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace {

// A user who opens no file and answers every question with No (or OK where that is all
// there is). Each prompt is logged, so a screen that asked something new shows in the output.
class UserWhoSaysNo : public Prompts
{
public:
    Answer message(const QString &text, const QString &, Buttons buttons, Icon) override
    {
        std::fprintf(stderr, "qncf-bench-gui: prompt: %s\n", qPrintable(text));
        return buttons == Buttons::YesNo ? No : buttons == Buttons::OkCancel ? Cancel : Ok;
    }
    QString openFile(const FileRequest &) override { return {}; }
    QString saveFile(const FileRequest &) override { return {}; }
};

struct Program
{
    Program() : printer(prompts)
    {
        forms.setContext(&context);
        defineForms(forms);
    }
    ~Program() { forms.destroyAll(); }

    void click(const char *form, const char *button)
    {
        QAbstractButton *b = CrossForm(forms).button(QLatin1String(form), QLatin1String(button));
        if (!b || !b->isEnabled())
            qFatal("qncf-bench-gui: %s.%s cannot be clicked", form, button);
        b->click();
    }

    Session session;
    ModComm comm;
    UserWhoSaysNo prompts;
    DeviceLink link{session, comm, prompts};
    FormRegistry forms;
    QtPrintService printer;
    AppContext context{session, comm, prompts, link, forms, printer};
};

// Start window, model selection, the model's button, COM1 on the main menu, then the editor.
const char *walkTo(Program &p, const QString &state, const ModelInfo &model)
{
    p.forms.show(QStringLiteral("Welcome"));
    if (state == QLatin1String("start"))
        return "Welcome";
    p.click("Welcome", "Command4");
    p.click("model_freestand", qPrintable(model.button));
    p.click("Welcome1", "optCom1");
    if (state == QLatin1String("main")) {
        p.click("Welcome1", "cmdUpdate");
        return "main4000";
    }
    qFatal("qncf-bench-gui: no state %s", qPrintable(state));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qncf"));
    app.setQuitOnLastWindowClosed(false);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: qncf-bench-gui start|main [MODEL]\n");
        return 2;
    }
    const ModelInfo *model = findModel(args.value(2, QStringLiteral("QN4000-PXA")));
    if (!model)
        qFatal("qncf-bench-gui: unknown model");

    Program p;
    const char *target = walkTo(p, args.at(1), *model);
    QWidget *screen = p.forms.existing(QLatin1String(target));
    if (!screen || screen->isHidden())
        qFatal("qncf-bench-gui: %s is not showing", target);

    // Ready once the window is on the display; the check stops then, so that nothing of ours
    // runs while the program idles.
    QTimer exposed;
    QObject::connect(&exposed, &QTimer::timeout, [&] {
        if (screen->windowHandle() && screen->windowHandle()->isExposed()) {
            exposed.stop();
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    exposed.start(10);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            QCoreApplication::quit();
    });
    return app.exec();
}
