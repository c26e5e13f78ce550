// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What the system tells about its serial ports and about who holds one: the list a user picks
// an adapter from, the devices the COM options stand for when nobody chose one, and the second
// line of a port error that says what to do about it.

struct SerialPortEntry
{
    QString path; // /dev/ttyUSB0
    QString byId; // /dev/serial/by-id/usb-..., empty where the system gives none
    QString description;
    QString manufacturer;
    QString serialNumber;
    bool adapter = false; // a USB or ACM adapter, which the COM options take first

    // The name to use: the stable by-id name where there is one.
    QString name() const { return byId.isEmpty() ? path : byId; }
    // "description, maker, serial number", leaving out what is unknown.
    QString details() const;
    // How a person tells the port from the others: "ttyUSB0 — FT232R USB UART (FTDI, A50285BI)",
    // the device's own short name and what is known of the adapter.
    QString label() const;
};

// A device as a person reads it: the label of the listed port it is, else the path without
// its leading "/dev/".
QString deviceLabel(const QList<SerialPortEntry> &ports, const QString &device);

// The system's serial ports, adapters first in a stable order (by their names), then the rest.
QList<SerialPortEntry> listSerialPorts();
// For tests: the list comes from lister instead of the system (an empty function restores it).
void setSerialPortLister(std::function<QList<SerialPortEntry>()> lister);

// The entry for a device given by any of its names (a by-id link, the path), if listed.
std::optional<SerialPortEntry> findSerialPort(const QList<SerialPortEntry> &ports, const QString &device);

// The device COMn stands for when nobody chose one: QNCF_COMn if set; else, for COM1..COM4,
// the detected adapters in order (those named by a QNCF_COMn already skipped); then the
// system's own name for the n-th serial port.
QString defaultComDevice(int n, const QList<SerialPortEntry> &ports);

// The path is there and is surely no serial port: a folder, a regular file, a device of
// another kind (/dev/null). False where it is not there or the system cannot tell.
bool isNoSerialPort(const QString &device);

struct PortHolder
{
    qint64 pid = 0;
    QString name; // the program's name
};

// Other processes that have the device open, found through /proc/*/fd. A process that also
// holds the master end of the same pseudo-terminal is its far side, not a competitor, and is
// left out. Empty where the system cannot tell, and for what is no serial port (every
// program has /dev/null open).
QList<PortHolder> otherHolders(const QString &device);

// The second line of a port error: the device, and what is likely to help.
// errorCode is the system's error number of the failed open (EACCES, ENOENT, EBUSY...; on
// Windows ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND...).
QString portAdvice(const QString &device, int errorCode, const QString &errorText,
                   const QList<PortHolder> &holders = {});
