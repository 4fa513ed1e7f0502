// Reading and writing of the multiple evaluation's data step.
#include "pages/multiple/AggregationDataStep.h"

#include "data/DataBoxes.h"
#include "data/KeyedRows.h"
#include "data/clsDATEN.h"
#include "platform/db/Database.h"
#include "pages/multiple/MultipleRun.h"
#include "pages/multiple/CombinationTables.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace vnt::multiple {

namespace {

void bind(clsDATEN &d, const char *table, const char *idColumn, int32_t id)
{
    d.setETABELLE(QString::fromLatin1(table));
    d.setESPID(QString::fromLatin1(idColumn));
    d.setESPIDW(id);
}

// The failure message of a table the accessor would have read one value at a time.
bool readFailed(const char *table, const char *column)
{
    dataError(QStringLiteral("Wert  kann nicht aus der Spalte ") + QString::fromLatin1(column)
              + QStringLiteral(" der Tabelle ") + QString::fromLatin1(table) + QStringLiteral(" eingelesen werden!"));
    return false;
}

float single(const Variant &v) { return v.isNull() ? 0.0f : v.toSingle(); }

// The equipment cost per hour of each preset key. Keys compare as the database compares
// them, without regard to the letter case of ASCII letters; the first row of a key counts,
// and a key without a row costs nothing.
class PresetRates {
public:
    bool read(const db::ConnectionPtr &cnn, const char *table, const char *key, const char *cost)
    {
        try {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT [%1],[%2] FROM [%3]").arg(QLatin1String(key), QLatin1String(cost),
                                                                      QLatin1String(table)),
                    cnn);
            for (; !rs.isEOF(); rs.MoveNext()) {
                const Variant k = rs.Fields(0);
                if (!k.isNull() && !byKey_.contains(fold(k.toString())))
                    byKey_.insert(fold(k.toString()), single(rs.Fields(1)));
            }
        } catch (const VbError &) {
            return readFailed(table, cost);
        }
        return true;
    }
    float ofText(const QString &key) const { return byKey_.value(fold(key), 0.0f); }
    // The same by a section's key, looked up once per key.
    float of(SectionKey key)
    {
        const auto it = byId_.constFind(key.id());
        return it != byId_.constEnd() ? *it : *byId_.insert(key.id(), ofText(key.text()));
    }

private:
    static QString fold(QString s)
    {
        for (QChar &c : s)
            if (c.unicode() < 128)
                c = c.toLower();
        return s;
    }
    QHash<QString, float> byKey_;
    QHash<uint32_t, float> byId_;
};

// The sections of a few records at a time: their result rows, devices and additional costs
// (E3) and rocks (E4), each table read once per chunk of records in the order of record and
// section number, walked forward and kept as numbers and interned keys only. Per record and
// section number the first row counts, as for the accessor; a missing row or Null cell reads
// as 0 or the empty key.
class SectionReader {
public:
    static constexpr size_t kChunk = 500;

    explicit SectionReader(db::ConnectionPtr cnn) : cnn_(std::move(cnn)) {}

    // How many sections the records have, near enough to keep them without regrowing their
    // storage: the results table's rows, which the engine counts without reading them. Rows of
    // records left out only reserve address space that is never touched.
    size_t sectionHint() const
    {
        try {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT COUNT(*) FROM [A2]"), cnn_, db::CursorType::ForwardOnly);
            return rs.isEOF() ? 0 : size_t(std::max(0.0, rs.doubleField(0)));
        } catch (const VbError &) {
            return 0;   // only a hint: the reading proper reports what fails
        }
    }

    bool read(const std::vector<int32_t> &ids)
    {
        QStringList list;
        for (int32_t id : ids)
            list << QString::number(id);
        // A row without a record or section number belongs to no section; IN never holds for a
        // Null record number.
        const QString where = QStringLiteral(" WHERE [ID] IN (") + list.join(QLatin1Char(','))
                              + QStringLiteral(") AND [I2] IS NOT NULL ORDER BY [ID],[I2]");
        // Columns in this order: keys, Singles, Integers.
        return a2_.load(cnn_, "A2", {"DEZ", "BRZ", "NTZ", "AUZ", "PPZ", "STZ", "PER"}, where)
               && e3_.load(cnn_, "E3", {"KENT", "KENV", "KENL", "KENF", "ZKT", "ZKV", "ZKL", "ZKF"}, where)
               && e4_.load(cnn_, "E4", {"KENG"}, where);
    }

    // How many sections the records last read have, as sections gives them out.
    size_t sectionsRead() const
    {
        size_t n = 0;
        for (const Range &r : a2_.byRecord)
            if (r.first != r.second && a2_.rows[r.second - 1].i2 >= 0)
                n += size_t(a2_.rows[r.second - 1].i2) + 1;
        return n;
    }

    // The record's sections: 0 to the highest section number of its results.
    void sections(int32_t id, std::vector<Section> &out) const
    {
        const Range a2 = a2_.of(id), e3 = e3_.of(id), e4 = e4_.of(id);
        if (a2.first == a2.second)
            return;
        const int last = a2_.rows[a2.second - 1].i2;
        Cursor<decltype(a2_)> c2{a2_, a2.first, a2.second};
        Cursor<decltype(e3_)> c3{e3_, e3.first, e3.second};
        Cursor<decltype(e4_)> c4{e4_, e4.first, e4.second};
        for (int s = 0; s <= last; ++s) {
            Section x;
            if (const auto *r = c4.at(s))
                x.keys[0] = r->text[0];
            if (const auto *r = c3.at(s))
                for (size_t k = 0; k < 4; ++k) {
                    x.keys[k + 1] = r->text[k];
                    x.ZK[k] = r->number[k];
                }
            if (const auto *r = c2.at(s)) {
                x.DEZ = r->number[0];
                x.BRZ = r->number[1];
                x.NTZ = r->number[2];
                x.AUZ = r->number[3];
                x.PPZ = r->number[4];
                x.STZ = r->number[5];
                x.PER = int16_t(r->number[6]);
            }
            out.push_back(x);
        }
    }

private:
    using Range = std::pair<size_t, size_t>;
    // One row: its keys in the order asked, its numbers after them; no more than the table gives.
    template <size_t Texts, size_t Numbers>
    struct Row {
        int32_t id = 0;
        int i2 = 0;
        std::array<SectionKey, Texts> text;
        std::array<float, Numbers> number{};
    };
    // The keys a text column had lately, by their bytes: a column holds few distinct keys, and
    // the pool finds one only by hashing its bytes under its lock.
    class RecentKeys {
    public:
        SectionKey of(QByteArrayView text)
        {
            if (text.isEmpty())
                return {};
            for (const Entry &e : entries_)
                if (e.bytes.size() == text.size() && std::memcmp(e.bytes.constData(), text.data(), size_t(text.size())) == 0)
                    return e.key;
            const SectionKey key = SectionKey::fromUtf8(text);
            entries_[next_] = Entry{QByteArray(text.data(), text.size()), key};
            next_ = (next_ + 1) % entries_.size();
            return key;
        }

    private:
        struct Entry {
            QByteArray bytes;   // never empty once used
            SectionKey key;
        };
        std::array<Entry, 8> entries_;
        size_t next_ = 0;
    };

    // A table's rows of the chunk's records: its keys, Singles and Integers, in that order.
    template <size_t Texts, size_t Singles, size_t Integers = 0>
    struct Rows {
        using Item = Row<Texts, Singles + Integers>;
        std::vector<Item> rows;
        QHash<int32_t, Range> byRecord;

        Range of(int32_t id) const { return byRecord.value(id, Range{0, 0}); }

        bool load(const db::ConnectionPtr &cnn, const char *table, std::initializer_list<const char *> columns,
                  const QString &where)
        {
            static_assert(Texts <= 4 && Singles <= 8);
            rows.clear();
            byRecord.clear();
            QStringList names;
            for (const char *c : columns)
                names << QLatin1Char('[') + QLatin1String(c) + QLatin1Char(']');
            try {
                std::array<RecentKeys, Texts> recent;
                Range *current = nullptr;
                db::Recordset rs;
                rs.Open(QStringLiteral("SELECT [ID],[I2],") + names.join(QLatin1Char(',')) + QStringLiteral(" FROM [")
                            + QLatin1String(table) + QLatin1Char(']') + where,
                        cnn, db::CursorType::ForwardOnly);
                std::array<double, 2 + Singles> numbers{};   // record and section number, then the Singles
                for (; !rs.isEOF(); rs.MoveNext()) {
                    rs.doubleFields(0, 2, numbers.data());
                    Item r;
                    r.id = int32_t(numbers[0]);
                    r.i2 = int(numbers[1]);
                    if (!rows.empty() && rows.back().id == r.id && rows.back().i2 == r.i2)
                        continue;
                    for (size_t t = 0; t < Texts; ++t)
                        r.text[t] = recent[t].of(rs.utf8Field(int(2 + t)));
                    if constexpr (Singles > 0) {
                        rs.doubleFields(int(2 + Texts), int(Singles), numbers.data() + 2);   // a Null reads as 0
                        for (size_t k = 0; k < Singles; ++k)
                            r.number[k] = float(numbers[2 + k]);
                    }
                    for (size_t k = 0; k < Integers; ++k) {
                        const int i = int(2 + Texts + Singles + k);
                        r.number[Singles + k] = rs.isNullField(i) ? 0.0f : float(rs.Fields(i).toInt());
                    }
                    // The rows come by record: a record's range is looked up once, when it starts.
                    if (!current || rows.back().id != r.id) {
                        current = &byRecord[r.id];
                        if (current->first == current->second)
                            current->first = rows.size();
                    }
                    rows.push_back(r);
                    current->second = rows.size();
                }
            } catch (const VbError &) {
                return readFailed(table, *columns.begin());
            }
            return true;
        }
    };
    // Walks one record's rows along the section numbers.
    template <typename Table>
    struct Cursor {
        const Table &rows;
        size_t next, end;
        const typename Table::Item *at(int s)
        {
            while (next < end && rows.rows[next].i2 < s)
                ++next;
            return next < end && rows.rows[next].i2 == s ? &rows.rows[next] : nullptr;
        }
    };

    db::ConnectionPtr cnn_;
    Rows<0, 6, 1> a2_;
    Rows<4, 4> e3_;
    Rows<1, 0> e4_;
};

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
        ctx.setProgress(N > 0 ? 4 + int(std::nearbyint(6.0 * c / N)) : 10);
        sys::DoEventsThrottled();
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

    clsDATEN lister(ctx);
    std::vector<int32_t> ids;
    lister.LID(ids, true);

    // Each device's rate per hour by its key, read once for all sections.
    struct Device { const char *table, *key, *cost; };
    const Device devices[4] = {{"VANT_V11", "KENT", "EKT"}, {"VANT_V12", "KENV", "EKV"},
                               {"VANT_V13", "KENL", "EKL"}, {"VANT_V14", "KENF", "EKF"}};
    std::array<PresetRates, 4> rates;
    clsDATEN presets(ctx);
    presets.setEBOV(true);
    for (size_t k = 0; k < 4; ++k)
        if (!rates[k].read(presets.connection(), devices[k].table, devices[k].key, devices[k].cost))
            return false;

    // The sections are kept without regrowing their storage: those of one chunk counted from
    // its rows, those of more by the results table's size.
    SectionReader reader(lister.connection());
    const bool oneChunk = ids.size() <= SectionReader::kChunk;
    if (!oneChunk)
        in.sections.reserve(reader.sectionHint());
    int shown = 10;
    for (size_t first = 0; first < ids.size(); first += SectionReader::kChunk) {
        const std::vector<int32_t> chunk(ids.begin() + long(first),
                                         ids.begin() + long(std::min(ids.size(), first + SectionReader::kChunk)));
        if (!reader.read(chunk))
            return false;
        if (oneChunk)
            in.sections.reserve(reader.sectionsRead());
        for (size_t r = first; r < first + chunk.size(); ++r) {
            // A record never evaluated has no sections to compare: visiting a section 0 of zeros
            // would count a section without length in every combination it fits.
            const size_t from = in.sections.size();
            reader.sections(ids[r], in.sections);
            for (size_t i = from; i < in.sections.size(); ++i)
                for (size_t k = 0; k < 4; ++k)
                    if (const SectionKey key = in.sections[i].keys[k + 1]; !in.costs.hasRate(k, key))
                        in.costs.setRate(k, key, rates[k].of(key) * FKG);
            const int progress = 10 + int(40 * (r + 1) / ids.size());
            if (progress != shown) {
                ctx.setProgress(shown = progress);
                sys::DoEventsThrottled();
            }
        }
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
    // Each table runs the bar from 50 to 59 again, halves rounded to the even neighbour.
    const size_t N = results.empty() ? 0 : results.size() - 1;
    const auto written = [&](size_t c) {
        if (N > 0)
            ctx.setProgress(50 + int(std::nearbyint(9.0 * double(c) / double(N))));
    };
    try {
        db::TransactionScope unit(*cnn);
        const QString I1 = QStringLiteral("I1");
        // Each table's rows read once: a combination's row is written where it changed, and only
        // a combination without its one row goes through the accessor value by value.
        const auto writeTable = [&](clsDATEN &table, const auto &columnsOf) {
            KeyedRows rows;
            bool readRows = false;
            for (size_t c = 0; ok && c < results.size(); ++c) {
                const std::vector<std::pair<QString, Variant>> row = columnsOf(results[c]);
                if (!readRows) {
                    QStringList names;
                    for (const auto &[column, value] : row)
                        names << column;
                    rows.read(table, I1, names);
                    readRows = true;
                }
                std::vector<Variant> values;
                values.reserve(row.size());
                for (const auto &[column, value] : row)
                    values.push_back(value);
                if (!rows.write(int(c), values))
                    for (const auto &[column, value] : row)
                        if (!(ok = table.DVTV(column, value, I1, int16_t(c))))
                            break;
                written(c);
            }
        };
        writeTable(m3, [](const CombinationResult &r) { return m3Columns(r.m3); });
        writeTable(m4, [](const CombinationResult &r) { return m4Columns(r.m4); });
        if (ok)
            unit.commit();
    } catch (const VbError &) {
        ok = false;
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
    // Only this run's sums: those computed, also when they could not be stored, or none when
    // a read failed. The tables' rows of an earlier run would stand under this run's keys.
    for (const CombinationResult &r : results) {
        p.sums.push_back(r.m3);
        p.stats.push_back(r.m4);
    }
    p.KOMBKOPF = combinationTableHead();
    p.KOMBTAB = CellArray(7, int(p.sums.size()));
    for (int c = 0; c < p.KOMBTAB.rows(); ++c) {
        p.KOMBTAB.set(0, c, Variant(int16_t(c)));
        if (size_t(c) < in.combinations.size())
            for (int k = 0; k < kKeys; ++k)
                p.KOMBTAB.set(k + 1, c, in.combinations[size_t(c)].keys[size_t(k)]);
    }
    if (!stored)
        run.keepUnstoredSums(p);
    return p;
}

} // namespace vnt::multiple
