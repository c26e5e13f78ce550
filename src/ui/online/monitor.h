// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "online/terminaltext.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <array>

struct AppContext;
class FlashTransfer;
class QLabel;

namespace Ui {
class monitor;
}

// The terminal to the converter's off-line manager: shows what the converter sends, sends
// each key typed as one byte (nothing typed is shown but by the converter's echo), shows the
// modem lines and the time connected, sends a flash system file, and breaks the line for the
// debug mode of units without flash. Received text is taken as it arrives and shown in one
// edit every few tens of milliseconds, so a flood does not hold the window up.
class monitor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FlushMs = 30;     // received text shown at most this often
    static constexpr int ActivityMs = 150; // RXD and TXD go white after this long without traffic
    static constexpr int LoadKeyMs = 100;  // the "M" after the terminal opens
    static constexpr int BreakMs = 1000;   // the debug mode's line break
    static constexpr qint64 ReadSliceBytes = 64 * 1024; // received text taken at most this much at once

    explicit monitor(AppContext &ctx, QWidget *parent = nullptr);
    ~monitor() override;

    const TerminalText &terminalText() const { return m_text; }
    // The LED of index 0..5 (DSR, CTS, RTS, RXD, TXD, DTR) is lit.
    bool ledLit(int index) const;
    bool isTransferring() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum Led { DSR = 0, CTS = 1, RTS = 2, RXD = 3, TXD = 4, DTR = 5 };

    void buildLeds();
    void setLed(int index, bool lit);
    void openPort();
    void sendKey(const QByteArray &bytes);
    void received();
    void flush();
    void pollModemLines();
    void showTime();
    void cmdFreeDebug_Click();
    void endBreak();
    void cmdSendText_Click();
    void beginTransfer(const QString &path);
    void transferProgressed(int blocks, int percent);
    void endTransfer(const QString &error);
    void cmdCancel_Click();
    void leave();

    AppContext &m_ctx;
    Ui::monitor *m_ui;
    TerminalText m_text;
    FlashTransfer *m_flash;
    std::array<QLabel *, 6> m_leds{};
    QDateTime m_connectTime;
    QString m_flashPath;
    bool m_opened = false;
    bool m_leaving = false;

    QTimer m_flush{this};
    QTimer m_rxLight{this};
    QTimer m_txLight{this};
    QTimer StatusTimer{this};
    QTimer tmrclock{this};
    QTimer tmrLoad{this};
    QTimer tmrDebug{this};
};
