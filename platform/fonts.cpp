// The window font is the application's font: every widget without a font of its own takes it.
#include "platform/fonts.h"

#include <QApplication>
#include <QFont>

namespace vnt::fonts {

QString family(const QString &name)
{
    const QString n = name.trimmed();
    if (n.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (n.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (n.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Mono");
    return n;
}

void setWindowFont()
{
    QFont f = QApplication::font();
    f.setFamilies({family(QStringLiteral("Arial"))});
    QApplication::setFont(f);
}

} // namespace vnt::fonts
