// A thin writer over the SQLite C API for the demo installation: creates a database file
// from the schema, fills it in one transaction and puts it in place only when complete.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

struct sqlite3;

namespace vnt::demo {

struct DemoError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One column value as the program's data layer stores it: Null, a whole number (also
// 0/1 for Booleans), a floating-point number, or a text.
using Value = std::variant<std::monostate, long long, double, QString>;

inline Value nul() { return {}; }
inline Value num(long long v) { return v; }
inline Value flag(bool b) { return (long long)(b ? 1 : 0); }
// Single-precision columns hold what a float can hold, so the value reads back unchanged.
inline Value single(double v) { return (double)(float)v; }
inline Value dbl(double v) { return v; }
inline Value txt(const QString &s) { return s; }
inline Value singleOrNull(const std::optional<double> &v) { return v ? single(*v) : nul(); }

class DemoDatabase {
public:
    explicit DemoDatabase(sqlite3 *db) : db_(db) {}

    void exec(const QString &sql);
    // Inserts one row, the values in the table's column order.
    void insert(const QString &table, const std::vector<Value> &row);
    long long count(const QString &sql);

    // Creates `path` from the SQL files and fills it. The file appears only when
    // everything succeeded; an existing file at `path` is replaced.
    static void create(const QString &path, const QStringList &sqlFiles,
                       const std::function<void(DemoDatabase &)> &fill);
    // Opens an existing database and runs `work` in one transaction.
    static void update(const QString &path, const std::function<void(DemoDatabase &)> &work);

private:
    sqlite3 *db_;
};

// Day count since 1899-12-30, the program's date value.
double dayCount(int year, int month, int day);

} // namespace vnt::demo
