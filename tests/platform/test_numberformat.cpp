// The number formats that grids and drawing tables write (scientific ones included), in both
// locales, and the rounding rules (Format rounds half away from zero in decimal digits;
// RoundHalfEven to even).
#include "common/TestSupport.h"
#include "platform/NumberFormat.h"

using namespace vnt;
using vnt::test::LocaleScope;

TEST(NumberFormat, PatternsAndNamedFormats)
{
    struct Case {
        double value;
        const char *format;
        const char *german;
        const char *english;
    };
    const Case cases[] = {
        {1234.567, "#0.00", "1234,57", "1234.57"},
        {1234.567, "#,##0", "1.235", "1,235"},
        {1234567.5, "#,##0.00", "1.234.567,50", "1,234,567.50"},
        {0.25, "0.0", "0,3", "0.3"},
        {2.5, "0", "3", "3"},
        {-2.5, "0", "-3", "-3"},
        {1.005, "0.00", "1,01", "1.01"},        // the decimal value, not its binary neighbour
        {0.5, "#.##", ",5", ".5"},
        {-0.001, "0.00", "0,00", "0.00"},       // no sign on a value that rounds to zero
        {7, "00", "07", "07"},
        {0.123, "0%", "12%", "12%"},
        {12, "0 \"m\"", "12 m", "12 m"},
        {-5, "0;(0)", "(5)", "(5)"},
        {999.996, "#0.00", "1000,00", "1000.00"},
        {3.14159, "Fixed", "3,14", "3.14"},
        {1234.5, "Standard", "1.234,50", "1,234.50"},
        {1234.5, "General Number", "1234,5", "1234.5"},
        {0.1, "", "0,1", "0.1"},
        // Scientific: one whole digit, the pattern's decimals, the exponent as the pattern signs it.
        {1e9, "#0.0E+0", "1,0E+9", "1.0E+9"},
        {1234.5, "#0.0E+0", "1,2E+3", "1.2E+3"},
        {-2500, "#0.0E+0", "-2,5E+3", "-2.5E+3"},
        {0.000123, "#0.0E+0", "1,2E-4", "1.2E-4"},
        {9.96, "#0.0E+0", "1,0E+1", "1.0E+1"},          // the mantissa rounds up to ten
        {0, "#0.0E+0", "0,0E+0", "0.0E+0"},
        {1e9, "#0.00E-00", "1,00E09", "1.00E09"},       // "E-" signs only a negative exponent
        {0.0123, "0.00e-00", "1,23e-02", "1.23e-02"},
        {9.96, "\"ca. \"0.0E+0", "ca. 1,0E+1", "ca. 1.0E+1"},
        {-2500, "0.0E+0;(0.0E+0)", "(2,5E+3)", "(2.5E+3)"},
        {12, "0 \"E-Modul\"", "12 E-Modul", "12 E-Modul"},   // quoted text is no exponent
    };
    for (const auto lang : {QLocale::German, QLocale::English}) {
        LocaleScope scope(lang);
        for (const Case &c : cases)
            EXPECT_EQ(Format(c.value, c.format), lang == QLocale::German ? c.german : c.english)
                << c.value << " with " << c.format;
    }
}

TEST(NumberFormat, RoundHalfEven)
{
    struct { double value; int decimals; double expected; } cases[] = {
        {2.5, 0, 2}, {3.5, 0, 4}, {-2.5, 0, -2}, {0.125, 2, 0.12}, {0.135, 2, 0.14}, {1.2345, 3, 1.234}, {2.4, 0, 2},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(RoundHalfEven(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

TEST(NumberFormat, ParseNumber)
{
    LocaleScope de(QLocale::German);
    bool ok = false;
    EXPECT_EQ(parseNumber(" 12,5 ", &ok), 12.5);
    EXPECT_TRUE(ok);
    parseNumber("12,5 m", &ok);
    EXPECT_FALSE(ok);
    parseNumber("1.23", &ok);   // a German group sign before two digits
    EXPECT_FALSE(ok);
}
