// The drawing object of one figure: it binds a target (picture box or printer), places the
// figure in millimetres, reads the figure's frame and fixed content from the figure tables,
// chooses the axes, and draws curves, steps, symbols, arcs, arrows and marked-up text in the
// figure's world coordinates, every stroke cut to the figure rectangle.
//
// Line width, text, data arrays and symbol sizes are taken by value: drawing a series must not
// rewrite the caller's data, and no page needs the converted values back. The pixel width that
// LINIENEINSTELLUNGEN set is returned instead.
#pragma once

#include "drawing/GrafikMath.h"
#include "drawing/Surface.h"
#include "platform/RunContext.h"

#include <QLineF>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

class QScrollBar;

namespace vnt {

class Guard;

class clsGRAFIK {
public:
    using Liste = grafik::Liste;

    // Reads the active record's id into EID (0 when none is active; no connection: 0).
    explicit clsGRAFIK(const RunContext &ctx);
    ~clsGRAFIK();
    clsGRAFIK(const clsGRAFIK &) = delete;
    clsGRAFIK &operator=(const clsGRAFIK &) = delete;

    // ---- properties ------------------------------------------------------------------
    int32_t EID() const { return eid_; }
    void setEID(int32_t v) { eid_ = v; }
    int16_t EIDOBJEKT() const { return eidObjekt_; }
    void setEIDOBJEKT(int16_t v) { eidObjekt_ = v; }
    Surface *EOBJEKT() const { return target_; }
    // Binds the target: ELX/ELY become its size, the candidate lists and the font their defaults.
    void setEOBJEKT(Surface *target);
    QScrollBar *EXBALKEN() const { return xBalken_; }
    void setEXBALKEN(QScrollBar *b) { xBalken_ = b; }
    QScrollBar *EYBALKEN() const { return yBalken_; }
    void setEYBALKEN(QScrollBar *b) { yBalken_ = b; }
    double EXDL() const { return exdl_; }
    void setEXDL(double v) { exdl_ = v; }
    double EYDO() const { return eydo_; }
    void setEYDO(double v) { eydo_ = v; }
    double ELX() const { return elx_; }
    void setELX(double v) { elx_ = v; }
    double ELY() const { return ely_; }
    void setELY(double v) { ely_ = v; }
    int16_t EAXEX() const { return eaxex_; }
    void setEAXEX(int16_t v) { eaxex_ = v; }
    int16_t EAXEY() const { return eaxey_; }
    void setEAXEY(int16_t v) { eaxey_ = v; }
    int16_t ESKTX() const { return esktx_; }
    void setESKTX(int16_t v) { esktx_ = v; }
    int16_t ESKTY() const { return eskty_; }
    void setESKTY(int16_t v) { eskty_ = v; }
    int16_t EBOXMIN() const { return eboxmin_; }
    void setEBOXMIN(int16_t v) { eboxmin_ = v; }
    int16_t EBOXMAX() const { return eboxmax_; }
    void setEBOXMAX(int16_t v) { eboxmax_ = v; }
    int16_t EBOYMIN() const { return eboymin_; }
    void setEBOYMIN(int16_t v) { eboymin_ = v; }
    int16_t EBOYMAX() const { return eboymax_; }
    void setEBOYMAX(int16_t v) { eboymax_ = v; }
    Liste ELXMIN() const { return lx_.min; }
    void setELXMIN(const Liste &v) { lx_.min = v; }
    Liste ELYMIN() const { return ly_.min; }
    void setELYMIN(const Liste &v) { ly_.min = v; }
    Liste ELXDIFF() const { return lx_.diff; }
    void setELXDIFF(const Liste &v) { lx_.diff = v; }
    Liste ELYDIFF() const { return ly_.diff; }
    void setELYDIFF(const Liste &v) { ly_.diff = v; }
    Liste ELXIT() const { return lx_.it; }
    void setELXIT(const Liste &v) { lx_.it = v; }
    Liste ELYIT() const { return ly_.it; }
    void setELYIT(const Liste &v) { ly_.it = v; }
    // A grid list also becomes the numbering list: set ELxZL after ELxGIT.
    Liste ELXGIT() const { return lx_.git; }
    void setELXGIT(const Liste &v) { lx_.git = v; lx_.zl = v; }
    Liste ELYGIT() const { return ly_.git; }
    void setELYGIT(const Liste &v) { ly_.git = v; ly_.zl = v; }
    Liste ELXZL() const { return lx_.zl; }
    void setELXZL(const Liste &v) { lx_.zl = v; }
    Liste ELYZL() const { return ly_.zl; }
    void setELYZL(const Liste &v) { ly_.zl = v; }
    QString ETEXTX() const { return etextx_; }
    void setETEXTX(const QString &v) { etextx_ = v; }
    QString ETEXTY() const { return etexty_; }
    void setETEXTY(const QString &v) { etexty_ = v; }
    QString ESKZX() const { return eskzx_; }
    void setESKZX(const QString &v) { eskzx_ = v; }
    QString ESKZY() const { return eskzy_; }
    void setESKZY(const QString &v) { eskzy_ = v; }
    int16_t ELFDNR() const { return elfdnr_; }
    void setELFDNR(int16_t v) { elfdnr_ = v; }
    int16_t EPTYP() const { return eptyp_; }
    void setEPTYP(int16_t v) { eptyp_ = v; }
    int16_t EABL() const { return eabl_; }
    void setEABL(int16_t v) { eabl_ = v; }
    int16_t EABLN() const { return eabln_; }
    void setEABLN(int16_t v) { eabln_ = v; }

    // ---- settings ----------------------------------------------------------------------
    // Returns the line width in target pixels that was set.
    double LINIENEINSTELLUNGEN(int16_t LINIENART, double LINIENBREITE, qint64 FARBE);
    void SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int16_t SCHRIFTGROESSE, int16_t FETT,
                              int16_t UNTERSTRICHEN, int16_t KURSIV, qint64 FARBE);

    // ---- drawing -----------------------------------------------------------------------
    // X, Y: the figure's data (nullptr = omitted, taken as one value 0).
    void SKALEN(int16_t NR, const std::vector<double> *X = nullptr, const std::vector<double> *Y = nullptr);
    void TEXT(double X, double Y, QString TEXT, int16_t KO, int16_t AL, int16_t ARX, int16_t ARY);
    // BOL: per-segment switches of mode 0 (nullptr = every segment on).
    void POLYGON(std::vector<double> X, std::vector<double> Y, int16_t PSIT, int16_t PSTYP, int16_t PNR,
                 const QString &TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL, int16_t FARBEN,
                 const std::vector<bool> *BOL = nullptr);
    void KREISBOGEN(double MPX, double MPY, double WI, double X1, double Y1, int16_t LAGEPFEIL, int16_t BOGRENZEN = 0);
    void PFEIL(double PX1, double PY1, double PX2, double PY2);
    void GELAENDESCHRAFFUR(double X1, double Y1, double LS, int16_t ANS, double RIWI);
    void KOTENDREIECK(double PX, double PY, double DH, double RIWI, int16_t GW, int16_t VOLL);
    // P[k][j]: k = 0..3 loads (vertical/horizontal of two layers), j = 0..1 the member's ends.
    void LASTFLAECHEN(const std::array<double, 2> &X, const std::array<double, 2> &Y,
                      const std::array<std::array<double, 2>, 4> &P, int16_t IT);
    void SCHNITTKRAFT(double X1, double Y1, double X2, double Y2, double SHHH, int16_t TYP, int16_t SY);
    void KOORDTRANS(double X, double Y, double &XP, double &YP);
    void KOORDTRANSINV(double X, double Y, double &XP, double &YP, int16_t SKTX, int16_t SKTY);
    // FB 0: the target's fore colour; otherwise that colour (32-bit RGB, red in the low byte).
    void LINIE(double XPS1, double YPS1, double XPS2, double YPS2, qint64 FB = 0);
    // Draws the numbers of the axes, where the last SKALEN put them, once more on a ground of the
    // target's background wherever one of `lines` (target millimetres) crosses them: a figure
    // sharing the box that drew those lines later leaves the numbers readable.
    void redrawNumbersCrossedBy(const std::vector<QLineF> &lines);
    // Where the last SKALEN drew the axes' numbers: their cells in target millimetres.
    std::vector<QRectF> axisNumberCells() const;

    // ---- figure values after SKALEN, for the pages and for tests ------------------------
    int16_t OX() const { return ox_; }
    int16_t OY() const { return oy_; }
    double RL() const { return rl_; }
    double RR() const { return rr_; }
    double RO() const { return ro_; }
    double RU() const { return ru_; }
    double MYMX() const { return mymx_; }
    double XMIN() const { return xmin_; }
    double XMAX() const { return xmax_; }
    double YMIN() const { return ymin_; }
    double YMAX() const { return ymax_; }
    double MX() const { return mx_; }
    double MY() const { return my_; }
    double XVERSCHIEBUNG() const { return dx_; }
    double YVERSCHIEBUNG() const { return dy_; }
    const grafik::Achse &achseX() const { return ax_; }
    const grafik::Achse &achseY() const { return ay_; }
    double pixelRatio() const { return pixelx_; }
    // The derived fonts of marked-up text, slots 1..5.
    const FontSpec &SCHRIFTSATZ(int slot) const { return fonts_[size_t(std::clamp(slot, 0, 5))]; }

    // Sets the frame directly (tests, and figures drawn without a frame row).
    void setFrame(int16_t OX, int16_t OY, double RL, double RR, double RO, double RU, double XMIN, double XMAX,
                  double YMIN, double YMAX, double MX, double MY, double MYMX = 0);
    void setVerschiebung(double dx, double dy) { dx_ = dx; dy_ = dy; }

    // Draws a point symbol 0..6 centred at (x, y) in target millimetres.
    void pointSymbol(int nummer, double x, double y);
    void polygonLines(const std::vector<QPointF> &P, double xB, double yB, const std::vector<bool> *BOL);
    void polygonLabel(const std::vector<QPointF> &P, const QString &TEXT, int16_t LAGETEXT);
    void polygonArrows(const std::vector<QPointF> &P, int16_t LAGEPFEIL);
    void drawArcEnds(Guard &g, QPointF M, QPointF S, double R, double A1, double A2, bool gedreht, int16_t LAGEPFEIL);
    void drawArcPieces(QPointF M, double R, double start, double WIR, double XL, double XR, double YO, double YU);

private:
    struct Listen {
        Liste min, diff, it, git, zl;
    };
    void requireTarget() const;
    double KOORDTRANS_X(double X) const;
    double KOORDTRANS_Y(double Y) const;
    QPointF welt(double X, double Y);
    void strich(QPointF a, QPointF b) { LINIE(a.x(), a.y(), b.x(), b.y(), 0); }
    void DREHTEXT(const QString &text, int16_t AL, double X, double Y, int size, const QString &name);
    void drawAxes();
    void drawFixedContent();
    void drawFixedTexts(Guard &g);
    void drawFixedPolylines(Guard &g);
    void drawFixedArcs(Guard &g);
    void rollbalken(QScrollBar *bar, bool horizontal);

    const RunContext &ctx_;
    Surface *target_ = nullptr;
    QScrollBar *xBalken_ = nullptr, *yBalken_ = nullptr;
    int32_t eid_ = 0;
    int16_t eidObjekt_ = 11;
    double exdl_ = 0, eydo_ = 0, elx_ = 0, ely_ = 0;
    int16_t eaxex_ = 1, eaxey_ = 1, esktx_ = 0, eskty_ = 0;
    int16_t eboxmin_ = 0, eboxmax_ = 0, eboymin_ = 0, eboymax_ = 0;
    Listen lx_, ly_;
    QString etextx_, etexty_, eskzx_ = QStringLiteral("####0"), eskzy_ = QStringLiteral("####0");
    int16_t elfdnr_ = 0, eptyp_ = 0, eabl_ = 0, eabln_ = 1;
    double pixelx_ = 1;
    int16_t ox_ = 0, oy_ = 0;
    double rl_ = 0, rr_ = 0, ro_ = 0, ru_ = 0, mymx_ = 0;
    double xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0, mx_ = 0, my_ = 0;
    double dx_ = 0, dy_ = 0;
    grafik::Achse ax_, ay_;
    bool ticksX_ = false, ticksY_ = false;
    std::array<FontSpec, 6> fonts_;
    std::array<bool, 6> fontSet_{};

    // The axis numbers of the last SKALEN, as drawn: the TEXT call, its font and its cell.
    struct AxisNumber {
        double X, Y;
        QString text;
        int16_t AL, ARX, ARY;
        FontSpec font;
        QRectF cell;
    };
    std::vector<AxisNumber> numbers_;
    bool noteNumbers_ = false;
};

} // namespace vnt
