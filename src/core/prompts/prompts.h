// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Every message box and file dialog of the program goes through this interface, so the
// windows show real dialogs, the command-line companion answers on the console, and a test
// answers from a script.
class Prompts
{
public:
    // The values a message box returns, as the program compares them.
    enum Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
    enum class Buttons {
        Ok,
        OkCancel,
        YesNo,
        YesNoDefaultNo, // Enter and Escape answer No: for a question whose Yes goes against the odds
    };
    enum class Icon { None, Information, Exclamation, Critical, Question };

    struct FileRequest
    {
        QString title;
        QString filter;    // "Description (*.EXT)|*.EXT[|...]", pairs separated by '|'
        QString directory; // where the dialog starts; empty for the current folder
        bool confirmOverwrite = false;
        QString fileName; // the name offered in that folder; empty for none
    };

    virtual ~Prompts() = default;

    virtual Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) = 0;
    // Notes the user reads once, an item a line: one box after the introduction in a window;
    // a console prints each item as a line of its own.
    virtual void notes(const QString &text, const QString &title, const QStringList &items)
    {
        message(text + QStringLiteral("\n\n") + items.join(QLatin1Char('\n')), title, Buttons::Ok,
                Icon::Exclamation);
    }
    // The chosen path, or an empty text when the user cancelled.
    virtual QString openFile(const FileRequest &request) = 0;
    virtual QString saveFile(const FileRequest &request) = 0;
};
