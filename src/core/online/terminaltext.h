// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// The terminal's text as the converter's output builds it, one read at a time. Within a read,
// each backspace takes the character before it in that read with it, whatever it is (a
// carriage return too); the backspaces left at the read's start erase the last character of
// the text, one character however many there are. Then carriage returns are dropped, a line
// feed becomes CR LF, and every other byte is shown as its Latin-1 character. So the text
// depends on where the reads begin, as the converter's own terminal does.
//
// Past 16383 characters the first 4096 go before the next character is added, so the text
// stays bounded whatever the size of a read.
//
// The window shows the text with its line breaks as lines; takeChange() tells it what changed
// since it last looked, so that it can edit its copy rather than set it anew.
class TerminalText
{
public:
    static constexpr qsizetype TrimAbove = 16383;
    static constexpr qsizetype TrimCount = 4096;

    struct Change
    {
        bool whole = false;   // the start of the text went: show text() anew
        qsizetype erased = 0; // characters to erase from the end of what is shown
        QString appended;     // then to append (line breaks as '\n', no CR)
    };

    // Other limits than the terminal's, for checks that want to reach them with short texts.
    explicit TerminalText(qsizetype trimAbove = TrimAbove, qsizetype trimCount = TrimCount)
        : m_trimAbove(trimAbove)
        , m_trimCount(trimCount)
    {
    }

    void append(QByteArrayView received);
    void clear();

    // CR LF between lines, as the converter's lines end.
    const QString &text() const { return m_text; }
    // The text as shown: lines separated by '\n', no CR.
    QString shownText() const;
    bool hasChange() const { return m_whole || m_erased > 0 || m_text.size() > m_shown; }
    Change takeChange();

private:
    void trimIfLong();
    void eraseLast();

    qsizetype m_trimAbove;
    qsizetype m_trimCount;
    QString m_text;
    // What the window shows: the first m_shown characters of m_text, as they were at the
    // last takeChange(), less what m_erased says to take away.
    qsizetype m_shown = 0;
    qsizetype m_erased = 0;
    bool m_whole = false;
};
