// Building the preset tables' cell texts from the preset database.
#include "pages/record/PresetTableTexts.h"

#include "data/clsDATEN.h"
#include "platform/Guard.h"

#include <QMap>

namespace vnt {

namespace {

enum class Reads { Tested, Untested };

// One device table (carrier rigs, casings, cutting tools, conveying tools): identifier,
// comment, cost per hour as stored.
struct DeviceTable {
    const char *run, *ken, *kom, *ek;
};

// The running numbers of a table in ascending order, each with how often it is stored.
// Rows without a running number cannot be selected by it and are left out.
bool runningNumbers(clsDATEN &a, const QString &run, QMap<int32_t, int> &counts)
{
    Guard g(QStringLiteral("VB-Error: "), QStringLiteral("Datenfehler"));
    g.step([&] {
        auto rs = a.DT(run, run);
        for (; !rs->isEOF(); rs->MoveNext()) {
            const Variant v = rs->Fields(0);
            if (!v.isNull() && !v.isEmpty())
                ++counts[v.toLong()];
        }
        rs->Close();
    });
    return !g.failed();
}

// One row of the body per stored row, in ascending order of the running number; the rows of
// a number stored more than once follow each other in their stored order. `readRows` fills
// `count` rows from row `n` with the rows of the selected number and returns false when a
// tested read failed.
bool walkRows(clsDATEN &a, const QString &run, CellArray &body, int columns, Reads reads,
              const std::function<bool(int n, int count)> &readRows)
{
    QMap<int32_t, int> counts;
    const bool listed = runningNumbers(a, run, counts);
    if (!listed && reads == Reads::Tested)
        return false;
    int rows = 0;
    for (int c : counts)
        rows += c;
    body.ReDim(columns, rows);
    int n = 0;
    bool ok = true;
    for (auto it = counts.cbegin(); it != counts.cend() && ok; ++it) {
        a.setESPID(run);
        a.setESPIDW(it.key());
        ok = readRows(n, it.value()) || reads == Reads::Untested;
        n += it.value();
    }
    a.setESPID(QString());
    return ok;
}

// Reads column `column` of the `count` selected rows into `values`; Null stays Empty.
bool readColumn(clsDATEN &a, const char *column, int count, std::vector<Variant> &values)
{
    values.assign(size_t(count), Variant());
    return a.DTVVF(QString::fromLatin1(column), values);
}

void deviceHead(CellArray &head, const char *ken)
{
    head.ReDim(3, 2);
    head.set(0, 0, QString::fromLatin1(ken));
    head.set(1, 0, QString::fromUtf8("Erläuterung"));
    head.set(2, 0, QStringLiteral("Kosten"));
    head.set(2, 1, QStringLiteral("[E/h]"));
}

void buildDevices(clsDATEN &a, const DeviceTable &t, CellArray &head, CellArray &body)
{
    deviceHead(head, t.ken);
    walkRows(a, QString::fromLatin1(t.run), body, 3, Reads::Untested, [&](int n, int count) {
        std::vector<Variant> v;
        if (readColumn(a, t.ken, count, v))
            for (int r = 0; r < count; ++r)
                body.set(0, n + r, shortenedText(v[size_t(r)], 9, 7));
        if (readColumn(a, t.kom, count, v))
            for (int r = 0; r < count; ++r)
                body.set(1, n + r, shortenedText(v[size_t(r)], 64, 62));
        if (readColumn(a, t.ek, count, v))
            for (int r = 0; r < count; ++r)
                body.set(2, n + r, v[size_t(r)]);
        return true;
    });
}

bool buildUnitCosts(clsDATEN &a, PresetTableTexts &T)
{
    T.KOPFV3.ReDim(3, 2);
    T.KOPFV3.set(0, 0, QStringLiteral("Kenn-"));
    T.KOPFV3.set(1, 0, QString::fromUtf8("Erläuterung"));
    T.KOPFV3.set(2, 0, QStringLiteral("Kosten"));
    T.KOPFV3.set(0, 1, QStringLiteral("zeichnung"));
    T.KOPFV3.set(2, 1, QStringLiteral("[E/h]"));
    return walkRows(a, QStringLiteral("IDK"), T.ZEILENV3, 3, Reads::Tested, [&](int n, int count) {
        std::vector<Variant> ken, kom, kenkpg, fkp, ekp;
        if (!readColumn(a, "KENK", count, ken) || !readColumn(a, "KOMK", count, kom)
            || !readColumn(a, "KENKPG", count, kenkpg) || !readColumn(a, "FKP", count, fkp)
            || !readColumn(a, "EKP", count, ekp))
            return false;
        for (int r = 0; r < count; ++r) {
            const size_t i = size_t(r);
            T.ZEILENV3.set(0, n + r, shortenedText(ken[i], 9, 7));
            T.ZEILENV3.set(1, n + r, shortenedText(kom[i], 22, 20));
            // Null counts as 0 in every one of the three numbers.
            const auto single = [](const Variant &v) { return v.isEmpty() ? 0.0f : v.toSingle(); };
            if (single(kenkpg[i]) != 0) {
                T.ZEILENV3.set(2, n + r, QStringLiteral("*"));
                T.BOFUSSNOTE = true;
            } else {
                T.ZEILENV3.set(2, n + r, Variant(float(single(ekp[i]) * single(fkp[i]))));
            }
        }
        return true;
    });
}

bool buildRocks(clsDATEN &a, PresetTableTexts &T)
{
    T.KOPFV2.ReDim(11, 3);
    T.KOPFV2.set(0, 0, QStringLiteral("KENG"));
    T.KOPFV2.set(1, 0, QString::fromUtf8("Erläuterung"));
    const char *groups[] = {"Einaxiale Druckfestigkeit", "Quarzgehalte", "Cercharindices"};
    const char *units[] = {"[MPa]", "[%]", "[-]"};
    for (int k = 0; k < 3; ++k) {
        T.KOPFV2.set(2 + 3 * k, 0, QString::fromLatin1(groups[k]));
        T.KOPFV2.set(2 + 3 * k, 1, QString::fromLatin1(units[k]));
        T.KOPFV2.set(2 + 3 * k, 2, QStringLiteral("Mittelwert"));
        T.KOPFV2.set(3 + 3 * k, 2, QStringLiteral("Minimum"));
        T.KOPFV2.set(4 + 3 * k, 2, QStringLiteral("Maximum"));
    }
    static const char *const numbers[] = {"SICQ", "SICMIN", "SICMAX", "QGQ", "QGMIN", "QGMAX", "CAIQ", "CAIMIN", "CAIMAX"};
    return walkRows(a, QStringLiteral("IDG"), T.ZEILENV2, 11, Reads::Tested, [&](int n, int count) {
        std::vector<Variant> v;
        if (!readColumn(a, "KENG", count, v))
            return false;
        for (int r = 0; r < count; ++r)
            T.ZEILENV2.set(0, n + r, shortenedText(v[size_t(r)], 9, 7));
        if (!readColumn(a, "KOMG", count, v))
            return false;
        for (int r = 0; r < count; ++r)
            T.ZEILENV2.set(1, n + r, shortenedText(v[size_t(r)], 30, 28));
        for (int i = 0; i < 9; ++i) {
            if (!readColumn(a, numbers[i], count, v))
                return false;
            for (int r = 0; r < count; ++r)
                T.ZEILENV2.set(2 + i, n + r, v[size_t(r)]);
        }
        return true;
    });
}

} // namespace

Variant shortenedText(const Variant &value, int keep, int cut)
{
    if (value.type() != VarType::String)
        return value;
    const QString s = value.toString();
    return s.size() > keep ? Variant(s.left(cut) + QStringLiteral("...")) : value;
}

void DATENEINGABE(PresetTableTexts &T, const std::array<clsDATEN *, 6> &accessors,
                  const std::function<void(int)> &progress)
{
    T.BOFUSSNOTE = false;
    if (!buildUnitCosts(*accessors[5], T))
        return;
    progress(83);
    static const DeviceTable devices[] = {
        {"IDT", "KENT", "KOMT", "EKT"},
        {"IDV", "KENV", "KOMV", "EKV"},
        {"IDL", "KENL", "KOML", "EKL"},
        {"IDF", "KENF", "KOMF", "EKF"},
    };
    CellArray *heads[] = {&T.KOPFV11, &T.KOPFV12, &T.KOPFV13, &T.KOPFV14};
    CellArray *bodies[] = {&T.ZEILENV11, &T.ZEILENV12, &T.ZEILENV13, &T.ZEILENV14};
    for (int i = 0; i < 4; ++i) {
        buildDevices(*accessors[size_t(i)], devices[i], *heads[i], *bodies[i]);
        progress(85 + 2 * i);
    }
    buildRocks(*accessors[4], T);
}

} // namespace vnt
