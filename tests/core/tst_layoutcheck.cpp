// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "files/configfile.h"
#include "files/fileomissions.h"
#include "files/layoutcheck.h"
#include "files/uploadfile.h"

#include <QTest>

#include "support/records.h"
#include "support/testdata.h"

Q_DECLARE_METATYPE(LayoutCheck::Verdict)

namespace {

QByteArray savedFile(const ModelInfo &model, int seed)
{
    QByteArray bytes;
    configFileBytes(busyRecord(seed, model), model, &bytes);
    return bytes;
}

// What the upload writes from replies whose bytes are all plain characters.
QByteArray uploadedFile(const ModelInfo &model, int seed)
{
    QByteArray first("TR"), second("TR");
    for (int i = 2; i < 66; ++i)
        first.append(char('A' + (i + seed) % 26));
    for (int i = 2; i < 114; ++i)
        second.append(char('a' + (i + seed) % 26));
    QByteArray bytes;
    uploadFileBytes(first, second, model, &bytes);
    return bytes;
}

QStringList codesOf(const QList<const ModelInfo *> &models)
{
    QStringList codes;
    for (const ModelInfo *m : models)
        codes << m->code;
    return codes;
}

QStringList codesWithLayout(FileParams layout)
{
    QStringList codes;
    for (const ModelInfo &m : modelCatalog()) {
        if (m.fileParams == layout)
            codes << m.code;
    }
    return codes;
}

// The file with line n (from 1) replaced.
QByteArray withLine(const QByteArray &file, int n, const QByteArray &line)
{
    QList<QByteArray> lines = file.split('\n');
    lines[n - 1] = line + '\r';
    return lines.join('\n');
}

// The file with lines n and n + 1 made one, their values separated by a comma.
QByteArray joined(const QByteArray &file, int n)
{
    QList<QByteArray> lines = file.split('\n');
    lines[n - 1].chop(1);
    lines[n - 1] += ',' + lines.takeAt(n);
    return lines.join('\n');
}

} // namespace

class TestLayoutCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A model's own files, saved or uploaded, one configuration or several in either form
    // (the reader takes every whole one), are never taken for another model's.
    void ownFilesFit_data() { addModelRows(); }
    void ownFilesFit()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        const QByteArray saved = savedFile(model, 0);
        const QByteArray uploaded = uploadedFile(model, 3);
        QVERIFY(!saved.isEmpty() && !uploaded.isEmpty());
        const QList<QByteArray> files{saved, uploaded, saved + uploaded + savedFile(model, 7)};
        for (const QByteArray &file : files) {
            const LayoutCheck c = checkFileLayout(file, model);
            QCOMPARE(c.verdict, LayoutCheck::Verdict::Fits);
            QCOMPARE(codesOf(c.fitting), codesWithLayout(model.fileParams));
        }
    }

    // A file of one model opened under each model of another layout: never taken as it is,
    // and the models it does fit are named.
    void otherModelsFilesAreNamed_data() { ownFilesFit_data(); }
    void otherModelsFilesAreNamed()
    {
        const ModelInfo &saver = modelOf(FETCHED(QString, model));
        const QStringList ownLayout = codesWithLayout(saver.fileParams);
        QStringList wrong;
        for (const QByteArray &file : {savedFile(saver, 0), uploadedFile(saver, 0)}) {
            for (const ModelInfo &selected : modelCatalog()) {
                if (selected.fileParams == saver.fileParams)
                    continue;
                const LayoutCheck c = checkFileLayout(file, selected);
                if (c.fits() || codesOf(c.fitting) != ownLayout ||
                    !c.explanation(selected).contains(ownLayout.join(QLatin1String(", "))))
                    wrong << selected.code + QStringLiteral(": ") + c.explanation(selected);
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    // What is found, and where, in files that are near a model's own.
    void misfits_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<LayoutCheck::Verdict>("verdict");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("expected");
        using V = LayoutCheck::Verdict;
        const QByteArray ngd = savedFile(modelOf(u"QN4000-NGD"), 0);
        const QByteArray lbw = savedFile(modelOf(u"QN4000-LBW"), 0);
        // 84 lines, 84 values: three whole rack-map configurations by count, each of 28 values,
        // the first even in the upload's form; its second has a number for the network speed.
        QTest::newRow("LBW under UCT") << "QN6000-UCT" << lbw << V::WrongShape << 32 << "a number"
                                       << "a quoted text";
        QTest::newRow("a quoted text where a number goes")
            << "QN4000-NGD" << withLine(ngd, 2, "\"1\"") << V::WrongShape << 2 << "a quoted text"
            << "a number";
        QTest::newRow("two values where one goes")
            << "QN4000-NGD" << joined(ngd, 2) << V::WrongShape << 2 << "two values"
            << "one value";
        QTest::newRow("one value where two go") << "QN4000-WOLTA" << ngd + "5\r\n6\r\n"
                                                << V::WrongShape << 15 << "one value"
                                                << "two values";
        QTest::newRow("a blank line fits anywhere")
            << "QN4000-NGD" << withLine(ngd, 2, "") << V::Fits << 0 << ""
            << "";
        QTest::newRow("a value short") << "QN4000-NGD" << ngd + ngd.chopped(5) // its line 14, "116"
                                       << V::NotWholePasses << 0 << ""
                                       << "";
        QTest::newRow("neither text nor number")
            << "QN4000-LBW" << withLine(lbw, 20, "x7") << V::Unreadable << 0 << ""
            << "";
    }
    void misfits()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        const LayoutCheck c = checkFileLayout(FETCHED(QByteArray, file), model);
        QCOMPARE(c.verdict, FETCHED(LayoutCheck::Verdict, verdict));
        QCOMPARE(c.fits(),
                 c.verdict == LayoutCheck::Verdict::Fits || c.verdict == LayoutCheck::Verdict::Unreadable);
        if (c.verdict != LayoutCheck::Verdict::WrongShape)
            return;
        QCOMPARE(c.line, FETCHED(int, line));
        QCOMPARE(c.found, FETCHED(QString, found));
        QCOMPARE(c.expected, FETCHED(QString, expected));
    }

    // Only the models whose file leaves something out have a note, and the RW31's names the
    // file number the unit gets.
    void omissionNotes_data() { ownFilesFit_data(); }
    void omissionNotes()
    {
        const ModelInfo &model = modelOf(FETCHED(QString, model));
        ConfigRecord rec = busyRecord(0, model);
        rec.ProtoParam[2] = 44;
        rec.ProtoParam[3] = 1;
        for (FileUse use : {FileUse::Saved, FileUse::Uploaded, FileUse::Sent}) {
            const QString note = fileOmissionNote(model, rec, use, QStringLiteral("/x/a.QNC"));
            switch (model.fileOmits()) {
            case FileOmission::Nothing:
                QVERIFY(note.isEmpty());
                break;
            case FileOmission::ToshibaSettings:
                QVERIFY(note.contains(QLatin1String("Toshiba drive settings")));
                break;
            case FileOmission::PlcFileNumber:
                QVERIFY2(note.contains(QLatin1String("PLC file number")) &&
                             note.contains(QLatin1String("300")),
                         qPrintable(note));
                break;
            }
            QVERIFY(note.isEmpty() || note.contains(QLatin1String("a.QNC")));
        }
        QCOMPARE(model.fileOmits() != FileOmission::Nothing,
                 model.code == QLatin1String("QN4000-EPV4") || model.code == QLatin1String("QN4000-RW31"));
    }
};

QTEST_APPLESS_MAIN(TestLayoutCheck)
#include "tst_layoutcheck.moc"
