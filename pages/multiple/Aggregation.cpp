// The arithmetic of the multiple evaluation. Every stored value is single precision; products
// and additions are done in double and rounded once, so that the sums match what the tables
// have always held.
#include "pages/multiple/Aggregation.h"

#include "platform/errors.h"

#include <QHash>

#include <cmath>
#include <deque>
#include <mutex>
#include <optional>

namespace vnt::multiple {

namespace {

// Every key text any section had, by number; number 0 is the empty text. Key texts come from
// the preset tables, so the pool stays small for the program's life.
struct KeyPool {
    std::mutex lock;
    std::deque<QString> texts{QString()};
    QHash<QString, uint32_t> byText{{QString(), 0}};
    QHash<QByteArray, uint32_t> byUtf8{{QByteArray(), 0}};

    static KeyPool &instance()
    {
        static KeyPool pool;
        return pool;
    }
    uint32_t intern(const QString &t)
    {
        std::lock_guard<std::mutex> guard(lock);
        if (const auto it = byText.constFind(t); it != byText.constEnd())
            return *it;
        const auto id = uint32_t(texts.size());
        if (id > 0xffff)
            raise(err::OutOfMemory, QStringLiteral("Too many different keys."));
        texts.push_back(t);
        byText.insert(t, id);
        byUtf8.insert(t.toUtf8(), id);
        return id;
    }
};

void add(float &sum, double a, double b = 1.0) { sum = float(double(sum) + a * b); }

// A ratio whose divisor is 0 has no value; the caller leaves it out.
bool ratio(double num, double den, double &out)
{
    if (den == 0)
        return false;
    out = num / den;
    return true;
}

void addSquare(double &q, double num, double den)
{
    double r = 0;
    if (ratio(num, den, r))
        q += r * r;
}

// Gross and net time each add their cost per item (rig, casing, cutting and conveying tool,
// crew) and their person-hours.
void addByItem(float &time, const std::array<float *, 5> &costs, float &personHours, float hours, const Section &x,
               const std::array<float, 5> &rates)
{
    add(time, hours);
    for (size_t i = 0; i < costs.size(); ++i)
        add(*costs[i], hours, rates[i]);
    add(personHours, hours, x.PER);
}

// An ancillary time adds its cost at the section's whole hourly rate and its person-hours.
void addAtRate(float &time, float &cost, float &personHours, float hours, float K, int16_t PER)
{
    add(time, hours);
    add(cost, hours, K);
    add(personHours, hours, PER);
}

float mean(double num, double den)
{
    double r = 0;
    return ratio(num, den, r) ? float(r) : 0.0f;
}

float sd(double S2, float XQ, int n) { return float(standardDeviation(S2, XQ, n)); }

// A combination's keys, looked up once: the keys it leaves open are left out, and a text no
// section has ever had matches nothing.
struct Matcher {
    std::array<std::optional<SectionKey>, kKeys> keys;
    bool never = false;
    explicit Matcher(const Combination &c)
    {
        for (size_t k = 0; k < size_t(kKeys); ++k)
            if (!c.keys[k].isEmpty() && !c.keys[k].isNull()) {
                keys[k] = SectionKey::find(c.keys[k].text());   // case matters: "abc" is not "ABC"
                never = never || !keys[k];
            }
    }
    bool matches(const SectionKeys &sectionKeys) const
    {
        if (never)
            return false;
        for (size_t k = 0; k < size_t(kKeys); ++k)
            if (keys[k] && !(*keys[k] == sectionKeys[k]))
                return false;
        return true;
    }
};

} // namespace

SectionKey::SectionKey(const QString &text) : id_(text.isEmpty() ? 0 : uint16_t(KeyPool::instance().intern(text))) {}

SectionKey SectionKey::fromUtf8(QByteArrayView text)
{
    SectionKey k;
    if (text.isEmpty())
        return k;
    KeyPool &pool = KeyPool::instance();
    {
        std::lock_guard<std::mutex> guard(pool.lock);
        // Looked up in place: the bytes are not copied for a key the pool knows.
        const auto it = pool.byUtf8.constFind(QByteArray::fromRawData(text.data(), text.size()));
        if (it != pool.byUtf8.constEnd()) {
            k.id_ = uint16_t(*it);
            return k;
        }
    }
    k.id_ = uint16_t(pool.intern(QString::fromUtf8(text)));
    return k;
}

std::optional<SectionKey> SectionKey::find(const QString &text)
{
    KeyPool &pool = KeyPool::instance();
    std::lock_guard<std::mutex> guard(pool.lock);
    const auto it = pool.byText.constFind(text);
    if (it == pool.byText.constEnd())
        return std::nullopt;
    SectionKey k;
    k.id_ = uint16_t(*it);
    return k;
}

QString SectionKey::text() const
{
    KeyPool &pool = KeyPool::instance();
    std::lock_guard<std::mutex> guard(pool.lock);
    return pool.texts[id_];
}

bool Combination::matches(const SectionKeys &sectionKeys) const
{
    return Matcher(*this).matches(sectionKeys);
}

double standardDeviation(double S2, float XQ, int n)
{
    const double D = S2 - double(XQ) * double(XQ) * n;
    if (n >= 2 && D != 0)
        return std::sqrt(std::fabs(D) / (n - 1));
    return std::pow(10.0, 9);
}

bool coefficientOfVariation(float XQ, float SX, double &VX)
{
    VX = 0;
    if (XQ == 0)
        return false;
    VX = double(SX) / double(XQ);
    return true;
}

std::vector<CombinationResult> aggregate(std::vector<Combination> combinations, const std::vector<Section> &sections,
                                         const CostSet &costs)
{
    if (combinations.empty())
        combinations.emplace_back();
    const double FZK = costs.FZK;
    std::vector<CombinationResult> out(combinations.size());
    for (size_t c = 0; c < combinations.size(); ++c) {
        Sums &s = out[c].m3;
        if (c > 0)
            s.SDEZ = out[c - 1].m3.SDEZ;
        double QBRV = 0, QNTV = 0, QBRK = 0, QNTK = 0, QNEZ = 0, QNEK = 0, QZK = 0, QZKM = 0;
        int n = 0, m = 0;
        const Matcher combination(combinations[c]);
        for (const Section &x : sections) {
            if (!combination.matches(x.keys))
                continue;
            s.BOKOMB = true;
            const std::array<float, 5> rates{costs.rate(0, x.keys[1]), costs.rate(1, x.keys[2]),
                                             costs.rate(2, x.keys[3]), costs.rate(3, x.keys[4]), costs.KP};
            const float K = rates[0] + rates[1] + rates[2] + rates[3] + rates[4];
            add(s.SDEZ, x.DEZ);
            addByItem(s.SBRZ, {&s.SBRKT, &s.SBRKV, &s.SBRKL, &s.SBRKF, &s.SBRKP}, s.SBRPH, x.BRZ, x, rates);
            addByItem(s.SNTZ, {&s.SNTKT, &s.SNTKV, &s.SNTKL, &s.SNTKF, &s.SNTKP}, s.SNTPH, x.NTZ, x, rates);
            addAtRate(s.SAUZ, s.SAUK, s.SAUPH, x.AUZ, K, x.PER);
            addAtRate(s.SPPZ, s.SPPK, s.SPPPH, x.PPZ, K, x.PER);
            addAtRate(s.SSTZ, s.SSTK, s.SSTPH, x.STZ, K, x.PER);
            for (size_t i = 0; i < 4; ++i) {
                add(s.SZK[i], x.ZK[i], FZK);
                if (x.ZK[i] > 0) {
                    ++s.ANZK[i];
                    ++m;
                }
            }

            const double ancillary = double(x.AUZ) + x.PPZ + x.STZ;
            addSquare(QBRV, x.DEZ, x.BRZ);
            addSquare(QNTV, x.DEZ, x.NTZ);
            addSquare(QBRK, double(x.BRZ) * K, x.DEZ);
            addSquare(QNTK, double(x.NTZ) * K, x.DEZ);
            addSquare(QNEZ, ancillary, x.DEZ);
            addSquare(QNEK, ancillary * K, x.DEZ);
            ++n;
            for (float zk : x.ZK) {
                const double cost = double(zk) * FZK;
                QZK += cost * cost;
                addSquare(QZKM, cost, x.DEZ);
            }
        }
        if (!s.BOKOMB)
            continue;

        Stats &t = out[c].m4;
        const float L = c > 0 ? s.SDEZ - out[c - 1].m3.SDEZ : s.SDEZ;
        t.XQBRV = mean(L, s.SBRZ);
        t.SXBRV = sd(QBRV, t.XQBRV, n);
        t.XQNTV = mean(L, s.SNTZ);
        t.SXNTV = sd(QNTV, t.XQNTV, n);
        const float brk = s.SBRKT + s.SBRKV + s.SBRKL + s.SBRKF + s.SBRKP;
        t.XQBRK = mean(brk, L);
        t.SXBRK = sd(QBRK, t.XQBRK, n);
        const float ntk = s.SNTKT + s.SNTKV + s.SNTKL + s.SNTKF + s.SNTKP;
        t.XQNTK = mean(ntk, L);
        t.SXNTK = sd(QNTK, t.XQNTK, n);
        const float nez = s.SAUZ + s.SPPZ + s.SSTZ;
        t.XQNEZ = mean(nez, L);
        t.SXNEZ = sd(QNEZ, t.XQNEZ, n);
        const float nek = s.SAUK + s.SPPK + s.SSTK;
        t.XQNEK = mean(nek, L);
        t.SXNEK = sd(QNEK, t.XQNEK, n);
        const float Z = s.SZK[0] + s.SZK[1] + s.SZK[2] + s.SZK[3];
        const int A = s.ANZK[0] + s.ANZK[1] + s.ANZK[2] + s.ANZK[3];
        t.XQZK = mean(Z, A);
        t.SXZK = sd(QZK, t.XQZK, m);
        t.XQZKM = mean(Z, L);
        t.SXZKM = sd(QZKM, t.XQZKM, m);
    }
    return out;
}

std::vector<std::pair<QString, Variant>> m3Columns(const Sums &s)
{
    auto f = [](const char *name, float v) { return std::pair<QString, Variant>(QString::fromLatin1(name), Variant(v)); };
    auto i = [](const char *name, int32_t v) { return std::pair<QString, Variant>(QString::fromLatin1(name), Variant(v)); };
    return {{QStringLiteral("BOKOMB"), Variant(s.BOKOMB)},
            f("SDEZ", s.SDEZ), f("SBRZ", s.SBRZ), f("SBRKT", s.SBRKT), f("SBRKV", s.SBRKV), f("SBRKL", s.SBRKL),
            f("SBRKF", s.SBRKF), f("SBRKP", s.SBRKP), f("SBRPH", s.SBRPH),
            f("SNTZ", s.SNTZ), f("SNTKT", s.SNTKT), f("SNTKV", s.SNTKV), f("SNTKL", s.SNTKL), f("SNTKF", s.SNTKF),
            f("SNTKP", s.SNTKP), f("SNTPH", s.SNTPH),
            f("SAUZ", s.SAUZ), f("SAUK", s.SAUK), f("SAUPH", s.SAUPH),
            f("SPPZ", s.SPPZ), f("SPPK", s.SPPK), f("SPPPH", s.SPPPH),
            f("SSTZ", s.SSTZ), f("SSTK", s.SSTK), f("SSTPH", s.SSTPH),
            f("SZKT", s.SZK[0]), i("ANZKT", s.ANZK[0]), f("SZKV", s.SZK[1]), i("ANZKV", s.ANZK[1]),
            f("SZKL", s.SZK[2]), i("ANZKL", s.ANZK[2]), f("SZKF", s.SZK[3]), i("ANZKF", s.ANZK[3])};
}

std::vector<std::pair<QString, Variant>> m4Columns(const Stats &s)
{
    auto f = [](const char *name, float v) { return std::pair<QString, Variant>(QString::fromLatin1(name), Variant(v)); };
    return {f("XQBRV", s.XQBRV), f("SXBRV", s.SXBRV), f("XQNTV", s.XQNTV), f("SXNTV", s.SXNTV),
            f("XQBRK", s.XQBRK), f("SXBRK", s.SXBRK), f("XQNTK", s.XQNTK), f("SXNTK", s.SXNTK),
            f("XQNEZ", s.XQNEZ), f("SXNEZ", s.SXNEZ), f("XQNEK", s.XQNEK), f("SXNEK", s.SXNEK),
            f("XQZK", s.XQZK), f("SXZK", s.SXZK), f("XQZKM", s.XQZKM), f("SXZKM", s.SXZKM)};
}

} // namespace vnt::multiple
