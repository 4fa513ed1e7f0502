// The first multiple-evaluation page: its data, its figures on the recording surface, the
// gross/net choice, and the faults of its load that were mended.
#include "MSeite1Fixture.h"

#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"

#include "platform/printer.h"

#include <QCoreApplication>
#include <QImage>

using namespace vnt;
using namespace vnt::test;

namespace {

QString keyCell(const CellArray &a, int col, int row)
{
    const Variant &v = a.at(col, row);
    return v.isEmpty() ? QStringLiteral("<empty>") : v.text();
}

} // namespace

TEST_F(MSeite1Test, LoadShowsTheStoredSumsOfEveryCombination)
{
    auto page = load();
    const multiple::PageSums &D = page->daten();
    ASSERT_EQ(D.NKOMB(), 2);
    EXPECT_EQ(D.found(), std::vector<bool>({true, true, false}));
    EXPECT_EQ(D.depths(), std::vector<double>({40, 60, 60}));
    EXPECT_FLOAT_EQ(D.sums[0].SBRZ, 15);
    EXPECT_FLOAT_EQ(D.sums[0].SNTPH, 26);
    EXPECT_FLOAT_EQ(D.sums[1].SBRKT, 800);
    EXPECT_FLOAT_EQ(D.sums[1].SBRKP, 1200);
    EXPECT_EQ(rows("SELECT I1, BOKOMB+0, SDEZ, SBRZ FROM M3 ORDER BY I1"), "0;1;40;15|1;1;60;20|2;0;60;0");

    EXPECT_EQ(keyCell(D.KOMBTAB, 0, 2), "2");
    EXPECT_EQ(keyCell(D.KOMBTAB, 1, 1), "KI");
    EXPECT_EQ(keyCell(D.KOMBTAB, 2, 1), "<empty>");   // a Null key matches any value
    EXPECT_EQ(page->DSKEN(), QStringList({"A", "B"}));
    EXPECT_EQ(page->KOM(), "Los 3");
    EXPECT_FALSE(page->BONEU);
    // The recalculation mark made the figures write their default frames.
    EXPECT_EQ(rows("SELECT IDOBJEKT, RL, RR, RO, RU FROM G0 WHERE ID=0 AND IDOBJEKT IN (110, 120, 160) ORDER BY IDOBJEKT"),
              "110;10;11;7;11|120;10;5;7;11|160;0;0;0;0");
    EXPECT_EQ(ctx.progressValue, 68);
}

// For looking at the page: with VANTREL_LOOK_DIR naming a folder, the page on screen and its
// printed sheet are kept there.
TEST_F(MSeite1Test, Look)
{
    const QString out = qEnvironmentVariable("VANTREL_LOOK_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "VANTREL_LOOK_DIR not set";
    auto page = load();
    page->resize(1400, 990);
    page->show();
    QCoreApplication::processEvents();
    page->KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);
    page->grab().save(out + "/mseite1.png");
    Printer::instance().setPdfFile(out + "/mseite1.pdf");
    page->DRUCKEN();
}
