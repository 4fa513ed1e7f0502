// The first page of the multiple evaluation, "Bohrzeiten und Bohrkosten": its load asks for
// the combinations, aggregates the active records into M3 and M4, and draws per combination
// the drilling time with the strip of combination numbers, the advance rate, the
// person-hours, the costs and the unit costs over the common depth axis, with the table of
// the combinations; then it loads the pages that follow it in the chain, hidden.
#pragma once

#include "pages/multiple/AggregationDataStep.h"
#include "pages/multiple/MultiplePage.h"

#include <QPointer>
#include <functional>
#include <memory>

namespace vnt {

class clsDATEN;

class mdiMSEITE1 : public MultiplePage {
    Q_OBJECT
public:
    // Loads the page (progress 0 to 68) and the pages after it. Throws VbError 32755 when the
    // user left the combination editor with the quit key: the load is given up, and the quit
    // follows once the command that loads the page has returned.
    explicit mdiMSEITE1(RunContext &ctx, QWidget *parent = nullptr);
    ~mdiMSEITE1() override;

    // The figures: OBJ 0 the picture box, 1 the printer at the box's place plus XDL, YDO
    // millimetres, any other value the previous drawing object and target again. Figure 110
    // draws the strip 115 itself.
    void BILD110(int OBJ, float XDL, float YDO);
    void BILD115(int OBJ, float XDL, float YDO);
    void BILD120(int OBJ, float XDL, float YDO);
    void BILD130(int OBJ, float XDL, float YDO);
    void BILD140(int OBJ, float XDL, float YDO);
    void BILD150(int OBJ, float XDL, float YDO);
    void BILD160(int OBJ, float XDL, float YDO);

    // Reads the gross/net choice from M1 again and draws the six figures anew; the other
    // pages of the chain that show the choice follow.
    void NEUZEICHNEN();
    void grossNetChanged(int16_t VZ) override;

    int16_t VZ() const { return VZ_; }
    const multiple::PageSums &daten() const { return D_; }
    const QStringList &DSKEN() const { return DSKEN_; }
    QString KOM() const { return KOM_; }

    // The pages after page 1 (2 to 4): made at the end of its load, hidden, beside it, with
    // the run handed on; their loads run inside page 1's. Page 1 makes page 2 itself; a test
    // may put in another maker (an empty one puts back the program's). Returns the one it
    // replaces.
    using FollowingPages = PageMaker;
    static FollowingPages setFollowingPages(FollowingPages f);

    void Form_Unload() override;

protected:
    QList<Figure> figures() override;
    QString printErrorTitle() const override { return QStringLiteral("Drucken von Seite 1"); }

private:
    void Form_Load();
    // False when the editor could not read the combinations (and has said so).
    bool combinationEditor();
    // The descriptions of the curve figures 110 to 150.
    CurveFigure figure(int number);

    multiple::PageSums D_;
    int16_t VZ_ = 0;
    QString KOM_;
    QStringList DSKEN_;
    std::unique_ptr<clsDATEN> e1_, m1_;
};

} // namespace vnt
