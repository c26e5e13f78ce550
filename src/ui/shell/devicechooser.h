#pragma once

#include <QComboBox>

// The device a COM option stands for: the system's serial ports (read again each time the list
// opens, so a replugged adapter appears), each by its stable name with the adapter's details,
// and editable for any other path. Says when the user has chosen or typed a device.
class DeviceChooser : public QComboBox
{
    Q_OBJECT

public:
    explicit DeviceChooser(QWidget *parent = nullptr);

    QString device() const { return currentText().trimmed(); }
    // Shows device without telling anyone (the option's device as the port layer has it).
    void setDevice(const QString &device);
    void refresh();
    void showPopup() override;

Q_SIGNALS:
    void deviceChosen(const QString &device);

private:
    void chosen();
    void describe();

    QString m_last; // what deviceChosen last said, so an unchanged text says nothing
};
