// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "online/flashplan.h"

#include <QObject>
#include <QPointer>

#include <optional>

class ModComm;
struct Session;

// Sends a flash system file down the session's open port in its blocks, keeping the line
// busy: the next block is handed over as soon as no more than one block is still to leave,
// so there is no gap between blocks, while a cancel is served before the next one goes.
// However it ends (the whole file, a cancel, a failed write), one line feed follows the last
// block. StopRequest is false only while it runs.
class FlashTransfer : public QObject
{
    Q_OBJECT

public:
    FlashTransfer(Session &session, ModComm &comm, QObject *parent = nullptr);

    void start(const QByteArray &file);
    // Sends no further block; what is already on its way goes, then the line feed.
    void cancel();
    bool isRunning() const { return m_running; }
    const FlashPlan *plan() const { return m_plan ? &*m_plan : nullptr; }
    bool stopRequest() const { return m_StopRequest; }
    // The last block write's result: its byte count, or -1.
    int commStatus() const { return m_CommStatus; }
    // The port's error line of the last transfer that failed.
    const QString &commErrorText() const { return m_CommErrorText; }

Q_SIGNALS:
    void progressed(int blocks, int percent);
    // whole: every block went. error: the port's error line where a write failed or the
    // port was lost, else empty.
    void finished(bool whole, const QString &error);

private:
    void sendNext();
    void end(const QString &error);

    Session &m_session;
    ModComm &m_comm;
    std::optional<FlashPlan> m_plan;
    bool m_running = false;
    bool m_StopRequest = true; // a cancel asks the block loop to stop
    int m_CommStatus = 0;
    QString m_CommErrorText;
    QPointer<QObject> m_wait; // the wait for the queue, dropped to abandon it
};
