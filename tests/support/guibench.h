// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/main4000.h"
#include "formcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "programparts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "shell/model_freestand.h"
#include "support/crossform.h"
#include "support/scriptedprompts.h"
#include "support/summarypage.h"
#include "transfer/devicelink.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

// A dark desktop theme: light text on dark grey.
inline QPalette darkTheme()
{
    const QColor text(239, 240, 241), window(49, 54, 59);
    QPalette p(text, window, window.lighter(130), window.darker(150), window.darker(120), text, Qt::white,
               QColor(35, 38, 41), window);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Link, QColor(29, 153, 243));
    p.setColor(QPalette::Highlight, QColor(61, 174, 233));
    return p;
}

// A whole program's worth of state for a GUI test: a fresh session, the real forms reached
// through the registry, and prompts answered from a script. One per test case.
struct GuiBench : ProgramParts<ScriptedPrompts>
{
    GuiBench()
    {
        // A control name that a defined form lacks is a fault of the program: stop at once.
        forms.setStrict(true);
        printer.ignoreSystemPrinters(); // a print is a PDF file the test names
    }

    // The model chosen as the user chooses it on the model selection form, with No to the
    // flash question of the models that ask it.
    void chooseModel(const QString &code)
    {
        const ModelInfo *m = findModel(code);
        if (m && m->asksFlashQuestion())
            prompts.answerMessage(Prompts::No, QStringLiteral("CHECK QN4000"));
        forms.form<model_freestand>(QStringLiteral("model_freestand"))->chooseModel(code);
    }
    main4000 *mainForm() { return forms.form<main4000>(QStringLiteral("main4000")); }
    // A bare window in place of the main form, for the dialogs that only give it back.
    QWidget *defineMain()
    {
        forms.define(QStringLiteral("main4000"), [](AppContext &) { return new QWidget; });
        return forms.form(QStringLiteral("main4000"));
    }

    template <typename T> T *control(const char *form, const char *name)
    {
        return CrossForm(forms).control<T>(QString::fromLatin1(form), QString::fromLatin1(name));
    }
    QAbstractButton *button(const char *form, const char *name)
    {
        return control<QAbstractButton>(form, name);
    }
    QComboBox *combo(const char *form, const char *name) { return control<QComboBox>(form, name); }
    // What a control shows (caption, title, text), or a form's window title; the summary's
    // boxes as the page shows them when it opens.
    QString text(const char *form, const char *name)
    {
        if (qstrcmp(form, "view") == 0)
            openedSummary(forms);
        return CrossForm(forms).text(QString::fromLatin1(form), QString::fromLatin1(name));
    }
};
