// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configrecord.h"
#include "config/modelcatalog.h"
#include "files/loadedvalues.h"
#include "files/localfile.h"

#include <QByteArray>
#include <QList>
#include <QString>

// .QNC configuration files: one value per line (a few lines hold two, separated by a comma),
// each line ended by CR LF. Texts are quoted with their bytes raw between the quotes; numbers
// are plain decimal. The file does not name its model: the model code decides how many
// parameter values follow the fourteen common ones, so a file is opened under the model it
// was saved with.

// Which ProtoParam entries follow line 14 for a model, one inner list per line.
QList<QList<int>> modelParamLines(const ModelInfo &model);
// How many values those lines hold: 0, 2, 6, 14 or 70.
int modelParamValueCount(const ModelInfo &model);

// Builds file lines in the format above.
class ConfigLineWriter
{
public:
    // A one-character field. Every byte is written raw between the quotes, CR and LF too,
    // but a quote, which would end the text, is written as its decimal number instead; the
    // reader takes that back as the byte (and so does it for files that wrote CR and LF so).
    void charByte(quint8 b);
    // A two-character field, raw between the quotes; a quote cannot be written here, so it
    // is refused (no screen produces one).
    void charPair(const char *field, const CharPair &pair);
    void quoted(const QByteArray &text);
    void number(qint64 n);
    void numbers(const QList<qint64> &values); // one line, comma-separated

    const QByteArray &bytes() const { return m_bytes; }
    int lineCount() const { return m_lines; }
    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }

private:
    void endLine();

    QByteArray m_bytes;
    int m_lines = 0;
    QString m_error;
};

// The whole file for a record saved under a model. Fails (with a reason) only for a value
// that the format cannot hold.
FileResult configFileBytes(const ConfigRecord &rec, const ModelInfo &model, QByteArray *out);

FileResult SaveConfigFile(const QString &path, const ConfigRecord &rec, const ModelInfo &model);

// Reads configurations from data into table, pass after pass until the end, so the last one
// wins. Data that ends in the middle of a configuration, or holds a value that is neither a
// quoted text nor a number, is refused and table is left exactly as it was.
FileResult ReadConfigRecords(const QByteArray &data, const ModelInfo &model, LoadedValues &table,
                             const QString &fileName = QString());
// How a file's values stand on its lines, as the reader takes them.
struct FileShape
{
    enum Form : quint8 { Quoted, Number, Blank };
    struct Value
    {
        Form form;
        int line;      // the line it begins on
        bool endsLine; // a line end, not a comma, follows it
    };
    // False for a file every model refuses: no values, one that is neither a quoted text nor a
    // number, or one cut off in its quotes.
    bool readable = false;
    QList<Value> values;
};
FileShape configFileShape(const QByteArray &data);

FileResult ReadConfigFile(const QString &path, const ModelInfo &model, LoadedValues &table);
