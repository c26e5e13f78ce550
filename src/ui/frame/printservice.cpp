// SPDX-License-Identifier: GPL-3.0-or-later
#include "printservice.h"

#include "files/localfile.h"
#include "prompts/prompts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace {

// The page's drawing, scaled to fit the printable area and centred across it. Drawn straight
// into the device's engine, so text stays text and lines stay lines on a printer too.
bool render(const PrintPage &page, QPagedPaintDevice &device, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QCoreApplication::translate("printservice", "The printer could not be started.");
        return false;
    }
    const QRect area = painter.viewport();
    const qreal scale = std::min(area.width() / page.size.width(), area.height() / page.size.height());
    painter.translate(area.left() + (area.width() - page.size.width() * scale) / 2, area.top());
    painter.scale(scale, scale);
    page.draw(painter);
    return painter.end();
}

QPageLayout::Orientation orientationFor(const PrintPage &page)
{
    return page.size.width() > page.size.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

QtPrintService::QtPrintService(Prompts &prompts) : m_prompts(prompts), m_pdfFolder(QDir::homePath()) {}

int QtPrintService::localePageSizeId()
{
    // Letter is the paper of the countries that measure in inches (and of Canada and Mexico,
    // which QLocale counts as metric).
    const QLocale locale;
    const bool letter = locale.measurementSystem() == QLocale::ImperialUSSystem ||
                        locale.territory() == QLocale::Canada || locale.territory() == QLocale::Mexico;
    return letter ? QPageSize::Letter : QPageSize::A4;
}

bool QtPrintService::printToPdf(const PrintPage &page, const QString &path, QString *error)
{
    // The page is made in memory and then written as any file of the user's: whole, or not
    // at all, and never over something that is not a file.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(page.documentName);
        writer.setCreator(QStringLiteral("QNCF"));
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::PageSizeId(localePageSizeId())));
        writer.setPageOrientation(orientationFor(page));
        if (!render(page, writer, error))
            return false;
    }
    const FileResult saved = saveFileAtomically(path, pdf.data());
    if (!saved.ok && error)
        *error = saved.error;
    return saved.ok;
}

bool QtPrintService::printOnPrinter(const PrintPage &page, QString *where, QString *error)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(page.documentName);
    printer.setCreator(QStringLiteral("QNCF"));
    printer.setPageSize(QPageSize(QPageSize::PageSizeId(localePageSizeId())));
    printer.setPageOrientation(orientationFor(page));
    bool chosen = false;
    if (m_dialog) {
        chosen = m_dialog(printer);
    } else {
        QPrintDialog dialog(&printer);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    if (!chosen) {
        if (error)
            error->clear(); // the user chose not to print
        return false;
    }
    if (!render(page, printer, error))
        return false;
    if (where) {
        const int copies = printer.copyCount();
        *where =
            printer.outputFileName().isEmpty()
                ? QCoreApplication::translate("printservice", "the printer \"%1\"").arg(printer.printerName())
                : QDir::toNativeSeparators(printer.outputFileName());
        if (copies > 1)
            //: %1 is where the page went, %2 how many copies
            *where = QCoreApplication::translate("printservice", "%1 (%2 copies)").arg(*where).arg(copies);
    }
    return true;
}

bool QtPrintService::print(const PrintPage &page, QString *where, QString *error)
{
    if (m_dialog || (!m_ignorePrinters && !QPrinterInfo::availablePrinterNames().isEmpty()))
        return printOnPrinter(page, where, error);
    const QString path = m_prompts.saveFile(
        {.title = QCoreApplication::translate("printservice", "No printer: save the summary as a PDF file"),
         .filter =
             QStringLiteral("%1 (*.pdf)|*.pdf").arg(QCoreApplication::translate("printservice", "PDF Files")),
         .directory = m_pdfFolder,
         .confirmOverwrite = true,
         .fileName = page.documentName + QStringLiteral(".pdf")});
    if (path.isEmpty()) {
        if (error)
            error->clear(); // the user chose not to print
        return false;
    }
    m_pdfFolder = QFileInfo(path).absolutePath();
    if (!printToPdf(page, path, error))
        return false;
    if (where)
        *where = QDir::toNativeSeparators(path);
    return true;
}
