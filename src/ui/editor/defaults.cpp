// The operating parameters of a fresh configuration, as the main menu resets them.

#include "defaults.h"

#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "session/session.h"

namespace {
// The options that put a channel dialog back to no parity, 8 data bits, 1 stop bit,
// handshaking ignored (and RS-232C on channel B).
const QStringList channelBDefaults = {"optNone", "opt8", "opt1", "optIgnore", "opt232"};
const QStringList channelCDefaults = {"optNone", "opt8", "opt1", "optIgnore"};
const QStringList df1Defaults = {"optBCC",       "optExecDiag", "optPoint",
                                 "optNoneEmbed", "optIgnore",   "optNoneLoop"};
} // namespace

void UpdateParameters(AppContext &ctx)
{
    CrossForm r(ctx.forms);
    const QString main = QStringLiteral("main4000");
    r.showText(main, QStringLiteral("cboNetworkSpeed"), QStringLiteral("57.6"));
    r.showText(main, QStringLiteral("cboAsyncSpeed"), QStringLiteral("9600"));
    r.setText(main, QStringLiteral("lblKbaud2"), QStringLiteral("Baud"));
    r.showText(main, QStringLiteral("cboStationNumber"), QStringLiteral("1"));
    r.showText(main, QStringLiteral("cboHighAddress"), QStringLiteral("2"));

    for (const QString &o : df1Defaults)
        r.select(QStringLiteral("df_Param"), o);
    Click_CHB_Params(ctx);
    Click_CHC_Params(ctx);

    ctx.session.rec.applyFreshConfiguration();
}

void Click_CHB_Params(AppContext &ctx)
{
    // Off first, so that each handler runs even where its option was already on.
    CrossForm r(ctx.forms);
    for (const QString &o : channelBDefaults)
        r.deselect(QStringLiteral("paramConfigB"), o);
    for (const QString &o : channelBDefaults)
        r.select(QStringLiteral("paramConfigB"), o);
}

void Click_CHC_Params(AppContext &ctx)
{
    CrossForm r(ctx.forms);
    for (const QString &o : channelCDefaults)
        r.deselect(QStringLiteral("paramConfigC"), o);
    for (const QString &o : channelCDefaults)
        r.select(QStringLiteral("paramConfigC"), o);
}
