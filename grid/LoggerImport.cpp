// The logger-file import. The file is read once into lines; a reader walks them cycle by
// cycle and places every configured value into the row being filled; the clean-up then
// rewrites prefixes, dates, times, decimal signs and factors over the imported rows.
#include "grid/LoggerImport.h"

#include "data/clsDATEN.h"
#include "grid/GridText.h"
#include "grid/clsFLX.h"
#include "platform/NumberFormat.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QFile>
#include <QLocale>
#include <array>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace vnt {

// ---- the typed grid as a target -------------------------------------------------------

FlexGrid &FlexLoggerTarget::grid() { return flx_; }

QString FlexLoggerTarget::importKey(int col) const
{
    const FlexValue keys = flx_.ELSELEK();
    if (!keys.isArray() || col > keys.ubound())
        return {};
    return keys.at(col).text();
}

int FlexLoggerTarget::columnType(int col) const
{
    const FlexValue types = flx_.ELSTYP();
    if (!types.isArray() || col > types.ubound())
        return 0;
    return types.at(col).toInt();
}

int FlexLoggerTarget::dateColumn() const { return flx_.typeColumn(4); }
int FlexLoggerTarget::timeColumn() const { return flx_.typeColumn(5); }

QString FlexLoggerTarget::columnHeader(int col) const { return flx_.header1(col); }

QString FlexLoggerTarget::refusal(int col, const QString &text) const
{
    clsFLX::Check c = flx_.checkValue(text, col);
    // A cell holds what a single float holds, whatever limits the column has.
    const auto x = gridtext::readNumber(text);
    if (c.ok && x && std::fabs(*x) > double(FLT_MAX))
        c = flx_.WERTPRUEFEN(text, -double(FLT_MAX), double(FLT_MAX), false, false, QString());
    return c.ok ? QString() : c.message;
}

void FlexLoggerTarget::refresh()
{
    flx_.AKTUALISIEREN();
    flx_.NUMMERIEREN();
}

namespace logger {

QString decodeAnsi(const QByteArray &bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (char c : bytes)
        s.append(gridtext::ansiChar(static_cast<unsigned char>(c)));
    return s;
}

QByteArray encodeAnsi(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        int code = '?';
        for (int b = 0; b < 256; ++b)
            if (gridtext::ansiChar(b) == ch) {
                code = b;
                break;
            }
        out.append(char(code));
    }
    return out;
}

} // namespace logger

namespace {

const QString kTitle = QStringLiteral("MSFlexGrid / Importieren");

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

QString placeholders(QString s)
{
    s.replace(QLatin1String("<BLANK>"), QLatin1String(" "));
    s.replace(QLatin1String("<TAB>"), QLatin1String("\t"));
    return s;
}

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

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

std::optional<double> numberOf(const QString &line) { return gridtext::readNumber(line.trimmed()); }

bool isNumber(const QString &line, double n)
{
    const auto v = numberOf(line);
    return v && *v == n;
}

// A number written by the logger: a point or a comma as its decimal sign.
std::optional<double> loggerNumber(const QString &cell)
{
    QString t = cell.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (ok && std::isfinite(v))
        return v;
    return gridtext::readNumber(cell);
}

int ask(const QString &text, int buttons)
{
    return ui::MsgBox(text, buttons | ui::vbExclamation, kTitle);
}

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
    void countUpTo(const QString &line)
    {
        refuseOutOfRange(line);
        const auto v = numberOf(line);
        if (!v || *v < double(n_) || *v != std::floor(*v))
            throw Abort{};
        n_ = static_cast<long long>(*v);
    }
    // A cycle number beyond the program's whole numbers cannot be counted to: it is named, and
    // the import ends.
    static void refuseOutOfRange(const QString &line)
    {
        const auto v = numberOf(line);
        if (!v || *v <= double(kLastCycle))
            return;
        ui::MsgBox(QStringLiteral("ZyklusNr. ") + line.trimmed() + QStringLiteral(" der Elektronikdatei liegt außerhalb des Bereichs von 0 bis ")
                       + whole(kLastCycle) + QStringLiteral("!"),
                   ui::vbOKOnly | ui::vbExclamation, kTitle);
        throw Abort{};
    }
    static QString whole(long long v) { return QString::number(v); }
    static constexpr long long kLastCycle = std::numeric_limits<int32_t>::max();

    LoggerTarget &target_;
    FlexGrid &grid_;
    const LoggerConfig &cfg_;
    int firstRow_ = 1;
    int row_ = 1;
    long long n_ = 0;
};

void Importer::place(int position, const QString &text)
{
    for (const LoggerValue &v : cfg_.values) {
        if (!v.position || *v.position != position || v.column < 0)
            continue;
        if (row_ == grid_.Rows())
            grid_.setRows(grid_.Rows() + 1);
        grid_.setTextMatrix(row_, v.column, text.trimmed());
    }
}

void Importer::lineBlocks(Lines &in)
{
    const int zl = cfg_.zl;
    if (zl <= 0)
        throw Abort{};   // a cycle without lines could never advance through the file
    int k = 0;
    firstRow_ = grid_.Rows() - 1;
    row_ = firstRow_;
    try {
        if (!cfg_.kenz1nr.isEmpty()) {
            const long long m = cfg_.kenz1nr.trimmed().toLongLong();
            for (long long i = 0; i < m * zl; ++i)
                in.read();
            n_ = m;
        } else if (!cfg_.kenz1kz.isEmpty()) {
            long long count = 0;
            for (;;) {
                const QString line = in.read();
                if (line.trimmed() == cfg_.kenz1kz)
                    break;
                ++count;
                if (zl != 0 && count % zl == 0) {
                    ++n_;
                    k = 0;
                } else {
                    ++k;
                }
            }
            ++k;
        }

        bool first = true;
        while (!in.atEnd()) {
            if (!first)
                k = 0;
            first = false;
            while (k < zl) {
                QString line = in.read();
                if (k == 0 && !isNumber(line, zl - 1)) {
                    const QString text = row_ == firstRow_
                                             ? QStringLiteral("Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!")
                                             : QStringLiteral("ZyklusNr. ") + whole(n_ - 1)
                                                   + QStringLiteral(" der Elektronikdatei ist beschädigt!");
                    if (ask(text, ui::vbOKCancel) == ui::vbCancel)
                        throw Abort{};
                    ++n_;
                    // The damaged cycle's row is filled again, but never a row above the import.
                    if (row_ > firstRow_)
                        --row_;
                    do
                        line = in.read();
                    while (!isNumber(line, zl - 1));
                    k = 1;
                    line = in.read();
                    countUpTo(line);
                } else if (k == 1 && !isNumber(line, double(n_))) {
                    refuseOutOfRange(line);
                    if (ask(QStringLiteral("Es fehlen ein oder mehrere Zyklen nach ZyklusNr. ") + whole(n_ - 1)
                                + QStringLiteral(" !"),
                            ui::vbOKCancel)
                        == ui::vbCancel)
                        throw Abort{};
                    countUpTo(line);
                }
                place(k, line);
                ++k;
            }
            ++row_;
            ++n_;
        }
    } catch (const EndOfFile &) {
        // the end of the file ends reading, even inside a cycle
    }
}

void Importer::linePerCycle(Lines &in)
{
    const QString &sep = cfg_.tzs;
    const int zl = cfg_.zl;
    try {
        if (!cfg_.kenz1nr.isEmpty()) {
            const long long m = cfg_.kenz1nr.trimmed().toLongLong();
            for (long long i = 0; i < m; ++i)
                in.read();
        } else if (!cfg_.kenz1kz.isEmpty()) {
            while (!in.read().contains(cfg_.kenz1kz)) {
            }
        }
        n_ = 0;
        firstRow_ = grid_.Rows() == 2 ? 1 : grid_.Rows();
        row_ = firstRow_;
        while (!in.atEnd()) {
            const QString line = in.read();
            qsizetype p = 0;
            bool damaged = false;
            for (int k = 0; k < zl && !damaged; ++k) {
                QString field;
                if (k == zl - 1) {
                    if (k == 0)
                        p = sep.size();
                    const qsizetype len = line.size() - 2 - p;
                    if (p > line.size() || len < 0)
                        throw Abort{};   // a line too short for its last field
                    field = line.mid(p, len);
                } else if (k == 0) {
                    const qsizetype q = line.indexOf(sep);
                    if (q < 0)
                        throw Abort{};
                    field = line.left(q);
                    p = q + sep.size();
                } else {
                    const qsizetype q = line.indexOf(sep, p);
                    if (q < 0) {
                        if (ask(QStringLiteral("ZyklusNr. ") + whole(n_) + QStringLiteral(" ist beschädigt!"), ui::vbOKCancel)
                            == ui::vbCancel)
                            throw Abort{};
                        damaged = true;   // the next line fills the same row
                        break;
                    }
                    field = line.mid(p, q - p);
                    p = q + sep.size();
                }
                place(k, field);
            }
            if (damaged)
                continue;
            ++row_;
            ++n_;
        }
    } catch (const EndOfFile &) {
    }
}

void Importer::singleLine(Lines &in)
{
    const QString &sep = cfg_.tzs, &end = cfg_.tzz;
    const int zl = cfg_.zl;
    QString line;
    try {
        line = in.read();
    } catch (const EndOfFile &) {
        return;
    }
    qsizetype start = -1;
    if (!cfg_.kenz1nr.isEmpty()) {
        const long long m = cfg_.kenz1nr.trimmed().toLongLong();
        n_ = m;
        if (m == 0) {
            start = end.size();
        } else {
            qsizetype at = -end.size();
            for (long long i = 0; i < m; ++i) {
                at = line.indexOf(end, at + end.size());
                if (at < 0)
                    throw Abort{};
            }
            start = at + end.size();
        }
    } else if (!cfg_.kenz1kz.isEmpty()) {
        n_ = 0;
        const qsizetype at = line.indexOf(cfg_.kenz1kz);
        if (at < 0)
            throw Abort{};
        start = at + cfg_.kenz1kz.size();
    }
    firstRow_ = grid_.Rows() == 2 ? 1 : grid_.Rows();
    row_ = firstRow_;
    for (;;) {
        const qsizetype stop = line.indexOf(end, start + 1);
        if (stop < 0)
            return;
        if (start < 0)
            throw Abort{};
        const QString record = line.mid(start, stop - start);
        qsizetype p = 0;
        for (int k = 0; k < zl; ++k) {
            QString field;
            if (k == zl - 1 && k > 0) {
                const qsizetype len = record.size() - 2 - p;
                if (len < 0)
                    throw Abort{};
                field = record.mid(p, len);
            } else {
                const qsizetype q = record.indexOf(sep, p);
                if (q < 0) {
                    ask(QStringLiteral("ZyklusNr. ") + whole(n_) + QStringLiteral(" ist beschädigt!"), ui::vbOKCancel);
                    throw Abort{};
                }
                field = record.mid(p, q - p);
                p = q + sep.size();
            }
            place(k, field);
        }
        start = stop + end.size();
        ++n_;
        ++row_;
    }
}

// Positions of a pattern's letters; -1 when one is missing. A four-digit year gives its last two.
std::optional<std::array<qsizetype, 3>> patternPositions(const QString &pattern, const QString &a, const QString &b,
                                                         const QString &c, const QString &longC)
{
    const qsizetype pa = pattern.indexOf(a), pb = pattern.indexOf(b);
    qsizetype pc = -1;
    if (!longC.isEmpty() && pattern.contains(longC))
        pc = pattern.indexOf(longC) + 2;
    else
        pc = pattern.indexOf(c);
    if (pa < 0 || pb < 0 || pc < 0)
        return std::nullopt;
    return std::array<qsizetype, 3>{pa, pb, pc};
}

void Importer::cleanUp()
{
    const int last = grid_.Rows() - 1;
    auto eachCell = [&](int col, auto rewrite) {
        if (col < 0)
            return;
        for (int r = firstRow_; r <= last; ++r)
            grid_.setTextMatrix(r, col, rewrite(grid_.TextMatrix(r, col)));
    };

    for (const LoggerValue &v : cfg_.values) {
        eachCell(v.column, [&](QString cell) {
            if (!v.prefix.isEmpty() && cell.size() > v.prefix.size())
                cell = cell.mid(v.prefix.size());
            if (!v.suffix.isEmpty() && cell.size() > v.suffix.size())
                cell.chop(v.suffix.size());
            return cell;
        });
    }

    // Dates and times are rebuilt from the pattern; an empty cell has nothing to rebuild.
    auto rebuild = [&](const QString &pattern, int col, const QString &a, const QString &b, const QString &c,
                       const QString &longC, QChar joiner, const QString &wrong) {
        if (pattern.isEmpty())
            return;
        const auto pos = patternPositions(pattern, a, b, c, longC);
        if (!pos) {
            ui::MsgBox(wrong, ui::vbOKOnly | ui::vbExclamation, kTitle);
            return;
        }
        eachCell(col, [&](const QString &cell) {
            if (cell.isEmpty())
                return cell;
            return cell.mid((*pos)[0], 2) + joiner + cell.mid((*pos)[1], 2) + joiner + cell.mid((*pos)[2], 2);
        });
    };
    rebuild(cfg_.datum, target_.dateColumn(), QStringLiteral("TT"), QStringLiteral("MM"), QStringLiteral("JJ"),
            QStringLiteral("JJJJ"), QLatin1Char('.'),
            QStringLiteral("Es wurde für diese Konfiguration ein ungültiges Datumsformat im Menü Elektronikvorgaben eingegeben!"));
    rebuild(cfg_.uhrzeit, target_.timeColumn(), QStringLiteral("hh"), QStringLiteral("mm"), QStringLiteral("ss"), QString(),
            QLatin1Char(':'),
            QStringLiteral("Es wurde für diese Konfiguration ein ungültiges Zeitformat im Menü Elektronikvorgaben eingegeben!"));

    for (const LoggerValue &v : cfg_.values) {
        eachCell(v.column, [](const QString &cell) {
            if (cell.startsWith(QLatin1String("-.")) || cell.startsWith(QLatin1String("-,")))
                return QStringLiteral("-0.") + cell.mid(2);
            if (cell.startsWith(QLatin1Char('.')) || cell.startsWith(QLatin1Char(',')))
                return QStringLiteral("0.") + cell.mid(1);
            return cell;
        });
    }

    for (const LoggerValue &v : cfg_.values) {
        if (v.column < 0)
            continue;
        const int type = target_.columnType(v.column);
        if (type == 4 || type == 5)
            continue;
        eachCell(v.column, [](QString cell) {
            if (gridtext::isNumeric(cell)) {
                const qsizetype comma = cell.indexOf(QLatin1Char(','));
                if (comma >= 0)
                    cell[comma] = QLatin1Char('.');
            }
            return cell;
        });
    }

    // In double precision: a logger value beyond the single range may still scale into it. A
    // product the column does not take is refused by the column's own check and left empty.
    QList<gridtext::RefusedCell> refused;
    for (const LoggerValue &v : cfg_.values) {
        if (v.factor == 1.0 || v.column < 0)
            continue;
        for (int r = firstRow_; r <= last; ++r) {
            const auto x = loggerNumber(grid_.TextMatrix(r, v.column));
            if (!x)
                continue;   // the factor is meant for numbers only
            const double product = RoundHalfEven(*x * v.factor, 3);
            const bool single = std::isfinite(product) && std::fabs(product) <= double(FLT_MAX);
            const QString text = single ? gridtext::plainSingle(float(product)) : gridtext::generalDouble(product);
            const QString refusal = target_.refusal(v.column, text);
            grid_.setTextMatrix(r, v.column, refusal.isEmpty() ? text : QString());
            if (!refusal.isEmpty())
                refused.append({QString::number(r), target_.columnHeader(v.column), refusal});
        }
    }
    if (!refused.isEmpty())
        ui::MsgBox(gridtext::refusedCellsText(refused), ui::vbOKOnly | ui::vbExclamation, kTitle);

    target_.refresh();
}

// Reads the configuration; false when it cannot be used (the reason was shown).
bool readConfig(const RunContext &ctx, const FlexGrid &grid, LoggerTarget &target, const QString &AKVK, LoggerConfig &cfg)
{
    clsDATEN ve1(ctx), ve2(ctx);
    ve1.setEBOV(true);
    ve2.setEBOV(true);
    ve1.setETABELLE(QStringLiteral("VANT_VE1"));
    ve1.setESPID(QString());
    ve1.setESPK1(QStringLiteral("AKVK"));
    ve1.setESPK1W(AKVK);
    Variant id;
    if (!ve1.DTVV(QStringLiteral("IDK"), id))
        return false;
    if (id.isEmpty()) {
        ui::MsgBox(QStringLiteral("Für den Schlüssel \"") + AKVK + QStringLiteral("\" gibt es keine Elektronikvorgabe!"),
                   ui::vbOKOnly | ui::vbExclamation, kTitle);
        return false;
    }
    const int32_t idk = id.isNull() ? 0 : id.toLong();
    ve1.setESPK1(QString());
    ve1.setESPK1W(QString());
    ve1.setESPID(QStringLiteral("IDK"));
    ve1.setESPIDW(idk);
    if (!ve1.DTVI(QStringLiteral("ZL"), cfg.zl) || !ve1.DTVT(QStringLiteral("DATUM"), cfg.datum)
        || !ve1.DTVT(QStringLiteral("UHRZEIT"), cfg.uhrzeit) || !ve1.DTVT(QStringLiteral("KENZ1NR"), cfg.kenz1nr)
        || !ve1.DTVT(QStringLiteral("KENZ1KZ"), cfg.kenz1kz) || !ve1.DTVT(QStringLiteral("TZS"), cfg.tzs)
        || !ve1.DTVT(QStringLiteral("TZZ"), cfg.tzz))
        return false;

    ve2.setETABELLE(QStringLiteral("VANT_VE2"));
    ve2.setESPID(QStringLiteral("IDK"));
    ve2.setESPIDW(idk);
    int16_t mini = 0, maxi = 0, count = 0;
    ve2.INDEX(mini, maxi, count, QStringLiteral("MNR"));
    // Value i is the row with MNR = i; the import walks 0 .. count - 1.
    const int valueSlots = std::max<int>(count, maxi + 1);
    cfg.values.assign(std::max(valueSlots, 0), LoggerValue{});
    for (int i = mini; i <= maxi && count > 0; ++i) {
        if (i < 0)
            continue;
        LoggerValue &v = cfg.values[i];
        Variant position, factor;
        QString format;
        if (!ve2.DTVT(QStringLiteral("SPALTE"), v.key, QStringLiteral("MNR"), int16_t(i))
            || !ve2.DTVV(QStringLiteral("POSITION"), position, QStringLiteral("MNR"), int16_t(i))
            || !ve2.DTVT(QStringLiteral("PRAEFIX"), v.prefix, QStringLiteral("MNR"), int16_t(i))
            || !ve2.DTVT(QStringLiteral("SUFFIX"), v.suffix, QStringLiteral("MNR"), int16_t(i))
            || !ve2.DTVV(QStringLiteral("FAKTOR"), factor, QStringLiteral("MNR"), int16_t(i))
            || !ve2.DTVT(QStringLiteral("FORMAT"), format, QStringLiteral("MNR"), int16_t(i)))
            return false;
        if (!position.isEmpty() && !position.isNull())
            v.position = position.toLong();
        // An empty factor leaves the value as it stands.
        v.factor = factor.isEmpty() || factor.isNull() ? 1.0 : double(factor.toSingle());
    }
    if (count < int(cfg.values.size()))
        cfg.values.resize(std::max<int>(count, 0));

    // The last grid column whose import key matches; a value no column selects is not imported.
    for (LoggerValue &v : cfg.values)
        for (int c = 0; c < grid.Cols(); ++c)
            if (target.importKey(c) == v.key)
                v.column = c;

    cfg.tzs = placeholders(cfg.tzs);
    cfg.tzz = placeholders(cfg.tzz);
    return true;
}

} // namespace

int16_t importLoggerFile(const RunContext &ctx, LoggerTarget &target, const QString &AKVK, const QString &DATEI)
{
    FlexGrid &grid = target.grid();
    struct Pointer {
        ~Pointer() { sys::setHourglass(false); }
    } pointer;
    try {
        if (!grid.Enabled())
            return 0;
        sys::setHourglass(true);

        LoggerConfig cfg;
        if (!readConfig(ctx, grid, target, AKVK, cfg))
            return 0;

        QFile file(DATEI);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        Lines in(splitLines(logger::decodeAnsi(file.readAll())));
        file.close();

        Importer imp(target, cfg);
        if (cfg.tzs.isEmpty())
            imp.lineBlocks(in);
        else if (cfg.tzz.isEmpty())
            imp.linePerCycle(in);
        else
            imp.singleLine(in);
        imp.cleanUp();
        return -1;
    } catch (const Abort &) {
        return 0;
    } catch (const VbError &) {
        return 0;   // a run-time failure ends the import without a message of its own
    }
}

int16_t importLoggerFile(const RunContext &ctx, clsFLX &flx, const QString &AKVK, const QString &DATEI)
{
    FlexLoggerTarget target(flx);
    return importLoggerFile(ctx, target, AKVK, DATEI);
}

int16_t clsFLX::IMPORTIEREN(const RunContext &ctx, const QString &AKVK, const QString &DATEI)
{
    return importLoggerFile(ctx, *this, AKVK, DATEI);
}

} // namespace vnt
