// SPDX-License-Identifier: GPL-3.0-or-later
// The Modbus, Siemens, data-table, rack map and Toshiba dialogs: what each control writes into
// the record, what the boxes refuse, and the layouts and ways out.

#include "editor/main4000.h"
#include "editor/rio_bt.h"
#include "frame/formutil.h"
#include "message/configmessage.h"
#include "shell/model_freestand.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTest>

#include "support/guibench.h"
#include "support/shownchecker.h"
#include "support/testdata.h"

namespace {

constexpr quint8 Sentinel = 0x5A;

// "P8" is ProtoParam[8], "X4" ExtParam[4], "L" LinkOptions, "A4" AuxByte4.
IntByte &field(ConfigRecord &r, const QString &name)
{
    const int n = name.mid(1).toInt();
    switch (name.at(0).toLatin1()) {
    case 'P':
        return r.ProtoParam[n];
    case 'X':
        return r.ExtParam[n];
    case 'L':
        return r.LinkOptions;
    case 'A':
        return r.AuxByte4;
    }
    qFatal("no field %s", qPrintable(name));
}

// "P8=44 P9=1": every named field holds its value.
QString mismatches(ConfigRecord &r, const QString &expected)
{
    QStringList wrong;
    for (const QString &e : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = e.section(QLatin1Char('='), 0, 0);
        const int want = e.section(QLatin1Char('='), 1).toInt(nullptr, 0);
        if (int(field(r, name)) != want)
            wrong << QStringLiteral("%1 is %2, not %3").arg(name).arg(int(field(r, name))).arg(want);
    }
    return wrong.join(QLatin1String("; "));
}

// Opens a dialog from its main4000 button, as the user does.
QWidget *open(GuiBench &b, const char *button, const char *dialog)
{
    b.mainForm()->show();
    b.button("main4000", button)->click();
    QWidget *d = b.forms.existing(QLatin1String(dialog));
    if (!d || !d->isVisible())
        qFatal("%s did not open %s", button, dialog);
    return d;
}

bool mainIsBack(GuiBench &b)
{
    return b.mainForm()->isVisible() && b.mainForm()->isEnabled();
}

} // namespace

class TestProtocolDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A text put in a number box (typed or pasted at once), what the box then shows, what it
    // shows once the user presses Enter (the number stored, plainly), and the record's
    // entries. The entries start from 0x5A, so "kept" shows as 90 (or 23130 a word).
    void numberBoxes_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("done");

        const auto row = [](const char *name, const char *model, const char *dialog, const char *box,
                            const char *text, const char *shows, const char *entries,
                            const char *done = nullptr) {
            QTest::newRow(name) << model << dialog << box << text << shows << entries
                                << QString::fromLatin1(done ? done : shows);
        };
        const char *lbw = "QN4000-LBW", *mb = "modbus_prot";
        row("Modbus 300", lbw, mb, "txtStart1", "300", "300", "P8=44 P9=1");
        row("Modbus 65535", lbw, mb, "txtStart1", "65535", "65535", "P8=255 P9=255");
        row("Modbus 12a", lbw, mb, "txtStart1", "12a", "", "P8=90 P9=90", "23130");
        row("Modbus blank", lbw, mb, "txtEnd2", " ", "", "P20=90 P21=90", "23130");
        row("Modbus half to even", lbw, mb, "txtEnd1", "2.5", "2.5", "P10=2 P11=0", "2");
        row("Modbus blanks around", lbw, mb, "txtFile3", " 7 ", " 7 ", "P32=7 P33=0", "7");
        row("Modbus last word", lbw, mb, "txtWord8", "513", "513", "P84=1 P85=2");
        row("Modbus above a word", lbw, mb, "txtWord8", "65536", "23130", "P84=90 P85=90");
        row("Modbus negative", lbw, mb, "txtFile3", "-1", "23130", "P32=90 P33=90");
        row("Modbus far too big", lbw, mb, "txtStart4", "99999999999", "", "P38=90 P39=90", "23130");

        const char *yze = "QN4000-YZE", *qof = "QN4000-QOF";
        row("YZE file 300", yze, "YZE_DataTable", "txtXXX", "300", "300", "P2=44 P3=1");
        row("YZE word cleared", yze, "YZE_DataTable", "txtYYY", "", "", "P4=90 P5=90", "23130");
        row("YZE file above a word", yze, "YZE_DataTable", "txtXXX", "70000", "23130", "P2=90 P3=90");
        row("VR58 neckdowns cleared", qof, "VR58_DataTable", "txtXXX", "", "180", "P2=180 P3=0");
        row("VR58 lumps not a number", qof, "VR58_DataTable", "txtYYY", "x", "181", "P4=181 P5=0");
        row("VR58 lumps negative", qof, "VR58_DataTable", "txtYYY", "-5", "23130", "P4=90 P5=90");

        const char *epv4 = "QN4000-EPV4", *vfd = "toshiba_VFD", *s2e = "toshiba_Super2E";
        row("delay 300", epv4, vfd, "txtDelay", "300", "300", "X4=0x2C X5=1");
        row("delay above a word", epv4, vfd, "txtDelay", "65536", "23130", "X4=90 X5=90");
        row("polling retries cleared", epv4, vfd, "txtPollingRetries", "", "0", "X1=0");
        row("interrupt retries letters", epv4, vfd, "txtIntRetries", "abc", "0", "X0=0");
        row("interrupt retries 255", epv4, vfd, "txtIntRetries", "255", "255", "X0=255");
        row("interrupt retries 256", epv4, vfd, "txtIntRetries", "256", "90", "X0=90");
        row("relay 7", epv4, s2e, "txtWD20", "7", "7", "P0=7 P1=0");
        row("relay not a number", epv4, s2e, "txtWD21", "relay", "0", "P2=0 P3=0");
        row("relay cleared", epv4, s2e, "txtWD29", "", "0", "P18=0 P19=0");
        row("relay 256", epv4, s2e, "txtWD22", "256", "23130", "P4=90 P5=90");
        row("register 4007", epv4, s2e, "txtWD35", "4007", "4007", "P30=7 P31=0x40");
        row("register FFFF", epv4, s2e, "txtWD41", "FFFF", "FFFF", "P42=255 P43=255");
        row("SW register", epv4, s2e, "txtWD45", "8123", "8123", "P50=0x23 P51=0x81");
        row("register in lower case", epv4, s2e, "txtWD46", "ab", "ab", "P52=0xAB P53=0", "00AB");
        row("register with blanks", epv4, s2e, "txtWD32", " 40 0B", " 40 0B", "P24=0x0B P25=0x40", "400B");
        row("register stops at a non-digit", epv4, s2e, "txtWD33", "12G4", "12G4", "P26=0x12 P27=0", "0012");
        row("register of no digit", epv4, s2e, "txtWD34", "h", "h", "P28=0 P29=0", "0000");
        row("register of five digits", epv4, s2e, "txtWD31", "12345", "5A5A", "P22=90 P23=90");
        row("register cleared", epv4, s2e, "txtWD58", "", "0", "P76=0 P77=0", "0000");
    }
    void numberBoxes()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, box);
        QFETCH(QString, text);
        GuiBench b;
        b.chooseModel(QString::fromLatin1(qPrintable(FETCHED(QString, model))));
        auto *edit = CrossForm(b.forms).control<QLineEdit>(dialog, box);
        QVERIFY(edit);
        b.session.rec.ProtoParam.fill(Sentinel);
        b.session.rec.ExtParam.fill(Sentinel);
        edit->setText(text);
        QCOMPARE(edit->text(), FETCHED(QString, shows));
        const QString wrong = mismatches(b.session.rec, FETCHED(QString, entries));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), FETCHED(QString, done));
        QCOMPARE(mismatches(b.session.rec, FETCHED(QString, entries)), wrong);
        // A refused number says what fits.
        if (!edit->toolTip().isEmpty())
            QVERIFY2(edit->toolTip().contains(QLatin1String(" to ")), qPrintable(edit->toolTip()));
    }

    // Options and lists of the Modbus, Siemens and Toshiba dialogs and what they write; a
    // field not named keeps its value.
    void options_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("summary"); // view box=text, or empty

        const char *lbw = "QN6000-LBW", *mb = "modbus_prot";
        QTest::newRow("ASCII") << lbw << mb << QStringList{"optAscii"} << "P1=1"
                               << "txtModeOp1=ASCII";
        QTest::newRow("master") << lbw << mb << QStringList{"optMaster"} << "P1=2"
                                << "txtDeviceType1=MASTER";
        QTest::newRow("two-wire, broadcast")
            << lbw << mb << QStringList{"optYesHalf", "optYesBroadcast"} << "P1=12"
            << "";
        QTest::newRow("back to RTU slave")
            << lbw << mb << QStringList{"optAscii", "optMaster", "optSlave", "optRtu"} << "P1=0"
            << "txtModeOp1=RTU";
        QTest::newRow("SLC 5/04") << lbw << mb << QStringList{"Option3"} << "P4=2"
                                  << "";
        QTest::newRow("PLC 3") << lbw << mb << QStringList{"Option2"} << "P4=1"
                               << "";
        QTest::newRow("range 9xxx") << lbw << mb << QStringList{"Option13"} << "P5=9"
                                    << "";
        QTest::newRow("range 2xxx") << lbw << mb << QStringList{"Option4"} << "P5=2"
                                    << "";
        QTest::newRow("master decodes ten slaves")
            << lbw << mb << QStringList{"optMaster", "Option14"} << "P1=2 P5=1"
            << "";
        QTest::newRow("stations 17 to 27")
            << lbw << mb << QStringList{"optYesBroadcast", "cboStartAddress=17", "cboEndAddress=27"}
            << "P2=17 P3=27"
            << "";

        const char *wolta = "QN4000-WOLTA", *sp = "siemens_param";
        QTest::newRow("28 ms") << wolta << sp << QStringList{"opt28ms"} << "P0=2 P1=0"
                               << "";
        QTest::newRow("DUST6B") << wolta << sp << QStringList{"optDUST6B"} << ""
                                << "txtSiemensProt1=DUST6B";
        QTest::newRow("SIMPLE") << wolta << sp << QStringList{"optSimple"} << ""
                                << "txtSiemensProt1=SIMPLE";
        QTest::newRow("functions on")
            << wolta << sp << QStringList{"optYesFunc", "optOnUss", "optPKW4", "optYesPM"} << "A4=15"
            << "";
        QTest::newRow("PKW 3 again") << wolta << sp << QStringList{"optYesFunc", "optPKW4", "optPKW3"}
                                     << "A4=1"
                                     << "";
        QTest::newRow("RS-422") << wolta << sp << QStringList{"opt422"} << "L=0"
                                << "";

        const char *epv4 = "QN4000-EPV4", *vfd = "toshiba_VFD";
        QTest::newRow("G3") << epv4 << vfd << QStringList{"optG3"} << "X3=1"
                            << "txtSiemensProt1=G3";
        QTest::newRow("SUPER2E") << epv4 << vfd << QStringList{"optSuper2E"} << "X3=2"
                                 << "txtSiemensProt1=SUPER2E";
        QTest::newRow("coast stop") << epv4 << vfd << QStringList{"optStopCoast"} << "X2=3"
                                    << "";
        QTest::newRow("E-stop") << epv4 << vfd << QStringList{"optEStop"} << "X2=1"
                                << "";
        QTest::newRow("RS-422 drives") << epv4 << vfd << QStringList{"opt422"} << "L=0"
                                       << "";
    }
    void options()
    {
        QFETCH(QString, dialog);
        GuiBench b;
        b.chooseModel(QString::fromLatin1(qPrintable(FETCHED(QString, model))));
        CrossForm r(b.forms);
        // The presets leave the shared interface bit set where the model starts on two wires.
        b.session.rec.LinkOptions = 16;
        for (const QString &c : FETCHED(QStringList, clicks)) {
            if (c.contains(QLatin1Char('=')))
                QVERIFY(selectText(r.control<QComboBox>(dialog, c.section(QLatin1Char('='), 0, 0)),
                                   c.section(QLatin1Char('='), 1)));
            else
                r.control<QAbstractButton>(dialog, c)->click();
        }
        const QString wrong = mismatches(b.session.rec, FETCHED(QString, entries));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        if (const QString s = FETCHED(QString, summary); !s.isEmpty())
            QCOMPARE(b.text("view", qPrintable(s.section(QLatin1Char('='), 0, 0))),
                     s.section(QLatin1Char('='), 1));
    }

    // Master and slave: the window's height, its buttons and which frames show.
    void modbusLayouts_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("heightTwips");
        QTest::addColumn<int>("buttonsTwips");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        QTest::newRow("master") << "optMaster" << 3000 << 2160 << QStringList{"frmMasterMode"}
                                << QStringList{"frmModbusTable", "frmBroadcast", "frmABtype",
                                               "frmModRegister"};
        QTest::newRow("slave") << "optSlave" << 8130 << 7320
                               << QStringList{"frmModbusTable", "frmBroadcast", "frmABtype", "frmModRegister"}
                               << QStringList{"frmMasterMode"};
    }
    void modbusLayouts()
    {
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-LBW"));
        QWidget *d = open(b, "cmdModBus", "modbus_prot");
        // From the other layout, so the switch happens while the dialog shows.
        const bool toMaster = FETCHED(QString, option) == QLatin1String("optMaster");
        b.button("modbus_prot", toMaster ? "optSlave" : "optMaster")->click();
        b.button("modbus_prot", qPrintable(FETCHED(QString, option)))->click();
        QVERIFY(d->isVisible());
        QCOMPARE(d->height(), twips(FETCHED(int, heightTwips)));
        for (const char *button : {"Command2", "Command3"})
            QCOMPARE(b.control<QWidget>("modbus_prot", button)->y(), twips(FETCHED(int, buttonsTwips)));
        for (const QString &f : shown)
            QVERIFY2(CrossForm(b.forms).control<QWidget>(QStringLiteral("modbus_prot"), f)->isVisibleTo(d),
                     qPrintable(f));
        for (const QString &f : hidden)
            QVERIFY2(!CrossForm(b.forms).control<QWidget>(QStringLiteral("modbus_prot"), f)->isVisibleTo(d),
                     qPrintable(f));
        // Every button a user can reach lies inside the window.
        for (QAbstractButton *o : d->findChildren<QAbstractButton *>())
            if (o->isVisibleTo(d))
                QVERIFY2(d->rect().contains(QRect(o->mapTo(d, QPoint()), o->size())),
                         qPrintable(o->objectName()));
    }

    // The reset: a slave on RTU again, the stations at 00, and the table's words kept (every
    // box still shows its word).
    void modbusReset()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-LBW"));
        open(b, "cmdModBus", "modbus_prot");
        for (const char *o : {"optMaster", "optAscii", "optYesHalf", "Option14"})
            b.button("modbus_prot", o)->click();
        b.control<QLineEdit>("modbus_prot", "txtStart1")->setText(QStringLiteral("300"));
        b.control<QLineEdit>("modbus_prot", "txtWord8")->setText(QStringLiteral("7"));
        selectText(b.combo("modbus_prot", "cboStartAddress"), QStringLiteral("17"));
        b.button("modbus_prot", "optSlave")->click();
        b.button("modbus_prot", "Option9")->click();
        b.button("modbus_prot", "optMaster")->click();
        b.button("modbus_prot", "Command3")->click();
        for (const char *o :
             {"optSlave", "optRtu", "optNoHalf", "optPLC5", "optNoBroadcast", "Option15", "Option6"})
            QVERIFY2(b.button("modbus_prot", o)->isChecked(), o);
        QCOMPARE(b.combo("modbus_prot", "cboStartAddress")->currentText(), QStringLiteral("00"));
        const QString wrong =
            mismatches(b.session.rec, QStringLiteral("P1=0 P2=0 P3=0 P4=0 P5=0 P8=44 P9=1 P84=7"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QCOMPARE(b.text("modbus_prot", "txtStart1"), QStringLiteral("300"));
        QCOMPARE(b.text("modbus_prot", "txtWord8"), QStringLiteral("7"));
        QCOMPARE(b.forms.existing(QStringLiteral("modbus_prot"))->height(), twips(8130));
        b.button("modbus_prot", "Command2")->click();
        QVERIFY(mainIsBack(b));
        QVERIFY(b.forms.existing(QStringLiteral("modbus_prot"))->isHidden());
    }

    // What a table box shows once the user is done with it, when its dialog is new, after the
    // reset and after a file: always the word the record holds, which is what is sent. Steps:
    // "box=text" typed key by key over the box's text and ended with Enter, "click:button",
    // "file" (saved, the model chosen afresh, the file opened).
    void boxesShowStoredWords_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shows");
        const char *lbw = "QN4000-LBW", *mb = "cmdModBus";
        QTest::newRow("Modbus 12a") << lbw << mb << QStringList{"txtStart1=12a"}
                                    << QStringList{"txtStart1=12"};
        QTest::newRow("Modbus new dialog") << lbw << mb << QStringList{} << QStringList{"txtWord8=0"};
        QTest::newRow("Modbus reset")
            << lbw << mb << QStringList{"txtEnd2=300", "click:Command3"} << QStringList{"txtEnd2=300"};
        QTest::newRow("Modbus file") << "QN6000-LBW" << mb
                                     << QStringList{"txtWord6=4711", "txtFile3=9", "file"}
                                     << QStringList{"txtWord6=4711", "txtFile3=9"};
        QTest::newRow("YZE 12a") << "QN6000-YZE"
                                 << "cmdYZE" << QStringList{"txtYYY=12a"} << QStringList{"txtYYY=12"};
    }
    void boxesShowStoredWords()
    {
        QFETCH(QString, model);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("w.QNC"));
        GuiBench b;
        b.chooseModel(QString::fromLatin1(qPrintable(model)));
        const QByteArray opener = FETCHED(QString, opener).toLatin1();
        QWidget *d = open(b, opener.constData(),
                          opener == "cmdModBus" ? "modbus_prot" : b.session.model->dataTableForm);
        for (const QString &step : FETCHED(QStringList, steps)) {
            if (step == QLatin1String("file")) {
                b.prompts.answerSave(path);
                b.mainForm()->action(QStringLiteral("save_file"))->trigger();
                b.chooseModel(QString::fromLatin1(qPrintable(model)));
                b.prompts.answerOpen(path);
                b.mainForm()->action(QStringLiteral("open_file"))->trigger();
                d = open(b, opener.constData(), "modbus_prot");
            } else if (step.startsWith(QLatin1String("click:"))) {
                d->findChild<QAbstractButton *>(step.mid(6))->click();
            } else {
                auto *box = d->findChild<QLineEdit *>(step.section(QLatin1Char('='), 0, 0));
                box->selectAll();
                QTest::keyClicks(box, step.section(QLatin1Char('='), 1));
                QTest::keyClick(box, Qt::Key_Return);
            }
        }
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        for (const QString &e : FETCHED(QStringList, shows))
            QCOMPARE(d->findChild<QLineEdit *>(e.section(QLatin1Char('='), 0, 0))->text(),
                     e.section(QLatin1Char('='), 1));
        // Every box, not only those named: its word, low byte first from its first entry.
        const ConfigRecord &rec = b.session.rec;
        QMap<QString, int> firstEntry{{"txtXXX", 2}, {"txtYYY", 4}};
        if (d->objectName() == QLatin1String("modbus_prot")) {
            firstEntry.clear();
            for (int row = 1; row <= 8; ++row) {
                int column = 0;
                for (const char *name : {"txtStart", "txtEnd", "txtFile", "txtWord"})
                    firstEntry.insert(QLatin1String(name) + QString::number(row),
                                      8 + 10 * (row - 1) + 2 * column++);
            }
        }
        for (auto it = firstEntry.cbegin(); it != firstEntry.cend(); ++it) {
            const int word = rec.ProtoParam[it.value() + 1] * 256 + rec.ProtoParam[it.value()];
            QCOMPARE(d->findChild<QLineEdit *>(it.key())->text(), QString::number(word));
        }
    }

    // The close box destroys the Siemens dialog: the next opening starts from its defaults, and
    // the fields follow them.
    void siemensCloseBoxResets()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-WOLTA"));
        QWidget *d = open(b, "cmdSiemensParam", "siemens_param");
        for (const char *o :
             {"optDUST6B", "opt56ms", "opt485", "optYesFunc", "optOnUss", "optPKW4", "optYesPM"})
            b.button("siemens_param", o)->click();
        selectText(b.combo("siemens_param", "cboTelegram"), QStringLiteral("7"));
        QCOMPARE(b.session.rec.AuxByte1.text(), QByteArray("7"));
        QVERIFY(d->close());
        QVERIFY(mainIsBack(b));
        QVERIFY(!b.forms.isLoaded(QStringLiteral("siemens_param")));
        open(b, "cmdSiemensParam", "siemens_param");
        for (const char *o :
             {"optSimple", "optNone", "opt422", "optNoFunc", "optOffUss", "optPKW3", "optNoPM"})
            QVERIFY2(b.button("siemens_param", o)->isChecked(), o);
        QCOMPARE(b.combo("siemens_param", "cboTelegram")->currentText(), QStringLiteral("20"));
        const QString wrong = mismatches(b.session.rec, QStringLiteral("A4=0 P0=0 P1=0 L=0"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QCOMPARE(b.session.rec.AuxByte2.text(), QByteArray("0"));
        QCOMPARE(b.text("view", "txtSiemensProt1"), QStringLiteral("SIMPLE"));
        // Only one wiring picture shows, the one of the connection chosen.
        QVERIFY(
            b.control<QWidget>("siemens_param", "pic422")->isVisibleTo(b.forms.existing("siemens_param")));
        QVERIFY(
            !b.control<QWidget>("siemens_param", "pic485")->isVisibleTo(b.forms.existing("siemens_param")));
    }

    // Whatever changed the record while a dialog was closed, the dialog shows the record when
    // it opens again, and its options then write from there.
    void dialogShowsTheRecordWhenOpened_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("entries"); // set while the dialog is closed
        QTest::newRow("Modbus master on ASCII, ten slaves decoded") << "QN6000-LBW"
                                                                    << "cmdModBus"
                                                                    << "modbus_prot"
                                                                    << "P1=3 P4=2 P5=1";
        QTest::newRow("Modbus slave, broadcasts, range 7xxx") << "QN6000-LBW"
                                                              << "cmdModBus"
                                                              << "modbus_prot"
                                                              << "P1=12 P2=17 P3=27 P5=7";
        QTest::newRow("Siemens 56 ms, RS-485, functions") << "QN4000-WOLTA"
                                                          << "cmdSiemensParam"
                                                          << "siemens_param"
                                                          << "P0=4 P1=0 A4=10 L=16";
        QTest::newRow("Toshiba Super2E, coast, RS-422") << "QN4000-EPV4"
                                                        << "cmdToshibaParam"
                                                        << "toshiba_VFD"
                                                        << "X2=3 X3=2 X0=7 L=0";
    }
    void dialogShowsTheRecordWhenOpened()
    {
        const QString model = FETCHED(QString, model);
        const QByteArray button = FETCHED(QString, button).toLatin1();
        const QByteArray dialog = FETCHED(QString, dialog).toLatin1();
        GuiBench b;
        b.chooseModel(model);
        auto *d = static_cast<MainFormDialog *>(open(b, button.constData(), dialog.constData()));
        d->accept();
        for (const QString &e : FETCHED(QString, entries).split(QLatin1Char(' ')))
            field(b.session.rec, e.section(QLatin1Char('='), 0, 0)) =
                IntByte(e.section(QLatin1Char('='), 1).toInt());
        const ConfigRecord before = b.session.rec;
        open(b, button.constData(), dialog.constData());
        QVERIFY2(Checker(b, model).run().isEmpty(),
                 qPrintable(Checker(b, model).run().join(QLatin1Char('\n'))));
        QVERIFY(BuildConfigMessage(b.session.rec).bytes == BuildConfigMessage(before).bytes);
    }

    // Clicks on the rack map, each written at once, then the record's 14 map bytes.
    void rackMap_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("entries");
        QTest::newRow("one box") << QStringList{"chk351"} << "P4=0 P5=0x08";
        QTest::newRow("one box off again") << QStringList{"chk351", "chk350", "chk351"} << "P5=0x04";
        QTest::newRow("first and last positions") << QStringList{"chk100", "chk771"} << "P0=1 P13=0x80";
        QTest::newRow("enable all") << QStringList{"optRIO7", "Check4"} << "P6=0xFF P7=0xFF P5=0";
        QTest::newRow("enable all, then clear all")
            << QStringList{"optRIO7", "Check4", "Check4"} << "P6=0 P7=0";
        QTest::newRow("a range that ends before an enabled rack")
            << QStringList{"optRIO7", "Check5", "chk461", "optRIO3"} << "P8=0 P9=0 P7=0x20";
    }
    void rackMap()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-UCT"));
        open(b, "cmdRioBt", "rio_bt");
        for (const QString &c : FETCHED(QStringList, clicks))
            CrossForm(b.forms).control<QAbstractButton>(QStringLiteral("rio_bt"), c)->click();
        const QString wrong = mismatches(b.session.rec, FETCHED(QString, entries));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // The rack range of the map and of the main form are one: either shows the other's, and
    // only the racks in range show.
    void rackRange()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN6000-UCT"));
        QWidget *d = open(b, "cmdRioBt", "rio_bt");
        b.button("rio_bt", "optRIO3")->click();
        QCOMPARE(b.combo("main4000", "cboRackRange")->currentText(), QStringLiteral("3"));
        QCOMPARE(int(b.session.rec.HighAddress), 3);
        for (int r = 1; r <= 7; ++r)
            QCOMPARE(
                b.control<QWidget>("rio_bt", qPrintable(QStringLiteral("frmRack%1").arg(r)))->isVisibleTo(d),
                r <= 3);
        b.button("rio_bt", "cmdAccept")->click();
        QVERIFY(mainIsBack(b));
        selectText(b.combo("main4000", "cboRackRange"), QStringLiteral("5"));
        b.button("main4000", "cmdRioBt")->click();
        QVERIFY(b.button("rio_bt", "optRIO5")->isChecked());
        QVERIFY(b.control<QWidget>("rio_bt", "frmRack5")->isVisibleTo(d));
        QVERIFY(!b.mainForm()->isEnabled());
    }

    // Cancel gives back the 14 bytes the record held when the map was opened, and the next
    // opening shows them.
    void rackMapCancel()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-UCT"));
        selectText(b.combo("main4000", "cboRackRange"), QStringLiteral("7"));
        for (int i = 0; i < 14; ++i)
            b.session.rec.ProtoParam[i] = IntByte(0x11 * i);
        open(b, "cmdRioBt", "rio_bt");
        auto *map = b.forms.form<rio_bt>(QStringLiteral("rio_bt"));
        // Every box shows its bit.
        for (int r = 1; r <= 7; ++r)
            for (int g = 0; g < 8; ++g)
                for (int m = 0; m < 2; ++m)
                    QCOMPARE(map->box(r, g, m)->isChecked(),
                             bool((0x11 * (2 * (r - 1) + g / 4)) & (1 << (2 * (g % 4) + m))));
        for (const char *c : {"Check1", "chk771", "Check6", "chk200"})
            b.button("rio_bt", c)->click();
        b.button("rio_bt", "cmdCancel")->click();
        QVERIFY(mainIsBack(b));
        QVERIFY(!b.forms.isLoaded(QStringLiteral("rio_bt")));
        for (int i = 0; i < 14; ++i)
            QCOMPARE(int(b.session.rec.ProtoParam[i]), 0x11 * i);
        open(b, "cmdRioBt", "rio_bt");
        QVERIFY(b.forms.form<rio_bt>(QStringLiteral("rio_bt"))->box(1, 4, 0)->isChecked()); // byte 1 = 0x11
        QVERIFY(!b.forms.form<rio_bt>(QStringLiteral("rio_bt"))->box(1, 4, 1)->isChecked());
    }

    // The Toshiba accept goes back to the main form, or through the Super2E table for relays.
    void toshibaAccept_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("table");
        QTest::newRow("G2") << "optG2" << false;
        QTest::newRow("G3") << "optG3" << false;
        QTest::newRow("SUPER2E") << "optSuper2E" << true;
        QTest::newRow("SUPER2E, then G3") << "optSuper2E optG3" << false;
    }
    void toshibaAccept()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-EPV4"));
        QWidget *vfd = open(b, "cmdToshibaParam", "toshiba_VFD");
        QVERIFY(!b.mainForm()->isEnabled());
        for (const QString &o : FETCHED(QString, type).split(QLatin1Char(' ')))
            CrossForm(b.forms).control<QAbstractButton>(QStringLiteral("toshiba_VFD"), o)->click();
        b.button("toshiba_VFD", "Command1")->click();
        QVERIFY(vfd->isHidden());
        QWidget *table = b.forms.existing(QStringLiteral("toshiba_Super2E"));
        if (FETCHED(bool, table)) {
            QVERIFY(table->isVisible());
            QVERIFY(!b.mainForm()->isEnabled());
            b.button("toshiba_Super2E", "Command1")->click();
            QVERIFY(table->isHidden());
        } else {
            QVERIFY(!table || table->isHidden());
        }
        QVERIFY(mainIsBack(b));
        // Accept keeps the dialog and what it shows.
        QVERIFY(b.forms.isLoaded(QStringLiteral("toshiba_VFD")));
    }

    // "Cancel Changes" undoes them, in the record, the summary and the next opening.
    void toshibaCancel()
    {
        GuiBench b;
        b.chooseModel(QString::fromLatin1("QN4000-EPV4"));
        open(b, "cmdToshibaParam", "toshiba_VFD");
        const ConfigRecord before = b.session.rec;
        for (const char *o : {"optSuper2E", "optStopCoast", "opt422"})
            b.button("toshiba_VFD", o)->click();
        b.control<QLineEdit>("toshiba_VFD", "txtDelay")->setText(QStringLiteral("300"));
        b.control<QLineEdit>("toshiba_VFD", "txtIntRetries")->setText(QStringLiteral("9"));
        b.button("toshiba_VFD", "Command2")->click();
        QVERIFY(mainIsBack(b));
        QVERIFY(!b.forms.isLoaded(QStringLiteral("toshiba_VFD")));
        QVERIFY(b.session.rec.ExtParam == before.ExtParam);
        QCOMPARE(int(b.session.rec.LinkOptions), int(before.LinkOptions));
        QCOMPARE(b.text("view", "txtSiemensProt1"), QStringLiteral("G2"));
        open(b, "cmdToshibaParam", "toshiba_VFD");
        for (const char *o : {"optG2", "optNoNet", "opt485"})
            QVERIFY2(b.button("toshiba_VFD", o)->isChecked(), o);
        QCOMPARE(b.text("toshiba_VFD", "txtDelay"), QStringLiteral("0"));
        QCOMPARE(b.text("toshiba_VFD", "txtIntRetries"), QStringLiteral("1"));
        // The close box keeps the choices, as accept does.
        b.button("toshiba_VFD", "optG3")->click();
        QVERIFY(b.forms.existing(QStringLiteral("toshiba_VFD"))->close());
        QVERIFY(mainIsBack(b));
        QCOMPARE(int(b.session.rec.ExtParam[3]), 1);
    }

    // A file saved from the dialogs opens into them again, also where the user had moved to
    // another mode (whose layout wrote over the drive fields) before opening it.
    void fileGivesTheDialogsBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("clicks"); // dialog:option or dialog:box=text
        QTest::addColumn<QStringList>("shows");  // dialog:*option or dialog:box=text
        QTest::newRow("Siemens") << "QN4000-WOLTA"
                                 << QStringList{"siemens_param:opt42ms", "siemens_param:optDUST6B",
                                                "siemens_param:opt422", "siemens_param:optYesPM"}
                                 << QStringList{"siemens_param:*opt42ms", "siemens_param:*optDUST6B",
                                                "siemens_param:*opt422", "siemens_param:*optYesPM"};
        QTest::newRow("Modbus") << "QN4000-LBW"
                                << QStringList{"modbus_prot:optMaster", "modbus_prot:Option14",
                                               "modbus_prot:optSlave", "modbus_prot:Option11",
                                               "modbus_prot:txtWord6=4711"}
                                << QStringList{"modbus_prot:*optSlave", "modbus_prot:*Option11",
                                               "modbus_prot:txtWord6=4711"};
        QTest::newRow("scan files") << "QN4000-QOF" << QStringList{"VR58_DataTable:txtYYY=300"}
                                    << QStringList{"VR58_DataTable:txtYYY=300", "VR58_DataTable:txtXXX=0"};
    }
    void fileGivesTheDialogsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("d.QNC"));
        GuiBench b;
        b.chooseModel(QString::fromLatin1(qPrintable(FETCHED(QString, model))));
        CrossForm r(b.forms);
        const auto part = [](const QString &step, int n) {
            return step.section(QLatin1Char(':'), 1).section(QLatin1Char('='), n, n);
        };
        for (const QString &c : FETCHED(QStringList, clicks)) {
            const QString form = c.section(QLatin1Char(':'), 0, 0);
            if (c.contains(QLatin1Char('=')))
                r.control<QLineEdit>(form, part(c, 0))->setText(part(c, 1));
            else
                r.control<QAbstractButton>(form, part(c, 0))->click();
        }
        QByteArray sent = BuildConfigMessage(b.session.rec).bytes;
        // A channel C speed of 0 comes back as 9600: the file cannot tell them apart.
        if (sent.at(7 + 30) == 0) {
            sent[7 + 30] = 8;
            sent.chop(2);
            sent += MessageChecksum(sent.mid(7));
        }
        b.prompts.answerSave(path);
        b.mainForm()->action(QStringLiteral("save_file"))->trigger();
        b.button("main4000", "optKF2NGD")->click();
        b.prompts.answerOpen(path);
        b.mainForm()->action(QStringLiteral("open_file"))->trigger();
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QCOMPARE(BuildConfigMessage(b.session.rec).bytes.toHex(' '), sent.toHex(' '));
        for (const QString &e : FETCHED(QStringList, shows)) {
            const QString form = e.section(QLatin1Char(':'), 0, 0);
            if (part(e, 0).startsWith(QLatin1Char('*')))
                QVERIFY2(r.control<QAbstractButton>(form, part(e, 0).mid(1))->isChecked(), qPrintable(e));
            else
                QCOMPARE(r.text(form, part(e, 0)), part(e, 1));
        }
    }

    // Every accept gives the main form back, and the dialog keeps its state for the next use.
    void acceptsGiveMainBack_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("accept");
        QTest::newRow("Modbus") << "QN6000-LBW"
                                << "cmdModBus"
                                << "modbus_prot"
                                << "Command2";
        QTest::newRow("Siemens") << "QN4000-WOLTA"
                                 << "cmdSiemensParam"
                                 << "siemens_param"
                                 << "cmdAccept";
        QTest::newRow("data table") << "QN6000-YZE"
                                    << "cmdYZE"
                                    << "YZE_DataTable"
                                    << "cmdAccept";
        QTest::newRow("RW31 data table") << "QN4000-RW31"
                                         << "cmdYZE"
                                         << "YZE_DataTable"
                                         << "cmdAccept";
        QTest::newRow("VR58 data table") << "QN4000-QOF"
                                         << "cmdYZE"
                                         << "VR58_DataTable"
                                         << "cmdAccept";
        QTest::newRow("rack map") << "QN6000-UCT"
                                  << "cmdRioBt"
                                  << "rio_bt"
                                  << "cmdAccept";
        QTest::newRow("Toshiba") << "QN4000-EPV4"
                                 << "cmdToshibaParam"
                                 << "toshiba_VFD"
                                 << "Command1";
    }
    void acceptsGiveMainBack()
    {
        QFETCH(QString, dialog);
        GuiBench b;
        b.chooseModel(QString::fromLatin1(qPrintable(FETCHED(QString, model))));
        QWidget *d = open(b, qPrintable(FETCHED(QString, opener)), qPrintable(dialog));
        CrossForm(b.forms).control<QAbstractButton>(dialog, FETCHED(QString, accept))->click();
        QVERIFY(d->isHidden());
        QVERIFY(mainIsBack(b));
        QCOMPARE(b.forms.existing(dialog), d);
    }
};

QTEST_MAIN(TestProtocolDialogs)
#include "tst_protocoldialogs.moc"
