// What the column accessor costs over plain SQL: a 50-row, 9-column section grid written
// column by column through the accessor and read back into a fresh grid, beside the same rows
// written with one statement per row and read with one SELECT. Each side writes and reads its
// grid in one transaction, as the input window saves a record. The grid is the same in every
// run: the accessor writes no value a row holds already, and neither does the plain side (an
// UPDATE only where a value differs, an INSERT only for a missing row), so that neither syncs
// and the ratio measures the layers and not the disk.
#include "BenchRun.h"
#include "data/FlexGrid.h"
#include "data/clsDATEN.h"
#include "platform/RunContext.h"
#include "platform/system.h"
#include "platform/db/Database.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 50;
constexpr int kCols = 9;   // column 0 numbers the sections, as the input window's grids do
const char *const kColumns[kCols] = {"I2", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8"};

class MemoryGrid : public vnt::FlexGrid {
public:
    MemoryGrid(int rows, int cols) : rows_(rows), cols_(cols), cells_(size_t(rows * cols)) {}
    int FixedRows() const override { return 1; }
    int Rows() const override { return rows_; }
    void setRows(int rows) override
    {
        rows_ = rows;
        cells_.resize(size_t(rows * cols_));
    }
    int Cols() const override { return cols_; }
    QString TextMatrix(int row, int col) const override { return cells_[size_t(row * cols_ + col)]; }
    void setTextMatrix(int row, int col, const QString &text) override { cells_[size_t(row * cols_ + col)] = text; }
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool e) override { enabled_ = e; }
    QColor BackColor() const override { return back_; }
    void setBackColor(const QColor &c) override { back_ = c; }
    QColor BackColorFixed() const override { return Qt::lightGray; }
    int Index() const override { return 0; }

private:
    int rows_, cols_;
    std::vector<QString> cells_;
    bool enabled_ = true;
    QColor back_ = Qt::white;
};

MemoryGrid sectionGrid()
{
    MemoryGrid g(1 + kRows, kCols);
    for (int r = 0; r < kRows; ++r) {
        g.setTextMatrix(1 + r, 0, QString::number(r));
        for (int c = 1; c < kCols; ++c)
            g.setTextMatrix(1 + r, c, QString::number(r * 10 + c) + QStringLiteral(",5"));
    }
    return g;
}

struct Database {
    QTemporaryDir dir;
    vnt::db::ConnectionPtr cnn;
    vnt::SimpleRunContext ctx;

    Database()
    {
        const QString path = dir.filePath(QStringLiteral("VANT.mdb"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.close();
        cnn = vnt::db::openDatabase(path);
        cnn->Execute(QStringLiteral(
            "CREATE TABLE E1 (ID INTEGER, KEN TEXT COLLATE NOCASE, AKT BOOLEAN);"
            "INSERT INTO E1 VALUES (7, 'B1', 1);"
            "CREATE TABLE E2 (ID INTEGER, I2 SMALLINT, C1 FLOAT, C2 FLOAT, C3 FLOAT, C4 FLOAT, C5 FLOAT,"
            " C6 FLOAT, C7 FLOAT, C8 FLOAT);"));
        ctx.cnn = cnn;
    }
};

void BM_Accessor(benchmark::State &state)
{
    Database db;
    const MemoryGrid grid = sectionGrid();
    vnt::clsDATEN d(db.ctx);
    d.setETABELLE(QStringLiteral("E2"));
    for (auto _ : state) {
        vnt::db::TransactionScope unit(*db.cnn);
        for (int c = 0; c < kCols; ++c)
            if (!d.DFTF(kColumns[c], grid, QString::number(c), QStringLiteral("I2")))
                state.SkipWithError("write failed");
        MemoryGrid back(2, kCols);
        for (int c = 0; c < kCols; ++c)
            if (!d.DTFF(kColumns[c], back, QString::number(c), QStringLiteral("I2")))
                state.SkipWithError("read failed");
        benchmark::DoNotOptimize(back.TextMatrix(kRows, kCols - 1));
        unit.commit();
    }
}

void BM_PlainSql(benchmark::State &state)
{
    Database db;
    const MemoryGrid grid = sectionGrid();
    sqlite3 *h = db.cnn->handle();
    sqlite3_stmt *upd = nullptr, *has = nullptr, *ins = nullptr, *sel = nullptr;
    sqlite3_prepare_v2(h,
                       "UPDATE E2 SET C1=?2, C2=?3, C3=?4, C4=?5, C5=?6, C6=?7, C7=?8, C8=?9 WHERE ID=7 AND I2=?1"
                       " AND (C1 IS NOT ?2 OR C2 IS NOT ?3 OR C3 IS NOT ?4 OR C4 IS NOT ?5 OR C5 IS NOT ?6"
                       " OR C6 IS NOT ?7 OR C7 IS NOT ?8 OR C8 IS NOT ?9)",
                       -1, &upd, nullptr);
    sqlite3_prepare_v2(h, "SELECT 1 FROM E2 WHERE ID=7 AND I2=?", -1, &has, nullptr);
    sqlite3_prepare_v2(h, "INSERT INTO E2 (ID, I2, C1, C2, C3, C4, C5, C6, C7, C8) VALUES (7,?,?,?,?,?,?,?,?,?)", -1,
                       &ins, nullptr);
    sqlite3_prepare_v2(h, "SELECT I2, C1, C2, C3, C4, C5, C6, C7, C8 FROM E2 WHERE ID=7 ORDER BY I2", -1, &sel,
                       nullptr);
    const QLocale german(QLocale::German, QLocale::Germany);
    for (auto _ : state) {
        vnt::db::TransactionScope unit(*db.cnn);
        for (int r = 1; r <= kRows; ++r) {
            const int section = grid.TextMatrix(r, 0).toInt();
            sqlite3_bind_int(upd, 1, section);
            for (int c = 1; c < kCols; ++c)
                sqlite3_bind_double(upd, c + 1, double(german.toFloat(grid.TextMatrix(r, c).trimmed())));
            sqlite3_step(upd);
            sqlite3_reset(upd);
            if (sqlite3_changes(h) > 0)
                continue;
            sqlite3_bind_int(has, 1, section);
            const bool exists = sqlite3_step(has) == SQLITE_ROW;
            sqlite3_reset(has);
            if (exists)
                continue;
            sqlite3_bind_int(ins, 1, section);
            for (int c = 1; c < kCols; ++c)
                sqlite3_bind_double(ins, c + 1, double(german.toFloat(grid.TextMatrix(r, c).trimmed())));
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        MemoryGrid back(1 + kRows, kCols);
        for (int r = 1; sqlite3_step(sel) == SQLITE_ROW; ++r) {
            back.setTextMatrix(r, 0, QString::number(sqlite3_column_int(sel, 0)));
            for (int c = 1; c < kCols; ++c)
                back.setTextMatrix(r, c, german.toString(float(sqlite3_column_double(sel, c))));
        }
        sqlite3_reset(sel);
        benchmark::DoNotOptimize(back.TextMatrix(kRows, kCols - 1));
        unit.commit();
    }
    sqlite3_finalize(upd);
    sqlite3_finalize(has);
    sqlite3_finalize(ins);
    sqlite3_finalize(sel);
}

BENCHMARK(BM_Accessor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSql)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vnt::sys::setLocale(QLocale(QLocale::German, QLocale::Germany));
    const auto results = vnt::bench::runBenchmarks(argc, argv);
    const auto accessor = results["BM_Accessor"];
    const auto plain = results["BM_PlainSql"];
    if (accessor.real > 0 && plain.real > 0 && plain.cpu > 0) {
        std::printf("accessor grid written and read back: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n",
                    accessor.real, plain.real, accessor.real / plain.real);
        std::printf("accessor grid written and read back, CPU: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n",
                    accessor.cpu, plain.cpu, accessor.cpu / plain.cpu);
    }
    return 0;
}
