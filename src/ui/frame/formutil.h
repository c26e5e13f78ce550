// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class QAbstractButton;
class QComboBox;
class QFont;
class QString;
class QWidget;

// Positions and sizes the program states in twips (1/1440 inch): 15 twips make one pixel
// at 96 dpi.
constexpr int twips(int t)
{
    return t / 15;
}

// The forms' positions and sizes are fixed in pixels, drawn for a font of 12 pixels (9 pt on a
// 96 dpi screen). A desktop font of another size, or a screen of another dpi, would clip their
// captions, so their text keeps that size; the family stays the desktop's.
constexpr int FormFontPixels = 12;
QFont formFont();
// Gives a new form that font, and turns the point sizes its captions set into pixels at 96 dpi.
void useFormFont(QWidget *form);

void moveTwips(QWidget *w, int leftTwips, int topTwips);
void moveTopTwips(QWidget *w, int topTwips);
void moveLeftTwips(QWidget *w, int leftTwips);
void setHeightTwips(QWidget *w, int heightTwips);
void setWidthTwips(QWidget *w, int widthTwips);
// A control takes the size; a form (a window) keeps it fixed, as drawn: the user cannot
// stretch or shrink it, and only the program's own layouts change it.
void setSize(QWidget *w, int width, int height);

// Selecting an option from code runs its handler as a click does; selecting one that is
// already selected runs nothing (handlers act on toggled(true)).
void select(QAbstractButton *option);
// Unchecks an option of an exclusive group, which a click can never do.
void deselect(QAbstractButton *option);
// Deselect, then select: the handler runs whatever the state was.
void reselect(QAbstractButton *option);

// Two options that stand for one bit of a record field: on where the bit is set, off where it
// is clear. A dialog keeps one table of them, which its handlers and its view of the record use.
struct OptionBit
{
    QAbstractButton *on;
    QAbstractButton *off;
    int mask;
};
// Checks the option of each pair that bits says, running no handler: the options show the
// field, they do not write it.
void showOptionBits(const QList<OptionBit> &pairs, int bits);
// Checks option n of a group that stands for one value, running no handler; where the group
// has no option n, none is checked (none would show the value).
void showChoice(const QList<QAbstractButton *> &options, int n);

// Picks list position n and runs the combo's handler, as the user's pick does
// (handlers are connected to activated()).
void selectIndex(QComboBox *combo, int n);
// Picks the item with this text and runs the handler; false if the list has no such item.
bool selectText(QComboBox *combo, const QString &text);
// Shows a text in the combo without running its handler.
void showText(QComboBox *combo, const QString &text);

// Enter and Return press the focused button of the form, as they do in a dialog box.
void pressButtonsOnEnter(QWidget *form);

// Ends the program at once, as the exit buttons and the start window's close box do.
void endProgram();
