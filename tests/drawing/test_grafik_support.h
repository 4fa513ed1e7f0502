// A project database with the figure tables, a run context on it, and a recording target,
// for the tests of the drawing object.
#pragma once

#include <gtest/gtest.h>

#include "common/SchemaDb.h"
#include "drawing/Surface.h"
#include "drawing/clsGRAFIK.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace vnt::test {

struct FigurDb {
    QTemporaryDir dir;
    SimpleRunContext ctx;

    FigurDb() { ctx.cnn = makeProjectDatabase(dir.filePath(QStringLiteral("VANT.mdb"))); }
    void exec(const QString &sql) { ctx.cnn->Execute(sql); }
    double g0(const QString &col, int id = 1, int obj = 11) {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [%1] FROM [G0] WHERE [ID]=%2 AND [IDOBJEKT]=%3").arg(col).arg(id).arg(obj), ctx.cnn);
        return rs.isEOF() ? qQNaN() : rs.Fields(0).toDouble();
    }
    // A G0 row: OX, OY, margins, limits, scales.
    void frame(int id, int obj, int ox, int oy, double rl, double rr, double ro, double ru, double xmin, double xmax,
               double ymin, double ymax, double mx = 0, double my = 0, double mymx = 0) {
        exec(QStringLiteral("INSERT INTO G0 (ID,IDOBJEKT,OX,OY,RL,RR,RO,RU,MYMX,XMIN,XMAX,YMIN,YMAX,MX,MY) VALUES "
                            "(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12,%13,%14,%15)")
                 .arg(id).arg(obj).arg(ox).arg(oy).arg(rl).arg(rr).arg(ro).arg(ru).arg(mymx)
                 .arg(xmin).arg(xmax).arg(ymin).arg(ymax).arg(mx).arg(my));
    }
};

inline bool inside(QPointF p, const QRectF &r, double tol = 1e-6) {
    return p.x() >= r.left() - tol && p.x() <= r.right() + tol && p.y() >= r.top() - tol && p.y() <= r.bottom() + tol;
}

inline bool nearPoint(QPointF a, QPointF b, double tol = 1e-3) {
    return std::fabs(a.x() - b.x()) < tol && std::fabs(a.y() - b.y()) < tol;
}

// The segments of the recorded lines, as text "(x1,y1)-(x2,y2)" with 3 decimals, for tables.
inline QStringList segments(const RecordingSurface &s) {
    QStringList out;
    for (const Stroke &st : s.strokes(Primitive::Line))
        out << QStringLiteral("(%1,%2)-(%3,%4)")
                   .arg(st.points[0].x(), 0, 'f', 3).arg(st.points[0].y(), 0, 'f', 3)
                   .arg(st.points[1].x(), 0, 'f', 3).arg(st.points[1].y(), 0, 'f', 3);
    return out;
}

} // namespace vnt::test
