// Value conversions that the data access and the input checks depend on, under both locales.
#include "common/ErrorOf.h"
#include "common/TestSupport.h"
#include "platform/Variant.h"
#include "platform/errors.h"
#include "platform/system.h"

#include <QDateTime>

using namespace vnt;
using vnt::test::errorOf;
using vnt::test::LocaleScope;

namespace {

struct TextCase {
    const char *text;
    double german;   // NaN: type mismatch
    double english;
};

} // namespace

TEST(Variant, TextToNumberFollowsTheLocale)
{
    const double mismatch = std::nan("");
    const TextCase cases[] = {
        {"3,5", 3.5, mismatch},         // a group sign in the wrong place is no number
        {"3.5", mismatch, 3.5},
        {"  -12,25 ", -12.25, mismatch},
        {"1.234,5", 1234.5, mismatch},
        {"1,234.5", mismatch, 1234.5},
        {"1.000.000", 1e6, mismatch},
        {"12.34", mismatch, 12.34},
        {"42", 42, 42},
        {",5", 0.5, mismatch},
        {"1E3", 1000, 1000},
        {"", mismatch, mismatch},
        {"abc", mismatch, mismatch},
        {"3,5x", mismatch, mismatch},
    };
    for (const auto lang : {QLocale::German, QLocale::English}) {
        LocaleScope scope(lang);
        for (const TextCase &c : cases) {
            const double expected = lang == QLocale::German ? c.german : c.english;
            SCOPED_TRACE(std::string(c.text) + (lang == QLocale::German ? " (de)" : " (en)"));
            if (std::isnan(expected))
                EXPECT_EQ(errorOf([&] { Variant(c.text).toDouble(); }), err::TypeMismatch);
            else
                EXPECT_DOUBLE_EQ(Variant(c.text).toDouble(), expected);
        }
    }
}

TEST(Variant, NumberToTextUsesTheLocaleDecimalSign)
{
    {
        LocaleScope de(QLocale::German);
        EXPECT_EQ(Variant(3.5).toString(), "3,5");
        EXPECT_EQ(Variant(0.1f).toString(), "0,1");   // a Single shows its own digits, not the double's
        EXPECT_EQ(Variant(true).toString(), "Wahr");
        EXPECT_EQ(Variant(1e20).toString(), "1E+20");
    }
    LocaleScope en(QLocale::English);
    EXPECT_EQ(Variant(3.5).toString(), "3.5");
    EXPECT_EQ(Variant(false).toString(), "False");
    EXPECT_EQ(Variant(int16_t(-7)).toString(), "-7");
}

TEST(Variant, WholeNumbersRoundHalfToEvenAndOverflow)
{
    struct { double in; int16_t out; } rounding[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.51, 3}, {32767.4, 32767}};
    for (const auto &c : rounding)
        EXPECT_EQ(Variant(c.in).toInt(), c.out) << c.in;
    EXPECT_EQ(Variant("2,5").toInt(), 2);
    EXPECT_EQ(Variant(70000.5).toLong(), 70000);

    for (const Variant &v : {Variant(32767.5), Variant(-32769.0), Variant(int32_t(40000)), Variant("99999")})
        EXPECT_EQ(errorOf([&] { v.toInt(); }), err::Overflow) << v.text().toStdString();
    EXPECT_EQ(errorOf([] { Variant(3e9).toLong(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant(1e300).toSingle(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant("1E400").toDouble(); }), err::Overflow);
}

TEST(Variant, BooleanNullAndEmpty)
{
    EXPECT_EQ(Variant(true).toDouble(), -1.0);
    EXPECT_EQ(Variant(true).toInt(), -1);
    EXPECT_TRUE(Variant("Wahr").toBool());
    EXPECT_TRUE(Variant("true").toBool());
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_TRUE(Variant(int16_t(2)).toBool());
    EXPECT_EQ(errorOf([] { Variant("vielleicht").toBool(); }), err::TypeMismatch);

    // Null refuses every typed reading; Empty reads as nothing.
    const Variant null = Variant::null();
    for (const auto &read : std::vector<std::function<void()>>{
             [&] { null.toBool(); }, [&] { null.toInt(); }, [&] { null.toLong(); }, [&] { null.toSingle(); },
             [&] { null.toDouble(); }, [&] { null.toDate(); }, [&] { null.toString(); }})
        EXPECT_EQ(errorOf(read), err::InvalidUseOfNull);
    EXPECT_EQ(null.text(), "");
    const Variant empty;
    EXPECT_EQ(empty.toDouble(), 0.0);
    EXPECT_EQ(empty.toString(), "");
    EXPECT_FALSE(empty.toBool());
    EXPECT_FALSE(empty == null);
    EXPECT_TRUE(Variant(int16_t(3)) == Variant(3.0));
    EXPECT_FALSE(Variant("3") == Variant(3.0));
}

TEST(Variant, DatesCountDaysFrom1899)
{
    EXPECT_EQ(toDayCount(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(toDayCount(QDateTime(QDate(2000, 1, 1), QTime(12, 0))), 36526.5);
    // Before the epoch the fraction still counts forward from that day's midnight.
    EXPECT_EQ(fromDayCount(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(toDayCount(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(fromDayCount(1.0 - 1e-10), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));

    {
        LocaleScope de(QLocale::German);
        EXPECT_EQ(Variant("01.01.2000").toDate(), 36526.0);
        EXPECT_EQ(Variant("01.01.2000 12:00").toDate(), 36526.5);
        EXPECT_EQ(Variant("1.1.2000").toDate(), 36526.0);
        EXPECT_EQ(Variant("01.01.29").toDate(), toDayCount(QDateTime(QDate(2029, 1, 1), QTime(0, 0))));
        EXPECT_EQ(Variant::date(36526.5).toString(), "01.01.2000 12:00:00");
        EXPECT_EQ(Variant::date(36526).toString(), "01.01.2000");
        EXPECT_EQ(Variant::date(0.5).toString(), "12:00:00");  // no date part: the time alone
        EXPECT_EQ(errorOf([] { Variant("31.02.2000").toDate(); }), err::TypeMismatch);
    }
    LocaleScope en(QLocale::English);
    EXPECT_EQ(Variant("1/2/2000").toDate(), 36527.0);  // month first
}

// A date the program shows must read back as the same date under every locale, the C locale
// of a fresh machine included, and the form the input labels ask for (TT.MM.JJ) always reads.
TEST(Variant, DatesShownReadBackUnderEveryLocale)
{
    const double march2 = toDayCount(QDateTime(QDate(2026, 3, 2), QTime(0, 0)));
    for (const auto lang : test::kEveryLocale) {
        LocaleScope scope(lang);
        SCOPED_TRACE(LocaleScope::nameOf(lang));
        for (const double days : {march2, 36526.0, 36526.5, 0.5, -700.0, march2 + 0.75}) {
            const QString shown = Variant::date(days).toString();
            SCOPED_TRACE(shown.toStdString());
            EXPECT_DOUBLE_EQ(Variant(shown).toDate(), days);
        }
        for (const char *typed : {"02.03.26", "02.03.2026", "2.3.26", "2.3.2026", "2026-03-02"})
            EXPECT_EQ(Variant(typed).toDate(), march2) << typed;
        EXPECT_EQ(Variant("02.03.26 12:00").toDate(), march2 + 0.5);
        EXPECT_EQ(errorOf([] { Variant("31.02.26").toDate(); }), err::TypeMismatch);
        EXPECT_EQ(errorOf([] { Variant("2 Mrz").toDate(); }), err::TypeMismatch);

        // The decimal sign stays the locale's.
        const QString dec = sys::locale().decimalPoint();
        EXPECT_EQ(Variant(3.5).toString(), "3" + dec + "5");
        EXPECT_EQ(Variant("3" + dec + "5").toDouble(), 3.5);
    }
    LocaleScope c(QLocale::C);
    EXPECT_EQ(Variant::date(march2).toString(), "02.03.2026");   // digits only, as the labels ask
}
