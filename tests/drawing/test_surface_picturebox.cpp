// The picture box keeps what was drawn on its image until it is cleared.
#include <gtest/gtest.h>

#include "drawing/PictureBox.h"

using namespace vnt;

TEST(PictureBox, DrawsOnItsImageAndClears) {
    PictureBox box;
    box.setObjectName(QStringLiteral("picBILD11"));
    box.resize(400, 300);
    const QSizeF mm = box.sizeMm();
    EXPECT_NEAR(mm.width(), 400 / box.pixelsPerMm(), 1e-9);
    ImageSurface &s = box.surface();
    EXPECT_NEAR(s.sizeMm().width(), mm.width(), 1e-6);
    s.setDrawWidth(3);
    s.line(QPointF(0, 20), QPointF(mm.width(), 20));
    s.flush();
    const int y = int(std::lround(20 * box.pixelsPerMm()));
    EXPECT_LT(qGray(box.image().pixel(200, y)), 128);
    box.Cls();
    EXPECT_EQ(qGray(box.image().pixel(200, y)), 255);
}

// On a screen that scales its windows the image holds the device pixels while drawing and
// measuring stay in millimetres on the window's scale: text and lines are sharp, not stretched.
TEST(PictureBox, ImageOfDevicePixelsDrawsAtTheWindowsScale) {
    const double k = 4;   // window pixels per mm
    QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);   // 200 x 150 window pixels
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    ImageSurface s(&image, k);
    EXPECT_NEAR(s.sizeMm().width(), 50, 1e-9);
    EXPECT_NEAR(s.sizeMm().height(), 37.5, 1e-9);
    s.line(QPointF(5, 10), QPointF(45, 10));
    s.flush();
    // 10 mm down is 40 window pixels, 80 device pixels.
    EXPECT_LT(qGray(image.pixel(200, 80)), 128);
    EXPECT_EQ(qGray(image.pixel(200, 40)), 255);
    // The scale a page gives its box is the scale of its surface.
    PictureBox box;
    box.resize(400, 300);
    box.setPixelsPerMm(2.5);
    EXPECT_NEAR(box.sizeMm().width(), 160, 1e-9);
    EXPECT_NEAR(box.surface().sizeMm().width(), 160, 1e-9);
}
