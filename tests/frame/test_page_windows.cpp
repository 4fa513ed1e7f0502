// The result pages as windows of the real main window: their keys and mouse buttons arrive as
// the window system delivers them (through the shortcuts of the frames around them), their
// frames restore to a usable size and carry titles in the user's words.
#include "test_pagecmds_support.h"

#include "frame/PageCommands.h"
#include "frame/StatusPanel.h"
#include "common/Shots.h"
#include "frame/frmANZEIGEN.h"
#include "frame/frmAUSWAHL.h"
#include "pages/common/frmKONTEXT.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vnt;
using namespace vnt::test;

namespace {

// The program's documents folder is where the word-processor export leaves its file.
struct OwnDocuments {
    QTemporaryDir home;
    EnvScope env;
    OwnDocuments()
    {
        env.set("HOME", home.path().toLocal8Bit());
        env.set("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    }
    QStringList documents() const { return QDir(home.path() + "/Documents").entryList({"*.fodt"}, QDir::Files); }
};

// One record's two pages in the real main window, shown as the evaluate command shows them:
// page 1 maximised in front with the keyboard focus, page 2 hidden behind it.
struct RecordPages : PageWindow {
    ResultPage *seite1 = nullptr, *seite2 = nullptr;
    RecordPages()
    {
        loadPage(*frm, standInPages({"mdiSEITE1", "mdiSEITE2"}, nullptr), "mdiSEITE1");
        seite1 = page("mdiSEITE1");
        seite2 = page("mdiSEITE2");
        seite1->setNextPage(seite2);
        seite2->setPreviousPage(seite1);
        frm->activateWindow();
        activatePage(frm->mdiArea(), pageFrame(seite1));
        frm->enterPageState(false);
        QCoreApplication::processEvents();
    }
    ResultPage *page(const QString &name) const
    {
        return static_cast<ResultPage *>(static_cast<QMdiSubWindow *>(window(name))->widget());
    }
    bool pagesLoaded() const { return windows() == QStringList({"mdiAUTOSTART", "mdiSEITE1", "mdiSEITE2"}); }
};

} // namespace

// Every key of the pages' table does its own command, also where the frame around the page has
// a shortcut of its own on the same key (Ctrl+W closes a frame on this desktop).
TEST(PageWindows, EveryPageKeyRunsItsCommandRatherThanTheFramesShortcut)
{
    struct Case {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<void(Boxes &)> expect;               // the boxes the command shows
        std::function<void(RecordPages &, OwnDocuments &)> check;
    };
    const auto stay = [](RecordPages &w) {
        EXPECT_TRUE(w.pagesLoaded()) << w.windows().join(' ').toStdString();
        EXPECT_FALSE(w.frm->menuItem("mnuDATEI")->isEnabled()) << "the pages' state stays";
    };
    const Case cases[] = {
        {"Ctrl+W", Qt::Key_W, Qt::ControlModifier, {},
         [&](RecordPages &w, OwnDocuments &d) {
             stay(w);
             EXPECT_EQ(d.documents().size(), 1) << "the page goes to the word processor";
         }},
        {"Ctrl+S", Qt::Key_S, Qt::ControlModifier, {},
         [&](RecordPages &w, OwnDocuments &) {
             stay(w);
             EXPECT_TRUE(w.frm->findChild<frmANZEIGEN *>()) << "the page chooser opens";
         }},
        {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, [](Boxes &b) { b.print([](ui::PrintRequest &) { return false; }); },
         [&](RecordPages &w, OwnDocuments &) { stay(w); }},
        {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, [](Boxes &b) { b.input(""); },
         [&](RecordPages &w, OwnDocuments &) { stay(w); }},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, {},
         [&](RecordPages &w, OwnDocuments &) {
             stay(w);
             EXPECT_EQ(w.current(), "mdiSEITE1");
         }},
        {"PageUp", Qt::Key_PageUp, Qt::NoModifier, {},
         [&](RecordPages &w, OwnDocuments &) {
             stay(w);
             EXPECT_EQ(w.current(), "mdiSEITE2");
             EXPECT_EQ(QApplication::focusWidget(), w.seite2);
         }},
        {"Esc", Qt::Key_Escape, Qt::NoModifier, {},
         [](RecordPages &w, OwnDocuments &) {
             EXPECT_EQ(w.windows(), QStringList{"mdiAUTOSTART"});
             EXPECT_TRUE(w.frm->menuItem("mnuDATEI")->isEnabled());
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OwnDocuments docs;
        RecordPages w;
        ASSERT_EQ(QApplication::focusWidget(), w.seite1);
        {
            Boxes boxes;
            if (c.expect)
                c.expect(boxes);
            QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        c.check(w, docs);
        if (auto *chooser = w.frm->findChild<frmANZEIGEN *>())
            chooser->close();
    }
}

// The restore button of a page's frame leaves a window to work with: the page keeps a usable
// size inside the area, with its title bar, rather than shrinking to a bare title bar.
TEST(PageWindows, ARestoredPageKeepsAUsableSizeInsideTheArea)
{
    RecordPages w;
    QMdiArea *area = w.frm->mdiArea();
    for (ResultPage *page : {w.seite1, w.seite2}) {
        SCOPED_TRACE(page->objectName().toStdString());
        activatePage(area, pageFrame(page));
        QCoreApplication::processEvents();
        QMdiSubWindow *sub = pageFrame(page);
        ASSERT_TRUE(sub->isMaximized());
        sub->showNormal();   // what the frame's restore button does
        QCoreApplication::processEvents();
        const QRect room = area->viewport()->rect();
        EXPECT_TRUE(room.contains(sub->geometry())) << sub->geometry().width() << "x" << sub->geometry().height();
        EXPECT_GE(page->height(), room.height() / 2) << "restored to " << page->width() << "x" << page->height();
        EXPECT_GE(page->width(), room.width() / 2);
        EXPECT_TRUE(page->isVisible());
        EXPECT_TRUE(keepShot(shotOf(*w.frm), "page-restored-" + page->objectName()));
    }
}

// Restored, the main window stands wholly on the screen, with room above it for its title bar.
TEST(PageWindows, ARestoredMainWindowStaysOnTheScreen)
{
    PageWindow w;
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.frm->isMaximized());
    w.frm->showNormal();
    QCoreApplication::processEvents();
    const QRect screen = w.frm->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frm->frameGeometry()));
    EXPECT_GT(w.frm->geometry().top(), screen.top()) << "no room for the title bar";
}

// The left button on the page's background opens the layout dialog; the other buttons there
// do nothing.
TEST(PageWindows, OnlyTheLeftButtonOnThePageBackgroundOpensTheLayoutDialog)
{
    RecordPages w;
    const QPoint beside(4, w.seite1->height() / 2);   // left of every figure
    QWidget *under = w.seite1->childAt(beside);
    ASSERT_EQ(under, w.seite1->pageSurface());
    const QPoint at = under->mapFrom(w.seite1, beside);
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        Boxes none;
        QTest::mouseClick(under, b, Qt::NoModifier, at);
    }
    Boxes boxes;
    boxes.modal([](QDialog &d) {
        EXPECT_EQ(d.objectName(), "frmKONTEXT");
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(under, Qt::LeftButton, Qt::NoModifier, at);
}

namespace {

// Whether the widget's picture changes when it loses the keyboard focus: a control that shows
// its focus draws it.
bool drawsItsFocus(QWidget *w)
{
    const QImage focused = w->grab().toImage();
    w->clearFocus();
    QCoreApplication::processEvents();
    const QImage without = w->grab().toImage();
    w->setFocus(Qt::OtherFocusReason);
    return focused != without;
}

} // namespace

// The layout dialog opens with its first switch in the keyboard's hand and shows it; its colour
// dialog opens over it, not in a corner of the screen.
TEST(PageWindows, LayoutDialogShowsTheFocusAndOpensItsColourDialogOverItself)
{
    RecordPages w;
    frmKONTEXT dlg(*w.frm, w.seite1, w.frm.get());
    dlg.SCHALTERANZEIGEN();
    dlg.show();
    dlg.activateWindow();
    QCoreApplication::processEvents();
    QWidget *focus = QApplication::focusWidget();
    ASSERT_EQ(focus, dlg.chkBOKF);
    EXPECT_TRUE(drawsItsFocus(focus));
    QTest::keyClick(focus, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dlg.chkBOKFS);
    EXPECT_TRUE(drawsItsFocus(dlg.chkBOKFS));

    QRect colourDialog;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || !d->inherits("QColorDialog"))
            return;
        poll.stop();
        colourDialog = d->frameGeometry();
        d->reject();
    });
    poll.start();
    QTest::mouseClick(dlg.cmdFARBEN[0], Qt::LeftButton);
    ASSERT_TRUE(colourDialog.isValid());
    EXPECT_TRUE(dlg.frameGeometry().contains(colourDialog.topLeft())) << "pushed to the screen's edge";
    EXPECT_TRUE(colourDialog.contains(dlg.frameGeometry().center()))
        << colourDialog.x() << "," << colourDialog.y() << " " << colourDialog.width() << "x" << colourDialog.height();
}

// The record selection dialog opens with the keyboard on OK, where its tab order starts.
TEST(PageWindows, RecordSelectionOpensWithTheFocusOnOk)
{
    PageWindow w("INSERT INTO E1 VALUES (1,'P1','',1),(2,'P2','',0);");
    Boxes none;
    w.frm->setTag("A");
    frmAUSWAHL d(*w.frm, w.frm.get());
    d.show();
    d.activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), d.cmdOK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.cmdABBRECHEN);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.lstKEN);
    d.close();
}
