// Looking at a whole result page as the user sees it, with assertions that any page can take:
// on screen every picture box shows only what lies inside it, on paper every figure stays in
// its box at its printing offsets, nothing runs over the sheet's edge, and the header and
// footer keep to their bands above and below the figures. The screen is watched through a log
// of every picture box's drawing, installed before the page is made.
#pragma once

#include "Golden.h"
#include "Shots.h"
#include "record/LookSupport.h"
#include "drawing/PictureBox.h"
#include "pages/common/PrintJob.h"
#include "pages/common/ResultPage.h"
#include "platform/printer.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <map>
#include <memory>

namespace vnt::test {

// The figure list and the header procedure of any page, which are the page's own: reached
// through member pointers named by a derived class, the one way the language allows.
struct PageAccess : ResultPage {
    struct Printed {
        QString box;
        QPointF offset;
        std::function<void(int, float, float)> draw;
    };
    static QList<Printed> figuresOf(ResultPage &page)
    {
        QList<Printed> out;
        for (const Figure &f : (page.*&PageAccess::figures)())
            out.append({QStringLiteral("pic") + f.name, QPointF(f.xdl, f.ydo), f.draw});
        return out;
    }
    static void headerAndFooter(ResultPage &page, int AUSGABE) { (page.*&PageAccess::KOPFFUSS)(AUSGABE); }
};

// Every picture box made while it lives logs what is drawn on it.
class ScreenLogs {
public:
    ScreenLogs()
    {
        previous_ = PictureBox::setScreenLog([this](const PictureBox &box) {
            auto &log = logs_[&box];
            if (!log)
                log = std::make_shared<RecordingSurface>();
            return std::static_pointer_cast<Surface>(log);
        });
    }
    ~ScreenLogs() { PictureBox::setScreenLog(previous_); }
    ScreenLogs(const ScreenLogs &) = delete;
    ScreenLogs &operator=(const ScreenLogs &) = delete;

    // What the box shows: what was drawn on it since it was last cleared.
    std::vector<Stroke> shown(const PictureBox *box) const
    {
        const auto it = logs_.find(box);
        if (it == logs_.end())
            return {};
        const std::vector<Stroke> &all = it->second->strokes();
        auto from = all.end();
        while (from != all.begin() && (from - 1)->kind != Primitive::Clear)
            --from;
        return std::vector<Stroke>(from, all.end());
    }

private:
    std::map<const PictureBox *, std::shared_ptr<RecordingSurface>> logs_;
    PictureBox::ScreenLog previous_;
};

// The strokes that leave the box by more than `tolerance` mm, described.
inline QStringList describeLeaving(const std::vector<Stroke> &strokes, const QRectF &box, double tolerance)
{
    QStringList out;
    const QRectF allowed = box.adjusted(-tolerance, -tolerance, tolerance, tolerance);
    for (const Stroke &s : strokes) {
        if (s.kind == Primitive::Clear)
            continue;
        const QRectF r = strokeBounds(s);
        if (r.left() < allowed.left() || r.right() > allowed.right() || r.top() < allowed.top() || r.bottom() > allowed.bottom())
            out << QStringLiteral("%1 '%2' at %3 %4x%5").arg(int(s.kind)).arg(s.text, at(r.topLeft()), mm(r.width()), mm(r.height()));
    }
    return out;
}

// The strokes that reach more than half a millimetre into one of the rectangles, described;
// fills of the whole surface (its ground) aside.
inline QStringList reachingInto(const std::vector<Stroke> &strokes, const QList<QRectF> &rects)
{
    QStringList out;
    for (const Stroke &s : strokes) {
        if (s.kind == Primitive::Clear || s.kind == Primitive::FillRect)
            continue;
        const QRectF r = strokeBounds(s);
        for (const QRectF &b : rects)
            if (r.left() < b.right() - 0.5 && r.right() > b.left() + 0.5 && r.top() < b.bottom() - 0.5 && r.bottom() > b.top() + 0.5) {
                out << QStringLiteral("%1 '%2' at %3 %4").arg(int(s.kind)).arg(s.text, at(r.topLeft()), at(r.bottomRight()));
                break;
            }
    }
    return out;
}

// The figure boxes of a page that are shown (not the page's own surface).
inline QList<PictureBox *> figureBoxes(const ResultPage &page)
{
    QList<PictureBox *> out;
    for (PictureBox *b : page.findChildren<PictureBox *>(Qt::FindDirectChildrenOnly))
        if (b != page.pageSurface() && !b->isHidden())
            out << b;
    return out;
}

// The sheet of the page as printed.
inline std::shared_ptr<RecordingSurface> printedSheet(ResultPage &page)
{
    auto sheet = std::make_shared<RecordingSurface>();
    sheet->setPrinter(true);
    PrintJob job(sheet);
    page.DRUCKEN(job);
    return sheet;
}

// The look of a page on screen (as drawn so far) and on paper; see the file's comment.
inline void expectPageLooksRight(ResultPage &page, const ScreenLogs &screen)
{
    const std::string name = page.objectName().toStdString();
    const QRectF sheetRect(0, 0, 297, 210);
    // Texts may stand 1 mm over their box, as the drawing object allows them; lines not at all.
    constexpr double textRoom = 1.01;

    // Screen: each box shows only what lies inside it.
    for (PictureBox *box : figureBoxes(page)) {
        const std::vector<Stroke> shown = screen.shown(box);
        EXPECT_FALSE(shown.empty()) << name << ' ' << box->objectName().toStdString() << " shows nothing";
        const QStringList leaving = describeLeaving(shown, QRectF(QPointF(0, 0), box->sizeMm()), textRoom);
        EXPECT_TRUE(leaving.isEmpty()) << name << " on screen, " << box->objectName().toStdString() << ": "
                                       << leaving.join(QLatin1String("; ")).toStdString();
    }

    // The page's own surface, with the header and footer on screen: inside the page, clear of
    // every box.
    std::vector<Stroke> onPage;
    for (const Stroke &s : screen.shown(page.pageSurface()))
        if (s.kind != Primitive::FillRect)   // the page's ground
            onPage.push_back(s);
    const QStringList outside = describeLeaving(onPage, QRectF(QPointF(0, 0), page.pageSurface()->sizeMm()), 0);
    EXPECT_TRUE(outside.isEmpty()) << name << " on screen, outside the page: " << outside.join(QLatin1String("; ")).toStdString();
    QList<QRectF> boxesOnScreen;
    for (PictureBox *box : figureBoxes(page))
        boxesOnScreen << QRectF(QPointF(box->geometry().topLeft()) / page.scale(), box->sizeMm());
    const QStringList over = reachingInto(onPage, boxesOnScreen);
    EXPECT_TRUE(over.isEmpty()) << name << ": on screen the header or footer reaches into a figure: "
                                << over.join(QLatin1String("; ")).toStdString();

    // Paper, figure by figure: inside its box at its printing offsets.
    QList<QRectF> figuresOnPaper;
    for (const PageAccess::Printed &f : PageAccess::figuresOf(page)) {
        PictureBox *box = page.pictureBox(f.box);
        EXPECT_TRUE(box) << name << ": no box " << f.box.toStdString();
        if (!box)
            continue;
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        f.draw(1, float(f.offset.x()), float(f.offset.y()));
        const QRectF onPaper = page.boxRectMm(box).translated(f.offset);
        figuresOnPaper << onPaper;
        EXPECT_FALSE(rec->strokes().empty()) << name << ' ' << f.box.toStdString() << " prints nothing";
        const QStringList leaving = describeLeaving(rec->strokes(), onPaper, textRoom);
        EXPECT_TRUE(leaving.isEmpty()) << name << " on paper, " << f.box.toStdString() << ": "
                                       << leaving.join(QLatin1String("; ")).toStdString();
    }

    // Header and footer: both there, inside the sheet, clear of every figure.
    if (page.BOKF) {
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        PageAccess::headerAndFooter(page, 1);
        int above = 0, below = 0;
        for (const Stroke &s : rec->strokes())
            if (s.kind != Primitive::Clear) {
                const QRectF r = strokeBounds(s);
                above += r.bottom() < sheetRect.center().y();
                below += r.top() > sheetRect.center().y();
            }
        EXPECT_GT(above, 0) << name << ": no header";
        EXPECT_GT(below, 0) << name << ": no footer";
        const QStringList over = reachingInto(rec->strokes(), figuresOnPaper);
        EXPECT_TRUE(over.isEmpty()) << name << ": on paper the header or footer reaches into a figure: "
                                    << over.join(QLatin1String("; ")).toStdString();
    }
    page.setPrintTarget(nullptr);

    // The whole sheet: nothing over its edge.
    const auto sheet = printedSheet(page);
    EXPECT_GT(sheet->strokes().size(), 0u) << name;
    const QStringList leaving = describeLeaving(sheet->strokes(), sheetRect, 0);
    EXPECT_TRUE(leaving.isEmpty()) << name << " over the sheet's edge: " << leaving.join(QLatin1String("; ")).toStdString();
}

// The page's drawing as text: each box as the screen shows it now, the page's own surface
// (header and footer) first, then the printed sheet.
inline QStringList describePage(ResultPage &page, const ScreenLogs &screen)
{
    QStringList out{QStringLiteral("page ") + page.objectName()};
    QList<PictureBox *> boxes{page.pageSurface()};
    boxes << figureBoxes(page);
    for (PictureBox *box : boxes) {
        const QSizeF size = box->sizeMm();
        out << QStringLiteral("== screen %1 %2x%3").arg(box->objectName(), mm(size.width()), mm(size.height()));
        out << describeStrokes(screen.shown(box));
    }
    out << QStringLiteral("== paper");
    out << describeStrokes(printedSheet(page)->strokes());
    return out;
}

// A page of its own shown at the size of a main window's inner area, restyled white as the
// layout dialog leaves it, and looked at; with VANTREL_SCREENSHOTS naming a folder its picture
// and its printed sheet are kept there as <name>.png and <name>.pdf.
inline void lookAtPage(ResultPage &page, const ScreenLogs &screen, const QString &name)
{
    page.setWindowState(Qt::WindowNoState);
    page.resize(1400, 990);
    page.show();
    QCoreApplication::processEvents();
    page.KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);
    expectPageLooksRight(page, screen);
    EXPECT_TRUE(keepShot(shotOf(page), name));
    const QString out = qEnvironmentVariable("VANTREL_SCREENSHOTS");
    if (!out.isEmpty()) {
        Printer::instance().setPdfFile(out + QLatin1Char('/') + name + QStringLiteral(".pdf"));
        page.DRUCKEN();
        Printer::instance().setPdfFile(QString());
        Printer::instance().reset();
    }
}

} // namespace vnt::test
