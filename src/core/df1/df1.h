// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// DF1 full-duplex framing, as the DH+ diagnostics use it over the converter's serial port.
namespace Df1Char {
constexpr quint8 DLE = 0x10;
constexpr quint8 STX = 0x02;
constexpr quint8 ETX = 0x03;
constexpr quint8 ENQ = 0x05;
constexpr quint8 ACK = 0x06;
constexpr quint8 NAK = 0x15;
} // namespace Df1Char

inline const QByteArray TX_ENQ = QByteArrayLiteral("\x10\x05");
inline const QByteArray TX_ACK = QByteArrayLiteral("\x10\x06");
inline const QByteArray TX_NAK = QByteArrayLiteral("\x10\x15");

// The diagnostic status command and the bit a reply sets in its command byte.
constexpr quint8 Df1CmdDiagnostic = 0x06;
constexpr quint8 Df1FncDiagnosticStatus = 0x03;
constexpr quint8 Df1CmdReplyBit = 0x40;

// Every DLE in body doubled, so it cannot be taken for the start of a control pair.
QByteArray StuffDLE(QByteArrayView body);

// Two's complement of the 8-bit sum of the body as sent before stuffing: a doubled DLE counts once.
quint8 DF1_BCC(QByteArrayView body);

// DLE STX, the stuffed body, DLE ETX, BCC. Counts the frame in tnsCounter, which goes on
// from 65535 to 0.
QByteArray FrameDF1(QByteArrayView body, quint16 &tnsCounter);

// The diagnostic status command to node dst: DST SRC CMD STS TNS(high, low) FNC, framed.
QByteArray QuintrelTX_Status(quint8 dst, quint8 src, quint16 tns, quint16 &tnsCounter);

// Every doubled DLE of a received stream taken as the one byte it stands for.
QByteArray UnstuffDLE(QByteArrayView bytes);

// What the diagnostics read of the reply to a diagnostic status command, counted from the
// first byte after the command: DLE ACK, DLE STX, then DST (the PC's own node as the
// converter sees it), SRC, CMD and STS (0: the addressed node answered). The reply is cut at
// 201 bytes and its doubled DLEs are undone before the fields are read.
struct Df1StatusReply
{
    static constexpr int MaxLength = 201;
    static constexpr int StsAt = 7;
    static constexpr int DstAt = 4;

    explicit Df1StatusReply(QByteArrayView received);
    QByteArray bytes; // unstuffed, at most MaxLength
    // The converter's DLE ACK, then a frame's DLE STX, and the reply up to its status byte;
    // anything else (line noise, a unit that is not talking DF1) is no reply.
    bool complete() const { return bytes.size() > StsAt && bytes.startsWith("\x10\x06\x10\x02"); }
    quint8 dst() const { return quint8(bytes.at(DstAt)); }
    quint8 sts() const { return quint8(bytes.at(StsAt)); }
};

struct DF1Event
{
    enum Kind {
        Enq,      // DLE ENQ
        Ack,      // DLE ACK
        Nak,      // DLE NAK
        Frame,    // DLE STX ... DLE ETX BCC; body unstuffed, bccOk tells whether the BCC matched
        BadFrame, // a frame cut short by a DLE pair that has no place in it, or one too long
    };
    Kind kind;
    QByteArray body;
    bool bccOk = false;
};

// Splits a received byte stream into DF1 control pairs and frames. Bytes outside any DLE
// sequence are line noise and are dropped. Feeding the stream in any pieces gives the same events.
class DF1FrameReader
{
public:
    static constexpr int MaxBody = 512;

    QList<DF1Event> feed(QByteArrayView bytes);
    // True between sequences: nothing of a control pair or frame has been seen yet.
    bool isIdle() const { return m_state == State::Idle; }
    void reset();

private:
    enum class State { Idle, Dle, Body, BodyDle, Bcc };

    State m_state = State::Idle;
    QByteArray m_body;
};
