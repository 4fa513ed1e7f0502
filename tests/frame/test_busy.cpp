// Quit and close while a page is still drawing: they wait until the drawing has returned.
#include "test_pagecmds_support.h"

#include <QCoreApplication>

using namespace vnt;
using namespace vnt::test;

namespace {

// A page of two figures; the first does what input arriving between two figures would do:
// press a key of the page, or close the page's window frame.
class KeyPage : public ResultPage {
public:
    KeyPage(RunContext &ctx, QWidget *parent, std::function<void(KeyPage &)> meanwhile)
        : ResultPage(ctx, parent), meanwhile_(std::move(meanwhile))
    {
        setObjectName("mdiSEITE1");
        addPictureBox("picBILD11", QRectF(10, 30, 50, 40), {}, {});
    }
    QStringList drawn;
    bool pageWasAliveAtSecondFigure = false;

protected:
    QList<Figure> figures() override
    {
        return {Figure{"BILD11",
                       [this](int, float, float) {
                           drawn << "BILD11";
                           meanwhile_(*this);
                       }},
                Figure{"BILD12", [this](int, float, float) {
                           drawn << "BILD12";
                           // the page's objects are still there for the rest of the drawing
                           pageWasAliveAtSecondFigure = KOPFFUSSOBJEKT() != nullptr && parentWidget() != nullptr;
                       }}};
    }
    QString printErrorTitle() const override { return "Drucken"; }
    PageHeaderContent headerContent() const override { return {}; }

private:
    std::function<void(KeyPage &)> meanwhile_;
};

} // namespace

TEST(Busy, EscAltQAndTheFramesCloseDuringADrawingWaitUntilItHasReturned)
{
    struct Case {
        const char *what;
        std::function<void(KeyPage &)> meanwhile;
        bool ends;
    } cases[] = {
        {"Esc", [](KeyPage &p) { p.Form_KeyDown(27, 0); }, false},
        {"Alt+Q", [](KeyPage &p) { p.Form_KeyDown(81, 4); }, true},
        {"close box", [](KeyPage &p) { p.parentWidget()->close(); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        PageWindow w;
        QPointer<KeyPage> page;
        const PageFactory keyPage = [&](RunContext &ctx, QWidget *parent) -> QWidget * {
            return page = new KeyPage(ctx, parent, c.meanwhile);
        };
        loadPage(*w.frm, keyPage, "mdiSEITE1");
        ASSERT_TRUE(page);
        Boxes none;
        page->KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);

        EXPECT_EQ(page->drawn, QStringList({"BILD11", "BILD12"}));
        EXPECT_TRUE(page->pageWasAliveAtSecondFigure);
        EXPECT_EQ(w.windows(), QStringList({"mdiAUTOSTART", "mdiSEITE1"})) << "nothing closed yet";
        EXPECT_FALSE(w.frm->ended());

        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(page.isNull());
        EXPECT_EQ(w.frm->ended(), c.ends);
    }
}
