// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

// Everything a user can see of a form's named controls, one line a control: shown or hidden,
// enabled, geometry, caption or text, checked state and list items. Two forms that give the
// same lines look and behave alike. With placesOnly, only where each control is and whether
// it shows.
inline QStringList formState(QWidget *form, bool placesOnly = false)
{
    QStringList lines;
    if (!form)
        return lines;
    lines << QStringLiteral("%1 %2x%3 \"%4\"")
                 .arg(form->objectName())
                 .arg(form->width())
                 .arg(form->height())
                 .arg(form->windowTitle());
    const auto children = form->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString line =
            QStringLiteral("%1 %2 %3 %4,%5 %6x%7")
                .arg(w->objectName(), w->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"),
                     placesOnly || w->isEnabled() ? QString() : QStringLiteral("disabled"))
                .arg(w->x())
                .arg(w->y())
                .arg(w->width())
                .arg(w->height());
        if (placesOnly)
            ;
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            line += QStringLiteral(" \"%1\"%2")
                        .arg(b->text(), b->isChecked() ? QStringLiteral(" checked") : QString());
        else if (auto *l = qobject_cast<QLabel *>(w))
            line += QStringLiteral(" \"%1\"").arg(l->text());
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            line += QStringLiteral(" \"%1\"").arg(g->title());
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            line += QStringLiteral(" \"%1\"").arg(e->text());
        else if (auto *c = qobject_cast<QComboBox *>(w)) {
            QStringList items;
            for (int i = 0; i < c->count(); ++i)
                items << c->itemText(i);
            line += QStringLiteral(" \"%1\" [%2]").arg(c->currentText(), items.join(QLatin1Char(',')));
        }
        lines << line;
    }
    lines.sort();
    return lines;
}
