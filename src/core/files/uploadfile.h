// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/configfile.h"

// The configuration file written from what a converter sent on an upload: the first reply
// (body byte k at offset 6 + k) gives the fourteen common lines; the parameter lines come from
// it too (WOLTA, JMR, QOF, YZE), or from the second reply: the LBW models' parameter block
// (entry k at offset 24 + k) and the RIO adapters' unasked reply (entries 0..13 at 16..29).
// Lines 11 and 12 are written as numbers, which the reader takes as well as quoted texts.
FileResult uploadFileBytes(const QByteArray &first, const QByteArray &second, const ModelInfo &model,
                           QByteArray *out);
