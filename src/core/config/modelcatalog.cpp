// SPDX-License-Identifier: GPL-3.0-or-later
#include "modelcatalog.h"

QChar ModelInfo::accessKey() const
{
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    return amp >= 0 && amp + 1 < caption.size() ? caption.at(amp + 1) : QChar();
}

const QList<ModelInfo> &modelCatalog()
{
    // Button order is the order on the model selection form: thirteen first-generation
    // models, then five second-generation ones (which have no access keys).
    static const QList<ModelInfo> catalog = {
        {"QN4000-JMR", "cmdBrabender", "QN4000-J&MR", "Connects Brabender equipment to A-B DH+ and Modbus",
         58, 4, 4000, ModelKind::Brabender, FileParams::TypeWord, UploadPlan::Single, nullptr},
        {"QN4000-EPV4", "cmdEpv4", "QN4000-&EPV4", "Connects Toshiba devices to A-B DH+/RIO and Modbus", 130,
         3, 4000, ModelKind::ToshibaDrives, FileParams::None, UploadPlan::Single, nullptr},
        {"QN4000-WOLTA", "cmdWolta", "QN4000-&WOLTA", "Connects Siemens drives to A-B DH+/RIO and Modbus", 58,
         2, 4000, ModelKind::SiemensDrives, FileParams::TypeWord, UploadPlan::Single, nullptr},
        {"QN4000-RW31", "Command3", "QN4000-R&W31", "Connects two Eaton RW31 Drive Systems to A-B DH+", 58,
         10, 4000, ModelKind::EatonDrives, FileParams::None, UploadPlan::Single, "YZE_DataTable"},
        {"QN4000-QOF", "Command9", "QN4000-&QOF", "Zumbach Terminal and Host Mode Interface to A-B's DH+", 58,
         12, 4000, ModelKind::Zumbach, FileParams::DataTable, UploadPlan::Single, "VR58_DataTable"},
        {"QN4000-HNV", "Command11", "QN4000-H&NV", "Centerscan ASCII Serial Interface to A-B's DH+", 58, 11,
         4000, ModelKind::Centerscan, FileParams::None, UploadPlan::Single, nullptr},
        {"QN4000-PXA", "Command5", "QN4000-P&XA", "DF1 -  Half Duplex Multidrop Master to DH+", 58, 8, 4000,
         ModelKind::MultidropMaster, FileParams::None, UploadPlan::Single, nullptr},
        {"QN4000-TBQ", "Command2", "QN4000-&TBQ", "Interface ASCII serial printers and displays to DH+", 42,
         5, 4000, ModelKind::AsciiDisplays, FileParams::None, UploadPlan::Single, nullptr},
        {"QN4000-YZE", "Command4", "QN4000-YZ&E", "Interface ASCII serial scanners to DH+", 58, 9, 4000,
         ModelKind::Scanners, FileParams::DataTable, UploadPlan::Single, "YZE_DataTable"},
        {"QN4000-F7H", "Command1", "QN4000-F7&H", "Two DF1 serial interface ports to A-B DH+", 58, 6, 4000,
         ModelKind::DualDf1, FileParams::None, UploadPlan::Single, nullptr},
        {"QN4000-NGD", "Command6", "QN4000-&NGD", "DF1 Serial interface to A-B DH+ or DH+ to DH+ bridge", 42,
         0, 4000, ModelKind::Bridge, FileParams::None, UploadPlan::Single, nullptr},
        {"QN4000-UCT", "Command7", "QN4000-UC&T", "DF1 Serial interface to A-B DH+ or RIO", 64, 7, 4000,
         ModelKind::RioAdapter, FileParams::RackMap, UploadPlan::UnaskedReply, nullptr},
        {"QN4000-LBW", "Command8", "QN4000-&LBW", "Modbus interface to DH+", 136, 1, 4000, ModelKind::Modbus,
         FileParams::ModbusTable, UploadPlan::ParameterRequest, nullptr},
        {"QN6000-XAJ", "cmd6000XAJ", "QN6000-XAJ", "Remote I/O Interface to Modbus Master Scanner", 58, 13,
         6000, ModelKind::RioToModbus, FileParams::None, UploadPlan::Single, nullptr},
        {"QN6000-YZE", "cmdYZE", "QN6000-YZE", "DH+ monitor using DF1 - Frontline Test Equipment", 58, 9,
         6000, ModelKind::Scanners, FileParams::DataTable, UploadPlan::Single, "YZE_DataTable"},
        {"QN6000-LBW", "cmd6000LBW", "QN6000-LBW", "Modbus interface to DH+", 136, 1, 6000, ModelKind::Modbus,
         FileParams::ModbusTable, UploadPlan::ParameterRequest, nullptr},
        {"QN6000-UCT", "cmd6000UCT", "QN6000-UCT", "DF1 Serial interface to A-B DH+ or RIO", 64, 7, 6000,
         ModelKind::RioAdapter, FileParams::RackMap, UploadPlan::UnaskedReply, nullptr},
        {"QN6000-NGD", "Command22", "QN6000-NGD", "DF1 Serial interface to A-B DH+ or DH+ to DH+ bridge", 42,
         0, 6000, ModelKind::Bridge, FileParams::None, UploadPlan::Single, nullptr},
    };
    return catalog;
}

const ModelInfo *findModel(QStringView code)
{
    for (const ModelInfo &m : modelCatalog()) {
        if (m.code == code)
            return &m;
    }
    return nullptr;
}
