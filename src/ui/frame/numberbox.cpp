// SPDX-License-Identifier: GPL-3.0-or-later
#include "numberbox.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
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

namespace {

// Shows the stored number when the user is done with the box.
class StoredWhenDone : public QObject
{
public:
    StoredWhenDone(QLineEdit *box, std::function<QString()> stored)
        : QObject(box)
        , m_box(box)
        , m_stored(std::move(stored))
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                show();
        } else if (event->type() == QEvent::FocusOut) {
            switch (static_cast<QFocusEvent *>(event)->reason()) {
            case Qt::PopupFocusReason:
                break;
            case Qt::MouseFocusReason:
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
            case Qt::ShortcutFocusReason:
                show();
                break;
            default:
                // Another window or code took the focus: the dialog may be going away, and
                // the box with it; then nothing is left to show.
                QMetaObject::invokeMethod(this, &StoredWhenDone::show, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    void show()
    {
        // An emptied box too: the word it stands for is still sent.
        const QString text = m_stored();
        if (m_box->text() != text)
            showInBox(m_box, text);
    }

    QLineEdit *m_box;
    std::function<QString()> m_stored;
};

} // namespace

void showStoredWhenDone(QLineEdit *box, std::function<QString()> stored)
{
    new StoredWhenDone(box, std::move(stored));
}
