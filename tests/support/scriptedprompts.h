// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prompts/prompts.h"

#include <QList>
#include <QStringList>

// Answers prompts from a queue, records every prompt it was shown, and notes each prompt that
// nobody expected (answered with Cancel / an empty path), so a test can fail on it.
class ScriptedPrompts : public Prompts
{
public:
    enum class Kind { Message, Open, Save };

    struct Shown
    {
        Kind kind;
        QString text; // message text, or the dialog title
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        FileRequest request;
    };

    // Queue the answer to the next message box; titleContains (if given) must match its title.
    void answerMessage(Answer answer, const QString &titleContains = QString());
    void answerOpen(const QString &path);
    void answerSave(const QString &path);

    Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    QString openFile(const FileRequest &request) override;
    QString saveFile(const FileRequest &request) override;

    const QList<Shown> &shown() const { return m_shown; }
    QList<Shown> takeShown();
    // Prompts that came with no queued answer, or whose title did not match.
    const QStringList &unexpected() const { return m_unexpected; }
    bool allAnswered() const { return m_queue.isEmpty(); }
    // A summary of what went wrong, for a test's failure message; empty when all is well.
    QString problems() const;

private:
    struct Queued
    {
        Kind kind;
        Answer answer;
        QString path;
        QString titleContains;
    };
    bool takeAnswer(Kind kind, const QString &title, Queued *out);

    QList<Queued> m_queue;
    QList<Shown> m_shown;
    QStringList m_unexpected;
};
