// SPDX-License-Identifier: GPL-3.0-or-later
#include "summaryprint.h"

#include "config/modelcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "prompts/prompts.h"
#include "session/session.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>

namespace {

constexpr int Margin = 8;

// What goes on the page: the boxes and frames shown, wherever they sit.
template <typename F> void forEachOnPage(QWidget &view, F &&f)
{
    const auto widgets = view.findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(&view) || w->isWindow())
            continue;
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QGroupBox *>(w))
            f(w, QRect(w->mapTo(&view, QPoint(0, 0)), w->size()));
    }
}

// The form's fonts are sized in pixels; a point size would grow with the printer's resolution.
QFont pageFont(const QWidget *w)
{
    QFont font = w->font();
    if (font.pixelSize() <= 0)
        font.setPixelSize(qRound(font.pointSizeF() * 96 / 72));
    return font;
}

} // namespace

QString summaryDocumentName(const ModelInfo *model, QDate day)
{
    const QString what = model ? model->code : QStringLiteral("Configuration");
    return what + QLatin1Char('-') + day.toString(Qt::ISODate);
}

QRect summaryPageRect(QWidget &view)
{
    QRect used;
    forEachOnPage(view, [&used](QWidget *, const QRect &r) { used |= r; });
    return QRect(0, 0, view.width(), used.bottom() + 1 + Margin);
}

void drawSummaryPage(QWidget &view, QPainter &painter)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    forEachOnPage(view, [&painter](QWidget *w, const QRect &r) {
        painter.setFont(pageFont(w));
        painter.setPen(QPen(Qt::black, 0));
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            if (e->hasFrame())
                painter.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
            painter.drawText(r.adjusted(4, 0, -4, 0),
                             int(e->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, e->text());
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            const QFontMetrics metrics(pageFont(g));
            const int half = metrics.height() / 2;
            painter.drawRect(QRectF(r).adjusted(0.5, half + 0.5, -0.5, -0.5));
            const QRect title(r.left() + 8, r.top(), metrics.horizontalAdvance(g->title()) + 8,
                              metrics.height());
            painter.fillRect(title, Qt::white);
            painter.drawText(title, Qt::AlignCenter, g->title());
        }
    });
    painter.restore();
}

bool printSummary(AppContext &ctx)
{
    QWidget *summary = ctx.forms.form(QStringLiteral("view"));
    if (!summary)
        return false;
    const QRect area = summaryPageRect(*summary);
    const PrintPage page{summaryDocumentName(ctx.session.model, QDate::currentDate()), area.size(),
                         [summary](QPainter &p) { drawSummaryPage(*summary, p); }};
    QString where, error;
    if (ctx.printer.print(page, &where, &error)) {
        //: %1 is a printer's name or a file's path
        ctx.prompts.message(QCoreApplication::translate("summaryprint", "The summary went to %1.").arg(where),
                            QCoreApplication::translate("summaryprint", "Summary Printed"),
                            Prompts::Buttons::Ok, Prompts::Icon::Information);
        return true;
    }
    if (!error.isEmpty())
        ctx.prompts.message(error, QCoreApplication::translate("summaryprint", "!Error! Summary Not Printed"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
    return false;
}
