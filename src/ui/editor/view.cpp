// SPDX-License-Identifier: GPL-3.0-or-later
#include "view.h"
#include "ui_view.h"

#include "editor/configfiles.h"
#include "editor/downloadconfig.h"
#include "editor/summaryprint.h"
#include "frame/appcontext.h"
#include "frame/formregistry.h"
#include "frame/maindialog.h"
#include "prompts/prompts.h"
#include "serial/modcomm.h"
#include "session/session.h"
#include "summary/summaryrows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QShowEvent>

view::view(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_ui(new Ui::view)
{
    m_ui->setupUi(this);
    usePaperColours();
    m_download = new DownloadConfig(ctx, *this, m_ui->lblStatus,
                                    {m_ui->Command1, m_ui->cmdPrintConf, m_ui->cmdDownload, m_ui->cmdEXIT});
    connect(m_ui->Command1, &QPushButton::clicked, this, &view::Command1_Click);
    connect(m_ui->cmdDownload, &QPushButton::clicked, this, &view::cmdDownload_Click);
    connect(m_ui->cmdPrintConf, &QPushButton::clicked, this, &view::cmdPrintConf_Click);
    connect(m_ui->cmdEXIT, &QPushButton::clicked, this, &view::cmdEXIT_Click);
    connect(m_download, &DownloadConfig::finished, this, [this] {
        unsetCursor();
        m_ui->cmdEXIT->setEnabled(true);
        // The status line says how it ended; the button is ready (Alt+D) for another go.
        m_ui->cmdDownload->setText(m_openingCaption);
    });
    m_openingCaption = m_ui->cmdDownload->text();
    m_openingStatus = m_ui->lblStatus->text();
    collectRows();
    closeUpRows();
}

view::~view()
{
    delete m_ui;
}

void view::usePaperColours()
{
    QPalette sheet = QApplication::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        sheet.setColor(group, QPalette::Window, sheet.color(group, QPalette::Base));
        sheet.setColor(group, QPalette::WindowText, sheet.color(group, QPalette::Text));
        // The value boxes are printed text, not fields: no ground of their own.
        sheet.setColor(group, QPalette::Base, Qt::transparent);
    }
    setPalette(sheet);
    // Each box is given it too: a style that draws a field's own ground (Windows') does so
    // unless the box's palette names one, and the text would stand on white whatever the theme.
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->setPalette(sheet);
}

void view::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange)
        usePaperColours();
    QWidget::changeEvent(event);
}

void view::Command1_Click()
{
    hide();
    giveMainFormBack(m_ctx.forms);
}

void view::cmdDownload_Click()
{
    setCursor(Qt::WaitCursor);
    m_ui->Command1->setEnabled(false);
    m_ui->cmdPrintConf->setEnabled(false);
    m_ui->cmdEXIT->setEnabled(false);
    m_ui->cmdDownload->setEnabled(false);
    m_ui->cmdDownload->setText(QStringLiteral("Downloading Parameters..."));
    m_download->start();
}

void view::cmdPrintConf_Click()
{
    printSummary(m_ctx);
}

void view::cmdEXIT_Click()
{
    if (m_ctx.prompts.message(QStringLiteral("Do you wish to save the Configuration Settings?"),
                              QStringLiteral("Save Configuration"), Prompts::Buttons::YesNo,
                              Prompts::Icon::Question) == Prompts::Yes)
        Save_THE_File(m_ctx);
    m_ctx.comm.CommClose(m_ctx.session.PortNumber);
    hide();
    m_ctx.forms.show(QStringLiteral("Welcome1"));
}

void view::refresh()
{
    const Session &s = m_ctx.session;
    if (!s.model)
        return; // nothing chosen yet: the page as designed
    // Every box of a row is named by the row, so a screen reader says "caption: value" at the
    // value and never takes a box inside a channel's frame for the frame's title.
    const auto put = [this](const char *name, const QString &text, bool shown, const QString &rowName) {
        auto *box = findChild<QLineEdit *>(QLatin1String(name), Qt::FindChildrenRecursively);
        Q_ASSERT(box); // the rows name the page's own boxes
        if (!box)
            return;
        box->setText(text);
        box->setVisible(shown);
        box->setAccessibleName(rowName);
    };
    bool channelShown[2] = {false, false};
    for (const SummaryRow &r : summaryRows(s.rec, *s.model, s.PortNumber)) {
        const QString rowName = summaryRowName(r);
        put(r.captionBox, r.caption, r.shown, rowName);
        if (r.valueBox)
            put(r.valueBox, r.value, r.shown, rowName);
        if (r.unitBox)
            put(r.unitBox, r.unit, r.unitShown, rowName);
        if (!r.channel.isNull())
            channelShown[r.channel == QLatin1Char('C')] |= r.shown;
    }
    m_ui->frmChannelB->setVisible(channelShown[0]);
    m_ui->frmChannelC->setVisible(channelShown[1]);
}

void view::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        refresh();
        m_ui->txtDate->setText(
            QLocale::system().toString(QDate::currentDate(), QStringLiteral("dddd, MMM. d yyyy")));
    }
    // Each visit starts afresh: an earlier download's result says nothing about the values
    // shown now.
    if (!event->spontaneous() && !m_download->isRunning()) {
        m_ui->lblStatus->setText(m_openingStatus);
        m_ui->cmdDownload->setText(m_openingCaption);
        for (QPushButton *b : {m_ui->cmdPrintConf, m_ui->Command1, m_ui->cmdDownload, m_ui->cmdEXIT})
            b->setEnabled(true);
        unsetCursor();
    }
    QWidget::showEvent(event);
}

void view::closeEvent(QCloseEvent *event)
{
    // Closing the page goes back to the main form, as "CHANGE" does, so the user is never
    // left without a window. While a download runs (it disables Command1) the page stays.
    if (!m_ui->Command1->isEnabled()) {
        event->ignore();
        return;
    }
    event->accept();
    Command1_Click();
}

void view::collectRows()
{
    // A row is every box on one line of the design; the heading and the date stay on top,
    // the channel frames, buttons and status line follow the last row shown.
    QMap<int, QList<QWidget *>> byTop;
    const auto children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *w : children) {
        if (qobject_cast<QLineEdit *>(w) && w != m_ui->Text1 && w != m_ui->txtDate)
            byTop[w->y()] << w;
    }
    for (auto it = byTop.cbegin(); it != byTop.cend(); ++it) {
        m_rows.append({it.key(), it.value()});
        for (QWidget *w : it.value()) {
            w->installEventFilter(this);
            m_rowsDesignBottom = qMax(m_rowsDesignBottom, w->geometry().bottom());
        }
    }
    for (QWidget *w : children) {
        if (!qobject_cast<QLineEdit *>(w))
            m_below.append({w, w->y()});
    }
    m_designHeight = height();
}

void view::closeUpRows()
{
    int slot = 0;
    int bottom = m_rows.isEmpty() ? 0 : m_rows.first().slotY;
    for (const Row &row : std::as_const(m_rows)) {
        bool shown = false;
        for (QWidget *w : row.boxes)
            shown = shown || !w->isHidden();
        if (!shown)
            continue;
        const int y = m_rows[slot++].slotY;
        for (QWidget *w : row.boxes) {
            w->move(w->x(), y);
            if (!w->isHidden())
                bottom = qMax(bottom, w->geometry().bottom());
        }
    }
    const int shift = m_rowsDesignBottom - bottom;
    for (const auto &[w, designTop] : std::as_const(m_below))
        w->move(w->x(), designTop - shift);
    setFixedHeight(m_designHeight - shift);
}

bool view::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        closeUpRows();
    return QWidget::eventFilter(watched, event);
}
