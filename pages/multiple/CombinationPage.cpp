// The load, the data step and the table shared by the ancillary-times and additional-costs pages.
#include "pages/multiple/CombinationPage.h"

#include "data/clsDATEN.h"
#include "pages/multiple/AggregationDataStep.h"
#include "platform/BusyScope.h"
#include "platform/Guard.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>

namespace vnt {

CombinationPage::CombinationPage(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent,
                                 const QString &name)
    : MultiplePage(ctx, std::move(run), parent)
{
    setObjectName(name);
}

CombinationPage::~CombinationPage() = default;

void CombinationPage::placeBoxes(const QStringList &figures, int tableNumber)
{
    setWindowState(windowState() | Qt::WindowMaximized);
    // Each box takes its place from the boxes before it, as on the printed sheet.
    const double w = 240.0 / 3, h = 125.0 / 2;
    for (int i = 0; i < 5 && i < figures.size(); ++i) {
        if (figures[i].isEmpty())
            continue;
        const QRectF r(15 + (i % 3) * w, 35 + (i / 3) * h, w, h);
        addPictureBox(QStringLiteral("picBILD") + figures[i], r, {}, {});
    }
    const QString table = QString::number(tableNumber);
    addPictureBox(QStringLiteral("picBILD") + table, QRectF(15 + 2 * w, 35 + h, w + 7, h + 5),
                  QStringLiteral("vscBILD") + table,
                  [this, tableNumber] { drawCombinationTable(tableNumber, 0, 0, 0); });
}

void CombinationPage::load(const Setup &setup)
{
    // Nothing may unload the page while it loads; a quit asked for meanwhile follows.
    BusyScope busy;
    SEITE_ = setup.SEITE;
    const QString page = QStringLiteral("  Seite ") + QString::number(setup.SEITE);
    setExponentTitle(QStringLiteral("Sub EXPONENT,") + page);
    BOKF = true;
    BOKFS = true;
    ctx_.setProgress(setup.progressStart);

    e1_ = std::make_unique<clsDATEN>(ctx_);
    m1_ = std::make_unique<clsDATEN>(ctx_);
    m2_ = std::make_unique<clsDATEN>(ctx_);
    m3_ = std::make_unique<clsDATEN>(ctx_);
    m1_->setETABELLE(QStringLiteral("M1"));
    m2_->setETABELLE(QStringLiteral("M2"));
    m3_->setETABELLE(QStringLiteral("M3"));
    std::vector<QString> names;
    e1_->LKEN(names, true);
    KENLISTE_.clear();
    for (const QString &n : names)
        KENLISTE_ << n;
    readRecalculationMark();
    for (clsDATEN *d : {m1_.get(), m2_.get(), m3_.get()}) {
        d->setESPID(QStringLiteral("IDM"));
        d->setESPIDW(1);
    }
    m1_->DTVT(QStringLiteral("KOM"), KOM_);

    ctx_.setProgress(setup.progressRead);
    DATENEINGABE(setup);
    ctx_.setProgress(setup.progressRead + 8);
    setDepths(std::vector<double>(SDEZ_.begin(), SDEZ_.end()));

    setHeader(KENLISTE_, BODATEN_ ? setup.dataComment + KOM_ : setup.noDataComment, setup.SEITE);
    KOPFFUSS(0);
    sys::DoEvents();
    if (BODATEN_) {
        drawingPass([&] {
            for (const LoadFigure &f : setup.figures) {
                f.draw();
                sys::DoEvents();
                if (f.progress >= 0)
                    ctx_.setProgress(f.progress);
            }
        });
    }
    if (setup.progressEnd >= 0)
        ctx_.setProgress(setup.progressEnd);

    loadNextPage(setup.nextPage);
    BONEU = false;
}

void CombinationPage::DATENEINGABE(const Setup &setup)
{
    Guard guard(QStringLiteral("VB-Fehler: "), QStringLiteral("Dateneingabe;  Seite ") + QString::number(SEITE_));
    bool ended = false;   // a read that failed: its accessor has told the user
    const auto read = [&](const std::function<bool()> &r) {
        if (ended || guard.left())
            return;
        guard.step([&] {
            if (!r())
                ended = true;
        });
    };

    TABKOPF_ = combinationTableHead();
    const multiple::PageSums *kept = run().unstoredSums();
    int16_t mini = 0, maxi = 0, an = 0;
    if (!kept)
        guard.step([&] { m2_->INDEX(mini, maxi, an, QStringLiteral("I1")); });
    KOMBMAX_ = kept ? int16_t(kept->NKOMB()) : std::max<int16_t>(maxi, 0);
    const size_t n = size_t(KOMBMAX_ + 1);
    TABDATEN_ = CellArray(7, int(n));
    BOKOMB_.assign(n, false);
    SDEZ_.assign(n, 0.0f);
    for (const SumColumn &col : setup.columns) {
        if (col.single)
            col.single->assign(n, 0.0f);
        if (col.count)
            col.count->assign(n, 0);
    }
    BODATEN_ = false;
    if (kept) {
        takeUnstored(*kept, setup);
        return;
    }
    if (guard.left())
        return;

    const QString key = QStringLiteral("I1");
    static const char *const keys[5] = {"KENG", "KENT", "KENV", "KENL", "KENF"};
    // Each loop of the page counts with its own variable: a redraw that runs while this one
    // lets window events through must not move it.
    for (int c = 0; c <= KOMBMAX_; ++c) {
        const int16_t I1 = int16_t(c);
        read([&] {
            TABDATEN_.set(0, c, Variant(I1));
            return true;
        });
        for (int k = 0; k < 5; ++k)
            read([&] {
                Variant v;
                const bool ok = m2_->DTVV(QString::fromLatin1(keys[k]), v, key, I1);
                if (ok)
                    TABDATEN_.set(k + 1, c, v.isNull() ? Variant() : v);
                return ok;
            });
        read([&] {
            bool found = false;
            const bool ok = m3_->DTVB(QStringLiteral("BOKOMB"), found, key, I1);
            BOKOMB_[size_t(c)] = ok && found;
            return ok;
        });
        read([&] { return m3_->DTVS(QStringLiteral("SDEZ"), SDEZ_[size_t(c)], key, I1); });
        for (const SumColumn &col : setup.columns)
            read([&] {
                const QString name = QString::fromLatin1(col.name);
                if (col.count)
                    return m3_->DTVL(name, (*col.count)[size_t(c)], key, I1);
                return m3_->DTVS(name, (*col.single)[size_t(c)], key, I1);
            });
        if (ended || guard.left())
            return;
        if (setup.hasData && setup.hasData(size_t(c)))
            BODATEN_ = true;
        sys::DoEvents();
        // nearbyint rounds halves to the even neighbour, as every progress step of the chain does.
        ctx_.setProgress(KOMBMAX_ > 0 ? setup.progressRead + int(std::nearbyint(8.0 * c / KOMBMAX_))
                                      : setup.progressRead + 8);
    }
    if (std::none_of(BOKOMB_.begin(), BOKOMB_.end(), [](bool b) { return b; }))
        run().noSectionFound();
}

// Page 1 could not store this run's sums and has told the user: the tables hold an earlier
// run, so the page shows what the run kept, without asking the tables again.
void CombinationPage::takeUnstored(const multiple::PageSums &kept, const Setup &setup)
{
    TABDATEN_ = kept.KOMBTAB;
    for (size_t c = 0; c < kept.sums.size(); ++c) {
        BOKOMB_[c] = kept.sums[c].BOKOMB;
        SDEZ_[c] = kept.sums[c].SDEZ;
        const auto values = multiple::m3Columns(kept.sums[c]);
        for (const SumColumn &col : setup.columns) {
            const auto it = std::find_if(values.begin(), values.end(),
                                         [&](const auto &v) { return v.first == QLatin1String(col.name); });
            if (it == values.end())
                continue;
            if (col.count)
                (*col.count)[c] = it->second.toLong();
            else
                (*col.single)[c] = it->second.toSingle();
        }
        if (setup.hasData && setup.hasData(c))
            BODATEN_ = true;
    }
}

void CombinationPage::drawCombinationStrip(int firstFigure, int OBJ, float XDL, float YDO)
{
    drawStrip(StripFigure{firstFigure + 5, QStringLiteral("picBILD") + QString::number(firstFigure), firstFigure},
              BOKOMB_, OBJ, XDL, YDO);
}

void CombinationPage::drawCombinationTable(int number, int OBJ, float XDL, float YDO)
{
    const QString n = QString::number(number);
    drawTable(combinationTable(number, QStringLiteral("picBILD") + n, QStringLiteral("vscBILD") + n, TABKOPF_,
                               TABDATEN_, BOKOMB_),
              OBJ, XDL, YDO);
}

QList<ResultPage::Figure> CombinationPage::figures()
{
    // A page whose load found nothing to show keeps its boxes empty on paper and on screen;
    // its sheet still carries the header that says so.
    if (!BODATEN_)
        return {};
    return pageFigures();
}

void CombinationPage::Form_Unload()
{
    e1_.reset();
    m1_.reset();
    m2_.reset();
    m3_.reset();
    MultiplePage::Form_Unload();
}

} // namespace vnt
