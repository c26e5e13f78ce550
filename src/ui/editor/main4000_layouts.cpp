// SPDX-License-Identifier: GPL-3.0-or-later
// The per-mode layouts of main4000: each operating mode shows what it needs, hides the rest,
// captions the frames and buttons, presets the record fields it owns and lays out its
// dialogs. The standard layout resets what the others change; for most models it has run
// just before the model's own layout.

#include "main4000.h"
#include "ui_main4000.h"

#include "editor/datatable.h"
#include "editor/df_param.h"
#include "editor/modbus_prot.h"
#include "editor/paramconfigc.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/formutil.h"
#include "session/session.h"
#include "shell/welcome1.h"

#include <QAction>
#include <QGroupBox>

namespace {

// Captions per mode; nullptr leaves a caption as it is.
struct ModeCaptions
{
    const char *mode; // option name, and a variant's name after a colon
    const char *frmNetProt;
    const char *frmBusProt;
    const char *frmProtParam;
    const char *Label1;
    const char *Command3;
    const char *paramConfigB; // the channel B dialog's title
};

constexpr ModeCaptions Captions[] = {
    {"optKF2NGD", "AB DH+ NETWORK PARAMETERS", "DF1 SERIAL COMMUNICATION PROTOCOL",
     "ADVANCED DF1 PROTOCOL PARAMETERS", "CHANNEL SERIAL SPEED", "SET/CHANGE CHANNEL SERIAL PARAMETERS",
     "DF1 CHAN. SERIAL PARAMETERS"},
    {"optNGD", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"optPXA", nullptr, nullptr, nullptr, "CHANNEL SERIAL SPEED", "SET/CHANGE CHANNEL SERIAL PARAMETERS",
     "DF1 CHAN. SERIAL PARAMETERS"},
    {"optF7H", "AB DH+ NETWORK PARAMETERS", nullptr, "BOTH DF1 CHANNELS ADVANCED DF1 PROTOCOL PARAMETERS",
     "1ST CHAN. SERIAL SPEED", "SET/CHANGE 1ST CHAN. SERIAL PARAMETERS", "1ST DF1 CHAN. SERIAL PARAMETERS"},
    {"optUCT", "AB RIO NETWORK PARAMETERS", nullptr, nullptr, "CHANNEL SERIAL SPEED",
     "SET/CHANGE CHANNEL SERIAL PARAMETERS", nullptr},
    {"optUCT:RioToModbus", "AB RIO NETWORK PARAMETERS", "MODBUS SERIAL COMMUNICATION PROTOCOL", nullptr,
     "MODBUS SERIAL SPEED", "SET/CHANGE MODBUS SERIAL PARAMETERS", "MODBUS ASYNC PARAMETERS"},
    {"optTBQ", nullptr, "ASCII COMMUNICATION PROTOCOL", nullptr, "ASCII ASYNC SPEED",
     "SET/CHANGE ASCII ASYNC PARAMETERS", "ASCII ASYNC PARAMETERS"},
    {"optTBQ:Zumbach", nullptr, "ZUMBACH COMMUNICATION PROTOCOL", nullptr, "ZUMBAHC ASYNC SPEED",
     "SET/CHANGE ZUMBACH ASYNC PARAMETERS", "ZUMBACH ASYNC PARAMETERS"},
    {"optJMR", nullptr, "BRABENDER EQUIPMENT COMMUNICATION PROTOCOL", "BRABENDER EQUIPMENT SELECTION",
     nullptr, "SET/CHANGE PROTOCOL PARAMETERS", "BRABENDER PROTOCOL PARAMETERS"},
    {"optLBW", nullptr, "MODBUS RTU COMMUNICATION PROTOCOL", "ADVANCED MODBUS RTU PARAMETERS",
     "MODBUS ASYNC SPEED", "SET/CHANGE MODBUS ASYNC PARAMETERS", "MODBUS ASYNC PARAMETERS"},
    {"optEPV4", "MODBUS PROTOCOL PARAMETERS", "TOSHIBA VFD COMMUNICATION PROTOCOL", nullptr,
     "VFD ASYNC SPEED", "SET/CHANGE VFD ASYNC PARAMETERS", "TOSHIBA VFD ASYNC PARAMETERS"},
    {"optWOLTA", "MODBUS PROTOCOL PARAMETERS", "SIEMENS DRIVE COMMUNICATION PROTOCOL", nullptr,
     "DRIVE ASYNC SPEED", "SET/CHANGE DRIVE ASYNC PARAMETERS", "SIEMENS DRIVE ASYNC PARAMETERS"},
};

} // namespace

// ---- Control groups ----------------------------------------------------------------------

main4000::Widgets main4000::stationRow() const
{
    return {m_ui->lblStnNum, m_ui->cboStationNumber, m_ui->lblOctal1};
}

main4000::Widgets main4000::networkSpeedLabels() const
{
    return {m_ui->lblNetSpeed, m_ui->lblKbaud};
}

main4000::Widgets main4000::highAddressRow() const
{
    return {m_ui->lblHighAddress, m_ui->cboHighAddress, m_ui->lblOctal};
}

main4000::Widgets main4000::rackNumberRow() const
{
    // lblOctal1 serves the station row and this row alike.
    return {m_ui->lblRackNum, m_ui->cboRackNum, m_ui->lblOctal1};
}

main4000::Widgets main4000::rackControls() const
{
    return {m_ui->lblRackNum,  m_ui->cboRackNum,   m_ui->lblRackSize,
            m_ui->cboRackSize, m_ui->lblRackRange, m_ui->cboRackRange};
}

main4000::Widgets main4000::channelCGroup() const
{
    return {m_ui->lblAsyncC, m_ui->cboAsyncSpeedC, m_ui->lblKbaudC, m_ui->cmdAsyncC};
}

main4000::Widgets main4000::modbusSide() const
{
    return {m_ui->lblSlaveAddress,  m_ui->cboModbusAdd,     m_ui->lblChannelCSpeed,
            m_ui->cboChannelCSpeed, m_ui->lblChannelCKbaud, m_ui->cmdChannelC};
}

main4000::Widgets main4000::networkOptions() const
{
    return {m_ui->optSiemensDH, m_ui->optSiemensRIO, m_ui->optSiemensMOD};
}

main4000::Widgets main4000::deviceTypes() const
{
    return {m_ui->optSType,    m_ui->optMType, m_ui->optLMType,
            m_ui->optPT03Type, m_ui->optLType, m_ui->optSAType};
}

main4000::Widgets main4000::rioFrames() const
{
    return {m_ui->frmRackSize, m_ui->frmSG,        m_ui->frmNumSlaves, m_ui->lblXAJSlave1,
            m_ui->cboSLAVE1,   m_ui->lblXAJSlave2, m_ui->cboSlave2};
}

// ---- Geometry ----------------------------------------------------------------------------

void main4000::layoutForFreestanding()
{
    m_ui->frmMode->show();
    setSize(this, twips(8220), twips(6000));
    setHeightTwips(m_ui->frmMode, 735);
    moveTopTwips(m_ui->frmMode, 120);
    moveTopTwips(m_ui->frmNetProt, 960);
    setHeightTwips(m_ui->frmNetProt, 1800);
    moveTopTwips(m_ui->frmBusProt, 2800);
    setHeightTwips(m_ui->frmBusProt, 1600);
    moveTopTwips(m_ui->frmProtParam, 4440);
    setHeightTwips(m_ui->frmProtParam, 675);
    for (QWidget *b : {m_ui->cmdNext, m_ui->cmdRETURN, m_ui->cmdEXIT, m_ui->cmdCONFIG})
        moveTopTwips(b, 5140);
    captureBaseGeometry();
}

void main4000::captureBaseGeometry()
{
    m_baseGeometry.clear();
    // The form's own controls: those on it and in its frames, not the parts of a list.
    const auto children = findChildren<QWidget *>();
    for (QWidget *w : children) {
        QWidget *parent = w->parentWidget();
        if (w->isWindow() || parent == m_ui->frmMode ||
            (parent != this && !qobject_cast<QGroupBox *>(parent)))
            continue;
        m_baseGeometry.append({w, w->geometry()});
    }
    m_baseSize = size();
}

void main4000::restoreBaseGeometry()
{
    for (const auto &[w, rect] : std::as_const(m_baseGeometry))
        w->setGeometry(rect);
    setSize(this, m_baseSize.width(), m_baseSize.height());
}

// ---- Shared pieces -----------------------------------------------------------------------

void main4000::showProtocolFrames()
{
    setVisible({m_ui->frmNetProt, m_ui->frmBusProt, m_ui->frmProtParam}, true);
}

void main4000::hideRackControls()
{
    setVisible(rackControls(), false);
    setEnabled({m_ui->cboRackSize, m_ui->cboRackRange}, false);
}

void main4000::applyCaptions(const char *mode)
{
    for (const ModeCaptions &c : Captions) {
        if (qstrcmp(c.mode, mode) != 0)
            continue;
        if (c.frmNetProt)
            m_ui->frmNetProt->setTitle(QLatin1String(c.frmNetProt));
        if (c.frmBusProt)
            m_ui->frmBusProt->setTitle(QLatin1String(c.frmBusProt));
        if (c.frmProtParam)
            m_ui->frmProtParam->setTitle(QLatin1String(c.frmProtParam));
        if (c.Label1)
            m_ui->Label1->setText(QLatin1String(c.Label1));
        if (c.Command3)
            m_ui->Command3->setText(QLatin1String(c.Command3));
        if (c.paramConfigB) {
            if (auto *chanB = m_ctx.forms.form<paramConfigB>(QStringLiteral("paramConfigB")))
                chanB->setWindowTitle(QLatin1String(c.paramConfigB));
        }
        return;
    }
}

void main4000::setWhoActiveMode(bool allowed)
{
    // The DH+ diagnostics belong to the DF1-to-DH+ modes, and need a port that tested good.
    m_ctx.session.WhoActiveMode = allowed;
    if (auto *menu = m_ctx.forms.form<Welcome1>(QStringLiteral("Welcome1")))
        menu->enableWhoActive(allowed && m_ctx.session.PortTestedGood);
}

void main4000::hideDualChannelNote()
{
    if (auto *df = m_ctx.forms.form<df_Param>(QStringLiteral("df_Param")))
        df->layoutOtherProtocol();
}

void main4000::presetOtherMode(const ModePreset &preset)
{
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ChanCSpeed = 0;
    rec.ChanCFormat = 0;
    if (preset.protocolMode)
        rec.ProtocolMode = *preset.protocolMode;
    if (preset.highAddress)
        rec.HighAddress = *preset.highAddress;
    rec.BusType = preset.busType;
    setWhoActiveMode(false);
    hideDualChannelNote();
}

void main4000::fillSlaveList(QComboBox *combo)
{
    // Filled once: the layout may run again for the same model.
    if (combo->count() > 0)
        return;
    for (int a = 1; a <= 247; ++a)
        combo->addItem(QString::number(a));
}

void main4000::addRackSizes()
{
    // Added once, however often the drive layouts run.
    for (const QString &s : {QStringLiteral("1/4"), QStringLiteral("1/2")}) {
        if (m_ui->cboRackSize->findText(s) < 0)
            m_ui->cboRackSize->addItem(s);
    }
}

// ---- Standard DF1 to DH+ -----------------------------------------------------------------

void main4000::optKF2NGD_Click(bool on)
{
    if (on)
        applyStandardLayout();
}

void main4000::applyStandardLayout()
{
    ConfigRecord &rec = m_ctx.session.rec;
    restoreBaseGeometry();
    action(QStringLiteral("open_file"))->setEnabled(true);
    action(QStringLiteral("save_file"))->setEnabled(true);

    setVisible(deviceTypes(), false);
    setVisible(networkOptions(), false);
    select(m_ui->optSiemensDH);
    m_ui->cmdProtParam->show();
    rec.ChanCSpeed = 0;
    rec.ChanCFormat = 0;
    setVisible({m_ui->txtF7H, m_ui->lblF7H}, false);

    showProtocolFrames();
    applyCaptions("optKF2NGD");
    if (auto *df = m_ctx.forms.form<df_Param>(QStringLiteral("df_Param")))
        df->layoutStandard();

    setVisible({m_ui->cmdToshibaParam, m_ui->cmdAsyncC, m_ui->cmdSiemensParam}, false);
    setVisible(stationRow(), true);
    m_ui->lblOctal->hide();
    hideRackControls();
    setVisible(channelCGroup(), false);
    setVisible({m_ui->cboHighAddress, m_ui->lblHighAddress}, false);

    moveTop(stationRow() + networkSpeedLabels() + Widgets{m_ui->cboNetworkSpeed}, 1200);
    setVisible(networkSpeedLabels() + Widgets{m_ui->cboNetworkSpeed}, true);

    setVisible(modbusSide(), false);
    // The slave rows go with their frames, or they would stay on top of the channel C button.
    setVisible(rioFrames(), false);
    setVisible({m_ui->cboNetworkSpeed2, m_ui->cmdRioBt, m_ui->cmdModBus, m_ui->cmdYZE}, false);
    m_ui->frmZumbach->hide();

    rec.ProtocolMode = 0;
    rec.HighAddress = 0;
    rec.BusType = {0, 0};
    rec.AuxByte4 = 0;
    rec.AuxByte3 = 0;
    rec.AuxByte2.set("0");
    rec.AuxByte1.set("0");

    setWhoActiveMode(true);
}

// ---- Bridging, multidrop master and dual DF1 ---------------------------------------------

void main4000::optNGD_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    showProtocolFrames();
    setVisible(stationRow(), true);
    moveTop(stationRow(), 840);
    setVisible(highAddressRow(), true);
    moveTop(highAddressRow(), 1200);
    m_ui->lblHighAddress->setText(QStringLiteral("HIGH ADDRESS"));
    // The list and the summary show the high address the layout sets, not the reset's "2".
    showText(m_ui->cboHighAddress, QStringLiteral("1"));
    hideRackControls();

    presetOtherMode({0, 1, {1, 0}});
}

void main4000::optPXA_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    ConfigRecord &rec = m_ctx.session.rec;
    showProtocolFrames();
    setVisible(stationRow(), true);
    setVisible(highAddressRow(), true);
    m_ui->lblHighAddress->setText(QStringLiteral("HIGH ADDRESS"));
    showText(m_ui->cboHighAddress, QStringLiteral("1"));
    if (auto *df = m_ctx.forms.form<df_Param>(QStringLiteral("df_Param")))
        df->layoutMultidropMaster();
    applyCaptions("optPXA");

    rec.ProtocolMode = 0;
    rec.HighAddress = 1;
    rec.BusType = {1, 0};
    setWhoActiveMode(false);
}

void main4000::optF7H_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    ConfigRecord &rec = m_ctx.session.rec;
    showProtocolFrames();
    setVisible(channelCGroup(), true);
    showText(m_ui->cboAsyncSpeedC, QStringLiteral("9600"));
    m_ui->lblKbaudC->setText(QStringLiteral("Baud"));

    // The second channel takes the next DH+ node, shown on its own row.
    const Widgets second{m_ui->lblF7H, m_ui->txtF7H, m_ui->lblOctal};
    setVisible(second, true);
    moveTop(second, 1440);
    bool ok = false;
    const int station = m_ui->cboStationNumber->currentText().toInt(&ok, 8);
    if (ok)
        m_ui->txtF7H->setText(QString::number(station + 1, 8));
    moveTop(stationRow() + networkSpeedLabels() + Widgets{m_ui->cboNetworkSpeed}, 1080);

    m_ui->lblAsyncC->setText(QStringLiteral("2ND CHAN. SERIAL SPEED"));
    m_ui->cmdAsyncC->setText(QStringLiteral("SET/CHANGE 2ND CHAN. SERIAL PARAMETERS"));
    m_ui->cmdAsyncC->show();
    if (auto *df = m_ctx.forms.form<df_Param>(QStringLiteral("df_Param")))
        df->layoutDualChannel();
    // The second DF1 channel never uses handshaking.
    if (auto *c = m_ctx.forms.form<paramConfigC>(QStringLiteral("paramConfigC"))) {
        c->lockHandshake(QStringLiteral("2ND DF1 CHAN. SERIAL PARAMETERS"));
        c->selectDefaults();
    }

    hideRackControls();
    setVisible({m_ui->lblHighAddress, m_ui->cboHighAddress}, false);
    applyCaptions("optF7H");

    rec.ChanCSpeed = 8;
    rec.ProtocolMode = 0;
    rec.HighAddress = 0;
    rec.BusType = {2, 0};
    setWhoActiveMode(true);
}

// ---- RIO adapter and RIO to Modbus -------------------------------------------------------

void main4000::optUCT_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    ConfigRecord &rec = m_ctx.session.rec;
    const bool toModbus = isKind(ModelKind::RioToModbus);

    setVisible({m_ui->frmNetProt, m_ui->frmBusProt}, true);
    setVisible(rackNumberRow(), true);
    moveTop(rackNumberRow(), 840);
    m_ui->cboNetworkSpeed->hide();
    m_ui->cboNetworkSpeed2->show();
    showText(m_ui->cboNetworkSpeed2, QStringLiteral("57.6"));
    // The station row gives way to the rack number row; the octal label stays for it.
    setVisible({m_ui->lblStnNum, m_ui->cboStationNumber}, false);
    showText(m_ui->cboRackNum, QStringLiteral("1"));

    if (toModbus)
        layoutRioToModbus();
    else
        layoutRioAdapter();

    rec.NetworkSpeed = {8, 0};
    rec.StationNumber = 1;
    if (toModbus) {
        rec.AuxByte3 = 1;
        rec.AuxByte4 = 2;
        presetOtherMode({1, std::nullopt, {1, 0}});
    } else {
        presetOtherMode({1, 1, {4, 0}});
    }
}

void main4000::layoutRioAdapter()
{
    m_ui->cboNetworkSpeed2->move(m_ui->cboNetworkSpeed2->x(), m_ui->lblNetSpeed->y());
    setVisible({m_ui->cmdRioBt, m_ui->frmProtParam}, true);
    const Widgets sizeAndRange{m_ui->lblRackSize, m_ui->cboRackSize, m_ui->lblRackRange, m_ui->cboRackRange};
    setVisible(sizeAndRange, true);
    setEnabled({m_ui->cboRackSize, m_ui->cboRackRange}, true);
    moveTop(sizeAndRange, 1200);
    showText(m_ui->cboRackRange, QStringLiteral("1"));
    showText(m_ui->cboRackSize, QStringLiteral("FULL"));
    applyCaptions("optUCT");
}

void main4000::layoutRioToModbus()
{
    // No DF1 parameters on this model: the form is shorter and its buttons move up.
    setHeightTwips(this, 5450);
    for (QWidget *b : {m_ui->cmdCONFIG, m_ui->cmdNext, m_ui->cmdRETURN, m_ui->cmdEXIT})
        moveTopTwips(b, 4560);
    moveTop(rackNumberRow() + networkSpeedLabels() + Widgets{m_ui->cboNetworkSpeed2}, 240);

    m_ui->frmRackSize->show();
    moveTopTwips(m_ui->frmRackSize, 840);
    m_ui->frmSG->show();
    moveTopTwips(m_ui->frmSG, 840);
    // Run even when already chosen: it lays out the starting groups and the slave rows.
    reselect(m_ui->optQuarter);
    select(m_ui->optSG0);

    m_ui->frmNumSlaves->show();
    moveTopTwips(m_ui->frmNumSlaves, 860);
    moveTwips(m_ui->lblXAJSlave1, 4080, 800);
    moveTwips(m_ui->cboSLAVE1, 6840, 800);
    moveTwips(m_ui->lblXAJSlave2, 4080, 1180);
    moveTwips(m_ui->cboSlave2, 6840, 1180);
    fillSlaveList(m_ui->cboSLAVE1);
    fillSlaveList(m_ui->cboSlave2);
    showText(m_ui->cboSLAVE1, m_ui->cboSLAVE1->itemText(0));
    showText(m_ui->cboSlave2, m_ui->cboSlave2->itemText(1));

    m_ui->frmProtParam->hide();
    applyCaptions("optUCT:RioToModbus");
}

// ---- ASCII -------------------------------------------------------------------------------

void main4000::optTBQ_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    // The models whose ASCII layout sends its data to a PLC data table.
    const bool dataTable = m_ctx.session.model && m_ctx.session.model->dataTableForm;
    setVisible({m_ui->frmNetProt, m_ui->frmBusProt}, true);
    m_ui->frmProtParam->hide();

    if (dataTable) {
        setVisible(stationRow(), true);
        moveTop(stationRow(), 840);
        setVisible(highAddressRow(), true);
        moveTop(highAddressRow(), 1200);
        m_ui->lblHighAddress->setText(QStringLiteral("PLC ADDRESS"));
        m_ui->cboHighAddress->setToolTip(QStringLiteral(
            "Station number of the PLC on the DH+ network where the QUINTREL will send the data"));
        m_ui->cmdYZE->show();
    }
    if (isKind(ModelKind::AsciiDisplays))
        setVisible(stationRow(), true);

    if (isKind(ModelKind::Zumbach)) {
        m_ui->frmZumbach->show();
        moveTopTwips(m_ui->frmZumbach, 730);
        m_ui->optTBQ->setText(QStringLiteral("DH+ to Zumbach"));
        applyCaptions("optTBQ:Zumbach");
    } else {
        applyCaptions("optTBQ");
    }

    if (isKind(ModelKind::EatonDrives)) {
        m_ui->frmBusProt->hide();
        // This model asks for the file number alone.
        if (auto *table = m_ctx.forms.form<YZE_DataTable>(QStringLiteral("YZE_DataTable")))
            table->askFileNumberOnly(QStringLiteral("Setup QN4000-RW31 PLC DataTable Address"));
    }

    hideRackControls();
    presetOtherMode({0, 0, {1, 0}});
    // The PLC address row shows the address the layout sets, not the reset's "2".
    if (dataTable) {
        const QString plc = QString::number(m_ctx.session.rec.HighAddress, 8);
        showText(m_ui->cboHighAddress, plc);
    }
}

// ---- Brabender and Modbus ----------------------------------------------------------------

void main4000::optJMR_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    ConfigRecord &rec = m_ctx.session.rec;
    setVisible({m_ui->optSiemensMOD, m_ui->optSiemensDH}, true);
    // The DH+ side is laid out even where its option was already the selected one.
    reselect(m_ui->optSiemensDH);
    select(m_ui->optSType);
    moveTop(deviceTypes(), 240);
    setVisible(deviceTypes(), true);
    showProtocolFrames();
    applyCaptions("optJMR");
    m_ui->cmdProtParam->hide();

    rec.AuxByte1.set("0");
    rec.AuxByte2.set("0");
    rec.AuxByte3 = 0;
    presetOtherMode({std::nullopt, 0, {1, 0}});
}

void main4000::optLBW_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    showProtocolFrames();
    m_ui->cmdModBus->show();
    setVisible(stationRow(), true);
    m_ui->cmdProtParam->hide();
    hideRackControls();
    setVisible(channelCGroup(), false);
    setVisible({m_ui->lblHighAddress, m_ui->cboHighAddress, m_ui->lblOctal}, false);
    if (auto *modbus = m_ctx.forms.form<modbus_prot>(QStringLiteral("modbus_prot")))
        modbus->selectSlaveDefaults();
    applyCaptions("optLBW");

    presetOtherMode({0, 0, {1, 0}});
}

// ---- Drives ------------------------------------------------------------------------------

void main4000::optEPV4_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    ConfigRecord &rec = m_ctx.session.rec;
    // This model's configuration is not kept in files.
    action(QStringLiteral("open_file"))->setEnabled(false);
    action(QStringLiteral("save_file"))->setEnabled(false);
    setVisible(networkOptions(), true);
    reselect(m_ui->optSiemensDH);
    m_ui->cboRackSize->hide();
    showText(m_ui->cboRackSize, QStringLiteral("FULL"));
    addRackSizes();
    setVisible({m_ui->frmNetProt, m_ui->frmBusProt, m_ui->cmdToshibaParam}, true);
    m_ui->frmProtParam->hide();
    applyCaptions("optEPV4");

    rec.AuxByte1.set("0");
    rec.AuxByte2.set("0");
    presetOtherMode({std::nullopt, 0, {1, 0}});
}

void main4000::optWOLTA_Click(bool on)
{
    if (!on)
        return;
    restoreBaseGeometry();
    ConfigRecord &rec = m_ctx.session.rec;
    setVisible(networkOptions(), true);
    reselect(m_ui->optSiemensDH);
    m_ui->cboRackSize->hide();
    showText(m_ui->cboRackSize, QStringLiteral("FULL"));
    addRackSizes();
    setVisible({m_ui->frmNetProt, m_ui->frmBusProt, m_ui->cmdSiemensParam}, true);
    m_ui->frmProtParam->hide();
    applyCaptions("optWOLTA");

    rec.AuxByte1.set("20");
    rec.AuxByte2.set("0");
    rec.AuxByte3 = 2;
    presetOtherMode({std::nullopt, 0, {1, 0}});
}

// ---- Network side ------------------------------------------------------------------------

void main4000::optSiemensDH_Click(bool on)
{
    if (!on)
        return;
    m_ctx.session.rec.ProtocolMode = 0;
    m_ui->frmNetProt->setTitle(QStringLiteral("AB DH+ NETWORK PARAMETERS"));
    const Widgets row = stationRow() + networkSpeedLabels() + Widgets{m_ui->cboNetworkSpeed};
    setVisible(row, true);
    moveTop(row, 1200);
    m_ui->cboNetworkSpeed2->hide();
    setVisible(modbusSide(), false);
    // The rack labels go with their lists, so that nothing is left over the station row.
    setVisible(rackControls(), false);
}

void main4000::optSiemensRIO_Click(bool on)
{
    if (!on)
        return;
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ProtocolMode = 1;
    rec.NetworkSpeed = {8, 0};
    m_ui->frmNetProt->setTitle(QStringLiteral("AB RIO NETWORK PARAMETERS"));

    setVisible(rackNumberRow(), true);
    moveTop(rackNumberRow(), 840);
    showText(m_ui->cboRackNum, QStringLiteral("1"));
    const Widgets speed = networkSpeedLabels() + Widgets{m_ui->cboNetworkSpeed2};
    setVisible(speed, true);
    moveTop(speed, 840);
    showText(m_ui->cboNetworkSpeed2, QStringLiteral("57.6"));
    m_ui->cboRackSize->show();
    m_ui->cboRackSize->setEnabled(true);
    setVisible(modbusSide(), false);
    setVisible({m_ui->lblStnNum, m_ui->cboStationNumber, m_ui->cboNetworkSpeed}, false);

    if (isKind(ModelKind::SiemensDrives)) {
        const auto besideLabel = [](QWidget *label, QWidget *combo, int topTwips) {
            moveTwips(label, 120, topTwips);
            combo->move(label->x() + label->width() + 4, label->y());
        };
        besideLabel(m_ui->lblRackNum, m_ui->cboRackNum, 840);
        m_ui->lblRackSize->show();
        besideLabel(m_ui->lblRackSize, m_ui->cboRackSize, 1200);
        moveTwips(m_ui->cboNetworkSpeed2, 5880, 840);
    }
}

void main4000::optSiemensMOD_Click(bool on)
{
    if (!on)
        return;
    ConfigRecord &rec = m_ctx.session.rec;
    rec.ProtocolMode = 2;
    rec.ChanCSpeed = 8;
    rec.StationNumber = 1;
    m_ui->frmNetProt->setTitle(QStringLiteral("MODBUS RTU NETWORK PARAMETERS"));

    setVisible(modbusSide(), true);
    showText(m_ui->cboChannelCSpeed, QStringLiteral("9600"));
    // The Modbus address starts where the layout sets it.
    showText(m_ui->cboModbusAdd, QStringLiteral("1"));
    moveLeftTwips(m_ui->lblChannelCSpeed, 3600);
    moveLeftTwips(m_ui->cboChannelCSpeed, 6120);
    moveLeftTwips(m_ui->lblChannelCKbaud, 7000);
    // The network speed labels go too: the Modbus speed takes their place.
    setVisible(stationRow() + rackControls() + networkSpeedLabels() +
                   Widgets{m_ui->cboNetworkSpeed, m_ui->cboNetworkSpeed2},
               false);
    if (auto *c = m_ctx.forms.form<paramConfigC>(QStringLiteral("paramConfigC")))
        c->selectDefaults();
}
