#include "model_freestand.h"
#include "ui_model_freestand.h"

#include "apply/applyloaded.h"
#include "config/modelcatalog.h"
#include "editor/defaults.h"
#include "editor/paramconfigb.h"
#include "files/fileflow.h"
#include "frame/appcontext.h"
#include "frame/crossform.h"
#include "frame/formutil.h"
#include "prompts/prompts.h"
#include "session/session.h"
#include "shell/welcome.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>

namespace {
const QString Main = QStringLiteral("main4000");

// The forms that show one configuration. A model choice starts them afresh.
const char *const ConfigurationForms[] = {
    "main4000",      "view",          "paramConfigB",   "paramConfigC", "df_Param",    "modbus_prot",
    "siemens_param", "YZE_DataTable", "VR58_DataTable", "rio_bt",       "toshiba_VFD", "toshiba_Super2E"};
} // namespace

model_freestand::model_freestand(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_ui(new Ui::model_freestand)
{
    m_ui->setupUi(this);
    for (const ModelInfo &m : modelCatalog()) {
        auto *b = findChild<QPushButton *>(m.button);
        if (!b)
            continue;
        const QString code = m.code;
        connect(b, &QPushButton::clicked, this, [this, code] { chooseModel(code); });
        // Every model button but cmdYZE describes itself when the mouse is over it.
        if (m.button != QLatin1String("cmdYZE"))
            b->installEventFilter(this);
    }
    connect(m_ui->Command10, &QPushButton::clicked, this, &model_freestand::Command10_Click);

    if (auto *start = m_ctx.forms.form<Welcome>(QStringLiteral("Welcome")))
        start->QN4000();
}

model_freestand::~model_freestand()
{
    delete m_ui;
}

bool model_freestand::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter) {
        if (auto *b = qobject_cast<QPushButton *>(watched))
            m_ui->lblDescription->setText(b->toolTip());
    }
    return QWidget::eventFilter(watched, event);
}

void model_freestand::closeEvent(QCloseEvent *event)
{
    // The close box goes back, like Command10, so the program is never left without a window.
    event->accept();
    Command10_Click();
}

void model_freestand::Command10_Click()
{
    m_ctx.forms.unload(QStringLiteral("model_freestand"));
    m_ctx.forms.show(QStringLiteral("Welcome"));
}

void model_freestand::appendSpeeds(const QStringList &items)
{
    CrossForm(m_ctx.forms).appendItems(Main, QStringLiteral("cboAsyncSpeed"), items);
}

void model_freestand::placeLeft(const QString &option)
{
    CrossForm(m_ctx.forms).moveTwips(Main, option, 240, 240);
}

void model_freestand::placeRight(const QString &option)
{
    CrossForm(m_ctx.forms).moveTwips(Main, option, 4560, 240);
}

void model_freestand::hideHandshakeLoopback()
{
    CrossForm(m_ctx.forms).hide(QStringLiteral("df_Param"), QStringLiteral("frmRTS"));
}

void model_freestand::startNewConfiguration()
{
    // Nothing of an earlier model may leak into this one: the same clicks give the same
    // bytes whatever was configured before. So the record starts from its defaults, the
    // forms from their design, and the first-generation set-up lays them out again.
    for (const char *form : ConfigurationForms)
        m_ctx.forms.unload(QLatin1String(form));
    m_ctx.session.rec = ConfigRecord();
    m_ctx.session.loaded = LoadedValues();
    if (auto *start = m_ctx.forms.form<Welcome>(QStringLiteral("Welcome")))
        start->QN4000();
}

void model_freestand::chooseModel(const QString &code)
{
    const ModelInfo *m = findModel(code);
    if (!m)
        return;
    startNewConfiguration();
    m_ctx.session.model = m;
    if (m->isQn6000())
        Model_QN6000();
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = m->configLength;
    rec.ProductCode = quint8(m->productCode);
    CrossForm r(m_ctx.forms);
    r.setText(Main, Main, QStringLiteral("Configuration of [%1] - MAIN MENU").arg(code));
    runSetup(*m);
    // The record is the model's fresh configuration, the one a file is applied to; the set-up
    // has laid the forms out to show it.
    m_ctx.session.rec = freshConfiguration(*m, rec.UploadReplyLength == 54);
}

void model_freestand::runSetup(const ModelInfo &m)
{
    CrossForm r(m_ctx.forms);
    auto selectMode = [&r](const char *option) { r.select(Main, QLatin1String(option)); };
    // The model's own mode sits at the right of the mode row, "STANDARD DF1 to DH+" at the left.
    auto offerMode = [&](const char *option) {
        r.show(Main, QLatin1String(option));
        placeRight(QLatin1String(option));
        r.show(Main, QStringLiteral("optKF2NGD"));
        placeLeft(QStringLiteral("optKF2NGD"));
    };
    auto disableUpload = [&r] {
        r.setEnabled(QStringLiteral("Welcome1"), QStringLiteral("cmdUPLOAD"), false);
    };

    if (m.offersSerialConnection()) {
        if (auto *chanB = m_ctx.forms.form<paramConfigB>(QStringLiteral("paramConfigB")))
            chanB->offerSerialConnection(true);
    }

    switch (m.kind) {
    case ModelKind::Brabender:
        Format_Custom();
        offerMode("optJMR");
        selectMode("optJMR");
        // "AB - DH+" is already the network option here; its layout must run all the same.
        r.deselect(Main, QStringLiteral("optSiemensDH"));
        selectMode("optSiemensDH");
        break;
    case ModelKind::ToshibaDrives:
        Format_Custom();
        QN4000_Model2();
        offerMode("optEPV4");
        selectMode("optEPV4");
        presetToshiba();
        disableUpload();
        break;
    case ModelKind::SiemensDrives:
        Format_Custom();
        appendSpeeds({"38.4", "93.75", "115.2", "125.0", "187.5", "230.4"});
        offerMode("optWOLTA");
        selectMode("optWOLTA");
        presetSiemens();
        disableUpload();
        break;
    case ModelKind::EatonDrives:
    case ModelKind::Centerscan:
        hideHandshakeLoopback();
        offerMode("optTBQ");
        selectMode("optTBQ");
        break;
    case ModelKind::Zumbach:
        hideHandshakeLoopback();
        r.select(Main, QStringLiteral("optQOF_Terminal"));
        offerMode("optTBQ");
        selectMode("optTBQ");
        break;
    case ModelKind::MultidropMaster:
        appendSpeeds({"38.4", "57.6", "115.2", "230.4"});
        offerMode("optPXA");
        selectMode("optPXA");
        break;
    case ModelKind::AsciiDisplays:
        hideHandshakeLoopback();
        appendSpeeds({"57.6"});
        r.hide(Main, QStringLiteral("cboHighAddress"));
        r.hide(Main, QStringLiteral("lblHighAddress"));
        offerMode("optTBQ");
        selectMode("optTBQ");
        break;
    case ModelKind::Scanners:
        Format_YZE();
        return; // Format_YZE ends the form itself
    case ModelKind::DualDf1:
        hideHandshakeLoopback();
        QN4000_Model2();
        offerMode("optF7H");
        selectMode("optF7H");
        break;
    case ModelKind::Bridge:
        if (m.asksFlashQuestion()) {
            appendSpeeds({"57.6"});
            m_ctx.session.rec.UploadReplyLength = askWhetherOldNgd(m_ctx.prompts) ? 54 : 66;
        }
        Setup_NGD();
        break;
    case ModelKind::RioAdapter:
        Setup_UCT();
        if (!m.isQn6000())
            appendSpeeds({"57.6"});
        break;
    case ModelKind::Modbus:
        Setup_LBW();
        if (!m.isQn6000())
            QN4000_Model2();
        break;
    case ModelKind::RioToModbus:
        hideHandshakeLoopback();
        r.setText(Main, QStringLiteral("optUCT"), QStringLiteral("RIO to Modbus Master"));
        offerMode("optUCT");
        selectMode("optUCT");
        break;
    }
    unload_QN4000();
}

void model_freestand::presetToshiba()
{
    CrossForm r(m_ctx.forms);
    const QString vfd = QStringLiteral("toshiba_VFD");
    r.setText(vfd, QStringLiteral("txtIntRetries"), QStringLiteral("1"));
    r.setText(vfd, QStringLiteral("txtPollingRetries"), QStringLiteral("1"));
    r.setText(vfd, QStringLiteral("txtDelay"), QStringLiteral("0"));
    for (const char *o : {"optG2", "optNoNet", "opt485"})
        r.select(vfd, QLatin1String(o));
    // Relays 1, 2 and 3, and the registers the drives are usually polled for, up to FFFF.
    static const char *const words[] = {"1",    "2",    "3",    "0",    "0",    "0",    "0",    "0",
                                        "0",    "0",    "4007", "4008", "4009", "400B", "400C", "400D",
                                        "400E", "4004", "4005", "4026", "4027", "4028", "4029", "402A",
                                        "402B", "402C", "402D", "4023", "4024"};
    const QString table = QStringLiteral("toshiba_Super2E");
    for (int k = 0; k < 40; ++k) {
        const int n = int(std::size(words));
        r.setText(table, QStringLiteral("txtWD%1").arg(20 + k),
                  k < n ? QLatin1String(words[k]) : QStringLiteral("FFFF"));
    }
}

void model_freestand::presetSiemens()
{
    CrossForm r(m_ctx.forms);
    const QString dlg = QStringLiteral("siemens_param");
    for (const char *o : {"optNoFunc", "optOffUss", "optPKW3", "optNoPM", "optUSS", "optNone", "opt485"})
        r.select(dlg, QLatin1String(o));
    r.showText(dlg, QStringLiteral("cboTelegram"), QStringLiteral("20"));
}

void model_freestand::Format_Custom()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.AuxByte2.set("0");
    rec.AuxByte1.set("0");
    rec.AuxByte4 = 0;
    rec.AuxByte3 = 0;

    Click_CHC_Params(m_ctx);
    CrossForm r(m_ctx.forms);

    r.showEntry(Main, QStringLiteral("cboModbusAdd"), 0);
    r.showEntry(Main, QStringLiteral("cboChannelCSpeed"), 5);
    r.showEntry(Main, QStringLiteral("cboAsyncSpeed"), 5);
    r.setText(Main, QStringLiteral("lblChannelCKbaud"), QStringLiteral("Baud"));
    r.setText(Main, QStringLiteral("lblKbaud2"), QStringLiteral("Baud"));
    // The station list shows the station the record holds (and the download sends), which the
    // fresh configuration has set to 1, rather than the list's first entry.
    r.showEntry(Main, QStringLiteral("cboStationNumber"), rec.StationNumber);
    r.showEntry(Main, QStringLiteral("cboNetworkSpeed"), 0);
    QStringList addresses;
    for (int a = 1; a <= 247; ++a)
        addresses << QString::number(a);
    r.appendItems(Main, QStringLiteral("cboModbusAdd"), addresses);
}

void model_freestand::QN4000_Model2()
{
    appendSpeeds({"38.4", "57.6", "115.2"});
}

void model_freestand::Model_QN6000()
{
    m_ctx.session.rec.FamilyCode = QStringLiteral("6000");
    appendSpeeds({"38.4", "57.6", "115.2"});
    CrossForm(m_ctx.forms).appendItems(Main, QStringLiteral("cboNetworkSpeed"), {QStringLiteral("230.4")});
}

void model_freestand::Setup_NGD()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 42;
    rec.ProductCode = 0;
    CrossForm r(m_ctx.forms);
    r.show(Main, QStringLiteral("optKF2NGD"));
    r.select(Main, QStringLiteral("optKF2NGD"));
    placeLeft(QStringLiteral("optKF2NGD"));
    r.show(Main, QStringLiteral("optNGD"));
    placeRight(QStringLiteral("optNGD"));
}

void model_freestand::Setup_UCT()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 64;
    Format_Custom();
    hideHandshakeLoopback();
    rec.ProductCode = 7;
    rec.BusType = {4, 0};
    CrossForm r(m_ctx.forms);
    r.show(Main, QStringLiteral("optKF2NGD"));
    placeLeft(QStringLiteral("optKF2NGD"));
    r.select(Main, QStringLiteral("optUCT"));
    r.show(Main, QStringLiteral("optUCT"));
    placeRight(QStringLiteral("optUCT"));
}

void model_freestand::Setup_LBW()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 136;
    rec.ProductCode = 1;
    rec.ExtParam[4] = 0;
    rec.ExtParam[5] = 0;
    rec.ProtoParam[0] = 0;
    for (int k = 4; k <= 85; ++k)
        rec.ProtoParam[k] = 0;
    hideHandshakeLoopback();
    CrossForm r(m_ctx.forms);
    // The standard layout first, the Modbus layout on top of it.
    r.select(Main, QStringLiteral("optKF2NGD"));
    r.deselect(Main, QStringLiteral("optKF2NGD"));
    placeRight(QStringLiteral("optLBW"));
    r.show(Main, QStringLiteral("optLBW"));
    r.select(Main, QStringLiteral("optLBW"));
    r.show(Main, QStringLiteral("optKF2NGD"));
    placeLeft(QStringLiteral("optKF2NGD"));
}

void model_freestand::Format_YZE()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 58;
    hideHandshakeLoopback();
    CrossForm r(m_ctx.forms);
    // A QN6000 list already holds "57.6".
    if (QComboBox *c = r.combo(Main, QStringLiteral("cboAsyncSpeed"));
        c && c->findText(QStringLiteral("57.6")) < 0)
        c->addItem(QStringLiteral("57.6"));
    rec.ProductCode = 9;
    r.select(Main, QStringLiteral("optKF2NGD"));
    r.deselect(Main, QStringLiteral("optKF2NGD"));
    r.select(Main, QStringLiteral("optTBQ"));
    r.show(Main, QStringLiteral("optTBQ"));
    placeRight(QStringLiteral("optTBQ"));
    r.show(Main, QStringLiteral("optKF2NGD"));
    placeLeft(QStringLiteral("optKF2NGD"));
    unload_QN4000();
}

void model_freestand::unload_QN4000()
{
    m_ctx.forms.unload(QStringLiteral("model_freestand"));
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}
