// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "df1/df1.h"
#include "transfer/exchange.h"
#include "transfer/exchangerunner.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>

class ModComm;
struct Session;

// The DH+ diagnostics over DF1 full duplex: finds the speed the converter answers at and the
// PC's DH+ node (autoconfigure), then asks node after node, 00 to 77 octal and round again,
// whether it answers (who active). Every wait is the runner's time-out timer and readyRead;
// after each exchange a 50 ms pause, and what is left of the reply is dropped.
class DhpDiagnostics : public QObject
{
    Q_OBJECT

public:
    static inline const QStringList Rates = {
        QStringLiteral("115200"), QStringLiteral("57600"), QStringLiteral("38400"), QStringLiteral("19200"),
        QStringLiteral("9600"),   QStringLiteral("4800"),  QStringLiteral("2400")};
    static constexpr int PauseMs = 50;
    static constexpr int NodeCount = 64;
    static constexpr quint8 AnyNode = 0xFE; // the address autoconfigure asks

    static inline const QString Testing = QStringLiteral("Testing....");
    static inline const QString Workstation = QStringLiteral("Workstation");
    static inline const QString ActiveNode = QStringLiteral("Active Node");
    static inline const QString Silent = QStringLiteral("           "); // eleven blanks

    DhpDiagnostics(Session &session, ModComm &comm, QObject *parent = nullptr);

    void autoconfigure();
    void startScan();
    // Asks the scan to stop; the exchange under way finishes and writes its row first.
    void stopScan();
    // Ends whatever runs (a scan after its exchange under way, an autoconfigure at once),
    // closes the port, then calls done.
    void leave(const std::function<void()> &done);

    bool isBusy() const { return m_busy; }
    bool isScanning() const { return m_scanning; }
    bool isConnected() const { return m_connected; }

    // True asks the scan to stop; false only while one runs.
    bool stopRequest() const { return m_StopRequest; }
    // The result of the last open or acknowledge write made here (the runner keeps its own).
    int commStatus() const { return m_CommStatus; }
    // The last status reply, one byte a place from the first; zero beyond what came.
    const std::array<int, Df1StatusReply::MaxLength> &rxBuffer() const { return m_RxBuffer; }

    int DiagSource = 0;
    int WorkstationNode = 0;
    bool NodeActive = false;
    bool DiagConnected = false;
    quint16 TNSCounter = 0;
    QString DetectedBaud;

    // For tests: every wait becomes this many ms (0 keeps the real ones).
    void setTimeoutOverride(int ms);

Q_SIGNALS:
    void statusChanged(const QString &text); // the connection status line
    void nodeChanged(int node, const QString &text);
    void autoconfigureEnded(bool connected);
    void scanEnded();
    void busyChanged(bool busy);

private:
    void setBusy(bool busy);
    void probe(int rate);
    void probed(int rate, bool answered);
    void statusExchange(quint8 dst, std::function<void()> then);
    void scanNode(int node);
    void finishLeaving();
    void connectionLost(const QString &line);
    QString connectedText() const;

    Session &m_session;
    ModComm &m_comm;
    ExchangeRunner m_runner;
    Df1Exchange m_exchange;
    QTimer m_pause{this};
    int m_pauseMs = PauseMs;
    bool m_busy = false;
    bool m_scanning = false;
    bool m_connected = false;
    bool m_aborted = false;
    bool m_StopRequest = true;
    int m_CommStatus = 0;
    std::array<int, Df1StatusReply::MaxLength> m_RxBuffer{};
    std::function<void()> m_leaving;
};
