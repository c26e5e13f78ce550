// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

// QFETCH as an expression, for the data columns that are read only once.
#define FETCHED(type, name) (*static_cast<type *>(QTest::qData(#name, ::qMetaTypeId<type>())))

#include "config/modelcatalog.h"

// The catalog entry of a model code a test names; a code that names no model stops the test.
inline const ModelInfo &modelOf(QStringView code)
{
    const ModelInfo *m = findModel(code);
    if (!m)
        qFatal("no model %s", qPrintable(code.toString()));
    return *m;
}

// A data table of one row a model of the catalog, its code in the column "model".
inline void addModelRows()
{
    QTest::addColumn<QString>("model");
    for (const ModelInfo &m : modelCatalog())
        QTest::newRow(qPrintable(m.code)) << m.code;
}
