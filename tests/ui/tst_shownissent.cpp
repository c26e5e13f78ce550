// SPDX-License-Identifier: GPL-3.0-or-later
// What the screens and the summary show is what the download sends. Random sequences of a
// user's clicks, choices and typed text, over every model, through the real forms, with real
// key events (typing ends with Enter, Tab or Escape, as a user ends it); after each step every
// value shown on the main form, on the dialogs and on the summary is checked against the
// configuration message, decoded here from its bytes.
//
// QNCF_SEED picks another seed and QNCF_SEQUENCES a longer run; make test uses fixed ones.

#include "config/modelcatalog.h"
#include "editor/configfiles.h"
#include "editor/main4000.h"
#include "files/configfile.h"
#include "frame/formutil.h"
#include "frame/maindialog.h"
#include "message/configmessage.h"
#include "shell/model_freestand.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include "support/guibench.h"
#include "support/shownchecker.h"
#include "support/testdata.h"

namespace {

// A user at the forms: each step is one thing a user does, and says what it was.
class User
{
public:
    User(GuiBench &b, quint32 seed, const QString &dir) : m_b(b), m_rng(seed), m_dir(dir) {}

    QString model() const { return m_model; }
    // What the last step lost on its way through a file, if anything.
    QString takeLost() { return std::exchange(m_lost, QString()); }
    // A check of the forms, run also in the middle of a dialog, once its boxes are done with.
    void checkInDialogs(std::function<QStringList()> check) { m_check = std::move(check); }
    QStringList takeInDialogFaults() { return std::exchange(m_inDialogFaults, {}); }

    QString pickModel()
    {
        const QList<ModelInfo> &models = modelCatalog();
        m_model = models.at(int(m_rng.bounded(quint32(models.size())))).code;
        if (m_model == QLatin1String("QN4000-NGD"))
            m_b.prompts.answerMessage(m_rng.bounded(2) ? Prompts::Yes : Prompts::No);
        m_b.forms.form<model_freestand>(QStringLiteral("model_freestand"))->chooseModel(m_model);
        return QStringLiteral("model ") + m_model;
    }

    QString step()
    {
        const int kind = int(m_rng.bounded(100));
        if (kind < 30)
            return clickOption(main(), QStringLiteral("main4000"));
        if (kind < 46)
            return pickFromList();
        if (kind < 55)
            return typeIntoList();
        if (kind < 88)
            return inSomeDialog();
        if (kind < 92)
            return restoreDefaults();
        if (kind < 98)
            return saveAndReopen();
        return pickModel();
    }

private:
    QWidget *main() { return m_b.forms.form(QStringLiteral("main4000")); }

    template <typename T> QList<T *> usable(QWidget *form)
    {
        QList<T *> found;
        for (T *w : form->findChildren<T *>()) {
            if (!w->objectName().isEmpty() && w->isVisibleTo(form) && w->isEnabledTo(form))
                found << w;
        }
        return found;
    }

    QString clickOption(QWidget *form, const QString &where)
    {
        const QList<QRadioButton *> options = usable<QRadioButton>(form);
        if (options.isEmpty())
            return where + QStringLiteral(": no option to click");
        QRadioButton *o = options.at(int(m_rng.bounded(quint32(options.size()))));
        o->click();
        return QStringLiteral("%1: click %2").arg(where, o->objectName());
    }

    QString pickFromList()
    {
        QList<QComboBox *> lists = usable<QComboBox>(main());
        lists.removeIf([](QComboBox *c) { return c->count() == 0; });
        if (lists.isEmpty())
            return QStringLiteral("main4000: no list");
        QComboBox *c = lists.at(int(m_rng.bounded(quint32(lists.size()))));
        const int n = int(m_rng.bounded(quint32(c->count())));
        selectIndex(c, n);
        return QStringLiteral("main4000: %1 picks \"%2\"").arg(c->objectName(), c->itemText(n));
    }

    // The form in front and active, as the user's typing needs it.
    bool activate(const QString &name)
    {
        QWidget *form = m_b.forms.form(name);
        if (!form->isVisible())
            m_b.forms.show(name);
        // Offscreen, a window shown again is not always made active by the time it shows.
        QApplication::setActiveWindow(form);
        return form->isActiveWindow();
    }

    // Ends what was typed into the focused control as a user does: Enter, Tab to the next
    // control, or (in a list) Escape; now and then with an Alt key first that stands for
    // nothing.
    QString endTyping(QWidget *w, bool escape = true)
    {
        QString how;
        if (m_rng.bounded(5) == 0) {
            QTest::keyClick(w, Qt::Key_O, Qt::AltModifier);
            how = QStringLiteral("Alt+O, ");
        }
        switch (m_rng.bounded(5)) {
        case 0:
            if (!escape) {
                QTest::keyClick(w, Qt::Key_Tab);
                return how + QStringLiteral("Tab");
            }
            QTest::keyClick(w, Qt::Key_Escape);
            return how + QStringLiteral("Escape");
        case 1:
        case 2:
            QTest::keyClick(w, Qt::Key_Return);
            return how + QStringLiteral("Enter");
        default:
            QTest::keyClick(w, Qt::Key_Tab);
            return how + QStringLiteral("Tab");
        }
    }

    // Text typed into one of main4000's editable lists: one of its items, the beginning of
    // one, or text that is none of them.
    QString typeIntoList()
    {
        QList<QComboBox *> lists = usable<QComboBox>(main());
        lists.removeIf([](QComboBox *c) { return !c->isEditable() || c->count() == 0; });
        if (lists.isEmpty())
            return QStringLiteral("main4000: no list to type into");
        if (!activate(QStringLiteral("main4000")))
            return QStringLiteral("main4000: not active");
        QComboBox *c = lists.at(int(m_rng.bounded(quint32(lists.size()))));
        static const QStringList bad = {"89", "x", "12345", "", " ", "1/3", "230.5", "-1", "0x7", "8"};
        const QString item = c->itemText(int(m_rng.bounded(quint32(c->count()))));
        QString text;
        switch (m_rng.bounded(3)) {
        case 0:
            text = m_rng.bounded(4) == 0 ? QLatin1Char(' ') + item.toLower() : item;
            break;
        case 1:
            text = item.left(1 + int(m_rng.bounded(quint32(item.size()))));
            break;
        default:
            text = bad.at(int(m_rng.bounded(quint32(bad.size()))));
        }
        c->setFocus();
        c->lineEdit()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(c, Qt::Key_Backspace);
        else
            QTest::keyClicks(c, text);
        const QString end = endTyping(c);
        return QStringLiteral("main4000: type \"%1\" into %2, %3").arg(text, c->objectName(), end);
    }

    // A dialog, the main4000 buttons that open it, its accept, and another way out: a reset
    // before the accept, a cancel, or the close box.
    struct Route
    {
        const char *dialog; // empty: the model's data-table dialog
        QStringList openers;
        const char *accept;
        const char *otherWay;
    };

    QString inSomeDialog()
    {
        static const Route routes[] = {
            {"paramConfigB", {"Command3"}, "Command2", nullptr},
            {"paramConfigC", {"cmdAsyncC", "cmdChannelC"}, "Command2", nullptr},
            {"df_Param", {"cmdProtParam"}, "cmdAccept", nullptr},
            {"modbus_prot", {"cmdModBus"}, "Command2", "reset:Command3"},
            {"siemens_param", {"cmdSiemensParam"}, "cmdAccept", "close"},
            {"toshiba_VFD", {"cmdToshibaParam"}, "Command1", "cancel:Command2"},
            {"rio_bt", {"cmdRioBt"}, "cmdAccept", "cancel:cmdCancel"},
            {"", {"cmdYZE"}, "cmdAccept", nullptr},
        };
        QList<std::pair<const Route *, QAbstractButton *>> open;
        for (const Route &r : routes) {
            for (const QString &name : r.openers) {
                auto *b = main()->findChild<QAbstractButton *>(name);
                if (b && b->isVisibleTo(main()) && b->isEnabledTo(main()))
                    open << std::pair{&r, b};
            }
        }
        if (open.isEmpty())
            return QStringLiteral("main4000: no dialog to open");
        const auto [route, opener] = open.at(int(m_rng.bounded(quint32(open.size()))));
        const QString dialog = *route->dialog ? QString::fromLatin1(route->dialog)
                                              : QString::fromLatin1(m_b.session.model->dataTableForm);
        opener->click();
        QWidget *form = m_b.forms.form(dialog);
        QStringList done{QStringLiteral("%1 opens %2").arg(opener->objectName(), dialog)};
        const int actions = 1 + int(m_rng.bounded(4));
        for (int i = 0; i < actions; ++i)
            done << act(form);
        if (m_check && form->isVisible()) {
            for (const QString &f : m_check())
                m_inDialogFaults << QStringLiteral("in %1: %2").arg(dialog, f);
        }
        const QString other = QLatin1String(route->otherWay);
        if (!other.isEmpty() && m_rng.bounded(4) == 0) {
            if (other == QLatin1String("close")) {
                form->close();
                done << dialog + QStringLiteral(": close box");
                return done.join(QStringLiteral("; "));
            }
            form->findChild<QAbstractButton *>(other.section(QLatin1Char(':'), 1))->click();
            done << dialog + QStringLiteral(": ") + other;
            if (other.startsWith(QLatin1String("cancel")))
                return done.join(QStringLiteral("; "));
        }
        form->findChild<QAbstractButton *>(QLatin1String(route->accept))->click();
        // The drive dialog's accept goes on to the relay table where relays were chosen.
        QWidget *table = m_b.forms.existing(QStringLiteral("toshiba_Super2E"));
        if (dialog == QLatin1String("toshiba_VFD") && table && table->isVisible()) {
            done << QStringLiteral("on to toshiba_Super2E");
            for (int i = 0; i < actions; ++i)
                done << act(table);
            table->findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
        }
        return done.join(QStringLiteral("; "));
    }

    // One thing done in a dialog: an option clicked, a box ticked, a list item picked, or a
    // text typed or pasted into a box.
    QString act(QWidget *form)
    {
        const QString where = form->objectName();
        switch (m_rng.bounded(4)) {
        case 0:
            return clickOption(form, where);
        case 1: {
            const QList<QCheckBox *> boxes = usable<QCheckBox>(form);
            if (boxes.isEmpty())
                return clickOption(form, where);
            QCheckBox *c = boxes.at(int(m_rng.bounded(quint32(boxes.size()))));
            c->click();
            return QStringLiteral("%1: tick %2").arg(where, c->objectName());
        }
        case 2: {
            QList<QComboBox *> lists = usable<QComboBox>(form);
            lists.removeIf([](QComboBox *c) { return c->count() == 0; });
            if (lists.isEmpty())
                return clickOption(form, where);
            QComboBox *c = lists.at(int(m_rng.bounded(quint32(lists.size()))));
            const int n = int(m_rng.bounded(quint32(c->count())));
            selectIndex(c, n);
            return QStringLiteral("%1: %2 picks \"%3\"").arg(where, c->objectName(), c->itemText(n));
        }
        default: {
            const QList<QLineEdit *> edits = usable<QLineEdit>(form);
            if (edits.isEmpty())
                return clickOption(form, where);
            static const QStringList texts = {"0",    "1",     "7",     "17",    "255", "256",    "300",
                                              "-1",   "65535", "65536", "2.5",   "12a", " ",      "",
                                              "4007", "FFFF",  "8123",  "12345", "ab",  " 40 0B", "12G4"};
            QLineEdit *e = edits.at(int(m_rng.bounded(quint32(edits.size()))));
            const QString text = texts.at(int(m_rng.bounded(quint32(texts.size()))));
            if (!activate(where))
                return where + QStringLiteral(": not active");
            e->setFocus();
            // Pasted, or typed over what the box holds key by key; ended as a user ends it.
            const bool paste = m_rng.bounded(2);
            if (paste) {
                e->setText(text);
            } else {
                e->selectAll();
                if (text.isEmpty())
                    QTest::keyClick(e, Qt::Key_Backspace);
                else
                    QTest::keyClicks(e, text);
            }
            const QString end = endTyping(e, false);
            return QStringLiteral("%1: %2 \"%3\" into %4, %5")
                .arg(where, paste ? QStringLiteral("paste") : QStringLiteral("type"), text, e->objectName(),
                     end);
        }
        }
    }

    QString restoreDefaults()
    {
        static_cast<main4000 *>(main())->action(QStringLiteral("restore_configuration"))->trigger();
        return QStringLiteral("main4000: restore defaults");
    }

    QString saveAndReopen()
    {
        auto *form = static_cast<main4000 *>(main());
        if (!form->action(QStringLiteral("save_file"))->isEnabled())
            return QStringLiteral("main4000: no file items");
        const QString path = m_dir + QStringLiteral("/step.QNC");
        QByteArray before = BuildConfigMessage(m_b.session.rec).bytes;
        m_b.prompts.answerSave(path);
        if (m_b.session.model->fileOmits() != FileOmission::Nothing) // said once for the save
            m_b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Not in the Configuration File"));
        form->action(QStringLiteral("save_file"))->trigger();
        m_b.prompts.answerOpen(path);
        form->action(QStringLiteral("open_file"))->trigger();
        // What was saved comes back, but that a channel C speed of 0 reads as 9600 (code 8):
        // the file cannot tell them apart.
        QByteArray after = BuildConfigMessage(m_b.session.rec).bytes;
        if (before.size() > 37 && before.at(37) == 0 && after.at(37) == 8) {
            before.chop(2);
            after.chop(2);
            before[37] = 8;
        }
        if (before != after)
            m_lost = QStringLiteral("the file gave back %1 for %2")
                         .arg(QString::fromLatin1(after.toHex(' ')), QString::fromLatin1(before.toHex(' ')));
        return QStringLiteral("main4000: save, then open the file");
    }

    GuiBench &m_b;
    QRandomGenerator m_rng;
    QString m_dir;
    QString m_model;
    QString m_lost;
    std::function<QStringList()> m_check;
    QStringList m_inDialogFaults;
};

// One step of a known sequence: "form:option" (a click, or a close box, or a menu item) or
// "form:list=item" (a pick).
void doStep(GuiBench &b, const QString &step)
{
    const QString form = step.section(QLatin1Char(':'), 0, 0);
    const QString name = step.section(QLatin1Char(':'), 1).section(QLatin1Char('='), 0, 0);
    if (auto *box = b.forms.form(form)->findChild<QLineEdit *>(name); box && step.contains(QLatin1Char('=')))
        box->setText(step.section(QLatin1Char('='), 1));
    else if (step.contains(QLatin1Char('=')))
        QVERIFY2(
            selectText(CrossForm(b.forms).control<QComboBox>(form, name), step.section(QLatin1Char('='), 1)),
            qPrintable(step));
    else if (name == QLatin1String("close"))
        b.forms.form(form)->close();
    else if (QAction *item =
                 b.forms.form<main4000>(form) ? b.forms.form<main4000>(form)->action(name) : nullptr)
        item->trigger();
    else
        CrossForm(b.forms).control<QAbstractButton>(form, name)->click();
}

// A file line as a row gives it: 'N is a one-character text of byte N; anything else is
// written as it stands.
QByteArray fileLine(const QString &value)
{
    if (value.startsWith(QLatin1Char('\'')))
        return QByteArray("\"") + char(value.mid(1).toInt()) + '"';
    return value.toLatin1();
}

// The first channel speed a list does not offer.
int speedNotIn(QComboBox *list)
{
    for (int code = 3; code <= 18; ++code) {
        if (code != 14 && code != 15 && list->findText(channelSpeedText(code)) < 0)
            return code;
    }
    return 19;
}

int fromEnvironment(const char *name, int otherwise)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : otherwise;
}

} // namespace

class TestShownIsSent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Sequences that once showed one thing and sent another. Each step is "form:option" (a
    // click) or "form:list=item" (a pick).
    void knownSequences_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("RIO rack and speed, then standard")
            << "QN6000-UCT"
            << QStringList{"main4000:cboRackNum=27", "main4000:cboNetworkSpeed2=230.4", "main4000:optKF2NGD"};
        QTest::newRow("Modbus address, then DH+")
            << "QN4000-JMR"
            << QStringList{"main4000:optSiemensMOD", "main4000:cboModbusAdd=247", "main4000:optSiemensDH"};
        QTest::newRow("RS-485 and source address, then standard")
            << "QN4000-PXA" << QStringList{"df_Param:opt485", "df_Param:optSRC", "main4000:optKF2NGD"};
        QTest::newRow("loopback on a multidrop master") << "QN4000-PXA" << QStringList{"df_Param:optRTS"};
        QTest::newRow("Toshiba on RIO") << "QN4000-EPV4" << QStringList{"main4000:optSiemensRIO"};
        QTest::newRow("Siemens on RIO") << "QN4000-WOLTA" << QStringList{"main4000:optSiemensRIO"};
        QTest::newRow("Toshiba on Modbus") << "QN4000-EPV4" << QStringList{"main4000:optSiemensMOD"};
        QTest::newRow("Siemens from RIO back to DH+")
            << "QN4000-WOLTA"
            << QStringList{"main4000:optSiemensRIO", "main4000:cboRackNum=5", "main4000:optSiemensDH"};
        for (const char *m : {"QN4000-RW31", "QN4000-QOF", "QN4000-YZE", "QN6000-YZE"})
            QTest::newRow(m) << m << QStringList{};
        QTest::newRow("fast channel B, then defaults")
            << "QN4000-TBQ" << QStringList{"main4000:cboAsyncSpeed=57.6", "main4000:restore_configuration"};
        QTest::newRow("RIO to Modbus, another rack")
            << "QN6000-XAJ" << QStringList{"main4000:cboRackNum=5", "main4000:optHalf"};
        // The drive and Modbus layouts preset fields their dialogs show.
        QTest::newRow("Siemens, standard, Siemens again")
            << "QN4000-WOLTA" << QStringList{"main4000:optKF2NGD", "main4000:optWOLTA"};
        QTest::newRow("Siemens close box, then defaults")
            << "QN4000-WOLTA"
            << QStringList{"siemens_param:cboTelegram=25", "siemens_param:close",
                           "main4000:restore_configuration", "main4000:optWOLTA"};
        QTest::newRow("Toshiba cancel, standard, Toshiba again")
            << "QN4000-EPV4"
            << QStringList{"main4000:cmdToshibaParam", "toshiba_VFD:optSuper2E",   "toshiba_VFD:Command1",
                           "toshiba_Super2E:Command1", "main4000:cmdToshibaParam", "toshiba_VFD:optG3",
                           "toshiba_VFD:Command2",     "main4000:optKF2NGD",       "main4000:optEPV4"};
        QTest::newRow("Modbus decode, then a range, standard and back")
            << "QN4000-LBW"
            << QStringList{"modbus_prot:optMaster", "modbus_prot:Option14", "modbus_prot:optSlave",
                           "modbus_prot:Option11",  "main4000:optKF2NGD",   "main4000:optLBW"};
        QTest::newRow("Modbus reset from another range")
            << "QN6000-LBW" << QStringList{"modbus_prot:Option5", "modbus_prot:Command3"};
    }
    void knownSequences()
    {
        QFETCH(QString, model);
        GuiBench b;
        b.forms.form<model_freestand>(QStringLiteral("model_freestand"))->chooseModel(model);
        for (const QString &step : FETCHED(QStringList, steps)) {
            doStep(b, step);
            if (QTest::currentTestFailed())
                return;
        }
        const QStringList faults = Checker(b, model).run();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void randomSequences()
    {
        const int seed = fromEnvironment("QNCF_SEED", 20261208);
        const int sequences = fromEnvironment("QNCF_SEQUENCES", 100);
        const int steps = 30;
        // QNCF_KEEP_GOING reports the first fault of every sequence rather than stopping at one.
        const bool keepGoing = qEnvironmentVariableIsSet("QNCF_KEEP_GOING");
        QStringList failures;
        QTemporaryDir dir;
        for (int n = 0; n < sequences; ++n) {
            GuiBench b;
            User user(b, quint32(seed + n), dir.path());
            user.checkInDialogs([&b, &user] { return Checker(b, user.model()).run(); });
            QStringList log{user.pickModel()};
            for (int i = 0;; ++i) {
                QStringList faults = Checker(b, user.model()).run();
                if (const QString lost = user.takeLost(); !lost.isEmpty())
                    faults << lost;
                faults << user.takeInDialogFaults();
                const QString problems = b.prompts.problems();
                if (!faults.isEmpty() || !problems.isEmpty()) {
                    QString failure = QStringLiteral("seed %1, after:\n  ").arg(seed + n) +
                                      log.join(QStringLiteral("\n  ")) + QLatin1Char('\n') +
                                      faults.join(QLatin1Char('\n')) + QLatin1Char('\n') + problems;
                    failures << failure.replace(QChar(0), QStringLiteral("\\0"));
                    if (!keepGoing)
                        QFAIL(qPrintable(failures.last()));
                    break;
                }
                if (i == steps)
                    break;
                log << user.step();
            }
            // The forms each model choice put aside go now, while their bench still exists; and
            // no event is left queued, since a long queue slows every delete.
            QCoreApplication::sendPostedEvents();
        }
        if (!failures.isEmpty())
            QFAIL(qPrintable(
                QStringLiteral("%1 of %2 sequences failed:\n").arg(failures.size()).arg(sequences) +
                failures.join(QLatin1Char('\n'))));
    }

    // Files saved by the screens, some with a line changed to a value the screens cannot show.
    // Such a value is not taken: one box names each such line, the record, the screens and the
    // summary agree, and the same file gives the same bytes whatever was configured before.
    void loadedFiles_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("before"); // steps before the file is saved
        QTest::addColumn<QStringList>("edits");  // "line=value" in the saved file
        QTest::addColumn<QStringList>("prior");  // steps before the file is opened
        QTest::addColumn<QList<int>>("refused"); // the lines the box names

        // Every list the file's values are picked from by position, in each layout that shows
        // it, on every model: a value just past the list's end ("5=speed": the first channel
        // speed the list does not offer).
        for (const ModelInfo &m : modelCatalog()) {
            const QString dhSpeed = m.isQn6000() ? QStringLiteral("4='11") : QStringLiteral("4='10");
            const QStringList dh = {QStringLiteral("2=64"), dhSpeed, QStringLiteral("5=speed")};
            const QStringList rio = {"2=24", "4='11", "5=speed"};
            const QStringList modbus = {"2=248", "5=speed", "7='11"};
            QList<std::tuple<QString, QStringList, QStringList>> layouts;
            switch (m.kind) {
            case ModelKind::Bridge:
                layouts = {{"standard", {}, dh}, {"bridging", {"main4000:optNGD"}, dh + QStringList{"3=64"}}};
                break;
            case ModelKind::MultidropMaster:
            case ModelKind::Scanners:
            case ModelKind::Zumbach:
                layouts = {{"", {}, dh + QStringList{"3=64"}}};
                break;
            case ModelKind::EatonDrives: // no channel B
                layouts = {{"", {}, {"2=64", dhSpeed, "3=64"}}};
                break;
            case ModelKind::AsciiDisplays:
            case ModelKind::Centerscan:
                layouts = {{"", {}, dh}};
                break;
            case ModelKind::Modbus:
                layouts = {{"", {}, dh},
                           {"broadcast", {"modbus_prot:optYesBroadcast"}, {"17=100", "18=100"}}};
                break;
            case ModelKind::DualDf1:
                layouts = {{"", {}, dh + QStringList{"7='11"}}};
                break;
            case ModelKind::RioAdapter:
                layouts = {{"", {}, rio + QStringList{"3=8"}}};
                break;
            case ModelKind::RioToModbus:
                layouts = {{"", {}, rio + QStringList{"13='248"}},
                           {"half rack", {"main4000:optHalf"}, {"14=248"}}};
                break;
            case ModelKind::Brabender:
            case ModelKind::ToshibaDrives:
            case ModelKind::SiemensDrives: {
                const bool siemens = m.kind == ModelKind::SiemensDrives;
                const QStringList telegram = siemens ? QStringList{"11=\"39\""} : QStringList{};
                layouts = {{"DH+", {}, dh + telegram},
                           {"RIO",
                            {"main4000:optSiemensRIO"},
                            rio + (m.kind != ModelKind::Brabender ? QStringList{"13='3"} : QStringList{})},
                           {"Modbus", {"main4000:optSiemensMOD"}, modbus}};
                break;
            }
            }
            for (const auto &[layout, before, edits] : layouts) {
                for (const QString &edit : edits)
                    QTest::addRow("%s %s line %s", qPrintable(m.code), qPrintable(layout),
                                  qPrintable(edit.section(QLatin1Char('='), 0, 0)))
                        << m.code << before << QStringList{edit} << QStringList{}
                        << QList<int>{edit.section(QLatin1Char('='), 0, 0).toInt()};
            }
        }

        // Further rows: name, model, steps before saving, edits, steps before opening, the
        // lines named; steps and edits separated by blanks.
        static const char *const rows[][6] = {
            // Options that stand for a value: one the file holds and none stands for.
            {"Brabender type 6", "QN4000-JMR", "", "15=6,0", "", "15"},
            {"Zumbach mode 2", "QN4000-QOF", "", "15=2,0", "", "15"},
            {"network protocol 3", "QN4000-EPV4", "", "1='3", "", "1"},
            {"Siemens protocol 3", "QN4000-WOLTA", "", "12=\"3\"", "", "12"},
            {"Siemens delay 5", "QN4000-WOLTA", "", "15=5,0", "", "15"},
            {"PLC type 3", "QN6000-LBW", "", "19=3", "", "19"},
            {"register range 10", "QN4000-LBW", "", "20=10", "", "20"},
            {"master decode 2", "QN4000-LBW", "modbus_prot:optMaster", "20=2", "", "20"},
            {"three slaves", "QN6000-XAJ", "", "11=\"3\"", "", "11"},
            {"two slaves on a quarter rack", "QN6000-XAJ", "", "11=\"2\"", "", "11"},
            {"starting group 6", "QN6000-XAJ", "", "12=\"6\"", "", "12"},
            // Files the screens saved come back as they were.
            {"one slave on a half rack", "QN6000-XAJ", "main4000:optHalf main4000:opt1Slave", "", "", ""},
            {"Modbus master that passed broadcasts", "QN4000-LBW",
             "modbus_prot:optYesBroadcast modbus_prot:optMaster", "", "", ""},
            // The same file after other choices.
            {"rack 3 beyond the range, its box ticked before", "QN4000-UCT", "", "3=2 17=5,0",
             "main4000:cboRackRange=3 main4000:cmdRioBt rio_bt:Check3 rio_bt:cmdAccept", ""},
            {"two bits in rack 2, its box ticked before", "QN6000-UCT", "", "3=2 16=3,0",
             "main4000:cboRackRange=2 main4000:cmdRioBt rio_bt:Check2 rio_bt:cmdAccept", ""},
            {"rack range 9 after 5", "QN6000-UCT", "", "3=9", "main4000:cboRackRange=5", "3"},
            {"station 64 after 17", "QN6000-NGD", "main4000:optNGD", "2=64", "main4000:cboStationNumber=17",
             "2"},
            {"telegram 45 after 25", "QN4000-WOLTA", "", "11=\"45\"",
             "siemens_param:cboTelegram=25 siemens_param:cmdAccept", "11"},
            {"Brabender type 9 after M", "QN4000-JMR", "", "15=9,0", "main4000:optMType", "15"},
            {"starting group 7 after a half rack", "QN6000-XAJ", "", "12=\"7\"", "main4000:optHalf", "12"},
            // What the file holds in a mode that does not show it is the file's all the same.
            {"standard RIO adapter file after a rack map", "QN6000-UCT", "main4000:optKF2NGD", "",
             "main4000:cboRackRange=2 main4000:cmdRioBt rio_bt:Check2 rio_bt:cmdAccept", ""},
            {"standard scanner file after a table word", "QN6000-YZE", "main4000:optKF2NGD", "",
             "main4000:cmdYZE YZE_DataTable:txtXXX=300 YZE_DataTable:cmdAccept", ""},
            {"Brabender on Modbus after 115.2", "QN4000-JMR", "main4000:optSiemensMOD", "",
             "main4000:cboNetworkSpeed=115.2", ""},
        };
        const auto split = [](const char *text) {
            return QString::fromLatin1(text).split(' ', Qt::SkipEmptyParts);
        };
        for (const auto &r : rows) {
            QList<int> refused;
            for (const QString &line : split(r[5]))
                refused << line.toInt();
            QTest::newRow(r[0]) << r[1] << split(r[2]) << split(r[3]) << split(r[4]) << refused;
        }
    }
    void loadedFiles()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, edits);
        QFETCH(QStringList, prior);
        QFETCH(QList<int>, refused);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file.QNC"));
        // The configuration as saved, once for each model and steps.
        struct Saved
        {
            QList<QByteArray> lines;
            QByteArray message;
            int missingSpeed = 0;
        };
        static QHash<QString, Saved> savedFiles;
        const QStringList before = FETCHED(QStringList, before);
        const QString key = model + before.join(QLatin1Char(' '));
        if (!savedFiles.contains(key)) {
            GuiBench a;
            a.chooseModel(model);
            for (const QString &step : before)
                doStep(a, step);
            QByteArray bytes;
            QVERIFY(configFileBytes(a.session.rec, modelOf(model), &bytes).ok);
            Saved &s = savedFiles[key];
            for (qsizetype from = 0, end; (end = bytes.indexOf("\r\n", from)) >= 0; from = end + 2)
                s.lines << bytes.mid(from, end - from);
            s.message = BuildConfigMessage(a.session.rec).bytes;
            s.missingSpeed = speedNotIn(a.combo("main4000", "cboAsyncSpeed"));
            QCoreApplication::sendPostedEvents();
        }
        const Saved &saved = savedFiles[key];
        QList<QByteArray> lines = saved.lines;
        for (const QString &edit : edits) {
            QString value = edit.section(QLatin1Char('='), 1);
            if (value == QLatin1String("speed"))
                value = QStringLiteral("'%1").arg(saved.missingSpeed);
            lines[edit.section(QLatin1Char('='), 0, 0).toInt() - 1] = fileLine(value);
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(lines.join("\r\n") + "\r\n") > 0);
        f.close();

        QString fault;
        const auto load = [&](const QStringList &steps) -> QByteArray {
            GuiBench b;
            b.chooseModel(model);
            for (const QString &step : steps)
                doStep(b, step);
            b.prompts.takeShown();
            if (!refused.isEmpty())
                b.prompts.answerMessage(Prompts::Ok, QStringLiteral("Values Not Taken"));
            if (!loadConfigurationFile(b.context, path))
                fault = QStringLiteral("not loaded");
            else if (const QString problems = b.prompts.problems(); !problems.isEmpty())
                fault = problems;
            const QString told = b.prompts.shown().isEmpty() ? QString() : b.prompts.shown().last().text;
            for (int line : refused) {
                if (!told.contains(QStringLiteral("Line %1,").arg(line)))
                    fault += QStringLiteral("\nthe box does not name line %1: %2").arg(line).arg(told);
            }
            if (told.count(QLatin1String("Line ")) > refused.size())
                fault += QStringLiteral("\nthe box names other lines: ") + told;
            fault += Checker(b, model).run().join(QLatin1Char('\n'));
            const QByteArray message = BuildConfigMessage(b.session.rec).bytes;
            QCoreApplication::sendPostedEvents();
            return message;
        };
        const QByteArray loaded = load(prior);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        if (edits.isEmpty()) {
            // A channel C speed of 0 reads back as 9600: the file cannot tell them apart.
            QByteArray expected = saved.message.chopped(2);
            if (expected.at(37) == 0)
                expected[37] = 8;
            QCOMPARE(loaded.chopped(2).toHex(' '), expected.toHex(' '));
        }
        if (!prior.isEmpty())
            QCOMPARE(loaded.toHex(' '), load({}).toHex(' '));
    }
};

QTEST_MAIN(TestShownIsSent)
#include "tst_shownissent.moc"
