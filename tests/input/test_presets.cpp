// The preset editor: loading the six tables, editing, and saving them whole or not at all.
#include "common/DbDump.h"
#include "common/SchemaDb.h"
#include "common/Shots.h"
#include "common/TestSupport.h"
#include "input/frmVVORGABEN.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace vnt;
using namespace vnt::test;

namespace {

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

class Presets {
public:
    Presets()
    {
        ctx.cnnV = makePresetDatabase(dir.path() + "/VORGABE.mdb");
        ctx.cnnV->Execute(
            "INSERT INTO VANT_V11 VALUES (0,'LB 20','Drehbohrgerät',120.5),(1,'LB 28',NULL,150),(2,'BG 40','groß',210);"
            "INSERT INTO VANT_V2 VALUES (0,'GR','Granit',150,100,200,30,20,40,4.5,4,5);"
            "INSERT INTO VANT_V3 VALUES (0,'K1','Standard',45,0,1,1.1,1.2);");
        ctx.cnn = makeEmptyDatabase(dir.path() + "/VANT.mdb");
        ctx.cnn->Execute("CREATE TABLE E1 (ID INTEGER, KEN TEXT, KOM TEXT, AKT BOOLEAN)");
        ctx.programpfad = dir.path() + "/VANT";
    }

    // The rows of a query on the preset database.
    QString dump(const QString &sql) const { return vnt::test::dump(ctx.cnnV, sql); }
    QString table(int n) const
    {
        return dump("SELECT * FROM [" + frmVVORGABEN::tableName(n) + "] ORDER BY [" + frmVVORGABEN::columns(n)[0] + "]");
    }
    QStringList allTables() const
    {
        QStringList l;
        for (int n = 0; n < frmVVORGABEN::kTabs; ++n)
            l << table(n);
        return l;
    }

    QTemporaryDir dir;
    SimpleRunContext ctx;
};

// An open editor, shown offscreen.
struct Editor {
    explicit Editor(Presets &p) : dlg(p.ctx) { dlg.show(); }
    QString cell(int n, int r, int c) const { return dlg.msgFLX(n)->TextMatrix(r, c); }
    void key(QWidget *w, Qt::Key key, const QString &text, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(w, &e);
    }
    frmVVORGABEN dlg;
};

} // namespace

TEST(Presets, LoadShowsEveryTableAndDisablesEmptyOnes)
{
    Presets p;
    Editor e(p);
    EXPECT_EQ(e.dlg.windowTitle(), "Vorgabewerte");
    ASSERT_EQ(e.dlg.SSTab()->count(), 6);
    EXPECT_EQ(e.dlg.SSTab()->tabText(4), "Gesteinsbezeichnungen");
    EXPECT_EQ(e.dlg.msgFLX(0)->Rows(), 4);
    EXPECT_EQ(e.cell(0, 2, 1), "LB 28");
    EXPECT_EQ(e.cell(0, 2, 2), "");
    EXPECT_EQ(e.dlg.msgFLX(4)->Cols(), 12);
    EXPECT_EQ(e.cell(4, 1, 11), "5");
    EXPECT_TRUE(e.dlg.msgFLX(0)->isEnabled());
    EXPECT_FALSE(e.dlg.msgFLX(1)->isEnabled());   // an empty table
    EXPECT_EQ(e.dlg.msgFLX(1)->Rows(), 2);
}

TEST(Presets, RoundTripAndRowCounts)
{
    Presets p;
    {
        Editor e(p);
        // Remove the middle carrier rig: the rest are renumbered and the highest number goes.
        e.dlg.msgFLX(0)->setRow(2);
        e.dlg.cmdW_Click(0);
        e.dlg.msgFLX(0)->setTextMatrix(2, 3, " 99,5 ");
        // Enable the empty casings table with one row and fill it.
        e.dlg.cmdH_Click(1);
        EXPECT_TRUE(e.dlg.msgFLX(1)->isEnabled());
        EXPECT_EQ(e.cell(1, 1, 0), "0");
        e.dlg.msgFLX(1)->setTextMatrix(1, 1, "V1");
        // Remove the only unit-cost set: its grid is disabled and its table emptied.
        e.dlg.cmdW_Click(5);
        EXPECT_FALSE(e.dlg.msgFLX(5)->isEnabled());
        e.dlg.msgFLX(4)->setTextMatrix(1, 4, "");   // an empty rock value stays empty
        Boxes none;
        e.dlg.cmdOK()->click();
        EXPECT_EQ(e.dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(p.ctx.tag, "OK");
    EXPECT_EQ(p.table(0), "0;LB 20;Drehbohrgerät;120,5|1;BG 40;groß;99,5");
    EXPECT_EQ(p.table(1), "0;V1;Null;Null");
    EXPECT_EQ(p.table(4), "0;GR;Granit;150;Null;200;30;20;40;4,5;4;5");
    EXPECT_EQ(p.table(5), "");

    // Reopened, the editor shows what was saved.
    Editor again(p);
    EXPECT_EQ(again.dlg.msgFLX(0)->Rows(), 3);
    EXPECT_EQ(again.cell(0, 2, 1), "BG 40");
    EXPECT_EQ(again.cell(0, 2, 3), "99,5");
    EXPECT_EQ(again.cell(1, 1, 1), "V1");
    EXPECT_FALSE(again.dlg.msgFLX(5)->isEnabled());
}

TEST(Presets, CancelAndEscWriteNothing)
{
    Presets p;
    const QStringList before = p.allTables();
    Editor e(p);
    e.dlg.msgFLX(0)->setTextMatrix(1, 1, "geändert");
    e.dlg.msgFLX(0)->setFocus();
    e.key(e.dlg.msgFLX(0), Qt::Key_Escape, {});
    EXPECT_EQ(p.ctx.panelClicks, QList<int>({9}));
    EXPECT_TRUE(e.dlg.isVisible());   // Esc leaves the editor open
    int quits = 0, helps = 0;
    e.dlg.onQuit = [&] { ++quits; };
    e.dlg.onHelp = [&] { ++helps; };
    e.key(e.dlg.msgFLX(0), Qt::Key_Q, "q", Qt::AltModifier);
    e.key(e.dlg.cmdOK(), Qt::Key_F1, {});
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(helps, 1);
    EXPECT_EQ(e.cell(0, 1, 1), "geändert");   // neither key reached the grid
    e.dlg.cmdABBRECHEN()->click();
    EXPECT_EQ(e.dlg.result(), QDialog::Rejected);
    EXPECT_EQ(p.allTables(), before);
    EXPECT_EQ(p.ctx.tag, "");
}

TEST(Presets, OpenCellEditorIsSavedAndKeypadTypesTheDecimalSign)
{
    Presets p;
    Editor e(p);
    GridControl *grid = e.dlg.msgFLX(0);
    grid->setRow(1);
    grid->setCol(3);
    grid->setFocus();
    e.key(grid, Qt::Key_1, "1");
    e.key(e.dlg.txtFLX(0), Qt::Key_Period, ".", Qt::KeypadModifier);
    e.key(e.dlg.txtFLX(0), Qt::Key_5, "5");
    EXPECT_EQ(e.dlg.txtFLX(0)->text(), "1,5");
    EXPECT_TRUE(e.dlg.txtFLX(0)->isVisible());   // still open when OK is pressed
    Boxes none;
    e.dlg.cmdOK()->click();
    EXPECT_EQ(p.dump("SELECT EKT FROM VANT_V11 WHERE IDT=0"), "1,5");   // 1.5, shown under the German locale

    // Under a locale with a decimal point the key stays a point.
    Presets q;
    q.ctx.dezimalpunkt = ".";
    Editor f(q);
    f.dlg.msgFLX(0)->setFocus();
    f.key(f.dlg.msgFLX(0), Qt::Key_Comma, ",", Qt::KeypadModifier);
    EXPECT_EQ(f.dlg.txtFLX(0)->text(), ".");
}

TEST(Presets, AFailedValueLeavesEveryTableAsItWas)
{
    Presets p;
    const QStringList before = p.allTables();
    Editor e(p);
    e.dlg.msgFLX(0)->setTextMatrix(1, 1, "neu");        // would be written first
    e.dlg.msgFLX(4)->setTextMatrix(1, 3, "hart");      // no number for SICQ
    e.dlg.msgFLX(5)->setTextMatrix(1, 1, "K2");        // would be written after the failure
    Boxes boxes;
    boxes.answer(ui::vbOK).answer(ui::vbOK);
    e.dlg.cmdOK()->click();
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].title, "Datenfehler");
    EXPECT_EQ(boxes.records()[1].text, "Die Vorgabewerte wurden nicht gespeichert; keine Tabelle wurde geändert.");
    EXPECT_EQ(p.allTables(), before);
    EXPECT_TRUE(e.dlg.isVisible());
    EXPECT_EQ(e.dlg.result(), 0);
    EXPECT_EQ(e.cell(4, 1, 3), "hart");   // the user can mend the value and save again

    e.dlg.msgFLX(4)->setTextMatrix(1, 3, "160");
    e.dlg.cmdOK()->click();
    EXPECT_EQ(p.dump("SELECT KENT FROM VANT_V11 WHERE IDT=0"), "neu");
    EXPECT_EQ(p.dump("SELECT SICQ, KENK FROM VANT_V2, VANT_V3"), "160;K2");
}

// The grids are wider than their window: whichever column the user scrolls to, it is seen
// whole beside the running number and the key of its row, also with a vertical scroll bar.
TEST(Presets, EveryColumnCanBeSeenWithItsKey)
{
    Presets p;
    Editor e(p);
    for (int n = 0; n < frmVVORGABEN::kTabs; ++n) {
        SCOPED_TRACE(frmVVORGABEN::tableName(n).toStdString());
        e.dlg.SSTab()->setCurrentIndex(n);
        GridControl *g = e.dlg.msgFLX(n);
        g->setRows(40);
        QApplication::processEvents();
        auto whole = [&](int c) {
            const int x = g->columnViewportPosition(c);
            return !g->isColumnHidden(c) && x >= 0 && x + g->columnWidth(c) <= g->viewport()->width();
        };
        QSet<int> seen;
        for (int left = 0; left < g->Cols(); ++left) {
            g->setLeftCol(left);
            QApplication::processEvents();
            ASSERT_TRUE(whole(0) && whole(1)) << "scrolled to " << left;
            for (int c = 2; c < g->Cols(); ++c)
                if (whole(c))
                    seen.insert(c);
        }
        for (int c = 2; c < g->Cols(); ++c)
            EXPECT_TRUE(seen.contains(c)) << frmVVORGABEN::columns(n)[c].toStdString();
        // the key stays a cell the user can make current and edit
        g->setLeftCol(g->Cols() - 1);
        g->setRow(1);
        g->setCol(1);
        EXPECT_EQ(g->Col(), 1);
    }
}

// The editor as the user sees it; VANTREL_SCREENSHOTS names a folder to keep the picture in.
TEST(Presets, RendersOffscreen)
{
    Presets p;
    Editor e(p);
    // Each grid lies wholly on its page, or its lower edge and scroll bar would be cut off.
    for (int n = 0; n < frmVVORGABEN::kTabs; ++n) {
        e.dlg.SSTab()->setCurrentIndex(n);
        QApplication::processEvents();
        QWidget *grid = e.dlg.msgFLX(n), *page = e.dlg.SSTab()->widget(n);
        EXPECT_TRUE(page->rect().contains(QRect(grid->mapTo(page, QPoint(0, 0)), grid->size()))) << n;
    }
    // The rock page: the value typed, both lines of its column's header, and the scroll bar of
    // a grid wider than its page are drawn.
    e.dlg.SSTab()->setCurrentIndex(4);
    GridControl &rocks = *e.dlg.msgFLX(4);
    rocks.setTextMatrix(1, 3, "150,000");
    QApplication::processEvents();   // the scroll bars are laid out by the event loop
    const QImage shot = shotOf(e.dlg);
    EXPECT_TRUE(keepShot(shot, "presets-rocks-shot"));
    auto cell = [&](int row, int col) { return inWindow(e.dlg, rocks, rocks.cellRect(row, col).adjusted(2, 2, -2, -2)); };
    EXPECT_GT(inkIn(shot, cell(1, 3)), 20);
    const QRect header = cell(0, 3);
    EXPECT_GT(inkIn(shot, header.adjusted(0, 0, 0, -header.height() / 2)), 10);
    EXPECT_GT(inkIn(shot, header.adjusted(0, header.height() / 2, 0, 0)), 10);
    const QScrollBar *bar = nullptr;
    for (const QScrollBar *b : rocks.findChildren<QScrollBar *>())
        if (b->orientation() == Qt::Horizontal && b->isVisible())
            bar = b;
    ASSERT_NE(bar, nullptr);
    EXPECT_GT(inkIn(shot, inWindow(e.dlg, *bar, bar->rect())), 20);
    e.dlg.SSTab()->setCurrentIndex(0);
    EXPECT_TRUE(keepShot(shotOf(e.dlg), "presets-shot"));
}
