// System calls: user, locale, sleep, beep, pointer, window-system events, screen picture.
#pragma once

#include <QLocale>
#include <QString>

class QWidget;

namespace vnt::sys {

QString userName();                  // the login name

// The user's locale. Tests set it (German or English) with setLocale; the program uses
// QLocale::system(), which follows LANG.
QLocale locale();
void setLocale(const QLocale &l);
int languageCode();                  // 1 for an English locale, 3 (German) for any other
QString decimalSign();               // "," or "."
QString shortDateFormat();           // the locale's short date in digits, four-digit years ("dd.MM.yyyy" when it names the month)

void Sleep(int milliseconds);        // instant when setInstantSleep(true)
void setInstantSleep(bool instant);

bool setSystemBeep(bool on);         // returns the previous setting; no-op here
void setHourglass(bool busy);        // the wait pointer over the whole application
bool hourglass();

// Lets the window system process pending events, but never user input: a click must not
// unload a window while its code is still running.
void DoEvents();
// DoEvents for loops that would call it per value: runs the pending events only when the
// last run is some tens of milliseconds ago, so the progress bar and the screen still repaint
// during a long step while most calls cost a clock read.
void DoEventsThrottled();
inline constexpr int kEventsIntervalMs = 30;

// Puts a picture of the widget on the clipboard (the program's screen picture).
void printScreen(QWidget *w);

// The user's documents folder (the home folder when the desktop names none), made when
// missing: where the program puts the files it names itself, printouts and documents.
QString documentsFolder();

} // namespace vnt::sys
