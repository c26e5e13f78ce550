// SPDX-License-Identifier: GPL-3.0-or-later
#include "configmessage.h"

#include "message/messagelayout.h"

#include <QCoreApplication>

bool isKnownConfigLength(int length)
{
    return length == 42 || length == 58 || length == 64 || length == 130 || length == 136;
}

QByteArray MessageChecksum(QByteArrayView body)
{
    quint16 sum = 0;
    for (char c : body)
        sum = static_cast<quint16>(sum + static_cast<quint8>(c));
    QByteArray out;
    out.append(static_cast<char>(sum & 0xFF));
    out.append(static_cast<char>(sum >> 8));
    return out;
}

ConfigMessage BuildConfigMessage(const ConfigRecord &rec)
{
    // The length byte in the header must describe the body that follows, so a record that
    // has no model (or an unknown layout) gives no message at all.
    if (!isKnownConfigLength(rec.ConfigLength))
        return {{},
                //: ConfigLength is the name of a record field; %1 its value
                QCoreApplication::translate(
                    "configmessage",
                    "No converter model has been chosen (ConfigLength %1 is not a known message layout).")
                    .arg(rec.ConfigLength)};

    // The bytes come from the one layout table the comparison names them by.
    QByteArray msg;
    for (const MessageSlot &slot : messageLayout(rec.ConfigLength)) {
        if (slot.source != MessageSlot::Source::Checksum)
            msg.append(static_cast<char>(slotValue(rec, slot)));
    }
    Q_ASSERT(msg.size() == MessageHeaderLength + rec.ConfigLength);
    msg.append(MessageChecksum(QByteArrayView(msg).sliced(MessageHeaderLength)));
    return {msg, {}};
}
