// Result page 2: the preset tables' cell texts from a small preset database, the page's
// header, its printed sheet, scrolling, restyling and keys.
#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "LookSupport.h"
#include "common/PageLook.h"
#include "data/clsDATEN.h"
#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"
#include "pages/record/mdiSEITE2.h"
#include "platform/printer.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace vnt;

namespace {

// Records the progress values and the quit command, which the plain context forgets.
class Context : public SimpleRunContext {
public:
    QList<int> progressSteps;
    int quits = 0;
    void setProgress(int v) override
    {
        SimpleRunContext::setProgress(v);
        progressSteps.append(v);
    }
    void mnuBEENDEN_Click() override { ++quits; }
};

QString repeatedText(int n) { return QString(n, QLatin1Char('x')); }

// A preset database that shows each rule of the row walk and the shortening once.
struct Fixture {
    QTemporaryDir dir;
    Context ctx;

    Fixture()
    {
        ctx.cnn = test::makeProjectDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
        ctx.cnnV = test::makePresetDatabase(dir.filePath(QStringLiteral("VORGABE.mdb")));
        ctx.projekt = QStringLiteral("TE4711");
        ctx.bearbeiter = QStringLiteral("Meier");
        auto &v = *ctx.cnnV;
        // Carrier rigs: running numbers 1, 2, 2, 3, stored out of order.
        v.Execute(QStringLiteral("INSERT INTO VANT_V11 VALUES (3, 'TG-3', 'drei', 300)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V11 VALUES (2, 'TG-2a', 'zwei', 200)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V11 VALUES (1, '123456789', '%1', 85.5)").arg(repeatedText(64)));
        v.Execute(QStringLiteral("INSERT INTO VANT_V11 VALUES (2, 'TG-2b', 'zwei', 200)"));
        // Casings: running numbers 1, 2, 5; a 10-character name, a 65-character comment.
        v.Execute(QStringLiteral("INSERT INTO VANT_V12 VALUES (5, 'V5', NULL, 1234.5)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V12 VALUES (1, '1234567890', '%1', 10)").arg(repeatedText(65)));
        v.Execute(QStringLiteral("INSERT INTO VANT_V12 VALUES (2, 'V2', 'zwei', NULL)"));
        // Cutting tools: none. Conveying tools: one, and one without a running number.
        v.Execute(QStringLiteral("INSERT INTO VANT_V14 VALUES (NULL, 'FX', 'ohne Nummer', 1)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V14 VALUES (1, 'F1', 'Schnecke', 12)"));
        // Rocks: one with a 31-character comment.
        v.Execute(QStringLiteral("INSERT INTO VANT_V2 VALUES (1, 'GR', '%1', 150, 100, 200, 30, 20, 40, 3.5, 2, 4.5)")
                      .arg(repeatedText(31)));
        // Unit-cost sets: staff costs apart (40 x 1.5), inside the equipment costs, and unset.
        v.Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (1, 'K1', '%1', 40, 0, 1, 1.5, 1)").arg(repeatedText(23)));
        v.Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (2, 'K2', 'pauschal', 40, 1, 1, 1.5, 1)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (3, 'K3', 'leer', NULL, NULL, NULL, NULL, NULL)"));
    }
};

QString cell(const CellArray &a, int column, int row)
{
    const Variant &v = a.at(column, row);
    return v.isEmpty() || v.isNull() ? QString() : v.toString();
}

} // namespace

TEST(Seite2Texte, RowWalkShorteningAndStaffCosts)
{
    test::Boxes boxes;
    Fixture f;
    mdiSEITE2 page(f.ctx);
    const PresetTableTexts &T = page.tables();

    // Every stored row in running-number order; a doubled number keeps both rows, in the
    // order they were stored, and leaves no empty rows behind.
    ASSERT_EQ(T.ZEILENV11.rows(), 4);
    const QStringList rigs{"123456789", "TG-2a", "TG-2b", "TG-3"};
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(cell(T.ZEILENV11, 0, j), rigs[j]) << j;
    EXPECT_EQ(cell(T.ZEILENV11, 1, 0), repeatedText(64));
    EXPECT_FLOAT_EQ(float(T.ZEILENV11.at(2, 0).toDouble()), 85.5f);
    EXPECT_FLOAT_EQ(float(T.ZEILENV11.at(2, 3).toDouble()), 300.0f);

    // A row without a running number cannot be placed and is left out.
    ASSERT_EQ(T.ZEILENV14.rows(), 1);
    EXPECT_EQ(cell(T.ZEILENV14, 0, 0), "F1");

    // Gaps in the numbers give no rows; Null stays an empty cell.
    ASSERT_EQ(T.ZEILENV12.rows(), 3);
    EXPECT_EQ(cell(T.ZEILENV12, 0, 0), "1234567...");
    EXPECT_EQ(cell(T.ZEILENV12, 1, 0), repeatedText(62) + "...");
    EXPECT_EQ(cell(T.ZEILENV12, 0, 1), "V2");
    EXPECT_TRUE(T.ZEILENV12.at(2, 1).isEmpty());
    EXPECT_EQ(cell(T.ZEILENV12, 0, 2), "V5");

    // An empty table keeps its head and has no body rows.
    EXPECT_EQ(T.ZEILENV13.rows(), 0);
    EXPECT_EQ(cell(T.KOPFV13, 0, 0), "KENL");

    EXPECT_EQ(cell(T.ZEILENV2, 1, 0), repeatedText(28) + "...");
    EXPECT_DOUBLE_EQ(T.ZEILENV2.at(10, 0).toDouble(), 4.5);

    // Staff cost after its factor, "*" when inside the equipment costs, Null as 0.
    ASSERT_EQ(T.ZEILENV3.rows(), 3);
    EXPECT_EQ(cell(T.ZEILENV3, 1, 0), repeatedText(20) + "...");
    EXPECT_FLOAT_EQ(float(T.ZEILENV3.at(2, 0).toDouble()), 60.0f);
    EXPECT_EQ(cell(T.ZEILENV3, 2, 1), "*");
    EXPECT_FLOAT_EQ(float(T.ZEILENV3.at(2, 2).toDouble()), 0.0f);
    EXPECT_TRUE(T.BOFUSSNOTE);

    // Heads.
    EXPECT_EQ(cell(T.KOPFV11, 1, 0), QString::fromUtf8("Erläuterung"));
    EXPECT_EQ(cell(T.KOPFV11, 2, 1), "[E/h]");
    EXPECT_EQ(cell(T.KOPFV3, 0, 1), "zeichnung");
    EXPECT_EQ(cell(T.KOPFV2, 5, 0), "Quarzgehalte");
    EXPECT_EQ(cell(T.KOPFV2, 10, 2), "Maximum");
    EXPECT_TRUE(T.KOPFV2.at(3, 0).isEmpty());

    EXPECT_EQ(f.ctx.progressSteps, (QList<int>{80, 81, 83, 85, 87, 89, 91, 94, 95, 96, 97, 98, 99}));
}

TEST(Seite2Texte, NoFootnoteWithoutIncludedStaffCosts)
{
    test::Boxes boxes;
    Fixture f;
    f.ctx.cnnV->Execute(QStringLiteral("DELETE FROM VANT_V3 WHERE IDK = 2"));
    mdiSEITE2 page(f.ctx);
    EXPECT_FALSE(page.tables().BOFUSSNOTE);
}

TEST(Seite2Texte, FailedUnitCostReadLeavesTheOtherTablesUnbuilt)
{
    test::Boxes boxes;
    Fixture f;
    f.ctx.cnnV->Execute(QStringLiteral("DROP TABLE VANT_V3"));
    boxes.answer(ui::vbOK);
    std::array<std::unique_ptr<clsDATEN>, 6> acc;
    const char *names[] = {"VANT_V11", "VANT_V12", "VANT_V13", "VANT_V14", "VANT_V2", "VANT_V3"};
    for (int i = 0; i < 6; ++i) {
        acc[i] = std::make_unique<clsDATEN>(f.ctx);
        acc[i]->setETABELLE(names[i]);
        acc[i]->setESPID(QString());
        acc[i]->setEBOV(true);
    }
    PresetTableTexts T;
    QList<int> progress;
    DATENEINGABE(T, {acc[0].get(), acc[1].get(), acc[2].get(), acc[3].get(), acc[4].get(), acc[5].get()},
                 [&](int v) { progress.append(v); });
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "Datenfehler");
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Error: "));
    EXPECT_TRUE(T.KOPFV3.dimensioned());
    EXPECT_FALSE(T.KOPFV11.dimensioned());
    EXPECT_FALSE(T.ZEILENV2.dimensioned());
    EXPECT_TRUE(progress.isEmpty());
}

TEST(Seite2, HeaderNamesNoRecordAndShowsPageTwoOfTwo)
{
    test::Boxes boxes;
    Fixture f;
    mdiSEITE2 page(f.ctx);
    const clsKOPFFUSS *k = page.KOPFFUSSOBJEKT();
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->KENNZEICHNUNGEN(), QStringList{QString()});
    EXPECT_EQ(k->KOMMENTAR(), "Allgemeine Legende");
    EXPECT_EQ(k->SEITE(), 2);
    EXPECT_EQ(k->SEITENANZAHL(), 2);
    EXPECT_EQ(k->PROJEKT(), "TE4711");
    EXPECT_EQ(k->BEARBEITER(), "Meier");
    EXPECT_DOUBLE_EQ(k->RANDABSTAENDE().top, 7.5);
    EXPECT_DOUBLE_EQ(k->RANDABSTAENDE().left, 15);
}

TEST(Seite2, PrintsOneSheetAndRedrawsOnScreen)
{
    test::Boxes boxes;
    Fixture f;
    QTemporaryDir out;
    mdiSEITE2 page(f.ctx);

    for (bool header : {true, false}) {
        const QString file = out.filePath(header ? QStringLiteral("mit.pdf") : QStringLiteral("ohne.pdf"));
        Printer::instance().setPdfFile(file);
        page.BOKF = header;
        page.DRUCKEN();
        QFile pdf(file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << file.toStdString();
        static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page[^s]"));
        EXPECT_EQ(QString::fromLatin1(pdf.readAll()).count(pageObject), 1);
        // The figures are the screen's again.
        for (int n : {11, 12, 13, 14, 2, 3})
            EXPECT_FALSE(page.TABELLE(n)->EOBJEKT()->isPrinter()) << n;
    }

    // On paper every table stands 1 mm right of and below its box.
    const QString probe = out.filePath(QStringLiteral("probe.pdf"));
    Printer::instance().setPdfFile(probe);
    page.BILD11(1, 1, 1);
    EXPECT_NEAR(page.TABELLE(11)->EXDL(), 14, 1e-9);
    EXPECT_NEAR(page.TABELLE(11)->EYDO(), 36, 1e-9);
    page.BILD2(1, 1, 1);
    EXPECT_NEAR(page.TABELLE(2)->EYDO(), 116, 1e-9);
    page.BILD3(1, 1, 1);
    EXPECT_NEAR(page.TABELLE(3)->EXDL(), 191, 1e-9);

    page.Form_Unload();
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
}

TEST(Seite2, ScrollBarShowsForLongTablesAndRedrawsOnlyItsTable)
{
    test::Boxes boxes;
    Fixture f;
    for (int i = 10; i < 40; ++i)
        f.ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V11 VALUES (%1, 'TG-%1', 'lang', 1)").arg(i));
    mdiSEITE2 page(f.ctx);
    QScrollBar *bar11 = page.scrollBar(QStringLiteral("vscBILD11"));
    ASSERT_NE(bar11, nullptr);
    EXPECT_FALSE(bar11->isHidden());
    EXPECT_TRUE(page.scrollBar(QStringLiteral("vscBILD12"))->isHidden());

    clsTABELLE *other = page.TABELLE(12);
    bar11->setValue(bar11->maximum());
    EXPECT_GT(page.TABELLE(11)->EEZ(), 0);
    EXPECT_EQ(page.TABELLE(12), other);

    // Paper prints the rows in view; drawing again (OBJ 2) keeps the object.
    const int first = page.TABELLE(11)->EEZ();
    clsTABELLE *screen = page.TABELLE(11);
    page.BILD11(2, 0, 0);
    EXPECT_EQ(page.TABELLE(11), screen);
    QTemporaryDir out;
    Printer::instance().setPdfFile(out.filePath(QStringLiteral("s.pdf")));
    page.BILD11(1, 1, 1);
    EXPECT_EQ(page.TABELLE(11)->EEZ(), first);
    page.Form_Unload();
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
}

// Paper shows the rows in view of a long table; the printed title says which of all rows
// they are, so that no preset goes missing unnoticed. A table in view as a whole keeps its title.
TEST(Seite2, APrintedTableThatShowsPartOfItsRowsSaysWhichRows)
{
    test::Boxes boxes;
    Fixture f;
    for (int i = 2; i <= 8; ++i)
        f.ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V2 (IDG, KENG) VALUES (%1, 'G%1')").arg(i));
    mdiSEITE2 page(f.ctx);
    ASSERT_FALSE(page.scrollBar(QStringLiteral("vscBILD2"))->isHidden()) << "8 rocks do not fit their box";
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    const auto printed = [&](int scrolled) {
        QScrollBar *bar = page.scrollBar(QStringLiteral("vscBILD2"));
        bar->setValue(scrolled ? bar->maximum() : 0);
        rec->reset();
        page.BILD2(1, 1, 1);
        page.BILD11(1, 1, 1);
        return rec->texts();
    };
    for (const int scrolled : {0, 1}) {
        SCOPED_TRACE(scrolled);
        const QStringList texts = printed(scrolled);
        const int first = page.TABELLE(2)->EEZ() + 1, last = page.TABELLE(2)->ELZ() + 1;
        EXPECT_LT(last - first + 1, 8);
        EXPECT_TRUE(texts.contains(QStringLiteral("Gesteine (Zeilen %1 bis %2 von 8)").arg(first).arg(last)))
            << texts.filter(QStringLiteral("Gesteine")).join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(texts.contains(QString::fromUtf8("Trägergeräte")));
    }
    page.setPrintTarget(nullptr);
}

TEST(Seite2, KontextAppliesColoursAndSwitches)
{
    test::Boxes boxes;
    Fixture f;
    mdiSEITE2 page(f.ctx);
    const qint64 pageColour = 0x00C0C0, boxColour = 0xE0FFE0;   // stored with red in the low byte
    page.KONTEXT(false, false, pageColour, boxColour);
    EXPECT_FALSE(page.BOKF);
    EXPECT_FALSE(page.BOKFS);

    // Without header and footer the page surface is its colour alone.
    const QImage bg = page.pageSurface()->image();
    bool uniform = true;
    for (int y = 0; y < bg.height() && uniform; y += 7)
        for (int x = 0; x < bg.width() && uniform; x += 7)
            uniform = bg.pixelColor(x, y).rgb() == vbColor(pageColour).rgb();
    EXPECT_TRUE(uniform);
    for (const char *name : {"picBILD11", "picBILD2", "picBILD3"}) {
        PictureBox *box = page.pictureBox(name);
        EXPECT_EQ(box->image().pixelColor(1, box->height() - 2).rgb(), vbColor(boxColour).rgb()) << name;
    }

    bool gotBokf = true;
    qint64 gotPic = 0;
    QObject::connect(&page, &ResultPage::layoutDialogRequested, [&](bool bokf, bool, qint64, qint64 pic) {
        gotBokf = bokf;
        gotPic = pic;
    });
    page.Form_Click();
    EXPECT_FALSE(gotBokf);
    EXPECT_EQ(gotPic, boxColour);

    page.KONTEXT(true, false, pageColour, boxColour);
    EXPECT_FALSE(page.KOPFFUSSOBJEKT()->EBOKFS().toBool());
}

TEST(Seite2, KeysPressTheMainWindowsPanels)
{
    test::Boxes boxes;
    Fixture f;
    mdiSEITE2 page(f.ctx);
    struct Case {
        int key, shift, panel;
    };
    const Case cases[] = {
        {27, 0, 15}, {27, 7, 15}, {83, 2, 10}, {80, 3, 11}, {67, 2, 12},
        {87, 2, 13}, {65, 2, 14}, {80, 1, 0},  {33, 0, 0},  {34, 2, 0},
    };
    for (const Case &c : cases) {
        f.ctx.panelClicks.clear();
        page.Form_KeyDown(c.key, c.shift);
        EXPECT_EQ(f.ctx.panelClicks, c.panel ? QList<int>{c.panel} : QList<int>{}) << c.key << "/" << c.shift;
    }
    page.Form_KeyDown(81, 6);
    EXPECT_EQ(f.ctx.quits, 1);

    // Activation hides the export panel that no result page offers.
    page.Form_Activate();
    EXPECT_EQ(f.ctx.panelVisible.value(14, true), false);

    // PageDown goes back to page 1, whatever the modifiers.
    QWidget seite1;
    page.setPreviousPage(&seite1);
    page.show();
    page.Form_KeyDown(34, 2);
    EXPECT_TRUE(page.isHidden());
    EXPECT_TRUE(seite1.isVisible());
    EXPECT_TRUE(seite1.windowState() & Qt::WindowMaximized);
}

// The preset tables looked at on screen and paper, with a long table and keys wider than their
// columns: every table stays inside its box and no text runs out of its column.
TEST(Seite2Look, TablesStayInsideTheirBoxesOnScreenAndPaper)
{
    test::Boxes boxes;
    Fixture f;
    for (int i = 10; i < 40; ++i)
        f.ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V13 VALUES (%1, 'SCHN-RS%1', 'Schneckenbohrer', 19.5)").arg(i));
    f.ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (4, 'EK-PAUSCH', 'Pauschalsätze', 40, 1, 1, 1, 1)"));
    test::LookFolder look;
    test::ScreenLogs screen;
    QWidget host;
    host.resize(1400, 900);
    mdiSEITE2 page(f.ctx, &host);
    page.resize(1400, 900);
    host.show();
    QCoreApplication::processEvents();

    const QList<std::pair<QString, QPointF>> figures = {
        {"picBILD11", {1, 1}}, {"picBILD12", {1, 1}}, {"picBILD13", {1, 1}},
        {"picBILD14", {1, 1}}, {"picBILD2", {1, 1}}, {"picBILD3", {1, 1}}};
    test::expectFiguresInsideTheirBoxes(page, figures, [&](const QString &box, int OBJ) {
        void (mdiSEITE2::*bild[])(int, float, float) = {&mdiSEITE2::BILD11, &mdiSEITE2::BILD12, &mdiSEITE2::BILD13,
                                                       &mdiSEITE2::BILD14, &mdiSEITE2::BILD2, &mdiSEITE2::BILD3};
        const QStringList names{"picBILD11", "picBILD12", "picBILD13", "picBILD14", "picBILD2", "picBILD3"};
        (page.*bild[names.indexOf(box)])(OBJ, 1, 1);
    });

    // The unit-cost identifiers end inside their 13-mm column, 1.5 mm before its rule.
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    page.BILD3(1, 1, 1);
    const double columnEnd = page.boxRectMm(page.pictureBox(QStringLiteral("picBILD3"))).left() + 1 + 2 + 13;
    for (const Stroke &k : rec->strokes(Primitive::Text))
        if (k.text.startsWith(QLatin1String("EK-")))
            EXPECT_LE(k.points[0].x() + measureTextMm(k.font, k.text).width(), columnEnd - 1.5 + 1e-6) << k.text.toStdString();
    page.setPrintTarget(nullptr);
    EXPECT_FALSE(page.scrollBar(QStringLiteral("vscBILD13"))->isHidden());
    // The whole page on screen and paper: boxes, sheet, header and footer.
    test::expectPageLooksRight(page, screen);

    EXPECT_TRUE(host.grab().save(look.file(QStringLiteral("seite2.png"))));
    Printer::instance().setPdfFile(look.file(QStringLiteral("seite2.pdf")));
    page.DRUCKEN();
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
    EXPECT_TRUE(QFile::exists(look.file(QStringLiteral("seite2.pdf"))));
}
