// SPDX-License-Identifier: GPL-3.0-or-later
#include "upload.h"
#include "ui_upload.h"

#include "editor/configfiles.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "frame/maindialog.h"
#include "prompts/prompts.h"
#include "session/session.h"
#include "transfer/transfers.h"

#include <QCloseEvent>

upload::upload(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::upload)
{
    m_ui->setupUi(this);
    m_transfer = new UploadTransfer(ctx.link, this);

    moveTopTwips(m_ui->Image1, 360);
    m_ui->Image1->show();
    m_ui->Image2->hide();
    m_ui->frmCom->setTitle(QStringLiteral("Upload a Freestanding Quintrel's Current Configuration"));

    connect(m_ui->cmdUpload, &QPushButton::clicked, this, &upload::cmdUpload_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &upload::Command1_Click);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &upload::cmdExit_Click);
    connect(m_transfer, &UploadTransfer::status, m_ui->lblStatus, &QLabel::setText);
    connect(m_transfer, &UploadTransfer::finished, this, [this](ExchangeOutcome o) { transferDone(int(o)); });
}

upload::~upload()
{
    m_transfer->abort();
    delete m_ui;
}

void upload::setBusy(bool busy)
{
    m_ui->cmdUpload->setEnabled(!busy);
    m_ui->cmdExit->setEnabled(!busy);
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void upload::cmdUpload_Click()
{
    const ModelInfo *model = m_ctx.session.model;
    if (!model)
        return; // the menu is reached through a model's choice only
    m_ui->Command1->setEnabled(false);
    setBusy(true);
    m_transfer->start(*model);
}

void upload::end(bool success)
{
    setBusy(false);
    Q_EMIT uploadEnded(success);
}

void upload::transferDone(int outcome)
{
    if (ExchangeOutcome(outcome) != ExchangeOutcome::Accepted) {
        end(false); // the transfer has said what happened, and closed the port
        return;
    }
    m_ui->Text1->setText(QString::fromLatin1(m_transfer->firstReply().toHex(' ')));
    // The whole configuration has arrived; only now is a file written, and all at once.
    const UploadSaved saved =
        saveUploadedConfiguration(m_ctx, m_transfer->firstReply(), m_transfer->secondReply());
    m_ui->Command1->setEnabled(saved.ok);
    m_ui->lblStatus->setText(saved.status);
    end(saved.ok);
}

void upload::Command1_Click()
{
    m_ctx.forms.unload(QStringLiteral("upload"));
    giveMainFormBack(m_ctx.forms);
}

void upload::cmdExit_Click()
{
    m_transfer->abort();
    m_ctx.forms.unload(QStringLiteral("upload"));
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}

void upload::closeEvent(QCloseEvent *event)
{
    event->accept();
    cmdExit_Click();
}
