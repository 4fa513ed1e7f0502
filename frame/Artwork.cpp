// Drawn pictures of the program: simple flat shapes, so that no picture file is needed.
#include "Artwork.h"
#include "platform/fonts.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vnt::artwork {

QIcon windowIcon()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.fillRect(0, 18, 32, 10, QColor(0, 0, 128));
    p.setPen(QPen(QColor(255, 255, 0), 1));
    for (int x = -10; x < 32; x += 4)
        p.drawLine(x, 28, x + 10, 18);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(128, 0, 0));
    p.drawText(QRect(0, 2, 32, 14), Qt::AlignCenter, QStringLiteral("KORVANE"));
    p.end();
    return QIcon(QPixmap::fromImage(img));
}

static QImage emblem(const QColor &ring, const QColor &fill, const QString &letter)
{
    QImage img(100, 100, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ring, 6));
    p.setBrush(fill);
    p.drawEllipse(QRectF(5, 5, 90, 90));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(52);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 100, 100), Qt::AlignCenter, letter);
    return img;
}

QImage makerLogo() { return emblem(QColor(0, 60, 120), QColor(20, 100, 170), QStringLiteral("V")); }
QImage secondLogo() { return emblem(QColor(120, 80, 0), QColor(190, 130, 30), QStringLiteral("B")); }

QImage drillingRig()
{
    QImage img(248, 381, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(120, 170, 220));
    sky.setColorAt(1, QColor(215, 230, 245));
    p.fillRect(img.rect(), sky);
    // building site
    p.fillRect(QRect(0, 300, 248, 81), QColor(140, 115, 85));
    p.fillRect(QRect(0, 296, 248, 6), QColor(110, 90, 65));
    // casing pipe standing upright beside the mast
    QLinearGradient steel(170, 0, 196, 0);
    steel.setColorAt(0, QColor(90, 90, 95));
    steel.setColorAt(0.5, QColor(190, 190, 200));
    steel.setColorAt(1, QColor(80, 80, 85));
    p.setPen(Qt::NoPen);
    p.setBrush(steel);
    p.drawRect(QRectF(172, 120, 24, 180));
    p.setBrush(QColor(60, 60, 65));
    p.drawEllipse(QRectF(172, 115, 24, 10));
    // mast with its lattice
    p.setBrush(QColor(235, 180, 20));
    p.drawRect(QRectF(95, 30, 22, 250));
    p.setPen(QPen(QColor(150, 110, 10), 1.5));
    for (int y = 30; y < 280; y += 18) {
        p.drawLine(QPointF(95, y), QPointF(117, y + 18));
        p.drawLine(QPointF(117, y), QPointF(95, y + 18));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 70));
    p.drawRect(QRectF(88, 22, 36, 10));                 // head block
    p.drawRect(QRectF(102, 200, 8, 100));               // drill rod
    // carrier body and cab
    p.setBrush(QColor(225, 160, 15));
    p.drawRect(QRectF(40, 240, 140, 36));
    p.setBrush(QColor(200, 140, 10));
    p.drawRect(QRectF(130, 205, 42, 38));
    p.setBrush(QColor(170, 210, 235));
    p.drawRect(QRectF(136, 211, 30, 18));
    // tracks
    QPainterPath track;
    track.addRoundedRect(QRectF(30, 274, 170, 26), 13, 13);
    p.setBrush(QColor(40, 40, 40));
    p.drawPath(track);
    p.setBrush(QColor(110, 110, 110));
    for (int x = 44; x <= 186; x += 24)
        p.drawEllipse(QPointF(x, 287), 8, 8);
    return img;
}

QFont arial(double points, bool bold)
{
    QFont f(fonts::family(QStringLiteral("Arial")));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace vnt::artwork
