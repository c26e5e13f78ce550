// SPDX-License-Identifier: GPL-3.0-or-later
#include "dhpdiagnostics.h"

#include "df1/df1.h"
#include "serial/modcomm.h"
#include "session/session.h"

DhpDiagnostics::DhpDiagnostics(Session &session, ModComm &comm, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_comm(comm)
    , m_runner(session, comm, this)
    , m_exchange(this)
{
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    // Lost in an exchange or in the pause between two: either way it ends what runs.
    connect(&m_comm, &ModComm::portLost, this, [this](int port, const QString &line) {
        if (port == m_session.PortNumber)
            connectionLost(line);
    });
}

void DhpDiagnostics::setTimeoutOverride(int ms)
{
    m_runner.setTimeoutOverride(ms);
    m_pauseMs = ms > 0 ? qMin(ms, PauseMs) : PauseMs;
}

void DhpDiagnostics::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}

QString DhpDiagnostics::connectedText() const
{
    return QStringLiteral("Connected at ") + DetectedBaud + QStringLiteral(" N,8,1") +
           QStringLiteral(" to DH+ Node : ") + QString::number(DiagSource, 8) + QStringLiteral(" Octal");
}

void DhpDiagnostics::autoconfigure()
{
    if (m_busy)
        return;
    m_aborted = false;
    m_connected = false;
    DiagSource = 0;
    setBusy(true);
    probe(0);
}

void DhpDiagnostics::probe(int rate)
{
    const int port = m_session.PortNumber;
    m_comm.CommClose(port);
    m_CommStatus = m_comm.CommOpen(port, QStringLiteral("COM%1").arg(port),
                                   QStringLiteral("baud=%1 parity=N data=8 stop=1").arg(Rates.at(rate)));
    DetectedBaud = Rates.at(rate);
    // Nothing from before the question counts as its answer.
    m_comm.purgeInput(port);
    connect(&m_exchange, &ExchangeEngine::finished, this, [this, rate](ExchangeOutcome outcome) {
        disconnect(&m_exchange, &ExchangeEngine::finished, this, nullptr);
        probed(rate, outcome == ExchangeOutcome::Accepted);
    });
    m_runner.run(m_exchange, [this] { m_exchange.probe(); });
}

void DhpDiagnostics::probed(int rate, bool answered)
{
    if (m_aborted) {
        finishLeaving();
        return;
    }
    if (!answered) {
        if (rate + 1 < int(Rates.size())) {
            probe(rate + 1);
            return;
        }
        Q_EMIT statusChanged(QStringLiteral("Unable to Connect to Quintrel"));
        m_comm.CommClose(m_session.PortNumber);
        setBusy(false);
        Q_EMIT autoconfigureEnded(false);
        return;
    }
    m_CommStatus = m_comm.CommWrite(m_session.PortNumber, TX_ACK);
    statusExchange(AnyNode, [this] {
        if (DiagConnected) {
            Q_EMIT statusChanged(connectedText());
            WorkstationNode = DiagSource;
            m_connected = true;
        } else {
            Q_EMIT statusChanged(QStringLiteral("Unable to Connect, Reset the Quintrel"));
            m_comm.CommClose(m_session.PortNumber);
        }
        setBusy(false);
        Q_EMIT autoconfigureEnded(m_connected);
    });
}

void DhpDiagnostics::statusExchange(quint8 dst, std::function<void()> then)
{
    const QByteArray frame = QuintrelTX_Status(dst, quint8(DiagSource), TNSCounter, TNSCounter);
    connect(&m_exchange, &ExchangeEngine::finished, this,
            [this, then = std::move(then)](ExchangeOutcome outcome) {
                disconnect(&m_exchange, &ExchangeEngine::finished, this, nullptr);
                const Df1StatusReply reply(m_exchange.reply());
                m_RxBuffer.fill(0);
                for (qsizetype k = 0; k < reply.bytes.size(); ++k)
                    m_RxBuffer[size_t(k)] = quint8(reply.bytes.at(k));
                if (outcome == ExchangeOutcome::Accepted && reply.complete()) {
                    if (reply.sts() != 0) {
                        NodeActive = false;
                        DiagSource = reply.dst();
                        DiagConnected = true;
                    } else {
                        NodeActive = true;
                    }
                } else {
                    NodeActive = false;
                    DiagConnected = false;
                }
                if (outcome == ExchangeOutcome::LineLost) {
                    then();
                    return;
                }
                // A short pause, then the rest of the reply goes.
                disconnect(&m_pause, &QTimer::timeout, this, nullptr);
                connect(&m_pause, &QTimer::timeout, this, [this, then] {
                    disconnect(&m_pause, &QTimer::timeout, this, nullptr);
                    m_comm.purgeInput(m_session.PortNumber);
                    then();
                });
                m_pause.start(m_pauseMs);
            });
    m_runner.run(m_exchange, [this, frame] { m_exchange.status(frame); });
}

void DhpDiagnostics::startScan()
{
    if (m_busy || !m_connected)
        return;
    m_aborted = false;
    m_scanning = true;
    m_StopRequest = false;
    setBusy(true);
    scanNode(0);
}

void DhpDiagnostics::scanNode(int node)
{
    if (m_StopRequest || !m_comm.isOpen(m_session.PortNumber)) {
        m_scanning = false;
        setBusy(false);
        Q_EMIT scanEnded();
        if (m_leaving)
            finishLeaving();
        return;
    }
    NodeActive = false;
    Q_EMIT nodeChanged(node, Testing);
    statusExchange(quint8(node), [this, node] {
        Q_EMIT nodeChanged(node, !NodeActive ? Silent : node == WorkstationNode ? Workstation : ActiveNode);
        // Past the last node the scan goes round again until it is stopped.
        scanNode((node + 1) % NodeCount);
    });
}

void DhpDiagnostics::stopScan()
{
    m_StopRequest = true;
}

void DhpDiagnostics::leave(const std::function<void()> &done)
{
    m_leaving = done ? done : [] {};
    if (m_scanning) {
        stopScan();
        return; // the scan ends after its exchange, and leaves then
    }
    if (m_busy) {
        // An autoconfigure ends at once.
        m_aborted = true;
        m_runner.stop();
        m_pause.stop();
        disconnect(&m_exchange, &ExchangeEngine::finished, this, nullptr);
        setBusy(false);
    }
    finishLeaving();
}

void DhpDiagnostics::finishLeaving()
{
    m_comm.CommClose(m_session.PortNumber);
    m_connected = false;
    if (auto done = std::exchange(m_leaving, {}))
        done();
}

void DhpDiagnostics::connectionLost(const QString &line)
{
    // The adapter went: said once, and nothing more is asked of it.
    m_StopRequest = true;
    m_connected = false;
    Q_EMIT statusChanged(line);
}
