// SPDX-License-Identifier: GPL-3.0-or-later
#include "welcome.h"
#include "ui_about.h"
#include "ui_welcome.h"

#include "about/licence.h"
#include "editor/defaults.h"
#include "editor/main4000.h"
#include "editor/paramconfigb.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "session/session.h"
#include "shell/welcome1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

Welcome::Welcome(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::Welcome)
{
    m_ui->setupUi(this);
    setWindowTitle(windowTitle().arg(QLatin1String(QNCF_VERSION)));
    connect(m_ui->Command4, &QPushButton::clicked, this, &Welcome::Command4_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, &Welcome::Command3_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &Welcome::Command1_Click);
    pressButtonsOnEnter(this);
    for (QLabel *l : {m_ui->Label7, m_ui->Label8}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
}

Welcome::~Welcome()
{
    delete m_ui;
}

bool Welcome::OpenWebPage(const QString &address)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

bool Welcome::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && (watched == m_ui->Label7 || watched == m_ui->Label8)) {
        OpenWebPage(static_cast<QLabel *>(watched)->text());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Welcome::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void Welcome::Command4_Click()
{
    hide();
    m_ctx.forms.show(QStringLiteral("model_freestand"));
}

void Welcome::Command3_Click()
{
    hide();
    m_ctx.forms.show(QStringLiteral("about"));
}

void Welcome::Command1_Click()
{
    endProgram();
}

void Welcome::QN4000()
{
    m_ctx.session.rec.FamilyCode = QStringLiteral("4000");

    if (auto *menu = m_ctx.forms.form<Welcome1>(QStringLiteral("Welcome1")))
        menu->layoutForFreestanding();
    if (auto *m = m_ctx.forms.form<main4000>(QStringLiteral("main4000")))
        m->layoutForFreestanding();

    UpdateParameters(m_ctx);

    if (auto *chanB = m_ctx.forms.form<paramConfigB>(QStringLiteral("paramConfigB")))
        chanB->offerSerialConnection(false);
}

about::about(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::about)
{
    m_ui->setupUi(this);
    m_ui->lblVersion->setText(m_ui->lblVersion->text().arg(QLatin1String(QNCF_VERSION)));
    // As --version words it, in one paragraph; plain text, so that the <address> stays.
    m_ui->lblLicense->setText(
        QString::fromLatin1(LicenceNotice).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    connect(m_ui->Command1, &QPushButton::clicked, this, &about::Command1_Click);
    pressButtonsOnEnter(this);
}

about::~about()
{
    delete m_ui;
}

void about::Command1_Click()
{
    m_ctx.forms.unload(QStringLiteral("about"));
    m_ctx.forms.show(QStringLiteral("Welcome"));
}

void about::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        Command1_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void about::closeEvent(QCloseEvent *event)
{
    // Closing the box is its OK: the start window must come back.
    event->accept();
    Command1_Click();
}
