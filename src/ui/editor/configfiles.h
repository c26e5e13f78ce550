// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/fileflow.h"

#include <QString>

struct AppContext;
class main4000;

// The configuration file operations behind the main form's configuration menu, the main menu's
// "Configure/Open File" and the download and upload screens: the steps that talk to the user
// are the core's (files/fileflow.h); these put the result into the editor.

// Asks for a file name (confirming before an existing file is replaced) and saves the
// configuration. A cancelled dialog writes nothing; a failed save is reported and leaves any
// old file as it was. Returns whether a file was written (and said what it lacks).
bool Save_THE_File(AppContext &ctx);

// Asks for a file, reads it and applies it to the forms. A cancelled dialog changes nothing; a
// file that cannot be opened or read is reported by name and the configuration stays as it was.
// Returns whether a configuration was applied; path receives the file chosen.
bool openConfigurationFile(AppContext &ctx, QString *path = nullptr);

// Reads a named file (readConfigurationFile) and applies it to the forms, then tells the
// values they could not show.
bool loadConfigurationFile(AppContext &ctx, const QString &path);

// An upload's replies saved to the file the user names and opened in the editor.
UploadSaved saveUploadedConfiguration(AppContext &ctx, const QByteArray &firstReply,
                                      const QByteArray &secondReply);

// Back to the defaults of a fresh configuration, with the standard layout selected.
void restoreDefaultConfiguration(AppContext &ctx);

// Connects the main form's configuration menu (save, open, defaults) to the operations above.
void connectConfigurationMenu(AppContext &ctx, main4000 &form);
