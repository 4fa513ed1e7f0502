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

void clsROTATOR::Label(const QString &sText) {
    if (!device_) raise(91);
    FontSpec f = device_->font();
    if (f.name.toLatin1().size() > 31) raise(err::SubscriptOutOfRange);
    // The rotated font is matched by its character cell, so its em is the cell over the
    // face's cell-per-em ratio.
    const double dpi = device_->dpiY();
    const int cell = cellHeight(dpi, f.size);
    const double emPx = cell / cellPerEm(f);
    FontSpec rotated = f;
    rotated.size = emPx * 72.0 / dpi;
    device_->text(QPointF(device_->currentX() - device_->scaleLeft(), device_->currentY() - device_->scaleTop()),
                  sText, angle_, rotated);
}

} // namespace vnt
