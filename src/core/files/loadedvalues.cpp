#include "loadedvalues.h"

#include <QCoreApplication>

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

QStringList describeRefusedValues(const QList<RefusedValue> &refused)
{
    QStringList lines;
    for (const RefusedValue &r : refused)
        lines << QCoreApplication::translate("loadedvalues",
                                             "Line %1, %2: %3 was not taken; %4 is used instead.")
                     .arg(r.line)
                     .arg(r.field, r.fileValue, r.used);
    return lines;
}
