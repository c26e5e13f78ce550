// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileomissions.h"

#include "files/localfile.h"

#include <QCoreApplication>

QString fileOmissionNote(const ModelInfo &model, const ConfigRecord &rec, FileUse use, const QString &path)
{
    const QString file = shownName(path);
    switch (model.fileOmits()) {
    case FileOmission::Nothing:
        break;
    case FileOmission::ToshibaSettings:
        switch (use) {
        case FileUse::Saved:
            //: %1 is the file
            return QCoreApplication::translate(
                       "fileomissions",
                       "%1 was saved without the Toshiba drive settings: a configuration file has no place "
                       "for them. Opened again, or downloaded from the file, it gives the Toshiba settings "
                       "the program holds at that time (the presets, unless they were changed in that run).")
                .arg(file);
        case FileUse::Uploaded:
            //: %1 is the file
            return QCoreApplication::translate(
                       "fileomissions",
                       "%1 was saved without the Quintrel's Toshiba drive settings: a configuration file "
                       "has no place for them. The configuration now shown, like a download from the file, "
                       "has the Toshiba settings this program holds (the presets, unless they were changed "
                       "in this run), not necessarily the unit's.")
                .arg(file);
        case FileUse::Sent:
            //: %1 is the file
            return QCoreApplication::translate(
                       "fileomissions",
                       "%1 holds no Toshiba drive settings: a configuration file has no place for them. The "
                       "Quintrel gets the Toshiba settings this program holds (the presets, unless they "
                       "were changed in this run).")
                .arg(file);
        }
        break;
    case FileOmission::PlcFileNumber: {
        const QString number = QString::number(rec.ProtoParam[3] * 256 + rec.ProtoParam[2]);
        switch (use) {
        case FileUse::Saved:
            //: %1 is the file, %2 the PLC file number
            return QCoreApplication::translate(
                       "fileomissions",
                       "%1 was saved without the PLC file number (now %2): a configuration file has no "
                       "place for it. Opened again, or downloaded from the file, it gives the file number "
                       "the program holds at that time.")
                .arg(file, number);
        case FileUse::Uploaded:
            //: %1 is the file, %2 the PLC file number
            return QCoreApplication::translate(
                       "fileomissions",
                       "%1 was saved without the Quintrel's PLC file number: a configuration file has no "
                       "place for it. The configuration now shown, like a download from the file, has the "
                       "file number this program holds (%2), not necessarily the unit's.")
                .arg(file, number);
        case FileUse::Sent:
            //: %1 is the file, %2 the PLC file number
            return QCoreApplication::translate(
                       "fileomissions",
                       "%1 holds no PLC file number: a configuration file has no place for it. The "
                       "Quintrel gets the file number this program holds, %2.")
                .arg(file, number);
        }
        break;
    }
    }
    return {};
}

void keepWhatTheFileOmits(const ModelInfo &model, const ConfigRecord &held, ConfigRecord &rec)
{
    switch (model.fileOmits()) {
    case FileOmission::Nothing:
        break;
    case FileOmission::ToshibaSettings:
        // The drive dialogs' fields: the retries, delay, drive type and network action, and the
        // Super2E polling table.
        rec.ExtParam = held.ExtParam;
        rec.ProtoParam = held.ProtoParam;
        break;
    case FileOmission::PlcFileNumber:
        rec.ProtoParam[2] = held.ProtoParam[2];
        rec.ProtoParam[3] = held.ProtoParam[3];
        break;
    }
}
