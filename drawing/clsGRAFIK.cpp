// The drawing object of one figure.
#include "drawing/clsGRAFIK.h"

#include "data/clsDATEN.h"
#include "drawing/Markup.h"
#include "drawing/clsROTATOR.h"
#include "platform/Guard.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"
#include "platform/ui.h"

#include <QPolygonF>
#include <QScrollBar>
#include <cmath>
#include <optional>

namespace vnt {

using namespace grafik;

namespace {

const QString kFehler = QStringLiteral("VB-Fehler: ");

bool finite(double v) { return std::isfinite(v); }
bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

// A palette number from a figure table; anything outside 0..15 is a data fault, not black.
qint64 palette(int fb) {
    if (fb < 0 || fb > 15) raise(5);
    return paletteRgb(fb);
}

QColor serienFarbe(int pstyp, bool &known) {
    static const int rgb[8][3] = {{0, 0, 255}, {0, 255, 0}, {0, 255, 255}, {255, 0, 0},
                                  {255, 0, 255}, {0, 180, 0}, {0, 0, 180}, {0, 0, 0}};
    known = pstyp >= 0 && pstyp <= 7;
    if (!known) return {};
    return QColor(rgb[pstyp][0], rgb[pstyp][1], rgb[pstyp][2]);
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

// ---- arrows and text ----------------------------------------------------------------------

void clsGRAFIK::PFEIL(double PX1, double PY1, double PX2, double PY2) {
    Guard g(kFehler, QStringLiteral("Pfeil"));
    double L = 2.5, th = 0;
    QPointF A, B;
    const QPointF tip(PX2, PY2);
    if (!g.step([&] {
            th = RICHTUNGSWINKEL(PX2, PY2, PX1, PY1) * GRAD;
            const double d = std::hypot(PX2 - PX1, PY2 - PY1);
            if (2 * L > d) L = d / 2;
            const double w = 15 * GRAD;
            A = QPointF(PX2 + L * std::cos(th + w), PY2 + L * std::sin(th + w));
            B = QPointF(PX2 + L * std::cos(th - w), PY2 + L * std::sin(th - w));
        }))
        return;
    if (!g.step([&] { strich(tip, A); })) return;
    if (!g.step([&] { strich(tip, B); })) return;
    g.step([&] { strich(A, B); });
}

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
                    punktsymbol(run.value, px + 0.5 * c, py);
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

void clsGRAFIK::punktsymbol(int nummer, double x, double y) {
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
    auto seg = [&](QPointF a, QPointF b) { strich(a, b); };
    auto x = [&](int i) { return P[size_t(i)].x(); };
    auto y = [&](int i) { return P[size_t(i)].y(); };
    const double xB = B.x(), yB = B.y();

    bool ok = g.step([&] {
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
    });
    if (!ok && g.left()) return fertig();

    if (PSIT != 0 && !g.step([&] {
            for (int i : auswahl(PSIT, n)) punktsymbol(PSTYP, x(i), y(i));
        }))
        return fertig();
    if (PNR != 0 && !g.step([&] {
            for (int i : auswahl(PNR, n)) this->TEXT(x(i) + 1, y(i) - 1, QString::number(i), 0, 0, 0, 0);
        }))
        return fertig();

    // Label: anchor, alignment and (for segment labels) the segment's angle.
    auto winkel = [&](int a, int b) -> int16_t {
        if (x(b) == x(a)) return 90;
        return int16_t(RoundHalfEven(std::atan((y(a) - y(b)) / (x(b) - x(a))) / 0.0174532923847437));
    };
    if (!g.step([&] {
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
        }))
        return fertig();

    g.step([&] {
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
    });
    fertig();
}

// ---- arcs ---------------------------------------------------------------------------------

void clsGRAFIK::KREISBOGEN(double MPX, double MPY, double WI, double X1, double Y1, int16_t LAGEPFEIL,
                           int16_t /*BOGRENZEN*/) {
    Guard g(kFehler, QStringLiteral("Kreisbogen"));
    const double XL = rund6(exdl_), XR = rund6(exdl_ + elx_), YO = rund6(eydo_), YU = rund6(eydo_ + ely_);
    const double zweiPi = 2 * PI_S;
    // More than one full turn draws the full turn.
    const double wi = std::clamp(WI, -360.0, 360.0);
    const double WIR = wi * GRAD;
    QPointF M, S;
    if (!g.step([&] {
            requireTarget();
            M = welt(MPX, MPY);
            S = welt(X1, Y1);
        }))
        return;
    if (!finite(M) || !finite(S) || !finite(WIR)) return;
    const double cx = M.x(), cy = M.y();
    const double R = std::hypot(cx - S.x(), cy - S.y());
    const double alpha = RICHTUNGSWINKEL(cx, -cy, S.x(), -S.y()) * GRAD;
    const bool gedreht = ox_ * oy_ == -1;
    auto r4 = [](double v) { return std::nearbyint(v * 1e4) / 1e4; };
    const double A1 = r4(gedreht ? alpha - WIR : alpha);
    const double A2 = r4(gedreht ? alpha : alpha + WIR);

    if (R > 0 && !g.step([&] {
            double Lw = std::min(A1, A2);
            if (Lw < 0) Lw += zweiPi;
            // A start just short of the full turn rounds (4 decimals) past it: it is the start of
            // the turn, or a sweep of 0 would leave a sliver instead of the full circle.
            if (Lw >= zweiPi - 5e-5) Lw = std::max(0.0, Lw - zweiPi);
            const double Uw = Lw + std::fabs(WIR);
            std::vector<std::pair<double, double>> pieces;
            if (Uw <= zweiPi + 1e-9) pieces.push_back({Lw, std::min(Uw, zweiPi)});
            else pieces = {{Lw, zweiPi}, {0, Uw - zweiPi}};
            for (auto [a, e] : pieces) {
                if (std::fabs(e) < 1e-12) e = zweiPi;
                if (std::fabs(a - zweiPi) < 1e-12) a = 0;
                Quadranten q;
                if (std::fabs(e - a) < 1e-12) {
                    BOGENQUADRANTEN(1, 4, true, q);
                } else {
                    // The end angles carry 4 decimals: a quadrant boundary within that
                    // rounding is the boundary, not a sliver of the neighbouring quadrant.
                    const int qa = std::clamp(int(std::floor(a / HALBPI_S + 1e-4)) + 1, 1, 4);
                    const int qe = std::clamp(int(std::ceil(e / HALBPI_S - 1e-4)), 1, 4);
                    if (qa == qe) {
                        q.aktiv[size_t(qa)] = q.teil[1][size_t(qa)] = true;
                        q.anfang[1][size_t(qa)] = a;
                        q.ende[1][size_t(qa)] = e;
                    } else {
                        q.aktiv[size_t(qa)] = q.teil[1][size_t(qa)] = true;
                        q.anfang[1][size_t(qa)] = a;
                        q.ende[1][size_t(qa)] = qa * HALBPI_S;
                        if (qe - qa > 1) BOGENQUADRANTEN(qa + 1, qe - 1, true, q);
                        q.aktiv[size_t(qe)] = q.teil[1][size_t(qe)] = true;
                        q.anfang[1][size_t(qe)] = (qe - 1) * HALBPI_S;
                        q.ende[1][size_t(qe)] = e;
                    }
                }
                clipArcQuadrants(q, cx, cy, R, XL, XR, YO, YU);
                for (int k = 1; k <= 4; ++k) {
                    const size_t i = size_t(k);
                    if (q.aktiv[i] && q.teil[1][i] && q.ende[1][i] > q.anfang[1][i])
                        target_->arc(M, R, q.anfang[1][i], q.ende[1][i]);
                }
            }
        }))
        return;

    // End marks: drawn unclipped, on the arc's ends.
    const double Sl = (A2 - A1) * R;
    double P = 2.5;
    if (std::fabs(Sl) < 5) P = std::fabs(Sl) / 2;
    if (Sl < 0) P = -P;
    if (P == 0 || R == 0) return;
    const double AF = gedreht ? A1 : A2;
    const QPointF F(cx + R * std::cos(AF), cy - R * std::sin(AF));
    const double phiS = gedreht ? A2 - P / R : A1 + P / R;
    const double phiF = gedreht ? A1 + P / R : A2 - P / R;
    Surface &t = *target_;
    auto kopf = [&](QPointF T, double phi) {
        const QPointF Bp(cx + R * std::cos(phi), cy - R * std::sin(phi));
        const QPointF off = P * std::tan(15 * GRAD) * QPointF(std::cos(phi), -std::sin(phi));
        t.line(T, Bp + off);
        t.line(Bp + off, Bp - off);
        t.line(Bp - off, T);
    };
    auto punkt = [&](QPointF p) { t.ellipse(p, 0.5, 0.5, true); };
    if (!g.step([&] {
            t.setFillColor(t.foreColor());
            t.setFillStyle(0);
        }))
        return;
    g.step([&] {
        switch (LAGEPFEIL) {
        case 1: kopf(F, phiF); break;
        case 2: kopf(S, phiS); break;
        case 3: kopf(F, phiF), kopf(S, phiS); break;
        case 4: punkt(S), kopf(F, phiF); break;
        case 5: kopf(S, phiS), punkt(F); break;
        default: break;
        }
    });
    g.always([&] {
        t.setFillStyle(1);
        t.setFillColor(Qt::white);
    });
}

// ---- engineering symbols ------------------------------------------------------------------

void clsGRAFIK::KOTENDREIECK(double PX, double PY, double DH, double RIWI, int16_t GW, int16_t VOLL) {
    Guard g(kFehler, QStringLiteral("Kotendreieck"));
    const double a = RIWI * GRAD, pi4 = PI_S / 4;
    QPointF P;
    double dh = DH;
    auto u = [](double b) { return QPointF(std::cos(b), std::sin(b)); };
    if (!g.step([&] {
            P = welt(PX, PY);
            if (my_ == 0) raise(err::DivisionByZero);
            dh = DH / my_;
        }))
        return;
    if (!g.step([&] {
            strich(P, P + dh * u(a));
            strich(P, P + dh * u(a - PI_S));
        }))
        return;
    QPointF C3;
    if (!g.step([&] {
            const QPointF C1 = P + (dh / std::cos(pi4)) * u(a + PI_S + pi4);
            strich(P, C1);
            const QPointF C2 = C1 + 2 * dh * std::tan(pi4) * u(a);
            strich(C1, C2);
            C3 = C2 + (dh / std::cos(pi4)) * u(a + PI_S / 2 + pi4);
            strich(C2, C3);
        }))
        return;
    if (GW == 1 && !g.step([&] {
            for (int i = 2; i <= 3; ++i) {
                const QPointF Mi = C3 + ((i - 1) / 2.0 * dh / 2) * u(a + PI_S / 2);
                const double hi = (3.5 - i) * dh / 2;
                strich(Mi, Mi + hi * u(a + PI_S));
                strich(Mi, Mi + hi * u(a));
            }
        }))
        return;
    if (VOLL > 0)
        g.step([&] {
            for (int v = 1; v <= 34; ++v) {
                const double phi = (1 - v / 70.0) * PI_S / 2;
                const double d = dh / std::sin(phi);
                if (VOLL == 2 || VOLL == 3) strich(C3, C3 + d * u(a + PI_S + phi));
                if (VOLL == 1 || VOLL == 3) strich(C3, C3 + d * u(a - phi));
            }
        });
}

void clsGRAFIK::GELAENDESCHRAFFUR(double X1, double Y1, double LS, int16_t ANS, double RIWI) {
    Guard g(kFehler, QStringLiteral("Geländeschraffur"));
    const double a = RIWI * GRAD, pi4 = PI_S / 4;
    auto u = [](double b) { return QPointF(std::cos(b), std::sin(b)); };
    QPointF B;
    double ls = LS;
    if (!g.step([&] {
            B = welt(X1, Y1);
            if (mx_ == 0) raise(err::DivisionByZero);
            ls = LS / mx_;
        }))
        return;
    g.step([&] {
        const QPointF step = 2 * ls * std::cos(pi4) * u(a);
        for (int i = 0; i <= 2 * ANS; ++i) {
            if (i <= ANS) {
                strich(B, B + ls * u(a + 3 * pi4));
                const QPointF s1 = B + ls / 3 * u(a + 3 * pi4);
                strich(s1, s1 + 2 * ls / 3 * u(a + pi4));
                const QPointF s2 = B + 2 * ls / 3 * u(a + 3 * pi4);
                strich(s2, s2 + ls / 3 * u(a + pi4));
                B += step;
            } else {
                strich(B, B + ls * u(a + pi4));
                const QPointF s1 = B + 2 * ls / 3 * u(a + pi4);
                strich(s1, s1 + 2 * ls / 3 * u(a - pi4));
                const QPointF s2 = B + ls / 3 * u(a + pi4);
                strich(s2, s2 + ls / 3 * u(a - pi4));
                B -= step;
            }
        }
    });
}

void clsGRAFIK::LASTFLAECHEN(const std::array<double, 2> &X, const std::array<double, 2> &Y,
                             const std::array<std::array<double, 2>, 4> &P, int16_t IT) {
    Guard g(kFehler, QStringLiteral("Lastflächen"));
    float msp = 0;
    std::unique_ptr<clsDATEN> g0;
    if (!g.step([&] {
            g0 = std::make_unique<clsDATEN>(ctx_);
            g0->setETABELLE(QStringLiteral("G0"));
            g0->DTVS(QStringLiteral("MSP"), msp, QStringLiteral("IDOBJEKT"), Variant(eidObjekt_));
        }))
        return;
    if (msp == 0 && !g.step([&] {
            double m = 0;
            for (int j = 0; j <= 1; ++j)
                m = std::max(m, std::hypot(P[0][size_t(j)] + P[2][size_t(j)], P[1][size_t(j)] + P[3][size_t(j)]) / 15);
            msp = float(m);
            g0->DVTS(QStringLiteral("MSP"), msp, QStringLiteral("IDOBJEKT"), Variant(eidObjekt_));
        }))
        return;
    std::array<std::array<double, 2>, 4> Q{};
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 2; ++j) Q[size_t(k)][size_t(j)] = msp * P[size_t(k)][size_t(j)];
    QPointF E[2];
    if (!g.step([&] {
            E[0] = welt(X[0], Y[0]);
            E[1] = welt(X[1], Y[1]);
            strich(E[0], E[1]);
        }))
        return;
    auto schicht = [&](QPointF b0, QPointF b1, int kv, int kh) {
        const QPointF l0 = b0 + QPointF(Q[size_t(kh)][0], -Q[size_t(kv)][0]);
        const QPointF l1 = b1 + QPointF(Q[size_t(kh)][1], -Q[size_t(kv)][1]);
        if (IT == 0) raise(err::DivisionByZero);
        for (int i = 0; i <= IT; ++i) {
            const double f = double(i) / IT;
            const QPointF base = b0 + f * (b1 - b0), load = l0 + f * (l1 - l0);
            strich(base, load);
            PFEIL(load.x(), load.y(), base.x(), base.y());
        }
        strich(l0, l1);
        return std::pair(l0, l1);
    };
    std::pair<QPointF, QPointF> first;
    if (!g.step([&] { first = schicht(E[0], E[1], 0, 1); })) return;
    g.step([&] { schicht(first.first, first.second, 2, 3); });
}

void clsGRAFIK::SCHNITTKRAFT(double X1, double Y1, double X2, double Y2, double SHHH, int16_t TYP, int16_t SY) {
    Guard g(kFehler, QStringLiteral("Schnittkraft"));
    const double sh = SHHH * 10;
    QPointF P1, P2;
    if (!g.step([&] {
            P1 = welt(X1, Y1);
            P2 = welt(X2, Y2);
            strich(P1, P2);
        }))
        return;
    if (SY != 1) return;
    g.step([&] {
        const double th = RICHTUNGSWINKEL(P1.x(), P1.y(), P2.x(), P2.y()) * GRAD;
        const double f = std::hypot(P2.x() - P1.x(), P2.y() - P1.y()) / 2;
        auto u = [](double b) { return QPointF(std::cos(b), std::sin(b)); };
        QPointF E1, E2;
        if (TYP == 1) {
            const QPointF M = P1 + f * u(th);
            E1 = M - sh / 2 * u(th + PI_S / 2);
            E2 = M + sh / 2 * u(th + PI_S / 2);
        } else if (TYP == 2) {
            const QPointF M = P1 + f * u(th) + 1.25 * u(th - PI_S / 2);
            E1 = M - sh / 2 * u(th);
            E2 = M + sh / 2 * u(th);
        } else {
            return;
        }
        strich(E1, E2);
        PFEIL(E1.x(), E1.y(), E2.x(), E2.y());
        PFEIL(E2.x(), E2.y(), E1.x(), E1.y());
    });
}

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

    if (!g.step([&] { requireTarget(); zeichneAchsen(); })) return;
    g.step([&] { festerInhalt(); });
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

void clsGRAFIK::zeichneAchsen() {
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

void clsGRAFIK::festerInhalt() {
    const Variant obj(eidObjekt_);
    const Variant null16(int16_t(0));
    const QString kObj = QStringLiteral("IDOBJEKT"), kKen = QStringLiteral("KEN"), kNr = QStringLiteral("LFDNR");
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Skalen"));

    // Fixed texts.
    {
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
        if (g.left()) return;
    }

    // Fixed polylines.
    {
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
        if (g.left()) return;
    }

    // Fixed arcs.
    {
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
}

} // namespace vnt
