// Every computed value is a single float, as the stored results are: the arithmetic runs in
// float so that results match the stored values bit for bit.
#include "Evaluation.h"

#include <cmath>

namespace vnt {

void EvaluationInput::resize(int sections)
{
    const size_t n = size_t(std::max(sections, 0));
    Z.resize(n, 0.0f);
    for (auto *v : {&BRZ, &NTZ, &AUZ, &PPZ, &STZ, &FA})
        v->resize(n);
    for (auto *v : {&FAUZ, &FPPZ, &FSTZ})
        v->resize(n, 0.0f);
    PER.resize(n, 0);
}

namespace {

// base + round(span * i / N) in double precision, halves to even; N = 0 gives the stage's end.
float stageProgress(int base, int span, int i, int n)
{
    if (n == 0)
        return float(base + span);
    return float(base + std::nearbyint(double(span) * i / n));
}

} // namespace

namespace {

// The working arrays of one evaluation, a value per section.
struct SectionTimes {
    std::vector<float> dez, brz, ntz, auz, ppz, stz;
    explicit SectionTimes(size_t cnt) : dez(cnt), brz(cnt, 0.0f), ntz(cnt, 0.0f), auz(cnt, 0.0f), ppz(cnt, 0.0f), stz(cnt, 0.0f) {}
};

// Each section's length from the depths; false when a depth runs back up. A negative length
// would be stored and drawn as a curve running back up over the titles and the neighbouring
// figures; the depths have to be put right first.
bool sectionLengths(const EvaluationInput &in, int n, SectionTimes &t, EvaluationResult &r)
{
    t.dez[0] = in.Z[0];
    for (int i = 1; i <= n; ++i)
        t.dez[i] = in.Z[i] - in.Z[i - 1];
    for (int i = 0; i <= n; ++i)
        if (t.dez[i] < 0.0f) {
            r.notice = EvaluationNotice::DepthUp;
            r.section = i;
            return false;
        }
    return true;
}

// Copies the recorded gross and net times; returns the first section lacking either, or -1.
int recordedTimes(const EvaluationInput &in, int n, SectionTimes &t)
{
    for (int i = 0; i <= n; ++i) {
        if (!in.BRZ[i])
            return i;
        t.brz[i] = *in.BRZ[i];
        if (!in.NTZ[i])
            return i;
        t.ntz[i] = *in.NTZ[i];
    }
    return -1;
}

// Spreads the whole bore's gross and net time over every section, by the factors when each
// section has one, else by length; false (with the notice) when that cannot be done.
bool spreadWholeBoreTimes(const EvaluationInput &in, int n, int missing, SectionTimes &t, EvaluationResult &r,
                          const std::function<void(float)> &report)
{
    auto fail = [&](EvaluationNotice notice) {
        r.notice = notice;
        r.section = missing;
        return false;
    };
    if (!in.GBRZ)
        return fail(EvaluationNotice::GrossMissing);
    const float gbrz = *in.GBRZ;
    float gntz;
    if (in.GNTZ)
        gntz = *in.GNTZ;
    else if (in.FNE)
        gntz = gbrz - *in.FNE * gbrz;
    else
        return fail(EvaluationNotice::Ratio);

    float s = 0;
    bool allFactors = true;
    for (int j = 0; j <= n; ++j) {
        if (!in.FA[j]) { allFactors = false; break; }
        s = *in.FA[j] * t.dez[j] + s;
    }
    report(15);
    if (allFactors) {
        if (s == 0.0f || !std::isfinite(s))
            return fail(EvaluationNotice::ZeroFactorSum);
        for (int j = 0; j <= n; ++j) {
            const float w = *in.FA[j] * t.dez[j];
            t.brz[j] = gbrz / s * w;
            t.ntz[j] = gntz / s * w;
        }
        return true;
    }
    const float total = in.Z[n];
    if (total == 0.0f)
        return fail(EvaluationNotice::ZeroLength);
    for (int j = 0; j <= n; ++j) {
        t.brz[j] = t.dez[j] / total * gbrz;
        t.ntz[j] = t.dez[j] / total * gntz;
    }
    return true;
}

// Copies the recorded ancillary parts; false at the first section lacking one.
bool recordedParts(const EvaluationInput &in, int n, SectionTimes &t, const std::function<void(float)> &report)
{
    for (int i = 0; i <= n; ++i) {
        if (!in.AUZ[i])
            return false;
        t.auz[i] = *in.AUZ[i];
        if (!in.PPZ[i])
            return false;
        t.ppz[i] = *in.PPZ[i];
        if (!in.STZ[i])
            return false;
        t.stz[i] = *in.STZ[i];
        report(stageProgress(20, 7, i, n));
    }
    return true;
}

// Splits each section's ancillary time (gross less net) by its three factors; false (with the
// notice) for a section with ancillary time but no factor.
bool splitAncillaryTime(const EvaluationInput &in, int n, SectionTimes &t, EvaluationResult &r,
                        const std::function<void(float)> &report)
{
    for (int i = 0; i <= n; ++i) {
        const float nez = t.brz[i] - t.ntz[i];
        const float fa = in.FAUZ[i], fp = in.FPPZ[i], fs = in.FSTZ[i];
        const float f = fa + fp + fs;
        if (f == 0.0f && nez != 0.0f) {
            r.notice = EvaluationNotice::Factor;
            r.section = i;
            return false;
        }
        if (f == 0.0f) {
            t.auz[i] = t.ppz[i] = t.stz[i] = 0.0f;
        } else {
            t.auz[i] = fa * nez / f;
            t.ppz[i] = fp * nez / f;
            t.stz[i] = fs * nez / f;
        }
        report(stageProgress(23, 7, i, n));
    }
    return true;
}

} // namespace

EvaluationResult evaluateRecord(const EvaluationInput &in, const std::function<void(float)> &progress)
{
    auto report = [&](float v) { if (progress) progress(v); };
    EvaluationResult r;
    report(0);

    const int n = in.lastSection();
    if (n < 0) {
        // A record without sections has nothing to evaluate but is not an error.
        report(40);
        return r;
    }
    const size_t cnt = size_t(n) + 1;
    SectionTimes t(cnt);
    if (!sectionLengths(in, n, t, r))
        return r;

    // The first section lacking a recorded time sends every section to the spread.
    const int missing = recordedTimes(in, n, t);
    report(7);
    if (missing >= 0 && !spreadWholeBoreTimes(in, n, missing, t, r, report))
        return r;

    report(20);
    if (!recordedParts(in, n, t, report) && !splitAncillaryTime(in, n, t, r, report))
        return r;

    report(30);
    r.DEZ = t.dez;
    r.NTZ = t.ntz;
    r.AUZ = t.auz;
    r.PPZ = t.ppz;
    r.STZ = t.stz;
    r.BRZ.resize(cnt);
    r.PER = in.PER;
    r.PER.resize(cnt, 0);
    for (int i = 0; i <= n; ++i)
        r.BRZ[i] = t.ntz[i] + t.auz[i] + t.ppz[i] + t.stz[i];
    return r;
}

QString presetGapsText(const PresetGaps &gaps)
{
    if (!gaps.any())
        return {};
    QString text = QStringLiteral("Die Auswertung ist erfolgt, doch fehlen Vorgabewerte:");
    const std::pair<const char *, const QStringList *> columns[] = {
        {"Gestein (KENG)", &gaps.KENG},      {"Trägergerät (KENT)", &gaps.KENT}, {"Verrohrung (KENV)", &gaps.KENV},
        {"Lösewerkzeug (KENL)", &gaps.KENL}, {"Förderwerkzeug (KENF)", &gaps.KENF}};
    bool headed = false;
    for (const auto &[name, keys] : columns) {
        if (keys->isEmpty())
            continue;
        if (!headed)
            text += QStringLiteral("\nKennzeichnungen ohne Vorgabe (ohne Beschreibung, Kosten 0):");
        headed = true;
        text += QStringLiteral("\n  ") + QString::fromUtf8(name) + QStringLiteral(": ") + keys->join(QStringLiteral(", "));
    }
    if (gaps.noCostSet)
        text += QStringLiteral("\nEs ist keine Einheitskostenvorgabe gewählt: alle Kosten sind 0.");
    else if (!gaps.unknownCostSet.isEmpty())
        text += QStringLiteral("\nDie Einheitskostenvorgabe ") + gaps.unknownCostSet
                + QStringLiteral(" ist nicht vorhanden: alle Kosten sind 0.");
    return text;
}

const char *evaluationNoticeText(EvaluationNotice n)
{
    switch (n) {
    case EvaluationNotice::None: return "";
    case EvaluationNotice::Ratio:
        return "Bitte geben Sie ein Verhältnis für Bohrnebenzeit/Bruttobohrzeit\nfür den Abschnitt %1 ein, da sonst keine Auswertung erfolgen kann.";
    case EvaluationNotice::Factor:
        return "Bitte geben Sie Faktoren für die Aufteilung der Bohrnebenzeit\nfür den Abschnitt %1 ein, da sonst keine Auswertung erfolgen kann.";
    case EvaluationNotice::GrossMissing:
        return "Bitte geben Sie die Bruttobohrzeit der gesamten Bohrung ein,\nda für den Abschnitt %1 keine Zeiten erfasst sind und sonst keine Auswertung erfolgen kann.";
    case EvaluationNotice::ZeroLength:
        return "Die Tiefe des letzten Abschnitts ist 0 m: die Zeiten der Bohrung\nkönnen nicht nach Abschnittslängen aufgeteilt werden (Abschnitt %1).";
    case EvaluationNotice::ZeroFactorSum:
        return "Die Faktoren der Bruttobohrzeit ergeben mit den Abschnittslängen die Summe 0:\ndie Zeiten können nicht aufgeteilt werden (Abschnitt %1).";
    case EvaluationNotice::DepthUp:
        return "Der Abschnitt %1 endet höher als der Abschnitt davor (oder über GOK):\ndie Abschnittslänge wäre negativ, daher kann keine Auswertung erfolgen.";
    }
    return "";
}

} // namespace vnt
