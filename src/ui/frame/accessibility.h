// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class QComboBox;
class QLabel;
class QString;
class QWidget;

// What a screen reader is told about the forms, beyond what each control's caption says.

// The forms are plain QWidgets shown as top-level windows. Qt gives a plain QWidget the role of
// a client area whether it is a window or not (AT-SPI reports it as a "filler"), and its Linux
// bridge announces only a window or a dialog as one. From this call on, a top-level window that
// Qt gives no role of its own is a window, and a dialog opened over the main form (a
// MainFormDialog) a dialog. Called before the first form is built; calling again does nothing.
void announceFormsAsWindows();

// Tab goes through a form's controls in the order they are read: the controls of a frame
// together, in rows from the top and each row from the left, a control with a caption label
// read from where its caption begins.
void orderTabsAsRead(QWidget *form);
// Orders the form's controls now, and again whenever a control of it moves, shows or hides (a
// model's layout, a mode that moves buttons), once the layout is done. Called again, it lays
// the order at once where a control has moved since.
void keepTabsInReadingOrder(QWidget *form);

// Names a list whose caption is not a label (an option beside it, say). Qt names a list on
// Linux by its current text, and by the label whose buddy it is; the name is given both as
// the list's accessible name and as such a label, never shown.
void nameUncaptionedList(QComboBox *list, const QString &name);

// A caption over controls in one place of which a layout shows one at a time: the caption's
// buddy, which names the control to a screen reader, is always the one a layout showed last.
void captionWhicheverShows(QLabel *caption, const QList<QWidget *> &controls);
