// The first multiple-evaluation page: its load, the chain it starts, printing offsets and the
// redraw after the gross/net choice. The figures are descriptions in mdiMSEITE1_Figures.cpp.
#include "pages/multiple/mdiMSEITE1.h"

#include "data/clsDATEN.h"
#include "pages/multiple/frmKONTEXTM1.h"
#include "pages/multiple/frmMVORGABEN.h"
#include "pages/multiple/mdiMSEITE2.h"
#include "platform/BusyScope.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace vnt {

namespace {

// Page 1 makes page 2, which makes page 3, which makes page 4; tests put in a chain of their own.
mdiMSEITE1::FollowingPages programsFollowingPages()
{
    return [](RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent) -> MultiplePage * {
        return new mdiMSEITE2(ctx, std::move(run), parent);
    };
}

mdiMSEITE1::FollowingPages &followingPages()
{
    static mdiMSEITE1::FollowingPages f = programsFollowingPages();
    return f;
}

} // namespace

mdiMSEITE1::FollowingPages mdiMSEITE1::setFollowingPages(FollowingPages f)
{
    return std::exchange(followingPages(), f ? std::move(f) : programsFollowingPages());
}

mdiMSEITE1::mdiMSEITE1(RunContext &ctx, QWidget *parent) : MultiplePage(ctx, nullptr, parent)
{
    setObjectName(QStringLiteral("mdiMSEITE1"));
    Form_Load();
}

mdiMSEITE1::~mdiMSEITE1() = default;

void mdiMSEITE1::Form_Load()
{
    // Nothing may unload the page while it loads; a quit asked for meanwhile follows.
    BusyScope busy;
    setWindowState(windowState() | Qt::WindowMaximized);

    // Each box takes its place from the boxes before it, as on the printed sheet.
    const double w = 240.0 / 3, h = 125.0 / 2;
    const QRectF r110(15, 35, w, h);
    const QRectF r120(r110.left() + r110.width(), r110.top(), w, h);
    const QRectF r130(r120.left() + r120.width(), r110.top(), w, h);
    const QRectF r140(15, r110.top() + r110.height(), w, h);
    const QRectF r150(r120.left(), r120.top() + r120.height(), w, h);
    const QRectF r160(r130.left(), r130.top() + r130.height(), w + 7, h + 5);
    addPictureBox(QStringLiteral("picBILD110"), r110, {}, {});
    addPictureBox(QStringLiteral("picBILD120"), r120, {}, {});
    addPictureBox(QStringLiteral("picBILD130"), r130, {}, {});
    addPictureBox(QStringLiteral("picBILD140"), r140, {}, {});
    addPictureBox(QStringLiteral("picBILD150"), r150, {}, {});
    addPictureBox(QStringLiteral("picBILD160"), r160, QStringLiteral("vscBILD160"), [this] { BILD160(0, 0, 0); });
    setFigurePress({QStringLiteral("picBILD110"), QStringLiteral("picBILD120"), QStringLiteral("picBILD130"),
                    QStringLiteral("picBILD140"), QStringLiteral("picBILD150")},
                   [this] { frmKONTEXTM1::present(ctx_, [this] { NEUZEICHNEN(); }); });

    BOKF = true;
    BOKFS = true;
    ctx_.setProgress(0);
    e1_ = std::make_unique<clsDATEN>(ctx_);
    m1_ = std::make_unique<clsDATEN>(ctx_);
    m1_->setETABELLE(QStringLiteral("M1"));

    const bool combinationsRead = combinationEditor();

    std::vector<QString> names;
    e1_->LKEN(names, true);
    DSKEN_.clear();
    for (const QString &n : names)
        DSKEN_ << n;
    readRecalculationMark();
    m1_->setESPID(QStringLiteral("IDM"));
    m1_->setESPIDW(1);
    m1_->DTVT(QStringLiteral("KOM"), KOM_);
    m1_->DTVI(QStringLiteral("VZ"), VZ_);

    ctx_.setProgress(2);
    if (combinationsRead) {
        D_ = multiple::pageSums(ctx_, run());
    } else {
        // The data step would only fail on the same table again: the run says it once.
        D_ = multiple::PageSums{};
        D_.KOMBKOPF = combinationTableHead();
        D_.KOMBTAB = CellArray(7, 0);
        run().keepUnstoredSums(D_);
    }
    setDepths(D_.depths());
    ctx_.setProgress(60);

    setHeader(DSKEN_, QStringLiteral("Bohrzeiten und Bohrkosten") + QString(20, QLatin1Char(' ')) + KOM_, 1);
    KOPFFUSS(0);
    sys::DoEvents();
    const std::pair<std::function<void()>, int> schritte[] = {
        {[this] { BILD110(0, 0, 0); }, 63}, {[this] { BILD120(0, 0, 0); }, 64}, {[this] { BILD130(0, 0, 0); }, 65},
        {[this] { BILD140(0, 0, 0); }, 66}, {[this] { BILD150(0, 0, 0); }, 67}, {[this] { BILD160(0, 0, 0); }, 68},
    };
    // The figures' frame rows are written as one unit: one commit for the whole drawing.
    drawingPass([&] {
        for (const auto &[zeichnen, fortschritt] : schritte) {
            zeichnen();
            sys::DoEvents();
            ctx_.setProgress(fortschritt);
        }
    });

    loadNextPage(followingPages());
    BONEU = false;
}

bool mdiMSEITE1::combinationEditor()
{
    sys::setHourglass(false);
    frmMVORGABEN editor(ctx_, ctx_.mainWidget());
    // The quit runs only after the load has given up (the command keeps the run busy).
    editor.onQuit = [this] { ctx_.mnuBEENDEN_Click(); };
    editor.onHelp = [this] { ctx_.mnuHILFE_Click(); };
    ui::showModal(editor);
    sys::setHourglass(true);
    if (editor.quitRequested())
        vnt::raise(err::DialogCancelled, QStringLiteral("Die Mehrfachauswertung wurde abgebrochen."));
    return !editor.combinationsUnreadable();
}

QList<ResultPage::Figure> mdiMSEITE1::figures()
{
    return {
        {QStringLiteral("BILD110"), [this](int o, float x, float y) { BILD110(o, x, y); }, -1, 1},
        {QStringLiteral("BILD120"), [this](int o, float x, float y) { BILD120(o, x, y); }, 9, 1},
        {QStringLiteral("BILD130"), [this](int o, float x, float y) { BILD130(o, x, y); }, 19, 1},
        {QStringLiteral("BILD140"), [this](int o, float x, float y) { BILD140(o, x, y); }, -1, 11},
        {QStringLiteral("BILD150"), [this](int o, float x, float y) { BILD150(o, x, y); }, 9, 11},
        {QStringLiteral("BILD160"), [this](int o, float x, float y) { BILD160(o, x, y); }, 19, 11.5},
    };
}

void mdiMSEITE1::NEUZEICHNEN()
{
    BusyScope busy;
    if (m1_)
        m1_->DTVI(QStringLiteral("VZ"), VZ_);
    redrawFigures();
    // One print job must not carry gross values on one page and net ones on another.
    run().grossNetChanged(VZ_, this);
}

void mdiMSEITE1::grossNetChanged(int16_t VZ)
{
    VZ_ = VZ;
    redrawFigures();
}

void mdiMSEITE1::Form_Unload()
{
    e1_.reset();
    m1_.reset();
    MultiplePage::Form_Unload();
}

} // namespace vnt
