// The main window: keeper of the run's context (language, user, project, working database and
// connections), its menus and the fifteen status panels, the start-up, saving and compaction of
// the working database, and the end of the run. Lower subsystems see it as a RunContext.
#pragma once

#include "RecordCommands.h"
#include "StatusPanel.h"
#include "mdiAUTOSTART.h"
#include "platform/RunContext.h"
#include "platform/fso.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QLockFile;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace vnt {

class Guard;

class frmMAIN : public QMainWindow, public RunContext, public RecordHost {
    Q_OBJECT
public:
    explicit frmMAIN(QWidget *parent = nullptr);
    ~frmMAIN() override;

    // The start-up of the program for the program folder given. False when the run ends
    // without a window: an unknown user, a missing project folder or template database, or
    // Cancel in one of its error boxes.
    bool MDIForm_Load(const QString &programFolder);

    // ---- run context ----
    int SPRACHE() const override { return sprache_; }
    QString DEZIMALPUNKT() const override { return dezimalpunkt_; }
    QString BENUTZER() const override;
    QString PROJEKT() const override { return projekt_; }
    QString PROJEKTSPFAD() const override { return projektspfad_; }
    QString BEARBEITER() const override { return bearbeiter_; }
    QString DATENBANKPFAD() const override;
    void setDATENBANKPFAD(const QString &path);
    QString XMDBPFAD() const override;              // creates the folders on the way
    int EBOINF() const { return 0; }
    db::ConnectionPtr cnnX() const override { return cnnX_; }
    db::ConnectionPtr cnnX_V() const override { return cnnX_V_; }
    void setCnnX(const db::ConnectionPtr &c) { cnnX_ = c; }
    void setCnnX_V(const db::ConnectionPtr &c) { cnnX_V_ = c; }
    QString programPath() const override { return programFolder_; }

    void stbMAIN_PanelClick(int panel) override;
    void setProgress(int value) override;
    int progress() const override;
    QString Tag() const override { return tag_; }
    void setTag(const QString &t) override { tag_ = t; }
    void setGEAENDERT(bool b) override { geaendert_ = b; }
    bool GEAENDERT() const { return geaendert_; }
    bool RAHMENPROGRAMM() const { return rahmenprogramm_; }
    QWidget *mainWidget() const override { return const_cast<frmMAIN *>(this); }

    // Quit without returning to the frame program; other windows call it for their quit key.
    void mnuBEENDEN_Click() override;
    bool quitConfirmed() override;
    // The help file; also the F1 key of the editors and dialogs.
    void mnuHILFE_Click() override;
    void setPanelVisible(int index, bool visible) override;
    bool unloading() const override { return unloading_; }

    // ---- commands of this window ----
    void mnuSCHLIESSEN_Click();
    bool mnuSPEICHERN_Click();     // true when the project database was written
    void mnuKOMPRIMIEREN_Click();
    void mnuFRAGEZEICHEN_Click();  // the "?" menu opens
    void mnuAUSWERTEN_Click();     // the evaluate menu opens: its items follow the active records
    void mnuREADME_Click();
    void mnuHINWEISE_Click();
    void mnuINFO_Click();

    // The end of the run. QueryUnload returns Cancel (true keeps the run); unloadMode 0 is the
    // close box, 1 the program's own Close or Quit, 2 the session ending, 3 a task manager.
    bool MDIForm_QueryUnload(int unloadMode);
    void MDIForm_Unload();
    bool endRun(int unloadMode);   // both, as the platform runs them; false when cancelled
    bool ended() const { return ended_; }

    // The pressed look: panels 8 to 15 under x (status bar coordinates) go inset, then a pause.
    void stbMAIN_MouseDown(int x);

    // ---- the window's parts ----
    QMdiArea *mdiArea() const override { return mdiArea_; }
    mdiAUTOSTART *startWindow() const { return autostart_; }
    StatusPanel *panel(int index) const;           // 1..15, nullptr outside
    QAction *menuItem(const QString &name) const;  // by program name, menus included
    QMenu *menu(const QString &name) const;

    // The record commands see this window as their host.
    RunContext &context() override { return *this; }

    // Command states: the start window only, the input window open, the result pages shown.
    void enterInputState() override;
    void leaveInputState() override;
    void enterPageState(bool multiple);
    void showCommandPanels(std::initializer_list<int> indexes);
    void hideCommandPanels(std::initializer_list<int> indexes);

    // Panel 6 from the active records, and what record commands need to title their boxes.
    void PANELDATENSATZ() override;
    void setRecordPanel(const QString &text, const QString &tip);
    QString menuCaption(const QString &menuName) const { return caption(menuName); }
    QString panelCaption(int index) const { return panel(index) ? panel(index)->text() : QString(); }

    // A working copy whose copy back failed, or that holds changes nobody was asked about (the
    // session ended, the database was lost), is kept at the end of the run.
    bool keepsWorkingCopy() const { return copyBackFailed_ || keepChanges_; }

signals:
    void programEnded();

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    // The command of a panel 8 to 15; errors reach the panel frame's error box.
    virtual void runPanelCommand(int index);

private:
    void buildMenus();
    void buildStatusBar();
    void applyEnglishTexts();
    bool abandonStart();
    bool takeRunLock(const QString &working);   // false after the message that another run has it
    bool inputMayBeDiscarded();                 // asks before typed input of the input window is lost
    void loseDatabase();                        // the working copy could not be opened again
    bool refuseDatabase(const QString &file, const QString &defect);   // the message, then abandonStart
    // Whether the start may go on with the preset database at presets; false after its box.
    bool presetsTrusted(Guard &g, const QString &presets);
    // The steps of MDIForm_Load. Those that take the guard return false once the start was
    // abandoned (its box shown, abandonStart done), and MDIForm_Load then returns false too.
    bool readRunSettings(Guard &g);   // beep, language, decimal sign, development mode
    bool openArchiveAndPresets(Guard &g);
    bool readUserRow(Guard &g);   // the project and editor the frame program chose
    bool projectFolderAndTemplateExist(Guard &g);
    bool openWorkingCopy(Guard &g);   // lock, clean-up, copy or keep, open
    bool interruptedChangesKept();    // asks whether a working copy left behind is kept
    bool checkWorkingCopy(Guard &g, const QString &working, bool copy);
    void fillPrimaryScreen();
    bool openStartWindow(Guard &g);
    void keepStartWindowBehind(QMdiSubWindow *w);
    void openDocumentCommand(const QString &suffix, const QString &title);
    QString caption(const QString &menuName) const;
    QString projectDatabase() const;
    void unloadMainWindow();

    FileSystemObject fsoX;
    db::ConnectionPtr cnnX_, cnnX_V_, cnnARCHIV_;
    QString programFolder_;
    QString projekt_, projektspfad_, bearbeiter_;
    int signalton_ = 0, spiok_ = 0;
    bool geaendert_ = false;
    bool rahmenprogramm_ = false;
    int sprache_ = 3;
    QString dezimalpunkt_;
    QString tag_;
    bool developmentMode_ = false;
    bool copyBackFailed_ = false;
    bool keepChanges_ = false;    // the end of the run leaves the working copy in place
    bool databaseLost_ = false;   // the working copy could not be opened again
    std::unique_ptr<QLockFile> runLock_;
    bool ended_ = false;
    bool quitAnswered_ = false;   // the quit's question was answered by quitConfirmed()
    bool unloading_ = false;

    QMdiArea *mdiArea_ = nullptr;
    QPointer<mdiAUTOSTART> autostart_;
    QPointer<QMdiSubWindow> autostartFrame_;
    std::array<StatusPanel *, 16> panels_{};
    QHash<QString, QAction *> actions_;
    QHash<QString, QMenu *> menus_;
};

} // namespace vnt
