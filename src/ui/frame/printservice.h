#pragma once

#include <QString>

class Prompts;
class QWidget;

// Prints a form on one page.
class PrintService
{
public:
    virtual ~PrintService() = default;
    // False when nothing was printed, with a reason, or with none when the user cancelled.
    // documentName names the print job, and the PDF file offered where there is no printer.
    virtual bool printForm(QWidget &form, const QString &documentName, QString *error) = 0;
};

// The default printer; where the system has none, the user is offered a PDF file instead,
// in the folder the last one went to in this run.
class QtPrintService : public PrintService
{
public:
    explicit QtPrintService(Prompts &prompts);

    bool printForm(QWidget &form, const QString &documentName, QString *error) override;

    // Always offers a PDF file, whatever printers the system has (the tests, which must never
    // reach a real printer).
    void ignoreSystemPrinters() { m_ignorePrinters = true; }

    // Draws the form, scaled to fit, on one page of a PDF file: text stays text, lines stay
    // lines.
    static bool printToPdf(QWidget &form, const QString &documentName, const QString &path, QString *error);

private:
    Prompts &m_prompts;
    QString m_pdfFolder;
    bool m_ignorePrinters = false;
};
