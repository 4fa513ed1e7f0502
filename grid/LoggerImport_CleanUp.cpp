// The clean-up after reading: prefixes and suffixes cut off, dates and times rebuilt from
// their patterns, decimal signs unified and factors applied over the imported rows.
#include "grid/LoggerImport_Shared.h"

#include "grid/GridText.h"
#include "platform/NumberFormat.h"
#include "platform/ui.h"

#include <QLocale>
#include <array>
#include <cfloat>
#include <cmath>

namespace vnt::loggerimport_shared {

namespace {

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

} // namespace

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

} // namespace vnt::loggerimport_shared
