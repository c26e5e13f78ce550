#pragma once

#include <QtGlobal>

// Serial speed codes, one byte per speed as the converter counts them (14 and 15 unused), with
// the text the lists and the summary show for each.
struct SpeedCode
{
    const char *text;
    quint8 code;
};
inline constexpr SpeedCode ChannelSpeeds[] = {
    {"300", 3},   {"600", 4},   {"1200", 5},   {"2400", 6},   {"4800", 7},   {"9600", 8},   {"19.2", 9},
    {"38.4", 10}, {"57.6", 11}, {"115.2", 12}, {"230.4", 13}, {"187.5", 16}, {"125.0", 17}, {"93.75", 18},
};
// The network speeds, all in kbaud.
inline constexpr SpeedCode NetworkSpeeds[] = {{"57.6", 8}, {"115.2", 9}, {"230.4", 10}};
// Codes up to 9600 are counted in baud, faster ones in kbaud.
constexpr quint8 LastBaudCode = 8;
