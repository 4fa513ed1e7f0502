// The windows of daily work on a small or scaled screen: each fits into the space it is given
// and shows every control it holds. ctest runs these also at a scale factor of 1.5 on a
// 1280 x 1024 screen, which leaves 853 x 683 pixels for the program, and on that screen less a
// window manager's title bar.
#include "test_pagecmds_support.h"

#include "common/Shots.h"
#include "frame/FrameRules.h"
#include "frame/RecordCommands.h"
#include "frame/StatusPanel.h"
#include "frame/frmAUSWAHL.h"
#include "frame/frmEXPIMP.h"
#include "frame/frmINFO.h"
#include "input/frmVVORGABEN.h"
#include "input/mdiEINGABE.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>

using namespace vnt;
using namespace vnt::test;

namespace {

QString scaleName()
{
    const QString f = qEnvironmentVariable("QT_SCALE_FACTOR");
    return f.isEmpty() ? QStringLiteral("1") : f;
}

// The controls of `top` that are meant to be seen (shown, on the tab in front) but stick out of
// `room` (in top's coordinates): by name and how far.
QStringList cutOff(QWidget &top, const QRect &room)
{
    QStringList out;
    for (QWidget *w : top.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&top) || w->isWindow())
            continue;
        if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w) && !qobject_cast<QLabel *>(w)
            && !qobject_cast<QAbstractItemView *>(w) && !qobject_cast<QTabWidget *>(w))
            continue;
        const QRect r(w->mapTo(&top, QPoint(0, 0)), w->size());
        if (!room.contains(r))
            out << QStringLiteral("%1 %2 %3,%4 %5x%6")
                       .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height());
    }
    return out;
}

// Whether a scroll area's frame is drawn at its left and right edge, in the device's own
// pixels: at mid height a line darker than its ground stands in the first two and in the last
// two pixel columns. A fractional scale factor loses the right one when the inner area, rounded
// outwards, paints over it.
std::string frameEdges(QAbstractScrollArea &a)
{
    const QImage img = a.grab().toImage();
    const int y = img.height() / 2;
    const int ground = qGray(a.palette().color(QPalette::Base).rgb());
    auto framed = [&](int x0, int x1) {
        for (int x = std::max(0, x0); x <= x1 && x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < ground - 20)
                return true;
        return false;
    };
    return std::string(framed(0, 1) ? "left" : "-") + (framed(img.width() - 2, img.width() - 1) ? "right" : "-");
}

} // namespace

// The input window fills the main window's area; its frame with the title bar and its buttons
// lies inside the area, and every control of every tab can be reached: what the area cannot
// show scrolls into view.
TEST(WindowsAtScale, InputWindowFitsTheAreaAndShowsEveryControl)
{
    PageWindow w;
    withPresetTables(w.inst);
    Boxes none;
    QMdiArea *area = w.frm->mdiArea();
    w.frm->menuItem(QStringLiteral("mnuNEU"))->trigger();
    QCoreApplication::processEvents();
    mdiEINGABE *e = inputWindow(area);
    ASSERT_TRUE(e);
    auto *sub = qobject_cast<QMdiSubWindow *>(area->activeSubWindow());
    ASSERT_TRUE(sub);
    EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry()))
        << "sub window " << sub->geometry().width() << "x" << sub->geometry().height() << " in area "
        << area->viewport()->width() << "x" << area->viewport()->height();
    const QRect screen = w.frm->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frm->frameGeometry())) << "main window sticks out of the screen";

    // Every tab: its controls lie on the window's page, and what the window cannot show of the
    // page can be scrolled into view.
    auto *scroll = e->findChild<QScrollArea *>();
    ASSERT_TRUE(scroll);
    QWidget *page = scroll->widget();
    for (int tab = 0; tab < e->SSTab->count(); ++tab) {
        SCOPED_TRACE(tab);
        e->SSTab->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(cutOff(*page, page->rect()).join(QStringLiteral("; ")).toStdString(), "");
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), std::max(0, page->width() - scroll->viewport()->width()));
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), std::max(0, page->height() - scroll->viewport()->height()));
        EXPECT_TRUE(scroll->rect().contains(QRect(scroll->viewport()->mapTo(scroll, QPoint(0, 0)), scroll->viewport()->size())));
        EXPECT_EQ(scroll->geometry(), e->rect());
        if (tab == 1)
            EXPECT_EQ(frameEdges(*e->msgFLX[0]), "leftright");
        EXPECT_TRUE(keepShot(w.frm->grab().toImage(), QStringLiteral("input-tab%1-scale%2").arg(tab).arg(scaleName())));
    }
    // The window shows what it holds from the top: the name box and the tabs' titles are in view.
    e->SSTab->setCurrentIndex(0);
    QCoreApplication::processEvents();
    for (QWidget *x : {static_cast<QWidget *>(e->txtKEN), static_cast<QWidget *>(e->SSTab->tabBar())}) {
        const QRect r(x->mapTo(sub, QPoint(0, 0)), x->size());
        EXPECT_TRUE(sub->rect().contains(r)) << x->objectName().toStdString();
    }
    // Restored, the frame with its title bar and buttons stays inside the area too.
    sub->showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry()))
        << "restored " << sub->geometry().width() << "x" << sub->geometry().height() << "+" << sub->geometry().x()
        << "+" << sub->geometry().y() << " in area " << area->viewport()->width() << "x" << area->viewport()->height();
    EXPECT_TRUE(keepShot(w.frm->grab().toImage(), QStringLiteral("input-restored-scale%1").arg(scaleName())));
    w.frm->stbMAIN_PanelClick(9);
}

// The record dialog stands on the screen with its list and both buttons whole.
TEST(WindowsAtScale, RecordDialogShowsItsListAndButtonsWhole)
{
    PageWindow w("INSERT INTO E1 VALUES (1,'Bohrung Nord 1','',1),(2,'Bohrung Süd 22 (verlängert)','',0);");
    Boxes none;
    w.frm->setTag(QStringLiteral("A"));
    frmAUSWAHL d(*w.frm, w.frm.get());
    d.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(cutOff(d, d.rect()).join(QStringLiteral("; ")).toStdString(), "");
    const QRect screen = w.frm->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(d.frameGeometry()));
    // the list's frame is drawn on all four sides, in the device's own pixels: at mid height a
    // line darker than the list's ground stands in the last two pixel columns and in the first two
    EXPECT_EQ(frameEdges(*d.lstKEN), "leftright");
    EXPECT_TRUE(keepShot(d.grab().toImage(), QStringLiteral("record-dialog-scale%1").arg(scaleName())));
    d.close();
}

// The main window with its start window fits the screen.
TEST(WindowsAtScale, MainWindowFitsTheScreen)
{
    PageWindow w;
    Boxes none;
    QCoreApplication::processEvents();
    const QRect screen = w.frm->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frm->frameGeometry()));
    EXPECT_TRUE(keepShot(w.frm->grab().toImage(), QStringLiteral("main-scale%1").arg(scaleName())));
}

// The other dialogs of daily work stand whole on the screen with every control inside them.
TEST(WindowsAtScale, DialogsFitTheScreen)
{
    PageWindow w("INSERT INTO E1 VALUES (1,'P1','',1);");
    withPresetTables(w.inst);
    Boxes none;
    frmVVORGABEN presets(*w.frm, w.frm.get());
    frmEXPIMP expimp(*w.frm, w.frm.get());
    frmINFO info(w.frm.get());
    const QRect screen = w.frm->screen()->availableGeometry();
    for (QWidget *d : {static_cast<QWidget *>(&presets), static_cast<QWidget *>(&expimp), static_cast<QWidget *>(&info)}) {
        SCOPED_TRACE(d->objectName().toStdString());
        d->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(screen.contains(d->frameGeometry())) << d->frameGeometry().width() << "x" << d->frameGeometry().height();
        EXPECT_EQ(cutOff(*d, d->rect()).join(QStringLiteral("; ")).toStdString(), "");
        for (QAbstractItemView *v : d->findChildren<QAbstractItemView *>())
            if (v->isVisibleTo(d) && v->isEnabled())
                EXPECT_EQ(frameEdges(*v), "leftright") << v->objectName().toStdString();
        EXPECT_TRUE(keepShot(d->grab().toImage(), d->objectName() + QStringLiteral("-scale") + scaleName()));
        d->hide();
    }
}

// The status bar at the main window's usual widths, with the input window's and with the result
// pages' command panels: the panels stand side by side without overlap, each draws its text
// within its own width, and where the text does not fit it is shortened, never cut: the project
// path keeps its end behind " ... ", any other text keeps its start.
TEST(WindowsAtScale, StatusPanelsShowTheirTextsWithinThemselves)
{
    PageWindow w;
    frmMAIN &frm = *w.frm;
    frm.panel(1)->setText(shortenedProjectPath(QStringLiteral("/home/engineer/inst/PROJEKTE")) + QStringLiteral("/"));
    frm.panel(2)->setText(QStringLiteral("Demo"));
    frm.panel(6)->setText(QStringLiteral("BP-101,..."));
    const int screenWidth = frm.screen()->availableGeometry().width();

    struct Case { std::initializer_list<int> commands; int width; };
    const Case cases[] = {
        {{8, 9}, 0}, {{10, 11, 12, 13, 14, 15}, 0},   // maximised on the screen
        {{10, 11, 12, 13, 14, 15}, 853}, {{10, 11, 12, 13, 14, 15}, 1024}, {{10, 11, 12, 13, 14, 15}, 1280},
        {{8, 9}, 1024}, {{10, 11, 12, 13, 14, 15}, 1920},
    };
    for (const Case &c : cases) {
        frm.hideCommandPanels({8, 9, 10, 11, 12, 13, 14, 15});
        frm.showCommandPanels(c.commands);
        if (c.width == 0) {
            frm.showMaximized();
        } else {
            frm.showNormal();
            frm.resize(c.width, 700);
        }
        QCoreApplication::processEvents();
        QStatusBar *bar = frm.statusBar();
        SCOPED_TRACE(QStringLiteral("bar %1 wide, panels %2..").arg(bar->width()).arg(*c.commands.begin()).toStdString());

        QList<StatusPanel *> shown;
        for (int i = 1; i <= 15; ++i)
            if (frm.panel(i)->isVisibleTo(&frm))
                shown << frm.panel(i);
        ASSERT_EQ(shown.size(), 7 + int(c.commands.size()));
        for (int k = 0; k < shown.size(); ++k) {
            StatusPanel *p = shown[k];
            SCOPED_TRACE(p->Index());
            EXPECT_TRUE(bar->rect().contains(QRect(p->mapTo(bar, QPoint(0, 0)), p->size())));
            if (k > 0)
                EXPECT_LT(shown[k - 1]->geometry().right(), p->geometry().left());
            const QString text = p->text();
            const QString drawn = p->shownText();
            EXPECT_LE(p->fontMetrics().horizontalAdvance(drawn), p->contentsRect().width()) << drawn.toStdString();
            if (drawn == text)
                continue;
            EXPECT_FALSE(drawn.isEmpty());
            if (p->Index() == 1) {
                EXPECT_TRUE(drawn.startsWith(QStringLiteral(" ... ")) || drawn.startsWith(QChar(0x2026))) << drawn.toStdString();
                EXPECT_TRUE(text.endsWith(drawn.mid(drawn.indexOf(QLatin1Char('/'))))) << drawn.toStdString();
            } else {
                EXPECT_TRUE(drawn.endsWith(QChar(0x2026))) << drawn.toStdString();
                EXPECT_TRUE(text.startsWith(drawn.chopped(1))) << drawn.toStdString();
            }
        }
        // Room enough: every text stands whole; a narrower bar shortens the path before the others.
        const bool roomy = bar->width() >= 1000;
        for (int i : {1, 2, 3, 4, 5, 6})
            if (roomy || (i > 1 && bar->width() >= 850))
                EXPECT_EQ(frm.panel(i)->shownText(), frm.panel(i)->text()) << i;
    }
    frm.showMaximized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(keepShot(frm.grab().toImage(), QStringLiteral("statusbar-scale%1").arg(scaleName())));

    // The pointer's press, on a command panel or beside it, still finds the panel under it.
    for (QWidget *under : {static_cast<QWidget *>(frm.panel(12)), frm.panel(12)->parentWidget()}) {
        const QPoint at = frm.panel(12)->mapTo(under, frm.panel(12)->rect().center());
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(under->mapToGlobal(at)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(under, &press);
        EXPECT_EQ(frm.panel(12)->bevel(), StatusPanel::Inset) << under->objectName().toStdString();
        EXPECT_EQ(frm.panel(11)->bevel(), StatusPanel::Raised);
        EXPECT_EQ(frm.panel(13)->bevel(), StatusPanel::Raised);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-5, -5), QPointF(under->mapToGlobal(QPoint(-5, -5))),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(under, &release);
        frm.panel(12)->setBevel(StatusPanel::Raised);
    }
}
