// The typed grid's display: fonts, painted header lines, numbering and elapsed time.
#include "grid/clsFLX.h"
#include "grid/GridText.h"
#include "platform/Guard.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"
#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <cmath>
#include <limits>

namespace vnt {

namespace {
const QString kPrefix = QStringLiteral("VB-Error: ");
constexpr double kTwips = GridControl::kTwipsPerPixel;

int16_t bump(int16_t v)
{
    if (v == std::numeric_limits<int16_t>::max())
        raise(err::Overflow);
    return int16_t(v + 1);
}

QColor vbColor(int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
} // namespace

void clsFLX::SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int16_t SCHRIFTGROESSE, int16_t FETT, int16_t UNTERSTRICHEN,
                                  int16_t KURSIV, int32_t FARBE)
{
    Guard g(QStringLiteral("VB-Error:"), QStringLiteral("MSFlexGrid / Schrifteinstellungen"));
    QFont f;
    g.step([&] {
        requireGrid();
        f = flx_->font();
        f.setFamily(gridtext::mapFontName(SCHRIFTART.isEmpty() ? QStringLiteral("Arial") : SCHRIFTART));
        flx_->setFont(f);
    });
    g.step([&] {
        requireGrid();
        f.setPointSizeF(SCHRIFTGROESSE >= 1 ? SCHRIFTGROESSE : 11);
        flx_->setFont(f);
    });
    g.step([&] {
        requireGrid();
        f.setBold(FETT != 0);
        f.setItalic(KURSIV != 0);
        f.setUnderline(UNTERSTRICHEN != 0);
        flx_->setFont(f);
        // data rows follow the font, as the platform grid's rows did
        const int px = QFontMetrics(f).height() + 6;
        flx_->setRowHeight(1, int(px * kTwips));
    });
    g.step([&] {
        requireGrid();
        flx_->setForeColor(FARBE > 0 ? vbColor(FARBE) : QColor(Qt::black));
    });
    g.step([&] {
        requireGrid();
        const int h = flx_->Rows() > flx_->FixedRows() ? flx_->RowHeight(std::max(1, flx_->Row())) : flx_->DefaultRowHeight();
        if (lst2_.isEmpty())
            flx_->setRowHeight(0, h);
        else if (lst2_.isArray())
            flx_->setRowHeight(0, 2 * h);
    });
    auto dressEditor = [&](QWidget *w) {
        w->setFont(flx_->font());
        QPalette p = w->palette();
        p.setColor(QPalette::Text, flx_->ForeColor());
        w->setPalette(p);
    };
    g.step([&] {
        requireGrid();
        if (txt_)
            dressEditor(txt_);
    });
    g.step([&] {
        requireGrid();
        if (cbo_)
            dressEditor(cbo_);
    });
    // The header texts are centred by their width in the picture's own font, so the picture
    // takes the grid font as well; otherwise every marked-up header sits off its column.
    g.step([&] {
        requireGrid();
        if (pic_)
            pic_->setFont(flx_->font());
    });
    g.step([&] {
        requireGrid();
        const QFont grid = flx_->font();
        const double small = std::nearbyint(grid.pointSizeF() / 1.175);
        fontPlain_ = grid;
        fontGreek_ = grid;   // the Greek letters come from the Unicode map, in a font that has them
        fontSmall_ = grid;
        fontSmall_.setPointSizeF(small);
        fontSmallGreek_ = fontSmall_;
    });
}

QFont clsFLX::headerFont(const QString &code) const
{
    if (code == QLatin1String("g"))
        return fontGreek_;
    if (code == QLatin1String("h") || code == QLatin1String("t"))
        return fontSmall_;
    if (code == QLatin1String("gh") || code == QLatin1String("gt"))
        return fontSmallGreek_;
    return fontPlain_;
}

void clsFLX::BESCHRIFTEN()
{
    if (!pic_ || !lst1_.isArray())
        return;
    requireGrid();
    const int cols = flx_->Cols();
    const int gridW = flx_->gridWidth();
    int width = 0;
    for (int i = 0; i < cols; ++i) {
        if (!flx_->ColIsVisible(i))
            continue;
        width += flx_->ColWidth(i);
        if (width > gridW) {
            const bool allRows = flx_->RowIsVisible(flx_->Rows() - 1) && flx_->RowIsVisible(flx_->FixedRows());
            width = int(std::lround(gridW - (allRows ? 56.7 : 311.85)));
            break;
        }
    }
    const int headH = flx_->RowHeight(0);
    const QSize px(std::max(1, int(std::lround(width / kTwips))), std::max(1, int(std::lround(headH / kTwips))));
    pic_->resize(px);
    // At the screen's pixel ratio: an image of logical pixels would be scaled up, and the
    // header texts blurred, on a scaled screen.
    const qreal ratio = pic_->devicePixelRatioF();
    headerImage_ = QImage(px * ratio, QImage::Format_ARGB32_Premultiplied);
    headerImage_.setDevicePixelRatio(ratio);
    headerImage_.fill(pic_->palette().color(QPalette::Window));

    double x = 56.7;
    for (int i = 0; i < cols; ++i) {
        if (!flx_->ColIsVisible(i))
            continue;
        const int w = flx_->ColWidth(i);
        KOPFBESCHRIFTUNG(float(x + w / 2.0), 0.f, lst1_.at(i), 1, 0);
        if (lst2_.isArray())
            KOPFBESCHRIFTUNG(float(x + w / 2.0), float(headH / 2.0), lst2_.at(i), 1, 0);
        x += w;
        if (x > gridW)
            break;
    }
    pic_->update();
    setELA(la_);
}

namespace {

// One run of a header text with the code that styles it ("" plain).
struct Piece {
    QString text;
    QString code;
};

// The copy of a header text that alignment is measured on: every complete group removed.
QString withoutGroups(const QString &t)
{
    QString s = t;
    for (;;) {
        const int open = s.indexOf(QLatin1Char('{'));
        if (open < 0)
            break;
        const int close = s.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        s.remove(open, close - open + 1);
    }
    return s;
}

// The header's four fonts: plain, Greek, and their small forms for raised and lowered pieces.
struct HeaderFonts {
    const QFont &plain, &greek, &small, &smallGreek;
};

// Paints one piece of a header text at x0 in the font its code asks for and moves x0 behind it
// when more follows; an unknown code paints on in the previous piece's font, Greek included.
void paintHeaderPiece(QPainter &painter, const Piece &piece, const HeaderFonts &fonts, QFont &current, bool &greek,
                      double &x0, double y0, bool more)
{
    const QString &code = piece.code;
    QString shown = piece.text;
    if (code.isEmpty() || code == QLatin1String("c")) {
        current = fonts.plain;
        greek = false;
    } else if (code == QLatin1String("g")) {
        current = fonts.greek;
        greek = true;
    } else if (code == QLatin1String("h") || code == QLatin1String("t")) {
        current = fonts.small;
        greek = false;
    } else if (code == QLatin1String("gh") || code == QLatin1String("gt")) {
        current = fonts.smallGreek;
        greek = true;
    }
    if (greek)
        shown = gridtext::symbolToUnicode(shown);
    const QFontMetricsF fm(current, painter.device());
    double d = 0;
    if (code == QLatin1String("h") || code == QLatin1String("gh"))
        d = 0.25 * fm.height() * kTwips;
    else if (code == QLatin1String("t") || code == QLatin1String("gt"))
        d = -0.35 * fm.height() * kTwips;
    painter.setFont(current);
    // whole pixels, so that a piece looks the same wherever it lands
    const double left = std::nearbyint(x0 / kTwips), top = std::nearbyint((y0 - d) / kTwips);
    painter.drawText(QPointF(left, top + std::nearbyint(fm.ascent())), shown);
    const double pieceW = fm.horizontalAdvance(shown) * kTwips;
    if (more)
        x0 += pieceW;
}

} // namespace

void clsFLX::KOPFBESCHRIFTUNG(float x, float y, const FlexValue &textValue, int16_t hAlign, int16_t vAlign)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / Text"));
    if (headerImage_.isNull() || !pic_)
        return;
    const QFont saved = pic_->font();
    QString text;
    g.step([&] { text = textValue.isMissing() ? QString() : textValue.text(); });
    const int len = int(text.size());

    double x0 = x, y0 = y;
    g.step([&] {
        const QFontMetricsF fm(saved, &headerImage_);
        const QString plain = withoutGroups(text);
        const double w = fm.horizontalAdvance(plain) * kTwips, h = fm.height() * kTwips;
        x0 = hAlign == 1 ? x - w / 2 : hAlign == 2 ? x - w : x;
        y0 = vAlign == 1 ? y - h / 2 : vAlign == 2 ? y - h : y;
    });
    if (g.left())
        return;

    QPainter painter(&headerImage_);
    painter.setPen(pic_->palette().color(QPalette::WindowText));
    int k = 0;                 // characters used so far
    bool plainBeforeGroup = false;
    QFont current = saved;
    bool greek = false;        // an unknown code paints on in the previous piece's font, Greek included
    for (;;) {
        Piece piece;
        bool paint = true;
        const int open = text.indexOf(QLatin1Char('{'), k);
        if (open < 0) {
            piece.text = text.mid(k);
            k = len;
            plainBeforeGroup = false;
        } else if (open != 0 && !plainBeforeGroup) {
            piece.text = text.mid(k, open - k);
            k = open;
            plainBeforeGroup = true;
        } else {
            plainBeforeGroup = false;
            const int comma = text.indexOf(QLatin1Char(','), open + 1);
            const int close = text.indexOf(QLatin1Char('}'), open + 1);
            if (comma < 0) {
                // a group without its comma cannot be read on: the text ends here
                g.report(5, QStringLiteral("Ungültige Gruppe in der Überschrift: ") + text.mid(open));
                break;
            }
            piece.code = text.mid(open + 1, comma - open - 1);
            bool groupOk = g.step([&] {
                if (close < 0 || close < comma)
                    raise(5, QStringLiteral("Invalid procedure call or argument"));
                bool ok = false;
                const int n = text.mid(comma + 1, close - comma - 1).trimmed().toInt(&ok);
                if (!ok)
                    raise(err::TypeMismatch);
                if (piece.code == QLatin1String("c")) {
                    piece.text = QString(gridtext::ansiChar(n));
                    k = close + 1;
                } else {
                    piece.text = text.mid(close + 1, std::max(0, n));
                    k = std::min(len, close + 1 + std::max(0, n));
                }
            });
            if (g.left())
                break;
            if (!groupOk) {
                // OK on a broken group: go on behind it
                paint = false;
                k = close < 0 ? len : close + 1;
            }
        }
        if (paint)
            paintHeaderPiece(painter, piece, {fontPlain_, fontGreek_, fontSmall_, fontSmallGreek_}, current, greek, x0, y0,
                             k < len);
        if (k >= len)
            break;
    }
    pic_->setFont(saved);
}

void clsFLX::NUMMERIEREN()
{
    requireGrid();
    const int c1 = typeCol_[1], c2 = typeCol_[2], c3 = typeCol_[3];
    if (c1 < 0)
        return;
    int16_t z1 = indexStart_[0], z2 = indexStart_[1], z3 = indexStart_[2];
    for (int r = flx_->FixedRows(); r < flx_->Rows(); ++r) {
        if (c2 < 0) {
            flx_->setTextMatrix(r, c1, QString::number(z1));
            z1 = bump(z1);
        } else if (c3 < 0) {
            if (z2 > indexEnd_[0]) {
                z2 = indexStart_[1];
                z1 = bump(z1);
            }
            flx_->setTextMatrix(r, c1, QString::number(z1));
            flx_->setTextMatrix(r, c2, QString::number(z2));
            z2 = bump(z2);
        } else {
            if (z3 > indexEnd_[1]) {
                z3 = indexStart_[2];
                z2 = bump(z2);
                if (z2 > indexEnd_[0]) {
                    z2 = indexStart_[1];
                    z1 = bump(z1);
                }
            }
            flx_->setTextMatrix(r, c1, QString::number(z1));
            flx_->setTextMatrix(r, c2, QString::number(z2));
            flx_->setTextMatrix(r, c3, QString::number(z3));
            z3 = bump(z3);
        }
    }
}

void clsFLX::AKTUALISIEREN()
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / Aktulisieren"));
    g.step([&] { NUMMERIEREN(); });
    int cols = 0;
    if (!g.step([&] { requireGrid(); cols = flx_->Cols(); }))
        return;
    for (int c = 0; c < cols; ++c) {
        if (!g.step([&] {
                const FlexValue &pattern = lformat_.at(c);
                if (pattern.isMissing())
                    return;
                for (int r = flx_->FixedRows(); r < flx_->Rows(); ++r) {
                    const QString t = flx_->TextMatrix(r, c);
                    if (!t.isEmpty())
                        flx_->setTextMatrix(r, c, gridtext::formatCell(t, pattern.text()));
                }
            }))
            return;
    }
    int dateCol = -1, timeCol = -1, elapsedCol = -1;
    if (!g.step([&] {
            for (int c = 0; c < cols; ++c) {
                const int t = columnType(c);
                if (t == 4)
                    dateCol = c;
                else if (t == 5)
                    timeCol = c;
                else if (t == 6)
                    elapsedCol = c;
            }
        }))
        return;
    // Without a date or a time there is nothing to measure from.
    if (elapsedCol < 0 || (dateCol < 0 && timeCol < 0))
        return;
    const int first = flx_->FixedRows();
    g.step([&] { flx_->setTextMatrix(first, elapsedCol, QStringLiteral("0")); });
    for (int r = first + 1; r < flx_->Rows(); ++r) {
        if (!g.step([&] {
                int ref = r - 1;
                if (det_ == 0) {
                    ref = 1;
                } else if (det_ > 0) {
                    const QString mine = flx_->TextMatrix(r, det_);
                    ref = r;
                    while (ref > 0 && flx_->TextMatrix(ref, det_) == mine)
                        --ref;
                    if (ref <= 0)
                        ref = 1;
                }
                auto cell = [&](int row, int col) { return col < 0 ? QString() : flx_->TextMatrix(row, col); };
                float t = 0;
                auto convert = [&](float seconds) {
                    if (dete_ == QLatin1String("hh"))
                        return seconds / 3600.f;
                    if (dete_ == QLatin1String("mm"))
                        return seconds / 60.f;
                    return seconds;
                };
                if (dateCol < 0)
                    t = convert(ZEITDIFFERENZ(QString(), cell(ref, timeCol), QString(), cell(r, timeCol)));
                else if (timeCol < 0)
                    t = ZEITDIFFERENZ(cell(ref, dateCol), QString(), cell(r, dateCol), QString());
                else
                    t = convert(ZEITDIFFERENZ(cell(ref, dateCol), cell(ref, timeCol), cell(r, dateCol), cell(r, timeCol)));
                const bool hasData = !cell(r, dateCol).isEmpty() || !cell(r, timeCol).isEmpty();
                if (!hasData)
                    return;
                // An empty pattern writes the plain single form too: widened to a double, a third
                // of an hour would show fifteen digits of noise.
                const FlexValue &pattern = lformat_.at(elapsedCol);
                const QString p = pattern.isMissing() ? QString() : pattern.text();
                flx_->setTextMatrix(r, elapsedCol, p.trimmed().isEmpty() ? gridtext::plainSingle(t) : Format(double(t), p));
            }))
            return;
    }
}

float clsFLX::ZEITDIFFERENZ(const QString &date1, const QString &time1, const QString &date2, const QString &time2) const
{
    const auto d1 = gridtext::readDateTime(date1), d2 = gridtext::readDateTime(date2);
    const auto t1 = gridtext::readDateTime(time1), t2 = gridtext::readDateTime(time2);
    auto seconds = [](double from, double to) { return std::round((to - from) * 86400.0); };
    if (d1 && d2) {
        const double days = std::floor(*d2) - std::floor(*d1);
        if (t1 && t2) {
            const double endOfDay = *gridtext::readDateTime(QStringLiteral("23:59:59"));
            return float((days - 1) * 86400.0 + seconds(*t1, endOfDay) + 1 + seconds(0.0, *t2));
        }
        return float(days);
    }
    if (t1 && t2)
        return float(seconds(*t1, *t2));
    return 0.f;
}

} // namespace vnt
