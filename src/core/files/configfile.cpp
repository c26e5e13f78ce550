// SPDX-License-Identifier: GPL-3.0-or-later
#include "configfile.h"

#include "config/modelcatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// Reads the values of a file one after another. Values are separated by commas or line ends
// alike; a quoted text runs to its closing quote and is cut at its first zero byte.
class ValueReader
{
public:
    enum class Status { Ok, End, Bad };

    explicit ValueReader(const QByteArray &data) : m_d(data)
    {
        // Where the last value ends, found once: asking at every pass would rescan the tail
        // each time, which a file of many blank lines makes quadratic.
        m_last = m_d.size();
        while (m_last > 0 && isFiller(m_d.at(m_last - 1)))
            --m_last;
    }

    // True when nothing but blanks, line ends or an end-of-file mark is left.
    bool atEnd() const { return m_pos >= m_last; }

    // The line the last value read began on.
    int line() const { return m_valueLine; }
    // Whether the last value read was a quoted text, and whether a line ended after it.
    bool wasQuoted() const { return m_quoted; }
    bool endedLine() const { return m_endedLine; }

    Status next(LoadedValue *value)
    {
        skipBlanks();
        m_valueLine = m_line;
        if (m_pos >= m_d.size())
            return Status::End;

        m_quoted = m_d.at(m_pos) == '"';
        if (m_quoted) {
            const qsizetype close = m_d.indexOf('"', m_pos + 1);
            if (close < 0)
                return Status::End; // the text was cut off with the file
            QByteArray text = m_d.mid(m_pos + 1, close - m_pos - 1);
            m_line += text.count('\n');
            const qsizetype zero = text.indexOf('\0');
            if (zero >= 0)
                text.truncate(zero);
            m_pos = close + 1;
            skipBlanks();
            if (!atDelimiterOrEnd())
                return Status::Bad; // m_line is still the line of the text
            consumeDelimiter();
            *value = LoadedValue::text(text);
            return Status::Ok;
        }

        const qsizetype start = m_pos;
        while (m_pos < m_d.size() && !isDelimiter(m_d.at(m_pos)))
            ++m_pos;
        const QByteArray token = m_d.mid(start, m_pos - start).trimmed();
        consumeDelimiter();
        if (token.isEmpty()) {
            *value = LoadedValue::text({});
            return Status::Ok;
        }
        bool ok = false;
        const qint64 n = token.toLongLong(&ok);
        if (!ok)
            return Status::Bad;
        *value = LoadedValue::number(n);
        return Status::Ok;
    }

private:
    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }
    static bool isFiller(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1a'; }

    bool atDelimiterOrEnd() const { return m_pos >= m_d.size() || isDelimiter(m_d.at(m_pos)); }

    void skipBlanks()
    {
        while (m_pos < m_d.size() && (m_d.at(m_pos) == ' ' || m_d.at(m_pos) == '\t'))
            ++m_pos;
    }

    void consumeDelimiter()
    {
        m_endedLine = true;
        if (m_pos >= m_d.size())
            return;
        const char c = m_d.at(m_pos++);
        m_endedLine = c != ',';
        if (c == '\r' && m_pos < m_d.size() && m_d.at(m_pos) == '\n')
            ++m_pos;
        if (c != ',')
            ++m_line;
    }

    const QByteArray &m_d;
    qsizetype m_pos = 0;
    qsizetype m_last = 0;
    int m_line = 1;
    int m_valueLine = 1;
    bool m_quoted = false;
    bool m_endedLine = false;
};

// Slots of the one-character fields: ProtocolMode, ChanBSpeed, ChanCSpeed, AuxByte3.
constexpr int charByteSlots[] = {0, 4, 6, 12};
// Slots whose empty text stands for the zero byte the writer could not keep.
constexpr int zeroByteSlots[] = {0, 1, 2, 5, 7, 8, 9, 10, 11, 12, 13};
constexpr int ChanCSpeedSlot = 6;
// Slots whose value is a number in the record (AuxByte1 and AuxByte2 are kept as decimal
// text, the rest as bytes); a text there must spell one from 0 to 255. Every parameter
// slot is such a slot too.
constexpr int numericSlots[] = {1, 2, 5, 7, 8, 10, 11, 13};

bool isNumericSlot(int slot)
{
    return slot >= 14 ||
           std::find(std::begin(numericSlots), std::end(numericSlots), slot) != std::end(numericSlots);
}

} // namespace

QList<QList<int>> modelParamLines(const ModelInfo &model)
{
    QList<QList<int>> lines;
    switch (model.fileParams) {
    case FileParams::None:
        break;
    case FileParams::TypeWord:
        lines = {{0, 1}};
        break;
    case FileParams::DataTable:
        lines = {{0, 1}, {2, 3}, {4, 5}};
        break;
    case FileParams::RackMap:
        for (int k = 0; k < 14; k += 2)
            lines.append(QList<int>{k, k + 1});
        break;
    case FileParams::ModbusTable:
        // Entries 6, 7 and 10n+6, 10n+7 are not used by the Modbus block table.
        for (int k = 0; k <= 5; ++k)
            lines.append(QList<int>{k});
        for (int n = 1; n <= 8; ++n) {
            for (int k = 10 * n - 2; k <= 10 * n + 5; ++k)
                lines.append(QList<int>{k});
        }
        break;
    }
    return lines;
}

int modelParamValueCount(const ModelInfo &model)
{
    int count = 0;
    for (const QList<int> &line : modelParamLines(model))
        count += line.size();
    return count;
}

void ConfigLineWriter::endLine()
{
    m_bytes.append("\r\n");
    ++m_lines;
}

void ConfigLineWriter::charByte(quint8 b)
{
    // CR and LF stand raw between the quotes like any other byte (the reader takes a quoted
    // text up to its closing quote); only the quote itself would end the text early.
    if (b == '"') {
        number(b);
        return;
    }
    quoted(QByteArray(1, static_cast<char>(b)));
}

void ConfigLineWriter::charPair(const char *field, const CharPair &pair)
{
    for (quint8 b : pair) {
        if (b == '"' && m_error.isEmpty())
            //: %1 is the record field's name, %2 a byte value
            m_error = QCoreApplication::translate(
                          "configfile", "%1 holds the byte %2, which a configuration file cannot store.")
                          .arg(QLatin1String(field))
                          .arg(b);
    }
    QByteArray text;
    text.append(static_cast<char>(pair[0]));
    text.append(static_cast<char>(pair[1]));
    quoted(text);
}

void ConfigLineWriter::quoted(const QByteArray &text)
{
    m_bytes.append('"');
    m_bytes.append(text);
    m_bytes.append('"');
    endLine();
}

void ConfigLineWriter::number(qint64 n)
{
    m_bytes.append(QByteArray::number(n));
    endLine();
}

void ConfigLineWriter::numbers(const QList<qint64> &values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            m_bytes.append(',');
        m_bytes.append(QByteArray::number(values.at(i)));
    }
    endLine();
}

FileResult configFileBytes(const ConfigRecord &rec, const ModelInfo &model, QByteArray *out)
{
    ConfigLineWriter w;
    w.charByte(rec.ProtocolMode);
    w.number(rec.StationNumber);
    w.number(rec.HighAddress);
    w.charPair("NetworkSpeed", rec.NetworkSpeed);
    w.charByte(rec.ChanBSpeed);
    w.number(rec.ChanBFormat);
    w.charByte(rec.ChanCSpeed);
    w.number(rec.ChanCFormat);
    w.number(rec.LinkOptions);
    w.charPair("BusType", rec.BusType);
    w.quoted(rec.AuxByte1.text());
    w.quoted(rec.AuxByte2.text());
    w.charByte(rec.AuxByte3);
    w.number(rec.AuxByte4);
    for (const QList<int> &line : modelParamLines(model)) {
        QList<qint64> values;
        for (int k : line)
            values.append(rec.ProtoParam[k]);
        w.numbers(values);
    }
    if (!w.ok())
        return FileResult::failure(w.error());
    *out = w.bytes();
    return {};
}

FileResult SaveConfigFile(const QString &path, const ConfigRecord &rec, const ModelInfo &model)
{
    QByteArray bytes;
    const FileResult built = configFileBytes(rec, model, &bytes);
    if (!built.ok)
        return FileResult::failure(
            //: %1 is the file, %2 the reason
            QCoreApplication::translate("configfile", "The configuration was not saved to %1: %2")
                .arg(shownName(path), built.error));
    return saveFileAtomically(path, bytes);
}

FileResult ReadConfigRecords(const QByteArray &data, const ModelInfo &model, LoadedValues &table,
                             const QString &fileName)
{
    const QList<QList<int>> paramLines = modelParamLines(model);
    // Every sentence names the file (%1) and the model (%2) it was read for; all of its
    // numbers go in at once, so a "%3" in a file name stays as it is.
    const auto unreadable = [&](const char *sentence, const auto &...more) {
        return FileResult::failure(QCoreApplication::translate("configfile", sentence)
                                       .arg(shownName(fileName), model.code, more...));
    };

    if (data.size() > MaxConfigFileBytes)
        return unreadable(QT_TRANSLATE_NOOP(
            "configfile",
            "%1 cannot be read as a %2 configuration: it is far too large for a configuration file."));
    ValueReader reader(data);
    if (reader.atEnd())
        return unreadable(
            QT_TRANSLATE_NOOP("configfile", "%1 cannot be read as a %2 configuration: it holds no values."));

    // Work on a copy, so a refused file leaves the table as it was.
    LoadedValues work = table;
    auto take = [&](int slot) -> FileResult {
        LoadedValue v;
        switch (reader.next(&v)) {
        case ValueReader::Status::Ok:
            // Every field of the record is a byte: a number beyond one would be wrapped or
            // clamped on its way in, and the configuration would not be the file's.
            if (v.isNumber() && !fitsByte(v.numberValue()))
                //: %3 is a line number of the file, %4 the number found there
                return unreadable(QT_TRANSLATE_NOOP("configfile",
                                                    "%1 cannot be read as a %2 configuration: line %3 "
                                                    "holds %4, which does not fit its field (0 to 255)."),
                                  QString::number(reader.line()), QString::number(v.numberValue()));
            if (isNumericSlot(slot) && v.isText() && !v.textValue().isEmpty() &&
                !DecimalText::isValid(v.textValue()))
                //: %3 is a line number of the file, %4 the text found there
                return unreadable(
                    QT_TRANSLATE_NOOP("configfile", "%1 cannot be read as a %2 configuration: line %3 "
                                                    "holds \"%4\" where a number from 0 to 255 belongs."),
                    QString::number(reader.line()), QString::fromLatin1(v.textValue().left(40)));
            work[slot] = std::move(v);
            return {};
        case ValueReader::Status::End:
            return unreadable(QT_TRANSLATE_NOOP(
                "configfile", "%1 cannot be read as a %2 configuration: the file ends before all "
                              "of its values (was it saved under another model?)."));
        case ValueReader::Status::Bad:
            break;
        }
        //: %3 is a line number of the file
        return unreadable(QT_TRANSLATE_NOOP("configfile",
                                            "%1 cannot be read as a %2 configuration: line %3 holds a "
                                            "value that is neither a quoted text nor a number."),
                          QString::number(reader.line()));
    };

    while (!reader.atEnd()) {
        for (int slot = 0; slot < 14; ++slot) {
            FileResult r = take(slot);
            if (!r.ok)
                return r;
        }
        // A one-character field written as a number (a byte that cannot stand between quotes).
        for (int slot : charByteSlots) {
            const LoadedValue &v = work[slot];
            if (v.isNumber() && fitsByte(v.numberValue()))
                work[slot] = LoadedValue::text(QByteArray(1, static_cast<char>(v.numberValue())));
        }
        for (int slot : zeroByteSlots) {
            if (work[slot].isText() && work[slot].textValue().isEmpty())
                work[slot] = LoadedValue::text(QByteArray(1, '\0'));
        }
        if (work[ChanCSpeedSlot].isText() && work[ChanCSpeedSlot].textValue().isEmpty())
            work[ChanCSpeedSlot] = LoadedValue::text(QByteArray(1, '\x08'));

        for (const QList<int> &line : paramLines) {
            for (int k : line) {
                FileResult r = take(slotOfProtoParam(k));
                if (!r.ok)
                    return r;
            }
        }
    }
    table = std::move(work);
    return {};
}

FileShape configFileShape(const QByteArray &data)
{
    FileShape shape;
    if (data.size() > MaxConfigFileBytes)
        return shape;
    ValueReader reader(data);
    while (!reader.atEnd()) {
        LoadedValue v;
        if (reader.next(&v) != ValueReader::Status::Ok)
            return {};
        FileShape::Value value;
        value.form = reader.wasQuoted() ? FileShape::Quoted
                     : v.isText()       ? FileShape::Blank
                                        : FileShape::Number;
        value.line = reader.line();
        value.endsLine = reader.endedLine();
        shape.values.append(value);
    }
    shape.readable = !shape.values.isEmpty();
    return shape;
}

FileResult ReadConfigFile(const QString &path, const ModelInfo &model, LoadedValues &table)
{
    QByteArray data;
    if (const FileResult r = readRegularFile(path, MaxConfigFileBytes, &data); !r.ok)
        return r;
    return ReadConfigRecords(data, model, table, path);
}
