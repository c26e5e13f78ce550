#include "printservice.h"

#include "files/localfile.h"
#include "prompts/prompts.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace {

bool render(QWidget &form, QPagedPaintDevice &printer, QString *error)
{
    const QPixmap image = form.grab();
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("The printer could not be started.");
        return false;
    }
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint(page.left() + (page.width() - size.width()) / 2, page.top()), size),
                       image);
    return painter.end();
}

} // namespace

bool QtPrintService::printToPdf(QWidget &form, const QString &path, QString *error)
{
    // The page is made in memory and then written as any file of the user's: whole, or not
    // at all, and never over something that is not a file.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(form.width() > form.height() ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait);
        if (!render(form, writer, error))
            return false;
    }
    const FileResult saved = saveFileAtomically(path, pdf.data());
    if (!saved.ok && error)
        *error = saved.error;
    return saved.ok;
}

bool QtPrintService::printForm(QWidget &form, QString *error)
{
    if (!m_pdfPath.isEmpty())
        return printToPdf(form, m_pdfPath, error);
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QString path = m_prompts.saveFile({QStringLiteral("No printer: save the summary as a PDF file"),
                                                 QStringLiteral("PDF Files (*.pdf)|*.pdf"), QString(), true});
        if (path.isEmpty()) {
            if (error)
                error->clear(); // the user chose not to print
            return false;
        }
        return printToPdf(form, path, error);
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(form.width() > form.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    return render(form, printer, error);
}
