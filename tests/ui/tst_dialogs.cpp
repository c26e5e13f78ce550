// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/modelcatalog.h"
#include "editor/df_param.h"
#include "editor/paramconfigb.h"
#include "editor/paramconfigc.h"
#include "shell/model_freestand.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>

#include "support/guibench.h"
#include "support/testdata.h"

// After the program's headers, whose names its macros would take.
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Flag values restated here rather than taken from the code under test.
constexpr int Handshake = 1, Parity = 2, Even = 4, TwoStop = 8, SevenData = 16, RS422 = 32, RS485 = 64;

IntByte &formatOf(GuiBench &b, const QString &form)
{
    return form == QLatin1String("paramConfigB") ? b.session.rec.ChanBFormat : b.session.rec.ChanCFormat;
}

IntByte &otherFormatOf(GuiBench &b, const QString &form)
{
    return form == QLatin1String("paramConfigB") ? b.session.rec.ChanCFormat : b.session.rec.ChanBFormat;
}

QRadioButton *option(GuiBench &b, const QString &form, const QString &name)
{
    auto *o = CrossForm(b.forms).control<QRadioButton>(form, name);
    if (!o)
        qFatal("no option %s on %s", qPrintable(name), qPrintable(form));
    return o;
}

QWidget *widget(GuiBench &b, const QString &form, const QString &name)
{
    auto *w = CrossForm(b.forms).control<QWidget>(form, name);
    if (!w)
        qFatal("no control %s on %s", qPrintable(name), qPrintable(form));
    return w;
}

QString summary(GuiBench &b, const QString &box)
{
    // The page shows nothing before a model is chosen; the channel rows are every model's.
    if (!b.session.model)
        b.session.model = findModel(QStringLiteral("QN4000-F7H"));
    openedSummary(b.forms);
    return CrossForm(b.forms).control<QLineEdit>(QStringLiteral("view"), box)->text();
}

// Wine stands in for Windows' fonts with its own, whose sizes are not Windows' own: there the
// text sizes say nothing about a Windows PC, and only the controls' places are checked.
bool fontsAreStandIns()
{
#ifdef Q_OS_WIN
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (wine)
        qInfo("under Wine: the text sizes are not checked");
    return wine;
#else
    return false;
#endif
}

// What the user would see cut off or overlapping: text wider than its control, a control
// outside its parent, or two visible siblings on top of each other.
QStringList layoutFaults(QWidget *form)
{
    static const bool checkText = !fontsAreStandIns();
    QStringList faults;
    const auto widgets = form->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(form) || qobject_cast<QMenu *>(w) || w->isWindow())
            continue;
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        int needed = 0;
        if (auto *l = qobject_cast<QLineEdit *>(w))
            needed = l->fontMetrics().horizontalAdvance(l->text()) + (l->hasFrame() ? 8 : 4);
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            needed = g->fontMetrics().horizontalAdvance(g->title()) + 16;
        else if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w))
            needed = w->sizeHint().width();
        if (checkText && needed > w->width())
            faults << QStringLiteral("%1 needs %2 px, has %3").arg(name).arg(needed).arg(w->width());
        if (QWidget *p = w->parentWidget(); p && !p->rect().contains(w->geometry()))
            faults << QStringLiteral("%1 sticks out of %2").arg(name, p->objectName());
        const int height = w->hasHeightForWidth() ? w->heightForWidth(w->width()) : w->sizeHint().height();
        if (checkText && height > w->height() + 2 && !qobject_cast<QGroupBox *>(w))
            faults << QStringLiteral("%1 too low").arg(name);
    }
    auto shownNamed = [form](QWidget *w) {
        return w->isVisibleTo(form) && !w->isWindow() && !w->objectName().isEmpty() &&
               !w->objectName().startsWith(QLatin1String("qt_"));
    };
    QList<QWidget *> parents{form};
    for (QWidget *w : widgets)
        if (shownNamed(w))
            parents << w;
    for (QWidget *p : parents) {
        QList<QWidget *> kids;
        for (QObject *o : p->children())
            if (auto *k = qobject_cast<QWidget *>(o); k && shownNamed(k))
                kids << k;
        for (qsizetype i = 0; i < kids.size(); ++i)
            for (qsizetype j = i + 1; j < kids.size(); ++j)
                if (kids[i]->geometry().intersects(kids[j]->geometry()))
                    faults
                        << QStringLiteral("%1 overlaps %2").arg(kids[i]->objectName(), kids[j]->objectName());
    }
    return faults;
}

// Captions that hardly stand out from what is painted behind them.
QStringList unreadableTexts(QWidget *form)
{
    const QImage page = form->grab().toImage();
    QStringList faults;
    const auto widgets = form->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        // Disabled captions are dimmed on purpose.
        if (!w->isVisibleTo(form) || !w->isEnabled() || w->isWindow() || w->objectName().isEmpty())
            continue;
        QString text;
        QRect area = w->rect();
        if (auto *l = qobject_cast<QLabel *>(w))
            text = l->text();
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            text = e->text();
        else if (qobject_cast<QRadioButton *>(w) || qobject_cast<QCheckBox *>(w))
            text = static_cast<QAbstractButton *>(w)->text(), area.setLeft(20); // past the indicator
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            text = g->title(), area.setHeight(g->fontMetrics().height());
        if (text.trimmed().isEmpty())
            continue;
        area = QRect(w->mapTo(form, area.topLeft()), area.size()) & page.rect();
        // The commonest shade is the ground; the text is what differs most from it.
        QHash<int, int> shades;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ++shades[qGray(page.pixel(x, y))];
        int ground = 0, contrast = 0;
        for (auto it = shades.cbegin(); it != shades.cend(); ++it)
            if (it.value() > shades.value(ground))
                ground = it.key();
        for (auto it = shades.cbegin(); it != shades.cend(); ++it)
            contrast = qMax(contrast, qAbs(it.key() - ground));
        if (contrast < 60)
            faults << QStringLiteral("%1 unreadable").arg(w->objectName());
    }
    return faults;
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void channelOption_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("opt");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");

        // Set rows start with the interface bits on and clear rows with every bit on, so a
        // wrong mask, a lost bit or a touched interface bit all show.
        struct Row
        {
            const char *opt;
            int start, expected;
            const char *box, *text;
        };
        const Row rows[] = {
            {"optNone", 0x7F, 0x7F & ~Parity, "txtParityNoneOdd", "NONE"},
            {"optYes", RS422 | RS485 | Even, RS422 | RS485 | Even | Parity, "txtParityNoneOdd", "EVEN"},
            {"optYes", RS422 | RS485, RS422 | RS485 | Parity, "txtParityNoneOdd", "ODD"},
            {"optEven", RS422 | RS485 | Parity, RS422 | RS485 | Parity | Even, "txtParityNoneOdd", "EVEN"},
            {"optOdd", 0x7F, 0x7F & ~Even, "txtParityNoneOdd", "ODD"},
            {"opt7", RS422 | RS485, RS422 | RS485 | SevenData, "txtData1", "7"},
            {"opt8", 0x7F, 0x7F & ~SevenData, "txtData1", "8"},
            {"opt1", 0x7F, 0x7F & ~TwoStop, "txtStop1", "1"},
            {"opt2", RS422 | RS485, RS422 | RS485 | TwoStop, "txtStop1", "2"},
            {"optActive", RS422 | RS485, RS422 | RS485 | Handshake, "txtHandShake1", "ACTIVE"},
            {"optIgnore", 0x7F, 0x7F & ~Handshake, "txtHandShake1", "IGNORE"},
        };
        for (const char *form : {"paramConfigB", "paramConfigC"}) {
            const QChar ch = QLatin1Char(form[11]);
            for (const Row &r : rows)
                QTest::addRow("%s %s from %02x", form, r.opt, r.start)
                    << QString::fromLatin1(form) << QString::fromLatin1(r.opt) << r.start << r.expected
                    << QString::fromLatin1(r.box) + ch << QString::fromLatin1(r.text);
        }
        const QString b = QStringLiteral("paramConfigB");
        QTest::newRow("B opt232 clears 32 and 64") << b << "opt232" << 0x7F << 0x1F << QString() << QString();
        QTest::newRow("B opt422 keeps 64")
            << b << "opt422" << RS485 << (RS422 | RS485) << QString() << QString();
        QTest::newRow("B opt422 four-wire")
            << b << "opt422" << Even << (RS422 | Even) << QString() << QString();
    }
    void channelOption()
    {
        QFETCH(QString, form);
        QFETCH(QString, box);
        GuiBench b;
        formatOf(b, form) = IntByte(FETCHED(int, start));
        otherFormatOf(b, form) = 0x55;
        b.forms.show(form);

        option(b, form, FETCHED(QString, opt))->click();

        QCOMPARE(int(formatOf(b, form)), FETCHED(int, expected));
        QCOMPARE(int(otherFormatOf(b, form)), 0x55);
        // The summary says it, on the channel's own side.
        if (!box.isEmpty())
            QCOMPARE(summary(b, box), FETCHED(QString, text));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }

    void parityRemembered_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("parityBits");
        QTest::addColumn<QString>("text");
        for (const char *form : {"paramConfigB", "paramConfigC"}) {
            QTest::addRow("%s even", form) << form << "optEven" << (Parity | Even) << "EVEN";
            QTest::addRow("%s odd", form) << form << "optOdd" << Parity << "ODD";
        }
    }
    void parityRemembered()
    {
        QFETCH(QString, form);
        QFETCH(QString, choice);
        QFETCH(QString, text);
        GuiBench b;
        b.forms.show(form);
        QWidget *dialog = b.forms.form(form);
        QWidget *frmParity = widget(b, form, QStringLiteral("frmParity"));
        const QString box = QStringLiteral("txtParityNoneOdd") + form.right(1);

        option(b, form, QStringLiteral("optYes"))->click();
        option(b, form, choice)->click();
        option(b, form, QStringLiteral("optNone"))->click();
        QVERIFY(!frmParity->isVisibleTo(dialog));
        QCOMPARE(summary(b, box), QStringLiteral("NONE"));
        QCOMPARE(formatOf(b, form) & (Parity | Even), FETCHED(int, parityBits) & Even);

        option(b, form, QStringLiteral("optYes"))->click();
        QVERIFY(frmParity->isVisibleTo(dialog));
        QVERIFY(option(b, form, choice)->isChecked());
        QCOMPARE(formatOf(b, form) & (Parity | Even), FETCHED(int, parityBits));
        QCOMPARE(summary(b, box), text);
    }

    void rs232ClearsInterfaceBits_data()
    {
        QTest::addColumn<int>("start");
        QTest::newRow("four-wire") << RS422;
        QTest::newRow("two-wire") << (RS422 | RS485);
        QTest::newRow("64 alone") << RS485;
        QTest::newRow("everything") << 0x7F;
    }
    void rs232ClearsInterfaceBits()
    {
        QFETCH(int, start);
        GuiBench b;
        const QString form = QStringLiteral("paramConfigB");
        option(b, form, QStringLiteral("opt422"))->click();
        b.session.rec.ChanBFormat = IntByte(start);
        option(b, form, QStringLiteral("opt232"))->click();
        QCOMPARE(int(b.session.rec.ChanBFormat), start & ~(RS422 | RS485));
    }

    void interfaceProcedures_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("caption");
        for (int start : {0x00, 0x1F, 0x7F}) {
            const int base = start & 0x1F;
            QTest::addRow("RS422ON from %02x", start)
                << "RS422ON" << start << (base | RS422) << "RS422-4 Wire";
            QTest::addRow("RS485ON from %02x", start)
                << "RS485ON" << start << (base | RS422 | RS485) << "RS485-2 Wire";
            QTest::addRow("menu RS422 from %02x", start)
                << "RS422" << start << (base | RS422) << "RS422-4 Wire";
            QTest::addRow("menu RS485 from %02x", start)
                << "RS485" << start << (base | RS422 | RS485) << "RS485-2 Wire";
        }
    }
    void interfaceProcedures()
    {
        QFETCH(QString, how);
        GuiBench b;
        auto *dialog = b.forms.form<paramConfigB>(QStringLiteral("paramConfigB"));
        b.session.rec.ChanBFormat = IntByte(FETCHED(int, start));
        if (how == QLatin1String("RS422ON"))
            dialog->RS422ON();
        else if (how == QLatin1String("RS485ON"))
            dialog->RS485ON();
        else
            dialog->findChild<QMenu *>(QStringLiteral("RS422_485"))->findChild<QAction *>(how)->trigger();
        QCOMPARE(int(b.session.rec.ChanBFormat), FETCHED(int, expected));
        QCOMPARE(b.text("paramConfigB", "opt422"), FETCHED(QString, caption));
    }

    void pressOnRs422_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("popup");
        QTest::newRow("QN6000-XAJ") << "QN6000-XAJ" << true;
        QTest::newRow("QN6000-LBW") << "QN6000-LBW" << false;
        QTest::newRow("QN6000-NGD") << "QN6000-NGD" << false;
        QTest::newRow("no model yet") << "" << false;
    }
    void pressOnRs422()
    {
        QFETCH(bool, popup);
        GuiBench b;
        b.session.model = findModel(FETCHED(QString, model));
        b.forms.show(QStringLiteral("paramConfigB"));
        QWidget *dialog = b.forms.form(QStringLiteral("paramConfigB"));
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        auto *opt422 = option(b, QStringLiteral("paramConfigB"), QStringLiteral("opt422"));
        auto *menu = dialog->findChild<QMenu *>(QStringLiteral("RS422_485"));
        b.session.rec.ChanBFormat = IntByte(RS485 | Parity);

        const QPoint onIndicator(8, opt422->height() / 2);
        QTest::mousePress(opt422, Qt::LeftButton, {}, onIndicator);
        if (!popup)
            QTest::mouseRelease(opt422, Qt::LeftButton, {}, onIndicator);

        QVERIFY(opt422->isChecked());
        QCOMPARE(menu->isVisible(), popup);
        if (!popup) {
            // The plain click: bit 32 on, two-wire left as it was, caption unchanged.
            QCOMPARE(int(b.session.rec.ChanBFormat), RS422 | RS485 | Parity);
            QCOMPARE(opt422->text(), QStringLiteral("RS422"));
            return;
        }
        QCOMPARE(int(b.session.rec.ChanBFormat), RS422 | Parity);
        QCOMPARE(opt422->text(), QStringLiteral("RS422-4 Wire"));
        menu->findChild<QAction *>(QStringLiteral("RS485"))->trigger();
        menu->close();
        QCOMPARE(int(b.session.rec.ChanBFormat), RS422 | RS485 | Parity);
        QCOMPARE(opt422->text(), QStringLiteral("RS485-2 Wire"));
    }

    void channelDefaults_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("defaulted");
        // Bit 4 is no default of its own: only parity off is.
        QTest::newRow("B") << "paramConfigB" << Even;
        QTest::newRow("C keeps 32 and 64") << "paramConfigC" << (Even | RS422 | RS485);
    }
    void channelDefaults()
    {
        QFETCH(QString, form);
        QFETCH(int, defaulted);
        GuiBench b;
        auto *dialog = qobject_cast<ChannelParams *>(b.forms.form(form));
        QVERIFY(dialog);
        if (form == QLatin1String("paramConfigB"))
            option(b, form, QStringLiteral("opt422"))->click();
        for (const char *o : {"optYes", "opt7", "opt2", "optActive"})
            option(b, form, QLatin1String(o))->click();

        formatOf(b, form) = 0x7F;
        dialog->selectDefaults();
        QCOMPARE(int(formatOf(b, form)), defaulted);
        const QString ch = form.right(1);
        QCOMPARE(summary(b, QStringLiteral("txtParityNoneOdd") + ch), QStringLiteral("NONE"));
        QCOMPARE(summary(b, QStringLiteral("txtData1") + ch), QStringLiteral("8"));
        QCOMPARE(summary(b, QStringLiteral("txtStop1") + ch), QStringLiteral("1"));
        QCOMPARE(summary(b, QStringLiteral("txtHandShake1") + ch), QStringLiteral("IGNORE"));

        // The options show the record, also one changed behind the dialog's back, and follow
        // the defaults.
        formatOf(b, form) = 0x7F;
        dialog->show();
        for (const char *o : {"optYes", "optEven", "opt7", "opt2", "optActive"})
            QVERIFY2(option(b, form, QLatin1String(o))->isChecked(), o);
        dialog->selectDefaults();
        for (const char *o : {"optNone", "opt8", "opt1", "optIgnore"})
            QVERIFY2(option(b, form, QLatin1String(o))->isChecked(), o);
        QVERIFY(!widget(b, form, QStringLiteral("frmParity"))->isVisible());
    }

    void acceptGivesMainBack_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("accept");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("mainExists");
        const std::pair<const char *, const char *> dialogs[] = {
            {"paramConfigB", "Command2"}, {"paramConfigC", "Command2"}, {"df_Param", "cmdAccept"}};
        for (const auto &[form, button] : dialogs) {
            QTest::addRow("%s %s", form, button) << form << button << false << true;
            QTest::addRow("%s close box", form) << form << button << true << true;
            QTest::addRow("%s %s without main4000", form, button) << form << button << false << false;
        }
    }
    void acceptGivesMainBack()
    {
        QFETCH(QString, form);
        QFETCH(bool, mainExists);
        GuiBench b;
        QWidget *main = nullptr;
        if (mainExists) {
            main = b.defineMain();
            main->setEnabled(false);
        }
        b.forms.show(form);
        QWidget *dialog = b.forms.form(form);
        if (FETCHED(bool, closeBox))
            QVERIFY(dialog->close());
        else
            QTest::mouseClick(widget(b, form, FETCHED(QString, accept)), Qt::LeftButton);

        QVERIFY(dialog->isHidden());
        if (mainExists) {
            QVERIFY(main->isEnabled());
            QVERIFY(main->isVisible());
        } else {
            QVERIFY(!b.forms.existing(QStringLiteral("main4000")));
        }
        // Hidden, not destroyed: the same dialog comes back with its selections.
        QCOMPARE(b.forms.existing(form), dialog);
    }

    // Escape leaves a dialog as its accept does, or as its cancel where it has one (the
    // Toshiba and rack map dialogs, which then start afresh).
    void escapeLeaves_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("cancels");
        for (const char *f : {"paramConfigB", "paramConfigC", "df_Param", "modbus_prot", "YZE_DataTable",
                              "VR58_DataTable", "toshiba_Super2E"})
            QTest::newRow(f) << f << false;
        QTest::newRow("toshiba_VFD") << "toshiba_VFD" << true;
        QTest::newRow("rio_bt") << "rio_bt" << true;
    }
    void escapeLeaves()
    {
        QFETCH(QString, form);
        GuiBench b;
        QWidget *main = b.defineMain();
        main->setEnabled(false);
        b.forms.show(form);
        QWidget *dialog = b.forms.form(form);
        // Sent to a control, as a key goes to the one with the focus.
        QWidget *control = dialog->findChild<QAbstractButton *>();
        QVERIFY(control);
        QTest::keyClick(control, Qt::Key_Escape);
        QVERIFY(dialog->isHidden());
        QVERIFY(main->isEnabled());
        QVERIFY(main->isVisible());
        QCOMPARE(b.forms.existing(form) == nullptr, FETCHED(bool, cancels));
    }

    // Every form of every model keeps the size it was drawn at (its layout's, where a model
    // changes it): the user can neither stretch nor shrink it.
    void everyFormFixedAsDrawn()
    {
        for (const ModelInfo &m : modelCatalog()) {
            GuiBench b;
            b.chooseModel(m.code);
            for (const QString &name : b.forms.names()) {
                QWidget *form = b.forms.form(name);
                b.forms.show(name);
                const QString what = m.code + QLatin1Char(' ') + name;
                QVERIFY2(form->minimumSize() == form->size() && form->maximumSize() == form->size(),
                         qPrintable(what));
                for (const char *inside : {"lblStatus", "lblViewStatus", "cmdEXIT", "cmdExit"})
                    if (QWidget *w = form->findChild<QWidget *>(QLatin1String(inside));
                        w && w->isVisibleTo(form))
                        QVERIFY2(form->rect().contains(w->geometry()),
                                 qPrintable(what + QLatin1Char(' ') + inside));
                b.forms.hide(name);
            }
        }
    }

    void dfOption_data()
    {
        QTest::addColumn<QString>("opt");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("sets");
        const struct
        {
            const char *opt;
            int mask;
            bool sets;
        } rows[] = {
            {"optBCC", 1, false},    {"optCRC", 1, true},        {"optAccept", 2, true},
            {"optIgnore", 2, false}, {"optExecEmbed", 4, true},  {"optNoneEmbed", 4, false},
            {"optPass", 8, true},    {"optExecDiag", 8, false},  {"optMultiDrop", 16, true},
            {"optPoint", 16, false}, {"opt485", 16, true},       {"opt422", 16, false},
            {"optRTS", 32, true},    {"optNoneLoop", 32, false}, {"optSRC", 32, true},
            {"optDST", 32, false},
        };
        for (const auto &r : rows)
            QTest::newRow(r.opt) << r.opt << r.mask << r.sets;
    }
    void dfOption()
    {
        QFETCH(int, mask);
        QFETCH(bool, sets);
        GuiBench b;
        const int start = sets ? 0xC0 : 0xFF;
        b.session.rec.LinkOptions = IntByte(start);
        option(b, QStringLiteral("df_Param"), FETCHED(QString, opt))->click();
        QCOMPARE(int(b.session.rec.LinkOptions), sets ? (start | mask) : (start & ~mask));
        // Nothing of the DF1 options is echoed on the summary.
        QVERIFY(!b.forms.existing(QStringLiteral("view")));
    }

    void dfSharedBits_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("expected");
        QTest::newRow("485 then point") << "standard" << QStringList{"opt485", "optPoint"} << 0;
        QTest::newRow("point then 485") << "standard" << QStringList{"optPoint", "opt485"} << 16;
        QTest::newRow("multi-drop then 422") << "standard" << QStringList{"optMultiDrop", "opt422"} << 0;
        QTest::newRow("master: SRC") << "multidrop" << QStringList{"optSRC"} << 32;
        // The loopback click selects "USE SRC" too, so "USE DST" takes the bit back.
        QTest::newRow("master: RTS then DST") << "multidrop" << QStringList{"optRTS", "optDST"} << 0;
        QTest::newRow("master: SRC then DST") << "multidrop" << QStringList{"optSRC", "optDST"} << 0;
        QTest::newRow("master: SRC then no loop") << "multidrop" << QStringList{"optSRC", "optNoneLoop"} << 0;
        QTest::newRow("master: 485") << "multidrop" << QStringList{"opt485"} << 16;
        QTest::newRow("dual: multi-drop, SRC") << "dual" << QStringList{"optMultiDrop", "optSRC"} << 48;
    }
    void dfSharedBits()
    {
        QFETCH(QString, layout);
        GuiBench b;
        auto *dialog = b.forms.form<df_Param>(QStringLiteral("df_Param"));
        dialog->selectDefaults();
        if (layout == QLatin1String("multidrop"))
            dialog->layoutMultidropMaster();
        else if (layout == QLatin1String("dual"))
            dialog->layoutDualChannel();
        else
            dialog->layoutStandard();
        b.session.rec.LinkOptions = 0;
        for (const QString &c : FETCHED(QStringList, clicks))
            option(b, QStringLiteral("df_Param"), c)->click();
        const int bits = FETCHED(int, expected);
        QCOMPARE(int(b.session.rec.LinkOptions), bits);
        // Both frames of a bit show it, whichever of them was clicked.
        const auto shows = [&](const char *set, const char *clear, int bit) {
            QCOMPARE(option(b, QStringLiteral("df_Param"), QLatin1String(set))->isChecked(),
                     (bits & bit) != 0);
            QCOMPARE(option(b, QStringLiteral("df_Param"), QLatin1String(clear))->isChecked(),
                     (bits & bit) == 0);
        };
        shows("optMultiDrop", "optPoint", 16);
        shows("opt485", "opt422", 16);
        shows("optRTS", "optNoneLoop", 32);
        shows("optSRC", "optDST", 32);
    }

    void dfLayouts_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("configTitle");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("linkOptions"); // from 0x3F
        const QString standard = QStringLiteral("DF1 ADVANCED PARAMETERS");
        QTest::newRow("as created") << "" << standard << "CONFIGURATION"
                                    << QStringList{"frmConfig", "frmRTS", "lblKF2"} << 0x3F;
        QTest::newRow("no loopback") << "loopback" << standard << "CONFIGURATION"
                                     << QStringList{"frmConfig", "lblKF2"} << 0x3F;
        QTest::newRow("standard") << "standard" << standard << "DF1 CHANNEL CONFIGURATION"
                                  << QStringList{"frmConfig"} << 0x3F;
        QTest::newRow("multidrop master") << "multidrop" << standard << "CONFIGURATION"
                                          << QStringList{"frmPXA", "frmRTS", "frmSTN"} << 0x0F;
        QTest::newRow("dual DF1") << "dual"
                                  << " BOTH DF1 CHAN. ADVANCED PARAMETERS"
                                  << "1ST CHANNEL CONFIGURATION"
                                  << QStringList{"frmConfig", "frmRTS", "lblKF2"} << 0x3F;
        QTest::newRow("other protocol")
            << "other" << standard << "CONFIGURATION" << QStringList{"frmConfig", "frmRTS"} << 0x3F;
    }
    void dfLayouts()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, shown);
        GuiBench b;
        auto *dialog = b.forms.form<df_Param>(QStringLiteral("df_Param"));
        b.session.rec.LinkOptions = 0x3F;
        if (layout == QLatin1String("loopback"))
            dialog->hideLoopback();
        else if (layout == QLatin1String("standard"))
            dialog->layoutStandard();
        else if (layout == QLatin1String("multidrop"))
            dialog->layoutMultidropMaster();
        else if (layout == QLatin1String("dual"))
            dialog->layoutDualChannel();
        else if (layout == QLatin1String("other"))
            dialog->layoutOtherProtocol();

        QCOMPARE(dialog->windowTitle(), FETCHED(QString, title));
        QCOMPARE(b.control<QGroupBox>("df_Param", "frmConfig")->title(), FETCHED(QString, configTitle));
        for (const char *name : {"frmConfig", "frmPXA", "frmRTS", "frmSTN", "lblKF2"})
            QVERIFY2(widget(b, QStringLiteral("df_Param"), QLatin1String(name))->isVisibleTo(dialog) ==
                         shown.contains(QLatin1String(name)),
                     name);
        QCOMPARE(int(b.session.rec.LinkOptions), FETCHED(int, linkOptions));
        if (layout == QLatin1String("multidrop")) {
            QCOMPARE(widget(b, QStringLiteral("df_Param"), QStringLiteral("frmPXA"))->y(), 2880 / 15);
            QVERIFY(option(b, QStringLiteral("df_Param"), QStringLiteral("opt422"))->isChecked());
            QVERIFY(option(b, QStringLiteral("df_Param"), QStringLiteral("optDST"))->isChecked());
        }
        if (layout == QLatin1String("dual"))
            QCOMPARE(widget(b, QStringLiteral("df_Param"), QStringLiteral("lblKF2"))->y(), 4000 / 15);
        const QStringList faults = layoutFaults(dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }

    void dfDefaults()
    {
        GuiBench b;
        auto *dialog = b.forms.form<df_Param>(QStringLiteral("df_Param"));
        b.session.rec.LinkOptions = 0xFF;
        dialog->selectDefaults();
        // Bits 64 and 128 belong to no option.
        QCOMPARE(int(b.session.rec.LinkOptions), 0xC0);
        for (const char *o :
             {"optBCC", "optExecDiag", "optPoint", "optNoneEmbed", "optIgnore", "optNoneLoop"})
            QVERIFY2(option(b, QStringLiteral("df_Param"), QLatin1String(o))->isChecked(), o);
    }

    void nothingCutOff_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("state");
        QTest::newRow("channel B") << "paramConfigB"
                                   << "";
        QTest::newRow("channel B, parity on, two-wire") << "paramConfigB"
                                                        << "parity";
        QTest::newRow("channel C, parity on") << "paramConfigC"
                                              << "parity";
        QTest::newRow("DF1") << "df_Param"
                             << "";
        QTest::newRow("summary") << "view"
                                 << "";
        for (const char *f : {"modbus_prot", "siemens_param", "toshiba_VFD", "toshiba_Super2E",
                              "YZE_DataTable", "VR58_DataTable", "rio_bt"})
            QTest::newRow(f) << f << "";
        QTest::newRow("Modbus master") << "modbus_prot"
                                       << "optMaster";
        QTest::newRow("Modbus broadcast") << "modbus_prot"
                                          << "optYesBroadcast";
        QTest::newRow("Siemens two-wire") << "siemens_param"
                                          << "opt485";
        QTest::newRow("Toshiba two-wire") << "toshiba_VFD"
                                          << "opt485";
        QTest::newRow("summary, every row") << "view"
                                            << "all";
    }
    void nothingCutOff()
    {
        QFETCH(QString, form);
        QFETCH(QString, state);
        GuiBench b;
        QWidget *w = b.forms.form(form);
        if (state == QLatin1String("parity")) {
            option(b, form, QStringLiteral("optYes"))->click();
            if (auto *dialog = qobject_cast<paramConfigB *>(w))
                dialog->RS485ON();
        }
        if (state.startsWith(QLatin1String("opt")))
            option(b, form, state)->click();
        if (state == QLatin1String("all")) {
            // Every row at once, with the longest values the other forms write.
            for (QWidget *c : w->findChildren<QWidget *>())
                if (!c->objectName().isEmpty() && !c->objectName().startsWith(QLatin1String("qt_")))
                    c->show();
            const std::pair<const char *, const char *> values[] = {
                {"txtModel", "QN4000-WOLTA"},
                {"txtProtocola", "MODBUS RTU"},
                {"txtOctal1", "Decimal"},
                {"txtHighAddress1", "PLC ADDRESS"},
                {"txtSiemensProt", "TOSHIBA PROTOCOL"},
                {"txtDate", "Wednesday, Sep. 30 2026"},
                {"txtJMR1", "L/M3"},
                {"txtKbaudChannelB", "Kbaud"},
            };
            for (const auto &[name, text] : values)
                b.control<QLineEdit>("view", name)->setText(QString::fromLatin1(text));
        }
        const QStringList faults = layoutFaults(w);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }
    void everyFormAtDesktopSettings_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("dark");
        QTest::newRow("9 pt") << 9 << false;
        QTest::newRow("11 pt") << 11 << false;
        QTest::newRow("12 pt") << 12 << false;
        QTest::newRow("12 pt, dark theme") << 12 << true;
    }
    // Whatever the desktop's font size and theme, every form of every model shows its captions
    // whole and readable.
    void everyFormAtDesktopSettings()
    {
        QFETCH(int, points);
        QFETCH(bool, dark);
        const QFont font = QApplication::font();
        const QPalette palette = QApplication::palette();
        const auto restore = qScopeGuard([&] {
            QApplication::setFont(font);
            QApplication::setPalette(palette);
        });
        QApplication::setFont(QFont(font.family(), points));
        if (dark)
            QApplication::setPalette(darkTheme());
        bool first = true;
        for (const ModelInfo &m : modelCatalog()) {
            GuiBench b;
            b.chooseModel(m.code);
            // Every form once; after that the forms a model's set-up lays out.
            QStringList names = b.forms.names();
            if (!std::exchange(first, false))
                names.removeIf([&](const QString &n) { return !b.forms.isLoaded(n); });
            for (const QString &name : names) {
                QWidget *form = b.forms.form(name);
                // The colours do not depend on the font: looked at once in each theme.
                const QStringList faults =
                    layoutFaults(form) + (points == 12 ? unreadableTexts(form) : QStringList());
                QVERIFY2(faults.isEmpty(), qPrintable(m.code + QLatin1Char(' ') + name + QLatin1String(": ") +
                                                      faults.join(QLatin1String("; "))));
            }
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
