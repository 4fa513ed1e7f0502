// The figures of the page as descriptions for the figure engine.
#include "pages/ancillary/mdiMSEITE3.h"

namespace vnt {

CurveFigure mdiMSEITE3::figure(int number)
{
    CurveFigure f;
    f.number = number;
    f.box = QStringLiteral("picBILD") + QString::number(number);
    f.ownsDepthAxis = number == 310;
    f.depthFrom = number == 310 ? 0 : 310;
    f.x = depthLists();
    if (number == 310)
        f.then = [this](int OBJ, float XDL, float YDO) { BILD315(OBJ, XDL, YDO); };
    return f;
}

void mdiMSEITE3::BILD310(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(310), OBJ, XDL, YDO); }
void mdiMSEITE3::BILD320(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(320), OBJ, XDL, YDO); }
void mdiMSEITE3::BILD340(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(340), OBJ, XDL, YDO); }
void mdiMSEITE3::BILD350(int OBJ, float XDL, float YDO) { drawCurveFigure(figure(350), OBJ, XDL, YDO); }
void mdiMSEITE3::BILD315(int OBJ, float XDL, float YDO)
{
    drawStrip(StripFigure{315, QStringLiteral("picBILD310"), 310}, BOKOMB(), OBJ, XDL, YDO);
}

} // namespace vnt
