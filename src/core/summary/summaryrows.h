// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"

#include <QList>
#include <QString>

// One row of the configuration summary: the boxes of the summary page it fills, what they
// say and whether the row shows. Everything here comes from the record and the model, so the
// page, its print and the command line's summary can only say what a download sends.
struct SummaryRow
{
    const char *captionBox; // the page's box names: "txtNetSpeed1"
    const char *valueBox;   // nullptr for a row that is a caption only
    const char *unitBox;    // nullptr where the row has no unit
    QString caption;        // as the page shows it: "NETWORK SPEED", "MODEL:"
    QString value;
    QString unit;
    bool shown = false;
    bool unitShown = false;
    QChar channel; // 'B' or 'C' for the rows of a channel's frame, else null
};

// Every row of the page, shown or not, in page order: the rows above the channel frames,
// then channel B's and channel C's. portNumber 0 (no port chosen) leaves its row empty.
QList<SummaryRow> summaryRows(const ConfigRecord &rec, const ModelInfo &model, int portNumber = 0);

// The title of a channel's frame: "CHANNEL B PROTOCOL".
QString summaryChannelTitle(QChar channel);

// What a row is called: its caption without the colon before a value, a channel's rows after
// the frame's title ("CHANNEL B PROTOCOL PARITY"). The page names the row's boxes by it.
QString summaryRowName(const SummaryRow &row);

// The rows that show, as "caption: value unit" lines (a caption-only row as its caption;
// a channel's rows after the frame's title), in page order.
QStringList summaryLines(const QList<SummaryRow> &rows);
