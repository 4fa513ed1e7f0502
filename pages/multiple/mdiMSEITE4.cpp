// The statistics page: its load, its data step from M1 to M4, and the table's description.
#include "pages/multiple/mdiMSEITE4.h"

#include "data/clsDATEN.h"
#include "pages/multiple/Aggregation.h"
#include "pages/multiple/AggregationDataStep.h"
#include "platform/BusyScope.h"
#include "platform/system.h"

#include <algorithm>
#include <cmath>

namespace vnt {

namespace {

// The value columns of one group in M4: mean and deviation, gross and net.
struct StatisticsSource {
    const char *grossXQ, *grossSX, *netXQ, *netSX;
};

const StatisticsSource kSources[6] = {
    {"XQBRV", "SXBRV", "XQNTV", "SXNTV"}, {"XQBRK", "SXBRK", "XQNTK", "SXNTK"},
    {"XQNEZ", "SXNEZ", "XQNEZ", "SXNEZ"}, {"XQNEK", "SXNEK", "XQNEK", "SXNEK"},
    {"XQZK", "SXZK", "XQZK", "SXZK"},     {"XQZKM", "SXZKM", "XQZKM", "SXZKM"},
};

// A missing row or Null cell stays an empty cell; a value is shown as the Single it is stored as.
Variant storedSingle(const Variant &v)
{
    return v.isEmpty() || v.isNull() ? Variant() : Variant(v.toSingle());
}

void bindTable(clsDATEN &d, const char *table)
{
    d.setETABELLE(QString::fromLatin1(table));
    d.setESPID(QStringLiteral("IDM"));
    d.setESPIDW(1);
}

} // namespace

mdiMSEITE4::mdiMSEITE4(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent)
    : MultiplePage(ctx, std::move(run), parent)
{
    setObjectName(QStringLiteral("mdiMSEITE4"));
    Form_Load();
}

mdiMSEITE4::~mdiMSEITE4() = default;

void mdiMSEITE4::Form_Load()
{
    BusyScope busy;
    setWindowState(windowState() | Qt::WindowMaximized);
    addPictureBox(QStringLiteral("picBILD410"), QRectF(15, 35, 240, 125), QStringLiteral("vscBILD410"),
                  [this] { BILD410(0, 0, 0); });
    BOKF = true;
    BOKFS = true;
    ctx_.setProgress(85);

    e1_ = std::make_unique<clsDATEN>(ctx_);
    m1_ = std::make_unique<clsDATEN>(ctx_);
    m2_ = std::make_unique<clsDATEN>(ctx_);
    m3_ = std::make_unique<clsDATEN>(ctx_);
    m4_ = std::make_unique<clsDATEN>(ctx_);
    std::vector<QString> names;
    e1_->LKEN(names, true);
    DSKEN_.clear();
    for (const QString &n : names)
        DSKEN_ << n;
    bindTable(*m1_, "M1");
    bindTable(*m2_, "M2");
    bindTable(*m3_, "M3");
    bindTable(*m4_, "M4");
    m1_->DTVT(QStringLiteral("KOM"), KOM_);

    ctx_.setProgress(86);
    DATENEINGABE();
    ctx_.setProgress(94);
    setHeader(DSKEN_, QString(29, QLatin1Char(' ')) + KOM_, 4);
    KOPFFUSS(0);
    sys::DoEvents();
    BILD410(0, 0, 0);
    sys::DoEvents();
}

void mdiMSEITE4::DATENEINGABE()
{
    STATKOPF_ = statisticsTableHead();
    // Page 1 could not store this run's statistics and has said so: M3 and M4 hold an earlier
    // run's, so the page shows what the run kept (nothing after a failed read).
    const multiple::PageSums *kept = run().unstoredSums();
    int16_t mini = 0, maxi = 0, an = 0;
    if (!kept)
        m2_->INDEX(mini, maxi, an, QStringLiteral("I1"));
    // Without any M2 row the aggregation still stored combination 0, which matches every
    // section: the page shows what M3 and M4 hold for it, as the pages before it do.
    NKOMB_ = kept ? kept->NKOMB() : an > 0 ? std::max<int>(maxi, 0) : 0;
    STATTAB_ = CellArray(19, NKOMB_ + 1);
    BOKOMB_.assign(size_t(NKOMB_ + 1), false);
    VZ_ = 0;
    m1_->DTVI(QStringLiteral("VZ"), VZ_);

    const QString key = QStringLiteral("I1");
    const Variant dash("-");
    for (int c = 0; c <= NKOMB_; ++c) {
        bool found = false;
        if (kept)
            found = kept->sums[size_t(c)].BOKOMB;
        else if (!m3_->DTVB(QStringLiteral("BOKOMB"), found, key, int16_t(c)))
            return;
        BOKOMB_[size_t(c)] = found;
        STATTAB_.set(0, c, Variant(int16_t(c)));
        if (found) {
            for (int g = 0; g < 6; ++g) {
                const StatisticsSource &s = kSources[g];
                Variant XQ, SX;
                const QString xqName = QString::fromLatin1(VZ_ == 1 ? s.netXQ : s.grossXQ);
                const QString sxName = QString::fromLatin1(VZ_ == 1 ? s.netSX : s.grossSX);
                if (kept) {
                    for (const auto &[column, value] : multiple::m4Columns(kept->stats[size_t(c)])) {
                        if (column == xqName)
                            XQ = value;
                        if (column == sxName)
                            SX = value;
                    }
                } else if (!m4_->DTVV(xqName, XQ, key, int16_t(c)) || !m4_->DTVV(sxName, SX, key, int16_t(c))) {
                    return;
                }
                XQ = storedSingle(XQ);
                SX = storedSingle(SX);
                STATTAB_.set(3 * g + 1, c, XQ);
                STATTAB_.set(3 * g + 2, c, SX);
                const float xq = XQ.isEmpty() ? 0.0f : XQ.toSingle();
                const float sx = SX.isEmpty() ? 0.0f : SX.toSingle();
                // The aggregation stores 10^9 where a deviation is not defined (fewer than two
                // sections); M4 keeps it, but as a number it would read as a huge spread.
                if (xq == 0 || sx >= float(multiple::kUndefinedDeviation)) {
                    STATTAB_.set(3 * g + 2, c, dash);
                    STATTAB_.set(3 * g + 3, c, dash);
                } else {
                    STATTAB_.set(3 * g + 3, c, Variant(sx / xq));
                }
            }
        } else {
            for (int col = 1; col <= 18; ++col)
                STATTAB_.set(col, c, dash);
        }
        sys::DoEvents();
        // nearbyint rounds halves to the even neighbour, as the progress steps of the chain do.
        ctx_.setProgress(NKOMB_ < 1 ? 94 : 86 + int(std::nearbyint(8.0 * c / NKOMB_)));
    }
    if (!kept && std::none_of(BOKOMB_.begin(), BOKOMB_.end(), [](bool b) { return b; }))
        run().noSectionFound();
}

void mdiMSEITE4::STATISTIKAKTUALISIEREN()
{
    DATENEINGABE();
    BILD410(0, 0, 0);
    sys::DoEvents();
}

void mdiMSEITE4::BILD410(int OBJ, float XDL, float YDO)
{
    drawTable(statisticsTable(410, QStringLiteral("picBILD410"), QStringLiteral("vscBILD410"), STATKOPF_, STATTAB_,
                              VZ_),
              OBJ, XDL, YDO);
}

void mdiMSEITE4::grossNetChanged(int16_t VZ)
{
    Q_UNUSED(VZ);
    // M1 holds the new choice already; the table is rebuilt from it so that a print job never
    // carries gross values on one page and net ones on another.
    if (m1_)
        STATISTIKAKTUALISIEREN();
}

QList<ResultPage::Figure> mdiMSEITE4::figures()
{
    return {{QStringLiteral("BILD410"), [this](int o, float x, float y) { BILD410(o, x, y); }, -1, 1}};
}

void mdiMSEITE4::Form_Unload()
{
    e1_.reset();
    m1_.reset();
    m2_.reset();
    m3_.reset();
    m4_.reset();
    MultiplePage::Form_Unload();
}

} // namespace vnt
