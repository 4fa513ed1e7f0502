// The input window of one drilling record: header fields, the sections in four chained grids
// (sections, times, additional costs, factors), the unit-cost set and the breakdown options.
// The main window shows it for New and Open, calls OEFFNEN to fill it and OK to save it.
#pragma once

#include "platform/RunContext.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QComboBox;
class QKeyEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;

namespace vnt {

class clsDATEN;
class clsFLX;
class GridControl;

class mdiEINGABE : public QWidget {
    Q_OBJECT
public:
    // Builds the window and loads it as for a new record.
    explicit mdiEINGABE(RunContext &ctx, QWidget *parent = nullptr);
    ~mdiEINGABE() override;

    // Fills the window from the record AKTID of E1 to E6.
    void OEFFNEN(int32_t AKTID);
    // Saves the window under AKTID into E1 to E6, all or nothing. False leaves the tables as
    // they were (the failing step has shown its box).
    bool OK(int32_t &AKTID);
    // Commits a value still open in a cell editor; false when the grid refused it.
    bool commitEditors();
    // True when the window holds input typed since it was loaded or filled by OEFFNEN, an
    // open cell editor's text included: closing it now would lose that input.
    bool hasTypedInput() const;

    // Alt+Q; unset, the main window's quit.
    std::function<void()> onQuit;

    // ---- controls, by their program names ----
    QFrame *fraKEN = nullptr;
    QLabel *lblKEN = nullptr, *lblKOM = nullptr;
    QLineEdit *txtKEN = nullptr, *txtKOM = nullptr;
    QTabWidget *SSTab = nullptr;
    std::array<QFrame *, 6> fraREITER{};
    QLineEdit *txtDATUMA = nullptr, *txtDATUME = nullptr, *txtNN = nullptr, *txtZGW = nullptr;
    QGroupBox *fraGZ = nullptr;
    QLineEdit *txtGBRZ = nullptr, *txtGNTZ = nullptr, *txtFNE = nullptr;
    std::array<GridControl *, 4> msgFLX{};
    std::array<QWidget *, 4> picFLX{};
    std::array<QLineEdit *, 4> txtFLX{};
    QComboBox *cboFLX0 = nullptr;
    std::array<QPushButton *, 4> cmdH{}, cmdW{}, cmdK{}, cmdE{};
    QComboBox *cboKENK = nullptr;
    QGroupBox *fraK = nullptr, *fraZAUF = nullptr;
    std::array<QRadioButton *, 4> optK{};
    std::array<QRadioButton *, 2> optZAUF{};

    int16_t K = 0;      // cost breakdown, saved as E6.K
    int16_t ZAUF = 0;   // time breakdown, saved as E6.ZAUF
    int16_t SPRACHE = 3;

    clsFLX &FLX(int i) const { return *flx_[size_t(i)]; }

    // ---- events, callable as the controls raise them ----
    void cmdH_Click(int i);
    void cmdW_Click(int i);
    void cmdK_Click(int i);
    void cmdE_Click(int i);
    void msgFLX_KeyPress(int i, int ascii);
    void txtFLX_KeyPress(int i, int ascii);
    void OPTIONEN();
    // The record-name check of leaving txtKEN; false keeps the focus there.
    bool txtKEN_Validate();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void buildControls();
    void buildPageAndTabs();   // the scrolling page, the name frame and the empty tabs
    void buildGeneralTab();
    void buildGridTabs();      // the four grids with their row buttons and cell editors
    void buildOptionsTab();    // the unit-cost set and the breakdown options
    void bindGrids();
    void buildChoiceLists();
    void placeControls();
    bool handleKey(QObject *watched, QKeyEvent *e);
    bool moveKey(QObject *watched, QKeyEvent *e);
    bool editorOpen(int i) const;
    // Makes the next (step 1) or the previous (-1) cell of grid i current, row after row;
    // false at either end of the grid.
    bool stepCell(int i, int step);
    bool stepRow(int i, int step);
    bool lastSectionBegun() const;
    // Appends a section to every grid from grid i, which keeps its column.
    void appendSection(int i);
    // Brings every grid to the current row of grid i, so a row goes in or out at one index.
    void alignCurrentRows(int i);
    // Runs f with the chain of the grids undone, so that a row operation stays in its grid.
    void eachGridAlone(const std::function<void()> &f);
    // Everything the user can change, as text: fields, grid cells, choices and options.
    QStringList inputState() const;

    RunContext &ctx_;
    QScrollArea *scroll_ = nullptr;
    QWidget *page_ = nullptr;   // holds the name frame and the tabs
    std::array<std::shared_ptr<clsFLX>, 4> flx_;
    std::array<std::unique_ptr<clsDATEN>, 7> e_;   // E1..E6 at 1..6
    bool checkingName_ = false;
    // The frame moves the focus on when it is restored or maximised; the control that had it
    // gets it back, and that move is no leaving of the name box.
    bool frameStateChanging_ = false;
    QPointer<QWidget> focusBeforeFrameState_;
    QStringList loadedInput_;   // inputState() as loaded or opened
};

} // namespace vnt
