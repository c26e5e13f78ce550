// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal's text rules: whatever the converter sends, in whatever reads it arrives and
// however often the window looks, the text is what the append steps give done plainly on a
// string, read by read; the window's copy matches it; it stays bounded; and where no
// backspace came, where the reads begin makes no difference.

#include "online/terminaltext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "fuzzcommon.h"

namespace {

// What a window that edits its copy by each change ends up showing.
void apply(QString &shown, const TerminalText::Change &c)
{
    if (c.whole) {
        shown = c.appended;
        return;
    }
    FUZZ_CHECK(c.erased <= shown.size());
    shown.chop(c.erased);
    shown += c.appended;
}

// One read appended step by step: trim, backspaces (the first one again and again), carriage
// returns out, line feeds as CR LF, the selection replaced. The trim also comes before each
// character added, which keeps the text bounded however long a read is.
void appendPlainly(QString &term, QByteArrayView read, qsizetype above, qsizetype count)
{
    const auto trim = [&] {
        if (term.size() > above)
            term.remove(0, count);
    };
    trim();
    QByteArray text = read.toByteArray();
    bool selected = false;
    for (qsizetype at = text.indexOf('\x08'); at >= 0;
         at = text.indexOf('\x08', qMax<qsizetype>(0, at - 1))) {
        if (at == 0) {
            selected = true; // the last character of the text, however often
            text.remove(0, 1);
        } else {
            text.remove(at - 1, 2);
        }
    }
    if (selected && !term.isEmpty())
        term.chop(1);
    for (char c : std::as_const(text)) {
        if (c == '\r' || c == '\0')
            continue;
        trim();
        term += c == '\n' ? QStringLiteral("\r\n") : QString(QChar::fromLatin1(c));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    // The terminal's own limits, and small ones that short inputs reach again and again (a
    // trim of at least two, as a line feed adds two).
    const bool small = size > 0 && data[0] & 1;
    const qsizetype above = small ? 2 + data[0] % 61 : TerminalText::TrimAbove;
    const qsizetype count = small ? 2 + (size > 1 ? data[1] : 0) % (above - 1) : TerminalText::TrimCount;

    // In reads whose lengths the input's own bytes pick, the window looking after some.
    TerminalText reads(above, count);
    QString plain;
    QString shown;
    for (qsizetype pos = 0, i = 0; pos < input.size(); ++i) {
        const quint8 pick = quint8(input[i % input.size()]);
        const qsizetype n = qMin(qsizetype(1 + pick % 97), input.size() - pos);
        reads.append(input.sliced(pos, n));
        appendPlainly(plain, input.sliced(pos, n), above, count);
        pos += n;
        if (pick & 2)
            apply(shown, reads.takeChange());
        FUZZ_CHECK(reads.text() == plain);
        FUZZ_CHECK(reads.text().size() <= above + 2);
    }
    apply(shown, reads.takeChange());
    FUZZ_CHECK(!reads.hasChange());
    FUZZ_CHECK(shown == reads.shownText());
    FUZZ_CHECK(!reads.text().contains(QLatin1Char('\0')) && !reads.text().contains(QChar(0x08)));
    // Every line feed has its CR before it.
    const QString &t = reads.text();
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('\n'))
            FUZZ_CHECK(i == 0 || t[i - 1] == QLatin1Char('\r'));
    }

    if (!input.contains('\x08')) {
        TerminalText bytewise(above, count);
        for (qsizetype i = 0; i < input.size(); ++i)
            bytewise.append(input.sliced(i, 1));
        FUZZ_CHECK(bytewise.text() == reads.text());
    }
    return 0;
}
