// Tokenizer of the inline text markup.
#include "drawing/Markup.h"

#include "drawing/Surface.h"

#include <QRegularExpression>
#include <cmath>

namespace vnt::markup {

namespace {

// The group count or character code: a number with optional blanks and sign, taken to a whole
// number with halves to even.
bool groupNumber(const QString &s, int &out) {
    bool ok = false;
    const double v = s.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e9) return false;
    out = int(std::nearbyint(v));
    return true;
}

RunKind kindOf(const QString &code, const Options &opt) {
    if (code == QLatin1String("g")) return RunKind::Greek;
    if (code == QLatin1String("h")) return RunKind::Raised;
    if (code == QLatin1String("t")) return RunKind::Lowered;
    if (code == QLatin1String("gh")) return RunKind::GreekRaised;
    if (code == QLatin1String("gt")) return RunKind::GreekLowered;
    if (code == QLatin1String("s") && opt.symbolCode) return RunKind::Symbol;
    return RunKind::Other;
}

// A well-formed group at `open`: "{" code "," number "}" with the "," before the first "}".
struct Group {
    QString code;
    int number = 0;
    qsizetype end = -1;   // index of the "}"
};

bool parseGroup(const QString &t, qsizetype open, Group &g) {
    const qsizetype comma = t.indexOf(QLatin1Char(','), open + 1);
    const qsizetype close = t.indexOf(QLatin1Char('}'), open + 1);
    if (comma < 0 || close < 0 || close < comma) return false;
    g.code = t.mid(open + 1, comma - open - 1);
    // A second "{" before the comma means the first one was text, not a group.
    if (g.code.contains(QLatin1Char('{'))) return false;
    if (!groupNumber(t.mid(comma + 1, close - comma - 1), g.number)) return false;
    if (g.code == QLatin1String("c")) {
        if (g.number < 0 || g.number > 255) return false;
    } else if (g.number < 0) {
        return false;
    }
    g.end = close;
    return true;
}

} // namespace

std::vector<Run> tokenize(const QString &text, const Options &opt) {
    std::vector<Run> runs;
    QString plain;
    auto flush = [&] {
        if (!plain.isEmpty()) runs.push_back(Run{RunKind::Plain, plain, {}, 0});
        plain.clear();
    };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        Group g;
        if (text.at(i) != QLatin1Char('{') || !parseGroup(text, i, g)) {
            plain += text.at(i++);
            continue;
        }
        flush();
        if (g.code == QLatin1String("c")) {
            runs.push_back(Run{RunKind::Char, QString(ansiChar(g.number)), g.code, g.number});
            i = g.end + 1;
            continue;
        }
        const qsizetype from = g.end + 1;
        const qsizetype count = std::min<qsizetype>(g.number, n - from);
        Run r{kindOf(g.code, opt), text.mid(from, count), g.code, 0};
        if (r.kind == RunKind::Symbol) {
            int v = -1;
            r.value = groupNumber(r.text, v) ? v : -1;
        }
        runs.push_back(r);
        i = from + count;
    }
    flush();
    return runs;
}

QString measuringCopy(const QString &text, const Options &opt) {
    QString out;
    for (const Run &r : tokenize(text, opt))
        if (r.kind != RunKind::Char) out += r.text;
    return out;
}

int fontSlot(RunKind kind, int previous) {
    switch (kind) {
    case RunKind::Plain:
    case RunKind::Char: return 2;
    case RunKind::Greek: return 3;
    case RunKind::Raised:
    case RunKind::Lowered: return 4;
    case RunKind::GreekRaised:
    case RunKind::GreekLowered: return 5;
    case RunKind::Symbol:
    case RunKind::Other: return previous;
    }
    return previous;
}

double shiftFactor(RunKind kind) {
    switch (kind) {
    case RunKind::Greek: return 0.1;
    case RunKind::Raised:
    case RunKind::GreekRaised: return 0.25;
    case RunKind::Lowered:
    case RunKind::GreekLowered: return -0.35;
    case RunKind::Symbol: return -0.5;
    default: return 0;
    }
}

bool isNumeric(const QString &text) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?\\s*(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?\\s*$"));
    return re.match(text).hasMatch();
}

bool rewriteExponent(QString &text) {
    if (!isNumeric(text)) return false;
    const qsizetype p = text.indexOf(QLatin1Char('E'), 0, Qt::CaseInsensitive);
    if (p < 0) return false;
    const QString after = text.mid(p + 1);
    text = text.left(p) + QStringLiteral("*10{h,") + QString::number(after.size()) + QLatin1Char('}') + after;
    return true;
}

} // namespace vnt::markup
