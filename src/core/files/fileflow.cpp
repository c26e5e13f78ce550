// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileflow.h"

#include "files/configfile.h"
#include "files/layoutcheck.h"
#include "files/localfile.h"
#include "files/uploadfile.h"
#include "prompts/prompts.h"
#include "session/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

const ModelInfo *chosenModel(const Session &session, Prompts &prompts)
{
    if (!session.model)
        prompts.message(QCoreApplication::translate("configfiles", "Choose the Quintrel model first."),
                        QCoreApplication::translate("configfiles", "!Error! No Model"), Prompts::Buttons::Ok,
                        Prompts::Icon::Critical);
    return session.model;
}

QString chooseConfigurationFile(Session &session, Prompts &prompts, bool save)
{
    Prompts::FileRequest request;
    request.title = FileDialogDefaults::title();
    request.filter = FileDialogDefaults::filter();
    request.directory = session.fileFolder.isEmpty() ? QDir::homePath() : session.fileFolder;
    request.confirmOverwrite = save;
    const QString path = save ? prompts.saveFile(request) : prompts.openFile(request);
    if (!path.isEmpty())
        session.fileFolder = QFileInfo(path).absolutePath();
    return path;
}

void tellRefusedValues(Prompts &prompts, const QString &path, const QList<RefusedValue> &refused)
{
    if (refused.isEmpty())
        return;
    prompts.notes(QCoreApplication::translate("configfiles",
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

namespace {

void tellFileNotRead(Prompts &prompts, const QString &why)
{
    prompts.message(why, QCoreApplication::translate("configfiles", "!Error! Configuration File Not Read"),
                    Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

} // namespace

bool readConfigurationFile(Session &session, Prompts &prompts, const QString &path)
{
    const ModelInfo *model = chosenModel(session, prompts);
    if (!model)
        return false;
    const auto refuse = [&](const QString &why) {
        tellFileNotRead(prompts, why);
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
        const Prompts::Answer a = prompts.message(
            check.explanation(*model) + QLatin1Char(' ') +
                QCoreApplication::translate("configfiles", "Open it anyway?"),
            anotherModelsFileTitle(), Prompts::Buttons::YesNoDefaultNo, Prompts::Icon::Exclamation);
        if (a != Prompts::Yes)
            return false;
    }

    if (const FileResult r = ReadConfigRecords(data, *model, session.loaded, path); !r.ok)
        return refuse(r.error);
    return true;
}

QList<const ModelInfo *> modelsForFile(Prompts &prompts, const QString &path)
{
    const auto refuse = [&](const QString &why) {
        tellFileNotRead(prompts, why);
        return QList<const ModelInfo *>();
    };
    QByteArray data;
    if (const FileResult r = readRegularFile(path, MaxConfigFileBytes, &data); !r.ok)
        return refuse(r.error);
    const ModelInfo &any = modelCatalog().front();
    const LayoutCheck check = checkFileLayout(data, any);
    if (!check.fitting.isEmpty())
        return check.fitting;
    if (check.verdict == LayoutCheck::Verdict::Unreadable) {
        // Every model's reader refuses it alike: its reason is the file's fault.
        LoadedValues scratch;
        if (const FileResult r = ReadConfigRecords(data, any, scratch, path); !r.ok)
            return refuse(r.error);
    }
    //: %1 is the file
    return refuse(QCoreApplication::translate(
                      "configfiles", "%1 cannot be read as a configuration: it fits the layout of no model.")
                      .arg(shownName(path)));
}

void noteWhatTheFileLacks(const Session &session, Prompts &prompts, FileUse use, const QString &path)
{
    if (!session.model)
        return;
    const QString note = fileOmissionNote(*session.model, session.rec, use, path);
    if (!note.isEmpty())
        prompts.message(note, QCoreApplication::translate("configfiles", "Not in the Configuration File"),
                        Prompts::Buttons::Ok, Prompts::Icon::Information);
}

UploadSaved saveUploadedConfiguration(Session &session, Prompts &prompts, const QByteArray &firstReply,
                                      const QByteArray &secondReply,
                                      const std::function<bool(const QString &path)> &openSaved)
{
    // The texts are the upload screen's, where the user reads them.
    const ModelInfo &model = *session.model;
    QByteArray bytes;
    const FileResult built = uploadFileBytes(firstReply, secondReply, model, &bytes);
    if (!built.ok) {
        prompts.message(built.error, QCoreApplication::translate("upload", "!Error! Configuration Not Saved"),
                        Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return {false, QStringLiteral("!Error!Invalid Upload Message Received! Upload Again!")};
    }
    const QString path = chooseConfigurationFile(session, prompts, true);
    if (path.isEmpty())
        return {false, QStringLiteral("!Error!Invalid Filename Selected! Upload Again!")};
    const FileResult saved = saveFileAtomically(path, bytes);
    if (!saved.ok) {
        prompts.message(saved.error, QCoreApplication::translate("upload", "!Error! Configuration Not Saved"),
                        Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return {false, QCoreApplication::translate("upload",
                                                   "!Error!Configuration File Not Written! Upload Again!")};
    }
    if (!openSaved(path))
        return {false,
                QCoreApplication::translate("upload", "!Error!Uploaded File Cannot Be Read! Upload Again!")};
    noteWhatTheFileLacks(session, prompts, FileUse::Uploaded, path);
    return {true, QStringLiteral("A-OK! Success - Upload complete.")};
}

bool askWhetherOldNgd(Prompts &prompts)
{
    return prompts.message(QStringLiteral("Is this a non flash QN4000? Model does not have a -F "
                                          "and the serial number is before 3100"),
                           QStringLiteral("!CHECK QN4000 MODEL and SERIAL NUMBER!"), Prompts::Buttons::YesNo,
                           Prompts::Icon::Question) == Prompts::Yes;
}
