// The layouts of the combination tables and of the statistics table.
#include "pages/multiple/CombinationTables.h"

namespace vnt {

CellArray combinationTableHead()
{
    return CellArray::fromRows({{Variant("Nr."), Variant("KENG"), Variant("KENT"), Variant("KENV"), Variant("KENL"),
                                 Variant("KENF"), Variant()}});
}

TextTable combinationTable(int number, const QString &box, const QString &scrollBar, const CellArray &head,
                             CellArray body, const std::vector<bool> &found)
{
    TextTable t;
    t.number = number;
    t.box = box;
    t.scrollBar = scrollBar;
    t.widths = {Variant(5.0f), Variant(13.0f), Variant(13.0f), Variant(13.0f), Variant(13.0f), Variant(13.0f),
                Variant(4.0f)};
    t.rules = {Variant(int16_t(2)), Variant(int16_t(1)), Variant(int16_t(1)), Variant(int16_t(1)),
               Variant(int16_t(1)), Variant(int16_t(2))};
    t.ruleGaps = VariantList(6, Variant(int16_t(0)));
    t.alignments = {Variant(int16_t(1)), Variant(int16_t(0)), Variant(int16_t(0)), Variant(int16_t(0)),
                    Variant(int16_t(0)), Variant(int16_t(0)), Variant(int16_t(1))};
    t.formats = {Variant("#0"), Variant(""), Variant(""), Variant(""), Variant(""), Variant(""), Variant("")};
    t.title = QStringLiteral("Kombinationen");
    t.printedRowsInTitle = true;
    t.runOnTexts = true;
    for (size_t c = 0; c < found.size() && int(c) < body.rows(); ++c)
        if (!found[c]) {
            body.set(6, int(c), Variant("*"));
            t.footnote = QString::fromUtf8("* Für diese Kombination kein Abschnitt vorhanden");
        }
    t.head = head;
    t.body = body;
    return t;
}

} // namespace vnt

namespace vnt {

namespace {

struct StatisticsGroup {
    const char *title, *unit;
};

// Group 4 counts costs per measure, whose spread can be far larger than its column is wide.
constexpr int kScientificGroup = 4;

const StatisticsGroup kStatisticsGroups[6] = {
    {"Vortriebsgeschwindigkeit", "[m/h]"}, {"Bohrkosten", "[E/m]"},
    {"bez. Bohrnebenzeiten", "[h/m]"},     {"bez. Bohrnebenkosten", "[E/m]"},
    {"Kosten pro Zusatzmaßnahme", "[E/n]"}, {"Zusatzkosten pro Meter", "[E/m]"},
};

} // namespace

CellArray statisticsTableHead()
{
    CellArray head(19, 3);
    head.set(0, 1, Variant("Komb."));
    head.set(0, 2, Variant("Nr."));
    for (int g = 0; g < 6; ++g) {
        head.set(3 * g + 1, 0, Variant(QString::fromUtf8(kStatisticsGroups[g].title)));
        const char *const names[3] = {"XQ", "SX", "VX"};
        for (int k = 0; k < 3; ++k) {
            head.set(3 * g + 1 + k, 1, Variant(names[k]));
            head.set(3 * g + 1 + k, 2, Variant(kStatisticsGroups[g].unit));
        }
    }
    return head;
}

TextTable statisticsTable(int number, const QString &box, const QString &scrollBar, const CellArray &head,
                          const CellArray &body, int16_t VZ)
{
    TextTable t;
    t.number = number;
    t.box = box;
    t.scrollBar = scrollBar;
    t.widths = {Variant(10.0f)};
    t.alignments = {Variant(int16_t(1))};
    t.formats = {Variant("#0")};
    for (int g = 0; g < 6; ++g) {
        for (int k = 0; k < 3; ++k) {
            t.widths.append(Variant(12.0f));
            t.alignments.append(Variant(int16_t(2)));
            t.formats.append(Variant(g == kScientificGroup && k > 0 ? "#0.0E+0" : "#0.00"));
        }
        // A double rule after the number and after each group; the rules inside a group stop
        // below the group's title.
        t.rules << Variant(int16_t(2)) << Variant(int16_t(1)) << Variant(int16_t(1));
        t.ruleGaps << Variant(int16_t(0)) << Variant(int16_t(1)) << Variant(int16_t(1));
    }
    t.head = head;
    t.body = body;
    t.title = QStringLiteral("Mittelwerte, Standardabweichung und Variationskoeffizient");
    t.printedRowsInTitle = true;
    if (VZ == 0)
        t.footnote = QStringLiteral("Zeiten und Kosten sind Bruttowerte");
    else if (VZ == 1)
        t.footnote = QStringLiteral("Zeiten und Kosten sind Nettowerte");
    t.footnoteSize = 8;
    return t;
}

} // namespace vnt
