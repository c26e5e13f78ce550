// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Reading and writing the files the program keeps for a user, so that bad input loses
// nothing: only regular files are read or replaced, reads are bounded, and a file is replaced
// only by a new one that is complete on disk.

struct FileResult
{
    bool ok = true;
    QString error; // a sentence for the user when !ok

    static FileResult failure(QString why) { return {false, std::move(why)}; }
};

// Far more than any configuration file (the longest is well under a kilobyte).
constexpr qint64 MaxConfigFileBytes = 1024 * 1024;

// The path as a user reads it in a message: quoted, with the platform's separators.
QString shownName(const QString &path);

// A file name that came through a conversion it did not survive (bytes that are no valid
// text, shown as U+FFFD) names another file than the user's: refused with a message.
FileResult checkPathText(const QString &path);

// Reads a regular file (a symbolic link to one is followed) of at most maxBytes. Anything
// else is refused before it is opened, so a FIFO cannot block and a device cannot fill the
// memory.
FileResult readRegularFile(const QString &path, qint64 maxBytes, QByteArray *out);

// Replaces the file at path (or the regular file a symbolic link there points to) with bytes,
// all or nothing: the new bytes go to a file of their own beside it, are checked to be there
// in full and synced to disk, and only then take the old file's name. A full disk, a write
// error or a target that is not a regular file is reported and leaves the old file as it was.
FileResult saveFileAtomically(const QString &path, const QByteArray &bytes);
