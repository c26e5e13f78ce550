// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "df1/df1.h"
#include "message/configmessage.h"
#include "simulator/convertersim.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "sim/pcport.h"
#include "support/testdata.h"

#include <memory>

namespace {

SimOptions optionsFor(const QString &model)
{
    SimOptions o;
    o.model = model;
    return o;
}

// A body for the model that differs from the factory one in every byte it can.
QByteArray markedBody(const QString &model)
{
    QByteArray body(findModel(model)->configLength, '\0');
    for (int k = 0; k < body.size(); ++k)
        body[k] = char(0xA0 + k);
    return body;
}

ConfigMessage downloadFor(const QString &model)
{
    const ModelInfo *m = findModel(model);
    ConfigRecord rec;
    rec.ConfigLength = m->configLength;
    rec.ProductCode = quint8(m->productCode);
    rec.StationNumber = 0x10; // a DLE in the body must not matter to a download
    rec.LinkOptions = 0x06;   // nor an acknowledge byte
    for (int i = 0; i < ProtoParamCount; ++i)
        rec.ProtoParam[i] = quint8(0xC0 + i);
    for (int i = 0; i < ExtParamCount; ++i)
        rec.ExtParam[i] = quint8(0x60 + i);
    return BuildConfigMessage(rec);
}

QByteArray bodyOf(const QByteArray &message)
{
    return message.mid(7, message.size() - 9);
}

} // namespace

// The simulator and the PC's end of its pty, opened in the test body.
#define OPEN_RIG(options)                                                                                    \
    ConverterSim sim(options);                                                                               \
    {                                                                                                        \
        QString error_;                                                                                      \
        QVERIFY2(sim.open(&error_), qPrintable(error_));                                                     \
    }                                                                                                        \
    PcPort pc;                                                                                               \
    QVERIFY(pc.open(sim.devicePath()))

class TestSim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void download_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("42-byte layout") << "QN4000-NGD";
        QTest::newRow("130-byte layout") << "QN4000-EPV4";
        QTest::newRow("136-byte layout") << "QN6000-LBW";
    }
    void download()
    {
        QFETCH(QString, model);
        OPEN_RIG(optionsFor(model));
        QSignalSpy stored(&sim, &ConverterSim::downloadStored);
        const ConfigMessage msg = downloadFor(model);
        QVERIFY(pc.write(msg.bytes));
        QTRY_VERIFY(pc.in.size() >= ConverterSim::DownloadReplyLength);
        QCOMPARE(sim.sent().size(), ConverterSim::DownloadReplyLength);
        QVERIFY(pc.in.contains('\x06'));
        QCOMPARE(sim.eeprom().toHex(' '), bodyOf(msg.bytes).toHex(' '));
        QCOMPARE(stored.size(), 1);

        QVERIFY(pc.write("\x06"));
        QTRY_COMPARE(sim.pcAcksAfterReply(), 1);
    }

    void refused_data()
    {
        QTest::addColumn<int>("offset"); // from the end when negative
        QTest::addColumn<int>("flip");
        QTest::newRow("checksum") << -2 << 0x01;
        QTest::newRow("body byte") << 7 + 24 << 0x40;
        QTest::newRow("header letter") << 2 << 0x01;
        QTest::newRow("unknown length") << 3 << 0x01;
        QTest::newRow("padding byte") << 5 << 0x01;
    }
    void refused()
    {
        OPEN_RIG(optionsFor(QStringLiteral("QN4000-NGD")));
        const QByteArray factory = sim.eeprom();
        const QByteArray good = downloadFor(QStringLiteral("QN4000-NGD")).bytes;
        QByteArray bad = good;
        const int at =
            FETCHED(int, offset) < 0 ? int(bad.size()) + FETCHED(int, offset) : FETCHED(int, offset);
        bad[at] = char(bad.at(at) ^ FETCHED(int, flip));

        QVERIFY(pc.write(bad));
        QTRY_COMPARE(pc.in.size(), ConverterSim::DownloadReplyLength);
        QVERIFY(!pc.in.contains('\x06'));
        QCOMPARE(sim.eeprom(), factory);
        QCOMPARE(sim.pcAcksAfterReply(), 0);

        // Nothing of the bad message may linger and spoil the next one.
        pc.in.clear();
        QVERIFY(pc.write(good));
        QTRY_COMPARE(pc.in.size(), ConverterSim::DownloadReplyLength);
        QVERIFY(pc.in.contains('\x06'));
        QCOMPARE(sim.eeprom(), bodyOf(good));
    }

    void upload_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("oldNgd");
        QTest::addColumn<int>("length");
        QTest::newRow("NGD") << "QN4000-NGD" << false << 66;
        QTest::newRow("old NGD") << "QN4000-NGD" << true << 54;
        QTest::newRow("second generation NGD is never old") << "QN6000-NGD" << true << 66;
        QTest::newRow("body longer than the reply") << "QN4000-LBW" << false << 66;
    }
    void upload()
    {
        QFETCH(QString, model);
        QFETCH(int, length);
        SimOptions o = optionsFor(model);
        o.oldNgd = FETCHED(bool, oldNgd);
        OPEN_RIG(o);
        const QByteArray body = markedBody(model);
        sim.setEeprom(body);
        QVERIFY(pc.write("TEE"));
        QTRY_COMPARE(pc.in.size(), length);
        QCOMPARE(sim.sent().size(), length);
        QVERIFY(pc.in.startsWith("TR"));
        for (int k = 0; 6 + k < length; ++k)
            QCOMPARE(pc.in.at(6 + k), k < body.size() ? body.at(k) : '\0');
    }

    void paramUpload_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("answered");
        QTest::newRow("QN4000-LBW") << "QN4000-LBW" << true;
        QTest::newRow("QN6000-LBW") << "QN6000-LBW" << true;
        QTest::newRow("UCT ignores it") << "QN4000-UCT" << false;
        QTest::newRow("NGD ignores it") << "QN6000-NGD" << false;
    }
    void paramUpload()
    {
        QFETCH(QString, model);
        QFETCH(bool, answered);
        OPEN_RIG(optionsFor(model));
        const QByteArray body = markedBody(model);
        sim.setEeprom(body);
        // The upload after it shows where the answer to T E M would have been.
        QVERIFY(pc.write("TEMTEE"));
        const int paramLength = answered ? ConverterSim::ParamUploadReplyLength : 0;
        QTRY_COMPARE(pc.in.size(), paramLength + ConverterSim::UploadReplyLength);
        QCOMPARE(pc.in.mid(paramLength, 2), QByteArray("TR"));
        QCOMPARE(pc.in.at(paramLength + 6), body.at(0));
        if (answered) {
            QVERIFY(pc.in.startsWith("TR"));
            for (int k = 0; k < ProtoParamCount; ++k)
                QCOMPARE(pc.in.at(24 + k), body.at(50 + k));
        }
    }

    void rioSecondReply_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("second");
        QTest::newRow("QN4000-UCT") << "QN4000-UCT" << true;
        QTest::newRow("QN6000-UCT") << "QN6000-UCT" << true;
        QTest::newRow("LBW has none") << "QN4000-LBW" << false;
    }
    void rioSecondReply()
    {
        QFETCH(bool, second);
        OPEN_RIG(optionsFor(FETCHED(QString, model)));
        const QByteArray body = markedBody(sim.options().model);
        sim.setEeprom(body);
        QVERIFY(pc.write("TEE"));
        QTRY_COMPARE(pc.in.size(), ConverterSim::UploadReplyLength);
        QCOMPARE(sim.sent().size(), ConverterSim::UploadReplyLength); // nothing before the PC's ACK

        QVERIFY(pc.write("\x06"));
        if (!second) {
            QTRY_COMPARE(sim.received(), QByteArray("TEE\x06"));
            QCOMPARE(sim.sent().size(), ConverterSim::UploadReplyLength);
            return;
        }
        QTRY_COMPARE(pc.in.size(), ConverterSim::UploadReplyLength + ConverterSim::RioReplyLength);
        const QByteArray reply = pc.in.mid(ConverterSim::UploadReplyLength);
        QVERIFY(reply.startsWith("TR"));
        QCOMPARE(reply.mid(16, 14).toHex(' '), body.mid(50, 14).toHex(' '));
    }

    void enqAtSpeed_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("probeSpeed"); // termios speed code
        QTest::addColumn<int>("rightSpeed");
        QTest::newRow("9600 at 9600") << 9600 << int(B9600) << int(B9600);
        QTest::newRow("9600 probed at 19200") << 9600 << int(B19200) << int(B9600);
        QTest::newRow("19200 probed at 115200") << 19200 << int(B115200) << int(B19200);
        QTest::newRow("57600 at 57600") << 57600 << int(B57600) << int(B57600);
    }
    void enqAtSpeed()
    {
        QFETCH(int, probeSpeed);
        QFETCH(int, rightSpeed);
        SimOptions o = optionsFor(QStringLiteral("QN4000-NGD"));
        o.baud = FETCHED(int, baud);
        OPEN_RIG(o);
        QVERIFY(pc.setSpeed(speed_t(probeSpeed)));
        QVERIFY(pc.write(TX_ENQ));
        QTRY_COMPARE(sim.received().size(), 2);
        QCOMPARE(sim.sent(), probeSpeed == rightSpeed ? TX_ACK : QByteArray());

        // The PC moves on to the next speed; a probe at the wrong one must not stick.
        QVERIFY(pc.setSpeed(speed_t(rightSpeed)));
        QVERIFY(pc.write(TX_ENQ));
        const QByteArray expected = probeSpeed == rightSpeed ? TX_ACK + TX_ACK : TX_ACK;
        QTRY_COMPARE(pc.in, expected);
    }

    void df1Status_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("nodes");
        QTest::addColumn<int>("pcNode");
        QTest::addColumn<bool>("active");
        quint16 tns = 0;
        QTest::newRow("probe for the PC's node")
            << QuintrelTX_Status(0xFE, 0, 0, tns) << "3,17" << 017 << false;
        QTest::newRow("active node 020") << QuintrelTX_Status(0x10, 0, 1, tns) << "3,20" << 1 << true;
        QTest::newRow("inactive node 020") << QuintrelTX_Status(0x10, 0, 1, tns) << "3" << 1 << false;
        QTest::newRow("own node") << QuintrelTX_Status(005, 0, 0x0203, tns) << "" << 005 << true;
        QTest::newRow("no such node 077") << QuintrelTX_Status(077, 0, 9, tns) << "76" << 1 << false;
    }
    void df1Status()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, pcNode);
        QFETCH(bool, active);
        SimOptions o = optionsFor(QStringLiteral("QN4000-NGD"));
        o.nodes = *parseOctalNodes(FETCHED(QString, nodes));
        o.pcNode = pcNode;
        OPEN_RIG(o);
        QVERIFY(pc.write(frame));
        QTRY_COMPARE(sim.received(), frame);
        QTRY_COMPARE(pc.in, sim.sent());

        QVERIFY(pc.in.startsWith(TX_ACK + "\x10\x02"));
        DF1FrameReader reader;
        const QList<DF1Event> events = reader.feed(QByteArrayView(pc.in).sliced(2));
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].kind, DF1Event::Frame);
        QVERIFY(events[0].bccOk);
        const QByteArray sentBody = DF1FrameReader().feed(frame).at(0).body;
        const QByteArray body = events[0].body;
        QCOMPARE(quint8(body.at(0)), quint8(pcNode));
        QCOMPARE(body.at(1), sentBody.at(0));
        QCOMPARE(quint8(body.at(2)), quint8(0x46));
        QCOMPARE(body.at(3) == 0, active);
        QCOMPARE(body.mid(4, 2), sentBody.mid(4, 2));
        // Where no DLE comes before it, the PC finds the status at a fixed place.
        if (!pc.in.left(8).mid(4).contains('\x10'))
            QCOMPARE(pc.in.at(7), body.at(3));
    }

    void df1BadBcc()
    {
        OPEN_RIG(optionsFor(QStringLiteral("QN4000-NGD")));
        quint16 tns = 0;
        QByteArray frame = QuintrelTX_Status(0x03, 0, 0, tns);
        frame.back() = char(frame.back() + 1);
        QVERIFY(pc.write(frame));
        QTRY_COMPARE(pc.in, TX_NAK);
    }

    void faults_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("upload");
        QTest::addColumn<int>("sent"); // bytes the simulator sends, in all
        QTest::addColumn<bool>("ack");
        QTest::addColumn<bool>("tr");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("dropped");
        auto row = [](const char *name, SimFault f, bool upload, int sent, bool ack, bool tr, bool stored,
                      bool dropped) {
            QTest::newRow(name) << int(f) << upload << sent << ack << tr << stored << dropped;
        };
        row("noack download", SimFault::NoAck, false, 113, false, false, false, false);
        row("noack leaves uploads", SimFault::NoAck, true, 66, false, true, false, false);
        row("silent download", SimFault::Silent, false, 0, false, false, false, false);
        row("silent upload", SimFault::Silent, true, 0, false, false, false, false);
        row("short download", SimFault::Short, false, 56, false, false, true, false);
        row("short upload", SimFault::Short, true, 33, false, true, false, false);
        row("garbage download", SimFault::Garbage, false, 113, false, false, true, false);
        row("garbage upload", SimFault::Garbage, true, 66, false, false, false, false);
        row("badtr upload", SimFault::BadTr, true, 66, false, false, false, false);
        row("badtr leaves downloads", SimFault::BadTr, false, 113, true, false, true, false);
        row("xoff download", SimFault::Xoff, false, 1, false, false, false, false);
        row("xoff upload", SimFault::Xoff, true, 1, false, false, false, false);
        row("drop download", SimFault::Drop, false, 0, false, false, false, true);
        row("drop upload", SimFault::Drop, true, 33, false, true, false, true);
    }
    void faults()
    {
        QFETCH(bool, upload);
        QFETCH(int, sent);
        SimOptions o = optionsFor(QStringLiteral("QN4000-NGD"));
        o.fault = SimFault(FETCHED(int, fault));
        OPEN_RIG(o);
        QSignalSpy dropped(&sim, &ConverterSim::lineDropped);
        const QByteArray factory = sim.eeprom();
        const QByteArray message = downloadFor(QStringLiteral("QN4000-NGD")).bytes;
        const QByteArray request = upload ? QByteArray("TEE") : message;
        QVERIFY(pc.write(request));

        if (FETCHED(bool, dropped)) {
            QTRY_VERIFY(pc.hungUp);
            QCOMPARE(dropped.size(), 1);
            QVERIFY(!sim.isOpen());
        } else {
            QTRY_COMPARE(sim.received().size(), request.size());
            QTRY_COMPARE(pc.in.size(), sent);
        }
        QCOMPARE(sim.sent().size(), sent);
        QCOMPARE(pc.in, sim.sent());
        if (o.fault == SimFault::Xoff)
            QCOMPARE(pc.in, QByteArray("\x13"));
        QCOMPARE(pc.in.contains('\x06'), FETCHED(bool, ack));
        QCOMPARE(pc.in.startsWith("TR"), FETCHED(bool, tr));
        QCOMPARE(sim.eeprom(), FETCHED(bool, stored) ? bodyOf(message) : factory);
    }

    void flashFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("pauseAt"); // bytes sent before a pause, or -1
        QByteArray lines;
        for (int i = 0; lines.size() < 1300; ++i)
            lines += "S2140" + QByteArray::number(i * 16, 16).rightJustified(4, '0') + "00FFA5\r\n";
        QTest::newRow("one block") << lines.left(100) << -1;
        QTest::newRow("blank fills the block") << lines.left(511) << -1;
        QTest::newRow("three blocks") << lines.left(1300) << -1;
        QTest::newRow("blank and LF inside, then a pause")
            << QByteArray("HEADER \nS1130000\r\n" + lines.left(700)) << 8;
    }
    void flashFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, pauseAt);
        OPEN_RIG(optionsFor(QStringLiteral("QN6000-LBW")));
        QSignalSpy received(&sim, &ConverterSim::flashFileReceived);
        QVERIFY(pc.write("M"));
        QTRY_VERIFY(pc.in.endsWith("SELECT: "));
        QVERIFY(pc.write("1"));
        QTRY_VERIFY(pc.in.endsWith("(Y/N)? "));
        QVERIFY(pc.write("Y"));
        QTRY_VERIFY(pc.in.endsWith("SEND SYSTEM FILE\r\n"));
        pc.in.clear();

        const QByteArray padded = file + ' ';
        auto sendFrom = [&pc, padded](int from) {
            for (int at = from; at < padded.size(); at += 512)
                pc.write(QByteArrayView(padded).sliced(at, qMin<qsizetype>(512, padded.size() - at)));
            pc.write("\n");
        };
        if (pauseAt < 0) {
            sendFrom(0);
        } else {
            QVERIFY(pc.write(QByteArrayView(padded).first(pauseAt)));
            QTimer::singleShot(ConverterSim::FlashQuietMs / 4, &pc,
                               [sendFrom, pauseAt] { sendFrom(pauseAt); });
        }
        QTRY_COMPARE(pc.in, QByteArray("A-OK\r\n"));
        QCOMPARE(received.size(), 1);
        QCOMPARE(sim.flashFile().size(), file.size());
        QCOMPARE(sim.flashFile(), file);
    }

    void factoryRestore_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("restored");
        QTest::newRow("yes") << QByteArray("Y") << true;
        QTest::newRow("no") << QByteArray("N") << false;
    }
    void factoryRestore()
    {
        QFETCH(bool, restored);
        QTemporaryDir dir;
        SimOptions o = optionsFor(QStringLiteral("QN4000-UCT"));
        o.eepromPath = dir.filePath(QStringLiteral("unit.eeprom"));
        OPEN_RIG(o);
        const QByteArray factory = sim.eeprom();
        const QByteArray body = markedBody(o.model);
        sim.setEeprom(body);
        QVERIFY(pc.write("M4"));
        QTRY_VERIFY(pc.in.endsWith("(Y/N)? "));
        QVERIFY(pc.write(FETCHED(QByteArray, answer)));
        QTRY_VERIFY(pc.in.endsWith("SELECT: "));
        QCOMPARE(sim.eeprom(), restored ? factory : body);
        QFile saved(o.eepromPath);
        QCOMPARE(saved.exists(), restored);
        if (restored) {
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.readAll(), factory);
        }
    }

    void memoryDump()
    {
        OPEN_RIG(optionsFor(QStringLiteral("QN4000-WOLTA")));
        const QByteArray body = markedBody(sim.options().model);
        sim.setEeprom(body);
        QVERIFY(pc.write("M5"));
        QTRY_VERIFY(pc.in.count("SELECT: ") == 2);
        QByteArray dumped;
        for (const QByteArray &line : pc.in.split('\n')) {
            const QByteArray l = line.trimmed();
            if (l.size() > 5 && l.at(4) == ' ' && QByteArray::fromHex(l.left(4)).size() == 2)
                dumped += QByteArray::fromHex(l.mid(5));
        }
        QCOMPARE(dumped.toHex(' '), body.toHex(' '));
    }

    void debugMode_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("quietMs");
        QTest::addColumn<bool>("debug");
        QTest::newRow("quiet line") << QByteArray() << 0 << true;
        QTest::newRow("D straight after other bytes") << QByteArray("X") << 0 << false;
        QTest::newRow("D after a second of quiet") << QByteArray("X") << 1000 << true;
    }
    void debugMode()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, debug);
        OPEN_RIG(optionsFor(QStringLiteral("QN4000-NGD")));
        if (!before.isEmpty()) {
            QVERIFY(pc.write(before));
            QTRY_COMPARE(sim.received(), before);
        }
        // The upload after the D shows that whatever it did, the unit still answers.
        QTimer::singleShot(FETCHED(int, quietMs), &pc, [&pc] { pc.write("DTEE"); });
        const QByteArray banner = debug ? QByteArray("DEBUG MODE\r\n") : QByteArray();
        QTRY_COMPARE(pc.in.size(), banner.size() + ConverterSim::UploadReplyLength);
        QVERIFY(pc.in.startsWith(banner + "TR"));
        QCOMPARE(sim.inDebugMode(), debug);
    }

    void abandonedRequest_data()
    {
        QTest::addColumn<QByteArray>("fragment");
        QTest::newRow("half a download") << downloadFor(QStringLiteral("QN4000-NGD")).bytes.left(20);
        QTest::newRow("half an upload request") << QByteArray("TE");
        QTest::newRow("half a DF1 frame") << QByteArray("\x10\x02\xFE\x00", 4);
    }
    void abandonedRequest()
    {
        OPEN_RIG(optionsFor(QStringLiteral("QN4000-NGD")));
        QVERIFY(pc.write(FETCHED(QByteArray, fragment)));
        QTimer::singleShot(ConverterSim::BreakSilenceMs + 100, &pc, [&pc] { pc.write("TEE"); });
        QTRY_COMPARE(pc.in.size(), ConverterSim::UploadReplyLength);
        QVERIFY(pc.in.startsWith("TR"));
    }

    void pace_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("baud");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("length");
        QTest::newRow("upload at 2400") << int(B2400) << 2400 << "QN4000-NGD" << QByteArray("TEE") << 66;
        QTest::newRow("parameters at 4800") << int(B4800) << 4800 << "QN4000-LBW" << QByteArray("TEM") << 114;
    }
    void pace()
    {
        QFETCH(int, baud);
        SimOptions o = optionsFor(FETCHED(QString, model));
        o.pace = true;
        OPEN_RIG(o);
        QVERIFY(pc.setSpeed(speed_t(FETCHED(int, speed))));
        QVERIFY(pc.write(FETCHED(QByteArray, request)));
        QTRY_COMPARE(pc.in.size(), FETCHED(int, length));
        QVERIFY(pc.in.startsWith("TR"));
        const qint64 expectedMs = (pc.in.size() - 1) * 10'000LL / baud;
        const qint64 tookMs = pc.lastByteMs - pc.firstByteMs;
        QVERIFY2(tookMs >= expectedMs * 9 / 10, qPrintable(QStringLiteral("%1 ms").arg(tookMs)));
        QVERIFY2(tookMs < expectedMs + 1000, qPrintable(QStringLiteral("%1 ms").arg(tookMs)));
        QVERIFY(pc.reads > 5);
    }

    void eepromPersists()
    {
        QTemporaryDir dir;
        SimOptions o = optionsFor(QStringLiteral("QN4000-LBW"));
        o.eepromPath = dir.filePath(QStringLiteral("lbw.eeprom"));
        const QByteArray message = downloadFor(o.model).bytes;
        {
            OPEN_RIG(o);
            QVERIFY(pc.write(message));
            QTRY_VERIFY(pc.in.contains('\x06'));
        }
        ConverterSim second(o);
        QString error;
        QVERIFY2(second.open(&error), qPrintable(error));
        QCOMPARE(second.eeprom(), bodyOf(message));

        QFile f(o.eepromPath);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a body");
        f.close();
        ConverterSim third(o);
        QVERIFY(!third.open(&error));
        QVERIFY2(error.contains(o.eepromPath), qPrintable(error));
    }

    void program()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyQN"));
        QVERIFY(QFile::link(QStringLiteral("/nonexistent/tty"), link)); // a stale link is replaced
        QProcess qnsim;
        QSignalSpy finished(&qnsim, &QProcess::finished);
        qnsim.start(QStringLiteral(QNSIM_PATH), {"--model", "QN4000-LBW", "--link", link, "--trace"});
        QTRY_VERIFY(qnsim.canReadLine());
        const QString device = QString::fromLocal8Bit(qnsim.readLine()).trimmed();
        QVERIFY2(device.startsWith(QLatin1StringView("/dev/pts/")), qPrintable(device));
        QVERIFY(QFileInfo::exists(device));
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);

        PcPort pc;
        QVERIFY(pc.open(link));
        QVERIFY(pc.write("TEE"));
        QTRY_COMPARE(pc.in.size(), ConverterSim::UploadReplyLength);
        QCOMPARE(int(pc.in.at(6 + 22)), findModel(u"QN4000-LBW")->productCode);
        QByteArray trace;
        QTRY_VERIFY((trace += qnsim.readAllStandardError()).contains("SIM> 54 52"));
        QVERIFY(trace.contains("PC>  54 45 45\n"));

        qnsim.terminate();
        QVERIFY(finished.wait(5000));
        QCOMPARE(qnsim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(qnsim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QTRY_VERIFY(pc.hungUp);
    }

    void programRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no model") << QStringList{};
        QTest::newRow("unknown model") << QStringList{"--model", "QN5000-LBW"};
        QTest::newRow("unknown fault") << QStringList{"--model", "QN4000-LBW", "--fault", "flaky"};
        QTest::newRow("node not octal") << QStringList{"--model", "QN4000-LBW", "--nodes", "3,18"};
        QTest::newRow("pc node too big") << QStringList{"--model", "QN4000-LBW", "--pc-node", "100"};
        QTest::newRow("odd baud") << QStringList{"--model", "QN4000-LBW", "--baud", "9601"};
        QTest::newRow("unknown option") << QStringList{"--model", "QN4000-LBW", "--colour"};
    }
    void programRefuses()
    {
        QProcess qnsim;
        QSignalSpy finished(&qnsim, &QProcess::finished);
        qnsim.start(QStringLiteral(QNSIM_PATH), FETCHED(QStringList, args));
        QVERIFY(finished.wait(5000));
        QCOMPARE(qnsim.exitCode(), 2);
        QVERIFY(qnsim.readAllStandardOutput().isEmpty());
        QVERIFY(!qnsim.readAllStandardError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
