// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frame/maindialog.h"

#include <QList>

#include <array>
#include <optional>

struct AppContext;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace Ui {
class rio_bt;
}

// The RIO block-transfer rack map: 112 boxes, rack 1..7, group 0..7, module 0..1, each one bit
// of ProtoParam 0..13 (rack r's groups 0..3 in byte 2r-2, 4..7 in 2r-1, bit 2 x (g mod 4) + m),
// written at once; an "enable all" box a rack, and the rack range, which follows the main
// form's list both ways. Cancel puts back the bytes the map had when it was opened.
class rio_bt : public MainFormDialog
{
    Q_OBJECT

public:
    explicit rio_bt(AppContext &ctx, QWidget *parent = nullptr);
    ~rio_bt() override;

    // The box of rack r (1..7), group g (0..7), module m (0..1): chk + r + g + m.
    QCheckBox *box(int rack, int group, int module) const;
    // Shows the record's map: the rack range (the high address), the rack labels from the rack
    // number, and every box as its bit is. Keeps the bytes for a cancel.
    void fillFromRecord();
    // The rack labels for racks from the first rack address on (the main form's rack number).
    void showRackAddresses(int first);
    // The rack range the main form's list picked: its option, as a click on it (the racks
    // beyond it lose their "enable all" tick), and the racks it shows.
    void selectRackRange(int n);

private:
    void buildRacks();
    void boxToggled(int rack, int group, int module, bool on);
    void enableAllToggled(int rack, bool on);
    void rackRangeChosen(int n);
    void cmdCancel_Click();
    void escape() override { cmdCancel_Click(); }

    AppContext &m_ctx;
    Ui::rio_bt *m_ui;
    std::array<std::array<QCheckBox *, 16>, 7> m_boxes{};
    std::array<QCheckBox *, 7> m_enableAll{};
    std::array<QGroupBox *, 7> m_frames{};
    std::array<QRadioButton *, 7> m_ranges{};
    std::optional<std::array<quint8, 14>> m_saved; // the map as it was opened
};
