// The four multiple-evaluation pages of a crowded project: 45 combinations whose five keys are
// 17 characters long, every fourth without a section, their lengths close enough to push the
// strip's labels far down. Their tables on paper name the rows they print, no strip label is
// covered, no key runs over the mark column, and every page keeps the look of every page.
#include "MSeite1Fixture.h"
#include "common/PageLook.h"

#include "drawing/clsTABELLE.h"
#include "pages/multiple/mdiMSEITE2.h"
#include "pages/multiple/mdiMSEITE3.h"
#include "pages/multiple/mdiMSEITE4.h"

#include <QCoreApplication>
#include <QPointer>
#include <QScrollBar>

using namespace vnt;
using namespace vnt::test;

namespace {

constexpr int kCombinations = 45;

// Five keys of 17 characters per combination c.
QString keyOf(const char *kind, int c) { return QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(c, 2, 10, QLatin1Char('0')); }
const char *const kKinds[5] = {"GESTEINSKLASSE", "TRAEGERGERAETE", "VERROHRUNGSART", "LOESEWERKZEUGE",
                               "FOERDERSCHNECK"};

// One active record "A" with one section per combination that has one: its five keys, a length
// of 4 to 63 m, gross and net hours, interruptions, breaks, standstill and additional costs.
QString crowdedProject()
{
    QString sql = QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1);"
                                 "INSERT INTO M1 (IDM, KOM, VZ) VALUES (1, 'Los 9', 0);"
                                 "INSERT INTO A1 (ID, BONEU) VALUES (0, 1);");
    int section = 0;
    for (int c = 0; c < kCombinations; ++c) {
        sql += QStringLiteral("INSERT INTO M2 (IDM, I1, KENG, KENT, KENV, KENL, KENF) VALUES (1, %1, '%2', '%3', '%4', "
                              "'%5', '%6');")
                   .arg(c)
                   .arg(keyOf(kKinds[0], c), keyOf(kKinds[1], c), keyOf(kKinds[2], c), keyOf(kKinds[3], c),
                        keyOf(kKinds[4], c));
        if (c % 4 == 3)
            continue;
        const int i = section++;
        const double length = 4 + (c * 37) % 60, net = 2 + c % 7;
        sql += QStringLiteral("INSERT INTO E4 (ID, I2, KENG) VALUES (1, %1, '%2');").arg(i).arg(keyOf(kKinds[0], c));
        sql += QStringLiteral("INSERT INTO E3 (ID, I2, KENT, KENV, KENL, KENF, ZKT, ZKV, ZKL, ZKF, PER) VALUES (1, %1, "
                              "'%2', '%3', '%4', '%5', %6, %7, %8, %9, 3);")
                   .arg(i)
                   .arg(keyOf(kKinds[1], c), keyOf(kKinds[2], c), keyOf(kKinds[3], c), keyOf(kKinds[4], c))
                   .arg(100 * (c % 5))
                   .arg(250 * (c % 3))
                   .arg(c % 2 ? 900 : 0)
                   .arg(40 * c);
        sql += QStringLiteral("INSERT INTO A2 (ID, I2, DEZ, NTZ, AUZ, PPZ, STZ, BRZ, PER) VALUES (1, %1, %2, %3, %4, "
                              "%5, %6, %7, 3);")
                   .arg(i)
                   .arg(length)
                   .arg(net)
                   .arg(c % 3)
                   .arg(1)
                   .arg(c % 4 * 0.5)
                   .arg(net + c % 3 + 1 + c % 4 * 0.5);
    }
    return sql;
}

QString crowdedPresets()
{
    QString sql = QStringLiteral("INSERT INTO VANT_V3 (IDK, KENK, EKP, KENKPG, FKG, FKP, FZK) VALUES "
                                 "(1, 'K0', 40, 0, 1, 1, 1);");
    for (int c = 0; c < kCombinations; ++c)
        sql += QStringLiteral("INSERT INTO VANT_V11 (IDT, KENT, EKT) VALUES (%1, '%2', %3);"
                              "INSERT INTO VANT_V2 (IDG, KENG) VALUES (%1, '%4');")
                   .arg(c + 1)
                   .arg(keyOf(kKinds[1], c))
                   .arg(50 + 10 * (c % 6))
                   .arg(keyOf(kKinds[0], c));
    return sql;
}

// The first page of the crowded project with the three pages it loads after it.
class CrowdedPages : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        ctx.projekt = QStringLiteral("P1");
        ctx.bearbeiter = QStringLiteral("Meier");
        cnn->Execute(crowdedProject());
        cnnV->Execute(crowdedPresets());
        previous_ = mdiMSEITE1::setFollowingPages(
            [](RunContext &c, std::shared_ptr<MultipleRun> r, QWidget *parent) -> MultiplePage * {
                return new mdiMSEITE2(c, std::move(r), parent);
            });
    }
    void TearDown() override { mdiMSEITE1::setFollowingPages(previous_); }

    void load()
    {
        boxes.modal([](QDialog &) { return int(QDialog::Rejected); });
        page1 = std::make_unique<mdiMSEITE1>(ctx);
        pages = {page1.get()};
        for (MultiplePage *p = page1->followingPage(); p; p = p->followingPage())
            pages << p;
        ASSERT_EQ(pages.size(), 4);
    }
    // The page of number 1 to 4, shown at a main window's size.
    ResultPage &shown(int number)
    {
        ResultPage &p = *pages[number - 1];
        p.setWindowState(Qt::WindowNoState);
        p.resize(1400, 990);
        p.show();
        QCoreApplication::processEvents();
        return p;
    }

    std::unique_ptr<mdiMSEITE1> page1;
    QList<ResultPage *> pages;

private:
    mdiMSEITE1::FollowingPages previous_;
};

// The figure procedure of the page's figure `number`, from the page's own list.
std::function<void(int, float, float)> figureOf(ResultPage &page, int number)
{
    for (const PageAccess::Printed &f : PageAccess::figuresOf(page))
        if (f.box == QStringLiteral("picBILD%1").arg(number))
            return f.draw;
    return {};
}

// What figure `number` puts on a sheet of its own, at the offsets 0, 0.
std::shared_ptr<RecordingSurface> printed(ResultPage &page, int number)
{
    auto sheet = std::make_shared<RecordingSurface>();
    sheet->setPrinter(true);
    page.setPrintTarget(sheet);
    figureOf(page, number)(1, 0, 0);
    page.setPrintTarget(nullptr);
    return sheet;
}

struct TableOfPage {
    int page, number;
    const char *title;
};
const TableOfPage kTables[] = {{1, 160, "Kombinationen"},
                               {2, 260, "Kombinationen"},
                               {3, 360, "Kombinationen"},
                               {4, 410, "Mittelwerte, Standardabweichung und Variationskoeffizient"}};

} // namespace

// A table longer than its box prints the rows in view, as the screen shows them, and says
// under its title which rows of how many those are; at the end of the list as at its start.
TEST_F(CrowdedPages, TablesOnPaperNameTheRowsTheyPrint)
{
    load();
    for (const TableOfPage &t : kTables) {
        SCOPED_TRACE(t.number);
        ResultPage &page = shown(t.page);
        QScrollBar *bar = page.scrollBar(QStringLiteral("vscBILD%1").arg(t.number));
        ASSERT_TRUE(bar);
        ASSERT_FALSE(bar->isHidden()) << "the table fits its box; the test needs one that does not";
        for (int value : {0, bar->maximum()}) {
            bar->setValue(value);
            QCoreApplication::processEvents();
            const QStringList texts = printed(page, t.number)->texts();
            const clsTABELLE *x = page.TABELLE(t.number);
            ASSERT_TRUE(x);
            const int first = x->EEZ() + 1, last = x->ELZ() + 1;
            EXPECT_TRUE(first > 1 || last < kCombinations) << first << " to " << last;
            EXPECT_TRUE(texts.contains(QStringLiteral("%1 (Zeilen %2 bis %3 von %4)")
                                           .arg(QLatin1String(t.title))
                                           .arg(first)
                                           .arg(last)
                                           .arg(kCombinations)))
                << texts.filter(QLatin1String(t.title)).join(QLatin1String(" | ")).toStdString();
        }
        bar->setValue(0);
        page.hide();
    }
}

// A key longer than its column runs on over the next key column, never over the mark column:
// the "*" of a combination without a section stays clear of every key and of the ground
// cleared under a key.
TEST_F(CrowdedPages, KeysNeverRunOverTheMarkColumn)
{
    load();
    for (const TableOfPage &t : kTables) {
        if (t.number == 410)
            continue;
        SCOPED_TRACE(t.number);
        ResultPage &page = *pages[t.page - 1];
        const auto sheet = printed(page, t.number);
        // The table starts 0.5 mm inside its box; the mark column follows "Nr." and five keys.
        const double markLeft = page.boxRectMm(page.pictureBox(QStringLiteral("picBILD%1").arg(t.number))).left()
                                + 0.5 + 5 + 5 * 13;
        int keys = 0, marks = 0;
        QStringList over;
        for (const Stroke &s : sheet->strokes()) {
            const QRectF r = strokeBounds(s);
            if (s.kind == Primitive::Text && s.text == QLatin1String("*"))
                ++marks;
            else if (s.kind == Primitive::Text && s.text.size() == 17) {
                ++keys;
                if (r.right() > markLeft)
                    over << QStringLiteral("%1 to %2").arg(s.text).arg(r.right() - markLeft);
            } else if (s.kind == Primitive::FillRect && r.right() > markLeft + 0.05) {
                over << QStringLiteral("ground to %1").arg(r.right() - markLeft);
            }
        }
        EXPECT_GT(keys, 5 * 10);
        EXPECT_GT(marks, 1);
        EXPECT_TRUE(over.isEmpty()) << "beyond the start of the mark column: "
                                    << over.join(QLatin1String("; ")).toStdString();
    }
}

// The strip's labels pushed below the end of the depth axis pass the number at the end of the
// first figure's value axis: whatever is drawn there later leaves every label whole.
TEST_F(CrowdedPages, StripLabelsAreNeverCovered)
{
    load();
    for (int p = 1; p <= 3; ++p) {
        const int first = 100 * p + 10;
        SCOPED_TRACE(first);
        ResultPage &page = *pages[p - 1];
        const auto sheet = printed(page, first);   // with the strip in its right margin
        const QRectF box = page.boxRectMm(page.pictureBox(QStringLiteral("picBILD%1").arg(first)));
        const double stripLeft = box.right() - 11, plotBottom = box.bottom() - 11;
        const std::vector<Stroke> &all = sheet->strokes();
        int below = 0;
        QStringList covered;
        for (size_t i = 0; i < all.size(); ++i) {
            const Stroke &label = all[i];
            bool number = false;
            label.text.toInt(&number);
            if (label.kind != Primitive::Text || !number || label.points[0].x() < stripLeft + 2)
                continue;
            const QRectF r = strokeBounds(label).adjusted(0.15, 0.15, -0.15, -0.15);
            below += r.top() > plotBottom;
            for (size_t j = i + 1; j < all.size(); ++j)
                if ((all[j].kind == Primitive::FillRect || all[j].kind == Primitive::Text)
                    && strokeBounds(all[j]).intersects(r))
                    covered << QStringLiteral("%1 by %2 '%3'").arg(label.text).arg(int(all[j].kind)).arg(all[j].text);
        }
        EXPECT_GT(below, 0) << "no label under the end of the depth axis";
        EXPECT_TRUE(covered.isEmpty()) << covered.join(QLatin1String("; ")).toStdString();
    }
}

// The look of every page holds for the crowded project, at the start of its tables and at
// their end.
TEST_F(CrowdedPages, Look)
{
    ScreenLogs screen;
    load();
    for (int p = 1; p <= 4; ++p) {
        SCOPED_TRACE(p);
        ResultPage &page = *pages[p - 1];
        lookAtPage(page, screen, QStringLiteral("crowded-mseite%1").arg(p));
        for (QScrollBar *bar : page.findChildren<QScrollBar *>())
            if (!bar->isHidden())
                bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        expectPageLooksRight(page, screen);
        EXPECT_TRUE(keepShot(shotOf(page), QStringLiteral("crowded-mseite%1-end").arg(p)));
        page.hide();
    }
}
