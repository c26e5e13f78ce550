// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

struct AppContext;
namespace Ui {
class Welcome;
}

// The start window: the way to model selection, the about box and out of the program.
class Welcome : public QWidget
{
    Q_OBJECT

public:
    explicit Welcome(AppContext &ctx, QWidget *parent = nullptr);
    ~Welcome() override;

    // The first-generation set-up, run whenever model selection opens: FamilyCode "4000",
    // the main menu and main form laid out for freestanding units, the operating parameters reset.
    void QN4000();

    // Asks the desktop to open a web address.
    static bool OpenWebPage(const QString &address);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Command4_Click();
    void Command3_Click();
    void Command1_Click();

    AppContext &m_ctx;
    Ui::Welcome *m_ui;
};

// The about box.
namespace Ui {
class about;
}
class about : public QWidget
{
    Q_OBJECT

public:
    explicit about(AppContext &ctx, QWidget *parent = nullptr);
    ~about() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Command1_Click();

    AppContext &m_ctx;
    Ui::about *m_ui;
};
