// SPDX-License-Identifier: GPL-3.0-or-later
#include "ptyline.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct SpeedCode
{
    speed_t code;
    int baud;
};

constexpr SpeedCode speedTable[] = {
    {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
    {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
    {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
    {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

int baudOf(speed_t code)
{
    for (const SpeedCode &s : speedTable) {
        if (s.code == code)
            return s.baud;
    }
    return 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1StringView(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyLine::PtyLine(QObject *parent) : QObject(parent)
{
    m_paceTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_paceTimer, &QTimer::timeout, this, &PtyLine::paceTick);
}

PtyLine::~PtyLine()
{
    close();
}

bool PtyLine::open(QString *error)
{
    if (isOpen())
        return true;
    auto fail = [&](const char *what) {
        if (error)
            *error = systemError(what);
        close();
        return false;
    };

    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0)
        return fail("grantpt");
    if (::unlockpt(m_master) != 0)
        return fail("unlockpt");
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return fail("ptsname");
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0)
        return fail(name);
    // Raw from the start: a cooked slave would echo everything we send straight back to us.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return fail("tcsetattr");
    m_path = QString::fromLocal8Bit(name);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyLine::readAvailable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyLine::flushWire);
    return true;
}

void PtyLine::close()
{
    // Notifiers go first: one left watching a closed descriptor complains on every pass.
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    m_paceTimer.stop();
    m_wire.clear();
    m_paceQueue.clear();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

void PtyLine::write(const QByteArray &bytes)
{
    if (!isOpen() || bytes.isEmpty())
        return;
    if (!m_paced) {
        m_wire.append(bytes);
        flushWire();
        return;
    }
    const bool idle = m_paceQueue.isEmpty();
    m_paceQueue.append(bytes);
    if (idle) {
        // The line was quiet, so nothing is owed from before: time starts with this byte.
        m_paceSpeed = 0;
        paceTick();
    }
}

void PtyLine::paceTick()
{
    if (!isOpen())
        return;
    int speed = pcInputSpeed();
    if (speed <= 0)
        speed = 9600;
    if (speed != m_paceSpeed) {
        m_paceSpeed = speed;
        m_paceClock.start();
        m_paceReleased = 0;
    }
    // Timers fire late and unevenly, so release what the elapsed time allows rather than
    // one byte per tick; the first byte goes at once.
    const qint64 due = 1 + m_paceClock.nsecsElapsed() * speed / 10'000'000'000LL;
    const qint64 count = qMin<qint64>(due - m_paceReleased, m_paceQueue.size());
    if (count > 0) {
        m_wire.append(m_paceQueue.left(count));
        m_paceQueue.remove(0, count);
        m_paceReleased += count;
        flushWire();
    }
    if (m_paceQueue.isEmpty()) {
        m_paceTimer.stop();
    } else if (!m_paceTimer.isActive()) {
        const int byteMs = 10'000 / speed;
        m_paceTimer.start(qBound(2, byteMs, 50));
    }
}

void PtyLine::flushWire()
{
    while (isOpen() && !m_wire.isEmpty()) {
        const ssize_t n = ::write(m_master, m_wire.constData(), size_t(m_wire.size()));
        if (n > 0) {
            const QByteArrayView done(m_wire.constData(), n);
            trace("SIM>", done);
            m_sent.append(done);
            m_wire.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The PC is not reading and the pty is full; carry on when there is room.
            m_writeNotifier->setEnabled(true);
            return;
        }
        const QString reason = systemError("write");
        close();
        Q_EMIT failed(reason);
        return;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
}

void PtyLine::readAvailable()
{
    QByteArray chunk;
    QString failure;
    for (;;) {
        char buf[4096];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            chunk.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // EOF or EIO: no slave descriptor left, which our own one should prevent.
        failure = n == 0 ? QStringLiteral("read: end of file") : systemError("read");
        break;
    }
    if (!chunk.isEmpty()) {
        trace("PC> ", chunk);
        Q_EMIT received(chunk);
    }
    if (!failure.isEmpty() && isOpen()) {
        close();
        Q_EMIT failed(failure);
    }
}

int PtyLine::unreadByPc() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, TIOCINQ, &count) != 0)
        return 0;
    return count;
}

int PtyLine::pcOutputSpeed() const
{
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0)
        return 0;
    return baudOf(::cfgetospeed(&tio));
}

int PtyLine::pcInputSpeed() const
{
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0)
        return 0;
    // An input speed of 0 means "the same as the output speed".
    const speed_t in = ::cfgetispeed(&tio);
    return baudOf(in == B0 ? ::cfgetospeed(&tio) : in);
}

void PtyLine::trace(const char *direction, QByteArrayView bytes) const
{
    if (!m_trace)
        return;
    const QByteArray line = QByteArray(direction) + ' ' + bytes.toByteArray().toHex(' ').toUpper() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
