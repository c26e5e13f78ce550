#include "downloadconfig.h"

#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "transfer/transfers.h"

#include <QLabel>
#include <QWidget>

DownloadConfig::DownloadConfig(AppContext &ctx, QWidget &form)
    : QObject(&form)
    , m_forms(ctx.forms)
    , m_form(form)
    , m_transfer(new DownloadTransfer(ctx.link, this))
{
    connect(m_transfer, &DownloadTransfer::status, this, [this](const QString &text) {
        if (auto *l = qobject_cast<QLabel *>(control(QStringLiteral("lblStatus"))))
            l->setText(text);
        Q_EMIT status(text);
    });
    connect(m_transfer, &DownloadTransfer::finished, this, [this](ExchangeOutcome outcome) {
        setEnabled("Command1", true);
        setEnabled("cmdPrintConf", true);
        setEnabled("cmdDOWNLOAD", true);
        // Also after a port that would not open, so the user is never stuck on this screen.
        setEnabled("cmdExit", true);
        Q_EMIT finished(outcome);
    });
}

DownloadConfig::~DownloadConfig()
{
    abort();
}

QWidget *DownloadConfig::control(const QString &name)
{
    return CrossForm(m_forms).anyCase(m_form, name);
}

void DownloadConfig::setEnabled(const char *name, bool enabled)
{
    if (QWidget *w = control(QLatin1String(name)))
        w->setEnabled(enabled);
}

void DownloadConfig::start()
{
    // Nothing on the screen may unload it or start another transfer meanwhile.
    for (const char *b : {"Command1", "cmdPrintConf", "cmdDOWNLOAD", "cmdExit"})
        setEnabled(b, false);
    m_transfer->start();
}

bool DownloadConfig::isRunning() const
{
    return m_transfer->isRunning();
}

void DownloadConfig::abort()
{
    m_transfer->abort();
}

void DownloadConfig::setTimeoutOverride(int ms)
{
    m_transfer->runner().setTimeoutOverride(ms);
}
