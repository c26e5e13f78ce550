// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/formutil.h"
#include "shell/model_freestand.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "support/guibench.h"
#include "support/testdata.h"

namespace {

// The tops of the rows of the page as designed (twips / 15), top to bottom.
const QList<int> rowSlots{80, 106, 133, 160, 186, 213, 240, 266};
constexpr int gapAfterRows = 12;

QWidget *page(GuiBench &b)
{
    return b.forms.form(QStringLiteral("view"));
}

QWidget *box(GuiBench &b, const QString &name)
{
    auto *w = CrossForm(b.forms).control<QWidget>(QStringLiteral("view"), name);
    if (!w)
        qFatal("no %s on view", qPrintable(name));
    return w;
}

// The tops of the rows that can be seen, in order.
QList<int> shownRowTops(QWidget *view)
{
    QList<int> tops;
    for (auto *e : view->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly)) {
        const QString n = e->objectName();
        if (e->isHidden() || n == QLatin1String("Text1") || n == QLatin1String("txtDate"))
            continue;
        if (!tops.contains(e->y()))
            tops << e->y();
    }
    std::sort(tops.begin(), tops.end());
    return tops;
}

} // namespace

class TestView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The boxes, frames and buttons the other forms and the download reach by name.
    void namesOtherFormsUse_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        const char *boxes[] = {"Text1",           "Text5",           "txtModel",     "Text4",
                               "txtComSelect",    "txtDate",         "Text2",        "txtProtocola",
                               "txtBusProtocol",  "txtNetSpeed1",    "txtNetSpeed",  "txtKbaud2",
                               "txtStationNum1",  "txtStationNum",   "txtOctal1",    "txtHighAddress1",
                               "txtHighAddress",  "txtOctal2",       "txtRackNum1",  "txtRackNum",
                               "txtRackNumOctal", "txtRackRange1",   "txtRackRange", "txtRackSize1",
                               "txtRackSize",     "txtBusSpeed1",    "txtBusSpeed",  "txtKbaud",
                               "txtDeviceType",   "txtDeviceType1",  "txtModeOp",    "txtModeOp1",
                               "txtSiemensProt",  "txtSiemensProt1", "txtJMR",       "txtJMR1"};
        for (const char *n : boxes)
            QTest::newRow(n) << n << "box";
        for (const char *ch : {"B", "C"}) {
            for (const char *n :
                 {"txtAsyncSpeed", "txtAsync", "txtKbaudChannel", "txtParity", "txtParityNoneOdd", "txtData",
                  "txtData1", "txtStop", "txtStop1", "txtHandShake", "txtHandShake1"}) {
                const QByteArray name = QByteArray(n) + ch;
                QTest::newRow(name.constData()) << QString::fromLatin1(name) << "channel box";
            }
            QTest::newRow(ch) << QStringLiteral("frmChannel") + QLatin1String(ch) << "frame";
        }
        for (const char *n : {"cmdPrintConf", "Command1", "cmdDownload", "cmdEXIT"})
            QTest::newRow(n) << n << "button";
        for (const char *n : {"lblViewStatus", "lblStatus"})
            QTest::newRow(n) << n << "label";
        QTest::newRow("tmrTIMEOUT") << "tmrTIMEOUT"
                                    << "timer";
    }
    void namesOtherFormsUse()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        GuiBench b;
        QWidget *v = page(b);
        if (kind == QLatin1String("timer")) {
            auto *t = v->findChild<QTimer *>(name);
            QVERIFY(t);
            QVERIFY(!t->isActive());
            return;
        }
        QObject *o = v->findChild<QObject *>(name);
        QVERIFY(o);
        if (kind.endsWith(QLatin1String("box"))) {
            auto *e = qobject_cast<QLineEdit *>(o);
            QVERIFY(e);
            QVERIFY(e->isReadOnly());
            // Rows other forms move by twips sit on the page itself, not in a frame.
            if (kind == QLatin1String("box"))
                QCOMPARE(e->parentWidget(), v);
            else
                QVERIFY(qobject_cast<QGroupBox *>(e->parentWidget()));
        } else if (kind == QLatin1String("frame")) {
            QVERIFY(qobject_cast<QGroupBox *>(o));
        } else if (kind == QLatin1String("button")) {
            QVERIFY(qobject_cast<QPushButton *>(o));
        } else {
            QVERIFY(qobject_cast<QLabel *>(o));
        }
    }

    void rowsCloseUp_data()
    {
        QTest::addColumn<QStringList>("show");
        QTest::addColumn<QStringList>("hide");
        QTest::addColumn<int>("rows");
        QTest::newRow("as designed") << QStringList() << QStringList() << 3;
        QTest::newRow("bridging: high address")
            << QStringList{"txtHighAddress1", "txtHighAddress", "txtOctal2"} << QStringList() << 4;
        QTest::newRow("RIO adapter") << QStringList{"txtRackNum1",  "txtRackNum",   "txtRackRange1",
                                                    "txtRackRange", "txtRackSize1", "txtRackSize"}
                                     << QStringList{"txtStationNum1", "txtStationNum", "txtOctal1"} << 5;
        QTest::newRow("Modbus RTU network") << QStringList{"txtSiemensProt", "txtSiemensProt1"}
                                            << QStringList{"txtNetSpeed1",   "txtNetSpeed",   "txtKbaud2",
                                                           "txtStationNum1", "txtStationNum", "txtOctal1"}
                                            << 3;
        QTest::newRow("unit box alone keeps its row")
            << QStringList() << QStringList{"txtNetSpeed1", "txtNetSpeed"} << 3;
        QTest::newRow("Brabender") << QStringList{"txtJMR", "txtJMR1"} << QStringList() << 4;
    }
    void rowsCloseUp()
    {
        QFETCH(int, rows);
        GuiBench b;
        QWidget *v = page(b);
        b.forms.show(QStringLiteral("view"));
        const QStringList show = FETCHED(QStringList, show);
        for (const QString &n : show)
            box(b, n)->show();
        const QStringList hide = FETCHED(QStringList, hide);
        for (const QString &n : hide)
            box(b, n)->hide();

        // The rows shown take the first slots of the page, in their design order.
        QCOMPARE(shownRowTops(v), rowSlots.mid(0, rows));
        for (const QString &n : show)
            QVERIFY2(rowSlots.mid(0, rows).contains(box(b, n)->y()), qPrintable(n));
        const int rowsBottom = rowSlots.at(rows - 1) + box(b, QStringLiteral("txtModel"))->height();
        QCOMPARE(box(b, QStringLiteral("frmChannelB"))->y(), rowsBottom + gapAfterRows);
        QCOMPARE(box(b, QStringLiteral("frmChannelC"))->y(), rowsBottom + gapAfterRows);
        QWidget *frame = box(b, QStringLiteral("frmChannelB"));
        QVERIFY(box(b, QStringLiteral("cmdDownload"))->y() > frame->geometry().bottom());
        QVERIFY(box(b, QStringLiteral("lblStatus"))->y() >
                box(b, QStringLiteral("cmdDownload"))->geometry().bottom());
        QVERIFY(v->height() > box(b, QStringLiteral("lblStatus"))->geometry().bottom());
        QVERIFY(v->height() < box(b, QStringLiteral("lblStatus"))->geometry().bottom() + 20);

        // Showing a row again puts everything back where it belongs.
        for (const QString &n : hide)
            box(b, n)->show();
        for (const QString &n : show)
            box(b, n)->hide();
        QCOMPARE(shownRowTops(v), rowSlots.mid(0, 3));
    }

    void modbusRowsAt2400Twips()
    {
        GuiBench b;
        QWidget *v = page(b);
        // What the Modbus dialog does to the page for the LBW models.
        for (const char *n : {"txtModeOp", "txtModeOp1", "txtDeviceType", "txtDeviceType1"}) {
            QWidget *w = box(b, QLatin1String(n));
            w->show();
            moveTopTwips(w, 2400);
        }
        for (const char *n : {"txtModeOp", "txtModeOp1", "txtDeviceType", "txtDeviceType1"})
            QCOMPARE(box(b, QLatin1String(n))->y(), 160);
        QCOMPARE(shownRowTops(v), rowSlots.mid(0, 4));
        // The station row stays on its own line above.
        QCOMPARE(box(b, QStringLiteral("txtStationNum"))->y(), 133);
    }

    // Each time the user comes to the page it shows the record as it is then, with the rows
    // of the mode chosen since.
    void showsTheRecordEachTime()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-NGD"));
        const struct
        {
            const char *mode, *station;
            bool high;
        } visits[] = {{"optKF2NGD", "7", false}, {"optNGD", "35", true}, {"optKF2NGD", "7", false}};
        for (const auto &v : visits) {
            b.button("main4000", v.mode)->click();
            QVERIFY(selectText(b.combo("main4000", "cboStationNumber"), QLatin1String(v.station)));
            b.button("main4000", "cmdNext")->click();
            QCOMPARE(box(b, QStringLiteral("txtStationNum"))->property("text").toString(),
                     QLatin1String(v.station));
            QCOMPARE(box(b, QStringLiteral("txtHighAddress"))->isVisibleTo(page(b)), v.high);
            QVERIFY(!box(b, QStringLiteral("txtDate"))->property("text").toString().isEmpty());
            b.button("view", "Command1")->click();
        }
    }

    void changeGoesBackToMain_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("downloading");
        QTest::addColumn<bool>("back");
        QTest::newRow("CHANGE button") << false << false << true;
        QTest::newRow("close box") << true << false << true;
        QTest::newRow("close box while downloading") << true << true << false;
    }
    void changeGoesBackToMain()
    {
        QFETCH(bool, back);
        GuiBench b;
        QWidget *main = b.defineMain();
        QWidget *v = page(b);
        b.forms.show(QStringLiteral("view"));
        auto *change = b.control<QPushButton>("view", "Command1");
        if (FETCHED(bool, downloading))
            change->setEnabled(false);
        if (FETCHED(bool, closeBox))
            v->close();
        else
            QTest::mouseClick(change, Qt::LeftButton);
        QCOMPARE(v->isHidden(), back);
        QCOMPARE(main->isVisible(), back);
        QVERIFY(b.prompts.shown().isEmpty());
    }
};

QTEST_MAIN(TestView)
#include "tst_view.moc"
