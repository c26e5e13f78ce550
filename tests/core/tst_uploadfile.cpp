// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "files/uploadfile.h"
#include "message/configmessage.h"

#include <QTest>

#include "support/records.h"
#include "support/testdata.h"

namespace {

// A busy record of the model, with the awkward bytes an upload must carry into its file.
ConfigRecord recordFor(const ModelInfo &m)
{
    ConfigRecord rec = busyRecord(0, m);
    rec.NetworkSpeed = {10, 0}; // 230.4 kbaud: a line feed between the quotes
    rec.ChanCSpeed = 13;        // a carriage return
    rec.AuxByte1.set("20");
    rec.AuxByte2.set("5");
    rec.AuxByte3 = 0x22; // a quote: written as a number
    return rec;
}

// The replies a unit holding rec sends, laid out as the upload reads them.
QByteArray firstReply(const QByteArray &body, int length)
{
    QByteArray r(length, '\0');
    r[0] = 'T';
    r[1] = 'R';
    for (int k = 0; k < body.size() && 6 + k < length; ++k)
        r[6 + k] = body.at(k);
    return r;
}

QByteArray secondReply(const ConfigRecord &rec, int offset, int count, int length)
{
    QByteArray r(length, '\0');
    r[0] = 'T';
    r[1] = 'R';
    for (int k = 0; k < count; ++k)
        r[offset + k] = char(rec.ProtoParam[k]);
    return r;
}

} // namespace

class TestUploadFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the unit sent, written and read back, gives the slots a saved file of the same
    // configuration gives, but for lines 11 and 12, which the upload writes as numbers.
    void readsLikeASavedFile_data() { addModelRows(); }
    void readsLikeASavedFile()
    {
        QFETCH(QString, model);
        const ModelInfo *m = findModel(model);
        const ConfigRecord rec = recordFor(*m);
        const QByteArray msg = BuildConfigMessage(rec).bytes;
        const QByteArray body = msg.mid(7, msg.size() - 9);
        QByteArray second;
        const UploadPlan plan = m->uploadPlan;
        if (plan == UploadPlan::ParameterRequest)
            second = secondReply(rec, 24, 86, 114);
        else if (plan == UploadPlan::UnaskedReply)
            second = secondReply(rec, 16, 14, 96);

        QByteArray uploaded;
        const FileResult r = uploadFileBytes(firstReply(body, 66), second, modelOf(model), &uploaded);
        QVERIFY2(r.ok, qPrintable(r.error));
        QByteArray saved;
        QVERIFY(configFileBytes(rec, modelOf(model), &saved).ok);
        QCOMPARE(uploaded.count("\r\n"), saved.count("\r\n") + (plan == UploadPlan::UnaskedReply ? 7 : 0));

        LoadedValues fromUpload, fromSave;
        QVERIFY(ReadConfigRecords(uploaded, modelOf(model), fromUpload).ok);
        QVERIFY(ReadConfigRecords(saved, modelOf(model), fromSave).ok);
        QCOMPARE(fromUpload[10].numberValue(), 20);
        QCOMPARE(fromUpload[11].numberValue(), 5);
        for (int slot = 0; slot < LoadedSlotCount; ++slot) {
            if (slot == 10 || slot == 11)
                continue;
            QVERIFY2(fromUpload[slot] == fromSave[slot], qPrintable(QStringLiteral("slot %1").arg(slot)));
        }
    }

    void oldNgdReplyIsEnough()
    {
        const ConfigRecord rec = recordFor(*findModel(u"QN4000-NGD"));
        const QByteArray msg = BuildConfigMessage(rec).bytes;
        QByteArray out;
        QVERIFY(uploadFileBytes(firstReply(msg.mid(7, 42), 54), {}, modelOf(u"QN4000-NGD"), &out).ok);
        QCOMPARE(out.count("\r\n"), 14);
    }

    void shortRepliesAreRefused_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("common part cut") << "QN4000-NGD" << 40 << 0;
        QTest::newRow("type word cut") << "QN4000-WOLTA" << 54 << 0;
        QTest::newRow("no parameter block") << "QN4000-LBW" << 66 << 0;
        QTest::newRow("no rack map") << "QN6000-UCT" << 66 << 20;
    }
    void shortRepliesAreRefused()
    {
        QByteArray out("untouched");
        const FileResult r =
            uploadFileBytes(QByteArray(FETCHED(int, first), 'x'), QByteArray(FETCHED(int, second), 'x'),
                            modelOf(FETCHED(QString, model)), &out);
        QVERIFY(!r.ok);
        QCOMPARE(out, QByteArray("untouched"));
    }
};

QTEST_APPLESS_MAIN(TestUploadFile)
#include "tst_uploadfile.moc"
