// The picture box of a result page: a widget that shows a persistent image on which the
// figures are drawn in millimetres. The image survives repaints; drawing goes through its
// ImageSurface. It holds the screen's device pixels, so that figures stay sharp on a screen
// that scales its windows.
#pragma once

#include "drawing/Surface.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

namespace vnt {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    ~PictureBox() override;

    // The surface of the current image; valid until the box is resized or rescaled.
    ImageSurface &surface();
    const QImage &image() const { return image_; }
    void Cls();                                  // clears the image to white
    // The box's scale in window pixels per millimetre: the screen's unless the page set one.
    double pixelsPerMm() const;
    void setPixelsPerMm(double pixelsPerMm);     // 0 goes back to the screen's
    // The box's size in millimetres: the size its page gave it, as it stands on the printed
    // sheet, else its pixels at its scale. Whole pixels hold the given size only roughly, and
    // differently at every scale; the figures' scales, worked out from this size and stored,
    // must not change with the screen a page is shown on.
    QSizeF sizeMm() const;
    void setSizeMm(const QSizeF &mm);            // an empty size goes back to the pixels'

    // For tests: gives every picture box made from now on a surface of the test's that its
    // drawing is copied to (see PainterSurface::setMirror); an empty function stops it.
    using ScreenLog = std::function<std::shared_ptr<Surface>(const PictureBox &)>;
    static ScreenLog setScreenLog(ScreenLog log);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    void ensureImage();
    QImage image_;
    QSize imageSize_;   // in window pixels; the image itself may have more
    std::unique_ptr<ImageSurface> surface_;
    double scale_ = 0;
    QSizeF sizeMm_;
};

} // namespace vnt
