// The result-page commands of the status bar and the page chooser, on stand-in pages.
#include "test_pagecmds_support.h"

#include "frame/PageCommands.h"
#include "frame/StatusPanel.h"
#include "frame/frmANZEIGEN.h"
#include "platform/printer.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <optional>

using namespace vnt;
using namespace vnt::test;

namespace {

// The single-record pages after the multiple evaluation's chain, so that the list's passes
// by name pattern show against the loading order.
struct SixPages : PageWindow {
    QStringList printed;
    SixPages()
    {
        loadPage(*frm, standInPages({"mdiMSEITE1", "mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}, &printed), "mdiMSEITE1");
        loadPage(*frm, standInPages({"mdiSEITE1", "mdiSEITE2"}, &printed), "mdiSEITE1");
        show("mdiSEITE1");
    }
    void show(const QString &name)
    {
        auto *sub = static_cast<QMdiSubWindow *>(window(name));
        sub->showMaximized();
        frm->mdiArea()->setActiveSubWindow(sub);
    }
    QStringList shown() const
    {
        QStringList out;
        for (QWidget *p : resultPages(frm->mdiArea()))
            if (!pageFrame(p)->isHidden())
                out << p->objectName();
        return out;
    }
    frmANZEIGEN *chooser() const { return frm->findChild<frmANZEIGEN *>(); }
};

// The number of pages of a PDF file.
int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression(R"(/Type\s*/Page[^s])")));
}

QStringList names(const QList<QWidget *> &pages)
{
    QStringList out;
    for (QWidget *p : pages)
        out << p->objectName();
    return out;
}

} // namespace

TEST(PageCommands, PagesAreNumberedByNamePatternThenLoadingOrder)
{
    SixPages w;
    const QList<QWidget *> pages = resultPages(w.frm->mdiArea());
    EXPECT_EQ(names(pages), QStringList({"mdiSEITE1", "mdiSEITE2", "mdiMSEITE1", "mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}));
    EXPECT_EQ(currentPageNumber(w.frm->mdiArea(), pages), 1);
    w.frm->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w.frm->startWindow()->parentWidget()));
    EXPECT_EQ(currentPageNumber(w.frm->mdiArea(), pages), 0);
}

TEST(PageCommands, ChooserTakesAPageNumberWithinTheCount)
{
    struct Case {
        const char *typed;
        const char *entry;
        const char *shown;
    } cases[] = {{"2", "2", "mdiSEITE2"}, {"9", "6", "mdiMSEITE4"}, {"0", "1", "mdiSEITE1"},
                 {"x", "1", "mdiSEITE1"}, {"", "1", "mdiSEITE1"}, {"3", "3", "mdiMSEITE1"}};
    SixPages w;
    Boxes none;
    for (const Case &c : cases) {
        w.show("mdiSEITE1");
        w.frm->stbMAIN_PanelClick(10);
        frmANZEIGEN *dlg = w.chooser();
        ASSERT_TRUE(dlg);
        EXPECT_EQ(dlg->lblSEITEN(1)->text(), "6");
        EXPECT_EQ(dlg->txtSEITE()->text(), "1");
        dlg->txtSEITE()->setText(c.typed);
        dlg->cmdOK()->click();
        EXPECT_EQ(dlg->txtSEITE()->text(), c.entry) << c.typed;
        EXPECT_EQ(w.shown(), QStringList{c.shown}) << c.typed;
        EXPECT_EQ(w.current(), c.shown);
        EXPECT_TRUE(w.window(c.shown)->windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(w.frm->panel(14)->isHidden()) << "the page shown hides panel 14";
        w.frm->showCommandPanels({14});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(w.chooser()) << "OK closes the chooser";
    }
}

TEST(PageCommands, ChooserOpensOnceLeavesPagesOnEscAndStartsEmptyOffAPage)
{
    SixPages w;
    Boxes none;
    w.frm->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w.frm->startWindow()->parentWidget()));
    w.frm->stbMAIN_PanelClick(10);
    frmANZEIGEN *dlg = w.chooser();
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg->txtSEITE()->text(), "");
    w.frm->stbMAIN_PanelClick(10);
    EXPECT_EQ(w.frm->findChildren<frmANZEIGEN *>().size(), 1);
    const QStringList before = w.shown();
    dlg->reject();   // Esc
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w.chooser());
    EXPECT_EQ(w.shown(), before);
}

TEST(PageCommands, ChooserDoesNotBringBackPagesClosedWhileItWasOpen)
{
    SixPages w;
    Boxes none;
    w.frm->stbMAIN_PanelClick(10);
    QPointer<frmANZEIGEN> dlg = w.chooser();
    w.frm->stbMAIN_PanelClick(15);
    ASSERT_TRUE(dlg) << "closing the pages leaves the chooser open";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dlg->txtSEITE()->setText("2");
    dlg->cmdOK()->click();
    EXPECT_EQ(w.windows(), QStringList{"mdiAUTOSTART"});
}

TEST(PageCommands, PagingMakesTheNextPageTheActiveChildWithTheKeys)
{
    SixPages w;
    Boxes none;
    auto *seite1 = static_cast<ResultPage *>(static_cast<QMdiSubWindow *>(w.window("mdiSEITE1"))->widget());
    auto *seite2 = static_cast<ResultPage *>(static_cast<QMdiSubWindow *>(w.window("mdiSEITE2"))->widget());
    seite1->setNextPage(seite2);
    seite2->setPreviousPage(seite1);
    // As the evaluate commands show the first page, and then the panels.
    activatePage(w.frm->mdiArea(), pageFrame(seite1));
    w.frm->showCommandPanels({10, 11, 12, 13, 14, 15});
    const auto press = [](int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        ASSERT_TRUE(QApplication::focusWidget());
        QApplication::sendEvent(QApplication::focusWidget(), &e);
    };
    press(Qt::Key_PageUp);
    EXPECT_EQ(w.current(), "mdiSEITE2");
    EXPECT_EQ(w.shown(), QStringList{"mdiSEITE2"});
    EXPECT_TRUE(w.window("mdiSEITE2")->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(w.frm->panel(14)->isHidden()) << "the page shown hides panel 14";
    EXPECT_EQ(QApplication::focusWidget(), seite2) << "the keys reach the page shown";
    press(Qt::Key_PageDown);
    EXPECT_EQ(w.current(), "mdiSEITE1");
    EXPECT_EQ(QApplication::focusWidget(), seite1);
}

TEST(PageCommands, ClosingAPageByItsFrameClosesThePagesAsTheClosePanelDoes)
{
    SixPages w;
    Boxes none;
    w.frm->enterPageState(false);
    w.window("mdiSEITE1")->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.windows(), QStringList{"mdiAUTOSTART"});
    for (int i = 10; i <= 15; ++i)
        EXPECT_TRUE(w.frm->panel(i)->isHidden()) << i;
    EXPECT_TRUE(w.frm->menuItem("mnuDATEI")->isEnabled());
}

TEST(PageCommands, PrintHandsTheDialogTheCurrentPageAndPrintsTheChosenRange)
{
    struct Case {
        const char *current;
        bool cancel, range;
        int from, to;
        int dialogFrom;
        QStringList printed;
    } cases[] = {
        {"mdiSEITE2", false, false, 0, 0, 2, {"mdiSEITE1", "mdiSEITE2", "mdiMSEITE1", "mdiMSEITE2", "mdiMSEITE3", "mdiMSEITE4"}},
        {"mdiSEITE1", false, true, 2, 3, 1, {"mdiSEITE2", "mdiMSEITE1"}},
        {"mdiSEITE1", false, true, 3, 2, 1, {}},
        {"", false, true, -1, -1, 0, {}},   // off a page the range stays 0 to 0
        {"mdiSEITE1", true, false, 0, 0, 1, {}},
    };
    QTemporaryDir tmp;
    Printer::instance().setPdfFile(tmp.filePath("print.pdf"));
    for (const Case &c : cases) {
        SixPages w;
        if (QString(c.current).isEmpty())
            w.frm->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w.frm->startWindow()->parentWidget()));
        else
            w.show(c.current);
        Boxes boxes;
        boxes.print([&](ui::PrintRequest &r) {
            EXPECT_EQ(r.minPage, 1);
            EXPECT_EQ(r.maxPage, 6);
            EXPECT_EQ(r.fromPage, c.dialogFrom);
            EXPECT_EQ(r.toPage, c.dialogFrom);
            r.pageRange = c.range;
            if (c.from >= 0) {
                r.fromPage = c.from;
                r.toPage = c.to;
            }
            return !c.cancel;
        });
        if (!c.printed.isEmpty())
            boxes.answer(ui::vbOK);   // the file the pages went to
        w.frm->stbMAIN_PanelClick(11);
        EXPECT_EQ(w.printed, c.printed) << c.current << c.from;
        EXPECT_FALSE(sys::hourglass());
        EXPECT_EQ(w.frm->panel(11)->bevel(), StatusPanel::Raised);
    }
    Printer::instance().setPdfFile(QString());
}

TEST(PageCommands, OnePrintCommandIsOneDocumentWithEveryChosenPage)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("druck.pdf");
    Printer::instance().setPdfFile(file);
    SixPages w;
    Boxes boxes;
    boxes.print([](ui::PrintRequest &r) {
        r.pageRange = true;
        r.fromPage = 1;
        r.toPage = 3;
        return true;
    });
    boxes.answer(ui::vbOK);   // where the pages went
    w.frm->stbMAIN_PanelClick(11);
    Printer::instance().setPdfFile(QString());
    EXPECT_EQ(w.printed, QStringList({"mdiSEITE1", "mdiSEITE2", "mdiMSEITE1"}));
    EXPECT_EQ(pdfPages(file), 3);
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_TRUE(boxes.records()[1].text.contains(file)) << boxes.records()[1].text.toStdString();
    EXPECT_EQ(boxes.records()[1].title, w.frm->panelCaption(11));
}

TEST(PageCommands, PrintingWithoutAPrinterSaysWhichFileItWrote)
{
    // A home of the test's own: the documents folder is where unnamed prints go.
    QTemporaryDir home;
    EnvScope env;
    env.set("HOME", home.path().toLocal8Bit());
    env.set("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    env.set("VANTREL_PRINT_PDF", std::nullopt);
    Printer::instance().reset();
    if (!Printer::instance().printsToPdf())
        GTEST_SKIP() << "this machine has a system printer";
    SixPages w;
    for (int run = 0; run < 2; ++run) {
        Boxes boxes;
        boxes.print([](ui::PrintRequest &) { return true; });
        boxes.answer(ui::vbOK);
        w.frm->stbMAIN_PanelClick(11);
        const QStringList pdfs = QDir(home.path() + "/Documents").entryList({"VANT-Ausdruck-*.pdf"}, QDir::Files, QDir::Time | QDir::Reversed);
        ASSERT_EQ(pdfs.size(), run + 1);
        ASSERT_EQ(boxes.records().size(), 2u);
        const QString written = home.path() + "/Documents/" + pdfs.last();
        EXPECT_TRUE(boxes.records()[1].text.contains(written)) << boxes.records()[1].text.toStdString();
        EXPECT_EQ(pdfPages(written), 6);
    }
    Printer::instance().reset();
}

TEST(PageCommands, ScreenCopyAsksForTheNameAndSavesTheBitmapInTheProjectsPictureFolder)
{
    SixPages w;
    const QString folder = w.inst.projekte + "/Demo/JPG/";
    const QString def = w.frm->panelCaption(6) + "-1";
    {
        Boxes boxes;
        boxes.input("");
        w.frm->stbMAIN_PanelClick(12);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].title, "KOPIE");
        EXPECT_EQ(boxes.records()[0].text,
                  QString::fromUtf8("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ") + folder + def + ".bmp");
        EXPECT_TRUE(QDir(folder).exists()) << "the folder is made before the name is asked";
        EXPECT_TRUE(QDir(folder).isEmpty());
    }
    {
        Boxes boxes;
        boxes.input("Bild");
        w.frm->stbMAIN_PanelClick(12);
        QImage saved(folder + "Bild.bmp");
        EXPECT_FALSE(saved.isNull());
        EXPECT_EQ(saved.size(), w.frm->grab().size());
    }
    {
        // A record name that is no file name: the name offered can be saved as it stands.
        w.frm->setRecordPanel("BP/101", QString());
        Boxes boxes;
        boxes.input("BP_101-1");
        w.frm->stbMAIN_PanelClick(12);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_TRUE(boxes.records()[0].text.endsWith(folder + "BP_101-1.bmp")) << boxes.records()[0].text.toStdString();
        EXPECT_TRUE(QFile::exists(folder + "BP_101-1.bmp"));
    }
    {
        Boxes boxes;   // a name reaching out of the folder
        boxes.input("../Bild").answer(ui::vbOK);
        w.frm->stbMAIN_PanelClick(12);
        ASSERT_EQ(boxes.records().size(), 2u);
        EXPECT_EQ(boxes.records()[1].title, w.frm->panelCaption(12));
        EXPECT_TRUE(boxes.records()[1].text.startsWith("VB-Error: 52\n"));
        EXPECT_FALSE(QFile::exists(w.inst.projekte + "/Demo/Bild.bmp"));
    }
}

// A home of the test's own: the documents folder is where the program puts files it names.
struct OwnHome {
    QTemporaryDir home;
    EnvScope env;
    OwnHome()
    {
        env.set("HOME", home.path().toLocal8Bit());
        env.set("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    }
    QString documents() const { return home.path() + "/Documents"; }
};

TEST(PageCommands, WordExportTakesTheVisibleFigureBoxesOfTheActivePageInOrder)
{
    OwnHome home;
    PageWindow w;
    loadPage(*w.frm, [](RunContext &ctx, QWidget *parent) -> QWidget * {
        return new StandInPage(ctx, parent, "mdiSEITE1", nullptr, {"picBILD11", "picBILD13", "picBILD12"}, "picBILD13");
    }, "mdiSEITE1");
    auto *sub = static_cast<QMdiSubWindow *>(w.window("mdiSEITE1"));
    sub->showMaximized();
    w.frm->mdiArea()->setActiveSubWindow(sub);
    Boxes none;
    recorder().opened.clear();
    w.frm->stbMAIN_PanelClick(13);
    ASSERT_EQ(recorder().opened.size(), 1);
    EXPECT_TRUE(recorder().opened[0].startsWith(home.documents() + "/"));
    QFile f(recorder().opened[0]);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(f.readAll());
    f.close();
    const qsizetype first = xml.indexOf("picBILD11"), second = xml.indexOf("picBILD12");
    EXPECT_GE(first, 0);
    EXPECT_GT(second, first);
    EXPECT_FALSE(xml.contains("picBILD13"));
    EXPECT_FALSE(xml.contains("vscBILD"));
    EXPECT_FALSE(xml.contains("Seitenflaeche"));
    EXPECT_EQ(xml.count("<draw:image"), 2);
}

TEST(PageCommands, WordExportWithoutAProgramForTheFileKeepsItAndSaysWhere)
{
    OwnHome home;
    SixPages w;
    shell::setOpener([](const QString &) { return false; });
    Boxes boxes;
    boxes.answer(ui::vbOK);
    w.frm->stbMAIN_PanelClick(13);
    const QStringList kept = QDir(home.documents()).entryList({"*.fodt"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_FALSE(boxes.records()[0].text.startsWith("VB-Error")) << boxes.records()[0].text.toStdString();
    EXPECT_TRUE(boxes.records()[0].text.contains(home.documents() + "/" + kept[0])) << boxes.records()[0].text.toStdString();
    EXPECT_EQ(boxes.records()[0].title, w.frm->panelCaption(13));
}

// The files the program names itself take the time they are written at, and a name that is
// there gets a suffix rather than the earlier file's place.
TEST(PageCommands, EachPrintAndWordExportWritesAFileOfItsOwn)
{
    OwnHome home;
    EnvScope env;
    env.set("VANTREL_PRINT_PDF", std::nullopt);
    Printer &printer = Printer::instance();
    printer.reset();
    if (!printer.printsToPdf())
        GTEST_SKIP() << "this machine has a system printer";
    QDateTime now(QDate(2026, 3, 1), QTime(10, 0));
    printer.setClock([&] { return now; });
    SixPages w;
    auto print = [&] {
        Boxes boxes;
        boxes.print([](ui::PrintRequest &) { return true; });
        boxes.answer(ui::vbOK);
        w.frm->stbMAIN_PanelClick(11);
    };
    const QString stem = home.documents() + "/VANT-Ausdruck-20260301-";
    print();
    now = now.addSecs(300);
    print();
    print();
    now = now.addSecs(300);
    {
        QFile earlier(stem + "101000.pdf");
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("alt");
    }
    print();
    printer.setClock({});
    printer.reset();
    QStringList expected = {"VANT-Ausdruck-20260301-100000.pdf", "VANT-Ausdruck-20260301-100500.pdf",
                            "VANT-Ausdruck-20260301-100500-2.pdf", "VANT-Ausdruck-20260301-101000.pdf",
                            "VANT-Ausdruck-20260301-101000-2.pdf"};
    expected.sort();
    EXPECT_EQ(QDir(home.documents()).entryList({"*.pdf"}, QDir::Files, QDir::Name).join(' ').toStdString(),
              expected.join(' ').toStdString());
    QFile earlier(stem + "101000.pdf");
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "alt");
    EXPECT_EQ(pdfPages(stem + "101000-2.pdf"), 6);

    // A document the user has open and changed stays as it is when the page is sent again.
    Boxes none;
    recorder().opened.clear();
    w.frm->stbMAIN_PanelClick(13);
    ASSERT_EQ(recorder().opened.size(), 1);
    {
        QFile first(recorder().opened[0]);
        ASSERT_TRUE(first.open(QIODevice::WriteOnly));
        first.write("bearbeitet");
    }
    w.frm->stbMAIN_PanelClick(13);
    ASSERT_EQ(recorder().opened.size(), 2);
    EXPECT_NE(recorder().opened[1], recorder().opened[0]);
    QFile first(recorder().opened[0]);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), "bearbeitet");
    EXPECT_EQ(QDir(home.documents()).entryList({"*.fodt"}, QDir::Files).size(), 2);
}

TEST(PageCommands, CloseLeavesOnlyTheStartWindow)
{
    SixPages w;
    Boxes none;
    w.frm->enterPageState(true);
    w.frm->menuItem("mnuAUSWERTEN")->setEnabled(false);
    w.frm->stbMAIN_PanelClick(14);   // no command of its own
    EXPECT_EQ(w.windows().size(), 7);
    w.frm->stbMAIN_PanelClick(15);
    EXPECT_EQ(w.windows(), QStringList{"mdiAUTOSTART"});
    for (int i = 10; i <= 15; ++i)
        EXPECT_TRUE(w.frm->panel(i)->isHidden()) << i;
    EXPECT_TRUE(w.frm->menuItem("mnuDATEI")->isEnabled());
    EXPECT_TRUE(w.frm->menuItem("mnuEXTRAS")->isEnabled());
    EXPECT_FALSE(w.frm->menuItem("mnuAUSWERTEN")->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Nothing is left to print, and the command says nothing about it.
    Boxes boxes;
    boxes.print([](ui::PrintRequest &r) { EXPECT_EQ(r.maxPage, 0); return true; });
    w.frm->stbMAIN_PanelClick(11);
}

// The print dialog names the file the pages go to when there is no printer; that is the file
// written, however long the dialog stays open before OK.
TEST(PageCommands, ThePrintDialogsFileIsTheFileWritten)
{
    OwnHome home;
    EnvScope env;
    env.set("VANTREL_PRINT_PDF", std::nullopt);
    Printer &printer = Printer::instance();
    printer.reset();
    if (!printer.printsToPdf())
        GTEST_SKIP() << "this machine has a system printer";
    QDateTime now(QDate(2026, 3, 1), QTime(9, 18, 9));
    printer.setClock([&] { return now; });
    SixPages w;
    // The real print dialog, the other boxes scripted.
    struct RealPrintDialog : Boxes {
        ui::BoxSink &real;
        explicit RealPrintDialog(ui::BoxSink &r) : real(r) {}
        bool printDialog(ui::PrintRequest &req, const QString &title) override { return real.printDialog(req, title); }
    };
    ui::BoxSink &real = ui::sink();
    QString proposed;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dlg || !dlg->inherits("QPrintDialog"))
            return;
        poll.stop();
        for (QLineEdit *e : dlg->findChildren<QLineEdit *>())
            if (e->text().endsWith(".pdf"))
                proposed = e->text();
        now = now.addSecs(11);   // the user reads the dialog a while
        dlg->accept();
    });
    poll.start();
    RealPrintDialog boxes(real);
    boxes.answer(ui::vbOK);   // where the pages went
    w.frm->stbMAIN_PanelClick(11);
    printer.setClock({});
    printer.reset();
    ASSERT_FALSE(proposed.isEmpty()) << "the dialog shows the file";
    EXPECT_EQ(QDir(home.documents()).entryList({"*.pdf"}, QDir::Files).join(' ').toStdString(),
              QFileInfo(proposed).fileName().toStdString());
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.contains(QDir::toNativeSeparators(proposed))) << boxes.records()[0].text.toStdString();
}
