#include "devicechooser.h"

#include "serial/portinfo.h"

#include <QAbstractItemView>
#include <QLineEdit>

DeviceChooser::DeviceChooser(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The list is wider than the box: a stable name is long.
    view()->setMinimumWidth(420);
    view()->setTextElideMode(Qt::ElideMiddle);
    connect(this, qOverload<int>(&QComboBox::activated), this, &DeviceChooser::chosen);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &DeviceChooser::chosen);
}

void DeviceChooser::setDevice(const QString &device)
{
    m_last = device;
    setEditText(device);
    lineEdit()->setCursorPosition(0); // a long name shows its start
    describe();
}

void DeviceChooser::refresh()
{
    const QString current = currentText();
    const QSignalBlocker quiet(this);
    clear();
    for (const SerialPortEntry &e : listSerialPorts()) {
        const QString details = e.details();
        // Shown with its details; chosen, the box holds the name alone.
        addItem(details.isEmpty() ? e.name() : e.name() + QStringLiteral("  —  ") + details, e.name());
        setItemData(count() - 1, e.path == e.name() ? details : e.path + QStringLiteral("\n") + details,
                    Qt::ToolTipRole);
    }
    setCurrentIndex(-1);
    setEditText(current);
}

void DeviceChooser::showPopup()
{
    refresh();
    QComboBox::showPopup();
}

void DeviceChooser::chosen()
{
    if (currentIndex() >= 0 && itemData(currentIndex()).isValid() &&
        itemText(currentIndex()) == currentText())
        setEditText(itemData(currentIndex()).toString());
    const QString device = this->device();
    describe();
    if (device.isEmpty() || device == m_last)
        return;
    m_last = device;
    Q_EMIT deviceChosen(device);
}

void DeviceChooser::describe()
{
    const auto entry = findSerialPort(listSerialPorts(), device());
    QString tip = device();
    if (entry) {
        if (entry->path != device())
            tip += QStringLiteral("\n") + entry->path;
        if (!entry->details().isEmpty())
            tip += QStringLiteral("\n") + entry->details();
    }
    setToolTip(tip);
}
