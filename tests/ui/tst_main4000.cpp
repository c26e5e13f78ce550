// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "editor/main4000.h"
#include "frame/formutil.h"
#include "shell/model_freestand.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "support/crossform.h"
#include "support/formstate.h"
#include "support/guibench.h"
#include "support/testdata.h"

namespace {

const QString Main = QStringLiteral("main4000");

// The model the layouts lay out for, as a model's choice leaves it (without its set-up).
void setModel(GuiBench &b, const QString &code)
{
    if (code.isEmpty())
        return;
    b.session.model = findModel(code);
}

// Checks one expectation written as
//   +form:name   shown           -form:name   hidden
//   *form:name   selected        !form:name   disabled
//   form:name=text               shows that text
//   form:name@twips              its top (a window: its height)
//   form:name<twips              its left
//   #form:name=n                 a list of n items
// The form defaults to main4000.
void expect(GuiBench &b, QString e)
{
    const QChar kind = e.front();
    if (QStringLiteral("+-*!#").contains(kind))
        e.remove(0, 1);
    QString value;
    QChar op;
    for (const QChar sep : {QLatin1Char('='), QLatin1Char('@'), QLatin1Char('<')}) {
        const qsizetype at = e.indexOf(sep);
        if (at > 0) {
            value = e.mid(at + 1);
            e.truncate(at);
            op = sep;
            break;
        }
    }
    const qsizetype colon = e.indexOf(QLatin1Char(':'));
    const QString form = colon > 0 ? e.left(colon) : Main;
    const QString name = colon > 0 ? e.mid(colon + 1) : e;
    CrossForm remote(b.forms);
    if (form == QLatin1String("view"))
        openedSummary(b.forms);
    QWidget *w = remote.widget(form, name);
    const QByteArray what = (form + QLatin1Char(':') + name).toLatin1();
    QVERIFY2(w, what + " does not exist");
    if (kind == QLatin1Char('+'))
        QVERIFY2(!w->isHidden(), what + " should be shown");
    else if (kind == QLatin1Char('-'))
        QVERIFY2(w->isHidden(), what + " should be hidden");
    else if (kind == QLatin1Char('*'))
        QVERIFY2(qobject_cast<QAbstractButton *>(w)->isChecked(), what + " should be selected");
    else if (kind == QLatin1Char('!'))
        QVERIFY2(!w->isEnabledTo(w->parentWidget()) || (w->isWindow() && !w->isEnabled()),
                 what + " should be disabled");
    else if (kind == QLatin1Char('#'))
        QCOMPARE(qobject_cast<QComboBox *>(w)->count(), value.toInt());
    else if (op == QLatin1Char('@'))
        QCOMPARE(w->isWindow() ? w->height() : w->y(), twips(value.toInt()));
    else if (op == QLatin1Char('<'))
        QCOMPARE(w->x(), twips(value.toInt()));
    else
        QCOMPARE(remote.text(form, name), value);
}

// The record fields the layouts own, as text.
QMap<QString, QString> layoutFields(const ConfigRecord &r)
{
    const auto n = [](int v) { return QString::number(v); };
    const auto pair = [&](const CharPair &p) { return n(p[0]) + QLatin1Char(',') + n(p[1]); };
    return {
        {"ProtocolMode", n(r.ProtocolMode)},
        {"StationNumber", n(r.StationNumber)},
        {"HighAddress", n(r.HighAddress)},
        {"NetworkSpeed", pair(r.NetworkSpeed)},
        {"BusType", pair(r.BusType)},
        {"ChanCSpeed", n(r.ChanCSpeed)},
        {"ChanCFormat", n(r.ChanCFormat)},
        {"AuxByte1", QString::fromLatin1(r.AuxByte1.text())},
        {"AuxByte2", QString::fromLatin1(r.AuxByte2.text())},
        {"AuxByte3", n(r.AuxByte3)},
        {"AuxByte4", n(r.AuxByte4)},
    };
}

// The fields the value lists shown on the main form stand for, as layoutFields() gives them.
QMap<QString, QString> shownListFields(GuiBench &b)
{
    QMap<QString, QString> f;
    QWidget *form = b.forms.form(QStringLiteral("main4000"));
    const auto shown = [&](const char *name) -> QString {
        auto *c = form->findChild<QComboBox *>(QLatin1String(name));
        return c && c->isVisibleTo(form) ? c->currentText() : QString();
    };
    const auto octal = [](const QString &t) { return QString::number(t.toInt(nullptr, 8)); };
    if (const QString t = shown("cboStationNumber"); !t.isEmpty())
        f["StationNumber"] = octal(t);
    if (const QString t = shown("cboRackNum"); !t.isEmpty())
        f["StationNumber"] = octal(t);
    if (const QString t = shown("cboModbusAdd"); !t.isEmpty())
        f["StationNumber"] = t;
    if (const QString t = shown("cboHighAddress"); !t.isEmpty())
        f["HighAddress"] = octal(t);
    if (const QString t = shown("cboRackRange"); !t.isEmpty())
        f["HighAddress"] = t;
    if (const QString t = shown("cboRackSize"); !t.isEmpty())
        f["AuxByte3"] = QString::number(QStringList{"1/4", "1/2", "FULL"}.indexOf(t));
    const QMap<QString, QString> network = {{"57.6", "8,0"}, {"115.2", "9,0"}, {"230.4", "10,0"}};
    for (const char *n : {"cboNetworkSpeed", "cboNetworkSpeed2"}) {
        if (const QString t = shown(n); !t.isEmpty())
            f["NetworkSpeed"] = network.value(t);
    }
    if (const QString t = shown("cboSLAVE1"); !t.isEmpty())
        f["AuxByte3"] = t;
    if (const QString t = shown("cboSlave2"); !t.isEmpty())
        f["AuxByte4"] = t;
    return f;
}

// Values no layout writes, so that a field a layout leaves alone is seen to keep its value.
void fillSentinels(ConfigRecord &r)
{
    r.ProtocolMode = 77;
    r.StationNumber = 66;
    r.HighAddress = 55;
    r.NetworkSpeed = {44, 0};
    r.BusType = {33, 0};
    r.ChanCSpeed = 22;
    r.ChanCFormat = 32; // a bit the channel C defaults never touch
    r.AuxByte1.set("99");
    r.AuxByte2.set("98");
    r.AuxByte3 = 97;
    r.AuxByte4 = 96;
}

void click(GuiBench &b, const char *name)
{
    QAbstractButton *o = b.button("main4000", name);
    QVERIFY2(o, name);
    o->click();
}

QWidget *whoActiveButton(GuiBench &b)
{
    return b.control<QWidget>("Welcome1", "cmdOnline");
}

QComboBox *list(GuiBench &b, const char *name)
{
    return b.combo("main4000", name);
}

// Picks a list item as the user does, adding it first when the set-up would have.
void pickItem(QComboBox *c, const QString &text)
{
    if (c->findText(text) < 0)
        c->addItem(text);
    QVERIFY(selectText(c, text));
}

// No two controls shown side by side in one container cover each other.
void noOverlaps(QWidget *form)
{
    const auto containers = form->findChildren<QWidget *>() << form;
    for (QWidget *c : containers) {
        if (!c->isVisibleTo(form) && c != form)
            continue;
        QList<QWidget *> shown;
        for (QObject *o : c->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w && !w->isWindow() && !w->isHidden() && !w->objectName().isEmpty())
                shown << w;
        }
        for (qsizetype i = 0; i < shown.size(); ++i) {
            for (qsizetype j = i + 1; j < shown.size(); ++j) {
                const QRect overlap = shown[i]->geometry() & shown[j]->geometry();
                QVERIFY2(overlap.isEmpty(), qPrintable(shown[i]->objectName() + QStringLiteral(" covers ") +
                                                       shown[j]->objectName()));
            }
        }
    }
}

} // namespace

class TestMain4000 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designedLists()
    {
        GuiBench b;
        QComboBox *station = list(b, "cboStationNumber");
        QCOMPARE(station->count(), 64);
        QCOMPARE(station->itemText(8), QStringLiteral("10"));
        QCOMPARE(station->itemText(63), QStringLiteral("77"));
        QCOMPARE(list(b, "cboHighAddress")->count(), 64);
        QComboBox *rack = list(b, "cboRackNum");
        QCOMPARE(rack->count(), 23);
        QCOMPARE(rack->itemText(7), QStringLiteral("10"));
        QCOMPARE(rack->itemText(22), QStringLiteral("27"));
        QCOMPARE(list(b, "cboAsyncSpeed")->count(), 7);
        QCOMPARE(list(b, "cboAsyncSpeedC")->count(), 8);
        QCOMPARE(list(b, "cboChannelCSpeed")->itemText(7), QStringLiteral("38.4"));
        QCOMPARE(list(b, "cboNetworkSpeed2")->count(), 3);
        QCOMPARE(list(b, "cboModbusAdd")->count(), 0);
        QVERIFY(list(b, "cboStationNumber")->isEditable());

        QMenu *menu = b.mainForm()->fileMenu();
        QCOMPARE(menu->objectName(), QStringLiteral("file_menu"));
        QStringList names;
        for (QAction *a : menu->actions())
            names << a->objectName();
        QCOMPARE(names, QStringList({"save_file", "open_file", "bar1", "restore_configuration", "bar2",
                                     "help_manual"}));
        QVERIFY(b.mainForm()->action(QStringLiteral("bar1"))->isSeparator());
        QVERIFY(!b.mainForm()->action(QStringLiteral("no_such_item")));
    }

    void layouts_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("captions"); // frmNetProt, frmBusProt, frmProtParam, Label1, Command3,
                                                   // channel B dialog title
        QTest::addColumn<QStringList>("fields");   // the presets; every other layout field keeps its value
        QTest::addColumn<bool>("whoActive");
        QTest::addColumn<QStringList>("checks");

        const QStringList standard{"optKF2NGD"};
        const QStringList stdCaptions{"AB DH+ NETWORK PARAMETERS",
                                      "DF1 SERIAL COMMUNICATION PROTOCOL",
                                      "ADVANCED DF1 PROTOCOL PARAMETERS",
                                      "CHANNEL SERIAL SPEED",
                                      "SET/CHANGE CHANNEL SERIAL PARAMETERS",
                                      "DF1 CHAN. SERIAL PARAMETERS"};
        const auto captions = [&](std::initializer_list<const char *> changed) {
            QStringList c = stdCaptions;
            int i = 0;
            for (const char *t : changed) {
                if (t)
                    c[i] = QLatin1String(t);
                ++i;
            }
            return c;
        };

        // From a state other layouts left behind, the standard layout puts everything back.
        QTest::newRow("standard") << "QN4000-NGD" << QStringList{"optEPV4", "optF7H"} << "optKF2NGD"
                                  << stdCaptions
                                  << QStringList{"ChanCSpeed=0",  "ChanCFormat=0", "ProtocolMode=0",
                                                 "HighAddress=0", "BusType=0,0",   "AuxByte4=0",
                                                 "AuxByte3=0",    "AuxByte2=0",    "AuxByte1=0"}
                                  << true
                                  << QStringList{"+lblStnNum",
                                                 "+cboStationNumber",
                                                 "+cboNetworkSpeed",
                                                 "+cmdProtParam",
                                                 "+frmProtParam",
                                                 "-lblHighAddress",
                                                 "-cboHighAddress",
                                                 "-lblOctal",
                                                 "-txtF7H",
                                                 "-lblF7H",
                                                 "-cboAsyncSpeedC",
                                                 "-cmdAsyncC",
                                                 "-optSiemensDH",
                                                 "-optSiemensRIO",
                                                 "-optSType",
                                                 "-cmdToshibaParam",
                                                 "-cboRackSize",
                                                 "-cboNetworkSpeed2",
                                                 "-cboModbusAdd",
                                                 "-frmZumbach",
                                                 "cboStationNumber@1200",
                                                 "lblKbaud@1200",
                                                 "*optSiemensDH",
                                                 "view:txtProtocola=DH+",
                                                 "+view:txtStationNum",
                                                 "-view:frmChannelC",
                                                 "-view:txtSiemensProt1",
                                                 "-view:txtHighAddress",
                                                 "-df_Param:lblKF2",
                                                 "+df_Param:frmConfig",
                                                 "df_Param:df_Param=DF1 ADVANCED PARAMETERS",
                                                 "df_Param:frmConfig=DF1 CHANNEL CONFIGURATION"};
        QTest::newRow("bridging") << "QN4000-NGD" << standard << "optNGD" << stdCaptions
                                  << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "ProtocolMode=0",
                                                 "HighAddress=1", "BusType=1,0"}
                                  << false
                                  << QStringList{"+cboStationNumber",   "cboStationNumber@840",
                                                 "+cboHighAddress",     "+lblOctal",
                                                 "cboHighAddress@1200", "lblHighAddress=HIGH ADDRESS",
                                                 "-cboRackNum",         "!cboRackSize",
                                                 "+view:txtHighAddress"};
        QTest::newRow("multidrop master")
            << "QN4000-PXA" << standard << "optPXA" << stdCaptions
            << QStringList{"ProtocolMode=0", "HighAddress=1", "BusType=1,0"} << false
            << QStringList{"+cboStationNumber",    "+cboHighAddress",  "cboHighAddress=1",
                           "+view:txtHighAddress", "+df_Param:frmPXA", "df_Param:frmPXA@2880",
                           "-df_Param:frmConfig",  "+df_Param:frmSTN", "*df_Param:opt422",
                           "*df_Param:optDST"};
        QTest::newRow("dual DF1")
            << "QN4000-F7H" << standard << "optF7H"
            << captions({nullptr, nullptr, "BOTH DF1 CHANNELS ADVANCED DF1 PROTOCOL PARAMETERS",
                         "1ST CHAN. SERIAL SPEED", "SET/CHANGE 1ST CHAN. SERIAL PARAMETERS",
                         "1ST DF1 CHAN. SERIAL PARAMETERS"})
            << QStringList{"ChanCSpeed=8", "ProtocolMode=0", "HighAddress=0", "BusType=2,0"} << true
            << QStringList{"+cboAsyncSpeedC",
                           "cboAsyncSpeedC=9600",
                           "lblKbaudC=Baud",
                           "lblAsyncC=2ND CHAN. SERIAL SPEED",
                           "+cmdAsyncC",
                           "cmdAsyncC=SET/CHANGE 2ND CHAN. SERIAL PARAMETERS",
                           "+txtF7H",
                           "txtF7H@1440",
                           "+lblOctal",
                           "lblOctal@1440",
                           "cboStationNumber@1080",
                           "cboNetworkSpeed@1080",
                           "-cboHighAddress",
                           "-cboRackNum",
                           "+view:frmChannelC",
                           "+view:txtAsyncC",
                           "+df_Param:lblKF2",
                           "df_Param:df_Param= BOTH DF1 CHAN. ADVANCED PARAMETERS",
                           "df_Param:frmConfig=1ST CHANNEL CONFIGURATION",
                           "paramConfigC:paramConfigC=2ND DF1 CHAN. SERIAL PARAMETERS",
                           "!paramConfigC:Frame2",
                           "!paramConfigC:optIgnore",
                           "!paramConfigC:optActive"};
        QTest::newRow("RIO adapter")
            << "QN4000-UCT" << standard << "optUCT" << captions({"AB RIO NETWORK PARAMETERS"})
            << QStringList{"ChanCSpeed=0", "ChanCFormat=0",    "ProtocolMode=1", "HighAddress=1",
                           "BusType=4,0",  "NetworkSpeed=8,0", "StationNumber=1"}
            << false << QStringList{"+cboRackNum",         "cboRackNum@840",        "cboRackNum=1",
                                    "+lblOctal1",          "-cboStationNumber",     "-lblStnNum",
                                    "-cboNetworkSpeed",    "+cboNetworkSpeed2",     "cboNetworkSpeed2=57.6",
                                    "+cboRackSize",        "cboRackSize@1200",      "cboRackSize=FULL",
                                    "+cboRackRange",       "cboRackRange=1",        "+cmdRioBt",
                                    "+frmProtParam",       "-frmRackSize",          "view:txtProtocola=RIO",
                                    "view:txtRackNum=1",   "view:txtRackSize=FULL", "view:txtNetSpeed=57.6",
                                    "-view:txtStationNum", "+view:txtRackNum",      "+view:txtRackRange",
                                    "-df_Param:lblKF2"};
        QTest::newRow("RIO to Modbus")
            << "QN6000-XAJ" << standard << "optUCT"
            << captions({"AB RIO NETWORK PARAMETERS", "MODBUS SERIAL COMMUNICATION PROTOCOL", nullptr,
                         "MODBUS SERIAL SPEED", "SET/CHANGE MODBUS SERIAL PARAMETERS",
                         "MODBUS ASYNC PARAMETERS"})
            << QStringList{"ChanCSpeed=0",     "ChanCFormat=0",   "ProtocolMode=1", "BusType=1,0",
                           "NetworkSpeed=8,0", "StationNumber=1", "AuxByte3=1",     "AuxByte4=2",
                           "AuxByte1=1",       "AuxByte2=0"}
            << false
            << QStringList{"main4000:main4000@5450",
                           "cmdNext@4560",
                           "cmdCONFIG@4560",
                           "cmdRETURN@4560",
                           "cboRackNum@240",
                           "cboNetworkSpeed2@240",
                           "+frmRackSize",
                           "frmRackSize@840",
                           "+frmSG",
                           "frmSG@840",
                           "*optQuarter",
                           "*optSG0",
                           "+frmNumSlaves",
                           "frmNumSlaves@860",
                           "*opt1Slave",
                           "-opt2Slave",
                           "+cboSLAVE1",
                           "cboSLAVE1@800",
                           "-cboSlave2",
                           "cboSlave2@1180",
                           "#cboSLAVE1=247",
                           "#cboSlave2=247",
                           "cboSLAVE1=1",
                           "cboSlave2=2",
                           "-frmProtParam",
                           "-cmdRioBt",
                           "-cboRackSize"};
        QTest::newRow("ASCII") << "QN4000-TBQ" << standard << "optTBQ"
                               << captions({nullptr, "ASCII COMMUNICATION PROTOCOL", nullptr,
                                            "ASCII ASYNC SPEED", "SET/CHANGE ASCII ASYNC PARAMETERS",
                                            "ASCII ASYNC PARAMETERS"})
                               << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "ProtocolMode=0",
                                              "HighAddress=0", "BusType=1,0"}
                               << false << QStringList{"+cboStationNumber", "-cboHighAddress", "-cmdYZE",
                                                       "-frmProtParam",     "-frmZumbach",     "-cboRackNum"};
        QTest::newRow("ASCII, Centerscan")
            << "QN4000-HNV" << standard << "optTBQ"
            << captions({nullptr, "ASCII COMMUNICATION PROTOCOL", nullptr, "ASCII ASYNC SPEED",
                         "SET/CHANGE ASCII ASYNC PARAMETERS", "ASCII ASYNC PARAMETERS"})
            << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "ProtocolMode=0", "HighAddress=0", "BusType=1,0"}
            << false << QStringList{"-cboHighAddress", "-cmdYZE", "+frmBusProt"};
        QTest::newRow("ASCII, Zumbach")
            << "QN4000-QOF" << standard << "optTBQ"
            << captions({nullptr, "ZUMBACH COMMUNICATION PROTOCOL", nullptr, "ZUMBAHC ASYNC SPEED",
                         "SET/CHANGE ZUMBACH ASYNC PARAMETERS", "ZUMBACH ASYNC PARAMETERS"})
            << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "ProtocolMode=0", "HighAddress=0", "BusType=1,0"}
            << false << QStringList{"+frmZumbach",
                                    "frmZumbach@730",
                                    "optTBQ=DH+ to Zumbach",
                                    "cboStationNumber@840",
                                    "+cboHighAddress",
                                    "cboHighAddress@1200",
                                    "lblHighAddress=PLC ADDRESS",
                                    "+cmdYZE",
                                    "-frmProtParam",
                                    "+view:txtHighAddress",
                                    "view:txtHighAddress1=PLC ADDRESS"};
        QTest::newRow("ASCII, Eaton drives")
            << "QN4000-RW31" << standard << "optTBQ"
            << captions({nullptr, "ASCII COMMUNICATION PROTOCOL", nullptr, "ASCII ASYNC SPEED",
                         "SET/CHANGE ASCII ASYNC PARAMETERS", "ASCII ASYNC PARAMETERS"})
            << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "ProtocolMode=0", "HighAddress=0", "BusType=1,0"}
            << false
            << QStringList{"-frmBusProt", "-view:frmChannelB", "+cmdYZE", "+cboHighAddress", "-frmZumbach"};
        QTest::newRow("Brabender")
            << "QN4000-JMR" << standard << "optJMR"
            << captions({nullptr, "BRABENDER EQUIPMENT COMMUNICATION PROTOCOL",
                         "BRABENDER EQUIPMENT SELECTION", nullptr, "SET/CHANGE PROTOCOL PARAMETERS",
                         "BRABENDER PROTOCOL PARAMETERS"})
            << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "HighAddress=0", "BusType=1,0",
                           "AuxByte1=0",   "AuxByte2=0",    "AuxByte3=0",    "ProtocolMode=0"}
            << false << QStringList{"+optSiemensDH", "+optSiemensMOD", "-optSiemensRIO", "*optSiemensDH",
                                    "*optSType",     "+optSType",      "+optSAType",     "optSType@240",
                                    "optSAType@240", "-cmdProtParam",  "+frmProtParam",  "+view:txtJMR1",
                                    "view:txtJMR1=S"};
        QTest::newRow("Modbus") << "QN4000-LBW" << standard << "optLBW"
                                << captions({nullptr, "MODBUS RTU COMMUNICATION PROTOCOL",
                                             "ADVANCED MODBUS RTU PARAMETERS", "MODBUS ASYNC SPEED",
                                             "SET/CHANGE MODBUS ASYNC PARAMETERS", "MODBUS ASYNC PARAMETERS"})
                                << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "ProtocolMode=0",
                                               "HighAddress=0", "BusType=1,0"}
                                << false
                                << QStringList{"+cmdModBus",      "-cmdProtParam", "+cboStationNumber",
                                               "-cboHighAddress", "-lblOctal",     "-cmdAsyncC",
                                               "-cboRackNum"};
        QTest::newRow("Toshiba") << "QN4000-EPV4" << standard << "optEPV4"
                                 << captions({"MODBUS PROTOCOL PARAMETERS",
                                              "TOSHIBA VFD COMMUNICATION PROTOCOL", nullptr,
                                              "VFD ASYNC SPEED", "SET/CHANGE VFD ASYNC PARAMETERS",
                                              "TOSHIBA VFD ASYNC PARAMETERS"})
                                 << QStringList{"ChanCSpeed=0",  "ChanCFormat=0", "HighAddress=0",
                                                "BusType=1,0",   "AuxByte1=0",    "AuxByte2=0",
                                                "ProtocolMode=0"}
                                 << false
                                 << QStringList{"+optSiemensDH",
                                                "+optSiemensRIO",
                                                "+optSiemensMOD",
                                                "*optSiemensDH",
                                                "+cmdToshibaParam",
                                                "-frmProtParam",
                                                "-cboRackSize",
                                                "cboRackSize=FULL",
                                                "#cboRackSize=3",
                                                "+view:txtSiemensProt1",
                                                "view:txtSiemensProt=TOSHIBA PROTOCOL",
                                                "view:txtSiemensProt1=G2"};
        QTest::newRow("Siemens")
            << "QN4000-WOLTA" << standard << "optWOLTA"
            << captions({"MODBUS PROTOCOL PARAMETERS", "SIEMENS DRIVE COMMUNICATION PROTOCOL", nullptr,
                         "DRIVE ASYNC SPEED", "SET/CHANGE DRIVE ASYNC PARAMETERS",
                         "SIEMENS DRIVE ASYNC PARAMETERS"})
            << QStringList{"ChanCSpeed=0", "ChanCFormat=0", "HighAddress=0", "BusType=1,0",
                           "AuxByte1=20",  "AuxByte2=0",    "AuxByte3=2",    "ProtocolMode=0"}
            << false << QStringList{"+optSiemensRIO",       "*optSiemensDH",  "+cmdSiemensParam",
                                    "-cmdToshibaParam",     "-frmProtParam",  "-cboRackSize",
                                    "cboRackSize=FULL",     "#cboRackSize=3", "view:txtRackSize=FULL",
                                    "+view:txtSiemensProt1"};
    }

    void layouts()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, before);
        QFETCH(QString, option);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, fields);
        QFETCH(bool, whoActive);
        QFETCH(QStringList, checks);

        GuiBench b;
        setModel(b, model);
        for (const QString &o : before) {
            select(b.button("main4000", o.toLatin1()));
            deselect(b.button("main4000", o.toLatin1()));
        }
        fillSentinels(b.session.rec);
        b.session.PortTestedGood = true;

        click(b, option.toLatin1());

        const char *const captioned[] = {"frmNetProt", "frmBusProt", "frmProtParam", "Label1", "Command3"};
        for (int i = 0; i < 5; ++i)
            expect(b, QLatin1String(captioned[i]) + QLatin1Char('=') + captions[i]);
        expect(b, QStringLiteral("paramConfigB:paramConfigB=") + captions[5]);

        QMap<QString, QString> want = layoutFields([] {
            ConfigRecord r;
            fillSentinels(r);
            return r;
        }());
        // A list the layout leaves showing writes what it shows; the presets then hold on top.
        want.insert(shownListFields(b));
        for (const QString &f : fields)
            want[f.section(QLatin1Char('='), 0, 0)] = f.section(QLatin1Char('='), 1);
        QCOMPARE(layoutFields(b.session.rec), want);

        QCOMPARE(whoActiveButton(b)->isEnabledTo(whoActiveButton(b)->parentWidget()), whoActive);
        for (const QString &c : checks)
            expect(b, c);
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    void standardAfterRioAdapter()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-UCT"));
        QCOMPARE(b.session.rec.BusType, (CharPair{4, 0}));
        expect(b, QStringLiteral("+cboRackNum"));

        click(b, "optKF2NGD");
        QCOMPARE(b.session.rec.BusType, (CharPair{0, 0}));
        QCOMPARE(b.session.rec.ProtocolMode, quint8(0));
        for (const char *c :
             {"+lblStnNum", "+cboStationNumber", "+lblOctal1", "cboStationNumber@1200", "+cboNetworkSpeed",
              "-cboNetworkSpeed2", "-lblRackNum", "-cboRackNum", "-lblRackSize", "-cboRackSize",
              "-lblRackRange", "-cboRackRange", "!cboRackSize", "!cboRackRange", "-cmdRioBt",
              "frmNetProt=AB DH+ NETWORK PARAMETERS", "view:txtProtocola=DH+", "+view:txtStationNum",
              "-view:txtRackNum"})
            expect(b, QLatin1String(c));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    // Every model, from its own mode to the standard one and back: nothing of one layout
    // stays in the other (the form's height, the bottom buttons, moved rows), and no two
    // controls shown cover each other.
    void modeSwitchesComeBackTheSame_data() { addModelRows(); }
    void modeSwitchesComeBackTheSame()
    {
        QFETCH(QString, model);
        GuiBench b;
        if (model == QLatin1String("QN4000-NGD"))
            b.prompts.answerMessage(Prompts::No);
        b.chooseModel(model);
        main4000 *m = b.mainForm();
        QAbstractButton *own = nullptr;
        for (auto *o : m->findChild<QWidget *>(QStringLiteral("frmMode"))->findChildren<QRadioButton *>()) {
            if (!o->isHidden() && o->objectName() != QLatin1String("optKF2NGD"))
                own = o;
        }
        QVERIFY(own);
        own->click(); // the model's own layout, where its set-up left the standard one (NGD)
        const QStringList first = formState(m, true);
        click(b, "optKF2NGD");
        QCOMPARE(m->height(), twips(6000));
        for (const char *c :
             {"cmdCONFIG@5140", "cmdNext@5140", "cmdRETURN@5140", "cmdEXIT@5140", "+cmdProtParam"})
            expect(b, QLatin1String(c));
        noOverlaps(m);
        own->click();
        QCOMPARE(formState(m, true), first);
        noOverlaps(m);
    }

    void toshibaTakesTheFileItemsAway()
    {
        GuiBench b;
        main4000 *m = b.mainForm();
        QAction *save = m->action(QStringLiteral("save_file"));
        QAction *open = m->action(QStringLiteral("open_file"));
        QAction *restore = m->action(QStringLiteral("restore_configuration"));
        setModel(b, QStringLiteral("QN4000-EPV4"));
        click(b, "optEPV4");
        QVERIFY(!save->isEnabled());
        QVERIFY(!open->isEnabled());
        QVERIFY(restore->isEnabled());
        click(b, "optKF2NGD");
        QVERIFY(save->isEnabled());
        QVERIFY(open->isEnabled());
    }

    void dualChannelSecondAddress_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("second");
        QTest::newRow("7") << "7"
                           << "10";
        QTest::newRow("0") << "0"
                           << "1";
        QTest::newRow("76") << "76"
                            << "77";
    }

    void dualChannelSecondAddress()
    {
        QFETCH(QString, station);
        QFETCH(QString, second);
        GuiBench b;
        setModel(b, QStringLiteral("QN4000-F7H"));
        click(b, "optKF2NGD");
        showText(list(b, "cboStationNumber"), station);
        click(b, "optF7H");
        QCOMPARE(b.text("main4000", "txtF7H"), second);
    }

    void networkSide_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("checks");

        QTest::newRow("DH+") << "QN4000-EPV4"
                             << "optSiemensDH" << QStringList{"ProtocolMode=0"}
                             << QStringList{"frmNetProt=AB DH+ NETWORK PARAMETERS",
                                            "+cboStationNumber",
                                            "cboStationNumber@1200",
                                            "+cboNetworkSpeed",
                                            "cboNetworkSpeed@1200",
                                            "-cboNetworkSpeed2",
                                            "-cboModbusAdd",
                                            "-cmdChannelC",
                                            "-cboRackNum",
                                            "-cboRackSize",
                                            "view:txtProtocola=AB - DH+",
                                            "+view:txtStationNum",
                                            "view:txtOctal1=Octal",
                                            "-view:frmChannelC"};
        QTest::newRow("RIO") << "QN4000-EPV4"
                             << "optSiemensRIO" << QStringList{"ProtocolMode=1", "NetworkSpeed=8,0"}
                             << QStringList{"frmNetProt=AB RIO NETWORK PARAMETERS",
                                            "+cboRackNum",
                                            "cboRackNum@840",
                                            "cboRackNum=1",
                                            "+cboNetworkSpeed2",
                                            "cboNetworkSpeed2@840",
                                            "cboNetworkSpeed2=57.6",
                                            "+cboRackSize",
                                            "-cmdChannelC",
                                            "-cboModbusAdd",
                                            "-cboStationNumber",
                                            "-lblRackSize",
                                            "view:txtProtocola=AB - RIO",
                                            "+view:txtRackNum",
                                            "+view:txtRackSize",
                                            "+view:txtNetSpeed",
                                            "-view:txtStationNum"};
        // The Siemens model lays the rack rows out label first, at the left edge.
        QTest::newRow("RIO, Siemens")
            << "QN4000-WOLTA"
            << "optSiemensRIO" << QStringList{"ProtocolMode=1", "NetworkSpeed=8,0"}
            << QStringList{"+cboRackNum",      "lblRackNum@840",       "cboRackNum@840",       "+lblRackSize",
                           "lblRackSize@1200", "lblRackSize<120",      "lblRackNum<120",       "+cboRackSize",
                           "cboRackSize@1200", "cboNetworkSpeed2@840", "cboNetworkSpeed2<5880"};
        QTest::newRow("Modbus") << "QN4000-EPV4"
                                << "optSiemensMOD"
                                << QStringList{"ProtocolMode=2", "ChanCSpeed=8", "StationNumber=1"}
                                << QStringList{"frmNetProt=MODBUS RTU NETWORK PARAMETERS",
                                               "+cboModbusAdd",
                                               "+cboChannelCSpeed",
                                               "cboChannelCSpeed=9600",
                                               "+cmdChannelC",
                                               "-cboStationNumber",
                                               "-cboRackNum",
                                               "-cboRackSize",
                                               "-cboNetworkSpeed",
                                               "-cboNetworkSpeed2",
                                               "view:txtProtocola=MODBUS RTU",
                                               "+view:txtStationNum",
                                               "view:txtOctal1=Decimal",
                                               "-view:txtNetSpeed",
                                               "+view:frmChannelC"};
    }

    void networkSide()
    {
        QFETCH(QString, model);
        QFETCH(QString, option);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, checks);

        GuiBench b;
        setModel(b, model);
        click(b, "optKF2NGD");
        click(b, model == QLatin1String("QN4000-WOLTA") ? "optWOLTA" : "optEPV4");
        if (option == QLatin1String("optSiemensDH"))
            click(b, "optSiemensRIO"); // so that choosing DH+ changes something
        fillSentinels(b.session.rec);
        click(b, option.toLatin1());

        QMap<QString, QString> want = layoutFields([] {
            ConfigRecord r;
            fillSentinels(r);
            return r;
        }());
        // A list the layout leaves showing writes what it shows; the presets then hold on top.
        want.insert(shownListFields(b));
        for (const QString &f : fields)
            want[f.section(QLatin1Char('='), 0, 0)] = f.section(QLatin1Char('='), 1);
        QCOMPARE(layoutFields(b.session.rec), want);
        for (const QString &c : checks)
            expect(b, c);
    }

    void siemensPlacementOnlyForItsModel()
    {
        GuiBench b;
        setModel(b, QStringLiteral("QN4000-EPV4"));
        click(b, "optKF2NGD");
        click(b, "optEPV4");
        const int designedLeft = list(b, "cboNetworkSpeed2")->x();
        click(b, "optSiemensRIO");
        QCOMPARE(list(b, "cboNetworkSpeed2")->x(), designedLeft);
        QVERIFY(b.control<QWidget>("main4000", "lblRackSize")->isHidden());

        setModel(b, QStringLiteral("QN4000-WOLTA"));
        click(b, "optSiemensDH");
        click(b, "optSiemensRIO");
        QCOMPARE(list(b, "cboNetworkSpeed2")->x(), twips(5880));
        QWidget *label = b.control<QWidget>("main4000", "lblRackSize");
        QCOMPARE(label->x(), twips(120));
        QVERIFY(list(b, "cboRackSize")->x() >= label->x() + label->width());
    }

    void stationNumber_data()
    {
        QTest::addColumn<QString>("station");
        QTest::addColumn<int>("busType");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("highAddress"); // empty: the high-address list is left alone

        QTest::newRow("77, standard") << "77" << 0 << 63 << "100"
                                      << "";
        QTest::newRow("27, dual DF1") << "27" << 2 << 23 << "30"
                                      << "";
        QTest::newRow("7, bridging") << "7" << 1 << 7 << "10"
                                     << "10";
        QTest::newRow("0, bridging") << "0" << 1 << 0 << "1"
                                     << "1";
        QTest::newRow("76, bridging") << "76" << 1 << 62 << "77"
                                      << "77";
        QTest::newRow("77, bridging, last item") << "77" << 1 << 63 << "100"
                                                 << "";
    }

    void stationNumber()
    {
        QFETCH(QString, station);
        QFETCH(int, busType);
        QFETCH(int, value);
        QFETCH(QString, second);
        QFETCH(QString, highAddress);

        GuiBench b;
        b.session.model = findModel(QStringLiteral("QN4000-NGD")); // the summary's layout
        ConfigRecord &rec = b.session.rec;
        rec.BusType = {quint8(busType), 0};
        rec.HighAddress = 200;
        QComboBox *high = list(b, "cboHighAddress");
        showText(high, QStringLiteral("2"));

        pickItem(list(b, "cboStationNumber"), station);
        QCOMPARE(int(rec.StationNumber), value);
        QCOMPARE(b.text("view", "txtStationNum"), station);
        QCOMPARE(b.text("main4000", "txtF7H"), second);
        if (highAddress.isEmpty()) {
            QCOMPARE(high->currentText(), QStringLiteral("2"));
            QCOMPARE(int(rec.HighAddress), 200);
        } else {
            QCOMPARE(high->currentText(), highAddress);
            QCOMPARE(int(rec.HighAddress), value + 1);
            QCOMPARE(b.text("view", "txtHighAddress"), highAddress);
        }
    }

    void lists_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");

        QTest::newRow("high address 17") << "cboHighAddress"
                                         << "17"
                                         << "HighAddress"
                                         << "15";
        QTest::newRow("Modbus address 247") << "cboModbusAdd"
                                            << "247"
                                            << "StationNumber"
                                            << "247";
        QTest::newRow("rack 27") << "cboRackNum"
                                 << "27"
                                 << "StationNumber"
                                 << "23";
        QTest::newRow("rack range 7") << "cboRackRange"
                                      << "7"
                                      << "HighAddress"
                                      << "7";
        QTest::newRow("quarter rack") << "cboRackSize"
                                      << "1/4"
                                      << "AuxByte3"
                                      << "0";
        QTest::newRow("half rack") << "cboRackSize"
                                   << "1/2"
                                   << "AuxByte3"
                                   << "1";
        QTest::newRow("full rack") << "cboRackSize"
                                   << "FULL"
                                   << "AuxByte3"
                                   << "2";
        QTest::newRow("network 115.2") << "cboNetworkSpeed"
                                       << "115.2"
                                       << "NetworkSpeed"
                                       << "9,0";
        QTest::newRow("network 57.6") << "cboNetworkSpeed"
                                      << "57.6"
                                      << "NetworkSpeed"
                                      << "8,0";
        QTest::newRow("RIO network 230.4") << "cboNetworkSpeed2"
                                           << "230.4"
                                           << "NetworkSpeed"
                                           << "10,0";
        QTest::newRow("first slave 17") << "cboSLAVE1"
                                        << "17"
                                        << "AuxByte3"
                                        << "17";
        QTest::newRow("second slave 200") << "cboSlave2"
                                          << "200"
                                          << "AuxByte4"
                                          << "200";
    }

    void lists()
    {
        QFETCH(QString, combo);
        QFETCH(QString, item);
        QFETCH(QString, field);
        QFETCH(QString, value);

        GuiBench b;
        fillSentinels(b.session.rec);
        QMap<QString, QString> want = layoutFields(b.session.rec);
        want[field] = value;
        pickItem(list(b, combo.toLatin1()), item);
        QCOMPARE(layoutFields(b.session.rec), want);
    }

    void rackSizeShowsTheBusFrame()
    {
        GuiBench b;
        setModel(b, QStringLiteral("QN4000-RW31"));
        click(b, "optTBQ");
        expect(b, QStringLiteral("-frmBusProt"));
        pickItem(list(b, "cboRackSize"), QStringLiteral("FULL"));
        expect(b, QStringLiteral("+frmBusProt"));
    }

    void channelSpeeds_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("units");

        // The codes restated from the converter's table, not taken from the code under test.
        const QList<std::pair<const char *, int>> speeds = {
            {"300", 3},    {"600", 4},    {"1200", 5},   {"2400", 6},  {"4800", 7},
            {"9600", 8},   {"19.2", 9},   {"38.4", 10},  {"57.6", 11}, {"115.2", 12},
            {"230.4", 13}, {"187.5", 16}, {"125.0", 17}, {"93.75", 18}};
        for (const auto &[text, code] : speeds) {
            const QString units = code <= 8 ? QStringLiteral("Baud") : QStringLiteral("Kbaud");
            QTest::addRow("B %s", text) << "cboAsyncSpeed" << text << code << units;
        }
        QTest::newRow("C 600") << "cboAsyncSpeedC"
                               << "600" << 4 << "Baud";
        QTest::newRow("C 38.4") << "cboAsyncSpeedC"
                                << "38.4" << 10 << "Kbaud";
        QTest::newRow("Modbus 9600") << "cboChannelCSpeed"
                                     << "9600" << 8 << "Baud";
        QTest::newRow("Modbus 19.2") << "cboChannelCSpeed"
                                     << "19.2" << 9 << "Kbaud";
    }

    void channelSpeeds()
    {
        QFETCH(QString, combo);
        QFETCH(QString, item);
        QFETCH(int, code);
        QFETCH(QString, units);

        GuiBench b;
        b.session.model = findModel(QStringLiteral("QN4000-F7H")); // the summary's layout
        ConfigRecord &rec = b.session.rec;
        rec.ChanBSpeed = 99;
        rec.ChanCSpeed = 99;
        const QByteArray codeText = QByteArray::number(code);
        pickItem(list(b, combo.toLatin1()), item);

        if (combo == QLatin1String("cboAsyncSpeed")) {
            QCOMPARE(rec.ChanBSpeedSel.text(), codeText);
            QCOMPARE(int(rec.ChanBSpeed), code);
            QCOMPARE(int(rec.ChanCSpeed), 99);
            QCOMPARE(b.text("view", "txtAsyncB"), item);
            QCOMPARE(b.text("main4000", "lblKbaud2"), units);
            QCOMPARE(b.text("view", "txtKbaudChannelB"), units);
        } else if (combo == QLatin1String("cboAsyncSpeedC")) {
            QCOMPARE(rec.ChanCSpeedSelA.text(), codeText);
            QVERIFY(rec.ChanCSpeedSelB.isEmpty());
            QCOMPARE(int(rec.ChanCSpeed), code);
            QCOMPARE(int(rec.ChanBSpeed), 99);
            QCOMPARE(b.text("view", "txtAsyncC"), item);
            QCOMPARE(b.text("main4000", "lblKbaudC"), units);
            QCOMPARE(b.text("view", "txtKbaudChannelC"), units);
        } else {
            QCOMPARE(rec.ChanCSpeedSelB.text(), codeText);
            QVERIFY(rec.ChanCSpeedSelA.isEmpty());
            QCOMPARE(int(rec.ChanCSpeed), code);
            QCOMPARE(b.text("view", "txtAsyncC"), item);
            QCOMPARE(b.text("main4000", "lblChannelCKbaud"), units);
            QCOMPARE(b.text("view", "txtKbaudChannelC"), units);
        }
    }

    void unknownSpeedChangesNothing_data()
    {
        QTest::addColumn<QString>("combo");
        QTest::newRow("channel B") << "cboAsyncSpeed";
        QTest::newRow("channel C") << "cboAsyncSpeedC";
        QTest::newRow("Modbus channel C") << "cboChannelCSpeed";
        QTest::newRow("network") << "cboNetworkSpeed";
        QTest::newRow("RIO network") << "cboNetworkSpeed2";
    }

    void unknownSpeedChangesNothing()
    {
        QFETCH(QString, combo);
        GuiBench b;
        ConfigRecord &rec = b.session.rec;
        // A fresh configuration: speed bytes set, no list chosen yet.
        rec.applyFreshConfiguration();
        rec.ChanCSpeed = 8;
        const ConfigRecord before = rec;
        QComboBox *c = list(b, combo.toLatin1());
        showText(c, QStringLiteral("14400"));
        Q_EMIT c->activated(c->currentIndex());
        QVERIFY(rec == before);
    }

    void typedTextStaysOutOfTheList()
    {
        // The loader picks channel B speeds by position, so typing must not grow the list.
        GuiBench b;
        QComboBox *c = list(b, "cboAsyncSpeed");
        c->lineEdit()->selectAll();
        QTest::keyClicks(c->lineEdit(), QStringLiteral("14400"));
        QTest::keyClick(c->lineEdit(), Qt::Key_Return);
        QCOMPARE(c->count(), 7);
        QVERIFY(b.session.rec.ChanBSpeedSel.isEmpty());
    }

    // Typed text: an item's name is that pick, anything else goes back to the value held,
    // with a note that says so. Each row types over the list's text and ends with a key.
    void typedText_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("taken");     // what the list shows after; empty: refused
        QTest::addColumn<QStringList>("after"); // record fields and summary boxes that follow

        const int enter = Qt::Key_Return, tab = Qt::Key_Tab, escape = Qt::Key_Escape;
        QTest::newRow("station 17") << "QN4000-PXA"
                                    << "cboStationNumber"
                                    << "17" << enter << "17"
                                    << QStringList{"StationNumber=15", "HighAddress=16",
                                                   "view:txtStationNum=17", "view:txtHighAddress=20"};
        QTest::newRow("station 89") << "QN4000-PXA"
                                    << "cboStationNumber"
                                    << "89" << tab << "" << QStringList{};
        QTest::newRow("station x") << "QN4000-NGD"
                                   << "cboStationNumber"
                                   << "x" << enter << "" << QStringList{};
        QTest::newRow("station emptied") << "QN4000-NGD"
                                         << "cboStationNumber"
                                         << "" << tab << "" << QStringList{};
        QTest::newRow("network 12345") << "QN4000-PXA"
                                       << "cboNetworkSpeed"
                                       << "12345" << tab << "" << QStringList{};
        QTest::newRow("network 115.2")
            << "QN4000-PXA"
            << "cboNetworkSpeed"
            << "115.2" << tab << "115.2" << QStringList{"NetworkSpeed=9,0", "view:txtNetSpeed=115.2"};
        // The list completes a beginning of one of its items as it is typed.
        QTest::newRow("network 11, completed")
            << "QN4000-PXA"
            << "cboNetworkSpeed"
            << "11" << enter << "115.2" << QStringList{"NetworkSpeed=9,0", "view:txtNetSpeed=115.2"};
        QTest::newRow("network 23") << "QN4000-PXA"
                                    << "cboNetworkSpeed"
                                    << "23" << enter << "" << QStringList{};
        QTest::newRow("network typed, then Escape") << "QN4000-PXA"
                                                    << "cboNetworkSpeed"
                                                    << "115.2" << escape << "" << QStringList{};
        QTest::newRow("RIO network 230.4")
            << "QN6000-UCT"
            << "cboNetworkSpeed2"
            << "230.4" << enter << "230.4" << QStringList{"NetworkSpeed=10,0", "view:txtNetSpeed=230.4"};
        QTest::newRow("rack range 3, blanks around")
            << "QN6000-UCT"
            << "cboRackRange"
            << " 3 " << tab << "3" << QStringList{"HighAddress=3", "view:txtRackRange=3"};
        QTest::newRow("rack range 8") << "QN6000-UCT"
                                      << "cboRackRange"
                                      << "8" << tab << "" << QStringList{};
        QTest::newRow("rack 30") << "QN6000-UCT"
                                 << "cboRackNum"
                                 << "30" << enter << "" << QStringList{};
        QTest::newRow("rack size in small letters")
            << "QN6000-UCT"
            << "cboRackSize"
            << "full" << enter << "FULL" << QStringList{"AuxByte3=2", "view:txtRackSize=FULL"};
        QTest::newRow("channel B 19.2")
            << "QN4000-PXA"
            << "cboAsyncSpeed"
            << "19.2" << tab << "19.2" << QStringList{"view:txtAsyncB=19.2", "main4000:lblKbaud2=Kbaud"};
        QTest::newRow("channel B 14400") << "QN4000-PXA"
                                         << "cboAsyncSpeed"
                                         << "14400" << enter << "" << QStringList{};
        QTest::newRow("channel C 38.4")
            << "QN4000-F7H"
            << "cboAsyncSpeedC"
            << "38.4" << enter << "38.4" << QStringList{"ChanCSpeed=10", "view:txtAsyncC=38.4"};
        QTest::newRow("Modbus address 248") << "QN4000-JMR"
                                            << "cboModbusAdd"
                                            << "248" << tab << "" << QStringList{};
    }

    void typedText()
    {
        QFETCH(QString, combo);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, taken);
        QFETCH(QString, model);
        GuiBench b;
        if (model == QLatin1String("QN4000-NGD"))
            b.prompts.answerMessage(Prompts::No, QStringLiteral("CHECK QN4000"));
        b.chooseModel(model);
        if (combo == QLatin1String("cboModbusAdd"))
            click(b, "optSiemensMOD");
        QWidget *main = b.mainForm();
        b.forms.hide(QStringLiteral("Welcome1"));
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QComboBox *c = list(b, combo.toLatin1());
        QVERIFY(c->isVisible());
        const QString before = c->currentText();
        QMap<QString, QString> want = layoutFields(b.session.rec);
        c->setFocus();
        c->lineEdit()->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(c, Qt::Key_Backspace);
        else
            QTest::keyClicks(c, typed);
        QTest::keyClick(c, Qt::Key(key));

        auto *note = main->findChild<QLabel *>(QStringLiteral("typedListNote"));
        const bool noted = note && note->isVisible();
        if (taken.isEmpty()) {
            QCOMPARE(c->currentText(), before);
            QCOMPARE(layoutFields(b.session.rec), want);
            // Told why, naming the list and what it keeps; Escape is the user's own undo.
            QCOMPARE(noted, key != Qt::Key_Escape);
            if (noted) {
                QVERIFY2(note->text().contains(QLatin1Char('"') + typed.left(5)) || typed.isEmpty(),
                         qPrintable(note->text()));
                QVERIFY2(note->text().endsWith(before + QLatin1Char('.')), qPrintable(note->text()));
            }
            return;
        }
        QCOMPARE(c->currentText(), taken);
        QVERIFY(!noted);
        QFETCH(QStringList, after);
        for (const QString &a : after) {
            const QString name = a.section(QLatin1Char('='), 0, 0);
            const QString value = a.section(QLatin1Char('='), 1);
            if (name.contains(QLatin1Char(':')))
                QCOMPARE(b.text(name.section(QLatin1Char(':'), 0, 0).toLatin1(),
                                name.section(QLatin1Char(':'), 1).toLatin1()),
                         value);
            else
                want[name] = value;
        }
        QCOMPARE(layoutFields(b.session.rec), want);
    }

    // Alt with a key that no control of the form answers types nothing into a list or a
    // dialog's text box.
    void altLetterTypesNothing_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("opener"); // the main4000 button that opens the dialog
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("control");
        QTest::newRow("network speed") << "QN4000-PXA"
                                       << ""
                                       << "main4000"
                                       << "cboNetworkSpeed";
        QTest::newRow("station") << "QN4000-PXA"
                                 << ""
                                 << "main4000"
                                 << "cboStationNumber";
        QTest::newRow("Modbus table") << "QN4000-LBW"
                                      << "cmdModBus"
                                      << "modbus_prot"
                                      << "txtStart1";
        QTest::newRow("data table") << "QN6000-YZE"
                                    << "cmdYZE"
                                    << "YZE_DataTable"
                                    << "txtXXX";
    }
    void altLetterTypesNothing()
    {
        QFETCH(QString, opener);
        QFETCH(QString, form);
        QFETCH(QString, control);
        GuiBench b;
        b.chooseModel(FETCHED(QString, model));
        QWidget *main = b.mainForm();
        main->show();
        if (!opener.isEmpty())
            click(b, opener.toLatin1());
        QWidget *window = b.forms.form(form);
        QApplication::setActiveWindow(window);
        QVERIFY(window->isActiveWindow());
        auto *w = window->findChild<QWidget *>(control);
        w->setFocus();
        const auto shown = [w] {
            auto *c = qobject_cast<QComboBox *>(w);
            return c ? c->currentText() : qobject_cast<QLineEdit *>(w)->text();
        };
        const QString before = shown();
        const ConfigRecord held = b.session.rec;
        for (Qt::Key k : {Qt::Key_O, Qt::Key_X, Qt::Key_1})
            QTest::keyClick(w, k, Qt::AltModifier);
        QCOMPARE(shown(), before);
        QTest::keyClick(w, Qt::Key_Tab);
        QCOMPARE(shown(), before);
        QVERIFY(b.session.rec == held);
    }

    // A form that goes away while text is being typed into one of its lists (unloaded, or
    // the program ending) takes nothing and survives its own focus change.
    void formGoneWhileTyping_data()
    {
        QTest::addColumn<bool>("unload");
        QTest::newRow("unloaded") << true;
        QTest::newRow("program ends") << false;
    }
    void formGoneWhileTyping()
    {
        {
            GuiBench b;
            b.chooseModel(QStringLiteral("QN4000-PXA"));
            QWidget *main = b.mainForm();
            main->show();
            QVERIFY(QTest::qWaitForWindowActive(main));
            QComboBox *c = list(b, "cboStationNumber");
            c->setFocus();
            QTest::keyClicks(c, QStringLiteral("x"));
            if (FETCHED(bool, unload))
                b.forms.unload(Main);
        }
        QCoreApplication::processEvents();
    }

    void rioStartingGroups_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("auxByte2");
        QTest::addColumn<QStringList>("checks");

        const QStringList quarter{"optSG2=2",   "optSG2<720", "+optSG4",
                                  "+optSG6",    "-opt2Slave", "*opt1Slave",
                                  "+cboSLAVE1", "-cboSlave2", "view:txtRackSize=1/4"};
        const QStringList half{"optSG2=4",   "optSG2<1320", "-optSG4",    "-optSG6",
                               "+opt2Slave", "*opt2Slave",  "+cboSlave2", "view:txtRackSize=1/2"};
        QTest::newRow("quarter, group 0") << "optQuarter"
                                          << "optSG0"
                                          << "0" << quarter;
        QTest::newRow("quarter, group 2") << "optQuarter"
                                          << "optSG2"
                                          << "1" << quarter;
        QTest::newRow("quarter, group 4") << "optQuarter"
                                          << "optSG4"
                                          << "2" << quarter;
        QTest::newRow("quarter, group 6") << "optQuarter"
                                          << "optSG6"
                                          << "3" << quarter;
        QTest::newRow("half, group 0") << "optHalf"
                                       << "optSG0"
                                       << "4" << half;
        QTest::newRow("half, group 4") << "optHalf"
                                       << "optSG2"
                                       << "5" << half;
    }

    void rioStartingGroups()
    {
        QFETCH(QString, size);
        QFETCH(QString, group);
        QFETCH(QString, auxByte2);
        QFETCH(QStringList, checks);

        GuiBench b;
        setModel(b, QStringLiteral("QN6000-XAJ"));
        click(b, "optKF2NGD");
        click(b, "optUCT");
        // Leave the quarter rack first, so that choosing it again is a change.
        if (size == QLatin1String("optQuarter"))
            click(b, "optHalf");
        click(b, size.toLatin1());
        QCOMPARE(b.session.rec.AuxByte1.text(),
                 size == QLatin1String("optHalf") ? QByteArray("2") : QByteArray("1"));
        click(b, group.toLatin1());
        QCOMPARE(b.session.rec.AuxByte2.text(), auxByte2.toLatin1());
        QCOMPARE(b.mainForm()->rioGroupBase(), size == QLatin1String("optHalf") ? 4 : 0);
        for (const QString &c : checks)
            expect(b, c);
    }

    void deviceTypes_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown"); // txtJMR1; empty where the summary is not written

        QTest::newRow("S") << "optSType" << 0 << "S";
        QTest::newRow("M") << "optMType" << 1 << "M";
        QTest::newRow("L/M2") << "optLMType" << 2 << "L/M2";
        QTest::newRow("PT03") << "optPT03Type" << 3 << "PT03";
        QTest::newRow("L/M3") << "optLType" << 4 << "L/M3";
        QTest::newRow("S(A)") << "optSAType" << 5 << "S(A)";
        QTest::newRow("Zumbach host") << "optQOF_Host" << 1 << "";
        QTest::newRow("Zumbach terminal") << "optQOF_Terminal" << 0 << "";
    }

    void deviceTypes()
    {
        QFETCH(QString, option);
        QFETCH(int, code);
        QFETCH(QString, shown);

        GuiBench b;
        ConfigRecord &rec = b.session.rec;
        const bool brabender = !shown.isEmpty();
        b.session.model = findModel(brabender ? QStringLiteral("QN4000-JMR") : QStringLiteral("QN4000-QOF"));
        // Start from the other choice of the same group, so that this one is a change.
        click(b, brabender ? (option == QLatin1String("optMType") ? "optSType" : "optMType")
                           : (option == QLatin1String("optQOF_Host") ? "optQOF_Terminal" : "optQOF_Host"));
        rec.ProtoParam[0] = 77;
        rec.ProtoParam[1] = 77;
        click(b, option.toLatin1());
        QCOMPARE(int(rec.ProtoParam[0]), code);
        if (brabender) {
            QCOMPARE(int(rec.ProtoParam[1]), 0);
            QCOMPARE(b.text("view", "txtJMR1"), shown);
        } else {
            QCOMPARE(int(rec.ProtoParam[1]), 77);
        }
    }

    void leavingTheForm()
    {
        GuiBench b;
        main4000 *m = b.mainForm();
        m->show();
        click(b, "cmdNext");
        QVERIFY(m->isHidden());
        QWidget *summary = b.forms.existing(QStringLiteral("view"));
        QVERIFY(summary && summary->isVisible());
        const QString date = b.text("view", "txtDate");
        // "Tuesday, Dec. 8 2026"
        QVERIFY2(
            QRegularExpression(QStringLiteral("^\\w+, \\w{3}\\. \\d{1,2} \\d{4}$")).match(date).hasMatch(),
            qPrintable(date));
        QVERIFY(date.endsWith(QString::number(QDate::currentDate().year())));

        m->show();
        click(b, "cmdRETURN");
        QVERIFY(m->isHidden());
        QVERIFY(b.forms.existing(QStringLiteral("Welcome1"))->isVisible());

        b.forms.hide(QStringLiteral("Welcome1"));
        m->show();
        QVERIFY(m->close());
        QVERIFY(m->isHidden());
        QVERIFY(b.forms.existing(QStringLiteral("Welcome1"))->isVisible());
    }

    void configurationMenuPopsUp()
    {
        GuiBench b;
        main4000 *m = b.mainForm();
        m->show();
        QVERIFY(QTest::qWaitForWindowExposed(m));
        click(b, "cmdCONFIG");
        QTRY_VERIFY(m->fileMenu()->isVisible());
        m->fileMenu()->hide();
    }

    void dialogButtons_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("hidesMain"); // or else it stays visible, disabled

        QTest::newRow("channel B") << ""
                                   << "Command3"
                                   << "paramConfigB" << false;
        QTest::newRow("channel C") << ""
                                   << "cmdAsyncC"
                                   << "paramConfigC" << false;
        QTest::newRow("DF1") << ""
                             << "cmdProtParam"
                             << "df_Param" << false;
        QTest::newRow("Modbus") << ""
                                << "cmdModBus"
                                << "modbus_prot" << true;
        QTest::newRow("Siemens") << ""
                                 << "cmdSiemensParam"
                                 << "siemens_param" << true;
        QTest::newRow("Toshiba") << ""
                                 << "cmdToshibaParam"
                                 << "toshiba_VFD" << false;
        QTest::newRow("rack map") << ""
                                  << "cmdRioBt"
                                  << "rio_bt" << false;
        QTest::newRow("data table") << "QN4000-YZE"
                                    << "cmdYZE"
                                    << "YZE_DataTable" << false;
        QTest::newRow("Zumbach data table") << "QN4000-QOF"
                                            << "cmdYZE"
                                            << "VR58_DataTable" << false;
    }

    void dialogButtons()
    {
        QFETCH(QString, model);
        QFETCH(QString, button);
        QFETCH(QString, dialog);
        QFETCH(bool, hidesMain);

        GuiBench b;
        setModel(b, model);
        main4000 *m = b.mainForm();
        m->show();
        b.control<QAbstractButton>("main4000", button.toLatin1())->click();
        QVERIFY(b.forms.existing(dialog) && b.forms.existing(dialog)->isVisible());
        if (hidesMain) {
            QVERIFY(m->isHidden());
        } else {
            QVERIFY(m->isVisible());
            QVERIFY(!m->isEnabled());
        }
    }

    void modbusChannelFormat_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("selected");

        QTest::newRow("8N1") << 0 << QStringList{"optNone", "opt8", "opt1"};
        QTest::newRow("7E1") << (2 | 4 | 16) << QStringList{"optYes", "optEven", "opt7", "opt1"};
        QTest::newRow("8O2") << (2 | 8) << QStringList{"optYes", "optOdd", "opt8", "opt2"};
    }

    void modbusChannelFormat()
    {
        QFETCH(int, format);
        QFETCH(QStringList, selected);

        GuiBench b;
        main4000 *m = b.mainForm();
        m->show();
        setModel(b, QStringLiteral("QN4000-EPV4"));
        click(b, "optEPV4");
        click(b, "optSiemensMOD");
        b.session.rec.ChanCFormat = quint8(format);
        click(b, "cmdChannelC");

        for (const QString &s : selected)
            expect(b, QStringLiteral("*paramConfigC:") + s);
        for (const char *c : {"!paramConfigC:Frame2", "!paramConfigC:optIgnore", "!paramConfigC:optActive",
                              "paramConfigC:paramConfigC=MODBUS PROTOCOL PARAMETERS"})
            expect(b, QLatin1String(c));
        QCOMPARE(int(b.session.rec.ChanCFormat), format);
        QVERIFY(!m->isEnabled());
        QVERIFY(b.forms.existing(QStringLiteral("paramConfigC"))->isVisible());
    }
};

QTEST_MAIN(TestMain4000)
#include "tst_main4000.moc"
