#pragma once

#include <QPalette>
#include <QPixmap>

// A drawing of the serial wiring from the converter to its drives: four wires (RS-422, a
// transmit and a receive pair) or two (RS-485, one pair shared by both directions), in the
// colours of a text field of the given palette.
QPixmap wiringPicture(int wires, const QSize &size, const QPalette &palette);
