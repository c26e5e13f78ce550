// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "df1/df1.h"
#include "simulator/simoptions.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

struct ModelInfo;
class PtyLine;

// A converter on the far end of a pseudo-terminal: it takes downloads into its EEPROM,
// answers uploads, runs the off-line manager and answers DF1 diagnostic status commands.
// Everything runs on the event loop of the thread that owns it.
class ConverterSim : public QObject
{
    Q_OBJECT

public:
    // Reply lengths the PC counts on.
    static constexpr int DownloadReplyLength = 113;
    static constexpr int UploadReplyLength = 66;
    static constexpr int OldNgdUploadReplyLength = 54;
    static constexpr int ParamUploadReplyLength = 114; // "T E M" on LBW models
    static constexpr int RioReplyLength = 96;          // the second reply of UCT models

    // A pty cannot carry a break, so a "D" after this much silence from the PC stands for
    // the break-then-"D" that asks for debug mode. A request left half-sent this long is dropped.
    static constexpr int BreakSilenceMs = 900;
    // A system file ends with a blank and a line feed followed by this much quiet.
    static constexpr int FlashQuietMs = 250;
    // A download we cannot make sense of is answered once the PC has stopped sending it.
    static constexpr int BadMessageQuietMs = 150;
    // The flashhold fault: XOFF once this much of the file is in, XON this much later. What
    // we had read already and what the pty held between the PC and us when the XOFF went (the
    // kernel's 64 KB buffer and its line discipline's 4 KB) was on its way already; more than
    // the slack arriving after that read is an overrun.
    static constexpr int FlashHoldAfterBytes = 4096;
    static constexpr int FlashHoldMs = 1500;
    static constexpr int FlashHoldSlackBytes = 72 * 1024;

    explicit ConverterSim(SimOptions options, QObject *parent = nullptr);
    ~ConverterSim() override;

    bool open(QString *error); // creates the pty pair, returns false with a reason
    bool isOpen() const;
    QString devicePath() const; // the slave path, e.g. /dev/pts/5
    const SimOptions &options() const { return m_opt; }
    void setFault(SimFault fault) { m_opt.fault = fault; }

    QByteArray eeprom() const { return m_eeprom; } // the stored configuration body
    void setEeprom(const QByteArray &body) { m_eeprom = body; }
    QByteArray received() const { return m_received; } // every byte from the PC since open/clearReceived()
    void clearReceived() { m_received.clear(); }
    QByteArray sent() const; // every byte handed to the PC since open/clearSent()
    void clearSent();
    int pcAcksAfterReply() const { return m_pcAcks; } // 0x06 bytes the PC sent after the last transfer reply
    QByteArray flashFile() const { return m_flashFile; } // the last system file, without its closing blank+LF
    bool inDebugMode() const { return m_debugMode; }

    void send(const QByteArray &bytes); // raw bytes to the PC, past every fault
    void dropLine();                    // close the master side now

    // What a unit leaves the factory with: ConfigLength bytes, zero but for the fixed
    // bytes every body carries (1 = 0x01, 10 = 0x04, 11 = 0x99, 32 = 0x08) and the product code at 22.
    static QByteArray factoryBody(const ModelInfo &model);

Q_SIGNALS:
    void downloadStored(const QByteArray &body);
    void bytesReceived(const QByteArray &bytes);
    void lineDropped();
    void flashFileReceived(const QByteArray &file);

private:
    enum class Rx {
        Idle,
        Download,      // collecting "N E E" ...
        UploadRequest, // collecting "T E E" / "T E M"
        Df1,           // inside a DLE sequence
        Discard,       // swallowing the rest of something we will not take, until the PC stops
        Menu,          // off-line manager, waiting for a selection
        ConfirmFlash,
        Flash, // taking a system file
        ConfirmRestore,
    };
    enum class ReplyKind { Transfer, Other };

    void onReceived(const QByteArray &bytes);
    void handleByte(quint8 b, qint64 silenceMs, int speed);
    void idleByte(quint8 b);
    void downloadByte(quint8 b);
    void finishDownload();
    void refuseDownload(const QString &reason);
    void uploadRequest();
    void df1Byte(quint8 b, int speed);
    void df1Event(const DF1Event &event);
    void answerDf1Frame(const QByteArray &body);
    void menuKey(quint8 b);
    void confirmKey(quint8 b);
    void flashByte(quint8 b);
    void flashComplete();
    void discardQuiet();
    void dropTick();

    void reply(QByteArray bytes, ReplyKind kind, bool upload = false);
    void replyLate(const QByteArray &bytes, int ms);
    QByteArray uploadReply(int length, int dataOffset, int firstBodyByte, int count) const;
    QByteArray textBlock(const QString &text, int length, bool withAck) const;
    QByteArray menuText() const;
    QString diagnosticsText() const;
    QString memoryDumpText() const;
    bool isActiveNode(int node) const;
    bool saveEeprom(QString *error) const;
    void storeBody(const QByteArray &body);

    SimOptions m_opt;
    const ModelInfo *m_model = nullptr;
    PtyLine *m_line = nullptr;

    QByteArray m_eeprom;
    QByteArray m_received;
    QByteArray m_flashFile;
    QByteArray m_flashBuffer;
    QByteArray m_message;      // the request being collected
    QByteArray m_discardReply; // sent once a Discard ends; may be empty
    Rx m_rx = Rx::Idle;

    DF1FrameReader m_df1;
    bool m_df1Garbled = false; // some of this sequence came at a speed we do not listen at
    QByteArray m_lastDf1Frame;
    int m_df1Resends = 0;
    quint16 m_tns = 0;

    int m_pcAcks = 0;
    bool m_holding = false; // we hold the PC off after an upload reply and take nothing meanwhile
    qint64 m_flashIn = 0;   // bytes of this system file so far, overrun ones too
    bool m_flashHeld = false;
    qint64 m_flashHeldBytes = 0;
    bool m_flashHeldCounting = false; // a read after the one that brought the XOFF on
    bool m_flashOverrun = false;
    bool m_rioReplyDue = false;
    bool m_debugMode = false;
    bool m_programMode = false;

    QElapsedTimer m_lastRx;
    QTimer m_discardTimer;
    QTimer m_flashTimer;
    QTimer m_dropTimer;
    int m_dropTicks = 0;
};
