// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagediff.h"

#include "config/modelcatalog.h"
#include "config/speedcodes.h"
#include "message/configmessage.h"

#include <optional>

namespace {

using Source = MessageSlot::Source;

// The speed codes as the summary words them, with their unit.
QString channelSpeedText(int code)
{
    const QString text = speedText(ChannelSpeeds, code);
    if (text.isEmpty())
        return {};
    return text + (code <= LastBaudCode ? QLatin1String(" Baud") : QLatin1String(" Kbaud"));
}

QString networkSpeedText(int code)
{
    const QString text = speedText(NetworkSpeeds, code);
    return text.isEmpty() ? QString() : text + QLatin1String(" Kbaud");
}

// One thing a flag byte says, worded as the summary (or the dialog) words it.
struct Aspect
{
    QString (*text)(int value);
};

QString parity(int v)
{
    if (!(v & ChanFlag::Parity))
        return QStringLiteral("PARITY NONE");
    return v & ChanFlag::EvenParity ? QStringLiteral("PARITY EVEN") : QStringLiteral("PARITY ODD");
}
QString dataBits(int v)
{
    return v & ChanFlag::SevenDataBits ? QStringLiteral("DATA BITS 7") : QStringLiteral("DATA BITS 8");
}
QString stopBits(int v)
{
    return v & ChanFlag::TwoStopBits ? QStringLiteral("STOP BITS 2") : QStringLiteral("STOP BITS 1");
}
QString handshaking(int v)
{
    return v & ChanFlag::Handshake ? QStringLiteral("HANDSHAKING ACTIVE")
                                   : QStringLiteral("HANDSHAKING IGNORE");
}
QString interfaceB(int v)
{
    if (!(v & ChanFlag::RS422))
        return QStringLiteral("RS-232C");
    return v & ChanFlag::RS485Two ? QStringLiteral("RS-485 (2 wire)") : QStringLiteral("RS-422");
}
QString checkBytes(int v)
{
    return v & LinkFlag::CRC ? QStringLiteral("CRC") : QStringLiteral("BCC");
}
QString modbusFraming(int v)
{
    return v & 1 ? QStringLiteral("ASCII") : QStringLiteral("RTU");
}
QString modbusDevice(int v)
{
    return v & 2 ? QStringLiteral("MASTER") : QStringLiteral("SLAVE");
}

QList<Aspect> aspectsOf(const ModelInfo &model, const MessageSlot &slot)
{
    switch (slot.source) {
    case Source::ChanBFormat:
        return {{parity}, {dataBits}, {stopBits}, {handshaking}, {interfaceB}};
    case Source::ChanCFormat:
        return {{parity}, {dataBits}, {stopBits}, {handshaking}};
    case Source::LinkOptions:
        return {{checkBytes}};
    case Source::ProtoParam:
        if (model.fileParams == FileParams::ModbusTable && slot.n == 1)
            return {{modbusFraming}, {modbusDevice}};
        return {};
    default:
        return {};
    }
}

// The 16-bit word a byte is half of, where the model's layout has one there; the offset of
// its low byte.
std::optional<int> wordLowOffset(const ModelInfo &model, const MessageSlot &slot, int offset)
{
    const int i = slot.n;
    if (slot.source == Source::ExtParam && model.kind == ModelKind::ToshibaDrives && i >= 4)
        return offset - (i - 4);
    if (slot.source != Source::ProtoParam)
        return std::nullopt;
    if (model.dataTableForm && i >= 2 && i <= 5)
        return offset - i % 2;
    if (model.fileParams == FileParams::ModbusTable && i >= 8 && (i - 8) % 10 < 8)
        return offset - i % 2;
    if (model.kind == ModelKind::ToshibaDrives && i < 80)
        return offset - i % 2;
    return std::nullopt;
}

QString wordText(const ModelInfo &model, const MessageSlot &slot, int word)
{
    // The Toshiba registers (WD30..WD59) are entered as hexadecimal words.
    if (model.kind == ModelKind::ToshibaDrives && slot.source == Source::ProtoParam && slot.n >= 20)
        return QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0')).toUpper();
    return QString::number(word);
}

// The value a byte of message m stands for; one text per aspect where it is a flag byte.
QStringList valueTexts(const ModelInfo &model, const MessageSlot &slot, QByteArrayView m, int offset)
{
    if (offset >= m.size())
        return {};
    const int v = quint8(m[offset]);
    if (const QList<Aspect> aspects = aspectsOf(model, slot); !aspects.isEmpty()) {
        QStringList texts;
        for (const Aspect &a : aspects)
            texts << a.text(v);
        return texts;
    }
    if (const std::optional<int> low = wordLowOffset(model, slot, offset)) {
        if (*low + 1 >= m.size())
            return {};
        return {wordText(model, slot, quint8(m[*low]) | quint8(m[*low + 1]) << 8)};
    }
    QString text;
    switch (slot.source) {
    case Source::NetworkSpeed:
        text = slot.n == 0 ? networkSpeedText(v) : QString();
        break;
    case Source::ChanBSpeed:
    case Source::ChanCSpeed:
        text = channelSpeedText(v);
        break;
    case Source::ExtParam:
        if (model.kind == ModelKind::ToshibaDrives && slot.n == 3) {
            static const char *const types[] = {"G2", "G3", "SUPER2E"};
            text = v < 3 ? QLatin1String(types[v]) : QString();
        }
        break;
    default:
        break;
    }
    return text.isEmpty() ? QStringList() : QStringList{text};
}

QString hexByte(int v)
{
    return v < 0 ? QStringLiteral("(none)") : QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

MessageComparison compareMessages(const ModelInfo &model, QByteArrayView first, QByteArrayView second,
                                  const QBitArray &secondKnown)
{
    const QList<MessageSlot> &layout = messageLayout(model.configLength);
    MessageComparison result;
    const int length = int(qMax(first.size(), second.size()));
    for (int at = 0; at < length; ++at) {
        if (at < secondKnown.size() && !secondKnown.testBit(at)) {
            result.unread.append(at);
            continue;
        }
        const int a = at < first.size() ? quint8(first[at]) : -1;
        const int b = at < second.size() ? quint8(second[at]) : -1;
        if (a == b)
            continue;
        ByteDifference d;
        d.offset = at;
        d.first = a;
        d.second = b;
        if (at < layout.size()) {
            d.slot = layout.at(at);
            d.field = slotFieldName(d.slot);
            d.meaning = slotMeaning(model, d.slot);
            QStringList ta = valueTexts(model, d.slot, first, at);
            QStringList tb = valueTexts(model, d.slot, second, at);
            // Of a flag byte, only what differs: a bit with no text gives none.
            if (ta.size() == tb.size()) {
                for (qsizetype k = ta.size() - 1; k >= 0; --k) {
                    if (ta[k] == tb[k]) {
                        ta.removeAt(k);
                        tb.removeAt(k);
                    }
                }
            }
            d.firstText = ta.join(QLatin1String(", "));
            d.secondText = tb.join(QLatin1String(", "));
        } else {
            d.field = QStringLiteral("beyond the %1 layout").arg(model.code);
        }
        result.differences.append(d);
    }
    return result;
}

QString differenceLine(const ByteDifference &d)
{
    QString line = QStringLiteral("byte %1 %2").arg(d.offset).arg(d.field);
    if (!d.meaning.isEmpty())
        line += QStringLiteral(" (%1)").arg(d.meaning);
    line += QStringLiteral(": %1 | %2").arg(hexByte(d.first), hexByte(d.second));
    // A value with no text of its own (a code no list offers) shows as "-".
    auto text = [](const QString &t) { return t.isEmpty() ? QStringLiteral("-") : t; };
    if (!d.firstText.isEmpty() || !d.secondText.isEmpty())
        line += QStringLiteral(" (%1 | %2)").arg(text(d.firstText), text(d.secondText));
    return line;
}

QStringList unreadRanges(const ModelInfo &model, const QList<int> &unread)
{
    const QList<MessageSlot> &layout = messageLayout(model.configLength);
    auto name = [&layout](int at) {
        return at < layout.size() ? slotFieldName(layout.at(at)) : QStringLiteral("byte %1").arg(at);
    };
    QStringList ranges;
    for (qsizetype i = 0; i < unread.size();) {
        qsizetype j = i;
        // A run of consecutive offsets from the same kind of field is one range.
        while (j + 1 < unread.size() && unread[j + 1] == unread[j] + 1 &&
               layout.value(unread[j + 1]).source == layout.value(unread[i]).source)
            ++j;
        const int from = unread[i];
        const int to = unread[j];
        if (from == to)
            ranges << QStringLiteral("byte %1 (%2)").arg(from).arg(name(from));
        else if (layout.value(from).source == Source::Checksum)
            ranges << QStringLiteral("bytes %1..%2 (checksum)").arg(from).arg(to);
        else
            ranges << QStringLiteral("bytes %1..%2 (%3..%4)").arg(from).arg(to).arg(name(from), name(to));
        i = j + 1;
    }
    return ranges;
}

UnitMessage messageFromUpload(const ModelInfo &model, QByteArrayView first, QByteArrayView second)
{
    const QList<MessageSlot> &layout = messageLayout(model.configLength);
    const int bodyLength = model.configLength;
    UnitMessage u;
    u.bytes = QByteArray(layout.size(), '\0');
    u.known = QBitArray(layout.size(), false);
    // The header is no EEPROM content: the layout decides it.
    ConfigRecord header;
    header.ConfigLength = model.configLength;
    for (int at = 0; at < MessageHeaderLength && at < layout.size(); ++at) {
        u.bytes[at] = char(slotValue(header, layout.at(at)));
        u.known.setBit(at);
    }
    auto take = [&](int bodyOffset, QByteArrayView reply, int replyOffset) {
        if (bodyOffset < bodyLength && replyOffset < reply.size()) {
            u.bytes[MessageHeaderLength + bodyOffset] = reply[replyOffset];
            u.known.setBit(MessageHeaderLength + bodyOffset);
        }
    };
    for (int k = 0; k < bodyLength; ++k)
        take(k, first, 6 + k);
    // The second reply carries ProtoParam entries, which sit at body offset 50 + entry.
    if (model.uploadPlan == UploadPlan::ParameterRequest) {
        for (int e = 0; e < ProtoParamCount; ++e)
            take(50 + e, second, 24 + e);
    } else if (model.uploadPlan == UploadPlan::UnaskedReply) {
        for (int e = 0; e < 14; ++e)
            take(50 + e, second, 16 + e);
    }
    bool whole = true;
    for (int at = MessageHeaderLength; at < MessageHeaderLength + bodyLength; ++at)
        whole = whole && u.known.testBit(at);
    if (whole && layout.size() >= MessageChecksumLength) {
        const QByteArray sum =
            MessageChecksum(QByteArrayView(u.bytes).sliced(MessageHeaderLength, bodyLength));
        const int at = int(layout.size()) - MessageChecksumLength;
        u.bytes[at] = sum[0];
        u.bytes[at + 1] = sum[1];
        u.known.setBit(at);
        u.known.setBit(at + 1);
    }
    return u;
}
