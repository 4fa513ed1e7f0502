// Every result page of the demo installation, as the main window shows and prints it: after
// Berechnen of one record (record pages 1 and 2) and after MBerechnen over the active records
// (multiple pages 1 to 4). Each page must look right (see PageLook.h) and draw what its golden
// drawing under tests/golden holds; tests/rewrite-golden.sh rewrites those after an intended
// change. With VANTREL_SCREENSHOTS naming a folder, the window with each page and the printed
// pages are kept there.
#include "common/PageLook.h"
#include "common/QStringPrint.h"
#include "common/Shots.h"
#include "FrameFixture.h"

#include "pages/multiple/frmMVORGABEN.h"
#include "platform/Variant.h"
#include "platform/printer.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QMdiArea>
#include "DemoInstallation.h"

#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

using namespace vnt;
using namespace vnt::test;

namespace {

// The main window on the demo installation, at a fixed size, with the Evaluate menu opened.
struct DemoWindow {
    frmMAIN frm;
    explicit DemoWindow(const DemoInstallation &inst)
    {
        frm.resize(1400, 1000);
        frm.show();
        Boxes none;
        EXPECT_TRUE(frm.MDIForm_Load(inst.program()));
        QCoreApplication::processEvents();
        frm.mnuAUSWERTEN_Click();
    }
    ~DemoWindow() { frm.setGEAENDERT(false); }

    ResultPage *current() const
    {
        QMdiSubWindow *s = frm.mdiArea()->currentSubWindow();
        return s ? qobject_cast<ResultPage *>(s->widget()) : nullptr;
    }
    void pageUp()
    {
        current()->Form_KeyDown(33, 0);
        QCoreApplication::processEvents();
    }
};

// The header shows the day and time it is drawn at and the user who runs the program; the
// golden drawings show marks in their place.
QStringList withoutTheMoment(QStringList lines)
{
    const QString today = Variant::date(std::floor(toDayCount(QDateTime::currentDateTime()))).toString();
    static const QRegularExpression time(QStringLiteral("\"[0-9]{2}:[0-9]{2}\"$"));
    const QString user = QStringLiteral("Bearbeiter: ") + sys::userName();
    for (QString &l : lines)
        if (l.startsWith(QLatin1String("text "))) {
            l.replace(QLatin1Char('"') + today + QLatin1Char('"'), QStringLiteral("\"<today>\""));
            l.replace(time, QStringLiteral("\"<time>\""));
            l.replace(QLatin1Char('"') + user + QLatin1Char('"'), QStringLiteral("\"Bearbeiter: <user>\""));
        }
    return lines;
}

// The page shown now: its golden drawing, its look, its title in the user's words, and its
// picture when pictures are asked for.
void checkPage(DemoWindow &w, const ScreenLogs &screen, const QString &expectedName, const QString &expectedTitle)
{
    ResultPage *page = w.current();
    ASSERT_TRUE(page);
    ASSERT_EQ(page->objectName(), expectedName);
    SCOPED_TRACE(expectedName.toStdString());
    EXPECT_EQ(page->parentWidget()->windowTitle().toStdString(), expectedTitle.toStdString());
    EXPECT_EQ(w.frm.windowTitle().toStdString(), ("Korvane - [" + expectedTitle + "]").toStdString());
    expectGolden(QStringLiteral("demo-") + expectedName, withoutTheMoment(describePage(*page, screen)));
    expectPageLooksRight(*page, screen);
    EXPECT_TRUE(keepShot(shotOf(w.frm), QStringLiteral("demo-") + expectedName));
}

// The pages of the main window printed in one command, as a PDF file in the pictures' folder.
void keepPrintedPages(DemoWindow &w, const QString &name)
{
    const QString out = qEnvironmentVariable("VANTREL_SCREENSHOTS");
    if (out.isEmpty())
        return;
    Printer::instance().setPdfFile(out + QLatin1Char('/') + name + QStringLiteral(".pdf"));
    Boxes boxes;
    boxes.print([](ui::PrintRequest &r) {
        r.pageRange = false;
        return true;
    });
    boxes.answer(ui::vbOK);
    w.frm.stbMAIN_PanelClick(11);
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
}

} // namespace

// The drawings are compared under the program's home locale, whatever the machine's is.
TEST(DemoPages, RecordPagesAfterBerechnenOfOneRecord)
{
    LocaleScope german(QLocale::German);
    DemoInstallation inst;
    ASSERT_TRUE(inst.ok) << inst.output.toStdString();
    sql(inst.project(), QStringLiteral("UPDATE E1 SET AKT = (ID = 1)"));   // BP-101 alone
    ScreenLogs screen;
    DemoWindow w(inst);
    // Berechnen shows the stored results; a record marked for recalculation offers Neuberechnen
    // in its place.
    QAction *berechnen = w.frm.menuItem(QStringLiteral("mnuBERECHNEN"));
    if (!berechnen->isEnabled())
        berechnen = w.frm.menuItem(QStringLiteral("mnuNEUBERECHNEN"));
    ASSERT_TRUE(berechnen->isEnabled());
    {
        Boxes none;
        berechnen->trigger();
        QCoreApplication::processEvents();
    }
    Boxes none;
    checkPage(w, screen, QStringLiteral("mdiSEITE1"), QString::fromUtf8("BP-101 – Seite 1 von 2"));
    w.pageUp();
    checkPage(w, screen, QStringLiteral("mdiSEITE2"), QString::fromUtf8("BP-101 – Seite 2 von 2"));
    keepPrintedPages(w, QStringLiteral("demo-record"));
}

TEST(DemoPages, MultiplePagesAfterMBerechnenOverTheActiveRecords)
{
    LocaleScope german(QLocale::German);
    DemoInstallation inst;
    ASSERT_TRUE(inst.ok) << inst.output.toStdString();
    EXPECT_EQ(scalar(inst.project(), QStringLiteral("SELECT COUNT(*) FROM E1 WHERE AKT")), "3");
    ScreenLogs screen;
    DemoWindow w(inst);
    ASSERT_TRUE(w.frm.menuItem(QStringLiteral("mnuMBERECHNEN"))->isEnabled());
    {
        Boxes boxes;
        if (scalar(inst.project(), QStringLiteral("SELECT COUNT(*) FROM M1 WHERE IDM = 1")) == QLatin1String("0"))
            boxes.input(QStringLiteral("Demo-Vergleich"));   // the comment a first run asks for
        boxes.modal([](QDialog &d) {
            if (!qEnvironmentVariableIsEmpty("VANTREL_SCREENSHOTS")) {
                d.show();
                QCoreApplication::processEvents();
                EXPECT_TRUE(keepShot(shotOf(d), QStringLiteral("demo-editor")));
            }
            static_cast<frmMVORGABEN &>(d).cmdOK()->click();
            return d.result();
        });
        w.frm.menuItem(QStringLiteral("mnuMBERECHNEN"))->trigger();
        QCoreApplication::processEvents();
    }
    Boxes none;
    for (int n = 1; n <= 4; ++n) {
        if (n > 1)
            w.pageUp();
        checkPage(w, screen, QStringLiteral("mdiMSEITE%1").arg(n),
                  QString::fromUtf8("Mehrfachauswertung BP-101, BP-103, SB-301 – Seite %1 von 4").arg(n));
    }
    keepPrintedPages(w, QStringLiteral("demo-multiple"));
}

namespace {

// What the record's two pages print, without the moment of printing.
QStringList printedRecordPages(DemoWindow &w)
{
    QStringList out;
    for (const char *name : {"mdiSEITE1", "mdiSEITE2"}) {
        auto *page = w.frm.mdiArea()->findChild<ResultPage *>(QString::fromLatin1(name));
        if (!page)
            return {QStringLiteral("no page ") + QString::fromLatin1(name)};
        QStringList texts;
        for (const QString &t : printedSheet(*page)->texts())
            texts << QStringLiteral("text \"") + t + QLatin1Char('"');
        out << QStringLiteral("page ") + QString::fromLatin1(name) << withoutTheMoment(texts);
    }
    return out;
}

void runCommand(DemoWindow &w, const char *menuItem)
{
    w.frm.mnuAUSWERTEN_Click();
    QAction *a = w.frm.menuItem(QString::fromLatin1(menuItem));
    ASSERT_TRUE(a->isEnabled()) << menuItem;
    Boxes none;
    a->trigger();
    QCoreApplication::processEvents();
}

} // namespace

// A record's pages still open from an earlier command are not what a new command computed:
// after the unit costs have changed, Neuberechnen and Berechnen show and print what a fresh
// load of the pages does, not the pages as drawn before.
TEST(DemoPages, ACommandWithTheRecordPagesOpenShowsWhatItComputed)
{
    for (const char *command : {"mnuNEUBERECHNEN", "mnuBERECHNEN"}) {
        SCOPED_TRACE(command);
        LocaleScope german(QLocale::German);
        DemoInstallation inst;
        ASSERT_TRUE(inst.ok) << inst.output.toStdString();
        sql(inst.project(), QStringLiteral("UPDATE E1 SET AKT = (ID = 1)"));
        DemoWindow w(inst);
        runCommand(w, "mnuNEUBERECHNEN");
        const QStringList before = printedRecordPages(w);

        sql(inst.root + QStringLiteral("/DATEN/VORGABE.mdb"),
            QStringLiteral("UPDATE VANT_V11 SET EKT = 2 * EKT; UPDATE VANT_V12 SET EKV = 2 * EKV; UPDATE VANT_V13 SET EKL = 2 * EKL;"
                           "UPDATE VANT_V14 SET EKF = 2 * EKF; UPDATE VANT_V3 SET EKP = 2 * EKP;"));
        runCommand(w, command);
        const QStringList shown = printedRecordPages(w);
        EXPECT_EQ(w.frm.mdiArea()->findChildren<ResultPage *>(QStringLiteral("mdiSEITE1")).size(), 1);

        w.frm.stbMAIN_PanelClick(15);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        runCommand(w, "mnuBERECHNEN");
        const QStringList fresh = printedRecordPages(w);
        EXPECT_NE(fresh, before);   // the change reaches the pages at all
        EXPECT_EQ(shown, fresh);
    }
}
