// The frame's window-free rules.
#include "FrameRules.h"
#include "platform/NumberFormat.h"

namespace vnt {

QString shortenedProjectPath(const QString &path)
{
    constexpr int limit = 20;
    QString s = path;
    if (s.size() <= limit)
        return s;
    int i = 2;   // positions count from 1
    while (s.size() > limit) {
        if (i < 1 || i > s.size())
            return path;   // no folder boundary left: show it whole
        s = s.mid(i - 1);
        i = s.indexOf(QLatin1Char('/'), 2) + 1;   // first separator at or after position 3
    }
    return QStringLiteral(" ... ") + s;
}

float sizeInMegabytes(int64_t bytes)
{
    return float(RoundHalfEven(double(bytes) / 1000000.0, 1));
}

QString megabytesText(float megabytes, const QString &decimalSign)
{
    QString s = QString::number(RoundHalfEven(double(megabytes), 1), 'f', 1);
    if (s.endsWith(QLatin1String(".0")))
        s.chop(2);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    s.replace(QLatin1Char('.'), decimalSign);
    return s;
}

QString compactionFilePath(const QString &workingDatabase)
{
    const int slash = workingDatabase.lastIndexOf(QLatin1Char('/'));
    const QString folder = workingDatabase.left(slash + 1);
    QString name = workingDatabase.mid(slash + 1);
    if (name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
        name.chop(4);
    return folder + name + QStringLiteral("TEMP.mdb");
}

QString runLockPath(const QString &workingDatabase)
{
    const int slash = workingDatabase.lastIndexOf(QLatin1Char('/'));
    QString name = workingDatabase.mid(slash + 1);
    if (name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
        name.chop(4);
    return workingDatabase.left(slash + 1) + QLatin1Char('.') + name + QStringLiteral(".lock");
}

float compactionGain(float before, float after, int64_t bytesBefore, int64_t bytesAfter)
{
    if (before != 0.0f)
        return float(RoundHalfEven(double(float((before - after) * 100.0f / before)), 1));
    if (bytesBefore > 0)
        return float(RoundHalfEven(double(bytesBefore - bytesAfter) * 100.0 / double(bytesBefore), 1));
    return 0.0f;
}

QString shortenedCredits(const QString &credits)
{
    if (credits.size() <= 50)
        return credits;
    const int comma = credits.indexOf(QLatin1Char(','), 49);   // at or after character 50
    if (comma < 0)
        return credits;
    return credits.left(comma + 1) + QStringLiteral(" ...");
}

int languageCodeFor(const QString &iso639)
{
    if (iso639 == QLatin1String("en"))
        return 1;
    return 3;
}

AutostartLayout autostartLayout(float W, float H, const AutostartSizes &s)
{
    AutostartLayout l;
    l.fraWidth = W * 0.98f;
    l.fraLeft = (W - l.fraWidth) / 2;
    l.logoHeight = s.fraHeight * 0.85f;
    l.logoTop = s.fraHeight * 0.1f;
    l.logoLeft = l.fraWidth - s.logoWidth - l.logoTop / 2;
    l.titleLeft = (W - s.titleWidth) / 2;
    l.titleTop = (H - s.titleHeight) / 2.75f;
    l.subtitleLeft = (W - s.subtitleWidth) / 2;
    l.subtitleTop = l.titleTop + s.subtitleHeight * 1.15f;
    l.photoLeft = W - s.photoWidth - 1000;
    l.photoTop = H - s.photoHeight - 1000 + s.versionTextHeight;
    l.versionTop = H - 1000;
    l.versionLeft = 200;
    l.barTop = l.versionTop - 3 * s.barHeight;
    l.barLeft = 200;
    l.barWidth = W / 4;
    return l;
}

} // namespace vnt
