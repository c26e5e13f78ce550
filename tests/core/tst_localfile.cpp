// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/localfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/testdata.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(cannot read)");
}

bool writePlain(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A file system of one page, where the test may mount one (as root): the real full disk.
struct TinyDisk
{
    explicit TinyDisk(const QString &where) : path(where)
    {
        mounted = QProcess::execute(QStringLiteral("mount"),
                                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                     QStringLiteral("size=4k"), QStringLiteral("tmpfs"), path}) == 0;
    }
    ~TinyDisk()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {path});
    }
    QString path;
    bool mounted = false;
};

} // namespace

class TestLocalFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A save that cannot be written whole is reported and leaves the old file as it was,
    // with no stray file beside it. On a 4 KB tmpfs holding the old file where the test can
    // mount one; otherwise with the size limit a process may set itself (RLIMIT_FSIZE), which
    // makes the kernel refuse the write the same way.
    void fullDiskKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString where = dir.filePath(QStringLiteral("disk"));
        QVERIFY(QDir().mkpath(where));
        const QByteArray old(3000, 'o');
        const QByteArray fresh(3000, 'n');
        TinyDisk disk(where);
        const QString path = where + QStringLiteral("/config.QNC");
        QVERIFY(writePlain(path, old));
        FileResult r;
        if (disk.mounted) {
            r = saveFileAtomically(path, fresh);
        } else {
            qInfo("no tmpfs could be mounted: the write is limited with RLIMIT_FSIZE instead");
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit saved{};
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
            rlimit small = saved;
            small.rlim_cur = 1024;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
            r = saveFileAtomically(path, fresh);
            ::setrlimit(RLIMIT_FSIZE, &saved);
        }
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("config.QNC")), qPrintable(r.error));
        QCOMPARE(contents(path), old);
        QCOMPARE(QDir(where).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("config.QNC")});
    }

    void saveReplacesThroughALink()
    {
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real.QNC"));
        const QString link = dir.filePath(QStringLiteral("link.QNC"));
        QVERIFY(writePlain(real, "old"));
        QVERIFY(QFile::link(real, link));
        QVERIFY(saveFileAtomically(link, "new").ok);
        QCOMPARE(contents(real), QByteArray("new"));
        QVERIFY(QFileInfo(link).isSymLink());
    }

    // What is not a regular file is neither read nor replaced.
    void onlyRegularFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link to a pipe") << "link";
        QTest::newRow("device") << "device";
    }
    void onlyRegularFiles()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("thing"));
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("device")) {
            path = QStringLiteral("/dev/zero"); // read only: it would fill the memory
        } else {
            const QString fifo = dir.filePath(QStringLiteral("fifo"));
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            path = fifo;
            if (kind == QLatin1String("link")) {
                path = dir.filePath(QStringLiteral("link"));
                QVERIFY(QFile::link(fifo, path));
            }
        }
        QByteArray data;
        const FileResult read =
            readRegularFile(path, MaxConfigFileBytes, &data); // a pipe must not block here
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(QStringLiteral("not a file")), qPrintable(read.error));
        if (kind == QLatin1String("device"))
            return;
        const FileResult write = saveFileAtomically(path, "x");
        QVERIFY(!write.ok);
        QVERIFY2(write.error.contains(QStringLiteral("not a file")), qPrintable(write.error));
        const QFileInfo after(
            dir.filePath(kind == QLatin1String("folder") ? QStringLiteral("thing") : QStringLiteral("fifo")));
        QVERIFY(kind == QLatin1String("folder") ? after.isDir() : !after.isFile());
    }

    void readsAreBounded()
    {
        QTemporaryDir dir;
        // A placeholder in the name stays the name, not the size.
        const QString path = dir.filePath(QStringLiteral("big%2.QNC"));
        QVERIFY(writePlain(path, QByteArray(int(MaxConfigFileBytes) + 1, '\n')));
        QByteArray data("untouched");
        const FileResult r = readRegularFile(path, MaxConfigFileBytes, &data);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("too large")), qPrintable(r.error));
        QVERIFY2(r.error.contains(QStringLiteral("big%2.QNC")), qPrintable(r.error));
        QCOMPARE(data, QByteArray("untouched"));
        QVERIFY(!readRegularFile(dir.filePath(QStringLiteral("none.QNC")), MaxConfigFileBytes, &data).ok);
    }

    // A name whose bytes were no valid text comes with U+FFFD in their place: it names another
    // file than the user's, so it is refused both ways.
    void namesThatLostTheirBytes()
    {
        QTemporaryDir dir;
        const QString path =
            dir.filePath(QStringLiteral("bad") + QChar(QChar::ReplacementCharacter) + QStringLiteral(".QNC"));
        const FileResult w = saveFileAtomically(path, "x");
        QVERIFY(!w.ok);
        QVERIFY2(w.error.contains(QStringLiteral("not valid text")), qPrintable(w.error));
        QVERIFY(QDir(dir.path()).isEmpty());
        QByteArray data;
        QVERIFY(!readRegularFile(path, MaxConfigFileBytes, &data).ok);
    }
};

QTEST_GUILESS_MAIN(TestLocalFile)
#include "tst_localfile.moc"
