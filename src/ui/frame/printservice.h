#pragma once

#include <QString>

class Prompts;
class QWidget;

// Prints an image of a form on one page.
class PrintService
{
public:
    virtual ~PrintService() = default;
    // False when nothing was printed, with a reason, or with none when the user cancelled.
    virtual bool printForm(QWidget &form, QString *error) = 0;
};

// The default printer; where the system has none, the user is offered a PDF file instead.
// With a PDF path set (tests, or a choice made earlier), prints to that file.
class QtPrintService : public PrintService
{
public:
    explicit QtPrintService(Prompts &prompts) : m_prompts(prompts) {}

    void setPdfPath(const QString &path) { m_pdfPath = path; }
    bool printForm(QWidget &form, QString *error) override;

    // Renders the form, scaled to fit, on one page of a PDF file.
    static bool printToPdf(QWidget &form, const QString &path, QString *error);

private:
    Prompts &m_prompts;
    QString m_pdfPath;
};
