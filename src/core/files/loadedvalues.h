// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One value as the configuration file reader found it: a text (quotes removed) or a number.
class LoadedValue
{
public:
    enum class Kind { Unset, Text, Number };

    LoadedValue() = default;
    static LoadedValue text(QByteArray t) { return LoadedValue(Kind::Text, std::move(t), 0); }
    static LoadedValue number(qint64 n) { return LoadedValue(Kind::Number, {}, n); }

    Kind kind() const { return m_kind; }
    bool isText() const { return m_kind == Kind::Text; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isUnset() const { return m_kind == Kind::Unset; }

    const QByteArray &textValue() const { return m_text; }
    qint64 numberValue() const { return m_number; }

    // The value as one byte, the way a one-character or numeric field takes it: the code of
    // a text's first character (0 for an empty text), or the number. Empty when it does not fit.
    std::optional<quint8> asByte() const;
    // The same without the range check: a text's first character code, or the number.
    int code() const;
    // The value as a number: a number as it is, a text by its leading decimal digits.
    int leadingNumber() const;
    // As the file has it: a text without its quotes, a number as written.
    QString asWritten() const;

    friend bool operator==(const LoadedValue &, const LoadedValue &) = default;

private:
    LoadedValue(Kind k, QByteArray t, qint64 n) : m_kind(k), m_text(std::move(t)), m_number(n) {}

    Kind m_kind = Kind::Unset;
    QByteArray m_text;
    qint64 m_number = 0;
};

// What the reader keeps of a configuration file: slots 0..13 hold the fourteen common
// values, ProtoParam k goes to slot 15 + k (k = 0..15) or k + 23 (k = 18..85).
// Slots 14 and 31..40 are never filled.
constexpr int LoadedSlotCount = 109;
using LoadedValues = std::array<LoadedValue, LoadedSlotCount>;

// The slot that holds ProtoParam entry k, or -1 for the entries no file stores (16, 17).
constexpr int slotOfProtoParam(int k)
{
    if (k >= 0 && k <= 15)
        return 15 + k;
    if (k >= 18 && k <= 85)
        return k + 23;
    return -1;
}

// A value of a loaded file that the forms cannot show. It is not taken: the record holds what
// the forms show instead, and the user is told.
struct RefusedValue
{
    int line = 0;      // the file's line, from 1
    QString field;     // the caption the forms show the value under
    QString fileValue; // the value as the file has it
    QString used;      // what the forms show and the record holds instead
};

// One sentence a value, for the user, each naming its line, in the order of the lines.
QStringList describeRefusedValues(const QList<RefusedValue> &refused);
