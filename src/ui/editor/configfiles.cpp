#include "configfiles.h"

#include "editor/defaults.h"
#include "editor/loader.h"
#include "editor/main4000.h"
#include "files/configfile.h"
#include "files/layoutcheck.h"
#include "files/localfile.h"
#include "files/uploadfile.h"
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
    noteWhatTheFileLacks(ctx, FileUse::Saved, path);
    return true;
}

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

QString anotherModelsFileTitle()
{
    return QCoreApplication::translate("configfiles", "Configuration File of Another Model?");
}

bool readConfigurationFile(AppContext &ctx, const QString &path)
{
    const ModelInfo *model = chosenModel(ctx);
    if (!model)
        return false;
    const auto refuse = [&](const QString &why) {
        ctx.prompts.message(why,
                            QCoreApplication::translate("configfiles", "!Error! Configuration File Not Read"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    };
    QByteArray data;
    if (const FileResult r = readRegularFile(path, MaxConfigFileBytes, &data); !r.ok)
        return refuse(r.error);

    // A file of another model would be read as this one's and applied as nonsense.
    const LayoutCheck check = checkFileLayout(data, *model);
    if (check.verdict == LayoutCheck::Verdict::NotWholePasses) {
        // The reader refuses such a file whatever the answer, so say why instead of asking.
        //: %1 is the file, %2 the model code
        return refuse(QCoreApplication::translate("configfiles", "%1 cannot be read as a %2 configuration.")
                          .arg(shownName(path), model->code) +
                      QLatin1Char(' ') + check.explanation(*model));
    }
    if (!check.fits()) {
        // No is the default: a careless Enter must not apply another model's values, and a No
        // loses nothing (the file can be opened again).
        const Prompts::Answer a = ctx.prompts.message(
            check.explanation(*model) + QLatin1Char(' ') +
                QCoreApplication::translate("configfiles", "Open it anyway?"),
            anotherModelsFileTitle(), Prompts::Buttons::YesNoDefaultNo, Prompts::Icon::Exclamation);
        if (a != Prompts::Yes)
            return false;
    }

    if (const FileResult r = ReadConfigRecords(data, *model, ctx.session.loaded, path); !r.ok)
        return refuse(r.error);
    return true;
}

bool loadConfigurationFile(AppContext &ctx, const QString &path)
{
    if (!readConfigurationFile(ctx, path))
        return false;
    tellRefusedValues(ctx, path, ApplyLoadedConfiguration(ctx));
    return true;
}

void noteWhatTheFileLacks(AppContext &ctx, FileUse use, const QString &path)
{
    if (!ctx.session.model)
        return;
    const QString note = fileOmissionNote(*ctx.session.model, ctx.session.rec, use, path);
    if (!note.isEmpty())
        ctx.prompts.message(note, QCoreApplication::translate("configfiles", "Not in the Configuration File"),
                            Prompts::Buttons::Ok, Prompts::Icon::Information);
}

UploadSaved saveUploadedConfiguration(AppContext &ctx, const QByteArray &firstReply,
                                      const QByteArray &secondReply)
{
    // The texts are the upload screen's, where the user reads them.
    const ModelInfo &model = *ctx.session.model;
    QByteArray bytes;
    const FileResult built = uploadFileBytes(firstReply, secondReply, model, &bytes);
    if (!built.ok) {
        ctx.prompts.message(built.error,
                            QCoreApplication::translate("upload", "!Error! Configuration Not Saved"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return {false, QStringLiteral("!Error!Invalid Upload Message Received! Upload Again!")};
    }
    const QString path = chooseConfigurationFile(ctx, true);
    if (path.isEmpty())
        return {false, QStringLiteral("!Error!Invalid Filename Selected! Upload Again!")};
    const FileResult saved = saveFileAtomically(path, bytes);
    if (!saved.ok) {
        ctx.prompts.message(saved.error,
                            QCoreApplication::translate("upload", "!Error! Configuration Not Saved"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return {false, QCoreApplication::translate("upload",
                                                   "!Error!Configuration File Not Written! Upload Again!")};
    }
    if (!loadConfigurationFile(ctx, path))
        return {false,
                QCoreApplication::translate("upload", "!Error!Uploaded File Cannot Be Read! Upload Again!")};
    noteWhatTheFileLacks(ctx, FileUse::Uploaded, path);
    return {true, QStringLiteral("A-OK! Success - Upload complete.")};
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
