// The three surfaces: millimetres land on the right device pixels, text ink stays inside the
// measured box, the PDF gets one page, and the recording logs the state of every primitive.
#include <gtest/gtest.h>

#include "drawing/Surface.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace vnt;

namespace {

QImage blank(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    return img;
}

bool dark(const QImage &img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

QRect inkBox(const QImage &img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 200) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(Surface, ImageLinesLandOnMillimetres) {
    QImage img = blank(200, 100);
    {
        ImageSurface s(&img, 4.0);   // 4 px per mm
        EXPECT_DOUBLE_EQ(s.sizeMm().width(), 50);
        s.setDrawWidth(2);
        s.line(QPointF(10, 10), QPointF(30, 10));
        s.flush();
    }
    EXPECT_TRUE(dark(img, 80, 40));      // (20 mm, 10 mm)
    EXPECT_FALSE(dark(img, 80, 60));
    EXPECT_FALSE(dark(img, 130, 40));    // beyond the end at 30 mm
}

TEST(Surface, ClipRectangleLimitsPainting) {
    QImage img = blank(200, 100);
    {
        ImageSurface s(&img, 4.0);
        s.setClip(QRectF(0, 0, 20, 25));
        s.setDrawWidth(2);
        s.line(QPointF(5, 10), QPointF(40, 10));
        s.flush();
    }
    EXPECT_TRUE(dark(img, 60, 40));
    EXPECT_FALSE(dark(img, 120, 40));
}

TEST(Surface, TextInkStaysInsideItsMeasuredBox) {
    // The layout of marked-up text relies on measured boxes matching what is painted.
    for (const char *family : {"Arial", "Times New Roman", "Symbol"}) {
        QImage img = blank(600, 200);
        FontSpec f;
        f.name = QString::fromLatin1(family);
        f.size = 20;
        const QString text = QStringLiteral("Hgyp 123");
        const QSizeF box = measureTextMm(f, text);
        {
            ImageSurface s(&img, 8.0);
            s.text(QPointF(5, 5), text, 0, f);
            s.flush();
        }
        const QRect ink = inkBox(img);
        ASSERT_FALSE(ink.isNull()) << family;
        const QRectF boxPx(QPointF(5 * 8, 5 * 8), box * 8);
        EXPECT_GE(ink.left(), boxPx.left() - 2) << family;
        EXPECT_GE(ink.top(), boxPx.top() - 2) << family;
        EXPECT_LE(ink.right(), boxPx.right() + 2) << family;
        EXPECT_LE(ink.bottom(), boxPx.bottom() + 2) << family;
        EXPECT_GT(ink.width(), boxPx.width() * 0.8) << family;
    }
}

TEST(Surface, MetricsScaleWithPointSize) {
    FontSpec f;
    f.size = 8;
    const QSizeF s8 = measureTextMm(f, QStringLiteral("Profil"));
    f.size = 16;
    const QSizeF s16 = measureTextMm(f, QStringLiteral("Profil"));
    EXPECT_NEAR(s16.width() / s8.width(), 2.0, 0.05);
    // 8 points of Arial: a cell of about 3.3 mm.
    EXPECT_NEAR(s8.height(), 8 * 25.4 / 72 * 1.15, 0.2);
    EXPECT_DOUBLE_EQ(measureTextMm(f, QString()).width(), 0);
    EXPECT_GT(measureTextMm(f, QString()).height(), 0);
}

TEST(Surface, PrinterWritesOnePdfPagePerSheet) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.pdf"));
    {
        PrinterSurface s(path);
        EXPECT_NEAR(s.sizeMm().width(), 210, 0.5);
        EXPECT_NEAR(s.sizeMm().height(), 297, 0.5);
        EXPECT_TRUE(s.isPrinter());
        s.line(QPointF(10, 10), QPointF(100, 100));
        s.text(QPointF(20, 20), QStringLiteral("Seite 1"));
        s.newPage();
        s.line(QPointF(10, 10), QPointF(100, 100));
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Count 2"));
}

TEST(Surface, RecordingLogsPrimitivesWithTheirState) {
    RecordingSurface s(QSizeF(100, 50));
    s.setForeColor(Qt::red);
    s.setDrawWidth(3);
    s.setDrawStyle(2);
    s.line(QPointF(1, 2), QPointF(3, 4));
    s.setFillStyle(0);
    s.setFillColor(Qt::blue);
    s.ellipse(QPointF(5, 5), 0.7, 0.7, true);
    s.arc(QPointF(5, 5), 2, 0, 1.5);
    FontSpec f;
    f.setBold(true);
    s.setFont(f);
    s.setCurrent(10, 20);
    s.print(QStringLiteral("ab"));
    s.print(QStringLiteral("c"));

    const auto &log = s.strokes();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].kind, Primitive::Line);
    EXPECT_EQ(log[0].color, QColor(Qt::red));
    EXPECT_EQ(log[0].width, 3);
    EXPECT_EQ(log[0].style, 2);
    EXPECT_EQ(log[1].kind, Primitive::Ellipse);
    EXPECT_TRUE(log[1].filled);
    EXPECT_EQ(log[1].fillColor, QColor(Qt::blue));
    EXPECT_DOUBLE_EQ(log[2].endRad, 1.5);
    // Print leaves the position after the text, on the same line.
    EXPECT_EQ(log[3].points[0], QPointF(10, 20));
    EXPECT_NEAR(log[4].points[0].x(), 10 + measureTextMm(f, QStringLiteral("ab")).width(), 1e-9);
    EXPECT_EQ(log[4].points[0].y(), 20);
    EXPECT_TRUE(log[4].font.bold);
    EXPECT_EQ(s.texts(), QStringList({QStringLiteral("ab"), QStringLiteral("c")}));
}

TEST(Surface, ColoursAndPalette) {
    EXPECT_EQ(vbColor(255), QColor(255, 0, 0));
    EXPECT_EQ(vbColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(vbColor(-2147483643LL), QColor(Qt::black));
    EXPECT_EQ(toVbColor(QColor(1, 2, 3)), 0x030201);
    EXPECT_EQ(paletteColor(12), QColor(255, 0, 0));
    EXPECT_EQ(paletteColor(6), QColor(128, 128, 0));
    EXPECT_EQ(paletteColor(15), QColor(255, 255, 255));
    EXPECT_EQ(paletteColor(16), QColor(Qt::black));
}
