// SPDX-License-Identifier: GPL-3.0-or-later
#include "paramconfigb.h"
#include "ui_paramconfigb.h"

#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "session/session.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QShowEvent>

ChannelParams::ChannelParams(AppContext &ctx, IntByte &format, int defaulted, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_format(format)
    , m_defaulted(defaulted)
{
}

void ChannelParams::connectOptions(const Options &o)
{
    m_o = o;
    connect(o.optNone, &QRadioButton::toggled, this, &ChannelParams::optNone_Click);
    connect(o.optYes, &QRadioButton::toggled, this, &ChannelParams::optYes_Click);
    connect(o.optEven, &QRadioButton::toggled, this, &ChannelParams::optEven_Click);
    connect(o.optOdd, &QRadioButton::toggled, this, &ChannelParams::optOdd_Click);
    connect(o.opt7, &QRadioButton::toggled, this, &ChannelParams::opt7_Click);
    connect(o.opt8, &QRadioButton::toggled, this, &ChannelParams::opt8_Click);
    connect(o.opt1, &QRadioButton::toggled, this, &ChannelParams::opt1_Click);
    connect(o.opt2, &QRadioButton::toggled, this, &ChannelParams::opt2_Click);
    connect(o.optActive, &QRadioButton::toggled, this, &ChannelParams::optActive_Click);
    connect(o.optIgnore, &QRadioButton::toggled, this, &ChannelParams::optIgnore_Click);
}

void ChannelParams::selectDefaults()
{
    clearBits(m_defaulted);
}

void ChannelParams::showRecord()
{
    showOptionBits({{m_o.optYes, m_o.optNone, ChanFlag::Parity},
                    {m_o.optEven, m_o.optOdd, ChanFlag::EvenParity},
                    {m_o.opt7, m_o.opt8, ChanFlag::SevenDataBits},
                    {m_o.opt2, m_o.opt1, ChanFlag::TwoStopBits},
                    {m_o.optActive, m_o.optIgnore, ChanFlag::Handshake}},
                   m_format);
    m_o.frmParity->setVisible(m_format & ChanFlag::Parity);
}

void ChannelParams::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        showRecord();
    MainFormDialog::showEvent(event);
}

void ChannelParams::setBits(int mask)
{
    m_format = IntByte(SetBit(m_format, mask));
    showRecord();
}

void ChannelParams::clearBits(int mask)
{
    m_format = IntByte(ClearBit(m_format, mask));
    showRecord();
}

void ChannelParams::optNone_Click(bool on)
{
    if (!on)
        return;
    // Bit 4 stays as it is, so switching parity back on brings back the even/odd choice.
    clearBits(ChanFlag::Parity);
}

void ChannelParams::optYes_Click(bool on)
{
    if (!on)
        return;
    setBits(ChanFlag::Parity);
}

void ChannelParams::optEven_Click(bool on)
{
    if (!on)
        return;
    setBits(ChanFlag::EvenParity);
}

void ChannelParams::optOdd_Click(bool on)
{
    if (!on)
        return;
    clearBits(ChanFlag::EvenParity);
}

void ChannelParams::opt7_Click(bool on)
{
    if (!on)
        return;
    setBits(ChanFlag::SevenDataBits);
}

void ChannelParams::opt8_Click(bool on)
{
    if (!on)
        return;
    clearBits(ChanFlag::SevenDataBits);
}

void ChannelParams::opt1_Click(bool on)
{
    if (!on)
        return;
    clearBits(ChanFlag::TwoStopBits);
}

void ChannelParams::opt2_Click(bool on)
{
    if (!on)
        return;
    setBits(ChanFlag::TwoStopBits);
}

void ChannelParams::optActive_Click(bool on)
{
    if (!on)
        return;
    setBits(ChanFlag::Handshake);
}

void ChannelParams::optIgnore_Click(bool on)
{
    if (!on)
        return;
    clearBits(ChanFlag::Handshake);
}

void ChannelParams::Command2_Click()
{
    // There is no cancel: what was clicked stays, and the close box accepts the same way.
    accept();
}

paramConfigB::paramConfigB(AppContext &ctx, QWidget *parent)
    : ChannelParams(ctx, ctx.session.rec.ChanBFormat, ChanFlag::Defaulted | ChanFlag::Interface, parent)
    , m_ui(new Ui::paramConfigB)
{
    m_ui->setupUi(this);
    connectOptions({m_ui->optNone, m_ui->optYes, m_ui->optEven, m_ui->optOdd, m_ui->opt7, m_ui->opt8,
                    m_ui->opt1, m_ui->opt2, m_ui->optIgnore, m_ui->optActive, m_ui->frmParity});
    connect(m_ui->opt232, &QRadioButton::toggled, this, &paramConfigB::opt232_Click);
    connect(m_ui->opt422, &QRadioButton::toggled, this, &paramConfigB::opt422_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &paramConfigB::Command2_Click);

    m_RS422_485 = new QMenu(QStringLiteral("&Communication Module"), this);
    m_RS422_485->setObjectName(QStringLiteral("RS422_485"));
    m_RS422 = m_RS422_485->addAction(QStringLiteral("RS422-& 4Wire"));
    m_RS422->setObjectName(QStringLiteral("RS422"));
    m_RS485 = m_RS422_485->addAction(QStringLiteral("RS485-&2 Wire"));
    m_RS485->setObjectName(QStringLiteral("RS485"));
    connect(m_RS422, &QAction::triggered, this, &paramConfigB::RS422ON);
    connect(m_RS485, &QAction::triggered, this, &paramConfigB::RS485ON);

    m_ui->opt422->installEventFilter(this);
}

paramConfigB::~paramConfigB()
{
    delete m_ui;
}

void paramConfigB::showRecord()
{
    ChannelParams::showRecord();
    showOptionBits({{m_ui->opt422, m_ui->opt232, ChanFlag::RS422}}, m_format);
    // Only the RIO-to-Modbus unit names its two- or four-wire connection.
    const ModelInfo *model = m_ctx.session.model;
    if (model && model->kind == ModelKind::RioToModbus && (m_format & ChanFlag::RS422))
        nameConnection();
}

void paramConfigB::offerSerialConnection(bool offered)
{
    m_ui->frmQN6000->setVisible(offered);
}

void paramConfigB::nameConnection()
{
    m_ui->opt422->setText(m_format & ChanFlag::RS485Two ? QStringLiteral("RS485-2 Wire")
                                                        : QStringLiteral("RS422-4 Wire"));
}

void paramConfigB::RS422ON()
{
    m_format = IntByte(ClearBit(m_format, ChanFlag::RS485Two));
    setBits(ChanFlag::RS422);
    nameConnection();
}

void paramConfigB::RS485ON()
{
    setBits(ChanFlag::RS422 | ChanFlag::RS485Two);
    nameConnection();
}

void paramConfigB::opt232_Click(bool on)
{
    if (!on)
        return;
    clearBits(ChanFlag::Interface);
}

void paramConfigB::opt422_Click(bool on)
{
    if (!on)
        return;
    // Two-wire or four-wire stays as RS422ON/RS485ON last set it.
    setBits(ChanFlag::RS422);
}

bool paramConfigB::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->opt422 && event->type() == QEvent::MouseButtonPress) {
        // Only the RIO-to-Modbus unit chooses its two- or four-wire connection here.
        const ModelInfo *model = m_ctx.session.model;
        if (model && model->kind == ModelKind::RioToModbus) {
            // The menu takes the mouse from here on, so the option would never see its
            // release: select it now, as the click would have.
            select(m_ui->opt422);
            m_RS422->trigger();
            m_RS422_485->popup(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
            return true;
        }
    }
    return ChannelParams::eventFilter(watched, event);
}
