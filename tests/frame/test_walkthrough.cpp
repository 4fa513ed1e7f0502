// Faults met while working in the real main window: state that the screen showed wrongly
// after a command had ended.
#include "FrameFixture.h"
#include "frame/frmEXPIMP.h"

#include <QAction>

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
