#pragma once

#include "frame/maindialog.h"
#include "frame/numberbox.h"

#include <QList>

struct AppContext;
class QLineEdit;

namespace Ui {
class modbus_prot;
}

// The Modbus side of the LBW models: framing, master or slave, serial connection, and for a
// slave the PLC type, the register range, broadcasts and the translation table of eight
// Modbus ranges onto data-table addresses. Every choice is written at once into ProtoParam:
// [1] option bits, [2] and [3] the broadcast stations, [4] the PLC type, [5] the register range
// (or, for a master, the address decode), and the table rows from [8] on.
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
    // Fills every table box with the word the record holds; the change rule stores it again.
    void showRecordTable();
    // Selects the option of register range digit d (0..9); it writes the entry even where it
    // was selected already.
    void selectRegisterRange(int digit);
    // The register range (slave) or the address decode (master) that shows writes the entry
    // they share, which the other frame's option may have written while hidden.
    void takeShownOptions();
    // A Modbus slave on RTU framing, point to point, no broadcasts, answering for a PLC 5,
    // the first register range: each option selected as a click would.
    void selectSlaveDefaults();

private:
    void setBits(int mask);
    void clearBits(int mask);
    void layoutMaster();
    void layoutSlave();
    void relayout(int heightTwips, int buttonsTopTwips);
    void tableBoxChanged(int boxIndex);
    // The decimal text of the word a table box stands for, as the record holds it.
    QString storedText(int boxIndex) const;
    // Every table box shows its word; nothing is stored.
    void showStoredTable();
    void Command3_Click();

    AppContext &m_ctx;
    Ui::modbus_prot *m_ui;
    QList<QLineEdit *> m_boxes;
};
