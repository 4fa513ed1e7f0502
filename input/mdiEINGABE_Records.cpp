// Opening a record into the input window and saving it from there: the header fields, the
// section columns of E2 to E5 in the four grids, the unit-cost set and the breakdown options.
#include "input/mdiEINGABE.h"

#include "data/clsDATEN.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"
#include "platform/Guard.h"
#include "platform/db/Database.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QPalette>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <optional>

namespace vnt {

namespace {

const QString kError = QStringLiteral("VB-Fehler: ");

// Where each section column of the record lives: its table (E2..E5), its column, the grid
// column that holds it, and the grid it is saved from and opened into. Every value column goes
// to the same grid both ways. The section numbers I2 are saved from the sections grid (the
// times grid for E5), but on opening each table numbers another grid (E3 the times grid, E4 the
// additional-costs grid, E5 the factors grid), so that every grid gets its rows from the record.
struct GridColumn {
    int table;
    const char *column;
    int saveGrid, openGrid;
    const char *gridColumn;
};
constexpr GridColumn kGridColumns[] = {
    {2, "I2", 0, 0, "0"},   {2, "Z", 0, 0, "1"},
    {3, "I2", 0, 1, "0"},   {3, "D", 0, 0, "2"},    {3, "KENT", 0, 0, "4"}, {3, "KENV", 0, 0, "5"},
    {3, "KENL", 0, 0, "6"}, {3, "KENF", 0, 0, "7"}, {3, "ZKT", 2, 2, "1"},  {3, "ZKV", 2, 2, "2"},
    {3, "ZKL", 2, 2, "3"},  {3, "ZKF", 2, 2, "4"},  {3, "PER", 0, 0, "8"},
    {4, "I2", 0, 2, "0"},   {4, "KENG", 0, 0, "3"},
    {5, "I2", 1, 3, "0"},   {5, "NTZ", 1, 1, "2"},  {5, "AUZ", 1, 1, "3"},  {5, "FAUZ", 3, 3, "2"},
    {5, "PPZ", 1, 1, "4"},  {5, "FPPZ", 3, 3, "3"}, {5, "STZ", 1, 1, "5"},  {5, "FSTZ", 3, 3, "4"},
    {5, "NEZ", 1, 1, "6"},  {5, "BRZ", 1, 1, "1"},  {5, "FA", 3, 3, "1"},
};

// The header fields of the first tab with the E1 columns they hold, for opening and saving alike.
std::array<std::pair<const char *, QLineEdit *>, 7> headerFields(const mdiEINGABE &w)
{
    return {{{"DATUMA", w.txtDATUMA}, {"DATUME", w.txtDATUME}, {"NN", w.txtNN}, {"ZGW", w.txtZGW},
             {"GNTZ", w.txtGNTZ}, {"GBRZ", w.txtGBRZ}, {"FNE", w.txtFNE}}};
}

// The grids that save one table must agree: a disabled grid deletes its tables' rows of the
// record on saving, a shorter one those beyond its rows, the rows its partner has just written
// included. The sections grid writes E2 to E4 and shares E3 with the additional-costs grid; the
// times and factors grids share E5. A pair whose tables hold rows is enabled as a whole, so
// that a record lacking one of them (older files, imports) keeps the rows of the others, and
// its grids are made as long as each other.
void matchSharedGrids(mdiEINGABE &w, const std::array<bool, 7> &hasRows)
{
    struct Pair {
        int a, b;
        bool rows;
    };
    const Pair pairs[] = {{0, 2, hasRows[2] || hasRows[3] || hasRows[4]}, {1, 3, hasRows[5]}};
    for (const Pair &p : pairs) {
        if (!p.rows)
            continue;
        const int n = std::max(w.FLX(p.a).Rows(), w.FLX(p.b).Rows());
        for (int j : {p.a, p.b}) {
            clsFLX &f = w.FLX(j);
            f.setBackColor(QGuiApplication::palette().color(QPalette::Base));
            f.setEnabled(true);
            if (f.Rows() < n)
                f.setRows(n);
        }
    }
}

} // namespace

void mdiEINGABE::OEFFNEN(int32_t AKTID)
{
    Guard g(kError, QStringLiteral("Datei/Öffnen"));
    bool stop = false;
    // A failed read has shown the accessor's box; the open ends there.
    auto read = [&](auto f) {
        if (stop || g.left())
            return;
        bool done = false;
        g.step([&] { done = f(); });
        if (!done)
            stop = true;
    };
    auto id = [&](int t) { g.step([&] { e_[size_t(t)]->setESPIDW(AKTID); }); };
    const QString I2 = QStringLiteral("I2");
    auto grid = [&](int t, const char *column, int i, const char *col) {
        read([&] { return e_[size_t(t)]->DTFF(QString::fromLatin1(column), *msgFLX[size_t(i)], QString::fromLatin1(col), I2); });
    };

    id(1);
    read([&] { return e_[1]->DTFT(QStringLiteral("KEN"), *txtKEN); });
    if (!stop && !g.left())
        g.step([&] { e_[1]->DTFT(QStringLiteral("KOM"), *txtKOM); });   // a comment that cannot be read is no reason to stop
    for (const auto &[column, box] : headerFields(*this))
        read([&] { return e_[1]->DTFT(QString::fromLatin1(column), *box); });

    int table = 1;
    std::array<bool, 7> hasRows{};   // per table: a read found rows of the record
    for (const GridColumn &c : kGridColumns) {
        if (c.table != table)
            id(table = c.table);
        grid(c.table, c.column, c.openGrid, c.gridColumn);
        if (!stop && !g.left())
            hasRows[size_t(c.table)] = hasRows[size_t(c.table)] || msgFLX[size_t(c.openGrid)]->Enabled();
    }
    if (!stop && !g.left())
        g.step([&] { matchSharedGrids(*this, hasRows); });
    id(6);
    read([&] { return e_[6]->DTFMT(QStringLiteral("KENK"), *cboKENK); });
    read([&] { return e_[6]->DTVI(QStringLiteral("K"), K); });
    read([&] { return e_[6]->DTVI(QStringLiteral("ZAUF"), ZAUF); });
    if (!stop && !g.left()) {
        // Stored values outside the option groups would index no button.
        K = int16_t(std::clamp<int>(K, 0, 3));
        ZAUF = int16_t(std::clamp<int>(ZAUF, 0, 1));
        g.step([&] { OPTIONEN(); });
    }
    loadedInput_ = inputState();
}

bool mdiEINGABE::OK(int32_t &AKTID)
{
    // A value the user is still typing belongs to the record; one the grid refuses stops the save.
    if (!commitEditors())
        return false;

    Guard g(kError, QStringLiteral("OK"));
    const db::ConnectionPtr cnn = ctx_.cnnX();
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(*cnn); });
    if (!unit)
        return false;

    // Every step is checked, the comment too: a record saved in part is worse than one not saved.
    bool ok = true;
    auto write = [&](auto f) {
        if (!ok)
            return;
        bool done = false;
        g.step([&] { done = f(); });
        if (!done || g.failed())
            ok = false;
    };
    auto id = [&](int t) { write([&] { e_[size_t(t)]->setESPIDW(AKTID); return true; }); };
    const QString I2 = QStringLiteral("I2");
    auto grid = [&](int t, const char *column, int i, const char *col) {
        write([&] { return e_[size_t(t)]->DFTF(QString::fromLatin1(column), *msgFLX[size_t(i)], QString::fromLatin1(col), I2); });
    };

    id(1);
    write([&] { return e_[1]->DFTT(QStringLiteral("KEN"), *txtKEN); });
    write([&] { return e_[1]->DFTT(QStringLiteral("KOM"), *txtKOM); });
    write([&] { return e_[1]->DVTB(QStringLiteral("AKT"), true); });
    for (const auto &[column, box] : headerFields(*this))
        write([&] { return e_[1]->DFTT(QString::fromLatin1(column), *box); });

    int table = 1;
    for (const GridColumn &c : kGridColumns) {
        if (c.table != table)
            id(table = c.table);
        grid(c.table, c.column, c.saveGrid, c.gridColumn);
    }
    id(6);
    write([&] { return e_[6]->DFTMT(QStringLiteral("KENK"), *cboKENK); });
    write([&] { return e_[6]->DVTI(QStringLiteral("K"), K); });
    write([&] { return e_[6]->DVTI(QStringLiteral("ZAUF"), ZAUF); });

    if (ok)
        g.step([&] { unit->commit(); });
    return ok && !g.failed();
}

bool mdiEINGABE::commitEditors()
{
    for (int i = 0; i < 4; ++i) {
        if (!editorOpen(i))
            continue;
        FLX(i).EINFUEGEN(0);
        if (editorOpen(i)) {
            // Refused: the editor stays open with what the user typed, on a tab the user may
            // not be looking at; it comes to the front to be corrected.
            SSTab->setCurrentIndex(i + 1);
            QWidget *editor = txtFLX[size_t(i)]->isHidden() ? static_cast<QWidget *>(cboFLX0) : txtFLX[size_t(i)];
            editor->setFocus();
            return false;
        }
    }
    return true;
}

} // namespace vnt
