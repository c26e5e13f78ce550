// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QList>

struct SerialPortEntry;

// The device a COM option stands for: the system's serial ports (read again each time the list
// opens, so a replugged adapter appears), each as a person tells it from the others
// ("ttyUSB0 — FT232R USB UART (FTDI, A50285BI)") and chosen by its stable name, and editable for
// any other path. At rest the box shows the device so, cut in the middle where it is too long,
// with the full name in its tool tip; while it has the focus it shows the name itself, to be
// edited. Says when the user has chosen or typed a device.
class DeviceChooser : public QComboBox
{
    Q_OBJECT

public:
    explicit DeviceChooser(QWidget *parent = nullptr);

    // The device itself (a path, a stable name, COMn), whatever the box shows.
    QString device() const { return m_device; }
    // Shows device without telling anyone (the option's device as the port layer has it).
    void setDevice(const QString &device);
    void refresh();
    void showPopup() override;

Q_SIGNALS:
    void deviceChosen(const QString &device);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The user's choice: a device typed or picked from the list.
    void take(const QString &device);
    void takeTyped();
    // The device's label and tool tip, from the ports the system has.
    void describe(const QList<SerialPortEntry> &ports);
    // The box at rest: the label, cut to fit; while edited: the name itself.
    void showDevice();

    QString m_device;
    QString m_label;
    QString m_shown; // the label as the box shows it at rest, cut to fit
};
