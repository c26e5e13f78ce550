// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prompts/prompts.h"

class QWidget;

// The real dialogs: QMessageBox and QFileDialog.
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr) : m_parent(parent) {}

    Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    QString openFile(const FileRequest &request) override;
    QString saveFile(const FileRequest &request) override;

    // "Text (*.QNC)|*.QNC|All (*.*)|*.*" as a Qt name filter list; patterns match in either case.
    static QStringList nameFilters(const QString &filter);

private:
    QString runDialog(const FileRequest &request, bool save);

    QWidget *m_parent;
};
