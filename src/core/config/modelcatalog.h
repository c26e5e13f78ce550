// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The eighteen freestanding converter models. A model is known by its catalog entry: the
// session holds the chosen one, and every "which model is this?" is a question to its traits.
// The model code ("QN4000-NGD") is what the user sees of it.

// What a model does, which decides its set-up on the model selection form and its layouts.
enum class ModelKind {
    Bridge,          // NGD: DF1 serial interface to DH+, or DH+ to DH+ bridge
    Modbus,          // LBW: Modbus to DH+
    SiemensDrives,   // WOLTA
    ToshibaDrives,   // EPV4
    Brabender,       // JMR
    AsciiDisplays,   // TBQ: ASCII printers and displays
    DualDf1,         // F7H: two DF1 ports to DH+
    RioAdapter,      // UCT: DF1 to DH+ or RIO
    MultidropMaster, // PXA: DF1 half-duplex multidrop master
    Scanners,        // YZE: ASCII scanners to a PLC data table
    EatonDrives,     // RW31: two Eaton drive systems to a PLC data table
    Centerscan,      // HNV: Centerscan ASCII to DH+
    Zumbach,         // QOF: Zumbach terminal and host mode to a PLC data table
    RioToModbus,     // XAJ: Remote I/O to a Modbus master
};

// The parameter values a configuration file holds after the fourteen common ones.
enum class FileParams {
    None,
    TypeWord,    // ProtoParam 0,1 on one line
    DataTable,   // ProtoParam 0..5, two a line
    RackMap,     // ProtoParam 0..13, two a line
    ModbusTable, // ProtoParam 0..5 and the eight block rows, one a line
};

// What a model's configuration holds that its configuration file has no place for.
enum class FileOmission {
    Nothing,
    ToshibaSettings, // EPV4: ExtParam 0..5 and the Super2E table, ProtoParam 0..79
    PlcFileNumber,   // RW31: the PLC file number, ProtoParam 2 and 3
};

// How an upload gathers a configuration after the first reply to "TEE".
enum class UploadPlan {
    Single,           // the first reply is all
    ParameterRequest, // "TEM" asks for the parameter block (114 bytes)
    UnaskedReply,     // the unit sends its rack map unasked once the first reply is acknowledged
};

struct ModelInfo
{
    QString code;        // "QN4000-NGD"
    QString button;      // object name of its button on the model selection form
    QString caption;     // button caption, with '&' before the access key where there is one
    QString description; // the button's tool tip
    int configLength;    // message body length, which also picks the message layout
    int productCode;     // 0..13, sent to the unit
    int generation;      // 4000 or 6000
    ModelKind kind;
    FileParams fileParams;
    UploadPlan uploadPlan;
    const char *dataTableForm; // the PLC data-table dialog of its ASCII layout, or nullptr

    QString familyCode() const { return QString::number(generation); }
    bool isQn6000() const { return generation == 6000; }
    // The access key letter, or a null QChar when the caption has none.
    QChar accessKey() const;
    // First-generation NGD units come with and without flash, which reply to an upload with
    // 54 or 66 bytes: the set-up asks which.
    bool asksFlashQuestion() const { return kind == ModelKind::Bridge && generation == 4000; }
    FileOmission fileOmits() const
    {
        return kind == ModelKind::ToshibaDrives ? FileOmission::ToshibaSettings
               : kind == ModelKind::EatonDrives ? FileOmission::PlcFileNumber
                                                : FileOmission::Nothing;
    }
    // The channel B dialog offers RS-232C, RS-422 and RS-485 ("SERIAL CONNECTION").
    bool offersSerialConnection() const
    {
        return generation == 6000 &&
               (kind == ModelKind::RioToModbus || kind == ModelKind::Modbus || kind == ModelKind::Bridge);
    }
};

const QList<ModelInfo> &modelCatalog();
// nullptr when code names no model.
const ModelInfo *findModel(QStringView code);
