// The markup tokenizer, the measuring copy and the exponent rewriting.
#include <gtest/gtest.h>

#include "drawing/Markup.h"
#include "drawing/Surface.h"

using namespace vnt;
using namespace vnt::markup;

namespace {

QString describe(const std::vector<Run> &runs) {
    QStringList parts;
    for (const Run &r : runs) {
        static const char *names[] = {"P", "C", "G", "H", "T", "GH", "GT", "S", "O"};
        QString p = QString::fromLatin1(names[int(r.kind)]) + QLatin1Char('[') + r.text + QLatin1Char(']');
        if (r.kind == RunKind::Symbol || r.kind == RunKind::Char) p += QLatin1Char('=') + QString::number(r.value);
        parts << p;
    }
    return parts.join(QLatin1Char(' '));
}

struct TokenCase {
    const char *text;
    const char *runs;
};

} // namespace

TEST(Markup, TokenizesRunsAndGroups) {
    const TokenCase cases[] = {
        {"", ""},
        {"abc", "P[abc]"},
        {"10{h,2}3 m", "P[10] H[3 ] P[m]"},
        {"z [10{h,2}3 m]", "P[z [10] H[3 ] P[m]]"},
        {"{c,65}BC", "C[A]=65 P[BC]"},
        {"{g,1}a = 5{c,176}", "G[a] P[ = 5] C[\u00b0]=176"},
        {"{s,1}3 A", "S[3]=3 P[ A]"},
        {"{h,0}x", "H[] P[x]"},
        {"a{h,9}bc", "P[a] H[bc]"},
        {"{t,1}x{gh,1}y{gt,2}zz", "T[x] GH[y] GT[zz]"},
        {"{q,1}ab", "O[a] P[b]"},
        {"{h, 2 }xyz", "H[xy] P[z]"},
        {"{h,1}{x", "H[{] P[x]"},          // the run's characters are taken as they are
        {"a}b,c", "P[a}b,c]"},
        {"{c,128}", "C[\u20ac]=128"},
        {"{h,1}a{h,1}b", "H[a] H[b]"},
    };
    for (const TokenCase &c : cases)
        EXPECT_EQ(describe(tokenize(QString::fromUtf8(c.text))), QString::fromUtf8(c.runs)) << c.text;
}

TEST(Markup, MalformedBraceIsPlainText) {
    // User data such as record names may hold braces: they print as typed.
    const char *cases[] = {"ab{h2}c", "a{b", "{h,x}ab", "{h}1,", "{c,300}z", "{c,-1}z", "{h,-2}ab", "{", "{}", "{,}"};
    for (const char *c : cases) {
        const auto runs = tokenize(QString::fromLatin1(c));
        ASSERT_EQ(runs.size(), 1u) << c;
        EXPECT_EQ(runs[0].kind, RunKind::Plain) << c;
        EXPECT_EQ(runs[0].text, QString::fromLatin1(c));
    }
    // A malformed brace before a good group leaves the group working.
    EXPECT_EQ(describe(tokenize(QStringLiteral("{x {h,1}2"))), QStringLiteral("P[{x ] H[2]"));
}

TEST(Markup, SymbolCodeIsAnOption) {
    EXPECT_EQ(describe(tokenize(QStringLiteral("{s,1}3"), Options{false})), QStringLiteral("O[3]"));
    EXPECT_EQ(tokenize(QStringLiteral("{s,1}x"))[0].value, -1);
}

TEST(Markup, MeasuringCopyKeepsStyledCharactersAndDropsCharCodes) {
    EXPECT_EQ(measuringCopy(QStringLiteral("10{h,2}3 m")), QStringLiteral("103 m"));
    EXPECT_EQ(measuringCopy(QStringLiteral("{c,65}BC")), QStringLiteral("BC"));
    EXPECT_EQ(measuringCopy(QStringLiteral("ab{h2}c")), QStringLiteral("ab{h2}c"));
    EXPECT_EQ(measuringCopy(QStringLiteral("{s,1}4 A")), QStringLiteral("4 A"));
}

TEST(Markup, FontSlotsAndShifts) {
    EXPECT_EQ(fontSlot(RunKind::Plain, 0), 2);
    EXPECT_EQ(fontSlot(RunKind::Char, 4), 2);
    EXPECT_EQ(fontSlot(RunKind::Greek, 2), 3);
    EXPECT_EQ(fontSlot(RunKind::Lowered, 2), 4);
    EXPECT_EQ(fontSlot(RunKind::GreekRaised, 2), 5);
    EXPECT_EQ(fontSlot(RunKind::Other, 0), 0);
    EXPECT_EQ(fontSlot(RunKind::Other, 4), 4);
    EXPECT_DOUBLE_EQ(shiftFactor(RunKind::Raised), 0.25);
    EXPECT_DOUBLE_EQ(shiftFactor(RunKind::GreekLowered), -0.35);
    EXPECT_DOUBLE_EQ(shiftFactor(RunKind::Plain), 0);
}

TEST(Markup, ExponentNotationIsRewritten) {
    const std::pair<const char *, const char *> cases[] = {
        {"1.5E+03", "1.5*10{h,3}+03"}, {"2.5E-03", "2.5*10{h,3}-03"}, {"1e5", "1*10{h,1}5"},
        {"E 5", "E 5"},                {"12", "12"},                   {"abcE", "abcE"},
        {"1,5E2", "1,5*10{h,1}2"},     {"-3E-7", "-3*10{h,2}-7"},     {"1E", "1E"},
    };
    for (const auto &[in, out] : cases) {
        QString t = QString::fromLatin1(in);
        rewriteExponent(t);
        EXPECT_EQ(t, QString::fromLatin1(out)) << in;
    }
}

TEST(Markup, SymbolFontAndFamilies) {
    EXPECT_EQ(symbolToUnicode(QStringLiteral("abgDW")), QString::fromUtf8("αβγΔΩ"));
    EXPECT_EQ(symbolToUnicode(QStringLiteral("1+2")), QStringLiteral("1+2"));
    EXPECT_EQ(symbolToUnicode(QString(QChar(0xB0))), QString::fromUtf8("°"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("Times New Roman")), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(mapFontFamily(QStringLiteral("Courier")), QStringLiteral("Courier"));
    EXPECT_TRUE(isSymbolFont(QStringLiteral("symbol")));
    EXPECT_EQ(ansiChar(65), QChar('A'));
    EXPECT_EQ(ansiChar(0x96), QChar(0x2013));
    EXPECT_EQ(ansiChar(0xE4), QChar(0xE4));
}
