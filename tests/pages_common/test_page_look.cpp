// The look check that every page's test takes: a small page whose one figure can be made to
// overreach its box, on screen and paper, or to sit where the header is, must fail it.
#include "common/PageLook.h"
#include "common/TestSupport.h"

#include <gtest/gtest-spi.h>
#include <QCoreApplication>

using namespace vnt;
using namespace vnt::test;

namespace {

// One 50 x 30 mm box; its figure draws a frame, a line from inside to `lineTo` and a text at
// `textAt`, in the box's millimetres, on screen and on paper alike.
class OnePage : public ResultPage {
public:
    OnePage(RunContext &ctx, QWidget *parent, const QRectF &boxMm, QPointF lineTo, QPointF textAt)
        : ResultPage(ctx, parent), lineTo_(lineTo), textAt_(textAt)
    {
        setObjectName(QStringLiteral("mdiEINE"));
        box_ = addPictureBox(QStringLiteral("picBILD1"), boxMm, {}, {});
    }

protected:
    QList<Figure> figures() override
    {
        return {{QStringLiteral("BILD1"), [this](int OBJ, float XDL, float YDO) { draw(OBJ, XDL, YDO); }, 2, 1}};
    }
    QString printErrorTitle() const override { return QStringLiteral("Drucken"); }
    PageHeaderContent headerContent() const override { return {}; }

private:
    void draw(int OBJ, float XDL, float YDO)
    {
        if (OBJ == 0)
            clearBox(box_);
        Surface &s = OBJ == 1 ? *printerSurface() : box_->surface();
        const QPointF o = OBJ == 1 ? boxRectMm(box_).topLeft() + QPointF(XDL, YDO) : QPointF();
        s.rectangle(QRectF(o, boxRectMm(box_).size()), false);
        s.line(o + QPointF(1, 1), o + lineTo_);
        s.text(o + textAt_, QStringLiteral("Achse"));
        if (OBJ == 0)
            box_->surface().flush();
    }
    PictureBox *box_ = nullptr;
    QPointF lineTo_, textAt_;
};

// The failures the look check reports for the page, joined.
QString lookFailures(const QRectF &boxMm, QPointF lineTo, QPointF textAt)
{
    SimpleRunContext ctx;
    ScreenLogs screen;
    QWidget host;
    host.resize(1200, 900);
    OnePage page(ctx, &host, boxMm, lineTo, textAt);
    page.resize(1200, 900);
    host.show();
    page.KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);
    QCoreApplication::processEvents();
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                                                             &results);
        expectPageLooksRight(page, screen);
    }
    QStringList out;
    for (int i = 0; i < results.size(); ++i)
        out << QString::fromStdString(results.GetTestPartResult(i).message());
    return out.join(QLatin1Char('\n'));
}

} // namespace

TEST(PageLook, FailsAFigureThatLeavesItsBoxOrAHeaderOverAFigure)
{
    Boxes none;
    const QRectF box(20, 40, 50, 30);
    struct Case {
        const char *what;
        QRectF box;
        QPointF lineTo, textAt;
        QStringList expected;   // parts of the failures; none: the page passes
    } cases[] = {
        {"everything inside", box, {49, 29}, {2, 2}, {}},
        {"a line 5 mm past the right edge", box, {55, 10}, {2, 2}, {"on screen, picBILD1", "on paper, picBILD1"}},
        {"a text 3 mm below the box", box, {49, 29}, {2, 30}, {"on screen, picBILD1", "on paper, picBILD1"}},
        {"a line off the sheet", QRectF(250, 40, 40, 30), {60, 10}, {2, 2}, {"over the sheet's edge"}},
        {"a box where the header stands", QRectF(10, 5, 120, 30), {49, 29}, {2, 2},
         {"on paper the header or footer reaches into a figure", "on screen the header or footer reaches into a figure"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString failures = lookFailures(c.box, c.lineTo, c.textAt);
        if (c.expected.isEmpty())
            EXPECT_TRUE(failures.isEmpty()) << failures.toStdString();
        for (const QString &part : c.expected)
            EXPECT_TRUE(failures.contains(part)) << part.toStdString() << " not in:\n" << failures.toStdString();
    }
}
