#pragma once

#include <QTest>

// QFETCH as an expression, for the data columns that are read only once.
#define FETCHED(type, name) (*static_cast<type *>(QTest::qData(#name, ::qMetaTypeId<type>())))
