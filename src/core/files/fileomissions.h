// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"

#include <QString>

// A few models hold settings their configuration file has no place for (the file format is
// fixed). Whoever writes or sends such a file says so once, with what stands in their place.
enum class FileUse {
    Saved,    // the configuration saved to the file
    Uploaded, // a unit's configuration saved to the file and read back
    Sent,     // the file opened and downloaded
};

// The note for the user, naming the file at path; empty for a model whose file holds its
// whole configuration. rec is the configuration as the program holds it now.
QString fileOmissionNote(const ModelInfo &model, const ConfigRecord &rec, FileUse use, const QString &path);

// What the model's file has no place for, taken from held (the configuration the program holds
// now) into rec: a file opened or sent gives those settings as the program holds them.
void keepWhatTheFileOmits(const ModelInfo &model, const ConfigRecord &held, ConfigRecord &rec);
