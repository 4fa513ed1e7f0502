// System calls over Qt and POSIX: who is logged in, which locale, sleeping, the wait pointer.
#include "system.h"
#include "errors.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPixmap>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace vnt::sys {

namespace {
std::optional<QLocale> g_locale;
bool g_instantSleep = false;
bool g_beep = true;
int g_hourglassDepth = 0;
}

QString userName()
{
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    // A user without a passwd entry (some containers) still has a name in the environment.
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QLocale locale()
{
    return g_locale ? *g_locale : QLocale::system();
}

void setLocale(const QLocale &l)
{
    g_locale = l;
}

int languageCode()
{
    // Only an English locale speaks English; every other language gets the German texts.
    return locale().language() == QLocale::English ? 1 : 3;
}

QString decimalSign()
{
    return locale().decimalPoint();
}

namespace {

// Digits only: the day, month and year letters outside quoted literals, none of them as a name
// ("MMM", "ddd"), so that the date reads back by any locale and the labels' form stays typable.
bool numericDateFormat(const QString &f)
{
    bool quoted = false;
    int run = 0;
    QChar previous;
    bool year = false;
    for (const QChar c : f) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            run = 0;
            previous = QChar();
            continue;
        }
        if (quoted || !c.isLetter()) {
            run = 0;
            previous = QChar();
            continue;
        }
        if (c != QLatin1Char('d') && c != QLatin1Char('M') && c != QLatin1Char('y'))
            return false;
        run = c == previous ? run + 1 : 1;
        previous = c;
        if (run > 2 && c != QLatin1Char('y'))
            return false;
        year = year || c == QLatin1Char('y');
    }
    return year && f.contains(QLatin1Char('d')) && f.contains(QLatin1Char('M'));
}

} // namespace

QString shortDateFormat()
{
    QString f = locale().dateFormat(QLocale::ShortFormat);
    // A month shown as a name would not read back under another locale, nor match the
    // labels' TT.MM.JJ; such a locale (the C locale among them) shows the labels' form.
    if (!numericDateFormat(f))
        return QStringLiteral("dd.MM.yyyy");
    // Record dates must survive the year 2000 boundary in both directions.
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

void Sleep(int milliseconds)
{
    if (!g_instantSleep && milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void setInstantSleep(bool instant)
{
    g_instantSleep = instant;
}

bool setSystemBeep(bool on)
{
    const bool old = g_beep;
    g_beep = on;
    return old;
}

void setHourglass(bool busy)
{
    // Counted, so that a long command inside another long command does not restore the
    // normal pointer while the outer one is still working.
    if (busy) {
        ++g_hourglassDepth;
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else if (g_hourglassDepth > 0) {
        --g_hourglassDepth;
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            QApplication::restoreOverrideCursor();
    }
}

bool hourglass()
{
    return g_hourglassDepth > 0;
}

void DoEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DoEventsThrottled()
{
    static QElapsedTimer sinceLast;
    if (sinceLast.isValid() && sinceLast.elapsed() < kEventsIntervalMs)
        return;
    DoEvents();
    sinceLast.start();
}

void printScreen(QWidget *w)
{
    if (!w)
        w = QApplication::activeWindow();
    if (!w)
        raise(91);
    QGuiApplication::clipboard()->setImage(w->grab().toImage());
}

QString documentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder;
}

} // namespace vnt::sys
