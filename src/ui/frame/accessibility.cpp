// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "frame/maindialog.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace {

// Qt asks the factories for each class of an object's chain, its own class first. This one
// answers only for the object's own class and only for a top-level window that Qt's own classes
// do not already give a role (its dialogs and main windows keep theirs).
QAccessibleInterface *windowInterface(const QString &className, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (!w || !w->isWindow() || className != QLatin1String(object->metaObject()->className()) ||
        qobject_cast<QDialog *>(w) || qobject_cast<QMainWindow *>(w))
        return nullptr;
    const Qt::WindowType type = w->windowType();
    if (type != Qt::Window && type != Qt::Dialog)
        return nullptr; // popups, tool tips: what Qt makes of them
    const bool dialog = type == Qt::Dialog || dynamic_cast<MainFormDialog *>(w) != nullptr;
    return new QAccessibleWidget(w, dialog ? QAccessible::Dialog : QAccessible::Window);
}

bool isTabStop(const QWidget *w)
{
    // A box inside a list (the text of an editable list) hands its focus to the list.
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

bool holdsTabStops(const QWidget *w)
{
    const auto inside = w->findChildren<QWidget *>();
    return std::any_of(inside.cbegin(), inside.cend(), [](const QWidget *c) { return isTabStop(c); });
}

// Where a control is read: from its caption label on, where it has one beside it.
QRect readingPlace(QWidget *w)
{
    QRect place = w->geometry();
    if (QWidget *parent = w->parentWidget()) {
        for (QLabel *label : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            // A caption never shown (nameUncaptionedList's) has no place on the form.
            if (label->buddy() == w && label->isVisibleTo(parent))
                place = place.united(label->geometry());
        }
    }
    return place;
}

QList<QWidget *> readingOrder(QWidget *parent)
{
    struct Item
    {
        QRect place;
        QWidget *widget;
        bool frame; // holds controls of its own, read together
    };
    QList<Item> items;
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        // What a layout hides is left out; it is put in its place when it is shown again.
        if (!w || w->isWindow() || !w->isVisibleTo(parent))
            continue;
        if (isTabStop(w))
            items.append({readingPlace(w), w, false});
        else if (holdsTabStops(w))
            items.append({w->geometry(), w, true});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item &a, const Item &b) { return a.place.top() < b.place.top(); });
    QList<QWidget *> order;
    for (qsizetype row = 0; row < items.size();) {
        // A row: the items whose middle lies within the height of the row's first.
        const int bottom = items.at(row).place.bottom();
        qsizetype end = row + 1;
        while (end < items.size() && items.at(end).place.center().y() <= bottom)
            ++end;
        std::stable_sort(items.begin() + row, items.begin() + end,
                         [](const Item &a, const Item &b) { return a.place.left() < b.place.left(); });
        for (qsizetype k = row; k < end; ++k) {
            const Item &item = items.at(k);
            if (item.frame)
                order += readingOrder(item.widget);
            else
                order.append(item.widget);
        }
        row = end;
    }
    return order;
}

// Puts a form's Tab order right once the moves of a layout are done: moves come one control at
// a time, and the order is taken once after the last, or when the form is shown before that.
class ReadingOrderKeeper : public QObject
{
public:
    static constexpr const char *Name = "readingOrderKeeper";

    explicit ReadingOrderKeeper(QWidget *form) : QObject(form), m_form(form)
    {
        setObjectName(QLatin1String(Name));
        for (QWidget *w : form->findChildren<QWidget *>())
            w->installEventFilter(this);
    }

    // Lays the order where a control has moved since it was last laid.
    void bringUpToDate()
    {
        if (std::exchange(m_moved, false) && m_form)
            orderTabsAsRead(m_form);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::ShowToParent || type == QEvent::HideToParent) {
            m_moved = true;
            if (!std::exchange(m_due, true))
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        m_due = false;
                        bringUpToDate();
                    },
                    Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_form;
    bool m_moved = false;
    bool m_due = false;
};

// Hands a caption to the control of a place that a layout shows.
class CaptionFollower : public QObject
{
public:
    CaptionFollower(QLabel *caption, const QList<QWidget *> &controls) : QObject(caption), m_caption(caption)
    {
        for (QWidget *w : controls)
            w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            m_caption->setBuddy(static_cast<QWidget *>(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel *m_caption;
};

} // namespace

void announceFormsAsWindows()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(windowInterface);
}

void orderTabsAsRead(QWidget *form)
{
    // The form takes Tab itself while the order is laid, so that the order starts at it: Qt
    // would otherwise see the last control before the first through the window, which takes
    // no focus, and leave the first where it was.
    const Qt::FocusPolicy policy = form->focusPolicy();
    form->setFocusPolicy(Qt::TabFocus);
    QWidget *previous = form;
    for (QWidget *w : readingOrder(form)) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
    form->setFocusPolicy(policy);
}

void keepTabsInReadingOrder(QWidget *form)
{
    auto *keeper = static_cast<ReadingOrderKeeper *>(
        form->findChild<QObject *>(QLatin1String(ReadingOrderKeeper::Name), Qt::FindDirectChildrenOnly));
    if (keeper) {
        keeper->bringUpToDate();
        return;
    }
    new ReadingOrderKeeper(form);
    orderTabsAsRead(form);
}

void nameUncaptionedList(QComboBox *list, const QString &name)
{
    list->setAccessibleName(name);
    QWidget *parent = list->parentWidget();
    if (!parent)
        return;
    for (QLabel *label : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == list && label->isHidden()) {
            label->setText(name);
            return;
        }
    }
    auto *caption = new QLabel(name, parent);
    caption->hide();
    caption->setBuddy(list);
}

void captionWhicheverShows(QLabel *caption, const QList<QWidget *> &controls)
{
    for (QWidget *w : controls) {
        if (!w->isHidden())
            caption->setBuddy(w);
    }
    new CaptionFollower(caption, controls);
}
