// A small working database in a temporary folder, a run context over it, a grid double and
// a way to see what a table holds, for the column accessor's tests.
#pragma once

#include "common/DbDump.h"
#include "common/QStringPrint.h"
#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "data/FlexGrid.h"
#include "data/clsDATEN.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include "platform/errors.h"

#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <vector>

namespace vnt::test {

// The tables the tests use, with the declared types of the schema.
inline const char *kDataSchema = R"(
CREATE TABLE E1 (ID INTEGER, KEN TEXT COLLATE NOCASE, KOM TEXT COLLATE NOCASE, AKT BOOLEAN,
                 DATUMA DATETIME, NN FLOAT, K SMALLINT);
CREATE TABLE E2 (ID INTEGER, I2 SMALLINT, Z FLOAT, T TEXT COLLATE NOCASE);
CREATE TABLE A2 (ID INTEGER, I2 SMALLINT, BRZ FLOAT, NTZ DOUBLE, N SMALLINT, L INTEGER, B BOOLEAN,
                 D DATETIME, T TEXT COLLATE NOCASE, X DOUBLE);
CREATE TABLE G1 (ID INTEGER, IDOBJEKT INTEGER, KEN TEXT COLLATE NOCASE, LFDNR SMALLINT, W FLOAT);
CREATE TABLE VANT_V11 (IDT INTEGER, KENT TEXT COLLATE NOCASE, EKT FLOAT);
CREATE TABLE VANT_V3 (IDK INTEGER, KENK TEXT COLLATE NOCASE, EK FLOAT);
)";

// A new database with the given tables.
inline db::ConnectionPtr makeDatabase(const QString &path, const char *schema = kDataSchema)
{
    auto cnn = makeEmptyDatabase(path);
    cnn->Execute(QString::fromUtf8(schema));
    return cnn;
}

// A grid that keeps its cells in memory.
class TestGrid : public FlexGrid {
public:
    TestGrid(int rows, int cols, int fixedRows = 1, int index = 0)
        : rows_(rows), cols_(cols), fixed_(fixedRows), index_(index) {}

    int FixedRows() const override { return fixed_; }
    int Rows() const override { return rows_; }
    void setRows(int rows) override
    {
        rows_ = rows;
        for (auto it = cells_.begin(); it != cells_.end();)
            it = it->first.first >= rows ? cells_.erase(it) : std::next(it);
    }
    int Cols() const override { return cols_; }
    QString TextMatrix(int row, int col) const override
    {
        if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
            raise(381, QStringLiteral("Subscript out of range"));
        const auto it = cells_.find({row, col});
        return it == cells_.end() ? QString() : it->second;
    }
    void setTextMatrix(int row, int col, const QString &text) override
    {
        if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
            raise(381, QStringLiteral("Subscript out of range"));
        cells_[{row, col}] = text;
    }
    bool Enabled() const override { return enabled_; }
    void setEnabled(bool e) override { enabled_ = e; }
    QColor BackColor() const override { return back_; }
    void setBackColor(const QColor &c) override { back_ = c; }
    QColor BackColorFixed() const override { return QColor(Qt::lightGray); }
    int Index() const override { return index_; }

    // The data rows of one column, top to bottom.
    QStringList column(int col) const
    {
        QStringList out;
        for (int r = fixed_; r < rows_; ++r)
            out << TextMatrix(r, col);
        return out;
    }
    void setColumn(int col, const QStringList &texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            setTextMatrix(fixed_ + i, col, texts[i]);
    }

private:
    int rows_, cols_, fixed_, index_;
    bool enabled_ = true;
    QColor back_ = Qt::white;
    std::map<std::pair<int, int>, QString> cells_;
};

// A working database with record 7 active, and the context an accessor reads.
class DataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        cnn = makeDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
        cnn->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (7, 'P7', 1)"));
        ctx.cnn = cnn;
        ctx.programpfad = QStringLiteral("/opt/korvane/VANT");
    }

    void exec(const QString &sql) { cnn->Execute(sql); }
    QString rows(const QString &sql) const { return dump(cnn, sql); }

    QTemporaryDir dir;
    db::ConnectionPtr cnn;
    SimpleRunContext ctx;
    Boxes boxes;   // any box a test did not script fails it
};

} // namespace vnt::test
