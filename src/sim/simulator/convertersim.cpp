// SPDX-License-Identifier: GPL-3.0-or-later
#include "convertersim.h"

#include "config/modelcatalog.h"
#include "files/localfile.h"
#include "message/configmessage.h"
#include "simulator/ptyline.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr char XOFF = 0x13;
constexpr char XON = 0x11;
constexpr int HoldAckMs = 300; // how long the holdack fault keeps the PC paused
constexpr quint8 PcAck = 0x06;
constexpr quint8 StsRemoteNoAck = 0x02; // the addressed node did not answer on DH+
constexpr quint8 StsIllegalCommand = 0x10;
constexpr int DropWaitTickMs = 20;
constexpr int DropWaitTicksMax = 150; // three seconds for the PC to read what it was sent

const QByteArray Prompt = QByteArrayLiteral("\r\nSELECT: ");

quint16 sum16(QByteArrayView bytes)
{
    const QByteArray sum = MessageChecksum(bytes);
    return quint16(quint8(sum.at(0)) | quint8(sum.at(1)) << 8);
}

// Junk for the garbage fault. No 0x06, so it never reads as an acknowledge; no XON/XOFF,
// which a PC with flow control on would swallow and so miscount; and never "TR" up front.
QByteArray junk(qsizetype length)
{
    QByteArray out(length, '\0');
    for (qsizetype i = 0; i < length; ++i) {
        quint8 c;
        do {
            c = quint8(QRandomGenerator::global()->bounded(256));
        } while (c == 0x06 || c == 0x11 || c == 0x13 || (i == 0 && c == 'T'));
        out[i] = char(c);
    }
    return out;
}

} // namespace

ConverterSim::ConverterSim(SimOptions options, QObject *parent)
    : QObject(parent)
    , m_opt(std::move(options))
    , m_model(findModel(m_opt.model))
    , m_line(new PtyLine(this))
{
    if (m_model)
        m_eeprom = factoryBody(*m_model);
    m_line->setPaced(m_opt.pace);
    m_line->setTrace(m_opt.trace);
    connect(m_line, &PtyLine::received, this, &ConverterSim::onReceived);
    connect(m_line, &PtyLine::failed, this, [this] {
        m_rx = Rx::Idle;
        Q_EMIT lineDropped();
    });

    m_discardTimer.setSingleShot(true);
    connect(&m_discardTimer, &QTimer::timeout, this, &ConverterSim::discardQuiet);
    m_flashTimer.setSingleShot(true);
    connect(&m_flashTimer, &QTimer::timeout, this, &ConverterSim::flashComplete);
    connect(&m_dropTimer, &QTimer::timeout, this, &ConverterSim::dropTick);
}

ConverterSim::~ConverterSim() = default;

QByteArray ConverterSim::factoryBody(const ModelInfo &model)
{
    QByteArray body(model.configLength, '\0');
    body[1] = 0x01;
    body[10] = 0x04;
    body[11] = char(0x99);
    body[22] = char(model.productCode);
    body[32] = 0x08;
    return body;
}

bool ConverterSim::open(QString *error)
{
    if (isOpen())
        return true;
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_model)
        return fail(QStringLiteral("unknown model \"%1\"").arg(m_opt.model));
    if (!isSupportedBaud(m_opt.baud))
        return fail(QStringLiteral("unsupported DF1 speed %1").arg(m_opt.baud));
    if (m_opt.pcNode < 0 || m_opt.pcNode > MaxDhNode)
        return fail(QStringLiteral("PC node %1 is outside 0..77 octal").arg(m_opt.pcNode));
    for (int n : std::as_const(m_opt.nodes)) {
        if (n < 0 || n > MaxDhNode)
            return fail(QStringLiteral("node %1 is outside 0..77 octal").arg(n));
    }

    if (!m_opt.eepromPath.isEmpty() && QFile::exists(m_opt.eepromPath)) {
        QByteArray body;
        if (const FileResult r = readRegularFile(m_opt.eepromPath, 4096, &body); !r.ok)
            return fail(r.error);
        if (!isKnownConfigLength(int(body.size())))
            return fail(QStringLiteral("%1 holds %2 bytes, which is no configuration body length")
                            .arg(m_opt.eepromPath)
                            .arg(body.size()));
        m_eeprom = body;
    }

    if (!m_line->open(error))
        return false;
    m_rx = Rx::Idle;
    m_lastRx.invalidate();
    return true;
}

bool ConverterSim::isOpen() const
{
    return m_line->isOpen();
}

QString ConverterSim::devicePath() const
{
    return m_line->devicePath();
}

QByteArray ConverterSim::sent() const
{
    return m_line->sent();
}

void ConverterSim::clearSent()
{
    m_line->clearSent();
}

void ConverterSim::send(const QByteArray &bytes)
{
    m_line->write(bytes);
}

void ConverterSim::dropLine()
{
    m_dropTimer.stop();
    m_discardTimer.stop();
    m_flashTimer.stop();
    if (!m_line->isOpen())
        return;
    m_line->close();
    m_rx = Rx::Idle;
    Q_EMIT lineDropped();
}

void ConverterSim::onReceived(const QByteArray &bytes)
{
    const qint64 silence = m_lastRx.isValid() ? m_lastRx.elapsed() : std::numeric_limits<qint64>::max();
    m_lastRx.start();
    m_received.append(bytes);
    m_flashHeldCounting = m_flashHeld;

    // Busy while it holds the PC off: what comes meanwhile is lost.
    if (!m_holding && m_opt.fault != SimFault::Silent) {
        // A request the PC left unfinished that long ago is not going to be finished.
        if (silence >= BreakSilenceMs &&
            (m_rx == Rx::Download || m_rx == Rx::UploadRequest || m_rx == Rx::Df1)) {
            m_rx = Rx::Idle;
            m_df1.reset();
        }
        // Sampled now, not when the PC wrote: the PC must not change speed before it has an answer.
        const int speed = m_line->pcOutputSpeed();
        for (qsizetype i = 0; i < bytes.size() && m_line->isOpen(); ++i)
            handleByte(quint8(bytes.at(i)), i == 0 ? silence : 0, speed);
    }
    Q_EMIT bytesReceived(bytes);
}

void ConverterSim::handleByte(quint8 b, qint64 silenceMs, int speed)
{
    if (b == 'D' && silenceMs >= BreakSilenceMs && m_rx != Rx::Flash) {
        m_discardTimer.stop();
        m_rx = Rx::Idle;
        m_debugMode = true;
        reply(QByteArrayLiteral("DEBUG MODE\r\n"), ReplyKind::Other);
        return;
    }

    switch (m_rx) {
    case Rx::Idle:
        idleByte(b);
        break;
    case Rx::Download:
        downloadByte(b);
        break;
    case Rx::UploadRequest:
        m_message.append(char(b));
        if (m_message.size() == 3) {
            m_rx = Rx::Idle;
            uploadRequest();
        }
        break;
    case Rx::Df1:
        df1Byte(b, speed);
        break;
    case Rx::Discard:
        m_discardTimer.start(BadMessageQuietMs);
        break;
    case Rx::Menu:
        menuKey(b);
        break;
    case Rx::ConfirmFlash:
    case Rx::ConfirmRestore:
        confirmKey(b);
        break;
    case Rx::Flash:
        flashByte(b);
        break;
    }
}

void ConverterSim::idleByte(quint8 b)
{
    switch (b) {
    case 'N':
    case 'T':
        m_rioReplyDue = false;
        if (m_opt.fault == SimFault::Xoff) {
            // Hold the PC off and never let it go: the rest of the request is swallowed.
            m_line->write(QByteArray(1, XOFF));
            m_discardReply.clear();
            m_rx = Rx::Discard;
            m_discardTimer.start(BadMessageQuietMs);
            return;
        }
        m_message = QByteArray(1, char(b));
        m_rx = b == 'N' ? Rx::Download : Rx::UploadRequest;
        break;
    case 'M':
        m_rx = Rx::Menu;
        reply(menuText(), ReplyKind::Other);
        break;
    case Df1Char::DLE:
        m_rx = Rx::Df1;
        m_df1Garbled = false;
        df1Byte(b, m_line->pcOutputSpeed());
        break;
    case PcAck:
        ++m_pcAcks;
        if (m_rioReplyDue) {
            // RIO adapters follow an acknowledged upload with their block-transfer settings.
            m_rioReplyDue = false;
            reply(uploadReply(RioReplyLength, 16, 50, 14), ReplyKind::Transfer, true);
        }
        break;
    default:
        break; // line noise between requests
    }
}

void ConverterSim::downloadByte(quint8 b)
{
    m_message.append(char(b));
    const qsizetype i = m_message.size() - 1;
    if ((i == 1 || i == 2) && b != 'E')
        return refuseDownload(QStringLiteral("BAD HEADER"));
    if (i == 3 && !isKnownConfigLength(b))
        return refuseDownload(QStringLiteral("BAD LENGTH %1").arg(b));
    if (i >= 4 && i <= 6 && b != 0)
        return refuseDownload(QStringLiteral("BAD HEADER"));
    if (i < 3)
        return;

    const int total = 7 + quint8(m_message.at(3)) + 2;
    if (m_opt.fault == SimFault::Drop && m_message.size() == total / 2)
        return dropLine();
    if (m_message.size() == total) {
        m_rx = Rx::Idle;
        finishDownload();
    }
}

void ConverterSim::refuseDownload(const QString &reason)
{
    // We cannot tell where a broken message ends, so answer once the PC has stopped sending.
    m_discardReply =
        textBlock(QStringLiteral("\r\nCONFIGURATION REFUSED: %1\r\nNOTHING STORED\r\n").arg(reason),
                  DownloadReplyLength, false);
    m_rx = Rx::Discard;
    m_discardTimer.start(BadMessageQuietMs);
}

void ConverterSim::finishDownload()
{
    const int length = quint8(m_message.at(3));
    const QByteArray body = m_message.mid(7, length);
    const QByteArray sum = m_message.right(2);
    if (MessageChecksum(body) != sum) {
        const quint16 got = quint16(quint8(sum.at(0)) | quint8(sum.at(1)) << 8);
        const QString why = QStringLiteral("CHECKSUM %1, BODY SUMS TO %2")
                                .arg(got, 4, 16, QLatin1Char('0'))
                                .arg(sum16(body), 4, 16, QLatin1Char('0'))
                                .toUpper();
        reply(textBlock(QStringLiteral("\r\nCONFIGURATION REFUSED: %1\r\nNOTHING STORED\r\n").arg(why),
                        DownloadReplyLength, false),
              ReplyKind::Transfer);
        return;
    }

    // Without the acknowledge nothing is stored either: the unit took the message but did not
    // get as far as committing it.
    const bool ack = m_opt.fault != SimFault::NoAck;
    if (ack)
        storeBody(body);
    const QString text =
        QStringLiteral("\r\nCONFIGURATION RECEIVED\r\n%1  %2 BYTES  CHECKSUM %3\r\n")
            .arg(m_model->code)
            .arg(length)
            .arg(QString::number(sum16(body), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    reply(textBlock(text, DownloadReplyLength, ack), ReplyKind::Transfer);
}

void ConverterSim::storeBody(const QByteArray &body)
{
    m_eeprom = body;
    QString error;
    if (!saveEeprom(&error))
        qWarning("qnsim: cannot save the EEPROM: %s", qPrintable(error));
    Q_EMIT downloadStored(body);
}

bool ConverterSim::saveEeprom(QString *error) const
{
    if (m_opt.eepromPath.isEmpty())
        return true;
    const FileResult r = saveFileAtomically(m_opt.eepromPath, m_eeprom);
    if (!r.ok)
        *error = r.error;
    return r.ok;
}

void ConverterSim::uploadRequest()
{
    if (m_message == "TEE") {
        const bool old = m_opt.oldNgd && m_model->asksFlashQuestion();
        const int length = old ? OldNgdUploadReplyLength : UploadReplyLength;
        reply(uploadReply(length, 6, 0, length - 6), ReplyKind::Transfer, true);
        m_rioReplyDue = m_model->uploadPlan == UploadPlan::UnaskedReply;
    } else if (m_message == "TEM" && m_model->uploadPlan == UploadPlan::ParameterRequest) {
        reply(uploadReply(ParamUploadReplyLength, 24, 50, ProtoParamCount), ReplyKind::Transfer, true);
    }
}

QByteArray ConverterSim::uploadReply(int length, int dataOffset, int firstBodyByte, int count) const
{
    QByteArray r(length, '\0');
    r[0] = 'T';
    r[1] = 'R';
    r[2] = char(m_model->productCode);
    r[3] = char(m_eeprom.size());
    for (int k = 0; k < count && dataOffset + k < length; ++k) {
        const int from = firstBodyByte + k;
        r[dataOffset + k] = from < m_eeprom.size() ? m_eeprom.at(from) : '\0';
    }
    return r;
}

void ConverterSim::df1Byte(quint8 b, int speed)
{
    // At any other speed the unit would see framing errors, not bytes: keep track of the
    // sequence so none of it is mistaken for a request, but do not answer it.
    if (speed != m_opt.baud)
        m_df1Garbled = true;
    const QList<DF1Event> events = m_df1.feed(QByteArrayView(reinterpret_cast<const char *>(&b), 1));
    if (!m_df1Garbled) {
        for (const DF1Event &e : events)
            df1Event(e);
    }
    if (m_df1.isIdle())
        m_rx = Rx::Idle;
}

void ConverterSim::df1Event(const DF1Event &event)
{
    switch (event.kind) {
    case DF1Event::Enq:
        replyLate(TX_ACK, m_opt.lateProbeMs);
        break;
    case DF1Event::Ack:
        m_lastDf1Frame.clear();
        break;
    case DF1Event::Nak:
        if (!m_lastDf1Frame.isEmpty() && m_df1Resends++ < 3)
            reply(m_lastDf1Frame, ReplyKind::Other);
        break;
    case DF1Event::BadFrame:
        reply(TX_NAK, ReplyKind::Other);
        break;
    case DF1Event::Frame:
        if (event.bccOk)
            answerDf1Frame(event.body);
        else
            reply(TX_NAK, ReplyKind::Other);
        break;
    }
}

bool ConverterSim::isActiveNode(int node) const
{
    return node == m_opt.pcNode || m_opt.nodes.contains(node);
}

void ConverterSim::answerDf1Frame(const QByteArray &body)
{
    if (body.size() < 6) {
        reply(TX_ACK, ReplyKind::Other); // the link took it; there is nothing to answer
        return;
    }
    const quint8 node = quint8(body.at(0));
    const quint8 cmd = quint8(body.at(2));
    const bool status =
        cmd == Df1CmdDiagnostic && body.size() >= 7 && quint8(body.at(6)) == Df1FncDiagnosticStatus;
    const bool active = node <= MaxDhNode && isActiveNode(node);

    QByteArray r;
    r.append(char(m_opt.pcNode)).append(char(node)).append(char(cmd | Df1CmdReplyBit));
    r.append(char(!status ? StsIllegalCommand : active ? 0x00 : StsRemoteNoAck));
    r.append(body.mid(4, 2));
    if (status && active) {
        // A short status block: run/program mode, then the station's name.
        r.append(char(m_programMode ? 0x01 : 0x00));
        r.append(node == m_opt.pcNode ? m_model->code.toLatin1()
                                      : QStringLiteral("STATION %1").arg(octalNode(node)).toLatin1());
    }
    m_lastDf1Frame = FrameDF1(r, m_tns);
    m_df1Resends = 0;
    replyLate(TX_ACK + m_lastDf1Frame, node == 0xFE ? m_opt.lateStatusMs : 0);
}

void ConverterSim::replyLate(const QByteArray &bytes, int ms)
{
    if (ms <= 0) {
        reply(bytes, ReplyKind::Other);
        return;
    }
    QTimer::singleShot(ms, Qt::PreciseTimer, this, [this, bytes] {
        // A PC that has moved on to another speed meanwhile would see framing errors, not bytes.
        if (m_line->pcInputSpeed() == m_opt.baud)
            reply(bytes, ReplyKind::Other);
    });
}

QByteArray ConverterSim::textBlock(const QString &text, int length, bool withAck) const
{
    // Fixed-length replies: the text, blanks, then the acknowledge (or a blank) and CR LF.
    QByteArray out = text.toLatin1().left(length - 3);
    out.append(length - 3 - out.size(), ' ');
    out.append(withAck ? char(PcAck) : ' ');
    out.append("\r\n");
    return out;
}

void ConverterSim::reply(QByteArray bytes, ReplyKind kind, bool upload)
{
    switch (m_opt.fault) {
    case SimFault::Short:
        bytes.truncate(bytes.size() / 2);
        break;
    case SimFault::Garbage:
        bytes = junk(bytes.size());
        break;
    case SimFault::BadTr:
        // As if the first byte had been lost on the line: right length, wrong start.
        if (upload)
            bytes = bytes.mid(1) + '\0';
        break;
    default:
        break;
    }
    if (kind == ReplyKind::Transfer)
        m_pcAcks = 0;
    if (kind == ReplyKind::Transfer && upload &&
        (m_opt.fault == SimFault::HoldAck || m_opt.fault == SimFault::NoXon)) {
        // An upload reply is binary and the PC reads it without flow control, so the hold
        // starts after it; the PC's acknowledge must wait for the XON.
        m_line->write(bytes + QByteArray(1, XOFF));
        if (m_opt.fault == SimFault::HoldAck) {
            m_holding = true;
            QTimer::singleShot(HoldAckMs, this, [this] {
                m_holding = false;
                m_line->write(QByteArray(1, XON));
            });
        }
        return;
    }
    if (kind == ReplyKind::Transfer && !upload &&
        (m_opt.fault == SimFault::HoldAck || m_opt.fault == SimFault::NoXon)) {
        // Hold the PC off over the reply, so that its acknowledge has to wait for the XON.
        m_line->write(QByteArray(1, XOFF) + bytes);
        if (m_opt.fault == SimFault::HoldAck)
            QTimer::singleShot(HoldAckMs, this, [this] { m_line->write(QByteArray(1, XON)); });
        return;
    }
    if (m_opt.fault == SimFault::Drop && kind == ReplyKind::Transfer) {
        m_line->write(bytes.left(bytes.size() / 2));
        // Closing the master throws away whatever the PC has not read yet, so wait for it.
        m_dropTicks = 0;
        m_dropTimer.start(DropWaitTickMs);
        return;
    }
    m_line->write(bytes);
}

void ConverterSim::dropTick()
{
    if ((!m_line->hasPending() && m_line->unreadByPc() == 0) || ++m_dropTicks >= DropWaitTicksMax)
        dropLine();
}

void ConverterSim::discardQuiet()
{
    if (m_rx != Rx::Discard)
        return;
    m_rx = Rx::Idle;
    if (!m_discardReply.isEmpty())
        reply(std::exchange(m_discardReply, {}), ReplyKind::Transfer);
}

QByteArray ConverterSim::menuText() const
{
    return QStringLiteral("\r\n"
                          "QUINTREL %1 OFF-LINE MANAGER\r\n"
                          "\r\n"
                          "  1  WRITE SYSTEM FILE (FLASH BURN)\r\n"
                          "  2  MODE CHANGE\r\n"
                          "  3  DIAGNOSTICS\r\n"
                          "  4  RESTORE FACTORY SETTINGS\r\n"
                          "  5  MEMORY DUMP\r\n"
                          "  X  EXIT TO RUN MODE\r\n")
               .arg(m_model->code)
               .toLatin1() +
           Prompt;
}

QString ConverterSim::diagnosticsText() const
{
    QStringList active;
    QList<int> nodes(m_opt.nodes.begin(), m_opt.nodes.end());
    if (!m_opt.nodes.contains(m_opt.pcNode))
        nodes.append(m_opt.pcNode);
    std::sort(nodes.begin(), nodes.end());
    for (int n : nodes)
        active.append(octalNode(n));
    return QStringLiteral("DIAGNOSTICS\r\n"
                          "  RAM TEST       PASS\r\n"
                          "  EEPROM         %1 BYTES, SUM %2\r\n"
                          "  SERIAL LINE    %3 BAUD, DF1 AT %4\r\n"
                          "  DH+ NODE       %5\r\n"
                          "  ACTIVE NODES   %6\r\n"
                          "  MODE           %7\r\n")
        .arg(m_eeprom.size())
        .arg(QString::number(sum16(m_eeprom), 16).toUpper().rightJustified(4, QLatin1Char('0')))
        .arg(m_line->pcOutputSpeed())
        .arg(m_opt.baud)
        .arg(octalNode(m_opt.pcNode), active.join(QLatin1Char(' ')),
             m_programMode ? QStringLiteral("PROGRAM") : QStringLiteral("RUN"));
}

QString ConverterSim::memoryDumpText() const
{
    QString text = QStringLiteral("EEPROM %1 BYTES\r\n").arg(m_eeprom.size());
    for (qsizetype at = 0; at < m_eeprom.size(); at += 16) {
        text += QStringLiteral("%1 ").arg(at, 4, 16, QLatin1Char('0')).toUpper();
        text += QString::fromLatin1(m_eeprom.mid(at, 16).toHex(' ').toUpper());
        text += QLatin1StringView("\r\n");
    }
    return text;
}

void ConverterSim::menuKey(quint8 b)
{
    const QByteArray echo = QByteArray(1, char(b)) + "\r\n";
    switch (b) {
    case '1':
        m_rx = Rx::ConfirmFlash;
        reply(echo + "WRITE SYSTEM FILE: THE FLASH WILL BE ERASED. CONTINUE (Y/N)? ", ReplyKind::Other);
        break;
    case '2':
        m_programMode = !m_programMode;
        reply(echo + (m_programMode ? "MODE CHANGED TO PROGRAM\r\n" : "MODE CHANGED TO RUN\r\n") + Prompt,
              ReplyKind::Other);
        break;
    case '3':
        reply(echo + diagnosticsText().toLatin1() + Prompt, ReplyKind::Other);
        break;
    case '4':
        m_rx = Rx::ConfirmRestore;
        reply(echo + "RESTORE FACTORY SETTINGS (Y/N)? ", ReplyKind::Other);
        break;
    case '5':
        reply(echo + memoryDumpText().toLatin1() + Prompt, ReplyKind::Other);
        break;
    case 'X':
    case 'x':
    case 0x1B:
        m_rx = Rx::Idle;
        reply(QByteArrayLiteral("\r\nRUN MODE\r\n"), ReplyKind::Other);
        break;
    case 'M':
    case 'm':
        reply(menuText(), ReplyKind::Other);
        break;
    case '\r':
    case '\n':
    case ' ':
        break;
    case 'N':
    case 'T':
    case Df1Char::DLE:
    case PcAck:
        // The PC has moved on to run-mode traffic without leaving the manager first.
        m_rx = Rx::Idle;
        idleByte(b);
        break;
    default:
        reply(QByteArrayLiteral("\r\nINVALID SELECTION") + Prompt, ReplyKind::Other);
        break;
    }
}

void ConverterSim::confirmKey(quint8 b)
{
    if (b == '\r' || b == '\n' || b == ' ')
        return;
    const bool yes = b == 'Y' || b == 'y';
    const QByteArray echo = QByteArray(1, char(b)) + "\r\n";
    if (m_rx == Rx::ConfirmFlash && yes) {
        m_flashBuffer.clear();
        m_flashIn = 0;
        m_flashHeld = false;
        m_flashOverrun = false;
        m_rx = Rx::Flash;
        reply(echo + "SEND SYSTEM FILE\r\n", ReplyKind::Other);
        return;
    }
    if (m_rx == Rx::ConfirmRestore && yes) {
        m_eeprom = factoryBody(*m_model);
        QString error;
        const bool saved = saveEeprom(&error);
        if (!saved)
            qWarning("qnsim: cannot save the EEPROM: %s", qPrintable(error));
        m_rx = Rx::Menu;
        reply(echo + (saved ? "FACTORY SETTINGS RESTORED\r\n" : "FACTORY SETTINGS RESTORED, NOT SAVED\r\n") +
                  Prompt,
              ReplyKind::Other);
        return;
    }
    m_rx = Rx::Menu;
    reply(echo + "CANCELLED\r\n" + Prompt, ReplyKind::Other);
}

void ConverterSim::flashByte(quint8 b)
{
    const bool lost = m_flashHeld && m_flashHeldCounting && ++m_flashHeldBytes > FlashHoldSlackBytes;
    if (lost)
        m_flashOverrun = true; // the unit is writing its flash and cannot take it
    else
        m_flashBuffer.append(char(b));
    if (m_opt.fault == SimFault::FlashHold && ++m_flashIn == FlashHoldAfterBytes) {
        m_line->write(QByteArray(1, XOFF));
        m_flashHeld = true;
        m_flashHeldCounting = false;
        m_flashHeldBytes = 0;
        QTimer::singleShot(FlashHoldMs, this, [this] {
            m_flashHeld = false;
            m_line->write(QByteArray(1, XON));
        });
    }
    // The file's own lines end CR LF, so a blank then LF is the PC's closing pair, unless
    // more follows within the quiet time.
    if (b == '\n' && (lost || m_flashBuffer.endsWith(" \n")))
        m_flashTimer.start(FlashQuietMs);
    else
        m_flashTimer.stop();
}

void ConverterSim::flashComplete()
{
    if (m_rx != Rx::Flash)
        return;
    m_flashFile = m_flashBuffer.chopped(qMin<qsizetype>(2, m_flashBuffer.size()));
    m_flashBuffer.clear();
    // A burnt unit restarts into run mode.
    m_rx = Rx::Idle;
    if (m_flashOverrun) {
        reply(QByteArrayLiteral("FLASH WRITE ERROR: DATA OVERRUN\r\n"), ReplyKind::Other);
        return;
    }
    // A unit that held the PC off says how much it took, so the whole file can be checked.
    const QByteArray taken =
        m_opt.fault == SimFault::FlashHold
            ? QStringLiteral("SYSTEM FILE %1 BYTES\r\n").arg(m_flashFile.size()).toLatin1()
            : QByteArray();
    reply(taken + QByteArrayLiteral("A-OK\r\n"), ReplyKind::Other);
    Q_EMIT flashFileReceived(m_flashFile);
}
