// The drawing object of one figure: its target, settings and placement, the clipped line,
// marked-up text, point symbols and polylines.
#include "drawing/clsGRAFIK.h"

#include "data/clsDATEN.h"
#include "drawing/Markup.h"
#include "drawing/clsGRAFIK_Shared.h"
#include "drawing/clsROTATOR.h"
#include "platform/Guard.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"
#include "platform/ui.h"

#include <QPolygonF>
#include <cmath>

namespace vnt {

using namespace grafik;
using namespace grafik_shared;

namespace {

QColor serienFarbe(int pstyp, bool &known) {
    static const int rgb[8][3] = {{0, 0, 255}, {0, 255, 0}, {0, 255, 255}, {255, 0, 0},
                                  {255, 0, 255}, {0, 180, 0}, {0, 0, 180}, {0, 0, 0}};
    known = pstyp >= 0 && pstyp <= 7;
    if (!known) return {};
    return QColor(rgb[pstyp][0], rgb[pstyp][1], rgb[pstyp][2]);
}

} // namespace

clsGRAFIK::clsGRAFIK(const RunContext &ctx) : ctx_(ctx) {
    if (const db::ConnectionPtr cnn = ctx.cnnX(); cnn && cnn->isOpen()) {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"), cnn);
        if (!rs.isEOF()) {
            rs.MoveFirst();
            eid_ = rs.Fields(QStringLiteral("ID")).toLong();
        }
        rs.Close();
    }
}

clsGRAFIK::~clsGRAFIK() = default;

void clsGRAFIK::requireTarget() const {
    if (!target_) raise(91);
}

// ---- target and settings ------------------------------------------------------------------

void clsGRAFIK::setEOBJEKT(Surface *target) {
    if (!target) raise(91);
    const QSizeF size = target->sizeMm();
    if (!(size.width() > 0) || !(size.height() > 0)) raise(err::DivisionByZero);
    target_ = target;
    pixelx_ = target->pixelsPerMm();
    elx_ = size.width();
    ely_ = size.height();
    lx_ = Listen{{0, elx_}, {elx_}, {1}, {0}, {0}};
    ly_ = Listen{{0, ely_}, {ely_}, {1}, {0}, {0}};
    SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
}

double clsGRAFIK::LINIENEINSTELLUNGEN(int16_t LINIENART, double LINIENBREITE, qint64 FARBE) {
    Guard g(kFehler, QStringLiteral("Linieneinstellungen"));
    const double px = LINIENBREITE == 0 ? 1.0 : LINIENBREITE * pixelx_;
    if (!g.step([&] { requireTarget(); target_->setDrawStyle(LINIENART); })) return px;
    if (!g.step([&] { requireTarget(); target_->setDrawWidth(px); })) return px;
    if (!g.step([&] { requireTarget(); target_->setDrawMode(13); })) return px;
    g.step([&] { requireTarget(); target_->setForeColor(vbColor(FARBE)); });
    return px;
}

void clsGRAFIK::SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int16_t SCHRIFTGROESSE, int16_t FETT,
                                     int16_t UNTERSTRICHEN, int16_t KURSIV, qint64 FARBE) {
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Schrifteinstellungen"));
    auto font = [&]() -> FontSpec {
        requireTarget();
        return target_->font();
    };
    auto apply = [&](auto change) {
        return g.step([&] {
            FontSpec f = font();
            change(f);
            target_->setFont(f);
        });
    };
    if (!apply([&](FontSpec &f) { f.name = SCHRIFTART.isEmpty() ? QStringLiteral("Arial") : SCHRIFTART; })) return;
    if (!apply([&](FontSpec &f) { f.size = SCHRIFTGROESSE < 1 ? 8 : SCHRIFTGROESSE; })) return;
    if (!apply([&](FontSpec &f) { f.setBold(FETT != 0); })) return;
    if (!apply([&](FontSpec &f) { f.italic = KURSIV != 0; })) return;
    if (!apply([&](FontSpec &f) { f.underline = UNTERSTRICHEN != 0; })) return;
    if (!g.step([&] { requireTarget(); target_->setForeColor(FARBE < 1 ? QColor(Qt::black) : vbColor(FARBE)); })) return;
    for (int slot = 1; slot <= 5; ++slot) {
        if (!g.step([&] {
                FontSpec f = font();
                if (slot == 3 || slot == 5) f.name = QStringLiteral("Symbol");
                if (slot >= 4) f.size = RoundHalfEven(f.size / 1.175);
                fonts_[size_t(slot)] = f;
                fontSet_[size_t(slot)] = true;
            }))
            return;
    }
}

// ---- transforms and the clipped segment ---------------------------------------------------

double clsGRAFIK::KOORDTRANS_X(double X) const {
    if (mx_ == 0) raise(err::DivisionByZero);
    return ox_ == 1 ? exdl_ + dx_ + rl_ + (X - xmin_) / mx_ : exdl_ + dx_ + rl_ + (xmax_ - X) / mx_;
}

double clsGRAFIK::KOORDTRANS_Y(double Y) const {
    if (my_ == 0) raise(err::DivisionByZero);
    return oy_ == 1 ? eydo_ + dy_ + ro_ + (ymax_ - Y) / my_ : eydo_ + dy_ + ro_ + (Y - ymin_) / my_;
}

void clsGRAFIK::KOORDTRANS(double X, double Y, double &XP, double &YP) {
    Guard g(kFehler, QStringLiteral("Koordinatentransformation"));
    if (!g.step([&] { XP = KOORDTRANS_X(X); })) return;
    g.step([&] { YP = KOORDTRANS_Y(Y); });
}

QPointF clsGRAFIK::welt(double X, double Y) {
    double xp = qQNaN(), yp = qQNaN();
    KOORDTRANS(X, Y, xp, yp);
    return {xp, yp};
}

void clsGRAFIK::KOORDTRANSINV(double X, double Y, double &XP, double &YP, int16_t SKTX, int16_t SKTY) {
    Guard g(kFehler, QStringLiteral("Inverse Koordinatentransformation"));
    auto pow10 = [](double v) {
        const double r = std::pow(10.0, v);
        if (!std::isfinite(r)) raise(err::Overflow);
        return r;
    };
    if (!g.step([&] {
            XP = ox_ == 1 ? mx_ * (X - exdl_ - dx_ - rl_) + xmin_ : (exdl_ + dx_ + rl_ - X) * mx_ + xmax_;
        }))
        return;
    if (!g.step([&] {
            YP = oy_ == 1 ? my_ * (ro_ + eydo_ + dy_ - Y) + ymax_ : (Y - eydo_ - dy_ - ro_) * my_ + ymin_;
        }))
        return;
    if (SKTX == 1 && !g.step([&] { XP = pow10(XP); })) return;
    if (SKTY == 1) g.step([&] { YP = pow10(YP); });
}

void clsGRAFIK::LINIE(double XPS1, double YPS1, double XPS2, double YPS2, qint64 FB) {
    try {
        requireTarget();
        QPointF a(XPS1, YPS1), b(XPS2, YPS2);
        // A value that is not a number (a division by zero upstream) draws nothing.
        if (!finite(a) || !finite(b)) return;
        if (!clipSegment(a, b, QRectF(exdl_, eydo_, elx_, ely_))) return;
        if (FB == 0) {
            target_->line(a, b);
        } else {
            const QColor before = target_->foreColor();
            target_->setForeColor(vbColor(FB));
            target_->line(a, b);
            target_->setForeColor(before);
        }
    } catch (const VbError &e) {
        ui::MsgBox(kFehler + QLatin1Char('\n') + QStringLiteral("FehlerNr. ") + QString::number(e.number) +
                       QLatin1Char('\n') + e.description,
                   ui::vbOKCancel + ui::vbExclamation, QStringLiteral("Liniengrenzen"));
    }
}

void clsGRAFIK::setFrame(int16_t OX, int16_t OY, double RL, double RR, double RO, double RU, double XMIN, double XMAX,
                         double YMIN, double YMAX, double MX, double MY, double MYMX) {
    ox_ = OX, oy_ = OY, rl_ = RL, rr_ = RR, ro_ = RO, ru_ = RU;
    xmin_ = XMIN, xmax_ = XMAX, ymin_ = YMIN, ymax_ = YMAX, mx_ = MX, my_ = MY, mymx_ = MYMX;
}

// ---- text ---------------------------------------------------------------------------------

void clsGRAFIK::DREHTEXT(const QString &text, int16_t AL, double X, double Y, int size, const QString &name) {
    target_->setCurrent(X, Y);
    FontSpec f = target_->font();
    if (f.size < 8.25) f.size = size;
    f.name = name;
    f.size = size;
    target_->setFont(f);
    target_->setFontTransparent(true);
    clsROTATOR r;
    r.setDevice(target_);
    r.setAngle(AL);
    r.Label(text);
}

void clsGRAFIK::TEXT(double X, double Y, QString TEXT, int16_t KO, int16_t AL, int16_t ARX, int16_t ARY) {
    Guard g(kFehler, QStringLiteral("Text"));
    const QString given = noteNumbers_ ? TEXT : QString();
    double x = X, y = Y;
    if (!g.step([&] {
            requireTarget();
            if (KO == 1) {
                const double wx = esktx_ == 1 ? LOG10(X) : X;
                const double wy = eskty_ == 1 ? LOG10(Y) : Y;
                const QPointF p = welt(wx, wy);
                x = p.x();
                y = p.y();
            } else if (KO == 2) {
                x = X + dx_ + exdl_;
                y = Y + dy_ + eydo_;
            }
        }))
        return;
    // A position that is not a number (a division by zero upstream) is never drawn.
    if (!finite(x) || !finite(y) || !target_) return;
    const double a = AL * GRAD, c = std::cos(a), s = std::sin(a);
    const FontSpec slot0 = target_->font();
    markup::rewriteExponent(TEXT);
    const QSizeF box = measureTextMm(slot0, markup::measuringCopy(TEXT));
    const double w = box.width(), h = box.height();

    const double L = exdl_, R = exdl_ + elx_, O = eydo_, U = eydo_ + ely_;
    bool visible = true;
    switch (ARX) {
    case 0: visible = x >= L - 1 && x + w * c <= R + 1; break;
    case 1: visible = x - w * c / 2 >= L - 1 && x + w * c / 2 <= R + 1; break;
    case 2: visible = x - w * c >= L + rl_ - 1 && x <= R + 1; break;
    default: break;
    }
    switch (ARY) {
    case 0: visible = visible && y >= O - 1 && y + h * c <= U + 1; break;
    case 1: visible = visible && y - h * c / 2 >= O - 1 && y + h * c / 2 <= U + 1; break;
    case 2: visible = visible && y - h * c >= O - 1 && y <= U + 1; break;
    default: break;
    }
    if (!visible) return;

    double x0 = 0, y0 = 0;
    switch (ARX) {
    case 0: x0 = x, y0 = y; break;
    case 1: x0 = x - w * c / 2, y0 = y + w * s / 2; break;
    case 2: x0 = x - w * c, y0 = y + w * s; break;
    default: break;
    }
    if (ARY == 1) x0 -= h * s / 2, y0 -= h * c / 2;
    else if (ARY == 2) x0 -= h * s, y0 -= h * c;
    if (noteNumbers_) {
        const QPointF p(x0, y0), along(w * c, -w * s), across(h * s, h * c);
        const QPolygonF cell({p, p + along, p + along + across, p + across});
        numbers_.push_back({X, Y, given, AL, ARX, ARY, slot0, cell.boundingRect()});
    }

    const std::vector<markup::Run> runs = markup::tokenize(TEXT);
    int previous = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const markup::Run &run = runs[i];
        const int slot = markup::fontSlot(run.kind, previous);
        FontSpec font = slot0;
        if (!g.step([&] {
                if (slot != 0) {
                    if (!fontSet_[size_t(slot)]) {
                        fonts_[size_t(slot)] = FontSpec();
                        fontSet_[size_t(slot)] = true;
                    }
                    font = fonts_[size_t(slot)];
                    // A text drawn narrower is narrower in every run.
                    font.stretch = slot0.stretch;
                }
                target_->setFont(font);
                double shift = 0;
                const double f = markup::shiftFactor(run.kind);
                if (run.kind == markup::RunKind::Greek) shift = f * measureTextMm(font, QStringLiteral("g")).height();
                else if (run.kind == markup::RunKind::Symbol) shift = f * measureTextMm(font, QStringLiteral("s")).height();
                else shift = f * measureTextMm(font, run.text).height();
                const double px = x0 - shift * s, py = y0 - shift * c;
                if (run.kind == markup::RunKind::Symbol) {
                    pointSymbol(run.value, px + 0.5 * c, py);
                } else if (AL != 0) {
                    DREHTEXT(run.text, AL, px, py, int(RoundHalfEven(font.size)), font.name);
                } else {
                    target_->setCurrent(px, py);
                    target_->print(run.text);
                }
                const double r = measureTextMm(font, run.text).width();
                target_->setFont(slot0);
                x0 += r * c;
                y0 -= r * s;
            })) {
            target_->setFont(slot0);
            return;
        }
        previous = slot;
    }
    target_->setFont(slot0);
}

// ---- point symbols and polylines ----------------------------------------------------------

void clsGRAFIK::pointSymbol(int nummer, double x, double y) {
    if (!target_ || !std::isfinite(x) || !std::isfinite(y)) return;
    Surface &t = *target_;
    auto kreuz = [&] {
        for (QPointF d : {QPointF(-0.75, -0.75), QPointF(-0.75, 0.75), QPointF(0.75, -0.75), QPointF(0.75, 0.75)})
            t.line(QPointF(x, y), QPointF(x, y) + d);
    };
    switch (nummer) {
    case 0: kreuz(); break;
    case 1: {
        const QColor fill = t.fillColor();
        const int style = t.fillStyle();
        t.setFillColor(t.foreColor());
        t.setFillStyle(0);
        t.rectangle(QRectF(QPointF(x - 0.5, y - 0.5), QPointF(x + 0.5, y + 0.5)), true);
        t.setFillColor(fill);
        t.setFillStyle(style);
        break;
    }
    case 2: t.rectangle(QRectF(QPointF(x - 0.5, y - 0.5), QPointF(x + 0.5, y + 0.5)), false); break;
    case 3:
        t.setFillColor(t.foreColor());
        t.setFillStyle(0);
        t.ellipse(QPointF(x, y), 0.7, 0.7, true);
        t.setFillStyle(1);
        t.setFillColor(Qt::white);
        break;
    case 4: t.ellipse(QPointF(x, y), 0.7, 0.7, t.fillStyle() != 1); break;
    case 5:
        t.line(QPointF(x - 0.7, y + 0.33), QPointF(x + 0.7, y + 0.33));
        t.line(QPointF(x + 0.7, y + 0.33), QPointF(x, y - 0.67));
        t.line(QPointF(x, y - 0.67), QPointF(x - 0.7, y + 0.33));
        break;
    case 6:
        kreuz();
        t.line(QPointF(x - 0.75, y), QPointF(x + 0.75, y));
        t.line(QPointF(x, y - 0.75), QPointF(x, y + 0.75));
        break;
    default: break;
    }
}

void clsGRAFIK::POLYGON(std::vector<double> X, std::vector<double> Y, int16_t PSIT, int16_t PSTYP, int16_t PNR,
                        const QString &TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL, int16_t FARBEN,
                        const std::vector<bool> *BOL) {
    Guard g(kFehler, QStringLiteral("Polygon"));
    if (!target_) {
        g.report(91, standardDescription(91));
        return;
    }
    const QColor before = target_->foreColor();
    auto fertig = [&] { target_->setForeColor(before); };
    if (!g.step([&] {
            if (Y.size() < X.size()) raise(err::SubscriptOutOfRange);
        })) {
        fertig();
        return;
    }
    // After OK on a short Y, the points without a y value are left out rather than read
    // past the end of the caller's data.
    const int n = int(std::min(X.size(), Y.size()));
    if (esktx_ == 1)
        for (double &v : X) v = LOG10(v);
    if (eskty_ == 1)
        for (double &v : Y) v = LOG10(v);
    if (FARBEN == -1) {
        bool known = false;
        const QColor c = serienFarbe(PSTYP, known);
        if (known) target_->setForeColor(c);
    }
    QPointF B;
    std::vector<QPointF> P(size_t(std::max(n, 0)));
    if (!g.step([&] {
            B = welt(xmin_, ymin_);
            for (int i = 0; i < n; ++i) P[size_t(i)] = welt(X[size_t(i)], Y[size_t(i)]);
        })) {
        fertig();
        return;
    }
    const double xB = B.x(), yB = B.y();
    bool ok = g.step([&] { polygonLines(P, xB, yB, BOL); });
    if (!ok && g.left()) return fertig();

    if (PSIT != 0 && !g.step([&] {
            for (int i : auswahl(PSIT, n)) pointSymbol(PSTYP, P[size_t(i)].x(), P[size_t(i)].y());
        }))
        return fertig();
    if (PNR != 0 && !g.step([&] {
            for (int i : auswahl(PNR, n))
                this->TEXT(P[size_t(i)].x() + 1, P[size_t(i)].y() - 1, QString::number(i), 0, 0, 0, 0);
        }))
        return fertig();

    if (!g.step([&] { polygonLabel(P, TEXT, LAGETEXT); }))
        return fertig();
    g.step([&] { polygonArrows(P, LAGEPFEIL); });
    fertig();
}

// The polyline in the current style (eptyp_): segments, the two step forms, points, the
// two stair forms; B is the world origin of the axes in millimetres.
void clsGRAFIK::polygonLines(const std::vector<QPointF> &P, double xB, double yB, const std::vector<bool> *BOL)
{
    const int n = int(P.size());
    auto seg = [&](QPointF a, QPointF b) { strich(a, b); };
    auto x = [&](int i) { return P[size_t(i)].x(); };
    auto y = [&](int i) { return P[size_t(i)].y(); };
    switch (eptyp_) {
    case 0:
        for (int i = 1; i < n; ++i) {
            if (BOL) {
                if (size_t(i - 1) >= BOL->size()) raise(err::SubscriptOutOfRange);
                if (!(*BOL)[size_t(i - 1)]) continue;
            }
            seg(P[size_t(i - 1)], P[size_t(i)]);
        }
        break;
    case 1: {
        if (n < 2) raise(err::SubscriptOutOfRange);
        auto m = [&](int i) { return x(i - 1) + (x(i) - x(i - 1)) / 2; };
        const double l = x(0) - (x(1) - x(0)) / 2, r = x(n - 1) + (x(n - 1) - x(n - 2)) / 2;
        seg({l, yB}, {l, y(0)});
        seg({l, y(0)}, {l + (x(1) - x(0)), y(0)});
        for (int i = 1; i <= n - 2; ++i) {
            seg({x(i), y(i)}, {m(i), y(i)});
            seg({x(i), y(i)}, {m(i + 1), y(i)});
            seg({m(i), y(i - 1)}, {m(i), y(i)});
        }
        seg({m(n - 1), y(n - 2)}, {m(n - 1), y(n - 1)});
        seg({m(n - 1), y(n - 1)}, {r, y(n - 1)});
        seg({r, y(n - 1)}, {r, yB});
        break;
    }
    case 2: {
        if (n < 2) raise(err::SubscriptOutOfRange);
        auto m = [&](int i) { return y(i - 1) + (y(i) - y(i - 1)) / 2; };
        const double l = y(0) - (y(1) - y(0)) / 2, r = y(n - 1) + (y(n - 1) - y(n - 2)) / 2;
        seg({xB, l}, {x(0), l});
        seg({x(0), l}, {x(0), l + (y(1) - y(0))});
        for (int i = 1; i <= n - 2; ++i) {
            seg({x(i), y(i)}, {x(i), m(i)});
            seg({x(i), y(i)}, {x(i), m(i + 1)});
            seg({x(i - 1), m(i)}, {x(i), m(i)});
        }
        seg({x(n - 2), m(n - 1)}, {x(n - 1), m(n - 1)});
        seg({x(n - 1), m(n - 1)}, {x(n - 1), r});
        seg({x(n - 1), r}, {xB, r});
        break;
    }
    case 3: {
        const double l = exdl_ + rl_, rr = exdl_ + elx_ - rr_, o = eydo_ + ro_, u = eydo_ + ely_ - ru_;
        for (int i = 0; i < n; ++i)
            if (x(i) > l && x(i) < rr && y(i) > o && y(i) < u) target_->pset(P[size_t(i)]);
        break;
    }
    case 4:
        if (n < 1) break;
        seg({xB, yB}, {xB, y(0)});
        seg({xB, y(0)}, P[0]);
        for (int i = 0; i <= n - 2; ++i) {
            seg(P[size_t(i)], {x(i), y(i + 1)});
            seg({x(i), y(i + 1)}, P[size_t(i + 1)]);
        }
        seg(P[size_t(n - 1)], {x(n - 1), yB});
        break;
    case 5:
        if (n < 1) break;
        seg({xB, yB}, {x(0), yB});
        seg({x(0), yB}, P[0]);
        for (int i = 0; i <= n - 2; ++i) {
            seg(P[size_t(i)], {x(i + 1), y(i)});
            seg({x(i + 1), y(i)}, P[size_t(i + 1)]);
        }
        seg(P[size_t(n - 1)], {xB, y(n - 1)});
        break;
    default: break;
    }
}

// The polyline's label: anchor, alignment and (for segment labels) the segment's angle.
void clsGRAFIK::polygonLabel(const std::vector<QPointF> &P, const QString &TEXT, int16_t LAGETEXT)
{
    const int n = int(P.size());
    auto x = [&](int i) { return P[size_t(i)].x(); };
    auto y = [&](int i) { return P[size_t(i)].y(); };
    auto winkel = [&](int a, int b) -> int16_t {
        if (x(b) == x(a)) return 90;
        return int16_t(RoundHalfEven(std::atan((y(a) - y(b)) / (x(b) - x(a))) / 0.0174532923847437));
    };
    if (n < 1) return;
    auto put = [&](QPointF p, int arx, int ary, int16_t al) { this->TEXT(p.x(), p.y(), TEXT, 0, al, arx, ary); };
    const QPointF last = P[size_t(n - 1)], first = P[0];
    const QPointF right(2, 0);
    switch (LAGETEXT) {
    case 0:
        if (n >= 2) put((P[size_t(n - 2)] + last) / 2, 1, 2, winkel(n - 2, n - 1));
        break;
    case 1: put(last, 1, 2, 0); break;
    case 2: put(last, 1, 0, 0); break;
    case 3: put(last + right, 0, 1, 0); break;
    case 4: put(last - right, 2, 1, 0); break;
    case 5:
        if (n >= 2) put((first + P[1]) / 2, 1, 2, winkel(0, 1));
        break;
    case 6: put(first, 1, 2, 0); break;
    case 7: put(first, 1, 0, 0); break;
    case 8: put(first + right, 0, 1, 0); break;
    case 9: put(first - right, 2, 1, 0); break;
    case 10:
        if (n >= 2) {
            const int m = (n - 1) / 2;
            if (m + 1 < n) put((P[size_t(m)] + P[size_t(m + 1)]) / 2, 1, 2, winkel(m, m + 1));
        }
        break;
    case 11: put(last - right, 2, 0, 0); break;
    case 12: put(last - right, 2, 2, 0); break;
    case 13: put(last + right, 0, 0, 0); break;
    case 14: put(last + right, 0, 2, 0); break;
    default: break;
    }
}

// Arrow heads on the polyline's ends or on every segment.
void clsGRAFIK::polygonArrows(const std::vector<QPointF> &P, int16_t LAGEPFEIL)
{
    const int n = int(P.size());
    auto x = [&](int i) { return P[size_t(i)].x(); };
    auto y = [&](int i) { return P[size_t(i)].y(); };
    if (n < 2) return;
    auto pf = [&](int a, int b) { PFEIL(x(a), y(a), x(b), y(b)); };
    switch (LAGEPFEIL) {
    case 1: pf(n - 2, n - 1); break;
    case 2: pf(1, 0); break;
    case 3: pf(n - 2, n - 1), pf(1, 0); break;
    case 4:
        for (int i = 1; i < n; ++i) pf(i - 1, i);
        break;
    case 5:
        for (int i = 1; i < n; ++i) pf(i, i - 1);
        break;
    case 6:
        for (int i = 1; i < n; ++i) pf(i - 1, i), pf(i, i - 1);
        break;
    default: break;
    }
}

} // namespace vnt
