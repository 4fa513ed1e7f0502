// Whether a figure's legend stays readable over the figure's lines, judged on the recording
// surface: each legend text stands on a cleared background, and no line drawn after that
// background runs into it, except the legend's own strokes, which lie wholly inside it.
#pragma once

#include "drawing/Surface.h"

#include <QLineF>
#include <cmath>
#include <gtest/gtest.h>

namespace vnt::test {

namespace legend_detail {

inline bool crosses(const QRectF &r, QPointF a, QPointF b)
{
    // Sampling is enough at the scale of a legend (millimetres) and of the strokes' ends.
    for (int i = 0; i <= 200; ++i) {
        const QPointF p = a + (b - a) * (i / 200.0);
        if (r.adjusted(0.01, 0.01, -0.01, -0.01).contains(p))
            return true;
    }
    return false;
}

} // namespace legend_detail

// `labels` are the legend texts of the one figure recorded in `s`.
inline ::testing::AssertionResult legendReadsOverLines(const RecordingSurface &s, const QStringList &labels)
{
    const std::vector<Stroke> &log = s.strokes();
    for (const QString &label : labels) {
        int ti = -1;
        for (int i = int(log.size()) - 1; i >= 0 && ti < 0; --i)
            if (log[size_t(i)].kind == Primitive::Text && log[size_t(i)].text == label)
                ti = i;
        if (ti < 0)
            return ::testing::AssertionFailure() << "no legend text " << label.toStdString();
        const Stroke &t = log[size_t(ti)];
        const QRectF box(t.points[0], measureTextMm(t.font, t.text));
        int fi = -1;
        QRectF cleared;
        for (int i = ti - 1; i >= 0 && fi < 0; --i) {
            const Stroke &k = log[size_t(i)];
            if (k.kind != Primitive::FillRect || k.points.size() < 2)
                continue;
            const QRectF r = QRectF(k.points[0], k.points[1]).normalized();
            if (r.contains(box.adjusted(0.05, 0.05, -0.05, -0.05))) {
                fi = i;
                cleared = r;
            }
        }
        if (fi < 0)
            return ::testing::AssertionFailure() << "no cleared background under " << label.toStdString();
        if (log[size_t(fi)].fillColor != s.backColor())
            return ::testing::AssertionFailure() << "the background under " << label.toStdString()
                                                 << " is not the box's colour";
        for (size_t i = size_t(fi) + 1; i < log.size(); ++i) {
            const Stroke &k = log[i];
            if (k.kind != Primitive::Line && k.kind != Primitive::Polyline)
                continue;
            bool inside = true, crossing = false;
            for (int p = 0; p < k.points.size(); ++p) {
                inside = inside && cleared.adjusted(-0.01, -0.01, 0.01, 0.01).contains(k.points[p]);
                if (p > 0)
                    crossing = crossing || legend_detail::crosses(cleared, k.points[p - 1], k.points[p]);
            }
            if (crossing && !inside)
                return ::testing::AssertionFailure()
                       << "a line drawn after the background under " << label.toStdString() << " runs into it, from ("
                       << k.points.front().x() << ", " << k.points.front().y() << ") to (" << k.points.back().x()
                       << ", " << k.points.back().y() << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

// A series of the one figure recorded in `s`, as its legend row and its outline show it: the
// legend stroke that ends 1 mm before the row's text and every stroke in the series' colour
// have that colour and line style.
inline ::testing::AssertionResult seriesDrawnAs(const RecordingSurface &s, const QString &label, const QColor &colour,
                                                int style)
{
    const std::vector<Stroke> &log = s.strokes();
    const Stroke *text = nullptr;
    for (const Stroke &k : log)
        if (k.kind == Primitive::Text && k.text == label)
            text = &k;
    if (!text)
        return ::testing::AssertionFailure() << "no legend text " << label.toStdString();
    const QRectF box(text->points[0], measureTextMm(text->font, text->text));
    const Stroke *stroke = nullptr;
    for (const Stroke &k : log)
        if (k.kind == Primitive::Line && std::abs(k.points[0].y() - box.center().y()) < 0.6 &&
            std::abs(k.points[1].y() - k.points[0].y()) < 1e-6 &&
            std::abs(std::max(k.points[0].x(), k.points[1].x()) - (box.left() - 1)) < 0.05)
            stroke = &k;
    if (!stroke)
        return ::testing::AssertionFailure() << "no legend stroke before " << label.toStdString();
    if (stroke->color != colour || stroke->style != style)
        return ::testing::AssertionFailure() << "the legend stroke of " << label.toStdString() << " is "
                                             << stroke->color.name().toStdString() << " in style " << stroke->style;
    int outline = 0;
    for (const Stroke &k : log) {
        if ((k.kind != Primitive::Line && k.kind != Primitive::Polyline) || k.color != colour || &k == stroke)
            continue;
        ++outline;
        if (k.style != style)
            return ::testing::AssertionFailure() << "a stroke of " << label.toStdString() << " is in style "
                                                 << k.style;
    }
    if (outline == 0)
        return ::testing::AssertionFailure() << "no outline of " << label.toStdString();
    return ::testing::AssertionSuccess();
}

} // namespace vnt::test
