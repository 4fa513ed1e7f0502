// Hand-computed records through the evaluation arithmetic. The expected numbers were worked
// out on paper in single precision from the record's depths, totals and factors.
#include <gtest/gtest.h>
#include "input/Evaluation.h"

using namespace vnt;

namespace {

// Three sections ending at 2, 5 and 10 m: lengths 2, 3, 5.
EvaluationInput threeSections()
{
    EvaluationInput in;
    in.resize(3);
    in.Z = {2, 5, 10};
    in.PER = {2, 3, 3};
    return in;
}

void expectTimes(const std::vector<float> &actual, std::initializer_list<float> expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    size_t i = 0;
    for (float e : expected) {
        EXPECT_NEAR(actual[i], e, 1e-3) << "section " << i;
        ++i;
    }
}

} // namespace

struct EvalCase {
    const char *name;
    std::function<void(EvaluationInput &)> setup;
    std::vector<float> brz, ntz, auz, ppz, stz;
};

TEST(Evaluation, HandComputedRecords)
{
    const std::vector<EvalCase> cases = {
        {"all times given: totals unread, gross = net + parts",
         [](EvaluationInput &in) {
             in.BRZ = {3.f, 4.f, 9.f}; in.NTZ = {2.f, 3.f, 6.f};
             in.AUZ = {0.5f, 0.5f, 1.f}; in.PPZ = {0.25f, 0.f, 1.f}; in.STZ = {0.f, 1.f, 2.f};
             in.GBRZ = 999.f; in.GNTZ = 1.f;
         },
         {2.75f, 4.5f, 10.f}, {2, 3, 6}, {0.5f, 0.5f, 1}, {0.25f, 0, 1}, {0, 1, 2}},
        {"factors given: gross total spread by FA x DEZ (S = 15)",
         [](EvaluationInput &in) {
             in.GBRZ = 20.f; in.GNTZ = 15.f; in.FA = {1.f, 1.f, 2.f};
             in.FAUZ = {1, 1, 1}; in.FPPZ = {0, 0, 0}; in.FSTZ = {0, 0, 0};
         },
         {2.6667f, 4.f, 13.3333f}, {2, 3, 10}, {0.6667f, 1.f, 3.3333f}, {0, 0, 0}, {0, 0, 0}},
        {"one factor missing: spread by length; parts split 1:1:2",
         [](EvaluationInput &in) {
             in.GBRZ = 20.f; in.GNTZ = 15.f; in.FA = {1.f, std::nullopt, 2.f};
             in.FAUZ = {1, 1, 1}; in.FPPZ = {1, 1, 1}; in.FSTZ = {2, 2, 2};
         },
         {4, 6, 10}, {3, 4.5f, 7.5f}, {0.25f, 0.375f, 0.625f}, {0.25f, 0.375f, 0.625f}, {0.5f, 0.75f, 1.25f}},
        {"one gross time missing: every section re-spread, also the given ones",
         [](EvaluationInput &in) {
             in.BRZ = {1.f, std::nullopt, 1.f}; in.NTZ = {1.f, 1.f, 1.f};
             in.GBRZ = 20.f; in.GNTZ = 15.f;
             in.FAUZ = {0, 0, 0}; in.FPPZ = {0, 0, 0}; in.FSTZ = {1, 1, 1};
         },
         {4, 6, 10}, {3, 4.5f, 7.5f}, {0, 0, 0}, {0, 0, 0}, {1, 1.5f, 2.5f}},
        {"net total from the ancillary share: FNE 0.25 of 20 h gives 15 h net",
         [](EvaluationInput &in) {
             in.GBRZ = 20.f; in.FNE = 0.25f;
             in.FAUZ = {1, 1, 1}; in.FPPZ = {0, 0, 0}; in.FSTZ = {0, 0, 0};
         },
         {4, 6, 10}, {3, 4.5f, 7.5f}, {1, 1.5f, 2.5f}, {0, 0, 0}, {0, 0, 0}},
        {"parts incomplete with zero factors where gross equals net: parts become 0",
         [](EvaluationInput &in) {
             in.BRZ = {2.f, 3.f, 5.f}; in.NTZ = {2.f, 3.f, 5.f};
             in.AUZ = {1.f, std::nullopt, std::nullopt};
         },
         {2, 3, 5}, {2, 3, 5}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto in = threeSections();
        c.setup(in);
        const auto r = evaluateRecord(in);
        ASSERT_TRUE(r.ok());
        expectTimes(r.DEZ, {2, 3, 5});
        expectTimes(r.BRZ, {c.brz[0], c.brz[1], c.brz[2]});
        expectTimes(r.NTZ, {c.ntz[0], c.ntz[1], c.ntz[2]});
        expectTimes(r.AUZ, {c.auz[0], c.auz[1], c.auz[2]});
        expectTimes(r.PPZ, {c.ppz[0], c.ppz[1], c.ppz[2]});
        expectTimes(r.STZ, {c.stz[0], c.stz[1], c.stz[2]});
        EXPECT_EQ(r.PER, (std::vector<int16_t>{2, 3, 3}));
    }
}

TEST(Evaluation, NoticesStopBeforeAnyResult)
{
    struct Case {
        const char *name;
        std::function<void(EvaluationInput &)> setup;
        EvaluationNotice notice;
        int section;
    } cases[] = {
        {"neither net total nor ratio", [](EvaluationInput &in) { in.BRZ[0] = 1.f; in.NTZ[0] = 1.f; in.GBRZ = 10.f; },
         EvaluationNotice::Ratio, 1},
        {"gross total missing where it is needed", [](EvaluationInput &in) { in.GNTZ = 5.f; },
         EvaluationNotice::GrossMissing, 0},
        {"zero factors while gross and net differ",
         [](EvaluationInput &in) { in.BRZ = {2.f, 3.f, 6.f}; in.NTZ = {2.f, 3.f, 5.f}; },
         EvaluationNotice::Factor, 2},
        {"bore ending at depth 0", [](EvaluationInput &in) { in.Z = {0, 0, 0}; in.GBRZ = 1.f; in.GNTZ = 1.f; },
         EvaluationNotice::ZeroLength, 0},
        {"factors summing to 0", [](EvaluationInput &in) { in.GBRZ = 1.f; in.GNTZ = 1.f; in.FA = {0.f, 0.f, 0.f}; },
         EvaluationNotice::ZeroFactorSum, 0},
        // A section ending above the one before it would get a negative length, whether or not
        // its times are given; the first such section is named.
        {"depth going up, every time given",
         [](EvaluationInput &in) {
             in.Z = {2, 1, 0.5f};
             in.BRZ = in.NTZ = in.AUZ = in.PPZ = in.STZ = {1.f, 1.f, 1.f};
         },
         EvaluationNotice::DepthUp, 1},
        {"depth going up where times are spread", [](EvaluationInput &in) { in.Z = {2, 5, 3}; in.GBRZ = 1.f; in.GNTZ = 1.f; },
         EvaluationNotice::DepthUp, 2},
        {"first section ending above ground level", [](EvaluationInput &in) { in.Z = {-1, 5, 10}; },
         EvaluationNotice::DepthUp, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto in = threeSections();
        c.setup(in);
        const auto r = evaluateRecord(in);
        EXPECT_EQ(r.notice, c.notice);
        EXPECT_EQ(r.section, c.section);
        EXPECT_TRUE(r.BRZ.empty());
    }
}

TEST(Evaluation, ProgressValues)
{
    std::vector<float> seen;
    auto in = threeSections();
    in.GBRZ = 20.f; in.GNTZ = 15.f; in.FA = {1.f, 1.f, 2.f};
    in.FAUZ = {1, 1, 1};
    ASSERT_TRUE(evaluateRecord(in, [&](float v) { seen.push_back(v); }).ok());
    // spread (7, 15), no parts recorded (20), split per section 23 + round(7 i / 2), halves to even, crew (30)
    EXPECT_EQ(seen, (std::vector<float>{0, 7, 15, 20, 23, 27, 30, 30}));

    seen.clear();
    EvaluationInput one;
    one.resize(1);
    one.Z = {4};
    one.BRZ = {2.f}; one.NTZ = {2.f}; one.AUZ = {0.f}; one.PPZ = {0.f}; one.STZ = {0.f};
    ASSERT_TRUE(evaluateRecord(one, [&](float v) { seen.push_back(v); }).ok());
    // a single section takes each stage to its end value
    EXPECT_EQ(seen, (std::vector<float>{0, 7, 20, 27, 30}));
}
