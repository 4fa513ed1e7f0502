// Rows inserted and removed along chained grids, column tooltips and the row filter.
#include "GridFixture.h"
#include "common/TestSupport.h"
#include <QApplication>

using namespace vnt;
using namespace vnt::test;

namespace {
struct Chain {
    GridWindow g[4];
    Chain()
    {
        for (auto &w : g)
            w.flx->setELSTYP(ints({1, 0, 0, 0, 0}));
        for (int i = 0; i < 3; ++i)
            g[i].flx->setEFLXK(g[i + 1].flx);
    }
};
} // namespace

TEST(GridRows, InsertRepeatsForwardAlongTheChain)
{
    Chain ch;
    for (auto &w : ch.g) {
        w.grid->setRows(4);
        w.flx->NUMMERIEREN();
        w.grid->setTextMatrix(1, 1, "erste");
        w.select(1, 1);
    }
    ch.g[0].flx->ZEILEEINFUEGEN();
    for (auto &w : ch.g) {
        EXPECT_EQ(w.grid->Rows(), 5);
        EXPECT_EQ(w.cell(1, 1), "");        // the new row takes the current row's place
        EXPECT_EQ(w.cell(2, 1), "erste");
        EXPECT_EQ(w.cell(4, 0), "3");       // renumbered
    }
    ch.g[2].flx->ZEILEEINFUEGEN();
    EXPECT_EQ(ch.g[0].grid->Rows(), 5);
    EXPECT_EQ(ch.g[1].grid->Rows(), 5);
    EXPECT_EQ(ch.g[2].grid->Rows(), 6);
    EXPECT_EQ(ch.g[3].grid->Rows(), 6);
}

TEST(GridRows, RemovingTheOnlyRowEmptiesAndDisablesAndInsertEnablesWithoutANewRow)
{
    Chain ch;
    ch.g[0].grid->setTextMatrix(1, 2, "x");
    ch.g[0].grid->setRows(2);
    ch.g[1].grid->setRows(3);
    ch.g[1].grid->setTextMatrix(2, 1, "zwei");
    ch.g[1].select(1, 1);

    ch.g[0].flx->ZEILEENTFERNEN();
    EXPECT_EQ(ch.g[0].grid->Rows(), 2);
    EXPECT_EQ(ch.g[0].cell(1, 0), "");      // numbering included
    EXPECT_EQ(ch.g[0].cell(1, 2), "");
    EXPECT_FALSE(ch.g[0].grid->Enabled());
    EXPECT_EQ(ch.g[0].grid->BackColor(), ch.g[0].grid->BackColorFixed());
    EXPECT_EQ(ch.g[1].grid->Rows(), 2);     // the chain removed its current row
    EXPECT_EQ(ch.g[1].cell(1, 1), "zwei");

    ch.g[0].flx->ZEILEEINFUEGEN();
    EXPECT_TRUE(ch.g[0].grid->Enabled());
    EXPECT_EQ(ch.g[0].grid->Rows(), 2);
    EXPECT_EQ(ch.g[0].cell(1, 0), "0");
    EXPECT_EQ(ch.g[0].grid->BackColor(), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(ch.g[1].grid->Rows(), 3);     // enabled grids further on gain a row
}

TEST(GridRows, UnchainedObjectEndsTheChain)
{
    GridWindow a(2), b(2);
    a.flx->ZEILEEINFUEGEN();
    EXPECT_EQ(a.grid->Rows(), 3);
    EXPECT_EQ(b.grid->Rows(), 2);
    a.flx->EFLXK();   // an unbound chained object does not count either
    a.flx->ZEILEENTFERNEN();
    EXPECT_EQ(a.grid->Rows(), 2);
}

TEST(GridRows, TooltipFollowsTheVisibleColumns)
{
    GridWindow gw(6, QSize(300, 200));
    gw.flx->setELSB(ints({10, 20, 20, 20, 20, 20}));
    gw.flx->setELSTYP(ints({1, 0, 0, 0, 0, 0}));
    gw.flx->setELSTTT(FlexValue::texts({"t0", "t1", "t2", "t3", "t4", "t5"}));
    const int w0 = gw.grid->ColWidth(0), w1 = gw.grid->ColWidth(1);
    gw.flx->TOOLTIP(float(w0 - 1), 0);
    EXPECT_EQ(gw.grid->toolTip(), "t0");
    EXPECT_EQ(gw.pic->toolTip(), "t0");
    gw.flx->TOOLTIP(float(w0), 0);          // on the boundary: the next column
    EXPECT_EQ(gw.grid->toolTip(), "t1");
    gw.flx->TOOLTIP(float(w0 + w1 + 10), 0);
    EXPECT_EQ(gw.grid->toolTip(), "t2");

    gw.grid->setLeftCol(3);                 // columns 1 and 2 scrolled out
    gw.flx->TOOLTIP(float(w0 + 10), 0);
    EXPECT_EQ(gw.grid->toolTip(), "t3");
    gw.flx->TOOLTIP(1e6f, 0);
    EXPECT_EQ(gw.grid->toolTip(), "");
    EXPECT_EQ(gw.pic->toolTip(), "");
}

TEST(GridRows, RowFilterKeepsEveryStepthRow)
{
    GridWindow gw(2);
    gw.grid->setRows(102);
    for (int r = 1; r < 102; ++r)
        gw.grid->setTextMatrix(r, 1, QString::number(r));
    Boxes boxes;
    boxes.input("1").input("100").input("Wort").answer(ui::vbOK).input("0").answer(ui::vbOK).input("10");
    gw.flx->ZEILENFILTER();
    ASSERT_EQ(boxes.records().size(), 7u);
    EXPECT_EQ(boxes.records()[0].title, "Zeilenfilter");
    EXPECT_EQ(boxes.records()[3].title, "MSFlexGrid / Zeilenfilter");
    EXPECT_EQ(boxes.records()[3].text, "Ungültige Angabe für die Nummer der letzten Zeile!");
    EXPECT_EQ(gw.grid->Rows(), 1 + 11);     // row 101 lies outside the range
    QStringList kept;
    for (int r = 1; r < gw.grid->Rows(); ++r)
        kept << gw.cell(r, 1);
    EXPECT_EQ(kept.join(','), "10,20,30,40,50,60,70,80,90,100,101");
}

TEST(GridRows, RowFilterCancelledOnTheMessageChangesNothing)
{
    GridWindow gw(2);
    gw.grid->setRows(10);
    Boxes boxes;
    boxes.input("").answer(ui::vbCancel);
    gw.flx->ZEILENFILTER();
    EXPECT_EQ(gw.grid->Rows(), 10);
    EXPECT_EQ(boxes.records()[1].text, "Ungültige Angabe für die Nummer der ersten Zeile!");
}

TEST(GridRows, ChainBackToItselfIsRefused)
{
    GridWindow a(2), b(2);
    a.flx->setEFLXK(b.flx);
    Boxes boxes;
    boxes.answer(ui::vbOK);
    b.flx->setEFLXK(a.flx);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "MSFlexGrid / FLXK");
    a.flx->ZEILEEINFUEGEN();   // ends instead of running round
    EXPECT_EQ(a.grid->Rows(), 3);
    EXPECT_EQ(b.grid->Rows(), 3);
}
