#pragma once

#include "config/session.h"
#include "link/devicelink.h"
#include "link/modcomm.h"
#include "shell/appcontext.h"
#include "shell/formcatalog.h"
#include "shell/formregistry.h"
#include "shell/printservice.h"
#include "shell/remote.h"
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
    // What a control shows (caption, title, text), or a form's window title.
    QString text(const char *form, const char *name)
    {
        return Remote(forms).text(QString::fromLatin1(form), QString::fromLatin1(name));
    }

    Session session;
    ModComm comm;
    ScriptedPrompts prompts;
    DeviceLink link{session, comm, prompts};
    FormRegistry forms;
    QtPrintService printer{prompts}; // tests print to a PDF file they name with setPdfPath()
    AppContext context{session, comm, prompts, link, forms, printer};
};
