#pragma once

#include "prompts/prompts.h"

#include <QHash>
#include <QTextStream>

// Prompts on a console: every message box is printed, the configuration-mode prompt waits for
// Enter (unless told to go on at once), questions take preset answers, and the file dialogs
// return the paths given on the command line.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(QTextStream &out) : m_out(out) {}

    bool proceedWithoutWaiting = false;
    QString openPath;
    QString savePath;
    // Answers to Yes/No questions by title; No where none is set.
    QHash<QString, Answer> answers;

    // The text of the last critical or error box, for the one-line reason on standard error.
    const QString &lastError() const { return m_lastError; }

    Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    QString openFile(const FileRequest &request) override;
    QString saveFile(const FileRequest &request) override;

private:
    QTextStream &m_out;
    QString m_lastError;
};
