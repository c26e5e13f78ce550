// SPDX-License-Identifier: GPL-3.0-or-later
#include "localfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

QString shownName(const QString &path)
{
    //: a file without a name, as it stands in the messages for %1
    return path.isEmpty() ? QCoreApplication::translate("localfile", "the file")
                          : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

FileResult checkPathText(const QString &path)
{
    if (path.contains(QChar::ReplacementCharacter))
        return FileResult::failure(
            QCoreApplication::translate(
                "localfile",
                "The file name %1 holds characters that are not valid text, so it cannot be used "
                "as it stands. Rename the file, or choose another name.")
                .arg(shownName(path)));
    return {};
}

FileResult readRegularFile(const QString &path, qint64 maxBytes, QByteArray *out)
{
    if (const FileResult r = checkPathText(path); !r.ok)
        return r;
    const QFileInfo info(path); // follows a symbolic link
    if (!info.exists())
        return FileResult::failure(
            QCoreApplication::translate("localfile", "%1 cannot be opened: there is no such file.")
                .arg(shownName(path)));
    if (!info.isFile())
        return FileResult::failure(
            QCoreApplication::translate(
                "localfile", "%1 cannot be opened: it is not a file (a folder, a device or a pipe).")
                .arg(shownName(path)));
    if (info.size() > maxBytes)
        //: %2 is the file's size in bytes
        return FileResult::failure(QCoreApplication::translate("localfile",
                                                               "%1 cannot be read: at %2 bytes it is "
                                                               "far too large for a configuration file.")
                                       .arg(shownName(path), QString::number(info.size())));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::failure(
            //: %2 is the system's reason
            QCoreApplication::translate("localfile", "%1 cannot be opened: %2")
                .arg(shownName(path), file.errorString()));
    // The file may have grown since it was looked at: read one byte past the limit to see.
    QByteArray data = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return FileResult::failure(
            //: %2 is the system's reason
            QCoreApplication::translate("localfile", "%1 cannot be read: %2")
                .arg(shownName(path), file.errorString()));
    if (data.size() > maxBytes)
        return FileResult::failure(
            QCoreApplication::translate("localfile",
                                        "%1 cannot be read: it is far too large for a configuration file.")
                .arg(shownName(path)));
    *out = std::move(data);
    return {};
}

FileResult saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (const FileResult r = checkPathText(path); !r.ok)
        return r;
    const auto failed = [&path](const QString &why) {
        //: %2 is the reason: the system's own, or "it is not a file (...), so it is left as it is."
        return FileResult::failure(
            QCoreApplication::translate("localfile", "%1 cannot be written: %2").arg(shownName(path), why));
    };
    // Replacing a folder, a device or a pipe with a file would destroy what the name stood
    // for; through a symbolic link, the file it points to is the one replaced.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        return failed(QCoreApplication::translate(
            "localfile", "it is not a file (a folder, a device or a pipe), so it is left as it is."));

    // Unbuffered, so that every failing write is seen at once: a buffered one reports the full
    // count and fails only at the flush, which the commit does not catch.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    // The new file must be whole on disk before it takes the old one's name.
    bool whole = file.flush() && file.size() == bytes.size();
#ifdef Q_OS_UNIX
    whole = whole && ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    // The commit flushes too, but does not say whether that failed.
    whole = whole && ::FlushFileBuffers(HANDLE(::_get_osfhandle(file.handle()))) != 0;
#endif
    if (!whole) {
        const QString why = file.error() != QFileDevice::NoError ? file.errorString()
                                                                 : qt_error_string(); // errno, GetLastError
        file.cancelWriting();
        return failed(why);
    }
    if (!file.commit())
        return failed(file.errorString());
    return {};
}
