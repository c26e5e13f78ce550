// SPDX-License-Identifier: GPL-3.0-or-later
// DF1 framing both ways: the input as a received stream, split into the same events however it
// arrives, and the input as a body, framed and read back.

#include "df1/df1.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "fuzzcommon.h"

namespace {

bool sameEvents(const QList<DF1Event> &a, const QList<DF1Event> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind || a[i].body != b[i].body || a[i].bccOk != b[i].bccOk)
            return false;
    }
    return true;
}

// No event carries more than the reader may hold; only a frame carries a BCC verdict, and
// only frames carry a body.
void checkEvents(const QList<DF1Event> &events)
{
    for (const DF1Event &e : events) {
        FUZZ_CHECK(e.body.size() <= DF1FrameReader::MaxBody);
        if (e.kind != DF1Event::Frame)
            FUZZ_CHECK(!e.bccOk);
        if (e.kind != DF1Event::Frame && e.kind != DF1Event::BadFrame)
            FUZZ_CHECK(e.body.isEmpty());
    }
}

// A frame of body read by reader: the body back with a good BCC, or, for a body longer than
// the reader holds, a bad frame of the part it held.
void checkReadsBack(DF1FrameReader &reader, const QByteArray &frame, QByteArrayView body)
{
    const QList<DF1Event> events = reader.feed(frame);
    checkEvents(events);
    FUZZ_CHECK(!events.isEmpty());
    if (body.size() <= DF1FrameReader::MaxBody) {
        FUZZ_CHECK(events.size() == 1 && reader.isIdle());
        FUZZ_CHECK(events[0].kind == DF1Event::Frame && events[0].bccOk && events[0].body == body);
    } else {
        FUZZ_CHECK(events[0].kind == DF1Event::BadFrame);
        FUZZ_CHECK(events[0].body == body.first(DF1FrameReader::MaxBody));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    // Received whole, byte by byte, or in pieces whose lengths the input's own bytes pick.
    DF1FrameReader whole;
    const QList<DF1Event> events = whole.feed(input);
    checkEvents(events);

    DF1FrameReader bytewise;
    QList<DF1Event> seen;
    for (qsizetype i = 0; i < input.size(); ++i)
        seen += bytewise.feed(input.sliced(i, 1));
    FUZZ_CHECK(sameEvents(seen, events) && bytewise.isIdle() == whole.isIdle());

    DF1FrameReader pieces;
    seen.clear();
    for (qsizetype pos = 0, i = 0; pos < input.size(); ++i) {
        const qsizetype n = qMin(qsizetype(1 + quint8(input[i]) % 64), input.size() - pos);
        seen += pieces.feed(input.sliced(pos, n));
        pos += n;
    }
    FUZZ_CHECK(sameEvents(seen, events) && pieces.isIdle() == whole.isIdle());

    // The input as a body: DLE STX, every DLE doubled, DLE ETX, and a BCC that makes the sum
    // of the body's bytes zero; counted once.
    quint16 counter = 41;
    const QByteArray frame = FrameDF1(input, counter);
    FUZZ_CHECK(counter == 42);
    const qsizetype dles = input.count(char(Df1Char::DLE));
    FUZZ_CHECK(frame.size() == 5 + input.size() + dles);
    FUZZ_CHECK(frame.startsWith("\x10\x02") && frame.sliced(frame.size() - 3, 2) == "\x10\x03");
    FUZZ_CHECK(StuffDLE(input) == frame.sliced(2, frame.size() - 5));
    quint8 sum = quint8(frame.back());
    for (char c : input)
        sum = quint8(sum + quint8(c));
    FUZZ_CHECK(sum == 0);

    // Read by a fresh reader, by the one that took the stream once it is idle (or reset), and
    // with its BCC spoiled.
    DF1FrameReader fresh;
    checkReadsBack(fresh, frame, input);
    if (!whole.isIdle())
        whole.reset();
    checkReadsBack(whole, frame, input);
    if (input.size() <= DF1FrameReader::MaxBody) {
        QByteArray spoiled = frame;
        spoiled.back() = char(spoiled.back() + 1);
        const QList<DF1Event> bad = DF1FrameReader().feed(spoiled);
        FUZZ_CHECK(bad.size() == 1 && bad[0].kind == DF1Event::Frame && !bad[0].bccOk);
        FUZZ_CHECK(bad[0].body == input);
    }

    // The status command to a node, from the input's first bytes.
    ByteSource in(data, size);
    const quint8 dst = in.next();
    const quint8 src = in.next();
    const quint8 tnsHigh = in.next();
    const quint16 tns = quint16(tnsHigh << 8 | in.next());
    const QByteArray command = QuintrelTX_Status(dst, src, tns, counter);
    FUZZ_CHECK(counter == 43);
    const char body[] = {char(dst),      char(src),        char(Df1CmdDiagnostic),      0,
                         char(tns >> 8), char(tns & 0xFF), char(Df1FncDiagnosticStatus)};
    checkReadsBack(fresh, command, QByteArrayView(body, sizeof body));

    // The input as a reply to a status command: cut at 201 bytes and unstuffed; and the input
    // framed as a reply body, its DST and STS read where they are, whatever DLEs come before.
    const Df1StatusReply reply(input);
    FUZZ_CHECK(reply.bytes.size() <= Df1StatusReply::MaxLength);
    FUZZ_CHECK(reply.bytes ==
               UnstuffDLE(input.first(qMin(input.size(), qsizetype(Df1StatusReply::MaxLength)))));
    if (reply.complete())
        FUZZ_CHECK(reply.bytes.startsWith("\x10\x06\x10\x02") && reply.bytes.size() > Df1StatusReply::StsAt);
    if (input.size() >= 4) {
        const Df1StatusReply framed(TX_ACK + FrameDF1(input, counter));
        const qsizetype stuffedUpToSts = 4 + 4 + input.first(4).count(char(Df1Char::DLE));
        if (stuffedUpToSts <= Df1StatusReply::MaxLength) {
            FUZZ_CHECK(framed.complete());
            FUZZ_CHECK(framed.dst() == quint8(input[0]) && framed.sts() == quint8(input[3]));
        }
    }
    return 0;
}
