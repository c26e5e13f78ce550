// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the manual's pictures: each form as the program shows it, offscreen, one PNG each,
// so the manual never shows a screen the program no longer has.
// Usage: qncf-manual-shots OUTPUT-FOLDER

#include "programparts.h"
#include "prompts/prompts.h"
#include "shell/model_freestand.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <cstdio>

namespace {

// Nobody is there to answer: every question gets the answer that changes nothing.
struct NoOnePrompts : Prompts
{
    Answer message(const QString &, const QString &, Buttons buttons, Icon) override
    {
        switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo:
            return No;
        case Buttons::OkCancel:
            return Cancel;
        default:
            return Ok;
        }
    }
    QString openFile(const FileRequest &) override { return {}; }
    QString saveFile(const FileRequest &) override { return {}; }
};

// Which model each form is pictured for: one that uses it.
struct Shot
{
    const char *form;
    const char *model; // nullptr: before any model is chosen
};
const Shot Shots[] = {
    {"Welcome", nullptr},
    {"about", nullptr},
    {"model_freestand", nullptr},
    {"Welcome1", "QN4000-NGD"},
    {"main4000", "QN4000-NGD"},
    {"paramConfigB", "QN4000-NGD"},
    {"paramConfigC", "QN4000-F7H"},
    {"df_Param", "QN4000-NGD"},
    {"view", "QN4000-NGD"},
    {"modbus_prot", "QN4000-LBW"},
    {"siemens_param", "QN4000-WOLTA"},
    {"toshiba_VFD", "QN4000-EPV4"},
    {"toshiba_Super2E", "QN4000-EPV4"},
    {"YZE_DataTable", "QN4000-YZE"},
    {"VR58_DataTable", "QN4000-QOF"},
    {"rio_bt", "QN4000-UCT"},
    {"download", "QN4000-NGD"},
    {"upload", "QN4000-NGD"},
    {"monitor", "QN4000-NGD"},
    {"DHPDiag", "QN4000-NGD"},
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qncf-manual-shots OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "qncf-manual-shots: cannot make %s\n", argv[1]);
        return 1;
    }
    int failed = 0;
    for (const Shot &shot : Shots) {
        // A fresh program for each picture, as a user meets the form.
        ProgramParts<NoOnePrompts> program;
        const QString form = QLatin1String(shot.form);
        if (!program.forms.isDefined(form)) {
            std::fprintf(stderr, "qncf-manual-shots: the program has no form %s\n", shot.form);
            ++failed;
            continue;
        }
        if (shot.model)
            program.forms.form<model_freestand>(QStringLiteral("model_freestand"))
                ->chooseModel(QLatin1String(shot.model));
        program.forms.show(form);
        QWidget *w = program.forms.existing(form);
        QApplication::processEvents();
        const QString file = out.filePath(form + QStringLiteral(".png"));
        if (!w || !w->grab().save(file)) {
            std::fprintf(stderr, "qncf-manual-shots: %s could not be pictured\n", shot.form);
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
