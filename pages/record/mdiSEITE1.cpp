// Result page 1: loading, the page's header, printing offsets and the options redraw. The
// figures themselves are drawn in mdiSEITE1_Figures.cpp.
#include "pages/record/mdiSEITE1.h"

#include "data/clsDATEN.h"
#include "drawing/clsGRAFIK.h"
#include "pages/common/FigureFrame.h"
#include "pages/record/frmKONTEXT1.h"
#include "pages/record/mdiSEITE2.h"
#include "platform/system.h"

#include <QEvent>
#include <QMetaMethod>
#include <QScrollBar>

namespace vnt {

mdiSEITE1::mdiSEITE1(RunContext &ctx, QWidget *parent) : ResultPage(ctx, parent)
{
    setObjectName(QStringLiteral("mdiSEITE1"));
    Form_Load();
}

mdiSEITE1::~mdiSEITE1()
{
    if (ownsPage2_)
        delete page2_.data();
}

void mdiSEITE1::Form_Load()
{
    setWindowState(windowState() | Qt::WindowMaximized);

    // Each box takes its place from the boxes before it, as on the printed sheet.
    const double w = 240.0 / 3, h11 = 125.0 / 2 - 4, h12 = h11 + 4;
    const QRectF r11(15, 35, w, h11);
    const QRectF r12(15 + w, r11.top(), w, h12);
    const QRectF r13(15 + 2 * w, r11.top() - 5, w, h12 + 5);
    const QRectF r14(15, r11.bottom(), w, h12 + 7);
    const QRectF r15(r12.left(), r12.bottom(), w, h12);
    const QRectF r16(r13.left(), r13.bottom(), w, h12);
    addPictureBox(QStringLiteral("picBILD11"), r11, {}, {});
    addPictureBox(QStringLiteral("picBILD12"), r12, {}, {});
    addPictureBox(QStringLiteral("picBILD13"), r13, {}, {});
    addPictureBox(QStringLiteral("picBILD14"), r14, QStringLiteral("vscBILD14"), [this] { BILD14(0, 0, 0); });
    addPictureBox(QStringLiteral("picBILD15"), r15, {}, {});
    addPictureBox(QStringLiteral("picBILD16"), r16, {}, {});
    for (const char *name : {"picBILD12", "picBILD13", "picBILD15", "picBILD16"})
        pictureBox(QString::fromLatin1(name))->installEventFilter(this);

    BOKF = true;
    BOKFS = true;
    ctx_.setProgress(40);

    const char *tables[14] = {"E1", "E2", "E3", "E4", "E6", "A1", "A2",
                              "VANT_V11", "VANT_V12", "VANT_V13", "VANT_V14", "VANT_V2", "VANT_V3", "G0"};
    for (int i = 0; i < 14; ++i) {
        auto a = std::make_unique<clsDATEN>(ctx_);
        a->setETABELLE(QString::fromLatin1(tables[i]));
        if (i >= 7 && i <= 12) {
            a->setESPID(QString());
            a->setEBOV(true);
        }
        acc_[size_t(i)] = std::move(a);
    }
    zugriffe_ = {acc_[0].get(), acc_[1].get(), acc_[2].get(), acc_[3].get(), acc_[4].get(), acc_[6].get(),
                 acc_[7].get(), acc_[8].get(), acc_[9].get(), acc_[10].get(), acc_[11].get(), acc_[12].get()};
    a1_ = acc_[5].get();
    setFrameRows(acc_[13].get());

    zugriffe_.E1->DTVL(QStringLiteral("ID"), D_.ID);
    zugriffe_.E1->DTVT(QStringLiteral("KEN"), D_.KEN);
    zugriffe_.E1->DTVT(QStringLiteral("KOM"), D_.KOM);
    a1_->DTVB(QStringLiteral("BONEU"), D_.BONEU);
    // Results that came without the figures' frames (a demo record, one imported from a project
    // that never drew it) are drawn as after an evaluation: the figures write their default
    // frames and fit their limits to the data, instead of drawing on frames that do not exist.
    if (!D_.BONEU && !figureFramesComplete(frameRows(), D_.ID, {11, 12, 13, 14, 15, 16, 17}))
        D_.BONEU = true;

    ctx_.setProgress(42);
    DATENEINGABE(D_, zugriffe_, [this](int v) { ctx_.setProgress(v); });

    KOPFFUSS(0);
    sys::DoEvents();
    ctx_.setProgress(66);

    const std::pair<std::function<void()>, int> schritte[] = {
        {[this] { BILD11(0, 0, 0); }, 68}, {[this] { BILD12(0, 0, 0); }, 70}, {[this] { BILD13(0, 0, 0); }, 74},
        {[this] { BILD14(0, 0, 0); }, 75}, {[this] { BILD15(0, 0, 0); }, 78}, {[this] { BILD16(0, 0, 0); }, 80},
    };
    drawingPass([&] {
        for (const auto &[zeichnen, fortschritt] : schritte) {
            zeichnen();
            sys::DoEvents();
            ctx_.setProgress(fortschritt);
        }
    });

    page2_ = new mdiSEITE2(ctx_, parentWidget());
    ownsPage2_ = parentWidget() == nullptr;
    page2_->hide();
    page2_->setPreviousPage(this);
    setNextPage(page2_);
    ctx_.setProgress(99);

    D_.BONEU = false;
}

PageHeaderContent mdiSEITE1::headerContent() const
{
    PageHeaderContent c;
    c.KENNZEICHNUNG = {Variant(D_.KEN)};
    c.KOMMENTAR = D_.KOM;
    c.SEITE = 1;
    c.SEITENANZAHL = 2;
    return c;
}

QList<ResultPage::Figure> mdiSEITE1::figures()
{
    return {
        {QStringLiteral("BILD11"), [this](int o, float x, float y) { BILD11(o, x, y); }, -1, 1},
        {QStringLiteral("BILD12"), [this](int o, float x, float y) { BILD12(o, x, y); }, 9, 1},
        {QStringLiteral("BILD13"), [this](int o, float x, float y) { BILD13(o, x, y); }, 19, 1},
        {QStringLiteral("BILD14"), [this](int o, float x, float y) { BILD14(o, x, y); }, -1, 11},
        {QStringLiteral("BILD15"), [this](int o, float x, float y) { BILD15(o, x, y); }, 9, 11},
        {QStringLiteral("BILD16"), [this](int o, float x, float y) { BILD16(o, x, y); }, 19, 11},
    };
}

void mdiSEITE1::NEUZEICHNEN()
{
    BusyScope busy;
    OPTIONENNEULESEN(D_, zugriffe_);
    const std::function<void()> bilder[] = {
        [this] { BILD12(0, 0, 0); }, [this] { BILD13(0, 0, 0); }, [this] { BILD14(0, 0, 0); },
        [this] { BILD15(0, 0, 0); }, [this] { BILD16(0, 0, 0); },
    };
    drawingPass([&] {
        for (const auto &b : bilder) {
            b();
            sys::DoEvents();
        }
    });
}

bool mdiSEITE1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && qobject_cast<PictureBox *>(watched)) {
        emit optionsDialogRequested();
        // A listener of the signal opens the dialog its own way; without one the page does.
        if (!isSignalConnected(QMetaMethod::fromSignal(&mdiSEITE1::optionsDialogRequested)))
            frmKONTEXT1::present(ctx_, [this] { NEUZEICHNEN(); });
        return true;
    }
    return ResultPage::eventFilter(watched, event);
}

void mdiSEITE1::Form_Unload()
{
    zugriffe_ = {};
    a1_ = nullptr;
    for (auto &a : acc_)
        a.reset();
    ResultPage::Form_Unload();
}

} // namespace vnt
