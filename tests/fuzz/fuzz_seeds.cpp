// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed inputs of the fuzz targets: fuzz_seeds tests/fuzz/corpus
// Each target's folder gets its seed-* files (anything else there, such as an input a fuzzer
// found, stays). The seeds are valid inputs: files the program writes, the replies a unit
// holding a configuration sends, DF1 frames the link carries.

#include "config/modelcatalog.h"
#include "df1/df1.h"
#include "files/configfile.h"
#include "message/configmessage.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdio>

#include "fuzzcommon.h"
#include "support/records.h"

namespace {

QString g_root;
int g_written = 0;

void write(const char *target, const char *name, const QByteArray &bytes)
{
    const QString dir = g_root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    QFile f(dir + QStringLiteral("/seed-") + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "%s cannot be written\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    ++g_written;
}

int indexOf(const ModelInfo &model)
{
    for (qsizetype i = 0; i < modelCatalog().size(); ++i) {
        if (modelCatalog()[i].code == model.code)
            return int(i);
    }
    fuzzFailure("the model is in the catalog", __FILE__, __LINE__);
}

const ModelInfo &model(const char *code)
{
    const ModelInfo *m = findModel(QString::fromLatin1(code));
    if (!m)
        fuzzFailure(code, __FILE__, __LINE__);
    return *m;
}

QByteArray fileOf(const ConfigRecord &rec, const ModelInfo &m)
{
    QByteArray bytes;
    FUZZ_CHECK(configFileBytes(rec, m, &bytes).ok);
    return bytes;
}

// A busy record with the bytes a file finds awkward: a quote (written as a number), a line end
// between quotes, a zero byte, an empty decimal text.
ConfigRecord awkwardRecord(int seed, const ModelInfo &m)
{
    ConfigRecord rec = busyRecord(seed, m);
    rec.ProtocolMode = '"';
    rec.NetworkSpeed = {10, 0};
    rec.ChanCSpeed = '\r';
    rec.AuxByte2 = DecimalText();
    rec.AuxByte3 = 0;
    return rec;
}

void configFiles()
{
    const char *names[] = {"none", "typeword", "datatable", "rackmap", "modbustable"};
    // The layout, then the file.
    for (int i = 0; i < layoutModels().size(); ++i) {
        const ModelInfo &m = *layoutModels()[i];
        write("configfile", names[i], char(i) + fileOf(awkwardRecord(i, m), m));
    }

    // Two configurations, the last of which wins, and a blank line at the end.
    const ModelInfo &wolta = model("QN4000-WOLTA");
    FUZZ_CHECK(wolta.fileParams == layoutModels()[1]->fileParams);
    write("configfile", "two-passes",
          char(1) + fileOf(busyRecord(1, wolta), wolta) + fileOf(busyRecord(2, wolta), wolta) + "\r\n \r\n");
}

void uploadReplies()
{
    struct Seed
    {
        const char *code;
        int firstLength;
        const char *name;
    };
    const Seed seeds[] = {
        {"QN4000-NGD", 54, "ngd-without-flash"}, {"QN4000-JMR", 66, "typeword"},
        {"QN4000-QOF", 66, "datatable"},         {"QN4000-UCT", 66, "rackmap"},
        {"QN6000-LBW", 66, "modbustable"},       {"QN4000-EPV4", 66, "epv4"},
    };
    int seed = 10;
    for (const Seed &s : seeds) {
        const ModelInfo &m = model(s.code);
        const ConfigMessage msg = BuildConfigMessage(awkwardRecord(seed++, m));
        FUZZ_CHECK(msg.ok());
        QByteArray first;
        QByteArray second;
        unitReplies(msg.bytes.mid(7, m.configLength), m, &first, &second, s.firstLength);
        write("uploadfile", s.name, QByteArray(1, char(indexOf(m))) + char(first.size()) + first + second);
    }
}

void records()
{
    // The model, then the record's fields; any bytes make a record, these make busy ones.
    int seed = 20;
    for (const ModelInfo *m : layoutModels()) {
        QByteArray in(1, char(indexOf(*m)));
        for (int i = 0; i < 112; ++i)
            in.append(char(seed + 3 * i));
        write("recordfile", qPrintable(m->code), in);
        seed += 40;
    }
    // A NetworkSpeed with a quote, which no file can hold.
    write("recordfile", "quoted-pair", QByteArray::fromHex("0a01020322"));
}

void df1Frames()
{
    quint16 tns = 0;
    write("df1", "status-command", QuintrelTX_Status(0x10, 0x00, 0x1010, tns));
    const QByteArray reply = QByteArray::fromHex("001046000101") + "STATION 020";
    write("df1", "ack-and-reply", TX_ACK + FrameDF1(reply, tns));
    write("df1", "control-pairs", TX_ENQ + "\x41\x0d" + TX_NAK + TX_ACK);
    write("df1", "restarted-frame", QByteArray::fromHex("10025510") + FrameDF1(reply, tns).mid(1));
    write("df1", "cut-short", QByteArray::fromHex("1002010210051006"));
    write("df1", "overlong", FrameDF1(QByteArray(DF1FrameReader::MaxBody + 4, 'A'), tns));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    configFiles();
    uploadReplies();
    records();
    df1Frames();
    std::printf("%d seeds written to %s\n", g_written, argv[1]);
    return 0;
}
