// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile configuration files: every layout's file cut at every byte, each line replaced by
// junk, other line endings, end-of-file marks, zero bytes, numbers out of range, and things
// that are not files at all. Each either loads, with every value of its model, or is refused
// with the table exactly as it was; and each is dealt with within a second.

#include "config/modelcatalog.h"
#include "files/configfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/records.h"
#include "support/testdata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One model of each file layout.
const char *const Layouts[] = {"QN4000-NGD", "QN4000-WOLTA", "QN4000-QOF", "QN4000-UCT", "QN4000-LBW"};

LoadedValues sentinels()
{
    LoadedValues t;
    for (int i = 0; i < LoadedSlotCount; ++i)
        t[i] = LoadedValue::number(1000 + i);
    return t;
}

QByteArray validFile(const ModelInfo &model)
{
    QByteArray bytes;
    configFileBytes(busyRecord(3, model), model, &bytes);
    return bytes;
}

// Reads data; a refusal must leave the table as it was and say why; an acceptance must fill
// every slot the model's file has.
QString judge(const QByteArray &data, const ModelInfo &model, FileResult *result = nullptr)
{
    const LoadedValues before = sentinels();
    LoadedValues table = before;
    const FileResult r = ReadConfigRecords(data, model, table);
    if (result)
        *result = r;
    if (!r.ok)
        return table == before ? QString() : QStringLiteral("refused but changed the table");
    if (r.error.size())
        return QStringLiteral("accepted with an error text");
    for (int slot = 0; slot < 14; ++slot) {
        if (table[slot] == before[slot])
            return QStringLiteral("accepted without slot %1").arg(slot);
    }
    for (const QList<int> &line : modelParamLines(model)) {
        for (int k : line) {
            if (table[slotOfProtoParam(k)] == before[slotOfProtoParam(k)])
                return QStringLiteral("accepted without entry %1").arg(k);
        }
    }
    return QString();
}

LoadedValues tableOf(const QByteArray &data, const ModelInfo &model)
{
    LoadedValues t;
    ReadConfigRecords(data, model, t);
    return t;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layouts_data()
    {
        QTest::addColumn<QString>("model");
        for (const char *m : Layouts)
            QTest::newRow(m) << QString::fromLatin1(m);
    }

    void cutAtEveryByte_data() { layouts_data(); }
    void cutAtEveryByte()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        const QByteArray file = validFile(model);
        QElapsedTimer clock;
        clock.start();
        for (qsizetype n = 0; n < file.size(); ++n) {
            const QString fault = judge(file.left(n), model);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("cut at %1: %2").arg(n).arg(fault)));
        }
        QVERIFY(clock.elapsed() < 1000);
    }

    // Junk in place of any line refuses the file and names that line.
    void junkOnEveryLine_data() { layouts_data(); }
    void junkOnEveryLine()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        const QList<QByteArray> lines = validFile(model).split('\n');
        for (const QByteArray &junk :
             {QByteArray("zz?!"), QByteArray("\"A\"B"), QByteArray("1e9"),
              QByteArray("99999999999999999999999"), QByteArray("-1"), QByteArray("256")}) {
            for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
                QList<QByteArray> broken = lines;
                broken[i] = junk + '\r';
                FileResult r;
                const QString fault = judge(broken.join('\n'), model, &r);
                const QString where =
                    QStringLiteral("\"%1\" on line %2").arg(QString::fromLatin1(junk)).arg(i + 1);
                QVERIFY2(fault.isEmpty(), qPrintable(where + QStringLiteral(": ") + fault));
                QVERIFY2(!r.ok, qPrintable(where + QStringLiteral(" was accepted")));
                QVERIFY2(r.error.contains(QStringLiteral("line %1").arg(i + 1)), qPrintable(where + r.error));
            }
        }
    }

    // The same values whatever ends the lines, with an end-of-file mark or blank lines after.
    void otherLineEndings_data() { layouts_data(); }
    void otherLineEndings()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        const QByteArray file = validFile(model);
        const LoadedValues expected = tableOf(file, model);
        QByteArray lf = file;
        lf.replace("\r\n", "\n");
        QByteArray cr = file;
        cr.replace("\r\n", "\r");
        for (const QByteArray &variant : {lf, cr, file + "\x1a", file + "\r\n\r\n\x1a", lf + "\n\n"}) {
            LoadedValues table;
            const FileResult r = ReadConfigRecords(variant, model, table);
            QVERIFY2(r.ok, qPrintable(r.error));
            QVERIFY(table == expected);
        }
    }

    // A zero byte ends a quoted text; anywhere else it spoils the value and the file.
    void zeroBytes_data() { layouts_data(); }
    void zeroBytes()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        const QByteArray file = validFile(model);
        for (qsizetype at = 0; at < file.size(); ++at) {
            QByteArray variant = file;
            variant.insert(at, '\0');
            const QString fault = judge(variant, model);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("zero at %1: %2").arg(at).arg(fault)));
        }
    }

    // What is not a configuration file at all is refused through the file reader, at once.
    void notFiles_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *k : {"pipe", "folder", "device", "100 MB", "name that is no text"})
            QTest::newRow(k) << QString::fromLatin1(k);
    }
    void notFiles()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("x.QNC"));
        if (kind == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("device")) {
            path = QStringLiteral("/dev/zero");
        } else if (kind == QLatin1String("100 MB")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(100 * 1024 * 1024));
        } else {
            const QByteArray raw = QFile::encodeName(dir.path()) + "/bad\xff\xfe.QNC";
            const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0600);
            QVERIFY(fd >= 0);
            const QByteArray file = validFile(modelOf(u"QN4000-NGD"));
            QCOMPARE(::write(fd, file.constData(), size_t(file.size())), ssize_t(file.size()));
            ::close(fd);
            path = QFile::decodeName(raw);
        }
        const LoadedValues before = sentinels();
        LoadedValues table = before;
        QElapsedTimer clock;
        clock.start();
        const FileResult r = ReadConfigFile(path, modelOf(u"QN4000-NGD"), table);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(table == before);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
