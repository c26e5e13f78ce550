// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration file reader on any bytes. Input: the file layout (the first byte, modulo
// five: None, TypeWord, DataTable, RackMap, ModbusTable), then the file.

#include "files/configfile.h"
#include "files/layoutcheck.h"

#include <QByteArray>

#include <array>
#include <chrono>
#include <ctime>

#include "fuzzcommon.h"

namespace {

// The one-character fields: ProtocolMode, ChanBSpeed, ChanCSpeed, AuxByte3.
bool isCharSlot(int slot)
{
    return slot == 0 || slot == 4 || slot == FieldSlot::ChanCSpeed || slot == 12;
}

// A table whose every slot holds a value of its own, so a slot that changes shows.
LoadedValues markedTable()
{
    LoadedValues t;
    for (int i = 0; i < LoadedSlotCount; ++i)
        t[i] = LoadedValue::number(-1000 - i);
    return t;
}

// The filled slots written back as a file, one value a line, each in a form the reader takes
// back as the same value.
QByteArray writeBack(const LoadedValues &t, const QList<int> &filled)
{
    ConfigLineWriter w;
    for (int slot : filled) {
        const LoadedValue &v = t[slot];
        if (v.isNumber()) {
            w.number(v.numberValue());
            continue;
        }
        const QByteArray &text = v.textValue();
        if (isCharSlot(slot) && text.size() == 1 && (text[0] == '"' || text[0] == '\0'))
            w.number(quint8(text[0])); // a quote would end the text; a zero byte would be cut
        else
            w.quoted(text);
    }
    return w.bytes();
}

void checkLayout(const QByteArray &file, const ModelInfo &model)
{
    const QList<int> filled = filledSlots(model);
    std::array<bool, LoadedSlotCount> isFilled{};
    for (int slot : filled)
        isFilled[slot] = true;

    const LoadedValues blank{};
    const LoadedValues marked = markedTable();
    LoadedValues a = blank;
    LoadedValues b = marked;
    const FileResult ra = ReadConfigRecords(file, model, a);
    const FileResult rb = ReadConfigRecords(file, model, b);
    FUZZ_CHECK(ra.ok == rb.ok);
    // The layout check counts values as the reader takes them: a file the reader takes is whole
    // configurations of the model (so a check that finds none may refuse it outright).
    const LayoutCheck::Verdict verdict = checkFileLayout(file, model).verdict;
    FUZZ_CHECK(!ra.ok || verdict == LayoutCheck::Verdict::Fits ||
               verdict == LayoutCheck::Verdict::WrongShape);
    if (!ra.ok) {
        FUZZ_CHECK(a == blank && b == marked);
        FUZZ_CHECK(!ra.error.isEmpty() && ra.error == rb.error);
        return;
    }

    // The file alone decides the slots it fills; every other slot keeps what it held.
    for (int slot = 0; slot < LoadedSlotCount; ++slot) {
        if (!isFilled[slot]) {
            FUZZ_CHECK(a[slot] == blank[slot] && b[slot] == marked[slot]);
            continue;
        }
        const LoadedValue &v = a[slot];
        FUZZ_CHECK(v == b[slot] && !v.isUnset());
        if (v.isNumber()) {
            // A one-character field written as a number is the byte of that number.
            FUZZ_CHECK(!(isCharSlot(slot) && fitsByte(v.numberValue())));
            continue;
        }
        const QByteArray &text = v.textValue();
        // A text ends at its closing quote and is cut at its first zero byte; only a
        // one-character field written as the number 34 holds a quote, and only the zero byte
        // that stands for an empty text is one.
        FUZZ_CHECK(!text.contains('"') || (isCharSlot(slot) && text == "\""));
        FUZZ_CHECK(!text.contains('\0') || text.size() == 1);
        // Only NetworkSpeed, ChanBSpeed and the parameter entries keep an empty text.
        FUZZ_CHECK(!text.isEmpty() || slot == FieldSlot::NetworkSpeed || slot == FieldSlot::ChanBSpeed ||
                   slot >= 15);
    }

    // Written back, the values read again the same, and the file leaves nothing else behind.
    LoadedValues again = marked;
    const FileResult rr = ReadConfigRecords(writeBack(b, filled), model, again);
    FUZZ_CHECK(rr.ok);
    FUZZ_CHECK_TABLE(again, b);
}

QByteArray stretched(const QByteArray &file, qsizetype repeat)
{
    QByteArray out;
    out.reserve(file.size() * repeat);
    for (char c : file)
        out.append(repeat, c);
    return out;
}

// The processor time a read takes, in nanoseconds: this thread's own where the system counts
// it, so that what else runs on the machine does not count.
qint64 readTime(const QByteArray &file, const ModelInfo &model)
{
    auto now = [] {
#ifdef CLOCK_THREAD_CPUTIME_ID
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#else
        return qint64(std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count());
#endif
    };
    LoadedValues t;
    const qint64 start = now();
    ReadConfigRecords(file, model, t);
    return now() - start;
}

// What a byte costs in the densest file whose reading is linear however the reader goes about
// it: a value each byte, and no blanks to skip (commas only).
double denseNanosPerByte()
{
    static const double perByte = [] {
        const QByteArray commas(16 * 1024, ',');
        qint64 fastest = readTime(commas, *layoutModels().at(0));
        for (int i = 0; i < 4; ++i)
            fastest = qMin(fastest, readTime(commas, *layoutModels().at(0)));
        return double(fastest) / double(commas.size());
    }();
    return perByte;
}

// The reader's work grows with the file, not faster. A few hundred bytes are read too fast to
// show that, so the file is stretched, each byte repeated (which lengthens its runs of line
// ends, blanks, digits and quoted bytes alike), to some 8 KB, or 2 KB where the sanitizers make
// every read four times as slow and more, and timed again sixteen times as long: linear work
// takes at most some sixteen times as long (less where a stretched value is refused sooner),
// work that grows with the square of the size far more. A ratio over forty is tried twice
// more, the fastest reads counting, before it fails. The fuzzer times the longer read only
// where the shorter costs more than twice a byte of the densest linear file, which a quadratic
// read near that mark may or may not; the replay of a corpus always does.
void checkLinearWork(const QByteArray &file, const ModelInfo &model)
{
    if (file.isEmpty())
        return;
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QNCF_FUZZ_SANITIZED
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(QNCF_FUZZ_SANITIZED)
    constexpr qsizetype StretchTo = 2 * 1024;
#else
    constexpr qsizetype StretchTo = 8 * 1024;
#endif
    constexpr double Timeable = 20000; // ns; a shorter read varies too much to compare
    constexpr int Growth = 16;
    constexpr int LinearLimit = 40;

    const qsizetype repeat = qMax(qsizetype(1), StretchTo / file.size());
    const QByteArray small = stretched(file, repeat);
    qint64 smallTime = readTime(small, model);
    if (double(smallTime) <= Timeable)
        return;
    if (!replayingCorpus() && double(smallTime) <= 2 * denseNanosPerByte() * double(small.size()))
        return;
    const QByteArray large = stretched(file, Growth * repeat);
    qint64 largeTime = readTime(large, model);
    for (int attempt = 0; attempt < 2 && largeTime > LinearLimit * smallTime; ++attempt) {
        smallTime = qMin(smallTime, readTime(small, model));
        largeTime = qMin(largeTime, readTime(large, model));
    }
    if (largeTime > LinearLimit * smallTime) {
        std::fprintf(stderr, "%lld bytes read in %lld us, %lld bytes in %lld us\n", qlonglong(small.size()),
                     smallTime / 1000, qlonglong(large.size()), largeTime / 1000);
        fuzzFailure("the file is read in linear time", __FILE__, __LINE__);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ByteSource in(data, size);
    const ModelInfo &model = *layoutModels().at(in.next() % layoutModels().size());
    const QByteArray file = in.rest();
    checkLayout(file, model);
    checkLinearWork(file, model);
    return 0;
}
