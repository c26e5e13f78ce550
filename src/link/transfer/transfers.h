// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/exchange.h"
#include "transfer/exchangerunner.h"

#include <QObject>
#include <QString>

class DeviceLink;
struct ModelInfo;

// A whole download: the configuration-mode prompt, the message, the wait for the
// acknowledge, the message boxes of each outcome, and the port closed at the end.
class DownloadTransfer : public QObject
{
    Q_OBJECT

public:
    explicit DownloadTransfer(DeviceLink &link, QObject *parent = nullptr);

    void start();
    bool isRunning() const { return m_running; }
    // Ends a running transfer at once (its window is closing): the port is closed.
    void abort();
    ExchangeRunner &runner() { return m_runner; }

Q_SIGNALS:
    void status(const QString &text);
    void finished(ExchangeOutcome outcome);

private:
    void done(ExchangeOutcome outcome);
    void acknowledged(bool sent);

    DeviceLink &m_link;
    DownloadExchange m_exchange;
    ExchangeRunner m_runner;
    bool m_running = false;
};

// A whole upload: the prompt, "TEE" and its reply, and for the LBW models "TEM", for the
// RIO adapter models the unit's unasked second reply. It ends with the port closed and, on
// success, every reply the configuration file is written from.
class UploadTransfer : public QObject
{
    Q_OBJECT

public:
    explicit UploadTransfer(DeviceLink &link, QObject *parent = nullptr);

    // The model decides the reply length and what follows the first reply.
    void start(const ModelInfo &model);
    bool isRunning() const { return m_running; }
    void abort();
    ExchangeRunner &runner() { return m_runner; }

    const QByteArray &firstReply() const { return m_first; }
    const QByteArray &secondReply() const { return m_second; } // LBW and RIO adapter models

Q_SIGNALS:
    void status(const QString &text);
    void finished(ExchangeOutcome outcome);

private:
    void firstDone(ExchangeOutcome outcome);
    void secondDone(ExchangeOutcome outcome);
    void fail(ExchangeOutcome outcome);
    void done();

    DeviceLink &m_link;
    UploadExchange m_exchange;
    ExchangeRunner m_runner;
    const ModelInfo *m_model = nullptr;
    QByteArray m_first;
    QByteArray m_second;
    bool m_running = false;
    bool m_secondStage = false;
};
