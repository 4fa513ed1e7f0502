// The typed, editable grid: binds a grid control, its floating editors and its header picture,
// declares the columns through per-column lists, and edits, checks, copies, pastes, fills,
// numbers and inserts or removes rows in step with a chained grid.
#pragma once

#include "data/FlexGrid.h"
#include "grid/FlexValue.h"
#include "grid/GridControl.h"
#include "platform/RunContext.h"
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

namespace vnt {

class clsFLX : public FlexGrid {
public:
    clsFLX();
    ~clsFLX() override;
    clsFLX(const clsFLX &) = delete;
    clsFLX &operator=(const clsFLX &) = delete;

    // Bound objects.
    GridControl *EFLX() const { return flx_; }
    void setEFLX(GridControl *grid);
    std::shared_ptr<clsFLX> EFLXK();
    void setEFLXK(std::shared_ptr<clsFLX> chained);
    QLineEdit *ETXT() const { return txt_; }
    void setETXT(QLineEdit *txt);
    QComboBox *ECBO() const { return cbo_; }
    void setECBO(QComboBox *cbo);
    QWidget *EPIC() const { return pic_; }
    void setEPIC(QWidget *pic);

    // Per-column lists.
    FlexValue ELSB() const { return lsb_; }
    void setELSB(const FlexValue &v);
    FlexValue ELST1() const { return lst1_; }
    void setELST1(const FlexValue &v);
    FlexValue ELST2() const { return lst2_; }
    void setELST2(const FlexValue &v);
    FlexValue ELSTTT() const { return lsttt_; }
    void setELSTTT(const FlexValue &v);
    FlexValue ELSTYP() const { return lstyp_; }
    void setELSTYP(const FlexValue &v);
    FlexValue ELCBO(int index) const;
    void setELCBO(int index, const FlexValue &items);
    FlexValue ELFORMAT() const { return lformat_; }
    void setELFORMAT(const FlexValue &v);
    FlexValue ELA() const { return la_; }
    void setELA(const FlexValue &v);
    FlexValue ELMIN() const { return lmin_; }
    void setELMIN(const FlexValue &v);
    FlexValue ELMAX() const { return lmax_; }
    void setELMAX(const FlexValue &v);
    FlexValue ELINDEXMIN() const { return lindexmin_; }
    void setELINDEXMIN(const FlexValue &v);
    FlexValue ELINDEXMAX() const { return lindexmax_; }
    void setELINDEXMAX(const FlexValue &v);
    FlexValue ELSELEK() const { return lselek_; }
    void setELSELEK(const FlexValue &v);

    // One cell through a matrix: the first index addresses the grid row.
    QString EMATRIX(int SPALTENR, int ZEILENR);
    void setEMATRIX(int SPALTENR, int ZEILENR, const FlexValue &matrix);

    int16_t EBOH() const { return boh_; }
    void setEBOH(int16_t v);
    int16_t EDET() const { return det_; }
    void setEDET(int16_t v);
    QString EDETE() const { return dete_; }
    void setEDETE(const QString &v);
    int16_t ESNR() const { return snr_; }
    int16_t EZNR() const { return znr_; }

    // Display.
    void NUMMERIEREN();
    void SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int16_t SCHRIFTGROESSE, int16_t FETT, int16_t UNTERSTRICHEN,
                              int16_t KURSIV, int32_t FARBE);
    void AKTUALISIEREN();
    void BESCHRIFTEN();

    // Editing.
    void BEARBEITEN(int16_t BOB, float X);
    void EINFUEGEN(int16_t BOE);

    // Rows, tooltips, filter.
    void ZEILEEINFUEGEN();
    void ZEILEENTFERNEN();
    void TOOLTIP(float X, float Y);
    void ZEILENFILTER();

    // Reads a logger file into the grid as the logger configuration AKVK describes it;
    // -1 when the file was read to its end and cleaned up, else 0.
    int16_t IMPORTIEREN(const RunContext &ctx, const QString &AKVK, const QString &DATEI);

    // The last grid column of a column type 1 to 6, -1 when there is none (read by the import).
    int typeColumn(int type) const;
    // The header font a markup code paints with ("" plain, "g", "h", "t", "gh", "gt").
    QFont headerFont(const QString &code) const;
    // What was painted on the header picture.
    const QImage &headerImage() const { return headerImage_; }

    // FlexGrid: the bound grid control, for the column accessor.
    int FixedRows() const override;
    int Rows() const override;
    void setRows(int rows) override;
    int Cols() const override;
    QString TextMatrix(int row, int col) const override;
    void setTextMatrix(int row, int col, const QString &text) override;
    bool Enabled() const override;
    void setEnabled(bool enabled) override;
    QColor BackColor() const override;
    void setBackColor(const QColor &c) override;
    QColor BackColorFixed() const override;
    int Index() const override;

private:
    // The import checks the values it computes as the column checks what is typed.
    friend class FlexLoggerTarget;

    struct Check {
        bool ok = true;
        QString title, message;
    };
    Check checkValue(const QString &value, int col) const;
    Check WERTPRUEFEN(const QString &value, double lower, double upper, bool whole, bool dateTime, const QString &kind) const;
    bool commitEditor(QWidget *editor, const QString &text, bool comboPass);
    void placeEditor(QWidget *editor, bool withHeight);
    void appendRowOnEnter();
    void copyBlock();
    void pasteBlock();
    void armFill(float x);
    void completeFill();
    void reportRefused(const QList<std::pair<QPoint, Check>> &refused);
    // A data row as the user sees it named: its numbering levels, else its place from 1.
    QString rowName(int row) const;
    void KOPFBESCHRIFTUNG(float x, float y, const FlexValue &text, int16_t hAlign, int16_t vAlign);
    float ZEITDIFFERENZ(const QString &date1, const QString &time1, const QString &date2, const QString &time2) const;
    void applyAlignment(int col, const FlexValue &entry);
    // Hands the format list to the grid control, which shows every number in its pattern.
    void showFormats();
    void requireGrid() const;
    int columnType(int col) const;
    QString header1(int col) const;

    QPointer<GridControl> flx_;
    std::shared_ptr<clsFLX> flxk_;
    QPointer<QLineEdit> txt_;
    QPointer<QComboBox> cbo_;
    QPointer<QWidget> pic_;
    std::unique_ptr<QObject> picPainter_;
    QImage headerImage_;

    FlexValue lsb_, lst1_, lst2_, lsttt_, lstyp_, lformat_, la_, lmin_, lmax_, lindexmin_, lindexmax_, lselek_;
    QList<FlexValue> lcbo_;
    int16_t boh_ = 0, det_ = 0, snr_ = 0, znr_ = 0;
    QString dete_;
    std::array<int, 7> typeCol_{{-1, -1, -1, -1, -1, -1, -1}};
    std::array<int16_t, 3> indexStart_{{0, 0, 0}};
    std::array<int16_t, 2> indexEnd_{{0, 0}};
    QFont fontPlain_, fontGreek_, fontSmall_, fontSmallGreek_;
};

} // namespace vnt
