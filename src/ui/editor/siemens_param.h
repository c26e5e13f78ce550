// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "frame/maindialog.h"

#include <QList>

struct AppContext;
struct OptionBit;
class QAbstractButton;

namespace Ui {
class siemens_param;
}

// The serial link of the Siemens drive model: protocol (AuxByte2), telegram length
// (AuxByte1), function bits (AuxByte4), response delay (ProtoParam 0, 1) and the RS-422 or
// RS-485 wiring (LinkOptions bit 16), each written at once. A new dialog starts from its own
// defaults, and so does the next one after the close box destroyed it. It shows the record
// when shown, and keeps the user's last choices, so that the Siemens layout that presets
// those fields gives them back.
class siemens_param : public MainFormDialog
{
    Q_OBJECT

public:
    explicit siemens_param(AppContext &ctx, QWidget *parent = nullptr);
    ~siemens_param() override;

    // The fields the dialog stands for, as the user last chose them (or as a file or the
    // presets set them), written into the record again, which the dialog then shows.
    void restoreChoices();
    // Shows the record's fields; those now are the user's choices.
    void showRecord();
    // The model set-up's choices: USS, no function bits, no extra delay, RS-485, a telegram of
    // 20 bytes; each selected as a click would.
    void selectPresets();

protected:
    void showEvent(QShowEvent *event) override;
    void closeBox() override;

private:
    // No function bits, PKW 3, no extra delay, with the protocol and wiring options given;
    // each selected as a click would.
    void selectOptions(QAbstractButton *protocol, QAbstractButton *wiring);
    void functionBit(int mask, bool on);
    void delay(int code);
    void protocol(int code);
    // The record as the user's choices left it.
    void remember();
    QList<OptionBit> functionOptions() const;
    QList<QAbstractButton *> protocolOptions() const;
    QList<QAbstractButton *> delayOptions() const;

    AppContext &m_ctx;
    Ui::siemens_param *m_ui;
    ConfigRecord m_chosen;
};
