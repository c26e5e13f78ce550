// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/view.h"
#include "frame/formregistry.h"
#include "session/session.h"
#include "summary/summaryrows.h"

#include <QLineEdit>

// The summary page as a user finds it on opening it.
inline view *openedSummary(FormRegistry &forms)
{
    auto *page = forms.form<view>(QStringLiteral("view"));
    if (page)
        page->refresh();
    return page;
}

// What the summary page shows as a user finds it on opening it: the rows read back from the
// page's own boxes (their texts and whether they can be seen), as "caption: value" lines.
inline QStringList summaryPage(FormRegistry &forms, const Session &session)
{
    view *page = openedSummary(forms);
    const auto read = [page](const char *name, QString &text, bool *shown) {
        auto *box = name ? page->findChild<QLineEdit *>(QLatin1String(name)) : nullptr;
        text = box ? box->text() : QString();
        if (shown)
            *shown = box && box->isVisibleTo(page);
    };
    QList<SummaryRow> rows = session.model ? summaryRows(session.rec, *session.model) : QList<SummaryRow>();
    for (SummaryRow &r : rows) {
        read(r.captionBox, r.caption, &r.shown);
        if (r.valueBox)
            read(r.valueBox, r.value, &r.shown);
        read(r.unitBox, r.unit, &r.unitShown);
    }
    return summaryLines(rows);
}
