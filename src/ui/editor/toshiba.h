// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "frame/maindialog.h"
#include "frame/numberbox.h"

#include <QList>

#include <array>
#include <functional>

struct AppContext;
class QLineEdit;

namespace Ui {
class toshiba_VFD;
class toshiba_Super2E;
} // namespace Ui

// The Toshiba drive model's link: drive generation (ExtParam 3), action on a network failure
// (ExtParam 2), retries (ExtParam 0, 1), the delay before the crash command (ExtParam 4 low,
// 5 high, in tenths of a second) and the RS-422 or RS-485 wiring (LinkOptions bit 16), each
// written at once. Accept goes on to the Super2E table where SUPER2E relays are chosen.
// Cancel puts back what the record held when the dialog was opened.
class toshiba_VFD : public MainFormDialog
{
    Q_OBJECT

public:
    static constexpr NumberRange RetryRange{0, 255};
    static constexpr NumberRange DelayRange{0, 65535};

    explicit toshiba_VFD(AppContext &ctx, QWidget *parent = nullptr);
    ~toshiba_VFD() override;

    bool super2EChosen() const { return m_super2EChosen; }
    // The fields as the user last chose them written into the record again (after a mode
    // layout wrote over the wiring bit, say), which the dialog then shows.
    void restoreChoices();
    // The model set-up's choices: one retry each, no delay, a G2 drive, no network action,
    // RS-485; each written as the user's would be.
    void selectPresets();
    // Shows the record's fields; those now are the user's choices.
    void showRecord();

protected:
    void showEvent(QShowEvent *event) override;
    void closeBox() override;
    void escape() override { Command2_Click(); }

private:
    void driveType(int code, bool super2E);
    // A number box: text that is no number becomes "0"; a number outside range is refused,
    // and the box shows the value the record holds.
    void numberBox(QLineEdit *box, const NumberRange &range, int (*held)(const ConfigRecord &),
                   void (*store)(ConfigRecord &, qint32));
    void remember();
    void Command1_Click();
    void Command2_Click();

    AppContext &m_ctx;
    Ui::toshiba_VFD *m_ui;
    bool m_super2EChosen = false;
    ConfigRecord m_chosen; // the record as the user's choices left it
    // What a cancel puts back: the fields this dialog writes.
    std::array<IntByte, ExtParamCount> m_savedExt{};
    IntByte m_savedLinkOptions = 0;
};

// The Super2E polling table: ten relay addresses (txtWD20..txtWD29, decimal) and thirty
// register words (txtWD30..txtWD59, hexadecimal), word k in ProtoParam 2k (low) and 2k + 1.
class toshiba_Super2E : public MainFormDialog
{
    Q_OBJECT

public:
    static constexpr NumberRange AddressRange{0, 255};

    explicit toshiba_Super2E(AppContext &ctx, QWidget *parent = nullptr);
    ~toshiba_Super2E() override;

    // txtWD20 + k, k = 0..39.
    QLineEdit *word(int k) const { return m_words[k]; }
    // The words the drives are usually polled for: relays 1 to 3, then the usual registers,
    // FFFF for the rest; each written as typed.
    void showPresetWords();
    // A register text as the unit takes it: blanks skipped, hexadecimal digits up to the
    // first other character, none giving 0. Empty when more than four digits were given.
    static std::optional<quint16> registerWord(const QString &text);
    // A register word as the box shows it: four hexadecimal digits.
    static QString registerText(int word);

private:
    void wordChanged(int k);
    // Word k as its box shows it, from the record.
    QString storedText(int k) const;

    AppContext &m_ctx;
    Ui::toshiba_Super2E *m_ui;
    QList<QLineEdit *> m_words;
};
