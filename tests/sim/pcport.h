// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The PC's end of the simulator's pty: opened raw and non-blocking, read as bytes arrive.
class PcPort : public QObject
{
public:
    ~PcPort() override { close(); }

    bool open(const QString &path, speed_t speed = B9600)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0 || !setSpeed(speed))
            return false;
        m_clock.start();
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &PcPort::readAvailable);
        return true;
    }

    bool setSpeed(speed_t speed)
    {
        termios tio{};
        if (::tcgetattr(m_fd, &tio) != 0)
            return false;
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
    }

    bool write(QByteArrayView bytes)
    {
        return ::write(m_fd, bytes.data(), size_t(bytes.size())) == bytes.size();
    }

    void close()
    {
        delete m_notifier;
        m_notifier = nullptr;
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    QByteArray in;
    bool hungUp = false;
    int reads = 0;           // reads that returned data
    qint64 firstByteMs = -1; // since open
    qint64 lastByteMs = -1;

private:
    void readAvailable()
    {
        for (;;) {
            char buf[4096];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n > 0) {
                in.append(buf, n);
                ++reads;
                lastByteMs = m_clock.elapsed();
                if (firstByteMs < 0)
                    firstByteMs = lastByteMs;
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            // EOF or EIO: the master is gone.
            hungUp = true;
            m_notifier->setEnabled(false);
            return;
        }
    }

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QElapsedTimer m_clock;
};
