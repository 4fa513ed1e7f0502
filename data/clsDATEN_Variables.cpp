// The column accessor's transfers between table columns and variables, arrays and collections.
#include "clsDATEN.h"
#include "clsDATEN_Shared.h"

#include "DataBoxes.h"
#include "platform/Guard.h"
#include "platform/errors.h"

namespace vnt {

namespace {

template <class T>
std::vector<Variant> toValueList(const std::vector<T> &values)
{
    std::vector<Variant> list;
    list.reserve(values.size());
    for (const auto &v : values)
        list.emplace_back(T(v));
    return list;
}

} // namespace

// ---- variable to table ------------------------------------------------------------------

bool clsDATEN::DVTA(const QString &SPV, double DTM, VNT_KEYS)
{
    return writeOne(SPV, Variant::date(DTM), VNT_PACK_KEYS);
}

bool clsDATEN::DVTB(const QString &SPV, bool BO, VNT_KEYS)
{
    return writeOne(SPV, Variant(BO), VNT_PACK_KEYS);
}

bool clsDATEN::DVTBF(const QString &SPV, const std::vector<bool> &BO, VNT_KEYS)
{
    return writeMany(SPV, toValueList(BO), VNT_PACK_KEYS);
}

bool clsDATEN::DVTT(const QString &SPV, const QString &TXT, VNT_KEYS)
{
    return writeOne(SPV, Variant(TXT), VNT_PACK_KEYS);
}

bool clsDATEN::DVTTF(const QString &SPV, const std::vector<QString> &TXT, VNT_KEYS)
{
    return writeMany(SPV, toValueList(TXT), VNT_PACK_KEYS);
}

bool clsDATEN::DVTI(const QString &SPV, int16_t I, VNT_KEYS)
{
    return writeOne(SPV, Variant(I), VNT_PACK_KEYS);
}

bool clsDATEN::DVTIF(const QString &SPV, const std::vector<int16_t> &ZAHLEN, VNT_KEYS)
{
    return writeMany(SPV, toValueList(ZAHLEN), VNT_PACK_KEYS);
}

bool clsDATEN::DVTL(const QString &SPV, int32_t L, VNT_KEYS)
{
    return writeOne(SPV, Variant(L), VNT_PACK_KEYS);
}

bool clsDATEN::DVTS(const QString &SPV, float ZAHL, VNT_KEYS)
{
    return writeOne(SPV, Variant(ZAHL), VNT_PACK_KEYS);
}

bool clsDATEN::DVTSF(const QString &SPV, const std::vector<float> &ZAHLEN, VNT_KEYS)
{
    return writeMany(SPV, toValueList(ZAHLEN), VNT_PACK_KEYS);
}

bool clsDATEN::DVTD(const QString &SPV, double ZAHL, VNT_KEYS)
{
    return writeOne(SPV, Variant(ZAHL), VNT_PACK_KEYS);
}

bool clsDATEN::DVTV(const QString &SPV, const Variant &WERT, VNT_KEYS)
{
    return writeOne(SPV, WERT, VNT_PACK_KEYS);
}

// ---- table to variable ------------------------------------------------------------------
// The variable is assigned only after the conversion succeeded: a value that does not fit
// throws to the caller and leaves the variable as it was.

bool clsDATEN::DTVA(const QString &SPV, double &DATUM, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { DATUM = v.toDate(); });
}

bool clsDATEN::DTVB(const QString &SPV, bool &BO, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { BO = v.toBool(); });
}

bool clsDATEN::DTVT(const QString &SPV, QString &TXT, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { TXT = v.toString(); });
}

bool clsDATEN::DTVI(const QString &SPV, int16_t &I, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { I = v.toInt(); });
}

bool clsDATEN::DTVL(const QString &SPV, int32_t &L, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { L = v.toLong(); });
}

bool clsDATEN::DTVS(const QString &SPV, float &ZAHL, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { ZAHL = v.toSingle(); });
}

bool clsDATEN::DTVD(const QString &SPV, double &ZAHL, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { ZAHL = v.toDouble(); });
}

bool clsDATEN::DTVV(const QString &SPV, Variant &WERT, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { WERT = v; });
}

template <class T, class Convert>
bool clsDATEN::readArray(const QString &SPV, std::vector<T> &values, const KeyPairs &keys, Convert convert)
{
    Guard g(QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + s_.ETABELLE
                + QStringLiteral(" können nicht aus der Spalte ") + SPV + QStringLiteral(" eingelesen werden!\nVB-Error: "),
            QStringLiteral("Datenfehler"));
    std::unique_ptr<db::Recordset> rs;
    // A selection that cannot be opened has no rows to go on with: one box, and the
    // transfer is reported as not done.
    if (!g.step([&] { rs = openSelection(SPV, keys); }) || !rs)
        return false;
    bool hasRow = false;
    g.step([&] { hasRow = !rs->isEOF(); });
    if (hasRow) {
        g.step([&] { rs->MoveFirst(); });
        size_t k = 0;
        while (!g.left()) {
            bool atEnd = false;   // a failed end test goes on with the row, as OK promises
            g.step([&] { atEnd = rs->isEOF(); });
            if (atEnd || g.left())
                break;
            g.step([&] {
                const Variant v = rs->Fields(0);
                if (v.isNull())
                    return;
                if (k >= values.size())
                    raise(err::SubscriptOutOfRange);
                values[k] = convert(v);
            });
            g.step([&] { rs->MoveNext(); });
            ++k;
        }
    }
    g.always([&] { rs->Close(); });
    return !g.left();
}

bool clsDATEN::DTVBF(const QString &SPV, std::vector<bool> &BO, VNT_KEYS)
{
    return readArray(SPV, BO, VNT_PACK_KEYS, [](const Variant &v) { return v.toBool(); });
}

bool clsDATEN::DTVTF(const QString &SPV, std::vector<QString> &ZAHLEN, VNT_KEYS)
{
    return readArray(SPV, ZAHLEN, VNT_PACK_KEYS, [](const Variant &v) { return v.toString(); });
}

bool clsDATEN::DTVIF(const QString &SPV, std::vector<int16_t> &ZAHLEN, VNT_KEYS)
{
    return readArray(SPV, ZAHLEN, VNT_PACK_KEYS, [](const Variant &v) { return v.toInt(); });
}

bool clsDATEN::DTVSF(const QString &SPV, std::vector<float> &ZAHLEN, VNT_KEYS)
{
    return readArray(SPV, ZAHLEN, VNT_PACK_KEYS, [](const Variant &v) { return v.toSingle(); });
}

bool clsDATEN::DTVVF(const QString &SPV, std::vector<Variant> &ZAHLEN, VNT_KEYS)
{
    return readArray(SPV, ZAHLEN, VNT_PACK_KEYS, [](const Variant &v) { return v; });
}

bool clsDATEN::DTVCOL(const QString &SPV, std::vector<Variant> &X, VNT_KEYS)
{
    try {
        auto rs = openSelection(SPV, VNT_PACK_KEYS);
        if (!rs->isEOF()) {
            rs->MoveFirst();
            X.clear();
        }
        for (; !rs->isEOF(); rs->MoveNext()) {
            const Variant v = rs->Fields(SPV);
            if (!v.isNull())
                X.push_back(v);
        }
        rs->Close();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace vnt
