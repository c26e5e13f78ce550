// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

struct AppContext;

// Every form is a single instance, created on first use and afterwards hidden and shown.
// unload() destroys it, so the next use builds a fresh one with its design-time state.
// Forms reach each other only through here, by name, and reach another form's controls by
// their object names, so no form holds a pointer to another that may be unloaded.
class FormRegistry
{
public:
    using Factory = std::function<QWidget *(AppContext &)>;

    void setContext(AppContext *context) { m_context = context; }
    void define(const QString &name, const Factory &factory);
    bool isDefined(const QString &name) const { return m_factories.contains(name); }
    // Every defined form's name, sorted.
    QStringList names() const
    {
        QStringList all = m_factories.keys();
        all.sort();
        return all;
    }

    // The form, created now if it does not exist yet.
    QWidget *form(const QString &name);
    template <typename T> T *form(const QString &name) { return qobject_cast<T *>(form(name)); }
    // The form if it exists, without creating it.
    QWidget *existing(const QString &name) const;
    bool isLoaded(const QString &name) const { return existing(name) != nullptr; }

    void show(const QString &name);
    void hide(const QString &name);
    // Destroys the form; a later form(name) creates a fresh one.
    void unload(const QString &name);
    void unloadAll();
    // Deletes every form at once (the end of the run, or of a test).
    void destroyAll();

    // A defined form was asked for a control it does not have: a programming error. It is
    // logged as critical; with strict() on (the tests) it stops the program.
    // kind names the class asked for, where the control exists but is of another one.
    void reportMissing(const QString &form, const QString &control, const char *kind = nullptr) const;
    void setStrict(bool on) { m_strict = on; }

private:
    AppContext *m_context = nullptr;
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_forms;
    bool m_strict = false;
};
