// Looking at a result page as a user would, with assertions: what every figure draws stays
// inside its picture box on paper, and the pictures of the page go to the test's own folder
// (kept for looking at when VANTREL_KEEP_LOOK is set).
#pragma once

#include "drawing/Surface.h"
#include "pages/common/ResultPage.h"

#include <QPolygonF>
#include <QTemporaryDir>
#include <QTransform>
#include <cstdio>
#include <functional>

namespace vnt::test {

// The area a logged primitive covers on the sheet, in millimetres.
inline QRectF strokeBounds(const Stroke &s)
{
    if (s.kind == Primitive::Text) {
        const QSizeF size = measureTextMm(s.font, s.text);
        // Turned about its top-left corner, counter-clockwise on paper.
        const QPolygonF cell = QTransform().translate(s.points[0].x(), s.points[0].y()).rotate(-s.angle)
                                   .map(QPolygonF(QRectF(QPointF(0, 0), size)));
        return cell.boundingRect();
    }
    if (s.kind == Primitive::Ellipse || s.kind == Primitive::Arc)
        return QRectF(s.points[0] - QPointF(s.rx, s.ry), QSizeF(2 * s.rx, 2 * s.ry));
    return QPolygonF(s.points).boundingRect();
}

// The primitives of a recording that leave the box by more than `tolerance` mm, described.
inline QStringList leavingTheBox(const RecordingSurface &rec, const QRectF &box, double tolerance)
{
    QStringList out;
    const QRectF allowed = box.adjusted(-tolerance, -tolerance, tolerance, tolerance);
    for (const Stroke &s : rec.strokes()) {
        if (s.kind == Primitive::Clear)
            continue;
        const QRectF r = strokeBounds(s);
        // Lines are rectangles without area, which QRectF::contains never holds.
        if (r.left() < allowed.left() || r.right() > allowed.right() || r.top() < allowed.top()
            || r.bottom() > allowed.bottom())
            out << QStringLiteral("%1 '%2' at %3,%4 %5x%6")
                       .arg(int(s.kind)).arg(s.text).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    return out;
}

// Draws each figure of a page on paper on a recording of its own and checks that its strokes
// stay inside its picture box at its printing offsets: lines exactly, texts within the 1 mm
// the drawing object allows them.
inline void expectFiguresInsideTheirBoxes(ResultPage &page, const QList<std::pair<QString, QPointF>> &figures,
                                          const std::function<void(const QString &, int)> &draw)
{
    for (const auto &[box, offset] : figures) {
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        draw(box, 1);
        const QRectF onPaper = page.boxRectMm(page.pictureBox(box)).translated(offset);
        const QStringList leaving = leavingTheBox(*rec, onPaper, 1.01);
        EXPECT_TRUE(leaving.isEmpty()) << box.toStdString() << ": " << leaving.join(QLatin1String("; ")).toStdString();
        EXPECT_FALSE(rec->strokes().empty()) << box.toStdString();
    }
    page.setPrintTarget(nullptr);
}

// A folder for the pictures of a look test: removed with the test unless VANTREL_KEEP_LOOK is
// set, in which case its path is printed.
struct LookFolder {
    QTemporaryDir dir;
    LookFolder()
    {
        if (qEnvironmentVariableIsSet("VANTREL_KEEP_LOOK")) {
            dir.setAutoRemove(false);
            std::printf("look pictures in %s\n", qPrintable(dir.path()));
        }
    }
    QString file(const QString &name) const { return dir.filePath(name); }
};

} // namespace vnt::test
