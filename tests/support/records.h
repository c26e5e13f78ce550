// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"

#include <QByteArray>

// Records for tests. busyFields() gives every field a file or the configuration message
// carries a value of its own (none zero, none a quote, CR or LF), from a seed, so that a
// field that lands in the wrong place, or not at all, shows; the model identity is left alone.
inline void busyFields(ConfigRecord &rec, int seed)
{
    seed += 100;
    rec.ProtocolMode = quint8(seed + 1);
    rec.StationNumber = quint8(seed + 2);
    rec.HighAddress = quint8(seed + 3);
    rec.NetworkSpeed = {quint8(seed + 4), quint8(seed + 5)};
    rec.ChanBSpeed = quint8(seed + 6);
    rec.ChanBFormat = quint8(seed + 7);
    rec.ChanCSpeed = quint8(seed + 8);
    rec.ChanCFormat = quint8(seed + 9);
    rec.LinkOptions = quint8(seed + 10);
    rec.BusType = {quint8(seed + 11), quint8(seed + 12)};
    rec.AuxByte1.set(QByteArray::number(seed + 13));
    rec.AuxByte2.set(QByteArray::number(seed + 14));
    rec.AuxByte3 = quint8(seed + 15);
    rec.AuxByte4 = quint8(seed + 16);
    for (int k = 0; k < ExtParamCount; ++k)
        rec.ExtParam[k] = quint8(0xE0 + k);
    for (int k = 0; k < ProtoParamCount; ++k)
        rec.ProtoParam[k] = quint8(100 + k);
}

inline ConfigRecord busyRecord(int seed)
{
    ConfigRecord rec;
    busyFields(rec, seed);
    return rec;
}

// The same, as a record of this model: its message layout and product code.
inline ConfigRecord busyRecord(int seed, const ModelInfo &model)
{
    ConfigRecord rec = busyRecord(seed);
    rec.ConfigLength = model.configLength;
    rec.ProductCode = quint8(model.productCode);
    rec.FamilyCode = model.familyCode();
    return rec;
}
