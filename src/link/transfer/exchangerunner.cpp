// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangerunner.h"

#include "serial/modcomm.h"
#include "session/session.h"

ExchangeRunner::ExchangeRunner(Session &session, ModComm &comm, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_comm(comm)
{
    m_timer.setObjectName(QStringLiteral("tmrTIMEOUT"));
}

void ExchangeRunner::run(ExchangeEngine &engine, const std::function<void()> &start)
{
    stop();
    m_engine = &engine;
    m_connections << connect(&engine, &ExchangeEngine::send, this, [this](const QByteArray &bytes) {
        m_CommStatus = m_comm.CommWrite(m_session.PortNumber, bytes);
        if (m_CommStatus < 0 && m_engine) {
            m_CommErrorText = m_comm.lastError().line();
            m_engine->lineLost();
        }
    });
    m_connections << connect(&engine, &ExchangeEngine::finished, this, [this] { stop(); });
    m_connections << connect(&m_comm, &ModComm::readyRead, this, [this](int port) {
        if (port == m_session.PortNumber)
            pump();
    });
    m_connections << connect(&m_comm, &ModComm::portLost, this, [this](int port, const QString &line) {
        if (port != m_session.PortNumber || !m_engine)
            return;
        m_CommErrorText = line;
        ExchangeEngine *engine = m_engine;
        Q_EMIT lineLost(line);
        engine->lineLost();
    });
    m_connections << connect(&m_timer, &QTimer::timeout, this, [this] {
        m_timer.stop();
        m_TimeoutFlag = false;
        if (m_engine)
            m_engine->timeout();
    });

    m_TimeoutFlag = true;
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5% early
    start();
    if (m_engine != &engine || !engine.isRunning())
        return; // the request could not be written
    // Only now has the engine chosen this exchange's interval; before start() it still
    // reports the previous exchange's.
    m_timer.start(m_timeoutOverride > 0 ? m_timeoutOverride : engine.timeoutMs());
    pump(); // a reply may already be waiting (a unit that speaks unasked)
}

void ExchangeRunner::stop()
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_engine = nullptr;
    m_timer.stop();
}

void ExchangeRunner::pump()
{
    if (!m_engine)
        return;
    QByteArray data;
    const int n = m_comm.CommRead(m_session.PortNumber, data, 0);
    m_CommStatus = n;
    if (n > 0)
        m_engine->receive(data);
}
