// The start-up of the main window: language and user, the archive and presets databases, the
// project folder, the checks of the databases before any is opened, the working copy of the
// project database and the start window.
#include "frame/frmMAIN.h"

#include "frame/FrameRules.h"
#include "frame/frmMAIN_Shared.h"
#include "frame/mdiAUTOSTART.h"
#include "platform/Guard.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QFile>
#include <QLockFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <cmath>

namespace vnt {

using namespace frmmain_shared;

void frmmain_shared::removeScratchFiles(const QString &working, const QString &project)
{
    FileSystemObject fso;
    fso.RemoveScratchBeside(working);
    if (!project.isEmpty())
        fso.RemoveScratchBeside(project);
    const QString compaction = compactionFilePath(working);
    QFile::remove(compaction);
    for (const char *suffix : kCompanions)
        QFile::remove(compaction + QLatin1String(suffix));
}

void frmmain_shared::removeColdJournals(const QStringList &databases)
{
    for (const QString &file : databases)
        db::removeColdJournal(file);
}

// ---------------------------------------------------------------- start-up

bool frmMAIN::takeRunLock(const QString &working)
{
    auto lock = std::make_unique<QLockFile>(runLockPath(working));
    // A run holds its lock for hours: only a lock whose process is gone counts as left over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        runLock_ = std::move(lock);
        return true;
    }
    // A folder that takes no lock file takes no working copy either; the copy's box tells why.
    if (lock->error() != QLockFile::LockFailedError)
        return true;
    // The other run has the working copy open: a second run must neither replace it nor
    // delete it, nor offer its changes as those of an interrupted run.
    ui::MsgBox(sprache_ == 1 ? QStringLiteral("Project ") + projekt_ + QStringLiteral(" is already open in another run of the program!")
                             : QStringLiteral("Das Projekt ") + projekt_ + u(" ist bereits in einem anderen Programmlauf geöffnet!"),
               ui::vbOKOnly | ui::vbExclamation, title());
    return false;
}

bool frmMAIN::abandonStart()
{
    // Nothing of the run may stay behind invisibly; the working database is left as it is,
    // so that changes kept from an interrupted run are not lost.
    for (db::ConnectionPtr *c : {&cnnX_, &cnnX_V_, &cnnARCHIV_}) {
        if (*c && (*c)->isOpen()) {
            try { (*c)->Close(); } catch (const VbError &) {}
        }
        c->reset();
    }
    runLock_.reset();
    hide();
    return false;
}

bool frmMAIN::refuseDatabase(const QString &file, const QString &defect)
{
    ui::MsgBox(sprache_ == 1 ? QStringLiteral("The database ") + file + QStringLiteral(" is damaged and cannot be used!\n") + defect
                             : QStringLiteral("Die Datenbank ") + file + u(" ist beschädigt und kann nicht verwendet werden!\n") + defect,
               ui::vbOKOnly | ui::vbExclamation, title());
    return abandonStart();
}

bool frmMAIN::presetsTrusted(Guard &g, const QString &presets)
{
    // Every command reads the preset tables: a file that lacks one (an empty file lacks all)
    // would meet the user as an error box in each of them, so it is refused here, measured
    // against the empty preset database installed beside the program.
    const QString model = programFolder_ + QStringLiteral("/VORGABE.mdb");
    bool modelExists = false, presetsExist = false;
    if (!g.step([&] {
            modelExists = fsoX.FileExists(model);
            presetsExist = fsoX.FileExists(presets);
        }))
        return abandonStart();
    if (!modelExists) {
        ui::MsgBox(sprache_ == 1 ? QStringLiteral("The empty database VORGABE.mdb dosn't exist!\n") + QString::fromLatin1(FAMILIENNAME)
                                       + QStringLiteral(" has to be installed again!")
                                 : QStringLiteral("Die leere Datenbank VORGABE.mdb existiert nicht!\n") + QString::fromLatin1(FAMILIENNAME)
                                       + u(" muß neu installiert werden!"),
                   ui::vbOKOnly | ui::vbExclamation, title());
        return abandonStart();
    }
    if (!presetsExist)
        return true;   // reported by its open
    QString defect;
    if (!g.step([&] { defect = db::databaseDefect(presets, model); }))
        return abandonStart();
    if (!defect.isEmpty())
        return refuseDatabase(presets, defect);
    return true;
}

bool frmMAIN::MDIForm_Load(const QString &programFolder)
{
    programFolder_ = programFolder;
    Guard g(kErrorPrefix, title());

    if (!readRunSettings(g))
        return false;
    if (!developmentMode_) {
        if (!openArchiveAndPresets(g) || !readUserRow(g) || !projectFolderAndTemplateExist(g))
            return false;
    } else {
        if (!g.step([&] {
                projektspfad_ = fsoX.GetParentFolderName(programFolder_);
                projekt_ = QStringLiteral("TE0000.00");
                bearbeiter_ = BENUTZER();
            }))
            return abandonStart();
    }

    if (!g.step([&] {
            panels_[1]->setText(shortenedProjectPath(projektspfad_) + QLatin1Char('/'));
            panels_[1]->setToolTip(projektspfad_);
            panels_[2]->setText(projekt_);
            panels_[2]->setToolTip(bearbeiter_);
            panels_[4]->setText(title());
            panels_[4]->setToolTip(QString::fromLatin1(PRODUKTNAME));
        }))
        return abandonStart();

    if (!openWorkingCopy(g))
        return false;
    fillPrimaryScreen();
    showMaximized();
    return openStartWindow(g);
}

bool frmMAIN::readRunSettings(Guard &g)
{
    if (!g.step([&] {
            const bool previous = sys::setSystemBeep(false);
            signalton_ = previous ? 1 : 0;
            spiok_ = 1;
        }))
        return abandonStart();

    if (!g.step([&] {
            const QString iso = sys::locale().name().section(QLatin1Char('_'), 0, 0);
            sprache_ = languageCodeFor(iso);
        }))
        return abandonStart();
    if (!g.step([&] { dezimalpunkt_ = sys::decimalSign(); }))
        return abandonStart();
    if (sprache_ == 1 && !g.step([&] { applyEnglishTexts(); }))
        return abandonStart();

    developmentMode_ = false;
    if (!g.step([&] { developmentMode_ = programFolder_.contains(QLatin1String("SOURCE"), Qt::CaseInsensitive); }))
        return abandonStart();
    return true;
}

bool frmMAIN::openArchiveAndPresets(Guard &g)
{
    const QString dbFolder = DATENBANKPFAD();
    const QString archive = dbFolder + QStringLiteral("/ARCHIV.mdb"), presets = dbFolder + QStringLiteral("/VORGABE.mdb");
    // A damaged archive must not get the user's row written into it; a missing one is
    // reported by its open below.
    QString defect;
    if (!g.step([&] {
            if (fsoX.FileExists(archive))
                defect = db::databaseDefect(archive, {{QStringLiteral("ADMIN"), {QStringLiteral("BENUTZER"), QStringLiteral("PROG"),
                                                                                  QStringLiteral("PROJEKTSPFAD"), QStringLiteral("PROJEKT"),
                                                                                  QStringLiteral("BEARBEITER")}}});
        }))
        return abandonStart();
    if (!defect.isEmpty())
        return refuseDatabase(archive, defect);
    if (!g.step([&] { cnnARCHIV_ = db::openDatabase(archive); }))
        return abandonStart();
    if (!presetsTrusted(g, presets))
        return false;
    if (!g.step([&] { cnnX_V_ = db::openDatabase(presets); }))
        return abandonStart();
    return true;
}

bool frmMAIN::readUserRow(Guard &g)
{
    db::Recordset rs;
    bool found = false;
    if (!g.step([&] {
            rs.Open(QStringLiteral("SELECT * FROM [ADMIN] WHERE [BENUTZER]=") + db::sqlText(BENUTZER()), cnnARCHIV_);
            found = !rs.isEOF();
        }))
        return abandonStart();
    if (!found) {
        ui::MsgBox(sprache_ == 1
                       ? QStringLiteral("Program ") + title() + QStringLiteral(" can used only via the frame program!")
                       : QStringLiteral("Programm ") + title() + u(" kann nur über das Rahmenprogramm ausgeführt werden!"),
                   ui::vbOKOnly | ui::vbExclamation, title());
        return abandonStart();
    }
    if (!g.step([&] { rs.MoveFirst(); rs.setField(QStringLiteral("PROG"), Variant(title())); rs.Update(); }))
        return abandonStart();
    if (!g.step([&] { projektspfad_ = rs.Fields(QStringLiteral("PROJEKTSPFAD")).toString(); }))
        return abandonStart();
    if (!g.step([&] { projekt_ = rs.Fields(QStringLiteral("PROJEKT")).toString(); }))
        return abandonStart();
    if (!g.step([&] { bearbeiter_ = rs.Fields(QStringLiteral("BEARBEITER")).toString(); }))
        return abandonStart();
    if (!g.step([&] { rs.Close(); }))
        return abandonStart();
    return true;
}

bool frmMAIN::projectFolderAndTemplateExist(Guard &g)
{
    bool folderExists = false;
    if (!g.step([&] { folderExists = fsoX.FolderExists(projektspfad_ + QLatin1Char('/') + projekt_); }))
        return abandonStart();
    if (!folderExists) {
        ui::MsgBox(sprache_ == 1 ? QStringLiteral("Project directory ") + projekt_ + QStringLiteral(" dosn't exist!")
                                 : QStringLiteral("Projektsverzeichnis ") + projekt_ + QStringLiteral(" existiert nicht!"),
                   ui::vbOKOnly | ui::vbExclamation, title());
        return abandonStart();
    }
    bool templateExists = false;
    if (!g.step([&] { templateExists = fsoX.FileExists(programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".mdb")); }))
        return abandonStart();
    if (!templateExists) {
        ui::MsgBox(sprache_ == 1 ? QStringLiteral("The empty database ") + title() + QStringLiteral(".mdb dosn't exist!\n")
                                       + QString::fromLatin1(FAMILIENNAME) + QStringLiteral(" has to be installed again!")
                                 : QStringLiteral("Die leere Datenbank ") + title() + QStringLiteral(".mdb existiert nicht!\n")
                                       + QString::fromLatin1(FAMILIENNAME) + u(" muß neu installiert werden!"),
                   ui::vbOKOnly | ui::vbExclamation, title());
        return abandonStart();
    }
    return true;
}

bool frmMAIN::openWorkingCopy(Guard &g)
{
    // A working database left from an earlier run holds the changes of an interrupted run.
    QString working;
    bool workingExists = true;
    if (!g.step([&] { working = XMDBPFAD(); workingExists = fsoX.FileExists(working); }))
        return abandonStart();
    if (working.isEmpty())
        return abandonStart();
    if (!takeRunLock(working))
        return abandonStart();
    removeScratchFiles(working, projectDatabase());
    {
        QStringList databases = {working, projectDatabase()};
        if (!developmentMode_)
            databases << DATENBANKPFAD() + QStringLiteral("/ARCHIV.mdb") << DATENBANKPFAD() + QStringLiteral("/VORGABE.mdb");
        removeColdJournals(databases);
    }
    const bool copy = !workingExists || !interruptedChangesKept();
    if (!checkWorkingCopy(g, working, copy))
        return false;

    // Changes kept from an interrupted run are not in the project yet: the end of the run
    // must offer to save them like any other change.
    geaendert_ = !copy;

    if (!g.step([&] { cnnX_ = db::openDatabase(working); }) || !cnnX_)
        return abandonStart();
    if (!g.step([&] { PANELDATENSATZ(); }))
        return abandonStart();
    return true;
}

bool frmMAIN::interruptedChangesKept()
{
    const int answer = ui::MsgBox(
        sprache_ == 1 ? QStringLiteral("Program was interuped during the execution!\nDo you want to save the changes till the interuption?")
                      : u("Programm wurde während der Ausführung unterbrochen!\nSoll die bis zum Abbruch vorhandenen Daten gepeichert werden?"),
        ui::vbYesNo | ui::vbQuestion, title());
    return answer == ui::vbYes;
}

bool frmMAIN::checkWorkingCopy(Guard &g, const QString &working, bool copy)
{
    // The program does not run without its database: a database that cannot be trusted is
    // refused before anything is copied from it or over it, and every failure to copy or open
    // it ends the start-up after its box, whichever button was pressed.
    // The copy is checked as it is made, so that the project's bytes are read once.
    const QString trusted = copy ? projectDatabase() : working;
    const QString model = programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".mdb");
    QString defect;
    bool checked = false;
    if (!g.step([&] {
            defect = copy ? db::copyCheckedDatabase(trusted, working, model) : db::databaseDefect(trusted, model);
            checked = true;
        })
        || !checked)
        return abandonStart();
    if (!defect.isEmpty())
        return refuseDatabase(trusted, defect);
    return true;
}

void frmMAIN::fillPrimaryScreen()
{
    // Without a window manager nothing maximises the window: its normal place fills the
    // screen. A fractional scale factor rounds the last logical pixel row and column past
    // the screen's edge, so those stay free.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect room = screen->availableGeometry();
        const qreal ratio = screen->devicePixelRatio();
        if (ratio != std::floor(ratio))
            room.adjust(0, 0, -1, -1);
        setGeometry(room);
        setProperty(kScreenFillingSize, room.size());
    }
}

bool frmMAIN::openStartWindow(Guard &g)
{
    autostart_ = new mdiAUTOSTART;
    autostartFrame_ = mdiArea_->addSubWindow(autostart_, Qt::FramelessWindowHint);
    autostartFrame_->setObjectName(QStringLiteral("mdiAUTOSTART_Frame"));
    autostartFrame_->installEventFilter(this);
    const QSize client = mdiArea_->viewport()->size();
    if (!g.step([&] { autostart_->Form_Load(*this, float(client.width() * TWIPS_PER_PIXEL), float(client.height() * TWIPS_PER_PIXEL)); }))
        return abandonStart();
    sys::DoEvents();
    // Its normal size is the whole area too: a child window maximised over it restores it to
    // that size, and it must still fill the area when the child goes.
    autostartFrame_->setGeometry(mdiArea_->viewport()->rect());
    autostartFrame_->showMaximized();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &frmMAIN::keepStartWindowBehind);
    return true;
}

void frmMAIN::keepStartWindowBehind(QMdiSubWindow *w)
{
    // The start window stays behind the other child windows: a click on it hands the focus
    // back to the child in front, and once it is alone it fills the area again.
    if (!w || w != autostartFrame_.data() || unloading_)
        return;
    const QList<QMdiSubWindow *> stack = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (*it != w && (*it)->isVisible()) {
            // after the area has finished raising the start window
            QMetaObject::invokeMethod(this, [this, front = QPointer<QMdiSubWindow>(*it)] {
                if (front)
                    mdiArea_->setActiveSubWindow(front);
            }, Qt::QueuedConnection);
            return;
        }
    }
    if (!w->isMaximized())
        w->showMaximized();
}

} // namespace vnt
