#include "accessibility.h"

#include "frame/maindialog.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>

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
