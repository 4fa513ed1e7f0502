// The result-page protocol shared by every page: printing on one sheet, restyling, keys,
// paging, and the header and footer procedure.
#include "pages/common/ResultPage.h"
#include "platform/ui.h"

#include "data/WriteFailures.h"
#include "drawing/clsKOPFFUSS.h"
#include "pages/common/PrintJob.h"
#include "pages/common/frmKONTEXT.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/system.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vnt {

namespace {

constexpr qint64 kWhite = 0xFFFFFF;
const char *const kRectMm = "vantrelRectMm";
const char *const kPressable = "vantrelFigurePress";
const char *const kBackColor = "BackColor";

int pixels(double mm, double perMm) { return int(std::lround(mm * perMm)); }

// The window system's key as the page's key table numbers it (0: a key the table has no row for).
int keyCodeOf(int key)
{
    switch (key) {
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Escape: return 27;
    default: return key >= Qt::Key_A && key <= Qt::Key_Z ? key : 0;
    }
}

// Whether the page's key table has a command for the key with these modifiers (Form_KeyDown).
bool isPageKey(int code, int shift)
{
    const bool ctrl = (shift & 2) != 0, alt = (shift & 4) != 0;
    switch (code) {
    case 33: case 34: case 27: return true;
    case 81: return alt;
    case 65: case 67: case 80: case 83: case 87: return ctrl;
    default: return false;
    }
}

} // namespace

QString productName() { return QStringLiteral("Vantrel"); }
QString legalTrademarks() { return QStringLiteral("Vantrel-Projektteam"); }
QString legalCopyright() { return QString::fromUtf8("Copyright © Vantrel-Projekt"); }

ResultPage::ResultPage(RunContext &ctx, QWidget *parent) : QWidget(parent), ctx_(ctx)
{
    setFocusPolicy(Qt::StrongFocus);
    pageColor_ = toVbColor(palette().color(QPalette::Window));
    surface_ = new PictureBox(this);
    surface_->setObjectName(QStringLiteral("Seitenflaeche"));
    surface_->setFocusPolicy(Qt::NoFocus);
    surface_->lower();
    // A page loaded hidden has not been maximised yet; until it is, it measures as the
    // printed sheet, so that a header drawn now does not run into the figures.
    scale_ = naturalScale();
    surface_->setPixelsPerMm(scale_);
    resize(pixels(297, scale_), pixels(210, scale_));
    surface_->setGeometry(rect());
}

double ResultPage::naturalScale() const { return logicalDpiX() / 25.4; }

double ResultPage::fittingScale(const QSize &size) const
{
    // The screen's millimetre while the page holds the A4 sheet; a smaller page shows the
    // sheet smaller, so that the figures keep clear of the footer at its lower edge.
    const double natural = naturalScale();
    const double fit = std::min(size.width() / 297.0, size.height() / 210.0);
    return std::clamp(fit, natural / 2, natural);
}

void ResultPage::placeBox(PictureBox *box)
{
    const QRectF mm = boxRectMm(box);
    box->setPixelsPerMm(scale_);
    box->setSizeMm(mm.size());
    box->setGeometry(pixels(mm.left(), scale_), pixels(mm.top(), scale_), pixels(mm.width(), scale_),
                     pixels(mm.height(), scale_));
}

void ResultPage::rescale(double scale)
{
    scale_ = scale;
    surface_->setPixelsPerMm(scale);
    for (PictureBox *box : findChildren<PictureBox *>(Qt::FindDirectChildrenOnly))
        if (box != surface_)
            placeBox(box);
    // The boxes have new, empty images; the figures are drawn again once the window system
    // has finished resizing, never in the middle of another drawing or a print.
    if (redrawPending_)
        return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            redrawPending_ = false;
            if (unloaded_)
                return;
            if (drawing() || job_) {
                rescale(scale_);
                return;
            }
            redrawFigures();
        },
        Qt::QueuedConnection);
}

ResultPage::~ResultPage() { endLooseSheet(); }

qint64 ResultPage::pictureBoxColor(const PictureBox *box) const
{
    const QVariant c = box ? box->property(kBackColor) : QVariant();
    return c.isValid() ? c.toLongLong() : kWhite;
}

QString ResultPage::pageTitle() const
{
    // The pages after the first of a chain name the first page's records: the second page of
    // one record names none in its header.
    const ResultPage *first = this;
    for (int n = 0; n < 16; ++n) {
        auto *before = qobject_cast<const ResultPage *>(first->previous_.data());
        if (!before || before == this)
            break;
        first = before;
    }
    QStringList names;
    for (const Variant &v : first->headerContent().KENNZEICHNUNG) {
        const QString name = v.isNull() ? QString() : v.text().trimmed();
        if (!name.isEmpty())
            names << name;
    }
    const PageHeaderContent c = headerContent();
    const QString page = QStringLiteral("Seite %1 von %2").arg(c.SEITE).arg(c.SEITENANZAHL);
    const QString what = (first->evaluationTitle() + QLatin1Char(' ') + names.join(QStringLiteral(", "))).trimmed();
    return what.isEmpty() ? page : what + QString::fromUtf8(" – ") + page;
}

PictureBox *ResultPage::pictureBox(const QString &name) const
{
    return findChild<PictureBox *>(name);
}

QScrollBar *ResultPage::scrollBar(const QString &name) const
{
    return findChild<QScrollBar *>(name);
}

QRectF ResultPage::boxRectMm(const PictureBox *box) const
{
    if (!box)
        vnt::raise(91);
    return box->property(kRectMm).toRectF();
}

PictureBox *ResultPage::addPictureBox(const QString &name, const QRectF &mm, const QString &scrollBarName,
                                      std::function<void()> changed)
{
    auto *box = new PictureBox(this);
    box->setObjectName(name);
    box->setFocusPolicy(Qt::NoFocus);
    box->setProperty(kRectMm, mm);
    placeBox(box);
    if (!scrollBarName.isEmpty()) {
        auto *bar = new QScrollBar(Qt::Vertical, box);
        bar->setObjectName(scrollBarName);
        bar->setFocusPolicy(Qt::NoFocus);
        // The figure follows the bar when it settles, not while the thumb is dragged.
        bar->setTracking(false);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this, changed] {
            if (!drawing())
                changed();
        });
    }
    return box;
}

void ResultPage::clearBox(PictureBox *box)
{
    if (!box)
        vnt::raise(91);
    box->Cls();
    const qint64 color = pictureBoxColor(box);
    ImageSurface &s = box->surface();
    s.setBackColor(vbColor(color));
    if (color != kWhite) {
        s.fillRect(QRectF(QPointF(0, 0), s.sizeMm()), vbColor(color));
        s.flush();
    }
}

void ResultPage::clearPage()
{
    surface_->Cls();
    ImageSurface &s = surface_->surface();
    s.fillRect(QRectF(QPointF(0, 0), s.sizeMm()), vbColor(pageColor_));
    s.flush();
}

std::shared_ptr<Surface> ResultPage::printerSurface()
{
    if (job_ && job_->sheet())
        return job_->sheet();
    if (printTarget_)
        return printTarget_;
    if (!looseSheet_) {
        looseSheet_ = std::make_unique<PrintJob>();
        looseSheet_->newSheet();
    }
    return looseSheet_->sheet();
}

void ResultPage::KOPFFUSS(int AUSGABE)
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Kopffusszeile"));
    const PageHeaderContent c = headerContent();
    if (AUSGABE == 0 && !g.step([&] { clearPage(); }))
        return;
    if (AUSGABE == 0 || AUSGABE == 1) {
        if (!g.step([&] {
                kopffuss_ = std::make_unique<clsKOPFFUSS>();
                kopffussTarget_.reset();
            }))
            return;
    }
    // The page fills the main window's inner area when maximised, so its own size is the
    // frame the header and footer are laid out in.
    if (!g.step([&] {
            if (!kopffuss_)
                vnt::raise(91);
            if (AUSGABE == 0) {
                kopffuss_->AUSGABEOBJEKT(*this, surface_->surface());
            } else if (AUSGABE == 1) {
                kopffussTarget_ = printerSurface();
                kopffuss_->AUSGABEOBJEKT(*kopffussTarget_, *kopffussTarget_);
            }
        }))
        return;
    clsKOPFFUSS *k = kopffuss_.get();
    const QDateTime now = QDateTime::currentDateTime();
    const std::function<void()> steps[] = {
        [&] { k->BEARBEITER(ctx_.BEARBEITER()); },
        [&] { k->COPYRIGHT(legalCopyright()); },
        [&] { k->EBOKFS(Variant(BOKFS)); },
        [&] {
            if (c.KENNZEICHNUNG.size() == 1)
                k->KENNZEICHNUNG(c.KENNZEICHNUNG.first());
            else
                k->KENNZEICHNUNG(c.KENNZEICHNUNG);
        },
        [&] { k->DATUM(std::floor(toDayCount(now))); },
        [&] { k->KOMMENTAR(c.KOMMENTAR); },
        [&] { k->RANDABSTAND(QString(), 15); },
        [&] {
            if (AUSGABE == 0) {
                k->RANDABSTAND(QStringLiteral("oben"), 7.5);
                k->RANDABSTAND(QStringLiteral("unten"), 7.5);
            }
        },
        [&] {
            k->SEITE(c.SEITE);
            k->SEITENANZAHL(c.SEITENANZAHL);
        },
        [&] { k->PROGRAMMIERER(legalTrademarks()); },
        [&] { k->PROJEKT(ctx_.PROJEKT()); },
        [&] { k->UEBERSCHRIFT(productName()); },
        [&] { k->UHRZEIT(toDayCount(now)); },
        [&] { k->keepClearOf(figureAreas(AUSGABE)); },
        [&] { k->KOPFFUSSZEILE(); },
    };
    for (const auto &s : steps)
        if (!g.step(s))
            return;
}

QList<QRectF> ResultPage::figureAreas(int AUSGABE)
{
    QList<QRectF> out;
    if (AUSGABE == 1) {
        // On the sheet each figure stands at its box's place moved by its printing offsets.
        for (const Figure &f : figures())
            if (PictureBox *box = pictureBox(QStringLiteral("pic") + f.name))
                out << boxRectMm(box).translated(f.xdl, f.ydo);
        return out;
    }
    for (PictureBox *box : findChildren<PictureBox *>(Qt::FindDirectChildrenOnly))
        if (box != surface_ && !box->isHidden())
            out << boxRectMm(box);
    return out;
}

void ResultPage::drawingPass(const std::function<void()> &pass)
{
    // A working copy that refuses the frames refuses them all: one box says so for the pass.
    OneWriteFailureTold oneBox;
    std::optional<db::TransactionScope> writes;
    const db::ConnectionPtr cnn = ctx_.cnnX();
    if (cnn && cnn->isOpen()) {
        try {
            // Frame rows cleared and worked out again to what they held cost no sync.
            writes.emplace(cnn, db::TransactionScope::Unchanged::Discard);
        } catch (const VbError &) {
            // Without a transaction every frame value is written on its own, as before.
        }
    }
    pass();
    if (writes && writes->active()) {
        Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Bildrahmen"));
        g.step([&] { writes->commit(); });
    }
}

void ResultPage::redrawFigures()
{
    drawingPass([this] {
        for (const Figure &f : figures()) {
            f.draw(0, 0, 0);
            sys::DoEvents();
        }
    });
}

void ResultPage::DRUCKEN()
{
    PrintJob job;
    drawingPass([&] { drucken(job, true); });
}

void ResultPage::DRUCKEN(PrintJob &job)
{
    drawingPass([&] { drucken(job, false); });
}

void ResultPage::drucken(PrintJob &job, bool endsDocument)
{
    if (job.ended() || job.abandoned())
        return;
    BusyScope busy;
    Guard g(QStringLiteral("VB-Fehler: "), printErrorTitle());
    endLooseSheet();
    job_ = &job;
    g.step([&] { job.newSheet(); });
    g.step([&] {
        if (BOKF)
            KOPFFUSS(1);
    });
    g.step([&] { sys::DoEvents(); });
    const QList<Figure> figs = figures();
    for (const Figure &f : figs) {
        g.step([&] { f.draw(1, f.xdl, f.ydo); });
        g.step([&] { sys::DoEvents(); });
    }
    // A page printed on its own is its own document; in a print command the command ends the
    // document once every chosen page is on it.
    if (endsDocument)
        g.step([&] { job.end(); });
    for (const Figure &f : figs) {
        g.step([&] { f.draw(0, 0, 0); });
        g.step([&] { sys::DoEvents(); });
    }
    g.always([&] {
        if (g.left())
            job.abandon();
        job_ = nullptr;
    });
}

void ResultPage::KONTEXT(bool HBOKF, bool HBOKFS, qint64 FARBEMDI, qint64 FARBEPIC)
{
    BusyScope busy;
    pageColor_ = FARBEMDI;
    for (PictureBox *box : findChildren<PictureBox *>(Qt::FindDirectChildrenOnly))
        if (box != surface_)
            box->setProperty(kBackColor, FARBEPIC);
    BOKF = HBOKF;
    BOKFS = HBOKFS;
    clearPage();
    if (BOKF)
        KOPFFUSS(0);
    restyleContent();
    sys::DoEvents();
}

QWidget *ResultPage::windowOf(QWidget *page) const
{
    if (page && qobject_cast<QMdiSubWindow *>(page->parentWidget()))
        return page->parentWidget();
    return page;
}

void ResultPage::showAsActivePage()
{
    // The page first: a frame shown around a hidden page keeps the focus for itself.
    show();
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (sub) {
        sub->showMaximized();
        if (QMdiArea *area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    } else {
        setWindowState(windowState() | Qt::WindowMaximized);
        show();
    }
    setFocus(Qt::OtherFocusReason);
    // A frame activated while it was being shown reports no change of state afterwards, and
    // without a focused main window none is reported at all.
    Form_Activate();
}

void ResultPage::goTo(QWidget *page)
{
    windowOf(this)->hide();
    if (auto *next = qobject_cast<ResultPage *>(page)) {
        next->showAsActivePage();
        return;
    }
    QWidget *w = windowOf(page);
    w->setWindowState(w->windowState() | Qt::WindowMaximized);
    w->show();
    page->show();
}

void ResultPage::Form_KeyDown(int KeyCode, int Shift)
{
    const bool ctrl = (Shift & 2) != 0;
    const bool alt = (Shift & 4) != 0;
    // The rows are tested in order, each on its own; no two rows share a key, and a command
    // may close this page, so nothing of the page is touched after one has run.
    if (KeyCode == 34 && previous_) {
        goTo(previous_);
        return;
    }
    if (KeyCode == 33 && next_) {
        goTo(next_);
        return;
    }
    int panel = 0;
    if (KeyCode == 27)
        panel = 15;
    else if (KeyCode == 81 && alt) {
        ctx_.mnuBEENDEN_Click();
        return;
    } else if (ctrl && KeyCode == 65)
        panel = 14;
    else if (ctrl && KeyCode == 67)
        panel = 12;
    else if (ctrl && KeyCode == 80)
        panel = 11;
    else if (ctrl && KeyCode == 83)
        panel = 10;
    else if (ctrl && KeyCode == 87)
        panel = 13;
    if (panel)
        ctx_.stbMAIN_PanelClick(panel);
}

void ResultPage::Form_Click()
{
    PictureBox *first = nullptr;
    for (PictureBox *box : findChildren<PictureBox *>(Qt::FindDirectChildrenOnly))
        if (box != surface_) {
            first = box;
            break;
        }
    emit layoutDialogRequested(BOKF, BOKFS, pageColor_, pictureBoxColor(first));
    // A listener of the signal opens the dialog its own way; without one the page does.
    if (!isSignalConnected(QMetaMethod::fromSignal(&ResultPage::layoutDialogRequested)))
        frmKONTEXT::present(ctx_, *this, BOKF, BOKFS, pageColor_, pictureBoxColor(first));
}

void ResultPage::Form_Activate()
{
    ctx_.setPanelVisible(14, false);
}

void ResultPage::endLooseSheet()
{
    // Objects of earlier drawings may still hold the sheet; ending it here lets the next
    // document begin on the printer, and leaves them drawing nowhere rather than into it.
    looseSheet_.reset();
}

void ResultPage::Form_Unload()
{
    unloaded_ = true;
    releaseFigures();
    frameRows_ = nullptr;
    kopffuss_.reset();
    kopffussTarget_.reset();
    printTarget_.reset();
    endLooseSheet();
}

void ResultPage::setFigurePress(const QStringList &boxes, std::function<void()> pressed)
{
    figurePressed_ = std::move(pressed);
    for (const QString &name : boxes)
        if (PictureBox *box = pictureBox(name)) {
            box->setProperty(kPressable, true);
            box->installEventFilter(this);
        }
}

bool ResultPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && figurePressed_ && watched->property(kPressable).toBool()) {
        // A copy: the dialog's redraw may set another handler.
        const std::function<void()> pressed = figurePressed_;
        pressed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ResultPage::mousePressEvent(QMouseEvent *e)
{
    // Presses on a figure's box bubble up here; only a click of the left button on the
    // background opens the layout dialog, the other buttons have no meaning there.
    QWidget *hit = childAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && (!hit || hit == surface_))
        Form_Click();
    e->accept();
}

bool ResultPage::event(QEvent *e)
{
    // The page's keys are the program's commands: a shortcut of the frame around the page on
    // the same key (this desktop closes a frame with Ctrl+W) must not take one of them first.
    if (e->type() == QEvent::ShortcutOverride) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (isPageKey(keyCodeOf(k->key()), ui::shiftMask(k->modifiers()))) {
            e->accept();
            return true;
        }
    }
    return QWidget::event(e);
}

void ResultPage::keyPressEvent(QKeyEvent *e)
{
    const int code = keyCodeOf(e->key());
    if (!code) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    Form_KeyDown(code, ui::shiftMask(e->modifiers()));
}

void ResultPage::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    surface_->setGeometry(rect());
    const double scale = fittingScale(size());
    if (std::abs(scale - scale_) > 1e-3 * scale_)
        rescale(scale);
    // A new size gives the page surface a new, empty image: the header and footer belong to
    // the new frame and are laid out again.
    if (BOKF && kopffuss_)
        KOPFFUSS(0);
    else
        clearPage();
}

void ResultPage::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void ResultPage::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (activateHooked_)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        activateHooked_ = true;
        claimPageKeys(sub);
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this, sub](Qt::WindowStates old, Qt::WindowStates now) {
            if ((now & Qt::WindowActive) && !(old & Qt::WindowActive))
                Form_Activate();
            const Qt::WindowStates sized = Qt::WindowMaximized | Qt::WindowMinimized;
            if ((old & sized) && !(now & sized))
                keepRestoredFrameUsable(sub);
        });
    }
}

void ResultPage::claimPageKeys(QMdiSubWindow *frame)
{
    // Where the frame itself holds the focus its menu's shortcuts would still take a page key.
    QMenu *menu = frame->systemMenu();
    if (!menu)
        return;
    for (QAction *a : menu->actions()) {
        QList<QKeySequence> kept;
        for (const QKeySequence &k : a->shortcuts())
            if (k.count() != 1 || !isPageKey(keyCodeOf(k[0].key()), ui::shiftMask(k[0].keyboardModifiers())))
                kept << k;
        if (kept.size() != a->shortcuts().size())
            a->setShortcuts(kept);
    }
}

void ResultPage::keepRestoredFrameUsable(QMdiSubWindow *frame)
{
    // A page made hidden and maximised before it was ever shown has no normal size of its own:
    // restored, it would shrink to its title bar. It takes its sheet's size then, as far as
    // the area holds it, at the area's corner.
    QMdiArea *area = frame->mdiArea();
    if (!area)
        return;
    const QRect room = area->viewport()->rect();
    QStyleOptionTitleBar title;
    title.initFrom(frame);
    const int border = frame->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
    const int bar = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, frame);
    const double natural = naturalScale();
    const QSize sheet(pixels(297, natural) + 2 * border, pixels(210, natural) + bar + border);
    const QSize usable = sheet.boundedTo(room.size());
    const QRect now = frame->geometry();
    if (room.contains(now) && now.width() >= usable.width() / 2 && now.height() >= usable.height() / 2)
        return;
    frame->setGeometry(QRect(room.topLeft(), usable));
}

void ResultPage::closeEvent(QCloseEvent *e)
{
    // A drawing still running would lose what it draws with: the window closes after it.
    if (BusyScope::later(this, [w = QPointer<QWidget>(windowOf(this))] { if (w) w->close(); })) {
        e->ignore();
        return;
    }
    // Closing a page through its window frame closes the pages as the Close panel does: a page
    // closed alone would leave its partners loaded and the page commands shown. The Close
    // panel takes each page out of the main window before it closes it.
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (sub && sub->mdiArea() && !ctx_.unloading()) {
        e->ignore();
        ctx_.stbMAIN_PanelClick(15);
        return;
    }
    Form_Unload();
    e->accept();
}

} // namespace vnt
