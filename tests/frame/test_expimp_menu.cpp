// The main window's commands that open the export and import dialog and the preset editor.
#include "FrameFixture.h"
#include "frame/frmEXPIMP.h"
#include "input/frmVVORGABEN.h"

#include <QAction>
#include <QPushButton>

using namespace vnt;
using namespace vnt::test;

namespace {

// An installation whose preset database holds every preset table.
void fullPresets(const Installation &inst)
{
    QFile schema(QString::fromLocal8Bit(qgetenv("VANTREL_SCHEMA_DIR")) + "/presets.sql");
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    sql(inst.daten + "/VORGABE.mdb", "DROP TABLE VANT_V11;" + QString::fromUtf8(schema.readAll())
                                          + "INSERT INTO VANT_V11 VALUES (0,'LB 20','Bohrgerät',120);");
}

} // namespace

TEST(ExpImpMenu, PresetEditorMarksTheProjectChangedOnlyWhenSaved)
{
    for (const bool save : {true, false}) {
        Installation inst;
        fullPresets(inst);
        frmMAIN frm;
        {
            Boxes none;
            ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        }
        frm.setTag("OK");   // left over from an earlier dialog
        Boxes boxes;
        boxes.modal([&](QDialog &d) {
            auto &editor = dynamic_cast<frmVVORGABEN &>(d);
            EXPECT_EQ(editor.msgFLX(0)->TextMatrix(1, 1), "LB 20");
            editor.msgFLX(0)->setTextMatrix(1, 1, "LB 22");
            (save ? editor.cmdOK() : editor.cmdABBRECHEN())->click();
            return d.result();
        });
        frm.menuItem("mnuVVORGABEN")->trigger();
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].text, "frmVVORGABEN");
        EXPECT_EQ(frm.GEAENDERT(), save);
        EXPECT_EQ(scalar(inst.daten + "/VORGABE.mdb", "SELECT KENT FROM VANT_V11"), save ? "LB 22" : "LB 20");
    }
}

TEST(ExpImpMenu, ExportImportDisablesTheMenusWhileOpen)
{
    Installation inst;
    frmMAIN frm;
    {
        Boxes none;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    }
    frm.setTag("OK");
    Boxes boxes;
    boxes.modal([&](QDialog &d) {
        EXPECT_NE(dynamic_cast<frmEXPIMP *>(&d), nullptr);
        for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
            EXPECT_FALSE(frm.menuItem(m)->isEnabled()) << m;
        d.reject();
        return d.result();
    });
    frm.menuItem("mnuEXPIMP")->trigger();
    EXPECT_FALSE(frm.GEAENDERT());   // nothing was imported
    for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        EXPECT_TRUE(frm.menuItem(m)->isEnabled()) << m;
}
