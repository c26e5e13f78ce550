#include "welcome.h"
#include "ui_about.h"
#include "ui_welcome.h"

#include "editor/defaults.h"
#include "editor/main4000.h"
#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formutil.h"
#include "session/session.h"

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

    CrossForm r(m_ctx.forms);
    const QString menu = QStringLiteral("Welcome1");
    r.setHeightTwips(menu, menu, 4405);
    r.moveTopTwips(menu, QStringLiteral("Command2"), 3475);
    r.moveTopTwips(menu, QStringLiteral("Command3"), 3475);
    r.moveTopTwips(menu, QStringLiteral("Line2"), 3955);
    r.moveTopTwips(menu, QStringLiteral("Line5"), 3355);
    r.moveTopTwips(menu, QStringLiteral("frmCONFIG"), 1570);
    r.moveTopTwips(menu, QStringLiteral("frmTOOLS"), 2410);

    r.setText(menu, QStringLiteral("frmCOM"),
              QStringLiteral("Select the computer COM PORT the Quintrel Freestanding Unit is connected to"));
    for (int n = 5; n <= 8; ++n) {
        r.hide(menu, QStringLiteral("optCom%1").arg(n));
        r.hide(menu, QStringLiteral("cboComDevice_%1").arg(n - 1));
    }
    const int lefts[] = {120, 2160, 4200, 6120};
    for (int n = 1; n <= 4; ++n) {
        r.moveTwips(menu, QStringLiteral("optCom%1").arg(n), lefts[n - 1], 240);
        r.moveTwips(menu, QStringLiteral("cboComDevice_%1").arg(n - 1), lefts[n - 1] + 300, 510);
    }
    // One row of ports leaves room for the port line under it.
    r.setHeightTwips(menu, QStringLiteral("frmCOM"), 820);
    r.moveTopTwips(menu, QStringLiteral("lblComPort1"), 1250);
    r.moveTopTwips(menu, QStringLiteral("lblComPort2"), 1250);

    r.setToolTip(menu, QStringLiteral("cmdUpdate"),
                 QStringLiteral("Configuration of a Quintrel Freestanding Unit"));
    r.setToolTip(menu, QStringLiteral("cmdOnline"),
                 QStringLiteral("Perform Online DH+ Diagnostics with a Freestanding Quintrel"));
    r.setText(menu, QStringLiteral("lblComPort1"),
              QStringLiteral("QNCF is now set to communicate with the Freestanding Quintrel via COM:"));

    if (auto *m = m_ctx.forms.form<main4000>(QStringLiteral("main4000")))
        m->layoutForFreestanding();

    UpdateParameters(m_ctx);

    r.hide(QStringLiteral("paramConfigB"), QStringLiteral("frmQN6000"));
}

about::about(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::about)
{
    m_ui->setupUi(this);
    m_ui->lblVersion->setText(m_ui->lblVersion->text().arg(QLatin1String(QNCF_VERSION)));
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
