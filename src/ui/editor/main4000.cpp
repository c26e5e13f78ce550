// SPDX-License-Identifier: GPL-3.0-or-later
#include "main4000.h"
#include "ui_main4000.h"

#include "config/speedcodes.h"
#include "editor/modbus_prot.h"
#include "editor/paramconfigc.h"
#include "editor/rio_bt.h"
#include "editor/siemens_param.h"
#include "editor/toshiba.h"
#include "frame/accessibility.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "frame/typedlist.h"
#include "session/session.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QHash>
#include <QMenu>

#include <optional>

namespace {

// Station numbers, high addresses and rack numbers are listed as octal text.
std::optional<int> octalValue(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok, 8);
    if (!ok || !fitsByte(v))
        return std::nullopt;
    return v;
}

std::optional<int> decimalValue(const QString &text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

const QString View = QStringLiteral("view");

// The drive layouts' rack sizes, by their code in AuxByte3.
const QStringList &rackSizes()
{
    static const QStringList sizes = {QStringLiteral("1/4"), QStringLiteral("1/2"), QStringLiteral("FULL")};
    return sizes;
}

} // namespace

main4000::main4000(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::main4000)
{
    m_ui->setupUi(this);
    buildFileMenu();
    connectControls();
    guardLists();
    // The RIO layouts show a list of their own network speeds under the same caption.
    captionWhicheverShows(m_ui->lblNetSpeed, {m_ui->cboNetworkSpeed, m_ui->cboNetworkSpeed2});
    captureBaseGeometry();
}

main4000::~main4000()
{
    delete m_ui;
}

void main4000::buildFileMenu()
{
    m_file_menu = new QMenu(QStringLiteral("&Configuration Settings"), this);
    m_file_menu->setObjectName(QStringLiteral("file_menu"));
    m_file_menu->addAction(QStringLiteral("&Save QUINTREL Configuration Settings..."))
        ->setObjectName(QStringLiteral("save_file"));
    m_file_menu->addAction(QStringLiteral("&Open QUINTREL Configuration Settings..."))
        ->setObjectName(QStringLiteral("open_file"));
    m_file_menu->addSeparator()->setObjectName(QStringLiteral("bar1"));
    m_file_menu->addAction(QStringLiteral("S&et QUINTREL Settings to Defaults..."))
        ->setObjectName(QStringLiteral("restore_configuration"));
    m_file_menu->addSeparator()->setObjectName(QStringLiteral("bar2"));
    QAction *help = m_file_menu->addAction(tr("QNCF &Manual"));
    help->setObjectName(QStringLiteral("help_manual"));
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutVisibleInContextMenu(true);
}

QAction *main4000::action(const QString &name) const
{
    return m_file_menu->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

void main4000::connectControls()
{
    const auto list = [this](QComboBox *c, void (main4000::*handler)()) {
        connect(c, &QComboBox::activated, this, handler);
    };
    list(m_ui->cboStationNumber, &main4000::cboStationNumber_Click);
    list(m_ui->cboHighAddress, &main4000::cboHighAddress_Click);
    list(m_ui->cboModbusAdd, &main4000::cboModbusAdd_Click);
    list(m_ui->cboRackNum, &main4000::cboRackNum_Click);
    list(m_ui->cboRackRange, &main4000::cboRackRange_Click);
    list(m_ui->cboRackSize, &main4000::cboRackSize_Click);
    list(m_ui->cboNetworkSpeed, &main4000::cboNetworkSpeed_Click);
    list(m_ui->cboNetworkSpeed2, &main4000::cboNetworkSpeed2_Click);
    list(m_ui->cboAsyncSpeed, &main4000::cboAsyncSpeed_Click);
    list(m_ui->cboAsyncSpeedC, &main4000::cboAsyncSpeedC_Click);
    list(m_ui->cboChannelCSpeed, &main4000::cboChannelCSpeed_Click);
    list(m_ui->cboSLAVE1, &main4000::cboSLAVE1_Click);
    list(m_ui->cboSlave2, &main4000::cboSlave2_Click);

    const auto option = [this](QAbstractButton *b, void (main4000::*handler)(bool)) {
        connect(b, &QAbstractButton::toggled, this, handler);
    };
    option(m_ui->optQuarter, &main4000::optQuarter_Click);
    option(m_ui->optHalf, &main4000::optHalf_Click);
    option(m_ui->optSG0, &main4000::optSG0_Click);
    option(m_ui->optSG2, &main4000::optSG2_Click);
    option(m_ui->optSG4, &main4000::optSG4_Click);
    option(m_ui->optSG6, &main4000::optSG6_Click);
    option(m_ui->opt1Slave, &main4000::opt1Slave_Click);
    option(m_ui->opt2Slave, &main4000::opt2Slave_Click);
    option(m_ui->optQOF_Host, &main4000::optQOF_Host_Click);
    option(m_ui->optQOF_Terminal, &main4000::optQOF_Terminal_Click);
    option(m_ui->optSType, &main4000::optSType_Click);
    option(m_ui->optMType, &main4000::optMType_Click);
    option(m_ui->optLMType, &main4000::optLMType_Click);
    option(m_ui->optPT03Type, &main4000::optPT03Type_Click);
    option(m_ui->optLType, &main4000::optLType_Click);
    option(m_ui->optSAType, &main4000::optSAType_Click);
    // A layout ends with the lists it shows writing what they show; a mode layout's presets
    // meet the drive and Modbus dialogs too (the network options write no field they show).
    const auto layout = [this](QAbstractButton *b, void (main4000::*handler)(bool), bool mode) {
        connect(b, &QAbstractButton::toggled, this, [this, handler, mode](bool on) {
            (this->*handler)(on);
            if (on) {
                takeShownValues();
                if (mode)
                    takeShownDialogs();
            }
        });
    };
    layout(m_ui->optKF2NGD, &main4000::optKF2NGD_Click, true);
    layout(m_ui->optNGD, &main4000::optNGD_Click, true);
    layout(m_ui->optPXA, &main4000::optPXA_Click, true);
    layout(m_ui->optF7H, &main4000::optF7H_Click, true);
    layout(m_ui->optUCT, &main4000::optUCT_Click, true);
    layout(m_ui->optTBQ, &main4000::optTBQ_Click, true);
    layout(m_ui->optJMR, &main4000::optJMR_Click, true);
    layout(m_ui->optLBW, &main4000::optLBW_Click, true);
    layout(m_ui->optEPV4, &main4000::optEPV4_Click, true);
    layout(m_ui->optWOLTA, &main4000::optWOLTA_Click, true);
    layout(m_ui->optSiemensDH, &main4000::optSiemensDH_Click, false);
    layout(m_ui->optSiemensRIO, &main4000::optSiemensRIO_Click, false);
    layout(m_ui->optSiemensMOD, &main4000::optSiemensMOD_Click, false);

    const auto button = [this](QAbstractButton *b, void (main4000::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, handler);
    };
    button(m_ui->cmdCONFIG, &main4000::cmdCONFIG_Click);
    button(m_ui->cmdNext, &main4000::cmdNext_Click);
    button(m_ui->cmdRETURN, &main4000::cmdRETURN_Click);
    button(m_ui->cmdEXIT, &main4000::cmdEXIT_Click);
    button(m_ui->Command3, &main4000::Command3_Click);
    button(m_ui->cmdAsyncC, &main4000::cmdAsyncC_Click);
    button(m_ui->cmdChannelC, &main4000::cmdChannelC_Click);
    button(m_ui->cmdProtParam, &main4000::cmdProtParam_Click);
    button(m_ui->cmdModBus, &main4000::cmdModBus_Click);
    button(m_ui->cmdSiemensParam, &main4000::cmdSiemensParam_Click);
    button(m_ui->cmdToshibaParam, &main4000::cmdToshibaParam_Click);
    button(m_ui->cmdRioBt, &main4000::cmdRioBt_Click);
    button(m_ui->cmdYZE, &main4000::cmdYZE_Click);
}

void main4000::guardLists()
{
    // Every editable list takes only its own items; the label names it when typed text is refused.
    const QHash<QComboBox *, QLabel *> captions = {
        {m_ui->cboStationNumber, m_ui->lblStnNum},
        {m_ui->cboHighAddress, m_ui->lblHighAddress},
        {m_ui->cboNetworkSpeed, m_ui->lblNetSpeed},
        {m_ui->cboNetworkSpeed2, m_ui->lblNetSpeed},
        {m_ui->cboRackNum, m_ui->lblRackNum},
        {m_ui->cboRackSize, m_ui->lblRackSize},
        {m_ui->cboRackRange, m_ui->lblRackRange},
        {m_ui->cboModbusAdd, m_ui->lblSlaveAddress},
        {m_ui->cboAsyncSpeed, m_ui->Label1},
        {m_ui->cboAsyncSpeedC, m_ui->lblAsyncC},
        {m_ui->cboChannelCSpeed, m_ui->lblChannelCSpeed},
        {m_ui->cboSLAVE1, m_ui->lblXAJSlave1},
        {m_ui->cboSlave2, m_ui->lblXAJSlave2},
    };
    for (QComboBox *list : findChildren<QComboBox *>()) {
        if (list->isEditable())
            guardTypedList(list, captions.value(list));
    }
}

// ---- Helpers -----------------------------------------------------------------------------

bool main4000::isKind(ModelKind kind) const
{
    return m_ctx.session.model && m_ctx.session.model->kind == kind;
}

void main4000::setVisible(const Widgets &widgets, bool visible)
{
    for (QWidget *w : widgets)
        w->setVisible(visible);
}

void main4000::setEnabled(const Widgets &widgets, bool enabled)
{
    for (QWidget *w : widgets)
        w->setEnabled(enabled);
}

void main4000::moveTop(const Widgets &widgets, int topTwips)
{
    for (QWidget *w : widgets)
        moveTopTwips(w, topTwips);
}

bool main4000::openDialog(const QString &name, bool hideMain)
{
    // Disabling this form with no dialog to give it back would leave the user stuck.
    if (!m_ctx.forms.isDefined(name))
        return false;
    if (hideMain)
        hide();
    else
        QWidget::setEnabled(false);
    m_ctx.forms.show(name);
    return true;
}

// ---- Lists -------------------------------------------------------------------------------

bool main4000::applyStationNumber()
{
    const QString text = m_ui->cboStationNumber->currentText();
    const std::optional<int> v = octalValue(text);
    if (!v)
        return false;
    m_ctx.session.rec.StationNumber = quint8(*v);
    m_ui->txtF7H->setText(QString::number(*v + 1, 8));
    return true;
}

void main4000::cboStationNumber_Click()
{
    if (!applyStationNumber())
        return;
    // The bridging layouts keep the high address one above the station.
    QComboBox *c = m_ui->cboStationNumber;
    if (m_ctx.session.rec.BusType == CharPair{1, 0}) {
        const int n = c->findText(c->currentText());
        if (n >= 0 && n + 1 < c->count())
            selectIndex(m_ui->cboHighAddress, n + 1);
    }
}

void main4000::cboHighAddress_Click()
{
    const QString text = m_ui->cboHighAddress->currentText();
    if (const std::optional<int> v = octalValue(text)) {
        m_ctx.session.rec.HighAddress = quint8(*v);
    }
}

void main4000::cboModbusAdd_Click()
{
    const QString text = m_ui->cboModbusAdd->currentText();
    if (const std::optional<int> v = decimalValue(text, 1, 247)) {
        m_ctx.session.rec.StationNumber = quint8(*v);
    }
}

void main4000::cboRackNum_Click()
{
    const QString text = m_ui->cboRackNum->currentText();
    const std::optional<int> v = octalValue(text);
    if (!v)
        return;
    m_ctx.session.rec.StationNumber = quint8(*v);
    if (auto *map = m_ctx.forms.form<rio_bt>(QStringLiteral("rio_bt")))
        map->showRackAddresses(*v);
}

void main4000::cboRackRange_Click()
{
    const QString text = m_ui->cboRackRange->currentText();
    const std::optional<int> n = decimalValue(text, 1, 7);
    if (!n)
        return;
    m_ctx.session.rec.HighAddress = quint8(*n);
    if (auto *map = m_ctx.forms.form<rio_bt>(QStringLiteral("rio_bt")))
        map->selectRackRange(*n);
}

QRadioButton *main4000::modeOption(Mode mode) const
{
    switch (mode) {
    case Mode::KF2NGD:
        return m_ui->optKF2NGD;
    case Mode::NGD:
        return m_ui->optNGD;
    case Mode::PXA:
        return m_ui->optPXA;
    case Mode::F7H:
        return m_ui->optF7H;
    case Mode::UCT:
        return m_ui->optUCT;
    case Mode::TBQ:
        return m_ui->optTBQ;
    case Mode::JMR:
        return m_ui->optJMR;
    case Mode::LBW:
        return m_ui->optLBW;
    case Mode::EPV4:
        return m_ui->optEPV4;
    case Mode::WOLTA:
        return m_ui->optWOLTA;
    }
    return m_ui->optKF2NGD;
}

void main4000::offerMode(Mode mode, bool right)
{
    QRadioButton *option = modeOption(mode);
    option->show();
    moveTwips(option, right ? 4560 : 240, 240);
}

void main4000::selectMode(Mode mode)
{
    select(modeOption(mode));
}

void main4000::deselectMode(Mode mode)
{
    deselect(modeOption(mode));
}

bool main4000::isModeSelected(Mode mode) const
{
    return modeOption(mode)->isChecked();
}

void main4000::setModeCaption(Mode mode, const QString &caption)
{
    modeOption(mode)->setText(caption);
}

void main4000::reselectNetworkDH()
{
    reselect(m_ui->optSiemensDH);
}

void main4000::selectZumbachTerminal()
{
    select(m_ui->optQOF_Terminal);
}

void main4000::appendChannelSpeeds(const QStringList &items)
{
    m_ui->cboAsyncSpeed->addItems(items);
}

void main4000::ensureChannelSpeed(const QString &item)
{
    if (m_ui->cboAsyncSpeed->findText(item) < 0)
        m_ui->cboAsyncSpeed->addItem(item);
}

void main4000::appendNetworkSpeeds(const QStringList &items)
{
    m_ui->cboNetworkSpeed->addItems(items);
}

void main4000::hideHighAddress()
{
    m_ui->cboHighAddress->hide();
    m_ui->lblHighAddress->hide();
}

void main4000::showCustomDefaults(int station)
{
    const auto showEntry = [](QComboBox *c, int n) {
        showText(c, n >= 0 && n < c->count() ? c->itemText(n) : QString());
    };
    showEntry(m_ui->cboModbusAdd, 0);
    showEntry(m_ui->cboChannelCSpeed, 5);
    showEntry(m_ui->cboAsyncSpeed, 5);
    m_ui->lblChannelCKbaud->setText(QStringLiteral("Baud"));
    m_ui->lblKbaud2->setText(QStringLiteral("Baud"));
    showEntry(m_ui->cboStationNumber, station);
    showEntry(m_ui->cboNetworkSpeed, 0);
    QStringList addresses;
    for (int a = 1; a <= 247; ++a)
        addresses << QString::number(a);
    m_ui->cboModbusAdd->addItems(addresses);
}

void main4000::pickRackRange(int n)
{
    selectText(m_ui->cboRackRange, QString::number(n));
}

void main4000::showResetValues()
{
    showText(m_ui->cboNetworkSpeed, QStringLiteral("57.6"));
    showText(m_ui->cboAsyncSpeed, QStringLiteral("9600"));
    m_ui->lblKbaud2->setText(QStringLiteral("Baud"));
    showText(m_ui->cboStationNumber, QStringLiteral("1"));
    showText(m_ui->cboHighAddress, QStringLiteral("2"));
}

void main4000::showRecord()
{
    const ConfigRecord &rec = m_ctx.session.rec;
    const auto show = [](QComboBox *list, const QString &item) {
        if (list->findText(item) < 0)
            return false;
        showText(list, item);
        return true;
    };
    const auto showSpeed = [&show](QComboBox *list, int code, QLabel *units) {
        if (show(list, speedText(ChannelSpeeds, code)))
            units->setText(code <= LastBaudCode ? QStringLiteral("Baud") : QStringLiteral("Kbaud"));
    };
    show(m_ui->cboStationNumber, QString::number(rec.StationNumber, 8));
    show(m_ui->cboRackNum, QString::number(rec.StationNumber, 8));
    show(m_ui->cboModbusAdd, QString::number(rec.StationNumber));
    m_ui->txtF7H->setText(QString::number(rec.StationNumber + 1, 8));
    show(m_ui->cboHighAddress, QString::number(rec.HighAddress, 8));
    show(m_ui->cboRackRange, QString::number(rec.HighAddress));
    show(m_ui->cboNetworkSpeed, speedText(NetworkSpeeds, rec.NetworkSpeed[0]));
    show(m_ui->cboNetworkSpeed2, speedText(NetworkSpeeds, rec.NetworkSpeed[0]));
    showSpeed(m_ui->cboAsyncSpeed, rec.ChanBSpeed, m_ui->lblKbaud2);
    showSpeed(m_ui->cboAsyncSpeedC, rec.ChanCSpeed, m_ui->lblKbaudC);
    showSpeed(m_ui->cboChannelCSpeed, rec.ChanCSpeed, m_ui->lblChannelCKbaud);
    // The model-specific bytes mean what the model makes of them.
    if (isKind(ModelKind::SiemensDrives) || isKind(ModelKind::ToshibaDrives))
        show(m_ui->cboRackSize, rackSizes().value(rec.AuxByte3));
    if (isKind(ModelKind::RioToModbus)) {
        show(m_ui->cboSLAVE1, QString::number(rec.AuxByte3));
        show(m_ui->cboSlave2, QString::number(rec.AuxByte4));
    }
    if (isKind(ModelKind::Zumbach))
        showChoice({m_ui->optQOF_Terminal, m_ui->optQOF_Host}, rec.ProtoParam[0]);
    if (isKind(ModelKind::Brabender))
        showChoice({m_ui->optSType, m_ui->optMType, m_ui->optLMType, m_ui->optPT03Type, m_ui->optLType,
                    m_ui->optSAType},
                   rec.ProtoParam[0]);
}

bool main4000::offersNetworkChoice() const
{
    return m_ui->optSiemensDH->isVisibleTo(this);
}

void main4000::selectNetwork(int code)
{
    const QList<QAbstractButton *> options{m_ui->optSiemensDH, m_ui->optSiemensRIO, m_ui->optSiemensMOD};
    if (code >= 0 && code < int(options.size()))
        select(options[code]);
    else
        reselect(m_ui->optSiemensDH);
}

void main4000::selectRioRack(int group)
{
    // A half rack selects two slaves, which a file of one slave then takes back; a quarter
    // rack has room for one.
    const QList<QAbstractButton *> groups{m_ui->optSG0, m_ui->optSG2, m_ui->optSG4, m_ui->optSG6};
    if (group >= 0 && group <= 3) {
        select(m_ui->optQuarter);
        select(groups[group]);
    } else if (group == 4 || group == 5) {
        select(m_ui->optHalf);
        select(groups[group - 4]);
    } else {
        reselect(m_ui->optQuarter);
    }
}

void main4000::selectSlaveCount(int slaves)
{
    const bool twoOffered = m_ui->opt2Slave->isVisibleTo(this);
    if (slaves == 1)
        reselect(m_ui->opt1Slave);
    else if (slaves == 2 && twoOffered)
        select(m_ui->opt2Slave);
    else
        reselect(twoOffered ? m_ui->opt2Slave : m_ui->opt1Slave);
}

void main4000::cboRackSize_Click()
{
    m_ui->frmBusProt->show();
    applyRackSize();
}

void main4000::applyRackSize()
{
    const qsizetype code = rackSizes().indexOf(m_ui->cboRackSize->currentText());
    if (code < 0)
        return;
    m_ctx.session.rec.AuxByte3 = quint8(code);
}

void main4000::takeShownValues()
{
    // A list that shows a value stands for it: each list this layout leaves showing writes
    // its value into the record and the summary, as the user's pick of it would, so that
    // what the form shows is what is sent.
    const auto shown = [this](QWidget *w) { return w->isVisibleTo(this); };
    if (shown(m_ui->cboStationNumber))
        applyStationNumber();
    if (shown(m_ui->cboModbusAdd))
        cboModbusAdd_Click();
    if (shown(m_ui->cboRackNum))
        cboRackNum_Click();
    if (shown(m_ui->cboHighAddress))
        cboHighAddress_Click();
    if (shown(m_ui->cboRackRange))
        cboRackRange_Click();
    if (shown(m_ui->cboRackSize))
        applyRackSize();
    if (shown(m_ui->cboNetworkSpeed))
        cboNetworkSpeed_Click();
    if (shown(m_ui->cboNetworkSpeed2))
        cboNetworkSpeed2_Click();
    if (shown(m_ui->cboAsyncSpeed))
        cboAsyncSpeed_Click();
    if (shown(m_ui->cboAsyncSpeedC))
        cboAsyncSpeedC_Click();
    if (shown(m_ui->cboChannelCSpeed))
        cboChannelCSpeed_Click();
    if (shown(m_ui->cboSLAVE1))
        cboSLAVE1_Click();
    if (shown(m_ui->cboSlave2))
        cboSlave2_Click();
}

void main4000::takeShownDialogs()
{
    // The drive layouts preset fields their dialog shows (the protocol, the wiring bit that
    // the standard layout clears): the dialog's choices stand, as the user left them. A drive
    // dialog that its close box or cancel destroyed comes back now, as it would open, so that
    // the summary and the record follow it.
    if (m_ui->optWOLTA->isChecked()) {
        if (auto *d = m_ctx.forms.form<siemens_param>(QStringLiteral("siemens_param")))
            d->restoreChoices();
    }
    if (m_ui->optLBW->isChecked()) {
        if (auto *d = qobject_cast<modbus_prot *>(m_ctx.forms.existing(QStringLiteral("modbus_prot"))))
            d->restoreChoices();
    }
    if (m_ui->optEPV4->isChecked()) {
        if (auto *d = m_ctx.forms.form<toshiba_VFD>(QStringLiteral("toshiba_VFD")))
            d->restoreChoices();
    }
}

void main4000::networkSpeed(QComboBox *combo)
{
    const QString text = combo->currentText();
    if (const std::optional<quint8> code = speedCodeOf(NetworkSpeeds, text)) {
        m_ctx.session.rec.NetworkSpeed = {*code, 0};
    }
}

void main4000::cboNetworkSpeed_Click()
{
    networkSpeed(m_ui->cboNetworkSpeed);
}

void main4000::cboNetworkSpeed2_Click()
{
    networkSpeed(m_ui->cboNetworkSpeed2);
}

bool main4000::channelSpeed(QComboBox *combo, quint8 &code, QLabel *unitsLabel)
{
    const QString text = combo->currentText();
    const std::optional<quint8> c = speedCodeOf(ChannelSpeeds, text);
    // A text outside the table changes nothing, so the speed byte keeps a valid code.
    if (!c)
        return false;
    code = *c;
    unitsLabel->setText(*c <= LastBaudCode ? QStringLiteral("Baud") : QStringLiteral("Kbaud"));
    return true;
}

void main4000::cboAsyncSpeed_Click()
{
    ConfigRecord &rec = m_ctx.session.rec;
    quint8 code = 0;
    if (!channelSpeed(m_ui->cboAsyncSpeed, code, m_ui->lblKbaud2))
        return;
    rec.ChanBSpeedSel = DecimalText::fromNumber(code);
    rec.ChanBSpeed = code;
}

void main4000::cboAsyncSpeedC_Click()
{
    ConfigRecord &rec = m_ctx.session.rec;
    quint8 code = 0;
    if (!channelSpeed(m_ui->cboAsyncSpeedC, code, m_ui->lblKbaudC))
        return;
    rec.ChanCSpeedSelA = DecimalText::fromNumber(code);
    rec.ChanCSpeed = code;
}

void main4000::cboChannelCSpeed_Click()
{
    ConfigRecord &rec = m_ctx.session.rec;
    quint8 code = 0;
    if (!channelSpeed(m_ui->cboChannelCSpeed, code, m_ui->lblChannelCKbaud))
        return;
    rec.ChanCSpeedSelB = DecimalText::fromNumber(code);
    rec.ChanCSpeed = code;
}

void main4000::cboSLAVE1_Click()
{
    if (const std::optional<int> v = decimalValue(m_ui->cboSLAVE1->currentText(), 0, 255))
        m_ctx.session.rec.AuxByte3 = quint8(*v);
}

void main4000::cboSlave2_Click()
{
    if (const std::optional<int> v = decimalValue(m_ui->cboSlave2->currentText(), 0, 255))
        m_ctx.session.rec.AuxByte4 = quint8(*v);
}

// ---- RIO-to-Modbus options ---------------------------------------------------------------

void main4000::optQuarter_Click(bool on)
{
    if (!on)
        return;
    setVisible({m_ui->optSG4, m_ui->optSG6}, true);
    moveLeftTwips(m_ui->optSG2, 720);
    m_ui->optSG2->setText(QStringLiteral("2"));
    m_RioGroupBase = 0;
    reselect(m_ui->optSG0);
    reselect(m_ui->opt1Slave);
    // A quarter rack has room for one slave only.
    m_ui->opt2Slave->hide();
}

void main4000::optHalf_Click(bool on)
{
    if (!on)
        return;
    setVisible({m_ui->optSG4, m_ui->optSG6}, false);
    // A half rack starts at group 0 or 4; the second button stands for 4.
    moveLeftTwips(m_ui->optSG2, 1320);
    m_ui->optSG2->setText(QStringLiteral("4"));
    m_RioGroupBase = 4;
    reselect(m_ui->optSG0);
    m_ui->opt2Slave->show();
    select(m_ui->opt2Slave);
}

void main4000::startingGroup(int offset)
{
    m_ctx.session.rec.AuxByte2 = DecimalText::fromNumber(m_RioGroupBase + offset);
}

void main4000::optSG0_Click(bool on)
{
    if (on)
        startingGroup(0);
}

void main4000::optSG2_Click(bool on)
{
    if (on)
        startingGroup(1);
}

void main4000::optSG4_Click(bool on)
{
    if (on)
        startingGroup(2);
}

void main4000::optSG6_Click(bool on)
{
    if (on)
        startingGroup(3);
}

void main4000::opt1Slave_Click(bool on)
{
    if (!on)
        return;
    setVisible({m_ui->lblXAJSlave1, m_ui->cboSLAVE1}, true);
    setVisible({m_ui->lblXAJSlave2, m_ui->cboSlave2}, false);
    m_ctx.session.rec.AuxByte1.set("1");
}

void main4000::opt2Slave_Click(bool on)
{
    if (!on)
        return;
    setVisible({m_ui->lblXAJSlave2, m_ui->cboSlave2}, true);
    m_ctx.session.rec.AuxByte1.set("2");
}

// ---- Zumbach modes and Brabender device types --------------------------------------------

void main4000::optQOF_Host_Click(bool on)
{
    if (on)
        m_ctx.session.rec.ProtoParam[0] = 1;
}

void main4000::optQOF_Terminal_Click(bool on)
{
    if (on)
        m_ctx.session.rec.ProtoParam[0] = 0;
}

void main4000::deviceType(int code)
{
    m_ctx.session.rec.ProtoParam[0] = quint8(code);
    m_ctx.session.rec.ProtoParam[1] = 0;
}

void main4000::optSType_Click(bool on)
{
    if (on)
        deviceType(0);
}

void main4000::optMType_Click(bool on)
{
    if (on)
        deviceType(1);
}

void main4000::optLMType_Click(bool on)
{
    if (on)
        deviceType(2);
}

void main4000::optPT03Type_Click(bool on)
{
    if (on)
        deviceType(3);
}

void main4000::optLType_Click(bool on)
{
    if (on)
        deviceType(4);
}

void main4000::optSAType_Click(bool on)
{
    if (on)
        deviceType(5);
}

// ---- Buttons -----------------------------------------------------------------------------

void main4000::cmdCONFIG_Click()
{
    m_file_menu->popup(QCursor::pos());
}

void main4000::cmdNext_Click()
{
    hide();
    m_ctx.forms.show(View);
}

void main4000::cmdRETURN_Click()
{
    hide();
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}

void main4000::cmdEXIT_Click()
{
    QCoreApplication::quit();
}

void main4000::Command3_Click()
{
    openDialog(QStringLiteral("paramConfigB"));
}

void main4000::cmdAsyncC_Click()
{
    openDialog(QStringLiteral("paramConfigC"));
}

void main4000::cmdChannelC_Click()
{
    const QString dlg = QStringLiteral("paramConfigC");
    // The dialog shows channel C's format as the record holds it, with handshaking locked.
    auto *chanC = m_ctx.forms.form<paramConfigC>(dlg);
    if (!chanC)
        return;
    chanC->lockHandshake(QStringLiteral("MODBUS PROTOCOL PARAMETERS"));
    openDialog(dlg);
}

void main4000::cmdProtParam_Click()
{
    openDialog(QStringLiteral("df_Param"));
}

void main4000::cmdModBus_Click()
{
    openDialog(QStringLiteral("modbus_prot"), true);
}

void main4000::cmdSiemensParam_Click()
{
    openDialog(QStringLiteral("siemens_param"), true);
}

void main4000::cmdToshibaParam_Click()
{
    openDialog(QStringLiteral("toshiba_VFD"));
}

void main4000::cmdRioBt_Click()
{
    // The map opens on what the record holds, which a cancel then puts back.
    if (auto *map = m_ctx.forms.form<rio_bt>(QStringLiteral("rio_bt")))
        map->fillFromRecord();
    openDialog(QStringLiteral("rio_bt"));
}

void main4000::cmdYZE_Click()
{
    const ModelInfo *model = m_ctx.session.model;
    openDialog(QLatin1String(model && model->dataTableForm ? model->dataTableForm : "YZE_DataTable"));
}

void main4000::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}
