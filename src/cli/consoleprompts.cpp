// SPDX-License-Identifier: GPL-3.0-or-later
#include "consoleprompts.h"

#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
QString oneLine(QString text)
{
    text.replace(QLatin1String("\n\r"), QLatin1String(" / "));
    text.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    text.replace(QLatin1Char('\n'), QLatin1String(" / "));
    text.remove(QLatin1Char('\r'));
    return text;
}
} // namespace

Prompts::Answer ConsolePrompts::message(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    const bool question = buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo;
    if (question && settled.contains(title))
        return answers.value(title, No);
    m_out << (title.isEmpty() ? QString() : title + QStringLiteral(": ")) << oneLine(text) << Qt::endl;
    if (icon == Icon::Critical || text.startsWith(QLatin1String("Unable to Open COM PORT")) ||
        text.startsWith(QLatin1String("COM Error"))) {
        // A port error's second line tells what to do; it stays a line of its own.
        const qsizetype nl = text.indexOf(QLatin1Char('\n'));
        const bool advised = nl > 0 && !text.contains(QLatin1String("\n\r"));
        m_lastError = oneLine(advised ? text.left(nl) : text);
        m_lastAdvice = advised ? oneLine(text.mid(nl + 1)) : QString();
    }
    if (question) {
        const Answer a = answers.value(title, No);
        m_out << (a == Yes ? "> Yes" : "> No") << Qt::endl;
        return a;
    }
    // The configuration-mode prompt: the user presses the unit's button, then Enter here.
    if (icon == Icon::Exclamation && title.contains(QLatin1String("PUSHBUTTON")) && !proceedWithoutWaiting) {
        auto cancel = [this](const char *why) {
            m_cancelled = true;
            m_lastError = QString::fromLatin1(why);
            return Cancel;
        };
#ifdef Q_OS_UNIX
        if (!isatty(STDIN_FILENO))
            return cancel("nothing sent: no terminal to confirm the configuration mode on (--yes goes on "
                          "without asking)");
#endif
        m_out << "Press Enter when the Quintrel is in configuration mode..." << Qt::endl;
        char line[256];
        if (!std::fgets(line, sizeof line, stdin))
            return cancel("nothing sent: the configuration mode was not confirmed");
    }
    // Whoever runs the command has already chosen to go on.
    return Ok;
}

void ConsolePrompts::notes(const QString &text, const QString &, const QStringList &items)
{
    // Each item a line of its own, so a script can pick them out.
    m_out << oneLine(text) << Qt::endl;
    for (const QString &item : items)
        m_out << oneLine(item) << Qt::endl;
}

QString ConsolePrompts::openFile(const FileRequest &)
{
    return openPath;
}

QString ConsolePrompts::saveFile(const FileRequest &)
{
    return savePath;
}
