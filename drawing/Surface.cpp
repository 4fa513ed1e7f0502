// The three drawing targets: painter-based (image, printer/PDF) and the recording log.
#include "drawing/Surface.h"
#include "platform/fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLineF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <cmath>

namespace vnt {

namespace {

// Metrics are taken at one fixed, fine resolution so that every surface lays text out alike.
constexpr double kRefPxPerPt = 10.0;                   // 720 dpi
constexpr double kRefPxPerMm = kRefPxPerPt * 72.0 / 25.4;

QFont referenceFont(const FontSpec &f) {
    QFont q = qfontFor(f);
    q.setPixelSize(std::max(1, int(std::lround(f.size * kRefPxPerPt))));
    return q;
}

// Font metrics are asked for the same few fonts over and over while a figure is laid out.
const QFontMetricsF &refMetrics(const FontSpec &f) {
    // The stretch only scales the measured advance; the face's metrics are those of the size.
    static QHash<QString, std::shared_ptr<QFontMetricsF>> cache;
    const QString key = f.name + QLatin1Char('|') + QString::number(f.size) + QLatin1Char('|')
        + QString::number(int(f.bold) | int(f.italic) << 1 | int(f.underline) << 2 | int(f.strikethrough) << 3)
        + QLatin1Char('|') + QString::number(f.weight);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.insert(key, std::make_shared<QFontMetricsF>(referenceFont(f)));
    return **it;
}

QString shown(const FontSpec &f, const QString &s) {
    return isSymbolFont(f.name) ? symbolToUnicode(s) : s;
}

} // namespace

QString mapFontFamily(const QString &name) {
    if (isSymbolFont(name)) return QStringLiteral("DejaVu Serif");
    return fonts::family(name);
}

bool isSymbolFont(const QString &name) {
    return name.trimmed().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

QString symbolToUnicode(const QString &text) {
    // Latin letters stand for the Greek letters of the same sound; a few marks differ too.
    static const char16_t lower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι', u'ϕ', u'κ', u'λ', u'μ',
                                       u'ν', u'ο', u'π', u'θ', u'ρ', u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};
    static const char16_t upper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ', u'Κ', u'Λ', u'Μ',
                                       u'Ν', u'Ο', u'Π', u'Θ', u'Ρ', u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
    static const QHash<char16_t, char16_t> marks = {
        {u'"', u'∀'}, {u'$', u'∃'}, {u'\'', u'∋'}, {u'*', u'∗'}, {u'-', u'−'}, {u'@', u'≅'},
        {u'\\', u'∴'}, {u'^', u'⊥'}, {u'~', u'∼'}, {0xA1, u'ϒ'}, {0xA2, u'′'}, {0xA3, u'≤'},
        {0xA4, u'⁄'}, {0xA5, u'∞'}, {0xA6, u'ƒ'}, {0xAB, u'↔'}, {0xAC, u'←'}, {0xAD, u'↑'},
        {0xAE, u'→'}, {0xAF, u'↓'}, {0xB0, u'°'}, {0xB1, u'±'}, {0xB2, u'″'}, {0xB3, u'≥'},
        {0xB4, u'×'}, {0xB5, u'∝'}, {0xB6, u'∂'}, {0xB7, u'•'}, {0xB8, u'÷'}, {0xB9, u'≠'},
        {0xBA, u'≡'}, {0xBB, u'≈'}, {0xBC, u'…'}, {0xC0, u'ℵ'}, {0xC4, u'⊗'}, {0xC5, u'⊕'},
        {0xC6, u'∅'}, {0xC7, u'∩'}, {0xC8, u'∪'}, {0xCE, u'∈'}, {0xD0, u'∠'}, {0xD1, u'∇'},
        {0xD5, u'∏'}, {0xD6, u'√'}, {0xD7, u'⋅'}, {0xD8, u'¬'}, {0xD9, u'∧'}, {0xDA, u'∨'},
        {0xE5, u'∑'}, {0xF2, u'∫'}};
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') out += QChar(lower[u - u'a']);
        else if (u >= u'A' && u <= u'Z') out += QChar(upper[u - u'A']);
        else if (auto it = marks.find(u); it != marks.end()) out += QChar(*it);
        else out += c;
    }
    return out;
}

QChar ansiChar(int code) {
    // The code page agrees with Latin-1 except in 0x80..0x9F.
    static const char16_t high[32] = {u'€', 0x81, u'‚', u'ƒ', u'„', u'…', u'†', u'‡', u'ˆ', u'‰', u'Š', u'‹', u'Œ', 0x8D, u'Ž', 0x8F,
                                      0x90, u'‘', u'’', u'“', u'”', u'•', u'–', u'—', u'˜', u'™', u'š', u'›', u'œ', 0x9D, u'ž', u'Ÿ'};
    if (code >= 0x80 && code <= 0x9F) return QChar(high[code - 0x80]);
    return QChar(char16_t(code & 0xFF));
}

QFont qfontFor(const FontSpec &f) {
    QFont q(mapFontFamily(f.name));
    q.setPointSizeF(f.size > 0 ? f.size : 8);
    q.setWeight(f.weight >= 600 || f.bold ? QFont::Bold : QFont::Normal);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethrough);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    return q;
}

QSizeF measureTextMm(const FontSpec &font, const QString &text) {
    const QFontMetricsF &m = refMetrics(font);
    return QSizeF(m.horizontalAdvance(shown(font, text)) * font.stretch / kRefPxPerMm, m.height() / kRefPxPerMm);
}

double fontAscentMm(const FontSpec &font) { return refMetrics(font).ascent() / kRefPxPerMm; }

double cellPerEm(const FontSpec &font) {
    const QFontMetricsF &m = refMetrics(font);
    const double em = std::max(1.0, std::round(font.size * kRefPxPerPt));
    return m.height() / em;
}

QColor vbColor(qint64 rgb) {
    if (rgb < 0) return Qt::black;
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

qint64 toVbColor(const QColor &c) { return qint64(c.red()) | qint64(c.green()) << 8 | qint64(c.blue()) << 16; }

qint64 paletteRgb(int number) {
    static const int rgb[16][3] = {{0, 0, 0}, {0, 0, 128}, {0, 128, 0}, {0, 128, 128}, {128, 0, 0}, {128, 0, 128},
                                   {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},
                                   {0, 255, 255}, {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    if (number < 0 || number > 15) return 0;
    return qint64(rgb[number][0]) | qint64(rgb[number][1]) << 8 | qint64(rgb[number][2]) << 16;
}

QColor paletteColor(int number) { return vbColor(paletteRgb(number)); }

// ---- Surface -------------------------------------------------------------------------------

Surface::~Surface() = default;

void Surface::print(const QString &s) {
    text(QPointF(curX_ - scaleLeft_, curY_ - scaleTop_), s, 0, font_);
    curX_ += textWidth(s);
}

// ---- PainterSurface ------------------------------------------------------------------------

namespace {
Qt::PenStyle penStyle(int drawStyle) {
    switch (drawStyle) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}
Qt::BrushStyle brushStyle(int fillStyle) {
    switch (fillStyle) {
    case 0: return Qt::SolidPattern;
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::BDiagPattern;
    case 5: return Qt::FDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}
} // namespace

void PainterSurface::prepare(QPainter &p, bool filled) const {
    QPen pen(fore_, std::max(drawWidth_, 1.0), penStyle(drawStyle_), Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(filled ? QBrush(fillColor_, brushStyle(fillStyle_)) : QBrush(Qt::NoBrush));
    p.setCompositionMode(drawMode_ == 7 ? QPainter::RasterOp_SourceXorDestination : QPainter::CompositionMode_SourceOver);
    if (clip_) p.setClipRect(QRectF(dev(clip_->topLeft()), dev(clip_->bottomRight())));
    else p.setClipping(false);
}

Surface *PainterSurface::mirrored() const {
    Surface *m = mirror_.get();
    if (!m) return nullptr;
    m->setForeColor(fore_);
    m->setDrawWidth(drawWidth_);
    m->setDrawStyle(drawStyle_);
    m->setDrawMode(drawMode_);
    m->setFillColor(fillColor_);
    m->setFillStyle(fillStyle_);
    m->setFont(font_);
    m->setFontTransparent(fontTransparent_);
    m->setBackColor(back_);
    clip_ ? m->setClip(*clip_) : m->clearClip();
    return m;
}

void PainterSurface::line(QPointF a, QPointF b) {
    if (Surface *m = mirrored()) m->line(a, b);
    QPainter *p = painter();
    if (!p) return;
    prepare(*p, false);
    const QPointF da = dev(a), db = dev(b);
    if (drawStyle_ >= 1 && drawStyle_ <= 4) {
        // A dashed path drawn stroke by stroke (a stepped outline of many short steps) keeps its
        // pattern running across the joints; restarted at every stroke, short strokes would all
        // begin with a dash and read as a solid line.
        QPen pen = p->pen();
        const double w = pen.widthF();
        if (!dash_ || QLineF(dash_->end, da).length() > 0.5 || dash_->style != drawStyle_ || dash_->width != w ||
            dash_->colour != fore_)
            dash_ = DashRun{da, 0, drawStyle_, w, fore_};
        pen.setDashOffset(dash_->run / w);
        p->setPen(pen);
        dash_->run += QLineF(da, db).length();
        dash_->end = db;
    } else {
        dash_.reset();
    }
    p->drawLine(da, db);
    changed();
}

void PainterSurface::polyline(const QVector<QPointF> &pts) {
    if (Surface *m = mirrored()) m->polyline(pts);
    QPainter *p = painter();
    if (!p || pts.size() < 2) return;
    prepare(*p, false);
    QVector<QPointF> d;
    d.reserve(pts.size());
    for (const QPointF &q : pts) d.append(dev(q));
    p->drawPolyline(d.constData(), int(d.size()));
    changed();
}

void PainterSurface::rectangle(const QRectF &r, bool filled) {
    if (Surface *m = mirrored()) m->rectangle(r, filled);
    QPainter *p = painter();
    if (!p) return;
    prepare(*p, filled);
    p->drawRect(QRectF(dev(r.topLeft()), dev(r.bottomRight())).normalized());
    changed();
}

void PainterSurface::fillRect(const QRectF &r, const QColor &c) {
    if (Surface *m = mirrored()) m->fillRect(r, c);
    QPainter *p = painter();
    if (!p) return;
    prepare(*p, false);
    p->fillRect(QRectF(dev(r.topLeft()), dev(r.bottomRight())).normalized(), c);
    changed();
}

void PainterSurface::polygon(const QVector<QPointF> &pts, bool filled) {
    if (Surface *m = mirrored()) m->polygon(pts, filled);
    QPainter *p = painter();
    if (!p || pts.size() < 2) return;
    prepare(*p, filled);
    QVector<QPointF> d;
    for (const QPointF &q : pts) d.append(dev(q));
    p->drawPolygon(d.constData(), int(d.size()));
    changed();
}

void PainterSurface::ellipse(QPointF c, double rx, double ry, bool filled) {
    if (Surface *m = mirrored()) m->ellipse(c, rx, ry, filled);
    QPainter *p = painter();
    if (!p) return;
    prepare(*p, filled);
    p->drawEllipse(dev(c), rx * k_, ry * k_);
    changed();
}

void PainterSurface::arc(QPointF c, double r, double a0, double a1) {
    if (Surface *m = mirrored()) m->arc(c, r, a0, a1);
    QPainter *p = painter();
    if (!p) return;
    prepare(*p, false);
    double span = a1 - a0;
    if (span < 0) span += 2 * M_PI;
    const QRectF box(dev(c) - QPointF(r * k_, r * k_), QSizeF(2 * r * k_, 2 * r * k_));
    // Qt counts angles counter-clockwise on screen (y down), which is y upwards on paper.
    QPainterPath path;
    path.arcMoveTo(box, a0 * 180 / M_PI);
    path.arcTo(box, a0 * 180 / M_PI, span * 180 / M_PI);
    p->drawPath(path);
    changed();
}

void PainterSurface::text(QPointF topLeft, const QString &s, double angleDeg, const FontSpec &font) {
    if (Surface *m = mirrored()) m->text(topLeft, s, angleDeg, font);
    QPainter *p = painter();
    if (!p || s.isEmpty()) return;
    prepare(*p, false);
    QFont q = qfontFor(font);
    // Sized from the shared reference metrics so the glyphs occupy the measured space.
    q.setPointSizeF(font.size * k_ * 25.4 / p->device()->logicalDpiY());
    p->setFont(q);
    p->setPen(fore_);
    const QString t = shown(font, s);
    const double ascent = fontAscentMm(font) * k_;
    p->save();
    p->translate(dev(topLeft));
    if (angleDeg != 0) p->rotate(-angleDeg);
    if (!fontTransparent_) {
        const QSizeF sz = measureTextMm(font, s) * k_;
        p->fillRect(QRectF(QPointF(0, 0), sz), back_);
    }
    if (font.stretch > 0 && font.stretch != 1) p->scale(font.stretch, 1);
    p->drawText(QPointF(0, ascent), t);
    p->restore();
    changed();
}

void PainterSurface::clear() {
    if (Surface *m = mirrored()) m->clear();
    QPainter *p = painter();
    if (!p) return;
    p->setClipping(false);
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->fillRect(QRectF(QPointF(0, 0), sizeMm() * k_), Qt::white);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    curX_ = curY_ = 0;
    changed();
}

void PainterSurface::pset(QPointF pt) {
    if (Surface *m = mirrored()) m->pset(pt);
    QPainter *p = painter();
    if (!p) return;
    prepare(*p, false);
    p->fillRect(QRectF(dev(pt) - QPointF(0.5, 0.5), QSizeF(1, 1)), fore_);
    changed();
}

// ---- ImageSurface --------------------------------------------------------------------------

ImageSurface::ImageSurface(QImage *image, double dotsPerMm) : image_(image) {
    k_ = dotsPerMm;
    if (image_) {
        image_->setDotsPerMeterX(int(std::lround(dotsPerMm * 1000)));
        image_->setDotsPerMeterY(int(std::lround(dotsPerMm * 1000)));
    }
}

ImageSurface::~ImageSurface() { flush(); }

QSizeF ImageSurface::sizeMm() const {
    if (!image_) return {};
    // An image of the screen's device pixels is painted in window pixels, as the widget is.
    return image_->deviceIndependentSize() / k_;
}

QPainter *ImageSurface::painter() {
    if (!image_ || image_->isNull()) return nullptr;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(image_);
        painter_->setRenderHint(QPainter::Antialiasing);
        painter_->setRenderHint(QPainter::TextAntialiasing);
    }
    return painter_.get();
}

void ImageSurface::flush() {
    if (painter_) painter_->end();
    painter_.reset();
}

void ImageSurface::changed() {
    if (onChange_) onChange_();
}

// ---- PrinterSurface ------------------------------------------------------------------------

PrinterSurface::PrinterSurface(QPrinter &printer) : printer_(&printer) {
    k_ = printer_->resolution() / 25.4;
}

PrinterSurface::PrinterSurface(const QString &pdfFile, bool landscape)
    : owned_(std::make_unique<QPrinter>(QPrinter::HighResolution)), printer_(owned_.get()) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(pdfFile);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_->setFullPage(true);
    printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    k_ = printer_->resolution() / 25.4;
}

PrinterSurface::~PrinterSurface() { endDoc(); }

QSizeF PrinterSurface::sizeMm() const {
    return printer_->pageLayout().fullRect(QPageLayout::Millimeter).size();
}

double PrinterSurface::dpiY() const { return printer_->resolution(); }

QPainter *PrinterSurface::painter() {
    if (ended_) return nullptr;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(printer_)) {
            painter_.reset();
            ended_ = true;
            return nullptr;
        }
        painter_->setRenderHint(QPainter::Antialiasing);
        // Millimetres are measured from the paper's corner, not from the printable area.
        const QRectF paper = printer_->pageLayout().fullRectPixels(printer_->resolution());
        const QRectF paint = printer_->pageLayout().paintRectPixels(printer_->resolution());
        painter_->setWorldTransform(QTransform::fromTranslate(paper.left() - paint.left(), paper.top() - paint.top()));
    }
    return painter_.get();
}

void PrinterSurface::newPage() {
    if (painter_ && !ended_) printer_->newPage();
}

void PrinterSurface::endDoc() {
    if (painter_) painter_->end();
    painter_.reset();
    ended_ = true;
}

// ---- RecordingSurface ----------------------------------------------------------------------

RecordingSurface::RecordingSurface(QSizeF sizeMm, double pixelsPerMm) : size_(sizeMm), k_(pixelsPerMm) {}

Stroke RecordingSurface::base(Primitive k) const {
    Stroke s;
    s.kind = k;
    s.color = fore_;
    s.width = drawWidth_;
    s.style = drawStyle_;
    s.fillColor = fillColor_;
    s.fillStyle = fillStyle_;
    s.font = font_;
    s.clip = clip_;
    return s;
}

void RecordingSurface::line(QPointF a, QPointF b) {
    Stroke s = base(Primitive::Line);
    s.points = {a, b};
    log_.push_back(s);
}

void RecordingSurface::polyline(const QVector<QPointF> &pts) {
    Stroke s = base(Primitive::Polyline);
    s.points = pts;
    log_.push_back(s);
}

void RecordingSurface::rectangle(const QRectF &r, bool filled) {
    Stroke s = base(Primitive::Rectangle);
    s.points = {r.topLeft(), r.bottomRight()};
    s.filled = filled;
    log_.push_back(s);
}

void RecordingSurface::fillRect(const QRectF &r, const QColor &c) {
    Stroke s = base(Primitive::FillRect);
    s.points = {r.topLeft(), r.bottomRight()};
    s.filled = true;
    s.fillColor = c;
    s.fillStyle = 0;
    log_.push_back(s);
}

void RecordingSurface::polygon(const QVector<QPointF> &pts, bool filled) {
    Stroke s = base(Primitive::Polygon);
    s.points = pts;
    s.filled = filled;
    log_.push_back(s);
}

void RecordingSurface::ellipse(QPointF c, double rx, double ry, bool filled) {
    Stroke s = base(Primitive::Ellipse);
    s.points = {c};
    s.rx = rx;
    s.ry = ry;
    s.filled = filled;
    log_.push_back(s);
}

void RecordingSurface::arc(QPointF c, double r, double a0, double a1) {
    Stroke s = base(Primitive::Arc);
    s.points = {c};
    s.rx = s.ry = r;
    s.startRad = a0;
    s.endRad = a1;
    log_.push_back(s);
}

void RecordingSurface::text(QPointF topLeft, const QString &t, double angleDeg, const FontSpec &font) {
    Stroke s = base(Primitive::Text);
    s.points = {topLeft};
    s.text = t;
    s.font = font;
    s.angle = angleDeg;
    s.filled = !fontTransparent_;   // an opaque text fills its cell first
    log_.push_back(s);
}

void RecordingSurface::pset(QPointF p) {
    Stroke s = base(Primitive::Point);
    s.points = {p};
    log_.push_back(s);
}

void RecordingSurface::clear() {
    log_.push_back(base(Primitive::Clear));
    curX_ = curY_ = 0;
}

std::vector<Stroke> RecordingSurface::strokes(Primitive kind) const {
    std::vector<Stroke> out;
    for (const Stroke &s : log_)
        if (s.kind == kind) out.push_back(s);
    return out;
}

QStringList RecordingSurface::texts() const {
    QStringList out;
    for (const Stroke &s : log_)
        if (s.kind == Primitive::Text) out << s.text;
    return out;
}

} // namespace vnt
