// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include <QList>

#include <QWidget>

#include <optional>

#include <initializer_list>

struct AppContext;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QRadioButton;

namespace Ui {
class main4000;
}

// The main configuration form: network and channel parameters of the chosen model. Every
// choice writes the configuration record at once; the summary shows the record.
// One form serves every model; the operating-mode options lay it out for their mode.
class main4000 : public QWidget
{
    Q_OBJECT

public:
    explicit main4000(AppContext &ctx, QWidget *parent = nullptr);
    ~main4000() override;

    // An action of the configuration pop-up menu: "save_file", "open_file", "bar1" or
    // "restore_configuration" (nullptr for any other name). Their triggered() belongs to the
    // file code.
    QAction *action(const QString &name) const;
    QMenu *fileMenu() const { return m_file_menu; }

    // Base of the RIO starting-group code: 0 for a quarter rack, 4 for a half rack.
    int rioGroupBase() const { return m_RioGroupBase; }

    // The operating-mode options, which the model set-up and the defaults offer and select.
    enum class Mode { KF2NGD, NGD, PXA, F7H, UCT, TBQ, JMR, LBW, EPV4, WOLTA };
    // The rack range n picked in its list as the user picks it (the rack map's options do).
    void pickRackRange(int n);
    // Shows the mode's option at the left of the mode row, or at its right.
    void offerMode(Mode mode, bool right);
    // Selects the mode's option as a click does: nothing runs where it is selected already.
    void selectMode(Mode mode);
    // Unchecks it, so that the next selectMode() runs its layout.
    void deselectMode(Mode mode);
    bool isModeSelected(Mode mode) const;
    void setModeCaption(Mode mode, const QString &caption);
    // "AB - DH+" selected again, so that its layout runs where it is selected already.
    void reselectNetworkDH();
    // The Zumbach models start in "Terminal Mode".
    void selectZumbachTerminal();
    // Speeds a model adds to the channel B and network lists; ensureChannelSpeed adds one
    // only where the list lacks it.
    void appendChannelSpeeds(const QStringList &items);
    void ensureChannelSpeed(const QString &item);
    void appendNetworkSpeeds(const QStringList &items);
    // The ASCII display models have no high address.
    void hideHighAddress();
    // What the custom set-up of the drive and Brabender models shows: Modbus addresses 1 to
    // 247 from the first, 9600 Baud on both channels, the station given and the first network
    // speed, without running the lists' handlers.
    void showCustomDefaults(int station);

    // Every list shows the record's value where it has an item for it (a hidden list too, so
    // that a layout that shows it again writes that value), with the labels that follow the
    // lists, and the options that stand for a value show it; no handler runs.
    void showRecord();
    // A loaded file's layout choices, each selected as a click would: the network side of
    // the layouts that offer one (0 DH+, 1 RIO, 2 Modbus; DH+ for any other code), the
    // RIO-to-Modbus rack (starting groups 0 to 3 of a quarter rack, 4 and 5 for groups 0 and
    // 4 of a half rack) and its number of slaves (as many as the rack offers for another).
    bool offersNetworkChoice() const;
    void selectNetwork(int code);
    void selectRioRack(int group);
    void selectSlaveCount(int slaves);

    // The lists and label the main menu's reset shows: 57.6, 9600 Baud, station 1, high
    // address 2, without running their handlers (the reset writes the record itself).
    void showResetValues();

    // The "STANDARD DF1 to DH+" layout, which resets everything the other layouts change.
    // optKF2NGD runs it when selected.
    void applyStandardLayout();

    // The frame of the freestanding units: the form's size and the heights and tops of its
    // frames and bottom buttons. Every mode layout starts from the geometry this leaves, so
    // that no layout depends on which one ran before it.
    void layoutForFreestanding();

protected:
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    // Lists.
    void cboStationNumber_Click();
    void cboHighAddress_Click();
    void cboModbusAdd_Click();
    void cboRackNum_Click();
    void cboRackRange_Click();
    void cboRackSize_Click();
    void cboNetworkSpeed_Click();
    void cboNetworkSpeed2_Click();
    void cboAsyncSpeed_Click();
    void cboAsyncSpeedC_Click();
    void cboChannelCSpeed_Click();
    void cboSLAVE1_Click();
    void cboSlave2_Click();

    // RIO-to-Modbus options, device types and Zumbach modes.
    void optQuarter_Click(bool on);
    void optHalf_Click(bool on);
    void optSG0_Click(bool on);
    void optSG2_Click(bool on);
    void optSG4_Click(bool on);
    void optSG6_Click(bool on);
    void opt1Slave_Click(bool on);
    void opt2Slave_Click(bool on);
    void optQOF_Host_Click(bool on);
    void optQOF_Terminal_Click(bool on);
    void optSType_Click(bool on);
    void optMType_Click(bool on);
    void optLMType_Click(bool on);
    void optPT03Type_Click(bool on);
    void optLType_Click(bool on);
    void optSAType_Click(bool on);

    // Operating modes (main4000_layouts.cpp).
    void optKF2NGD_Click(bool on);
    void optNGD_Click(bool on);
    void optPXA_Click(bool on);
    void optF7H_Click(bool on);
    void optUCT_Click(bool on);
    void optTBQ_Click(bool on);
    void optJMR_Click(bool on);
    void optLBW_Click(bool on);
    void optEPV4_Click(bool on);
    void optWOLTA_Click(bool on);

    // Network side of the Brabender and drive models (main4000_layouts.cpp).
    void optSiemensDH_Click(bool on);
    void optSiemensRIO_Click(bool on);
    void optSiemensMOD_Click(bool on);

    // Buttons.
    void cmdCONFIG_Click();
    void cmdNext_Click();
    void cmdRETURN_Click();
    void cmdEXIT_Click();
    void Command3_Click();
    void cmdAsyncC_Click();
    void cmdChannelC_Click();
    void cmdProtParam_Click();
    void cmdModBus_Click();
    void cmdSiemensParam_Click();
    void cmdToshibaParam_Click();
    void cmdRioBt_Click();
    void cmdYZE_Click();

private:
    using Widgets = QList<QWidget *>;

    void connectControls();
    QRadioButton *modeOption(Mode mode) const;
    void buildFileMenu();
    void guardLists();

    // The shared part of the six Brabender device types.
    void deviceType(int code);
    void startingGroup(int offset);
    // Channel speed lists: the code and the units label.
    bool channelSpeed(QComboBox *combo, quint8 &code, QLabel *unitsLabel);
    void networkSpeed(QComboBox *combo);
    // The primary effects of the station and rack size lists, without what a pick does
    // besides (the bridging high address, the bus frame shown).
    bool applyStationNumber();
    void applyRackSize();
    // Every value list the form shows writes what it shows into the record.
    void takeShownValues();
    // The same for the drive dialogs of the mode that shows them.
    void takeShownDialogs();

    // A dialog opened beside this form, which stays visible but inert until the dialog's
    // accept; or instead of it, when hideMain. Nothing happens while the dialog is not part
    // of the program.
    bool openDialog(const QString &name, bool hideMain = false);

    // Whether the chosen model is of this kind.
    bool isKind(ModelKind kind) const;

    static void setVisible(const Widgets &widgets, bool visible);
    static void setEnabled(const Widgets &widgets, bool enabled);
    static void moveTop(const Widgets &widgets, int topTwips);

    // Control groups that the layouts show, hide and move together.
    Widgets stationRow() const;
    Widgets networkSpeedLabels() const;
    Widgets highAddressRow() const;
    Widgets rackNumberRow() const;
    Widgets rackControls() const;
    Widgets channelCGroup() const;
    Widgets modbusSide() const;
    Widgets networkOptions() const;
    Widgets deviceTypes() const;
    Widgets rioFrames() const;

    // Layout pieces (main4000_layouts.cpp).
    void captureBaseGeometry();
    void restoreBaseGeometry();
    void showProtocolFrames();
    void hideRackControls();
    void applyCaptions(const char *option);
    void setWhoActiveMode(bool allowed);
    void hideDualChannelNote();
    // What every mode layout but the standard and the dual-DF1 one presets: channel C off,
    // the given fields (an empty one is left as it is), who-active disabled on the main menu
    // and the DF1 dialog's dual-channel note hidden.
    struct ModePreset
    {
        std::optional<quint8> protocolMode;
        std::optional<quint8> highAddress;
        CharPair busType;
    };
    void presetOtherMode(const ModePreset &preset);
    void fillSlaveList(QComboBox *combo);
    void addRackSizes();
    void layoutRioAdapter();
    void layoutRioToModbus();

    AppContext &m_ctx;
    Ui::main4000 *m_ui;
    QMenu *m_file_menu;
    int m_RioGroupBase = 0;
    // Every control's geometry as layoutForFreestanding() leaves it, but the mode options',
    // which the model set-up places.
    QList<QPair<QWidget *, QRect>> m_baseGeometry;
    QSize m_baseSize;
};
