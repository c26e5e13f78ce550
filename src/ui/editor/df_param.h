// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frame/maindialog.h"

struct AppContext;

namespace Ui {
class df_Param;
}

// The DF1 link options: each option sets or clears one bit of LinkOptions at once. Bits 16
// and 32 each have two frames, one per model layout; both frames of a bit write the same bit.
// The options are a view of LinkOptions: they show it when the dialog is shown and after each
// click.
class df_Param : public MainFormDialog
{
    Q_OBJECT

public:
    explicit df_Param(AppContext &ctx, QWidget *parent = nullptr);
    ~df_Param() override;

    // BCC, execute diagnostics, point-to-point, no embedded responses, ignore duplicates,
    // no loopback, into the record.
    void selectDefaults();
    // Every frame's options show LinkOptions as the record holds it.
    void showRecord();

    // The layouts the models and the main form's protocol options ask for.
    // Model set-up of the models without RTS/CTS loopback.
    void hideLoopback();
    // "STANDARD DF1 to DH+".
    void layoutStandard();
    // "DF1 MULTIDROP MASTER": the serial interface and station address frames instead of the
    // configuration frame; selects RS-422 and the destination address.
    void layoutMultidropMaster();
    // "DUAL DF1 to DH+": the note that the second channel is always point-to-point.
    void layoutDualChannel();
    // Every other protocol option.
    void layoutOtherProtocol();

private Q_SLOTS:
    void optBCC_Click(bool on);
    void optCRC_Click(bool on);
    void optAccept_Click(bool on);
    void optIgnore_Click(bool on);
    void optExecEmbed_Click(bool on);
    void optNoneEmbed_Click(bool on);
    void optPass_Click(bool on);
    void optExecDiag_Click(bool on);
    void optMultiDrop_Click(bool on);
    void optPoint_Click(bool on);
    void opt485_Click(bool on);
    void opt422_Click(bool on);
    void optRTS_Click(bool on);
    void optNoneLoop_Click(bool on);
    void optSRC_Click(bool on);
    void optDST_Click(bool on);
    void cmdAccept_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setBits(int mask);
    void clearBits(int mask);

    AppContext &m_ctx;
    Ui::df_Param *m_ui;
};
