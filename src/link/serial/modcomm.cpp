// SPDX-License-Identifier: GPL-3.0-or-later
#include "modcomm.h"

#include <algorithm>
#include <QPointer>
#include <QRegularExpression>
#include <QSerialPort>
#include <QtGlobal>
#include <QTimer>

#include <cerrno>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The platform's code for a serial failure, so the error line reads as the system's own.
int platformCode(QSerialPort::SerialPortError e)
{
#ifdef Q_OS_WIN
    switch (e) {
    case QSerialPort::DeviceNotFoundError:
        return ERROR_FILE_NOT_FOUND;
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
        return ERROR_ACCESS_DENIED;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        return ERROR_GEN_FAILURE;
    case QSerialPort::UnsupportedOperationError:
        return ERROR_NOT_SUPPORTED;
    case QSerialPort::TimeoutError:
        return ERROR_TIMEOUT;
    case QSerialPort::NotOpenError:
        return ERROR_INVALID_HANDLE;
    default:
        return ERROR_INVALID_FUNCTION;
    }
#else
    switch (e) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        return EACCES;
    case QSerialPort::OpenError:
        return EBUSY;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        return EIO;
    case QSerialPort::UnsupportedOperationError:
        return ENOTTY;
    case QSerialPort::TimeoutError:
        return ETIMEDOUT;
    case QSerialPort::NotOpenError:
        return EBADF;
    default:
        return EINVAL;
    }
#endif
}

// The system's own message for a code (strerror, or the Windows message table).
QString systemText(int code)
{
    return qt_error_string(code).trimmed();
}

#ifdef Q_OS_WIN
constexpr int BadHandle = ERROR_INVALID_HANDLE;
constexpr int BadArgument = ERROR_INVALID_PARAMETER;
constexpr int PortBusy = ERROR_ACCESS_DENIED; // what Windows answers a second opener of a port
// The codes a serial port can meet on Windows, of which the port's error text is one.
constexpr int SerialCodes[] = {ERROR_FILE_NOT_FOUND,       ERROR_PATH_NOT_FOUND,    ERROR_ACCESS_DENIED,
                               ERROR_INVALID_HANDLE,       ERROR_NOT_READY,         ERROR_BAD_COMMAND,
                               ERROR_GEN_FAILURE,          ERROR_SHARING_VIOLATION, ERROR_INVALID_PARAMETER,
                               ERROR_SEM_TIMEOUT,          ERROR_INVALID_NAME,      ERROR_OPERATION_ABORTED,
                               ERROR_DEVICE_NOT_CONNECTED, ERROR_DEVICE_REMOVED};
#else
constexpr int BadHandle = EBADF;
constexpr int BadArgument = EINVAL;
constexpr int PortBusy = EBUSY;
#endif

// The system's code whose text the serial port gave, if it is one of those a port can meet.
std::optional<int> codeOfText(const QString &text)
{
#ifdef Q_OS_WIN
    for (const int e : SerialCodes)
#else
    for (int e = 1; e < 256; ++e)
#endif
        if (systemText(e) == text)
            return e;
    return std::nullopt;
}

struct LineSettings
{
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits data = QSerialPort::Data8;
    QSerialPort::StopBits stop = QSerialPort::OneStop;
};

// "baud=9600 parity=N data=8 stop=1"; keys may come in any order and any may be left out.
bool parseSettings(const QString &text, LineSettings *out)
{
    LineSettings s;
    const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const qsizetype eq = word.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return false;
        const QString key = word.left(eq).toLower();
        const QString value = word.mid(eq + 1).toUpper();
        bool ok = true;
        if (key == QLatin1String("baud")) {
            s.baud = value.toInt(&ok);
            ok = ok && s.baud > 0;
        } else if (key == QLatin1String("parity")) {
            if (value == QLatin1String("N"))
                s.parity = QSerialPort::NoParity;
            else if (value == QLatin1String("E"))
                s.parity = QSerialPort::EvenParity;
            else if (value == QLatin1String("O"))
                s.parity = QSerialPort::OddParity;
            else if (value == QLatin1String("M"))
                s.parity = QSerialPort::MarkParity;
            else if (value == QLatin1String("S"))
                s.parity = QSerialPort::SpaceParity;
            else
                ok = false;
        } else if (key == QLatin1String("data")) {
            const int bits = value.toInt(&ok);
            ok = ok && bits >= 5 && bits <= 8;
            s.data = static_cast<QSerialPort::DataBits>(bits);
        } else if (key == QLatin1String("stop")) {
            if (value == QLatin1String("1"))
                s.stop = QSerialPort::OneStop;
            else if (value == QLatin1String("1.5"))
                s.stop = QSerialPort::OneAndHalfStop;
            else if (value == QLatin1String("2"))
                s.stop = QSerialPort::TwoStop;
            else
                ok = false;
        } else {
            ok = false;
        }
        if (!ok)
            return false;
    }
    *out = s;
    return true;
}

// XON/XOFF for what the PC sends only: a converter may pause us, but we never pause it, and
// no received byte other than XON restarts a paused output.
bool outputOnlySoftwareFlow(QSerialPort &serial)
{
    if (!serial.setFlowControl(QSerialPort::SoftwareControl))
        return false;
#ifdef Q_OS_UNIX
    termios tio;
    const int fd = int(serial.handle());
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    tio.c_iflag |= IXON;
    tio.c_iflag &= ~(IXOFF | IXANY);
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
#elif defined(Q_OS_WIN)
    DCB dcb;
    dcb.DCBlength = sizeof(dcb);
    if (!::GetCommState(serial.handle(), &dcb))
        return false;
    dcb.fOutX = TRUE;
    dcb.fInX = FALSE;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return ::SetCommState(serial.handle(), &dcb) != 0;
#else
    return true;
#endif
}

// Whether the device behind a port that reported an error is still there. A write refused
// because the converter paused us with XOFF comes back as an error too, but the line is
// fine and the held bytes go out after XON; a hung-up or unplugged device shows as such.
bool deviceStillThere(QSerialPort &serial)
{
#ifdef Q_OS_UNIX
    pollfd p{int(serial.handle()), POLLIN | POLLOUT, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
#elif defined(Q_OS_WIN)
    // A port whose adapter was pulled refuses every call on its handle; a live one answers.
    // (A read the port itself aborted with a purge comes back as an error too.)
    DWORD errors = 0;
    COMSTAT stat{};
    return ::ClearCommError(serial.handle(), &errors, &stat) != 0;
#else
    Q_UNUSED(serial);
    return false;
#endif
}

} // namespace

ModComm::ModComm(QObject *parent) : QObject(parent) {}

ModComm::~ModComm()
{
    for (int p = 1; p <= PortCount; ++p)
        CommClose(p);
}

namespace {

// The number n of a "COMn", or 0.
int comNumber(const QString &name)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(name);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

void ModComm::setComDevice(int n, const QString &device)
{
    if (n >= 1 && n <= PortCount)
        m_comDevices[n] = device;
}

QString ModComm::deviceForName(const QString &name) const
{
    const int n = comNumber(name);
    if (n >= 1 && n <= PortCount && !m_comDevices[n].isEmpty())
        return m_comDevices[n];
    return defaultDeviceForName(name);
}

QString ModComm::defaultDeviceForName(const QString &name)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(name);
    if (!m.hasMatch())
        return name;
#ifdef Q_OS_WIN
    return name.toUpper();
#else
    const int n = m.captured(1).toInt();
    const QByteArray configured = qgetenv(qPrintable(QStringLiteral("QNCF_COM%1").arg(n)));
    if (!configured.isEmpty())
        return QString::fromLocal8Bit(configured);
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

ModComm::Entry *ModComm::entry(int port, const char *operation, int *result)
{
    if (port >= 1 && port <= PortCount)
        return &m_ports[port];
    recordError(BadArgument, QLatin1String(operation), systemText(BadArgument));
    const bool counts = qstrcmp(operation, "CommRead") == 0 || qstrcmp(operation, "CommWrite") == 0;
    *result = counts ? -1 : BadArgument;
    return nullptr;
}

void ModComm::recordError(int code, const QString &source, const QString &text)
{
    m_lastError = CommError{code, source, text.left(255).trimmed(), {}, {}};
}

void ModComm::recordSerialError(const QSerialPort &serial, const QString &source)
{
    // The serial port words its error with the system's text of the code it saw, which may be
    // another than the error kind suggests (a port another program holds is "access denied"
    // on Windows, a "permission" error to the port, and a sharing violation under some
    // drivers, an unknown one): take the code from that text, so that code and text of the
    // line, and the advice under it, tell of the same error.
    const QString text = serial.errorString().trimmed();
    if (const std::optional<int> seen = codeOfText(text)) {
        recordError(*seen, source, text);
        return;
    }
    const int code = platformCode(serial.error());
#ifdef Q_OS_UNIX
    // A text of the port's own (a lock it could not take, say) goes with the kind's code.
    recordError(code, source, text);
#else
    recordError(code, source, systemText(code));
#endif
}

bool ModComm::applySettings(QSerialPort &serial, const QString &settings, const char *operation)
{
    LineSettings s;
    if (!parseSettings(settings, &s)) {
        recordError(BadArgument, QStringLiteral("%1 (BuildCommDCB)").arg(QLatin1String(operation)),
                    systemText(BadArgument));
        return false;
    }
    if (!serial.setBaudRate(s.baud) || !serial.setParity(s.parity) || !serial.setDataBits(s.data) ||
        !serial.setStopBits(s.stop)) {
        recordSerialError(serial, QStringLiteral("%1 (SetCommState)").arg(QLatin1String(operation)));
        return false;
    }
    return true;
}

int ModComm::CommOpen(int port, const QString &deviceName, const QString &settings)
{
    int result = 0;
    Entry *e = entry(port, "CommOpen", &result);
    if (!e)
        return result;
    if (e->open && e->closing)
        CommClose(port); // its last bytes had their time; the port is wanted again now
    if (e->open) {
        recordError(-1, QStringLiteral("CommOpen"), QStringLiteral("Port in use."));
        return -1;
    }

    const QString device = deviceForName(deviceName);
    // A program that has the device open already (a terminal, a modem manager) would take the
    // converter's replies: the port is busy even where the system lets a second one open it.
    if (const QList<PortHolder> holders = otherHolders(device); !holders.isEmpty()) {
        recordError(PortBusy, QStringLiteral("CommOpen (CreateFile)"), systemText(PortBusy));
        return openFailed(device, holders);
    }
    auto *serial = new QSerialPort(this);
    serial->setPortName(device);
    if (!serial->open(QIODevice::ReadWrite)) {
        recordSerialError(*serial, QStringLiteral("CommOpen (CreateFile)"));
        delete serial;
        return openFailed(device);
    }
    e->serial = serial;
    e->open = true;
    connect(serial, &QSerialPort::readyRead, this, [this, port] { Q_EMIT readyRead(port); });
    connect(serial, &QSerialPort::bytesWritten, this,
            [this, port](qint64 n) { Q_EMIT bytesWritten(port, n); });
    connect(serial, &QSerialPort::errorOccurred, this,
            [this, port](QSerialPort::SerialPortError err) { onSerialError(port, int(err)); });

    // Bytes from before the open must not be taken for a reply.
    if (!serial->clear()) {
        recordSerialError(*serial, QStringLiteral("CommOpen (PurgeComm)"));
        return m_lastError.code;
    }
    if (!applySettings(*serial, settings, "CommOpen"))
        return m_lastError.code;
    if (!serial->setFlowControl(QSerialPort::NoFlowControl)) {
        recordSerialError(*serial, QStringLiteral("CommOpen (SetCommState)"));
        return m_lastError.code;
    }
    m_trace.event(port, QStringLiteral("open %1 %2").arg(device, settings));
    return 0;
}

int ModComm::openFailed(const QString &device, const QList<PortHolder> &holders)
{
    m_lastError.device = device;
    m_lastError.holders = holders;
    return m_lastError.code;
}

QString CommError::line() const
{
    return QStringLiteral("Error (%1): %2 - %3").arg(code).arg(source, text);
}

QString CommError::advice() const
{
    return device.isEmpty() ? QString() : portAdvice(device, code, text, holders);
}

int ModComm::CommSet(int port, const QString &settings)
{
    int result = 0;
    Entry *e = entry(port, "CommSet", &result);
    if (!e)
        return result;
    if (!e->serial) {
        recordError(BadHandle, QStringLiteral("CommSet (GetCommState)"), systemText(BadHandle));
        return BadHandle;
    }
    if (!applySettings(*e->serial, settings, "CommSet"))
        return m_lastError.code;
    m_trace.event(port, QStringLiteral("set %1").arg(settings));
    if (!outputOnlySoftwareFlow(*e->serial)) {
        recordSerialError(*e->serial, QStringLiteral("CommSet (SetCommState)"));
        return m_lastError.code ? m_lastError.code : BadArgument;
    }
    return 0;
}

void ModComm::release(int port)
{
    Entry &e = m_ports[port];
    if (e.serial) {
        e.serial->disconnect(this);
        e.serial->deleteLater();
    }
    e.serial = nullptr;
    e.open = false;
    e.wrote = false;
    e.closing = false;
    Q_EMIT portClosed(port);
}

int ModComm::CommClose(int port)
{
    int result = 0;
    Entry *e = entry(port, "CommClose", &result);
    if (!e)
        return result;
    if (!e->open)
        return 0;
    // Hand what is still queued (the last acknowledge, say) to the driver before closing.
    if (e->serial->bytesToWrite() > 0)
        e->serial->flush();
    e->serial->close();
    release(port);
    m_trace.event(port, QStringLiteral("close"));
    return 0;
}

int ModComm::CommFlush(int port)
{
    int result = 0;
    Entry *e = entry(port, "CommFlush", &result);
    if (!e)
        return result;
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, QStringLiteral("CommFlush (PurgeComm)"), systemText(BadHandle));
        return BadHandle;
    }
    // A purge of the output side throws away bytes not yet on the line, and on a pty even
    // bytes the other end has not taken in yet, with no way to tell when they are safe. So
    // the output side is purged only while nothing of ours is on its way: before the first
    // write. After that only what has arrived is dropped.
    const QSerialPort::Directions what = e->wrote ? QSerialPort::Input : QSerialPort::AllDirections;
    if (!e->serial->clear(what)) {
        recordSerialError(*e->serial, QStringLiteral("CommFlush (PurgeComm)"));
        return m_lastError.code;
    }
    return 0;
}

int ModComm::purgeInput(int port)
{
    int result = 0;
    Entry *e = entry(port, "CommFlush", &result);
    if (!e)
        return result;
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, QStringLiteral("CommFlush (PurgeComm)"), systemText(BadHandle));
        return BadHandle;
    }
    if (!e->serial->clear(QSerialPort::Input)) {
        recordSerialError(*e->serial, QStringLiteral("CommFlush (PurgeComm)"));
        return m_lastError.code;
    }
    return 0;
}

qint64 ModComm::bytesNotSent(int port) const
{
    if (!isOpen(port))
        return 0;
    QSerialPort *serial = m_ports[port].serial;
    qint64 pending = serial->bytesToWrite();
    // And what the driver holds that has not reached the line yet.
#ifdef Q_OS_UNIX
    int queued = 0;
    if (::ioctl(int(serial->handle()), TIOCOUTQ, &queued) == 0 && queued > 0)
        pending += queued;
#elif defined(Q_OS_WIN)
    COMSTAT stat{};
    DWORD errors = 0;
    if (::ClearCommError(serial->handle(), &errors, &stat) && stat.cbOutQue > 0)
        pending += stat.cbOutQue;
#endif
    return pending;
}

namespace {

// Waits until no more than `threshold` bytes of one port's output are still to leave it, and
// ends on the first of: reached, timed out (a negative time-out never ends it so), port closed
// or lost.
class DrainWaiter : public QObject
{
public:
    DrainWaiter(ModComm &comm, int port, qint64 threshold, int timeoutMs, QObject *context,
                std::function<void(bool)> done)
        : QObject(&comm)
        , m_comm(comm)
        , m_port(port)
        , m_threshold(threshold)
        , m_context(context)
        , m_done(std::move(done))
    {
        // The port reports each handing over to the driver; the driver's own queue empties
        // with no report, so while only it holds bytes the timer looks again when the line
        // should have taken them.
        m_tick.setSingleShot(true);
        m_tick.setTimerType(Qt::PreciseTimer);
        connect(&m_tick, &QTimer::timeout, this, &DrainWaiter::check);
        connect(&comm, &ModComm::bytesWritten, this, [this](int p) {
            if (p == m_port)
                check();
        });
        connect(&comm, &ModComm::portLost, this, [this](int p) {
            if (p == m_port)
                end(false);
        });
        connect(&comm, &ModComm::portClosed, this, [this](int p) {
            if (p == m_port)
                end(false);
        });
        if (m_context) {
            connect(m_context, &QObject::destroyed, this, [this] {
                m_context = nullptr; // gone: nobody to tell
                end(false);
            });
        }
        if (timeoutMs >= 0)
            QTimer::singleShot(timeoutMs, this, [this] { end(false); });
        check();
    }

private:
    void check()
    {
        if (!m_comm.isOpen(m_port)) {
            end(false);
            return;
        }
        const qint64 pending = m_comm.bytesNotSent(m_port);
        if (pending <= m_threshold) {
            end(true);
        } else if (m_comm.bytesToWrite(m_port) == 0 && !m_tick.isActive()) {
            // Ten bits a character; at least a millisecond, at most a tenth of a second. A
            // look that finds nothing gone (a line held off by XOFF) waits twice as long next.
            const int baud = qMax(1, m_comm.baudRate(m_port));
            const qint64 ms = (pending - m_threshold) * 10 * 1000 / baud;
            m_stalled = pending == m_lastPending ? qMin(m_stalled * 2, 100) : 1;
            m_lastPending = pending;
            m_tick.start(int(std::clamp<qint64>(qMax<qint64>(ms, m_stalled), 1, 100)));
        }
    }

    void end(bool reached)
    {
        if (m_ended)
            return;
        m_ended = true;
        m_tick.stop();
        disconnect(&m_comm, nullptr, this, nullptr);
        deleteLater();
        if (m_context)
            m_done(reached);
    }

    ModComm &m_comm;
    int m_port;
    qint64 m_threshold;
    qint64 m_lastPending = -1;
    int m_stalled = 1;
    QPointer<QObject> m_context;
    std::function<void(bool)> m_done;
    QTimer m_tick;
    bool m_ended = false;
};

} // namespace

void ModComm::whenDrained(int port, int timeoutMs, QObject *context, std::function<void(bool)> done)
{
    new DrainWaiter(*this, port, 0, timeoutMs, context, std::move(done));
}

void ModComm::whenQueuedAtMost(int port, qint64 bytes, QObject *context, std::function<void(bool)> done)
{
    new DrainWaiter(*this, port, bytes, -1, context, std::move(done));
}

void ModComm::closeWhenDrained(int port, int timeoutMs)
{
    if (!isOpen(port))
        return;
    if (bytesNotSent(port) == 0) {
        CommClose(port);
        return;
    }
    QSerialPort *serial = m_ports[port].serial;
    m_ports[port].closing = true;
    whenDrained(port, timeoutMs, this, [this, port, serial](bool) {
        if (m_ports[port].serial == serial)
            CommClose(port);
    });
}

void ModComm::setReadBufferSize(int port, qint64 bytes)
{
    if (isOpen(port))
        m_ports[port].serial->setReadBufferSize(bytes);
}

int ModComm::baudRate(int port) const
{
    return isOpen(port) ? int(m_ports[port].serial->baudRate()) : 0;
}

int ModComm::modemLines(int port, int &status)
{
    int result = 0;
    Entry *e = entry(port, "CommReadCD", &result);
    if (!e)
        return result;
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, QStringLiteral("CommReadCD (GetCommModemStatus)"), systemText(BadHandle));
        return BadHandle;
    }
    const QSerialPort::PinoutSignals pins = e->serial->pinoutSignals();
    if (e->serial->error() != QSerialPort::NoError) {
        recordSerialError(*e->serial, QStringLiteral("CommReadCD (GetCommModemStatus)"));
        e->serial->clearError();
        return m_lastError.code;
    }
    status = 0;
    const std::pair<QSerialPort::PinoutSignal, int> bits[] = {
        {QSerialPort::ClearToSendSignal, MS_CTS_ON},
        {QSerialPort::DataSetReadySignal, MS_DSR_ON},
        {QSerialPort::RingIndicatorSignal, MS_RING_ON},
        {QSerialPort::DataCarrierDetectSignal, MS_RLSD_ON},
        {QSerialPort::DataTerminalReadySignal, OUT_DTR_ON},
        {QSerialPort::RequestToSendSignal, OUT_RTS_ON}};
    for (const auto &[pin, bit] : bits) {
        if (pins & pin)
            status |= bit;
    }
    return 0;
}

int ModComm::CommRead(int port, QByteArray &data, int /*size*/)
{
    data.clear();
    int result = 0;
    Entry *e = entry(port, "CommRead", &result);
    if (!e)
        return result;
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, QStringLiteral("CommRead (ClearCommError)"), systemText(BadHandle));
        return -1;
    }
    // Everything that has arrived, whatever the caller asked for.
    data = e->serial->readAll();
    m_trace.bytes(port, '<', data);
    return int(data.size());
}

int ModComm::CommWrite(int port, const QByteArray &data)
{
    int result = 0;
    Entry *e = entry(port, "CommWrite", &result);
    if (!e)
        return result;
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, QStringLiteral("CommWrite (WriteFile)"), systemText(BadHandle));
        return -1;
    }
    const qint64 n = e->serial->write(data);
    e->wrote = e->wrote || n > 0;
    m_trace.bytes(port, '>', QByteArrayView(data).first(qMax<qint64>(n, 0)));
    if (n < 0) {
        recordSerialError(*e->serial, QStringLiteral("CommWrite (WriteFile)"));
        return -1;
    }
    // Hand the bytes to the driver now where it takes them; the rest follows as it drains.
    e->serial->flush();
    return int(n);
}

int ModComm::CommReadCD(int port, int mask, bool &state)
{
    int status = 0;
    if (const int r = modemLines(port, status); r != 0)
        return r;
    state = (mask & status & 0xFF) != 0; // the modem status bits, not the output lines
    return 0;
}

int ModComm::CommSetLine(int port, int line, bool state)
{
    int result = 0;
    Entry *e = entry(port, "CommSetLine", &result);
    if (!e)
        return result;
    const QString source = QStringLiteral("CommSetLine (EscapeCommFunction)");
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, source, systemText(BadHandle));
        return BadHandle;
    }
    bool ok = false;
    switch (line) {
    case LINE_BRK:
        ok = e->serial->setBreakEnabled(state);
        break;
    case LINE_DTR:
        ok = e->serial->setDataTerminalReady(state);
        break;
    case LINE_RTS:
        ok = e->serial->setRequestToSend(state);
        break;
    default:
        recordError(BadArgument, source, systemText(BadArgument));
        return BadArgument;
    }
    if (!ok) {
        // A pty cannot drive the modem lines: a failure of this call, not a lost port.
        recordSerialError(*e->serial, source);
        e->serial->clearError();
        return m_lastError.code;
    }
    static const char *const names[] = {"", "break", "DTR", "RTS"};
    m_trace.event(port, QStringLiteral("%1 %2").arg(QLatin1String(names[line]), state ? "on" : "off"));
    return 0;
}

int ModComm::FormatCommError(QString &text) const
{
    text = m_lastError.line();
    return m_lastError.code;
}

int ModComm::setOutputFlowControl(int port, bool on)
{
    int result = 0;
    Entry *e = entry(port, "CommSet", &result);
    if (!e)
        return result;
    if (!e->serial || !e->serial->isOpen()) {
        recordError(BadHandle, QStringLiteral("CommSet (SetCommState)"), systemText(BadHandle));
        return BadHandle;
    }
    const bool ok =
        on ? outputOnlySoftwareFlow(*e->serial) : e->serial->setFlowControl(QSerialPort::NoFlowControl);
    m_trace.event(port, on ? QStringLiteral("XON/XOFF on") : QStringLiteral("XON/XOFF off"));
    if (!ok) {
        recordSerialError(*e->serial, QStringLiteral("CommSet (SetCommState)"));
        return m_lastError.code ? m_lastError.code : BadArgument;
    }
    return 0;
}

bool ModComm::isOpen(int port) const
{
    return port >= 1 && port <= PortCount && m_ports[port].open;
}

qint64 ModComm::bytesAvailable(int port) const
{
    return isOpen(port) ? m_ports[port].serial->bytesAvailable() : 0;
}

qint64 ModComm::bytesToWrite(int port) const
{
    return isOpen(port) ? m_ports[port].serial->bytesToWrite() : 0;
}

void ModComm::onSerialError(int port, int error)
{
    Entry &e = m_ports[port];
    if (!e.open || !e.serial)
        return; // a repeat after the port was already given up
    const auto err = static_cast<QSerialPort::SerialPortError>(error);
    if (err != QSerialPort::ResourceError && err != QSerialPort::ReadError && err != QSerialPort::WriteError)
        return; // time-outs and unsupported line controls are not a lost device
    if (deviceStillThere(*e.serial)) {
        e.serial->clearError();
        return;
    }
    const QString source = err == QSerialPort::WriteError ? QStringLiteral("CommWrite (WriteFile)")
                                                          : QStringLiteral("CommRead (ReadFile)");
    // The device hung up: that is what the line says, whatever errno the port last saw.
    const int code = platformCode(err);
    recordError(code, source, systemText(code));
    e.serial->close();
    release(port);
    const QString line = m_lastError.line();
    m_trace.event(port, QStringLiteral("lost: ") + line);
    Q_EMIT portLost(port, line);
}
