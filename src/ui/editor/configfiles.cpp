// SPDX-License-Identifier: GPL-3.0-or-later
#include "configfiles.h"

#include "editor/defaults.h"
#include "editor/loader.h"
#include "editor/main4000.h"
#include "files/configfile.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/manual.h"
#include "prompts/prompts.h"
#include "session/session.h"

#include <QAction>
#include <QCoreApplication>

bool Save_THE_File(AppContext &ctx)
{
    const ModelInfo *model = chosenModel(ctx.session, ctx.prompts);
    if (!model)
        return false;
    const QString path = chooseConfigurationFile(ctx.session, ctx.prompts, true);
    if (path.isEmpty())
        return false;
    const FileResult r = SaveConfigFile(path, ctx.session.rec, *model);
    if (!r.ok) {
        ctx.prompts.message(r.error,
                            QCoreApplication::translate("configfiles", "!Error! Configuration Not Saved"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    noteWhatTheFileLacks(ctx.session, ctx.prompts, FileUse::Saved, path);
    return true;
}

bool loadConfigurationFile(AppContext &ctx, const QString &path)
{
    if (!readConfigurationFile(ctx.session, ctx.prompts, path))
        return false;
    tellRefusedValues(ctx.prompts, path, ApplyLoadedConfiguration(ctx));
    return true;
}

UploadSaved saveUploadedConfiguration(AppContext &ctx, const QByteArray &firstReply,
                                      const QByteArray &secondReply)
{
    return saveUploadedConfiguration(
        ctx.session, ctx.prompts, firstReply, secondReply,
        [&ctx](const QString &path) { return loadConfigurationFile(ctx, path); });
}

bool openConfigurationFile(AppContext &ctx, QString *path)
{
    const QString chosen = chooseConfigurationFile(ctx.session, ctx.prompts, false);
    if (path)
        *path = chosen;
    if (chosen.isEmpty())
        return false;
    return loadConfigurationFile(ctx, chosen);
}

void restoreDefaultConfiguration(AppContext &ctx)
{
    UpdateParameters(ctx);
    if (auto *main = ctx.forms.form<main4000>(QStringLiteral("main4000")))
        main->selectMode(main4000::Mode::KF2NGD);
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
    QObject::connect(form.action(QStringLiteral("help_manual")), &QAction::triggered, &form,
                     [c, &form] { openManual(c->prompts, form.objectName()); });
}
