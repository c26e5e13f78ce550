// SPDX-License-Identifier: GPL-3.0-or-later
// qncf-bench-files: how long opening a configuration file takes, for a file of each layout,
// for files holding 1, 10 and 100 configurations (the reader takes them pass after pass),
// for files padded with blank lines up to just under the size cap, and for a file over the
// cap. Prints one JSON object a line: the case, the file's size, whether it was read, and
// the microseconds one read took in each sample.

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/configfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// One model of each file layout, from no parameter lines to the Modbus block table.
const char *const Layouts[] = {"QN4000-NGD", "QN4000-WOLTA", "QN4000-QOF", "QN4000-UCT", "QN4000-LBW"};

constexpr int Samples = 7;
constexpr qint64 SampleNs = 20'000'000; // each sample repeats the read for at least this long

QByteArray configurationOf(const ModelInfo &model)
{
    ConfigRecord rec;
    rec.applyFreshConfiguration();
    rec.ConfigLength = model.configLength;
    rec.ProductCode = quint8(model.productCode);
    rec.FamilyCode = model.familyCode();
    rec.StationNumber = 17;
    for (int k = 0; k < ProtoParamCount; ++k)
        rec.ProtoParam[k] = quint8(100 + k);
    QByteArray bytes;
    if (const FileResult r = configFileBytes(rec, model, &bytes); !r.ok)
        qFatal("%s: %s", qPrintable(model.code), qPrintable(r.error));
    return bytes;
}

void measure(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes, const ModelInfo &model)
{
    const QString path = dir.filePath(name + QStringLiteral(".QNC"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    LoadedValues table;
    const bool ok = ReadConfigFile(path, model, table).ok;

    // As many reads a sample as fill its time, found from one timed read.
    QElapsedTimer clock;
    clock.start();
    ReadConfigFile(path, model, table);
    const qint64 once = qMax<qint64>(1, clock.nsecsElapsed());
    const qint64 reads = std::clamp<qint64>(SampleNs / once, 1, 100000);

    QJsonArray us;
    for (int s = 0; s < Samples; ++s) {
        clock.restart();
        for (qint64 i = 0; i < reads; ++i)
            ReadConfigFile(path, model, table);
        us.append(double(clock.nsecsElapsed()) / double(reads) / 1000.0);
    }
    const QJsonObject line{{QStringLiteral("case"), name},
                           {QStringLiteral("bytes"), double(bytes.size())},
                           {QStringLiteral("ok"), ok},
                           {QStringLiteral("us"), us}};
    std::printf("%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        qFatal("no temporary folder");

    for (const char *code : Layouts) {
        const ModelInfo &model = *findModel(QString::fromLatin1(code));
        measure(dir, QStringLiteral("layout %1").arg(model.code), configurationOf(model), model);
    }

    // Linear in the size: the same configuration 1, 10 and 100 times over.
    const ModelInfo &lbw = *findModel(u"QN4000-LBW");
    const QByteArray one = configurationOf(lbw);
    for (int n : {1, 10, 100})
        measure(dir, QStringLiteral("configurations x%1").arg(n), one.repeated(n), lbw);

    // Blank lines ahead of the values, which once made the reader quadratic: 10 KB, 100 KB
    // and 1 MB (just under the cap), then a file over the cap, which is refused unread.
    const ModelInfo &ngd = *findModel(u"QN4000-NGD");
    const QByteArray values = configurationOf(ngd);
    for (int n : {1, 10, 100}) {
        // Each blank line reads as an empty value: a whole number of configurations' worth of
        // them keeps the real values in their places, so the file is read to its end and taken.
        const qsizetype blanks = (qsizetype(10'000) * n - values.size()) / 2 / 14 * 14;
        measure(dir, QStringLiteral("blank lines x%1").arg(n), QByteArray("\r\n").repeated(blanks) + values,
                ngd);
    }
    measure(dir, QStringLiteral("over the cap"),
            QByteArray("\r\n").repeated(qsizetype(MaxConfigFileBytes)) + values, ngd);
    return 0;
}
