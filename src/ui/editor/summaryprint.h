// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QRect>
#include <QString>

struct AppContext;
struct ModelInfo;
class QPainter;
class QWidget;

// Prints the configuration summary on one page, on the printer the user picks (or into a PDF
// file), and says where it went. A failure other than a cancel is reported. Returns whether a
// page was printed.
bool printSummary(AppContext &ctx);

// The summary's name as a print job and as the PDF file offered: the model and the day,
// "QN4000-PXA-2026-12-08".
QString summaryDocumentName(const ModelInfo *model, QDate day);

// The page: the summary's heading, date, rows and channel frames as the form places them, as
// text and lines in black. The buttons and the status line belong to the screen, not the page.
// pageRect() is the part of the form the page covers.
QRect summaryPageRect(QWidget &view);
void drawSummaryPage(QWidget &view, QPainter &painter);
