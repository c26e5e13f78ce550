#pragma once

#include "config/session.h"
#include "link/devicelink.h"
#include "link/modcomm.h"
#include "shell/appcontext.h"
#include "shell/formcatalog.h"
#include "shell/formregistry.h"
#include "shell/printservice.h"
#include "shell/scriptedprompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// A whole program's worth of state for a GUI test: a fresh session, the real forms reached
// through the registry, and prompts answered from a script. One per test case.
struct GuiBench
{
    GuiBench()
    {
        forms.setContext(&context);
        defineForms(forms);
    }
    ~GuiBench() { forms.destroyAll(); }

    template <typename T> T *control(const char *form, const char *name)
    {
        return forms.control<T>(QString::fromLatin1(form), QString::fromLatin1(name));
    }
    QAbstractButton *button(const char *form, const char *name) { return control<QAbstractButton>(form, name); }
    QComboBox *combo(const char *form, const char *name) { return control<QComboBox>(form, name); }
    // The text of a label, line edit or button, whichever the control is.
    QString text(const char *form, const char *name)
    {
        QWidget *w = control<QWidget>(form, name);
        if (auto *l = qobject_cast<QLabel *>(w))
            return l->text();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return e->text();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            return b->text();
        return QString();
    }

    Session session;
    ModComm comm;
    ScriptedPrompts prompts;
    DeviceLink link{session, comm, prompts};
    FormRegistry forms;
    QtPrintService printer{prompts}; // tests print to a PDF file they name with setPdfPath()
    AppContext context{session, comm, prompts, link, forms, printer};
};
