// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/exchange.h"

#include <QTimer>

#include <functional>

class ModComm;
struct Session;

// Wires one exchange engine to the session's port and the runner's own time-out timer: what
// the engine sends is written, what arrives is read and fed to it, and the timer ends its
// wait. Everything is driven by readyRead and the timer; nothing polls. The runner owns
// everything the wait needs, so whoever started it may go away in the middle, and keeps the
// link state of its exchanges for whoever asks afterwards.
class ExchangeRunner : public QObject
{
    Q_OBJECT

public:
    ExchangeRunner(Session &session, ModComm &comm, QObject *parent = nullptr);

    // Runs engine: connects it, calls start (which sends the request and sets the engine's
    // time-out), starts the timer at that time-out (or the override), then feeds it what is
    // already waiting.
    void run(ExchangeEngine &engine, const std::function<void()> &start);
    // Stops feeding the current engine and stops the timer.
    void stop();

    // For tests: every time-out becomes this many ms (0 keeps the real intervals).
    void setTimeoutOverride(int ms) { m_timeoutOverride = ms; }

    // The result of the last write or read: a byte count, or -1.
    int commStatus() const { return m_CommStatus; }
    // The port's error line where a write failed or the port was lost; kept until the next.
    const QString &commErrorText() const { return m_CommErrorText; }
    // True from run() until the timer ends the wait; an exchange that ended by its reply
    // leaves it true.
    bool timeoutFlag() const { return m_TimeoutFlag; }

Q_SIGNALS:
    void lineLost(const QString &errorLine);

private:
    void pump();

    Session &m_session;
    ModComm &m_comm;
    QTimer m_timer{this}; // tmrTIMEOUT
    ExchangeEngine *m_engine = nullptr;
    QList<QMetaObject::Connection> m_connections;
    int m_timeoutOverride = 0;
    int m_CommStatus = 0;
    QString m_CommErrorText;
    bool m_TimeoutFlag = false;
};
