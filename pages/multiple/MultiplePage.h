// The common ground of the pages of the multiple evaluation, on top of every result page's
// protocol: the run the page belongs to, its header (the active records, the page's comment
// line, page n of 4), the figure rows of record 0 with its recalculation mark, and the figure
// engine that draws the curve figures and the combination strip from their descriptions (the
// text tables go through every page's table procedure).
#pragma once

#include "pages/multiple/CurveFigure.h"
#include "pages/multiple/MultipleRun.h"
#include "pages/multiple/CombinationTables.h"
#include "pages/common/ResultPage.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vnt {

class FigureDrawing;
class Guard;
class clsDATEN;
class clsGRAFIK;

class MultiplePage : public ResultPage {
    Q_OBJECT
public:
    MultiplePage(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent = nullptr);
    ~MultiplePage() override;

    MultipleRun &run() const { return *run_; }
    const std::shared_ptr<MultipleRun> &sharedRun() const { return run_; }

    // Another page of the chain stored a new gross/net choice. A page that shows gross or net
    // values takes it over and draws again; the others have nothing to do.
    virtual void grossNetChanged(int16_t VZ) { Q_UNUSED(VZ); }

    // True only during a load for which A1 marks record 0 for recalculation: the figures
    // drawn then write their default frames into G0.
    bool BONEU = false;

    const DepthAxis &depthAxis() const { return depth_; }

    // The page after this one in the chain, made at the end of its load (null for the last).
    MultiplePage *followingPage() const { return next_.data(); }
    using PageMaker = std::function<MultiplePage *(RunContext &, std::shared_ptr<MultipleRun>, QWidget *parent)>;

    void Form_Unload() override;

protected:
    // Makes the next page of the chain beside this one, hidden, with the run handed on, and
    // links the two for paging. Without a parent to own it, this page does.
    void loadNextPage(const PageMaker &make);

    // The header's fields: the names of the active records, the comment line, page n of 4.
    void setHeader(const QStringList &DSKEN, const QString &KOMMENTAR, int16_t SEITE);
    PageHeaderContent headerContent() const override;
    QString evaluationTitle() const override { return QStringLiteral("Mehrfachauswertung"); }

    // Binds the page's accessor of the figure rows of record 0 and reads BONEU of record 0.
    void readRecalculationMark();
    // New cumulative depths in metres: the next drawing of the first figure scales them.
    void setDepths(std::vector<double> SDEZ);
    // The title of the scaling procedure's error box ("Sub EXPONENT, Seite 1").
    void setExponentTitle(const QString &title) { exponentTitle_ = title; }

    // ---- the figure engine ------------------------------------------------------------
    // OBJ 0 the figure's box (cleared first), 1 the printer at the box's place plus XDL, YDO
    // millimetres, any other value the previous drawing object and target again, or the box
    // where the figure has none yet.
    void drawCurveFigure(const CurveFigure &f, int OBJ, float XDL, float YDO);
    void drawStrip(const StripFigure &s, const std::vector<bool> &found, int OBJ, float XDL, float YDO);

    // Divides X by 10 to the power N; with GRENZE > 0 and N 0 it first finds the smallest N
    // that brings the largest value to GRENZE or below (the record page's procedure, under
    // this page's error title).
    void EXPONENT(std::vector<double> &X, int16_t &N, float GRENZE);

    // A figure without axes, its frame all from G0: the lists give its x range, and its y
    // lists are the depth axis of figure `depthFrom`, or the range 0 to 1 without one.
    void withoutAxes(clsGRAFIK &g, const AxisLists &x, int depthFrom);

    std::shared_ptr<Surface> figureSheet() override;
    bool redrawWithoutObjectIntoBox() const override { return true; }

private:
    void copyDepthAxis(clsGRAFIK &to, int firstFigure);
    // The steps of a curve figure; each returns false once the figure's guard was left.
    // The figure's frame in G0: the default one after a recalculation, then its depth range.
    bool writeCurveFrame(FigureDrawing &fig, const CurveFigure &f);
    // The axis lists, titles and formats of both axes, before the object scales.
    void setCurveAxes(clsGRAFIK &g, const CurveFigure &f);
    // The series with one value per combination (one empty series where the figure has none);
    // cost series scaled by one power of ten and the value axis titled after it.
    bool readCurveSeries(FigureDrawing &fig, const CurveFigure &f, std::vector<CurveSeries> &series);
    // Scales and draws the axes and the title, reads the scale back (XMAX, MX) and draws the
    // band line at the end depth of every combination.
    bool drawScalesAndBandLines(FigureDrawing &fig, const CurveFigure &f, const std::vector<CurveSeries> &series,
                                float &XMAX, float &MX);
    void drawSeries(clsGRAFIK &g, const CurveFigure &f, const std::vector<CurveSeries> &series, float XMAX, float MX,
                    Guard &guard);
    // The strip's frame, target, scale and pens, up to its labels.
    bool setUpStrip(FigureDrawing &fig, const StripFigure &s);

    std::shared_ptr<MultipleRun> run_;
    QPointer<MultiplePage> next_;
    bool ownsNext_ = false;
    std::unique_ptr<clsDATEN> g0_, a1_;
    DepthAxis depth_;
    QString exponentTitle_;
    PageHeaderContent header_;
};

} // namespace vnt
