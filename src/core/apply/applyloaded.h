// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/loadedvalues.h"

#include <QList>

// A loaded configuration file applied to a model's configuration without the windows: the
// record the editor's forms leave when they take the file, and the values they could not show.
struct AppliedConfiguration
{
    ConfigRecord record;
    QList<RefusedValue> refused;
};

// Applies the loaded values to base, the record a fresh configuration of the model starts from
// (what choosing the model leaves). Each value goes where the control that stands for it in
// the model's layout would write it; a value no list or option can show is replaced by the
// fallback that control shows, and listed.
AppliedConfiguration applyLoadedValues(const LoadedValues &values, const ModelInfo &model,
                                       const ConfigRecord &base);

// The record choosing the model leaves: the configuration a file is applied to. A first-generation
// bridge is asked whether it has flash; oldNgd is the answer (no flash, the shorter upload).
ConfigRecord freshConfiguration(const ModelInfo &model, bool oldNgd = false);
