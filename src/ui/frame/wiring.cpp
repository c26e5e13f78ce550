// SPDX-License-Identifier: GPL-3.0-or-later
#include "wiring.h"

#include "frame/formutil.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

QPixmap wiringPicture(int wires, const QSize &size, const QPalette &palette)
{
    const QColor ink = palette.color(QPalette::Text);
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    QPixmap pixmap(size);
    pixmap.fill(palette.color(QPalette::Base));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);

    // The boxes above, the caption in a strip of its own below.
    const int w = size.width(), h = size.height();
    const int bottom = h - 14, driveHeight = (bottom - 6 - 6) / 2;
    const QRect unit(4, 6, w / 4, bottom - 6);
    const QRect drive1(w - w / 4 - 4, 6, w / 4, driveHeight);
    const QRect drive2(w - w / 4 - 4, 12 + driveHeight, w / 4, driveHeight);
    p.setPen(QPen(ink, 1.2));
    for (const auto &[box, name] : {std::pair{unit, "QUINTREL"}, {drive1, "DRIVE 1"}, {drive2, "DRIVE 2"}}) {
        p.drawRect(box);
        p.drawText(box.adjusted(2, 2, -2, -2), Qt::AlignTop | Qt::AlignHCenter, QLatin1String(name));
    }

    // The pairs: from the unit's right edge to a bus that both drives tap.
    const QStringList unitPins =
        wires == 4 ? QStringList{"TX+", "TX-", "RX+", "RX-"} : QStringList{"D+", "D-"};
    const QStringList drivePins =
        wires == 4 ? QStringList{"RX+", "RX-", "TX+", "TX-"} : QStringList{"D+", "D-"};
    const QColor colours[] = {QColor(200, 30, 30), QColor(30, 30, 200), QColor(20, 140, 40),
                              QColor(150, 90, 10)};
    const int busX = w / 2;
    for (int i = 0; i < int(unitPins.size()); ++i) {
        const int y = unit.top() + 26 + i * (unit.height() - 36) / qMax(1, int(unitPins.size()) - 1);
        p.setPen(QPen(dark ? colours[i].lighter(170) : colours[i], 1.6));
        p.drawLine(unit.right(), y, busX + i * 6, y);
        const int x = busX + i * 6;
        const int y1 = drive1.top() + 20 + i * 9, y2 = drive2.top() + 20 + i * 9;
        p.drawLine(x, qMin(y, y1), x, qMax(y, y2));
        p.drawLine(x, y1, drive1.left(), y1);
        p.drawLine(x, y2, drive2.left(), y2);
        p.setPen(ink);
        p.drawText(QRect(unit.right() - 30, y - 10, 28, 10), Qt::AlignRight, unitPins[i]);
        p.drawText(QRect(drive1.left() + 2, y1 - 5, 30, 10), Qt::AlignLeft, drivePins[i]);
        p.drawText(QRect(drive2.left() + 2, y2 - 5, 30, 10), Qt::AlignLeft, drivePins[i]);
    }
    p.setPen(ink);
    p.drawText(QRect(0, bottom + 1, w, h - bottom - 1), Qt::AlignCenter,
               wires == 4 ? QCoreApplication::translate("wiring", "RS-422: four wires, one pair each way")
                          : QCoreApplication::translate("wiring", "RS-485: two wires, one pair both ways"));
    return pixmap;
}

void wireSerialConnection(QAbstractButton *opt422, QLabel *pic422, QAbstractButton *opt485, QLabel *pic485,
                          IntByte &linkOptions, int left485Twips)
{
    pic422->setPixmap(wiringPicture(4, pic422->size(), pic422->palette()));
    pic485->setPixmap(wiringPicture(2, pic485->size(), pic485->palette()));
    QObject::connect(opt422, &QAbstractButton::toggled, pic422, [=, &linkOptions](bool checked) {
        if (!checked)
            return;
        linkOptions = IntByte(ClearBit(linkOptions, LinkFlag::MultiDrop));
        pic422->show();
        pic485->hide();
    });
    QObject::connect(opt485, &QAbstractButton::toggled, pic485, [=, &linkOptions](bool checked) {
        if (!checked)
            return;
        linkOptions = IntByte(SetBit(linkOptions, LinkFlag::MultiDrop));
        pic485->show();
        moveLeftTwips(pic485, left485Twips);
        pic422->hide();
    });
}
