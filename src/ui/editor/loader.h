#pragma once

#include "files/loadedvalues.h"

#include <QList>

struct AppContext;

// Turns the values the file reader left in the loaded-values table into a working
// configuration: some go straight into the record, most by selecting the control on the main
// form or a dialog that stands for them, whose handler then writes the record and the summary
// as a click would. The model selected now decides how the values are read. Returns the values
// the forms cannot show: the record holds what the forms show instead.
QList<RefusedValue> ApplyLoadedConfiguration(AppContext &ctx);
