// The figures of the page as descriptions for the figure engine.
#include "pages/ancillary/mdiMSEITE2.h"

namespace vnt {

CurveFigure mdiMSEITE2::figure(int number)
{
    CurveFigure f;
    f.number = number;
    f.box = QStringLiteral("picBILD") + QString::number(number);
    f.ownsDepthAxis = number == 210;
    f.depthFrom = number == 210 ? 0 : 210;
    f.x = depthLists();
    if (number == 210)
        f.then = [this](int OBJ, float XDL, float YDO) { BILD215(OBJ, XDL, YDO); };
    return f;
}

void mdiMSEITE2::BILD210(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(210), OBJ, XDL, YDO); }
void mdiMSEITE2::BILD220(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(220), OBJ, XDL, YDO); }
void mdiMSEITE2::BILD230(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(230), OBJ, XDL, YDO); }
void mdiMSEITE2::BILD240(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(240), OBJ, XDL, YDO); }
void mdiMSEITE2::BILD250(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(250), OBJ, XDL, YDO); }
void mdiMSEITE2::BILD215(int OBJ, float XDL, float YDO)
{
    drawStrip(StripFigure{215, QStringLiteral("picBILD210"), 210}, BOKOMB(), OBJ, XDL, YDO);
}

} // namespace vnt
