// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "message/messagelayout.h"

#include <QBitArray>
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

struct ModelInfo;

// One byte in which two configuration messages differ, named by the field it comes from.
struct ByteDifference
{
    int offset = 0; // in the message: header, body, checksum
    MessageSlot slot;
    QString field;   // the record's name: "ChanBFormat", "ProtoParam[37]", "checksum (low byte)"
    QString meaning; // what the model makes of it, where it gives the byte a meaning; else empty
    int first = -1;  // the byte, or -1 where that message is too short to hold it
    int second = -1;
    QString firstText; // the value as the summary words it, where there is such a text
    QString secondText;
};

struct MessageComparison
{
    QList<ByteDifference> differences;
    QList<int> unread; // offsets the second message does not hold (a unit cannot send them back)

    bool equal() const { return differences.isEmpty(); }
};

// Every byte in which the messages differ, with both values; a byte the second does not hold
// (secondKnown false there) is listed as unread, not as a difference. The model's layout names
// the bytes.
MessageComparison compareMessages(const ModelInfo &model, QByteArrayView first, QByteArrayView second,
                                  const QBitArray &secondKnown = {});

// "byte 42 LinkOptions: 00 | 01 (BCC | CRC)", with the model's meaning where there is one:
// "byte 93 ProtoParam[29] (Modbus table row 3, MODICON START ADDRESS, high byte): 01 | 02 (300 | 556)".
QString differenceLine(const ByteDifference &d);

// The unread offsets as ranges with their fields: "bytes 67..136 (ProtoParam[10]..ProtoParam[79])".
QStringList unreadRanges(const ModelInfo &model, const QList<int> &unread);

// What a unit holds, as the message that would have put it there: the body bytes come from
// the upload's replies (the first reply holds body byte k at 6 + k; the LBW parameter reply
// ProtoParam k at 24 + k; the RIO adapters' unasked reply ProtoParam 0..13 at 16..29), the
// header from the layout. Bytes no reply carries are not known, nor is the checksum then.
struct UnitMessage
{
    QByteArray bytes;
    QBitArray known;
};
UnitMessage messageFromUpload(const ModelInfo &model, QByteArrayView first, QByteArrayView second);
