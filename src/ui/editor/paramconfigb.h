// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"

#include "frame/maindialog.h"

struct AppContext;
class QGroupBox;
class QMenu;
class QAction;
class QRadioButton;

namespace Ui {
class paramConfigB;
}

// What the two channel dialogs share: parity, data bits, stop bits and handshaking of one
// channel, each click written at once into that channel's format byte. The option buttons
// are only a view of the byte: they show it each time the dialog is shown and after each click.
class ChannelParams : public MainFormDialog
{
    Q_OBJECT

public:
    // The channel's defaults into its format byte: no parity, 8 data bits, 1 stop bit,
    // handshaking ignored (and RS-232C on channel B).
    void selectDefaults();
    // The options show the format byte as the record holds it.
    virtual void showRecord();

protected:
    struct Options
    {
        QRadioButton *optNone, *optYes, *optEven, *optOdd, *opt7, *opt8, *opt1, *opt2, *optIgnore, *optActive;
        QGroupBox *frmParity;
    };

    ChannelParams(AppContext &ctx, IntByte &format, int defaulted, QWidget *parent);
    void showEvent(QShowEvent *event) override;

    // Connects the shared options to their handlers; the subclass calls it after setupUi.
    void connectOptions(const Options &o);

    void setBits(int mask);
    void clearBits(int mask);

    AppContext &m_ctx;
    IntByte &m_format;
    const int m_defaulted; // the bits the defaults clear

protected Q_SLOTS:
    void optNone_Click(bool on);
    void optYes_Click(bool on);
    void optEven_Click(bool on);
    void optOdd_Click(bool on);
    void opt7_Click(bool on);
    void opt8_Click(bool on);
    void opt1_Click(bool on);
    void opt2_Click(bool on);
    void optActive_Click(bool on);
    void optIgnore_Click(bool on);
    // Hides the dialog and gives main4000 back to the user.
    void Command2_Click();

private:
    Options m_o{};
};

// Channel B: the shared format options plus the serial interface of the QN6000 models
// (RS-232C, RS-422 four-wire, RS-485 two-wire).
class paramConfigB : public ChannelParams
{
    Q_OBJECT

public:
    explicit paramConfigB(AppContext &ctx, QWidget *parent = nullptr);
    ~paramConfigB() override;

    void showRecord() override;
    // The serial connection frame (RS-232C, RS-422, RS-485), which the QN6000 bridges offer.
    void offerSerialConnection(bool offered);

    // RS-422 four-wire: bit 32 on, bit 64 off.
    void RS422ON();
    // RS-485 two-wire: bits 32 and 64 on.
    void RS485ON();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void opt232_Click(bool on);
    void opt422_Click(bool on);

private:
    // The RS-422 option's caption names the two- or four-wire connection the byte holds.
    void nameConnection();

    Ui::paramConfigB *m_ui;
    QMenu *m_RS422_485;
    QAction *m_RS422;
    QAction *m_RS485;
};
