// Faults met while working in the real main window: state that the screen showed wrongly
// after a command had ended.
#include "test_pagecmds_support.h"
#include "frame/PageCommands.h"
#include "frame/RecordCommands.h"
#include "frame/frmAUSWAHL.h"
#include "frame/frmEXPIMP.h"
#include "input/frmVVORGABEN.h"
#include "input/mdiEINGABE.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTabBar>
#include <QCoreApplication>
#include <QFile>
#include <QMdiSubWindow>

using namespace vnt;
using namespace vnt::test;

// Imported records keep their active marks, so panel 6 must name them once the dialog closes;
// a dialog closed without an import leaves the panel as it was.
TEST(FrameWalkthrough, ImportShowsTheImportedActiveRecordsInPanel6)
{
    for (const bool imported : {true, false}) {
        SCOPED_TRACE(imported);
        Installation inst;
        sql(inst.projectDb(), QStringLiteral("INSERT INTO E1 VALUES (1, 'P1', NULL, 1);"));
        frmMAIN frm;
        {
            Boxes none;
            ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        }
        ASSERT_EQ(frm.panel(6)->text(), QStringLiteral("P1"));
        Boxes boxes;
        boxes.modal([&](QDialog &d) {
            // what an import of an active record leaves behind
            frm.cnnX()->Execute(QStringLiteral("INSERT INTO E1 VALUES (2, 'Q1', NULL, 1)"));
            if (imported)
                frm.setTag(QStringLiteral("OK"));
            d.reject();
            return d.result();
        });
        frm.menuItem(QStringLiteral("mnuEXPIMP"))->trigger();
        EXPECT_EQ(frm.GEAENDERT(), imported);
        EXPECT_EQ(frm.panel(6)->text(), imported ? QStringLiteral("P1,...") : QStringLiteral("P1"));
        EXPECT_EQ(frm.panel(6)->toolTip(), imported ? QStringLiteral("P1, Q1") : QString());
    }
}

// Once the result pages are closed no child window is left maximised to pass its state on; the
// input window must still fill the main window, or every field stands somewhere else.
TEST(FrameWalkthrough, InputWindowFillsTheMainWindowAlsoAfterThePagesWereClosed)
{
    PageWindow w;
    withPresetTables(w.inst);
    QStringList printed;
    Boxes none;
    QMdiArea *area = w.frm->mdiArea();
    for (const char *before : {"start window only", "result pages closed"}) {
        SCOPED_TRACE(before);
        w.frm->menuItem(QStringLiteral("mnuNEU"))->trigger();
        mdiEINGABE *e = inputWindow(area);
        ASSERT_TRUE(e);
        auto *sub = qobject_cast<QMdiSubWindow *>(e->parentWidget());
        ASSERT_TRUE(sub);
        EXPECT_TRUE(sub->isMaximized());
        EXPECT_EQ(sub->geometry(), area->viewport()->rect());
        EXPECT_EQ(area->activeSubWindow(), sub);
        w.frm->stbMAIN_PanelClick(9);

        loadPage(*w.frm, standInPages({"mdiSEITE1", "mdiSEITE2"}, &printed), QStringLiteral("mdiSEITE1"));
        activatePage(area, static_cast<QMdiSubWindow *>(w.window(QStringLiteral("mdiSEITE1"))));
        w.frm->stbMAIN_PanelClick(15);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Every text of the main window, its status bar, the record dialog, the input window and the
// preset editor stands in the one family the windows were designed in (Arial, installed as
// Liberation Sans): labels and buttons as well as grids and status panels.
TEST(FrameWalkthrough, WindowTextsShareOneFontFamily)
{
    PageWindow w;
    withPresetTables(w.inst);
    Boxes none;
    w.frm->menuItem(QStringLiteral("mnuNEU"))->trigger();
    frmAUSWAHL dialog(*w.frm, w.frm.get());
    frmVVORGABEN editor(*w.frm, w.frm.get());
    QMap<QString, QStringList> families;   // family -> widgets shown in it
    for (QWidget *top : {static_cast<QWidget *>(w.frm.get()), static_cast<QWidget *>(&dialog), static_cast<QWidget *>(&editor)}) {
        QList<QWidget *> all = top->findChildren<QWidget *>();
        all << top;
        for (QWidget *x : all)
            if (qobject_cast<QLabel *>(x) || qobject_cast<QAbstractButton *>(x) || qobject_cast<QLineEdit *>(x)
                || qobject_cast<QAbstractItemView *>(x) || qobject_cast<QTabBar *>(x) || qobject_cast<QGroupBox *>(x))
                families[QFontInfo(x->font()).family()] << x->metaObject()->className() + QStringLiteral(" ") + x->objectName();
    }
    for (auto it = families.cbegin(); it != families.cend(); ++it)
        EXPECT_EQ(it.key().toStdString(), "Liberation Sans") << it.value().mid(0, 8).join(QStringLiteral(", ")).toStdString();
    w.frm->stbMAIN_PanelClick(9);
}
