// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

struct AppContext;
class UploadTransfer;
namespace Ui {
class upload;
}

// Reads the configuration a converter holds and stores it as a configuration file, which is
// then opened like any other so the editor shows it.
class upload : public QWidget
{
    Q_OBJECT

public:
    explicit upload(AppContext &ctx, QWidget *parent = nullptr);
    ~upload() override;

    UploadTransfer &transfer() { return *m_transfer; }

Q_SIGNALS:
    // The upload has ended, with or without a file (tests and the command line wait for it).
    void uploadEnded(bool success);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdUpload_Click();
    void Command1_Click();
    void cmdExit_Click();
    void transferDone(int outcome);
    void end(bool success);
    void setBusy(bool busy);

    AppContext &m_ctx;
    Ui::upload *m_ui;
    UploadTransfer *m_transfer;
};
