// Golden drawings: what a recording surface logged, written as text in rounded millimetres,
// compared with a file kept under tests/golden. With VANTREL_REWRITE_GOLDEN=1 the test writes
// the file instead (tests/rewrite-golden.sh does that for every golden test), so that an
// intended change of a drawing becomes a diff to read.
#pragma once

#include "drawing/Surface.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <cmath>
#include <vector>

namespace vnt::test {

// A length to a tenth of a millimetre, never "-0.0".
inline QString mm(double v)
{
    const double r = std::round(v * 10) / 10;
    return QString::number(r == 0 ? 0.0 : r, 'f', 1);
}

inline QString at(QPointF p) { return mm(p.x()) + QLatin1Char(',') + mm(p.y()); }

// The strokes as lines of text: one line per primitive, and a line for the pen, fill, font or
// clip whenever it changes, so that a changed colour shows once where it begins.
inline QStringList describeStrokes(const std::vector<Stroke> &strokes)
{
    QStringList out;
    QString pen, fill, font, clip;
    auto state = [&out](QString &last, const QString &now) {
        if (now != last)
            out << now;
        last = now;
    };
    for (const Stroke &s : strokes) {
        if (s.kind == Primitive::Clear) {
            out << QStringLiteral("clear");
            pen.clear(), fill.clear(), font.clear(), clip.clear();
            continue;
        }
        state(clip, s.clip ? QStringLiteral("clip ") + at(s.clip->topLeft()) + QLatin1Char(' ') + at(s.clip->bottomRight())
                           : QStringLiteral("clip none"));
        if (s.kind == Primitive::Text) {
            state(font, QStringLiteral("font %1 %2%3%4%5 %6").arg(s.font.name, mm(s.font.size), s.font.bold ? QStringLiteral(" bold") : QString(),
                                                              s.font.italic ? QStringLiteral(" italic") : QString(),
                                                              s.font.underline ? QStringLiteral(" underline") : QString(),
                                                              s.color.name()));
            out << QStringLiteral("text %1%2 \"%3\"%4")
                       .arg(at(s.points[0]), s.angle != 0 ? QStringLiteral(" turned ") + mm(s.angle) : QString(), s.text,
                            s.filled ? QStringLiteral(" opaque") : QString());
            continue;
        }
        if (s.kind == Primitive::FillRect) {
            out << QStringLiteral("fillrect %1 %2 %3").arg(at(s.points[0]), at(s.points[1]), s.fillColor.name());
            continue;
        }
        state(pen, QStringLiteral("pen %1 %2 %3").arg(s.color.name(), mm(s.width)).arg(s.style));
        if (s.filled)
            state(fill, QStringLiteral("fill %1 %2").arg(s.fillColor.name()).arg(s.fillStyle));
        QStringList points;
        for (const QPointF &p : s.points)
            points << at(p);
        const QString filled = s.filled ? QStringLiteral(" filled") : QString();
        switch (s.kind) {
        case Primitive::Line: out << QStringLiteral("line ") + points.join(QLatin1Char(' ')); break;
        case Primitive::Polyline: out << QStringLiteral("polyline ") + points.join(QLatin1Char(' ')); break;
        case Primitive::Polygon: out << QStringLiteral("polygon ") + points.join(QLatin1Char(' ')) + filled; break;
        case Primitive::Rectangle: out << QStringLiteral("rect ") + points.join(QLatin1Char(' ')) + filled; break;
        case Primitive::Ellipse:
            out << QStringLiteral("ellipse %1 %2 %3%4").arg(points[0], mm(s.rx), mm(s.ry), filled);
            break;
        case Primitive::Arc:
            out << QStringLiteral("arc %1 %2 from %3 to %4").arg(points[0], mm(s.rx), mm(s.startRad * 180 / M_PI), mm(s.endRad * 180 / M_PI));
            break;
        case Primitive::Point: out << QStringLiteral("point ") + points[0]; break;
        default: break;
        }
    }
    return out;
}

// The folder of the golden files: VANTREL_GOLDEN_DIR, which the test runner sets to the
// checkout's tests/golden.
inline QString goldenFile(const QString &name)
{
    return QDir(qEnvironmentVariable("VANTREL_GOLDEN_DIR")).filePath(name + QStringLiteral(".txt"));
}

inline bool rewritingGolden() { return qEnvironmentVariable("VANTREL_REWRITE_GOLDEN") == QLatin1String("1"); }

// Compares the drawing with its golden file, naming the first lines that differ; rewrites the
// file instead when asked to.
inline void expectGolden(const QString &name, const QStringList &lines)
{
    const QString file = goldenFile(name);
    const QByteArray actual = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (rewritingGolden()) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        f.write(actual);
        std::printf("rewrote %s\n", qPrintable(file));
        return;
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString() << " is missing; tests/rewrite-golden.sh writes it";
    const QByteArray expected = f.readAll();
    if (expected == actual)
        return;
    const QStringList want = QString::fromUtf8(expected).split(QLatin1Char('\n'));
    const QStringList got = QString::fromUtf8(actual).split(QLatin1Char('\n'));
    QStringList report;
    for (qsizetype i = 0, shown = 0; i < std::max(want.size(), got.size()) && shown < 12; ++i) {
        const QString w = want.value(i, QStringLiteral("<end>")), g = got.value(i, QStringLiteral("<end>"));
        if (w == g)
            continue;
        report << QStringLiteral("line %1\n  golden: %2\n  drawn:  %3").arg(i + 1).arg(w, g);
        ++shown;
    }
    ADD_FAILURE() << name.toStdString() << ": the drawing differs from " << file.toStdString() << " (" << want.size()
                  << " lines golden, " << got.size() << " drawn)\n"
                  << report.join(QLatin1Char('\n')).toStdString()
                  << "\nAfter an intended change, tests/rewrite-golden.sh rewrites the golden drawings; read the diff.";
}

} // namespace vnt::test
