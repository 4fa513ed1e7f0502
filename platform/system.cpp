// System calls over Qt and POSIX: who is logged in, which locale, sleeping, the wait pointer.
#include "system.h"
#include "errors.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDir>
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

QString shortDateFormat()
{
    QString f = locale().dateFormat(QLocale::ShortFormat);
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
