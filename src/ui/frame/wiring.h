// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"

#include <QPalette>
#include <QPixmap>

// A drawing of the serial wiring from the converter to its drives: four wires (RS-422, a
// transmit and a receive pair) or two (RS-485, one pair shared by both directions), in the
// colours of a text field of the given palette.
QPixmap wiringPicture(int wires, const QSize &size, const QPalette &palette);

class QAbstractButton;
class QLabel;

// The drive dialogs' serial connection: the RS-422 option clears the multi-drop bit of the link
// options and shows the four-wire picture; the RS-485 option sets it and shows the two-wire
// picture, moved to the given left edge (twips) where the other one stood.
void wireSerialConnection(QAbstractButton *opt422, QLabel *pic422, QAbstractButton *opt485, QLabel *pic485,
                          IntByte &linkOptions, int left485Twips);
