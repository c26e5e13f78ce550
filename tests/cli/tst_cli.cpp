// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/licence.h"
#include "config/modelcatalog.h"
#include "files/configfile.h"
#include "files/fileomissions.h"

#include "serial/modcomm.h"
#include <memory>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "support/testdata.h"

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

// A program run to its end. With serveEvents this process goes on serving events meanwhile
// (a timer may kill the simulator).
Result run(const QString &program, const QStringList &args, int timeoutMs, bool serveEvents)
{
    QProcess p;
    p.start(program, args);
    p.closeWriteChannel();
    Result r;
    QElapsedTimer clock;
    clock.start();
    if (serveEvents) {
        while (p.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs)
            QTest::qWait(20);
    } else {
        p.waitForFinished(timeoutMs);
    }
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

Result runCli(const QStringList &args, int timeoutMs = 20000)
{
    return run(QStringLiteral(QNCF_CLI_PATH), args, timeoutMs, false);
}

Result runCliAsync(const QString &program, const QStringList &args, int timeoutMs = 20000)
{
    return run(program, args, timeoutMs, true);
}

// A tmpfs of its own, where the test may mount one (as root).
struct TinyDisk
{
    TinyDisk(const QString &where, const QString &options) : path(where)
    {
        mounted = QProcess::execute(QStringLiteral("mount"),
                                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                     options, QStringLiteral("tmpfs"), path}) == 0;
    }
    ~TinyDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {path});
    }
    QString path;
    bool mounted = false;
};

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

QString writeConfig(const QTemporaryDir &dir, const QString &name, const QString &model, int station,
                    int linkOptions = 1)
{
    ConfigRecord rec;
    rec.applyFreshConfiguration();
    rec.StationNumber = quint8(station);
    rec.ChanCSpeed = 8;
    rec.ChanBFormat = 2 | 4 | 16;
    rec.LinkOptions = quint8(linkOptions);
    rec.AuxByte1.set("0");
    rec.AuxByte2.set("0");
    const QString path = dir.filePath(name);
    return SaveConfigFile(path, rec, modelOf(model)).ok ? path : QString();
}

// The one reason line on standard error, and the line after it (what to do), if any.
struct Reason
{
    int count = 0;
    QString line;
    QString advice;
};
Reason reasonOf(const QString &err)
{
    Reason r;
    const QStringList lines = err.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1String("qncf-cli: "))) {
            ++r.count;
            r.line = lines[i];
            r.advice = lines.value(i + 1);
        }
    }
    return r;
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
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("names"); // what the reason line must name
        const QString pxa = QStringLiteral("QN4000-PXA");
        QTest::newRow("no command") << QStringList{} << 2 << "no command";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "\"frobnicate\"";
        QTest::newRow("unknown option") << QStringList{"show", "--colour"} << 2 << "colour";
        QTest::newRow("no model") << QStringList{"show", "x.QNC"} << 2 << "--model";
        QTest::newRow("unknown model")
            << QStringList{"show", "--model", "QN9000-ABC", "x.QNC"} << 2 << "QN9000-ABC";
        QTest::newRow("no port") << QStringList{"download", "--model", pxa, "x.QNC"} << 2 << "--port";
        QTest::newRow("port where none goes")
            << QStringList{"show", "--model", pxa, "--port", "COM1", "x"} << 2 << "--port";
        QTest::newRow("option of another command")
            << QStringList{"download", "--model", pxa, "--port", "COM1", "--force", "x"} << 2 << "--force";
        QTest::newRow("one file too many") << QStringList{"show", "--model", pxa, "a", "b"} << 2 << "\"b\"";
        QTest::newRow("missing file")
            << QStringList{"show", "--model", pxa, "/nonexistent/x.QNC"} << 2 << "/nonexistent/x.QNC";
        QTest::newRow("upload over a file")
            << QStringList{"upload", "--model", pxa, "--port", "/dev/null", "--yes", "/etc/hostname"} << 2
            << "--force";
        QTest::newRow("missing device") << QStringList{"upload",
                                                       "--model",
                                                       pxa,
                                                       "--port",
                                                       "/dev/no-such-tty",
                                                       "--yes",
                                                       "/tmp/never-written.QNC"}
                                        << 3 << "No such file";
    }
    void badInput()
    {
        const QByteArray hostname = readAll(QStringLiteral("/etc/hostname"));
        const Result r = runCli(FETCHED(QStringList, args));
        QCOMPARE(r.status, FETCHED(int, status));
        const Reason why = reasonOf(r.err);
        QCOMPARE(why.count, 1);
        QVERIFY2(why.line.contains(FETCHED(QString, names)), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/never-written.QNC")));
        QCOMPARE(readAll(QStringLiteral("/etc/hostname")), hostname);
        if (r.status == 3) // a port error says what to do about it
            QVERIFY2(why.advice.contains(QLatin1String("/dev/no-such-tty: not connected")),
                     qPrintable(r.err));
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

    // Values the screens cannot show are not taken, by show and message alike; each is named on
    // a line of its own on standard error.
    void valuesNotTaken()
    {
        ConfigRecord rec;
        rec.applyFreshConfiguration();
        rec.BusType = {4, 0}; // the RIO adapter
        rec.ProtocolMode = 1;
        rec.StationNumber = 30; // racks 1 to 23
        rec.HighAddress = 9;    // ranges 1 to 7
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("uct.QNC"));
        QVERIFY(SaveConfigFile(path, rec, modelOf(u"QN6000-UCT")).ok);
        const QStringList told = {"Line 2, RACK NUMBER: 30 was not taken; 1 is used instead.",
                                  "Line 3, RACK RANGE: 9 was not taken; 1 is used instead."};
        const Result show = runCli({"show", "--model", "QN6000-UCT", path});
        QVERIFY2(show.out.contains(QLatin1String("RACK NUMBER: 1 Octal\nRACK RANGE: 1\n")),
                 qPrintable(show.out));
        QCOMPARE(show.err.split(QLatin1Char('\n')).filter(QLatin1String("Line ")), told);
        const Result msg = runCli({"message", "--model", "QN6000-UCT", path});
        QCOMPARE(msg.status, 0);
        const QByteArray bytes = QByteArray::fromHex(msg.out.trimmed().toLatin1());
        QCOMPARE(bytes.mid(7 + 24, 2), QByteArray("\x01\x01")); // rack number and range
    }

    // The rows the protocol dialogs write, from a file in each drive or Modbus mode.
    void showsTheDialogRows_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("options"); // ProtoParam[1] (Modbus) or AuxByte2 (Siemens)
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("Modbus master, ASCII")
            << "QN4000-LBW" << 3 << QStringList{"DEVICE TYPE: MASTER", "MODE OF OPERATION: ASCII"};
        QTest::newRow("Modbus slave, RTU")
            << "QN6000-LBW" << 8 << QStringList{"DEVICE TYPE: SLAVE", "MODE OF OPERATION: RTU"};
        QTest::newRow("Siemens USS") << "QN4000-WOLTA" << 2 << QStringList{"SIEMENS PROTOCOL: USS"};
        QTest::newRow("Siemens DUST6B") << "QN4000-WOLTA" << 1 << QStringList{"SIEMENS PROTOCOL: DUST6B"};
        // The drive settings are not in the file: the show gives the model's presets.
        QTest::newRow("Toshiba") << "QN4000-EPV4" << 0 << QStringList{"TOSHIBA PROTOCOL: G2"};
    }
    void showsTheDialogRows()
    {
        QFETCH(QString, model);
        QFETCH(int, options);
        ConfigRecord rec;
        rec.applyFreshConfiguration();
        rec.BusType = {1, 0}; // the model's own mode
        rec.ProtoParam[1] = quint8(options);
        rec.AuxByte1.set("20");
        rec.AuxByte2 = DecimalText::fromNumber(model.endsWith(QLatin1String("WOLTA")) ? options : 0);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.QNC"));
        QVERIFY(SaveConfigFile(path, rec, modelOf(model)).ok);
        const Result show = runCli({QStringLiteral("show"), QStringLiteral("--model"), model, path});
        QCOMPARE(show.status, 0);
        for (const QString &row : FETCHED(QStringList, rows))
            QVERIFY2(show.out.contains(row + QLatin1Char('\n')), qPrintable(show.out));
    }

    // Download, then upload what the unit holds: the same configuration comes back.
    void downloadThenUpload_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("PXA") << "QN4000-PXA";
        QTest::newRow("LBW") << "QN6000-LBW";
        QTest::newRow("EPV4") << "QN4000-EPV4"; // its file holds no Toshiba settings: said once each way
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
        QVERIFY(down.out.isEmpty()); // standard output is for results only
        QVERIFY(down.err.contains(QLatin1String("A-OK! Transmission received by Quintrel")));
        QVERIFY(down.err.contains(QLatin1String("Press the RESET Button of the Quintrel to put it ON-LINE")));
        const int notes = modelOf(model).fileOmits() == FileOmission::Nothing ? 0 : 1;
        QCOMPARE(down.err.count(QLatin1String("Not in the Configuration File: ")), notes);

        const QString out = dir.filePath(QStringLiteral("out.QNC"));
        const QString trace = dir.filePath(QStringLiteral("trace.log"));
        const Result up =
            runCli({QStringLiteral("upload"), QStringLiteral("--model"), model, QStringLiteral("--port"),
                    sim.device, out, QStringLiteral("--yes"), QStringLiteral("--trace"), trace});
        QVERIFY2(up.status == 0, qPrintable(up.out + up.err));
        // The traffic log: the port's settings, the request, the reply, each with its time.
        const QStringList logged =
            QString::fromUtf8(readAll(trace)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        static const QRegularExpression stamped(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} COM1 "));
        for (const QString &l : logged)
            QVERIFY2(stamped.match(l).hasMatch(), qPrintable(l));
        QVERIFY(logged.first().endsWith(
            QStringLiteral("open %1 baud=9600 parity=N data=8 stop=1").arg(sim.device)));
        QVERIFY(logged.filter(QRegularExpression(QStringLiteral(" >  54 45 4[5D] +TE[EM]$"))).size() >= 1);
        QVERIFY(logged.filter(QRegularExpression(QStringLiteral(" <  54 52 "))).size() >= 1);
        QVERIFY(logged.last().endsWith(QLatin1String(" close")));
        QVERIFY(up.out.isEmpty());
        QVERIFY(up.err.contains(QLatin1String("A-OK! Success - Upload complete.")));
        QCOMPARE(up.err.count(QLatin1String("Not in the Configuration File: ")), notes);
        // The uploaded file carries lines 11 and 12 as numbers.
        const QList<QByteArray> lines = readAll(out).split('\n');
        QCOMPARE(lines.at(10), QByteArray("0\r"));
        QCOMPARE(lines.at(11), QByteArray("0\r"));

        const Result a = runCli({QStringLiteral("message"), QStringLiteral("--model"), model, file});
        const Result b = runCli({QStringLiteral("message"), QStringLiteral("--model"), model, out});
        QCOMPARE(a.status, 0);
        QCOMPARE(b.out, a.out);
    }

    // Two files, a file and the unit, and a download checked by reading it back: the rows that
    // differ, with the summary's captions; exit 1 for a difference.
    void compareAndDiff()
    {
        QTemporaryDir dir;
        const QString model = QStringLiteral("QN4000-PXA");
        const QString five = writeConfig(dir, QStringLiteral("five.QNC"), model, 5);
        const QString six = writeConfig(dir, QStringLiteral("six.QNC"), model, 6);
        const QStringList m{QStringLiteral("--model"), model};

        Result r = runCli(QStringList{QStringLiteral("diff")} + m + QStringList{five, six});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out,
                 QStringLiteral("%1 | %2\nSTATION NUMBER: 5 Octal | 6 Octal\nbyte 31 StationNumber: 05 | 06\n"
                                "byte 65 checksum (low byte): E2 | E3\n")
                     .arg(five, six));
        r = runCli(QStringList{QStringLiteral("diff")} + m + QStringList{five, five});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.isEmpty());

        const QString eeprom = dir.filePath(QStringLiteral("e.bin"));
        Simulator sim(model, eeprom);
        QVERIFY(!sim.device.isEmpty());
        const QStringList port{QStringLiteral("--port"), sim.device, QStringLiteral("--yes")};
        r = runCli(QStringList{QStringLiteral("download"), QStringLiteral("--verify")} + m + port +
                   QStringList{five});
        QVERIFY2(r.status == 0 && r.out.isEmpty(), qPrintable(r.out + r.err));
        r = runCli(QStringList{QStringLiteral("compare")} + m + port + QStringList{six});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out,
                 QStringLiteral(
                     "%1 | the unit\nSTATION NUMBER: 6 Octal | 5 Octal\nbyte 31 StationNumber: 06 | 05\n"
                     "byte 65 checksum (low byte): E3 | E2\n")
                     .arg(six));

        // With no terminal to confirm the configuration mode on, nothing goes to the unit.
        const QByteArray stored = readAll(eeprom);
        r = runCli(QStringList{QStringLiteral("download")} + m +
                   QStringList{QStringLiteral("--port"), sim.device, six});
        QCOMPARE(r.status, 2);
        QVERIFY2(reasonOf(r.err).line.contains(QLatin1String("nothing sent")), qPrintable(r.err));
        QCOMPARE(readAll(eeprom), stored);
    }

    // What is sent decides, not what the summary shows: BCC against CRC (no summary row), and
    // an EPV4 unit whose drive type no file can hold.
    void differencesTheSummaryDoesNotShow()
    {
        QTemporaryDir dir;
        const QString bcc = writeConfig(dir, QStringLiteral("bcc.QNC"), QStringLiteral("QN4000-PXA"), 5, 0);
        const QString crc = writeConfig(dir, QStringLiteral("crc.QNC"), QStringLiteral("QN4000-PXA"), 5, 1);
        Result r = runCli(
            {QStringLiteral("diff"), QStringLiteral("--model"), QStringLiteral("QN4000-PXA"), bcc, crc});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains(QLatin1String(
                     "\nbyte 42 LinkOptions: 00 | 01 (BCC | CRC)\nbyte 65 checksum (low byte): ")),
                 qPrintable(r.out));

        const QString model = QStringLiteral("QN4000-EPV4");
        const QString file = writeConfig(dir, QStringLiteral("epv4.QNC"), model, 5);
        r = runCli({QStringLiteral("message"), QStringLiteral("--model"), model, file});
        QCOMPARE(r.status, 0);
        QByteArray body = QByteArray::fromHex(r.out.toLatin1()).mid(7, 130);
        QCOMPARE(body.size(), 130);
        body[45] = char(body.at(45) == 1 ? 2 : 1); // ExtParam[3], the drive type
        const QString eeprom = dir.filePath(QStringLiteral("e.bin"));
        QFile f(eeprom);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(body) == 130);
        f.close();
        Simulator sim(model, eeprom);
        QVERIFY(!sim.device.isEmpty());
        r = runCli({QStringLiteral("compare"), QStringLiteral("--model"), model, QStringLiteral("--port"),
                    sim.device, QStringLiteral("--yes"), file});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains(QLatin1String("\nbyte 52 ExtParam[3] (drive type): ")), qPrintable(r.out));
        QVERIFY2(r.err.contains(QLatin1String("the unit cannot send back bytes 67..136 (ProtoParam[10]..")),
                 qPrintable(r.err));
    }

    // A file of another model that passes for whole configurations of this one by its count:
    // a warning, or with --strict the reason for exit status 2, naming the models it fits.
    void anotherModelsFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("strict");
        QTest::newRow("show") << "show" << false;
        QTest::newRow("show --strict") << "show" << true;
        QTest::newRow("diff") << "diff" << false;
        QTest::newRow("diff --strict") << "diff" << true;
    }
    void anotherModelsFile()
    {
        QFETCH(QString, command);
        QFETCH(bool, strict);
        QTemporaryDir dir;
        const QString own = writeConfig(dir, QStringLiteral("uct.QNC"), QStringLiteral("QN6000-UCT"), 5);
        const QString lbw = writeConfig(dir, QStringLiteral("lbw.QNC"), QStringLiteral("QN4000-LBW"), 5);
        QStringList args{command, QStringLiteral("--model"), QStringLiteral("QN6000-UCT")};
        if (command == QLatin1String("diff"))
            args << own;
        args << lbw;
        if (strict)
            args << QStringLiteral("--strict");
        const Result r = runCli(args);
        const Reason why = reasonOf(r.err);
        QCOMPARE(why.count, 1);
        QVERIFY2(why.line.contains(lbw + QStringLiteral(": Line 32 of this file")) &&
                     why.line.contains(QLatin1String("It fits the layout of QN4000-LBW, QN6000-LBW.")),
                 qPrintable(r.err));
        if (strict) {
            QCOMPARE(r.status, 2);
            QVERIFY(r.out.isEmpty());
        } else {
            QVERIFY(why.line.startsWith(QLatin1String("qncf-cli: warning: ")));
            QCOMPARE(r.status, command == QLatin1String("diff") ? 1 : 0);
            QVERIFY(!r.out.isEmpty());
        }
    }

    // One pass over the DH+ nodes: the status line, then a line a node.
    void whoActive()
    {
        QTemporaryDir dir;
        Simulator sim(QStringLiteral("QN4000-NGD"), dir.filePath(QStringLiteral("e.bin")),
                      {QStringLiteral("--baud"), QStringLiteral("19200"), QStringLiteral("--nodes"),
                       QStringLiteral("3,20"), QStringLiteral("--pc-node"), QStringLiteral("17")});
        QVERIFY(!sim.device.isEmpty());
        const Result r = runCli({QStringLiteral("who-active"), QStringLiteral("--port"), sim.device});
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        QVERIFY(r.err.isEmpty());
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 65);
        QCOMPARE(lines.first(), QStringLiteral("Connected at 19200 N,8,1 to DH+ Node : 17 Octal"));
        QCOMPARE(lines.mid(1).filter(QStringLiteral(" ")),
                 QStringList({"03 Active Node", "17 Workstation", "20 Active Node"}));
        QCOMPARE(lines.at(1), QStringLiteral("00"));
        QCOMPARE(lines.last(), QStringLiteral("77"));
    }

    // The adapter lost during a pass: the rows of the nodes asked before, then the lost line;
    // none for the node that was being asked.
    void whoActiveLineLost()
    {
        QTemporaryDir dir;
        Simulator sim(QStringLiteral("QN4000-NGD"), dir.filePath(QStringLiteral("e.bin")));
        QVERIFY(!sim.device.isEmpty());
        QProcess cli;
        QString out, beforeLoss;
        // The unit stops answering after the first node; while the program waits for the
        // node it asks (500 ms), the unit goes.
        connect(&cli, &QProcess::readyReadStandardOutput, &cli, [&] {
            out += QString::fromLocal8Bit(cli.readAllStandardOutput());
            if (beforeLoss.isNull() && out.contains(QLatin1String("\n00\n"))) {
                beforeLoss = QStringLiteral("");
                ::kill(pid_t(sim.process.processId()), SIGSTOP);
                QTimer::singleShot(100, &cli, [&] {
                    out += QString::fromLocal8Bit(cli.readAllStandardOutput());
                    beforeLoss = out;
                    sim.process.kill();
                });
            }
        });
        cli.start(QStringLiteral(QNCF_CLI_PATH),
                  {QStringLiteral("who-active"), QStringLiteral("--port"), sim.device});
        QTRY_VERIFY_WITH_TIMEOUT(cli.state() == QProcess::NotRunning, 15000);
        out += QString::fromLocal8Bit(cli.readAllStandardOutput());
        QCOMPARE(cli.exitCode(), 1);
        QVERIFY(!beforeLoss.isEmpty());
        QVERIFY2(out.startsWith(beforeLoss), qPrintable(out));
        QVERIFY2(out.mid(beforeLoss.size()).startsWith(QLatin1String("Error (")) &&
                     out.mid(beforeLoss.size()).count(QLatin1Char('\n')) == 1,
                 qPrintable(out));
    }

    // Each program answers --help and --version with no display to show a window on, and
    // gives the version the build sets and the licence.
    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("option");
        for (const char *program : {QNCF_PATH, QNCF_CLI_PATH, QNSIM_PATH}) {
            for (const char *option : {"--help", "--help-all", "--version"})
                QTest::newRow(qPrintable(QFileInfo(QLatin1String(program)).fileName() + QLatin1Char(' ') +
                                         QLatin1String(option)))
                    << QString::fromLocal8Bit(program) << QString::fromLatin1(option);
        }
    }
    void helpAndVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, option);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QLatin1String(name));
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(program, {option});
        QVERIFY(p.waitForFinished(10000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 qPrintable(out + QString::fromLocal8Bit(p.readAllStandardError())));
        if (option == QLatin1String("--version"))
            QCOMPARE(out, QFileInfo(program).fileName() + QStringLiteral(" " QNCF_VERSION "\n") +
                              QLatin1String(LicenceNotice) + QLatin1Char('\n'));
        else
            QVERIFY2(out.contains(QLatin1String("--version")), qPrintable(out));
    }

    // A system file to a unit whose manager waits for one: progress on standard error, the
    // unit's "A-OK" on standard output. Without --yes and no answer, nothing is sent.
    void flash()
    {
        QTemporaryDir dir;
        Simulator sim(QStringLiteral("QN4000-NGD"), dir.filePath(QStringLiteral("e.bin")));
        QVERIFY(!sim.device.isEmpty());
        const QString path = dir.filePath(QStringLiteral("SYSTEM.TXT"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(1024, 'S')) == 1024);
        f.close();
        const QStringList args{QStringLiteral("flash"), QStringLiteral("--port"), sim.device, path};

        const Result asked = runCli(args);
        QCOMPARE(asked.status, 1);
        QVERIFY2(
            asked.err.contains(QLatin1String("Has this already been done? [y/N] qncf-cli: nothing sent")),
            qPrintable(asked.err));

        // The manager's write-system-file option, chosen as a user would in a terminal.
        {
            ModComm comm;
            QCOMPARE(comm.CommOpen(1, sim.device, QStringLiteral("baud=9600 parity=N data=8 stop=1")), 0);
            for (const char *key : {"M", "1", "Y"}) {
                comm.CommWrite(1, key);
                QTest::qWait(100);
            }
            comm.CommClose(1);
        }
        const Result r =
            runCliAsync(QStringLiteral(QNCF_CLI_PATH), args + QStringList{QStringLiteral("--yes")});
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        QCOMPARE(r.err, QStringLiteral("sent 512 of 1025 bytes (50%)\nsent 1025 of 1025 bytes (100%)\n"));
        QVERIFY(r.out.contains(QLatin1String("A-OK")));
    }

    // Download and upload against every way the line, the port or the output can fail: the
    // simulator's faults, a unit that vanishes or dies mid-reply, ports that are no serial
    // device, not ours or held by another program, and outputs that cannot be written. For
    // each: the exit status and message, the port free again, no file left or damaged, and an
    // end within the transfer's wait and a small margin.
    void faultMatrix_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // in the reason line on standard error; empty on success
        QTest::addColumn<double>("seconds");
        const double download = 6 + 1.5, upload = 2 + 1.5, quick = 1.5;
        auto row = [](const char *command, const char *situation, int status, const char *message,
                      double seconds) {
            QTest::newRow(
                qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(command), QLatin1String(situation))))
                << QString::fromLatin1(command) << QString::fromLatin1(situation) << status
                << QString::fromLatin1(message) << seconds;
        };
        row("download", "noack", 1, "Unable to communicate with Quintrel.", download);
        row("download", "silent", 1, "Unable to communicate with Quintrel.", download);
        row("download", "short", 1, "Unable to communicate with Quintrel.", download);
        row("download", "garbage", 1, "Unable to communicate with Quintrel.", download);
        row("download", "badtr", 0, "", quick); // touches uploads only
        row("download", "xoff", 1, "Unable to communicate with Quintrel.", download);
        row("download", "drop", 1, "stopped working", download);
        row("download", "noxon", 1, "could not be sent", 1 + quick); // a second for the acknowledge to leave
        row("download", "killed", 1, "stopped working", download);
        row("upload", "noack", 0, "", quick); // touches downloads only
        row("upload", "silent", 1, "TRY UPLOAD AGAIN", upload);
        row("upload", "short", 1, "TRY UPLOAD AGAIN", upload);
        row("upload", "garbage", 1, "Invalid Upload Message", upload);
        row("upload", "badtr", 1, "Invalid Upload Message", upload);
        row("upload", "xoff", 1, "TRY UPLOAD AGAIN", upload);
        row("upload", "drop", 1, "TRY UPLOAD AGAIN", upload);
        row("upload", "killed", 1, "TRY UPLOAD AGAIN", upload);
        row("upload", "existing file, silent unit", 1, "TRY UPLOAD AGAIN", upload);
        // The unit holds its acknowledge with XOFF after the reply: it goes after the XON, or
        // not at all, and then nothing is saved.
        row("upload", "holdack", 0, "", 0.3 + quick);
        row("upload", "noxon", 1, "could not be sent", upload);
        // The online tools against what a line can do to them.
        const double probes = 7 * 0.1 + 1.5; // a probe at every speed
        row("who-active", "silent", 1, "Unable to Connect to Quintrel", probes);
        row("who-active", "garbage", 1, "Unable to Connect, Reset the Quintrel", probes);
        // Autoconfigure's status command waits 500 ms, counted from its own request; then one
        // pass over the 64 nodes, each at least the 50 ms pause.
        const double pass = 64 * 0.05 + 1.5;
        row("who-active", "status reply at 120 ms", 0, "", probes + 0.12 + pass);
        row("who-active", "status reply at 480 ms", 0, "", probes + 0.48 + pass);
        // A unit that holds the PC off while it writes its flash: nothing is sent during the
        // hold, and the whole file arrives once.
        row("flash", "XOFF during the flash", 0, "", 1.5 + 1 + quick);
        for (const char *command : {"download", "upload", "who-active", "flash"}) {
            row(command, "port is a folder", 3, "COM Error", quick);
            row(command, "port is a file", 3, "COM Error", quick);
            row(command, "port is /dev/null", 3, "COM Error", quick);
            row(command, "port not ours", 3, "Permission denied", quick);
            row(command, "port held", 3, "busy", quick);
        }
        row("upload", "no such folder", 2, "cannot be written", quick);
        row("upload", "read-only folder", 2, "cannot be written", quick);
        row("upload", "full disk", 2, "cannot be written", quick);
    }
    void faultMatrix()
    {
        QFETCH(QString, command);
        QFETCH(QString, situation);
        const bool isDownload = command == QLatin1String("download");
        QTemporaryDir dir;
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755); // readable by the user of "port not ours"
        static const QStringList simFaults = {"noack", "silent", "short", "garbage", "badtr",
                                              "xoff",  "drop",   "noxon", "holdack"};
        const bool flashHold = situation == QLatin1String("XOFF during the flash");
        const QString fault = simFaults.contains(situation) ? situation
                              : flashHold                   ? QStringLiteral("flashhold")
                              : situation.contains(QLatin1String("silent")) ||
                                      situation == QLatin1String("killed") ||
                                      situation == QLatin1String("port held")
                                  ? QStringLiteral("silent")
                                  : QString();
        const bool killed = situation == QLatin1String("killed");
        const QRegularExpressionMatch late =
            QRegularExpression(QStringLiteral("^status reply at (\\d+) ms$")).match(situation);
        // An LBW unit sends a request after the first acknowledge, which a unit still holding
        // the PC off would lose.
        const QString model = situation == QLatin1String("holdack") ? QStringLiteral("QN4000-LBW")
                                                                    : QStringLiteral("QN4000-NGD");
        Simulator sim(model, dir.filePath(QStringLiteral("e.bin")),
                      (fault.isEmpty() ? QStringList() : QStringList{QStringLiteral("--fault"), fault}) +
                          (killed ? QStringList{QStringLiteral("--trace")} : QStringList()) +
                          (late.hasMatch() ? QStringList{QStringLiteral("--late-status"), late.captured(1)}
                                           : QStringList()));
        QVERIFY(!sim.device.isEmpty());
        if (flashHold) {
            // The manager's write-system-file option, chosen as a user would in a terminal.
            ModComm comm;
            QCOMPARE(comm.CommOpen(1, sim.device, QStringLiteral("baud=9600 parity=N data=8 stop=1")), 0);
            for (const char *key : {"M", "1", "Y"}) {
                comm.CommWrite(1, key);
                QTest::qWait(100);
            }
            comm.CommClose(1);
        }

        QString port = sim.device;
        QStringList runner; // what the program is started through
        if (situation == QLatin1String("port is a folder")) {
            port = dir.filePath(QStringLiteral("folder"));
            QVERIFY(QDir().mkpath(port));
        } else if (situation == QLatin1String("port is a file")) {
            port = dir.filePath(QStringLiteral("plain"));
            QVERIFY(QFile(port).open(QIODevice::WriteOnly));
        } else if (situation == QLatin1String("port is /dev/null")) {
            port = QStringLiteral("/dev/null");
        } else if (situation == QLatin1String("port not ours")) {
            if (::geteuid() == 0) {
                if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
                    QSKIP("no setpriv to run as another user");
                runner = {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"),
                          QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"),
                          QStringLiteral("--")};
            } else {
                ::chmod(QFile::encodeName(port).constData(), 0);
            }
        }

        // The input of a download, or what an upload's output holds before.
        const QString file = isDownload
                                 ? writeConfig(dir, QStringLiteral("in.QNC"), QStringLiteral("QN4000-NGD"), 5)
                                 : dir.filePath(QStringLiteral("out.QNC"));
        ::chmod(QFile::encodeName(file).constData(), 0644);
        QString output = file;
        std::unique_ptr<TinyDisk> disk;
        if (situation == QLatin1String("existing file, silent unit")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("the user's file") > 0);
        } else if (situation == QLatin1String("no such folder")) {
            output = dir.filePath(QStringLiteral("no/such/out.QNC"));
        } else if (situation == QLatin1String("read-only folder") ||
                   situation == QLatin1String("full disk")) {
            const bool full = situation == QLatin1String("full disk");
            const QString where = dir.filePath(QStringLiteral("mounted"));
            QVERIFY(QDir().mkpath(where));
            if (full) {
                disk = std::make_unique<TinyDisk>(where, QStringLiteral("size=4k"));
                output = where + QStringLiteral("/out.QNC");
                if (disk->mounted) {
                    QFile f(output);
                    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(3000, 'o')) == 3000);
                }
            } else {
                disk = std::make_unique<TinyDisk>(where, QStringLiteral("ro"));
                if (!disk->mounted)
                    ::chmod(QFile::encodeName(where).constData(), 0555);
                output = where + QStringLiteral("/out.QNC");
            }
            if (!disk->mounted && (full || ::geteuid() == 0))
                QSKIP("this needs a tmpfs of its own, which only root may mount");
        }
        const QByteArray outputBefore = readAll(output);
        const bool outputExisted = QFile::exists(output);

        std::unique_ptr<QProcess> holder;
        if (situation == QLatin1String("port held")) {
            // Another program has the port: an upload that waits for a unit that does not answer.
            holder = std::make_unique<QProcess>();
            holder->setProcessChannelMode(QProcess::MergedChannels);
            holder->start(QStringLiteral(QNCF_CLI_PATH),
                          {QStringLiteral("upload"), QStringLiteral("--model"), QStringLiteral("QN4000-NGD"),
                           QStringLiteral("--port"), port, QStringLiteral("--yes"),
                           dir.filePath(QStringLiteral("held.QNC"))});
            QVERIFY(holder->waitForStarted());
            QVERIFY(holder->waitForReadyRead(5000)); // it has told its first line
            QTest::qWait(300);
        }
        // Killed once the transfer's first bytes have reached it (its trace tells).
        if (killed)
            connect(&sim.process, &QProcess::readyReadStandardError, &sim.process,
                    [&sim] { QTimer::singleShot(100, &sim.process, [&sim] { sim.process.kill(); }); });

        const bool online = command == QLatin1String("who-active") || command == QLatin1String("flash");
        QStringList args{command, QStringLiteral("--model"), model, QStringLiteral("--port"), port,
                         output,  QStringLiteral("--yes")};
        if (outputExisted && !isDownload)
            args << QStringLiteral("--force"); // the file is to be replaced, if the upload succeeds
        if (command == QLatin1String("who-active")) {
            args = QStringList{command, QStringLiteral("--port"), port};
        } else if (command == QLatin1String("flash")) {
            output = dir.filePath(QStringLiteral("SYSTEM.TXT"));
            QFile f(output);
            // Past the hold's 4 KB by more than a pty holds between the PC and the unit.
            const QByteArray line("S1130000285F245F2212226A000424290008237C2A\r\n");
            const QByteArray text =
                flashHold ? line.repeated(192 * 1024 / line.size()) : QByteArray("S00600004844521B\r\n");
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
            ::chmod(QFile::encodeName(output).constData(), 0644);
            args = QStringList{command, QStringLiteral("--port"), port, output, QStringLiteral("--yes")};
        }
        QElapsedTimer clock;
        clock.start();
        const Result r = runner.isEmpty()
                             ? runCliAsync(QStringLiteral(QNCF_CLI_PATH), args)
                             : runCliAsync(runner.first(),
                                           runner.mid(1) + QStringList{QStringLiteral(QNCF_CLI_PATH)} + args);
        const double seconds = clock.elapsed() / 1000.0;
        if (holder)
            holder->waitForFinished(5000);

        QFETCH(int, status);
        QFETCH(QString, message);
        QVERIFY2(r.status == status,
                 qPrintable(QStringLiteral("status %1: %2%3").arg(r.status).arg(r.out, r.err)));
        if (status != 0) {
            const Reason why = reasonOf(r.err);
            QCOMPARE(why.count, 1);
            QVERIFY2(why.line.contains(message), qPrintable(r.err));
            if (status == 3) // a port error says what to do about it
                QVERIFY2(why.advice.contains(port), qPrintable(r.err));
        }
        QVERIFY2(seconds <= FETCHED(double, seconds), qPrintable(QString::number(seconds)));
        if (flashHold) // the unit says how much it burnt, once it has the whole file
            QVERIFY2(r.out.contains(QStringLiteral("SYSTEM FILE %1 BYTES").arg(QFileInfo(output).size())),
                     qPrintable(r.out));

        // The port is free again: the next program can open it. A unit that dropped its line
        // has no device left, whether or not its process has finished exiting yet.
        if (port == sim.device && sim.process.state() == QProcess::Running &&
            situation != QLatin1String("drop")) {
            if (situation == QLatin1String("port not ours") && ::geteuid() != 0)
                ::chmod(QFile::encodeName(port).constData(), 0620);
            ModComm comm;
            QCOMPARE(comm.CommOpen(1, port, QStringLiteral("baud=9600 parity=N data=8 stop=1")), 0);
            comm.CommClose(1);
        }
        // No file left behind or damaged.
        if (isDownload || online) {
            QVERIFY(QFile::exists(file) || online);
        } else if (status != 0) {
            QCOMPARE(QFile::exists(output), outputExisted);
            QCOMPARE(readAll(output), outputBefore);
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
