// The multiple evaluation from the Evaluate menu, with its real first page: the page shown,
// the chain paged through, and the quit key of the combination editor.
#include "test_pagecmds_support.h"

#include "frame/PageCommands.h"
#include "frame/StatusPanel.h"
#include "pages/multiple/frmMVORGABEN.h"
#include "pages/multiple/mdiMSEITE1.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include "platform/printer.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// An installation whose project holds two evaluated active records, their presets and two
// combinations, with the rows the Evaluate menu makes for the multiple evaluation.
struct MultipleWindow {
    Installation inst;
    std::unique_ptr<frmMAIN> frm;

    MultipleWindow()
    {
        QFile::remove(inst.projectDb());
        QFile::remove(inst.daten + "/VORGABE.mdb");
        auto project = makeProjectDatabase(inst.projectDb());
        project->Execute("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1), (2, 'B', 1);"
                         "INSERT INTO E3 (ID, I2, KENT) VALUES (1, 0, 'T1'), (2, 0, 'T1');"
                         "INSERT INTO E4 (ID, I2, KENG) VALUES (1, 0, 'S'), (2, 0, 'KI');"
                         "INSERT INTO A2 (ID, I2, DEZ, BRZ, NTZ, PER) VALUES (1, 0, 10, 5, 4, 2), (2, 0, 20, 8, 6, 2);"
                         "INSERT INTO M1 (IDM, KOM) VALUES (1, 'Los 3');"
                         "INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI');");
        project.reset();
        auto presets = makePresetDatabase(inst.daten + "/VORGABE.mdb");
        presets->Execute("INSERT INTO VANT_V11 (IDT, KENT, EKT) VALUES (1, 'T1', 10);"
                         "INSERT INTO VANT_V3 (IDK, KENK, EKP, KENKPG, FKG, FKP, FZK) VALUES (1, 'K0', 40, 0, 1, 1, 1);");
        presets.reset();
        frm = std::make_unique<frmMAIN>();
        Boxes none;
        EXPECT_TRUE(frm->MDIForm_Load(inst.program));
        frm->mnuAUSWERTEN_Click();
    }
    QString db(const QString &query) const { return scalar(inst.working(), query); }
    QStringList windows() const { return windowNames(*frm); }
    QString current() const { return currentWindowName(*frm); }
};

// Pages 2 to 4 as the next issue will bring them: each loads the next.
class ChainPage : public MultiplePage {
public:
    ChainPage(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent, int number, QStringList *printed)
        : MultiplePage(ctx, run, parent), printed_(printed)
    {
        setObjectName(QString("mdiMSEITE%1").arg(number));
        if (number < 4) {
            auto *next = new ChainPage(ctx, run, parent, number + 1, printed);
            next->setPreviousPage(this);
            setNextPage(next);
        }
    }

protected:
    QList<Figure> figures() override
    {
        return {Figure{"f", [this](int OBJ, float, float) {
                           if (OBJ == 1)
                               printed_->append(objectName());
                       }}};
    }
    QString printErrorTitle() const override { return "Drucken"; }

private:
    QStringList *printed_;
};

} // namespace

TEST(MBerechnen, ShowsTheFirstPageAndPagesThroughALongerChain)
{
    MultipleWindow w;
    QStringList printed;
    const auto previous = mdiMSEITE1::setFollowingPages([&](RunContext &ctx, std::shared_ptr<MultipleRun> run,
                                                             QWidget *parent) -> MultiplePage * {
        return new ChainPage(ctx, std::move(run), parent, 2, &printed);
    });
    {
        Boxes boxes;
        boxes.modal([](QDialog &) { return int(QDialog::Rejected); });   // the combinations as stored
        w.frm->menuItem("mnuMBERECHNEN")->trigger();
    }
    mdiMSEITE1::setFollowingPages(previous);

    EXPECT_EQ(w.windows(), QStringList({"mdiAUTOSTART", "mdiMSEITE1", "mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}));
    EXPECT_EQ(w.current(), "mdiMSEITE1");
    EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=0"), "0");
    EXPECT_EQ(w.db("SELECT COUNT(*) FROM M3 WHERE BOKOMB"), "2");
    EXPECT_FALSE(w.frm->panel(15)->isHidden());
    EXPECT_FALSE(w.frm->menuItem("mnuEXTRAS")->isEnabled());

    // PageUp three times reaches the statistics page, PageDown comes back.
    for (const char *expected : {"mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4", "mdiMSEITE4"}) {
        auto *page = static_cast<ResultPage *>(w.frm->mdiArea()->currentSubWindow()->widget());
        page->Form_KeyDown(33, 0);
        EXPECT_EQ(w.current(), expected);
    }
    static_cast<ResultPage *>(w.frm->mdiArea()->currentSubWindow()->widget())->Form_KeyDown(34, 0);
    EXPECT_EQ(w.current(), "mdiMSEITE3");

    // The print command takes the four pages in order.
    EXPECT_EQ(resultPages(w.frm->mdiArea()).size(), 4);
    Boxes boxes;
    boxes.print([](ui::PrintRequest &) { return true; });
    boxes.answer(ui::vbOK);
    Printer::instance().setPdfFile(w.inst.root + "/druck.pdf");
    w.frm->stbMAIN_PanelClick(11);
    EXPECT_EQ(printed, QStringList({"mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}));
    // One document for the whole command, named once.
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[1].kind, "msgbox");
    EXPECT_TRUE(boxes.records()[1].text.endsWith(w.inst.root + "/druck.pdf"));
}

// The sheets of a PDF file and whether each is A4 landscape, read from its page objects.
QList<bool> pdfSheets(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString pdf = QString::fromLatin1(f.readAll());
    QList<bool> sheets;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)"));
    for (auto it = page.globalMatch(pdf); it.hasNext();) {
        const auto m = it.next();
        const auto b = box.match(pdf, m.capturedStart());
        sheets << (b.hasMatch() && qAbs(b.captured(1).toDouble() - 842) < 2 && qAbs(b.captured(2).toDouble() - 595) < 2);
    }
    return sheets;
}

TEST(MBerechnen, LoadsTheFourPagesAndPrintsThemAsOneDocument)
{
    MultipleWindow w;
    {
        Boxes boxes;
        boxes.modal([](QDialog &) { return int(QDialog::Rejected); });
        w.frm->menuItem("mnuMBERECHNEN")->trigger();
    }
    EXPECT_EQ(w.windows(), QStringList({"mdiAUTOSTART", "mdiMSEITE1", "mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}));
    EXPECT_EQ(w.current(), "mdiMSEITE1");
    EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=0"), "0");
    EXPECT_TRUE(w.frm->startWindow()->pgbBERECHNEN()->isHidden());
    for (const char *expected : {"mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}) {
        static_cast<ResultPage *>(w.frm->mdiArea()->currentSubWindow()->widget())->Form_KeyDown(33, 0);
        EXPECT_EQ(w.current(), expected);
    }

    Boxes boxes;
    boxes.print([](ui::PrintRequest &) { return true; });
    boxes.answer(ui::vbOK);
    const QString file = w.inst.root + "/alle.pdf";
    Printer::instance().setPdfFile(file);
    w.frm->stbMAIN_PanelClick(11);
    Printer::instance().setPdfFile(QString());
    EXPECT_EQ(pdfSheets(file), QList<bool>({true, true, true, true})) << "four A4 landscape sheets in one file";
}

TEST(MBerechnen, TheEditorsQuitKeyEndsTheRunAfterTheLoadWasGivenUp)
{
    MultipleWindow w;
    {
        Boxes boxes;   // no error box: the load is given up, not failed
        boxes.modal([](QDialog &d) {
            QKeyEvent k(QEvent::KeyPress, Qt::Key_Q, Qt::AltModifier);
            QCoreApplication::sendEvent(static_cast<frmMVORGABEN &>(d).msgFLX(), &k);
            return d.result();
        });
        w.frm->menuItem("mnuMBERECHNEN")->trigger();
    }
    EXPECT_FALSE(w.frm->ended()) << "the quit waits until the command has returned";
    EXPECT_EQ(w.windows(), QStringList({"mdiAUTOSTART"}));
    EXPECT_TRUE(w.frm->startWindow()->pgbBERECHNEN()->isHidden());
    EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=0"), "1");
    EXPECT_EQ(w.db("SELECT COUNT(*) FROM M3"), "0");

    QCoreApplication::processEvents();
    EXPECT_TRUE(w.frm->ended());
}

// With changes to save, the quit key asks its question while the editor stays: Abbrechen
// goes back to the editor and its rows, and the run goes on; No ends the run without asking
// again once the load was given up.
TEST(MBerechnen, TheEditorsQuitKeyAsksWhileTheEditorStays)
{
    for (const int answer : {ui::vbCancel, ui::vbNo}) {
        SCOPED_TRACE(answer);
        MultipleWindow w;
        w.frm->setGEAENDERT(true);
        {
            Boxes boxes;
            boxes.modal([&](QDialog &d) {
                auto &editor = static_cast<frmMVORGABEN &>(d);
                QKeyEvent k(QEvent::KeyPress, Qt::Key_Q, Qt::AltModifier);
                QCoreApplication::sendEvent(editor.msgFLX(), &k);
                if (answer == ui::vbCancel) {
                    EXPECT_FALSE(editor.quitRequested());
                    EXPECT_EQ(editor.msgFLX()->TextMatrix(editor.msgFLX()->FixedRows() + 1, 1), "KI");
                    editor.cmdOK()->click();
                }
                return d.result();
            });
            boxes.answer(answer);   // the quit's question, once
            w.frm->menuItem("mnuMBERECHNEN")->trigger();
            QCoreApplication::processEvents();   // a quit kept until the command returned
        }
        EXPECT_EQ(w.frm->ended(), answer == ui::vbNo);
        if (answer == ui::vbCancel) {
            EXPECT_TRUE(w.windows().contains("mdiMSEITE1"));
            EXPECT_EQ(w.db("SELECT COUNT(*) FROM M3"), "2");
        }
    }
}
