// SPDX-License-Identifier: GPL-3.0-or-later
#include "df_param.h"
#include "ui_df_param.h"

#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "session/session.h"

#include <QCloseEvent>
#include <QShowEvent>

df_Param::df_Param(AppContext &ctx, QWidget *parent)
    : MainFormDialog(ctx.forms, parent)
    , m_ctx(ctx)
    , m_ui(new Ui::df_Param)
{
    m_ui->setupUi(this);
    connect(m_ui->optBCC, &QRadioButton::toggled, this, &df_Param::optBCC_Click);
    connect(m_ui->optCRC, &QRadioButton::toggled, this, &df_Param::optCRC_Click);
    connect(m_ui->optAccept, &QRadioButton::toggled, this, &df_Param::optAccept_Click);
    connect(m_ui->optIgnore, &QRadioButton::toggled, this, &df_Param::optIgnore_Click);
    connect(m_ui->optExecEmbed, &QRadioButton::toggled, this, &df_Param::optExecEmbed_Click);
    connect(m_ui->optNoneEmbed, &QRadioButton::toggled, this, &df_Param::optNoneEmbed_Click);
    connect(m_ui->optPass, &QRadioButton::toggled, this, &df_Param::optPass_Click);
    connect(m_ui->optExecDiag, &QRadioButton::toggled, this, &df_Param::optExecDiag_Click);
    connect(m_ui->optMultiDrop, &QRadioButton::toggled, this, &df_Param::optMultiDrop_Click);
    connect(m_ui->optPoint, &QRadioButton::toggled, this, &df_Param::optPoint_Click);
    connect(m_ui->opt485, &QRadioButton::toggled, this, &df_Param::opt485_Click);
    connect(m_ui->opt422, &QRadioButton::toggled, this, &df_Param::opt422_Click);
    connect(m_ui->optRTS, &QRadioButton::toggled, this, &df_Param::optRTS_Click);
    connect(m_ui->optNoneLoop, &QRadioButton::toggled, this, &df_Param::optNoneLoop_Click);
    connect(m_ui->optSRC, &QRadioButton::toggled, this, &df_Param::optSRC_Click);
    connect(m_ui->optDST, &QRadioButton::toggled, this, &df_Param::optDST_Click);
    connect(m_ui->cmdAccept, &QPushButton::clicked, this, &df_Param::cmdAccept_Click);
}

df_Param::~df_Param()
{
    delete m_ui;
}

void df_Param::setBits(int mask)
{
    auto &options = m_ctx.session.rec.LinkOptions;
    options = IntByte(SetBit(options, mask));
    showRecord();
}

void df_Param::clearBits(int mask)
{
    auto &options = m_ctx.session.rec.LinkOptions;
    options = IntByte(ClearBit(options, mask));
    showRecord();
}

void df_Param::selectDefaults()
{
    clearBits(LinkFlag::DialogBits);
}

void df_Param::showRecord()
{
    // Bits 16 and 32 each have two frames, one per layout: both show the bit.
    showOptionBits({{m_ui->optCRC, m_ui->optBCC, LinkFlag::CRC},
                    {m_ui->optAccept, m_ui->optIgnore, LinkFlag::AcceptDuplicates},
                    {m_ui->optExecEmbed, m_ui->optNoneEmbed, LinkFlag::ExecEmbedded},
                    {m_ui->optPass, m_ui->optExecDiag, LinkFlag::PassDiagnostics},
                    {m_ui->optMultiDrop, m_ui->optPoint, LinkFlag::MultiDrop},
                    {m_ui->opt485, m_ui->opt422, LinkFlag::MultiDrop},
                    {m_ui->optRTS, m_ui->optNoneLoop, LinkFlag::SourceAddress},
                    {m_ui->optSRC, m_ui->optDST, LinkFlag::SourceAddress}},
                   m_ctx.session.rec.LinkOptions);
}

void df_Param::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        showRecord();
    MainFormDialog::showEvent(event);
}

void df_Param::hideLoopback()
{
    m_ui->frmRTS->hide();
}

void df_Param::layoutStandard()
{
    setWindowTitle(QStringLiteral("DF1 ADVANCED PARAMETERS"));
    m_ui->frmConfig->setTitle(QStringLiteral("DF1 CHANNEL CONFIGURATION"));
    m_ui->frmConfig->show();
    m_ui->frmRTS->hide();
    m_ui->frmSTN->hide();
    m_ui->frmPXA->hide();
    m_ui->lblKF2->hide();
    showRecord();
}

void df_Param::layoutMultidropMaster()
{
    // The serial interface frame takes the configuration frame's place.
    moveTopTwips(m_ui->frmPXA, 2880);
    m_ui->frmPXA->show();
    m_ui->frmConfig->hide();
    m_ui->frmSTN->show();
    m_ui->lblKF2->hide();
    // RS-422 and the destination address.
    clearBits(LinkFlag::MultiDrop | LinkFlag::SourceAddress);
}

void df_Param::layoutDualChannel()
{
    setWindowTitle(QStringLiteral(" BOTH DF1 CHAN. ADVANCED PARAMETERS"));
    m_ui->frmConfig->setTitle(QStringLiteral("1ST CHANNEL CONFIGURATION"));
    moveTopTwips(m_ui->lblKF2, 4000);
    m_ui->lblKF2->show();
    showRecord();
}

void df_Param::layoutOtherProtocol()
{
    m_ui->lblKF2->hide();
}

void df_Param::optBCC_Click(bool on)
{
    if (on)
        clearBits(LinkFlag::CRC);
}

void df_Param::optCRC_Click(bool on)
{
    if (on)
        setBits(LinkFlag::CRC);
}

void df_Param::optAccept_Click(bool on)
{
    if (on)
        setBits(LinkFlag::AcceptDuplicates);
}

void df_Param::optIgnore_Click(bool on)
{
    if (on)
        clearBits(LinkFlag::AcceptDuplicates);
}

void df_Param::optExecEmbed_Click(bool on)
{
    if (on)
        setBits(LinkFlag::ExecEmbedded);
}

void df_Param::optNoneEmbed_Click(bool on)
{
    if (on)
        clearBits(LinkFlag::ExecEmbedded);
}

void df_Param::optPass_Click(bool on)
{
    if (on)
        setBits(LinkFlag::PassDiagnostics);
}

void df_Param::optExecDiag_Click(bool on)
{
    if (on)
        clearBits(LinkFlag::PassDiagnostics);
}

void df_Param::optMultiDrop_Click(bool on)
{
    if (!on)
        return;
    setBits(LinkFlag::MultiDrop);
}

void df_Param::optPoint_Click(bool on)
{
    if (!on)
        return;
    clearBits(LinkFlag::MultiDrop);
}

// Bits 16 and 32 each have two frames: whichever frame sets the bit, both show it.

// The serial interface shares bit 16 with multi-drop: RS-485 two-wire is half duplex.
void df_Param::opt485_Click(bool on)
{
    if (!on)
        return;
    setBits(LinkFlag::MultiDrop);
}

void df_Param::opt422_Click(bool on)
{
    if (!on)
        return;
    clearBits(LinkFlag::MultiDrop);
}

void df_Param::optRTS_Click(bool on)
{
    if (!on)
        return;
    setBits(LinkFlag::SourceAddress);
}

void df_Param::optNoneLoop_Click(bool on)
{
    if (!on)
        return;
    clearBits(LinkFlag::SourceAddress);
}

// The station address shares bit 32 with the loopback.
void df_Param::optSRC_Click(bool on)
{
    if (!on)
        return;
    setBits(LinkFlag::SourceAddress);
}

void df_Param::optDST_Click(bool on)
{
    if (!on)
        return;
    clearBits(LinkFlag::SourceAddress);
}

void df_Param::cmdAccept_Click()
{
    // No cancel here either: the close box accepts what has been clicked the same way.
    accept();
}
