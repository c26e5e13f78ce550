// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QLineEdit;

// The ordinary conversion of a text box's whole text to a number: blanks around it allowed,
// a fraction rounded to the nearest integer with halves to even. Empty when the text is no
// number or the number does not fit 32 bits.
std::optional<qint32> ordinaryNumber(const QString &text);

// A number box keeps to what it stores: a value outside low..high is refused like text that
// is no number. The box's tool tip says the range.
struct NumberRange
{
    qint32 low;
    qint32 high;
    bool contains(qint32 v) const { return v >= low && v <= high; }
};
void describeRange(QLineEdit *box, const NumberRange &range);

// Sets a box's text without its change handler running, for a box that shows what the
// record holds.
void showInBox(QLineEdit *box, const QString &text);

// Once the user is done with a box (Enter, or leaving it), it shows what it stored, in the
// box's own form: "2.5" becomes the 2 it stored, "12G4" the 0012 a register box read from it.
// A box its rule emptied shows the word it kept.
void showStoredWhenDone(QLineEdit *box, std::function<QString()> stored);
