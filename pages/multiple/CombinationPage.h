// The common ground of the ancillary-times page and the additional-costs page of the multiple
// evaluation: both read the combinations and some of their sums from M2 and M3, draw stacked
// curves over the cumulative depth of the combinations with the figure engine, end with the
// table of the combinations, and load the next page of the chain at the end of their load.
#pragma once

#include "drawing/TabelleCells.h"
#include "pages/multiple/MultiplePage.h"

#include <functional>
#include <memory>
#include <vector>

namespace vnt {

class clsDATEN;
namespace multiple {
struct PageSums;
}

class CombinationPage : public MultiplePage {
    Q_OBJECT
public:
    ~CombinationPage() override;

    int16_t KOMBMAX() const { return KOMBMAX_; }
    // Whether any combination has a value this page shows: decides whether the figures are
    // drawn at all, on screen and on paper, and which comment the header carries.
    bool BODATEN() const { return BODATEN_; }
    const std::vector<bool> &BOKOMB() const { return BOKOMB_; }
    const CellArray &TABKOPF() const { return TABKOPF_; }
    const CellArray &TABDATEN() const { return TABDATEN_; }
    const QStringList &KENLISTE() const { return KENLISTE_; }
    QString KOM() const { return KOM_; }
    const std::vector<float> &SDEZ() const { return SDEZ_; }

    void Form_Unload() override;

protected:
    // One M3 column read per combination into the array of the same name: a Single or, for
    // the counts of measures, a 32-bit whole number.
    struct SumColumn {
        const char *name;
        std::vector<float> *single = nullptr;
        std::vector<int32_t> *count = nullptr;
    };
    // A figure drawn at load and the progress value set after it (none for -1).
    struct LoadFigure {
        std::function<void()> draw;
        int progress = -1;
    };
    struct Setup {
        int16_t SEITE = 2;
        int progressStart = 70;   // at the start of the load
        int progressRead = 71;    // before the reading; it runs to progressRead + 8
        int progressEnd = -1;     // after the figures (none for -1)
        QString dataComment, noDataComment;
        std::vector<SumColumn> columns;   // in reading order, after BOKOMB and SDEZ
        std::function<bool(size_t c)> hasData;
        std::vector<LoadFigure> figures;
        PageMaker nextPage;
    };

    CombinationPage(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent, const QString &name);

    // The grid of the page: two rows of three boxes of 80 x 62.5 mm from (15, 35) mm, the last
    // one 7 mm wider and 5 mm higher for the table with its scroll bar. `figures` names the
    // boxes in grid order; an empty name leaves its place empty.
    void placeBoxes(const QStringList &figures, int tableNumber);
    // The load after the boxes are placed: accessors, reading, header, figures, next page.
    void load(const Setup &setup);

    // The figure procedures BILDnnn of both pages: OBJ 0 the picture box, 1 the printer at the
    // box's place plus XDL, YDO millimetres, any other value the previous drawing object and
    // target again. A page's curve figures are descriptions; their series are worked out from
    // the page's sums whenever a figure draws.
    virtual CurveFigure figure(int number) = 0;
    void drawFigure(int number, int OBJ, float XDL, float YDO) { drawCurveFigure(figure(number), OBJ, XDL, YDO); }
    // The strip of combination numbers in the right margin of the page's first figure.
    void drawCombinationStrip(int firstFigure, int OBJ, float XDL, float YDO);
    // The table of the combinations, "*" against those without a section.
    void drawCombinationTable(int number, int OBJ, float XDL, float YDO);

    // The figures drawn by printing and restyling: none when the load found nothing to show.
    QList<Figure> figures() override;
    virtual QList<Figure> pageFigures() = 0;

    std::vector<float> SDEZ_;   // metres, as read

private:
    void DATENEINGABE(const Setup &setup);
    void takeUnstored(const multiple::PageSums &kept, const Setup &setup);

    int16_t KOMBMAX_ = 0;
    bool BODATEN_ = false;
    std::vector<bool> BOKOMB_;
    CellArray TABKOPF_, TABDATEN_;
    QStringList KENLISTE_;
    QString KOM_;
    int16_t SEITE_ = 2;
    std::unique_ptr<clsDATEN> e1_, m1_, m2_, m3_;
};

} // namespace vnt
