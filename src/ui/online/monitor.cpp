// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor.h"
#include "ui_monitor.h"

#include "files/localfile.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "online/flashtransfer.h"
#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/devicelink.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace {

// Where each LED sits in its frame (twips from the left edge, as index 0..5 lies).
constexpr int LedLeftTwips[] = {120, 1485, 1035, 1920, 2340, 600};
const char *const LedNames[] = {"DSR", "CTS", "RTS", "RXD", "TXD", "DTR"};

const QString Red = QStringLiteral("background: rgb(255,0,0); border: 1px solid gray;");
const QString White = QStringLiteral("background: rgb(255,255,255); border: 1px solid gray;");

} // namespace

monitor::monitor(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_ui(new Ui::monitor)
    , m_flash(new FlashTransfer(ctx.session, ctx.comm, this))
{
    m_ui->setupUi(this);
    buildLeds();
    QFont font(QStringLiteral("Fixedsys"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFamilies(
        {QStringLiteral("Fixedsys"), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    m_ui->Term->setFont(font);
    m_ui->Term->setReadOnly(true); // only the converter writes here
    m_ui->Term->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_ui->Term->setUndoRedoEnabled(false);
    m_ui->Term->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_ui->Term->installEventFilter(this);
    setFocusProxy(m_ui->Term);

    for (QTimer *t : {&m_flush, &m_rxLight, &m_txLight, &tmrLoad, &tmrDebug})
        t->setSingleShot(true);
    tmrDebug.setTimerType(Qt::PreciseTimer);
    connect(&m_flush, &QTimer::timeout, this, &monitor::flush);
    connect(&m_rxLight, &QTimer::timeout, this, [this] { setLed(RXD, false); });
    connect(&m_txLight, &QTimer::timeout, this, [this] { setLed(TXD, false); });
    connect(&StatusTimer, &QTimer::timeout, this, &monitor::pollModemLines);
    connect(&tmrclock, &QTimer::timeout, this, &monitor::showTime);
    connect(&tmrLoad, &QTimer::timeout, this, [this] { sendKey(QByteArrayLiteral("M")); });
    connect(&tmrDebug, &QTimer::timeout, this, &monitor::endBreak);

    connect(&m_ctx.comm, &ModComm::readyRead, this, [this](int port) {
        if (port == m_ctx.session.PortNumber)
            received();
    });
    connect(&m_ctx.comm, &ModComm::portLost, this, [this](int port, const QString &line) {
        if (port != m_ctx.session.PortNumber)
            return;
        // Said at once, and the clock stops at the time the line was there.
        for (QTimer *t : {&StatusTimer, &tmrclock, &tmrLoad})
            t->stop();
        showTime();
        m_ui->lblMonStat->setText(line);
    });
    connect(m_flash, &FlashTransfer::progressed, this, &monitor::transferProgressed);
    connect(m_flash, &FlashTransfer::finished, this,
            [this](bool, const QString &error) { endTransfer(error); });

    connect(m_ui->cmdSendText, &QPushButton::clicked, this, &monitor::cmdSendText_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &monitor::cmdCancel_Click);
    connect(m_ui->cmdFreeDebug, &QPushButton::clicked, this, &monitor::cmdFreeDebug_Click);
    connect(m_ui->cmdEXIT, &QPushButton::clicked, this, &monitor::leave);
}

monitor::~monitor()
{
    delete m_ui;
}

void monitor::buildLeds()
{
    for (int i = 0; i < 6; ++i) {
        auto *led = new QLabel(m_ui->Frame1);
        led->setObjectName(QStringLiteral("LED2_%1").arg(i));
        led->setGeometry(LedLeftTwips[i] / 15 + 6, 20, 16, 16);
        led->setStyleSheet(White);
        auto *label = new QLabel(QLatin1String(LedNames[i]), m_ui->Frame1);
        label->setObjectName(QStringLiteral("LEDLabel_%1").arg(i));
        // Centred under its light; the closest lights are 28 pixels apart.
        label->setGeometry(LedLeftTwips[i] / 15, 38, 28, 16);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        m_leds[size_t(i)] = led;
    }
}

void monitor::setLed(int index, bool lit)
{
    QLabel *led = m_leds[size_t(index)];
    if (led->property("lit").toBool() == lit && !led->property("lit").isNull())
        return;
    led->setProperty("lit", lit);
    led->setStyleSheet(lit ? Red : White);
}

bool monitor::ledLit(int index) const
{
    return m_leds[size_t(index)]->property("lit").toBool();
}

bool monitor::isTransferring() const
{
    return m_flash->isRunning();
}

void monitor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    // Once the window is up: the prompt to put the unit into its manager comes over it.
    QTimer::singleShot(0, this, &monitor::openPort);
}

void monitor::openPort()
{
    // Not confirmed, or no port: nothing may reach the unit, so the terminal goes.
    if (m_ctx.link.OpenDevicePort() != 1) {
        leave();
        return;
    }
    // A flood is taken a slice at a time, the window served between two slices.
    m_ctx.comm.setReadBufferSize(m_ctx.session.PortNumber, ReadSliceBytes);
    m_connectTime = QDateTime::currentDateTime();
    m_ui->cmdFreeDebug->show();
    showTime();
    tmrclock.start(1000);
    pollModemLines();
    m_ui->Term->setFocus();
    // The manager's menu, asked for as if the user had typed "M".
    tmrLoad.start(LoadKeyMs);
}

bool monitor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->Term && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QByteArray bytes = key->text().toLatin1();
        // A key with a character goes to the converter and nowhere else; the others (the
        // arrows, page up and down) move about the text.
        if (!bytes.isEmpty() && !(key->modifiers() & Qt::AltModifier)) {
            sendKey(bytes);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void monitor::sendKey(const QByteArray &bytes)
{
    setLed(TXD, true);
    m_txLight.start(ActivityMs);
    for (char c : bytes)
        m_ctx.comm.CommWrite(m_ctx.session.PortNumber, QByteArray(1, c));
}

void monitor::received()
{
    QByteArray data;
    if (m_ctx.comm.CommRead(m_ctx.session.PortNumber, data, 0) <= 0)
        return;
    setLed(RXD, true);
    m_rxLight.start(ActivityMs);
    m_text.append(data);
    if (!m_flush.isActive())
        m_flush.start(FlushMs);
}

void monitor::flush()
{
    if (!m_text.hasChange())
        return;
    const TerminalText::Change change = m_text.takeChange();
    QPlainTextEdit *term = m_ui->Term;
    QScrollBar *bar = term->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum() - 2;
    if (change.whole) {
        term->setPlainText(change.appended);
    } else {
        QTextCursor cursor(term->document());
        cursor.movePosition(QTextCursor::End);
        if (change.erased > 0) {
            cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, int(change.erased));
            cursor.removeSelectedText();
        }
        cursor.insertText(change.appended);
    }
    // The caret stays at the end, as new text arrives there; the view follows unless the
    // user has scrolled back to read.
    QTextCursor end = term->textCursor();
    end.movePosition(QTextCursor::End);
    term->setTextCursor(end);
    if (atBottom)
        bar->setValue(bar->maximum());
}

void monitor::pollModemLines()
{
    int status = 0;
    if (m_ctx.comm.modemLines(m_ctx.session.PortNumber, status) != 0) {
        // A pseudo-terminal has no modem lines: the LEDs stay white, and nobody asks again.
        StatusTimer.stop();
        for (Led led : {DSR, CTS, RTS, DTR})
            setLed(led, false);
        return;
    }
    setLed(DSR, status & ModComm::MS_DSR_ON);
    setLed(CTS, status & ModComm::MS_CTS_ON);
    setLed(DTR, status & ModComm::OUT_DTR_ON);
    setLed(RTS, status & ModComm::OUT_RTS_ON);
    if (!StatusTimer.isActive())
        StatusTimer.start(200);
}

void monitor::showTime()
{
    const qint64 s = m_connectTime.secsTo(QDateTime::currentDateTime());
    m_ui->lblTime->setText(QStringLiteral("%1:%2:%3")
                               .arg(s / 3600, 2, 10, QLatin1Char('0'))
                               .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                               .arg(s % 60, 2, 10, QLatin1Char('0')));
}

void monitor::cmdFreeDebug_Click()
{
    m_ctx.comm.CommSetLine(m_ctx.session.PortNumber, ModComm::LINE_BRK, true);
    tmrDebug.start(BreakMs);
}

void monitor::endBreak()
{
    m_ctx.comm.CommSetLine(m_ctx.session.PortNumber, ModComm::LINE_BRK, false);
    m_ctx.comm.CommWrite(m_ctx.session.PortNumber, QByteArrayLiteral("D"));
    m_ui->Term->setFocus();
}

void monitor::cmdSendText_Click()
{
    Prompts &prompts = m_ctx.prompts;
    const Prompts::Answer ready = prompts.message(
        QStringLiteral("BURNING A FLASH SYSTEM FILE\r\n\n"
                       "You must first select the WRITE SYSTEM FILE Option in the QN Off-Line Manager,\r\n"
                       "and Press 'Y'ES, before clicking the BURN SYSTEM FILE button.\r\n\n"
                       "Has this already been done?"),
        QStringLiteral("Quintrel MUST be in the correct mode!!"), Prompts::Buttons::YesNo,
        Prompts::Icon::Question);
    if (ready != Prompts::Yes) {
        for (QWidget *w :
             {static_cast<QWidget *>(m_ui->ProgressBar1), static_cast<QWidget *>(m_ui->lblPercent),
              static_cast<QWidget *>(m_ui->Label2), static_cast<QWidget *>(m_ui->cmdCancel)})
            w->hide();
        m_ui->Term->setFocus();
        return;
    }
    Prompts::FileRequest request;
    request.title = QStringLiteral("Send Flash System Text File");
    request.filter = QStringLiteral("Flash Text Files (*.TXT)|*.txt|All Files (*.*)|*.*");
    for (;;) {
        const QString path = prompts.openFile(request);
        if (path.isEmpty())
            return;
        if (QFileInfo::exists(path)) {
            beginTransfer(path);
            return;
        }
        prompts.message(QFileInfo(path).absoluteFilePath() + QStringLiteral(" not found!"), QString(),
                        Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
}

void monitor::beginTransfer(const QString &path)
{
    m_flashPath = path;
    for (QWidget *w : {static_cast<QWidget *>(m_ui->ProgressBar1), static_cast<QWidget *>(m_ui->lblPercent),
                       static_cast<QWidget *>(m_ui->Label2), static_cast<QWidget *>(m_ui->cmdCancel)})
        w->show();
    for (QWidget *w : {m_ui->cmdSendText, m_ui->cmdEXIT, m_ui->cmdFreeDebug})
        w->setEnabled(false);
    QByteArray file;
    const FileResult read = readRegularFile(path, FlashPlan::MaxFileBytes, &file);
    if (!read.ok) {
        m_ctx.prompts.message(read.error, QString(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        m_ctx.comm.CommWrite(m_ctx.session.PortNumber, QByteArray(1, FlashPlan::Closing));
        endTransfer(QString());
        return;
    }
    const FlashPlan plan(file);
    m_ui->ProgressBar1->setRange(0, plan.progressMaximum());
    m_ui->ProgressBar1->setValue(0);
    m_ui->lblPercent->setText(QStringLiteral("0%"));
    m_ui->lblMonStat->setText(QStringLiteral("Transmitting Text File - ") + path);
    setCursor(Qt::WaitCursor);
    m_flash->start(file);
}

void monitor::transferProgressed(int blocks, int percent)
{
    m_ui->ProgressBar1->setValue(qMin(blocks, m_ui->ProgressBar1->maximum()));
    if (percent < 100)
        m_ui->lblPercent->setText(QString::number(percent) + QLatin1Char('%'));
    else
        m_ui->lblMonStat->setText(QStringLiteral(
            "File Transfered Successfully to Quintrel!!  Wait for A-OK to appear before Hitting a Key!!"));
}

void monitor::endTransfer(const QString &error)
{
    unsetCursor();
    if (!error.isEmpty())
        m_ctx.prompts.message(error, QString(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    m_ui->lblPercent->setText(QStringLiteral("100 %"));
    for (QWidget *w : {static_cast<QWidget *>(m_ui->ProgressBar1), static_cast<QWidget *>(m_ui->lblPercent),
                       static_cast<QWidget *>(m_ui->Label2), static_cast<QWidget *>(m_ui->cmdCancel)})
        w->hide();
    for (QWidget *w : {m_ui->cmdSendText, m_ui->cmdEXIT, m_ui->cmdFreeDebug})
        w->setEnabled(true);
    if (!m_leaving)
        m_ui->Term->setFocus();
}

void monitor::cmdCancel_Click()
{
    m_ui->lblMonStat->setText(QStringLiteral("Cancellation of file transfer to Quintrel"));
    for (QWidget *w : {static_cast<QWidget *>(m_ui->ProgressBar1), static_cast<QWidget *>(m_ui->lblPercent),
                       static_cast<QWidget *>(m_ui->Label2), static_cast<QWidget *>(m_ui->cmdCancel)})
        w->hide();
    m_ui->Term->setFocus();
    m_flash->cancel();
}

void monitor::leave()
{
    close();
}

void monitor::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_leaving)
        return;
    m_leaving = true;
    // A transfer under way ends with its line feed before the port closes.
    if (m_flash->isRunning())
        m_flash->cancel();
    if (tmrDebug.isActive())
        m_ctx.comm.CommSetLine(m_ctx.session.PortNumber, ModComm::LINE_BRK, false);
    for (QTimer *t : {&m_flush, &m_rxLight, &m_txLight, &StatusTimer, &tmrclock, &tmrLoad, &tmrDebug})
        t->stop();
    m_ctx.comm.closeWhenDrained(m_ctx.session.PortNumber, 2000);
    FormRegistry &forms = m_ctx.forms;
    forms.show(QStringLiteral("Welcome1"));
    forms.unload(QStringLiteral("monitor"));
}
