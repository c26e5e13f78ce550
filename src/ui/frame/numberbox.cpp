#include "numberbox.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>

#include <cmath>
#include <limits>

std::optional<qint32> ordinaryNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double d = c.toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    const double r = std::nearbyint(d); // the default rounding mode rounds halves to even
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(r);
}

void describeRange(QLineEdit *box, const NumberRange &range)
{
    //: a number box's tool tip: the lowest and the highest number it takes
    box->setToolTip(QCoreApplication::translate("numberbox", "A whole number from %1 to %2")
                        .arg(range.low)
                        .arg(range.high));
}

void showInBox(QLineEdit *box, const QString &text)
{
    const bool blocked = box->blockSignals(true);
    box->setText(text);
    box->blockSignals(blocked);
}

void showStoredWhenDone(QLineEdit *box, std::function<QString()> stored)
{
    QObject::connect(box, &QLineEdit::editingFinished, box, [box, stored = std::move(stored)] {
        if (box->text().isEmpty())
            return;
        const QString text = stored();
        if (box->text() != text)
            showInBox(box, text);
    });
}
