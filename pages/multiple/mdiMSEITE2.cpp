// The ancillary-times page: its boxes, what it reads, its load and its figures in print order.
// The figures are descriptions in mdiMSEITE2_Figures.cpp.
#include "pages/multiple/mdiMSEITE2.h"

#include "pages/multiple/mdiMSEITE3.h"

namespace vnt {

mdiMSEITE2::mdiMSEITE2(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent)
    : CombinationPage(ctx, std::move(run), parent, QStringLiteral("mdiMSEITE2"))
{
    placeBoxes({QStringLiteral("210"), QStringLiteral("220"), QStringLiteral("230"), QStringLiteral("240"),
                QStringLiteral("250")},
               260);
    Setup s;
    s.SEITE = 2;
    s.progressStart = 70;
    s.progressRead = 71;
    s.progressEnd = 85;
    s.dataComment = QStringLiteral("Bohrnebenzeiten und Bohrnebenkosten") + QString(20, QLatin1Char(' '));
    s.noDataComment = QStringLiteral("Es wurden keine Bohrnebenzeiten gefunden.");
    s.columns = {{"SAUZ", &D_.SAUZ},   {"SAUK", &D_.SAUK}, {"SAUPH", &D_.SAUPH},
                 {"SPPZ", &D_.SPPZ},   {"SPPK", &D_.SPPK}, {"SPPPH", &D_.SPPPH},
                 {"SSTZ", &D_.SSTZ},   {"SSTK", &D_.SSTK}, {"SSTPH", &D_.SSTPH}};
    s.hasData = [this](size_t c) { return D_.SAUZ[c] + D_.SPPZ[c] + D_.SSTZ[c] > 0; };
    s.figures = {{[this] { BILD210(0, 0, 0); }, 80}, {[this] { BILD220(0, 0, 0); }, 81},
                 {[this] { BILD230(0, 0, 0); }, 82}, {[this] { BILD240(0, 0, 0); }, 83},
                 {[this] { BILD250(0, 0, 0); }, 84}, {[this] { BILD260(0, 0, 0); }, -1}};
    s.nextPage = [](RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent) -> MultiplePage * {
        return new mdiMSEITE3(ctx, std::move(run), parent);
    };
    load(s);
}

void mdiMSEITE2::BILD260(int OBJ, float XDL, float YDO) { drawCombinationTable(260, OBJ, XDL, YDO); }

QList<ResultPage::Figure> mdiMSEITE2::pageFigures()
{
    return {
        {QStringLiteral("BILD210"), [this](int o, float x, float y) { BILD210(o, x, y); }, -1, 1},
        {QStringLiteral("BILD220"), [this](int o, float x, float y) { BILD220(o, x, y); }, 9, 1},
        {QStringLiteral("BILD230"), [this](int o, float x, float y) { BILD230(o, x, y); }, 19, 1},
        {QStringLiteral("BILD240"), [this](int o, float x, float y) { BILD240(o, x, y); }, -1, 11},
        {QStringLiteral("BILD250"), [this](int o, float x, float y) { BILD250(o, x, y); }, 9, 11},
        {QStringLiteral("BILD260"), [this](int o, float x, float y) { BILD260(o, x, y); }, 19, 11.5},
    };
}

} // namespace vnt
