// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <QString>

#include <functional>

class Prompts;
class QPainter;
class QPrinter;

// One page the program draws itself, in its own units (a form's pixels); the print service
// scales it to fit the paper.
struct PrintPage
{
    QString documentName; // the print job's name, and the PDF file offered
    QSizeF size;
    std::function<void(QPainter &)> draw;
};

// Prints a page.
class PrintService
{
public:
    virtual ~PrintService() = default;
    // False when nothing was printed, with a reason, or with none when the user cancelled.
    // On success *where says where the page went (a printer, or a file).
    virtual bool print(const PrintPage &page, QString *where, QString *error) = 0;
};

// The system's print dialog (printer, copies, paper), the paper of the user's locale; where
// the system has no printer, the user is offered a PDF file instead, in the folder the last
// one went to in this run.
class QtPrintService : public PrintService
{
public:
    explicit QtPrintService(Prompts &prompts);

    bool print(const PrintPage &page, QString *where, QString *error) override;

    // Always offers a PDF file, whatever printers the system has (the tests, which must never
    // reach a real printer).
    void ignoreSystemPrinters() { m_ignorePrinters = true; }
    // Stands in for the system's print dialog (tests, the bench): it sets the printer up as a
    // user would, and false is a cancel. The printer is then used whatever the system has.
    using PrintDialog = std::function<bool(QPrinter &)>;
    void setPrintDialog(PrintDialog dialog) { m_dialog = std::move(dialog); }

    // The paper of the user's locale: Letter where it is the custom, A4 elsewhere.
    static int localePageSizeId();

private:
    bool printToPdf(const PrintPage &page, const QString &path, QString *error);
    bool printOnPrinter(const PrintPage &page, QString *where, QString *error);

    Prompts &m_prompts;
    QString m_pdfFolder;
    bool m_ignorePrinters = false;
    PrintDialog m_dialog;
};
