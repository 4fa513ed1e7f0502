// The picture box widget.
#include "drawing/PictureBox.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <utility>

namespace vnt {

namespace {
PictureBox::ScreenLog &screenLog() {
    static PictureBox::ScreenLog log;
    return log;
}
} // namespace

PictureBox::ScreenLog PictureBox::setScreenLog(ScreenLog log) { return std::exchange(screenLog(), std::move(log)); }

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox::~PictureBox() = default;

double PictureBox::pixelsPerMm() const { return scale_ > 0 ? scale_ : logicalDpiX() / 25.4; }

void PictureBox::setPixelsPerMm(double pixelsPerMm) { scale_ = pixelsPerMm; }

QSizeF PictureBox::sizeMm() const
{
    if (!sizeMm_.isEmpty())
        return sizeMm_;
    return QSizeF(width() / pixelsPerMm(), height() / pixelsPerMm());
}

void PictureBox::setSizeMm(const QSizeF &mm) { sizeMm_ = mm; }

void PictureBox::ensureImage() {
    const QSize want(std::max(1, width()), std::max(1, height()));
    // The image has the screen's device pixels; painting and measuring stay in window pixels.
    const double dpr = devicePixelRatioF();
    if (surface_ && imageSize_ == want && image_.devicePixelRatio() == dpr && surface_->pixelsPerMm() == pixelsPerMm())
        return;
    imageSize_ = want;
    surface_.reset();
    image_ = QImage(int(std::lround(want.width() * dpr)), int(std::lround(want.height() * dpr)),
                    QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(dpr);
    image_.fill(Qt::white);
    surface_ = std::make_unique<ImageSurface>(&image_, pixelsPerMm());
    surface_->setOnChange([this] { update(); });
    if (screenLog())
        surface_->setMirror(screenLog()(*this));
}

ImageSurface &PictureBox::surface() {
    ensureImage();
    return *surface_;
}

void PictureBox::Cls() {
    ensureImage();
    surface_->clear();
    surface_->flush();
}

void PictureBox::paintEvent(QPaintEvent *) {
    ensureImage();
    surface_->flush();
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent *e) {
    QWidget::resizeEvent(e);
    ensureImage();
}

} // namespace vnt
