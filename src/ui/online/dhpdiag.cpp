// SPDX-License-Identifier: GPL-3.0-or-later
#include "dhpdiag.h"
#include "ui_dhpdiag.h"

#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "online/dhpdiagnostics.h"
#include "session/session.h"

#include <QCloseEvent>

DHPDiag::DHPDiag(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_ui(new Ui::DHPDiag)
    , m_diag(new DhpDiagnostics(ctx.session, ctx.comm, this))
{
    m_ui->setupUi(this);
    QFont heading = m_ui->lblHeading->font();
    heading.setBold(true);
    heading.setPixelSize(FormFontPixels * 4 / 3);
    m_ui->lblHeading->setFont(heading);
    buildRows();
    // Autoconfigure waits for a good port test of the main menu.
    m_ui->cmdConfig->setEnabled(ctx.session.PortTestedGood);

    connect(m_diag, &DhpDiagnostics::statusChanged, m_ui->lblDiagStat, &QLabel::setText);
    connect(m_diag, &DhpDiagnostics::nodeChanged, this,
            [this](int node, const QString &text) { m_status[size_t(node)]->setText(text); });
    connect(m_diag, &DhpDiagnostics::autoconfigureEnded, this, [this](bool connected) {
        m_ui->cmdConfig->setEnabled(true);
        m_ui->cmdWHOStart->setEnabled(connected);
    });
    connect(m_diag, &DhpDiagnostics::scanEnded, this, &DHPDiag::scanEnded);
    connect(m_ui->cmdConfig, &QPushButton::clicked, this, &DHPDiag::cmdConfig_Click);
    connect(m_ui->cmdWHOStart, &QPushButton::clicked, this, &DHPDiag::cmdWHOStart_Click);
    connect(m_ui->cmdWHOStop, &QPushButton::clicked, this, &DHPDiag::cmdWHOStop_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &DHPDiag::leave);
}

DHPDiag::~DHPDiag()
{
    delete m_ui;
}

void DHPDiag::buildRows()
{
    // Four columns of sixteen: 00..17, 20..37, 40..57, 60..77.
    for (int k = 0; k < DhpDiagnostics::NodeCount; ++k) {
        const int x = (k / 16) * 136, y = (k % 16) * 21;
        auto *station = new QLabel(QStringLiteral("%1").arg(k, 2, 8, QLatin1Char('0')), m_ui->frmNodes);
        station->setObjectName(QStringLiteral("lblstn0_%1").arg(k));
        station->setGeometry(x, y, 26, 20);
        auto *status = new QLabel(m_ui->frmNodes);
        status->setObjectName(QStringLiteral("lblStatus0_%1").arg(k));
        status->setGeometry(x + 28, y, 100, 20);
        status->setFrameShape(QFrame::Panel);
        status->setFrameShadow(QFrame::Sunken);
        m_status[size_t(k)] = status;
    }
}

void DHPDiag::enableAutoconfigure(bool on)
{
    m_ui->cmdConfig->setEnabled(on);
}

void DHPDiag::cmdConfig_Click()
{
    m_ui->cmdWHOStart->setEnabled(false);
    m_ui->cmdWHOStop->setEnabled(false);
    m_ui->cmdConfig->setEnabled(false); // one autoconfigure at a time
    m_diag->autoconfigure();
}

void DHPDiag::cmdWHOStart_Click()
{
    m_ui->cmdWHOStop->setEnabled(true);
    m_ui->cmdWHOStart->setEnabled(false);
    m_ui->cmdConfig->setEnabled(false);
    m_diag->startScan();
}

void DHPDiag::cmdWHOStop_Click()
{
    m_diag->stopScan();
    m_ui->Command4->setEnabled(true);
}

void DHPDiag::scanEnded()
{
    m_ui->cmdWHOStop->setEnabled(false);
    m_ui->cmdWHOStart->setEnabled(m_diag->isConnected());
    m_ui->cmdConfig->setEnabled(true);
}

void DHPDiag::leave()
{
    close();
}

void DHPDiag::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_leaving)
        return;
    m_leaving = true;
    hide();
    // A scan under way finishes its exchange first; then the port closes.
    m_diag->leave([forms = &m_ctx.forms] {
        forms->show(QStringLiteral("Welcome1"));
        forms->unload(QStringLiteral("DHPDiag"));
    });
}
