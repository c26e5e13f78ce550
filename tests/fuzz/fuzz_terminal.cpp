// The terminal's text rules: whatever the converter sends, in whatever pieces the reads
// deliver it and however often the window looks, the text is the same as if each byte had
// come on its own, the window's copy matches it, and it stays bounded.

#include "online/terminaltext.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    // The terminal's own limits, and small ones that short inputs reach again and again (a
    // trim of at least two, as a line feed adds two).
    const bool small = size > 0 && data[0] & 1;
    const qsizetype above = small ? 2 + data[0] % 61 : TerminalText::TrimAbove;
    const qsizetype count = small ? 2 + (size > 1 ? data[1] : 0) % (above - 1) : TerminalText::TrimCount;

    TerminalText bytewise(above, count);
    for (qsizetype i = 0; i < input.size(); ++i)
        bytewise.append(input.sliced(i, 1));

    // In pieces whose lengths the input's own bytes pick, the window looking after some.
    TerminalText pieces(above, count);
    QString shown;
    for (qsizetype pos = 0, i = 0; pos < input.size(); ++i) {
        const quint8 pick = quint8(input[i % input.size()]);
        const qsizetype n = qMin(qsizetype(1 + pick % 97), input.size() - pos);
        pieces.append(input.sliced(pos, n));
        pos += n;
        if (pick & 2)
            apply(shown, pieces.takeChange());
        FUZZ_CHECK(pieces.text().size() <= above + 2);
    }
    apply(shown, pieces.takeChange());
    FUZZ_CHECK(!pieces.hasChange());

    FUZZ_CHECK(pieces.text() == bytewise.text());
    FUZZ_CHECK(shown == pieces.shownText());
    FUZZ_CHECK(!pieces.text().contains(QLatin1Char('\0')) && !pieces.text().contains(QChar(0x08)));
    // Every line feed has its CR before it.
    const QString &t = pieces.text();
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('\n'))
            FUZZ_CHECK(i == 0 || t[i - 1] == QLatin1Char('\r'));
    }
    return 0;
}
