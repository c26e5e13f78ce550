// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class ModComm;
class Prompts;
struct CommError;
struct Session;

// The layer between the screens and the serial port: tests a chosen port, opens it for a
// transfer after telling the user how to put the converter into configuration mode, and the
// small receive and acknowledge routines the transfers share. Talks to the session's chosen
// port (PortNumber) and keeps what its own calls left: CommStatus, CommErrorText,
// TimeoutFlag and ReplyByte.
class DeviceLink : public QObject
{
    Q_OBJECT

public:
    static inline const QString PortSettings = QStringLiteral("baud=9600 parity=N data=8 stop=1");

    DeviceLink(Session &session, ModComm &comm, Prompts &prompts, QObject *parent = nullptr);

    Session &session() { return m_session; }
    ModComm &comm() { return m_comm; }
    Prompts &prompts() { return m_prompts; }

    // "COM" and the chosen port number.
    QString portName() const;
    // The port error's second line ("\n" and what to do), or nothing.
    static QString adviceLine(const CommError &error);

    // Opens and closes the chosen port once as a test. A failure shows "COM Error: " and the
    // error line. Returns whether the port is usable; the main menu enables its tools by it.
    bool CheckPort();
    // Opens the port and asks the user to press the converter's configuration button.
    // 1: open and confirmed; 2: the port could not be opened; 0: no prompt for this
    // generation, or the user did not confirm it. Whenever the result is not 1 the port is
    // closed again.
    int OpenDevicePort();
    // The line settings of an open port once the unit is ready: 9600 8N1 with XON/XOFF on
    // what the PC sends (the unit may pause it), then whatever came meanwhile is dropped.
    // Returns CommSet's result.
    int setLine();
    // The configuration-mode prompt of the converter's generation (OK and Cancel); 1 for OK,
    // 0 for any other answer or when FamilyCode names neither generation.
    int PromptConfigMode();

    // Waits (without blocking) until n bytes have come or timeoutMs have passed, then calls
    // done with what came. TimeoutFlag tells afterwards which ended the wait. A lone DLE
    // (0x10) answering a one-byte wait counts as an acknowledge (0x06).
    void ReceiveReply(int timeoutMs, int n, std::function<void(const QByteArray &)> done);
    // Sets ReplyByte: the reply holds 0x06 somewhere.
    void HasAck(const QByteArray &reply);
    // Sends the PC's acknowledge, one 0x06.
    void SendAck();
    void closePort();

    // The result of the last port call made here: 0 or an open's error code, a byte count
    // (or -1) for a read or write.
    int commStatus() const { return m_CommStatus; }
    // The error line of the last failure seen here: an open, or the port lost in a wait.
    const QString &commErrorText() const { return m_CommErrorText; }
    // Which ended the last ReceiveReply: true for the count, false for the time-out.
    bool timeoutFlag() const { return m_TimeoutFlag; }
    // What the last HasAck found.
    bool replyByte() const { return m_ReplyByte; }

private:
    // Takes a failed open's error: CommStatus gets its code and CommErrorText its line.
    void openFailed(const CommError &error);

    Session &m_session;
    ModComm &m_comm;
    Prompts &m_prompts;
    int m_CommStatus = 0;
    QString m_CommErrorText;
    bool m_TimeoutFlag = false;
    bool m_ReplyByte = false;
};
