#include "remote.h"

#include "frame/formutil.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

QWidget *Remote::widget(const QString &form, const QString &name)
{
    QWidget *f = m_forms.isDefined(form) ? m_forms.form(form) : nullptr;
    if (!f)
        return nullptr;
    if (name.isEmpty() || name == form)
        return f;
    return f->findChild<QWidget *>(name);
}

QComboBox *Remote::combo(const QString &form, const QString &name)
{
    return qobject_cast<QComboBox *>(widget(form, name));
}

QAbstractButton *Remote::button(const QString &form, const QString &name)
{
    return qobject_cast<QAbstractButton *>(widget(form, name));
}

void Remote::setVisible(const QString &form, const QString &name, bool visible)
{
    if (QWidget *w = widget(form, name))
        w->setVisible(visible);
}

void Remote::setEnabled(const QString &form, const QString &name, bool enabled)
{
    if (QWidget *w = widget(form, name))
        w->setEnabled(enabled);
}

void Remote::setText(const QString &form, const QString &name, const QString &text)
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

QString Remote::text(const QString &form, const QString &name)
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

void Remote::setToolTip(const QString &form, const QString &name, const QString &tip)
{
    if (QWidget *w = widget(form, name))
        w->setToolTip(tip);
}

void Remote::moveTwips(const QString &form, const QString &name, int leftTwips, int topTwips)
{
    if (QWidget *w = widget(form, name))
        ::moveTwips(w, leftTwips, topTwips);
}

void Remote::moveTopTwips(const QString &form, const QString &name, int topTwips)
{
    if (QWidget *w = widget(form, name))
        ::moveTopTwips(w, topTwips);
}

void Remote::setHeightTwips(const QString &form, const QString &name, int heightTwips)
{
    if (QWidget *w = widget(form, name))
        ::setHeightTwips(w, heightTwips);
}

void Remote::setWidthTwips(const QString &form, const QString &name, int widthTwips)
{
    if (QWidget *w = widget(form, name))
        w->resize(twips(widthTwips), w->height());
}

void Remote::select(const QString &form, const QString &name)
{
    if (QAbstractButton *b = button(form, name))
        ::select(b);
}

void Remote::deselect(const QString &form, const QString &name)
{
    if (QAbstractButton *b = button(form, name))
        ::deselect(b);
}

void Remote::showEntry(const QString &form, const QString &name, int n)
{
    if (QComboBox *c = combo(form, name))
        ::showText(c, n >= 0 && n < c->count() ? c->itemText(n) : QString());
}

void Remote::showText(const QString &form, const QString &name, const QString &text)
{
    if (QComboBox *c = combo(form, name))
        ::showText(c, text);
}

void Remote::appendItems(const QString &form, const QString &name, const QStringList &items)
{
    if (QComboBox *c = combo(form, name))
        c->addItems(items);
}
