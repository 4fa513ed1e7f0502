// The power-of-ten scaling of cost series that the record and the multiple pages share.
#include "common/TestSupport.h"
#include "pages/common/PowerOfTen.h"

#include <cmath>
#include <limits>

using namespace vnt;

TEST(PowerOfTen, FindsAndAppliesThePower)
{
    struct Case {
        std::vector<double> in;
        int16_t potenz;
        float grenze;
        int16_t potenzDanach;
        std::vector<double> out;
    };
    const Case cases[] = {
        {{0, 12500}, 0, 9000, 1, {0, 1250}},
        {{0, 9000}, 0, 9000, 0, {0, 9000}},
        {{0, 2500000}, 0, 9000, 3, {0, 2500}},
        {{-50000, 0}, 0, 9000, 0, {-50000, 0}},
        {{1000, 2000}, 3, 0, 3, {1, 2}},
        {{1000, 2000}, 0, 0, 0, {1000, 2000}},
        {{1e9}, 2, 9000, 2, {1e7}},   // a given power is applied, never searched again
    };
    for (const Case &c : cases) {
        std::vector<double> w = c.in;
        int16_t p = c.potenz;
        EXPONENT(w, p, c.grenze);
        EXPECT_EQ(p, c.potenzDanach) << c.in.back();
        EXPECT_EQ(w, c.out) << c.in.back();
    }
    // Values that are no number are left out of the search and the scaling.
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    std::vector<double> w{0, inf, 12500, nan, -inf};
    int16_t p = 0;
    test::Boxes none;
    EXPECT_NO_THROW(EXPONENT(w, p, 9000));
    EXPECT_EQ(p, 1);
    EXPECT_DOUBLE_EQ(w[2], 1250);
    EXPECT_EQ(w[1], inf);
    EXPECT_TRUE(std::isnan(w[3]));

    EXPECT_EQ(potenzTitel(0, "E"), " [E]");
    EXPECT_EQ(potenzTitel(1, "E/m"), " [10 E/m]");
    EXPECT_EQ(potenzTitel(3, "E"), " [10{h,2}3 E]");
}
