// Opening the export and import dialog and the preset editor from the main window's menus.
#include "frame/ExportImportCommands.h"

#include "frame/frmEXPIMP.h"
#include "frame/frmMAIN.h"
#include "input/frmVVORGABEN.h"
#include "platform/ui.h"

#include <QAction>
#include <QPointer>

namespace vnt {

namespace {

void setMenus(frmMAIN &main, bool enabled)
{
    for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        if (QAction *a = main.menuItem(QString::fromLatin1(m)))
            a->setEnabled(enabled);
}

} // namespace

void mnuEXPIMP_Click(frmMAIN &main)
{
    QPointer<frmMAIN> alive(&main);
    setMenus(main, false);
    // A result left by an earlier dialog must not pass for an import.
    main.setTag(QString());
    {
        frmEXPIMP dlg(main, &main);
        ui::showModal(dlg);
    }
    if (!alive)
        return;
    if (main.Tag() == QLatin1String("OK")) {
        main.setGEAENDERT(true);
        // Imported records keep their active marks; panel 6 names every active record.
        main.PANELDATENSATZ();
    }
    setMenus(main, true);
}

void mnuVVORGABEN_Click(frmMAIN &main)
{
    QPointer<frmMAIN> alive(&main);
    main.setTag(QString());
    {
        frmVVORGABEN dlg(main, &main);
        dlg.onQuit = [&] {
            main.mnuBEENDEN_Click();
            if (!alive || main.ended())
                dlg.reject();
        };
        dlg.onHelp = [&] {
            if (alive)
                main.mnuHILFE_Click();
        };
        ui::showModal(dlg);
    }
    if (alive && main.Tag() == QLatin1String("OK"))
        main.setGEAENDERT(true);
}

} // namespace vnt
