// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "editor/configfiles.h"
#include "editor/download.h"
#include "editor/downloadconfig.h"
#include "editor/main4000.h"
#include "editor/summaryprint.h"
#include "editor/upload.h"
#include "editor/view.h"
#include "files/configfile.h"
#include "files/fileomissions.h"
#include "frame/formutil.h"
#include "frame/qtprompts.h"
#include "message/configmessage.h"
#include "shell/model_freestand.h"
#include "simulator/convertersim.h"
#include "transfer/transfers.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QMessageBox>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/guibench.h"
#include "support/testdata.h"

Q_DECLARE_METATYPE(SimFault)

namespace {

const char *const Menu = "Welcome1";

QByteArray bodyOf(const QByteArray &message)
{
    return message.mid(7, message.size() - 9);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A converter on a pty, which a bench reaches as COM1 once it is plugged in.
struct Unit
{
    explicit Unit(const QString &model, SimFault fault = SimFault::None)
    {
        SimOptions o;
        o.model = model;
        o.fault = fault;
        sim = std::make_unique<ConverterSim>(o);
        QString why;
        ok = sim->open(&why);
    }
    void plugInto(GuiBench &b) const { b.comm.setComDevice(1, sim->devicePath()); }
    std::unique_ptr<ConverterSim> sim;
    bool ok = false;
};

// The main menu's way into the editor: a good port test, then "Configure/Open File", No.
void openEditor(GuiBench &b)
{
    b.button(Menu, "optCom1")->click();
    b.prompts.answerMessage(Prompts::No, QStringLiteral("Open Existing"));
    b.button(Menu, "cmdUpdate")->click();
}

QAction *menuAction(GuiBench &b, const char *name)
{
    return b.forms.form<main4000>(QStringLiteral("main4000"))->action(QLatin1String(name));
}

// Some settings every model has, changed from their defaults the way a user does.
void editSomething(GuiBench &b)
{
    // The RIO models address by rack, the others by station.
    QComboBox *rack = b.combo("main4000", "cboRackNum");
    if (rack && rack->isVisibleTo(b.forms.form(QStringLiteral("main4000"))))
        selectText(rack, QStringLiteral("3"));
    else
        selectText(b.combo("main4000", "cboStationNumber"), QStringLiteral("17"));
    selectText(b.combo("main4000", "cboAsyncSpeed"), QStringLiteral("19.2"));
    b.button("paramConfigB", "optYes")->click();
    b.button("paramConfigB", "optEven")->click();
    b.button("paramConfigB", "opt2")->click();
}

bool offered(GuiBench &b, const char *button)
{
    QWidget *main = b.forms.form(QStringLiteral("main4000"));
    QWidget *w = b.control<QWidget>("main4000", button);
    return w->isVisibleTo(main) && w->isEnabledTo(main);
}

// Each protocol dialog the model's main form offers, opened from its button and changed in
// most of what it sets: "name" clicks, "name=text" fills a box or picks a list item.
void editDialogs(GuiBench &b)
{
    struct Dialog
    {
        const char *opener;
        const char *form;
        QStringList steps;
        const char *accept;
    };
    const Dialog dialogs[] = {
        {"cmdModBus",
         "modbus_prot",
         {"optAscii", "optYesHalf", "optYesBroadcast", "cboStartAddress=17", "cboEndAddress=27", "Option3",
          "Option9", "txtStart1=300", "txtEnd1=399", "txtFile1=7", "txtWord1=10", "txtStart8=65535",
          "txtWord8=12"},
         "Command2"},
        {"cmdSiemensParam",
         "siemens_param",
         {"optDUST6B", "opt42ms", "optYesFunc", "optPKW4", "opt422", "cboTelegram=12"},
         "cmdAccept"},
        {"cmdToshibaParam",
         "toshiba_VFD",
         {"optSuper2E", "optStopDecel", "opt422", "txtDelay=300", "txtIntRetries=3"},
         "Command1"},
        {nullptr, "toshiba_Super2E", {"txtWD20=5", "txtWD30=8123", "txtWD59=4001"}, "Command1"},
        {"cmdRioBt", "rio_bt", {"optRIO3", "chk351", "chk100", "Check2"}, "cmdAccept"},
        {"cmdYZE", "", {"txtXXX=300", "txtYYY=12"}, "cmdAccept"},
    };
    const ModelInfo *model = b.session.model;
    for (const Dialog &d : dialogs) {
        if (d.opener && !offered(b, d.opener))
            continue;
        if (d.opener)
            b.button("main4000", d.opener)->click();
        const QString form =
            *d.form ? QString::fromLatin1(d.form) : QString::fromLatin1(model->dataTableForm);
        QWidget *w = b.forms.existing(form);
        if (!w || !w->isVisible())
            continue; // the table of relays, where no relays were chosen
        CrossForm r(b.forms);
        for (const QString &step : d.steps) {
            const QString name = step.section(QLatin1Char('='), 0, 0);
            QWidget *c = r.control<QWidget>(form, name);
            if (!c->isVisibleTo(w))
                continue;
            if (!step.contains(QLatin1Char('=')))
                static_cast<QAbstractButton *>(c)->click();
            else if (auto *list = qobject_cast<QComboBox *>(c))
                selectText(list, step.section(QLatin1Char('='), 1));
            else
                static_cast<QLineEdit *>(c)->setText(step.section(QLatin1Char('='), 1));
        }
        r.control<QAbstractButton>(form, QLatin1String(d.accept))->click();
    }
}

// Offsets in the message body of the values a model's file does not hold: the Toshiba drive
// settings and relay table, and the RW31's file number. Opening a file gives the model's
// presets there.
QList<int> notInTheFile(const QString &model)
{
    QList<int> offsets;
    if (model == QLatin1String("QN4000-EPV4")) {
        for (int i = 42; i < 130; ++i)
            offsets << i;
    } else if (model == QLatin1String("QN4000-RW31")) {
        offsets << 52 << 53;
    }
    return offsets;
}

// The note a save, upload or download from a file gives where the model's file leaves
// something out.
const QString NotInTheFile = QStringLiteral("Not in the Configuration File");

void expectOmissionNote(GuiBench &b, const QString &model)
{
    if (modelOf(model).fileOmits() != FileOmission::Nothing)
        b.prompts.answerMessage(Prompts::Ok, NotInTheFile);
}

} // namespace

class TestTransfers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Start to finish: QN4000-PXA on COM1, a new configuration, network speed and station,
    // channel B format, the summary, the download, and a save.
    void typicalRoad()
    {
        Unit unit(QStringLiteral("QN4000-PXA"));
        QVERIFY(unit.ok);
        GuiBench b;
        unit.plugInto(b);
        b.forms.show(QStringLiteral("Welcome"));
        b.button("Welcome", "Command4")->click();
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        openEditor(b);
        QVERIFY(!b.forms.existing(QStringLiteral("main4000"))->isHidden());

        selectText(b.combo("main4000", "cboNetworkSpeed"), QStringLiteral("115.2"));
        selectText(b.combo("main4000", "cboStationNumber"), QStringLiteral("12"));
        b.button("main4000", "Command3")->click();
        b.button("paramConfigB", "optYes")->click();
        b.button("paramConfigB", "optOdd")->click();
        b.button("paramConfigB", "opt7")->click();
        b.button("paramConfigB", "Command2")->click();
        QCOMPARE(b.session.rec.NetworkSpeed, (CharPair{9, 0}));
        QCOMPARE(int(b.session.rec.StationNumber), 10);
        QCOMPARE(b.session.rec.ChanBFormat & (2 | 4 | 16), 2 | 16);

        b.button("main4000", "cmdNext")->click();
        QVERIFY(!b.forms.existing(QStringLiteral("view"))->isHidden());
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press CFG PUSHBUTTON"));
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press Reset Button"));
        QSignalSpy done(&b.forms.form<view>(QStringLiteral("view"))->transfer(), &DownloadConfig::finished);
        b.button("view", "cmdDownload")->click();
        QVERIFY(done.wait(8000));
        QCOMPARE(b.text("view", "lblStatus"), QStringLiteral("A-OK! Transmission received by Quintrel"));
        QCOMPARE(b.text("view", "cmdDownload"), QStringLiteral("&DOWNLOAD These Parameters to Quintrel"));
        for (const char *n : {"Command1", "cmdPrintConf", "cmdDownload", "cmdEXIT"})
            QVERIFY2(b.button("view", n)->isEnabled(), n);
        const QByteArray message = BuildConfigMessage(b.session.rec).bytes;
        QCOMPARE(unit.sim->eeprom().toHex(' '), bodyOf(message).toHex(' '));
        QVERIFY(!b.comm.isOpen(1));

        // Back on the main form, the configuration menu saves it.
        b.button("view", "Command1")->click();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pxa.QNC"));
        b.prompts.answerSave(path);
        menuAction(b, "save_file")->trigger();
        QByteArray expected;
        QVERIFY(configFileBytes(b.session.rec, modelOf(u"QN4000-PXA"), &expected).ok);
        QCOMPARE(readFile(path), expected);
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    // Each layout kind uploaded through the upload screen: the file written is read back and
    // applied, and the editor then holds what the unit holds.
    void uploadEachLayout_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("42") << "QN4000-TBQ";
        QTest::newRow("58") << "QN4000-PXA";
        QTest::newRow("64") << "QN4000-UCT";
        QTest::newRow("130") << "QN4000-EPV4";
        QTest::newRow("136") << "QN6000-LBW";
    }
    void uploadEachLayout()
    {
        QFETCH(QString, model);
        Unit unit(model);
        QVERIFY(unit.ok);
        // The unit holds a configuration made on another run.
        QByteArray stored;
        {
            GuiBench first;
            first.chooseModel(model);
            editSomething(first);
            if (model.endsWith(QLatin1String("UCT")))
                first.session.rec.ProtoParam[5] = 0x13; // rack map bits that look like XOFF
            stored = bodyOf(BuildConfigMessage(first.session.rec).bytes);
        }
        unit.sim->setEeprom(stored);

        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(model);
        b.button(Menu, "optCom1")->click();
        b.forms.show(QStringLiteral("upload"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("up.QNC"));
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        b.prompts.answerSave(path);
        expectOmissionNote(b, model);
        auto *screen = b.forms.form<upload>(QStringLiteral("upload"));
        QSignalSpy ended(screen, &upload::uploadEnded);
        b.button("upload", "cmdUpload")->click();
        QVERIFY(ended.wait(8000));
        QVERIFY2(ended.first().first().toBool(),
                 qPrintable(b.text("upload", "lblStatus") + b.prompts.problems()));
        QCOMPARE(b.text("upload", "lblStatus"), QStringLiteral("A-OK! Success - Upload complete."));
        QVERIFY(b.button("upload", "Command1")->isEnabled());
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));

        // The file opens again, and the configuration it gives is the unit's.
        LoadedValues table;
        QVERIFY(ReadConfigFile(path, modelOf(model), table).ok);
        QByteArray now = bodyOf(BuildConfigMessage(b.session.rec).bytes);
        QByteArray expected = stored;
        // A channel C speed of 0 comes back as 9600 (code 8), as the file format has it.
        if (quint8(expected.at(30)) == 0)
            expected[30] = 8;
        QCOMPARE(now.toHex(' '), expected.toHex(' '));
    }

    // Each dialog family end to end: what its dialog set arrives in the unit byte for byte, and
    // an upload into a fresh run brings it back into the dialog. The Toshiba settings have no
    // place in the file an upload writes, so they come back as the presets.
    void dialogsEndToEnd_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("shows"); // form:control=text, or form:*option
        QTest::newRow("Modbus") << "QN6000-LBW"
                                << QStringList{"modbus_prot:txtStart1=300",   "modbus_prot:txtStart8=65535",
                                               "modbus_prot:*optAscii",       "modbus_prot:*optYesHalf",
                                               "modbus_prot:*Option3",        "modbus_prot:*Option9",
                                               "modbus_prot:cboEndAddress=27"};
        QTest::newRow("Siemens") << "QN4000-WOLTA"
                                 << QStringList{"siemens_param:*optDUST6B", "siemens_param:*opt42ms",
                                                "siemens_param:*optPKW4", "siemens_param:*opt422",
                                                "siemens_param:cboTelegram=12"};
        QTest::newRow("data table") << "QN6000-YZE"
                                    << QStringList{"YZE_DataTable:txtXXX=300", "YZE_DataTable:txtYYY=12"};
        QTest::newRow("scan files") << "QN4000-QOF"
                                    << QStringList{"VR58_DataTable:txtXXX=300", "VR58_DataTable:txtYYY=12"};
        QTest::newRow("rack map") << "QN4000-UCT"
                                  << QStringList{"rio_bt:*chk351", "rio_bt:*chk100", "rio_bt:*chk271"};
        QTest::newRow("Toshiba") << "QN4000-EPV4"
                                 << QStringList{"toshiba_VFD:*optG2", "toshiba_VFD:txtDelay=0",
                                                "toshiba_Super2E:txtWD30=4007"};
    }
    void dialogsEndToEnd()
    {
        QFETCH(QString, model);
        Unit unit(model);
        QVERIFY(unit.ok);
        QByteArray sent;
        {
            GuiBench b;
            unit.plugInto(b);
            b.chooseModel(model);
            openEditor(b);
            editDialogs(b);
            b.button("main4000", "cmdNext")->click();
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Reset"));
            QSignalSpy done(&b.forms.form<view>(QStringLiteral("view"))->transfer(),
                            &DownloadConfig::finished);
            b.button("view", "cmdDownload")->click();
            QVERIFY(done.wait(8000));
            QCOMPARE(b.text("view", "lblStatus"), QStringLiteral("A-OK! Transmission received by Quintrel"));
            sent = bodyOf(BuildConfigMessage(b.session.rec).bytes);
            QCOMPARE(unit.sim->eeprom().toHex(' '), sent.toHex(' '));
            QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        }
        GuiBench fresh;
        fresh.chooseModel(model);
        const QByteArray preset = bodyOf(BuildConfigMessage(fresh.session.rec).bytes);

        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(model);
        b.button(Menu, "optCom1")->click();
        b.forms.show(QStringLiteral("upload"));
        QTemporaryDir dir;
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        b.prompts.answerSave(dir.filePath(QStringLiteral("up.QNC")));
        expectOmissionNote(b, model);
        QSignalSpy ended(b.forms.form<upload>(QStringLiteral("upload")), &upload::uploadEnded);
        b.button("upload", "cmdUpload")->click();
        QVERIFY(ended.wait(8000));
        QVERIFY2(ended.first().first().toBool(),
                 qPrintable(b.text("upload", "lblStatus") + b.prompts.problems()));
        QByteArray expected = sent;
        if (quint8(expected.at(30)) == 0)
            expected[30] = 8;
        for (int offset : notInTheFile(model))
            expected[offset] = preset[offset];
        QCOMPARE(bodyOf(BuildConfigMessage(b.session.rec).bytes).toHex(' '), expected.toHex(' '));

        // The dialogs show it, as their main4000 buttons open them.
        b.forms.hide(QStringLiteral("upload"));
        b.forms.show(QStringLiteral("main4000"));
        QStringList wrong;
        for (const QString &s : FETCHED(QStringList, shows)) {
            const QString form = s.section(QLatin1Char(':'), 0, 0);
            const QString what = s.section(QLatin1Char(':'), 1);
            if (form == QLatin1String("rio_bt") && !b.forms.isLoaded(form))
                b.button("main4000", "cmdRioBt")->click();
            if (what.startsWith(QLatin1Char('*'))) {
                if (!CrossForm(b.forms).control<QAbstractButton>(form, what.mid(1))->isChecked())
                    wrong << s;
            } else if (CrossForm(b.forms).text(form, what.section(QLatin1Char('='), 0, 0)) !=
                       what.section(QLatin1Char('='), 1)) {
                wrong << s + QStringLiteral(" shows ") +
                             CrossForm(b.forms).text(form, what.section(QLatin1Char('='), 0, 0));
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String("; "))));
    }

    void uploadFailures_data()
    {
        QTest::addColumn<SimFault>("fault");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("box");
        QTest::newRow("silent") << SimFault::Silent << "Check connections/settings and TRY UPLOAD AGAIN"
                                << "TIMEOUT DETECTED";
        QTest::newRow("badtr") << SimFault::BadTr << "!Error!Invalid Upload Message Received! Upload Again!"
                               << "";
        QTest::newRow("cancelled save") << SimFault::None << "!Error!Invalid Filename Selected! Upload Again!"
                                        << "";
    }
    void uploadFailures()
    {
        QFETCH(QString, box);
        Unit unit(QStringLiteral("QN4000-PXA"), FETCHED(SimFault, fault));
        QVERIFY(unit.ok);
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        b.button(Menu, "optCom1")->click();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.QNC"));
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        if (!box.isEmpty())
            b.prompts.answerMessage(Prompts::Ok, box);
        if (FETCHED(SimFault, fault) == SimFault::None)
            b.prompts.answerSave(QString());
        auto *screen = b.forms.form<upload>(QStringLiteral("upload"));
        QSignalSpy ended(screen, &upload::uploadEnded);
        b.button("upload", "cmdUpload")->click();
        QVERIFY(ended.wait(8000));
        QVERIFY(!ended.first().first().toBool());
        QCOMPARE(b.text("upload", "lblStatus"), FETCHED(QString, status));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!b.button("upload", "Command1")->isEnabled());
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    void downloadScreenSendsASavedFile()
    {
        Unit unit(QStringLiteral("QN4000-UCT"));
        QVERIFY(unit.ok);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("uct.QNC"));
        QByteArray expected;
        {
            GuiBench first;
            first.chooseModel(QStringLiteral("QN4000-UCT"));
            editSomething(first);
            first.session.rec.ChanCSpeed = 8; // a value the file keeps as it is
            QVERIFY(SaveConfigFile(path, first.session.rec, modelOf(u"QN4000-UCT")).ok);
            expected = bodyOf(BuildConfigMessage(first.session.rec).bytes);
        }
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-UCT"));
        b.button(Menu, "optCom1")->click();
        b.button(Menu, "cmdDOWNLOAD")->click();
        QVERIFY(!b.forms.existing(QStringLiteral("download"))->isHidden());
        b.prompts.answerOpen(path);
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press Reset Button"));
        QSignalSpy done(&b.forms.form<download>(QStringLiteral("download"))->transfer(),
                        &DownloadConfig::finished);
        b.button("download", "cmdDOWNLOAD")->click();
        QVERIFY(done.wait(8000));
        QCOMPARE(unit.sim->eeprom().toHex(' '), expected.toHex(' '));
        QVERIFY(b.button("download", "cmdExit")->isEnabled());
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        b.button("download", "cmdExit")->click();
        QVERIFY(!b.forms.existing(QLatin1String(Menu))->isHidden());
    }

    // Each transfer screen left in the middle of a real transfer: while it runs, nothing on
    // it but the close box can act; closing it ends the transfer, closes the port and frees
    // the screen with nothing of it left behind for the transfer to touch.
    void leavingAScreenMidTransfer_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("download") << "download";
        QTest::newRow("upload") << "upload";
    }
    void leavingAScreenMidTransfer()
    {
        QFETCH(QString, screen);
        Unit unit(QStringLiteral("QN4000-PXA"), SimFault::Silent);
        QVERIFY(unit.ok);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pxa.QNC"));
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        QVERIFY(SaveConfigFile(path, b.session.rec, modelOf(u"QN4000-PXA")).ok);
        b.button(Menu, "optCom1")->click();
        const bool isDownload = screen == QLatin1String("download");
        b.button(Menu, isDownload ? "cmdDOWNLOAD" : "cmdUPLOAD")->click();
        QPointer<QWidget> form = b.forms.existing(screen);
        QVERIFY(form && !form->isHidden());
        if (isDownload)
            b.prompts.answerOpen(path);
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        // A short wait, so that its end comes while the test still watches.
        if (isDownload)
            b.forms.form<download>(screen)->transfer().setTimeoutOverride(100);
        else
            b.forms.form<upload>(screen)->transfer().runner().setTimeoutOverride(100);
        b.button(screen.toLatin1(), isDownload ? "cmdDOWNLOAD" : "cmdUpload")->click();
        QVERIFY(b.comm.isOpen(1)); // waiting for the unit's reply
        for (auto *button : form->findChildren<QPushButton *>())
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));

        form->close();
        QTRY_VERIFY(!form); // freed
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY(!b.forms.existing(QLatin1String(Menu))->isHidden());
        QTest::qWait(300); // the wait's end would have come by now
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    void downloadOutcomes_data()
    {
        QTest::addColumn<SimFault>("fault");
        QTest::addColumn<QString>("box");
        QTest::newRow("noack") << SimFault::NoAck << "NO ACK RECEIVED";
        QTest::newRow("silent") << SimFault::Silent << "TIMEOUT DETECTED";
    }
    void downloadOutcomes()
    {
        Unit unit(QStringLiteral("QN4000-NGD"), FETCHED(SimFault, fault));
        QVERIFY(unit.ok);
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-NGD"));
        openEditor(b);
        b.button("main4000", "cmdNext")->click();
        auto &transfer = b.forms.form<view>(QStringLiteral("view"))->transfer();
        transfer.setTimeoutOverride(300);
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
        b.prompts.answerMessage(Prompts::Ok, FETCHED(QString, box));
        QSignalSpy done(&transfer, &DownloadConfig::finished);
        b.button("view", "cmdDownload")->click();
        QVERIFY(done.wait(8000));
        QCOMPARE(b.text("view", "lblStatus"), QStringLiteral("Try TRANSFER CONFIGURATION Again"));
        QCOMPARE(b.prompts.shown().last().text, QStringLiteral("Unable to communicate with Quintrel."));
        QVERIFY(b.button("view", "cmdEXIT")->isEnabled());
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    // The real configuration-mode box: only OK goes on. Escape, the close box and Cancel
    // leave the unit untouched and the port closed.
    void configModeBoxOnlyOkGoesOn_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("Enter") << "enter" << true;
        QTest::newRow("Escape") << "escape" << false;
        QTest::newRow("close box") << "close" << false;
        QTest::newRow("Cancel") << "cancel" << false;
    }
    void configModeBoxOnlyOkGoesOn()
    {
        QFETCH(QString, answer);
        Unit unit(QStringLiteral("QN4000-PXA"));
        QVERIFY(unit.ok);
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        QtPrompts boxes;
        DeviceLink link(b.session, b.comm, boxes);
        b.session.PortNumber = 1;
        QString title;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            if (answer == QLatin1String("enter"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (answer == QLatin1String("escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else if (answer == QLatin1String("close"))
                box->close();
            else
                box->button(QMessageBox::Cancel)->click();
        });
        const int r = link.OpenDevicePort();
        QVERIFY(title.contains(QLatin1String("PUSHBUTTON")));
        QCOMPARE(r == 1, FETCHED(bool, goesOn));
        QCOMPARE(b.comm.isOpen(1), FETCHED(bool, goesOn));
        link.closePort();
    }

    // Cancel at the prompt: every screen that asks it stops there, with nothing sent, the
    // port closed, and a status that says so.
    void cancelledPromptSendsNothing_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("summary") << "view";
        QTest::newRow("download screen") << "download";
        QTest::newRow("upload") << "upload";
        QTest::newRow("terminal") << "monitor";
    }
    void cancelledPromptSendsNothing()
    {
        QFETCH(QString, screen);
        Unit unit(QStringLiteral("QN4000-PXA"));
        QVERIFY(unit.ok);
        const QByteArray stored = unit.sim->eeprom();
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pxa.QNC"));
        QVERIFY(SaveConfigFile(path, b.session.rec, modelOf(u"QN4000-PXA")).ok);
        openEditor(b);
        unit.sim->clearReceived();
        QString status = QStringLiteral("Cancelled - nothing sent");
        if (screen == QLatin1String("view")) {
            b.button("main4000", "cmdNext")->click();
            b.prompts.answerMessage(Prompts::Cancel, QStringLiteral("PUSHBUTTON"));
            b.button("view", "cmdDownload")->click();
            QCOMPARE(b.text("view", "cmdDownload"), QStringLiteral("&DOWNLOAD These Parameters to Quintrel"));
        } else if (screen == QLatin1String("download")) {
            b.forms.show(screen);
            b.prompts.answerOpen(path);
            b.prompts.answerMessage(Prompts::Cancel, QStringLiteral("PUSHBUTTON"));
            b.button("download", "cmdDOWNLOAD")->click();
        } else if (screen == QLatin1String("upload")) {
            b.forms.show(screen);
            b.prompts.answerMessage(Prompts::Cancel, QStringLiteral("PUSHBUTTON"));
            b.button("upload", "cmdUpload")->click();
        } else {
            b.prompts.answerMessage(Prompts::Cancel, QStringLiteral("PUSHBUTTON"));
            b.forms.show(screen);
            QTRY_VERIFY(!b.forms.existing(screen)); // the terminal goes, the menu comes back
            QVERIFY(!b.forms.existing(QLatin1String(Menu))->isHidden());
            status.clear();
        }
        QTest::qWait(300); // the terminal's "M" would be out by now
        if (!status.isEmpty()) {
            QCOMPARE(b.text(screen.toLatin1(), "lblStatus"), status);
            for (QPushButton *button : b.forms.existing(screen)->findChildren<QPushButton *>()) {
                if (button->objectName() != QLatin1String("Command1") || screen == QLatin1String("view"))
                    QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
            }
        }
        QCOMPARE(unit.sim->received().toHex(' '), QByteArray());
        QCOMPARE(unit.sim->eeprom(), stored);
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    // However a download ended, the summary's status says so; shown again (other values may
    // have been chosen meanwhile), it starts afresh.
    void summaryStatusSaysHowItEnded_data()
    {
        QTest::addColumn<SimFault>("fault");
        QTest::addColumn<QString>("box");    // the box the end shows, answered OK
        QTest::addColumn<QString>("status"); // the status line afterwards
        QTest::newRow("success") << SimFault::None << "Press Reset Button"
                                 << "A-OK! Transmission received by Quintrel";
        QTest::newRow("time-out") << SimFault::Silent << "TIMEOUT DETECTED"
                                  << "Try TRANSFER CONFIGURATION Again";
        QTest::newRow("no acknowledge") << SimFault::NoAck << "NO ACK RECEIVED"
                                        << "Try TRANSFER CONFIGURATION Again";
        QTest::newRow("lost line") << SimFault::Drop << "COM PORT LOST"
                                   << "COM PORT LOST - Try TRANSFER CONFIGURATION Again";
        QTest::newRow("port error") << SimFault::None << ""
                                    << "COM PORT not opened - nothing sent";
    }
    void summaryStatusSaysHowItEnded()
    {
        QFETCH(QString, box);
        Unit unit(QStringLiteral("QN4000-PXA"), FETCHED(SimFault, fault));
        QVERIFY(unit.ok);
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        openEditor(b);
        b.button("main4000", "cmdNext")->click();
        const QString opening = b.text("view", "lblStatus");
        const QString caption = b.text("view", "cmdDownload");
        auto &transfer = b.forms.form<view>(QStringLiteral("view"))->transfer();
        transfer.setTimeoutOverride(300);
        if (box.isEmpty()) {
            b.comm.setComDevice(1, QStringLiteral("/dev/no-such-serial-device"));
            b.prompts.answerMessage(Prompts::Ok);
        } else {
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
            b.prompts.answerMessage(Prompts::Ok, box);
        }
        QSignalSpy done(&transfer, &DownloadConfig::finished);
        b.button("view", "cmdDownload")->click();
        QVERIFY(done.size() == 1 || done.wait(8000));
        QCOMPARE(b.text("view", "lblStatus"), FETCHED(QString, status));
        QCOMPARE(b.text("view", "cmdDownload"), caption);
        for (const char *n : {"Command1", "cmdPrintConf", "cmdDownload", "cmdEXIT"})
            QVERIFY2(b.button("view", n)->isEnabled(), n);
        QVERIFY(!b.comm.isOpen(1));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));

        // Back to change a value, and to the summary again.
        b.button("view", "Command1")->click();
        selectText(b.combo("main4000", "cboStationNumber"), QStringLiteral("21"));
        b.button("main4000", "cmdNext")->click();
        QCOMPARE(b.text("view", "lblStatus"), opening);
        QCOMPARE(b.text("view", "cmdDownload"), caption);
    }

    void downloadWithAPortThatWillNotOpen()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-NGD"));
        b.session.PortNumber = 4;
        b.comm.setComDevice(4, QStringLiteral("/dev/no-such-serial-device"));
        auto *screen = b.forms.form<download>(QStringLiteral("download"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ngd.QNC"));
        QVERIFY(SaveConfigFile(path, b.session.rec, modelOf(u"QN4000-NGD")).ok);
        b.prompts.answerOpen(path);
        b.prompts.answerMessage(Prompts::Ok);
        QSignalSpy done(&screen->transfer(), &DownloadConfig::finished);
        b.button("download", "cmdDOWNLOAD")->click();
        QCOMPARE(done.size(), 1);
        QVERIFY(b.prompts.shown().last().text.startsWith(
            QStringLiteral("Unable to Open COM PORT to Quintrel!!, COM Error: ")));
        // The user is never stuck on the screen.
        QVERIFY(b.button("download", "cmdExit")->isEnabled());
        QVERIFY(!b.comm.isOpen(4));
    }

    // Every model: configure through the main form and every dialog it offers, save, open in a
    // fresh run: the same message and summary, but for what the model's file cannot hold.
    void roundTrip_data() { addModelRows(); }
    void roundTrip()
    {
        QFETCH(QString, model);
        const bool toshiba = model == QLatin1String("QN4000-EPV4");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rt.QNC"));
        QByteArray message;
        QStringList summary;
        {
            GuiBench b;
            b.chooseModel(model);
            editSomething(b);
            editDialogs(b);
            b.prompts.answerSave(path);
            expectOmissionNote(b, model);
            // The Toshiba layout takes the configuration menu's save and open away; the same
            // operations stay reachable (the main menu opens files for every model).
            QCOMPARE(menuAction(b, "save_file")->isEnabled(), !toshiba);
            if (toshiba)
                Save_THE_File(b.context);
            else
                menuAction(b, "save_file")->trigger();
            message = BuildConfigMessage(b.session.rec).bytes;
            summary = summaryPage(b.forms, b.session);
            QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        }
        GuiBench fresh;
        fresh.chooseModel(model);
        const QByteArray preset = BuildConfigMessage(fresh.session.rec).bytes;
        const QStringList presetSummary = summaryPage(fresh.forms, fresh.session);

        GuiBench b;
        b.chooseModel(model);
        b.prompts.answerOpen(path);
        if (toshiba)
            openConfigurationFile(b.context);
        else
            menuAction(b, "open_file")->trigger();
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QByteArray expected = message;
        // An empty channel C speed (0) loads as 9600, code 8: the file cannot tell them apart.
        if (quint8(expected.at(7 + 30)) == 0)
            expected[7 + 30] = 8;
        // What the file cannot hold comes back as the preset, and the dialogs did change it.
        const QList<int> lost = notInTheFile(model);
        bool changed = lost.isEmpty();
        for (int offset : lost) {
            changed |= expected[7 + offset] != preset[7 + offset];
            expected[7 + offset] = preset[7 + offset];
        }
        QVERIFY2(changed, "the dialogs changed nothing the file leaves out");
        expected.chop(2);
        expected += MessageChecksum(bodyOf(expected + "xx"));
        QCOMPARE(BuildConfigMessage(b.session.rec).bytes.toHex(' '), expected.toHex(' '));
        const QStringList now = summaryPage(b.forms, b.session);
        // The drive type is one of the Toshiba settings the file leaves out.
        const auto drive = [](const QStringList &lines) {
            return lines.filter(QRegularExpression(QStringLiteral("^TOSHIBA PROTOCOL: ")));
        };
        if (toshiba) {
            QCOMPARE(drive(summary), QStringList{QStringLiteral("TOSHIBA PROTOCOL: SUPER2E")});
            QCOMPARE(drive(now), drive(presetSummary));
            summary.replace(summary.indexOf(drive(summary).first()), drive(now).first());
        }
        QCOMPARE(now, summary);
    }

    // Every speed a model's lists offer comes back from its file as the same item and code
    // (the Siemens list's 115.2 once came back as 125.0, 230.4 kbaud could not be saved).
    void everyListedSpeedReopens_data()
    {
        QTest::addColumn<QString>("model");
        for (const ModelInfo &m : modelCatalog()) {
            if (m.code != QLatin1String("QN4000-EPV4")) // its layout takes the file items away
                QTest::newRow(qPrintable(m.code)) << m.code;
        }
    }
    void everyListedSpeedReopens()
    {
        QFETCH(QString, model);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("speed.QNC"));
        GuiBench b;
        b.chooseModel(model);
        QWidget *main = b.forms.form(QStringLiteral("main4000"));
        QStringList lists{"cboAsyncSpeed"};
        for (const char *n : {"cboNetworkSpeed", "cboNetworkSpeed2"}) {
            if (b.combo("main4000", n)->isVisibleTo(main))
                lists << QLatin1String(n);
        }
        for (const QString &list : std::as_const(lists)) {
            const QStringList items = [&] {
                QStringList l;
                for (int i = 0; i < b.combo("main4000", list.toLatin1())->count(); ++i)
                    l << b.combo("main4000", list.toLatin1())->itemText(i);
                return l;
            }();
            for (const QString &item : items) {
                QCoreApplication::sendPostedEvents(); // with the deferred deletes; a long queue slows every
                                                      // delete
                b.chooseModel(model);
                QVERIFY(selectText(b.combo("main4000", list.toLatin1()), item));
                const ConfigRecord saved = b.session.rec;
                b.prompts.answerSave(path);
                expectOmissionNote(b, model);
                menuAction(b, "save_file")->trigger();
                b.chooseModel(model);
                b.prompts.answerOpen(path);
                menuAction(b, "open_file")->trigger();
                QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
                const QString what = list + QStringLiteral(" ") + item;
                QVERIFY2(b.combo("main4000", list.toLatin1())->currentText() == item, qPrintable(what));
                QVERIFY2(b.session.rec.ChanBSpeed == saved.ChanBSpeed, qPrintable(what));
                QVERIFY2(b.session.rec.NetworkSpeed == saved.NetworkSpeed, qPrintable(what));
            }
        }
    }

    void applyRules_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("chanCSpeed");
        QTest::newRow("NGD, channel C code 0") << "QN4000-NGD" << 0;
        QTest::newRow("UCT, channel C code 255") << "QN4000-UCT" << 255;
        QTest::newRow("F7H, channel C code 255") << "QN4000-F7H" << 255;
    }
    void applyRules()
    {
        QFETCH(QString, model);
        GuiBench b;
        b.chooseModel(model);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.QNC"));
        ConfigRecord rec = b.session.rec;
        rec.BusType = {0, 0};                              // selects the standard layout whatever the model
        rec.StationNumber = 70;                            // out of the station list
        rec.ChanCSpeed = quint8(FETCHED(int, chanCSpeed)); // leaves the channel C lists
        rec.ChanBFormat = 32 | 64 | 2;                     // RS-422/485 bits on a model without that choice
        QVERIFY(SaveConfigFile(path, rec, modelOf(model)).ok);
        if (rec.ChanCSpeed == 0) {
            // A raw zero byte on line 7 loads as code 8; the number 0 is what stays 0.
            QList<QByteArray> lines = readFile(path).split('\n');
            lines[6] = "0\r";
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(lines.join('\n'));
        }
        const QString stationBefore = b.combo("main4000", "cboStationNumber")->currentText();
        const QString chanCBefore = b.combo("main4000", "cboAsyncSpeedC")->currentText();
        const QString modbusCBefore = b.combo("main4000", "cboChannelCSpeed")->currentText();
        QVERIFY(loadConfigurationFile(b.context, path));
        QVERIFY(b.button("main4000", "optKF2NGD")->isChecked());
        QCOMPARE(b.session.rec.BusType, (CharPair{0, 0}));
        QCOMPARE(b.combo("main4000", "cboStationNumber")->currentText(), stationBefore);
        QCOMPARE(b.combo("main4000", "cboAsyncSpeedC")->currentText(), chanCBefore);
        QCOMPARE(b.combo("main4000", "cboChannelCSpeed")->currentText(), modbusCBefore);
        b.forms.form(QStringLiteral("paramConfigB"))->show(); // it shows the record when opened
        QVERIFY(b.button("paramConfigB", "opt232")->isChecked());
        QCOMPARE(b.session.rec.ChanBFormat & (32 | 64), 0);
        QCOMPARE(b.session.rec.ChanBFormat & 2, 2);
    }

    void unreadableFileChangesNothing()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-WOLTA"));
        editSomething(b);
        const ConfigRecord before = b.session.rec;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("short.QNC"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"\\x00\"\r\n5\r\n");
        f.close();
        b.prompts.answerOpen(path);
        b.prompts.answerMessage(Prompts::Ok);
        menuAction(b, "open_file")->trigger();
        QVERIFY(b.prompts.shown().last().text.contains(QStringLiteral("short.QNC")));
        QVERIFY(b.prompts.shown().last().text.contains(
            QStringLiteral("This file holds 2 values; a QN4000-WOLTA configuration has 16")));
        QVERIFY(b.session.rec == before);
    }

    // A file of another model whose count passes for whole configurations of this one is
    // applied only on a Yes; the default No leaves the configuration, and the unit, as they
    // were.
    void anotherModelsFile_data()
    {
        QTest::addColumn<QString>("way"); // open, download
        QTest::addColumn<int>("answer");
        QTest::newRow("open, No") << "open" << int(Prompts::No);
        QTest::newRow("open, Yes") << "open" << int(Prompts::Yes);
        QTest::newRow("download, No") << "download" << int(Prompts::No);
    }
    void anotherModelsFile()
    {
        QFETCH(QString, way);
        const auto answer = Prompts::Answer(FETCHED(int, answer));
        Unit unit(QStringLiteral("QN6000-UCT"));
        QVERIFY(unit.ok);
        const QByteArray stored = unit.sim->eeprom();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lbw.QNC"));
        ConfigRecord lbw;
        lbw.applyFreshConfiguration();
        QVERIFY(SaveConfigFile(path, lbw, modelOf(u"QN4000-LBW")).ok);

        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(QStringLiteral("QN6000-UCT"));
        b.button(Menu, "optCom1")->click();
        editSomething(b);
        const ConfigRecord before = b.session.rec;
        b.prompts.answerOpen(path);
        b.prompts.answerMessage(answer, QStringLiteral("Another Model"));
        // An LBW file's values read as a UCT's are not all ones its lists can show.
        if (answer == Prompts::Yes)
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Values Not Taken"));
        if (way == QLatin1String("open")) {
            menuAction(b, "open_file")->trigger();
        } else {
            b.button(Menu, "cmdDOWNLOAD")->click();
            b.button("download", "cmdDOWNLOAD")->click();
        }
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        const QList<ScriptedPrompts::Shown> shown = b.prompts.shown();
        const auto question = std::find_if(shown.cbegin(), shown.cend(), [](const ScriptedPrompts::Shown &s) {
            return s.title.contains(QLatin1String("Another Model"));
        });
        QVERIFY(question != shown.cend());
        const ScriptedPrompts::Shown asked = *question;
        QCOMPARE(asked.buttons, Prompts::Buttons::YesNoDefaultNo);
        QVERIFY2(asked.text.contains(QLatin1String("Line 32 of this file holds a number where a QN6000-UCT "
                                                   "configuration has a quoted text")) &&
                     asked.text.endsWith(QLatin1String("It fits the layout of QN4000-LBW, QN6000-LBW. Open "
                                                       "it anyway?")),
                 qPrintable(asked.text));
        QCOMPARE(b.session.rec == before, answer == Prompts::No);
        QCOMPARE(unit.sim->eeprom(), stored);
        QVERIFY(!b.comm.isOpen(1));
    }

    // The real box: Enter and Escape answer No where No is the default, while a plain Yes/No
    // question keeps Yes on Enter.
    void defaultNoOnTheScreen_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        using B = Prompts::Buttons;
        QTest::newRow("Enter, default No")
            << int(B::YesNoDefaultNo) << int(Qt::Key_Return) << int(Prompts::No);
        QTest::newRow("Escape, default No")
            << int(B::YesNoDefaultNo) << int(Qt::Key_Escape) << int(Prompts::No);
        QTest::newRow("Enter, plain Yes/No") << int(B::YesNo) << int(Qt::Key_Return) << int(Prompts::Yes);
    }
    void defaultNoOnTheScreen()
    {
        QtPrompts prompts;
        const auto key = Qt::Key(FETCHED(int, key));
        QTimer::singleShot(0, [key] {
            if (QWidget *box = QApplication::activeModalWidget())
                QTest::keyClick(box, key);
        });
        QCOMPARE(int(prompts.message(QStringLiteral("Open it anyway?"), QStringLiteral("t"),
                                     Prompts::Buttons(FETCHED(int, buttons)), Prompts::Icon::Exclamation)),
                 FETCHED(int, answer));
    }

    // What the EPV4's and RW31's files leave out is said once wherever such a file is written
    // or sent.
    void fileLacksSaidOnce_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("way"); // save, exit, upload, download
        QTest::addColumn<QString>("lacks");
        for (const char *way : {"save", "exit", "upload", "download"}) {
            QTest::addRow("EPV4 %s", way) << "QN4000-EPV4" << way << "Toshiba drive settings";
            QTest::addRow("RW31 %s", way) << "QN4000-RW31" << way << "PLC file number";
        }
    }
    void fileLacksSaidOnce()
    {
        QFETCH(QString, model);
        QFETCH(QString, way);
        Unit unit(model);
        QVERIFY(unit.ok);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.QNC"));
        GuiBench b;
        unit.plugInto(b);
        b.chooseModel(model);
        b.button(Menu, "optCom1")->click();
        if (way == QLatin1String("download")) {
            QVERIFY(SaveConfigFile(path, b.session.rec, modelOf(model)).ok);
            b.button(Menu, "cmdDOWNLOAD")->click();
            b.prompts.answerOpen(path);
            b.prompts.answerMessage(Prompts::Ok, NotInTheFile);
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Press Reset Button"));
            QSignalSpy done(&b.forms.form<download>(QStringLiteral("download"))->transfer(),
                            &DownloadConfig::finished);
            b.button("download", "cmdDOWNLOAD")->click();
            QVERIFY(done.wait(8000));
        } else if (way == QLatin1String("upload")) {
            b.button(Menu, "cmdUPLOAD")->click();
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("PUSHBUTTON"));
            b.prompts.answerSave(path);
            // A factory-fresh unit holds speed codes no list shows: said before the note.
            b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Values Not Taken"));
            b.prompts.answerMessage(Prompts::Ok, NotInTheFile);
            QSignalSpy ended(b.forms.form<upload>(QStringLiteral("upload")), &upload::uploadEnded);
            b.button("upload", "cmdUpload")->click();
            QVERIFY(ended.wait(8000));
        } else {
            if (way == QLatin1String("exit")) {
                b.forms.show(QStringLiteral("view"));
                b.prompts.answerMessage(Prompts::Yes, QStringLiteral("Save Configuration"));
            }
            b.prompts.answerSave(path);
            b.prompts.answerMessage(Prompts::Ok, NotInTheFile);
            if (way == QLatin1String("exit"))
                b.button("view", "cmdEXIT")->click();
            else
                Save_THE_File(b.context);
        }
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QVERIFY(QFile::exists(path));
        const QList<ScriptedPrompts::Shown> notes = [&] {
            QList<ScriptedPrompts::Shown> n;
            for (const ScriptedPrompts::Shown &s : b.prompts.shown())
                if (s.title == NotInTheFile)
                    n << s;
            return n;
        }();
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes.first().text.contains(FETCHED(QString, lacks)), qPrintable(notes.first().text));
        QCOMPARE(notes.first().icon, Prompts::Icon::Information);
    }

    // The summary's page, on a printer the user picks in the print dialog or, with none, in a
    // PDF file offered under the model and the day: one page, its text still text (no picture
    // of the form), dark on white whatever the screen's theme, without the screen's buttons
    // and status line; the user is told where it went.
    void printsOnePage_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<bool>("dark");
        QTest::newRow("PDF file, light theme") << false << false;
        QTest::newRow("PDF file, dark theme") << false << true;
        QTest::newRow("printer, light theme") << true << false;
        QTest::newRow("printer, dark theme") << true << true;
    }
    void printsOnePage()
    {
        QFETCH(bool, printer);
        QFETCH(bool, dark);
        const QPalette screen = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(screen); });
        if (dark)
            QApplication::setPalette(darkTheme());
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        b.forms.show(QStringLiteral("view"));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("summary.pdf"));
        int copies = 0;
        if (printer) {
            b.printer.setPrintDialog([&](QPrinter &p) {
                copies = p.copyCount();
                p.setOutputFileName(pdf);
                return true;
            });
        } else {
            b.prompts.answerSave(pdf);
        }
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Summary Printed"));
        b.button("view", "cmdPrintConf")->click();
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QVERIFY2(b.prompts.shown().last().text.contains(pdf), qPrintable(b.prompts.shown().last().text));
        if (printer) {
            QCOMPARE(copies, 1);
        } else {
            const Prompts::FileRequest asked = b.prompts.shown().first().request;
            QCOMPARE(asked.fileName,
                     QStringLiteral("QN4000-PXA-%1.pdf").arg(QDate::currentDate().toString(Qt::ISODate)));
            QCOMPARE(asked.directory, QDir::homePath());
        }
        const QByteArray bytes = readFile(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
                 1);
        const auto run = [](const QString &tool, const QStringList &args) {
            QProcess p;
            p.start(tool, args);
            if (!p.waitForFinished(20000) || p.exitCode() != 0)
                qFatal("%s (poppler-utils, from scripts/install-deps) failed", qPrintable(tool));
            return QString::fromUtf8(p.readAllStandardOutput());
        };
        const QString words = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const char *shown :
             {"CONFIGURATION SUMMARY", "STATION NUMBER", "QN4000-PXA", "CHANNEL B PROTOCOL"})
            QVERIFY2(words.contains(QLatin1String(shown)), shown);
        for (const char *screenOnly : {"PRINT Summary", "CHANGE These", "DOWNLOAD These", "Return to Main",
                                       "STATUS", "Click on the above button"})
            QVERIFY2(!words.contains(QLatin1String(screenOnly)), screenOnly);
        // Text in fonts, and no picture of the form.
        QVERIFY(run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() >
                2);
        QCOMPARE(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                     .size(),
                 2); // the heading lines only

        QProcess picture;
        picture.start(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"),
                       QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        QVERIFY(picture.waitForFinished(20000) && picture.exitCode() == 0);
        const QImage page(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        qint64 grey = 0;
        int darkest = 255;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                grey += qGray(page.pixel(x, y));
                darkest = qMin(darkest, qGray(page.pixel(x, y)));
            }
        QVERIFY2(grey / (page.width() * page.height()) > 200, "the page is not white");
        QVERIFY2(darkest < 100, "nothing dark on the page");
    }

    // The print dialog opens on the paper of the user's locale; a cancel there prints nothing
    // and says nothing.
    void printDialogPaperAndCancel_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("paper");
        QTest::newRow("en_US") << "en_US" << int(QPageSize::Letter);
        QTest::newRow("en_CA") << "en_CA" << int(QPageSize::Letter);
        QTest::newRow("de_DE") << "de_DE" << int(QPageSize::A4);
        QTest::newRow("en_GB") << "en_GB" << int(QPageSize::A4);
    }
    void printDialogPaperAndCancel()
    {
        const QLocale before;
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        QLocale::setDefault(QLocale(FETCHED(QString, locale)));
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        int paper = -1;
        b.printer.setPrintDialog([&](QPrinter &p) {
            paper = p.pageLayout().pageSize().id();
            return false;
        });
        QVERIFY(!printSummary(b.context));
        QCOMPARE(paper, FETCHED(int, paper));
        QVERIFY(b.prompts.shown().isEmpty());
    }

    // The configuration file dialogs start in the folder of the last file chosen in one of
    // them; the summary's PDF dialog in the folder of the last PDF. A cancel changes neither.
    void dialogsStartInTheLastFolder_data()
    {
        QTest::addColumn<QString>("first");  // open, save or print
        QTest::addColumn<QString>("chosen"); // the folder chosen in it; empty for a cancel
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("startsIn"); // that folder, or empty for the home folder
        QTest::newRow("open, then save") << "open"
                                         << "a"
                                         << "save"
                                         << "a";
        QTest::newRow("save, then open") << "save"
                                         << "a"
                                         << "open"
                                         << "a";
        QTest::newRow("cancelled open") << "open"
                                        << ""
                                        << "save"
                                        << "";
        QTest::newRow("print, then print") << "print"
                                           << "a"
                                           << "print"
                                           << "a";
        QTest::newRow("print, then save") << "print"
                                          << "a"
                                          << "save"
                                          << "";
        QTest::newRow("save, then print") << "save"
                                          << "a"
                                          << "print"
                                          << "";
    }
    void dialogsStartInTheLastFolder()
    {
        QFETCH(QString, first);
        QFETCH(QString, chosen);
        QFETCH(QString, then);
        QFETCH(QString, startsIn);
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a")));
        const QString file = dir.filePath(QStringLiteral("a/unit.QNC"));
        QVERIFY(SaveConfigFile(file, b.session.rec, modelOf(u"QN4000-PXA")).ok);
        const auto use = [&](const QString &dialog, const QString &path) {
            if (dialog == QLatin1String("open")) {
                b.prompts.answerOpen(path);
                menuAction(b, "open_file")->trigger();
            } else if (dialog == QLatin1String("save")) {
                b.prompts.answerSave(path);
                menuAction(b, "save_file")->trigger();
            } else {
                b.prompts.answerSave(path.isEmpty() ? path : path + QStringLiteral(".pdf"));
                if (!path.isEmpty())
                    b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Summary Printed"));
                b.button("view", "cmdPrintConf")->click();
            }
        };
        use(first, chosen.isEmpty() ? QString() : file);
        use(then, QString());
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QCOMPARE(b.prompts.shown().last().request.directory,
                 startsIn.isEmpty() ? QDir::homePath() : dir.filePath(startsIn));
    }

    void exitQuestion()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        b.forms.show(QStringLiteral("view"));
        b.prompts.answerMessage(Prompts::No, QStringLiteral("Save Configuration"));
        b.button("view", "cmdEXIT")->click();
        QVERIFY(b.forms.existing(QStringLiteral("view"))->isHidden());
        QVERIFY(!b.forms.existing(QLatin1String(Menu))->isHidden());
        QCOMPARE(b.prompts.shown().last().text,
                 QStringLiteral("Do you wish to save the Configuration Settings?"));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
