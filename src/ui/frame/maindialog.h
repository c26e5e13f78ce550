// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class FormRegistry;

// Gives the main configuration form back to the user: enabled, shown and in front. Every way
// back from a dialog or screen that leads to main4000 ends here.
void giveMainFormBack(FormRegistry &forms);

// A dialog that main4000 opens beside itself (inert meanwhile) or instead of itself. Its
// accept hides it and gives main4000 back; so does its close box, unless the dialog has a
// cancel of its own and says so.
class MainFormDialog : public QWidget
{
public:
    // Hides the dialog and gives main4000 back.
    void accept();

protected:
    MainFormDialog(FormRegistry &forms, QWidget *parent);

    // What the close box does; a dialog with a cancel overrides it.
    virtual void closeBox() { accept(); }
    // What Escape does: as the close box, unless the dialog has a cancel.
    virtual void escape() { closeBox(); }
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The first showing puts a dialog not placed yet over the middle of main4000 (or of the
    // screen); later ones keep where the user moved it. It also keeps Alt for the access keys
    // in the dialog's text boxes.
    void showEvent(QShowEvent *event) override;

private:
    FormRegistry &m_forms;
    bool m_placed = false;
    // Its text boxes type no letter that comes with Alt.
    bool m_keysKept = false;
};
