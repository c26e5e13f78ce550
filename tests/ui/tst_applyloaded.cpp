// SPDX-License-Identifier: GPL-3.0-or-later
// A file opened in the editor gives the record the core's apply step gives, whatever was
// configured before, and the forms then show that record: for every model, over files written
// from many records, opened on a fresh configuration or over another file.

#include "apply/applyloaded.h"
#include "config/modelcatalog.h"
#include "editor/configfiles.h"
#include "files/configfile.h"
#include "files/fileomissions.h"
#include "files/layoutcheck.h"
#include "message/configmessage.h"
#include "shell/model_freestand.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "support/guibench.h"
#include "support/records.h"
#include "support/shownchecker.h"
#include "support/testdata.h"

namespace {

// A record whose every field holds one of the values the forms treat apart: in and just out
// of each list, each option's codes and one past them.
ConfigRecord variedRecord(QRandomGenerator &g, const ConfigRecord &fresh)
{
    const auto any = [&g](std::initializer_list<int> values) {
        return quint8(*(values.begin() + g.bounded(int(values.size()))));
    };
    const auto anyByte = [&g] { return quint8(g.bounded(256)); };
    ConfigRecord rec = fresh;
    rec.ProtocolMode = any({0, 0, 1, 1, 2, 2, 3});
    rec.StationNumber = any({0, 1, 5, 22, 23, 24, 62, 63, 64, 200, 247, 248});
    rec.HighAddress = any({0, 1, 3, 7, 8, 62, 63, 64, 99});
    rec.NetworkSpeed = {any({8, 9, 10, 10, 11, 0}), 0};
    rec.ChanBSpeed = any({3, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 1});
    rec.ChanBFormat = anyByte();
    rec.ChanCSpeed = any({0, 255, 3, 8, 10, 11});
    rec.ChanCFormat = anyByte();
    rec.LinkOptions = anyByte();
    rec.BusType = g.bounded(3) == 0 ? CharPair{0, 0}
                  : g.bounded(2)    ? fresh.BusType
                                    : CharPair{any({1, 2, 4, 7}), 0};
    rec.AuxByte1.set(QByteArray::number(any({0, 1, 2, 3, 5, 20, 38, 39, 255})));
    rec.AuxByte2.set(QByteArray::number(any({0, 1, 2, 3, 4, 5, 6})));
    rec.AuxByte3 = any({0, 1, 2, 3, 5, 247, 248});
    rec.AuxByte4 = any({0, 1, 2, 9, 15, 200, 248});
    for (quint8 &p : rec.ProtoParam)
        p = any({0, 0, 1, 2, 3, 4, 5, 6, 9, 10, 17, 77, 78, 100, 255});
    return rec;
}

// The notes the forms gave about values not taken, an item a line.
QString refusalNotes(GuiBench &b)
{
    for (const ScriptedPrompts::Shown &s : b.prompts.shown()) {
        if (s.title.contains(QLatin1String("Values Not Taken")))
            return s.text.section(QStringLiteral("\n\n"), 1);
    }
    return QString();
}

} // namespace

class TestApplyLoaded : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshAsChosen_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("oldNgd");
        for (const ModelInfo &m : modelCatalog()) {
            QTest::addRow("%s", qPrintable(m.code)) << m.code << false;
            if (m.asksFlashQuestion())
                QTest::addRow("%s without flash", qPrintable(m.code)) << m.code << true;
        }
    }

    // Choosing the model leaves its fresh configuration, and forms that show it.
    void freshAsChosen()
    {
        QFETCH(QString, model);
        QFETCH(bool, oldNgd);
        GuiBench b;
        if (oldNgd)
            b.prompts.answerMessage(Prompts::Yes);
        else if (modelOf(model).asksFlashQuestion())
            b.prompts.answerMessage(Prompts::No);
        b.forms.form<model_freestand>(QStringLiteral("model_freestand"))->chooseModel(model);
        QCOMPARE(b.session.rec.UploadReplyLength,
                 modelOf(model).asksFlashQuestion() ? (oldNgd ? 54 : 66) : 0);
        const QStringList faults = Checker(b, model).run();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void formsShowTheFile_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("prior"); // a file opened before it, or none
        for (const ModelInfo &m : modelCatalog()) {
            ConfigRecord fresh;
            {
                GuiBench b;
                b.chooseModel(m.code);
                fresh = b.session.rec;
            }
            QList<ConfigRecord> records{fresh};
            for (int seed : {0, 37, 140, 155})
                records << busyRecord(seed, m);
            QRandomGenerator g(m.productCode * 7919 + m.generation);
            // The sanitizer's run, several times slower, takes a sample of them.
            const bool fewer = qEnvironmentVariableIsSet("QNCF_FEWER_FILES");
            for (int n = 0; n < (fewer ? 4 : 14); ++n)
                records << variedRecord(g, fresh);
            QList<QByteArray> files;
            for (const ConfigRecord &rec : std::as_const(records)) {
                QByteArray file;
                if (configFileBytes(rec, m, &file).ok)
                    files << file;
            }
            // Values the screens never write: texts where numbers go, numbers where texts go,
            // leading zeros, signs and nothing.
            static const QByteArray odd[] = {"\"x\"", "\"05\"", "\"+2\"", "-3", "300", "\"\"", "65"};
            for (int n = 0; n < (fewer ? 4 : 8); ++n) {
                QList<QByteArray> lines = files[1 + n % 4].split('\n');
                lines[g.bounded(14)] = odd[g.bounded(int(std::size(odd)))] + '\r';
                files << lines.join('\n');
            }
            // The files the reader takes, if need be after the user said to open them anyway.
            QList<int> readable;
            for (int n = 0; n < int(files.size()); ++n) {
                LoadedValues values;
                if (checkFileLayout(files[n], m).verdict != LayoutCheck::Verdict::NotWholePasses &&
                    ReadConfigRecords(files[n], m, values).ok)
                    readable << n;
            }
            for (int k = 0; k < int(readable.size()); ++k) {
                const QByteArray prior = k % 3 ? files[readable[(k + 5) % readable.size()]] : QByteArray();
                QTest::addRow("%s #%d", qPrintable(m.code), readable[k])
                    << m.code << files[readable[k]] << prior;
            }
        }
    }

    void formsShowTheFile()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, prior);
        const ModelInfo &m = modelOf(model);
        QTemporaryDir dir;
        GuiBench b;
        b.chooseModel(model);
        const auto open = [&](const QByteArray &bytes, const QString &name) {
            const QString path = dir.filePath(name);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                return false;
            f.close();
            if (!checkFileLayout(bytes, m).fits())
                b.prompts.answerMessage(Prompts::Yes, anotherModelsFileTitle());
            return loadConfigurationFile(b.context, path);
        };
        if (!prior.isEmpty())
            QVERIFY(open(prior, QStringLiteral("prior.QNC")));
        const ConfigRecord before = b.session.rec;
        b.prompts.takeShown();
        QVERIFY(open(file, QStringLiteral("file.QNC")));

        // A fresh configuration takes the file; only what a file cannot hold is the one before.
        LoadedValues values;
        QVERIFY(ReadConfigRecords(file, m, values).ok);
        ConfigRecord base = freshConfiguration(m, before.UploadReplyLength == 54);
        keepWhatTheFileOmits(m, before, base);
        const AppliedConfiguration applied = applyLoadedValues(values, m, base);
        QCOMPARE(describeRefusedValues(applied.refused).join(QLatin1Char('\n')), refusalNotes(b));
        QCOMPARE(BuildConfigMessage(b.session.rec).bytes.toHex(' '),
                 BuildConfigMessage(applied.record).bytes.toHex(' '));

        const QStringList faults = Checker(b, model).run();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestApplyLoaded)
#include "tst_applyloaded.moc"
