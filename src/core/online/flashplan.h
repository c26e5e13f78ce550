// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// How a flash system file goes to the converter: blocks of 512 bytes; the last block is the
// rest of the file and one blank (so a file of 1024 bytes goes as 512 and 513, one of 1000 as
// 512 and 489). After the blocks, whether the file went whole or was cancelled, one line feed
// follows.
class FlashPlan
{
public:
    static constexpr int BlockSize = 512;
    static constexpr char Closing = '\n';
    // Far more than any system file; a larger one is refused before it is read.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    explicit FlashPlan(QByteArray file);

    qint64 fileSize() const { return m_file.size(); }
    // Bytes the blocks carry: the file and its trailing blank (nothing for an empty file).
    qint64 bytesToSend() const;
    bool atEnd() const { return m_read >= m_file.size(); }
    // The next block, and the file read on past it.
    QByteArray nextBlock();
    int blocksSent() const { return m_count; }
    qint64 bytesSent() const { return m_sent; }

    // The progress bar: the file's length in blocks (rounded, halves to even) plus 5.
    int progressMaximum() const;
    // Percent of bytesToSend() sent so far, rounded, halves to even; 100 only once the last
    // block has gone.
    int percent() const;

private:
    QByteArray m_file;
    qint64 m_read = 0;
    qint64 m_sent = 0;
    int m_count = 0;
};
