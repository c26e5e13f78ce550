#include "printservice.h"

#include "files/localfile.h"
#include "prompts/prompts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <algorithm>

namespace {

// The form painted by its own widgets, scaled to fit the page and centred across it. A PDF
// writer takes the drawing as it is made (vector text and lines); a printer device gets it
// from Qt as an image at the screen's resolution.
bool render(QWidget &form, QPagedPaintDevice &device, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QCoreApplication::translate("printservice", "The printer could not be started.");
        return false;
    }
    const QRect page = painter.viewport();
    const qreal scale = std::min(page.width() / qreal(form.width()), page.height() / qreal(form.height()));
    painter.translate(page.left() + (page.width() - form.width() * scale) / 2, page.top());
    painter.scale(scale, scale);
    // Paper is white whatever the screen's theme.
    const bool ownPalette = form.testAttribute(Qt::WA_SetPalette);
    const QPalette screen = form.palette();
    QPalette paper(Qt::black, Qt::white);
    paper.setColor(QPalette::Base, Qt::transparent);
    form.setPalette(paper);
    form.render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    form.setPalette(ownPalette ? screen : QPalette());
    return painter.end();
}

QPageLayout::Orientation orientationFor(const QWidget &form)
{
    return form.width() > form.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

QtPrintService::QtPrintService(Prompts &prompts) : m_prompts(prompts), m_pdfFolder(QDir::homePath()) {}

bool QtPrintService::printToPdf(QWidget &form, const QString &documentName, const QString &path,
                                QString *error)
{
    // The page is made in memory and then written as any file of the user's: whole, or not
    // at all, and never over something that is not a file.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(documentName);
        writer.setCreator(QStringLiteral("QNCF"));
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(orientationFor(form));
        if (!render(form, writer, error))
            return false;
    }
    const FileResult saved = saveFileAtomically(path, pdf.data());
    if (!saved.ok && error)
        *error = saved.error;
    return saved.ok;
}

bool QtPrintService::printForm(QWidget &form, const QString &documentName, QString *error)
{
    const QPrinterInfo info = m_ignorePrinters ? QPrinterInfo() : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QString path =
            m_prompts.saveFile({.title = QCoreApplication::translate(
                                    "printservice", "No printer: save the summary as a PDF file"),
                                .filter = QStringLiteral("%1 (*.pdf)|*.pdf")
                                              .arg(QCoreApplication::translate("printservice", "PDF Files")),
                                .directory = m_pdfFolder,
                                .confirmOverwrite = true,
                                .fileName = documentName + QStringLiteral(".pdf")});
        if (path.isEmpty()) {
            if (error)
                error->clear(); // the user chose not to print
            return false;
        }
        m_pdfFolder = QFileInfo(path).absolutePath();
        return printToPdf(form, documentName, path, error);
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageOrientation(orientationFor(form));
    return render(form, printer, error);
}
