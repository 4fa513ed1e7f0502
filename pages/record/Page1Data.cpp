// Reading result page 1's record and forming the series of its figures.
#include "pages/record/Page1Data.h"

#include "data/clsDATEN.h"
#include "platform/Guard.h"
#include "platform/errors.h"

#include <algorithm>
#include <cmath>

namespace vnt {

namespace {

const QString kI2 = QStringLiteral("I2");

// Halves go to the even neighbour, as the progress steps are counted.
int gerundet(double x) { return int(std::nearbyint(x)); }

// Thrown to leave the reading quietly: the accessor has already shown its box.
struct Abbruch {};

void expectTransfer(bool ok)
{
    if (!ok)
        throw Abbruch{};
}

// Reads the unit-cost set of KENK; true when every read succeeded.
bool kostensatz(Page1Data &D, clsDATEN &V3)
{
    V3.setESPK1(QStringLiteral("KENK"));
    V3.setESPK1W(D.KENK);
    return V3.DTVS(QStringLiteral("EKP"), D.EKP) && V3.DTVS(QStringLiteral("FKG"), D.FKG)
        && V3.DTVS(QStringLiteral("FKP"), D.FKP) && V3.DTVS(QStringLiteral("FZK"), D.FZK)
        && V3.DTVI(QStringLiteral("KENKPG"), D.KENKPG);
}

bool optionen(Page1Data &D, clsDATEN &E6)
{
    return E6.DTVT(QStringLiteral("KENK"), D.KENK) && E6.DTVI(QStringLiteral("K"), D.K)
        && E6.DTVI(QStringLiteral("ZAUF"), D.ZAUF);
}

void preset(clsDATEN &acc, const char *keyColumn, const QString &key, const char *kom, QString &komOut,
            const char *ek, float *ekOut)
{
    acc.setESPK1(QString::fromLatin1(keyColumn));
    acc.setESPK1W(key);
    expectTransfer(acc.DTVT(QString::fromLatin1(kom), komOut));
    if (ek)
        expectTransfer(acc.DTVS(QString::fromLatin1(ek), *ekOut));
}

} // namespace

void Page1Data::resize(int n)
{
    for (auto *v : {&Z, &ZKT, &ZKV, &ZKL, &ZKF, &DEZ, &NTZ, &AUZ, &PPZ, &STZ, &BRZ, &EKT, &EKV, &EKL, &EKF})
        v->assign(size_t(n), 0.0f);
    PER.assign(size_t(n), 0);
    for (auto *v : {&KENT, &KENV, &KENL, &KENF, &KENG, &KOMT, &KOMV, &KOML, &KOMF, &KOMG})
        v->assign(size_t(n), QString());
}

namespace {

// One step of the data step's guard; false once the user cancelled or a transfer failed.
using DataStep = std::function<bool(const std::function<void()> &)>;

// Reads section i: depth, devices and additional costs, rock, results, and the presets' texts
// and costs of its devices. False when the data step ends.
bool readSection(const DataStep &step, Page1Data &D, const Page1Accessors &A, int i,
                 const std::function<void(int)> &progress)
{
    const size_t s = size_t(i);
    const Variant key{int16_t(i)};
    // One section reads as one fraction of the loop; a single section has none to count.
    const double anteil = D.IMAX > 0 ? double(i) / D.IMAX : 0.0;
    if (!step([&] {
            expectTransfer(A.E2->DTVS(QStringLiteral("Z"), D.Z[s], kI2, key));
            expectTransfer(A.E3->DTVT(QStringLiteral("KENT"), D.KENT[s], kI2, key));
            expectTransfer(A.E3->DTVT(QStringLiteral("KENV"), D.KENV[s], kI2, key));
            expectTransfer(A.E3->DTVT(QStringLiteral("KENL"), D.KENL[s], kI2, key));
            expectTransfer(A.E3->DTVT(QStringLiteral("KENF"), D.KENF[s], kI2, key));
            expectTransfer(A.E3->DTVS(QStringLiteral("ZKT"), D.ZKT[s], kI2, key));
            D.SUMZKT += D.ZKT[s];
            expectTransfer(A.E3->DTVS(QStringLiteral("ZKV"), D.ZKV[s], kI2, key));
            D.SUMZKV += D.ZKV[s];
            expectTransfer(A.E3->DTVS(QStringLiteral("ZKL"), D.ZKL[s], kI2, key));
            D.SUMZKL += D.ZKL[s];
            expectTransfer(A.E3->DTVS(QStringLiteral("ZKF"), D.ZKF[s], kI2, key));
            D.SUMZKF += D.ZKF[s];
            progress(52 + gerundet(4 * anteil));
        }))
        return false;
    if (!step([&] { expectTransfer(A.E4->DTVT(QStringLiteral("KENG"), D.KENG[s], kI2, key)); }))
        return false;
    if (!step([&] {
            expectTransfer(A.A2->DTVS(QStringLiteral("DEZ"), D.DEZ[s], kI2, key));
            D.SUMDEZ += D.DEZ[s];
            expectTransfer(A.A2->DTVS(QStringLiteral("NTZ"), D.NTZ[s], kI2, key));
            expectTransfer(A.A2->DTVS(QStringLiteral("AUZ"), D.AUZ[s], kI2, key));
            expectTransfer(A.A2->DTVS(QStringLiteral("PPZ"), D.PPZ[s], kI2, key));
            expectTransfer(A.A2->DTVS(QStringLiteral("STZ"), D.STZ[s], kI2, key));
            expectTransfer(A.A2->DTVS(QStringLiteral("BRZ"), D.BRZ[s], kI2, key));
            expectTransfer(A.A2->DTVI(QStringLiteral("PER"), D.PER[s], kI2, key));
            progress(52 + gerundet(6 * anteil));
        }))
        return false;
    if (!step([&] {
            preset(*A.V11, "KENT", D.KENT[s], "KOMT", D.KOMT[s], "EKT", &D.EKT[s]);
            preset(*A.V12, "KENV", D.KENV[s], "KOMV", D.KOMV[s], "EKV", &D.EKV[s]);
            preset(*A.V13, "KENL", D.KENL[s], "KOML", D.KOML[s], "EKL", &D.EKL[s]);
            preset(*A.V14, "KENF", D.KENF[s], "KOMF", D.KOMF[s], "EKF", &D.EKF[s]);
            preset(*A.V2, "KENG", D.KENG[s], "KOMG", D.KOMG[s], nullptr, nullptr);
            progress(52 + gerundet(8 * anteil));
        }))
        return false;
    return true;
}

// The cost set's factors applied: device costs by FKG, staff costs by FKP, additional costs by FZK.
void applyCostFactors(Page1Data &D)
{
    for (int i = 0; i <= D.IMAX; ++i) {
        const size_t s = size_t(i);
        D.EKT[s] *= D.FKG;
        D.EKV[s] *= D.FKG;
        D.EKF[s] *= D.FKG;
        D.EKL[s] *= D.FKG;
    }
    D.EKP *= D.FKP;
    D.SUMZKT *= D.FZK;
    D.SUMZKV *= D.FZK;
    D.SUMZKL *= D.FZK;
    D.SUMZKF *= D.FZK;
}

} // namespace

void DATENEINGABE(Page1Data &D, const Page1Accessors &A, const std::function<void(int)> &progress)
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Dateneingabe; Seite 1"));
    const auto step = [&](const std::function<void()> &f) {
        bool abgebrochen = false;
        const bool weiter = g.step([&] {
            try {
                f();
            } catch (const Abbruch &) {
                abgebrochen = true;
            }
        });
        return weiter && !abgebrochen;
    };

    D.SUMDEZ = D.SUMZKT = D.SUMZKV = D.SUMZKL = D.SUMZKF = 0;
    D.BOZGW = false;
    D.resize(1);

    if (!step([&] {
            expectTransfer(A.E1->DTVS(QStringLiteral("NN"), D.NN));
            Variant zgw;
            expectTransfer(A.E1->DTVV(QStringLiteral("ZGW"), zgw));
            D.BOZGW = !zgw.isEmpty() && !zgw.isNull();
            if (D.BOZGW)
                D.ZGW = float(zgw.toDouble());
            progress(45);
        }))
        return;
    if (!step([&] {
            expectTransfer(optionen(D, *A.E6));
            progress(48);
        }))
        return;
    if (!step([&] {
            int16_t mini = 0, maxi = 0, an = 0;
            A.E2->INDEX(mini, maxi, an, kI2);
            D.IMAX = std::max<int16_t>(maxi, 0);
            D.resize(D.IMAX + 1);
            progress(52);
        }))
        return;

    for (int i = 0; i <= D.IMAX; ++i)
        if (!readSection(step, D, A, i, progress))
            return;

    if (!step([&] {
            expectTransfer(kostensatz(D, *A.V3));
            progress(65);
        }))
        return;
    step([&] { applyCostFactors(D); });
}

void OPTIONENNEULESEN(Page1Data &D, const Page1Accessors &A)
{
    if (!optionen(D, *A.E6))
        return;
    if (!kostensatz(D, *A.V3))
        return;
    // The additional-cost totals take the new set's factor too, as a fresh load gives them.
    D.SUMZKT = D.SUMZKV = D.SUMZKL = D.SUMZKF = 0;
    for (size_t s = 0; s < D.ZKT.size(); ++s) {
        D.SUMZKT += D.ZKT[s];
        D.SUMZKV += D.ZKV[s];
        D.SUMZKL += D.ZKL[s];
        D.SUMZKF += D.ZKF[s];
    }
    D.SUMZKT *= D.FZK;
    D.SUMZKV *= D.FZK;
    D.SUMZKL *= D.FZK;
    D.SUMZKF *= D.FZK;
    for (int i = 0; i <= D.IMAX && size_t(i) < D.EKT.size(); ++i) {
        const size_t s = size_t(i);
        // The stored preset costs times the new factor, as the load computes them.
        const auto neu = [&](clsDATEN &acc, const char *keyColumn, const QString &key, const char *ek, float &out) {
            acc.setESPK1(QString::fromLatin1(keyColumn));
            acc.setESPK1W(key);
            float v = 0;
            if (acc.DTVS(QString::fromLatin1(ek), v))
                out = v * D.FKG;
        };
        neu(*A.V11, "KENT", D.KENT[s], "EKT", D.EKT[s]);
        neu(*A.V12, "KENV", D.KENV[s], "EKV", D.EKV[s]);
        neu(*A.V13, "KENL", D.KENL[s], "EKL", D.EKL[s]);
        neu(*A.V14, "KENF", D.KENF[s], "EKF", D.EKF[s]);
    }
    D.EKP *= D.FKP;
}

ProfileDepths profileDepths(const std::vector<float> &Z, float MY, double unten)
{
    ProfileDepths t;
    const size_t n = Z.size() + 1;
    t.grenze.assign(n, 0.0);
    t.beschriftung.assign(n, 0.0);
    const bool begrenzt = std::isfinite(unten) && unten > 0 && n > 1;
    float abstand = 4 * MY;
    if (begrenzt && double(abstand) * double(n - 1) > unten)
        abstand = float(unten / double(n - 1));
    t.abstand = abstand;
    for (size_t i = 1; i < n; ++i) {
        t.grenze[i] = Z[i - 1];
        const float vorige = float(t.beschriftung[i - 1]);
        t.beschriftung[i] = abstand > Z[i - 1] - vorige ? double(vorige + abstand) : double(Z[i - 1]);
    }
    if (!begrenzt)
        return t;
    // From the plot's end upwards: the last labels give way to the end, each one keeping its
    // distance to the one below.
    t.beschriftung[n - 1] = std::min(t.beschriftung[n - 1], unten);
    for (size_t i = n - 2; i >= 1; --i)
        t.beschriftung[i] = std::min(t.beschriftung[i], t.beschriftung[i + 1] - double(abstand));
    return t;
}

TimeCurves timeCurves(const Page1Data &D)
{
    TimeCurves k;
    const size_t n = D.Z.size() + 1;
    for (auto *v : {&k.tiefe, &k.netto, &k.mitAUZ, &k.mitPPZ, &k.mitSTZ, &k.brutto})
        v->assign(n, 0.0);
    float netto = 0, auz = 0, ppz = 0, stz = 0, brutto = 0;
    for (size_t i = 1; i < n; ++i) {
        const size_t s = i - 1;
        netto += D.NTZ[s];
        auz += D.NTZ[s] + D.AUZ[s];
        ppz += D.NTZ[s] + D.AUZ[s] + D.PPZ[s];
        stz += D.NTZ[s] + D.AUZ[s] + D.PPZ[s] + D.STZ[s];
        brutto += D.BRZ[s];
        k.tiefe[i] = D.Z[s];
        k.netto[i] = netto;
        k.mitAUZ[i] = auz;
        k.mitPPZ[i] = ppz;
        k.mitSTZ[i] = stz;
        k.brutto[i] = brutto;
    }
    return k;
}

AdvanceRates advanceRates(const Page1Data &D)
{
    AdvanceRates g;
    const size_t n = D.Z.size() + 1;
    g.tiefe.assign(n, 0.0);
    g.brutto.assign(n, 0.0);
    g.netto.assign(n, 0.0);
    for (size_t i = 1; i < n; ++i) {
        g.tiefe[i] = D.Z[i - 1];
        const float laenge = float(g.tiefe[i]) - float(g.tiefe[i - 1]);
        const float brz = D.BRZ[i - 1], ntz = D.NTZ[i - 1];
        g.brutto[i] = brz > 0 ? double(laenge / brz) : 0.0;
        g.netto[i] = ntz > 0 ? double(laenge / ntz) : 0.0;
    }
    return g;
}

namespace {

struct Reihe {
    int teil;          // how many parts the curve stacks
    const char *legende;
    int farbe;
};

// The legend rows of each breakdown; levels count the parts stacked (1 = the first part alone).
const std::vector<Reihe> &reihen(int K)
{
    static const std::vector<Reihe> k0{{1, "PKO", 9}, {2, "GKO", 12}};
    static const std::vector<Reihe> k1{{3, "PKOPPZ", 2}, {4, "PKOSTZ", 4}, {2, "PKOAUZ", 0}, {1, "PKONTZ", 1}};
    static const std::vector<Reihe> k2{{3, "GKOPPZ", 2}, {4, "GKOSTZ", 4}, {2, "GKOAUZ", 0}, {1, "GKONTZ", 1}};
    static const std::vector<Reihe> k3{{1, "GKOT", 1}, {2, "GKOV", 0}, {3, "GKOL", 2}, {4, "GKOF", 4}};
    static const std::vector<Reihe> keine;
    switch (K) {
    case 0: return k0;
    case 1: return k1;
    case 2: return k2;
    case 3: return k3;
    default: return keine;
    }
}

QString kostenTitel(int K)
{
    switch (K) {
    case 0: return QStringLiteral("Geräte- und Personalkosten");
    case 1: return QStringLiteral("Personalkosten");
    case 2:
    case 3: return QStringLiteral("Gerätekosten");
    default: return {};
    }
}

// The parts of one section's costs in the breakdown's order, per hour spent as the
// breakdown divides it.
std::vector<float> teile(const Page1Data &D, size_t s, int K)
{
    const float P = float(D.PER[s]) * D.EKP;
    const float G = D.EKT[s] + D.EKV[s] + D.EKL[s] + D.EKF[s];
    const float T = D.NTZ[s] + D.AUZ[s] + D.PPZ[s] + D.STZ[s];
    switch (K) {
    case 0: return {T * P, T * G};
    case 1: return {P * D.NTZ[s], P * D.AUZ[s], P * D.PPZ[s], P * D.STZ[s]};
    case 2: return {D.NTZ[s] * G, D.AUZ[s] * G, D.PPZ[s] * G, D.STZ[s] * G};
    case 3: return {T * D.EKT[s], T * D.EKV[s], T * D.EKL[s], T * D.EKF[s]};
    default: return {};
    }
}

CostCurves stapeln(const Page1Data &D, int K, bool jeMeter)
{
    CostCurves k;
    const size_t n = D.Z.size() + 1;
    k.tiefe.assign(n, 0.0);
    k.summe.assign(n, 0.0);
    k.titel = kostenTitel(K);
    const size_t anzahl = K == 0 ? 2 : 4;
    if (k.titel.isEmpty()) {
        return k;
    }
    std::vector<std::vector<float>> stufen(anzahl, std::vector<float>(n, 0.0f));
    std::vector<float> laufend(anzahl, 0.0f);
    for (size_t j = 1; j < n; ++j) {
        const size_t s = j - 1;
        k.tiefe[j] = D.Z[s];
        const float laenge = float(k.tiefe[j]) - float(k.tiefe[j - 1]);
        std::vector<float> t = teile(D, s, K);
        for (size_t p = 0; p < anzahl; ++p) {
            if (jeMeter)
                t[p] = laenge != 0 ? t[p] / laenge : 0.0f;
            else
                laufend[p] += t[p];
        }
        const std::vector<float> &werte = jeMeter ? t : laufend;
        float stufe = 0;
        for (size_t p = 0; p < anzahl; ++p) {
            stufe += werte[p];
            stufen[p][j] = stufe;
        }
        k.summe[j] = stufe;
    }
    for (const Reihe &r : reihen(K))
        k.kurven.push_back({std::vector<double>(stufen[size_t(r.teil - 1)].begin(), stufen[size_t(r.teil - 1)].end()),
                            QString::fromLatin1(r.legende), r.farbe});
    return k;
}

void eintragen(LegendList &l, bool &leer, const std::vector<QString> &keys, const std::vector<QString> &koms)
{
    for (size_t i = 0; i < keys.size(); ++i) {
        const QString &key = keys[i];
        bool bekannt = false;
        for (const QString &k : l.schluessel)
            if (k == key) {
                bekannt = true;
                break;
            }
        if (bekannt)
            continue;
        if (leer) {
            l.schluessel[0] = key;
            l.kommentar[0] = i < koms.size() ? koms[i] : QString();
            leer = false;
        } else {
            l.schluessel.push_back(key);
            l.kommentar.push_back(i < koms.size() ? koms[i] : QString());
        }
    }
}

} // namespace

CostCurves costCurves(const Page1Data &D, int K) { return stapeln(D, K, false); }
CostCurves unitCostCurves(const Page1Data &D, int K) { return stapeln(D, K, true); }

LegendList equipmentLegend(const Page1Data &D)
{
    LegendList l{{QString()}, {QString()}};
    bool leer = true;
    eintragen(l, leer, D.KENT, D.KOMT);
    eintragen(l, leer, D.KENV, D.KOMV);
    eintragen(l, leer, D.KENL, D.KOML);
    eintragen(l, leer, D.KENF, D.KOMF);
    return l;
}

LegendList rockLegend(const Page1Data &D)
{
    LegendList l{{QString()}, {QString()}};
    bool leer = true;
    eintragen(l, leer, D.KENG, D.KOMG);
    return l;
}

QString legendComment(const QString &kommentar)
{
    if (1.5 * kommentar.size() > 45)
        return kommentar.left(30) + QStringLiteral("...");
    return kommentar;
}

} // namespace vnt
