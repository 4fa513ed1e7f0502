// The common ground of every result page: picture boxes laid out in millimetres as they stand
// on the printed A4 landscape sheet, the page's own surface for its header and footer, and the
// members the main window and the page-layout dialog reach on any page without knowing which
// one it is (printing, restyling, keys, paging along the chain of pages); and the one route
// every figure and table of every page draws through, with the objects each keeps.
#pragma once

#include "drawing/PictureBox.h"
#include "drawing/Surface.h"
#include "drawing/TabelleCells.h"
#include "platform/BusyScope.h"
#include "platform/RunContext.h"

#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class QMdiSubWindow;
class QScrollBar;

namespace vnt {

class clsDATEN;
class clsGRAFIK;
class clsKOPFFUSS;
class clsTABELLE;
class FigureDrawing;
class PrintJob;
struct TextTable;

// One figure's drawing objects with the sheet they drew on, kept from one drawing to the next:
// a target code other than 0 and 1 draws again through them, and a table's scroll bar draws
// its table again. The sheet lives as long as an object may draw on it again. A figure whose
// table shares its box keeps both objects in one slot.
struct FigureSlot {
    FigureSlot();
    ~FigureSlot();
    FigureSlot(const FigureSlot &) = delete;
    FigureSlot &operator=(const FigureSlot &) = delete;

    std::unique_ptr<clsGRAFIK> grafik;
    std::unique_ptr<clsTABELLE> tabelle;
    std::shared_ptr<Surface> sheet;
};

// What a page puts into its header: one record name, or the names of several records.
struct PageHeaderContent {
    VariantList KENNZEICHNUNG{Variant(QString())};
    QString KOMMENTAR;
    int16_t SEITE = 1;
    int16_t SEITENANZAHL = 2;
};

// The texts of the program's version record that the header and footer print.
QString productName();
QString legalTrademarks();
QString legalCopyright();

class ResultPage : public QWidget {
    Q_OBJECT
public:
    explicit ResultPage(RunContext &ctx, QWidget *parent = nullptr);
    ~ResultPage() override;

    // Header and footer shown, page numbers shown: true with every load, changed by KONTEXT.
    bool BOKF = true;
    bool BOKFS = true;

    // Prints the page on one sheet of a document of its own and draws its figures again on
    // screen.
    Q_INVOKABLE void DRUCKEN();
    // The same, with the sheet added to a print command's document: every page of one print
    // command lands in one document. Cancel in the print error box abandons that document.
    void DRUCKEN(PrintJob &job);
    // Applies the page-layout settings and redraws the page.
    void KONTEXT(bool HBOKF, bool HBOKFS, qint64 FARBEMDI, qint64 FARBEPIC);
    // KeyCode as the window system numbers keys; Shift carries 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyDown(int KeyCode, int Shift);
    // A click on the background: hands the layout dialog its starting values.
    void Form_Click();
    void Form_Activate();
    // Releases everything the page holds; the page can be loaded anew afterwards.
    virtual void Form_Unload();

    // Shows the page maximised as the main window's active child window, with the keyboard
    // focus, and hides panel 14 as any activation of a page does. Paging and the page chooser
    // bring a page to the front this way.
    void showAsActivePage();

    // The page's title in the user's words, for its frame and the main window's title bar: the
    // record, or the records of a multiple evaluation, and the page's number.
    QString pageTitle() const;

    // The neighbours in the chain of pages (PageDown goes back, PageUp on).
    void setPreviousPage(QWidget *page) { previous_ = page; }
    void setNextPage(QWidget *page) { next_ = page; }

    qint64 BackColor() const { return pageColor_; }
    qint64 pictureBoxColor(const PictureBox *box) const;
    PictureBox *pageSurface() const { return surface_; }
    PictureBox *pictureBox(const QString &name) const;
    QScrollBar *scrollBar(const QString &name) const;
    // The box's place on the page in millimetres, as the printed sheet takes it.
    QRectF boxRectMm(const PictureBox *box) const;
    // Window pixels per millimetre of the page's layout: the screen's, or less where the
    // page is too small for the A4 sheet.
    double scale() const { return scale_; }
    // A sheet to take the printer's place for figures drawn with OBJ 1 outside a print
    // command (previews and tests); the multiple pages' figures draw on it also while a print
    // command runs.
    void setPrintTarget(std::shared_ptr<Surface> target) { printTarget_ = std::move(target); }

    // The header/footer object of the last KOPFFUSS call.
    clsKOPFFUSS *KOPFFUSSOBJEKT() const { return kopffuss_.get(); }

    // The objects a figure or table was last drawn with (null before its first drawing).
    clsGRAFIK *GRAFIK(int figure) const;
    clsTABELLE *TABELLE(int figure) const;

signals:
    // Form_Click: the layout dialog's starting values (page colour, first picture box's colour).
    void layoutDialogRequested(bool BOKF, bool BOKFS, qint64 pageColor, qint64 pictureColor);

protected:
    // One figure procedure with the offsets it is printed at.
    struct Figure {
        QString name;
        std::function<void(int OBJ, float XDL, float YDO)> draw;
        float xdl = 0, ydo = 0;
    };
    virtual QList<Figure> figures() = 0;
    virtual QString printErrorTitle() const = 0;
    virtual PageHeaderContent headerContent() const = 0;
    // What the title calls the evaluation before its records; nothing for one record's pages.
    virtual QString evaluationTitle() const { return {}; }

    // Header and footer: 0 on the page (cleared first), 1 on the sheet of the running print job.
    void KOPFFUSS(int AUSGABE);
    // Where the figures stand on the page (0) or on the sheet (1), in millimetres: the
    // header's texts keep clear of them.
    QList<QRectF> figureAreas(int AUSGABE);

    // A picture box at its place on the page (millimetres), with its vertical scroll bar
    // when one is named; moving the bar runs `changed`.
    PictureBox *addPictureBox(const QString &name, const QRectF &mm, const QString &scrollBarName,
                              std::function<void()> changed);
    // Clears a figure's box to the picture-box colour.
    void clearBox(PictureBox *box);
    // The sheet figures drawn with OBJ 1 go to: the running print command's sheet, else the
    // print target, else a sheet of the page's own on the printer, made on first use.
    std::shared_ptr<Surface> printerSurface();
    // True while a figure draws: the table object sets its scroll bar then, which must not
    // start another drawing. A drawing page is busy: quit and close wait for it.
    bool drawing() const { return drawing_ > 0; }
    struct DrawingScope {
        explicit DrawingScope(ResultPage &p) : p_(p) { ++p_.drawing_; }
        ~DrawingScope() { --p_.drawing_; }
        ResultPage &p_;
        BusyScope busy;
    };

    // ---- the figures' and tables' route (FigureDrawing.h, TextTable.h) -------------------
    // A figure procedure draws through a FigureDrawing, a table procedure through drawTable;
    // both keep their objects in the figure's slot. What the pages differ in:
    // the record id the drawing objects carry (EID), 0 where they belong to no single record;
    virtual int32_t figureRecordId() const { return 0; }
    // the sheet OBJ 1 draws on;
    virtual std::shared_ptr<Surface> figureSheet() { return printerSurface(); }
    const std::shared_ptr<Surface> &printTarget() const { return printTarget_; }
    // what a target code other than 0 and 1 does where the figure has no object or no target
    // yet: draw into its box (true), or fail every step with error 91 (false).
    virtual bool redrawWithoutObjectIntoBox() const { return false; }

    FigureSlot &figureSlot(int figure);
    // Releases every figure's objects and sheets.
    void releaseFigures();
    // The accessor of the figure rows in G0 the figures keep their frames in (the page owns it).
    // A frame value the working copy refuses is kept in memory for the run.
    void setFrameRows(clsDATEN *g0);
    clsDATEN *frameRows() const { return frameRows_; }
    // The figure's row in G0 (Integers for OX and OY, Singles otherwise), and a value of it.
    void writeFrame(int figure, const std::vector<std::pair<const char *, double>> &values);
    float readFrame(int figure, const char *column);
    // A table procedure: OBJ 0 the table's box (cleared first when `clear`), 1 the sheet at the
    // box's place plus XDL, YDO millimetres, any other value the previous object and target.
    void drawTable(const TextTable &t, int OBJ, float XDL, float YDO, bool clear = true);

    void redrawFigures();
    // Runs one drawing pass of the page's figures. The figures store their frames in the
    // figure table as they draw; one transaction for the pass puts them on disk once rather
    // than once per value, which is most of the time a page takes to load or redraw.
    void drawingPass(const std::function<void()> &pass);
    // What KONTEXT redraws after the header: the figures; a page whose content is rebuilt from
    // the tables on restyling does that here.
    virtual void restyleContent() { redrawFigures(); }
    RunContext &ctx_;

    // A press with any button on one of these boxes runs `pressed` (the page's options dialog
    // and its redraw) and does not reach the page background.
    void setFigurePress(const QStringList &boxes, std::function<void()> pressed);
    bool eventFilter(QObject *watched, QEvent *event) override;

    bool event(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    friend class FigureDrawing;

    double naturalScale() const;
    double fittingScale(const QSize &size) const;
    void placeBox(PictureBox *box);
    void rescale(double scale);
    void drucken(PrintJob &job, bool endsDocument);
    void clearPage();
    void endLooseSheet();
    void goTo(QWidget *page);
    void claimPageKeys(QMdiSubWindow *frame);
    void keepRestoredFrameUsable(QMdiSubWindow *frame);
    QWidget *windowOf(QWidget *page) const;

    PictureBox *surface_ = nullptr;
    std::unique_ptr<clsKOPFFUSS> kopffuss_;
    std::shared_ptr<Surface> kopffussTarget_;
    PrintJob *job_ = nullptr;                 // the print command's document while printing
    std::unique_ptr<PrintJob> looseSheet_;    // OBJ 1 outside a print command
    std::shared_ptr<Surface> printTarget_;
    qint64 pageColor_ = 0;
    QPointer<QWidget> previous_, next_;
    int drawing_ = 0;
    double scale_ = 0;
    bool redrawPending_ = false;
    bool unloaded_ = false;
    bool activateHooked_ = false;
    std::function<void()> figurePressed_;
    std::map<int, FigureSlot> figureSlots_;
    clsDATEN *frameRows_ = nullptr;
};

} // namespace vnt
