#pragma once

#include <QDate>
#include <QString>

struct AppContext;
struct ModelInfo;

// Prints the configuration summary form, as it shows, on one page. A failure other than a
// cancelled file choice is reported. Returns whether a page was printed.
bool printSummary(AppContext &ctx);

// The summary's name as a print job and as the PDF file offered: the model and the day,
// "QN4000-PXA-2026-12-08".
QString summaryDocumentName(const ModelInfo *model, QDate day);
