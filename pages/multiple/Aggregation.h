// Sums, means and standard deviations of drilled sections per combination of preset keys:
// plain numbers in and out, so the pages, the tables and the tests share one computation.
#pragma once

#include "platform/Variant.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace vnt::multiple {

// Key order everywhere: rock, carrier rig, casing, cutting tool, conveying tool.
inline constexpr int kKeys = 5;

// The deviation stored where none is defined (fewer than two values, or no spread term).
inline constexpr double kUndefinedDeviation = 1e9;

// A section's key text, kept once for the whole program: a section holds only its number, so
// that a million sections over a handful of rocks and rigs cost two bytes a key, and keys
// compare as numbers. Texts compare exactly (case matters); the empty text is the default key.
// The program's keys come from its preset lists; more than 65,535 different texts raise 7.
class SectionKey {
public:
    SectionKey() = default;
    SectionKey(const QString &text);   // NOLINT: sections are written with their key texts
    SectionKey(const char *text) : SectionKey(QString::fromUtf8(text)) {}
    static SectionKey fromUtf8(QByteArrayView text);
    // The key of that text when some section has had it; nothing otherwise.
    static std::optional<SectionKey> find(const QString &text);

    QString text() const;
    uint32_t id() const { return id_; }
    bool operator==(const SectionKey &o) const { return id_ == o.id_; }
    friend bool operator==(const SectionKey &k, const QString &s) { return k.text() == s; }
    friend bool operator==(const SectionKey &k, const char *s) { return k.text() == QString::fromUtf8(s); }

private:
    uint16_t id_ = 0;
};

using SectionKeys = std::array<SectionKey, kKeys>;

// A combination: an Empty (or Null) key matches every section key, the empty one included.
struct Combination {
    std::array<Variant, kKeys> keys;
    bool matches(const SectionKeys &sectionKeys) const;
};

// One section of an active record with its result values. Its equipment's rates per hour
// follow from its keys (CostSet::rate): kept once per key rather than once per section, a
// million sections take 16 MB less.
struct Section {
    SectionKeys keys;
    int16_t PER = 0;
    float DEZ = 0, BRZ = 0, NTZ = 0, AUZ = 0, PPZ = 0, STZ = 0;
    std::array<float, 4> ZK{};   // additional costs ZKT, ZKV, ZKL, ZKF, before the factor
};

// The cost set: staff cost per hour (already times its factor), the additional-cost factor,
// and each device's rate per hour by its key, already times the equipment factor.
struct CostSet {
    float KP = 0;
    float FZK = 0;
    // device 0..3: carrier rig, casing, cutting tool, conveying tool (keys 1..4 of a section)
    std::array<std::vector<float>, 4> perHour;

    // 0 for a key that was given no rate.
    float rate(size_t device, SectionKey key) const
    {
        const std::vector<float> &r = perHour[device];
        return key.id() < r.size() && !std::isnan(r[key.id()]) ? r[key.id()] : 0.0f;
    }
    void setRate(size_t device, SectionKey key, float value)
    {
        std::vector<float> &r = perHour[device];
        if (key.id() >= r.size())
            r.resize(key.id() + 1, std::numeric_limits<float>::quiet_NaN());   // NaN: not given
        r[key.id()] = value;
    }
    bool hasRate(size_t device, SectionKey key) const
    {
        return key.id() < perHour[device].size() && !std::isnan(perHour[device][key.id()]);
    }
};

struct Sums {   // one M3 row
    bool BOKOMB = false;
    float SDEZ = 0;
    float SBRZ = 0, SBRKT = 0, SBRKV = 0, SBRKL = 0, SBRKF = 0, SBRKP = 0, SBRPH = 0;
    float SNTZ = 0, SNTKT = 0, SNTKV = 0, SNTKL = 0, SNTKF = 0, SNTKP = 0, SNTPH = 0;
    float SAUZ = 0, SAUK = 0, SAUPH = 0;
    float SPPZ = 0, SPPK = 0, SPPPH = 0;
    float SSTZ = 0, SSTK = 0, SSTPH = 0;
    std::array<float, 4> SZK{};     // SZKT, SZKV, SZKL, SZKF
    std::array<int32_t, 4> ANZK{};  // ANZKT, ANZKV, ANZKL, ANZKF: counts beyond 16 bits occur
};

struct Stats {  // one M4 row
    float XQBRV = 0, SXBRV = 0, XQNTV = 0, SXNTV = 0, XQBRK = 0, SXBRK = 0, XQNTK = 0, SXNTK = 0;
    float XQNEZ = 0, SXNEZ = 0, XQNEK = 0, SXNEK = 0, XQZK = 0, SXZK = 0, XQZKM = 0, SXZKM = 0;
};

struct CombinationResult {
    Sums m3;
    Stats m4;
};

// Deviation of per-section values around a ratio-of-sums mean. A negative spread term is taken
// by its size, since such a mean may exceed the root mean square of the values.
double standardDeviation(double S2, float XQ, int n);

// Coefficient of variation SX / XQ for the statistics page; false where the mean is 0, which
// has none.
bool coefficientOfVariation(float XQ, float SX, double &VX);

// One result per combination, in combination order. An empty list of combinations is one
// combination that matches everything. SDEZ runs on cumulatively through the combinations.
// A zero divisor (a section or combination without length or hours) leaves that ratio out of
// the deviation and its mean at 0 instead of failing the run.
std::vector<CombinationResult> aggregate(std::vector<Combination> combinations, const std::vector<Section> &sections,
                                         const CostSet &costs);

// Column names and values of the rows, in the order the tables are written.
std::vector<std::pair<QString, Variant>> m3Columns(const Sums &s);
std::vector<std::pair<QString, Variant>> m4Columns(const Stats &s);

} // namespace vnt::multiple
