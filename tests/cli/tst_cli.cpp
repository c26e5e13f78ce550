#include "config/modelcatalog.h"
#include "files/configfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include "support/testdata.h"

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

Result runCli(const QStringList &args, int timeoutMs = 20000)
{
    QProcess p;
    p.setProgram(QStringLiteral(QNCF_CLI_PATH));
    p.setArguments(args);
    p.start();
    p.closeWriteChannel();
    Result r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// qnsim as its own process, as a user would start it.
struct Simulator
{
    Simulator(const QString &model, const QString &eeprom, const QStringList &extra = {})
    {
        process.setProgram(QStringLiteral(QNSIM_PATH));
        process.setArguments(
            QStringList{QStringLiteral("--model"), model, QStringLiteral("--eeprom"), eeprom} + extra);
        process.start();
        if (process.waitForStarted() && process.waitForReadyRead(5000))
            device = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~Simulator()
    {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
    }
    QProcess process;
    QString device;
};

QString writeConfig(const QTemporaryDir &dir, const QString &name, const QString &model, int station)
{
    ConfigRecord rec;
    rec.applyFreshConfiguration();
    rec.StationNumber = quint8(station);
    rec.ChanCSpeed = 8;
    rec.ChanBFormat = 2 | 4 | 16;
    rec.LinkOptions = 1;
    rec.AuxByte1.set("0");
    rec.AuxByte2.set("0");
    const QString path = dir.filePath(name);
    return SaveConfigFile(path, rec, modelOf(model)).ok ? path : QString();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void models()
    {
        const Result r = runCli({QStringLiteral("models")});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 18);
        QVERIFY(lines.first().startsWith(QLatin1String("QN4000-JMR")));
        QVERIFY(lines.filter(QStringLiteral("QN4000-NGD")).first().contains(QLatin1String(" 51 bytes")));
    }

    // A file name whose bytes are no valid text is refused, not turned into another name: the
    // shell passes the raw bytes, as a user's would.
    void namesThatAreNoText_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("show") << "show --model QN4000-NGD";
        QTest::newRow("upload") << "upload --model QN4000-NGD --port COM1 --yes";
    }
    void namesThatAreNoText()
    {
        QTemporaryDir dir;
        const QByteArray raw = QFile::encodeName(dir.path()) + "/bad\xff\xfe.QNC";
        const bool show = FETCHED(QString, command).startsWith(QLatin1String("show"));
        if (show) {
            const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0600);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        QProcess p;
        p.setProgram(QStringLiteral("/bin/sh"));
        p.setArguments({QStringLiteral("-c"),
                        QStringLiteral("exec \"$0\" %1 \"$(printf '%2/bad\\377\\376.QNC')\"")
                            .arg(FETCHED(QString, command), dir.path()),
                        QStringLiteral(QNCF_CLI_PATH)});
        p.start();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("not valid text")), qPrintable(err));
        // Nothing was written under a name the conversion made up.
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(::access(raw.constData(), F_OK) == 0, show);
    }

    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("no model") << QStringList{"show", "x.QNC"};
        QTest::newRow("unknown model") << QStringList{"show", "--model", "QN9000-ABC", "x.QNC"};
        QTest::newRow("no port") << QStringList{"download", "--model", "QN4000-PXA", "x.QNC"};
        QTest::newRow("missing file") << QStringList{"show", "--model", "QN4000-PXA", "/nonexistent/x.QNC"};
        QTest::newRow("missing device") << QStringList{"upload",
                                                       "--model",
                                                       "QN4000-PXA",
                                                       "--port",
                                                       "/dev/no-such-tty",
                                                       "--yes",
                                                       "/tmp/never-written.QNC"};
    }
    void badInput()
    {
        const Result r = runCli(FETCHED(QStringList, args));
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.startsWith(QLatin1String("qncf-cli: ")));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/never-written.QNC")));
    }

    void showAndMessage()
    {
        QTemporaryDir dir;
        const QString file = writeConfig(dir, QStringLiteral("pxa.QNC"), QStringLiteral("QN4000-PXA"), 10);
        const Result show =
            runCli({QStringLiteral("show"), QStringLiteral("--model"), QStringLiteral("QN4000-PXA"), file});
        QCOMPARE(show.status, 0);
        QVERIFY2(show.out.contains(QLatin1String("MODEL: QN4000-PXA\n")), qPrintable(show.out));
        QVERIFY(show.out.contains(QLatin1String("STATION NUMBER: 12 Octal\n")));
        QVERIFY(show.out.contains(QLatin1String("PARITY: EVEN\n")));
        QVERIFY2(show.err.isEmpty(), qPrintable(show.err)); // no warnings between the rows

        const Result msg = runCli(
            {QStringLiteral("message"), QStringLiteral("--model"), QStringLiteral("QN4000-PXA"), file});
        QCOMPARE(msg.status, 0);
        const QByteArray bytes = QByteArray::fromHex(msg.out.trimmed().toLatin1());
        QCOMPARE(bytes.size(), 67);
        QVERIFY(bytes.startsWith(QByteArray("NEE\x3A\0\0\0", 7)));
        QCOMPARE(int(quint8(bytes.at(7 + 22))), findModel(u"QN4000-PXA")->productCode);
        QCOMPARE(int(quint8(bytes.at(7 + 24))), 10); // station
    }

    // Download, then upload what the unit holds: the same configuration comes back.
    void downloadThenUpload_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("PXA") << "QN4000-PXA";
        QTest::newRow("LBW") << "QN6000-LBW";
    }
    void downloadThenUpload()
    {
        QFETCH(QString, model);
        QTemporaryDir dir;
        Simulator sim(model, dir.filePath(QStringLiteral("eeprom.bin")));
        QVERIFY(!sim.device.isEmpty());
        const QString file = writeConfig(dir, QStringLiteral("in.QNC"), model, 5);
        const Result down = runCli({QStringLiteral("download"), QStringLiteral("--model"), model,
                                    QStringLiteral("--port"), sim.device, file, QStringLiteral("--yes")});
        QVERIFY2(down.status == 0, qPrintable(down.out + down.err));
        QVERIFY(down.out.contains(QLatin1String("A-OK! Transmission received by Quintrel")));
        QVERIFY(down.out.contains(QLatin1String("Press the RESET Button of the Quintrel to put it ON-LINE")));

        const QString out = dir.filePath(QStringLiteral("out.QNC"));
        const Result up = runCli({QStringLiteral("upload"), QStringLiteral("--model"), model,
                                  QStringLiteral("--port"), sim.device, out, QStringLiteral("--yes")});
        QVERIFY2(up.status == 0, qPrintable(up.out + up.err));
        QVERIFY(up.out.contains(QLatin1String("A-OK! Success - Upload complete.")));
        // The uploaded file carries lines 11 and 12 as numbers.
        const QList<QByteArray> lines = readAll(out).split('\n');
        QCOMPARE(lines.at(10), QByteArray("0\r"));
        QCOMPARE(lines.at(11), QByteArray("0\r"));

        const Result a = runCli({QStringLiteral("message"), QStringLiteral("--model"), model, file});
        const Result b = runCli({QStringLiteral("message"), QStringLiteral("--model"), model, out});
        QCOMPARE(a.status, 0);
        QCOMPARE(b.out, a.out);
    }

    void converterFaults_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");
        QTest::newRow("download, no ack") << "download"
                                          << "noack";
        QTest::newRow("upload, not TR") << "upload"
                                        << "badtr";
    }
    void converterFaults()
    {
        QTemporaryDir dir;
        Simulator sim(QStringLiteral("QN4000-NGD"), dir.filePath(QStringLiteral("e.bin")),
                      {QStringLiteral("--fault"), FETCHED(QString, fault)});
        QVERIFY(!sim.device.isEmpty());
        QFETCH(QString, command);
        const QString file = command == QLatin1String("download")
                                 ? writeConfig(dir, QStringLiteral("in.QNC"), QStringLiteral("QN4000-NGD"), 1)
                                 : dir.filePath(QStringLiteral("out.QNC"));
        const Result r = runCli({command, QStringLiteral("--model"), QStringLiteral("QN4000-NGD"),
                                 QStringLiteral("--port"), sim.device, file, QStringLiteral("--yes")});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
        if (command == QLatin1String("upload"))
            QVERIFY(!QFile::exists(file));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
