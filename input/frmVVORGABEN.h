// The preset editor: one tab and one typed grid per preset table (carrier rigs, casings,
// cutting tools, conveying tools, rocks, unit-cost sets), loaded whole from the preset
// database and written back whole, in one transaction, when the user confirms.
#pragma once

#include "data/clsDATEN.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"
#include "platform/RunContext.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <array>
#include <functional>
#include <memory>

class QFrame;
class QPushButton;
class QTabWidget;

namespace vnt {

class frmVVORGABEN : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTabs = 6;

    // Builds the window and loads the six tables.
    explicit frmVVORGABEN(RunContext &ctx, QWidget *parent = nullptr);
    ~frmVVORGABEN() override;

    // The main window's quit and help commands, for Alt+Q and F1.
    std::function<void()> onQuit;
    std::function<void()> onHelp;

    // The table, its columns in grid order, for tab n.
    static QString tableName(int n);
    static QStringList columns(int n);

    // Commands of the window.
    void cmdOK_Click();
    void cmdABBRECHEN_Click();
    void cmdH_Click(int n);
    void cmdW_Click(int n);

    // The window's parts, for the tests and the main window.
    QTabWidget *SSTab() const { return sstab_; }
    GridControl *msgFLX(int n) const { return grids_[n]; }
    QLineEdit *txtFLX(int n) const { return editors_[n]; }
    QWidget *picFLX(int n) const { return pictures_[n]; }
    QPushButton *cmdH(int n) const { return insertButtons_[n]; }
    QPushButton *cmdW(int n) const { return removeButtons_[n]; }
    QPushButton *cmdOK() const { return ok_; }
    QPushButton *cmdABBRECHEN() const { return cancel_; }
    clsFLX &flx(int n) const { return *flx_[n]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void setUpGrid(int n);
    void loadTables();
    // Writes all six tables; false when nothing was written.
    bool saveTables();

    RunContext &ctx_;
    QTabWidget *sstab_ = nullptr;
    std::array<QFrame *, kTabs> frames_{};
    std::array<GridControl *, kTabs> grids_{};
    std::array<QWidget *, kTabs> pictures_{};
    std::array<QLineEdit *, kTabs> editors_{};
    std::array<QPushButton *, kTabs> insertButtons_{}, removeButtons_{};
    QPushButton *ok_ = nullptr, *cancel_ = nullptr;
    std::array<std::shared_ptr<clsFLX>, kTabs> flx_{};
    std::array<std::unique_ptr<clsDATEN>, kTabs> daten_{};
    bool saving_ = false;
};

} // namespace vnt
