// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminaltext.h"

namespace {

constexpr char BS = 0x08;
constexpr char CR = 0x0D;
constexpr char LF = 0x0A;

QString withoutCr(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text) {
        if (c != QLatin1Char(CR))
            shown.append(c);
    }
    return shown;
}

} // namespace

void TerminalText::append(QByteArrayView received)
{
    trimIfLong();
    // The backspaces first, on the read as it came: one takes the byte before it with it,
    // and those left at the start erase the last character already there, once.
    QByteArray kept;
    kept.reserve(received.size());
    bool eraseShown = false;
    for (char c : received) {
        if (c != BS)
            kept.append(c);
        else if (!kept.isEmpty())
            kept.chop(1);
        else
            eraseShown = true;
    }
    if (eraseShown)
        eraseLast();
    for (char c : std::as_const(kept)) {
        if (c == CR || c == 0) // a text box ends at a zero; the unit sends none on purpose
            continue;
        trimIfLong();
        if (c == LF)
            m_text.append(QLatin1String("\r\n"));
        else
            m_text.append(QChar::fromLatin1(c));
    }
}

void TerminalText::trimIfLong()
{
    if (m_text.size() > m_trimAbove) {
        m_text.remove(0, m_trimCount);
        m_whole = true;
        m_shown = 0;
    }
}

void TerminalText::eraseLast()
{
    if (m_text.isEmpty())
        return;
    const qsizetype at = m_text.size() - 1;
    // A character the window already shows has to go there too (a CR it never showed).
    if (!m_whole && at < m_shown) {
        if (m_text.at(at) != QLatin1Char(CR))
            ++m_erased;
        m_shown = at;
    }
    m_text.chop(1);
}

QString TerminalText::shownText() const
{
    return withoutCr(m_text);
}

TerminalText::Change TerminalText::takeChange()
{
    Change change;
    change.whole = m_whole;
    if (m_whole)
        change.appended = shownText();
    else {
        change.erased = m_erased;
        change.appended = withoutCr(QStringView(m_text).mid(m_shown));
    }
    m_whole = false;
    m_erased = 0;
    m_shown = m_text.size();
    return change;
}

void TerminalText::clear()
{
    m_text.clear();
    m_whole = true;
    m_shown = 0;
    m_erased = 0;
}
