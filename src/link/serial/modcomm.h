// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serial/portinfo.h"
#include "serial/porttrace.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QSerialPort;

// What a failed serial operation tells: the system's error code, the operation with the
// system step that failed in brackets ("CommOpen (CreateFile)"), and the system's own words
// for the code. Where the device itself could not be opened it also names that device and
// whoever else was found holding it, which is what the advice to the user is made from.
struct CommError
{
    int code = 0;
    QString source;
    QString text;
    QString device;            // the device a failed CommOpen could not open; empty otherwise
    QList<PortHolder> holders; // other programs found holding that device

    // "Error (code): source - text", the line a message box shows.
    QString line() const;
    // The second line for the user: the device and what is likely to help. Empty unless
    // the device could not be opened.
    QString advice() const;
};

// The only code that touches a PC serial port. Ports are addressed by number, COM1..COM8.
// Every operation returns 0 for success or an error code (CommRead and CommWrite return a
// byte count, or -1), and a failure leaves its description as the last error, which
// lastError() hands out and FormatCommError turns into one line for a message box.
//
// Nothing here waits: CommRead hands back what has arrived so far, and readyRead(port) says
// when more has come. A port whose adapter disappears is closed on the first read, write or
// resource error, reported once through portLost(), and its repeats are ignored.
class ModComm : public QObject
{
    Q_OBJECT

public:
    static constexpr int PortCount = 8;

    // Modem status bits as CommReadCD's mask tests them.
    static constexpr int MS_CTS_ON = 0x10;
    static constexpr int MS_DSR_ON = 0x20;
    static constexpr int MS_RING_ON = 0x40;
    static constexpr int MS_RLSD_ON = 0x80;
    // The PC's own output lines as the driver holds them, which modemLines() adds.
    static constexpr int OUT_DTR_ON = 0x100;
    static constexpr int OUT_RTS_ON = 0x200;

    // Line selectors of CommSetLine.
    static constexpr int LINE_BRK = 1;
    static constexpr int LINE_DTR = 2;
    static constexpr int LINE_RTS = 3;

    explicit ModComm(QObject *parent = nullptr);
    ~ModComm() override;

    // The device behind a name: "COMn" is the device chosen for COMn in this run, else COMn
    // itself on Windows, and elsewhere QNCF_COMn from the environment or /dev/ttyS<n-1>. Any
    // other name is taken as a device path as it stands.
    QString deviceForName(const QString &name) const;
    // The same without a choice made in this run.
    static QString defaultDeviceForName(const QString &name);
    // Makes COMn stand for this device for the rest of the run (an empty text undoes it).
    void setComDevice(int n, const QString &device);
    // A device was set for COMn in this run.
    bool hasComDevice(int n) const { return n >= 1 && n <= PortCount && !m_comDevices[n].isEmpty(); }

    int CommOpen(int port, const QString &deviceName, const QString &settings);
    int CommSet(int port, const QString &settings);
    int CommClose(int port);
    int CommFlush(int port);
    int CommRead(int port, QByteArray &data, int size);
    int CommWrite(int port, const QByteArray &data);
    int CommReadCD(int port, int mask, bool &state);
    int CommSetLine(int port, int line, bool state);
    // Every modem status bit in one call, with the output lines: status gets MS_* and OUT_*
    // bits. A port that cannot report its lines (a pseudo-terminal) fails this call.
    int modemLines(int port, int &status);
    // The last error's line (CommError::line) into text; returns its code.
    int FormatCommError(QString &text) const;
    // What the last failed operation left; a success leaves it as it was.
    CommError lastError() const { return m_lastError; }

    // Switches the output-only XON/XOFF of CommSet on or off. With it on, the driver takes
    // every received 0x11 and 0x13 for itself, so a binary reply loses those bytes.
    int setOutputFlowControl(int port, bool on);

    // Drops what has arrived and not been read, and nothing of what is on its way out.
    int purgeInput(int port);

    // Calls done(true) once every byte handed to the port has left it for the line, or
    // done(false) when that has not happened within timeoutMs (the other end holds us off
    // with XOFF) or the port closes first. Waits on the port's own progress, never blocks;
    // done is not called once context is gone.
    void whenDrained(int port, int timeoutMs, QObject *context, std::function<void(bool)> done);
    // Calls done(true) once no more than `bytes` of what was handed to the port are still to
    // leave it, done(false) if the port closes first. No time limit: the caller ends the wait
    // by going away (done is not called once context is gone).
    void whenQueuedAtMost(int port, qint64 bytes, QObject *context, std::function<void(bool)> done);
    // Closes the port once what was handed to it has left (at most timeoutMs later), without
    // waiting here. A port opened again meanwhile is left alone.
    void closeWhenDrained(int port, int timeoutMs);
    // Reads no more than bytes ahead of the caller (0: no limit), so a flood waits in the
    // driver rather than in memory, and each readyRead brings at most that much.
    void setReadBufferSize(int port, qint64 bytes);
    // The line speed the port is set to; 0 when it is not open.
    int baudRate(int port) const;
    // Bytes handed to the port and not yet on the line: the port's own buffer and the
    // driver's output queue.
    qint64 bytesNotSent(int port) const;

    bool isOpen(int port) const;
    // Bytes that have arrived and wait to be read.
    qint64 bytesAvailable(int port) const;
    // Bytes handed to the port and not yet taken by the driver.
    qint64 bytesToWrite(int port) const;

    // The second line for a user after a failed CommOpen: the device and what is likely to
    // help (the group to join, the ports there are, who holds it). Empty after other errors.
    QString openFailureAdvice() const { return m_lastError.advice(); }
    // Logs every byte and setting of every port to path from now on (--trace).
    bool startTrace(const QString &path, QString *error) { return m_trace.open(path, error); }

Q_SIGNALS:
    void readyRead(int port);
    void bytesWritten(int port, qint64 count);
    // The port was closed because its device failed; errorLine is FormatCommError's line.
    void portLost(int port, const QString &errorLine);
    // The port was closed, by CommClose or because it was lost.
    void portClosed(int port);

private:
    struct Entry
    {
        QSerialPort *serial = nullptr;
        bool open = false;
        bool wrote = false;   // something was written since the open
        bool closing = false; // closeWhenDrained() waits to close it
    };

    Entry *entry(int port, const char *operation, int *result);
    int openFailed(const QString &device, const QList<PortHolder> &holders = {});

    PortTrace m_trace;
    CommError m_lastError;
    void recordError(int code, const QString &source, const QString &text);
    void recordSerialError(const QSerialPort &serial, const QString &source);
    bool applySettings(QSerialPort &serial, const QString &settings, const char *operation);
    void onSerialError(int port, int error);
    void release(int port);

    std::array<Entry, PortCount + 1> m_ports{};      // index 0 unused
    std::array<QString, PortCount + 1> m_comDevices; // chosen for COM1..COM8 in this run
};
