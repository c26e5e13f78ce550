#include "consoleprompts.h"

#include <cstdio>

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
    m_out << (title.isEmpty() ? QString() : title + QStringLiteral(": ")) << oneLine(text) << Qt::endl;
    if (icon == Icon::Critical || text.startsWith(QLatin1String("Unable to Open COM PORT")) ||
        text.startsWith(QLatin1String("COM Error")))
        m_lastError = oneLine(text);
    if (buttons == Buttons::YesNo) {
        const Answer a = answers.value(title, No);
        m_out << (a == Yes ? "> Yes" : "> No") << Qt::endl;
        return a;
    }
    // The configuration-mode prompt: the user presses the unit's button, then Enter here.
    if (icon == Icon::Exclamation && title.contains(QLatin1String("PUSHBUTTON")) && !proceedWithoutWaiting) {
        m_out << "Press Enter when the Quintrel is in configuration mode..." << Qt::endl;
        char line[256];
        if (!std::fgets(line, sizeof line, stdin))
            return Cancel;
    }
    return buttons == Buttons::Ok ? Ok : Cancel;
}

QString ConsolePrompts::openFile(const FileRequest &)
{
    return openPath;
}

QString ConsolePrompts::saveFile(const FileRequest &)
{
    return savePath;
}
