#include "summaryprint.h"

#include "config/modelcatalog.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "prompts/prompts.h"
#include "session/session.h"

#include <QCoreApplication>
#include <QWidget>

QString summaryDocumentName(const ModelInfo *model, QDate day)
{
    const QString what = model ? model->code : QStringLiteral("Configuration");
    return what + QLatin1Char('-') + day.toString(Qt::ISODate);
}

bool printSummary(AppContext &ctx)
{
    QWidget *summary = ctx.forms.form(QStringLiteral("view"));
    if (!summary)
        return false;
    QString error;
    if (ctx.printer.printForm(*summary, summaryDocumentName(ctx.session.model, QDate::currentDate()), &error))
        return true;
    if (!error.isEmpty())
        ctx.prompts.message(error, QCoreApplication::translate("summaryprint", "!Error! Summary Not Printed"),
                            Prompts::Buttons::Ok, Prompts::Icon::Critical);
    return false;
}
