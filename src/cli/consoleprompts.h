// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prompts/prompts.h"

#include <QHash>
#include <QSet>
#include <QTextStream>

// Prompts on a console: every message box is printed (on standard error: standard output
// carries only a command's result), the configuration-mode prompt waits for Enter on a
// terminal (unless told to go on at once; with no terminal, or at the end of the input, it is
// cancelled), questions take preset answers, and the file dialogs return the paths given on
// the command line.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(QTextStream &out) : m_out(out) {}

    bool proceedWithoutWaiting = false;
    QString openPath;
    QString savePath;
    // Answers to Yes/No questions by title; No where none is set.
    QHash<QString, Answer> answers;
    // Questions (by title) the command has already dealt with in its own words: answered from
    // answers without a line.
    QSet<QString> settled;

    // The first line of the last critical or error box, for the reason line on standard error,
    // and the lines after it (what to do about it).
    const QString &lastError() const { return m_lastError; }
    const QString &lastAdvice() const { return m_lastAdvice; }
    // The configuration-mode prompt was not confirmed: nothing was sent.
    bool cancelled() const { return m_cancelled; }

    Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    void notes(const QString &text, const QString &title, const QStringList &items) override;
    QString openFile(const FileRequest &request) override;
    QString saveFile(const FileRequest &request) override;

private:
    QTextStream &m_out;
    QString m_lastError;
    QString m_lastAdvice;
    bool m_cancelled = false;
};
