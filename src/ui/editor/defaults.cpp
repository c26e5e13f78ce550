// SPDX-License-Identifier: GPL-3.0-or-later
// The operating parameters of a fresh configuration, as the main menu resets them.

#include "defaults.h"

#include "editor/main4000.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "session/session.h"

void UpdateParameters(AppContext &ctx)
{
    if (auto *main = ctx.forms.form<main4000>(QStringLiteral("main4000")))
        main->showResetValues();

    // BCC, execute diagnostics, point-to-point, no embedded responses, ignore duplicates, no
    // loopback; the dialogs show the record when they are shown.
    ConfigRecord &rec = ctx.session.rec;
    rec.LinkOptions = IntByte(ClearBit(rec.LinkOptions, LinkFlag::DialogBits));
    Click_CHB_Params(ctx);
    Click_CHC_Params(ctx);

    rec.applyFreshConfiguration();
}

void Click_CHB_Params(AppContext &ctx)
{
    ConfigRecord &rec = ctx.session.rec;
    rec.ChanBFormat = IntByte(ClearBit(rec.ChanBFormat, ChanFlag::Defaulted | ChanFlag::Interface));
}

void Click_CHC_Params(AppContext &ctx)
{
    ConfigRecord &rec = ctx.session.rec;
    rec.ChanCFormat = IntByte(ClearBit(rec.ChanCFormat, ChanFlag::Defaulted));
}
