// The arithmetic of a record's evaluation: section lengths, gross and net times spread from
// the whole-bore totals where sections lack them, ancillary time split by factors, and the
// progress values along the way. Plain data in, plain data out: clsBERECHNEN reads the
// record through the column accessor and writes the result rows.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vnt {

struct EvaluationInput {
    // Per section 0..N.
    std::vector<float> Z;                        // lower edge depth, not given = 0
    std::vector<std::optional<float>> BRZ, NTZ;  // recorded gross and net time
    std::vector<std::optional<float>> AUZ, PPZ, STZ;
    std::vector<std::optional<float>> FA;        // spreading factor of the gross total
    std::vector<float> FAUZ, FPPZ, FSTZ;         // shares of the ancillary time, not given = 0
    std::vector<int16_t> PER;
    // Whole bore.
    std::optional<float> GBRZ, GNTZ, FNE;

    int lastSection() const { return int(Z.size()) - 1; }
    void resize(int sections);                   // sections = N + 1
};

enum class EvaluationNotice {
    None,
    Ratio,          // neither the net total nor the ancillary ratio of the whole bore is given
    Factor,         // ancillary time to split, but all three factors of the section are 0
    GrossMissing,   // the times must be spread, but the gross total is not given
    ZeroLength,     // the times must be spread by length, but the bore ends at depth 0
    ZeroFactorSum,  // the times must be spread by factors, but the factors times lengths sum to 0
    DepthUp,        // a section ends above the one before it (the first one above ground level)
};

struct EvaluationResult {
    EvaluationNotice notice = EvaluationNotice::None;
    int section = 0;                              // the section the notice names
    std::vector<float> DEZ, NTZ, AUZ, PPZ, STZ, BRZ;
    std::vector<int16_t> PER;
    bool ok() const { return notice == EvaluationNotice::None; }
};

// What the cost figures of a record will lack: the keys that name no preset (each once, in the
// order of the sections) and the cost set.
struct PresetGaps {
    QStringList KENG, KENT, KENV, KENL, KENF;
    bool noCostSet = false;     // the record has no cost set chosen
    QString unknownCostSet;     // the chosen cost set is not among the presets
    bool any() const
    {
        return noCostSet || !unknownCostSet.isEmpty() || !KENG.isEmpty() || !KENT.isEmpty() || !KENV.isEmpty()
               || !KENL.isEmpty() || !KENF.isEmpty();
    }
};

// The German text of the notice after a run whose record lacks presets ("" when it lacks none).
QString presetGapsText(const PresetGaps &gaps);

// Runs the evaluation; progress receives each value the progress bar takes (0..40).
EvaluationResult evaluateRecord(const EvaluationInput &in, const std::function<void(float)> &progress = {});

// The German text of the box that stops an evaluation ("" for None).
const char *evaluationNoticeText(EvaluationNotice n);

} // namespace vnt
