// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The configuration message a download sends: "N" "E" "E", the body length, three zero
// bytes, the body (its layout chosen by ConfigLength) and a two-byte sum of the body bytes,
// low byte first.
struct ConfigMessage
{
    QByteArray bytes;
    QString error; // why no message could be built; empty on success

    bool ok() const { return error.isEmpty(); }
};

// The body lengths (and so the layouts) a converter understands.
bool isKnownConfigLength(int length);

ConfigMessage BuildConfigMessage(const ConfigRecord &rec);

// The sum of the bytes as an unsigned 16-bit value, low byte then high byte. Every body fits:
// the longest, 136 bytes of 255, sums to 34680.
QByteArray MessageChecksum(QByteArrayView body);
