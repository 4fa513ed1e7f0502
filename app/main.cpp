// The program: the main window's start-up, then the window system's loop until the run ends.
#include "frame/FrameRules.h"
#include "frame/frmMAIN.h"
#include "platform/fonts.h"
#include "platform/system.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("VANT"));
    app.setQuitOnLastWindowClosed(false);
    vnt::fonts::setWindowFont();

    // The buttons of the message boxes speak the program's language: German unless the
    // user's locale is English. Without the toolkit's translations they stay English.
    QTranslator buttons;
    if (vnt::languageCodeFor(vnt::sys::locale().name().section(QLatin1Char('_'), 0, 0)) == 3
        && buttons.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&buttons);

    vnt::frmMAIN frm;
    QObject::connect(&frm, &vnt::frmMAIN::programEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The session ending asks nothing, but still ends the run in order.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &frm, [&frm](QSessionManager &) { frm.endRun(2); });

    if (!frm.MDIForm_Load(QCoreApplication::applicationDirPath()))
        return 1;
    return app.exec();
}
