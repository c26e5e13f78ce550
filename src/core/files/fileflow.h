// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/fileomissions.h"
#include "files/loadedvalues.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class Prompts;
struct Session;

// The configuration file steps that talk to the user, shared by the windows and the command
// line: which file, whether a file of another model is wanted, what a file could not give or
// cannot hold. Each file goes with the model chosen in the session; without one, the user is
// told to choose it first.

// The dialog request every configuration file dialog uses.
struct FileDialogDefaults
{
    static QString filter() { return QStringLiteral("Quintrel Configuration Files (*.QNC)|*.QNC"); }
    static QString title() { return QStringLiteral("Quintrel Configuration Files"); }
};

// The session's model; without one the user is told to choose it first (a file's layout
// depends on the model: there is none to read or write without one).
const ModelInfo *chosenModel(const Session &session, Prompts &prompts);

// Asks for a configuration file to open or save (confirming before an existing file is
// replaced), in the folder of the last one chosen in this run, and remembers its folder.
// Empty when the user cancelled.
QString chooseConfigurationFile(Session &session, Prompts &prompts, bool save);

// Reads a named file into the session's loaded values; nothing is applied. A file that cannot
// be read is reported by name. A file that does not fit the model's layout is refused when
// the reader cannot take it, and otherwise read only if the user answers Yes to a question
// titled anotherModelsFileTitle().
bool readConfigurationFile(Session &session, Prompts &prompts, const QString &path);
QString anotherModelsFileTitle();

// A file named before any model is chosen (opened from the desktop): the models whose layout
// it fits, in catalog order. Empty, after telling the user why in the reader's words, for a
// file that cannot be read or fits no model.
QList<const ModelInfo *> modelsForFile(Prompts &prompts, const QString &path);

// Once, after a whole file is applied: each value the screens could not show, by its line.
void tellRefusedValues(Prompts &prompts, const QString &path, const QList<RefusedValue> &refused);

// Tells the user, once for a file written or sent, what the model's file has no place for and
// what stands in for it (an information box); nothing for the other models.
void noteWhatTheFileLacks(const Session &session, Prompts &prompts, FileUse use, const QString &path);

// What an upload's replies become once the whole configuration has arrived: the file the user
// names, written all at once, opened with openSaved (so whoever shows the configuration shows
// what the unit holds), and the note of what the file lacks. A failure is reported in a box
// where it needs one; status is the line for the upload screen either way.
struct UploadSaved
{
    bool ok = false;
    QString status;
};
UploadSaved saveUploadedConfiguration(Session &session, Prompts &prompts, const QByteArray &firstReply,
                                      const QByteArray &secondReply,
                                      const std::function<bool(const QString &path)> &openSaved);

// The question choosing a first-generation bridge asks: Yes for one without flash (the
// shorter upload).
bool askWhetherOldNgd(Prompts &prompts);
