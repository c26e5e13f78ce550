// SPDX-License-Identifier: GPL-3.0-or-later
// Window stacking on a real X display with no window manager, where nothing but the program
// itself brings a window to the front. Run under xvfb-run; skipped on platforms without
// windows of their own.

#include <QApplication>
#include <QTest>

#include "support/guibench.h"

class TestStacking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display");
    }

    // A dialog shown again comes up above the form that opened it, not behind it.
    void reShownFormComesToTheFront()
    {
        GuiBench b;
        QWidget *main = b.forms.form(QStringLiteral("main4000"));
        main->move(0, 0);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QWidget *dialog = b.forms.form(QStringLiteral("paramConfigB"));
        dialog->move(0, 0);
        b.forms.show(QStringLiteral("paramConfigB"));
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QPoint inBoth(20, 20);
        QTRY_COMPARE(QApplication::topLevelAt(inBoth), dialog);

        b.forms.hide(QStringLiteral("paramConfigB"));
        main->raise();
        QTRY_COMPARE(QApplication::topLevelAt(inBoth), main);
        b.forms.show(QStringLiteral("paramConfigB"));
        QTRY_COMPARE(QApplication::topLevelAt(inBoth), dialog);
    }
};

QTEST_MAIN(TestStacking)
#include "tst_stacking.moc"
