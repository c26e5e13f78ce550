// SPDX-License-Identifier: GPL-3.0-or-later
#include "flashplan.h"

#include <algorithm>
#include <cmath>

FlashPlan::FlashPlan(QByteArray file) : m_file(std::move(file)) {}

qint64 FlashPlan::bytesToSend() const
{
    return m_file.isEmpty() ? 0 : m_file.size() + 1;
}

QByteArray FlashPlan::nextBlock()
{
    if (atEnd())
        return {};
    const qint64 remaining = m_file.size() - m_read;
    // The last block is one longer than what is left, and its tail keeps its blank.
    const qint64 size = remaining <= BlockSize ? remaining + 1 : BlockSize;
    QByteArray block(size, ' ');
    const qint64 n = qMin(remaining, size);
    std::copy_n(m_file.constData() + m_read, n, block.data());
    m_read += n;
    m_sent += size;
    ++m_count;
    return block;
}

int FlashPlan::progressMaximum() const
{
    // std::nearbyint rounds halves to even in the default rounding mode.
    return int(std::nearbyint(double(m_file.size()) / BlockSize)) + 5;
}

int FlashPlan::percent() const
{
    if (atEnd())
        return 100;
    return qMin(99, int(std::nearbyint(100.0 * double(m_sent) / double(bytesToSend()))));
}
