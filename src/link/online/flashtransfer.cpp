// SPDX-License-Identifier: GPL-3.0-or-later
#include "flashtransfer.h"

#include "serial/modcomm.h"
#include "session/session.h"

FlashTransfer::FlashTransfer(Session &session, ModComm &comm, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_comm(comm)
{
    connect(&m_comm, &ModComm::portLost, this, [this](int port, const QString &line) {
        if (m_running && port == m_session.PortNumber) {
            m_CommErrorText = line;
            end(line);
        }
    });
}

void FlashTransfer::start(const QByteArray &file)
{
    if (m_running)
        return;
    m_plan.emplace(file);
    m_running = true;
    m_StopRequest = false;
    sendNext();
}

void FlashTransfer::cancel()
{
    m_StopRequest = true;
    if (m_running)
        end(QString());
}

void FlashTransfer::sendNext()
{
    if (!m_running)
        return;
    if (m_StopRequest || m_plan->atEnd()) {
        end(QString());
        return;
    }
    const QByteArray block = m_plan->nextBlock();
    m_CommStatus = m_comm.CommWrite(m_session.PortNumber, block);
    if (m_CommStatus < 0) {
        m_CommErrorText = m_comm.lastError().line();
        end(m_CommErrorText);
        return;
    }
    Q_EMIT progressed(m_plan->blocksSent(), m_plan->percent());
    if (!m_running)
        return; // the progress report led to a cancel
    if (m_plan->atEnd()) {
        end(QString());
        return;
    }
    delete m_wait;
    m_wait = new QObject(this);
    m_comm.whenQueuedAtMost(m_session.PortNumber, FlashPlan::BlockSize, m_wait, [this](bool ok) {
        delete m_wait;
        if (ok) {
            sendNext();
        } else if (m_running) {
            m_CommErrorText = m_comm.lastError().line();
            end(m_CommErrorText);
        }
    });
}

void FlashTransfer::end(const QString &error)
{
    if (!m_running)
        return;
    m_running = false;
    delete m_wait;
    m_StopRequest = true;
    // The closing line feed, after whatever is still on its way.
    if (m_comm.isOpen(m_session.PortNumber))
        m_comm.CommWrite(m_session.PortNumber, QByteArray(1, FlashPlan::Closing));
    Q_EMIT finished(error.isEmpty() && m_plan->atEnd(), error);
}
