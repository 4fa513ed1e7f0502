// A working database for the ancillary-times and additional-costs pages: the active records,
// the recalculation mark of record 0 and the rows of M1, M2 and M3 a test gives; and a page
// loaded from it offscreen, with the pages after it in the chain.
#pragma once

#include "multiple/MultipleFixture.h"
#include "pages/multiple/MultipleRun.h"
#include "pages/common/ResultPage.h"

#include <QRectF>

#include <memory>

namespace vnt::test {

inline const char *kCombinationRecords = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1), (2, 'B', 1);
INSERT INTO A1 (ID, BONEU) VALUES (0, 1);
INSERT INTO M1 (IDM, KOM) VALUES (1, 'Los 3');
)";

class CombinationPageTest : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        ctx.projekt = QStringLiteral("P1");
        ctx.bearbeiter = QStringLiteral("Meier");
        cnn->Execute(QString::fromLatin1(kCombinationRecords));
    }

    // Runs the test's rows (M2, M3, ...), then loads the page; boxes the test expects during
    // the load are scripted before.
    template <class Page>
    std::unique_ptr<Page> load(const QString &rows = {})
    {
        if (!rows.isEmpty())
            cnn->Execute(rows);
        return std::make_unique<Page>(ctx, run, nullptr);
    }

    std::shared_ptr<MultipleRun> run = std::make_shared<MultipleRun>();
};

// Where the values of a curve figure printed at the offsets 0, 0 stand on the sheet, worked out
// from its box and the margins every curve figure keeps (left 10 mm, top 7 mm, bottom 11 mm;
// right 11 mm for the figure that owns the depth axis and leaves that margin to the strip, 5 mm
// for the others), and from its value and depth ranges, which start at 0. Not the figure's own
// transform, so that a fault there shows.
struct PlotArea {
    QRectF plot;
    double xmax = 1, ymax = 1;

    PlotArea(const ResultPage &page, const QString &box, bool ownsDepthAxis, double XMAX, double YMAX)
        : xmax(XMAX), ymax(YMAX)
    {
        const QRectF r = page.boxRectMm(page.pictureBox(box));
        plot = r.adjusted(10, 7, ownsDepthAxis ? -11 : -5, -11);
    }
    QPointF at(double value, double depth) const
    {
        return {plot.left() + value / xmax * plot.width(), plot.top() + depth / ymax * plot.height()};
    }
    double value(double x) const { return (x - plot.left()) / plot.width() * xmax; }
    double depth(double y) const { return (y - plot.top()) / plot.height() * ymax; }
};

} // namespace vnt::test
