// SPDX-License-Identifier: GPL-3.0-or-later
#include "formregistry.h"

#include "frame/accessibility.h"
#include "frame/appcontext.h"
#include "frame/formutil.h"
#include "frame/manual.h"

#include <QGuiApplication>
#include <QWindow>

namespace {

// The offscreen and minimal platforms (tests, the command line) draw no windows, so there is
// no stacking to change.
bool platformStacksWindows()
{
    const QString p = QGuiApplication::platformName();
    return p != QLatin1String("offscreen") && p != QLatin1String("minimal");
}

} // namespace

void FormRegistry::define(const QString &name, const Factory &factory)
{
    m_factories.insert(name, factory);
}

QWidget *FormRegistry::existing(const QString &name) const
{
    const QPointer<QWidget> f = m_forms.value(name);
    return f.data();
}

QWidget *FormRegistry::form(const QString &name)
{
    if (QWidget *f = existing(name))
        return f;
    const auto it = m_factories.constFind(name);
    if (it == m_factories.cend() || !m_context)
        return nullptr;
    // Before the form's constructor names it: a screen reader is told what the form is from then on.
    announceFormsAsWindows();
    // Registered before the factory returns' constructor side effects reach other forms
    // that look this one up again.
    QWidget *f = (*it)(*m_context);
    if (f) {
        useFormFont(f);
        // Fixed as drawn: stretched it would only gain empty space, shrunk it would cut
        // controls off.
        setSize(f, f->width(), f->height());
        f->setObjectName(name);
        addHelpKey(*f, m_context->prompts); // F1: the manual at this form's section
        keepTabsInReadingOrder(f);
        m_forms.insert(name, f);
    }
    return f;
}

void FormRegistry::show(const QString &name)
{
    if (QWidget *f = form(name)) {
        // A window shown before comes back where it was (the user may have moved it), not
        // where the window manager would place a new one.
        if (QWindow *window = f->windowHandle(); window && f->isHidden())
            window->setPosition(window->position());
        f->show();
        // As the layout now in force places the controls (a control moved while the form was
        // hidden tells so as the form shows).
        keepTabsInReadingOrder(f);
        // A form shown again must come to the front, above the form that opened it, also
        // where no window manager raises it.
        if (platformStacksWindows())
            f->raise();
        f->activateWindow();
    }
}

void FormRegistry::hide(const QString &name)
{
    if (QWidget *f = existing(name))
        f->hide();
}

void FormRegistry::unload(const QString &name)
{
    QPointer<QWidget> f = m_forms.take(name);
    if (f) {
        f->hide();
        // The form may be running the handler that unloads it.
        f->deleteLater();
    }
}

void FormRegistry::unloadAll()
{
    const QStringList names = m_forms.keys();
    for (const QString &n : names)
        unload(n);
}

void FormRegistry::destroyAll()
{
    const auto forms = m_forms;
    m_forms.clear();
    for (const QPointer<QWidget> &f : forms)
        delete f.data();
}

void FormRegistry::reportMissing(const QString &form, const QString &control, const char *kind) const
{
    const QByteArray what =
        (kind ? QStringLiteral("form %1 has no %2 named %3").arg(form, QLatin1String(kind), control)
              : QStringLiteral("form %1 has no control named %2").arg(form, control))
            .toLocal8Bit();
    if (m_strict)
        qFatal("%s", what.constData());
    qCritical("%s", what.constData());
}
