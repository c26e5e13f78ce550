// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"

#include <QList>
#include <QString>

struct ModelInfo;

// Where each byte of a configuration message comes from. The message builder fills the
// message from this table and a comparison names each byte by it, so the two cannot drift
// apart.
struct MessageSlot
{
    enum class Source : quint8 {
        Fixed, // a constant of the layout; n is its value
        ConfigLength,
        ProductCode,
        ProtocolMode,
        StationNumber,
        HighAddress,
        NetworkSpeed, // n: the byte of the pair
        ChanBSpeed,
        ChanBFormat,
        ChanCSpeed,
        ChanCFormat,
        LinkOptions,
        BusType, // n: the byte of the pair
        AuxByte1,
        AuxByte2,
        AuxByte3,
        AuxByte4,
        ExtParam,   // n: the entry
        ProtoParam, // n: the entry
        Checksum,   // n: 0 the low byte, 1 the high byte
    };
    Source source = Source::Fixed;
    int n = 0;

    friend bool operator==(const MessageSlot &, const MessageSlot &) = default;
};

constexpr int MessageHeaderLength = 7;
constexpr int MessageChecksumLength = 2;

// Every byte of the message of a layout, header, body and checksum, in order; empty for a
// length that is no known layout.
const QList<MessageSlot> &messageLayout(int configLength);

// The byte a slot takes from the record (the checksum is no field: 0).
quint8 slotValue(const ConfigRecord &rec, const MessageSlot &slot);

// The record's name of the field a slot carries: "ChanBFormat", "NetworkSpeed[0]",
// "ProtoParam[37]", "ExtParam[2]"; "header", "checksum (low byte)" for the rest.
QString slotFieldName(const MessageSlot &slot);

// What the field means on this model where the model gives its parameter bytes a meaning
// ("Modbus table row 3, MODICON END ADDRESS, high byte", "rack 2, groups 4-7", "Toshiba word
// WD31 (REG 2), low byte"); empty otherwise.
QString slotMeaning(const ModelInfo &model, const MessageSlot &slot);
