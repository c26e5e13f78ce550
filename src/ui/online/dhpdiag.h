// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <array>

struct AppContext;
class DhpDiagnostics;
class QLabel;

namespace Ui {
class DHPDiag;
}

// The DH+ diagnostics screen: autoconfigure, then the who-active scan over the 64 nodes,
// one row each. Nothing is sent before Autoconfigure; leaving ends what runs (a scan after
// its exchange under way), closes the port and shows the main menu.
class DHPDiag : public QWidget
{
    Q_OBJECT

public:
    explicit DHPDiag(AppContext &ctx, QWidget *parent = nullptr);
    ~DHPDiag() override;

    DhpDiagnostics &diagnostics() { return *m_diag; }
    // "Autoconfigure" is for a port that tested good.
    void enableAutoconfigure(bool on);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildRows();
    void cmdConfig_Click();
    void cmdWHOStart_Click();
    void cmdWHOStop_Click();
    void scanEnded();
    void leave();

    AppContext &m_ctx;
    Ui::DHPDiag *m_ui;
    DhpDiagnostics *m_diag;
    std::array<QLabel *, 64> m_status{};
    bool m_leaving = false;
};
