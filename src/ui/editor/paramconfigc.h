// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/paramconfigb.h"

namespace Ui {
class paramConfigC;
}

// Channel C: the same format options as channel B, without the interface choice. Bits 32
// and 64 of ChanCFormat are never touched here.
class paramConfigC : public ChannelParams
{
    Q_OBJECT

public:
    explicit paramConfigC(AppContext &ctx, QWidget *parent = nullptr);
    ~paramConfigC() override;

    // The channel under another title, without handshaking (the Modbus side, the second DF1
    // channel): its options cannot be chosen.
    void lockHandshake(const QString &title);

private:
    Ui::paramConfigC *m_ui;
};
