#include "configfiles.h"

#include "editor/defaults.h"
#include "editor/loader.h"
#include "editor/main4000.h"
#include "files/configfile.h"
#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "prompts/prompts.h"
#include "session/session.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// A file's layout depends on the model; there is none to read or write without one.
const ModelInfo *chosenModel(AppContext &ctx)
{
    if (!ctx.session.model)
        ctx.prompts.message(QCoreApplication::translate("configfiles", "Choose the Quintrel model first."),
                            QCoreApplication::translate("configfiles", "!Error! No Model"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
    return ctx.session.model;
}

// Once, after the whole file is applied: each value the forms could not show, by its line.
void tellRefusedValues(AppContext &ctx, const QString &path, const QList<RefusedValue> &refused)
{
    if (refused.isEmpty())
        return;
    ctx.prompts.notes(QCoreApplication::translate("configfiles",
                                                  "%1 holds values that these screens cannot show. They were "
                                                  "not taken: the configuration holds what the screens show.")
                          .arg(QDir::toNativeSeparators(path)),
                      QCoreApplication::translate("configfiles", "Configuration File Values Not Taken"),
                      describeRefusedValues(refused));
}

} // namespace

QString chooseConfigurationFile(AppContext &ctx, bool save)
{
    Prompts::FileRequest request;
    request.title = FileDialogDefaults::title();
    request.filter = FileDialogDefaults::filter();
    request.directory = ctx.session.fileFolder.isEmpty() ? QDir::homePath() : ctx.session.fileFolder;
    request.confirmOverwrite = save;
    const QString path = save ? ctx.prompts.saveFile(request) : ctx.prompts.openFile(request);
    if (!path.isEmpty())
        ctx.session.fileFolder = QFileInfo(path).absolutePath();
    return path;
}

bool Save_THE_File(AppContext &ctx)
{
    const ModelInfo *model = chosenModel(ctx);
    if (!model)
        return false;
    const QString path = chooseConfigurationFile(ctx, true);
    if (path.isEmpty())
        return false;
    const FileResult r = SaveConfigFile(path, ctx.session.rec, *model);
    if (!r.ok) {
        ctx.prompts.message(r.error,
                            QCoreApplication::translate("configfiles", "!Error! Configuration Not Saved"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    return true;
}

bool loadConfigurationFile(AppContext &ctx, const QString &path)
{
    const ModelInfo *model = chosenModel(ctx);
    if (!model)
        return false;
    const FileResult r = ReadConfigFile(path, *model, ctx.session.loaded);
    if (!r.ok) {
        ctx.prompts.message(r.error,
                            QCoreApplication::translate("configfiles", "!Error! Configuration File Not Read"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    tellRefusedValues(ctx, path, ApplyLoadedConfiguration(ctx));
    return true;
}

bool openConfigurationFile(AppContext &ctx, QString *path)
{
    const QString chosen = chooseConfigurationFile(ctx, false);
    if (path)
        *path = chosen;
    if (chosen.isEmpty())
        return false;
    return loadConfigurationFile(ctx, chosen);
}

void restoreDefaultConfiguration(AppContext &ctx)
{
    UpdateParameters(ctx);
    CrossForm(ctx.forms).select(QStringLiteral("main4000"), QStringLiteral("optKF2NGD"));
}

void connectConfigurationMenu(AppContext &ctx, main4000 &form)
{
    AppContext *c = &ctx;
    QObject::connect(form.action(QStringLiteral("save_file")), &QAction::triggered, &form,
                     [c] { Save_THE_File(*c); });
    QObject::connect(form.action(QStringLiteral("open_file")), &QAction::triggered, &form,
                     [c] { openConfigurationFile(*c); });
    QObject::connect(form.action(QStringLiteral("restore_configuration")), &QAction::triggered, &form,
                     [c] { restoreDefaultConfiguration(*c); });
}
