#include "summaryprint.h"

#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/printservice.h"
#include "prompts/prompts.h"

#include <QWidget>

bool printSummary(AppContext &ctx)
{
    QWidget *summary = ctx.forms.form(QStringLiteral("view"));
    if (!summary)
        return false;
    QString error;
    if (ctx.printer.printForm(*summary, &error))
        return true;
    if (!error.isEmpty())
        ctx.prompts.message(error, QStringLiteral("!Error! Summary Not Printed"), Prompts::Buttons::Ok,
                            Prompts::Icon::Critical);
    return false;
}
