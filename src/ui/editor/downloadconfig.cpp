// SPDX-License-Identifier: GPL-3.0-or-later
#include "downloadconfig.h"

#include "frame/appcontext.h"
#include "transfer/transfers.h"

#include <QLabel>
#include <QWidget>

DownloadConfig::DownloadConfig(AppContext &ctx, QWidget &form, QLabel *statusLine,
                               const QList<QWidget *> &buttons)
    : QObject(&form)
    , m_status(statusLine)
    , m_buttons(buttons)
    , m_transfer(new DownloadTransfer(ctx.link, this))
{
    connect(m_transfer, &DownloadTransfer::status, this, [this](const QString &text) {
        m_status->setText(text);
        Q_EMIT status(text);
    });
    connect(m_transfer, &DownloadTransfer::finished, this, [this](ExchangeOutcome outcome) {
        // Also after a port that would not open, so the user is never stuck on this screen.
        enableButtons(true);
        Q_EMIT finished(outcome);
    });
}

DownloadConfig::~DownloadConfig()
{
    abort();
}

void DownloadConfig::enableButtons(bool enabled)
{
    for (QWidget *b : std::as_const(m_buttons))
        b->setEnabled(enabled);
}

void DownloadConfig::start()
{
    // Nothing on the screen may unload it or start another transfer meanwhile.
    enableButtons(false);
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
