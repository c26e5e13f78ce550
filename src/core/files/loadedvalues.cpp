// SPDX-License-Identifier: GPL-3.0-or-later
#include "loadedvalues.h"

#include <QCoreApplication>

#include <algorithm>

std::optional<quint8> LoadedValue::asByte() const
{
    switch (m_kind) {
    case Kind::Text:
        return m_text.isEmpty() ? quint8(0) : static_cast<quint8>(m_text.at(0));
    case Kind::Number:
        if (m_number >= 0 && m_number <= 255)
            return static_cast<quint8>(m_number);
        return std::nullopt;
    case Kind::Unset:
        break;
    }
    return std::nullopt;
}

int LoadedValue::code() const
{
    if (isText())
        return m_text.isEmpty() ? 0 : quint8(m_text.at(0));
    return isNumber() ? int(m_number) : 0;
}

int LoadedValue::leadingNumber() const
{
    if (isNumber())
        return int(m_number);
    int n = 0;
    for (char c : m_text) {
        if (c < '0' || c > '9')
            break;
        n = n * 10 + (c - '0');
        if (n > 100000)
            break;
    }
    return n;
}

QString LoadedValue::asWritten() const
{
    return isNumber() ? QString::number(m_number) : QString::fromLatin1(m_text);
}

QStringList describeRefusedValues(const QList<RefusedValue> &refused)
{
    // In the file's order, as the user reads the file.
    QList<RefusedValue> inOrder = refused;
    std::stable_sort(inOrder.begin(), inOrder.end(),
                     [](const RefusedValue &a, const RefusedValue &b) { return a.line < b.line; });
    QStringList lines;
    for (const RefusedValue &r : std::as_const(inOrder))
        lines << QCoreApplication::translate("loadedvalues",
                                             "Line %1, %2: %3 was not taken; %4 is used instead.")
                     .arg(r.line)
                     .arg(r.field, r.fileValue, r.used);
    return lines;
}
