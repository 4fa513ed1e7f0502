// Reading and writing a figure's frame row.
#include "pages/common/FigureFrame.h"

#include "data/clsDATEN.h"
#include "drawing/PictureBox.h"
#include "drawing/clsGRAFIK.h"
#include "platform/db/Database.h"
#include "platform/errors.h"

#include <set>

namespace vnt {

void writeFigureFrame(clsDATEN *g0, int figure, const std::vector<std::pair<const char *, double>> &values)
{
    if (!g0)
        vnt::raise(91);
    const Variant nr{int16_t(figure)};
    const QString key = QStringLiteral("IDOBJEKT");
    for (const auto &[column, value] : values) {
        const QString name = QString::fromLatin1(column);
        if (name == QLatin1String("OX") || name == QLatin1String("OY"))
            g0->DVTI(name, int16_t(value), key, nr);
        else
            g0->DVTS(name, float(value), key, nr);
    }
}

float readFigureFrame(clsDATEN *g0, int figure, const char *column)
{
    if (!g0)
        vnt::raise(91);
    float v = 0;
    g0->DTVS(QString::fromLatin1(column), v, QStringLiteral("IDOBJEKT"), Variant(int16_t(figure)));
    return v;
}

bool figureFramesComplete(clsDATEN *g0, int32_t id, std::initializer_list<int> figures)
{
    if (!g0)
        vnt::raise(91);
    static const char *const needed[] = {"OX", "OY", "RL", "RR", "RO", "RU", "XMIN", "XMAX", "YMIN", "YMAX"};
    std::set<int> missing(figures);
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [G0] WHERE [ID]=") + QString::number(id), g0->connection());
    for (; !rs.isEOF(); rs.MoveNext()) {
        bool complete = true;
        for (const char *column : needed)
            complete = complete && !rs.Fields(QString::fromLatin1(column)).isNull();
        if (complete)
            missing.erase(rs.Fields(QStringLiteral("IDOBJEKT")).toLong());
    }
    rs.Close();
    return missing.empty();
}

void bindFigureTarget(clsGRAFIK &g, int figure, PictureBox *box, int OBJ, float XDL, float YDO, const QRectF &mm,
                      Surface *sheet)
{
    g.setEIDOBJEKT(int16_t(figure));
    if (OBJ == 0) {
        if (!box)
            vnt::raise(91);
        g.setEOBJEKT(&box->surface());
        g.setEXDL(0);
        g.setEYDO(0);
        // The box's size on the sheet rather than its whole pixels: a scale the figure works
        // out from it and stores is the same on every screen and at every window size, so that
        // showing an unchanged figure again writes nothing.
        const QSizeF mm = box->sizeMm();
        g.setELX(mm.width());
        g.setELY(mm.height());
    } else if (OBJ == 1) {
        g.setEOBJEKT(sheet);
        g.setEXDL(mm.left() + XDL);
        g.setEYDO(mm.top() + YDO);
        g.setELX(mm.width());
        g.setELY(mm.height());
    }
}

} // namespace vnt
