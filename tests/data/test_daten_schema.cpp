// The accessor on the program's real tables: a record saved and opened again the way the input
// window does it, and a preset table rewritten from its editor grid, so that a column type of
// the schema that the accessor cannot serve shows here and not in a later window.
#include "DataFixture.h"
#include "common/ProjectFixture.h"

#include <QComboBox>
#include <QLineEdit>

namespace vnt::test {
namespace {

class RealTables : public ProjectTest<SimpleRunContext> {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        cnn->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'BP-101', true)"));
        ctx.programpfad = QStringLiteral("/opt/korvane/VANT");
    }

    LocaleScope german{QLocale::German};
};

TEST_F(RealTables, RecordSavedAndOpenedAgain)
{
    // The header as typed into the text boxes: dates, decimal commas, an empty optional field.
    struct Field { const char *column; QString typed; QString stored; };
    const std::vector<Field> header = {
        {"KEN", "BP-101", "BP-101"},     {"KOM", "Achse A", "Achse A"}, {"DATUMA", "02.03.2026", "02.03.2026"},
        {"DATUME", "5.3.26", "05.03.2026"}, {"NN", "112,4", "112,4"},     {"ZGW", "", "Null"},
        {"GNTZ", "", "Null"},            {"GBRZ", "48,25", "48,25"},     {"FNE", "0,3", "0,3"},
    };
    clsDATEN e1(ctx);
    ASSERT_EQ(e1.ESPIDW(), 3);
    QLineEdit txt;
    for (const Field &f : header) {
        txt.setText(f.typed);
        ASSERT_TRUE(e1.DFTT(f.column, txt)) << f.column;
        EXPECT_EQ(dump(cnn, QStringLiteral("SELECT [%1] FROM [E1] WHERE [ID]=3").arg(f.column)), f.stored) << f.column;
        txt.setText(QStringLiteral("old"));
        ASSERT_TRUE(e1.DTFT(f.column, txt)) << f.column;
        EXPECT_EQ(txt.text(), f.stored == "Null" ? QString() : f.stored) << f.column;
    }

    // Sections: the numbering column first, then the values; an empty time cell stays Null.
    TestGrid depths(4, 2), times(4, 3);
    depths.setColumn(0, {"0", "1", "2"});
    depths.setColumn(1, {"1,5", "3", "4,75"});
    times.setColumn(0, {"0", "1", "2"});
    times.setColumn(1, {"2,5", "", "3"});
    times.setColumn(2, {"2", "", " 2,25 "});
    clsDATEN e2(ctx), e5(ctx);
    e2.setETABELLE("E2");
    e5.setETABELLE("E5");
    ASSERT_TRUE(e2.DFTF("I2", depths, "0", "I2"));
    ASSERT_TRUE(e2.DFTF("Z", depths, "1", "I2"));
    ASSERT_TRUE(e5.DFTF("I2", times, "0", "I2"));
    ASSERT_TRUE(e5.DFTF("BRZ", times, "1", "I2"));
    ASSERT_TRUE(e5.DFTF("NTZ", times, "2", "I2"));
    EXPECT_EQ(dump(cnn, "SELECT [ID],[I2],[Z] FROM [E2] ORDER BY [I2]"), "3;0;1,5|3;1;3|3;2;4,75");
    EXPECT_EQ(dump(cnn, "SELECT [I2],[BRZ],[NTZ] FROM [E5] ORDER BY [I2]"), "0;2,5;2|1;Null;Null|2;3;2,25");

    Variant brz = Variant(1.0);
    ASSERT_TRUE(e5.DTVV("BRZ", brz, "I2", 1));
    EXPECT_TRUE(brz.isEmpty()) << "a time that was not entered reads as not given";
    int16_t mini = -1, maxi = -1, an = -1;
    e2.INDEX(mini, maxi, an, "I2");
    EXPECT_EQ(std::vector<int>({mini, maxi, an}), std::vector<int>({0, 2, 3}));

    TestGrid opened(2, 3);
    ASSERT_TRUE(e5.DTFF("BRZ", opened, "1", "I2", {}, {}, {}, {}, {}, {}, 0));
    ASSERT_TRUE(e5.DTFFM("NTZ", opened, "2", "I2"));
    EXPECT_EQ(opened.column(1), QStringList({"2,5", "", "3"}));
    EXPECT_EQ(opened.column(2), QStringList({"2", "", "2,25"}));

    // The unit-cost set of the record, chosen from a list the text of which cannot be typed.
    clsDATEN e6(ctx);
    e6.setETABELLE("E6");
    QComboBox cboKENK;
    cboKENK.addItems({"EK-2026", "EK-PAUSCH"});
    cboKENK.setCurrentIndex(1);
    ASSERT_TRUE(e6.DFTMT("KENK", cboKENK));
    cboKENK.setCurrentIndex(0);
    ASSERT_TRUE(e6.DTFMT("KENK", cboKENK));
    EXPECT_EQ(cboKENK.currentText(), "EK-PAUSCH");
}

TEST_F(RealTables, PresetGridRewritesItsTableAndFeedsTheChoiceList)
{
    cnnV->Execute("INSERT INTO VANT_V3 (IDK, KENK, EKP, KENKPG) VALUES (0, 'ALT', 50, 0), (1, 'ALT2', 55, 1),"
                  " (2, 'ALT3', 60, 0)");
    TestGrid grid(3, 5);
    grid.setColumn(0, {"0", "1"});
    grid.setColumn(1, {"EK-2026", "EK-PAUSCH"});
    grid.setColumn(3, {"48,50", "0"});
    grid.setColumn(4, {"0", "1"});
    clsDATEN v3(ctx);
    v3.setEBOV(true);
    v3.setETABELLE("VANT_V3");
    v3.setESPID("");
    for (const auto &[column, col] : std::vector<std::pair<QString, QString>>{
             {"IDK", "0"}, {"KENK", "1"}, {"KOMK", "2"}, {"EKP", "3"}, {"KENKPG", "4"}})
        ASSERT_TRUE(v3.DFTFM(column, grid, col, "IDK")) << column.toStdString();
    EXPECT_EQ(dump(cnnV, "SELECT [IDK],[KENK],[KOMK],[EKP],[KENKPG] FROM [VANT_V3] ORDER BY [IDK]"),
              "0;EK-2026;Null;48,5;0|1;EK-PAUSCH;Null;0;1");

    QComboBox cboKENK;
    ASSERT_TRUE(v3.DTFMM("KENK", cboKENK, "IDK"));
    EXPECT_EQ(cboKENK.count(), 2);
    EXPECT_EQ(cboKENK.itemText(1), "EK-PAUSCH");
    int32_t mini = -1, maxi = -1, an = -1;
    v3.INDEXL(mini, maxi, an, "IDK");
    EXPECT_EQ(std::vector<int32_t>({mini, maxi, an}), std::vector<int32_t>({0, 1, 2}));
}

} // namespace
} // namespace vnt::test
