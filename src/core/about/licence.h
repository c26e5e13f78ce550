// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

// The licence, as --version prints it (a line a sentence) and the about box shows it.
inline constexpr char LicenceNotice[] =
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.";

// What --version prints: the program and its version as main() named them, then the licence.
inline QString versionText()
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
           QLatin1Char('\n') + QLatin1String(LicenceNotice) + QLatin1Char('\n');
}
