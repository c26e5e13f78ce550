// SPDX-License-Identifier: GPL-3.0-or-later
#include "formutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWidget>

QFont formFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(FormFontPixels);
    return font;
}

void useFormFont(QWidget *form)
{
    form->setFont(formFont());
    const auto widgets = form->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        // Menus and other pop-ups are windows of their own and keep the desktop's font.
        if (w->isWindow())
            continue;
        // A widget with a style sheet of its own does not take its parent's font.
        if (w->testAttribute(Qt::WA_StyleSheet) && !w->testAttribute(Qt::WA_SetFont))
            w->setFont(formFont());
        if (!w->testAttribute(Qt::WA_SetFont) || w->font().pixelSize() > 0)
            continue;
        QFont font = w->font();
        font.setPixelSize(qRound(font.pointSizeF() * 96 / 72));
        w->setFont(font);
    }
}

void pressButtonsOnEnter(QWidget *form)
{
    const auto buttons = form->findChildren<QPushButton *>();
    for (QPushButton *b : buttons)
        b->setAutoDefault(true);
}

void moveTwips(QWidget *w, int leftTwips, int topTwips)
{
    w->move(twips(leftTwips), twips(topTwips));
}

void moveTopTwips(QWidget *w, int topTwips)
{
    w->move(w->x(), twips(topTwips));
}

void moveLeftTwips(QWidget *w, int leftTwips)
{
    w->move(twips(leftTwips), w->y());
}

void setHeightTwips(QWidget *w, int heightTwips)
{
    setSize(w, w->width(), twips(heightTwips));
}

void setWidthTwips(QWidget *w, int widthTwips)
{
    setSize(w, twips(widthTwips), w->height());
}

void setSize(QWidget *w, int width, int height)
{
    if (w->isWindow())
        w->setFixedSize(width, height);
    else
        w->resize(width, height);
}

void select(QAbstractButton *option)
{
    option->setChecked(true);
}

void showOptionBits(const QList<OptionBit> &pairs, int bits)
{
    for (const OptionBit &pair : pairs) {
        const QSignalBlocker on(pair.on);
        const QSignalBlocker off(pair.off);
        (bits & pair.mask ? pair.on : pair.off)->setChecked(true);
    }
}

void showChoice(const QList<QAbstractButton *> &options, int n)
{
    // The option that loses its check signals too: every one stays quiet.
    QList<bool> blocked;
    for (QAbstractButton *o : options)
        blocked << o->blockSignals(true);
    if (n >= 0 && n < int(options.size())) {
        options[n]->setChecked(true);
    } else {
        for (QAbstractButton *o : options)
            deselect(o);
    }
    for (int i = 0; i < int(options.size()); ++i)
        options[i]->blockSignals(blocked[i]);
}

void deselect(QAbstractButton *option)
{
    if (!option->isChecked())
        return;
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

void reselect(QAbstractButton *option)
{
    deselect(option);
    select(option);
}

void selectIndex(QComboBox *combo, int n)
{
    if (n < 0 || n >= combo->count())
        return;
    combo->setCurrentIndex(n);
    if (combo->isEditable())
        combo->setEditText(combo->itemText(n));
    Q_EMIT combo->activated(n);
}

bool selectText(QComboBox *combo, const QString &text)
{
    const int n = combo->findText(text);
    if (n < 0)
        return false;
    selectIndex(combo, n);
    return true;
}

void showText(QComboBox *combo, const QString &text)
{
    const bool blocked = combo->blockSignals(true);
    const int n = combo->findText(text);
    if (n >= 0)
        combo->setCurrentIndex(n);
    if (combo->isEditable())
        combo->setEditText(text);
    combo->blockSignals(blocked);
}

void endProgram()
{
    QCoreApplication::exit(0);
}
