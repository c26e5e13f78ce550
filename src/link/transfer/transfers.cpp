// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfers.h"

#include "message/configmessage.h"
#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/devicelink.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

void reportLostLine(Prompts &prompts, const QString &line)
{
    //: %1 is the port's error line, "Error (code): operation - reason"
    prompts.message(
        QCoreApplication::translate("transfers", "The serial port stopped working and was closed.\n%1")
            .arg(line),
        QCoreApplication::translate("transfers", "COM PORT LOST"), Prompts::Buttons::Ok,
        Prompts::Icon::Critical);
}

void reportAckNotSent(Prompts &prompts)
{
    prompts.message(QCoreApplication::translate(
                        "transfers", "The Quintrel held the line (XOFF): its acknowledge could not be sent."),
                    QCoreApplication::translate("transfers", "ACKNOWLEDGE NOT SENT"), Prompts::Buttons::Ok,
                    Prompts::Icon::Critical);
}

// The status after a transfer that never started: OpenDevicePort's result says why, and
// the in-progress text must not stay behind.
QString notStartedStatus(int openResult)
{
    return openResult == 2 ? QCoreApplication::translate("transfers", "COM PORT not opened - nothing sent")
                           : QCoreApplication::translate("transfers", "Cancelled - nothing sent");
}

// How long the PC's last bytes may take to leave: a write may take a second a byte.
int drainTimeoutMs(ModComm &comm, int port)
{
    return int(std::clamp<qint64>(comm.bytesNotSent(port), 1, 100)) * 1000;
}

} // namespace

DownloadTransfer::DownloadTransfer(DeviceLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_runner(link.session(), link.comm(), this)
{
    connect(&m_exchange, &ExchangeEngine::finished, this, &DownloadTransfer::done);
}

void DownloadTransfer::start()
{
    m_running = true;
    Q_EMIT status(QStringLiteral("Downloading Parameters..."));
    // Build first: with nothing valid to send, neither the prompt nor the port is needed.
    const ConfigMessage message = BuildConfigMessage(m_link.session().rec);
    if (!message.ok()) {
        m_link.prompts().message(message.error, tr("NOTHING TO DOWNLOAD"), Prompts::Buttons::Ok,
                                 Prompts::Icon::Critical);
        Q_EMIT status(tr("NOTHING TO DOWNLOAD - nothing sent"));
        m_running = false;
        Q_EMIT finished(ExchangeOutcome::NoMessage);
        return;
    }
    if (const int r = m_link.OpenDevicePort(); r != 1) {
        m_running = false;
        Q_EMIT status(notStartedStatus(r));
        Q_EMIT finished(ExchangeOutcome::PortFailed);
        return;
    }
    Q_EMIT status(QStringLiteral("Initiating transfer to Quintrel"));
    m_runner.run(m_exchange, [this, bytes = message.bytes] { m_exchange.start(bytes); });
}

void DownloadTransfer::abort()
{
    if (!m_running)
        return;
    m_runner.stop();
    m_running = false;
    m_link.closePort();
}

void DownloadTransfer::done(ExchangeOutcome outcome)
{
    if (!m_running)
        return;
    m_runner.stop();
    Prompts &prompts = m_link.prompts();
    switch (outcome) {
    case ExchangeOutcome::Accepted: {
        // The acknowledge the exchange wrote must be on the line before the port closes,
        // and only then has the transfer succeeded.
        ModComm &comm = m_link.comm();
        const int port = m_link.session().PortNumber;
        comm.whenDrained(port, drainTimeoutMs(comm, port), this, [this](bool sent) { acknowledged(sent); });
        return;
    }
    case ExchangeOutcome::NoAck:
        m_link.closePort();
        prompts.message(QStringLiteral("Unable to communicate with Quintrel."),
                        QStringLiteral("NO ACK RECEIVED"), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        Q_EMIT status(QStringLiteral("Try TRANSFER CONFIGURATION Again"));
        break;
    case ExchangeOutcome::Timeout:
        m_link.closePort();
        prompts.message(QStringLiteral("Unable to communicate with Quintrel."),
                        QStringLiteral("TIMEOUT DETECTED"), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        Q_EMIT status(QStringLiteral("Try TRANSFER CONFIGURATION Again"));
        break;
    default: // the line was lost; the port is already closed
        m_link.closePort();
        reportLostLine(prompts, m_runner.commErrorText());
        Q_EMIT status(tr("COM PORT LOST - Try TRANSFER CONFIGURATION Again"));
        break;
    }
    m_running = false;
    Q_EMIT finished(outcome);
}

void DownloadTransfer::acknowledged(bool sent)
{
    if (!m_running)
        return; // aborted meanwhile
    m_link.closePort();
    Prompts &prompts = m_link.prompts();
    if (sent) {
        Q_EMIT status(QStringLiteral("A-OK! Transmission received by Quintrel"));
        prompts.message(QStringLiteral("Press the RESET Button of the Quintrel to put it ON-LINE"),
                        QStringLiteral("Press Reset Button"), Prompts::Buttons::Ok,
                        Prompts::Icon::Information);
    } else {
        reportAckNotSent(prompts);
        Q_EMIT status(QStringLiteral("Try TRANSFER CONFIGURATION Again"));
    }
    m_running = false;
    Q_EMIT finished(sent ? ExchangeOutcome::Accepted : ExchangeOutcome::AckNotSent);
}

UploadTransfer::UploadTransfer(DeviceLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_runner(link.session(), link.comm(), this)
{
    connect(&m_exchange, &ExchangeEngine::finished, this, [this](ExchangeOutcome o) {
        if (m_secondStage)
            secondDone(o);
        else
            firstDone(o);
    });
    // Connected before the runner's writer, so it runs first. The last acknowledge goes with
    // XON/XOFF on, as the download's does, so a unit that holds the PC off holds it too (and
    // done() waits for it to leave). One that a reply follows stays raw: that reply is read
    // the moment the unit sends it, with no time to switch flow control off again.
    connect(&m_exchange, &ExchangeEngine::send, this, [this](const QByteArray &bytes) {
        const bool last = m_secondStage || m_model->uploadPlan == UploadPlan::Single;
        if (bytes == QByteArray(1, 0x06) && last)
            m_link.comm().setOutputFlowControl(m_link.session().PortNumber, true);
    });
}

void UploadTransfer::start(const ModelInfo &model)
{
    m_model = &model;
    m_first.clear();
    m_second.clear();
    m_secondStage = false;
    m_running = true;
    Q_EMIT status(QStringLiteral("Upload Quintrel Configuration in progress..."));
    if (const int r = m_link.OpenDevicePort(); r != 1) {
        m_running = false;
        Q_EMIT status(notStartedStatus(r));
        Q_EMIT finished(ExchangeOutcome::PortFailed);
        return;
    }
    // The replies are EEPROM bytes, any of which may be 0x11 or 0x13 (station 17, say): with
    // XON/XOFF on, the driver would swallow them and the reply would come short. So they are
    // read raw, and the exchange itself honours an XOFF that follows a reply.
    m_link.comm().setOutputFlowControl(m_link.session().PortNumber, false);
    const Session &s = m_link.session();
    int expected = 66;
    if (model.asksFlashQuestion() && (s.rec.UploadReplyLength == 54 || s.rec.UploadReplyLength == 66))
        expected = s.rec.UploadReplyLength;
    m_runner.run(m_exchange,
                 [this, expected] { m_exchange.start(UploadExchange::Request::Configuration, expected); });
}

void UploadTransfer::abort()
{
    if (!m_running)
        return;
    m_runner.stop();
    m_running = false;
    m_link.closePort();
}

void UploadTransfer::firstDone(ExchangeOutcome outcome)
{
    m_runner.stop();
    if (outcome != ExchangeOutcome::Accepted) {
        fail(outcome);
        return;
    }
    m_first = m_exchange.reply();
    Q_EMIT status(QStringLiteral("A-OK! Configuration Uploaded - Saving to a File."));
    switch (m_model->uploadPlan) {
    case UploadPlan::ParameterRequest:
        m_secondStage = true;
        // Whatever else came with the first reply goes; the acknowledge just written stays
        // on its way to the unit.
        m_link.comm().purgeInput(m_link.session().PortNumber);
        m_runner.run(m_exchange, [this] { m_exchange.start(UploadExchange::Request::Parameters); });
        break;
    case UploadPlan::UnaskedReply:
        m_secondStage = true;
        m_runner.run(m_exchange, [this] { m_exchange.start(UploadExchange::Request::Unasked); });
        break;
    case UploadPlan::Single:
        done();
        break;
    }
}

void UploadTransfer::secondDone(ExchangeOutcome outcome)
{
    if (m_model->uploadPlan == UploadPlan::ParameterRequest &&
        (outcome == ExchangeOutcome::Timeout || outcome == ExchangeOutcome::Invalid ||
         outcome == ExchangeOutcome::LineLost)) {
        // The first reply was acknowledged, but a file without the Modbus table could not be
        // opened again: nothing is saved, and the user is told so rather than of a time-out.
        m_runner.stop();
        m_link.closePort();
        if (outcome == ExchangeOutcome::LineLost)
            reportLostLine(m_link.prompts(), m_runner.commErrorText());
        Q_EMIT status(
            QStringLiteral("the unit sent its configuration but not its Modbus table: nothing saved"));
        m_running = false;
        Q_EMIT finished(outcome);
        return;
    }
    if (outcome != ExchangeOutcome::Accepted) {
        fail(outcome);
        return;
    }
    m_second = m_exchange.reply();
    done();
}

void UploadTransfer::fail(ExchangeOutcome outcome)
{
    m_runner.stop();
    m_link.closePort();
    switch (outcome) {
    case ExchangeOutcome::Timeout:
        m_link.prompts().message(QStringLiteral("Unable to upload parameters from Quintrel1."),
                                 QStringLiteral("TIMEOUT DETECTED"), Prompts::Buttons::Ok,
                                 Prompts::Icon::Critical);
        Q_EMIT status(QStringLiteral("Check connections/settings and TRY UPLOAD AGAIN"));
        break;
    case ExchangeOutcome::LineLost:
        reportLostLine(m_link.prompts(), m_runner.commErrorText());
        Q_EMIT status(QStringLiteral("Check connections/settings and TRY UPLOAD AGAIN"));
        break;
    case ExchangeOutcome::AckNotSent:
        reportAckNotSent(m_link.prompts());
        Q_EMIT status(QStringLiteral("Check connections/settings and TRY UPLOAD AGAIN"));
        break;
    default:
        Q_EMIT status(QStringLiteral("!Error!Invalid Upload Message Received! Upload Again!"));
        break;
    }
    m_running = false;
    Q_EMIT finished(outcome);
}

void UploadTransfer::done()
{
    m_runner.stop();
    // The last acknowledge leaves before the port closes.
    ModComm &comm = m_link.comm();
    const int port = m_link.session().PortNumber;
    comm.whenDrained(port, drainTimeoutMs(comm, port), this, [this](bool sent) {
        if (!m_running)
            return; // aborted meanwhile
        if (!sent) {
            m_first.clear();
            m_second.clear();
            m_link.closePort();
            reportAckNotSent(m_link.prompts());
            Q_EMIT status(QStringLiteral("Check connections/settings and TRY UPLOAD AGAIN"));
            m_running = false;
            Q_EMIT finished(ExchangeOutcome::AckNotSent);
            return;
        }
        m_link.closePort();
        m_running = false;
        Q_EMIT finished(ExchangeOutcome::Accepted);
    });
}
