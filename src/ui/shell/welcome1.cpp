#include "welcome1.h"
#include "ui_welcome1.h"

#include "session/session.h"
#include "editor/configfiles.h"
#include "transfer/devicelink.h"
#include "serial/modcomm.h"
#include "frame/appcontext.h"
#include "frame/formutil.h"
#include "prompts/prompts.h"
#include "frame/remote.h"
#include "shell/welcome.h"

#include <QCloseEvent>

namespace {
// The options that put a channel dialog back to no parity, 8 data bits, 1 stop bit,
// handshaking ignored (and RS-232C on channel B).
const QStringList channelBDefaults = {"optNone", "opt8", "opt1", "optIgnore", "opt232"};
const QStringList channelCDefaults = {"optNone", "opt8", "opt1", "optIgnore"};
const QStringList df1Defaults = {"optBCC", "optExecDiag", "optPoint", "optNoneEmbed", "optIgnore", "optNoneLoop"};
} // namespace

Welcome1::Welcome1(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::Welcome1)
{
    m_ui->setupUi(this);
    QRadioButton *const options[] = {m_ui->optCom1, m_ui->optCom2, m_ui->optCom3, m_ui->optCom4,
                                     m_ui->optCom5, m_ui->optCom6, m_ui->optCom7, m_ui->optCom8};
    for (int i = 0; i < 8; ++i) {
        const int port = i + 1;
        connect(options[i], &QRadioButton::toggled, this, [this, port](bool on) {
            if (on)
                optCom_Click(port);
        });
        // Which device each COM option stands for on this machine.
        if (auto *l = findChild<QLabel *>(QStringLiteral("lblComDevice_%1").arg(i)))
            l->setText(ModComm::deviceForName(QStringLiteral("COM%1").arg(port)));
    }
    connect(m_ui->cmdUpdate, &QPushButton::clicked, this, &Welcome1::cmdUpdate_Click);
    connect(m_ui->cmdUPLOAD, &QPushButton::clicked, this, &Welcome1::cmdUPLOAD_Click);
    connect(m_ui->cmdDOWNLOAD, &QPushButton::clicked, this, &Welcome1::cmdDOWNLOAD_Click);
    connect(m_ui->cmdBurn, &QPushButton::clicked, this, &Welcome1::cmdBurn_Click);
    connect(m_ui->cmdOnline, &QPushButton::clicked, this, &Welcome1::cmdOnline_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Welcome1::Command2_Click);
    connect(m_ui->Command3, &QPushButton::clicked, this, [] { endProgram(); });
    m_ui->lblComPort2->setText(QStringLiteral("-"));
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

void Welcome1::applyPortTest(bool ok)
{
    Remote r(m_ctx.forms);
    // A tool whose screen is not part of the program stays disabled.
    auto toolReady = [this](const char *form) { return m_ctx.forms.isDefined(QLatin1String(form)); };
    if (!ok) {
        if (m_ctx.forms.existing(QStringLiteral("DHPDiag")))
            r.setEnabled(QStringLiteral("DHPDiag"), QStringLiteral("cmdConfig"), false);
        select(m_ui->optNONE);
        m_ui->lblComPort2->setText(QStringLiteral("-"));
        for (QWidget *w : std::initializer_list<QWidget *>{m_ui->frmTOOLS, m_ui->cmdOnline, m_ui->cmdBurn, m_ui->frmCONFIG,
                                                           m_ui->cmdUpdate, m_ui->cmdUPLOAD, m_ui->cmdDOWNLOAD})
            w->setEnabled(false);
        return;
    }
    if (m_ctx.forms.existing(QStringLiteral("DHPDiag")))
        r.setEnabled(QStringLiteral("DHPDiag"), QStringLiteral("cmdConfig"), true);
    m_ui->frmTOOLS->setEnabled(true);
    m_ui->frmCONFIG->setEnabled(true);
    m_ui->cmdUpdate->setEnabled(toolReady("main4000"));
    m_ui->cmdBurn->setEnabled(toolReady("monitor"));
    m_ui->cmdUPLOAD->setEnabled(toolReady("upload"));
    m_ui->cmdDOWNLOAD->setEnabled(toolReady("download"));
    m_ui->lblComPort2->setText(QString::number(m_ctx.session.PortNumber));
}

void Welcome1::UpdateParameters()
{
    Remote r(m_ctx.forms);
    const QString main = QStringLiteral("main4000");
    r.showText(main, QStringLiteral("cboNetworkSpeed"), QStringLiteral("57.6"));
    r.showText(main, QStringLiteral("cboAsyncSpeed"), QStringLiteral("9600"));
    r.setText(main, QStringLiteral("lblKbaud2"), QStringLiteral("Baud"));
    r.showText(main, QStringLiteral("cboStationNumber"), QStringLiteral("1"));
    r.showText(main, QStringLiteral("cboHighAddress"), QStringLiteral("2"));

    for (const QString &o : df1Defaults)
        r.select(QStringLiteral("df_Param"), o);
    Click_CHB_Params();
    Click_CHC_Params();

    const QString view = QStringLiteral("view");
    for (const char *n : {"txtBusSpeed1", "txtBusSpeed", "txtKbaud2", "txtBusProtocol"})
        r.hide(view, QLatin1String(n));
    r.show(view, QStringLiteral("frmChannelB"));
    r.setText(view, QStringLiteral("txtNetSpeed"), QStringLiteral("57.6"));
    r.setText(view, QStringLiteral("txtKbaud2"), QStringLiteral("Baud"));
    r.setText(view, QStringLiteral("txtAsyncB"), QStringLiteral("9600"));
    // The channel's own units box too, or a faster speed's "Kbaud" would stay beside 9600.
    r.setText(view, QStringLiteral("txtKbaudChannelB"), QStringLiteral("Baud"));
    r.setText(view, QStringLiteral("txtStationNum"), QStringLiteral("1"));
    r.setText(view, QStringLiteral("txtHighAddress"), QStringLiteral("2"));

    m_ctx.session.rec.applyFreshConfiguration();
}

void Welcome1::Click_CHB_Params()
{
    // Off first, so that each handler runs even where its option was already on.
    Remote r(m_ctx.forms);
    for (const QString &o : channelBDefaults)
        r.deselect(QStringLiteral("paramConfigB"), o);
    for (const QString &o : channelBDefaults)
        r.select(QStringLiteral("paramConfigB"), o);
}

void Welcome1::Click_CHC_Params()
{
    Remote r(m_ctx.forms);
    for (const QString &o : channelCDefaults)
        r.deselect(QStringLiteral("paramConfigC"), o);
    for (const QString &o : channelCDefaults)
        r.select(QStringLiteral("paramConfigC"), o);
}

void Welcome1::cmdUpdate_Click()
{
    hide();
    Remote r(m_ctx.forms);
    r.setText(QStringLiteral("view"), QStringLiteral("txtComSelect"), QString::number(m_ctx.session.PortNumber));
    const Prompts::Answer a =
        m_ctx.prompts.message(QStringLiteral("Do you wish to Open an Existing Configuration Settings File?"),
                              QStringLiteral("Open Existing or Coonfigure New"), Prompts::Buttons::YesNo,
                              Prompts::Icon::Question);
    // A cancelled dialog or an unreadable file (reported) opens the editor as it was.
    if (a == Prompts::Yes)
        openConfigurationFile(m_ctx);
    hide();
    r.setEnabled(QStringLiteral("main4000"), QStringLiteral("main4000"), true);
    m_ctx.forms.show(QStringLiteral("main4000"));
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
