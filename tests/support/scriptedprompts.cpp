// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedprompts.h"

namespace {
const char *kindName(ScriptedPrompts::Kind k)
{
    switch (k) {
    case ScriptedPrompts::Kind::Message:
        return "message box";
    case ScriptedPrompts::Kind::Open:
        return "open dialog";
    case ScriptedPrompts::Kind::Save:
        return "save dialog";
    }
    return "prompt";
}
} // namespace

void ScriptedPrompts::answerMessage(Answer answer, const QString &titleContains)
{
    m_queue.append({Kind::Message, answer, {}, titleContains});
}

void ScriptedPrompts::answerOpen(const QString &path)
{
    m_queue.append({Kind::Open, Cancel, path, {}});
}

void ScriptedPrompts::answerSave(const QString &path)
{
    m_queue.append({Kind::Save, Cancel, path, {}});
}

bool ScriptedPrompts::takeAnswer(Kind kind, const QString &title, Queued *out)
{
    if (m_queue.isEmpty() || m_queue.first().kind != kind) {
        m_unexpected.append(QStringLiteral("unexpected %1 \"%2\"").arg(QLatin1String(kindName(kind)), title));
        return false;
    }
    *out = m_queue.takeFirst();
    if (!out->titleContains.isEmpty() && !title.contains(out->titleContains)) {
        m_unexpected.append(QStringLiteral("%1 \"%2\" where one titled \"%3\" was expected")
                                .arg(QLatin1String(kindName(kind)), title, out->titleContains));
        return false;
    }
    return true;
}

Prompts::Answer ScriptedPrompts::message(const QString &text, const QString &title, Buttons buttons,
                                         Icon icon)
{
    m_shown.append({Kind::Message, text, title, buttons, icon, {}});
    Queued q;
    if (!takeAnswer(Kind::Message, title, &q))
        return buttons == Buttons::Ok ? Ok : Cancel;
    return q.answer;
}

QString ScriptedPrompts::openFile(const FileRequest &request)
{
    m_shown.append({Kind::Open, request.title, request.title, Buttons::Ok, Icon::None, request});
    Queued q;
    return takeAnswer(Kind::Open, request.title, &q) ? q.path : QString();
}

QString ScriptedPrompts::saveFile(const FileRequest &request)
{
    m_shown.append({Kind::Save, request.title, request.title, Buttons::Ok, Icon::None, request});
    Queued q;
    return takeAnswer(Kind::Save, request.title, &q) ? q.path : QString();
}

QList<ScriptedPrompts::Shown> ScriptedPrompts::takeShown()
{
    QList<Shown> s;
    s.swap(m_shown);
    return s;
}

QString ScriptedPrompts::problems() const
{
    QStringList p = m_unexpected;
    for (const Queued &q : m_queue)
        p.append(QStringLiteral("%1 never shown").arg(QLatin1String(kindName(q.kind))));
    return p.join(QStringLiteral("; "));
}
