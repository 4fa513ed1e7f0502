// The record is read in the order the arithmetic needs it, and only as far as it needs it:
// the whole-bore totals only when a section lacks its times, the ancillary factors only when
// the ancillary parts are incomplete. The arithmetic itself is evaluateRecord.
#include "input/clsBERECHNEN.h"

#include "data/KeyedRows.h"
#include "data/clsDATEN.h"
#include "input/Evaluation.h"
#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/errors.h"
#include "platform/ui.h"

#include <cmath>
#include <memory>
#include <optional>

namespace vnt {

namespace {

// An untyped read: nullopt for a value that is not given (Null or no row).
bool readOptional(clsDATEN &d, const QString &column, std::optional<float> &out, int section = -1)
{
    Variant v;
    const bool ok = section < 0 ? d.DTVV(column, v) : d.DTVV(column, v, QStringLiteral("I2"), Variant(int16_t(section)));
    if (!ok)
        return false;
    if (v.isEmpty() || v.isNull())
        out.reset();
    else
        out = float(v.toDouble());
    return true;
}

// A text value as the query takes it: in apostrophes, its own apostrophes doubled.
QString quoted(const QString &s)
{
    return QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The keys of the active record that name no row of their preset table, and its cost set. The
// pages look the keys up the same way, so what is named here is what they draw as 0 and blank.
PresetGaps findPresetGaps(RunContext &ctx)
{
    PresetGaps gaps;
    const db::ConnectionPtr cnn = ctx.cnnX();
    const db::ConnectionPtr presets = ctx.developmentMode() ? cnn : ctx.cnnX_V();
    if (!cnn || !presets)
        return gaps;   // nothing to look the keys up in
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"), cnn);
    if (rs.isEOF())
        return gaps;
    const QString id = QString::number(rs.Fields(QStringLiteral("ID")).toLong());
    rs.Close();
    auto known = [&](const QString &table, const QString &column, const QString &key) {
        db::Recordset p;
        p.Open(QStringLiteral("SELECT count(*) FROM [%1] WHERE [%2]=%3").arg(table, column, quoted(key)), presets);
        return !p.isEOF() && p.Fields(0).toLong() > 0;
    };
    const struct { const char *table, *column, *preset; QStringList *out; } columns[] = {
        {"E4", "KENG", "VANT_V2", &gaps.KENG},  {"E3", "KENT", "VANT_V11", &gaps.KENT}, {"E3", "KENV", "VANT_V12", &gaps.KENV},
        {"E3", "KENL", "VANT_V13", &gaps.KENL}, {"E3", "KENF", "VANT_V14", &gaps.KENF}};
    for (const auto &c : columns) {
        const QString column = QString::fromLatin1(c.column);
        db::Recordset keys;
        keys.Open(QStringLiteral("SELECT [%1] FROM [%2] WHERE [ID]=%3 ORDER BY [I2]").arg(column, QString::fromLatin1(c.table), id), cnn);
        QStringList seen;
        for (; !keys.isEOF(); keys.MoveNext()) {
            const Variant v = keys.Fields(0);
            const QString key = v.isNull() || v.isEmpty() ? QString() : v.text();
            if (key.isEmpty() || seen.contains(key, Qt::CaseInsensitive))
                continue;
            seen << key;
            if (!known(QString::fromLatin1(c.preset), column, key))
                *c.out << key;
        }
    }
    db::Recordset e6;
    e6.Open(QStringLiteral("SELECT [KENK] FROM [E6] WHERE [ID]=") + id, cnn);
    const Variant kenk = e6.isEOF() ? Variant() : e6.Fields(0);
    const QString set = kenk.isNull() || kenk.isEmpty() ? QString() : kenk.text();
    if (set.isEmpty())
        gaps.noCostSet = true;
    else if (!known(QStringLiteral("VANT_V3"), QStringLiteral("KENK"), set))
        gaps.unknownCostSet = set;
    return gaps;
}

} // namespace

namespace {

// The tables one evaluation reads and writes, each bound to the record.
struct EvaluationTables {
    std::unique_ptr<clsDATEN> e1, e2, e3, e5, a2;
};

QString sectionColumn() { return QStringLiteral("I2"); }
Variant sectionKey(int i) { return Variant(int16_t(i)); }

// Reads what the arithmetic needs of sections 0..n into `in`, as steps of the evaluation's
// guard; `stop` is set when a read failed (its box was shown by the accessor).
void readRecord(Guard &g, EvaluationTables &t, int n, EvaluationInput &in, bool &stop)
{
    const QString I2 = sectionColumn();
    auto key = sectionKey;
    auto &e1 = t.e1, &e2 = t.e2, &e3 = t.e3, &e5 = t.e5;
    // Depths.
    for (int i = 0; i <= n && !stop && !g.left(); ++i)
        g.step([&] {
            float z = 0;
            if (!e2->DTVS(QStringLiteral("Z"), z, I2, key(i)))
                stop = true;
            in.Z[size_t(i)] = z;
        });

    // Recorded gross and net times up to the first section that lacks one.
    bool timesComplete = true;
    for (int i = 0; i <= n && !stop && !g.left() && timesComplete; ++i)
        g.step([&] {
            if (!readOptional(*e5, QStringLiteral("BRZ"), in.BRZ[size_t(i)], i)) { stop = true; return; }
            if (!in.BRZ[size_t(i)]) { timesComplete = false; return; }
            if (!readOptional(*e5, QStringLiteral("NTZ"), in.NTZ[size_t(i)], i)) { stop = true; return; }
            if (!in.NTZ[size_t(i)])
                timesComplete = false;
        });

    // The whole-bore totals and the spreading factors, only when the times must be spread.
    if (!timesComplete && !stop && !g.left()) {
        g.step([&] {
            if (!readOptional(*e1, QStringLiteral("GBRZ"), in.GBRZ) || !readOptional(*e1, QStringLiteral("GNTZ"), in.GNTZ)) {
                stop = true;
                return;
            }
            if (!in.GNTZ && !readOptional(*e1, QStringLiteral("FNE"), in.FNE))
                stop = true;
        });
        for (int j = 0; j <= n && !stop && !g.left(); ++j) {
            bool given = true;
            g.step([&] {
                if (!readOptional(*e5, QStringLiteral("FA"), in.FA[size_t(j)], j))
                    stop = true;
                given = in.FA[size_t(j)].has_value();
            });
            if (!given)
                break;
        }
    }

    // Recorded ancillary parts up to the first one not given.
    bool partsComplete = true;
    for (int i = 0; i <= n && !stop && !g.left() && partsComplete; ++i)
        g.step([&] {
            for (auto [column, values] : {std::pair(QStringLiteral("AUZ"), &in.AUZ), std::pair(QStringLiteral("PPZ"), &in.PPZ),
                                          std::pair(QStringLiteral("STZ"), &in.STZ)}) {
                if (!readOptional(*e5, column, (*values)[size_t(i)], i)) { stop = true; return; }
                if (!(*values)[size_t(i)]) { partsComplete = false; return; }
            }
        });

    // The factors that split the ancillary time, only when the parts are incomplete.
    if (!partsComplete)
        for (int i = 0; i <= n && !stop && !g.left(); ++i)
            g.step([&] {
                if (!e5->DTVS(QStringLiteral("FAUZ"), in.FAUZ[size_t(i)], I2, key(i))
                    || !e5->DTVS(QStringLiteral("FPPZ"), in.FPPZ[size_t(i)], I2, key(i))
                    || !e5->DTVS(QStringLiteral("FSTZ"), in.FSTZ[size_t(i)], I2, key(i)))
                    stop = true;
            });

    for (int i = 0; i <= n && !stop && !g.left(); ++i)
        g.step([&] {
            if (!e3->DTVI(QStringLiteral("PER"), in.PER[size_t(i)], I2, key(i)))
                stop = true;
        });
}

// Writes the results of sections 0..n into A2, one step per section, with the progress bar.
void writeResults(Guard &g, RunContext &ctx, clsDATEN &a2, int n, const EvaluationResult &r, bool &stop)
{
    const QString I2 = sectionColumn();
    auto key = sectionKey;
    // The record's rows read once: an unchanged section costs nothing more, a changed one one
    // write by its row; sections without their one row go through the accessor below.
    KeyedRows rows;
    rows.read(a2, I2, {QStringLiteral("DEZ"), QStringLiteral("NTZ"), QStringLiteral("AUZ"), QStringLiteral("PPZ"),
                       QStringLiteral("STZ"), QStringLiteral("BRZ"), QStringLiteral("PER")});
    for (int i = 0; i <= n && !stop && !g.left(); ++i) {
        const size_t k = size_t(i);
        const Variant values[] = {Variant(r.DEZ[k]), Variant(r.NTZ[k]), Variant(r.AUZ[k]), Variant(r.PPZ[k]),
                                  Variant(r.STZ[k]), Variant(r.BRZ[k]), Variant(r.PER[k])};
        if (rows.write(i, values)) {
            g.step([&] { ctx.setProgress(n == 0 ? 40 : 30 + int(std::nearbyint(10.0 * i / n))); });
            continue;
        }
        g.step([&] {
            stop = !a2.DVTI(I2, int16_t(i), I2, key(i)) || !a2.DVTS(QStringLiteral("DEZ"), r.DEZ[k], I2, key(i))
                || !a2.DVTS(QStringLiteral("NTZ"), r.NTZ[k], I2, key(i)) || !a2.DVTS(QStringLiteral("AUZ"), r.AUZ[k], I2, key(i))
                || !a2.DVTS(QStringLiteral("PPZ"), r.PPZ[k], I2, key(i)) || !a2.DVTS(QStringLiteral("STZ"), r.STZ[k], I2, key(i))
                || !a2.DVTS(QStringLiteral("BRZ"), r.BRZ[k], I2, key(i)) || !a2.DVTI(QStringLiteral("PER"), r.PER[k], I2, key(i));
        });
        g.step([&] { ctx.setProgress(n == 0 ? 40 : 30 + int(std::nearbyint(10.0 * i / n))); });
    }
}

// Rows beyond the last section stem from an earlier, longer version of the record; the
// multiple evaluation takes its section range from A2 and would count them.
void dropRowsBeyond(Guard &g, clsDATEN &a2, int n, bool &stop)
{
    const QString I2 = sectionColumn();
    auto key = sectionKey;
    g.step([&] {
        int16_t mini = 0, maxi = 0, an = 0;
        a2.INDEX(mini, maxi, an, I2);
        for (int i = n + 1; i <= maxi && !stop; ++i)
            if (!a2.LOESCHEN(I2, key(i)))
                stop = true;
    });
}

} // namespace

bool clsBERECHNEN::BERECHNUNG()
{
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Auswerten"));
    bool result = false;
    bool stop = false;   // a read or write failed, or a notice was shown
    const QString I2 = sectionColumn();

    EvaluationTables t;
    auto &e2 = t.e2, &a2 = t.a2;
    g.step([&] {
        auto bind = [&](std::unique_ptr<clsDATEN> &d, const char *table) {
            d = std::make_unique<clsDATEN>(ctx_);
            d->setETABELLE(QString::fromLatin1(table));
        };
        bind(t.e1, "E1");
        bind(t.e2, "E2");
        bind(t.e3, "E3");
        bind(t.e5, "E5");
        bind(t.a2, "A2");
        ctx_.setProgress(0);
    });
    if (g.left() || !t.e1 || !t.e2 || !t.e3 || !t.e5 || !t.a2)
        return false;

    // The record is read and its results written as one unit: the results stem from one state
    // of the record, a run that fails part way leaves the former results whole instead of a mix
    // of old and new sections, and the database is locked once for the run rather than once
    // for every value read. A transaction that could not begin (and was let go with OK) leaves
    // the values read and written one by one.
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(a2->connection()); });
    if (g.left())
        return false;

    int n = 0;
    EvaluationInput in;
    g.step([&] {
        int16_t mini = 0, maxi = 0, an = 0;
        e2->INDEX(mini, maxi, an, I2);
        n = maxi;
        in.resize(n + 1);
    });
    if (g.left())
        return false;

    readRecord(g, t, n, in, stop);
    if (stop || g.left())
        return false;

    EvaluationResult r;
    int shown = 0;   // the bar already stands at 0; the arithmetic starts by reporting 0 again
    g.step([&] {
        r = evaluateRecord(in, [&](float v) {
            if (int(v) != shown)
                ctx_.setProgress(shown = int(v));
        });
    });
    if (g.left())
        return false;
    if (!r.ok()) {
        unit.reset();   // nothing was written; the notice need not hold the database
        ui::MsgBox(QString::fromUtf8(evaluationNoticeText(r.notice)).arg(r.section), ui::vbOKOnly, QStringLiteral("HINWEIS!"));
        return false;
    }

    writeResults(g, ctx_, *t.a2, n, r, stop);
    if (stop || g.left())
        return false;

    dropRowsBeyond(g, *t.a2, n, stop);
    if (stop || g.left())
        return false;
    if (unit) {
        try {
            unit->commit();
        } catch (const VbError &e) {
            g.report(e.number, e.description);
            return false;
        }
    }

    g.step([&] {
        ctx_.setProgress(40);
        result = true;
    });
    if (!result || g.left())
        return false;
    // The times are right whatever the presets hold, but the costs drawn from them are not: the
    // user learns once, for the whole record, what the pages will show as 0 or blank. A preset
    // database that cannot be read withholds the notice, not the results.
    QString notice;
    try {
        notice = presetGapsText(findPresetGaps(ctx_));
    } catch (const VbError &) {
    }
    if (!notice.isEmpty())
        ui::MsgBox(notice, ui::vbOKOnly | ui::vbInformation, QStringLiteral("HINWEIS!"));
    return true;
}

} // namespace vnt
