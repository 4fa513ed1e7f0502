// The column accessor: one instance per table and current record moves one table column
// between the selected rows and variables, arrays, controls and grid columns, under the one
// write rule that every table shares.
//
// Calling conventions:
// - Key pairs SPI1/SPI1W .. SPI4/SPI4W: a column name ("" = unused) and a value; an Empty
//   value means "not given", so the column only orders the selection (a list column).
//   Callers pass whole numbers: DTVD("BRZ", x, "I2", 3).
// - Arrays are std::vector, indexed from 0. Readers neither clear nor resize them (LID and
//   LKEN excepted, which size them to the records found).
// - Text boxes: QLineEdit, QPlainTextEdit or QTextEdit (any other widget raises 438).
// - Control arrays: a control's index in its window's array is its dynamic property "index"
//   (int). A label without it raises 343 in DFTLI.
// - Check box values as the program counts them: 0 unchecked, 1 checked, 2 grayed.
// - Combo box "style 2" (a list whose text cannot be typed) is a QComboBox that is not editable.
// - Members return true when the transfer was done. A failure shows its own "Datenfehler" box
//   first. Conversion errors of the scalar readers, and errors in reading or setting a control,
//   are thrown as VbError to the caller's own guard, as the callers expect.
#pragma once

#include "QueryText.h"
#include "data/FlexGrid.h"
#include "platform/RunContext.h"
#include "platform/Variant.h"
#include "platform/db/Database.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QWidget;

// The four key pairs that nearly every member takes, in the program's order.
#define VNT_KEYS_DEFAULT                                                                          \
    const QString &SPI1 = {}, const Variant &SPI1W = {}, const QString &SPI2 = {},                \
        const Variant &SPI2W = {}, const QString &SPI3 = {}, const Variant &SPI3W = {},           \
        const QString &SPI4 = {}, const Variant &SPI4W = {}
#define VNT_KEYS                                                                                  \
    const QString &SPI1, const Variant &SPI1W, const QString &SPI2, const Variant &SPI2W,         \
        const QString &SPI3, const Variant &SPI3W, const QString &SPI4, const Variant &SPI4W
// Grid and list members: three pairs with values, the fourth column only orders.
#define VNT_KEYS3_DEFAULT                                                                         \
    const QString &SPI1 = {}, const Variant &SPI1W = {}, const QString &SPI2 = {},                \
        const Variant &SPI2W = {}, const QString &SPI3 = {}, const Variant &SPI3W = {},           \
        const QString &SPI4 = {}
#define VNT_KEYS3                                                                                 \
    const QString &SPI1, const Variant &SPI1W, const QString &SPI2, const Variant &SPI2W,         \
        const QString &SPI3, const Variant &SPI3W, const QString &SPI4
// Inside a member's definition: its key arguments as one list.
#define VNT_PACK_KEYS KeyPairs{{{SPI1, SPI1W}, {SPI2, SPI2W}, {SPI3, SPI3W}, {SPI4, SPI4W}}}
#define VNT_PACK_KEYS3 KeyPairs{{{SPI1, SPI1W}, {SPI2, SPI2W}, {SPI3, SPI3W}, {SPI4, {}}}}

namespace vnt {

class clsDATEN {
public:
    // Binds to the working database and the first active record (0 when none is active).
    // The context must outlive the accessor; its connection is kept even when the context
    // later replaces it, so a running window keeps working on the database it started with.
    explicit clsDATEN(const RunContext &ctx);
    ~clsDATEN();
    clsDATEN(const clsDATEN &) = delete;
    clsDATEN &operator=(const clsDATEN &) = delete;

    // True: the preset database (the working one in development mode); false: the working one.
    void setEBOV(bool BOV);
    // Opens <project folder>/<project>/<name>.mdb as the instance's own database. BOMDB tells
    // whether it is now the instance's database; otherwise the old connection stays.
    void setEMDB(bool &BOMDB, const QString &name);
    QString EMDB(bool BOMDB = false) const;

    QString ETABELLE() const { return s_.ETABELLE; }
    void setETABELLE(const QString &v) { s_.ETABELLE = v; shapes_.clear(); }
    QString ESPID() const { return s_.ESPID; }
    void setESPID(const QString &v) { s_.ESPID = v; shapes_.clear(); }
    int32_t ESPIDW() const { return s_.ESPIDW; }
    void setESPIDW(int32_t v) { s_.ESPIDW = v; }
    QString ESPK1() const { return s_.ESPK1; }
    void setESPK1(const QString &v) { s_.ESPK1 = v; shapes_.clear(); }
    QString ESPK1W() const { return s_.ESPK1W; }
    void setESPK1W(const QString &v) { s_.ESPK1W = v; }
    QString ESPK2() const { return s_.ESPK2; }
    void setESPK2(const QString &v) { s_.ESPK2 = v; shapes_.clear(); }
    QString ESPK2W() const { return s_.ESPK2W; }
    void setESPK2W(const QString &v) { s_.ESPK2W = v; }
    QString ESPK3() const { return s_.ESPK3; }
    void setESPK3(const QString &v) { s_.ESPK3 = v; shapes_.clear(); }
    QString ESPK3W() const { return s_.ESPK3W; }
    void setESPK3W(const QString &v) { s_.ESPK3W = v; }

    const db::ConnectionPtr &connection() const { return cnn_; }

    // For the figure frames: a single value the database refuses to keep (a read-only working
    // copy) is kept in memory for the rest of the run and read back in place of the stored one,
    // so that every figure is still drawn on the frame it worked out.
    void setKeepRefusedValues(bool keep) { keepRefused_ = keep; }

    // The open selection of column SPV in key order. Errors are thrown to the caller.
    std::unique_ptr<db::Recordset> DT(const QString &SPV, VNT_KEYS_DEFAULT);

    // ---- control to table ---------------------------------------------------------------
    bool DFTC(const QString &SPV, const QCheckBox &chkX, VNT_KEYS_DEFAULT);
    bool DFTCC(const QString &SPV, const QCheckBox &chkX, VNT_KEYS_DEFAULT);
    bool DFTCV(const QString &SPV, const QCheckBox &chkX, VNT_KEYS_DEFAULT);
    // Makes the selected rows equal to the grid's data rows in column SPNR ("0" = first column).
    // A disabled grid has no data rows: its selection is deleted.
    bool DFTF(const QString &SPV, const FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3_DEFAULT);
    bool DFTFM(const QString &SPV, const FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3_DEFAULT);
    bool DFTI(const QString &SPV, const QListWidget &lstX, VNT_KEYS_DEFAULT);
    bool DFTIL(const QString &SPV, const QListWidget &lstX, VNT_KEYS_DEFAULT);
    bool DFTIS(const QString &SPV, const QListWidget &lstX, VNT_KEYS_DEFAULT);
    bool DFTL(const QString &SPV, const QLabel &lblX, VNT_KEYS_DEFAULT);
    bool DFTLC(const QString &SPV, const QLabel &lblX, VNT_KEYS_DEFAULT);
    bool DFTLI(const QString &SPV, const QLabel &lblX, VNT_KEYS_DEFAULT);
    bool DFTM(const QString &SPV, const QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DFTML(const QString &SPV, const QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DFTMS(const QString &SPV, const QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DFTMT(const QString &SPV, const QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DFTO(const QString &SPV, const QRadioButton &optX, VNT_KEYS_DEFAULT);
    bool DFTOC(const QString &SPV, const QRadioButton &optX, VNT_KEYS_DEFAULT);
    bool DFTOV(const QString &SPV, const QRadioButton &optX, VNT_KEYS_DEFAULT);
    bool DFTT(const QString &SPV, const QWidget &txtX, VNT_KEYS_DEFAULT);
    bool DFTTT(const QString &SPV, const QWidget &txtX, VNT_KEYS_DEFAULT);

    // ---- table to control ---------------------------------------------------------------
    bool DTFC(const QString &SPV, QCheckBox &chkX, VNT_KEYS_DEFAULT);
    bool DTFCC(const QString &SPV, QCheckBox &chkX, VNT_KEYS_DEFAULT);
    bool DTFCV(const QString &SPV, QCheckBox &chkX, VNT_KEYS_DEFAULT);
    // Fills grid column SPNR from row ZNR + 1 (the first data row when ZNR <= FixedRows), growing
    // the grid when needed, never shrinking it. No selected row: the grid is disabled and shown
    // in its fixed-cell colour, its cells untouched.
    bool DTFF(const QString &SPV, FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3_DEFAULT, int16_t ZNR = 0);
    bool DTFFM(const QString &SPV, FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3_DEFAULT);
    bool DTFI(const QString &SPV, QListWidget &lstX, VNT_KEYS_DEFAULT);
    bool DTFIL(const QString &SPV, QListWidget &lstX, VNT_KEYS_DEFAULT);
    bool DTFIS(const QString &SPV, QListWidget &lstX, VNT_KEYS_DEFAULT);
    bool DTFL(const QString &SPV, QLabel &lblX, VNT_KEYS_DEFAULT);
    bool DTFLC(const QString &SPV, QLabel &lblX, VNT_KEYS_DEFAULT);
    bool DTFM(const QString &SPV, QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DTFML(const QString &SPV, QComboBox &cboX, VNT_KEYS_DEFAULT);
    // Adds every non-Null value of the selection to the list; never clears it.
    bool DTFMM(const QString &SPV, QComboBox &cboX, VNT_KEYS3_DEFAULT);
    bool DTFMS(const QString &SPV, QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DTFMT(const QString &SPV, QComboBox &cboX, VNT_KEYS_DEFAULT);
    bool DTFO(const QString &SPV, QRadioButton &optX, VNT_KEYS_DEFAULT);
    bool DTFOC(const QString &SPV, QRadioButton &optX, VNT_KEYS_DEFAULT);
    bool DTFOV(const QString &SPV, QRadioButton &optX, VNT_KEYS_DEFAULT);
    bool DTFT(const QString &SPV, QWidget &txtX, VNT_KEYS_DEFAULT);
    bool DTFTT(const QString &SPV, QWidget &txtX, VNT_KEYS_DEFAULT);

    // ---- variable to table (dates are day counts since 1899-12-30) ----------------------
    bool DVTA(const QString &SPV, double DTM, VNT_KEYS_DEFAULT);
    bool DVTB(const QString &SPV, bool BO, VNT_KEYS_DEFAULT);
    bool DVTBF(const QString &SPV, const std::vector<bool> &BO, VNT_KEYS_DEFAULT);
    bool DVTT(const QString &SPV, const QString &TXT, VNT_KEYS_DEFAULT);
    bool DVTTF(const QString &SPV, const std::vector<QString> &TXT, VNT_KEYS_DEFAULT);
    bool DVTI(const QString &SPV, int16_t I, VNT_KEYS_DEFAULT);
    bool DVTIF(const QString &SPV, const std::vector<int16_t> &ZAHLEN, VNT_KEYS_DEFAULT);
    bool DVTL(const QString &SPV, int32_t L, VNT_KEYS_DEFAULT);
    bool DVTS(const QString &SPV, float ZAHL, VNT_KEYS_DEFAULT);
    bool DVTSF(const QString &SPV, const std::vector<float> &ZAHLEN, VNT_KEYS_DEFAULT);
    bool DVTD(const QString &SPV, double ZAHL, VNT_KEYS_DEFAULT);
    bool DVTV(const QString &SPV, const Variant &WERT, VNT_KEYS_DEFAULT);

    // ---- table to variable: a missing row or Null gives 0, "", False, the zero date;
    //      only DTVV gives Empty ----------------------------------------------------------
    bool DTVA(const QString &SPV, double &DATUM, VNT_KEYS_DEFAULT);
    bool DTVB(const QString &SPV, bool &BO, VNT_KEYS_DEFAULT);
    bool DTVBF(const QString &SPV, std::vector<bool> &BO, VNT_KEYS_DEFAULT);
    bool DTVT(const QString &SPV, QString &TXT, VNT_KEYS_DEFAULT);
    bool DTVTF(const QString &SPV, std::vector<QString> &ZAHLEN, VNT_KEYS_DEFAULT);
    bool DTVI(const QString &SPV, int16_t &I, VNT_KEYS_DEFAULT);
    bool DTVIF(const QString &SPV, std::vector<int16_t> &ZAHLEN, VNT_KEYS_DEFAULT);
    bool DTVL(const QString &SPV, int32_t &L, VNT_KEYS_DEFAULT);
    bool DTVS(const QString &SPV, float &ZAHL, VNT_KEYS_DEFAULT);
    bool DTVSF(const QString &SPV, std::vector<float> &ZAHLEN, VNT_KEYS_DEFAULT);
    bool DTVD(const QString &SPV, double &ZAHL, VNT_KEYS_DEFAULT);
    bool DTVV(const QString &SPV, Variant &WERT, VNT_KEYS_DEFAULT);
    bool DTVVF(const QString &SPV, std::vector<Variant> &ZAHLEN, VNT_KEYS_DEFAULT);
    // Replaces X by the non-Null values of the selection; leaves it as passed when none is selected.
    bool DTVCOL(const QString &SPV, std::vector<Variant> &X, VNT_KEYS_DEFAULT);

    // ---- index queries, record lists, deletion -----------------------------------------
    // Smallest and largest value and row count of the last named key column; the columns
    // named before it are restricted to their values.
    void INDEX(int16_t &MINI, int16_t &MAXI, int16_t &AN, const QString &SPI1, const Variant &SPI1W = {},
               const QString &SPI2 = {}, const Variant &SPI2W = {}, const QString &SPI3 = {},
               const Variant &SPI3W = {}, const QString &SPI4 = {});
    void INDEXL(int32_t &MINI, int32_t &MAXI, int32_t &AN, const QString &SPI1, const Variant &SPI1W = {},
                const QString &SPI2 = {}, const Variant &SPI2W = {}, const QString &SPI3 = {},
                const Variant &SPI3W = {}, const QString &SPI4 = {});
    void INDEXV(Variant &MINI, Variant &MAXI, int16_t &AN, const QString &SPI1, const Variant &SPI1W = {},
                const QString &SPI2 = {}, const Variant &SPI2W = {}, const QString &SPI3 = {},
                const Variant &SPI3W = {}, const QString &SPI4 = {});
    // Ids and names of the records of E1 (all, or the active ones), by name. Errors are thrown.
    void LID(std::vector<int32_t> &ID, bool AKT);
    void LKEN(std::vector<QString> &KEN, bool AKT);
    // Deletes the selection.
    bool LOESCHEN(VNT_KEYS_DEFAULT);

private:
    bool SPALTESCHREIBEN(const QString &SPV, const std::vector<Variant> &values, const KeyPairs &keys);
    bool SPALTELESEN(const QString &SPV, std::vector<Variant> &values, const KeyPairs &keys);

    std::unique_ptr<db::Recordset> openSelection(const QString &SPV, const KeyPairs &keys,
                                                 db::CursorType cursor = db::CursorType::Static);
    void openSelection(db::Recordset &rs, const QString &SPV, const KeyPairs &keys, db::CursorType cursor);
    bool writeOne(const QString &SPV, const Variant &value, const KeyPairs &keys);
    bool writeMany(const QString &SPV, const std::vector<Variant> &values, const KeyPairs &keys);
    // Reads element 0; on failure shows the reader's box and returns false.
    bool readOne(const QString &SPV, Variant &value, const KeyPairs &keys);
    // What names one selected value among every database, table and record of the run.
    QString selectionKey(const QString &SPV, const KeyPairs &keys);
    // readOne, then apply(value) for the typed readers (clsDATEN_Shared.h); apply is not called
    // after a failed read, so the variable or control keeps what it had.
    template <class Apply>
    bool readAndApply(const QString &SPV, const KeyPairs &keys, Apply apply);
    template <class T, class Convert>
    bool readArray(const QString &SPV, std::vector<T> &values, const KeyPairs &keys, Convert convert);
    // store(0, first value), store(1, last value), store(2, row count); store(3, {}) when no row.
    template <class Store>
    void runIndex(const QString &title, const KeyPairs &keys, Store store);

    const RunContext &ctx_;
    db::ConnectionPtr cnn_;
    bool keepRefused_ = false;
    QString mdbName_;
    AccessorState s_;
    SelectionShapes shapes_;
};

} // namespace vnt
