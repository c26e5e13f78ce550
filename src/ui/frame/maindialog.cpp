// SPDX-License-Identifier: GPL-3.0-or-later
#include "maindialog.h"

#include "frame/formregistry.h"
#include "frame/typedlist.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>

namespace {
const QString Main = QStringLiteral("main4000");
}

void giveMainFormBack(FormRegistry &forms)
{
    if (QWidget *main = forms.form(Main)) {
        main->setEnabled(true);
        forms.show(Main);
    }
}

MainFormDialog::MainFormDialog(FormRegistry &forms, QWidget *parent) : QWidget(parent), m_forms(forms) {}

void MainFormDialog::accept()
{
    hide();
    // The form that opened the dialog; a dialog shown on its own has nothing to give back.
    if (m_forms.existing(Main))
        giveMainFormBack(m_forms);
}

void MainFormDialog::closeEvent(QCloseEvent *event)
{
    // The dialog hides itself (or is unloaded) in closeBox(); the close itself goes ahead.
    closeBox();
    event->accept();
}

void MainFormDialog::keyPressEvent(QKeyEvent *event)
{
    // A key the focused control did not take comes here.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        escape();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainFormDialog::showEvent(QShowEvent *event)
{
    if (!m_keysKept) {
        m_keysKept = true;
        for (QLineEdit *box : findChildren<QLineEdit *>())
            keepAltForAccessKeys(box);
    }
    // A dialog already placed (moved before it first shows) stays where it was put.
    if (!m_placed && !event->spontaneous() && !testAttribute(Qt::WA_Moved)) {
        m_placed = true;
        QWidget *main = m_forms.existing(Main);
        QRect over = main && main->isVisible() ? main->frameGeometry() : QRect();
        if (over.isEmpty() && screen())
            over = screen()->availableGeometry();
        if (!over.isEmpty()) {
            QRect mine = frameGeometry();
            mine.moveCenter(over.center());
            // Whole on the screen, title bar first.
            if (screen()) {
                const QRect room = screen()->availableGeometry();
                mine.moveLeft(
                    qBound(room.left(), mine.left(), qMax(room.left(), room.right() - mine.width())));
                mine.moveTop(qBound(room.top(), mine.top(), qMax(room.top(), room.bottom() - mine.height())));
            }
            move(mine.topLeft());
        }
    }
    QWidget::showEvent(event);
}
