#include "wiring.h"

#include <QPainter>

QPixmap wiringPicture(int wires, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);

    const int w = size.width(), h = size.height();
    const QRect unit(4, 8, w / 4, h - 16);
    const QRect drive1(w - w / 4 - 4, 8, w / 4, (h - 24) / 2);
    const QRect drive2(w - w / 4 - 4, 16 + (h - 24) / 2, w / 4, (h - 24) / 2);
    p.setPen(QPen(Qt::black, 1.2));
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
        const int y = unit.top() + 26 + i * (unit.height() - 34) / qMax(1, int(unitPins.size()) - 1);
        p.setPen(QPen(colours[i], 1.6));
        p.drawLine(unit.right(), y, busX + i * 6, y);
        const int x = busX + i * 6;
        const int y1 = drive1.top() + 22 + i * 8, y2 = drive2.top() + 22 + i * 8;
        p.drawLine(x, qMin(y, y1), x, qMax(y, y2));
        p.drawLine(x, y1, drive1.left(), y1);
        p.drawLine(x, y2, drive2.left(), y2);
        p.setPen(Qt::black);
        p.drawText(QRect(unit.right() - 30, y - 10, 28, 10), Qt::AlignRight, unitPins[i]);
        p.drawText(QRect(drive1.left() + 2, y1 - 5, 30, 10), Qt::AlignLeft, drivePins[i]);
        p.drawText(QRect(drive2.left() + 2, y2 - 5, 30, 10), Qt::AlignLeft, drivePins[i]);
    }
    p.setPen(Qt::black);
    p.drawText(QRect(0, h - 10, w, 10), Qt::AlignHCenter,
               wires == 4 ? QStringLiteral("RS-422: four wires, one pair each way")
                          : QStringLiteral("RS-485: two wires, one pair both ways"));
    return pixmap;
}
