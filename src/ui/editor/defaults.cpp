// The operating parameters of a fresh configuration, as the main menu resets them.

#include "defaults.h"

#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "session/session.h"

void UpdateParameters(AppContext &ctx)
{
    CrossForm r(ctx.forms);
    const QString main = QStringLiteral("main4000");
    r.showText(main, QStringLiteral("cboNetworkSpeed"), QStringLiteral("57.6"));
    r.showText(main, QStringLiteral("cboAsyncSpeed"), QStringLiteral("9600"));
    r.setText(main, QStringLiteral("lblKbaud2"), QStringLiteral("Baud"));
    r.showText(main, QStringLiteral("cboStationNumber"), QStringLiteral("1"));
    r.showText(main, QStringLiteral("cboHighAddress"), QStringLiteral("2"));

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
