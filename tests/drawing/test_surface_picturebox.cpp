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
