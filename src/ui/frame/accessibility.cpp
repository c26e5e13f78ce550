#include "accessibility.h"

#include "frame/maindialog.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
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

} // namespace

void announceFormsAsWindows()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(windowInterface);
}
