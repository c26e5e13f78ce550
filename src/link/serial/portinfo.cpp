// SPDX-License-Identifier: GPL-3.0-or-later
#include "portinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

std::function<QList<SerialPortEntry>()> &lister()
{
    static std::function<QList<SerialPortEntry>()> f;
    return f;
}

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QList<SerialPortEntry> systemPorts()
{
    QList<SerialPortEntry> ports;
    // The system's stable names, each a link to the device it names now.
    QMap<QString, QString> byId; // device -> by-id link
    const QDir ids(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link :
         ids.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        byId.insert(canonical(link.absoluteFilePath()), link.absoluteFilePath());

    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry e;
#ifdef Q_OS_WIN
        // "COM3", as Windows and its users name the port, not its device path "\\.\COM3".
        e.path = info.portName();
#else
        e.path = info.systemLocation();
#endif
        e.byId = byId.take(canonical(e.path));
        e.description = info.description();
        e.manufacturer = info.manufacturer();
        e.serialNumber = info.serialNumber();
        static const QRegularExpression usb(QStringLiteral("tty(USB|ACM)[0-9]+$"));
        e.adapter = info.hasVendorIdentifier() || usb.match(e.path).hasMatch() || !e.byId.isEmpty();
        ports.append(e);
    }
    // A stable name whose device the port list leaves out is still a port the user has.
    for (auto it = byId.cbegin(); it != byId.cend(); ++it) {
        SerialPortEntry e;
        e.path = it.key();
        e.byId = it.value();
        e.adapter = true;
        ports.append(e);
    }
    return ports;
}

#ifdef Q_OS_UNIX
QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
}

// The lock file a serial port library leaves for the device, and the pid it names.
struct LockFile
{
    QString path;
    qint64 pid = 0;
};

std::optional<LockFile> lockFileOf(const QString &device)
{
    const QString name = QStringLiteral("LCK..") + QFileInfo(canonical(device)).fileName();
    for (const char *dir : {"/var/lock", "/run/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                            "/tmp", "/var/tmp"}) {
        QFile f(QLatin1String(dir) + QLatin1Char('/') + name);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray head = f.read(64);
        bool ok = false;
        qint64 pid = head.split('\n').value(0).trimmed().toLongLong(&ok);
        if (!ok && head.size() >= 4) // the old binary form: a native int
            pid = *reinterpret_cast<const qint32 *>(head.constData());
        return LockFile{f.fileName(), pid};
    }
    return std::nullopt;
}
#endif

#ifdef Q_OS_LINUX
// Whether the character devices of this major number belong to a terminal driver (ttyS,
// ttyUSB, ttyACM, pts...), from the names the drivers registered; nullopt if unlisted.
std::optional<bool> terminalMajor(unsigned int number)
{
    QFile devices(QStringLiteral("/proc/devices"));
    if (!devices.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    std::optional<bool> terminal;
    for (const QByteArray &line : devices.readAll().split('\n')) {
        if (line.startsWith("Block devices"))
            break; // the character devices come first
        const QList<QByteArray> words = line.simplified().split(' ');
        bool isNumber = false;
        if (words.size() != 2 || words[0].toUInt(&isNumber) != number || !isNumber)
            continue;
        terminal = terminal.value_or(false) || words[1].startsWith("tty") || words[1] == "pts";
    }
    return terminal;
}
#endif

} // namespace

QString SerialPortEntry::details() const
{
    QStringList parts;
    for (const QString &s : {description, manufacturer})
        if (!s.isEmpty())
            parts << s;
    if (!serialNumber.isEmpty())
        parts << QCoreApplication::translate("portinfo", "serial number %1").arg(serialNumber);
    return parts.join(QStringLiteral(", "));
}

QString SerialPortEntry::label() const
{
    const QString dev = QStringLiteral("/dev/");
    QString text = path.startsWith(dev) ? path.mid(dev.size()) : path;
    QStringList maker;
    for (const QString &s : {manufacturer, serialNumber})
        if (!s.isEmpty())
            maker << s;
    if (!description.isEmpty())
        text += QStringLiteral(" — ") + description;
    if (!maker.isEmpty())
        text += (description.isEmpty() ? QStringLiteral(" — ") : QStringLiteral(" ")) + QLatin1Char('(') +
                maker.join(QStringLiteral(", ")) + QLatin1Char(')');
    return text;
}

QString deviceLabel(const QList<SerialPortEntry> &ports, const QString &device)
{
    if (const auto entry = findSerialPort(ports, device))
        return entry->label();
    SerialPortEntry unlisted;
    unlisted.path = device;
    return unlisted.label();
}

QList<SerialPortEntry> listSerialPorts()
{
    QList<SerialPortEntry> ports = lister() ? lister()() : systemPorts();
    std::stable_sort(ports.begin(), ports.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) {
        if (a.adapter != b.adapter)
            return a.adapter;
        return a.name() < b.name();
    });
    return ports;
}

void setSerialPortLister(std::function<QList<SerialPortEntry>()> f)
{
    lister() = std::move(f);
}

std::optional<SerialPortEntry> findSerialPort(const QList<SerialPortEntry> &ports, const QString &device)
{
    const QString target = canonical(device);
    for (const SerialPortEntry &e : ports) {
        if (e.path == device || e.byId == device || canonical(e.path) == target)
            return e;
    }
    return std::nullopt;
}

QString defaultComDevice(int n, const QList<SerialPortEntry> &ports)
{
    auto configured = [](int k) {
        return QString::fromLocal8Bit(qgetenv(qPrintable(QStringLiteral("QNCF_COM%1").arg(k))));
    };
    if (const QString c = configured(n); !c.isEmpty())
        return c;
#ifdef Q_OS_WIN
    Q_UNUSED(ports);
    return QStringLiteral("COM%1").arg(n);
#else
    if (n <= 4) {
        // The adapters nobody named, handed out to the options that have no name of their own.
        QStringList named;
        for (int k = 1; k <= 4; ++k)
            if (const QString c = configured(k); !c.isEmpty())
                named << canonical(c);
        QStringList free;
        for (const SerialPortEntry &e : ports)
            if (e.adapter && !named.contains(canonical(e.path)))
                free << e.name();
        int rank = 0;
        for (int k = 1; k < n; ++k)
            if (configured(k).isEmpty())
                ++rank;
        if (rank < free.size())
            return free.at(rank);
    }
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

bool isNoSerialPort(const QString &device)
{
#ifdef Q_OS_UNIX
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return false;
    if (!S_ISCHR(st.st_mode))
        return true;
#ifdef Q_OS_LINUX
    if (const std::optional<bool> terminal = terminalMajor(::major(st.st_rdev)))
        return !*terminal;
#endif
    return false;
#else
    Q_UNUSED(device);
    return false;
#endif
}

QList<PortHolder> otherHolders(const QString &device)
{
    QList<PortHolder> holders;
#ifdef Q_OS_LINUX
    if (isNoSerialPort(device))
        return holders;
    const QString target = canonical(device);
    static const QRegularExpression pts(QStringLiteral("^/dev/pts/([0-9]+)$"));
    const QRegularExpressionMatch ptsMatch = pts.match(target);
    const qint64 self = qint64(::getpid());
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        const QString fdDir = QStringLiteral("/proc/%1/fd").arg(pid);
        bool holds = false, farSide = false;
        for (const QString &fd : QDir(fdDir).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            const QString link = QFile::symLinkTarget(fdDir + QLatin1Char('/') + fd);
            if (link == target) {
                holds = true;
            } else if (ptsMatch.hasMatch() &&
                       (link == QLatin1String("/dev/ptmx") || link == QLatin1String("/dev/pts/ptmx"))) {
                // The master end: which pty it serves is in its fdinfo.
                QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd));
                if (info.open(QIODevice::ReadOnly)) {
                    const QByteArray text = info.readAll();
                    static const QRegularExpression index(QStringLiteral("tty-index:\\s*([0-9]+)"));
                    const QRegularExpressionMatch m = index.match(QString::fromLatin1(text));
                    if (m.hasMatch() && m.captured(1) == ptsMatch.captured(1))
                        farSide = true;
                }
            }
        }
        if (holds && !farSide)
            holders.append({pid, processName(pid)});
    }
#else
    Q_UNUSED(device);
#endif
    return holders;
}

namespace {

QString inUse(const QString &shown)
{
    return QCoreApplication::translate("portinfo",
                                       "%1 is in use by another program: close it, then try again.")
        .arg(shown);
}

QString notConnected(const QString &shown)
{
    QStringList found;
    for (const SerialPortEntry &e : listSerialPorts())
        found << e.name();
    //: %2 is the list of the serial ports there are, or the sentence that there are none
    return QCoreApplication::translate("portinfo", "%1: not connected, or it has another name now. %2")
        .arg(shown, found.isEmpty() ? QCoreApplication::translate("portinfo", "No serial ports were found.")
                                    : QCoreApplication::translate("portinfo", "Serial ports found: %1.")
                                          .arg(found.join(QStringLiteral(", "))));
}

} // namespace

QString portAdvice(const QString &device, int errorCode, const QString &errorText,
                   const QList<PortHolder> &holders)
{
    const QString shown = device;
#ifdef Q_OS_UNIX
    // Whatever the open said, and whoever has it open too.
    if (isNoSerialPort(device))
        return QCoreApplication::translate("portinfo", "%1 is not a serial port.").arg(shown);
    if (!holders.isEmpty()) {
        QStringList who;
        for (const PortHolder &h : holders)
            who << QStringLiteral("%1 (pid %2)")
                       .arg(h.name.isEmpty() ? QStringLiteral("?") : h.name)
                       .arg(h.pid);
        //: %1 is the device, %2 the programs that hold it, each as "name (pid n)"
        return QCoreApplication::translate("portinfo",
                                           "%1 is in use by %2: close that program, then try again.")
            .arg(shown, who.join(QStringLiteral(", ")));
    }
    if (errorCode == EACCES || errorCode == EPERM) {
        struct stat st
        {
        };
        QString groupName;
        if (::stat(QFile::encodeName(canonical(device)).constData(), &st) == 0) {
            if (const struct group *g = ::getgrgid(st.st_gid))
                groupName = QString::fromLocal8Bit(g->gr_name);
        }
        if (errorText.contains(QLatin1String("lock"), Qt::CaseInsensitive)) {
            if (const auto lock = lockFileOf(device))
                //: %2 is the lock file, %3 the process id written in it
                return QCoreApplication::translate("portinfo", "%1 is locked by %2, which names pid %3.")
                    .arg(shown, lock->path)
                    .arg(lock->pid);
        }
        if (!groupName.isEmpty() && (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP))
            //: %2 is the device's group; the command stays as it is
            return QCoreApplication::translate(
                       "portinfo", "%1 belongs to the group \"%2\": add yourself to that group (e.g. `sudo "
                                   "usermod -aG %2 $USER`), then log in again.")
                .arg(shown, groupName);
        return QCoreApplication::translate("portinfo",
                                           "%1 may be opened by its owner only: have it given to the group "
                                           "\"dialout\" (a udev rule), join that group, then log in again.")
            .arg(shown);
    }
    if (errorCode == ENOENT || errorCode == ENODEV || errorCode == ENXIO)
        return notConnected(shown);
    if (errorCode == EBUSY) {
        if (const auto lock = lockFileOf(device)) {
            if (lock->pid > 0 && ::kill(pid_t(lock->pid), 0) != 0 && errno == ESRCH)
                //: %2 is the lock file, %3 the process id written in it
                return QCoreApplication::translate(
                           "portinfo", "%1 has a stale lock file %2 (pid %3 no longer runs): remove it.")
                    .arg(shown, lock->path)
                    .arg(lock->pid);
            //: %2 is a program's name, %3 its process id, %4 the lock file
            return QCoreApplication::translate("portinfo",
                                               "%1 is in use by %2 (pid %3), says its lock file %4.")
                .arg(shown, processName(lock->pid))
                .arg(lock->pid)
                .arg(lock->path);
        }
        return inUse(shown);
    }
    if (errorCode == ENOTTY || errorCode == EISDIR)
        return QCoreApplication::translate("portinfo", "%1 is not a serial port.").arg(shown);
#elif defined(Q_OS_WIN)
    Q_UNUSED(errorText);
    Q_UNUSED(holders);
    // Windows lets one program at a time open a COM port; the next is denied, whatever its
    // rights. So "access denied" means another program holds it.
    if (errorCode == ERROR_ACCESS_DENIED || errorCode == ERROR_SHARING_VIOLATION)
        return inUse(shown);
    if (errorCode == ERROR_FILE_NOT_FOUND || errorCode == ERROR_PATH_NOT_FOUND ||
        errorCode == ERROR_INVALID_NAME || errorCode == ERROR_DEVICE_NOT_CONNECTED ||
        errorCode == ERROR_DEVICE_REMOVED)
        return notConnected(shown);
#else
    Q_UNUSED(errorCode);
    Q_UNUSED(errorText);
    Q_UNUSED(holders);
#endif
    return QCoreApplication::translate("portinfo", "Check that %1 is the converter's serial port.")
        .arg(shown);
}
