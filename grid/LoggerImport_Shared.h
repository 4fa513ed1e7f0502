// What the source files of the logger-file import share: the configuration as the presets
// give it, the lines of the file, and the importer that fills the grid rows and cleans them up.
#pragma once

#include "grid/LoggerImport.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace vnt::loggerimport_shared {

inline const QString kTitle = QStringLiteral("MSFlexGrid / Importieren");

// One value of a configuration.
struct LoggerValue {
    QString key;
    std::optional<int> position;
    QString prefix, suffix;
    double factor = 1.0;
    int column = -1;   // -1: no grid column takes it
};

struct LoggerConfig {
    int16_t zl = 0;
    QString datum, uhrzeit, kenz1nr, kenz1kz, tzs, tzz;
    std::vector<LoggerValue> values;
};

// The end of the import: the result the caller receives.
struct Abort {};
// The end of the file: reading is over, the clean-up follows.
struct EndOfFile {};

// The lines of the file, as a reader that raises EndOfFile past the last one.
class Lines {
public:
    explicit Lines(QStringList lines) : lines_(std::move(lines)) {}
    bool atEnd() const { return next_ >= lines_.size(); }
    QString read()
    {
        if (atEnd())
            throw EndOfFile{};
        return lines_[next_++];
    }

private:
    QStringList lines_;
    qsizetype next_ = 0;
};

// Fills the grid rows from the file's lines, cycle by cycle (LoggerImport_Cycles.cpp), and then
// cleans up the rows it filled (LoggerImport_CleanUp.cpp).
class Importer {
public:
    Importer(LoggerTarget &t, const LoggerConfig &c) : target_(t), grid_(t.grid()), cfg_(c) {}

    void lineBlocks(Lines &in);
    void linePerCycle(Lines &in);
    void singleLine(Lines &in);
    void cleanUp();

private:
    void place(int position, const QString &text);
    // Takes n up to the cycle number the line holds; a line below n or without a whole number
    // ends the import, as counting up to it would.
    void countUpTo(const QString &line);
    // A cycle number beyond the program's whole numbers cannot be counted to: it is named, and
    // the import ends.
    static void refuseOutOfRange(const QString &line);
    static QString whole(long long v) { return QString::number(v); }
    static constexpr long long kLastCycle = std::numeric_limits<int32_t>::max();

    LoggerTarget &target_;
    FlexGrid &grid_;
    const LoggerConfig &cfg_;
    int firstRow_ = 1;
    int row_ = 1;
    long long n_ = 0;
};

} // namespace vnt::loggerimport_shared
