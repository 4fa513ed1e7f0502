// Reading a drilling machine's logger file into a grid, one grid row per cycle, as the logger
// presets (VANT_VE1, VANT_VE2) describe the file: line blocks, one line per cycle, or all
// cycles in one line.
#pragma once

#include "data/FlexGrid.h"
#include "platform/RunContext.h"

#include <QString>
#include <cstdint>

namespace vnt {

class clsFLX;

// What the import needs of a grid beyond its cells.
class LoggerTarget {
public:
    virtual ~LoggerTarget() = default;
    virtual FlexGrid &grid() = 0;
    virtual QString importKey(int col) const = 0;   // the column's ELSELEK entry, "" when none
    virtual int columnType(int col) const = 0;      // 4 date, 5 time, ...
    virtual int dateColumn() const = 0;             // -1 when the grid has none
    virtual int timeColumn() const = 0;
    virtual QString columnHeader(int col) const = 0; // the name a message gives the column
    // The column's check of a value the import computed: "" when the column takes it, else
    // the check's message.
    virtual QString refusal(int col, const QString &text) const = 0;
    virtual void refresh() = 0;                     // reformat and renumber after the import
};

// The target over a typed grid.
class FlexLoggerTarget : public LoggerTarget {
public:
    explicit FlexLoggerTarget(clsFLX &flx) : flx_(flx) {}
    FlexGrid &grid() override;
    QString importKey(int col) const override;
    int columnType(int col) const override;
    int dateColumn() const override;
    int timeColumn() const override;
    QString columnHeader(int col) const override;
    QString refusal(int col, const QString &text) const override;
    void refresh() override;

private:
    clsFLX &flx_;
};

// -1 when the file was read to its end and the values cleaned up, 0 in every other case.
// AKVK names the logger configuration, DATEI the file (Windows-1252 text).
int16_t importLoggerFile(const RunContext &ctx, LoggerTarget &target, const QString &AKVK, const QString &DATEI);
int16_t importLoggerFile(const RunContext &ctx, clsFLX &flx, const QString &AKVK, const QString &DATEI);

namespace logger {
// The text of a Windows-1252 file.
QString decodeAnsi(const QByteArray &bytes);
QByteArray encodeAnsi(const QString &text);
} // namespace logger

} // namespace vnt
