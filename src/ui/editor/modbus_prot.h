// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "frame/maindialog.h"
#include "frame/numberbox.h"

#include <QList>

struct AppContext;
struct OptionBit;
class QAbstractButton;
class QLineEdit;

namespace Ui {
class modbus_prot;
}

// The Modbus side of the LBW models: framing, master or slave, serial connection, and for a
// slave the PLC type, the register range, broadcasts and the translation table of eight
// Modbus ranges onto data-table addresses. Every choice is written at once into ProtoParam:
// [1] option bits, [2] and [3] the broadcast stations, [4] the PLC type, [5] the register range
// (or, for a master, the address decode), and the table rows from [8] on. It shows the record
// when shown; the slave's range and the master's decode, which share their entry, are each
// kept for when the other side is chosen again.
class modbus_prot : public MainFormDialog
{
    Q_OBJECT

public:
    // A table word: a Modicon address, a file or a word number.
    static constexpr NumberRange WordRange{0, 65535};

    explicit modbus_prot(AppContext &ctx, QWidget *parent = nullptr);
    ~modbus_prot() override;

    // The 32 table boxes, row by row in the order start, end, file, word.
    const QList<QLineEdit *> &tableBoxes() const { return m_boxes; }
    // The first ProtoParam entry of a table box (its word is that entry and the next).
    static int entryOf(int boxIndex);
    // Shows the record's fields; those now are the user's choices.
    void showRecord();
    // The register range (slave) or the address decode (master), as last chosen, written into
    // the entry they share again, which a mode layout may have written over.
    void restoreChoices();
    // A Modbus slave on RTU framing, point to point, no broadcasts, answering for a PLC 5,
    // the first register range: each option selected as a click would.
    void selectSlaveDefaults();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QList<OptionBit> optionBits() const;
    void registerRange(int digit);
    void masterDecode(int code);
    // The frames and the window's height for the record's side and broadcast choice.
    void showLayout();
    void setBits(int mask);
    void clearBits(int mask);
    void tableBoxChanged(int boxIndex);
    // The decimal text of the word a table box stands for, as the record holds it.
    QString storedText(int boxIndex) const;
    // Every table box shows its word; nothing is stored.
    void showStoredTable();
    void Command3_Click();

    AppContext &m_ctx;
    Ui::modbus_prot *m_ui;
    QList<QLineEdit *> m_boxes;
    QList<QAbstractButton *> m_ranges;  // the register range options, by digit
    QList<QAbstractButton *> m_decodes; // the master's address decodes, by code
    int m_slaveRange = -1;              // none chosen yet: the record's entry
    int m_masterDecode = 0;
    bool m_showing = false; // in the show event
};
