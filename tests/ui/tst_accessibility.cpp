// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds on every form of every model, reached as a user reaches it: each
// window announced as a window or a dialog, each control the user can work named by what it
// is, the summary's boxes by their rows, and Tab going through the controls in reading order.
// The names are read through Qt's accessibility interfaces, as the AT-SPI bridge reads them.

#include "config/modelcatalog.h"
#include "frame/maindialog.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/guibench.h"
#include "support/testdata.h"

namespace {

// What a screen reader says a control is. Qt on Linux names a list by its current text and
// leaves its caption to the label whose buddy it is (AT-SPI's labelled-by), which a reader
// speaks instead.
QString spokenName(QAccessibleInterface *iface)
{
    const QString name = iface->text(QAccessible::Name);
    if (!name.isEmpty() && name != iface->text(QAccessible::Value))
        return name;
    QStringList labels;
    for (const auto &[label, relation] : iface->relations(QAccessible::Label)) {
        if (qobject_cast<QLabel *>(label->object()))
            labels << label->text(QAccessible::Name);
    }
    return labels.isEmpty() ? name : labels.join(QLatin1Char(' '));
}

bool isInput(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PushButton:
    case QAccessible::List:
        return true;
    default:
        return false;
    }
}

// The controls a user works on the form: shown, enabled, and for a text box one that is typed
// into or reached with Tab (the summary's boxes are printed text, checked on their own).
void collectInputs(QAccessibleInterface *iface, QList<QAccessibleInterface *> &inputs)
{
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (!child || child->state().invisible)
            continue;
        if (!isInput(child->role())) {
            collectInputs(child, inputs);
            continue;
        }
        auto *box = qobject_cast<QLineEdit *>(child->object());
        if (!child->state().disabled && !(box && box->isReadOnly() && box->focusPolicy() == Qt::NoFocus))
            inputs << child;
    }
}

// Where a control is read, in the form's coordinates: from its caption label on.
QRect place(QWidget *w, QWidget *form)
{
    QRect r(w->mapTo(form, QPoint(0, 0)), w->size());
    if (!w->parentWidget())
        return r;
    for (QLabel *label : w->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == w && label->isVisibleTo(form))
            r = r.united(QRect(label->mapTo(form, QPoint(0, 0)), label->size()));
    }
    return r;
}

// The Tab order against the reading order: from one control to the next, Tab never goes up a
// row nor left along one. Two controls in different frames are compared by their frames, so
// a frame is read whole before the next.
QStringList tabOrderFaults(QWidget *form)
{
    QList<QWidget *> stops;
    for (QWidget *w = form->nextInFocusChain(); w && w != form; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(form) && w->isEnabled())
            stops << w;
    }
    QStringList faults;
    for (qsizetype i = 1; i < stops.size(); ++i) {
        QWidget *a = stops.at(i - 1), *b = stops.at(i);
        // The two ancestors (or the controls) side by side under the nearest common one.
        while (a->parentWidget() && !a->parentWidget()->isAncestorOf(b))
            a = a->parentWidget();
        while (b->parentWidget() != a->parentWidget())
            b = b->parentWidget();
        const QRect from = a == stops.at(i - 1) ? place(a, form) : QRect(a->mapTo(form, QPoint()), a->size());
        const QRect to = b == stops.at(i) ? place(b, form) : QRect(b->mapTo(form, QPoint()), b->size());
        const int middle = to.center().y();
        if (middle < from.top() || (middle <= from.bottom() && to.left() < from.left()))
            faults << QStringLiteral("Tab goes from %1 back to %2")
                          .arg(stops.at(i - 1)->objectName(), stops.at(i)->objectName());
    }
    return faults;
}

// Everything a screen reader would get wrong on a shown form.
QStringList readerFaults(QWidget *form, QAccessible::Role role)
{
    QStringList faults;
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(form);
    if (window->role() != role)
        faults << QStringLiteral("announced with role %1, not %2").arg(window->role()).arg(role);
    QList<QAccessibleInterface *> inputs;
    collectInputs(window, inputs);
    QHash<QString, QString> named; // a text box's or a list's name: which one has it
    for (QAccessibleInterface *input : std::as_const(inputs)) {
        const QString what = input->object()->objectName();
        const QString name = spokenName(input);
        const bool valued =
            input->role() == QAccessible::ComboBox || input->role() == QAccessible::EditableText;
        if (name.trimmed().isEmpty())
            faults << what + QStringLiteral(" has no name");
        else if (valued && name == input->text(QAccessible::Value))
            faults << QStringLiteral("%1 is named only by what it holds, \"%2\"").arg(what, name);
        else if (valued && named.contains(name))
            faults << QStringLiteral("%1 and %2 are both \"%3\"").arg(named.value(name), what, name);
        if (valued)
            named.insert(name, what);
    }
    return faults + tabOrderFaults(form);
}

// The dialogs the main form opens, by the buttons that open them, and how each is left.
struct Opener
{
    const char *button;
    const char *dialog; // empty: the model's data table
    const char *accept;
};
const Opener Openers[] = {
    {"Command3", "paramConfigB", "Command2"},
    {"cmdAsyncC", "paramConfigC", "Command2"},
    {"cmdChannelC", "paramConfigC", "Command2"},
    {"cmdProtParam", "df_Param", "cmdAccept"},
    {"cmdModBus", "modbus_prot", "Command2"},
    {"cmdSiemensParam", "siemens_param", "cmdAccept"},
    {"cmdToshibaParam", "toshiba_VFD", "Command1"},
    {"cmdRioBt", "rio_bt", "cmdAccept"},
    {"cmdYZE", "", "cmdAccept"},
};

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    void expectNoFaults(QWidget *form, QAccessible::Role role, const QString &where)
    {
        QVERIFY2(form->isVisible(), qPrintable(where + QStringLiteral(" is not shown")));
        const QStringList faults = readerFaults(form, role);
        QVERIFY2(faults.isEmpty(),
                 qPrintable(where + QStringLiteral(": ") + faults.join(QStringLiteral("; "))));
    }

private Q_SLOTS:
    void everyFormOfEveryModel_data() { addModelRows(); }
    // The menu, the main form in each of the model's modes and networks, every dialog it opens,
    // and the summary.
    void everyFormOfEveryModel()
    {
        QFETCH(QString, model);
        GuiBench b;
        b.chooseModel(model);
        expectNoFaults(b.forms.form(QStringLiteral("Welcome1")), QAccessible::Window,
                       QStringLiteral("Welcome1"));
        b.forms.hide(QStringLiteral("Welcome1"));
        giveMainFormBack(b.forms);
        QWidget *main = b.mainForm();
        expectNoFaults(main, QAccessible::Window, QStringLiteral("main4000"));

        // Each layout the user can choose, where a mode or a network option brings one. The
        // moves of a layout put the Tab order right once they are done.
        for (QRadioButton *option : main->findChildren<QRadioButton *>()) {
            const QString frame = option->parentWidget()->objectName();
            if ((frame != QLatin1String("frmMode") && frame != QLatin1String("frmNetProt")) ||
                !option->isVisible() || !option->isEnabled())
                continue;
            option->click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
            expectNoFaults(main, QAccessible::Window,
                           QStringLiteral("main4000 after ") + option->objectName());
        }

        for (const Opener &o : Openers) {
            auto *button = main->findChild<QPushButton *>(QLatin1String(o.button));
            if (!button->isVisible() || !button->isEnabled())
                continue;
            const QString name = QLatin1String(*o.dialog ? o.dialog : b.session.model->dataTableForm);
            button->click();
            QWidget *dialog = b.forms.form(name);
            expectNoFaults(dialog, QAccessible::Dialog, name);
            if (name == QLatin1String("toshiba_VFD")) {
                // The relay table follows the drive dialog where the relays are chosen.
                b.button("toshiba_VFD", "optSuper2E")->click();
                b.button("toshiba_VFD", "Command1")->click();
                expectNoFaults(b.forms.form(QStringLiteral("toshiba_Super2E")), QAccessible::Dialog,
                               QStringLiteral("toshiba_Super2E"));
                b.button("toshiba_Super2E", "Command1")->click();
            } else {
                dialog->findChild<QPushButton *>(QLatin1String(o.accept))->click();
            }
            QVERIFY2(main->isEnabled() && main->isVisible(), qPrintable(name));
        }

        b.button("main4000", "cmdNext")->click();
        expectNoFaults(b.forms.form(QStringLiteral("view")), QAccessible::Window, QStringLiteral("view"));
    }

    void startAndToolWindows_data()
    {
        QTest::addColumn<QString>("form");
        for (const char *form :
             {"Welcome", "about", "model_freestand", "Welcome1", "download", "upload", "DHPDiag", "monitor"})
            QTest::newRow(form) << QString::fromLatin1(form);
    }
    // The windows no model changes, as each first opens.
    void startAndToolWindows()
    {
        QFETCH(QString, form);
        GuiBench b;
        b.forms.show(form);
        expectNoFaults(b.forms.form(form), QAccessible::Window, form);
    }

    void summaryRowsSayCaptionAndValue_data() { addModelRows(); }
    // Each box of a row shown is named by its row, so that a reader hears at the value what
    // the page's line says ("CHANNEL B PROTOCOL PARITY: NONE"), and a box inside a channel's
    // frame is never named by the frame's title alone.
    void summaryRowsSayCaptionAndValue()
    {
        QFETCH(QString, model);
        GuiBench b;
        b.chooseModel(model);
        b.forms.show(QStringLiteral("view"));
        const auto iface = [&b](const char *box) {
            return QAccessible::queryAccessibleInterface(
                b.forms.form(QStringLiteral("view"))->findChild<QLineEdit *>(QLatin1String(box)));
        };
        const QList<SummaryRow> rows = summaryRows(b.session.rec, *b.session.model, b.session.PortNumber);
        QStringList heard;
        for (const SummaryRow &r : rows) {
            if (!r.shown)
                continue;
            const QString name = iface(r.captionBox)->text(QAccessible::Name);
            if (!r.valueBox) {
                heard << name;
                continue;
            }
            QCOMPARE(iface(r.valueBox)->text(QAccessible::Name), name);
            QString line =
                name + QStringLiteral(": ") + iface(r.valueBox)->text(QAccessible::Value).trimmed();
            if (r.unitShown && !r.unit.isEmpty()) {
                QCOMPARE(iface(r.unitBox)->text(QAccessible::Name), name);
                line += QLatin1Char(' ') + iface(r.unitBox)->text(QAccessible::Value);
            }
            heard << line;
        }
        QCOMPARE(heard, summaryLines(rows));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
