// Result page 1 of a drilling record: the profile, the drilling time, the advance rate with the
// crew, the legend, the costs and the unit costs per metre over depth, each figure in its own
// picture box laid out as on the printed sheet. Loading it also loads result page 2, hidden.
#pragma once

#include "pages/common/ResultPage.h"
#include "pages/record/Page1Data.h"
#include "pages/record/mdiSEITE2.h"

#include <QPointer>
#include <array>
#include <memory>

namespace vnt {

class clsDATEN;
class clsGRAFIK;

class mdiSEITE1 : public ResultPage {
    Q_OBJECT
public:
    // Loads the page: lays it out, reads the active record, draws header, footer and figures
    // (progress 40 to 99) and loads page 2 as the next page.
    explicit mdiSEITE1(RunContext &ctx, QWidget *parent = nullptr);
    ~mdiSEITE1() override;

    // The figure procedures: OBJ 0 the picture box, 1 the printer at the box's place plus XDL,
    // YDO millimetres, any other value draws again with the previous object and target.
    void BILD11(int OBJ, float XDL, float YDO);
    void BILD12(int OBJ, float XDL, float YDO);
    void BILD13(int OBJ, float XDL, float YDO);
    void BILD14(int OBJ, float XDL, float YDO);
    void BILD15(int OBJ, float XDL, float YDO);
    void BILD16(int OBJ, float XDL, float YDO);

    // The record's evaluation options as the page holds them; the options dialog writes them
    // into E6 and then calls NEUZEICHNEN.
    int16_t K() const { return D_.K; }
    int16_t ZAUF() const { return D_.ZAUF; }
    QString KENK() const { return D_.KENK; }
    int16_t KENKPG() const { return D_.KENKPG; }
    int32_t ID() const { return D_.ID; }
    // Reads the options and unit-cost set again and draws figures 12 to 16 anew.
    void NEUZEICHNEN();

    const Page1Data &daten() const { return D_; }
    mdiSEITE2 *followingPage() const { return page2_.data(); }

    void Form_Unload() override;

signals:
    // A press on figure 12, 13, 15 or 16: the options dialog is wanted. Without a receiver
    // the page shows it and redraws.
    void optionsDialogRequested();

protected:
    QList<Figure> figures() override;
    QString printErrorTitle() const override { return QStringLiteral("Drucken von Seite 1"); }
    PageHeaderContent headerContent() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    int32_t figureRecordId() const override { return D_.ID; }

private:
    void Form_Load();
    void BILD17(int OBJ, float XDL, float YDO);

    void staffCostNote();
    void costFigure(int figure, const QString &box, int OBJ, float XDL, float YDO);

    Page1Data D_;
    float MY_ = 0, YMAX_ = 0;
    std::array<std::unique_ptr<clsDATEN>, 14> acc_;
    Page1Accessors zugriffe_{};
    clsDATEN *a1_ = nullptr;
    QPointer<mdiSEITE2> page2_;
    bool ownsPage2_ = false;   // no parent to own page 2: this page does
};

} // namespace vnt
