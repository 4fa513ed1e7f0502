// The four section grids of the input window: their columns, their binding to the typed grids
// and to one another, the preset keys the sections grid offers, and the row buttons, which act
// on one section in all four grids.
#include "input/mdiEINGABE.h"

#include "data/clsDATEN.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"
#include "platform/errors.h"

#include <QComboBox>
#include <cmath>
#include <limits>

namespace vnt {

namespace {

FlexValue texts(std::initializer_list<const char *> l)
{
    QStringList s;
    for (const char *t : l)
        s << QString::fromUtf8(t);
    return FlexValue::texts(s);
}

FlexValue numbers(std::initializer_list<double> l)
{
    QList<FlexValue> v;
    for (double d : l)
        v << (std::isnan(d) ? FlexValue::missing() : (d == std::floor(d) && std::abs(d) < 32768 ? FlexValue(int(d)) : FlexValue(d)));
    return FlexValue::list(v);
}

// A format list; an empty pattern leaves the column unformatted.
FlexValue formats(std::initializer_list<const char *> l)
{
    QList<FlexValue> v;
    for (const char *t : l)
        v << (*t ? FlexValue(QString::fromUtf8(t)) : FlexValue::missing());
    return FlexValue::list(v);
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
const double kHuge = std::pow(10.0, 100);   // bounds nothing: only negative numbers are refused

struct GridColumns {
    FlexValue widths, head1, head2, tips, types, formats, align, min, max;
};

// The four grids as the window declares them; section numbers are the fixed column 0.
std::array<GridColumns, 4> gridColumns()
{
    const char *nr = "Laufende Nummer des Abschnittes";
    return {{
        {numbers({12, 15, 20, 20, 20, 20, 20, 15, 12}),
         texts({"Abschn.", "z", "d", "KENG", "KENT", "KENV", "KENL", "KENF", "Pers."}),
         texts({"Nr.", "[m]", "[m]", "", "", "", "", "", "[n]"}),
         texts({nr, "UK des Abschnittes (GOK=0)", "Bohrrohraußendurchmesser", "Kennzeichnung des Gesteins",
                "Kennzeichnung des Trägergerätes", "Kennzeichnung der Verrohrung", "Kennzeichnung des Lösewerkzeuges",
                "Kennzeichnung des Förderwerkzeuges", "Anzahl der Personen"}),
         numbers({1, 0, 0, 7, 7, 7, 7, 7, 0}),
         formats({"#0", "#0.000", "#0.000", "", "", "", "", "", "#0"}),
         numbers({1, 2, 2, 0, 0, 0, 0, 0, 1}),
         numbers({0, -100000000, 0, kNone, kNone, kNone, kNone, kNone, 0}),
         numbers({50, 100000000, 100, kNone, kNone, kNone, kNone, kNone, 1000})},
        {numbers({12, 20, 20, 20, 20, 20, 20}),
         texts({"Abschn.", "BRZ", "NTZ", "AUZ", "PPZ", "STZ", "NEZ"}),
         texts({"Nr.", "[h]", "[h]", "[h]", "[h]", "[h]", "[h]"}),
         texts({nr, "Bruttozeit", "Nettozeit", "Arbeitsbedingte Unterbrechungszeiten", "Planmäßige Pausenzeiten",
                "Stillstandszeiten",
                "Bohrnebenzeiten (NEZ=AUZ+PPZ+STZ); Angabe nur erforderlich, wenn die Nebenzeiten mit den Faktoren aufgeteilt werden sollen"}),
         numbers({1, 0, 0, 0, 0, 0, 0}),
         texts({"#0", "#0.00", "#0.00", "#0.00", "#0.00", "#0.00", "#0.00"}),
         numbers({1, 2, 2, 2, 2, 2, 2}),
         numbers({0, 0, 0, 0, 0, 0, 0}),
         numbers({50, 10000, 10000, 10000, 10000, 10000, 10000})},
        {numbers({12, 20, 20, 20, 20}),
         texts({"Abschn.", "ZKT", "ZKV", "ZKL", "ZKF"}),
         texts({"Nr.", "[€]", "[€]", "[€]", "[€]"}),
         texts({nr, "Zusatzkosten des Trägergerätes", "Zusatzkosten der Verrohrung", "Zusatzkosten des Lösewerkzeuges",
                "Zusatzkosten des Förderwerkzeuges"}),
         numbers({1, 0, 0, 0, 0}),
         texts({"#0", "#0.00", "#0.00", "#0.00", "#0.00"}),
         numbers({1, 2, 2, 2, 2}),
         numbers({0, 0, 0, 0, 0}),
         numbers({50, kHuge, kHuge, kHuge, kHuge})},
        {numbers({12, 20, 20, 20, 20}),
         texts({"Abschn.", "FA", "FAUZ", "FPPZ", "FSTZ"}),
         texts({"Nr.", "[-]", "[-]", "[-]", "[-]"}),
         texts({nr, "Faktor zum Aufteilen der Gesamtbruttozeit auf die einzelnen Abschnitte",
                "Faktor zum Aufteilen der Bohrnebenzeit auf die Arbeitsbedingte Unterbrechungszeit",
                "Faktor zum Aufteilen der Bohrnebenzeit auf die Planmäßige Pausenzeit",
                "Faktor zum Aufteilen der Bohrnebenzeit auf die Stillstandszeit"}),
         numbers({1, 0, 0, 0, 0}),
         texts({"#0", "#0.00", "#0.00", "#0.00", "#0.00"}),
         numbers({1, 2, 2, 2, 2}),
         numbers({0, 0, 0, 0, 0}),
         numbers({50, kHuge, kHuge, kHuge, kHuge})},
    }};
}

} // namespace

void mdiEINGABE::bindGrids()
{
    const auto columns = gridColumns();
    for (int i = 0; i < 4; ++i) {
        auto f = std::make_shared<clsFLX>();
        flx_[size_t(i)] = f;
        f->setEFLX(msgFLX[size_t(i)]);
        f->setETXT(txtFLX[size_t(i)]);
        f->setEPIC(picFLX[size_t(i)]);
        if (i == 0)
            f->setECBO(cboFLX0);
        const GridColumns &s = columns[size_t(i)];
        f->setELSB(s.widths);
        f->setELST1(s.head1);
        f->setELST2(s.head2);
        f->setELSTTT(s.tips);
        f->setELSTYP(s.types);
        f->setELFORMAT(s.formats);
        f->setELA(s.align);
        f->setELMIN(s.min);
        f->setELMAX(s.max);
        f->SCHRIFTEINSTELLUNGEN(QString(), 11, 0, 0, 0, 0);
        f->BESCHRIFTEN();

        GridControl *g = msgFLX[size_t(i)];
        connect(g, &GridControl::DblClick, this, [this, i] { FLX(i).BEARBEITEN(0, 0); });
        connect(g, &GridControl::KeyPress, this, [this, i](int c) { msgFLX_KeyPress(i, c); });
        connect(g, &GridControl::Click, this, [this, i] {
            FLX(i).EINFUEGEN(0);
            OPTIONEN();
        });
        connect(g, &GridControl::MouseDown, this, [this, i](int, int, float x, float) { FLX(i).BEARBEITEN(-2, x); });
        connect(g, &GridControl::MouseUp, this, [this, i](int, int, float, float) { FLX(i).EINFUEGEN(-2); });
        connect(g, &GridControl::MouseMove, this, [this, i](int, int, float x, float y) { FLX(i).TOOLTIP(x, y); });
        connect(g, &GridControl::Scroll, this, [this, i] {
            FLX(i).EINFUEGEN(0);
            FLX(i).BESCHRIFTEN();
        });
    }
    for (int i = 0; i < 3; ++i)
        flx_[size_t(i)]->setEFLXK(flx_[size_t(i + 1)]);
}

// Each list holds the keys in ascending id order, then empty entries up to one more than the
// table has rows: the empty last item of the drop-down clears a cell.
void mdiEINGABE::buildChoiceLists()
{
    struct Preset { const char *table, *id, *key; int col; };
    const Preset presets[] = {{"VANT_V11", "IDT", "KENT", 4}, {"VANT_V12", "IDV", "KENV", 5}, {"VANT_V13", "IDL", "KENL", 6},
                              {"VANT_V14", "IDF", "KENF", 7}, {"VANT_V2", "IDG", "KENG", 3}};
    for (const Preset &p : presets) {
        clsDATEN d(ctx_);
        d.setEBOV(true);
        d.setETABELLE(QString::fromLatin1(p.table));
        d.setESPID(QString());
        const QString id = QString::fromLatin1(p.id);
        int32_t mini = 0, maxi = 0, an = 0;
        d.INDEXL(mini, maxi, an, id);
        // The walk counts with 16-bit ids, as the editor numbers its rows.
        if (mini < -32768 || maxi > 32767)
            vnt::raise(err::Overflow, QStringLiteral("Overflow"));
        d.setESPID(id);
        QStringList list;
        for (int k = 0; k <= an; ++k)
            list << QString();
        int next = 0;
        for (int v = mini; v <= maxi && an > 0; ++v) {
            d.setESPIDW(v);
            int32_t lo = 0, hi = 0, count = 0;
            d.INDEXL(lo, hi, count, id);
            if (count != 1)
                continue;
            QString key;
            d.DTVT(QString::fromLatin1(p.key), key);
            if (next < list.size())
                list[next++] = key;
        }
        flx_[0]->setELCBO(p.col, FlexValue::texts(list));
    }
    clsDATEN k(ctx_);
    k.setEBOV(true);
    k.setETABELLE(QStringLiteral("VANT_V3"));
    k.setESPID(QString());
    k.DTFMM(QStringLiteral("KENK"), *cboKENK, QStringLiteral("IDK"));
    cboKENK->setCurrentIndex(-1);
    cboKENK->setEditText(QString());
}

void mdiEINGABE::alignCurrentRows(int i)
{
    const int row = msgFLX[size_t(i)]->Row();
    for (GridControl *g : msgFLX)
        if (g->Rows() > g->FixedRows())
            g->setRow(std::clamp(row, g->FixedRows(), g->Rows() - 1));
}

// Row buttons act on all four grids at one index, whichever tab they stand on: row k of
// every grid is section k, so its depth, equipment and times must move together. A grid that
// holds no rows (disabled) stays out of inserts and removals: its record has no rows in that
// grid's tables until the user gives it rows.
void mdiEINGABE::cmdH_Click(int i)
{
    // An editor remembers its cell by row number, and the rows about to move may be those of
    // any grid: every open entry goes into its cell first, and a refused one stops the button.
    if (!commitEditors())
        return;
    if (!msgFLX[size_t(i)]->Enabled()) {
        // The grids without rows take up the sections the others hold (one when none do), all
        // of them at once: two grids write one table, and a grid left disabled would delete
        // the rows its partner writes.
        int sections = 1;
        for (GridControl *g : msgFLX)
            if (g->Enabled())
                sections = std::max(sections, g->Rows() - g->FixedRows());
        for (int j = 0; j < 4; ++j) {
            GridControl *g = msgFLX[size_t(j)];
            if (g->Enabled())
                continue;
            eachGridAlone([&] { FLX(j).ZEILEEINFUEGEN(); });
            g->setRows(g->FixedRows() + sections);
            FLX(j).NUMMERIEREN();
        }
        return;
    }
    alignCurrentRows(i);
    eachGridAlone([&] {
        for (int j = 0; j < 4; ++j)
            if (msgFLX[size_t(j)]->Enabled())
                FLX(j).ZEILEEINFUEGEN();
    });
}

void mdiEINGABE::cmdW_Click(int i)
{
    if (!commitEditors())
        return;
    if (!msgFLX[size_t(i)]->Enabled())
        return;   // no section to remove; the others' current rows must not be taken instead
    alignCurrentRows(i);
    FLX(0).ZEILEENTFERNEN();
}

void mdiEINGABE::eachGridAlone(const std::function<void()> &f)
{
    struct Rechain {
        mdiEINGABE *w;
        ~Rechain()
        {
            for (int i = 0; i < 3; ++i)
                w->flx_[size_t(i)]->setEFLXK(w->flx_[size_t(i + 1)]);
        }
    } rechain{this};
    for (int i = 0; i < 3; ++i)
        flx_[size_t(i)]->setEFLXK(nullptr);
    f();
}

void mdiEINGABE::cmdK_Click(int i) { FLX(i).BEARBEITEN(-1, 0); }

void mdiEINGABE::cmdE_Click(int i) { FLX(i).EINFUEGEN(-1); }
} // namespace vnt
