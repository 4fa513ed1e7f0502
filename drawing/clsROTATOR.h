// Prints one text turned by an angle at the target's current position, in the target's current
// font matched by its character-cell height (the point size taken in whole pixels at the
// target's vertical resolution, times 1.175).
#pragma once

#include "drawing/Surface.h"

#include <QString>
#include <cstdint>

namespace vnt {

class clsROTATOR {
public:
    void setDevice(Surface *objDevice);
    void setAngle(int16_t nAngle) { angle_ = nAngle; }
    int16_t Angle() const { return angle_; }
    // Raises VbError 91 without a target and 9 for a font name too long for the platform's
    // face-name field (31 characters).
    void Label(const QString &sText);

    // Character-cell height in device pixels of the rotated font for a point size at a
    // vertical resolution.
    static int cellHeight(double dpiY, double pointSize);
    // The font a label is printed in: the target's font, sized to that cell height.
    static FontSpec rotatedFont(const FontSpec &f, double dpiY);

private:
    Surface *device_ = nullptr;
    int16_t angle_ = 0;
};

} // namespace vnt
