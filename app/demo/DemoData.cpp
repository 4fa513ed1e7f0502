// Sample presets and drilling records. The records are laid out as ground layers with
// their equipment and a net advance rate; the section times follow from a small time
// model with a fixed pseudo-random spread, so the installation is the same on every run.
// Each record exercises one way the evaluation completes its times. Every record comes
// evaluated (by the program's own arithmetic), so that its pages and the multiple evaluation
// of the active records can be shown at once.
#include "DemoData.h"

#include "input/Evaluation.h"

#include <cmath>
#include <optional>
#include <vector>

namespace vnt::demo {

namespace {

// ---- presets -------------------------------------------------------------------------

struct Device { const char *key; const char *comment; double cost; };

const Device kRigs[] = {
    {"DBG-12", "Drehbohrgerät 120 kNm, Raupenfahrwerk", 145.00},
    {"DBG-20", "Drehbohrgerät 200 kNm, Raupenfahrwerk", 185.00},
    {"DBG-28", "Drehbohrgerät 280 kNm, Kellybetrieb", 235.00},
    {"VRM-15", "Verrohrungsmaschine 1500 kN mit Seilbagger", 210.00},
    {"SBG-60", "Seilbagger 60 t für Greiferbetrieb", 165.00},
    {"KBA-08", "Kleinbohranlage 80 kNm am Mäkler", 110.00},
};
const Device kCasings[] = {
    {"VR-620", "Verrohrung DN 620, doppelwandig", 18.50},
    {"VR-880", "Verrohrung DN 880, doppelwandig", 24.00},
    {"VR-1180", "Verrohrung DN 1180, doppelwandig", 32.50},
    {"VR-1500", "Verrohrung DN 1500, doppelwandig", 41.00},
    {"SUSP", "unverrohrt, Stützung mit Bentonitsuspension", 6.50},
};
const Device kCuttingTools[] = {
    {"SCHN-FZ", "Schneckenbohrer mit Flachzähnen", 12.00},
    {"SCHN-RS", "Schneckenbohrer mit Rundschaftmeißeln", 19.50},
    {"KR-RS", "Kernrohr mit Rundschaftmeißeln", 26.00},
    {"KR-RM", "Kernrohr mit Rollenmeißeln", 38.00},
    {"BE-FZ", "Bohreimer mit Flachzähnen", 10.50},
    {"FM-3T", "Fallmeißel 3 t", 15.00},
};
const Device kConveyingTools[] = {
    {"SCHN", "Bohrschnecke", 4.00},
    {"BE", "Bohreimer", 7.50},
    {"GR-10", "Seilgreifer 1,0 m", 14.00},
    {"KR", "Kernrohr, Ziehen des Bohrkerns", 9.00},
    {"LH", "Lufthebeverfahren", 22.00},
};

// Strength in MPa, quartz content in percent, abrasivity index; -1 = not known.
struct Rock { const char *key; const char *comment; double sic[3], qg[3], cai[3]; };

const Rock kRocks[] = {
    {"S", "Sand, mitteldicht gelagert", {-1, -1, -1}, {80, 65, 95}, {-1, -1, -1}},
    {"KI", "Kies, sandig", {-1, -1, -1}, {70, 50, 85}, {-1, -1, -1}},
    {"U", "Schluff, tonig, steif", {-1, -1, -1}, {30, 20, 45}, {-1, -1, -1}},
    {"MG", "Mergelstein, verwittert", {8, 3, 15}, {12, 5, 20}, {0.6, 0.3, 1.0}},
    {"TS", "Tonstein", {15, 8, 25}, {18, 10, 30}, {0.9, 0.5, 1.4}},
    {"SST", "Sandstein, mittelkörnig", {45, 25, 70}, {65, 50, 80}, {2.4, 1.8, 3.1}},
    {"KST", "Kalkstein, gebankt", {80, 50, 120}, {3, 1, 8}, {1.1, 0.7, 1.6}},
    {"GR", "Granit, angewittert", {140, 90, 190}, {32, 25, 40}, {3.8, 3.0, 4.6}},
};

Value known(double v) { return v < 0 ? nul() : dbl(v); }

void fillDevices(DemoDatabase &db, const QString &table, const Device *rows, int n)
{
    for (int i = 0; i < n; ++i)
        db.insert(table, {num(i), txt(QString::fromUtf8(rows[i].key)), txt(QString::fromUtf8(rows[i].comment)), single(rows[i].cost)});
}

// ---- records -------------------------------------------------------------------------

// How a record gives its times, one per way the evaluation completes them.
enum class Times {
    SectionsWithParts,    // gross, net and the three ancillary parts per section
    SectionsWithFactors,  // gross and net per section, parts split by factors
    TotalsByFactor,       // whole-bore gross and net, spread by FA x length
    TotalsByLength,       // whole-bore gross and ancillary ratio, spread by length
};

struct Layer {
    double bottom;        // depth of the layer's lower edge, m
    double step;          // section length, m
    const char *rock, *rig, *casing, *cutting, *conveying;
    double rate;          // net advance rate, m/h
    double fa;            // spreading factor for whole-bore totals
};

// Additional costs of one section, euro.
struct Extra { int section; double zkt, zkv, zkl, zkf; };

struct Record {
    int id;
    const char *name, *comment;
    bool active;
    int startYear, startMonth, startDay, days;
    double nn;
    std::optional<double> zgw;
    double diameter;
    int crew;
    Times times;
    const char *costSet;
    int k, zauf;
    std::vector<Layer> layers;
    std::vector<Extra> extras;
    std::vector<int> standstill; // sections with a standstill (waiting, repair)
};

const std::vector<Record> &records()
{
    static const std::vector<Record> r = {
        {1, "BP-101", "Bohrpfahl Achse A, Zeiten je Abschnitt", true, 2026, 3, 2, 3, 112.40, 108.90, 0.88, 3,
         Times::SectionsWithParts, "EK-2026", 0, 1,
         {{3.0, 1.0, "KI", "DBG-20", "VR-880", "BE-FZ", "BE", 3.0, 1.0},
          {7.5, 1.5, "S", "DBG-20", "VR-880", "BE-FZ", "BE", 3.6, 1.0},
          {12.0, 1.5, "U", "DBG-20", "VR-880", "SCHN-FZ", "SCHN", 2.2, 1.2},
          {16.0, 1.0, "MG", "DBG-20", "VR-880", "SCHN-RS", "SCHN", 1.4, 1.6},
          {18.0, 1.0, "TS", "DBG-20", "VR-880", "KR-RS", "KR", 0.9, 2.0}},
         {{9, 0, 0, 0, 180.0}, {13, 0, 0, 420.0, 0}},
         {4, 12}},
        {2, "BP-102", "Bohrpfahl Achse B, Nebenzeiten über Faktoren aufgeteilt", false, 2026, 3, 9, 4, 112.15, 108.70, 1.18, 4,
         Times::SectionsWithFactors, "EK-2026", 1, 1,
         {{2.0, 1.0, "S", "DBG-28", "VR-1180", "BE-FZ", "BE", 3.0, 1.0},
          {8.0, 1.5, "KI", "DBG-28", "VR-1180", "BE-FZ", "BE", 2.5, 1.1},
          {14.0, 2.0, "U", "DBG-28", "VR-1180", "SCHN-FZ", "SCHN", 2.0, 1.2},
          {20.0, 1.5, "TS", "DBG-28", "VR-1180", "KR-RS", "KR", 0.8, 2.0},
          {23.0, 1.0, "SST", "DBG-28", "VR-1180", "KR-RM", "KR", 0.45, 3.0}},
         {},
         {7, 14}},
        {3, "BP-201", "Großbohrung Widerlager, Gesamtzeiten nach Faktoren verteilt", false, 2026, 4, 13, 6, 118.80, std::nullopt, 1.50, 5,
         Times::TotalsByFactor, "EK-2026", 3, 0,
         {{4.0, 2.0, "S", "VRM-15", "VR-1500", "FM-3T", "GR-10", 2.4, 1.0},
          {10.0, 2.0, "KI", "VRM-15", "VR-1500", "FM-3T", "GR-10", 2.0, 1.2},
          {16.0, 1.5, "U", "VRM-15", "VR-1500", "FM-3T", "GR-10", 1.6, 1.0},
          {24.0, 1.0, "SST", "VRM-15", "VR-1500", "KR-RM", "KR", 0.4, 2.5},
          {27.0, 1.0, "GR", "VRM-15", "VR-1500", "KR-RM", "KR", 0.22, 4.0}},
         {},
         {11}},
        {4, "BP-202", "Bohrung Stützwand, Gesamtzeit mit Nebenzeitanteil", false, 2026, 5, 4, 2, 121.05, 117.30, 0.62, 3,
         Times::TotalsByLength, "EK-PAUSCH", 0, 0,
         {{1.5, 0.5, "S", "KBA-08", "VR-620", "SCHN-FZ", "SCHN", 4.0, 1.0},
          {6.0, 0.75, "MG", "KBA-08", "VR-620", "SCHN-RS", "SCHN", 1.8, 1.5},
          {9.0, 0.5, "KST", "KBA-08", "VR-620", "KR-RS", "KR", 0.6, 2.8}},
         {},
         {}},
        {5, "SB-301", "Schachtbohrung Pumpwerk, Fels mit Zusatzkosten", true, 2026, 5, 18, 7, 109.60, 106.20, 1.50, 4,
         Times::SectionsWithParts, "EK-2026", 2, 1,
         {{3.0, 1.0, "KI", "DBG-28", "VR-1500", "BE-FZ", "BE", 2.2, 1.0},
          {5.0, 1.0, "U", "DBG-28", "VR-1500", "SCHN-FZ", "SCHN", 1.8, 1.2},
          {14.0, 0.5, "KST", "DBG-28", "VR-1500", "KR-RM", "KR", 0.55, 2.6},
          {17.0, 0.75, "GR", "DBG-28", "VR-1500", "KR-RM", "KR", 0.25, 4.2}},
         {{9, 0, 0, 850.0, 0}, {14, 1200.0, 0, 0, 0}, {18, 0, 0, 850.0, 0}, {21, 0, 380.0, 0, 0},
          {24, 0, 0, 1650.0, 0}, {26, 0, 0, 850.0, 260.0}},
         {14, 24}},
        {6, "BP-103", "Bohrpfahl Achse C, Vergleichspfahl", true, 2026, 3, 16, 2, 112.55, 108.95, 0.88, 3,
         Times::SectionsWithParts, "EK-2026", 0, 0,
         {{2.0, 1.0, "S", "DBG-12", "VR-880", "BE-FZ", "BE", 3.4, 1.0},
          {6.0, 1.0, "KI", "DBG-12", "VR-880", "BE-FZ", "BE", 2.8, 1.1},
          {9.0, 1.5, "U", "DBG-12", "VR-880", "SCHN-FZ", "SCHN", 2.0, 1.2},
          {12.0, 1.0, "MG", "DBG-12", "VR-880", "SCHN-RS", "SCHN", 1.2, 1.6}},
         {{7, 0, 0, 0, 300.0}},
         {}},
    };
    return r;
}

// A fixed linear congruential sequence: the same spread on every run and platform.
class Spread {
public:
    explicit Spread(unsigned seed) : s_(seed * 2654435761u + 1u) {}
    double next(double lo, double hi)
    {
        s_ = s_ * 1664525u + 1013904223u;
        return lo + (hi - lo) * double(s_ >> 8) / double(1u << 24);
    }
private:
    unsigned s_;
};

double quarter(double h) { return std::round(h * 20.0) / 20.0; } // hours to 0.05 h

struct Section {
    int i2;
    double z, dez;
    const Layer *layer;
    double ntz, auz, ppz, stz;
    double fauz, fppz, fstz;
};

std::vector<Section> sections(const Record &rec)
{
    std::vector<Section> out;
    Spread spread(unsigned(rec.id));
    double top = 0.0;
    for (const Layer &l : rec.layers) {
        while (top < l.bottom - 1e-9) {
            const double z = std::min(l.bottom, top + l.step);
            Section s{};
            s.i2 = int(out.size());
            s.z = std::round(z * 100.0) / 100.0;
            s.dez = z - top;
            s.layer = &l;
            s.ntz = std::max(0.05, quarter(s.dez / l.rate * spread.next(0.85, 1.2)));
            s.auz = quarter(s.ntz * spread.next(0.10, 0.25));
            s.ppz = quarter(spread.next(0.10, 0.35));
            bool still = false;
            for (int k : rec.standstill)
                still = still || k == s.i2;
            s.stz = still ? quarter(spread.next(2.0, 4.5)) : 0.0;
            // Factors as an engineer would estimate the shares of the ancillary time.
            s.fauz = 2.0;
            s.fppz = 1.0;
            s.fstz = still ? 3.0 : 0.5;
            out.push_back(s);
            top = z;
        }
    }
    return out;
}

std::optional<float> given(const Value &v)
{
    if (const double *d = std::get_if<double>(&v))
        return float(*d);
    return std::nullopt;
}

// The results of the record, as the evaluation computes them from what was stored above,
// and its result header marked as evaluated.
void evaluate(DemoDatabase &db, const Record &rec, const std::vector<Section> &secs, const Value &gbrz,
              const Value &gntz, const Value &fne)
{
    const bool perSection = rec.times == Times::SectionsWithParts || rec.times == Times::SectionsWithFactors;
    const bool parts = rec.times == Times::SectionsWithParts;
    EvaluationInput in;
    in.resize(int(secs.size()));
    for (size_t i = 0; i < secs.size(); ++i) {
        const Section &s = secs[i];
        const double nez = s.auz + s.ppz + s.stz;
        in.Z[i] = float(s.z);
        if (perSection) {
            in.BRZ[i] = float(s.ntz + nez);
            in.NTZ[i] = float(s.ntz);
        }
        if (parts) {
            in.AUZ[i] = float(s.auz);
            in.PPZ[i] = float(s.ppz);
            in.STZ[i] = float(s.stz);
        } else {
            in.FAUZ[i] = float(s.fauz);
            in.FPPZ[i] = float(s.fppz);
            in.FSTZ[i] = float(s.fstz);
        }
        if (rec.times == Times::TotalsByFactor)
            in.FA[i] = float(s.layer->fa);
        in.PER[i] = int16_t(rec.crew + (s.layer->rate < 1.0 ? 1 : 0));
    }
    in.GBRZ = given(gbrz);
    in.GNTZ = given(gntz);
    in.FNE = given(fne);
    const EvaluationResult r = evaluateRecord(in);
    if (!r.ok())
        throw DemoError(QStringLiteral("sample record %1 cannot be evaluated").arg(rec.id).toStdString());
    for (size_t i = 0; i < secs.size(); ++i)
        db.insert("A2", {num(rec.id), num(secs[i].i2), single(r.DEZ[i]), single(r.NTZ[i]), single(r.AUZ[i]),
                         single(r.PPZ[i]), single(r.STZ[i]), single(r.BRZ[i]), num(r.PER[i])});
    db.insert("A1", {num(rec.id), flag(false)});
}

void fillRecord(DemoDatabase &db, const Record &rec)
{
    const std::vector<Section> secs = sections(rec);
    const bool perSection = rec.times == Times::SectionsWithParts || rec.times == Times::SectionsWithFactors;

    double gross = 0.0, net = 0.0;
    for (const Section &s : secs) {
        gross += s.ntz + s.auz + s.ppz + s.stz;
        net += s.ntz;
    }
    Value gbrz = nul(), gntz = nul(), fne = nul();
    if (rec.times == Times::TotalsByFactor) {
        gbrz = single(quarter(gross));
        gntz = single(quarter(net));
    } else if (rec.times == Times::TotalsByLength) {
        gbrz = single(quarter(gross));
        fne = single(std::round((gross - net) / gross * 100.0) / 100.0);
    }

    db.insert("E1", {num(rec.id), txt(QString::fromUtf8(rec.name)), txt(QString::fromUtf8(rec.comment)), flag(rec.active),
                     dbl(dayCount(rec.startYear, rec.startMonth, rec.startDay)),
                     dbl(dayCount(rec.startYear, rec.startMonth, rec.startDay) + rec.days),
                     single(rec.nn), singleOrNull(rec.zgw), gbrz, gntz, fne});

    for (const Section &s : secs) {
        const Layer &l = *s.layer;
        db.insert("E2", {num(rec.id), num(s.i2), single(s.z)});

        double zk[4] = {0, 0, 0, 0};
        for (const Extra &e : rec.extras)
            if (e.section == s.i2) {
                zk[0] = e.zkt; zk[1] = e.zkv; zk[2] = e.zkl; zk[3] = e.zkf;
            }
        auto cost = [](double v) { return v > 0 ? single(v) : nul(); };
        db.insert("E3", {num(rec.id), num(s.i2), single(rec.diameter),
                         txt(QString::fromUtf8(l.rig)), txt(QString::fromUtf8(l.casing)),
                         txt(QString::fromUtf8(l.cutting)), txt(QString::fromUtf8(l.conveying)),
                         cost(zk[0]), cost(zk[1]), cost(zk[2]), cost(zk[3]),
                         num(rec.crew + (l.rate < 1.0 ? 1 : 0))}); // rock work needs a further hand
        db.insert("E4", {num(rec.id), num(s.i2), txt(QString::fromUtf8(l.rock))});

        const double nez = s.auz + s.ppz + s.stz;
        const bool parts = rec.times == Times::SectionsWithParts;
        const bool factors = !parts;
        db.insert("E5", {num(rec.id), num(s.i2),
                         perSection ? single(s.ntz + nez) : nul(),
                         perSection ? single(s.ntz) : nul(),
                         parts ? single(s.auz) : nul(),
                         parts ? single(s.ppz) : nul(),
                         parts ? single(s.stz) : nul(),
                         perSection ? single(nez) : nul(),
                         rec.times == Times::TotalsByFactor ? single(l.fa) : nul(),
                         factors ? single(s.fauz) : nul(),
                         factors ? single(s.fppz) : nul(),
                         factors ? single(s.fstz) : nul()});
    }
    db.insert("E6", {num(rec.id), txt(QString::fromUtf8(rec.costSet)), num(rec.k), num(rec.zauf)});
    evaluate(db, rec, secs, gbrz, gntz, fne);
}

} // namespace

void fillPresets(DemoDatabase &db)
{
    fillDevices(db, "VANT_V11", kRigs, int(std::size(kRigs)));
    fillDevices(db, "VANT_V12", kCasings, int(std::size(kCasings)));
    fillDevices(db, "VANT_V13", kCuttingTools, int(std::size(kCuttingTools)));
    fillDevices(db, "VANT_V14", kConveyingTools, int(std::size(kConveyingTools)));

    int idg = 0;
    for (const Rock &r : kRocks)
        db.insert("VANT_V2", {num(idg++), txt(QString::fromUtf8(r.key)), txt(QString::fromUtf8(r.comment)),
                              known(r.sic[0]), known(r.sic[1]), known(r.sic[2]),
                              known(r.qg[0]), known(r.qg[1]), known(r.qg[2]),
                              known(r.cai[0]), known(r.cai[1]), known(r.cai[2])});

    db.insert("VANT_V3", {num(0), txt("EK-2026"), txt("Mittellohn getrennt, Gerätekosten nach Liste"),
                          single(62.50), num(0), single(1.00), single(1.00), single(1.00)});
    db.insert("VANT_V3", {num(1), txt("EK-PAUSCH"), txt("Pauschalsätze einschließlich Bedienpersonal"),
                          single(0.00), num(1), single(1.35), single(1.00), single(1.10)});

    // A logger writing one cycle per line: date;time;depth in cm;gross;net;crew,
    // after one header line.
    db.insert("VANT_VE1", {num(1), txt("LOG-A"), num(6), txt("TT.MM.JJJJ"), txt("hh:mm:ss"),
                           txt("1"), nul(), txt(";"), nul()});
    const struct { const char *column; int position; double factor; } values[] = {
        {"DATUM", 0, 1.0}, {"UHRZEIT", 1, 1.0}, {"Z", 2, 0.01}, {"BRZ", 3, 1.0}, {"NTZ", 4, 1.0}, {"PER", 5, 1.0},
    };
    int mnr = 0;
    for (const auto &v : values)
        db.insert("VANT_VE2", {num(1), num(mnr++), txt(v.column), num(v.position), nul(), nul(), single(v.factor), nul()});
}

void fillProject(DemoDatabase &db)
{
    for (const Record &rec : records())
        fillRecord(db, rec);

    // Combinations for the multiple evaluation of the active records: by rock, one by cutting
    // tool (its sections count there too), and a rock no active record drilled.
    const char *combos[][5] = {
        {"S", "", "", "", ""}, {"KI", "", "", "", ""}, {"U", "", "", "", ""},
        {"MG", "", "", "", ""}, {"KST", "", "", "", ""}, {"", "", "", "KR-RM", ""}, {"SST", "", "", "", ""},
    };
    int i1 = 0;
    for (const auto &c : combos) {
        std::vector<Value> row{num(1), num(i1++)};
        for (const char *key : c)
            row.push_back(*key ? txt(QString::fromUtf8(key)) : nul());
        db.insert("M2", row);
    }
}

} // namespace vnt::demo
