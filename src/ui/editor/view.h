// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

struct AppContext;
class DownloadConfig;

namespace Ui {
class view;
}

// The configuration summary: a page of read-only boxes showing the record as the summary's
// rows give it, each time the page is shown.
class view : public QWidget
{
    Q_OBJECT

public:
    explicit view(AppContext &ctx, QWidget *parent = nullptr);
    ~view() override;

    DownloadConfig &transfer() { return *m_download; }
    // Shows the record and the chosen model afresh; showing the page does it too.
    void refresh();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private Q_SLOTS:
    // Back to the main configuration form.
    void Command1_Click();
    void cmdDownload_Click();
    void cmdPrintConf_Click();
    void cmdEXIT_Click();

private:
    // The summary is a sheet: the colours of a text field of the desktop's theme (white in a
    // light one), not those of a window.
    void usePaperColours();
    // The rows of the page close up over the rows the current model hides, so the printed
    // page has no holes; the rows keep their order and the row positions of the design.
    void collectRows();
    void closeUpRows();

    struct Row
    {
        int slotY;
        QList<QWidget *> boxes;
    };
    QList<Row> m_rows;
    QList<QPair<QWidget *, int>> m_below; // what follows the rows, with its design top
    int m_designHeight = 0;
    int m_rowsDesignBottom = 0;

    QString m_openingCaption; // of cmdDownload, as designed
    QString m_openingStatus;

    AppContext &m_ctx;
    Ui::view *m_ui;
    DownloadConfig *m_download;
};
