// The numbers of result page 1, apart from any widget: the record as the page reads it and the
// series each figure plots (scaled by the power of ten of pages/common). The page draws from
// these; tests check them without a screen.
#pragma once

#include "pages/common/PowerOfTen.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace vnt {

class clsDATEN;

// Everything the page reads of one record once at load (times in hours, depths in metres).
struct Page1Data {
    int32_t ID = 0;
    QString KEN, KOM;
    bool BONEU = false;

    float NN = 0, ZGW = 0;
    bool BOZGW = false;
    QString KENK;
    int16_t K = 0, ZAUF = 0;
    int16_t IMAX = 0;

    std::vector<float> Z, ZKT, ZKV, ZKL, ZKF, DEZ, NTZ, AUZ, PPZ, STZ, BRZ, EKT, EKV, EKL, EKF;
    std::vector<int16_t> PER;
    std::vector<QString> KENT, KENV, KENL, KENF, KENG, KOMT, KOMV, KOML, KOMF, KOMG;

    float SUMDEZ = 0, SUMZKT = 0, SUMZKV = 0, SUMZKL = 0, SUMZKF = 0;
    float EKP = 0, FKG = 0, FKP = 0, FZK = 0;
    int16_t KENKPG = 0;

    void resize(int n);
};

// The accessors the page data are read through, bound to the active record (the presets by
// their text key).
struct Page1Accessors {
    clsDATEN *E1, *E2, *E3, *E4, *E6, *A2, *V11, *V12, *V13, *V14, *V2, *V3;
};

// Reads header, options, sections, totals and the unit-cost set; reports progress 45..65.
// A failed read ends the reading where it stands: the factors are then not applied.
void DATENEINGABE(Page1Data &D, const Page1Accessors &A, const std::function<void(int)> &progress);
// Reads the options and the unit-cost set again and applies the new factors to the
// equipment and staff unit costs and to the additional-cost totals.
void OPTIONENNEULESEN(Page1Data &D, const Page1Accessors &A);

// ---- the series of the figures; index 0 is the ground surface ------------------------------

// Figure 11: boundary depths and the depths their labels stand at, at least 4 mm apart
// (`abstand`, in depth units). With a lowest depth given (the plot's end) no label lies below
// it: crowded labels move up above their boundaries, and where even then 4 mm a label do not
// fit, the labels share the depth evenly and `abstand` is what each one gets.
struct ProfileDepths {
    std::vector<double> grenze, beschriftung;
    double abstand = 0;
};
ProfileDepths profileDepths(const std::vector<float> &Z, float MY,
                          double unten = std::numeric_limits<double>::infinity());

// Figure 12: the accumulated times against depth.
struct TimeCurves {
    std::vector<double> tiefe, netto, mitAUZ, mitPPZ, mitSTZ, brutto;
};
TimeCurves timeCurves(const Page1Data &D);

// Figure 13: advance rates per section (a section without time has no rate and shows 0).
struct AdvanceRates {
    std::vector<double> tiefe, brutto, netto;
};
AdvanceRates advanceRates(const Page1Data &D);

// Figures 15 and 16: the stacked cost curves of one breakdown, in legend order, unscaled.
struct CostCurve {
    std::vector<double> werte;
    QString legende;
    int farbe = 0;
};
struct CostCurves {
    std::vector<double> tiefe, summe;
    std::vector<CostCurve> kurven;
    QString titel;     // the cost-axis title before the unit; empty for an unknown breakdown
};
// Costs accumulated over depth (figure 15).
CostCurves costCurves(const Page1Data &D, int K);
// Costs per metre of each section (figure 16); a section of no length costs nothing per metre.
CostCurves unitCostCurves(const Page1Data &D, int K);

// Figure 14: the distinct keys with their comments in the order of first appearance.
struct LegendList {
    std::vector<QString> schluessel, kommentar;
};
LegendList equipmentLegend(const Page1Data &D);
LegendList rockLegend(const Page1Data &D);
// A comment longer than 30 characters is cut to 30 and "...".
QString legendComment(const QString &kommentar);

} // namespace vnt
