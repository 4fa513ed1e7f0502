// The table object: settings, blocks, rules, cells and the scrolled body.
#include "drawing/clsTABELLE.h"

#include "drawing/Markup.h"
#include "drawing/PictureBox.h"
#include "drawing/TabelleLayout.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/ui.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace vnt {

using namespace tabelle;

namespace {

// An entry of a per-column list; a list that is missing or too short fails at that entry.
const Variant &entry(const std::optional<VariantList> &list, int i)
{
    if (!list || i < 0 || i >= list->size())
        raise(err::SubscriptOutOfRange);
    return (*list)[i];
}

QString variantText(const Variant &v)
{
    return (v.isEmpty() || v.isNull()) ? QString() : v.toString();
}

// Narrower than this, the digits of a number at the tables' small sizes run together.
constexpr double kReadableNumberStretch = 0.85;

// A formatted number in any locale: digits with signs, group and decimal separators, an
// exponent or a percent sign.
bool isNumberText(const QString &s)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[-+\\x{2212}]?[\\d.,'\\x{2019}\\x{00A0} ]*\\d[\\d.,'\\x{2019}\\x{00A0} ]*([eE][-+]?\\d+)?\\s*%?\\s*$"));
    return number.match(s).hasMatch();
}

} // namespace

// What every block of one TABELLE call shares.
struct clsTABELLE::Frame {
    int n = 0;             // drawn columns
    int r = 0;             // rows of the cell block
    double h = 0;          // text height of "X"
    double p = 0;          // row pitch
    double x0 = 0, y0 = 0; // table's left edge, head block's top edge
    double B = 0;          // table width
    QList<double> widths;
};

Surface &clsTABELLE::target() const
{
    if (!target_)
        raise(91);
    return *target_;
}

void clsTABELLE::EOBJEKT(Surface *target, const QString &name)
{
    if (!target)
        raise(91);
    if (target->sizeMm().width() <= 0)
        raise(err::DivisionByZero);
    target_ = target;
    targetName_ = name.isEmpty() && target->isPrinter() ? QStringLiteral("Printer") : name;
    pixelpromm_ = target->pixelsPerMm();
    SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
}

void clsTABELLE::EOBJEKT(PictureBox *box)
{
    if (!box)
        raise(91);
    EOBJEKT(&box->surface(), box->objectName());
}

void clsTABELLE::EYBALKEN(QScrollBar *bar, const PictureBox &box)
{
    bar_ = std::make_shared<QtTableScrollBar>(bar, box.pixelsPerMm());
}

clsTABELLE::Pen clsTABELLE::LINIENEINSTELLUNGEN(int LINIENART, double LINIENBREITE, qint64 FARBE)
{
    Pen pen{LINIENART, LINIENBREITE, FARBE};
    Guard g(QStringLiteral("VB-Fehler "), QStringLiteral("Linieneinstellungen"));
    if (!g.step([&] { pen.width = LINIENBREITE == 0 ? 1 : LINIENBREITE * pixelpromm_; }))
        return pen;
    // Colour 0 is black; negative numbers pass on unchanged (the target draws them black).
    g.step([&] {
        Surface &t = target();
        t.setDrawStyle(pen.style);
        t.setDrawWidth(pen.width);
        t.setDrawMode(13);
        t.setForeColor(vbColor(pen.color));
    });
    return pen;
}

void clsTABELLE::SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int SCHRIFTGROESSE, int FETT, int UNTERSTRICHEN,
                                      int KURSIV, qint64 FARBE)
{
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Schrifteinstellungen"));
    g.step([&] { applyFontSetting(target(), fonts_, SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN, KURSIV, FARBE); });
}

void clsTABELLE::TABELLE(const CellArray &X, int POSITION)
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Tabelle"));

    if (!elsb_) {
        QString name;
        if (!g.step([&] {
                target();
                name = targetName_;
            }) || g.failed())
            return;
        ui::MsgBox(QStringLiteral("Angabe der Spaltenbreiten in Objekt ") + name + QStringLiteral(" fehlt !"),
                   ui::vbOKOnly + ui::vbExclamation, QStringLiteral("Tabelle"));
        return;
    }

    // Without the columns, rows and text height nothing of the block can be placed; going on
    // would only repeat the same error at every cell.
    Frame f;
    if (!g.step([&] {
            Surface &t = target();
            if (!X.dimensioned())
                raise(err::SubscriptOutOfRange);
            f.n = std::min(int(elsb_->size()), X.columns());
            for (int i = 0; i < f.n; ++i)
                f.widths.append((*elsb_)[i].toDouble());
            f.B = std::accumulate(f.widths.begin(), f.widths.end(), 0.0);
            tabellenbreite_ = f.B;
            f.r = X.rows();
            f.h = t.textHeight(QStringLiteral("X"));
            f.p = f.h * eza_;
            f.x0 = exdl_ + erl_;
            f.y0 = eydo_ + ero_;
        }) || g.failed())
        return;

    if (POSITION == 1)
        drawBody(X, f, g);
    else if (POSITION == 2)
        drawFoot(X, f, g);
    else
        drawHead(X, f, g);
}

void clsTABELLE::drawRules(const Frame &f, double top, double length, Guard &g)
{
    double x = f.x0;
    for (int i = 0; i + 1 < f.n; ++i) {
        x += f.widths[i];
        if (!g.step([&] {
                const double grid = entry(elgit_, i).toDouble();
                if (grid >= 1)
                    target().line(QPointF(x, top), QPointF(x, top + length));
                if (grid == 2)
                    target().line(QPointF(x + 0.5, top), QPointF(x + 0.5, top + length));
            }))
            return;
    }
}

void clsTABELLE::drawHead(const CellArray &X, const Frame &f, Guard &g)
{
    const double HK = blockHeight(f.h, erz_, f.p, f.r - 1);
    kopfhoehe_ = HK;

    if (!g.step([&] {
            target().rectangle(QRectF(f.x0, f.y0, f.B, HK), false);
            target().rectangle(QRectF(f.x0 - 0.5, f.y0 - 0.5, f.B + 1, HK + 1), false);
        }))
        return;

    if (f.n > 1) {
        double x = f.x0;
        for (int i = 0; i + 1 < f.n; ++i) {
            x += f.widths[i];
            if (!g.step([&] {
                    const VRule rule = headRule(f.y0, HK, f.h, erz_, entry(elgitleer_, i).toInt(), f.r);
                    const double grid = entry(elgit_, i).toDouble();
                    if (grid >= 1)
                        target().line(QPointF(x, rule.start), QPointF(x, rule.start + rule.length));
                    if (grid == 2)
                        target().line(QPointF(x + 0.5, rule.start), QPointF(x + 0.5, rule.start + rule.length));
                }))
                return;
        }
    }

    for (int j = 0; j < f.r; ++j) {
        const double Y = f.y0 + erz_ + f.h + j * f.p;
        if (!g.step([&] {
                const auto leaveOut = [&](int i) { return int(entry(elgitleer_, i).toInt()); };
                for (const HeadCell &c : headCells(f.widths, leaveOut, j))
                    TEXTAUSGABE(f.x0 + c.left + c.width / 2, Y - 1.5, X.at(c.column, j), 1, 1);
            }))
            return;
    }
}

void clsTABELLE::drawBody(const CellArray &X, const Frame &f, Guard &g)
{
    const double HK = kopfhoehe_;
    if (!g.step([&] {
            BodyGeometry geo;
            geo.h = f.h;
            geo.pitch = f.p;
            geo.erz = erz_;
            geo.ero = ero_;
            geo.eru = eru_;
            geo.headHeight = HK;
            geo.rows = f.r;
            RowSelection sel{eez_, elz_, rumpfhoehe_};
            if (!bar_) {
                sel = unscrolledRows(geo, eez_, elz_);
            } else if (target().isPrinter()) {
                sel = printedRows(geo, bar_->Visible(), bar_->Height(), bar_->Value(), bar_->Min(), bar_->Max());
            } else {
                const double H = target().sizeMm().height();
                if (bar_->Value() == 0 && bodyFits(geo, H)) {
                    bar_->setVisible(false);
                    sel = unscrolledRows(geo, 0, f.r - 1);
                } else {
                    if (bar_->Value() == 0) {
                        const BarLayout b = barLayout(geo, erl_, f.B, H);
                        bar_->setTop(b.top);
                        bar_->setLeft(b.left);
                        bar_->setWidth(b.width);
                        bar_->setHeight(b.height);
                        bar_->setMin(b.min);
                        bar_->setMax(b.max);
                        bar_->setLargeChange(b.largeChange);
                        bar_->setSmallChange(b.smallChange);
                        bar_->setVisible(true);
                    }
                    sel = screenRows(geo, H, bar_->Value(), bar_->Min(), bar_->Max());
                }
            }
            eez_ = int16_t(sel.EEZ);
            elz_ = int16_t(sel.ELZ);
            rumpfhoehe_ = sel.height;
        }))
        return;

    const double HR = rumpfhoehe_;
    const double top = f.y0 + HK + 0.5;
    if (!g.step([&] {
            target().rectangle(QRectF(f.x0, top, f.B, HR), false);
            target().rectangle(QRectF(f.x0 - 0.5, f.y0 + HK, f.B + 1, HR + 1), false);
        }))
        return;
    if (f.n > 1) {
        drawRules(f, top, HR, g);
        if (g.left())
            return;
    }

    for (int j = eez_, k = 0; j <= elz_; ++j, ++k) {
        const double Y = f.y0 + HK + erz_ + f.h + k * f.p;
        double XL = f.x0;
        for (int i = 0; i < f.n; ++i) {
            if (!g.step([&] { drawCell(f, X.at(i, j), i, XL, Y, true); }))
                return;
            XL += f.widths[i];
        }
    }
}

void clsTABELLE::drawFoot(const CellArray &X, const Frame &f, Guard &g)
{
    const double HF = blockHeight(f.h, erz_, f.p, f.r - 1);
    fusshoehe_ = HF;
    const double top = f.y0 + kopfhoehe_ + rumpfhoehe_ + 1;
    if (!g.step([&] {
            target().rectangle(QRectF(f.x0, top, f.B, HF), false);
            target().rectangle(QRectF(f.x0 - 0.5, top - 0.5, f.B + 1, HF + 1), false);
        }))
        return;
    if (f.n > 1) {
        drawRules(f, top, HF, g);
        if (g.left())
            return;
    }
    for (int j = 0; j < f.r; ++j) {
        const double Y = f.y0 + kopfhoehe_ + rumpfhoehe_ + erz_ + f.h + j * f.p;
        double XL = f.x0;
        for (int i = 0; i < f.n; ++i) {
            if (!g.step([&] { drawCell(f, X.at(i, j), i, XL, Y, false); }))
                return;
            XL += f.widths[i];
        }
    }
}

void clsTABELLE::drawCell(const Frame &f, const Variant &value, int column, double left, double lineBottom,
                          bool symbols)
{
    const double w = f.widths[column];
    const QString pattern = variantText(entry(elformat_, column));
    if (symbols && pattern == QLatin1String("SYMBOL")) {
        ZELLENSYMBOL(left + w / 2, lineBottom - f.h / 2, value);
        return;
    }
    const QString S = formatCell(value, pattern);
    const Variant text(S);
    const double Y = lineBottom - 1;
    const int alignment = entry(ela_, column).toInt();
    Surface &t = target();
    const FontSpec font = t.font();
    if (alignment >= 0 && alignment <= 2) {
        markup::Options mo;
        mo.symbolCode = false;
        const QString shown = markup::measuringCopy(S, mo);
        const double width = t.textWidth(shown);
        if (runOnTexts_ && alignment == 0 && !isNumberText(S)) {
            // A text runs on over the next column only when that one holds texts like its own;
            // a column of another kind (a mark, a number) stays clear, so a text too long for
            // its room is drawn narrower to end before it.
            double room = w;
            if (column + 1 < f.n && entry(ela_, column + 1).toInt() == 0)
                room += f.widths[column + 1];
            room -= 1.5 + 0.4;
            double end = left + 1.5 + width;
            if (width > room && room > 0) {
                FontSpec narrow = font;
                narrow.stretch = room / width;
                t.setFont(narrow);
                end = left + 1.5 + room;
            }
            // A text that runs on over the next column would be struck through by the rule it
            // crosses: the ground under the part beyond its own column is cleared first.
            if (end > left + w) {
                const double half = t.textHeight(shown) / 2 - 0.1;
                t.fillRect(QRectF(QPointF(left + w - 0.25, Y - half), QPointF(end + 0.3, Y + half)), t.backColor());
            }
        } else {
            // A text wider than its room is drawn narrower so that it stays within its cell and
            // keeps its place; a number may use nearly the whole column and is never drawn so
            // narrow that its digits no longer read.
            const bool number = isNumberText(S);
            const double room = number ? (alignment == 1 ? w - 0.6 : w - 1.8) : w - 3;
            if (room > 0 && width > room) {
                FontSpec narrow = font;
                narrow.stretch = std::max(number ? kReadableNumberStretch : 0.6, room / width);
                t.setFont(narrow);
            }
        }
    }
    switch (alignment) {
    case 0:
        TEXTAUSGABE(left + 1.5, Y, text, 0, 1);
        break;
    case 1:
        TEXTAUSGABE(left + w / 2, Y, text, 1, 1);
        break;
    case 2:
        TEXTAUSGABE(left + w - 1.5, Y, text, 2, 1);
        break;
    case 3: {
        const int ps = decimalSignPosition(S);
        const double ws = ps > 0 ? target().textWidth(S.left(ps)) : 0;
        const double F = decimalShift(pattern, w);
        TEXTAUSGABE(left + w / 2 - ws - F, Y, text, 0, 1);
        break;
    }
    default:
        break;
    }
    t.setFont(font);
}

void clsTABELLE::ZELLENSYMBOL(double X, double Y, const Variant &WERT)
{
    Surface &t = target();
    if (WERT.isNull())
        return;
    const double v = WERT.toDouble();
    const QColor saved = t.foreColor();
    const auto stroke = [&](double x, double y, double dx, double dy) { t.line(QPointF(x, y), QPointF(x + dx, y + dy)); };
    const auto cross = [&] {
        stroke(X, Y, -0.75, -0.75);
        stroke(X, Y, -0.75, 0.75);
        stroke(X, Y, 0.75, -0.75);
        stroke(X, Y, 0.75, 0.75);
    };
    const QRectF square(X - 0.5, Y - 0.5, 1, 1);
    if (v == 0) {
        t.setForeColor(QColor(0, 0, 255));
        cross();
    } else if (v == 1) {
        t.setForeColor(QColor(0, 255, 0));
        t.fillRect(square, QColor(0, 255, 0));
    } else if (v == 2) {
        t.setForeColor(QColor(0, 255, 255));
        t.rectangle(square, false);
    } else if (v == 3) {
        const QColor c(255, 0, 0);
        t.setForeColor(c);
        t.setFillColor(c);
        t.setFillStyle(0);
        t.ellipse(QPointF(X, Y), 0.7, 0.7, true);
        t.setFillStyle(1);
        t.setFillColor(Qt::black);
    } else if (v == 4) {
        t.setForeColor(QColor(255, 0, 255));
        t.ellipse(QPointF(X, Y), 0.7, 0.7, false);
    } else if (v == 5) {
        t.setForeColor(QColor(0, 180, 0));
        const QPointF a(X - 0.7, Y + 0.33), b = a + QPointF(1.4, 0), c = b + QPointF(-0.7, -1);
        t.line(a, b);
        t.line(b, c);
        t.line(c, c + QPointF(-0.7, 1));
    } else if (v == 6) {
        t.setForeColor(QColor(0, 0, 180));
        cross();
        stroke(X - 0.75, Y, 1.5, 0);
        stroke(X, Y - 0.75, 0, 1.5);
    } else if (v == 7) {
        t.setForeColor(QColor(0, 0, 0));
        t.pset(QPointF(X, Y));
    }
    t.setForeColor(saved);
}

void clsTABELLE::TITEL(const Variant &TXT)
{
    TEXTAUSGABE(exdl_ + erl_, eydo_ + ero_ - erz_ - 1.5, TXT, 0, 2);
}

void clsTABELLE::FUSSNOTE(const Variant &TXT)
{
    TEXTAUSGABE(exdl_ + erl_ + 1.5, eydo_ + ero_ + kopfhoehe_ + rumpfhoehe_ + fusshoehe_ + erz_ + 1.5, TXT, 0, 0);
}

void clsTABELLE::TEXTAUSGABE(double X, double Y, const Variant &TEXT, int ARX, int ARY)
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Sub TEXT, Klassenmodul clsGRAFIK"));
    QString s;
    Surface *t = nullptr;
    if (!g.step([&] {
            t = &target();
            s = variantText(TEXT);
        }))
        return;
    if (!t)
        return;
    MarkupPainterOptions opt;
    opt.greekShift = true;
    opt.plainPartBetweenGroups = true;
    paintMarkup(*t, fonts_, X, Y, s, ARX, ARY, opt, g);
}

} // namespace vnt
