// Rotated text.
#include "drawing/clsROTATOR.h"

#include "drawing/Surface.h"
#include "platform/errors.h"

#include <cmath>

namespace vnt {

void clsROTATOR::setDevice(Surface *objDevice) {
    if (!objDevice) raise(91);
    const QSizeF size = objDevice->sizeMm();
    if (size.width() <= 0 || size.height() <= 0) raise(err::DivisionByZero);
    device_ = objDevice;
}

int clsROTATOR::cellHeight(double dpiY, double pointSize) {
    const int h = int(std::nearbyint(dpiY * pointSize)) / 72;
    return int(std::nearbyint(h * 1.175));
}

FontSpec clsROTATOR::rotatedFont(const FontSpec &f, double dpiY) {
    // The rotated font is matched by its character cell, so its em is the cell over the
    // face's cell-per-em ratio. That makes it a few per cent larger than the upright font
    // (more on paper than on screen); its glyphs are narrowed back to the upright advance so
    // that the runs of a marked-up text, laid out with upright widths, do not run into each
    // other ("10" followed by a raised "-1" would otherwise read as "10" to the 1).
    const int cell = cellHeight(dpiY, f.size);
    FontSpec rotated = f;
    if (!(dpiY > 0) || cell <= 0 || !(f.size > 0)) return rotated;
    rotated.size = cell / cellPerEm(f) * 72.0 / dpiY;
    const QString probe = QStringLiteral("MMMMMMMMMM");
    const double upright = measureTextMm(f, probe).width();
    rotated.stretch = 1;
    const double turned = measureTextMm(rotated, probe).width();
    if (upright > 0 && turned > 0) rotated.stretch = upright / turned;
    return rotated;
}

void clsROTATOR::Label(const QString &sText) {
    if (!device_) raise(91);
    const FontSpec f = device_->font();
    if (f.name.toLatin1().size() > 31) raise(err::SubscriptOutOfRange);
    device_->text(QPointF(device_->currentX() - device_->scaleLeft(), device_->currentY() - device_->scaleTop()),
                  sText, angle_, rotatedFont(f, device_->dpiY()));
}

} // namespace vnt
