// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

// The converter's end of a pseudo-terminal: the PC opens the slave as its serial port.
//
// We hold a slave descriptor of our own for as long as the line is open. Without it the
// master reads EIO whenever the PC has the port closed, and tcgetattr on the master only
// shows the master's settings, never the speed the PC chose.
class PtyLine : public QObject
{
    Q_OBJECT

public:
    explicit PtyLine(QObject *parent = nullptr);
    ~PtyLine() override;

    bool open(QString *error);
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }

    // Paced output leaves at the PC's line speed, ten bit times a byte.
    void setPaced(bool on) { m_paced = on; }
    void setTrace(bool on) { m_trace = on; }

    void write(const QByteArray &bytes);
    // Bytes written but not yet in the pty.
    bool hasPending() const { return !m_wire.isEmpty() || !m_paceQueue.isEmpty(); }
    // Bytes in the pty the PC has not read yet.
    int unreadByPc() const;
    QByteArray sent() const { return m_sent; }
    void clearSent() { m_sent.clear(); }

    // The speeds the PC has set on its end, in baud; 0 when closed or not a standard rate.
    int pcOutputSpeed() const;
    int pcInputSpeed() const;

Q_SIGNALS:
    void received(const QByteArray &bytes);
    // The pty went away under us; the line is closed.
    void failed(const QString &reason);

private:
    void readAvailable();
    void flushWire();
    void paceTick();
    void trace(const char *direction, QByteArrayView bytes) const;

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_wire;      // released for the pty, waiting for room in it
    QByteArray m_paceQueue; // waiting for its time on the line
    QByteArray m_sent;
    bool m_paced = false;
    bool m_trace = false;

    QTimer m_paceTimer;
    QElapsedTimer m_paceClock;
    qint64 m_paceReleased = 0;
    int m_paceSpeed = 0;
};
