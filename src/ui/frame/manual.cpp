// SPDX-License-Identifier: GPL-3.0-or-later
#include "manual.h"

#include "prompts/prompts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QWidget>

namespace {

std::function<bool(const QUrl &)> &opener()
{
    static std::function<bool(const QUrl &)> f;
    return f;
}

QString manualPage()
{
    QStringList folders;
    if (const QString named = qEnvironmentVariable("QNCF_MANUAL"); !named.isEmpty())
        folders << named;
    const QDir program(QCoreApplication::applicationDirPath());
    folders << program.filePath(QStringLiteral("../share/doc/qncf/manual"))
            << program.filePath(QStringLiteral("../doc/manual"))
            << program.filePath(QStringLiteral("manual"));
    for (const QString &folder : std::as_const(folders)) {
        const QFileInfo page(QDir(folder).filePath(QStringLiteral("index.html")));
        if (page.isFile())
            return page.canonicalFilePath();
    }
    return {};
}

} // namespace

QUrl manualUrl(const QString &section)
{
    const QString page = manualPage();
    if (page.isEmpty())
        return {};
    QUrl url = QUrl::fromLocalFile(page);
    if (!section.isEmpty())
        url.setFragment(section);
    return url;
}

void openManual(Prompts &prompts, const QString &section)
{
    const QUrl url = manualUrl(section);
    const QString title = QCoreApplication::translate("manual", "QNCF Manual");
    if (url.isEmpty()) {
        prompts.message(QCoreApplication::translate("manual",
                                                    "The manual is not installed: no manual folder was found "
                                                    "next to the program."),
                        title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return;
    }
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        //: %1 is the manual's file
        prompts.message(QCoreApplication::translate("manual",
                                                    "No browser could be started to show the manual. It is "
                                                    "the file %1.")
                            .arg(QDir::toNativeSeparators(url.toLocalFile())),
                        title, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}

void addHelpKey(QWidget &form, Prompts &prompts)
{
    auto *help = new QAction(&form);
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    form.addAction(help);
    QObject::connect(help, &QAction::triggered, &form,
                     [&form, &prompts] { openManual(prompts, form.objectName()); });
}

void setManualOpener(std::function<bool(const QUrl &)> f)
{
    opener() = std::move(f);
}
