// The column accessor's state, its query builder, the write and read workers, and the
// index queries, record lists and deletion.
#include "clsDATEN.h"

#include "AccessorSteps.h"
#include "DataBoxes.h"
#include "WriteFailures.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/fso.h"
#include "platform/system.h"

namespace vnt {

clsDATEN::clsDATEN(const RunContext &ctx)
    : ctx_(ctx), cnn_(ctx.cnnX())
{
    Guard g(QStringLiteral("VB-Error: "), QStringLiteral("Datenfehler"));
    db::Recordset rs;
    // Only the first active record counts: read forward, the others are never fetched.
    g.step([&] { rs.Open(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"), cnn_, db::CursorType::ForwardOnly); });
    g.step([&] { s_.ESPIDW = rs.isEOF() ? 0 : rs.Fields(QStringLiteral("ID")).toLong(); });
    g.always([&] { rs.Close(); });
}

clsDATEN::~clsDATEN() = default;

void clsDATEN::setEBOV(bool BOV)
{
    // The development mode is looked up each time: it is a property of the program folder.
    cnn_ = (BOV && !ctx_.developmentMode()) ? ctx_.cnnX_V() : ctx_.cnnX();
}

void clsDATEN::setEMDB(bool &BOMDB, const QString &name)
{
    mdbName_ = name;
    const QString path = ctx_.PROJEKTSPFAD() + QLatin1Char('/') + ctx_.PROJEKT() + QLatin1Char('/') + name
                       + QStringLiteral(".mdb");
    BOMDB = false;
    if (!FileSystemObject().FileExists(path))
        return;
    auto cnn = std::make_shared<db::Connection>();
    cnn->ConnectionString = db::connectionStringFor(path);
    cnn->ConnectionTimeout = 30;
    Guard g(QStringLiteral("VB-Error: "), QStringLiteral("Datenzugriff - Datenbank ") + name);
    bool opened = false;
    g.step([&] { cnn->Open(); opened = true; });
    // A database that did not open is never taken: every later call would fail on it.
    if (opened) {
        cnn_ = cnn;
        BOMDB = true;
    }
}

QString clsDATEN::EMDB(bool) const
{
    return mdbName_;
}

std::unique_ptr<db::Recordset> clsDATEN::openSelection(const QString &SPV, const KeyPairs &keys, db::CursorType cursor)
{
    auto rs = std::make_unique<db::Recordset>();
    openSelection(*rs, SPV, keys, cursor);
    return rs;
}

void clsDATEN::openSelection(db::Recordset &rs, const QString &SPV, const KeyPairs &keys, db::CursorType cursor)
{
    QVarLengthArray<Variant, 8> params;
    selectionParams(s_, keys, params);
    rs.Open(shapes_.text(s_, SPV, keys), std::span<const Variant>(params.constData(), size_t(params.size())), cnn_,
            cursor);
}

std::unique_ptr<db::Recordset> clsDATEN::DT(const QString &SPV, VNT_KEYS)
{
    return openSelection(SPV, VNT_PACK_KEYS);
}

bool clsDATEN::SPALTESCHREIBEN(const QString &SPV, const std::vector<Variant> &values, const KeyPairs &keys)
{
    // Without an element the loop would write nothing and then delete the whole selection.
    if (values.empty())
        return false;
    try {
        auto rs = openSelection(SPV, keys);
        for (size_t i = 0; i < values.size(); ++i) {
            if (rs->isEOF())
                rs->AddNew();
            else if (i == 0)
                rs->MoveFirst();
            const Variant &v = values[i];
            const bool blank = v.isEmpty() || (v.type() == VarType::String && v.toString().isEmpty());
            rs->setField(0, blank ? Variant::null() : v);
            // A table without a record-id column has none to write.
            if (!s_.ESPID.isEmpty())
                rs->setField(s_.ESPID, Variant(s_.ESPIDW));
            for (const KeyPair &k : keys)
                if (k.restricts())
                    rs->setField(k.name, k.value);
            for (const auto &[column, text] : {std::pair(&s_.ESPK1, &s_.ESPK1W), std::pair(&s_.ESPK2, &s_.ESPK2W),
                                               std::pair(&s_.ESPK3, &s_.ESPK3W)})
                if (!column->isEmpty() && !text->isEmpty())
                    rs->setField(*column, Variant(*text));
            rs->Update();
            if (!rs->isEOF())
                rs->MoveNext();
            sys::DoEventsThrottled();
        }
        while (!rs->isEOF()) {
            rs->Delete();
            rs->MoveNext();
        }
        rs->Close();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool clsDATEN::SPALTELESEN(const QString &SPV, std::vector<Variant> &values, const KeyPairs &keys)
{
    try {
        // Read once from the first row on: nothing of the selection needs to be kept.
        db::Recordset rs;
        openSelection(rs, SPV, keys, db::CursorType::ForwardOnly);
        if (!rs.isEOF()) {
            for (size_t i = 0; i < values.size(); ++i) {
                const Variant v = rs.Fields(0);
                if (!v.isNull())
                    values[i] = v;
                rs.MoveNext();
                if (rs.isEOF())
                    break;
            }
        }
        rs.Close();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

QString clsDATEN::selectionKey(const QString &SPV, const KeyPairs &keys)
{
    QVarLengthArray<Variant, 8> params;
    selectionParams(s_, keys, params);
    QString key = (cnn_ ? cnn_->path() : QString()) + QLatin1Char('\n') + shapes_.text(s_, SPV, keys);
    for (const Variant &p : params)
        key += QLatin1Char('\n') + p.text();
    return key;
}

bool clsDATEN::writeOne(const QString &SPV, const Variant &value, const KeyPairs &keys)
{
    if (SPALTESCHREIBEN(SPV, {value}, keys)) {
        if (keepRefused_ && refused_values::any())
            refused_values::forget(selectionKey(SPV, keys));
        return true;
    }
    if (keepRefused_)
        refused_values::keep(selectionKey(SPV, keys), value);
    if (OneWriteFailureTold::tell())
        dataError(QStringLiteral("Wert ") + value.text() + QStringLiteral(" kann nicht in die Spalte ") + SPV
                  + QStringLiteral(" der Tabelle ") + s_.ETABELLE + QStringLiteral(" gespeichert werden!"));
    return false;
}

bool clsDATEN::writeMany(const QString &SPV, const std::vector<Variant> &values, const KeyPairs &keys)
{
    if (SPALTESCHREIBEN(SPV, values, keys))
        return true;
    if (OneWriteFailureTold::tell())
        dataError(QStringLiteral("Werte können nicht in Spalte ") + SPV + QStringLiteral(" der Tabelle ")
                  + s_.ETABELLE + QStringLiteral(" gespeichert werden!"));
    return false;
}

bool clsDATEN::readOne(const QString &SPV, Variant &value, const KeyPairs &keys)
{
    std::vector<Variant> list(1);
    const bool ok = SPALTELESEN(SPV, list, keys);
    value = list[0];
    if (ok) {
        if (keepRefused_ && refused_values::any())
            if (const Variant *kept = refused_values::kept(selectionKey(SPV, keys)))
                value = *kept;
        return true;
    }
    dataError(QStringLiteral("Wert ") + value.text() + QStringLiteral(" kann nicht aus der Spalte ") + SPV
              + QStringLiteral(" der Tabelle ") + s_.ETABELLE + QStringLiteral(" eingelesen werden!"));
    return false;
}

// ---- index queries ----------------------------------------------------------------------

template <class Store>
void clsDATEN::runIndex(const QString &title, const KeyPairs &keys, Store store)
{
    Guard g(QStringLiteral("VB-Error: "), title);
    db::Recordset rs;
    bool opened = false;
    if (!g.step([&] { rs.Open(indexQuery(s_, keys), cnn_); opened = true; }) || !opened)
        return;   // nothing to measure: one box is enough
    bool hasRows = false;
    g.step([&] { hasRows = !rs.isEOF(); });
    if (hasRows) {
        g.step([&] { rs.MoveFirst(); });
        g.step([&] { store(0, rs.Fields(0)); });
        g.step([&] { rs.MoveLast(); });
        g.step([&] { store(1, rs.Fields(0)); });
        g.step([&] { store(2, Variant(int32_t(rs.RecordCount()))); });
    } else if (!g.left()) {
        store(3, Variant());
    }
    g.always([&] { rs.Close(); });
}

namespace {

// The store of INDEX and INDEXL: first value, last value and row count as whole numbers, all
// three zero when nothing is selected.
template <class T, class Convert>
auto minMaxCount(T &MINI, T &MAXI, T &AN, Convert convert)
{
    return [&MINI, &MAXI, &AN, convert](int what, const Variant &v) {
        switch (what) {
        case 0: MINI = convert(v); break;
        case 1: MAXI = convert(v); break;
        case 2: AN = convert(v); break;
        default: MINI = MAXI = AN = 0;
        }
    };
}

} // namespace

void clsDATEN::INDEX(int16_t &MINI, int16_t &MAXI, int16_t &AN, const QString &SPI1, const Variant &SPI1W,
                     const QString &SPI2, const Variant &SPI2W, const QString &SPI3, const Variant &SPI3W,
                     const QString &SPI4)
{
    runIndex(QStringLiteral("Index"), VNT_PACK_KEYS3,
             minMaxCount(MINI, MAXI, AN, [](const Variant &v) { return v.toInt(); }));
}

void clsDATEN::INDEXL(int32_t &MINI, int32_t &MAXI, int32_t &AN, const QString &SPI1, const Variant &SPI1W,
                      const QString &SPI2, const Variant &SPI2W, const QString &SPI3, const Variant &SPI3W,
                      const QString &SPI4)
{
    runIndex(QStringLiteral("Datenfehler"), VNT_PACK_KEYS3,
             minMaxCount(MINI, MAXI, AN, [](const Variant &v) { return v.toLong(); }));
}

void clsDATEN::INDEXV(Variant &MINI, Variant &MAXI, int16_t &AN, const QString &SPI1, const Variant &SPI1W,
                      const QString &SPI2, const Variant &SPI2W, const QString &SPI3, const Variant &SPI3W,
                      const QString &SPI4)
{
    runIndex(QStringLiteral("Index"), VNT_PACK_KEYS3,
             [&](int what, const Variant &v) {
                 switch (what) {
                 case 0: MINI = v; break;
                 case 1: MAXI = v; break;
                 case 2: AN = v.toInt(); break;
                 default:
                     MINI = MAXI = Variant(int16_t(0));
                     AN = 0;
                 }
             });
}

// ---- record lists -----------------------------------------------------------------------

namespace {

QString recordListQuery(const QString &column, bool AKT)
{
    return QStringLiteral("SELECT [") + column + QStringLiteral("] FROM [E1]")
         + (AKT ? QStringLiteral(" WHERE [AKT]=true") : QString()) + QStringLiteral(" ORDER BY [KEN]");
}

template <class T, class Convert>
void fillRecordList(const db::ConnectionPtr &cnn, const QString &column, bool AKT, std::vector<T> &out,
                    Convert convert)
{
    db::Recordset rs;
    rs.Open(recordListQuery(column, AKT), cnn);
    if (!rs.isEOF()) {
        rs.MoveLast();
        std::vector<T> list(size_t(rs.RecordCount()));
        rs.MoveFirst();
        for (size_t i = 0; !rs.isEOF() && i < list.size(); ++i, rs.MoveNext())
            list[i] = convert(rs.Fields(0));
        out = std::move(list);
    }
    rs.Close();
}

} // namespace

void clsDATEN::LID(std::vector<int32_t> &ID, bool AKT)
{
    fillRecordList(cnn_, QStringLiteral("ID"), AKT, ID, [](const Variant &v) { return v.toLong(); });
}

void clsDATEN::LKEN(std::vector<QString> &KEN, bool AKT)
{
    fillRecordList(cnn_, QStringLiteral("KEN"), AKT, KEN, [](const Variant &v) { return v.toString(); });
}

bool clsDATEN::LOESCHEN(VNT_KEYS)
{
    Guard g(QStringLiteral("VB-Error: "), QStringLiteral("Datenfehler"));
    std::unique_ptr<db::Recordset> rs;
    const KeyPairs keys = VNT_PACK_KEYS;
    if (!g.step([&] { rs = openSelection(s_.ESPID, keys); }) || !rs)
        return false;   // nothing was deleted, so nothing may be reported as done
    return deleteRestAndClose(g, *rs, true);
}

} // namespace vnt
