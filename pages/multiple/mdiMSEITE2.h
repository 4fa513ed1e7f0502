// The second page of the multiple evaluation, "Bohrnebenzeiten und Bohrnebenkosten": per
// combination the hours of the work-related interruptions (AUZ), planned breaks (PPZ) and
// standstill (STZ), stacked over the common depth axis: as hours with the strip of
// combination numbers, per metre, as person-hours, as costs and as costs per metre; and the
// table of the combinations. Its load loads the additional-costs page after it.
#pragma once

#include "pages/multiple/CombinationPage.h"

namespace vnt {

class mdiMSEITE2 : public CombinationPage {
    Q_OBJECT
public:
    // Loads the page (progress 70 to 85) and the pages after it.
    mdiMSEITE2(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent = nullptr);

    // The figures (see CombinationPage); figure 210 draws the strip 215 itself.
    void BILD210(int OBJ, float XDL, float YDO);
    void BILD215(int OBJ, float XDL, float YDO);
    void BILD220(int OBJ, float XDL, float YDO);
    void BILD230(int OBJ, float XDL, float YDO);
    void BILD240(int OBJ, float XDL, float YDO);
    void BILD250(int OBJ, float XDL, float YDO);
    void BILD260(int OBJ, float XDL, float YDO);

    // The sums per combination as read from M3: hours, costs, person-hours.
    struct Sums {
        std::vector<float> SAUZ, SAUK, SAUPH, SPPZ, SPPK, SPPPH, SSTZ, SSTK, SSTPH;
    };
    const Sums &daten() const { return D_; }

protected:
    QList<Figure> pageFigures() override;
    QString printErrorTitle() const override { return QStringLiteral("Drucken von  Seite 2"); }
    // The descriptions of the curve figures 210 to 250.
    CurveFigure figure(int number) override;

private:
    Sums D_;
};

} // namespace vnt
