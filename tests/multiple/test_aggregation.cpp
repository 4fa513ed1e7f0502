// The aggregation's arithmetic on small hand-computed sets of sections.
#include "pages/multiple/Aggregation.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace vnt;
using namespace vnt::multiple;

namespace {

Section section(float DEZ, float BRZ, float NTZ = 0, std::array<QString, kKeys> keys = {})
{
    Section s;
    for (size_t k = 0; k < keys.size(); ++k)
        s.keys[k] = keys[k];
    s.DEZ = DEZ;
    s.BRZ = BRZ;
    s.NTZ = NTZ;
    return s;
}

Combination combo(std::array<Variant, kKeys> keys)
{
    Combination c;
    c.keys = keys;
    return c;
}

} // namespace

TEST(Aggregation, AdvanceRateMeanIsRatioOfSumsAndDeviationComesFromSections)
{
    struct Case {
        const char *what;
        std::vector<Section> sections;
        float XQBRV;
        double SXBRV;
    };
    const Case cases[] = {
        {"spread below the mean", {section(10, 5), section(20, 20)}, 1.2f, std::sqrt(2.12)},
        // the ratio-of-sums mean exceeds the root mean square: the negative term is taken by its size
        {"spread above the mean", {section(1, 1), section(100, 10)}, 101.0f / 11, 8.2226},
        {"one section", {section(10, 5)}, 2.0f, 1e9},
        {"identical sections leave no spread term", {section(10, 5), section(10, 5)}, 2.0f, 1e9},
    };
    for (const Case &c : cases) {
        const auto r = aggregate({}, c.sections, {});
        ASSERT_EQ(r.size(), 1u) << c.what;
        EXPECT_NEAR(r[0].m4.XQBRV, c.XQBRV, 1e-4) << c.what;
        EXPECT_NEAR(r[0].m4.SXBRV, c.SXBRV, c.SXBRV * 1e-4) << c.what;
    }
}

TEST(Aggregation, SectionsAreMatchedExactlyAndEmptyKeysMatchAll)
{
    const std::vector<Section> sections = {section(10, 5, 0, {"S", "T1", "", "", ""}),
                                           section(5, 5, 0, {"", "T2", "", "", ""}),
                                           section(2, 1, 0, {"S", "abc", "", "", ""})};
    const std::vector<Combination> combos = {
        combo({}),                                  // every section
        combo({Variant(), Variant("T1")}),          // the first only
        combo({Variant(), Variant("T9")}),          // none
        combo({Variant("S")}),                      // an empty rock key does not match "S"
        combo({Variant(), Variant("ABC")}),         // case matters
        combo({Variant::null(), Variant("abc")}),   // a Null key reads like an empty one
    };
    const auto r = aggregate(combos, sections, {});
    ASSERT_EQ(r.size(), combos.size());
    const bool matched[] = {true, true, false, true, false, true};
    const float sdez[] = {17, 27, 27, 39, 39, 41};   // cumulative: a section counts in every combination it fits
    for (size_t c = 0; c < combos.size(); ++c) {
        EXPECT_EQ(r[c].m3.BOKOMB, matched[c]) << c;
        EXPECT_FLOAT_EQ(r[c].m3.SDEZ, sdez[c]) << c;
    }
    // own length of combination 1 is 10 m over 5 h
    EXPECT_FLOAT_EQ(r[1].m4.XQBRV, 2.0f);

    const CombinationResult &none = r[2];
    EXPECT_EQ(none.m3.SBRZ, 0.0f);
    EXPECT_EQ(none.m3.ANZK[0], 0);
    EXPECT_EQ(none.m4.XQBRV, 0.0f);
    EXPECT_EQ(none.m4.SXBRV, 0.0f);   // no placeholder for a combination that matched nothing
    EXPECT_EQ(none.m4.SXZK, 0.0f);
}

TEST(Aggregation, CostsPersonHoursAndAdditionalCosts)
{
    Section a = section(20, 10, 8);
    a.PER = 3;
    a.keys[1] = "T-40";
    a.keys[4] = "F-10";
    a.AUZ = 2;
    a.PPZ = 1;
    a.STZ = 1;
    a.ZK = {500, 0, 0, 0};
    Section b = section(30, 10, 6);
    b.PER = 2;
    CostSet costs{50, 1.2f};
    costs.setRate(0, "T-40", 40);
    costs.setRate(3, "F-10", 10);
    costs.setRate(1, "V-unused", 1000);   // a rate of a key no section has costs nothing
    const auto r = aggregate({}, {a, b}, costs);
    const Sums &s = r[0].m3;
    EXPECT_FLOAT_EQ(s.SBRKP, 1000);          // 20 h x 50, the crew size does not multiply costs
    EXPECT_FLOAT_EQ(s.SBRPH, 50);            // 10 x 3 + 10 x 2
    EXPECT_FLOAT_EQ(s.SBRKT, 400);
    EXPECT_FLOAT_EQ(s.SNTKF, 80);
    EXPECT_FLOAT_EQ(s.SAUK, 200);            // 2 h x (40 + 10 + 50)
    EXPECT_FLOAT_EQ(s.SSTPH, 3);
    EXPECT_FLOAT_EQ(s.SZK[0], 600);          // 500 x 1.2
    EXPECT_EQ(s.ANZK[0], 1);
    EXPECT_EQ(s.ANZK[1], 0);

    const Stats &t = r[0].m4;
    EXPECT_FLOAT_EQ(t.XQBRK, (400 + 100 + 1000) / 50.0f);
    EXPECT_FLOAT_EQ(t.XQNEZ, 4 / 50.0f);
    EXPECT_FLOAT_EQ(t.XQNEK, 400 / 50.0f);   // (2 + 1 + 1) h x 100 per hour
    EXPECT_FLOAT_EQ(t.XQZK, 600);            // one positive additional cost
    EXPECT_FLOAT_EQ(t.SXZK, 1e9f);           // ... so its deviation is not defined
    EXPECT_FLOAT_EQ(t.XQZKM, 600 / 50.0f);
    // per-section gross costs per metre: 10 x 100 / 20 = 50 and 10 x 50 / 30; mean 1500 / 50 = 30
    const double q = 50.0 * 50 + (500.0 / 30) * (500.0 / 30);
    EXPECT_NEAR(t.SXBRK, std::sqrt(std::fabs(q - 30.0 * 30 * 2)), 1e-3);
}

TEST(Aggregation, ZeroLengthsAndHoursGiveZeroMeansNotFailures)
{
    // a section evaluated without hours, and one without length
    const auto r = aggregate({}, {section(0, 0, 0), section(10, 0, 0)}, {50, 1});
    const Stats &t = r[0].m4;
    for (float v : {t.XQBRV, t.XQNTV, t.SXBRV, t.XQBRK, t.SXBRK, t.XQZK, t.XQZKM})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(t.XQBRV, 0.0f);
    EXPECT_EQ(t.XQZK, 0.0f);
    EXPECT_EQ(t.SXZK, 1e9f);   // no positive additional cost at all

    const auto zeroLength = aggregate({}, {section(0, 2, 1)}, {50, 1});
    EXPECT_EQ(zeroLength[0].m4.XQBRK, 0.0f);
    EXPECT_TRUE(zeroLength[0].m3.BOKOMB);
}

TEST(Aggregation, CoefficientOfVariation)
{
    struct Case { float XQ, SX; bool defined; double VX; };
    const Case cases[] = {{2.0f, 0.5f, true, 0.25}, {-4.0f, 1.0f, true, -0.25}, {0.0f, 3.0f, false, 0}, {2.0f, 1e9f, true, 5e8}};
    for (const Case &c : cases) {
        double vx = -1;
        EXPECT_EQ(coefficientOfVariation(c.XQ, c.SX, vx), c.defined) << c.XQ;
        EXPECT_DOUBLE_EQ(vx, c.VX) << c.XQ;
    }
}

TEST(Aggregation, AdditionalMeasuresAreCountedBeyondSixteenBits)
{
    // 32,768 positive costs once wrapped to -32768 and gave a negative cost per measure.
    Section s = section(1, 1);
    s.ZK = {10, 0, 0, 0};
    const std::vector<Section> sections(32768, s);
    const auto r = aggregate({}, sections, {0, 1});
    EXPECT_EQ(r[0].m3.ANZK[0], 32768);
    EXPECT_FLOAT_EQ(r[0].m4.XQZK, 10);
    for (const auto &[column, value] : m3Columns(r[0].m3))
        if (column == "ANZKT")
            EXPECT_EQ(value.toLong(), 32768);
}
