// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/modcomm.h"
#include "serial/portinfo.h"

#include <QTest>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// What a port that cannot be opened says, in the system's own codes: built and run on Linux
// and on Windows.
class tst_porterrors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { setSerialPortLister({}); }

    void advice_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("advice");
        const QString busy = QStringLiteral("COM4 is in use by another program: close it, then try again.");
        const QString missing =
            QStringLiteral("COM4: not connected, or it has another name now. Serial ports "
                           "found: COM1, COM3.");
        const QString other = QStringLiteral("Check that COM4 is the converter's serial port.");
#ifdef Q_OS_WIN
        QTest::newRow("another program has it") << int(ERROR_ACCESS_DENIED) << busy;
        QTest::newRow("shared by a driver") << int(ERROR_SHARING_VIOLATION) << busy;
        QTest::newRow("no such port") << int(ERROR_FILE_NOT_FOUND) << missing;
        QTest::newRow("adapter pulled") << int(ERROR_DEVICE_NOT_CONNECTED) << missing;
        QTest::newRow("device failure") << int(ERROR_GEN_FAILURE) << other;
#else
        QTest::newRow("another program has it") << int(EBUSY) << busy;
        QTest::newRow("no such port") << int(ENOENT) << missing;
        QTest::newRow("device failure") << int(EIO) << other;
#endif
    }
    void advice()
    {
        QFETCH(int, code);
        QFETCH(QString, advice);
        setSerialPortLister([] {
            SerialPortEntry one, three;
            one.path = QStringLiteral("COM1");
            three.path = QStringLiteral("COM3");
            return QList<SerialPortEntry>{one, three};
        });
        QCOMPARE(portAdvice(QStringLiteral("COM4"), code, QString()), advice);
    }

    // The error line carries the code the system gave and its own text, and the advice follows
    // from that code, not from the serial port's coarser kind of error.
    void openingAPortThatIsNotThere()
    {
#ifdef Q_OS_WIN
        const QString device = QStringLiteral("QNCF-NO-SUCH-PORT");
        const int notThere = ERROR_FILE_NOT_FOUND;
#else
        const QString device = QStringLiteral("/dev/qncf-no-such-port");
        const int notThere = ENOENT;
#endif
        ModComm comm;
        QCOMPARE(comm.CommOpen(1, device, QStringLiteral("baud=9600 parity=N data=8 stop=1")), notThere);
        QVERIFY(!comm.isOpen(1));
        const CommError error = comm.lastError();
        QCOMPARE(error.code, notThere);
        QCOMPARE(error.text, qt_error_string(notThere).trimmed());
        QVERIFY2(comm.openFailureAdvice().startsWith(device + QStringLiteral(": not connected")),
                 qPrintable(comm.openFailureAdvice()));
    }
};

QTEST_GUILESS_MAIN(tst_porterrors)
#include "tst_porterrors.moc"
