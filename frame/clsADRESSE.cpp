// Contact lines of the Vantrel project: a placeholder address, no real person or firm.
#include "clsADRESSE.h"
#include "platform/RunContext.h"

namespace vnt {

QString clsADRESSE::byLanguage(const char *english, const char *german) const
{
    switch (ctx_.SPRACHE()) {
    case 1: return QString::fromUtf8(english);
    case 3: return QString::fromUtf8(german);
    default: return {};
    }
}

QString clsADRESSE::FIRMA1() const { return byLanguage("Vantrel Project", "Vantrel-Projekt"); }
QString clsADRESSE::FIRMA2() const { return byLanguage("Working Group Drilled Advance", "Arbeitsgruppe Bohrvortrieb"); }
QString clsADRESSE::PLZ() const { return byLanguage("00000 Sample Town", "00000 Musterstadt"); }
QString clsADRESSE::STR() const { return QStringLiteral("Beispielweg 1"); }
QString clsADRESSE::VORSITZ() const { return QStringLiteral("N. N."); }
QString clsADRESSE::TEL() const { return QStringLiteral("+00 000 0000000"); }
QString clsADRESSE::FAX() const { return QStringLiteral("+00 000 0000001"); }
QString clsADRESSE::EMAIL() const { return QStringLiteral("info@vantrel.invalid"); }
QString clsADRESSE::URL() const { return QStringLiteral("www.vantrel.invalid"); }

QString clsADRESSE::rolePrefix(int sprache)
{
    return sprache == 1 ? QStringLiteral("Head: ") : QStringLiteral("Leitung: ");
}

} // namespace vnt
