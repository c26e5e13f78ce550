// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/modelcatalog.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Whether a configuration file is one of the selected model's. The file does not name its
// model, and the reader takes any file whose values come out as whole configurations of the
// selected one (the last wins), so a file saved under another model can open as nonsense. A
// file of the model holds whole configurations of it, each line with the values the model's
// save or upload puts there, of their kind (a quoted text, a number); a file of another
// model almost never does.
struct LayoutCheck
{
    enum class Verdict {
        Fits,
        Unreadable,     // every model refuses it: the reader says why
        NotWholePasses, // its values are no whole number of the model's configurations
        WrongShape,     // whole configurations by count, but a line is not as the model writes it
    };

    Verdict verdict = Verdict::Unreadable;
    int values = 0;  // in the file
    int perPass = 0; // in one configuration of the model
    // WrongShape: the first line that differs, what it holds and what the model has there.
    int line = 0;
    QString found;
    QString expected;
    // The models whose layout the file fits, in catalog order.
    QList<const ModelInfo *> fitting;

    // Nothing to tell the user before the file is read.
    bool fits() const { return verdict == Verdict::Fits || verdict == Verdict::Unreadable; }
    // Why the file is probably another model's and which models it fits, in whole sentences;
    // empty when it fits.
    QString explanation(const ModelInfo &model) const;
};

LayoutCheck checkFileLayout(const QByteArray &data, const ModelInfo &model);
