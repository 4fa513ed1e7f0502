// The header and footer block of a result page, on screen or on the printed sheet: product
// title, record names, comment, project and page number at the top; author, copyright, date,
// time and the editor at the bottom. One object serves one output; the page fills it and
// calls KOPFFUSSZEILE once.
#pragma once

#include "drawing/Surface.h"
#include "drawing/TabelleCells.h"
#include "drawing/TabelleText.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;

namespace vnt {

class Guard;

class clsKOPFFUSS {
public:
    clsKOPFFUSS() = default;

    // Binds the frame whose inner width and height bound the block, and the target drawn on
    // (not owned). The margins become 15 mm and the target's font Arial 8, black.
    void AUSGABEOBJEKT(Surface &RAHMENOBJEKT, Surface &EOBJEKT);
    // On screen the frame is the main window's inner area, measured in the target's units.
    void AUSGABEOBJEKT(const QWidget &RAHMENOBJEKT, Surface &EOBJEKT);
    void AUSGABEOBJEKT(std::function<QSizeF()> RAHMENOBJEKT, Surface &EOBJEKT);

    QString BEARBEITER() const { return bearbeiter_; }
    void BEARBEITER(const QString &v) { bearbeiter_ = v; }
    QString COPYRIGHT() const { return copyright_; }
    void COPYRIGHT(const QString &v) { copyright_ = v; }
    Variant EBOKFS() const { return Variant(ebokfs_); }
    void EBOKFS(const Variant &v) { ebokfs_ = v.toBool(); }
    // A list gives one identifier per element; any other value one identifier.
    void KENNZEICHNUNG(const VariantList &list);
    void KENNZEICHNUNG(const Variant &v);
    QStringList KENNZEICHNUNGEN() const { return kennzeichnungen_; }
    double DATUM() const { return datum_; }          // day count
    void DATUM(double v) { datum_ = v; }
    QString KOMMENTAR() const { return kommentar_; }
    void KOMMENTAR(const QString &v) { kommentar_ = v; }
    QString UEBERSCHRIFT() const { return ueberschrift_; }
    void UEBERSCHRIFT(const QString &v) { ueberschrift_ = v; }
    QString PROGRAMMIERER() const { return programmierer_; }
    void PROGRAMMIERER(const QString &v) { programmierer_ = v; }
    QString PROJEKT() const { return projekt_; }
    void PROJEKT(const QString &v) { projekt_ = v; }
    // "oben", "unten", "links", "rechts" set one margin, anything else all four (mm).
    void RANDABSTAND(const QString &LAGE, double value);
    int16_t SEITE() const { return seite_; }
    void SEITE(int16_t v) { seite_ = v; }
    int16_t SEITENANZAHL() const { return seitenanzahl_; }
    void SEITENANZAHL(int16_t SEITEN) { seitenanzahl_ = SEITEN; }
    double UHRZEIT() const { return uhrzeit_; }      // day count
    void UHRZEIT(double v) { uhrzeit_ = v; }

    void KOPFFUSSZEILE();

    // Areas of the target (its units) that the header's texts keep clear of: a figure that
    // rises into the comment's line ends the comment's room where it begins.
    void keepClearOf(const QList<QRectF> &areas) { clear_ = areas; }

    // Margins in target units (top, bottom, left, right) and the measured scale factors.
    struct Margins {
        double top = 0, bottom = 0, left = 0, right = 0;
    };
    Margins RANDABSTAENDE() const { return margins_; }
    double MMPROX() const { return mmprox_; }
    double MMPROY() const { return mmproy_; }

private:
    Surface &target() const;
    // The text as it fits `room` in the target's font: whole, or cut with "…".
    QString fitted(const QString &text, double room) const;
    void SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int SCHRIFTGROESSE, int FETT, int UNTERSTRICHEN, int KURSIV,
                              qint64 FARBE);
    void TEXTAUSGABE(double X, double Y, const QString &TEXT, int ARX, int ARY);
    // The steps of KOPFFUSSZEILE in a frame WF wide and HF high; a step that returns a truth
    // value returns false once the guard was left.
    bool drawHeader(Guard &g, double WF);
    // "Datensatz" or "Datensätze" and the record names that fit beside it in the 10-point font.
    bool recordNames(Guard &g, double WF, QString &label, QString &ident);
    // The comment's one line at y, cut where a figure rises into it.
    void drawComment(double WF, double y);
    void drawFooter(Guard &g, double WF, double HF);

    Surface *target_ = nullptr;
    std::function<QSizeF()> frame_;
    Margins margins_;
    double mmprox_ = 0, mmproy_ = 0;
    MarkupFonts fonts_;
    QString bearbeiter_, copyright_;
    bool ebokfs_ = true;
    QStringList kennzeichnungen_{QString()};
    double datum_ = 0;
    QString kommentar_, ueberschrift_, programmierer_;
    QString projekt_ = QStringLiteral("TE0000.00");
    int16_t seite_ = 1, seitenanzahl_ = 1;
    double uhrzeit_ = 0;
    QList<QRectF> clear_;
};

} // namespace vnt
