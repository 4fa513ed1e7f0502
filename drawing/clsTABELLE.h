// The table of the result pages: a head block of column headings, a body block of data rows
// that scrolls with a scroll bar of the page, an optional foot block, a title above and a
// footnote below, drawn in millimetres on a picture box or on paper. The page makes a new
// object for every drawing; only the scroll bar's position carries over.
#pragma once

#include "drawing/Surface.h"
#include "drawing/TabelleCells.h"
#include "drawing/TabelleScrollBar.h"
#include "drawing/TabelleText.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace vnt {

class Guard;
class PictureBox;

class clsTABELLE {
public:
    clsTABELLE() = default;

    // Drawing target (not owned). Measures the target and resets its font to Arial 8, black.
    // `name` is the target's name for messages (the picture box's, "Printer" on paper).
    Surface *EOBJEKT() const { return target_; }
    void EOBJEKT(Surface *target, const QString &name = QString());
    void EOBJEKT(PictureBox *box);


    std::shared_ptr<TableScrollBar> EYBALKEN() const { return bar_; }
    void EYBALKEN(std::shared_ptr<TableScrollBar> bar) { bar_ = std::move(bar); }
    // The page's scroll bar over the picture box whose millimetres place it; also on paper,
    // where its position and height choose the printed rows.
    void EYBALKEN(QScrollBar *bar, const PictureBox &box);

    double EXDL() const { return exdl_; }
    void EXDL(double v) { exdl_ = v; }
    double EYDO() const { return eydo_; }
    void EYDO(double v) { eydo_ = v; }
    double ERO() const { return ero_; }
    void ERO(double v) { ero_ = v; }
    double ERU() const { return eru_; }
    void ERU(double v) { eru_ = v; }
    double ERL() const { return erl_; }
    void ERL(double v) { erl_ = v; }
    double ERZ() const { return erz_; }
    void ERZ(double v) { erz_ = v; }
    double EZA() const { return eza_; }
    void EZA(double v) { eza_ = v; }

    // Per-column lists; unset until written (the column widths are then missing).
    std::optional<VariantList> ELSB() const { return elsb_; }
    void ELSB(const VariantList &v) { elsb_ = v; }
    std::optional<VariantList> ELGIT() const { return elgit_; }
    void ELGIT(const VariantList &v) { elgit_ = v; }
    std::optional<VariantList> ELGITLEER() const { return elgitleer_; }
    void ELGITLEER(const VariantList &v) { elgitleer_ = v; }
    std::optional<VariantList> ELA() const { return ela_; }
    void ELA(const VariantList &v) { ela_ = v; }
    std::optional<VariantList> ELFORMAT() const { return elformat_; }
    void ELFORMAT(const VariantList &v) { elformat_ = v; }

    int16_t EEZ() const { return eez_; }
    void EEZ(int16_t v) { eez_ = v; }
    int16_t ELZ() const { return elz_; }
    void ELZ(int16_t v) { elz_ = v; }

    double HOEHE() const { return kopfhoehe_ + rumpfhoehe_; }
    double TABELLENBREITE() const { return tabellenbreite_; }
    double KOPFHOEHE() const { return kopfhoehe_; }
    double RUMPFHOEHE() const { return rumpfhoehe_; }
    double FUSSHOEHE() const { return fusshoehe_; }
    double PIXELPROMM() const { return pixelpromm_; }
    // Left-aligned texts wider than their column run on at full length over the next column
    // instead of being drawn narrower within their own.
    bool runOnTexts() const { return runOnTexts_; }
    void setRunOnTexts(bool on) { runOnTexts_ = on; }
    // The markup fonts as the last font setting and text output left them.
    MarkupFonts &SCHRIFTEN() { return fonts_; }

    // The pen as it was handed to the target: width in pixels, colour with 0 made black.
    struct Pen {
        int style = 0;
        double width = 1;
        qint64 color = 0;
    };
    Pen LINIENEINSTELLUNGEN(int LINIENART, double LINIENBREITE, qint64 FARBE);
    void SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int SCHRIFTGROESSE, int FETT, int UNTERSTRICHEN,
                              int KURSIV, qint64 FARBE);

    // POSITION 1 body, 2 foot, any other value head.
    void TABELLE(const CellArray &X, int POSITION);
    void TITEL(const Variant &TXT);
    void FUSSNOTE(const Variant &TXT);

private:
    Surface &target() const;
    void ZELLENSYMBOL(double X, double Y, const Variant &WERT);
    void TEXTAUSGABE(double X, double Y, const Variant &TEXT, int ARX, int ARY);

    struct Frame;
    void drawHead(const CellArray &X, const Frame &f, Guard &g);
    void drawBody(const CellArray &X, const Frame &f, Guard &g);
    void drawFoot(const CellArray &X, const Frame &f, Guard &g);
    void drawRules(const Frame &f, double top, double length, Guard &g);
    void drawCell(const Frame &f, const Variant &value, int column, double left, double lineBottom, bool symbols);

    Surface *target_ = nullptr;
    QString targetName_;
    std::shared_ptr<TableScrollBar> bar_;
    double exdl_ = 0, eydo_ = 0;
    double ero_ = 2.5, eru_ = 2.5, erl_ = 2.5, erz_ = 1.5;
    double eza_ = 1.0;
    std::optional<VariantList> elsb_, elgit_, elgitleer_, ela_, elformat_;
    int16_t eez_ = 0, elz_ = 0;
    double tabellenbreite_ = 0, kopfhoehe_ = 0, rumpfhoehe_ = 0, fusshoehe_ = 0;
    double pixelpromm_ = 0;
    bool runOnTexts_ = false;
    MarkupFonts fonts_;
};

} // namespace vnt
