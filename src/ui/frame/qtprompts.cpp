// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtprompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

Prompts::Answer QtPrompts::message(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        // Escape and the close box answer Cancel.
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Ok;
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Cancel:
        return Cancel;
    default:
        // A box with only OK answers OK however it was closed.
        return buttons == Buttons::Ok ? Ok : Cancel;
    }
}

QStringList QtPrompts::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        QStringList patterns;
        for (const QString &p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns.append(p.toLower());
            if (p.toUpper() != p.toLower())
                patterns.append(p.toUpper());
        }
        patterns.removeDuplicates();
        out.append(QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' '))));
    }
    return out;
}

QString QtPrompts::runDialog(const FileRequest &request, bool save)
{
    QFileDialog dialog(m_parent, request.title, request.directory);
    dialog.setNameFilters(nameFilters(request.filter));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.confirmOverwrite)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        // "*.QNC" gives the default suffix a name typed without one receives.
        const QStringList parts = request.filter.split(QLatin1Char('|'));
        if (parts.size() >= 2 && parts.at(1).startsWith(QLatin1String("*.")) &&
            parts.at(1).count(QLatin1Char('*')) == 1)
            dialog.setDefaultSuffix(parts.at(1).mid(2));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::openFile(const FileRequest &request)
{
    return runDialog(request, false);
}

QString QtPrompts::saveFile(const FileRequest &request)
{
    return runDialog(request, true);
}
