// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame/manual.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include "support/guibench.h"

// The manual the build makes: F1 on every form opens it at that form's section, and every
// picture it shows was rendered.
class tst_manual : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_opened.clear();
        setManualOpener([this](const QUrl &url) {
            m_opened << url;
            return true;
        });
    }
    void cleanup() { setManualOpener({}); }

    void f1OpensTheFormsSection()
    {
        const QString page = manualUrl().toLocalFile();
        QVERIFY2(QFileInfo(page).isFile(), "no manual: the build makes it (target manual)");
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());

        GuiBench b;
        b.chooseModel(QStringLiteral("QN4000-NGD"));
        for (const QString &name : b.forms.names()) {
            b.forms.show(name);
            QWidget *form = b.forms.existing(name);
            QVERIFY2(form, qPrintable(name));
            QApplication::setActiveWindow(form);
            QTest::keyClick(form, Qt::Key_F1);
            QVERIFY2(m_opened.size() == 1, qPrintable(name + QStringLiteral(": F1 opened nothing")));
            const QUrl url = m_opened.takeFirst();
            QCOMPARE(url.toLocalFile(), page);
            QCOMPARE(url.fragment(), name);
            QVERIFY2(html.contains(QStringLiteral("id=\"%1\"").arg(name)),
                     qPrintable(name + QStringLiteral(" has no section in the manual")));
            QVERIFY2(html.contains(QStringLiteral("src=\"images/%1.png\"").arg(name)),
                     qPrintable(name + QStringLiteral(" has no picture in the manual")));
            form->hide();
        }
        // And the main menu's Help button and the configuration form's menu entry.
        b.button("Welcome1", "cmdHelp")->click();
        b.mainForm()->action(QStringLiteral("help_manual"))->trigger();
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened.at(0).fragment(), QStringLiteral("Welcome1"));
        QCOMPARE(m_opened.at(1).fragment(), QStringLiteral("main4000"));
        for (const auto &p : b.prompts.shown())
            QVERIFY2(!p.title.contains(QStringLiteral("Manual")), qPrintable(p.text));

        // Every picture the page shows is there, rendered (a PNG of some size).
        static const QRegularExpression img(QStringLiteral("<img src=\"([^\"]+)\""));
        int pictures = 0;
        for (auto it = img.globalMatch(html); it.hasNext(); ++pictures) {
            const QString src = it.next().captured(1);
            QFile png(QFileInfo(page).dir().filePath(src));
            QVERIFY2(png.open(QIODevice::ReadOnly), qPrintable(src + QStringLiteral(" was not rendered")));
            QVERIFY2(png.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8) && png.size() > 1000, qPrintable(src));
        }
        QCOMPARE(pictures, int(b.forms.names().size()));
    }

private:
    QList<QUrl> m_opened;
};

QTEST_MAIN(tst_manual)
#include "tst_manual.moc"
