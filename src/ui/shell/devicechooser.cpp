// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicechooser.h"

#include "serial/portinfo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>

DeviceChooser::DeviceChooser(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The list is wider than the box: an adapter's description is long.
    view()->setMinimumWidth(420);
    view()->setTextElideMode(Qt::ElideMiddle);
    lineEdit()->installEventFilter(this);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        take(itemData(index).toString());
        showDevice();
    });
    // Enter while editing; leaving the box is seen in the event filter.
    connect(lineEdit(), &QLineEdit::returnPressed, this, &DeviceChooser::takeTyped);
}

void DeviceChooser::setDevice(const QString &device)
{
    m_device = device;
    describe(listSerialPorts());
}

void DeviceChooser::refresh()
{
    const QSignalBlocker quiet(this);
    const QString shown = lineEdit()->text();
    clear();
    const QList<SerialPortEntry> ports = listSerialPorts();
    for (const SerialPortEntry &e : ports) {
        addItem(e.label(), e.name());
        setItemData(count() - 1, e.path == e.name() ? e.path : e.name() + QStringLiteral("\n") + e.path,
                    Qt::ToolTipRole);
    }
    setCurrentIndex(-1);
    lineEdit()->setText(shown);
    describe(ports); // the adapter may have come or gone
}

void DeviceChooser::showPopup()
{
    refresh();
    QComboBox::showPopup();
}

bool DeviceChooser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit()) {
        if (event->type() == QEvent::FocusIn) {
            if (lineEdit()->text() != m_device)
                lineEdit()->setText(m_device); // the name itself, to be edited
        } else if (event->type() == QEvent::FocusOut && !view()->isVisible()) {
            // Left for another control: what was typed is the choice. (The list taking the
            // focus is no leaving: its pick comes as an activation.)
            takeTyped();
            showDevice();
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void DeviceChooser::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    showDevice(); // cut to the new width
}

void DeviceChooser::takeTyped()
{
    if (lineEdit()->text() == m_shown)
        return; // the label the box shows at rest: nothing was typed
    const QString typed = lineEdit()->text().trimmed();
    // Up and Down while editing put an item's label in the box: that item is meant.
    for (int i = 0; i < count(); ++i) {
        if (itemText(i) == typed) {
            take(itemData(i).toString());
            return;
        }
    }
    take(typed);
}

void DeviceChooser::take(const QString &device)
{
    if (device.isEmpty() || device == m_device)
        return;
    m_device = device;
    describe(listSerialPorts());
    Q_EMIT deviceChosen(device);
}

void DeviceChooser::describe(const QList<SerialPortEntry> &ports)
{
    const auto entry = findSerialPort(ports, m_device);
    QString tip = m_device;
    if (entry) {
        if (entry->path != m_device)
            tip += QStringLiteral("\n") + entry->path;
        if (!entry->details().isEmpty())
            tip += QStringLiteral("\n") + entry->details();
    }
    setToolTip(tip);
    m_label = deviceLabel(ports, m_device);
    showDevice();
}

void DeviceChooser::showDevice()
{
    QLineEdit *edit = lineEdit();
    if (edit->hasFocus())
        return; // being edited: what the user types stays
    const int room = edit->contentsRect().width() - 4;
    m_shown = edit->fontMetrics().elidedText(m_label, Qt::ElideMiddle, room);
    edit->setText(m_shown);
    edit->setCursorPosition(0);
}
