#pragma once

#include "frame/formregistry.h"

#include <QString>

class QAbstractButton;
class QComboBox;

// Reaches another form's controls by form and object name, for the procedures that lay out
// several forms at once. A control that does not exist (its form is not part of the program
// yet) is skipped, so the rest of a procedure still runs.
class Remote
{
public:
    explicit Remote(FormRegistry &forms) : m_forms(forms) {}

    QWidget *widget(const QString &form, const QString &name);
    QComboBox *combo(const QString &form, const QString &name);
    QAbstractButton *button(const QString &form, const QString &name);

    void setVisible(const QString &form, const QString &name, bool visible);
    void show(const QString &form, const QString &name) { setVisible(form, name, true); }
    void hide(const QString &form, const QString &name) { setVisible(form, name, false); }
    void setEnabled(const QString &form, const QString &name, bool enabled);
    // Caption of a label, button, group box or line edit; the window title for the form itself.
    void setText(const QString &form, const QString &name, const QString &text);
    QString text(const QString &form, const QString &name);
    void setToolTip(const QString &form, const QString &name, const QString &tip);
    void moveTwips(const QString &form, const QString &name, int leftTwips, int topTwips);
    void moveTopTwips(const QString &form, const QString &name, int topTwips);
    void setHeightTwips(const QString &form, const QString &name, int heightTwips);
    void setWidthTwips(const QString &form, const QString &name, int widthTwips);

    void select(const QString &form, const QString &name);
    void deselect(const QString &form, const QString &name);
    // Shows list entry n of a combo as its text, without running its handler.
    void showEntry(const QString &form, const QString &name, int n);
    void showText(const QString &form, const QString &name, const QString &text);
    void appendItems(const QString &form, const QString &name, const QStringList &items);

private:
    FormRegistry &m_forms;
};
