// SPDX-License-Identifier: GPL-3.0-or-later
#include "layoutcheck.h"

#include "files/configfile.h"

#include <QCoreApplication>
#include <QHash>

namespace {

enum class Want : quint8 { Text, Number, Either };

// The fourteen common lines, one value each. A one-character field is written as a number
// when its byte is a quote; lines 11 and 12 are quoted texts in a saved file and numbers in
// an uploaded one. The two-character fields are always quoted, and the rest always numbers,
// as is every parameter value.
constexpr Want CommonLines[14] = {Want::Either, Want::Number, Want::Number, Want::Text,   Want::Either,
                                  Want::Number, Want::Either, Want::Number, Want::Number, Want::Text,
                                  Want::Either, Want::Either, Want::Either, Want::Number};

// One way a configuration of a layout stands in a file: the values on each line, and the kind
// of each value.
struct PassForm
{
    QList<int> lineSizes;
    QList<Want> wants;
};

QList<PassForm> passForms(const ModelInfo &model)
{
    PassForm saved;
    for (Want w : CommonLines) {
        saved.lineSizes.append(1);
        saved.wants.append(w);
    }
    PassForm uploaded = saved;
    for (const QList<int> &line : modelParamLines(model)) {
        saved.lineSizes.append(int(line.size()));
        for (qsizetype i = 0; i < line.size(); ++i)
            saved.wants.append(Want::Number);
    }
    // The upload writes the rack map, from the unit's second reply, one value a line; every
    // other layout as a save does.
    if (model.fileParams != FileParams::RackMap)
        return {saved};
    for (int i = 0; i < modelParamValueCount(model); ++i) {
        uploaded.lineSizes.append(1);
        uploaded.wants.append(Want::Number);
    }
    return {saved, uploaded};
}

// A blank value always fits, so only these two are ever named.
QString kindText(bool quoted)
{
    return quoted ? QCoreApplication::translate("layoutcheck", "a quoted text")
                  : QCoreApplication::translate("layoutcheck", "a number");
}

QString countText(int n)
{
    if (n == 1)
        return QCoreApplication::translate("layoutcheck", "one value");
    if (n == 2)
        return QCoreApplication::translate("layoutcheck", "two values");
    return QCoreApplication::translate("layoutcheck", "%1 values").arg(n);
}

bool formFits(FileShape::Form f, Want w)
{
    // A blank line says nothing about the model; the reader takes it anywhere.
    return f == FileShape::Blank || w == Want::Either || (w == Want::Text) == (f == FileShape::Quoted);
}

struct Misfit
{
    int value = -1; // the first value that does not fit; -1 when all do
    QString found;
    QString expected;
};

// How far the pass beginning at value start fits the form. valuesOnLine[i] is the number of
// values on the line value i stands on.
Misfit matchPass(const FileShape &shape, const QList<int> &valuesOnLine, int start, const PassForm &form)
{
    Misfit m;
    int i = start;
    for (int size : form.lineSizes) {
        for (int j = 0; j < size; ++j, ++i) {
            const FileShape::Value &v = shape.values.at(i);
            const Want want = form.wants.at(i - start);
            if (!formFits(v.form, want)) {
                m.value = i;
                m.found = kindText(v.form == FileShape::Quoted);
                m.expected = kindText(want == Want::Text);
                return m;
            }
            if (v.endsLine != (j == size - 1)) {
                m.value = i;
                m.found = countText(valuesOnLine.at(i));
                m.expected = countText(size);
                return m;
            }
        }
    }
    return m;
}

// The file against one layout: whole passes, each in one of the layout's forms.
Misfit matchLayout(const FileShape &shape, const QList<int> &valuesOnLine, const ModelInfo &model)
{
    const QList<PassForm> forms = passForms(model);
    const int perPass = int(forms.first().wants.size());
    for (int start = 0; start < shape.values.size(); start += perPass) {
        Misfit furthest;
        bool passFits = false;
        for (const PassForm &form : forms) {
            const Misfit m = matchPass(shape, valuesOnLine, start, form);
            if (m.value < 0) {
                passFits = true;
                break;
            }
            if (m.value > furthest.value)
                furthest = m;
        }
        if (!passFits)
            return furthest;
    }
    return {};
}

} // namespace

LayoutCheck checkFileLayout(const QByteArray &data, const ModelInfo &model)
{
    LayoutCheck check;
    check.perPass = 14 + modelParamValueCount(model);
    const FileShape shape = configFileShape(data);
    if (!shape.readable)
        return check;
    check.values = int(shape.values.size());

    QList<int> valuesOnLine(shape.values.size());
    for (qsizetype first = 0; first < shape.values.size();) {
        qsizetype last = first;
        while (last + 1 < shape.values.size() && !shape.values.at(last).endsLine)
            ++last;
        for (qsizetype i = first; i <= last; ++i)
            valuesOnLine[i] = int(last - first + 1);
        first = last + 1;
    }

    // One answer a layout, which every model of that layout shares.
    QHash<int, bool> layoutFits;
    for (const ModelInfo &m : modelCatalog()) {
        const int key = int(m.fileParams);
        if (!layoutFits.contains(key)) {
            const int perPass = 14 + modelParamValueCount(m);
            layoutFits[key] = check.values % perPass == 0 && matchLayout(shape, valuesOnLine, m).value < 0;
        }
        if (layoutFits.value(key))
            check.fitting.append(&m);
    }

    if (check.values % check.perPass != 0) {
        check.verdict = LayoutCheck::Verdict::NotWholePasses;
        return check;
    }
    const Misfit misfit = matchLayout(shape, valuesOnLine, model);
    if (misfit.value < 0) {
        check.verdict = LayoutCheck::Verdict::Fits;
        return check;
    }
    check.verdict = LayoutCheck::Verdict::WrongShape;
    check.line = shape.values.at(misfit.value).line;
    check.found = misfit.found;
    check.expected = misfit.expected;
    return check;
}

QString LayoutCheck::explanation(const ModelInfo &model) const
{
    QString why;
    switch (verdict) {
    case Verdict::Fits:
    case Verdict::Unreadable:
        return {};
    case Verdict::NotWholePasses:
        //: %1 and %3 are numbers of values, %2 the model code
        why = QCoreApplication::translate(
                  "layoutcheck",
                  "This file holds %1 values; a %2 configuration has %3: it was probably saved for "
                  "another model.")
                  .arg(QString::number(values), model.code, QString::number(perPass));
        break;
    case Verdict::WrongShape:
        //: %1 is a line number; %2 and %4 say what the line holds ("a number", "two values");
        //: %3 is the model code
        why = QCoreApplication::translate(
                  "layoutcheck",
                  "Line %1 of this file holds %2 where a %3 configuration has %4: it was probably "
                  "saved for another model.")
                  .arg(QString::number(line), found, model.code, expected);
        break;
    }
    QStringList codes;
    for (const ModelInfo *m : fitting)
        codes.append(m->code);
    //: %1 lists model codes
    return why + QLatin1Char(' ') +
           (codes.isEmpty() ? QCoreApplication::translate("layoutcheck", "It fits the layout of no model.")
                            : QCoreApplication::translate("layoutcheck", "It fits the layout of %1.")
                                  .arg(codes.join(QLatin1String(", "))));
}
