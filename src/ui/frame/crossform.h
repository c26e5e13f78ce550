#pragma once

#include "frame/formregistry.h"

#include <QString>

class QAbstractButton;
class QComboBox;

// Reaches other forms' controls by form and object name, for the procedures that lay out
// several forms at once and write each other's boxes. A form that is not part of the program
// (not defined in the registry) is skipped, so the rest of a procedure still runs; a defined
// form without the named control is a programming error, which the registry reports (and
// which stops the tests).
//
// Writing to a form creates it if need be, since the form is to show what was written when it
// opens. Reading leaves a form that does not exist alone where its creation matters: ifLoaded().
class CrossForm
{
public:
    explicit CrossForm(FormRegistry &forms) : m_forms(forms) {}

    // The control, or the form itself when name is empty or the form's own name; nullptr when
    // the form is not part of the program (or, reported, has no such control).
    QWidget *widget(const QString &form, const QString &name);
    // The same for a form that already exists; nullptr, without creating it, otherwise.
    QWidget *ifLoaded(const QString &form, const QString &name);
    QComboBox *combo(const QString &form, const QString &name);
    QAbstractButton *button(const QString &form, const QString &name);
    template <typename T> T *control(const QString &form, const QString &name)
    {
        return typed<T>(widget(form, name), form, name);
    }

    // A control of a form at hand, named without regard to case (the download routine's
    // way); reported when the form has none.
    QWidget *anyCase(QWidget &form, const QString &name);

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
    QWidget *find(QWidget *f, const QString &form, const QString &name);
    template <typename T> T *typed(QWidget *w, const QString &form, const QString &name)
    {
        if (!w)
            return nullptr;
        T *t = qobject_cast<T *>(w);
        if (!t)
            m_forms.reportMissing(form, name, T::staticMetaObject.className());
        return t;
    }

    FormRegistry &m_forms;
};
