// The additional-costs page: its boxes, what it reads, its load and its figures in print order.
// The figures are descriptions in mdiMSEITE3_Figures.cpp.
#include "pages/multiple/mdiMSEITE3.h"

#include "pages/multiple/mdiMSEITE4.h"

namespace vnt {

mdiMSEITE3::mdiMSEITE3(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent)
    : CombinationPage(ctx, std::move(run), parent, QStringLiteral("mdiMSEITE3"))
{
    // The place of the second page's upper right figure stays empty.
    placeBoxes({QStringLiteral("310"), QStringLiteral("320"), QString(), QStringLiteral("340"),
                QStringLiteral("350")},
               360);
    Setup s;
    s.SEITE = 3;
    s.progressStart = 85;
    s.progressRead = 86;
    s.dataComment = QStringLiteral("Zusatzkosten") + QString(29, QLatin1Char(' '));
    s.noDataComment = QStringLiteral("Es wurden keine Zusatzkosten gefunden.");
    s.columns = {{"SZKT", &D_.SZKT},           {"ANZKT", nullptr, &D_.ANZKT}, {"SZKV", &D_.SZKV},
                 {"ANZKV", nullptr, &D_.ANZKV}, {"SZKL", &D_.SZKL},           {"ANZKL", nullptr, &D_.ANZKL},
                 {"SZKF", &D_.SZKF},           {"ANZKF", nullptr, &D_.ANZKF}};
    // The counts alone are no data: a measure without cost has nothing to draw.
    s.hasData = [this](size_t c) { return D_.SZKT[c] + D_.SZKV[c] + D_.SZKL[c] + D_.SZKF[c] > 0; };
    s.figures = {{[this] { BILD310(0, 0, 0); }, 95}, {[this] { BILD320(0, 0, 0); }, 96},
                 {[this] { BILD340(0, 0, 0); }, 98}, {[this] { BILD350(0, 0, 0); }, 99},
                 {[this] { BILD360(0, 0, 0); }, -1}};
    s.nextPage = [](RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent) -> MultiplePage * {
        return new mdiMSEITE4(ctx, std::move(run), parent);
    };
    load(s);
}

void mdiMSEITE3::BILD360(int OBJ, float XDL, float YDO) { drawCombinationTable(360, OBJ, XDL, YDO); }

QList<ResultPage::Figure> mdiMSEITE3::pageFigures()
{
    return {
        {QStringLiteral("BILD310"), [this](int o, float x, float y) { BILD310(o, x, y); }, -1, 1},
        {QStringLiteral("BILD320"), [this](int o, float x, float y) { BILD320(o, x, y); }, 9, 1},
        {QStringLiteral("BILD340"), [this](int o, float x, float y) { BILD340(o, x, y); }, -1, 11},
        {QStringLiteral("BILD350"), [this](int o, float x, float y) { BILD350(o, x, y); }, 9, 11},
        {QStringLiteral("BILD360"), [this](int o, float x, float y) { BILD360(o, x, y); }, 19, 11.5},
    };
}

} // namespace vnt
