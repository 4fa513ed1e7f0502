// The logger-file import: the typed grid as its target, the configuration the presets give and
// the run of one import. The file is read once into lines; a reader walks them cycle by cycle
// and places every configured value into the row being filled (LoggerImport_Cycles.cpp); the
// clean-up then rewrites prefixes, dates, times, decimal signs and factors over the imported
// rows (LoggerImport_CleanUp.cpp).
#include "grid/LoggerImport.h"
#include "grid/LoggerImport_Shared.h"

#include "data/clsDATEN.h"
#include "grid/GridText.h"
#include "grid/clsFLX.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QFile>
#include <cfloat>
#include <cmath>

namespace vnt {

using namespace loggerimport_shared;

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

QString placeholders(QString s)
{
    s.replace(QLatin1String("<BLANK>"), QLatin1String(" "));
    s.replace(QLatin1String("<TAB>"), QLatin1String("\t"));
    return s;
}

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
