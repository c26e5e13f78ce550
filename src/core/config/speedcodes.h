// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <optional>

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

// What an item of a speed list stands for, by its code; empty for a code no list has.
template <std::size_t N> QString speedText(const SpeedCode (&table)[N], int code)
{
    for (const SpeedCode &s : table) {
        if (s.code == code)
            return QLatin1String(s.text);
    }
    return QString();
}

// A speed code as the user knows it: its speed, where it has one, else "code N".
template <std::size_t N> QString speedOrCode(const SpeedCode (&table)[N], int code)
{
    const QString text = speedText(table, code);
    return text.isEmpty() ? QStringLiteral("code %1").arg(code) : text;
}

// The code of a list item's text; empty for a text no list has.
template <std::size_t N> std::optional<quint8> speedCodeOf(const SpeedCode (&table)[N], const QString &text)
{
    for (const SpeedCode &s : table) {
        if (text == QLatin1String(s.text))
            return s.code;
    }
    return std::nullopt;
}
