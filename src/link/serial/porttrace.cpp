// SPDX-License-Identifier: GPL-3.0-or-later
#include "porttrace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

bool PortTrace::open(const QString &path, QString *error)
{
    const QFileInfo info(path);
    // A log is added to, never put in the place of something else.
    if (info.exists() && !info.isFile()) {
        *error = QCoreApplication::translate("porttrace", "%1 is not a regular file").arg(path);
        return false;
    }
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        //: %2 is the system's reason
        *error = QCoreApplication::translate("porttrace", "%1 cannot be written: %2")
                     .arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void PortTrace::line(int port, const QString &text)
{
    if (!m_file.isOpen())
        return;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    m_file.write((stamp + QStringLiteral(" COM%1 ").arg(port) + text + QLatin1Char('\n')).toUtf8());
}

void PortTrace::event(int port, const QString &what)
{
    line(port, what);
}

void PortTrace::bytes(int port, char direction, QByteArrayView data)
{
    // Every byte of the port comes through here: format nothing when nobody traces.
    if (!m_file.isOpen())
        return;
    for (qsizetype at = 0; at < data.size(); at += 16) {
        const QByteArrayView row = data.sliced(at, qMin<qsizetype>(16, data.size() - at));
        QString hex, text;
        for (char c : row) {
            hex += QStringLiteral("%1 ").arg(quint8(c), 2, 16, QLatin1Char('0')).toUpper();
            text += (c >= 0x20 && c < 0x7F) ? QLatin1Char(c) : QLatin1Char('.');
        }
        line(port,
             QLatin1Char(direction) + QStringLiteral("  ") + hex.leftJustified(48) + QLatin1Char(' ') + text);
    }
}
