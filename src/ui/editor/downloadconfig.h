// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/exchange.h"

#include <QObject>
#include <QPointer>

#include <QList>

class DownloadTransfer;
class QLabel;
class QWidget;
struct AppContext;

// The download as a screen runs it: the form's status line follows the transfer, and its
// buttons (the print, download, other-file and exit buttons) are disabled while it runs and
// enabled again at the end. The transfer owns its timer.
class DownloadConfig : public QObject
{
    Q_OBJECT

public:
    DownloadConfig(AppContext &ctx, QWidget &form, QLabel *statusLine, const QList<QWidget *> &buttons);
    ~DownloadConfig() override;

    void start();
    bool isRunning() const;
    // The form is closing: the transfer ends at once and the port is closed.
    void abort();
    // For tests: every wait lasts this many ms instead of its real interval.
    void setTimeoutOverride(int ms);

Q_SIGNALS:
    void status(const QString &text);
    void finished(ExchangeOutcome outcome);

private:
    void enableButtons(bool enabled);

    QLabel *m_status;
    QList<QWidget *> m_buttons;
    DownloadTransfer *m_transfer;
};
