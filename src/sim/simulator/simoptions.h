// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// Ways the simulated converter can misbehave, so the PC side's error paths can be exercised.
enum class SimFault {
    None,
    NoAck,     // download reply of full length without the acknowledge byte; nothing stored
    Silent,    // answers nothing at all and stores nothing
    Short,     // every reply cut to half its length
    Garbage,   // every reply replaced by as many junk bytes (no 0x06, never "TR", no XON/XOFF)
    BadTr,     // upload replies of the right length that do not start "TR"
    Xoff,      // a download or upload request gets XOFF on its first byte and nothing more
    Drop,      // the line goes away in the middle of a download or upload
    HoldAck,   // XOFF before each download reply (after each upload reply), XON a while later:
               // the PC's acknowledge waits; an upload's acknowledge sent meanwhile is lost
    NoXon,     // as HoldAck, but no XON after it: the acknowledge cannot leave
    FlashHold, // XOFF once 4 KB of a system file are in, XON 1.5 s later; more arriving meanwhile
               // than was already on its way overruns the unit and spoils the burn
};

struct SimOptions
{
    QString model;      // model code, "QN4000-LBW"
    QString eepromPath; // body kept here across runs; empty for a fresh unit every time
    int baud = 9600;    // DF1 line speed the unit answers at
    QSet<int> nodes;    // active DH+ nodes besides pcNode (0..63)
    int pcNode = 1;     // the unit's own DH+ node, which is where the PC appears on the network
    SimFault fault = SimFault::None;
    bool pace = false;    // send at the line speed rather than as fast as the pty takes it
    bool trace = false;   // hex dump of both directions on stderr
    bool oldNgd = false;  // a QN4000-NGD of the old firmware, which uploads 54 bytes
    int lateProbeMs = 0;  // answer DLE ENQ this much late
    int lateStatusMs = 0; // answer the status command for node 376 (Autoconfigure's) this much late
};

std::optional<SimFault> parseFault(QStringView name);
QString faultName(SimFault fault);
QStringList faultNames();

// DH+ node numbers are written in octal, 0..77.
constexpr int MaxDhNode = 63;
std::optional<int> parseOctalNode(QStringView text);
// "3,17,40"; an empty text is an empty list.
std::optional<QSet<int>> parseOctalNodes(QStringView list);
QString octalNode(int node); // two digits, "07"

bool isSupportedBaud(int baud);
