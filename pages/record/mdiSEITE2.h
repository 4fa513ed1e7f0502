// Result page 2: the six preset tables of the preset database (carrier rigs, casings, cutting
// tools, conveying tools, rocks, unit-cost sets), each in its own picture box with a scroll
// bar, laid out as on the printed sheet. It shows no data of the evaluated record itself.
#pragma once

#include "pages/record/PresetTableTexts.h"
#include "pages/common/ResultPage.h"

#include <array>
#include <memory>

namespace vnt {

class clsDATEN;

class mdiSEITE2 : public ResultPage {
    Q_OBJECT
public:
    // Loads the page: lays it out, reads the preset tables and draws them.
    explicit mdiSEITE2(RunContext &ctx, QWidget *parent = nullptr);
    ~mdiSEITE2() override;

    // The figure procedures: 0 the picture box on screen, 1 the printer at the box's place
    // plus XDL, YDO millimetres, any other value draws again with the previous object.
    void BILD11(int OBJ, float XDL, float YDO);
    void BILD12(int OBJ, float XDL, float YDO);
    void BILD13(int OBJ, float XDL, float YDO);
    void BILD14(int OBJ, float XDL, float YDO);
    void BILD2(int OBJ, float XDL, float YDO);
    void BILD3(int OBJ, float XDL, float YDO);

    void Form_Unload() override;

    const PresetTableTexts &tables() const { return T_; }

protected:
    QList<Figure> figures() override;
    QString printErrorTitle() const override { return QStringLiteral("Drucken von Seite 2"); }
    PageHeaderContent headerContent() const override;

private:
    void Form_Load();
    // The table of the six at `index` through the pages' table procedure; its objects stay in
    // the slot of its figure number (11, 12, 13, 14, 2 or 3).
    void drawPresetTable(int index, int OBJ, float XDL, float YDO);

    std::array<std::unique_ptr<clsDATEN>, 6> accessors_;
    PresetTableTexts T_;
};

} // namespace vnt
