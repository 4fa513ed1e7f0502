// Geometry of the figures: automatic axes, scales, angles, clipping.
#include "drawing/GrafikMath.h"

#include "platform/errors.h"

#include <algorithm>
#include <cmath>

namespace vnt::grafik {

namespace {

double at(const Liste &l, int i) {
    if (i < 0 || i >= int(l.size())) raise(err::SubscriptOutOfRange);
    return l[size_t(i)];
}

int atInt(const Liste &l, int i) {
    const double v = at(l, i);
    if (!std::isfinite(v) || std::fabs(v) > 32767) raise(err::Overflow);
    return int(std::nearbyint(v));
}

// The automatic limit from the data: the first value (or the stored one) widened by all values.
void fromData(bool restart, bool lower, const std::vector<double> &d, double &limit) {
    bool started = !restart;
    for (double v : d) {
        if (!std::isfinite(v)) continue;
        if (!started) {
            limit = v;
            started = true;
        } else if (lower ? v < limit : v > limit) {
            limit = v;
        }
    }
}

// Snap down: the first i with L(i-1) <= v < L(i) gives L(i-1).
bool snapDown(const Liste &L, double &v) {
    for (size_t i = 1; i < L.size(); ++i)
        if (L[i - 1] <= v && v < L[i]) {
            v = L[i - 1];
            return true;
        }
    return false;
}

// Snap up: the first i with L(i-1) < v <= L(i) gives L(i).
bool snapUp(const Liste &L, double &v) {
    for (size_t i = 1; i < L.size(); ++i)
        if (L[i - 1] < v && v <= L[i]) {
            v = L[i];
            return true;
        }
    return false;
}

// Decades between the limits of a log axis: the minimum, every power of ten above it up to
// the maximum, and the maximum.
std::vector<double> dekaden(double MIN, double MAX) {
    int e1 = 11;
    for (int e = -10; e <= 10; ++e)
        if (std::pow(10.0, e) > MIN) {
            e1 = e;
            break;
        }
    std::vector<double> t{LOG10(MIN)};
    // However many decades the axis spans: a figure over twelve decades keeps its upper ones.
    for (int e = e1; e <= 10; ++e) {
        if (std::pow(10.0, e) > MAX) break;
        t.push_back(e);
    }
    t.push_back(LOG10(MAX));
    return t;
}

} // namespace

double LOG10(double x) {
    if (!(x > 0) || !std::isfinite(x)) return 0;
    return std::log(x) / std::log(10.0);
}

namespace {

// The ticks of a logarithmic axis with ten per decade: the limits and every multiple of a
// power of ten between them, as exponents.
std::vector<double> logarithmicTicks(double MIN, double MAX)
{
    int e1 = 11;
    for (int e = -10; e <= 10; ++e)
        if (std::pow(10.0, e) > MIN) {
            e1 = e;
            break;
        }
    int j1 = 0;
    for (int j = 1; j <= 9; ++j)
        if (j * std::pow(10.0, e1 - 1) >= MIN) {
            j1 = j;
            break;
        }
    int e2 = e1 - 1;
    for (int e = e1; e <= 10; ++e) {
        if (std::pow(10.0, e) > MAX) break;
        e2 = e;
    }
    int j2 = 0;
    for (int j = 1; j <= 9; ++j)
        if (j * std::pow(10.0, e2) >= MAX) {
            j2 = j;
            break;
        }
    std::vector<double> t{LOG10(MIN)};
    if (e2 < e1) {
        // Minimum and maximum in one decade: only the multiples between them.
        for (int m = j1 + 1; m <= j2 - 1; ++m) t.push_back((e1 - 1) + LOG10(m));
    } else {
        for (int m = j1 + 1; m <= 9; ++m) t.push_back((e1 - 1) + LOG10(m));
        for (int e = e1; e <= e2 - 1; ++e)
            for (int m = 0; m <= 9; ++m) t.push_back(e + LOG10(m));
        for (int m = 1; m <= j2 - 1; ++m) t.push_back(e2 + LOG10(m));
    }
    t.push_back(LOG10(MAX));
    return t;
}

// A linear axis: limits snapped to the list of minima (those taken from the data), the span
// to the first step of LDIFF that holds it, and the ticks, grid and label counts of that step.
void linearScale(int NR, int BOMIN, int BOMAX, Achse &a, const Liste &LMIN, const Liste &LDIFF, const Liste &LIT,
                 const Liste &LGIT, const Liste &LZL)
{
    const double first = LMIN.front(), last = LMIN.back();
    if (BOMIN == -1) {
        if (a.MIN < first) a.MIN = first;
        else snapDown(LMIN, a.MIN);
    }
    if (BOMAX == -1) {
        if (a.MAX > last) a.MAX = last;
        else snapUp(LMIN, a.MAX);
    }
    if (LDIFF.empty()) raise(err::SubscriptOutOfRange);
    double D = a.MAX - a.MIN;
    const int n = int(LDIFF.size()) - 1;
    int k = 0;
    if (!std::isfinite(D) || D <= LDIFF[0]) {
        k = 0;
    } else if (D >= LDIFF[size_t(n)]) {
        k = n;
    } else {
        while (k < n && !(D <= LDIFF[size_t(k)])) ++k;
    }
    D = LDIFF[size_t(k)];
    if (NR != 1 && NR != 2) a.MAX = a.MIN + D;
    a.GIT = atInt(LGIT, k);
    a.ZL = atInt(LZL, k);
    a.IT = atInt(LIT, k);
    if (a.IT == 0) raise(err::DivisionByZero);
    if (a.IT < 0) raise(err::SubscriptOutOfRange);
    a.TICKS.assign(size_t(a.IT) + 1, 0);
    a.TICKS[0] = a.MIN;
    for (int i = 1; i <= a.IT; ++i) a.TICKS[size_t(i)] = a.TICKS[size_t(i) - 1] + D / a.IT;
}

// A logarithmic axis: limits are world values here.
void logarithmicScale(int BOMIN, int BOMAX, Achse &a, const Liste &LMIN, const Liste &LIT, const Liste &LGIT,
                      const Liste &LZL)
{
    const double first = LMIN.front(), last = LMIN.back();
    bool clamped = false;
    if (BOMIN == -1) {
        if (a.MIN < first) a.MIN = first;
        else snapDown(LMIN, a.MIN);
    }
    if (BOMAX == -1) {
        if (a.MAX > last) {
            a.MAX = last;
            clamped = true;
        } else {
            snapUp(LMIN, a.MAX);
        }
    }
    if (!clamped) {
        if (BOMIN == 0) snapDown(LMIN, a.MIN);
        if (BOMAX == 0) snapUp(LMIN, a.MAX);
    }
    const int lit0 = atInt(LIT, 0);
    a.IT = lit0;
    if (lit0 == 1) {
        a.TICKS = dekaden(a.MIN, a.MAX);
        a.IT = int(a.TICKS.size()) - 1;
    } else if (lit0 == 10) {
        a.TICKS = logarithmicTicks(a.MIN, a.MAX);
        a.IT = int(a.TICKS.size()) - 1;
    } else {
        a.TICKS = {LOG10(a.MIN)};
        a.IT = 0;
    }
    a.GIT = atInt(LGIT, 0);
    if (a.GIT == lit0) {
        a.GITTER = a.TICKS;
        a.GITTERANZAHL = a.IT;
    } else if (lit0 == 10 && a.GIT == 1) {
        a.GITTER = dekaden(a.MIN, a.MAX);
        a.GITTERANZAHL = int(a.GITTER.size()) - 1;
    }
    a.ZL = atInt(LZL, 0);
}

} // namespace

void SKALENAUTOMATIK(int NR, int BOMIN, int BOMAX, int SKT, const std::vector<double> &DATEN, Achse &a,
                     const Liste &LMIN, const Liste &LDIFF, const Liste &LIT, const Liste &LGIT, const Liste &LZL) {
    if (LMIN.empty()) raise(err::SubscriptOutOfRange);
    // A limit that is not a number (a stored value from a broken division) starts afresh.
    if (!std::isfinite(a.MIN)) a.MIN = LMIN.front();
    if (!std::isfinite(a.MAX)) a.MAX = LMIN.back();
    const bool restart = std::abs(NR) == 1;
    if (BOMIN == -1) fromData(restart, true, DATEN, a.MIN);
    if (BOMAX == -1) fromData(restart, false, DATEN, a.MAX);
    if (SKT != 1)
        linearScale(NR, BOMIN, BOMAX, a, LMIN, LDIFF, LIT, LGIT, LZL);
    else
        logarithmicScale(BOMIN, BOMAX, a, LMIN, LIT, LGIT, LZL);
}

void MASSSTAB(double XMIN, double XMAX, double YMIN, double YMAX, double ELX, double ELY, double RL, double RR,
              double RU, double RO, double MYMX, double &MX, double &MY) {
    if (MX == 0) {
        const double w = ELX - RL - RR;
        if (w == 0) raise(err::DivisionByZero);
        MX = (XMAX - XMIN) / w;
    }
    if (MY == 0) {
        const double h = ELY - RO - RU;
        if (h == 0) raise(err::DivisionByZero);
        MY = (YMAX - YMIN) / h;
    }
    if (MYMX > 0) {
        if (MX > MY) MY = MYMX * MX;
        else MX = MY / MYMX;
    }
}

double RICHTUNGSWINKEL(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    double a;
    if (dx == 0 && dy == 0) return 0;
    if (dx == 0) a = dy > 0 ? HALBPI_S : 3 * HALBPI_S;
    else if (dy == 0) a = dx > 0 ? 0 : PI_S;
    else {
        a = std::atan(dy / dx);
        if (dx < 0) a += PI_S;
        else if (dy < 0) a += 2 * PI_S;
    }
    double w = a / GRAD;
    if (w >= 360) w -= 360;
    if (w < 0) w = 0;
    return w;
}

double rund6(double v) { return std::nearbyint(v * 1e6) / 1e6; }

bool clipSegment(QPointF &a, QPointF &b, const QRectF &r) {
    const double L = rund6(r.left()), R = rund6(r.right()), T = rund6(r.top()), B = rund6(r.bottom());
    double x1 = rund6(a.x()), y1 = rund6(a.y()), x2 = rund6(b.x()), y2 = rund6(b.y());
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
        return true;
    };
    if (!edge(-dx, x1 - L) || !edge(dx, R - x1) || !edge(-dy, y1 - T) || !edge(dy, B - y1)) return false;
    QPointF na(x1 + t0 * dx, y1 + t0 * dy), nb(x1 + t1 * dx, y1 + t1 * dy);
    // Keep the ends exactly on the edges they were moved to.
    auto pin = [&](QPointF &p) {
        p.setX(std::clamp(p.x(), L, R));
        p.setY(std::clamp(p.y(), T, B));
    };
    pin(na);
    pin(nb);
    a = na;
    b = nb;
    return true;
}

void BOGENQUADRANTEN(int von, int bis, bool ganz, Quadranten &q) {
    for (int k = std::max(1, von); k <= std::min(4, bis); ++k) {
        if (ganz) {
            q.aktiv[size_t(k)] = true;
            q.teil[1][size_t(k)] = true;
            q.anfang[1][size_t(k)] = (k - 1) * HALBPI_S;
            q.ende[1][size_t(k)] = k * HALBPI_S;
        } else {
            q.aktiv[size_t(k)] = false;
            for (int s = 1; s <= 2; ++s) {
                q.teil[size_t(s)][size_t(k)] = false;
                q.anfang[size_t(s)][size_t(k)] = 0;
                q.ende[size_t(s)][size_t(k)] = 0;
            }
        }
    }
}

void BOGENGRENZEN(int quadrant, Quadranten &q, double MPX, double MPY, double R, const std::array<QString, 2> &namen,
                  double XL, double XR, double YO, double YU) {
    const size_t k = size_t(quadrant);
    if (quadrant < 1 || quadrant > 4 || !q.aktiv[k]) return;
    if (R == 0) raise(err::DivisionByZero);
    const double u = std::fabs(MPX - XL) / R, t = std::fabs(MPX - XR) / R;
    const double o = std::fabs(MPY - YO) / R, m = std::fabs(MPY - YU) / R;
    auto acs = [](double r) {
        if (r > 1 + 1e-12) raise(5);
        return std::acos(std::min(1.0, r));
    };
    auto asn = [](double r) {
        if (r > 1 + 1e-12) raise(5);
        return std::asin(std::min(1.0, r));
    };
    auto clear = [&](int s) {
        q.teil[size_t(s)][k] = false;
        q.anfang[size_t(s)][k] = 0;
        q.ende[size_t(s)][k] = 0;
    };
    for (const QString &name : namen) {
        bool isEnd = false;
        double B = 0;
        const int col = name == QLatin1String("XMIN") ? 0 : name == QLatin1String("XMAX") ? 1
                      : name == QLatin1String("YMIN") ? 2 : name == QLatin1String("YMAX") ? 3 : -1;
        if (col < 0) continue;
        switch (quadrant * 10 + col) {
        case 10: isEnd = true; B = acs(u); break;
        case 11: isEnd = false; B = acs(t); break;
        case 12: isEnd = true; B = asn(o); break;
        case 13: isEnd = false; B = asn(m); break;
        case 20: isEnd = true; B = PI_S - acs(u); break;
        case 21: isEnd = false; B = PI_S - acs(t); break;
        case 22: isEnd = false; B = PI_S - asn(o); break;
        case 23: isEnd = true; B = PI_S - asn(m); break;
        case 30: isEnd = false; B = PI_S + acs(u); break;
        case 31: isEnd = true; B = PI_S + acs(t); break;
        case 32: isEnd = false; B = PI_S + asn(o); break;
        case 33: isEnd = true; B = PI_S + asn(m); break;
        case 40: isEnd = false; B = 2 * PI_S - acs(u); break;
        case 41: isEnd = true; B = 2 * PI_S - acs(t); break;
        case 42: isEnd = true; B = 2 * PI_S - asn(o); break;
        case 43: isEnd = false; B = 2 * PI_S - asn(m); break;
        }
        double &a1 = q.anfang[1][k], &e1 = q.ende[1][k];
        const bool ordinary = e1 > a1;
        if (isEnd) {
            if (ordinary) {
                if (B < e1) {
                    if (B > a1) e1 = B;
                    else clear(1);
                }
            } else if (B < q.ende[2][k]) {
                q.ende[2][k] = B;
                clear(1);
            } else if (B > a1) {
                e1 = B;
            } else {
                clear(1);
            }
        } else {
            if (ordinary) {
                if (B >= e1) clear(1);
                else if (B > a1) a1 = B;
            } else if (B > a1) {
                a1 = B;
                clear(2);
            } else if (B >= q.ende[2][k]) {
                clear(2);
            } else if (col == 2 && (quadrant == 2 || quadrant == 3)) {
                a1 = B;
            } else {
                q.anfang[2][k] = B;
            }
        }
    }
}

void clipArcQuadrants(Quadranten &q, double MPX, double MPY, double R, double XL, double XR, double YO, double YU) {
    const double D1 = std::hypot(MPX - XR, MPY - YO), D2 = std::hypot(MPX - XL, MPY - YO);
    const double D3 = std::hypot(MPX - XL, MPY - YU), D4 = std::hypot(MPX - XR, MPY - YU);
    const QString left = QStringLiteral("XMIN"), right = QStringLiteral("XMAX"), upper = QStringLiteral("YMIN"),
                  lower = QStringLiteral("YMAX");
    const bool reachesRight = MPX + R > XR, reachesLeft = MPX - R < XL;
    const bool reachesUpper = MPY - R < YO, reachesLower = MPY + R > YU;
    auto drop = [&](int quadrant) { BOGENQUADRANTEN(quadrant, quadrant, false, q); };
    // Keeps one quadrant (0: none) and drops the others.
    auto keepOnly = [&](int kept) {
        for (int k = 1; k <= 4; ++k)
            if (k != kept) drop(k);
    };
    // The edges each quadrant's arc crosses, at its start and at its end; empty: none.
    std::array<std::array<QString, 2>, 5> names{};
    auto name = [](bool when, const QString &edge) { return when ? edge : QString(); };

    const int h = MPX <= XL ? 0 : MPX >= XR ? 2 : 1;   // left, middle, right
    const int v = MPY <= YO ? 0 : MPY >= YU ? 2 : 1;   // above, middle, below
    switch (h * 3 + v) {
    case 4:   // inside
        if (R > D1) drop(1);
        if (R > D2) drop(2);
        if (R > D3) drop(3);
        if (R > D4) drop(4);
        names[1] = {name(reachesRight, right), name(reachesUpper, upper)};
        names[2] = {name(reachesUpper, upper), name(reachesLeft, left)};
        names[3] = {name(reachesLeft, left), name(reachesLower, lower)};
        names[4] = {name(reachesLower, lower), name(reachesRight, right)};
        break;
    case 1:   // left of the figure
        drop(2), drop(3);
        if (R >= D1) drop(1);
        if (R >= D4) drop(4);
        if (MPX + R <= XL) keepOnly(0);
        names[1] = {name(reachesRight, right), R >= D2 ? upper : left};
        names[4] = {R >= D3 ? lower : left, name(reachesRight, right)};
        break;
    case 7:   // right of it
        drop(1), drop(4);
        if (R >= D2) drop(2);
        if (R >= D3) drop(3);
        if (MPX - R >= XR) keepOnly(0);
        names[2] = {R >= D1 ? upper : right, name(reachesLeft, left)};
        names[3] = {name(reachesLeft, left), R >= D4 ? lower : right};
        break;
    case 3:   // above it
        drop(1), drop(2);
        if (R >= D3) drop(3);
        if (R >= D4) drop(4);
        if (MPY + R <= YO) keepOnly(0);
        names[3] = {R >= D2 ? left : upper, name(reachesLower, lower)};
        names[4] = {name(reachesLower, lower), R >= D1 ? right : upper};
        break;
    case 5:   // below it
        drop(3), drop(4);
        if (R >= D1) drop(1);
        if (R >= D2) drop(2);
        if (MPY - R >= YU) keepOnly(0);
        names[1] = {R >= D4 ? right : lower, name(reachesUpper, upper)};
        names[2] = {name(reachesUpper, upper), R >= D3 ? left : lower};
        break;
    case 0:   // above left: only quadrant 4 can reach the figure
        keepOnly(R <= D2 || R >= D4 ? 0 : 4);
        names[4] = {R < D3 ? left : lower, R < D1 ? upper : right};
        break;
    case 2:   // below left: quadrant 1
        keepOnly(R <= D3 || R >= D1 ? 0 : 1);
        names[1] = {R < D4 ? lower : right, R < D2 ? left : upper};
        break;
    case 6:   // above right: quadrant 3
        keepOnly(R <= D1 || R >= D3 ? 0 : 3);
        names[3] = {R < D2 ? upper : left, R < D4 ? right : lower};
        break;
    case 8:   // below right: quadrant 2
        keepOnly(R <= D4 || R >= D2 ? 0 : 2);
        names[2] = {R < D1 ? right : upper, R < D3 ? lower : left};
        break;
    }
    for (int k = 1; k <= 4; ++k)
        BOGENGRENZEN(k, q, MPX, MPY, R, names[size_t(k)], XL, XR, YO, YU);
}

std::vector<int> auswahl(int code, int n) {
    std::vector<int> out;
    if (n <= 0 || code == 0) return out;
    if (code == -1) out = {0};
    else if (code == 1) out = {n - 1};
    else if (code == 2) {
        out = {0};
        if (n > 1) out.push_back(n - 1);
    } else if (code >= 3) {
        int k = int(std::nearbyint(double(n - 1) / (code - 1)));
        if (k <= 0) k = 1;
        for (int i = 0; i < n; i += k) out.push_back(i);
    } else {
        for (int i = 0; i < n; ++i) out.push_back(i);
    }
    return out;
}

} // namespace vnt::grafik
