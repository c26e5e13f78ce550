// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frame/formregistry.h"

#include <QString>

class QAbstractButton;
class QComboBox;

// The tests reach the forms' controls by form and object name, as the user finds them. A form
// that is not part of the program (not defined in the registry) gives nullptr; a defined form
// without the named control is reported by the registry, which stops the test. A form is
// created if need be. The program's own forms call each other's typed functions instead.
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

    // Caption of a label, button, group box or line edit; the window title for the form itself.
    QString text(const QString &form, const QString &name);

    void select(const QString &form, const QString &name);
    void deselect(const QString &form, const QString &name);

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
