// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>

// The converter exchanges, as engines that never touch a port: bytes come in through
// receive(), the bytes to send go out through send(), and the caller's timer ends a wait
// through timeout(). ExchangeRunner wires one to a real port.

// The result of one exchange.
enum class ExchangeOutcome {
    Accepted, // the reply came and is what was asked for (acknowledged, or starts "TR")
    NoAck,    // a download reply of full length without the acknowledge
    Invalid,  // an upload reply that does not start "TR" (or is out of its length range)
    Timeout,  // the reply did not come in time
    LineLost, // the serial device failed during the exchange
    // Only whole transfers end so:
    AckNotSent, // the PC's acknowledge could not leave: the converter held the line with XOFF
    PortFailed, // the port could not be opened, or the user did not confirm the prompt
    NoMessage,  // there was nothing to send (no model chosen)
};

class ExchangeEngine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool isRunning() const { return m_running; }
    const QByteArray &reply() const { return m_reply; }
    // How long the caller's timer allows for the reply; the exchange's own only once it has
    // started (a Df1Exchange chooses it in probe() or status()).
    virtual int timeoutMs() const = 0;

    void receive(const QByteArray &bytes);
    void timeout();
    void lineLost();

Q_SIGNALS:
    void send(const QByteArray &bytes);
    void progress(int received, int expected);
    void finished(ExchangeOutcome outcome);

protected:
    // Starts waiting for a reply of `expected` bytes; request (if any) is sent first.
    void begin(const QByteArray &request, int expected);
    void finish(ExchangeOutcome outcome);
    // Decides once the reply has reached its length; return false to keep waiting.
    virtual void replyComplete() = 0;
    // Decides when the time runs out; the default is a time-out.
    virtual void timedOut() { finish(ExchangeOutcome::Timeout); }

    int m_expected = 0;

private:
    bool m_running = false;
    QByteArray m_reply;
};

// The download: the configuration message out, then a reply of 113 bytes within 6000 ms.
// A 0x06 anywhere in it is the converter's acknowledge, which the PC answers with one 0x06.
class DownloadExchange : public ExchangeEngine
{
    Q_OBJECT

public:
    static constexpr int ReplyLength = 113;
    static constexpr int TimeoutMs = 6000;

    using ExchangeEngine::ExchangeEngine;
    void start(const QByteArray &message);
    int timeoutMs() const override { return TimeoutMs; }

protected:
    void replyComplete() override;
};

// The upload requests: "TEE" for the configuration (66 bytes, 54 from old QN4000-NGD units),
// "TEM" for the Modbus parameter block of the LBW models (114 bytes), and the reply a RIO
// adapter sends unasked after its first one (at least 94 bytes are waited for; 61 to 109
// are taken). Each valid reply starts "TR" and is answered with one 0x06.
//
// The replies are EEPROM bytes, read without flow control: a 0x11 or 0x13 in them is data.
// What follows a reply of fixed length is the unit's line control, though: when it ends in
// XOFF, the acknowledge waits for the XON; the wait's end without one is AckNotSent.
class UploadExchange : public ExchangeEngine
{
    Q_OBJECT

public:
    enum class Request { Configuration, Parameters, Unasked };

    static constexpr int TimeoutMs = 2000;
    static constexpr int ParametersReplyLength = 114;
    static constexpr int UnaskedWaitLength = 94;
    static constexpr int UnaskedMinLength = 61;
    static constexpr int UnaskedMaxLength = 109;

    using ExchangeEngine::ExchangeEngine;
    // expected: the reply length of a Configuration request; ignored for the others.
    void start(Request request, int expected = 66);
    int timeoutMs() const override { return TimeoutMs; }

protected:
    void replyComplete() override;
    void timedOut() override;

private:
    void accept();

    Request m_request = Request::Configuration;
    bool m_heldOff = false; // the reply is in and valid, and the unit holds the PC off
};

// A plain wait for `expected` bytes within `timeoutMs`, with no request and no check.
class CountExchange : public ExchangeEngine
{
    Q_OBJECT

public:
    using ExchangeEngine::ExchangeEngine;
    void start(int expected, int timeoutMs);
    int timeoutMs() const override { return m_timeoutMs; }

protected:
    void replyComplete() override { finish(ExchangeOutcome::Accepted); }

private:
    int m_timeoutMs = 0;
};

// The DH+ diagnostics' two waits. A probe sends DLE ENQ and takes exactly two bytes within
// 100 ms (the converter's answer at the speed it runs at; more is not an answer). A status
// request sends a diagnostic status command and waits up to 500 ms for 13 bytes, enough to
// reach the reply's status byte.
class Df1Exchange : public ExchangeEngine
{
    Q_OBJECT

public:
    static constexpr int ProbeTimeoutMs = 100;
    static constexpr int ProbeLength = 2;
    static constexpr int StatusTimeoutMs = 500;
    static constexpr int StatusLength = 13;

    using ExchangeEngine::ExchangeEngine;
    void probe();
    void status(const QByteArray &frame);
    int timeoutMs() const override { return m_probe ? ProbeTimeoutMs : StatusTimeoutMs; }

protected:
    void replyComplete() override;

private:
    bool m_probe = false;
};

// True when the reply holds the acknowledge byte 0x06 anywhere.
bool containsAck(const QByteArray &reply);
