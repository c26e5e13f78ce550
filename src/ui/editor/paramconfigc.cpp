// SPDX-License-Identifier: GPL-3.0-or-later
#include "paramconfigc.h"
#include "ui_paramconfigc.h"

#include "frame/appcontext.h"
#include "session/session.h"

paramConfigC::paramConfigC(AppContext &ctx, QWidget *parent)
    : ChannelParams(ctx, ctx.session.rec.ChanCFormat, ChanFlag::Defaulted, parent)
    , m_ui(new Ui::paramConfigC)
{
    m_ui->setupUi(this);
    connectOptions({m_ui->optNone, m_ui->optYes, m_ui->optEven, m_ui->optOdd, m_ui->opt7, m_ui->opt8,
                    m_ui->opt1, m_ui->opt2, m_ui->optIgnore, m_ui->optActive, m_ui->frmParity});
    connect(m_ui->Command2, &QPushButton::clicked, this, &paramConfigC::Command2_Click);
}

paramConfigC::~paramConfigC()
{
    delete m_ui;
}

void paramConfigC::lockHandshake(const QString &title)
{
    setWindowTitle(title);
    for (QWidget *w : {static_cast<QWidget *>(m_ui->Frame2), static_cast<QWidget *>(m_ui->optIgnore),
                       static_cast<QWidget *>(m_ui->optActive)})
        w->setEnabled(false);
}
