// The program: the main window's start-up, then the window system's loop until the run ends.
#include "frame/frmMAIN.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSessionManager>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("VANT"));
    app.setQuitOnLastWindowClosed(false);

    vnt::frmMAIN frm;
    QObject::connect(&frm, &vnt::frmMAIN::programEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The session ending asks nothing, but still ends the run in order.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &frm, [&frm](QSessionManager &) { frm.endRun(2); });

    if (!frm.MDIForm_Load(QCoreApplication::applicationDirPath()))
        return 1;
    return app.exec();
}
