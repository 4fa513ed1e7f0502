// The multiple-evaluation page base: run, header, figure rows and the objects of the figures.
#include "pages/multiple/MultiplePage.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsTABELLE.h"
#include "pages/common/FigureFrame.h"
#include "platform/errors.h"
#include "platform/printer.h"

namespace vnt {

MultiplePage::MultiplePage(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent)
    : ResultPage(ctx, parent), run_(run ? std::move(run) : std::make_shared<MultipleRun>()),
      exponentTitle_(QStringLiteral("Sub EXPONENT, Seite 1"))
{
    run_->join(this);
}

MultiplePage::~MultiplePage()
{
    if (ownsNext_)
        delete next_.data();
}

void MultiplePage::loadNextPage(const PageMaker &make)
{
    if (!make)
        return;
    next_ = make(ctx_, sharedRun(), parentWidget());
    ownsNext_ = parentWidget() == nullptr;
    if (!next_)
        return;
    next_->hide();
    next_->setPreviousPage(this);
    setNextPage(next_);
}

void MultiplePage::setHeader(const QStringList &DSKEN, const QString &KOMMENTAR, int16_t SEITE)
{
    header_.KENNZEICHNUNG.clear();
    for (const QString &k : DSKEN)
        header_.KENNZEICHNUNG.append(Variant(k));
    if (header_.KENNZEICHNUNG.isEmpty())
        header_.KENNZEICHNUNG.append(Variant(QString()));
    header_.KOMMENTAR = KOMMENTAR;
    header_.SEITE = SEITE;
    header_.SEITENANZAHL = 4;
}

PageHeaderContent MultiplePage::headerContent() const { return header_; }

void MultiplePage::readRecalculationMark()
{
    g0_ = std::make_unique<clsDATEN>(ctx_);
    g0_->setETABELLE(QStringLiteral("G0"));
    g0_->setESPIDW(0);
    setFrameRows(g0_.get());
    a1_ = std::make_unique<clsDATEN>(ctx_);
    a1_->setETABELLE(QStringLiteral("A1"));
    a1_->setESPIDW(0);
    BONEU = false;
    a1_->DTVB(QStringLiteral("BONEU"), BONEU);
}

void MultiplePage::setDepths(std::vector<double> SDEZ)
{
    depth_ = DepthAxis{};
    depth_.SDEZ = std::move(SDEZ);
}

std::shared_ptr<Surface> MultiplePage::figureSheet()
{
    return printTarget() ? printTarget() : printerSurface();
}

void MultiplePage::Form_Unload()
{
    g0_.reset();
    a1_.reset();
    ResultPage::Form_Unload();
}

} // namespace vnt
