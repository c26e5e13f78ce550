// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

struct AppContext;
namespace Ui {
class Welcome1;
}

// The main menu: the choice of COM port, and from there the configuration, the transfers and
// the tools. Usable only once a port has tested good.
class Welcome1 : public QWidget
{
    Q_OBJECT

public:
    explicit Welcome1(AppContext &ctx, QWidget *parent = nullptr);
    ~Welcome1() override;

    // Resets the operating parameters: main form texts, DF1 and channel defaults, the
    // summary and the record's fresh-configuration values.
    void UpdateParameters();
    void Click_CHB_Params();
    void Click_CHC_Params();
    // There is no help viewer on this platform, so there is no help file to close.
    static void QuitHelp() {}

    // Enables or disables the tools after a port test, as CheckPort's result says.
    void applyPortTest(bool ok);
    // The menu of the freestanding units: four COM ports in one row, the rest below them.
    void layoutForFreestanding();
    // "Upload TO File", which the drive models cannot offer.
    void enableUpload(bool on);
    // "DH+ Who Active", which the operating mode and the port test allow or not.
    void enableWhoActive(bool on);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void optCom_Click(int port);
    void cmdUpdate_Click();
    void cmdUPLOAD_Click();
    void cmdDOWNLOAD_Click();
    void cmdBurn_Click();
    void cmdOnline_Click();
    void Command2_Click();
    void openTool(const QString &form);

    AppContext &m_ctx;
    Ui::Welcome1 *m_ui;
};
