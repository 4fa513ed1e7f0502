// The end of the run: closing to the frame program or quitting, the question about unsaved
// changes, and the unload that closes the windows and connections and removes the working copy.
#include "frame/frmMAIN.h"

#include "frame/RecordCommands.h"
#include "frame/frmMAIN_Shared.h"
#include "input/mdiEINGABE.h"
#include "platform/BusyScope.h"
#include "platform/Guard.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"
#include "platform/shell.h"
#include "platform/ui.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vnt {

using namespace frmmain_shared;

// ---------------------------------------------------------------- end of the run

void frmMAIN::mnuSCHLIESSEN_Click()
{
    if (BusyScope::later(this, [this] { mnuSCHLIESSEN_Click(); }))
        return;
    rahmenprogramm_ = true;
    unloadMainWindow();
}

void frmMAIN::mnuBEENDEN_Click()
{
    // A window still loading or drawing would lose its objects under its feet: the quit
    // follows once it has returned.
    if (BusyScope::later(this, [this] { mnuBEENDEN_Click(); }))
        return;
    rahmenprogramm_ = false;
    unloadMainWindow();
}

bool frmMAIN::quitConfirmed()
{
    if (ended_ || quitAnswered_)
        return true;
    rahmenprogramm_ = false;
    if (MDIForm_QueryUnload(1))
        return false;
    quitAnswered_ = true;
    return true;
}

void frmMAIN::unloadMainWindow()
{
    endRun(1);
}

bool frmMAIN::endRun(int unloadMode)
{
    if (ended_)
        return true;
    if (!quitAnswered_ && MDIForm_QueryUnload(unloadMode))
        return false;
    MDIForm_Unload();
    return true;
}

void frmMAIN::closeEvent(QCloseEvent *e)
{
    if (ended_) {
        e->accept();
        return;
    }
    if (BusyScope::later(this, [this] { endRun(0); })) {
        e->ignore();
        return;
    }
    if (endRun(0))
        e->accept();
    else
        e->ignore();
}

bool frmMAIN::inputMayBeDiscarded()
{
    mdiEINGABE *input = inputWindow(mdiArea_);
    if (!input || !input->hasTypedInput())
        return true;
    return ui::MsgBox(sprache_ == 1 ? QStringLiteral("The input of the file has not been saved and will be lost!")
                                    : u("Die Eingaben des Datensatzes sind nicht gespeichert und gehen verloren!"),
                      ui::vbOKCancel | ui::vbExclamation, caption(QStringLiteral("mnuBEENDEN")))
           == ui::vbOK;
}

bool frmMAIN::MDIForm_QueryUnload(int unloadMode)
{
    Guard g(kErrorPrefix, title());
    bool cancel = false;
    // Without its database nothing can be saved: the working copy stays for the next start.
    if (databaseLost_)
        keepChanges_ = true;
    const bool asking = (unloadMode == 0 || unloadMode == 1) && !databaseLost_;
    if (asking && !inputMayBeDiscarded())
        return true;
    // Nobody is asked when the session ends: changes not yet saved stay in the working copy,
    // and the next start offers them as the changes of an interrupted run.
    if (!asking && geaendert_)
        keepChanges_ = true;
    if (asking && geaendert_) {
        int answer = ui::vbCancel;
        if (!g.step([&] {
                answer = ui::MsgBox(sprache_ == 1 ? QStringLiteral("Do you want to save changes to project ") + projekt_ + QStringLiteral("?")
                                                  : u("Sollen die Änderungen in Projekt ") + projekt_ + u(" gespeichert werden?"),
                                    ui::vbYesNoCancel | ui::vbQuestion, caption(QStringLiteral("mnuBEENDEN")));
            }))
            return cancel;
        // The user wants the changes kept: whatever stopped the save, the working copy is
        // then the only place they are, and the end of the run must not delete it.
        if (answer == ui::vbYes)
            g.step([&] {
                if (!mnuSPEICHERN_Click())
                    copyBackFailed_ = true;
            });
        else if (answer == ui::vbCancel)
            return true;
    }
    if (unloadMode == 0 || rahmenprogramm_) {
        g.step([&] {
            const QString frame = fsoX.GetParentFolderName(programFolder_) + QStringLiteral("/KORVANE");
            if (fsoX.FileExists(frame))
                shell::startDetached(frame);
        });
    }
    return cancel;
}

void frmMAIN::MDIForm_Unload()
{
    Guard g(kErrorPrefix, title());
    unloading_ = true;
    g.step([&] {
        for (QMdiSubWindow *w : mdiArea_->subWindowList())
            w->close();
        for (QWidget *w : findChildren<QDialog *>())
            w->close();
    });
    if (!developmentMode_) {
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]=") + db::sqlText(BENUTZER()), cnnARCHIV_);
            rs.MoveFirst();
            rs.setField(QStringLiteral("PROG"), Variant(QStringLiteral("KORVANE")));
            rs.Update();
            rs.Close();
        });
        g.step([&] {
            if (cnnARCHIV_) cnnARCHIV_->Close();
            if (cnnX_V_) cnnX_V_->Close();
            cnnARCHIV_.reset();
            cnnX_V_.reset();
        });
    }
    g.step([&] {
        if (cnnX_) cnnX_->Close();
        cnnX_.reset();
    });
    // After a failed copy back the working database holds the only copy of the changes: it
    // stays, and the next start offers it as the changes of an interrupted run.
    if (!copyBackFailed_ && !keepChanges_)
        g.step([&] {
            const QString working = XMDBPFAD();
            fsoX.DeleteFile(working);
            // The journals go only after their database: one of them alone cannot harm it.
            for (const char *suffix : kCompanions)
                QFile::remove(working + QLatin1String(suffix));
            removeScratchFiles(working, {});
        });
    // Cancel in the error box skips the remaining steps, but the run ends all the same: a
    // hidden window must not stay behind as a process without a face.
    ended_ = true;
    runLock_.reset();
    hide();
    emit programEnded();
}

} // namespace vnt
