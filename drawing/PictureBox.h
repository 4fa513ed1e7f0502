// The picture box of a result page: a widget that shows a persistent image on which the
// figures are drawn in millimetres. The image survives repaints; drawing goes through its
// ImageSurface.
#pragma once

#include "drawing/Surface.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace vnt {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    ~PictureBox() override;

    // The surface of the current image; valid until the box is resized.
    ImageSurface &surface();
    const QImage &image() const { return image_; }
    void Cls();                                  // clears the image to white
    double pixelsPerMm() const;
    QSizeF sizeMm() const;

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    void ensureImage();
    QImage image_;
    std::unique_ptr<ImageSurface> surface_;
};

} // namespace vnt
