// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

struct AppContext;
class DownloadConfig;
namespace Ui {
class download;
}

// Downloads a saved configuration file: the file is loaded into the editor, as an opened one,
// and sent to the converter.
class download : public QWidget
{
    Q_OBJECT

public:
    explicit download(AppContext &ctx, QWidget *parent = nullptr);
    ~download() override;

    DownloadConfig &transfer() { return *m_download; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdDOWNLOAD_Click();
    void cmdExit_Click();
    void Command1_Click();
    void cmdPrintConf_Click();

    AppContext &m_ctx;
    Ui::download *m_ui;
    DownloadConfig *m_download;
};
