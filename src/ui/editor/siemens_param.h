#pragma once

#include "frame/maindialog.h"

struct AppContext;
class QAbstractButton;

namespace Ui {
class siemens_param;
}

// The serial link of the Siemens drive model: protocol (AuxByte2), telegram length
// (AuxByte1), function bits (AuxByte4), response delay (ProtoParam 0, 1) and the RS-422 or
// RS-485 wiring (LinkOptions bit 16), each written at once. A new dialog starts from its own
// defaults, and so does the next one after the close box destroyed it.
class siemens_param : public MainFormDialog
{
    Q_OBJECT

public:
    explicit siemens_param(AppContext &ctx, QWidget *parent = nullptr);
    ~siemens_param() override;

    // The options and the telegram length shown write the fields again: a mode layout that
    // preset those fields leaves what the dialog shows, and sends, the user's choice.
    void takeShownOptions();
    // The model set-up's choices: USS, no function bits, no extra delay, RS-485, a telegram of
    // 20 bytes; each selected as a click would.
    void selectPresets();

protected:
    void closeBox() override;

private:
    // No function bits, PKW 3, no extra delay, with the protocol and wiring options given;
    // each selected as a click would.
    void selectOptions(QAbstractButton *protocol, QAbstractButton *wiring);
    void functionBit(int mask, bool on);
    void delay(int code);
    void protocol(int code);

    AppContext &m_ctx;
    Ui::siemens_param *m_ui;
};
