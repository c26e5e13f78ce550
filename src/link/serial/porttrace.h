// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

// A log of a port's traffic for support: every byte each way and every change of the port's
// settings and lines, one line each with a millisecond timestamp:
//   2026-12-08 14:04:16.123 COM1 open /dev/ttyUSB0 baud=9600 parity=N data=8 stop=1
//   2026-12-08 14:04:16.130 COM1 >  4E 45 45 01 00                                  NEE..
//   2026-12-08 14:04:16.250 COM1 <  06 0D 0A                                        ...
// Bytes go 16 to a line, in hex and as printable text ("." for the rest). Each line is
// written through to the file at once, so a crash or a pulled cable loses nothing of it.
class PortTrace
{
public:
    // Appends to path (a regular file, made if missing); false with a reason if it cannot.
    bool open(const QString &path, QString *error);
    bool isOpen() const { return m_file.isOpen(); }

    void event(int port, const QString &what);
    void bytes(int port, char direction, QByteArrayView data);

private:
    void line(int port, const QString &text);

    QFile m_file;
};
