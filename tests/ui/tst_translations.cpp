// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/configfiles.h"
#include "editor/summaryprint.h"
#include "files/localfile.h"
#include "serial/portinfo.h"

#include <QAction>
#include <QGroupBox>
#include <QHash>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>

#include "support/guibench.h"

namespace {

// Turns every text that is looked up for translation into «text», whatever its context, so
// what went through a translation shows, and as a whole.
class PseudoTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return marked(QString::fromUtf8(source));
    }
    static QString marked(const QString &text) { return QChar(0xAB) + text + QChar(0xBB); }
};

// The program's own texts on the forms, which a translation changes: per form, the
// "control.property" they are. Every other text a form shows is one of the system's fixed
// texts.
const QHash<QString, QString> OwnFormTexts = {
    {QStringLiteral("download"),
     QStringLiteral("download\\.windowTitle|Label1\\.text|Command1\\.(text|toolTip)")},
    {QStringLiteral("upload"), QStringLiteral("upload\\.windowTitle")},
    {QStringLiteral("about"), QStringLiteral("lbl(Title|Version|Info)\\.text")},
    {QStringLiteral("Welcome1"), QStringLiteral("cmdDOWNLOAD\\.toolTip|cmdHelp\\.(text|toolTip)")},
    {QStringLiteral("main4000"), QStringLiteral("help_manual\\.text")},
    // what each box of the rack map stands for
    {QStringLiteral("rio_bt"), QStringLiteral("chk[1-7][0-7][01]\\.toolTip")},
    // the range a number box takes
    {QStringLiteral("modbus_prot"), QStringLiteral("txt(Start|End|File|Word)[1-8]\\.toolTip")},
    {QStringLiteral("YZE_DataTable"), QStringLiteral("txt(XXX|YYY)\\.toolTip")},
    {QStringLiteral("VR58_DataTable"), QStringLiteral("txt(XXX|YYY)\\.toolTip")},
    {QStringLiteral("toshiba_VFD"), QStringLiteral("txt(IntRetries|PollingRetries|Delay)\\.toolTip")},
    {QStringLiteral("toshiba_Super2E"), QStringLiteral("txtWD[2-5][0-9]\\.toolTip")},
};

// Every text a user reads on a form, one "control.property=text" line each, in a fixed order.
QStringList textsOf(QWidget *form)
{
    QStringList lines;
    auto add = [&lines](const QObject *o, const char *property, const QString &text) {
        if (!text.isEmpty())
            lines << o->objectName() + QLatin1Char('.') + QLatin1String(property) + QLatin1Char('=') + text;
    };
    add(form, "windowTitle", form->windowTitle());
    QList<QWidget *> widgets = form->findChildren<QWidget *>();
    widgets.prepend(form);
    for (QWidget *w : widgets) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        add(w, "toolTip", w->toolTip());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(w, "text", b->text());
        else if (auto *l = qobject_cast<QLabel *>(w))
            add(w, "text", l->text());
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            add(w, "text", e->text());
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            add(w, "title", g->title());
        else if (auto *m = qobject_cast<QMenu *>(w))
            add(w, "title", m->title());
        else if (auto *c = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < c->count(); ++i)
                add(w, "item", c->itemText(i));
        }
    }
    for (const QAction *a : form->findChildren<QAction *>()) {
        if (!a->objectName().isEmpty())
            add(a, "text", a->text());
    }
    return lines;
}

QStringList formTexts(const QString &name)
{
    GuiBench b;
    return textsOf(b.forms.form(name));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The same serial ports on every machine: none.
        setSerialPortLister([] { return QList<SerialPortEntry>{}; });
    }
    void cleanupTestCase() { setSerialPortLister({}); }

    // A translation changes none of a form's fixed texts, and each of the program's own
    // texts only as a whole.
    void formsKeepTheirFixedTexts_data()
    {
        QTest::addColumn<QString>("form");
        GuiBench b;
        for (const QString &name : b.forms.names())
            QTest::newRow(qPrintable(name)) << name;
    }
    void formsKeepTheirFixedTexts()
    {
        QFETCH(QString, form);
        const QStringList plain = formTexts(form);
        QVERIFY(!plain.isEmpty());
        PseudoTranslator pseudo;
        QCoreApplication::installTranslator(&pseudo);
        const QStringList translated = formTexts(form); // the texts are set as a form is built
        QCoreApplication::removeTranslator(&pseudo);

        QCOMPARE(translated.size(), plain.size());
        const QRegularExpression own(
            QStringLiteral("^(%1)$").arg(OwnFormTexts.value(form, QStringLiteral("(?!)"))));
        int owned = 0;
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const QString key = plain.at(i).section(QLatin1Char('='), 0, 0);
            if (own.match(key).hasMatch()) {
                ++owned;
                QCOMPARE(translated.at(i),
                         key + QLatin1Char('=') + PseudoTranslator::marked(plain.at(i).mid(key.size() + 1)));
            } else {
                QCOMPARE(translated.at(i), plain.at(i));
            }
        }
        if (OwnFormTexts.contains(form))
            QVERIFY2(owned > 0, "none of the texts listed as the form's own are on it");
    }

    // Messages of the program's own come out translated; the system's fixed texts beside
    // them stay as they are.
    void ownMessagesAreTranslated()
    {
        PseudoTranslator pseudo;
        QCoreApplication::installTranslator(&pseudo);
        const auto uninstall = qScopeGuard([&pseudo] { QCoreApplication::removeTranslator(&pseudo); });
        GuiBench b;
        const auto m = PseudoTranslator::marked;

        QCOMPARE(portAdvice(QStringLiteral("/dev/ttyQ9"), 0, QString()),
                 m(QStringLiteral("Check that /dev/ttyQ9 is the converter's serial port.")));

        QByteArray bytes;
        QCOMPARE(readRegularFile(QStringLiteral("/nonexistent/a.QNC"), MaxConfigFileBytes, &bytes).error,
                 m(QStringLiteral("\"/nonexistent/a.QNC\" cannot be opened: there is no such file.")));

        b.prompts.answerMessage(Prompts::Ok);
        QVERIFY(!Save_THE_File(b.context));
        QCOMPARE(b.prompts.shown().last().text, m(QStringLiteral("Choose the Quintrel model first.")));
        QCOMPARE(b.prompts.shown().last().title, m(QStringLiteral("!Error! No Model")));

        b.prompts.answerSave(QString());
        QVERIFY(!printSummary(b.context));
        const Prompts::FileRequest pdf = b.prompts.shown().last().request;
        QCOMPARE(pdf.title, m(QStringLiteral("No printer: save the summary as a PDF file")));
        QCOMPARE(pdf.filter, m(QStringLiteral("PDF Files")) + QStringLiteral(" (*.pdf)|*.pdf"));

        // A port that cannot be opened: the fixed first line, then the advice of our own.
        b.session.PortNumber = 1;
        b.session.rec.FamilyCode = QStringLiteral("4000");
        b.comm.setComDevice(1, QStringLiteral("/nonexistent/ttyQ"));
        b.prompts.answerMessage(Prompts::Ok);
        QCOMPARE(b.link.OpenDevicePort(), 2);
        const QStringList lines = b.prompts.shown().last().text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).startsWith(
                     QLatin1String("Unable to Open COM PORT to Quintrel!!, COM Error: Error (")),
                 qPrintable(lines.at(0)));
        QCOMPARE(lines.at(1),
                 m(QStringLiteral("/nonexistent/ttyQ: not connected, or it has another name now. ") +
                   m(QStringLiteral("No serial ports were found."))));
        QVERIFY2(b.prompts.problems().isEmpty(), qPrintable(b.prompts.problems()));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
