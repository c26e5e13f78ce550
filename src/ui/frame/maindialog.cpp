#include "maindialog.h"

#include "frame/formregistry.h"

#include <QCloseEvent>

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
