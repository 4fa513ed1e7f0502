// The inline text markup "{code,n}" shared by the figure, table and page-header texts.
// A text is a sequence of plain runs and groups; a group styles the n characters after its "}"
// (raised, lowered, Greek, ...) or, for code "c", stands for the character with code n.
// A "{" that does not open a well-formed group is plain text: user data (record names,
// comments) may contain braces, and they must print as typed rather than stop the output.
#pragma once

#include <QString>
#include <vector>

namespace vnt::markup {

enum class RunKind {
    Plain,         // ordinary text
    Char,          // "c": one character by its code
    Greek,         // "g"
    Raised,        // "h"
    Lowered,       // "t"
    GreekRaised,   // "gh"
    GreekLowered,  // "gt"
    Symbol,        // "s": a point symbol numbered by the run's characters
    Other,         // any other code: drawn unchanged in the font of the run before
};

struct Run {
    RunKind kind = RunKind::Plain;
    QString text;     // the characters drawn (for Char: the one character; for Symbol: the digits)
    QString code;     // the group's code; empty for plain runs
    int value = 0;    // Char: the character code; Symbol: the symbol number (-1 when not a number)
};

struct Options {
    bool symbolCode = true;   // "s" draws a point symbol (figures); tables and headers know no "s"
};

// Splits a text into its runs. Never fails: a malformed group is plain text.
std::vector<Run> tokenize(const QString &text, const Options &opt = {});

// The text as its box is measured: every group header removed, the styled characters kept at
// normal size, a "c" group leaving nothing.
QString measuringCopy(const QString &text, const Options &opt = {});

// Font slot of a run: 2 normal, 3 Symbol, 4 small, 5 small Symbol; `previous` for codes
// that keep the font of the run before them.
int fontSlot(RunKind kind, int previous);
// Vertical shift of a run as a fraction of a height, upwards positive: raised +0.25, lowered
// -0.35 of the run's own height; Greek +0.1 of the height of "g" in the Symbol face; symbols
// -0.5 of the height of "s".
double shiftFactor(RunKind kind);

// A number written in exponent notation ("1.5E+03") becomes mantissa, "*10" and the raised
// exponent ("1.5*10{h,3}+03"). Returns whether the text was rewritten.
bool rewriteExponent(QString &text);

// The program's numeric test for a whole text (blanks around, sign, one decimal sign,
// exponent).
bool isNumeric(const QString &text);

} // namespace vnt::markup
