// The drawing object's frame and axes: the figure read from its tables, the axes with their
// ticks, grid and numbers, the scroll bars, the fixed content, and the axis numbers drawn
// again over lines that cross them.
#include "drawing/clsGRAFIK.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK_Shared.h"
#include "platform/Guard.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"

#include <QScrollBar>
#include <cmath>
#include <optional>

namespace vnt {

using namespace grafik;
using namespace grafik_shared;

namespace {

// A palette number from a figure table; anything outside 0..15 is a data fault, not black.
qint64 palette(int fb) {
    if (fb < 0 || fb > 15) raise(5);
    return paletteRgb(fb);
}

// The frame-row values one drawing writes back are committed together, whichever way the
// drawing ends: one sync for the figure instead of one per value (inside a drawing pass, the
// pass's commit). A commit that fails loses only values the next drawing works out again.
class FrameWrites {
public:
    explicit FrameWrites(const db::ConnectionPtr &cnn)
    {
        try {
            if (cnn && cnn->isOpen())
                unit_.emplace(*cnn, db::TransactionScope::Unchanged::Discard);
        } catch (const VbError &) {
            // Without a unit each value is committed on its own, as the accessor writes it.
        }
    }
    ~FrameWrites()
    {
        try {
            if (unit_ && unit_->active())
                unit_->commit();
        } catch (const VbError &) {
        }
    }
    FrameWrites(const FrameWrites &) = delete;
    FrameWrites &operator=(const FrameWrites &) = delete;

private:
    std::optional<db::TransactionScope> unit_;
};

} // namespace

// ---- scales, axes and fixed content ------------------------------------------------------

void clsGRAFIK::SKALEN(int16_t NR, const std::vector<double> *X, const std::vector<double> *Y) {
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Skalen"));
    numbers_.clear();
    const std::vector<double> xd = X ? *X : std::vector<double>{0};
    const std::vector<double> yd = Y ? *Y : std::vector<double>{0};
    const Variant obj(eidObjekt_);
    const QString kObj = QStringLiteral("IDOBJEKT");
    std::unique_ptr<clsDATEN> g0;
    std::optional<FrameWrites> writes;
    bool gelesen = true;
    if (!g.step([&] {
            g0 = std::make_unique<clsDATEN>(ctx_);
            g0->setETABELLE(QStringLiteral("G0"));
            g0->setESPIDW(eid_);
            g0->setKeepRefusedValues(true);
            writes.emplace(g0->connection());
            int16_t i = 0;
            float f = 0;
            auto leseI = [&](const char *col, int16_t &out) {
                if (gelesen && (gelesen = g0->DTVI(QLatin1String(col), i, kObj, obj))) out = i;
            };
            auto leseS = [&](const char *col, double &out) {
                if (gelesen && (gelesen = g0->DTVS(QLatin1String(col), f, kObj, obj))) out = f;
            };
            leseI("OX", ox_);
            leseI("OY", oy_);
            leseS("RL", rl_);
            leseS("RR", rr_);
            leseS("RO", ro_);
            leseS("RU", ru_);
            leseS("XMIN", xmin_);
            leseS("XMAX", xmax_);
            leseS("YMIN", ymin_);
            leseS("YMAX", ymax_);
        }))
        return;
    if (!gelesen) return;

    // An axis with scale lists gets its scale from the data; its limits follow the scale.
    // False when the procedure was left.
    auto skala = [&](const Listen &l, int16_t bomin, int16_t bomax, int16_t skt, const std::vector<double> &daten,
                     grafik::Achse &a, double &min, double &max, bool &ticks) {
        return l.min.empty() || g.step([&] {
                   a = grafik::Achse{};
                   a.MIN = min;
                   a.MAX = max;
                   SKALENAUTOMATIK(NR, bomin, bomax, skt, daten, a, l.min, l.diff, l.it, l.git, l.zl);
                   min = a.MIN;
                   max = a.MAX;
                   ticks = true;
               });
    };
    ticksX_ = ticksY_ = false;
    if (!skala(lx_, eboxmin_, eboxmax_, esktx_, xd, ax_, xmin_, xmax_, ticksX_)
        || !skala(ly_, eboymin_, eboymax_, eskty_, yd, ay_, ymin_, ymax_, ticksY_))
        return;

    // Limits that followed the data are kept in the frame row for the next drawing.
    const std::pair<int16_t, std::pair<const char *, double *>> limits[] = {
        {eboxmin_, {"XMIN", &xmin_}}, {eboxmax_, {"XMAX", &xmax_}},
        {eboymin_, {"YMIN", &ymin_}}, {eboymax_, {"YMAX", &ymax_}}};
    for (const auto &[flag, col] : limits)
        if (flag == -1 && !g.step([&] { g0->DVTS(QLatin1String(col.first), float(*col.second), kObj, obj); }))
            return;
    if (NR == 1 || NR == 2) return;

    if (esktx_ == 1) xmin_ = LOG10(xmin_), xmax_ = LOG10(xmax_);
    if (eskty_ == 1) ymin_ = LOG10(ymin_), ymax_ = LOG10(ymax_);

    gelesen = true;
    if (!g.step([&] {
            float f = 0;
            auto leseS = [&](const char *col, double &out) {
                if (gelesen && (gelesen = g0->DTVS(QLatin1String(col), f, kObj, obj))) out = f;
            };
            leseS("MYMX", mymx_);
            leseS("MX", mx_);
            leseS("MY", my_);
        }))
        return;
    if (!gelesen) return;
    if ((mx_ == 0 || my_ == 0) && !g.step([&] {
            MASSSTAB(xmin_, xmax_, ymin_, ymax_, elx_, ely_, rl_, rr_, ru_, ro_, mymx_, mx_, my_);
            g0->DVTS(QStringLiteral("MX"), float(mx_), kObj, obj);
            g0->DVTS(QStringLiteral("MY"), float(my_), kObj, obj);
        }))
        return;

    dx_ = dy_ = 0;
    if (xBalken_ && !g.step([&] { rollbalken(xBalken_, true); })) return;
    if (yBalken_ && !g.step([&] { rollbalken(yBalken_, false); })) return;

    if (!g.step([&] { requireTarget(); drawAxes(); })) return;
    g.step([&] { drawFixedContent(); });
}

void clsGRAFIK::rollbalken(QScrollBar *bar, bool horizontal) {
    requireTarget();
    const bool bild = !target_->isPrinter();
    const QSizeF size = target_->sizeMm();
    const double k = target_->pixelsPerMm();
    const double W = bild ? (horizontal ? size.width() : size.height()) : (horizontal ? elx_ : ely_);
    const double m = horizontal ? mx_ : my_;
    if (m == 0) raise(err::DivisionByZero);
    const double need = horizontal ? (xmax_ - xmin_) / m : (ymax_ - ymin_) / m;
    const double margins = horizontal ? rl_ + rr_ : ro_ + ru_;
    double &shift = horizontal ? dx_ : dy_;
    if (bild && bar->value() == 0) {
        shift = 0;
        if (W > need) {
            bar->setVisible(false);
            return;
        }
        const auto px = [k](double mm) { return int(std::lround(mm * k)); };
        if (horizontal) bar->setGeometry(0, px(size.height() - 5), px(size.width() - 5), px(5));
        else bar->setGeometry(px(size.width() - 5), 0, px(5), px(size.height() - 5));
        bar->setMinimum(0);
        bar->setMaximum(10000);
        bar->setPageStep(2000);
        bar->setSingleStep(300);
        bar->setVisible(true);
        return;
    }
    const int range = bar->maximum() - bar->minimum();
    if (range == 0) raise(err::DivisionByZero);
    const double frac = RoundHalfEven(double(bar->value()) / range, 3);
    // Only a figure taller (wider) than its room scrolls, and then towards its far end. A bar
    // that another drawing of the same box moved (the table under a page's note) would
    // otherwise push a figure that fits out of its box.
    shift = std::min(0.0, frac * (W - need - margins));
}

void clsGRAFIK::drawAxes() {
    const QPointF p0 = welt(xmin_, ymin_), p1 = welt(xmax_, ymax_);
    const double XP0 = p0.x(), YP0 = p0.y(), XP1 = p1.x(), YP1 = p1.y();
    if (!finite(p0) || !finite(p1)) return;

    struct Lage {
        double basis;   // world value on the other axis
        int d, ausrichtung;
    };
    // Where an axis lies, from its position code: a code above 0 puts the x axis below and the
    // y axis left of the plot area, one below 0 above and right; |code| >= 2 is a distance in mm.
    // lo/hi are the other axis's limits, normal tells whether that axis grows the usual way.
    auto lage = [](int N, bool normal, double lo, double hi, double m, bool xAchse) {
        Lage l{};
        const double off = std::abs(N) >= 2 ? std::abs(N) * m : 0;
        if (N > 0) {
            l.basis = normal ? lo - off : hi + off;
            l.d = xAchse ? 1 : -1;
            l.ausrichtung = xAchse ? 0 : 2;
        } else {
            l.basis = normal ? hi + off : lo - off;
            l.d = xAchse ? -1 : 1;
            l.ausrichtung = xAchse ? 2 : 0;
        }
        return l;
    };

    // The ticks of one axis, with grid lines and numbers at every n-th tick, or on a log axis
    // at its grid positions. `at` maps an axis value to the drawing's coordinate along the
    // axis; the callbacks draw across it, so one walk serves both axes.
    auto teilung = [&](const grafik::Achse &a, int16_t skt, const QString &muster,
                       const std::function<double(double)> &at, const std::function<void(double)> &strich,
                       const std::function<void(double)> &gitter,
                       const std::function<void(double, const QString &)> &zahl) {
        int nextGrid = 0, nextNum = 0, gi = 0;
        for (int k = 0; k <= a.IT && k < int(a.TICKS.size()); ++k) {
            const double T = a.TICKS[size_t(k)];
            if (!finite(T)) continue;
            const double p = at(T);
            strich(p);
            if (skt != 1) {
                if (k == nextGrid && a.GIT != 0) {
                    gitter(p);
                    nextGrid = int(RoundHalfEven(nextGrid + double(a.IT) / a.GIT));
                }
                if (k == nextNum && a.ZL != 0) {
                    zahl(p, Format(T, muster));
                    nextNum = int(RoundHalfEven(nextNum + double(a.IT) / a.ZL));
                }
            } else if (gi <= a.GITTERANZAHL && gi < int(a.GITTER.size())) {
                const double pos = a.GITTER[size_t(gi)];
                const double gp = at(pos);
                if (a.GIT != 0) gitter(gp);
                if (a.ZL != 0 && a.ZL == a.GIT) {
                    QString t = Format(std::pow(10.0, pos), muster);
                    // A pattern ending in its decimal sign would show "10." for a decade.
                    if (t.endsWith(QLatin1Char('.')) || t.endsWith(QLatin1Char(','))) t.chop(1);
                    zahl(gp, t);
                }
                ++gi;
            }
        }
    };

    if (eaxex_ != 0 && ticksX_) {
        const Lage l = lage(eaxex_, oy_ == 1, ymin_, ymax_, my_, true);
        const double ly = KOORDTRANS_Y(l.basis);
        LINIE(XP0, ly, XP1, ly, 0);
        teilung(
            ax_, esktx_, eskzx_, [&](double v) { return KOORDTRANS_X(v); },
            [&](double x) { LINIE(x, ly, x, ly + 1.5 * l.d, 0); },
            [&](double x) { LINIE(x, YP0, x, YP1, 0); },
            [&](double x, const QString &t) {
                noteNumbers_ = true;
                TEXT(x, ly + 2 * l.d, t, 0, 0, 1, int16_t(l.ausrichtung));
                noteNumbers_ = false;
            });
        const double mitte = ox_ == 1 ? XP0 + std::fabs(XP1 - XP0) / 2 : XP1 + std::fabs(XP1 - XP0) / 2;
        TEXT(mitte, ly + 6 * l.d, etextx_, 0, 0, 1, int16_t(l.ausrichtung));
    }

    if (eaxey_ != 0 && ticksY_) {
        const Lage l = lage(eaxey_, ox_ == 1, xmin_, xmax_, mx_, false);
        const double lx = KOORDTRANS_X(l.basis);
        LINIE(lx, YP0, lx, YP1, 0);
        teilung(
            ay_, eskty_, eskzy_, [&](double v) { return KOORDTRANS_Y(v); },
            [&](double y) { LINIE(lx, y, lx + 1.5 * l.d, y, 0); },
            [&](double y) { LINIE(XP0, y, XP1, y, 0); },
            [&](double y, const QString &t) {
                noteNumbers_ = true;
                TEXT(lx + 2 * l.d, y, t, 0, 90, 1, int16_t(l.ausrichtung));
                noteNumbers_ = false;
            });
        const double mitte = oy_ == 1 ? YP1 + std::fabs(YP1 - YP0) / 2 : YP0 + std::fabs(YP1 - YP0) / 2;
        TEXT(lx + 6 * l.d, mitte, etexty_, 0, 90, 1, int16_t(l.ausrichtung));
    }
}

void clsGRAFIK::redrawNumbersCrossedBy(const std::vector<QLineF> &lines) {
    if (!target_) return;
    const FontSpec before = target_->font();
    for (const AxisNumber &n : numbers_) {
        const QRectF inner = n.cell.adjusted(0.05, 0.05, -0.05, -0.05);
        const bool crossed = std::any_of(lines.begin(), lines.end(), [&](const QLineF &l) {
            QPointF a = l.p1(), b = l.p2();
            return grafik::clipSegment(a, b, inner);
        });
        if (!crossed) continue;
        target_->fillRect(n.cell, target_->backColor());
        target_->setFont(n.font);
        TEXT(n.X, n.Y, n.text, 0, n.AL, n.ARX, n.ARY);
    }
    target_->setFont(before);
}

std::vector<QRectF> clsGRAFIK::axisNumberCells() const {
    std::vector<QRectF> cells;
    for (const AxisNumber &n : numbers_) cells.push_back(n.cell);
    return cells;
}

namespace {

// What picks a figure's fixed rows in G1, G2_1 and G3: its object, no key, and the row number.
struct FixedRowKeys {
    Variant obj;
    Variant null16;
    QString kObj, kKen, kNr;
};

FixedRowKeys fixedRowKeys(const Variant &object)
{
    return {object, Variant(int16_t(0)), QStringLiteral("IDOBJEKT"), QStringLiteral("KEN"), QStringLiteral("LFDNR")};
}

} // namespace

void clsGRAFIK::drawFixedContent() {
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Skalen"));
    drawFixedTexts(g);
    if (g.left()) return;
    drawFixedPolylines(g);
    if (g.left()) return;
    drawFixedArcs(g);
}

// The figure's fixed texts (G1), each in the font its row sets.
void clsGRAFIK::drawFixedTexts(Guard &g) {
    const auto [obj, null16, kObj, kKen, kNr] = fixedRowKeys(eidObjekt_);
    clsDATEN d(ctx_);
    d.setETABELLE(QStringLiteral("G1"));
    d.setESPIDW(eid_);
    int16_t mini = 0, maxi = 0, an = 0;
    d.INDEX(mini, maxi, an, kObj, obj, kKen, null16, kNr);
    for (int16_t i = 1; i <= an; ++i) {
        const Variant nr(i);
        // A faulty font row (a colour outside the palette) still shows its text, in the
        // font that was set before, once the box is answered with OK.
        if (!g.step([&] {
                QString sa;
                int16_t sg = 0, fb = 0;
                bool sf = false, su = false, sk = false;
                d.DTVT(QStringLiteral("SA"), sa, kObj, obj, kKen, null16, kNr, nr);
                d.DTVI(QStringLiteral("SG"), sg, kObj, obj, kKen, null16, kNr, nr);
                d.DTVB(QStringLiteral("SF"), sf, kObj, obj, kKen, null16, kNr, nr);
                d.DTVB(QStringLiteral("SU"), su, kObj, obj, kKen, null16, kNr, nr);
                d.DTVB(QStringLiteral("SK"), sk, kObj, obj, kKen, null16, kNr, nr);
                d.DTVI(QStringLiteral("FB"), fb, kObj, obj, kKen, null16, kNr, nr);
                SCHRIFTEINSTELLUNGEN(sa, sg, sf ? -1 : 0, su ? -1 : 0, sk ? -1 : 0, palette(fb));
            }))
            break;
        if (!g.step([&] {
                QString txt;
                int16_t wi = 0, arx = 0, ary = 0;
                float xp = 0, yp = 0;
                d.DTVS(QStringLiteral("XP"), xp, kObj, obj, kKen, null16, kNr, nr);
                d.DTVS(QStringLiteral("YP"), yp, kObj, obj, kKen, null16, kNr, nr);
                d.DTVT(QStringLiteral("TXT"), txt, kObj, obj, kKen, null16, kNr, nr);
                d.DTVI(QStringLiteral("WI"), wi, kObj, obj, kKen, null16, kNr, nr);
                d.DTVI(QStringLiteral("ARX"), arx, kObj, obj, kKen, null16, kNr, nr);
                d.DTVI(QStringLiteral("ARY"), ary, kObj, obj, kKen, null16, kNr, nr);
                TEXT(xp, yp, txt, 1, wi, arx, ary);
            }))
            break;
    }
    SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
}

// The figure's fixed polylines (G2_1 with their points in G2_2).
void clsGRAFIK::drawFixedPolylines(Guard &g) {
    const auto [obj, null16, kObj, kKen, kNr] = fixedRowKeys(eidObjekt_);
    clsDATEN kopf(ctx_), punkte(ctx_);
    kopf.setETABELLE(QStringLiteral("G2_1"));
    kopf.setESPIDW(eid_);
    punkte.setETABELLE(QStringLiteral("G2_2"));
    punkte.setESPIDW(eid_);
    punkte.setESPK1(kKen);
    punkte.setESPK1W(QStringLiteral("W"));
    int16_t mini = 0, maxi = 0, an = 0;
    kopf.INDEX(mini, maxi, an, kObj, obj, kKen, null16, kNr);
    for (int16_t i = 1; i <= an; ++i) {
        if (!g.step([&] {
                const Variant nr(i);
                QString txt;
                int16_t la = 0, fb = 0, pstyp = 0, psit = 0, pnr = 0, lagetext = 0, lagepfeil = 0;
                float lb = 0;
                kopf.DTVT(QStringLiteral("TXT"), txt, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("LA"), la, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("FB"), fb, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVS(QStringLiteral("LB"), lb, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("PSTYP"), pstyp, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("PSIT"), psit, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("PNR"), pnr, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("LAGETEXT"), lagetext, kObj, obj, kKen, null16, kNr, nr);
                kopf.DTVI(QStringLiteral("LAGEPFEIL"), lagepfeil, kObj, obj, kKen, null16, kNr, nr);
                int16_t pmin = 0, pmax = 0, pan = 0;
                punkte.INDEX(pmin, pmax, pan, kObj, obj, kNr, nr, QStringLiteral("PKTNR"));
                if (pan < 1) return;
                std::vector<double> px(size_t(pan), 0.0), py(size_t(pan), 0.0);
                for (int16_t k = pmin; k <= pmax; ++k) {
                    if (k < 0 || k >= pan) raise(err::SubscriptOutOfRange);
                    float vx = 0, vy = 0;
                    punkte.DTVS(QStringLiteral("PX"), vx, kObj, obj, kNr, nr, QStringLiteral("PKTNR"), Variant(k));
                    punkte.DTVS(QStringLiteral("PY"), vy, kObj, obj, kNr, nr, QStringLiteral("PKTNR"), Variant(k));
                    px[size_t(k)] = vx;
                    py[size_t(k)] = vy;
                }
                // A colour outside the palette is reported and the line keeps the pen before it.
                if (!g.step([&] { LINIENEINSTELLUNGEN(la, lb, palette(fb)); })) return;
                POLYGON(px, py, psit, pstyp, pnr, txt, lagetext, lagepfeil, 0);
            }) || g.left())
            break;
    }
    LINIENEINSTELLUNGEN(0, 0, 0);
}

// The figure's fixed arcs (G3).
void clsGRAFIK::drawFixedArcs(Guard &g) {
    const auto [obj, null16, kObj, kKen, kNr] = fixedRowKeys(eidObjekt_);
    clsDATEN d(ctx_);
    d.setETABELLE(QStringLiteral("G3"));
    d.setESPIDW(eid_);
    int16_t mini = 0, maxi = 0, an = 0;
    d.INDEX(mini, maxi, an, kObj, obj, kKen, null16, kNr);
    for (int16_t i = 1; i <= an; ++i) {
        if (!g.step([&] {
                const Variant nr(i);
                int16_t la = 0, fb = 0;
                float lb = 0, mpx = 0, mpy = 0, px1 = 0, py1 = 0, wi = 0;
                d.DTVI(QStringLiteral("LA"), la, kObj, obj, kKen, null16, kNr, nr);
                d.DTVI(QStringLiteral("FB"), fb, kObj, obj, kKen, null16, kNr, nr);
                d.DTVS(QStringLiteral("LB"), lb, kObj, obj, kKen, null16, kNr, nr);
                if (!g.step([&] { LINIENEINSTELLUNGEN(la, lb, palette(fb)); })) return;
                d.DTVS(QStringLiteral("MPX"), mpx, kObj, obj, kKen, null16, kNr, nr);
                d.DTVS(QStringLiteral("MPY"), mpy, kObj, obj, kKen, null16, kNr, nr);
                d.DTVS(QStringLiteral("PX1"), px1, kObj, obj, kKen, null16, kNr, nr);
                d.DTVS(QStringLiteral("PY1"), py1, kObj, obj, kKen, null16, kNr, nr);
                d.DTVS(QStringLiteral("WI"), wi, kObj, obj, kKen, null16, kNr, nr);
                KREISBOGEN(mpx, mpy, wi, px1, py1, 0, 0);
            }))
            break;
    }
    LINIENEINSTELLUNGEN(0, 0, 0);
}

} // namespace vnt
