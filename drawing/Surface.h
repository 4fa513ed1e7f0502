// The drawing target of every figure, table and page header: one interface in millimetres
// with three implementations, so that one drawing path serves the screen (the picture box's
// persistent image), paper or PDF (QPrinter) and the tests (a recording of every primitive).
// The surface carries the state the drawing classes switch between calls, as a picture box or
// the printer did: fore colour, pen width in device pixels, line style, fill, font, the current
// position and the scale origin.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPrinter;
class QPaintDevice;

namespace vnt {

// A font as the program describes it: by face name and point size, as stored in the figure tables.
struct FontSpec {
    QString name = QStringLiteral("Arial");
    double size = 8;          // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int weight = 400;         // 400 normal, 700 bold; kept in step with `bold`
    double stretch = 1;       // horizontal scale of the glyphs; advances are measured with it

    void setBold(bool b) { bold = b; weight = b ? 700 : 400; }
    bool operator==(const FontSpec &o) const = default;
};

// "Arial" -> "Liberation Sans", "Times New Roman" -> "Liberation Serif"; "Symbol" is drawn
// with a face that has the Greek and mathematical glyphs; other names pass unchanged.
QString mapFontFamily(const QString &name);
bool isSymbolFont(const QString &name);
// The characters of the "Symbol" font's code page as their Unicode equivalents ('a' -> alpha).
QString symbolToUnicode(const QString &text);
// One character of the single-byte Western code page by its code 0..255.
QChar ansiChar(int code);
// The Qt font for a font description, sized in points (device resolution decides the pixels).
QFont qfontFor(const FontSpec &font);
// Text extent in millimetres for a font: one measure shared by every surface, so that the
// layout computed on the recording surface is the layout drawn on screen and paper.
QSizeF measureTextMm(const FontSpec &font, const QString &text);
double fontAscentMm(const FontSpec &font);
// Character-cell height per em of a font (ascent + descent over the em size).
double cellPerEm(const FontSpec &font);

// A colour value as stored and passed around: 32-bit RGB with red in the low byte; values below 0
// (system colours) are taken as black.
QColor vbColor(qint64 rgb);
qint64 toVbColor(const QColor &c);
// The 16-colour palette of the figure tables; numbers outside 0..15 give black.
QColor paletteColor(int number);
qint64 paletteRgb(int number);

enum class Primitive { Line, Polyline, Rectangle, FillRect, Polygon, Ellipse, Arc, Text, Clear, Point };

// One logged primitive of the recording surface. Points are in millimetres on the target.
struct Stroke {
    Primitive kind = Primitive::Line;
    QVector<QPointF> points;     // line: 2; polyline/polygon: n; rectangle/fillrect: 2 corners;
                                 // ellipse/arc: the centre; text: the top-left reference point
    double rx = 0, ry = 0;       // ellipse and arc radii in mm
    double startRad = 0, endRad = 0;   // arc, counter-clockwise from +x with y upwards
    QString text;                // text as given (before any Symbol mapping)
    FontSpec font;
    double angle = 0;            // text angle in degrees, counter-clockwise
    QColor color;                // pen or text colour
    double width = 1;            // pen width in device pixels
    int style = 0;               // line style
    bool filled = false;         // filled shape (fill colour and style below)
    QColor fillColor;
    int fillStyle = 1;
    std::optional<QRectF> clip;
};

class Surface {
public:
    virtual ~Surface();

    // Geometry of the target.
    virtual QSizeF sizeMm() const = 0;
    virtual double pixelsPerMm() const = 0;     // pixels per millimetre in x (a picture box: window pixels)
    virtual double dpiY() const { return pixelsPerMm() * 25.4; }
    virtual bool isPrinter() const { return false; }

    // State, as the target's properties.
    QColor foreColor() const { return fore_; }
    void setForeColor(const QColor &c) { fore_ = c; }
    double drawWidth() const { return drawWidth_; }       // device pixels
    void setDrawWidth(double px) { drawWidth_ = px; }
    int drawStyle() const { return drawStyle_; }          // 0 solid .. 6 inside solid
    void setDrawStyle(int s) { drawStyle_ = s; }
    int drawMode() const { return drawMode_; }            // 13 copy pen
    void setDrawMode(int m) { drawMode_ = m; }
    QColor fillColor() const { return fillColor_; }
    void setFillColor(const QColor &c) { fillColor_ = c; }
    int fillStyle() const { return fillStyle_; }          // 0 solid, 1 transparent, 2..7 hatches
    void setFillStyle(int s) { fillStyle_ = s; }
    const FontSpec &font() const { return font_; }
    void setFont(const FontSpec &f) { font_ = f; }
    bool fontTransparent() const { return fontTransparent_; }
    void setFontTransparent(bool t) { fontTransparent_ = t; }
    // The colour an opaque text's cell is filled with: the picture box's background.
    QColor backColor() const { return back_; }
    void setBackColor(const QColor &c) { back_ = c; }
    double currentX() const { return curX_; }
    double currentY() const { return curY_; }
    void setCurrent(double x, double y) { curX_ = x; curY_ = y; }
    double scaleLeft() const { return scaleLeft_; }
    double scaleTop() const { return scaleTop_; }
    void setScaleOrigin(double left, double top) { scaleLeft_ = left; scaleTop_ = top; }

    void setClip(const QRectF &mm) { clip_ = mm; }
    void clearClip() { clip_.reset(); }
    std::optional<QRectF> clip() const { return clip_; }

    // Primitives in millimetres, drawn with the current state.
    virtual void line(QPointF a, QPointF b) = 0;
    virtual void polyline(const QVector<QPointF> &pts) = 0;
    virtual void rectangle(const QRectF &r, bool filled) = 0;     // outline; filled: fill style too
    virtual void fillRect(const QRectF &r, const QColor &c) = 0;  // solid, no outline
    virtual void polygon(const QVector<QPointF> &pts, bool filled) = 0;
    virtual void ellipse(QPointF centre, double rx, double ry, bool filled) = 0;
    // Circular arc from startRad to endRad, counter-clockwise with y growing upwards on paper.
    virtual void arc(QPointF centre, double r, double startRad, double endRad) = 0;
    // Text with its character cell's top-left corner at topLeft, turned by angleDeg about it.
    virtual void text(QPointF topLeft, const QString &s, double angleDeg, const FontSpec &font) = 0;
    virtual void clear() = 0;
    virtual void pset(QPointF p) = 0;     // one device pixel in the fore colour

    void text(QPointF topLeft, const QString &s) { text(topLeft, s, 0, font_); }
    // Prints at the current position (less the scale origin, as the target did) and leaves the
    // current position after the text, on the same line.
    void print(const QString &s);

    double textWidth(const QString &s) const { return measureTextMm(font_, s).width(); }
    double textHeight(const QString &s) const { return measureTextMm(font_, s).height(); }

protected:
    QColor fore_ = Qt::black;
    double drawWidth_ = 1;
    int drawStyle_ = 0;
    int drawMode_ = 13;
    QColor fillColor_ = Qt::black;
    int fillStyle_ = 1;
    FontSpec font_;
    bool fontTransparent_ = true;
    QColor back_ = Qt::white;
    double curX_ = 0, curY_ = 0;
    double scaleLeft_ = 0, scaleTop_ = 0;
    std::optional<QRectF> clip_;
};

// Draws through a QPainter on any paint device whose resolution is `dotsPerMm`.
class PainterSurface : public Surface {
public:
    double pixelsPerMm() const override { return k_; }
    void line(QPointF a, QPointF b) override;
    void polyline(const QVector<QPointF> &pts) override;
    void rectangle(const QRectF &r, bool filled) override;
    void fillRect(const QRectF &r, const QColor &c) override;
    void polygon(const QVector<QPointF> &pts, bool filled) override;
    void ellipse(QPointF centre, double rx, double ry, bool filled) override;
    void arc(QPointF centre, double r, double startRad, double endRad) override;
    void text(QPointF topLeft, const QString &s, double angleDeg, const FontSpec &font) override;
    using Surface::text;
    void clear() override;
    void pset(QPointF p) override;

    // For tests: every primitive is drawn on `mirror` as well, with the same state; null: none.
    void setMirror(std::shared_ptr<Surface> mirror) { mirror_ = std::move(mirror); }

protected:
    PainterSurface() = default;
    Surface *mirrored() const;   // the mirror, brought to this surface's state
    virtual QPainter *painter() = 0;     // null when the target cannot be painted
    virtual void changed() {}
    void prepare(QPainter &p, bool filled) const;
    QPointF dev(QPointF mm) const { return mm * k_; }
    double k_ = 96 / 25.4;

private:
    // Where the last dashed stroke ended and how far its pattern had run (device pixels).
    struct DashRun {
        QPointF end;
        double run = 0;
        int style = 0;
        double width = 1;
        QColor colour;
    };
    std::optional<DashRun> dash_;
    std::shared_ptr<Surface> mirror_;
};

// The picture box's persistent image (screen).
class ImageSurface : public PainterSurface {
public:
    // The image is kept by the caller (the picture box); its resolution is set to dotsPerMm.
    // An image with a device pixel ratio is drawn on in its device-independent pixels.
    ImageSurface(QImage *image, double dotsPerMm = 96 / 25.4);
    ~ImageSurface() override;
    QSizeF sizeMm() const override;
    QImage *image() const { return image_; }
    void setOnChange(std::function<void()> f) { onChange_ = std::move(f); }
    void flush();     // ends the painter so that the image can be shown or saved

protected:
    QPainter *painter() override;
    void changed() override;

private:
    QImage *image_;
    std::unique_ptr<QPainter> painter_;
    std::function<void()> onChange_;
};

// Paper: the printer, or a PDF file of A4 pages.
class PrinterSurface : public PainterSurface {
public:
    explicit PrinterSurface(QPrinter &printer);
    // A PDF file of A4 pages in the given orientation (for the tests and for "no printer").
    explicit PrinterSurface(const QString &pdfFile, bool landscape = false);
    ~PrinterSurface() override;
    QSizeF sizeMm() const override;
    double dpiY() const override;
    bool isPrinter() const override { return true; }
    // Begins the document now, so that a sheet is a page even before anything is drawn on it;
    // false when the printer or file cannot be opened.
    bool begin() { return painter() != nullptr; }
    void newPage();
    void endDoc();   // finishes the document; later drawing is ignored
    QPrinter &printer() const { return *printer_; }

protected:
    QPainter *painter() override;

private:
    std::unique_ptr<QPrinter> owned_;
    QPrinter *printer_;
    std::unique_ptr<QPainter> painter_;
    bool ended_ = false;
};

// Logs every primitive in millimetres; measures text as the other surfaces do.
class RecordingSurface : public Surface {
public:
    explicit RecordingSurface(QSizeF sizeMm = QSizeF(297, 210), double pixelsPerMm = 96 / 25.4);
    QSizeF sizeMm() const override { return size_; }
    double pixelsPerMm() const override { return k_; }
    bool isPrinter() const override { return printer_; }
    void setPrinter(bool p) { printer_ = p; }

    void line(QPointF a, QPointF b) override;
    void polyline(const QVector<QPointF> &pts) override;
    void rectangle(const QRectF &r, bool filled) override;
    void fillRect(const QRectF &r, const QColor &c) override;
    void polygon(const QVector<QPointF> &pts, bool filled) override;
    void ellipse(QPointF centre, double rx, double ry, bool filled) override;
    void arc(QPointF centre, double r, double startRad, double endRad) override;
    void text(QPointF topLeft, const QString &s, double angleDeg, const FontSpec &font) override;
    using Surface::text;
    void clear() override;
    void pset(QPointF p) override;

    const std::vector<Stroke> &strokes() const { return log_; }
    std::vector<Stroke> strokes(Primitive kind) const;
    QStringList texts() const;      // the texts in drawing order
    void reset() { log_.clear(); }

private:
    Stroke base(Primitive k) const;
    QSizeF size_;
    double k_;
    bool printer_ = false;
    std::vector<Stroke> log_;
};

} // namespace vnt
