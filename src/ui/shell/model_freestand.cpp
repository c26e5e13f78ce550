// SPDX-License-Identifier: GPL-3.0-or-later
#include "model_freestand.h"
#include "ui_model_freestand.h"

#include "apply/applyloaded.h"
#include "config/modelcatalog.h"
#include "editor/defaults.h"
#include "editor/df_param.h"
#include "editor/main4000.h"
#include "editor/paramconfigb.h"
#include "editor/siemens_param.h"
#include "editor/toshiba.h"
#include "files/fileflow.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "prompts/prompts.h"
#include "session/session.h"
#include "shell/welcome.h"
#include "shell/welcome1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

#include <utility>

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

void model_freestand::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showFileOffer();
}

void model_freestand::keyPressEvent(QKeyEvent *event)
{
    // Enter picks the model whose button has the focus, as Space does (a button outside a
    // dialog takes only Space).
    auto *button = qobject_cast<QPushButton *>(focusWidget());
    if (button && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void model_freestand::showFileOffer()
{
    // A pick unloads this form, so a file is offered on a form that has shown no other offer.
    const Session::FileToOpen &file = m_ctx.session.fileToOpen;
    if (file.path.isEmpty())
        return;
    for (const ModelInfo &m : modelCatalog()) {
        if (auto *b = findChild<QPushButton *>(m.button)) {
            QFont font = b->font();
            font.setBold(file.fitting.contains(&m));
            b->setFont(font);
        }
    }
    //: %1 is the file's name, which the user opened from the desktop
    setWindowTitle(tr("Open %1 as which model?").arg(QFileInfo(file.path).fileName()));
    m_ui->lblDescription->setText(tr("The file fits the models in bold: pick the one it was saved for."));
    // Tab keeps the reading order; the first model the file fits has the focus.
    if (QPushButton *first =
            file.fitting.isEmpty() ? nullptr : findChild<QPushButton *>(file.fitting.front()->button))
        first->setFocus();
}

void startWithFile(AppContext &ctx, const QString &path)
{
    QList<const ModelInfo *> fitting = modelsForFile(ctx.prompts, path);
    if (fitting.isEmpty()) {
        ctx.forms.show(QStringLiteral("Welcome"));
        return;
    }
    ctx.session.fileToOpen = {path, std::move(fitting)};
    ctx.forms.show(QStringLiteral("model_freestand"));
}

void model_freestand::Command10_Click()
{
    m_ctx.forms.unload(QStringLiteral("model_freestand"));
    m_ctx.forms.show(QStringLiteral("Welcome"));
}

main4000 *model_freestand::mainForm()
{
    return m_ctx.forms.form<main4000>(Main);
}

void model_freestand::appendSpeeds(const QStringList &items)
{
    if (main4000 *main = mainForm())
        main->appendChannelSpeeds(items);
}

void model_freestand::offerModes(main4000::Mode own)
{
    if (main4000 *main = mainForm()) {
        main->offerMode(own, true);
        main->offerMode(main4000::Mode::KF2NGD, false);
    }
}

void model_freestand::hideHandshakeLoopback()
{
    if (auto *df = m_ctx.forms.form<df_Param>(QStringLiteral("df_Param")))
        df->hideLoopback();
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
    if (main4000 *main = mainForm())
        main->setWindowTitle(QStringLiteral("Configuration of [%1] - MAIN MENU").arg(code));
    runSetup(*m);
    // The record is the model's fresh configuration, the one a file is applied to; the set-up
    // has laid the forms out to show it.
    m_ctx.session.rec = freshConfiguration(*m, rec.UploadReplyLength == 54);
}

void model_freestand::runSetup(const ModelInfo &m)
{
    using Mode = main4000::Mode;
    main4000 *main = mainForm(); // a program without it lays out the rest
    // The model's own mode sits at the right of the mode row, "STANDARD DF1 to DH+" at the left.
    auto offerMode = [&](Mode own) {
        offerModes(own);
        if (main)
            main->selectMode(own);
    };
    auto disableUpload = [this] {
        if (auto *menu = m_ctx.forms.form<Welcome1>(QStringLiteral("Welcome1")))
            menu->enableUpload(false);
    };

    if (m.offersSerialConnection()) {
        if (auto *chanB = m_ctx.forms.form<paramConfigB>(QStringLiteral("paramConfigB")))
            chanB->offerSerialConnection(true);
    }

    switch (m.kind) {
    case ModelKind::Brabender:
        Format_Custom();
        offerMode(Mode::JMR);
        // "AB - DH+" is already the network option here; its layout must run all the same.
        if (main)
            main->reselectNetworkDH();
        break;
    case ModelKind::ToshibaDrives:
        Format_Custom();
        QN4000_Model2();
        offerMode(Mode::EPV4);
        presetToshiba();
        disableUpload();
        break;
    case ModelKind::SiemensDrives:
        Format_Custom();
        appendSpeeds({"38.4", "93.75", "115.2", "125.0", "187.5", "230.4"});
        offerMode(Mode::WOLTA);
        presetSiemens();
        disableUpload();
        break;
    case ModelKind::EatonDrives:
    case ModelKind::Centerscan:
        hideHandshakeLoopback();
        offerMode(Mode::TBQ);
        break;
    case ModelKind::Zumbach:
        hideHandshakeLoopback();
        if (main)
            main->selectZumbachTerminal();
        offerMode(Mode::TBQ);
        break;
    case ModelKind::MultidropMaster:
        appendSpeeds({"38.4", "57.6", "115.2", "230.4"});
        offerMode(Mode::PXA);
        break;
    case ModelKind::AsciiDisplays:
        hideHandshakeLoopback();
        appendSpeeds({"57.6"});
        if (main)
            main->hideHighAddress();
        offerMode(Mode::TBQ);
        break;
    case ModelKind::Scanners:
        Format_YZE();
        return; // Format_YZE ends the form itself
    case ModelKind::DualDf1:
        hideHandshakeLoopback();
        QN4000_Model2();
        offerMode(Mode::F7H);
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
        if (main)
            main->setModeCaption(Mode::UCT, QStringLiteral("RIO to Modbus Master"));
        offerMode(Mode::UCT);
        break;
    }
    unload_QN4000();
}

void model_freestand::presetToshiba()
{
    if (auto *vfd = m_ctx.forms.form<toshiba_VFD>(QStringLiteral("toshiba_VFD")))
        vfd->selectPresets();
    if (auto *table = m_ctx.forms.form<toshiba_Super2E>(QStringLiteral("toshiba_Super2E")))
        table->showPresetWords();
}

void model_freestand::presetSiemens()
{
    if (auto *dlg = m_ctx.forms.form<siemens_param>(QStringLiteral("siemens_param")))
        dlg->selectPresets();
}

void model_freestand::Format_Custom()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.AuxByte2.set("0");
    rec.AuxByte1.set("0");
    rec.AuxByte4 = 0;
    rec.AuxByte3 = 0;

    Click_CHC_Params(m_ctx);
    // The station list shows the station the record holds (and the download sends), which the
    // fresh configuration has set to 1, rather than the list's first entry.
    if (main4000 *main = mainForm())
        main->showCustomDefaults(rec.StationNumber);
}

void model_freestand::QN4000_Model2()
{
    appendSpeeds({"38.4", "57.6", "115.2"});
}

void model_freestand::Model_QN6000()
{
    m_ctx.session.rec.FamilyCode = QStringLiteral("6000");
    appendSpeeds({"38.4", "57.6", "115.2"});
    if (main4000 *main = mainForm())
        main->appendNetworkSpeeds({QStringLiteral("230.4")});
}

void model_freestand::Setup_NGD()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 42;
    rec.ProductCode = 0;
    if (main4000 *main = mainForm())
        main->selectMode(main4000::Mode::KF2NGD);
    offerModes(main4000::Mode::NGD);
}

void model_freestand::Setup_UCT()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 64;
    Format_Custom();
    hideHandshakeLoopback();
    rec.ProductCode = 7;
    rec.BusType = {4, 0};
    if (main4000 *main = mainForm()) {
        main->offerMode(main4000::Mode::KF2NGD, false);
        main->selectMode(main4000::Mode::UCT);
        main->offerMode(main4000::Mode::UCT, true);
    }
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
    if (main4000 *main = mainForm()) {
        // The standard layout first, the Modbus layout on top of it.
        main->selectMode(main4000::Mode::KF2NGD);
        main->deselectMode(main4000::Mode::KF2NGD);
        main->offerMode(main4000::Mode::LBW, true);
        main->selectMode(main4000::Mode::LBW);
        main->offerMode(main4000::Mode::KF2NGD, false);
    }
}

void model_freestand::Format_YZE()
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ConfigLength = 58;
    hideHandshakeLoopback();
    main4000 *main = mainForm();
    // A QN6000 list already holds "57.6".
    if (main)
        main->ensureChannelSpeed(QStringLiteral("57.6"));
    rec.ProductCode = 9;
    if (main) {
        main->selectMode(main4000::Mode::KF2NGD);
        main->deselectMode(main4000::Mode::KF2NGD);
        main->selectMode(main4000::Mode::TBQ);
    }
    offerModes(main4000::Mode::TBQ);
    unload_QN4000();
}

void model_freestand::unload_QN4000()
{
    m_ctx.forms.unload(QStringLiteral("model_freestand"));
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}
