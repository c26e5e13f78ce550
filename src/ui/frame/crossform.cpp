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

QWidget *CrossForm::anyCase(QWidget &form, const QString &name)
{
    const auto children = form.findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    }
    m_forms.reportMissing(form.objectName(), name);
    return nullptr;
}

void CrossForm::setVisible(const QString &form, const QString &name, bool visible)
{
    if (QWidget *w = widget(form, name))
        w->setVisible(visible);
}

void CrossForm::setEnabled(const QString &form, const QString &name, bool enabled)
{
    if (QWidget *w = widget(form, name))
        w->setEnabled(enabled);
}

void CrossForm::setText(const QString &form, const QString &name, const QString &text)
{
    QWidget *w = widget(form, name);
    if (!w)
        return;
    if (w->isWindow())
        w->setWindowTitle(text);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(text);
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(text);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        g->setTitle(text);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w))
        ::showText(c, text);
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

void CrossForm::setToolTip(const QString &form, const QString &name, const QString &tip)
{
    if (QWidget *w = widget(form, name))
        w->setToolTip(tip);
}

void CrossForm::moveTwips(const QString &form, const QString &name, int leftTwips, int topTwips)
{
    if (QWidget *w = widget(form, name))
        ::moveTwips(w, leftTwips, topTwips);
}

void CrossForm::moveTopTwips(const QString &form, const QString &name, int topTwips)
{
    if (QWidget *w = widget(form, name))
        ::moveTopTwips(w, topTwips);
}

void CrossForm::setHeightTwips(const QString &form, const QString &name, int heightTwips)
{
    if (QWidget *w = widget(form, name))
        ::setHeightTwips(w, heightTwips);
}

void CrossForm::setWidthTwips(const QString &form, const QString &name, int widthTwips)
{
    if (QWidget *w = widget(form, name))
        ::setWidthTwips(w, widthTwips);
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

void CrossForm::showEntry(const QString &form, const QString &name, int n)
{
    if (QComboBox *c = combo(form, name))
        ::showText(c, n >= 0 && n < c->count() ? c->itemText(n) : QString());
}

void CrossForm::showText(const QString &form, const QString &name, const QString &text)
{
    if (QComboBox *c = combo(form, name))
        ::showText(c, text);
}

void CrossForm::appendItems(const QString &form, const QString &name, const QStringList &items)
{
    if (QComboBox *c = combo(form, name))
        c->addItems(items);
}
