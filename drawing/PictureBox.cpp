// The picture box widget.
#include "drawing/PictureBox.h"

#include <QPainter>
#include <QResizeEvent>

namespace vnt {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PictureBox::~PictureBox() = default;

double PictureBox::pixelsPerMm() const { return logicalDpiX() / 25.4; }

QSizeF PictureBox::sizeMm() const { return QSizeF(width() / pixelsPerMm(), height() / pixelsPerMm()); }

void PictureBox::ensureImage() {
    const QSize want(std::max(1, width()), std::max(1, height()));
    if (image_.size() == want && surface_) return;
    surface_.reset();
    image_ = QImage(want, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::white);
    surface_ = std::make_unique<ImageSurface>(&image_, pixelsPerMm());
    surface_->setOnChange([this] { update(); });
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
