// SPDX-License-Identifier: GPL-3.0-or-later
#include "crossform.h"

#include "frame/formutil.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

QWidget *CrossForm::find(QWidget *f, const QString &form, const QString &name)
{
    if (!f)
        return nullptr;
    if (name.isEmpty() || name == form)
        return f;
    QWidget *w = f->findChild<QWidget *>(name);
    if (!w)
        m_forms.reportMissing(form, name);
    return w;
}

QWidget *CrossForm::widget(const QString &form, const QString &name)
{
    return find(m_forms.isDefined(form) ? m_forms.form(form) : nullptr, form, name);
}

QWidget *CrossForm::ifLoaded(const QString &form, const QString &name)
{
    return find(m_forms.existing(form), form, name);
}

QComboBox *CrossForm::combo(const QString &form, const QString &name)
{
    return typed<QComboBox>(widget(form, name), form, name);
}

QAbstractButton *CrossForm::button(const QString &form, const QString &name)
{
    return typed<QAbstractButton>(widget(form, name), form, name);
}

QString CrossForm::text(const QString &form, const QString &name)
{
    QWidget *w = widget(form, name);
    if (!w)
        return {};
    if (w->isWindow())
        return w->windowTitle();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    return {};
}

void CrossForm::select(const QString &form, const QString &name)
{
    if (QAbstractButton *b = button(form, name))
        ::select(b);
}

void CrossForm::deselect(const QString &form, const QString &name)
{
    if (QAbstractButton *b = button(form, name))
        ::deselect(b);
}
