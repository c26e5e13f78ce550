// SPDX-License-Identifier: GPL-3.0-or-later
#include "download.h"
#include "ui_download.h"

#include "editor/configfiles.h"
#include "editor/downloadconfig.h"
#include "editor/summaryprint.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "frame/maindialog.h"
#include "serial/modcomm.h"
#include "session/session.h"

#include <QCloseEvent>

download::download(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::download)
{
    m_ui->setupUi(this);
    m_download = new DownloadConfig(ctx, *this, m_ui->lblStatus,
                                    {m_ui->Command1, m_ui->cmdPrintConf, m_ui->cmdDOWNLOAD, m_ui->cmdExit});

    moveTopTwips(m_ui->Image1, 360);
    m_ui->Image1->show();
    m_ui->Image2->hide();
    m_ui->frmCom->setTitle(
        QStringLiteral("Download a Saved Configuration to a Freestanding Quintrel's EEPROM"));

    connect(m_ui->cmdDOWNLOAD, &QPushButton::clicked, this, &download::cmdDOWNLOAD_Click);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &download::cmdExit_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &download::Command1_Click);
    connect(m_ui->cmdPrintConf, &QPushButton::clicked, this, &download::cmdPrintConf_Click);
    connect(m_download, &DownloadConfig::finished, this, [this] { unsetCursor(); });
}

download::~download()
{
    delete m_ui;
}

void download::cmdDOWNLOAD_Click()
{
    QString path;
    // The file is read first: one that cannot be read is reported and nothing is sent.
    if (!openConfigurationFile(m_ctx, &path))
        return;
    noteWhatTheFileLacks(m_ctx.session, m_ctx.prompts, FileUse::Sent, path);
    setCursor(Qt::WaitCursor);
    m_download->start();
}

void download::cmdExit_Click()
{
    m_download->abort();
    m_ctx.comm.CommClose(m_ctx.session.PortNumber);
    m_ctx.forms.unload(QStringLiteral("download"));
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}

void download::Command1_Click()
{
    m_ctx.forms.unload(QStringLiteral("download"));
    giveMainFormBack(m_ctx.forms);
}

void download::cmdPrintConf_Click()
{
    printSummary(m_ctx);
}

void download::closeEvent(QCloseEvent *event)
{
    // The close box leaves as the return button does, ending a transfer that still runs.
    event->accept();
    cmdExit_Click();
}
