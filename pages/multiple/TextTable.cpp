// The combination table's layout and marks.
#include "pages/multiple/TextTable.h"

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
