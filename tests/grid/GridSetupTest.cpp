// Binding a grid, its per-column lists and numbering.
#include "GridFixture.h"
#include "common/TestSupport.h"

using namespace vnt;
using namespace vnt::test;

TEST(GridSetup, BindingGivesTheInitialState)
{
    QWidget w;
    auto *grid = new GridControl(&w);
    grid->setCols(5);
    grid->setRows(3);
    clsFLX flx;
    flx.setEFLX(grid);

    EXPECT_EQ(grid->Cols(), 5);
    EXPECT_EQ(grid->Rows(), 2);   // header row and one empty data row
    EXPECT_EQ(grid->FixedCols(), 0);
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(grid->ColWidth(c), 850) << c;   // 15 mm
        EXPECT_EQ(grid->TextMatrix(0, c), QString("I%1").arg(c + 1));
        EXPECT_EQ(flx.ELSTTT().at(c).text(), QString("SpaltenNr.%1").arg(c + 1));
        EXPECT_EQ(grid->colAlignment(c) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }
    EXPECT_EQ(flx.EDET(), -1);
    EXPECT_EQ(flx.EDETE(), "mm");
    EXPECT_EQ(flx.EBOH(), -1);
    EXPECT_EQ(grid->font().family(), "Liberation Sans");
    EXPECT_EQ(grid->font().pointSize(), 11);
    EXPECT_FALSE(grid->font().bold());
    EXPECT_EQ(grid->ForeColor(), QColor(Qt::black));
}

TEST(GridSetup, WidthListResetsHeadersAndLongerListsAreCutToTheColumns)
{
    GridWindow gw(9);
    QList<FlexValue> nine;
    for (int i = 0; i < 9; ++i)
        nine << FlexValue(QString("H%1").arg(i));
    gw.flx->setELST1(FlexValue::list(nine));
    gw.flx->setELSB(ints({10, 10, 10, 10, 10, 10, 10, 10}));
    ASSERT_EQ(gw.grid->Cols(), 8);
    EXPECT_EQ(gw.cell(0, 7), "I8");
    gw.flx->setELST1(FlexValue::list(nine));
    EXPECT_EQ(gw.cell(0, 7), "H7");
    EXPECT_EQ(gw.flx->ELST1().ubound(), 8);   // stored as given
}

TEST(GridSetup, ShortListsShowOneBoxPerMissingEntry)
{
    GridWindow gw(4);
    Boxes boxes;
    boxes.answer(ui::vbOK).answer(ui::vbOK);
    gw.flx->setELST1(FlexValue::texts({"a", "b"}));
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].title, "MSFlexGrid / LST1");
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Error: 9"));
    EXPECT_EQ(gw.cell(0, 1), "b");
}

TEST(GridSetup, WidthListThatIsNoArrayKeepsTheColumns)
{
    GridWindow gw(3);
    Boxes boxes;
    // the column count step, then one box for each width of the three columns
    boxes.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    gw.flx->setELSB(FlexValue(15));
    EXPECT_EQ(gw.grid->Cols(), 3);
    EXPECT_EQ(gw.grid->ColWidth(0), 1134);   // 20 mm as before
    for (const auto &r : boxes.records())
        EXPECT_EQ(r.title, "MSFlexGrid / LSB");
}

TEST(GridSetup, TypesDecideTheFixedColumnsAndRenumber)
{
    struct Case { std::initializer_list<int> types; int fixed; };
    const Case cases[] = {{{1, 0, 7}, 1}, {{0, 1, 0}, 1}, {{1, 2, 0}, 2}, {{1, 2, 3}, 3}, {{0, 0, 7}, 0}, {{2, 0, 0}, 0}};
    for (const Case &c : cases) {
        GridWindow gw(3);
        gw.grid->setRows(4);
        gw.flx->setELSTYP(ints(c.types));
        EXPECT_EQ(gw.grid->FixedCols(), c.fixed);
        EXPECT_EQ(gw.grid->Rows(), 4);
    }
    GridWindow gw(3);
    gw.grid->setRows(4);
    gw.flx->setELSTYP(ints({1, 0, 0}));
    EXPECT_EQ(gw.cell(1, 0), "0");
    EXPECT_EQ(gw.cell(3, 0), "2");
}

TEST(GridSetup, AlignmentEntryOutsideTheCodesKeepsTheColumn)
{
    GridWindow gw(3);
    gw.flx->setELA(ints({0, 1, 5}));
    EXPECT_EQ(gw.grid->colAlignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(gw.grid->colAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(gw.grid->colAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST(GridSetup, NumberingEndsSetTheRowCountByTheirForm)
{
    GridWindow gw(3);
    gw.flx->setELSTYP(ints({1, 2, 0}));
    gw.flx->setELINDEXMAX(FlexValue(4));
    EXPECT_EQ(gw.grid->Rows(), 1 + 5);
    gw.flx->setELINDEXMAX(ints({2, 3}));
    EXPECT_EQ(gw.grid->Rows(), 1 + 12);
    gw.flx->setELINDEXMAX(FlexValue(Variant(int32_t(4))));
    EXPECT_EQ(gw.grid->Rows(), 1 + 12);
    EXPECT_EQ(gw.flx->ELINDEXMAX().scalar().type(), VarType::Long);
    gw.flx->setELINDEXMAX(FlexValue());
    EXPECT_EQ(gw.grid->Rows(), 2);
}

TEST(GridSetup, NumberingOnOneTwoAndThreeLevels)
{
    auto column = [](GridWindow &gw, int col) {
        QStringList l;
        for (int r = 1; r < gw.grid->Rows(); ++r)
            l << gw.cell(r, col);
        return l.join(',');
    };
    {
        GridWindow gw(2);
        gw.grid->setRows(6);
        gw.flx->setELSTYP(ints({1, 0}));
        EXPECT_EQ(column(gw, 0), "0,1,2,3,4");
    }
    {
        GridWindow gw(3);
        gw.flx->setELSTYP(ints({1, 2, 0}));
        gw.flx->setELINDEXMIN(ints({1, 1}));
        gw.flx->setELINDEXMAX(FlexValue(3));   // three rows per level-1 number
        gw.grid->setRows(8);
        gw.flx->NUMMERIEREN();
        EXPECT_EQ(column(gw, 0), "1,1,1,2,2,2,3");
        EXPECT_EQ(column(gw, 1), "1,2,3,1,2,3,1");
    }
    {
        GridWindow gw(4);
        gw.flx->setELSTYP(ints({1, 2, 3, 0}));
        gw.flx->setELINDEXMIN(ints({0, 0, 1}));
        gw.flx->setELINDEXMAX(ints({1, 2}));   // 2 x 2 rows
        EXPECT_EQ(gw.grid->Rows(), 5);
        gw.grid->setRows(7);
        gw.flx->NUMMERIEREN();
        EXPECT_EQ(column(gw, 0), "0,0,0,0,1,1");
        EXPECT_EQ(column(gw, 1), "0,0,1,1,0,0");
        EXPECT_EQ(column(gw, 2), "1,2,1,2,1,2");
    }
    {
        GridWindow gw(2);
        gw.flx->setELSTYP(ints({1, 0}));
        gw.flx->setELINDEXMIN(FlexValue::list({FlexValue(7)}));   // one entry: not a form it takes
        EXPECT_EQ(gw.cell(1, 0), "0");
    }
}

TEST(GridSetup, NumberBeyondTheSixteenBitRangeReachesTheCaller)
{
    GridWindow gw(2);
    gw.flx->setELSTYP(ints({1, 0}));
    gw.grid->setRows(4);
    Boxes boxes;
    boxes.answer(ui::vbOK);
    gw.flx->setELINDEXMIN(FlexValue(32766));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "MSFlexGrid / LINDEXMIN");
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Error: 6"));
}

TEST(GridSetup, ChainedObjectAndMatrix)
{
    clsFLX flx;
    auto k1 = flx.EFLXK();
    ASSERT_TRUE(k1);
    EXPECT_EQ(k1, flx.EFLXK());
    EXPECT_EQ(k1->EFLX(), nullptr);

    GridWindow gw(6);
    gw.grid->setRows(4);
    QList<FlexValue> rows;
    for (int r = 0; r < 10; ++r) {
        QList<FlexValue> row;
        for (int c = 0; c < 10; ++c)
            row << FlexValue(QString("%1/%2").arg(r).arg(c));
        rows << FlexValue::list(row);
    }
    gw.flx->setEMATRIX(2, 5, FlexValue::list(rows));
    EXPECT_EQ(gw.cell(2, 5), "2/5");
    EXPECT_EQ(gw.flx->EMATRIX(2, 5), "2/5");
}

TEST(GridSetup, ChoiceListOutsideTheColumnsIsRefused)
{
    GridWindow gw(3);
    Boxes boxes;
    boxes.answer(ui::vbOK);
    gw.flx->setELCBO(3, FlexValue::texts({"x"}));
    EXPECT_EQ(boxes.records().at(0).title, "MSFlexGrid / LCBO");
    gw.flx->setELCBO(2, FlexValue::texts({"x", "y"}));
    EXPECT_EQ(gw.flx->ELCBO(2).at(1).text(), "y");
}

TEST(GridSetup, UnboundObjectAnswersWithBoxesNotACrash)
{
    ui::ScriptedBoxes boxes;
    boxes.onUnexpected = [](const QString &) {};
    for (int i = 0; i < 60; ++i)
        boxes.answer(ui::vbOK);   // OK on every box goes on with the next step
    clsFLX flx;
    flx.setEFLX(nullptr);
    flx.SCHRIFTEINSTELLUNGEN("", 9, 0, 0, 0, 0);
    flx.setELSTYP(ints({1, 0}));
    ASSERT_FALSE(boxes.records().empty());
    EXPECT_GT(boxes.pending(), 0);   // every box was answered OK
    EXPECT_EQ(boxes.records().front().title, "MSFlexGrid / FLX");
    EXPECT_TRUE(boxes.records().front().text.startsWith("VB-Error: 91"));
}
