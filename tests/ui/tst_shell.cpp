// SPDX-License-Identifier: GPL-3.0-or-later
#include "apply/applyloaded.h"
#include "config/modelcatalog.h"
#include "files/configfile.h"
#include "frame/formutil.h"
#include "message/configmessage.h"
#include "serial/portinfo.h"
#include "shell/devicechooser.h"
#include "shell/model_freestand.h"
#include "shell/welcome.h"
#include "shell/welcome1.h"
#include "simulator/convertersim.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "support/formstate.h"
#include "support/guibench.h"
#include "support/testdata.h"

namespace {

const char *const Menu = "Welcome1";

bool shown(QWidget *w)
{
    return w && !w->isHidden();
}

// The mode options a user can reach: those not hidden, left to right.
QList<QWidget *> modeRow(GuiBench &b)
{
    QList<QWidget *> row;
    for (auto *o : b.control<QWidget>("main4000", "frmMode")->findChildren<QRadioButton *>()) {
        if (!o->isHidden())
            row << o;
    }
    std::sort(row.begin(), row.end(), [](QWidget *l, QWidget *r) { return l->x() < r->x(); });
    return row;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList items(QComboBox *c)
{
    QStringList l;
    for (int i = 0; c && i < c->count(); ++i)
        l << c->itemText(i);
    return l;
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startWindowLeadsOn()
    {
        GuiBench b;
        b.forms.show(QStringLiteral("Welcome"));
        // The version the build sets, in the caption and in the about box.
        QCOMPARE(b.forms.existing(QStringLiteral("Welcome"))->windowTitle(),
                 QStringLiteral("QNCF - FreeStanding  - Configuration Program - V" QNCF_VERSION));
        b.button("Welcome", "Command4")->click();
        QVERIFY(b.forms.existing(QStringLiteral("Welcome"))->isHidden());
        QVERIFY(shown(b.forms.existing(QStringLiteral("model_freestand"))));
        QCOMPARE(b.session.rec.FamilyCode, QStringLiteral("4000"));

        b.button("model_freestand", "Command10")->click();
        QVERIFY(shown(b.forms.existing(QStringLiteral("Welcome"))));
        QTRY_VERIFY(!b.forms.existing(QStringLiteral("model_freestand")));

        b.button("Welcome", "Command3")->click();
        QVERIFY(shown(b.forms.existing(QStringLiteral("about"))));
        QCOMPARE(b.control<QLabel>("about", "lblVersion")->text(), QStringLiteral("Version " QNCF_VERSION));
        QVERIFY(
            b.control<QLabel>("about", "lblLicense")->text().startsWith(QLatin1String("License GPLv3+: ")));
        b.button("about", "Command1")->click();
        QVERIFY(shown(b.forms.existing(QStringLiteral("Welcome"))));
        QVERIFY(!b.forms.isLoaded(QStringLiteral("about")));
    }

    // Enter presses the focused button of the start window and the about box; Escape is the
    // about box's OK.
    void keysOnStartAndAbout_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("leadsTo");
        QTest::newRow("Enter on About") << "Welcome"
                                        << "Command3" << int(Qt::Key_Return) << "about";
        QTest::newRow("keypad Enter on ALL MODELS") << "Welcome"
                                                    << "Command4" << int(Qt::Key_Enter) << "model_freestand";
        QTest::newRow("Enter on OK") << "about"
                                     << "Command1" << int(Qt::Key_Return) << "Welcome";
        QTest::newRow("Escape") << "about"
                                << "Command1" << int(Qt::Key_Escape) << "Welcome";
        QTest::newRow("Enter on a model") << "model_freestand"
                                          << "cmdEpv4" << int(Qt::Key_Return) << "Welcome1";
    }
    void keysOnStartAndAbout()
    {
        QFETCH(QString, form);
        GuiBench b;
        b.forms.show(form);
        QWidget *w = b.forms.existing(form);
        auto *button = CrossForm(b.forms).button(form, FETCHED(QString, button));
        button->setFocus();
        QTest::keyClick(button, Qt::Key(FETCHED(int, key)));
        QVERIFY(shown(b.forms.existing(FETCHED(QString, leadsTo))));
        QVERIFY(!b.forms.existing(form) || w->isHidden());
    }

    void menuBeforeAPortTest()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        QWidget *menu = b.forms.existing(QLatin1String(Menu));
        QVERIFY(shown(menu));
        QVERIFY(!b.forms.isLoaded(QStringLiteral("model_freestand")));
        QCOMPARE(b.text(Menu, "lblComPort2"), QStringLiteral("-"));
        for (const char *n : {"cmdUpdate", "cmdUPLOAD", "cmdDOWNLOAD", "cmdBurn", "cmdOnline"})
            QVERIFY2(!b.control<QWidget>(Menu, n)->isEnabledTo(menu), n);
        for (const char *n : {"optCom1", "optCom4", "Command2", "Command3"})
            QVERIFY2(b.control<QWidget>(Menu, n)->isEnabledTo(menu), n);
        // The first generation offers COM1 to COM4 only, each naming its device.
        QVERIFY(b.control<QWidget>(Menu, "optCom5")->isHidden());
        QCOMPARE(b.control<DeviceChooser>(Menu, "cboComDevice_1")->device(),
                 b.comm.deviceForName(QStringLiteral("COM2")));
    }

    // The chooser shows an adapter as a person tells it, and chooses it by its stable name.
    void deviceChooserShowsTheAdapter()
    {
        const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
        setSerialPortLister([byId] {
            SerialPortEntry e;
            e.path = QStringLiteral("/dev/ttyUSB0");
            e.byId = byId;
            e.description = QStringLiteral("FT232R USB UART");
            e.manufacturer = QStringLiteral("FTDI");
            e.serialNumber = QStringLiteral("A50285BI");
            e.adapter = true;
            return QList<SerialPortEntry>{e};
        });
        const auto restore = qScopeGuard([] { setSerialPortLister({}); });
        DeviceChooser c;
        QSignalSpy chosen(&c, &DeviceChooser::deviceChosen);
        c.resize(600, 24);
        c.show();
        c.setDevice(byId);
        const QString label = QStringLiteral("ttyUSB0 — FT232R USB UART (FTDI, A50285BI)");
        QCOMPARE(c.currentText(), label);
        QVERIFY(c.toolTip().startsWith(byId + QStringLiteral("\n/dev/ttyUSB0")));
        c.resize(120, 24); // as narrow as in the menu's row: cut in the middle
        QVERIFY2(c.currentText().startsWith(QStringLiteral("tty")) &&
                     c.currentText().endsWith(QStringLiteral(")")) && c.currentText().contains(QChar(0x2026)),
                 qPrintable(c.currentText()));
        QCOMPARE(c.device(), byId);
        QVERIFY(chosen.isEmpty());

        c.setDevice(QStringLiteral("/dev/ttyS0"));
        c.refresh();
        QCOMPARE(c.itemText(0), label);
        Q_EMIT c.activated(0);
        QCOMPARE(chosen.takeFirst().at(0).toString(), byId);

        c.lineEdit()->setText(QStringLiteral("/dev/ttyACM3"));
        QTest::keyClick(c.lineEdit(), Qt::Key_Return);
        QCOMPARE(chosen.takeFirst().at(0).toString(), QStringLiteral("/dev/ttyACM3"));
        QCOMPARE(c.device(), QStringLiteral("/dev/ttyACM3"));
        QCOMPARE(c.currentText(), QStringLiteral("ttyACM3"));
        QVERIFY(chosen.isEmpty());
    }

    void failedPortTest()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        b.comm.setComDevice(3, QStringLiteral("/dev/no-such-serial-device"));
        b.prompts.answerMessage(Prompts::Ok);
        b.button(Menu, "optCom3")->click();
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QVERIFY(b.prompts.shown().last().text.startsWith(
            QStringLiteral("COM Error: Error (2): CommOpen (CreateFile) - ")));
        QCOMPARE(b.text(Menu, "lblComPort2"), QStringLiteral("-"));
        QVERIFY(b.button(Menu, "optNONE")->isChecked());
        QVERIFY(!b.button(Menu, "optCom3")->isChecked());
        QVERIFY(!b.control<QWidget>(Menu, "frmCONFIG")->isEnabled());
    }

    void goodPortTest()
    {
        SimOptions options;
        options.model = QStringLiteral("QN4000-PXA");
        ConverterSim sim(options);
        QString why;
        QVERIFY2(sim.open(&why), qPrintable(why));
        GuiBench b;
        b.comm.setComDevice(2, sim.devicePath());
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        b.button(Menu, "optCom2")->click();
        QVERIFY2(b.prompts.shown().isEmpty(), qPrintable(b.prompts.problems()));
        QCOMPARE(b.session.PortNumber, 2);
        QCOMPARE(b.text(Menu, "lblComPort2"), QStringLiteral("2"));
        QVERIFY(!b.comm.isOpen(2)); // tested, then closed again
        QWidget *menu = b.forms.existing(QLatin1String(Menu));
        QVERIFY(b.control<QWidget>(Menu, "frmCONFIG")->isEnabledTo(menu));
        QCOMPARE(b.control<QWidget>(Menu, "cmdUpdate")->isEnabledTo(menu),
                 b.forms.isDefined(QStringLiteral("main4000")));
        // Screens that are not part of the program yet stay out of reach.
        QCOMPARE(b.control<QWidget>(Menu, "cmdUPLOAD")->isEnabledTo(menu),
                 b.forms.isDefined(QStringLiteral("upload")));
        QVERIFY(!b.control<QWidget>(Menu, "cmdOnline")->isEnabledTo(menu));
    }

    void ngdFlashQuestion_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("length");
        QTest::newRow("old unit") << "QN4000-NGD" << int(Prompts::Yes) << 54;
        QTest::newRow("flash unit") << "QN4000-NGD" << int(Prompts::No) << 66;
        // A model choice starts a new record, whose reply length is not set.
        QTest::newRow("QN6000 does not ask") << "QN6000-NGD" << 0 << 0;
    }
    void ngdFlashQuestion()
    {
        GuiBench b;
        QFETCH(int, answer);
        b.session.rec.UploadReplyLength = 12345;
        if (answer)
            b.prompts.answerMessage(Prompts::Answer(answer),
                                    QStringLiteral("!CHECK QN4000 MODEL and SERIAL NUMBER!"));
        b.forms.form<model_freestand>(QStringLiteral("model_freestand"))
            ->chooseModel(FETCHED(QString, model));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        QCOMPARE(b.session.rec.UploadReplyLength, FETCHED(int, length));
        if (answer)
            QCOMPARE(b.prompts.shown().first().text,
                     QStringLiteral("Is this a non flash QN4000? Model does not have a -F and the serial "
                                    "number is before 3100"));
    }

    void hoverDescribesTheModel()
    {
        GuiBench b;
        auto *form = b.forms.form(QStringLiteral("model_freestand"));
        QLabel *description = b.control<QLabel>("model_freestand", "lblDescription");
        QCOMPARE(description->text(), QStringLiteral("Select Freestanding Model Below:"));
        for (const ModelInfo &m : modelCatalog()) {
            description->setText(QStringLiteral("before"));
            QWidget *button = form->findChild<QWidget *>(m.button);
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QCoreApplication::sendEvent(button, &enter);
            const QString expected =
                m.button == QLatin1String("cmdYZE") ? QStringLiteral("before") : m.description;
            QCOMPARE(description->text(), expected);
            QCOMPARE(button->toolTip(), m.description);
        }
    }

    // Every model: identity, captions, speed lists, the mode row and the dialogs' frames.
    void models_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("speedsAdded");
        QTest::addColumn<QString>("ownMode");
        QTest::addColumn<bool>("rts");
        QTest::addColumn<bool>("qn6000Frame");
        const QStringList fast = {"38.4", "57.6", "115.2"};
        auto row = [](const char *m, QStringList speeds, const char *mode, bool rts, bool frame) {
            QTest::newRow(m) << QString::fromLatin1(m) << speeds << QString::fromLatin1(mode) << rts << frame;
        };
        row("QN4000-JMR", {}, "optJMR", true, false);
        row("QN4000-EPV4", fast, "optEPV4", true, false);
        row("QN4000-WOLTA", {"38.4", "93.75", "115.2", "125.0", "187.5", "230.4"}, "optWOLTA", true, false);
        row("QN4000-RW31", {}, "optTBQ", false, false);
        row("QN4000-QOF", {}, "optTBQ", false, false);
        row("QN4000-HNV", {}, "optTBQ", false, false);
        row("QN4000-PXA", {"38.4", "57.6", "115.2", "230.4"}, "optPXA", true, false);
        row("QN4000-TBQ", {"57.6"}, "optTBQ", false, false);
        row("QN4000-YZE", {"57.6"}, "optTBQ", false, false);
        row("QN4000-F7H", fast, "optF7H", false, false);
        row("QN4000-NGD", {"57.6"}, "optNGD", false, false); // the standard layout hides it
        row("QN4000-UCT", {"57.6"}, "optUCT", false, false);
        row("QN4000-LBW", fast, "optLBW", false, false);
        row("QN6000-XAJ", fast, "optUCT", false, true);
        row("QN6000-YZE", fast, "optTBQ", false, false);
        row("QN6000-LBW", fast, "optLBW", false, true);
        row("QN6000-UCT", fast, "optUCT", false, false);
        row("QN6000-NGD", fast, "optNGD", false, true);
    }
    void models()
    {
        QFETCH(QString, model);
        QFETCH(QString, ownMode);
        GuiBench b;
        b.chooseModel(model);
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
        const ModelInfo *m = findModel(model);
        QCOMPARE(b.session.rec.ConfigLength, m->configLength);
        QCOMPARE(int(b.session.rec.ProductCode), m->productCode);
        QCOMPARE(b.session.rec.FamilyCode, model.left(6).mid(2)); // "4000" or "6000"
        QCOMPARE(b.forms.form(QStringLiteral("main4000"))->windowTitle(),
                 QStringLiteral("Configuration of [%1] - MAIN MENU").arg(model));
        QCOMPARE(b.text("view", "txtModel"), model);

        const QStringList design = {"300", "600", "1200", "2400", "4800", "9600", "19.2"};
        QCOMPARE(items(b.combo("main4000", "cboAsyncSpeed")), design + FETCHED(QStringList, speedsAdded));
        const QStringList net = {"57.6", "115.2"};
        QCOMPARE(items(b.combo("main4000", "cboNetworkSpeed")),
                 m->generation == 6000 ? net + QStringList{"230.4"} : net);

        // The mode row: the standard mode at the left, the model's own at the right.
        QWidget *kf2 = b.control<QWidget>("main4000", "optKF2NGD");
        QWidget *own = b.control<QWidget>("main4000", ownMode.toLatin1().constData());
        QVERIFY(shown(kf2) && shown(own));
        QCOMPARE(kf2->pos(), QPoint(twips(240), twips(240)));
        QCOMPARE(own->pos(), QPoint(twips(4560), twips(240)));
        QVERIFY(static_cast<QAbstractButton *>(own)->isChecked() ||
                static_cast<QAbstractButton *>(kf2)->isChecked());
        QCOMPARE(modeRow(b), (QList<QWidget *>{kf2, own}));

        QCOMPARE(!b.control<QWidget>("df_Param", "frmRTS")->isHidden(), FETCHED(bool, rts));
        QCOMPARE(!b.control<QWidget>("paramConfigB", "frmQN6000")->isHidden(), FETCHED(bool, qn6000Frame));
        QVERIFY(shown(b.forms.existing(QLatin1String(Menu))));

        // Where the high-address row shows, the list, the summary and the record agree.
        QComboBox *high = b.combo("main4000", "cboHighAddress");
        if (high->isVisibleTo(b.forms.form(QStringLiteral("main4000"))) &&
            b.text("main4000", "lblHighAddress") == QLatin1String("HIGH ADDRESS")) {
            QCOMPARE(high->currentText(), QString::number(b.session.rec.HighAddress, 8));
            QCOMPARE(b.text("view", "txtHighAddress"), high->currentText());
        }
        // The network protocol the layout leaves, run through the option it selected.
        const QString protocol =
            model == QLatin1String("QN4000-JMR") || model.endsWith(QLatin1String("EPV4")) ||
                    model.endsWith(QLatin1String("WOLTA"))
                ? QStringLiteral("AB - DH+")
            : model.endsWith(QLatin1String("UCT")) || model.endsWith(QLatin1String("XAJ"))
                ? QStringLiteral("RIO")
                : QStringLiteral("DH+");
        QCOMPARE(b.text("view", "txtProtocola"), protocol);
        if (model == QLatin1String("QN4000-JMR"))
            QCOMPARE(b.text("main4000", "frmNetProt"), QStringLiteral("AB DH+ NETWORK PARAMETERS"));
        QComboBox *station = b.combo("main4000", "cboStationNumber");
        if (station->isVisibleTo(b.forms.form(QStringLiteral("main4000"))))
            QCOMPARE(station->currentText(), QString::number(b.session.rec.StationNumber, 8));
    }

    // Arrow keys move between the two options of the mode row and never reach the others.
    void arrowKeysStayInTheModeRow_data()
    {
        QTest::addColumn<QString>("model");
        for (const char *m : {"QN4000-PXA", "QN4000-NGD", "QN4000-WOLTA", "QN6000-XAJ"})
            QTest::newRow(m) << QString::fromLatin1(m);
    }
    void arrowKeysStayInTheModeRow()
    {
        GuiBench b;
        b.chooseModel(FETCHED(QString, model));
        QWidget *main = b.forms.form(QStringLiteral("main4000"));
        b.forms.hide(QLatin1String(Menu));
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main));
        const QList<QWidget *> row = modeRow(b);
        QCOMPARE(row.size(), 2);
        row.last()->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Right,
                            Qt::Key_Left, Qt::Key_Left, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QAbstractButton *checked = nullptr;
            for (auto *o : b.control<QWidget>("main4000", "frmMode")->findChildren<QRadioButton *>()) {
                if (o->isChecked())
                    checked = o;
            }
            QVERIFY(checked);
            QVERIFY2(row.contains(checked), qPrintable(checked->objectName()));
        }
    }

    // A model choice is a new configuration: after any other model, by any way back to the
    // model selection, the same model gives the same forms and the same bytes.
    void nothingLeaksFromAnEarlierModel_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("before");
        for (const ModelInfo &m : modelCatalog())
            QTest::newRow(qPrintable(m.code))
                << m.code
                << (m.code == QLatin1String("QN4000-WOLTA") ? QStringLiteral("QN6000-LBW")
                                                            : QStringLiteral("QN4000-WOLTA"));
    }
    void nothingLeaksFromAnEarlierModel()
    {
        QFETCH(QString, model);
        const QStringList forms = {"main4000", "view", "paramConfigB", "paramConfigC", "df_Param"};
        GuiBench fresh;
        fresh.chooseModel(model);
        GuiBench b;
        b.chooseModel(FETCHED(QString, before));
        selectText(b.combo("main4000", "cboAsyncSpeed"), QStringLiteral("115.2"));
        b.button("paramConfigB", "optYes")->click();
        b.forms.existing(QLatin1String(Menu))->close(); // its close box leads back to the models
        QVERIFY(shown(b.forms.existing(QStringLiteral("model_freestand"))));
        b.chooseModel(model);
        QCOMPARE(BuildConfigMessage(b.session.rec).bytes.toHex(' '),
                 BuildConfigMessage(fresh.session.rec).bytes.toHex(' '));
        for (const QString &f : forms)
            QCOMPARE(formState(b.forms.form(f)), formState(fresh.forms.form(f)));
    }

    // A control name that a defined form lacks is a fault of the program, never a quiet no-op;
    // a form that is not part of the program is passed over.
    void crossFormMisses()
    {
        GuiBench b;
        b.forms.setStrict(false); // report, do not stop, so the report can be seen
        CrossForm forms(b.forms);
        QTest::ignoreMessage(QtCriticalMsg, "form main4000 has no control named cboNoSuchList");
        QVERIFY(!forms.widget(QStringLiteral("main4000"), QStringLiteral("cboNoSuchList")));
        QTest::ignoreMessage(QtCriticalMsg, "form main4000 has no QComboBox named frmMode");
        QVERIFY(!forms.combo(QStringLiteral("main4000"), QStringLiteral("frmMode")));
        QVERIFY(!forms.widget(QStringLiteral("no_such_form"), QStringLiteral("anything")));
        // Reading where the form's creation matters leaves a form that does not exist alone.
        QVERIFY(!forms.ifLoaded(QStringLiteral("view"), QStringLiteral("txtModel")));
        QVERIFY(!b.forms.isLoaded(QStringLiteral("view")));
    }

    // A file opened from the desktop: the models it fits come first, and once a model and a
    // port are chosen the configuration form opens with the file applied.
    void fileNamedAtStart()
    {
        const ModelInfo &model = modelOf(u"QN6000-UCT");
        ConfigRecord rec = freshConfiguration(model);
        rec.ProtoParam[3] = 7;
        rec.ProtoParam[12] = 250;
        QByteArray bytes;
        QVERIFY(configFileBytes(rec, model, &bytes).ok);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plant.QNC"));
        QVERIFY(writeFile(path, bytes));
        SimOptions options;
        options.model = model.code;
        ConverterSim sim(options);
        QString why;
        QVERIFY2(sim.open(&why), qPrintable(why));

        GuiBench b;
        b.comm.setComDevice(1, sim.devicePath());
        startWithFile(b.context, path);
        auto *selection = b.forms.existing(QStringLiteral("model_freestand"));
        QVERIFY(shown(selection));
        QVERIFY(!shown(b.forms.existing(QStringLiteral("Welcome"))));
        QCOMPARE(selection->windowTitle(), QStringLiteral("Open plant.QNC as which model?"));
        QStringList marked;
        for (const ModelInfo &m : modelCatalog())
            if (b.control<QWidget>("model_freestand", qPrintable(m.button))->font().bold())
                marked << m.code;
        QCOMPARE(marked, QStringList({QStringLiteral("QN4000-UCT"), QStringLiteral("QN6000-UCT")}));
        QCOMPARE(selection->focusWidget(), b.control<QWidget>("model_freestand", "Command7")); // QN4000-UCT

        b.chooseModel(model.code);
        b.button(Menu, "optCom1")->click();
        QVERIFY2(b.prompts.shown().isEmpty(), qPrintable(b.prompts.problems()));
        QVERIFY(shown(b.forms.existing(QStringLiteral("main4000"))));
        QVERIFY(!shown(b.forms.existing(QLatin1String(Menu))));
        QCOMPARE(int(b.session.rec.ProtoParam[12]), 250);
        // The same configuration as the menu's "Configure/Open File" gives from the same file.
        GuiBench menu;
        menu.comm.setComDevice(1, sim.devicePath());
        menu.chooseModel(model.code);
        menu.button(Menu, "optCom1")->click();
        menu.prompts.answerMessage(Prompts::Yes, QStringLiteral("Open Existing"));
        menu.prompts.answerOpen(path);
        menu.button(Menu, "cmdUpdate")->click();
        QVERIFY2(menu.prompts.allAnswered(), qPrintable(menu.prompts.problems()));
        QByteArray applied, opened;
        QVERIFY(configFileBytes(b.session.rec, model, &applied).ok);
        QVERIFY(configFileBytes(menu.session.rec, model, &opened).ok);
        QCOMPARE(applied, opened);
        // Opened once: the model selection is as designed when it is shown again.
        b.forms.show(QStringLiteral("model_freestand"));
        QCOMPARE(b.forms.existing(QStringLiteral("model_freestand"))->windowTitle(),
                 QStringLiteral("Model Selection - Freestanding Units"));
        QVERIFY(!b.control<QWidget>("model_freestand", "cmd6000UCT")->font().bold());
    }

    void fileNoModelOpens_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("a value too many") << QByteArray("\"\"\r\n").repeated(15);
        QTest::newRow("not a configuration") << QByteArray("\x7f"
                                                           "ELF\x02\x01\x01");
    }
    void fileNoModelOpens()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("odd.QNC"));
        QVERIFY(writeFile(path, contents));
        GuiBench b;
        b.prompts.answerMessage(Prompts::Ok, QStringLiteral("!Error! Configuration File Not Read"));
        startWithFile(b.context, path);
        QVERIFY2(b.prompts.unexpected().isEmpty() && b.prompts.allAnswered(),
                 qPrintable(b.prompts.problems()));
        QVERIFY2(b.prompts.shown().front().text.contains(QStringLiteral("odd.QNC")),
                 qPrintable(b.prompts.shown().front().text));
        QVERIFY(shown(b.forms.existing(QStringLiteral("Welcome"))));
        QVERIFY(!shown(b.forms.existing(QStringLiteral("model_freestand"))));
        QVERIFY(b.session.fileToOpen.path.isEmpty());
    }

    void returnToModelSelectionStartsAfresh()
    {
        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-PXA"));
        selectText(b.combo("main4000", "cboStationNumber"), QStringLiteral("17"));
        QCOMPARE(int(b.session.rec.StationNumber), 15);
        QWidget *oldMain = b.forms.existing(QStringLiteral("main4000"));
        b.button(Menu, "Command2")->click();
        QVERIFY(shown(b.forms.existing(QStringLiteral("model_freestand"))));
        QVERIFY(b.forms.existing(QStringLiteral("main4000")) != oldMain || !oldMain);
        QCOMPARE(b.session.rec.NetworkSpeed, (CharPair{8, 0}));
        QCOMPARE(int(b.session.rec.ChanBSpeed), 8);
        QCOMPARE(int(b.session.rec.StationNumber), 1);
        b.chooseModel(QStringLiteral("QN4000-TBQ"));
        QCOMPARE(b.combo("main4000", "cboAsyncSpeed")->count(), 8); // a fresh list, one speed added
        QCOMPARE(b.text("view", "txtNetSpeed"), QStringLiteral("57.6"));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
