#pragma once

#include <QList>
#include <QString>

#include <initializer_list>

// The eighteen freestanding converter models. The model code ("QN4000-NGD") is the model's
// identity everywhere else: the summary form holds it and other code compares it as text.
struct ModelInfo
{
    QString code;        // "QN4000-NGD"
    QString button;      // object name of its button on the model selection form
    QString caption;     // button caption, with '&' before the access key where there is one
    QString description; // the button's tool tip
    int configLength;    // message body length, which also picks the message layout
    int productCode;     // 0..13, sent to the unit
    int generation;      // 4000 or 6000

    QString familyCode() const { return QString::number(generation); }
    // The access key letter, or a null QChar when the caption has none.
    QChar accessKey() const;
};

const QList<ModelInfo> &modelCatalog();
// nullptr when code names no model.
const ModelInfo *findModel(QStringView code);
// True when code is one of the model codes given.
bool isModelOneOf(QStringView code, std::initializer_list<const char *> codes);
