// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct AppContext;

// Resets the operating parameters to their defaults: the main form's texts, the DF1 and the
// channel defaults, the summary and the record's fresh-configuration values.
void UpdateParameters(AppContext &ctx);
// The channel B and C defaults: no parity, 8 data bits, 1 stop bit, handshaking ignored (and
// RS-232C on channel B).
void Click_CHB_Params(AppContext &ctx);
void Click_CHC_Params(AppContext &ctx);
