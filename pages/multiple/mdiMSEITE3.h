// The third page of the multiple evaluation, "Zusatzkosten": per combination the additional
// costs of carrier rig (T), casing (V), cutting tool (L) and conveying tool (F), stacked over
// the common depth axis: as sums with the strip of combination numbers, as the number of
// additional measures, as the cost of one measure and as costs per metre; and the table of
// the combinations. Its load loads the statistics page after it.
#pragma once

#include "pages/multiple/CombinationPage.h"

namespace vnt {

class mdiMSEITE3 : public CombinationPage {
    Q_OBJECT
public:
    // Loads the page (progress 85 to 99) and the statistics page after it.
    mdiMSEITE3(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent = nullptr);

    // The figures (see CombinationPage); figure 310 draws the strip 315 itself.
    void BILD310(int OBJ, float XDL, float YDO);
    void BILD315(int OBJ, float XDL, float YDO);
    void BILD320(int OBJ, float XDL, float YDO);
    void BILD340(int OBJ, float XDL, float YDO);
    void BILD350(int OBJ, float XDL, float YDO);
    void BILD360(int OBJ, float XDL, float YDO);

    // The sums per combination as read from M3: additional costs in euro and the number of
    // additional measures, by device type. The counts are 32-bit: they can pass 32767.
    struct Sums {
        std::vector<float> SZKT, SZKV, SZKL, SZKF;
        std::vector<int32_t> ANZKT, ANZKV, ANZKL, ANZKF;
    };
    const Sums &daten() const { return D_; }

protected:
    QList<Figure> pageFigures() override;
    QString printErrorTitle() const override { return QStringLiteral("Drucken von  Seite 3"); }
    // The descriptions of the curve figures 310 to 350.
    CurveFigure figure(int number) override;

private:
    Sums D_;
};

} // namespace vnt
