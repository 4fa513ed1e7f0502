// Reading and writing of the multiple evaluation's data step.
#include "pages/multiple/Dateneingabe.h"

#include "data/DataBoxes.h"
#include "data/clsDATEN.h"
#include "pages/multiple/MultipleRun.h"
#include "pages/multiple/TextTable.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <algorithm>
#include <memory>

namespace vnt::multiple {

namespace {

const Variant kOne = Variant(int32_t(1));

void bind(clsDATEN &d, const char *table, const char *idColumn, int32_t id)
{
    d.setETABELLE(QString::fromLatin1(table));
    d.setESPID(QString::fromLatin1(idColumn));
    d.setESPIDW(id);
}

// Cost per hour of one device: its preset row found by key; a key without a row costs nothing.
bool readRate(clsDATEN &preset, const QString &key, const char *column, float factor, float &rate)
{
    preset.setESPK1W(key);
    float ek = 0;
    if (!preset.DTVS(QString::fromLatin1(column), ek))
        return false;
    rate = ek * factor;
    return true;
}

bool readCosts(RunContext &ctx, CostSet &costs, float &FKG)
{
    clsDATEN v3(ctx);
    v3.setEBOV(true);
    v3.setETABELLE(QStringLiteral("VANT_V3"));
    v3.setESPK1(QString());
    v3.setESPID(QStringLiteral("KENKPG"));
    v3.setESPIDW(0);
    const QString key = QStringLiteral("KENKPG");
    float EKP = 0, FKP = 0;
    if (!v3.DTVS(QStringLiteral("EKP"), EKP, key, int32_t(0)) || !v3.DTVS(QStringLiteral("FKG"), FKG, key, int32_t(0))
        || !v3.DTVS(QStringLiteral("FKP"), FKP, key, int32_t(0))
        || !v3.DTVS(QStringLiteral("FZK"), costs.FZK, key, int32_t(0)))
        return false;
    costs.KP = EKP * FKP;
    return true;
}

bool readCombinations(RunContext &ctx, std::vector<Combination> &combinations)
{
    clsDATEN m2(ctx);
    bind(m2, "M2", "IDM", 1);
    int16_t mini = 0, maxi = 0, an = 0;
    m2.INDEX(mini, maxi, an, QStringLiteral("I1"));
    const int N = an > 0 ? std::max<int>(maxi, 0) : 0;
    static const char *const keys[kKeys] = {"KENG", "KENT", "KENV", "KENL", "KENF"};
    // Half-read keys would make combinations nobody stored: the list is given out whole.
    std::vector<Combination> read(size_t(N + 1));
    for (int c = 0; c <= N; ++c) {
        for (int k = 0; k < kKeys; ++k)
            if (!m2.DTVV(QString::fromLatin1(keys[k]), read[size_t(c)].keys[size_t(k)], QStringLiteral("I1"),
                         int16_t(c)))
                return false;
        sys::DoEvents();
    }
    combinations = std::move(read);
    return true;
}

} // namespace

bool readAggregationInput(RunContext &ctx, AggregationInput &in)
{
    in = AggregationInput{};
    float FKG = 0;
    if (!readCosts(ctx, in.costs, FKG))
        return false;
    ctx.setProgress(4);
    if (!readCombinations(ctx, in.combinations))
        return false;
    ctx.setProgress(10);

    clsDATEN lister(ctx);
    std::vector<int32_t> ids;
    lister.LID(ids, true);

    clsDATEN a2(ctx), e3(ctx), e4(ctx);
    struct Device { const char *table, *key, *cost; std::unique_ptr<clsDATEN> d; };
    Device devices[4] = {{"VANT_V11", "KENT", "EKT", nullptr}, {"VANT_V12", "KENV", "EKV", nullptr},
                         {"VANT_V13", "KENL", "EKL", nullptr}, {"VANT_V14", "KENF", "EKF", nullptr}};
    for (Device &dev : devices) {
        dev.d = std::make_unique<clsDATEN>(ctx);
        dev.d->setEBOV(true);
        dev.d->setETABELLE(QString::fromLatin1(dev.table));
        dev.d->setESPID(QString());
        dev.d->setESPK1(QString::fromLatin1(dev.key));
    }
    const QString I2 = QStringLiteral("I2");
    for (size_t r = 0; r < ids.size(); ++r) {
        bind(a2, "A2", "ID", ids[r]);
        bind(e3, "E3", "ID", ids[r]);
        bind(e4, "E4", "ID", ids[r]);
        int16_t mini = 0, maxi = 0, an = 0;
        a2.INDEX(mini, maxi, an, I2);
        // A record never evaluated has no sections to compare: visiting a section 0 of zeros
        // would count a section without length in every combination it fits.
        for (int s = 0; an > 0 && s <= maxi; ++s) {
            const Variant sv = int16_t(s);
            Section x;
            bool ok = e4.DTVT(QStringLiteral("KENG"), x.keys[0], I2, sv);
            static const char *const e3keys[4] = {"KENT", "KENV", "KENL", "KENF"};
            for (int k = 0; ok && k < 4; ++k)
                ok = e3.DTVT(QString::fromLatin1(e3keys[k]), x.keys[size_t(k + 1)], I2, sv);
            float *rates[4] = {&x.kT, &x.kV, &x.kL, &x.kF};
            for (int k = 0; ok && k < 4; ++k)
                ok = readRate(*devices[k].d, x.keys[size_t(k + 1)], devices[k].cost, FKG, *rates[k]);
            ok = ok && a2.DTVS(QStringLiteral("DEZ"), x.DEZ, I2, sv) && a2.DTVI(QStringLiteral("PER"), x.PER, I2, sv)
                 && a2.DTVS(QStringLiteral("BRZ"), x.BRZ, I2, sv) && a2.DTVS(QStringLiteral("NTZ"), x.NTZ, I2, sv)
                 && a2.DTVS(QStringLiteral("AUZ"), x.AUZ, I2, sv) && a2.DTVS(QStringLiteral("PPZ"), x.PPZ, I2, sv)
                 && a2.DTVS(QStringLiteral("STZ"), x.STZ, I2, sv);
            static const char *const zk[4] = {"ZKT", "ZKV", "ZKL", "ZKF"};
            for (int k = 0; ok && k < 4; ++k)
                ok = e3.DTVS(QString::fromLatin1(zk[k]), x.ZK[size_t(k)], I2, sv);
            if (!ok)
                return false;
            in.sections.push_back(std::move(x));
        }
        ctx.setProgress(10 + int(40 * (r + 1) / ids.size()));
        sys::DoEvents();
    }
    return true;
}

bool writeAggregation(RunContext &ctx, const std::vector<CombinationResult> &results)
{
    clsDATEN m3(ctx), m4(ctx);
    bind(m3, "M3", "IDM", 1);
    bind(m4, "M4", "IDM", 1);
    db::ConnectionPtr cnn = m3.connection();
    if (!cnn)
        return false;
    // Readers of M3 and M4 take every row as one run's result: a run that fails half-way
    // must leave the previous run's rows, not a mixture.
    bool ok = true;
    try {
        cnn->BeginTrans();
        const QString I1 = QStringLiteral("I1");
        for (size_t c = 0; ok && c < results.size(); ++c) {
            for (const auto &[column, value] : m3Columns(results[c].m3))
                if (!(ok = m3.DVTV(column, value, I1, int16_t(c))))
                    break;
            ctx.setProgress(50 + int(9 * c / std::max<size_t>(results.size() - 1, 1)));
        }
        for (size_t c = 0; ok && c < results.size(); ++c)
            for (const auto &[column, value] : m4Columns(results[c].m4))
                if (!(ok = m4.DVTV(column, value, I1, int16_t(c))))
                    break;
        if (ok)
            cnn->CommitTrans();
    } catch (const VbError &) {
        ok = false;
    }
    if (!ok && cnn->inTransaction()) {
        try {
            cnn->RollbackTrans();
        } catch (const VbError &) {
        }
    }
    return ok;
}

bool DATENEINGABE(RunContext &ctx, MultipleRun &run, AggregationInput &in, std::vector<CombinationResult> &results)
{
    results.clear();
    if (!readAggregationInput(ctx, in))
        return false;
    results = aggregate(in.combinations, in.sections, in.costs);
    ctx.setProgress(50);
    if (!writeAggregation(ctx, results))
        return false;
    ctx.setProgress(59);
    const bool any = std::any_of(results.begin(), results.end(), [](const CombinationResult &r) { return r.m3.BOKOMB; });
    if (!any)
        run.noSectionFound();
    return true;
}

bool readStoredSums(RunContext &ctx, int N, std::vector<Sums> &sums)
{
    sums.assign(size_t(std::max(N + 1, 0)), Sums{});
    if (N < 0)
        return true;
    const std::vector<std::pair<QString, Variant>> columns = m3Columns(Sums{});
    QStringList names;
    for (const auto &c : columns)
        names << QLatin1Char('[') + c.first + QLatin1Char(']');
    try {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [I1],") + names.join(QLatin1Char(','))
                    + QStringLiteral(" FROM [M3] WHERE [IDM]=1 ORDER BY [I1]"),
                ctx.cnnX());
        std::vector<bool> seen(sums.size(), false);
        for (; !rs.isEOF(); rs.MoveNext()) {
            const Variant i1 = rs.Fields(0);
            if (i1.isNull())
                continue;
            const int c = i1.toInt();
            // The first row of a combination counts, as for every reader of the table.
            if (c < 0 || c > N || seen[size_t(c)])
                continue;
            seen[size_t(c)] = true;
            Sums &s = sums[size_t(c)];
            auto f = [&](int i) { const Variant v = rs.Fields(i + 1); return v.isNull() ? 0.0f : v.toSingle(); };
            auto n = [&](int i) { const Variant v = rs.Fields(i + 1); return v.isNull() ? 0 : v.toLong(); };
            const Variant bo = rs.Fields(1);
            s.BOKOMB = !bo.isNull() && bo.toBool();
            float *singles[] = {&s.SDEZ, &s.SBRZ, &s.SBRKT, &s.SBRKV, &s.SBRKL, &s.SBRKF, &s.SBRKP, &s.SBRPH,
                                &s.SNTZ, &s.SNTKT, &s.SNTKV, &s.SNTKL, &s.SNTKF, &s.SNTKP, &s.SNTPH,
                                &s.SAUZ, &s.SAUK, &s.SAUPH, &s.SPPZ, &s.SPPK, &s.SPPPH, &s.SSTZ, &s.SSTK, &s.SSTPH};
            int i = 1;
            for (float *x : singles)
                *x = f(i++);
            for (size_t k = 0; k < 4; ++k) {
                s.SZK[k] = f(i++);
                s.ANZK[k] = n(i++);
            }
        }
        rs.Close();
    } catch (const VbError &) {
        sums.clear();
        dataError(QStringLiteral("Wert  kann nicht aus der Spalte BOKOMB der Tabelle M3 eingelesen werden!"));
        return false;
    }
    return true;
}

std::vector<bool> PageSums::found() const
{
    std::vector<bool> out;
    for (const Sums &s : sums)
        out.push_back(s.BOKOMB);
    return out;
}

std::vector<double> PageSums::depths() const
{
    std::vector<double> out;
    for (const Sums &s : sums)
        out.push_back(s.SDEZ);
    return out;
}

PageSums pageSums(RunContext &ctx, MultipleRun &run)
{
    PageSums p;
    AggregationInput in;
    std::vector<CombinationResult> results;
    const bool stored = DATENEINGABE(ctx, run, in, results);
    const int N = int(in.combinations.size()) - 1;
    if (stored) {
        for (const CombinationResult &r : results)
            p.sums.push_back(r.m3);
    } else {
        readStoredSums(ctx, N, p.sums);
    }
    p.KOMBKOPF = combinationTableHead();
    p.KOMBTAB = CellArray(7, int(p.sums.size()));
    for (int c = 0; c < p.KOMBTAB.rows(); ++c) {
        p.KOMBTAB.set(0, c, Variant(int16_t(c)));
        if (c <= N)
            for (int k = 0; k < kKeys; ++k)
                p.KOMBTAB.set(k + 1, c, in.combinations[size_t(c)].keys[size_t(k)]);
    }
    return p;
}

} // namespace vnt::multiple
