// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicelink.h"

#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/exchange.h"
#include "transfer/exchangerunner.h"

DeviceLink::DeviceLink(Session &session, ModComm &comm, Prompts &prompts, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_comm(comm)
    , m_prompts(prompts)
{
}

QString DeviceLink::portName() const
{
    return QStringLiteral("COM%1").arg(m_session.PortNumber);
}

QString DeviceLink::adviceLine(const CommError &error)
{
    const QString advice = error.advice();
    return advice.isEmpty() ? QString() : QStringLiteral("\n") + advice;
}

void DeviceLink::openFailed(const CommError &error)
{
    m_CommStatus = error.code;
    m_CommErrorText = error.line();
}

bool DeviceLink::CheckPort()
{
    m_CommStatus = m_comm.CommOpen(m_session.PortNumber, portName(), PortSettings);
    const bool ok = m_CommStatus == 0;
    if (!ok) {
        const CommError error = m_comm.lastError();
        openFailed(error);
        m_prompts.message(QStringLiteral("COM Error: ") + m_CommErrorText + adviceLine(error), QString(),
                          Prompts::Buttons::Ok, Prompts::Icon::None);
    }
    // The port is not kept open between transfers.
    m_comm.CommClose(m_session.PortNumber);
    return ok;
}

int DeviceLink::OpenDevicePort()
{
    m_CommStatus = m_comm.CommOpen(m_session.PortNumber, portName(), PortSettings);
    if (m_CommStatus != 0) {
        const CommError error = m_comm.lastError();
        openFailed(error);
        m_prompts.message(QStringLiteral("Unable to Open COM PORT to Quintrel!!, COM Error: ") +
                              m_CommErrorText + adviceLine(error),
                          QString(), Prompts::Buttons::Ok, Prompts::Icon::None);
        // A port that failed in its set-up is half open, and one left open by an earlier
        // failure must not block the next transfer: close it in every case.
        closePort();
        return 2;
    }
    const int r = PromptConfigMode();
    if (r != 1) {
        closePort();
        return r;
    }
    setLine();
    return r;
}

int DeviceLink::setLine()
{
    const int set = m_comm.CommSet(m_session.PortNumber, PortSettings);
    // Drops whatever the converter sent while its button was pressed.
    m_comm.CommFlush(m_session.PortNumber);
    QByteArray dropped;
    m_comm.CommRead(m_session.PortNumber, dropped, 300);
    return set;
}

int DeviceLink::PromptConfigMode()
{
    QString title, first, second;
    if (m_session.rec.FamilyCode == QLatin1String("4000")) {
        title = QStringLiteral("Press CFG PUSHBUTTON to Activate Quintrel Module Manager (BIOS)");
        first = QStringLiteral("Press CFG pushbutton on the Quintrel.");
        second = QStringLiteral("CHAN 2 'OUT' AND 'ERR' LEDS SHOULD BE ON !");
    } else if (m_session.rec.FamilyCode == QLatin1String("6000")) {
        title = QStringLiteral("Press Configure PUSHBUTTON to Activate Quintrel Module Manager (BIOS)");
        first = QStringLiteral("Press the Configure pushbutton on the Quintrel.");
        second = QStringLiteral("'CHA' AND 'CHC' LEDS SHOULD BE RED, 'CHB' LED SHOULD BE OFF!");
    } else {
        return 0;
    }
    // Only OK goes on: Cancel, Escape and the close box must never write the unit's memory.
    if (m_prompts.message(first + QStringLiteral("\n\r") + second, title, Prompts::Buttons::OkCancel,
                          Prompts::Icon::Exclamation) != Prompts::Ok)
        return 0;
    return 1;
}

void DeviceLink::ReceiveReply(int timeoutMs, int n, std::function<void(const QByteArray &)> done)
{
    auto *engine = new CountExchange(this);
    auto *runner = new ExchangeRunner(m_session, m_comm, this);
    const int interval = timeoutMs;
    m_TimeoutFlag = true;
    connect(engine, &ExchangeEngine::finished, this, [this, engine, runner, n, done = std::move(done)] {
        m_TimeoutFlag = runner->timeoutFlag();
        m_CommStatus = runner->commStatus();
        if (!runner->commErrorText().isEmpty())
            m_CommErrorText = runner->commErrorText(); // the port went during the wait
        QByteArray reply = engine->reply();
        if (n == 1 && reply.size() == 1 && reply.at(0) == 0x10)
            reply = QByteArray(1, 0x06);
        engine->deleteLater();
        runner->deleteLater();
        done(reply);
    });
    runner->run(*engine, [engine, n, interval] { engine->start(n, interval); });
}

void DeviceLink::HasAck(const QByteArray &reply)
{
    m_ReplyByte = containsAck(reply);
}

void DeviceLink::SendAck()
{
    m_CommStatus = m_comm.CommWrite(m_session.PortNumber, QByteArray(1, 0x06));
}

void DeviceLink::closePort()
{
    m_comm.CommClose(m_session.PortNumber);
}
