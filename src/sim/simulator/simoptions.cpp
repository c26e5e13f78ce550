// SPDX-License-Identifier: GPL-3.0-or-later
#include "simoptions.h"

namespace {

struct FaultName
{
    SimFault fault;
    const char *name;
};

constexpr FaultName faultTable[] = {
    {SimFault::None, "none"},   {SimFault::NoAck, "noack"},         {SimFault::Silent, "silent"},
    {SimFault::Short, "short"}, {SimFault::Garbage, "garbage"},     {SimFault::BadTr, "badtr"},
    {SimFault::Xoff, "xoff"},   {SimFault::Drop, "drop"},           {SimFault::HoldAck, "holdack"},
    {SimFault::NoXon, "noxon"}, {SimFault::FlashHold, "flashhold"},
};

constexpr int supportedBauds[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

} // namespace

std::optional<SimFault> parseFault(QStringView name)
{
    for (const FaultName &f : faultTable) {
        if (name.compare(QLatin1StringView(f.name), Qt::CaseInsensitive) == 0)
            return f.fault;
    }
    return std::nullopt;
}

QString faultName(SimFault fault)
{
    for (const FaultName &f : faultTable) {
        if (f.fault == fault)
            return QString::fromLatin1(f.name);
    }
    return {};
}

QStringList faultNames()
{
    QStringList names;
    for (const FaultName &f : faultTable)
        names.append(QString::fromLatin1(f.name));
    return names;
}

std::optional<int> parseOctalNode(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'7')
            return std::nullopt;
        value = value * 8 + (c.unicode() - u'0');
    }
    return value;
}

std::optional<QSet<int>> parseOctalNodes(QStringView list)
{
    QSet<int> nodes;
    if (list.trimmed().isEmpty())
        return nodes;
    for (QStringView item : list.split(u',')) {
        const std::optional<int> node = parseOctalNode(item);
        if (!node)
            return std::nullopt;
        nodes.insert(*node);
    }
    return nodes;
}

QString octalNode(int node)
{
    return QStringLiteral("%1").arg(node, 2, 8, QLatin1Char('0'));
}

bool isSupportedBaud(int baud)
{
    for (int b : supportedBauds) {
        if (b == baud)
            return true;
    }
    return false;
}
