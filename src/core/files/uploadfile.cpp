// SPDX-License-Identifier: GPL-3.0-or-later
#include "uploadfile.h"

#include "config/modelcatalog.h"

#include <QCoreApplication>

FileResult uploadFileBytes(const QByteArray &first, const QByteArray &second, const ModelInfo &model,
                           QByteArray *out)
{
    const bool lbw = model.fileParams == FileParams::ModbusTable;
    const bool rio = model.fileParams == FileParams::RackMap;
    const bool typeWord = model.fileParams == FileParams::TypeWord;
    const bool dataTable = model.fileParams == FileParams::DataTable;

    const int firstNeeded = typeWord ? 58 : dataTable ? 62 : 48;
    const int secondNeeded = lbw ? 110 : rio ? 30 : 0;
    if (first.size() < firstNeeded || second.size() < secondNeeded)
        return FileResult::failure(
            //: %1 is the model code
            QCoreApplication::translate(
                "uploadfile", "The reply from the Quintrel is too short to hold a %1 configuration.")
                .arg(model.code));

    auto at = [](const QByteArray &r, int i) { return quint8(r.at(i)); };
    ConfigLineWriter w;
    w.charByte(at(first, 29));
    w.number(at(first, 30));
    w.number(at(first, 31));
    w.charPair("NetworkSpeed", {at(first, 32), at(first, 33)});
    w.charByte(at(first, 34));
    w.number(at(first, 35));
    w.charByte(at(first, 36));
    w.number(at(first, 37));
    w.number(at(first, 41));
    w.charPair("BusType", {at(first, 42), at(first, 43)});
    w.number(at(first, 44));
    w.number(at(first, 45));
    w.charByte(at(first, 46));
    w.number(at(first, 47));

    if (typeWord) {
        w.numbers({at(first, 56), at(first, 57)});
    } else if (dataTable) {
        for (int off = 56; off <= 60; off += 2)
            w.numbers({at(first, off), at(first, off + 1)});
    } else if (lbw) {
        for (int off = 24; off <= 29; ++off)
            w.number(at(second, off));
        for (int n = 1; n <= 8; ++n) {
            for (int off = 10 * n + 22; off <= 10 * n + 29; ++off)
                w.number(at(second, off));
        }
    } else if (rio) {
        for (int off = 16; off <= 29; ++off)
            w.number(at(second, off));
    }
    if (!w.ok())
        return FileResult::failure(w.error());
    *out = w.bytes();
    return {};
}
