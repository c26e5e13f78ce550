// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/modcomm.h"
#include "serial/portinfo.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "support/testdata.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

SerialPortEntry port(const char *path, const char *byId, bool adapter)
{
    SerialPortEntry e;
    e.path = QLatin1String(path);
    e.byId = QLatin1String(byId);
    e.adapter = adapter;
    return e;
}

// A program that has path open (and, where not given a master end to close, that too, as the
// simulator has its pty's), until it is ended.
struct Holder
{
    explicit Holder(const char *path, int masterToClose = -1)
    {
        pid = ::fork();
        if (pid == 0) {
            if (masterToClose >= 0)
                ::close(masterToClose);
            const int fd = ::open(path, O_RDONLY | O_NOCTTY);
            if (fd < 0)
                ::_exit(1);
            ::execlp("sleep", "sleep", "30", static_cast<char *>(nullptr));
            ::_exit(1);
        }
    }
    ~Holder()
    {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    pid_t pid;
};

} // namespace

class TestPortInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        setSerialPortLister({});
        for (int n = 1; n <= 4; ++n)
            qunsetenv(qPrintable(QStringLiteral("QNCF_COM%1").arg(n)));
    }

    // The COM options take QNCF_COMn, then the adapters in a stable order, then ttyS.
    void defaults_data()
    {
        QTest::addColumn<QStringList>("environment"); // "n=device"
        QTest::addColumn<QStringList>("devices");     // COM1..COM5
        const QString a = QStringLiteral("/dev/serial/by-id/usb-A-if00"), b = QStringLiteral("/dev/ttyACM0");
        QTest::newRow("adapters first")
            << QStringList{} << QStringList{a, b, "/dev/ttyS2", "/dev/ttyS3", "/dev/ttyS4"};
        QTest::newRow("a named option keeps its name")
            << QStringList{"1=/dev/ttyS0"} << QStringList{"/dev/ttyS0", a, b, "/dev/ttyS3", "/dev/ttyS4"};
        QTest::newRow("a named adapter is not handed out twice")
            << QStringList{"3=/dev/ttyUSB0"}
            << QStringList{b, "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyS3", "/dev/ttyS4"};
    }
    void defaults()
    {
        QFETCH(QStringList, environment);
        for (const QString &e : environment)
            qputenv(qPrintable(QStringLiteral("QNCF_COM") + e.section(QLatin1Char('='), 0, 0)),
                    e.section(QLatin1Char('='), 1).toLocal8Bit());
        // Listed out of order: the built-in port, then the adapters.
        setSerialPortLister([] {
            return QList<SerialPortEntry>{port("/dev/ttyS0", "", false), port("/dev/ttyACM0", "", true),
                                          port("/dev/ttyUSB0", "/dev/serial/by-id/usb-A-if00", true)};
        });
        const QList<SerialPortEntry> ports = listSerialPorts();
        QCOMPARE(ports.first().byId, QStringLiteral("/dev/serial/by-id/usb-A-if00"));
        QCOMPARE(ports.last().path, QStringLiteral("/dev/ttyS0"));
        QStringList got;
        for (int n = 1; n <= 5; ++n)
            got << defaultComDevice(n, ports);
        QCOMPARE(got, FETCHED(QStringList, devices));
    }

    // Another program with the device open is found; the far side of a pty (which holds its
    // master end too) and this program are not.
    void holders()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QByteArray slave = ::ptsname(master);
        const int own = ::open(slave.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(own >= 0);
        QVERIFY(otherHolders(QString::fromLatin1(slave)).isEmpty());
        {
            Holder farSide(slave.constData());
            QTest::qWait(200);
            QVERIFY(otherHolders(QString::fromLatin1(slave)).isEmpty());
        }
        Holder reader(slave.constData(), master);
        QTest::qWait(200);
        const QList<PortHolder> found = otherHolders(QString::fromLatin1(slave));
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().pid, qint64(reader.pid));
        QCOMPARE(found.first().name, QStringLiteral("sleep"));
        QCOMPARE(portAdvice(QString::fromLatin1(slave), EBUSY, QString(), found),
                 QStringLiteral("%1 is in use by sleep (pid %2): close that program, then try again.")
                     .arg(QString::fromLatin1(slave))
                     .arg(reader.pid));
        ::close(own);
        ::close(master);
    }

    // What is no serial port is said to be just that, however many programs have it open.
    void noSerialPort_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("regular file") << "file";
        QTest::newRow("/dev/null") << "/dev/null";
    }
    void noSerialPort()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = kind;
        if (kind == QLatin1String("folder")) {
            path = dir.filePath(kind);
            QVERIFY(QDir().mkdir(path));
        } else if (kind == QLatin1String("file")) {
            path = dir.filePath(kind);
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("text") == 4);
        }
        Holder other(QFile::encodeName(path).constData());
        QTest::qWait(200);
        QVERIFY(otherHolders(path).isEmpty());
        ModComm comm;
        QVERIFY(comm.CommOpen(1, path, QStringLiteral("baud=9600 parity=N data=8 stop=1")) != 0);
        QCOMPARE(comm.openFailureAdvice(), path + QStringLiteral(" is not a serial port."));
        comm.CommClose(1);
    }
};

QTEST_GUILESS_MAIN(TestPortInfo)
#include "tst_portinfo.moc"
