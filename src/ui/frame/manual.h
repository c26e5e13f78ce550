// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class Prompts;
class QWidget;

// The user manual, an HTML page with one section for each form (its id is the form's name),
// opened in the desktop's browser. It is looked for next to the program: installed
// (<prefix>/share/doc/qncf/manual), in the build tree (<build>/doc/manual), or in the folder
// of a Windows installation (manual\); QNCF_MANUAL names another folder.

// The manual's page at a form's section (no section: its top); empty where there is no manual.
QUrl manualUrl(const QString &section = QString());
// Opens it, or tells the user that the manual is missing or could not be opened.
void openManual(Prompts &prompts, const QString &section);
// F1 on a form opens the manual at the form's section, named by its object name.
void addHelpKey(QWidget &form, Prompts &prompts);
// For tests: opening goes to opener instead of the desktop (an empty function restores it).
void setManualOpener(std::function<bool(const QUrl &)> opener);
