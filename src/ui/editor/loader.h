// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/loadedvalues.h"

#include <QList>

struct AppContext;

// Turns the values the file reader left in the loaded-values table into the working
// configuration: the record is the core's apply step's (the file on the model's fresh
// configuration, with what the file cannot hold kept), and the main form and the dialogs are
// laid out for it and show it. Returns the values the forms cannot show: the record holds what
// the forms show instead.
QList<RefusedValue> ApplyLoadedConfiguration(AppContext &ctx);
