// SPDX-License-Identifier: GPL-3.0-or-later
#include "df1.h"

QByteArray StuffDLE(QByteArrayView body)
{
    QByteArray out;
    out.reserve(body.size() + 4);
    for (char c : body) {
        out.append(c);
        if (quint8(c) == Df1Char::DLE)
            out.append(c);
    }
    return out;
}

quint8 DF1_BCC(QByteArrayView body)
{
    quint8 sum = 0;
    for (char c : body)
        sum = quint8(sum + quint8(c));
    return quint8(-sum);
}

QByteArray FrameDF1(QByteArrayView body, quint16 &tnsCounter)
{
    ++tnsCounter;
    QByteArray out;
    out.append(char(Df1Char::DLE)).append(char(Df1Char::STX));
    out.append(StuffDLE(body));
    out.append(char(Df1Char::DLE)).append(char(Df1Char::ETX));
    out.append(char(DF1_BCC(body)));
    return out;
}

QByteArray QuintrelTX_Status(quint8 dst, quint8 src, quint16 tns, quint16 &tnsCounter)
{
    const char body[] = {char(dst),      char(src),        char(Df1CmdDiagnostic),      0x00,
                         char(tns >> 8), char(tns & 0xFF), char(Df1FncDiagnosticStatus)};
    return FrameDF1(QByteArrayView(body, sizeof body), tnsCounter);
}

QByteArray UnstuffDLE(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        if (quint8(bytes[i]) == Df1Char::DLE && i + 1 < bytes.size() && quint8(bytes[i + 1]) == Df1Char::DLE)
            ++i;
    }
    return out;
}

Df1StatusReply::Df1StatusReply(QByteArrayView received)
    : bytes(UnstuffDLE(received.first(qMin(received.size(), qsizetype(MaxLength)))))
{
}

void DF1FrameReader::reset()
{
    m_state = State::Idle;
    m_body.clear();
}

QList<DF1Event> DF1FrameReader::feed(QByteArrayView bytes)
{
    QList<DF1Event> events;
    auto control = [&events](quint8 c) {
        switch (c) {
        case Df1Char::ENQ:
            events.append({DF1Event::Enq, {}, false});
            return true;
        case Df1Char::ACK:
            events.append({DF1Event::Ack, {}, false});
            return true;
        case Df1Char::NAK:
            events.append({DF1Event::Nak, {}, false});
            return true;
        default:
            return false;
        }
    };

    auto append = [&](char ch) {
        if (m_body.size() < MaxBody) {
            m_body.append(ch);
            m_state = State::Body;
        } else {
            events.append({DF1Event::BadFrame, m_body, false});
            reset();
        }
    };

    for (char ch : bytes) {
        const quint8 c = quint8(ch);
        switch (m_state) {
        case State::Idle:
            if (c == Df1Char::DLE)
                m_state = State::Dle;
            break;
        case State::Dle:
            if (c == Df1Char::STX) {
                m_body.clear();
                m_state = State::Body;
            } else {
                control(c);
                m_state = c == Df1Char::DLE ? State::Dle : State::Idle;
            }
            break;
        case State::Body:
            if (c == Df1Char::DLE)
                m_state = State::BodyDle;
            else
                append(ch);
            break;
        case State::BodyDle:
            if (c == Df1Char::DLE) {
                append(ch);
            } else if (c == Df1Char::ETX) {
                m_state = State::Bcc;
            } else if (c == Df1Char::STX) {
                // The sender gave up on the frame and started over.
                m_body.clear();
                m_state = State::Body;
            } else {
                events.append({DF1Event::BadFrame, m_body, false});
                control(c);
                reset();
            }
            break;
        case State::Bcc:
            events.append({DF1Event::Frame, m_body, DF1_BCC(m_body) == c});
            reset();
            break;
        }
    }
    return events;
}
