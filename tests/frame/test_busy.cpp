// Quit and close while a page is still drawing: they wait until the drawing has returned.
#include "test_pagecmds_support.h"

#include <QCoreApplication>

using namespace vnt;
using namespace vnt::test;

namespace {

// A page of two figures; the first presses a key of the page while it draws, as a key that
// arrives between two figures would be handled.
class KeyPage : public ResultPage {
public:
    KeyPage(RunContext &ctx, QWidget *parent, int key, int shift) : ResultPage(ctx, parent), key_(key), shift_(shift)
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
                           Form_KeyDown(key_, shift_);
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
    int key_, shift_;
};

} // namespace

TEST(Busy, EscAndAltQDuringADrawingWaitUntilItHasReturned)
{
    struct Case { int key, shift; bool ends; } cases[] = {{27, 0, false}, {81, 4, true}};
    for (const Case &c : cases) {
        PageWindow w;
        QPointer<KeyPage> page;
        const PageFactory keyPage = [&](RunContext &ctx, QWidget *parent) -> QWidget * {
            return page = new KeyPage(ctx, parent, c.key, c.shift);
        };
        loadPage(*w.frm, keyPage, "mdiSEITE1");
        ASSERT_TRUE(page);
        Boxes none;
        page->KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);

        EXPECT_EQ(page->drawn, QStringList({"BILD11", "BILD12"})) << c.key;
        EXPECT_TRUE(page->pageWasAliveAtSecondFigure) << c.key;
        EXPECT_EQ(w.windows(), QStringList({"mdiAUTOSTART", "mdiSEITE1"})) << "nothing closed yet";
        EXPECT_FALSE(w.frm->ended());

        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(page.isNull()) << c.key;
        EXPECT_EQ(w.frm->ended(), c.ends) << c.key;
    }
}
