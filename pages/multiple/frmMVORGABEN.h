// The combination editor: one grid row per combination of preset keys, chosen from the keys
// of the preset tables; OK stores the grid in M2 as one unit, Abbrechen leaves M2 as it was,
// and so does OK after a load that could not read M2.
#pragma once

#include "data/clsDATEN.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"
#include "platform/RunContext.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QPushButton;
class QTabWidget;

namespace vnt {

class frmMVORGABEN : public QDialog {
    Q_OBJECT
public:
    // Builds the window, the choice lists and the grid, and loads M2.
    explicit frmMVORGABEN(RunContext &ctx, QWidget *parent = nullptr);
    ~frmMVORGABEN() override;

    // The main window's quit and help commands, for Alt+Q and F1. Alt+Q asks the quit's
    // question while the editor stays; once the user goes on, it closes the editor, and the
    // page load that waits for it gives up before the quit runs.
    std::function<void()> onQuit;
    std::function<void()> onHelp;
    bool quitRequested() const { return quitRequested_; }
    // M2 could not be read (the user has been told): the grid shows nothing of it and takes
    // no input, and nothing is stored.
    bool combinationsUnreadable() const { return m2Unreadable_; }

    // The keys offered for a preset table: keys of the rows whose running number is unique, in
    // running-number order, then empty entries up to one more than the table has rows.
    static QStringList choiceList(clsDATEN &preset, const QString &idColumn, const QString &keyColumn, bool &ok);

    void cmdOK_Click();
    void cmdABBRECHEN_Click();
    void cmdH_Click();
    void cmdW_Click();

    GridControl *msgFLX() const { return grid_; }
    QComboBox *cboFLX() const { return cbo_; }
    QWidget *picFLX() const { return pic_; }
    QPushButton *cmdH() const { return insert_; }
    QPushButton *cmdW() const { return remove_; }
    QPushButton *cmdOK() const { return ok_; }
    QPushButton *cmdABBRECHEN() const { return cancel_; }
    clsFLX &flx() const { return *flx_; }
    // Column 1..5 lists: rocks, carrier rigs, casings, cutting tools, conveying tools.
    const std::array<QStringList, 5> &lists() const { return lists_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    bool buildLists();
    void setUpGrid();
    void loadGrid();
    void lockGrid();
    void fitHeaderPicture();
    bool saveGrid();

    RunContext &ctx_;
    QTabWidget *sstab_ = nullptr;
    QFrame *frame_ = nullptr;
    GridControl *grid_ = nullptr;
    QWidget *pic_ = nullptr;
    QComboBox *cbo_ = nullptr;
    QPushButton *insert_ = nullptr, *remove_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
    std::shared_ptr<clsFLX> flx_;
    std::unique_ptr<clsDATEN> m2_;
    std::array<QStringList, 5> lists_;
    bool saving_ = false;
    bool loaded_ = false;   // the grid holds M2 as stored
    bool m2Unreadable_ = false;
    bool quitRequested_ = false;
};

} // namespace vnt
