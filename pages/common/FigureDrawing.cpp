// The figures' route shared by every result page: their slots, their frames in G0, and one
// figure's drawing from its first step to its last.
#include "pages/common/FigureDrawing.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsTABELLE.h"
#include "pages/common/FigureFrame.h"
#include "platform/errors.h"

namespace vnt {

FigureSlot::FigureSlot() = default;
FigureSlot::~FigureSlot() = default;

FigureSlot &ResultPage::figureSlot(int figure) { return figureSlots_[figure]; }

void ResultPage::releaseFigures() { figureSlots_.clear(); }

clsGRAFIK *ResultPage::GRAFIK(int figure) const
{
    const auto it = figureSlots_.find(figure);
    return it == figureSlots_.end() ? nullptr : it->second.grafik.get();
}

clsTABELLE *ResultPage::TABELLE(int figure) const
{
    const auto it = figureSlots_.find(figure);
    return it == figureSlots_.end() ? nullptr : it->second.tabelle.get();
}

void ResultPage::setFrameRows(clsDATEN *g0)
{
    frameRows_ = g0;
    if (g0)
        g0->setKeepRefusedValues(true);
}

void ResultPage::writeFrame(int figure, const std::vector<std::pair<const char *, double>> &values)
{
    writeFigureFrame(frameRows_, figure, values);
}

float ResultPage::readFrame(int figure, const char *column) { return readFigureFrame(frameRows_, figure, column); }

FigureDrawing::FigureDrawing(ResultPage &page, int figure, const QString &boxName, int OBJ, float XDL, float YDO)
    : page(page), figure(figure), OBJ(OBJ), XDL(XDL), YDO(YDO), busy_(page),
      guard(QStringLiteral("VB-Fehler: "), QStringLiteral("Bild ") + QString::number(figure)),
      box(page.pictureBox(boxName))
{}

bool FigureDrawing::begin(bool clear)
{
    FigureSlot &slot = page.figureSlot(figure);
    if (OBJ == 0 && clear && !guard.step([&] { page.clearBox(box); }))
        return false;
    const bool fresh = OBJ == 0 || OBJ == 1 || (!slot.grafik && page.redrawWithoutObjectIntoBox());
    if (fresh && !guard.step([&] {
            slot.grafik = std::make_unique<clsGRAFIK>(page.ctx_);
            slot.sheet.reset();
        }))
        return false;
    g = slot.grafik.get();
    return !guard.left();
}

bool FigureDrawing::bindTarget()
{
    return draw([&] {
        g->setEID(page.figureRecordId());
        FigureSlot &slot = page.figureSlot(figure);
        // A redraw that has no place of its own yet draws into its box, over what the box shows,
        // on the pages that allow it.
        int target = OBJ;
        if (target != 0 && target != 1 && !g->EOBJEKT() && page.redrawWithoutObjectIntoBox())
            target = 0;
        if (target == 1)
            slot.sheet = page.figureSheet();
        bindFigureTarget(*g, figure, box, target, XDL, YDO, target == 1 ? page.boxRectMm(box) : QRectF(),
                         slot.sheet.get());
    });
}

bool FigureDrawing::draw(const std::function<void()> &f)
{
    return guard.step([&] {
        if (!g)
            vnt::raise(91);
        f();
    });
}

void FigureDrawing::finish()
{
    if (OBJ == 0 && box)
        box->surface().flush();
}

} // namespace vnt
