#pragma once

#include "files/fileomissions.h"
#include "files/loadedvalues.h"

#include <QByteArray>
#include <QString>

struct AppContext;
class main4000;

// The configuration file operations behind the main form's configuration menu, the main menu's
// "Configure/Open File" and the download screen. Each file goes with the model selected now.

// The dialog request all of them use.
struct FileDialogDefaults
{
    static QString filter() { return QStringLiteral("Quintrel Configuration Files (*.QNC)|*.QNC"); }
    static QString title() { return QStringLiteral("Quintrel Configuration Files"); }
};

// Asks for a configuration file to open or save (confirming before an existing file is
// replaced), in the folder of the last one chosen in this run, and remembers its folder.
// Empty when the user cancelled.
QString chooseConfigurationFile(AppContext &ctx, bool save);

// Asks for a file name (confirming before an existing file is replaced) and saves the
// configuration. A cancelled dialog writes nothing; a failed save is reported and leaves any
// old file as it was. Returns whether a file was written (and said what it lacks).
bool Save_THE_File(AppContext &ctx);

// Asks for a file, reads it and applies it to the forms. A cancelled dialog changes nothing; a
// file that cannot be opened or read is reported by name and the configuration stays as it was.
// Returns whether a configuration was applied; path receives the file chosen.
bool openConfigurationFile(AppContext &ctx, QString *path = nullptr);

// Reads a named file and applies it; reports failures as openConfigurationFile does. A file
// that does not fit the model's layout is refused when the reader cannot take it, and
// otherwise applied only if the user answers Yes to a question titled anotherModelsFileTitle().
bool loadConfigurationFile(AppContext &ctx, const QString &path);
QString anotherModelsFileTitle();

// The reading half of loadConfigurationFile: the file's values into the session's loaded
// values, failures and the other model's question as it has them; nothing applied.
bool readConfigurationFile(AppContext &ctx, const QString &path);

// Once, after a whole file is applied: each value the forms could not show, by its line.
void tellRefusedValues(AppContext &ctx, const QString &path, const QList<RefusedValue> &refused);

// Tells the user, once for a file written or sent, what the model's file has no place for and
// what stands in for it (an information box); nothing for the other models.
void noteWhatTheFileLacks(AppContext &ctx, FileUse use, const QString &path);

// What an upload's replies become once the whole configuration has arrived: the file the user
// names, written all at once, read back as an opened file is (so the editor shows what the
// unit holds), and the note of what the file lacks. A failure is reported in a box where it
// needs one; status is the line for the screen either way.
struct UploadSaved
{
    bool ok = false;
    QString status;
};
UploadSaved saveUploadedConfiguration(AppContext &ctx, const QByteArray &firstReply,
                                      const QByteArray &secondReply);

// Back to the defaults of a fresh configuration, with the standard layout selected.
void restoreDefaultConfiguration(AppContext &ctx);

// Connects the main form's configuration menu (save, open, defaults) to the operations above.
void connectConfigurationMenu(AppContext &ctx, main4000 &form);
