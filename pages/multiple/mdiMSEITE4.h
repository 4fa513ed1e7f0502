// The statistics page, the last page of the multiple evaluation: for every combination the
// mean, the standard deviation and the coefficient of variation of six quantities that the
// aggregation stored in M4, in one table. Its data are rebuilt from the tables whenever the
// page is restyled, so the table follows a gross/net choice made on the first page.
#pragma once

#include "drawing/TabelleCells.h"
#include "pages/multiple/MultiplePage.h"

#include <memory>
#include <vector>

namespace vnt {

class clsDATEN;

class mdiMSEITE4 : public MultiplePage {
    Q_OBJECT
public:
    // Loads the page (progress 85 to 94); it loads no page after it.
    mdiMSEITE4(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent = nullptr);
    ~mdiMSEITE4() override;

    // The table: OBJ 0 the picture box, 1 the printer at the box's place plus XDL, YDO
    // millimetres, any other value the previous table object and target again.
    void BILD410(int OBJ, float XDL, float YDO);

    void grossNetChanged(int16_t VZ) override;

    int16_t VZ() const { return VZ_; }
    int NKOMB() const { return NKOMB_; }
    const std::vector<bool> &BOKOMB() const { return BOKOMB_; }
    const CellArray &STATKOPF() const { return STATKOPF_; }
    const CellArray &STATTAB() const { return STATTAB_; }
    const QStringList &DSKEN() const { return DSKEN_; }

    void Form_Unload() override;

protected:
    QList<Figure> figures() override;
    QString printErrorTitle() const override { return QStringLiteral("Drucken von  Seite 4"); }
    void restyleContent() override { STATISTIKAKTUALISIEREN(); }

private:
    void Form_Load();
    void DATENEINGABE();
    void STATISTIKAKTUALISIEREN();

    int16_t VZ_ = 0;
    int NKOMB_ = 0;
    std::vector<bool> BOKOMB_;
    CellArray STATKOPF_, STATTAB_;
    QString KOM_;
    QStringList DSKEN_;
    std::unique_ptr<clsDATEN> e1_, m1_, m2_, m3_, m4_;
};

} // namespace vnt
