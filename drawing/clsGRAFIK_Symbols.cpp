// The drawing object's arrows, arcs and engineering symbols: level triangles, ground hatching,
// load areas and internal forces.
#include "drawing/clsGRAFIK.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK_Shared.h"
#include "platform/Guard.h"
#include "platform/errors.h"

#include <cmath>

namespace vnt {

using namespace grafik;
using namespace grafik_shared;

// ---- arrows -------------------------------------------------------------------------------

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

// ---- arcs ---------------------------------------------------------------------------------

void clsGRAFIK::KREISBOGEN(double MPX, double MPY, double WI, double X1, double Y1, int16_t LAGEPFEIL,
                           int16_t /*BOGRENZEN*/) {
    Guard g(kFehler, QStringLiteral("Kreisbogen"));
    const double XL = rund6(exdl_), XR = rund6(exdl_ + elx_), YO = rund6(eydo_), YU = rund6(eydo_ + ely_);
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

    if (R > 0 && !g.step([&] { drawArcPieces(M, R, std::min(A1, A2), WIR, XL, XR, YO, YU); }))
        return;

    // End marks: drawn unclipped, on the arc's ends.
    drawArcEnds(g, M, S, R, A1, A2, gedreht, LAGEPFEIL);
}

// The arc from angle `start` over |WIR|, split where it passes the full turn, drawn quadrant by
// quadrant inside the plot (XL..XR, YO..YU).
void clsGRAFIK::drawArcPieces(QPointF M, double R, double start, double WIR, double XL, double XR, double YO, double YU)
{
    const double zweiPi = 2 * PI_S;
    const double cx = M.x(), cy = M.y();
    double Lw = start;
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
}

// The arc's end marks (arrow heads, dots) by LAGEPFEIL, as steps of the arc's guard.
void clsGRAFIK::drawArcEnds(Guard &g, QPointF M, QPointF S, double R, double A1, double A2, bool gedreht,
                            int16_t LAGEPFEIL)
{
    const double cx = M.x(), cy = M.y();
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

} // namespace vnt
