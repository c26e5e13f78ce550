#pragma once

#include <QStringList>

class QWidget;

// The rows the summary form shows, as "caption: value" lines (with the unit where the row has
// one), in the order of the form. Hidden rows are left out.
QStringList summaryLines(QWidget &view);
