// SPDX-License-Identifier: GPL-3.0-or-later
#include "configrecord.h"

bool DecimalText::isValid(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 3)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

DecimalText DecimalText::fromNumber(int value)
{
    DecimalText t;
    if (fitsByte(value))
        t.m_text = QByteArray::number(value);
    return t;
}

bool DecimalText::set(QByteArrayView text)
{
    if (!isValid(text))
        return false;
    m_text = text.toByteArray();
    return true;
}

quint8 DecimalText::value() const
{
    return m_text.isEmpty() ? 0 : static_cast<quint8>(m_text.toInt());
}

qint32 SetBit(qint32 value, qint32 mask)
{
    return value | mask;
}

qint32 ClearBit(qint32 value, qint32 mask)
{
    return value & ~mask;
}

void ConfigRecord::splitWord(qint32 value)
{
    WordHigh = value / 256;
    WordLow = value & 255;
}

void ConfigRecord::applyFreshConfiguration()
{
    NetworkSpeed = {8, 0};
    ChanBSpeed = 8;
    StationNumber = 1;
    ChanCSpeed = 0;
    ChanCFormat = 0;
}
