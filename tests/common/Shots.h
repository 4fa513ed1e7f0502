// Pictures of windows in tests: what a part of a window shows, and a picture kept for a look
// by eye. Tests write pictures only where VANTREL_SCREENSHOTS names a folder.
#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>

namespace vnt::test {

// The window as drawn, in its own pixels (whatever the screen's pixel ratio).
inline QImage shotOf(QWidget &window)
{
    QImage shot = window.grab().toImage();
    shot.setDevicePixelRatio(1);
    return shot.scaled(window.size());
}

// Where a rectangle of one of the window's parts lies in the window's picture.
inline QRect inWindow(const QWidget &window, const QWidget &part, const QRect &r)
{
    return QRect(part.mapTo(&window, r.topLeft()), r.size());
}

// The colours of a rectangle of the picture, with how many pixels have each.
inline QHash<QRgb, int> coloursIn(const QImage &shot, const QRect &r)
{
    const QRect area = r & shot.rect();
    QHash<QRgb, int> count;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++count[shot.pixel(x, y)];
    return count;
}

// The most common colour of the rectangle: its ground.
inline QRgb groundOf(const QImage &shot, const QRect &r)
{
    const QHash<QRgb, int> count = coloursIn(shot, r);
    QRgb ground = 0;
    int most = -1;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            ground = it.key();
        }
    return ground;
}

// How many pixels of the rectangle differ from its ground: the ink of a text, a line or a mark.
inline int inkIn(const QImage &shot, const QRect &r)
{
    const QRect area = r & shot.rect();
    return area.width() * area.height() - coloursIn(shot, area).value(groundOf(shot, area));
}

// Keeps the picture as <name>.png in the folder VANTREL_SCREENSHOTS names; without it, nothing.
inline bool keepShot(const QImage &shot, const QString &name)
{
    const QString folder = qEnvironmentVariable("VANTREL_SCREENSHOTS");
    return folder.isEmpty() || shot.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace vnt::test
