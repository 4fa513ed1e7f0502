// The record commands as the main window runs them: New from the File menu, Ctrl+S in the
// input window pressing panel 8, and the menus and panels of the input state.
#include "frame/FrameFixture.h"
#include "input/mdiEINGABE.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>

using namespace vnt;
using namespace vnt::test;

namespace {

QString fileText(const char *name)
{
    QFile f(QString::fromLocal8Bit(qgetenv("VANTREL_SCHEMA_DIR")) + QLatin1Char('/') + QLatin1String(name));
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

} // namespace

TEST(MainWindowRecords, NewSavedWithCtrlSBecomesTheOnlyActiveRecord)
{
    Installation inst;
    sql(inst.projectDb(), QStringLiteral("DROP TABLE E1;") + fileText("project.sql")
                              + QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (0, 'M', 0), (6, 'ALT', 1);"));
    sql(inst.daten + QStringLiteral("/VORGABE.mdb"), QStringLiteral("DROP TABLE VANT_V11;") + fileText("presets.sql"));
    Boxes boxes;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));

    frm.menuItem(QStringLiteral("mnuNEU"))->trigger();
    mdiEINGABE *w = inputWindow(frm.mdiArea());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(frm.panel(8)->isVisibleTo(&frm));
    EXPECT_TRUE(frm.panel(9)->isVisibleTo(&frm));
    EXPECT_EQ(frm.panel(6)->text(), "-");
    for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        EXPECT_FALSE(frm.menuItem(QString::fromLatin1(m))->isEnabled()) << m;

    w->txtKEN->setText(QStringLiteral("NEU"));
    QKeyEvent save(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::sendEvent(w->txtKEN, &save);

    EXPECT_EQ(inputWindow(frm.mdiArea()), nullptr);
    EXPECT_EQ(scalar(inst.working(), QStringLiteral("SELECT group_concat(ID || ':' || KEN) FROM E1 WHERE AKT=1")), "7:NEU");
    EXPECT_EQ(frm.panel(6)->text(), "NEU");
    EXPECT_TRUE(frm.GEAENDERT());
    EXPECT_FALSE(frm.panel(8)->isVisibleTo(&frm));
    for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        EXPECT_TRUE(frm.menuItem(QString::fromLatin1(m))->isEnabled()) << m;
    frm.setGEAENDERT(false);
}
