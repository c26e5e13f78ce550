// SPDX-License-Identifier: GPL-3.0-or-later
#include "welcome1.h"
#include "ui_welcome1.h"

#include "editor/configfiles.h"
#include "editor/defaults.h"
#include "frame/accessibility.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "frame/maindialog.h"
#include "frame/manual.h"
#include "online/dhpdiag.h"
#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "transfer/devicelink.h"

#include "serial/portinfo.h"
#include "shell/devicechooser.h"

#include <QCloseEvent>

#include <utility>

Welcome1::Welcome1(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::Welcome1)
{
    m_ui->setupUi(this);
    QRadioButton *const options[] = {m_ui->optCom1, m_ui->optCom2, m_ui->optCom3, m_ui->optCom4,
                                     m_ui->optCom5, m_ui->optCom6, m_ui->optCom7, m_ui->optCom8};
    const QList<SerialPortEntry> ports = listSerialPorts();
    for (int i = 0; i < 8; ++i) {
        const int port = i + 1;
        connect(options[i], &QRadioButton::toggled, this, [this, port](bool on) {
            if (on)
                optCom_Click(port);
        });
        // Which device each COM option stands for on this machine, chosen under it.
        auto *chooser = findChild<DeviceChooser *>(QStringLiteral("cboComDevice_%1").arg(i));
        nameUncaptionedList(chooser, QStringLiteral("COM%1 device").arg(port));
        if (!m_ctx.comm.hasComDevice(port))
            m_ctx.comm.setComDevice(port, defaultComDevice(port, ports));
        chooser->setDevice(m_ctx.comm.deviceForName(QStringLiteral("COM%1").arg(port)));
        connect(chooser, &DeviceChooser::deviceChosen, this,
                [this, port, option = options[i]](const QString &d) {
                    m_ctx.comm.setComDevice(port, d);
                    if (option->isChecked())
                        optCom_Click(port); // the chosen option's port is tested again
                });
    }
    connect(m_ui->cmdUpdate, &QPushButton::clicked, this, &Welcome1::cmdUpdate_Click);
    connect(m_ui->cmdUPLOAD, &QPushButton::clicked, this, &Welcome1::cmdUPLOAD_Click);
    connect(m_ui->cmdDOWNLOAD, &QPushButton::clicked, this, &Welcome1::cmdDOWNLOAD_Click);
    connect(m_ui->cmdBurn, &QPushButton::clicked, this, &Welcome1::cmdBurn_Click);
    connect(m_ui->cmdOnline, &QPushButton::clicked, this, &Welcome1::cmdOnline_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Welcome1::Command2_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, [] { endProgram(); });
    connect(m_ui->cmdHelp, &QPushButton::clicked, this, [this] { openManual(m_ctx.prompts, objectName()); });
    m_ui->lblComPort2->setText(QStringLiteral("-"));
    m_ctx.session.PortTestedGood = false; // a new menu has no port chosen
}

Welcome1::~Welcome1()
{
    delete m_ui;
}

void Welcome1::optCom_Click(int port)
{
    m_ctx.session.PortNumber = port;
    applyPortTest(m_ctx.link.CheckPort());
}

void Welcome1::layoutForFreestanding()
{
    setHeightTwips(this, 4405);
    moveTopTwips(m_ui->Command2, 3475);
    moveTopTwips(m_ui->Command3, 3475);
    moveTopTwips(m_ui->cmdHelp, 3475);
    moveTopTwips(m_ui->Line2, 3955);
    moveTopTwips(m_ui->Line5, 3355);
    moveTopTwips(m_ui->frmCONFIG, 1570);
    moveTopTwips(m_ui->frmTOOLS, 2410);

    m_ui->frmCOM->setTitle(
        QStringLiteral("Select the computer COM PORT the Quintrel Freestanding Unit is connected to"));
    QWidget *const options[] = {m_ui->optCom1, m_ui->optCom2, m_ui->optCom3, m_ui->optCom4,
                                m_ui->optCom5, m_ui->optCom6, m_ui->optCom7, m_ui->optCom8};
    QWidget *const devices[] = {m_ui->cboComDevice_0, m_ui->cboComDevice_1, m_ui->cboComDevice_2,
                                m_ui->cboComDevice_3, m_ui->cboComDevice_4, m_ui->cboComDevice_5,
                                m_ui->cboComDevice_6, m_ui->cboComDevice_7};
    for (int n = 5; n <= 8; ++n) {
        options[n - 1]->hide();
        devices[n - 1]->hide();
    }
    const int lefts[] = {120, 2160, 4200, 6120};
    for (int n = 1; n <= 4; ++n) {
        moveTwips(options[n - 1], lefts[n - 1], 240);
        moveTwips(devices[n - 1], lefts[n - 1] + 300, 510);
    }
    // One row of ports leaves room for the port line under it.
    setHeightTwips(m_ui->frmCOM, 820);
    moveTopTwips(m_ui->lblComPort1, 1250);
    moveTopTwips(m_ui->lblComPort2, 1250);

    m_ui->cmdUpdate->setToolTip(QStringLiteral("Configuration of a Quintrel Freestanding Unit"));
    m_ui->cmdOnline->setToolTip(
        QStringLiteral("Perform Online DH+ Diagnostics with a Freestanding Quintrel"));
    m_ui->lblComPort1->setText(
        QStringLiteral("QNCF is now set to communicate with the Freestanding Quintrel via COM:"));
}

void Welcome1::enableUpload(bool on)
{
    m_ui->cmdUPLOAD->setEnabled(on);
}

void Welcome1::enableWhoActive(bool on)
{
    m_ui->cmdOnline->setEnabled(on);
}

void Welcome1::applyPortTest(bool ok)
{
    m_ctx.session.PortTestedGood = ok;
    if (auto *diag = qobject_cast<DHPDiag *>(m_ctx.forms.existing(QStringLiteral("DHPDiag"))))
        diag->enableAutoconfigure(ok);
    if (!ok) {
        select(m_ui->optNONE);
        m_ui->lblComPort2->setText(QStringLiteral("-"));
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_ui->frmTOOLS, m_ui->cmdOnline, m_ui->cmdBurn, m_ui->frmCONFIG,
                                              m_ui->cmdUpdate, m_ui->cmdUPLOAD, m_ui->cmdDOWNLOAD})
            w->setEnabled(false);
        return;
    }
    for (QWidget *w : std::initializer_list<QWidget *>{m_ui->frmTOOLS, m_ui->cmdBurn, m_ui->frmCONFIG,
                                                       m_ui->cmdUpdate, m_ui->cmdUPLOAD, m_ui->cmdDOWNLOAD})
        w->setEnabled(true);
    // The DH+ diagnostics only where the operating mode talks DF1 to DH+.
    m_ui->cmdOnline->setEnabled(m_ctx.session.WhoActiveMode);
    m_ui->lblComPort2->setText(QString::number(m_ctx.session.PortNumber));
    // A file named at the start is opened now that a model and a port are chosen, as "Configure/
    // Open File" opens one.
    if (!m_ctx.session.fileToOpen.path.isEmpty() && m_ctx.forms.isDefined(QStringLiteral("main4000"))) {
        const QString path = std::exchange(m_ctx.session.fileToOpen, {}).path;
        hide();
        loadConfigurationFile(m_ctx, path);
        giveMainFormBack(m_ctx.forms);
    }
}

void Welcome1::UpdateParameters()
{
    ::UpdateParameters(m_ctx);
}

void Welcome1::Click_CHB_Params()
{
    ::Click_CHB_Params(m_ctx);
}

void Welcome1::Click_CHC_Params()
{
    ::Click_CHC_Params(m_ctx);
}

void Welcome1::cmdUpdate_Click()
{
    hide();
    const Prompts::Answer a = m_ctx.prompts.message(
        QStringLiteral("Do you wish to Open an Existing Configuration Settings File?"),
        QStringLiteral("Open Existing or Coonfigure New"), Prompts::Buttons::YesNo, Prompts::Icon::Question);
    // A cancelled dialog or an unreadable file (reported) opens the editor as it was.
    if (a == Prompts::Yes)
        openConfigurationFile(m_ctx);
    hide();
    giveMainFormBack(m_ctx.forms);
}

void Welcome1::openTool(const QString &form)
{
    if (!m_ctx.forms.isDefined(form))
        return;
    hide();
    m_ctx.forms.show(form);
}

void Welcome1::cmdUPLOAD_Click()
{
    openTool(QStringLiteral("upload"));
}

void Welcome1::cmdDOWNLOAD_Click()
{
    openTool(QStringLiteral("download"));
}

void Welcome1::cmdBurn_Click()
{
    openTool(QStringLiteral("monitor"));
}

void Welcome1::cmdOnline_Click()
{
    openTool(QStringLiteral("DHPDiag"));
}

void Welcome1::Command2_Click()
{
    m_ctx.forms.unload(QStringLiteral("view"));
    m_ctx.forms.unload(QStringLiteral("main4000"));
    close();
}

void Welcome1::closeEvent(QCloseEvent *event)
{
    event->accept();
    QuitHelp();
    m_ctx.forms.unload(QStringLiteral("Welcome1"));
    m_ctx.forms.show(QStringLiteral("model_freestand"));
}
