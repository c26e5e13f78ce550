// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange.h"

#include "df1/df1.h"

namespace {
const char Ack = 0x06;
const char Xon = 0x11;
const char Xoff = 0x13;

// Whether the last flow-control byte in the line control after a reply is XOFF.
bool endsHeldOff(QByteArrayView control)
{
    for (qsizetype i = control.size() - 1; i >= 0; --i) {
        if (control.at(i) == Xoff)
            return true;
        if (control.at(i) == Xon)
            return false;
    }
    return false;
}
} // namespace

bool containsAck(const QByteArray &reply)
{
    return reply.contains(Ack);
}

void ExchangeEngine::begin(const QByteArray &request, int expected)
{
    m_reply.clear();
    m_expected = expected;
    m_running = true;
    if (!request.isEmpty())
        Q_EMIT send(request);
}

void ExchangeEngine::finish(ExchangeOutcome outcome)
{
    if (!m_running)
        return;
    m_running = false;
    Q_EMIT finished(outcome);
}

void ExchangeEngine::receive(const QByteArray &bytes)
{
    if (!m_running || bytes.isEmpty())
        return;
    m_reply.append(bytes);
    Q_EMIT progress(int(m_reply.size()), m_expected);
    if (m_reply.size() >= m_expected)
        replyComplete();
}

void ExchangeEngine::timeout()
{
    if (m_running)
        timedOut();
}

void ExchangeEngine::lineLost()
{
    finish(ExchangeOutcome::LineLost);
}

void DownloadExchange::start(const QByteArray &message)
{
    begin(message, ReplyLength);
}

void DownloadExchange::replyComplete()
{
    if (containsAck(reply())) {
        Q_EMIT send(QByteArray(1, Ack));
        finish(ExchangeOutcome::Accepted);
    } else {
        finish(ExchangeOutcome::NoAck);
    }
}

void UploadExchange::start(Request request, int expected)
{
    m_request = request;
    m_heldOff = false;
    switch (request) {
    case Request::Configuration:
        begin(QByteArrayLiteral("TEE"), expected);
        break;
    case Request::Parameters:
        begin(QByteArrayLiteral("TEM"), ParametersReplyLength);
        break;
    case Request::Unasked:
        begin({}, UnaskedWaitLength);
        break;
    }
}

void UploadExchange::accept()
{
    if (!reply().startsWith("TR")) {
        finish(ExchangeOutcome::Invalid);
        return;
    }
    // An unasked reply has no fixed end, so nothing after it can be told from its data.
    m_heldOff = m_request != Request::Unasked && endsHeldOff(QByteArrayView(reply()).sliced(m_expected));
    if (m_heldOff)
        return;
    Q_EMIT send(QByteArray(1, Ack));
    finish(ExchangeOutcome::Accepted);
}

void UploadExchange::replyComplete()
{
    if (m_heldOff) {
        accept(); // more line control: perhaps the XON
        return;
    }
    if (m_request == Request::Unasked && reply().size() > UnaskedMaxLength) {
        finish(ExchangeOutcome::Invalid);
        return;
    }
    accept();
}

void UploadExchange::timedOut()
{
    if (m_heldOff) {
        finish(ExchangeOutcome::AckNotSent);
        return;
    }
    // The unasked reply may be shorter than what is waited for.
    if (m_request == Request::Unasked && reply().size() >= UnaskedMinLength) {
        accept();
        return;
    }
    finish(ExchangeOutcome::Timeout);
}

void CountExchange::start(int expected, int timeoutMs)
{
    m_timeoutMs = timeoutMs;
    begin({}, expected);
}

void Df1Exchange::probe()
{
    m_probe = true;
    begin(TX_ENQ, ProbeLength);
}

void Df1Exchange::status(const QByteArray &frame)
{
    m_probe = false;
    begin(frame, StatusLength);
}

void Df1Exchange::replyComplete()
{
    // A probe that got more than its two bytes heard something else: wait out the time.
    if (!m_probe || reply().size() == ProbeLength)
        finish(ExchangeOutcome::Accepted);
}
