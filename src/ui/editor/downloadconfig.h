#pragma once

#include "transfer/exchange.h"

#include <QObject>
#include <QPointer>

class DownloadTransfer;
class FormRegistry;
class QWidget;
struct AppContext;

// The download as a screen runs it: the form's status line follows the transfer, and its
// buttons (Command1, cmdPrintConf, cmdDOWNLOAD, cmdExit, matched without regard to case) are
// disabled while it runs and enabled again at the end. The transfer owns its timer.
class DownloadConfig : public QObject
{
    Q_OBJECT

public:
    DownloadConfig(AppContext &ctx, QWidget &form);
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
    // A control of the form, its name matched without regard to case.
    QWidget *control(const QString &name);
    void setEnabled(const char *name, bool enabled);

    FormRegistry &m_forms;
    QWidget &m_form;
    DownloadTransfer *m_transfer;
};
