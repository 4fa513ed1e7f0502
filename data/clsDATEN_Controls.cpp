// The column accessor's transfers between table columns and the controls and grids of a window.
#include "clsDATEN.h"
#include "clsDATEN_Shared.h"

#include "AccessorSteps.h"
#include "DataBoxes.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/system.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace vnt {

namespace {

constexpr int ObjectNotAnArray = 343;
constexpr int ObjectDoesNotSupport = 438;
constexpr int TextIsReadOnly = 383;

QString textBoxText(const QWidget &w)
{
    if (auto *e = qobject_cast<const QLineEdit *>(&w))
        return e->text();
    if (auto *e = qobject_cast<const QPlainTextEdit *>(&w))
        return e->toPlainText();
    if (auto *e = qobject_cast<const QTextEdit *>(&w))
        return e->toPlainText();
    raise(ObjectDoesNotSupport);
}

void setTextBoxText(QWidget &w, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(&w))
        e->setText(text);
    else if (auto *e = qobject_cast<QPlainTextEdit *>(&w))
        e->setPlainText(text);
    else if (auto *e = qobject_cast<QTextEdit *>(&w))
        e->setPlainText(text);
    else
        raise(ObjectDoesNotSupport);
}

// Check box values as the program counts them: 0 unchecked, 1 checked, 2 grayed.
int16_t checkValue(const QCheckBox &c)
{
    switch (c.checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void setCheckValue(QCheckBox &c, int16_t value)
{
    switch (value) {
    case 0: c.setCheckState(Qt::Unchecked); break;
    case 1: c.setCheckState(Qt::Checked); break;
    case 2: c.setCheckState(Qt::PartiallyChecked); break;
    default: raise(err::InvalidPropertyValue);
    }
}

// An option button may be cleared even inside its group, as the program's option buttons could.
void setOptionValue(QRadioButton &o, bool value)
{
    if (value || !o.isChecked()) {
        o.setChecked(value);
        return;
    }
    const bool exclusive = o.autoExclusive();
    o.setAutoExclusive(false);
    o.setChecked(false);
    o.setAutoExclusive(exclusive);
}

void setListIndex(QListWidget &l, int16_t index)
{
    if (index < -1 || index >= l.count())
        raise(err::InvalidPropertyValue);
    l.setCurrentRow(index);
}

void setListIndex(QComboBox &c, int16_t index)
{
    if (index < -1 || index >= c.count())
        raise(err::InvalidPropertyValue);
    c.setCurrentIndex(index);
}

void setComboText(QComboBox &c, const QString &text)
{
    if (c.isEditable()) {
        c.setEditText(text);
        return;
    }
    // A list whose text cannot be typed shows only its own items.
    const int i = c.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        c.setCurrentIndex(i);
    else if (text.isEmpty())
        c.setCurrentIndex(-1);
    else
        raise(TextIsReadOnly);
}

int16_t controlArrayIndex(const QWidget &w)
{
    const QVariant index = w.property("index");
    if (!index.isValid())
        raise(ObjectNotAnArray);
    return int16_t(index.toInt());
}

int16_t gridColumn(const QString &SPNR)
{
    return Variant(SPNR).toInt();
}

} // namespace

// ---- control to table -------------------------------------------------------------------

bool clsDATEN::DFTC(const QString &SPV, const QCheckBox &chkX, VNT_KEYS)
{
    return writeOne(SPV, Variant(checkValue(chkX)), VNT_PACK_KEYS);
}

bool clsDATEN::DFTCC(const QString &SPV, const QCheckBox &chkX, VNT_KEYS)
{
    return writeOne(SPV, Variant(chkX.text()), VNT_PACK_KEYS);
}

bool clsDATEN::DFTCV(const QString &SPV, const QCheckBox &chkX, VNT_KEYS)
{
    return DFTC(SPV, chkX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DFTI(const QString &SPV, const QListWidget &lstX, VNT_KEYS)
{
    const QListWidgetItem *item = lstX.currentRow() >= 0 ? lstX.item(lstX.currentRow()) : nullptr;
    return writeOne(SPV, Variant(item ? item->text() : QString()), VNT_PACK_KEYS);
}

bool clsDATEN::DFTIL(const QString &SPV, const QListWidget &lstX, VNT_KEYS)
{
    return writeOne(SPV, Variant(int16_t(lstX.currentRow())), VNT_PACK_KEYS);
}

bool clsDATEN::DFTIS(const QString &SPV, const QListWidget &lstX, VNT_KEYS)
{
    return DFTI(SPV, lstX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DFTL(const QString &SPV, const QLabel &lblX, VNT_KEYS)
{
    return writeOne(SPV, Variant(lblX.text()), VNT_PACK_KEYS);
}

bool clsDATEN::DFTLC(const QString &SPV, const QLabel &lblX, VNT_KEYS)
{
    return DFTL(SPV, lblX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DFTLI(const QString &SPV, const QLabel &lblX, VNT_KEYS)
{
    return writeOne(SPV, Variant(controlArrayIndex(lblX)), VNT_PACK_KEYS);
}

bool clsDATEN::DFTM(const QString &SPV, const QComboBox &cboX, VNT_KEYS)
{
    return writeOne(SPV, Variant(cboX.currentText()), VNT_PACK_KEYS);
}

bool clsDATEN::DFTML(const QString &SPV, const QComboBox &cboX, VNT_KEYS)
{
    return writeOne(SPV, Variant(int16_t(cboX.currentIndex())), VNT_PACK_KEYS);
}

bool clsDATEN::DFTMS(const QString &SPV, const QComboBox &cboX, VNT_KEYS)
{
    const int i = cboX.currentIndex();
    return writeOne(SPV, i >= 0 ? Variant(cboX.itemText(i)) : Variant(), VNT_PACK_KEYS);
}

bool clsDATEN::DFTMT(const QString &SPV, const QComboBox &cboX, VNT_KEYS)
{
    return DFTM(SPV, cboX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DFTO(const QString &SPV, const QRadioButton &optX, VNT_KEYS)
{
    return writeOne(SPV, Variant(optX.isChecked()), VNT_PACK_KEYS);
}

bool clsDATEN::DFTOC(const QString &SPV, const QRadioButton &optX, VNT_KEYS)
{
    return writeOne(SPV, Variant(optX.text()), VNT_PACK_KEYS);
}

bool clsDATEN::DFTOV(const QString &SPV, const QRadioButton &optX, VNT_KEYS)
{
    return DFTO(SPV, optX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DFTT(const QString &SPV, const QWidget &txtX, VNT_KEYS)
{
    return writeOne(SPV, Variant(textBoxText(txtX)), VNT_PACK_KEYS);
}

bool clsDATEN::DFTTT(const QString &SPV, const QWidget &txtX, VNT_KEYS)
{
    return DFTT(SPV, txtX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DFTF(const QString &SPV, const FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3)
{
    Guard g(QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + s_.ETABELLE
                + QStringLiteral(" können nicht in die Spalte ") + SPNR + QStringLiteral("\nder FlexGrid-Tabelle ")
                + QString::number(msgFLX.Index()) + QStringLiteral(" geschrieben werden!\nVB-Error: "),
            QStringLiteral("Datenfehler"));
    const KeyPairs keys = VNT_PACK_KEYS3;

    // A disabled grid stands for a grid without rows, whatever it still shows.
    std::vector<QString> cells;
    const bool enabled = msgFLX.Enabled();
    if (enabled) {
        bool collected = false;
        g.step([&] {
            const int col = gridColumn(SPNR);
            for (int row = msgFLX.FixedRows(); row < msgFLX.Rows(); ++row)
                cells.push_back(msgFLX.TextMatrix(row, col).trimmed());
            collected = true;
        });
        // Going on without the grid's cells would empty or delete every selected row.
        if (!collected)
            return false;
    }

    std::unique_ptr<db::Recordset> rs;
    if (!g.step([&] { rs = openSelection(SPV, keys); }) || !rs)
        return false;   // nothing was written, so nothing may be reported as done

    for (size_t k = 0; k < cells.size() && !g.left(); ++k) {
        g.step([&] {
            if (rs->isEOF())
                rs->AddNew();
            else if (k == 0)
                rs->MoveFirst();
        });
        // The database converts the text under the user's locale, as the grid shows numbers.
        g.step([&] { rs->setField(0, cells[k].isEmpty() ? Variant::null() : Variant(cells[k])); });
        if (!s_.ESPID.isEmpty())
            g.step([&] { rs->setField(s_.ESPID, Variant(s_.ESPIDW)); });
        for (size_t i = 0; i < 3; ++i)
            if (keys[i].restricts())
                g.step([&] { rs->setField(keys[i].name, keys[i].value); });
        for (const auto &[column, text] : {std::pair(&s_.ESPK1, &s_.ESPK1W), std::pair(&s_.ESPK2, &s_.ESPK2W),
                                           std::pair(&s_.ESPK3, &s_.ESPK3W)})
            if (!column->isEmpty())
                g.step([&] { rs->setField(*column, Variant(*text)); });
        g.step([&] { rs->Update(); });
        g.step([&] {
            if (!rs->isEOF())
                rs->MoveNext();
        });
        sys::DoEventsThrottled();
    }

    // The rows beyond the grid's data rows; for a disabled grid, the whole selection.
    return deleteRestAndClose(g, *rs, !enabled);
}

bool clsDATEN::DFTFM(const QString &SPV, const FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3)
{
    return DFTF(SPV, msgFLX, SPNR, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4);
}

// ---- table to control -------------------------------------------------------------------

bool clsDATEN::DTFC(const QString &SPV, QCheckBox &chkX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { setCheckValue(chkX, v.toInt()); });
}

bool clsDATEN::DTFCC(const QString &SPV, QCheckBox &chkX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { chkX.setText(v.text()); });
}

bool clsDATEN::DTFCV(const QString &SPV, QCheckBox &chkX, VNT_KEYS)
{
    return DTFC(SPV, chkX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DTFI(const QString &SPV, QListWidget &lstX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { lstX.addItem(v.text()); });
}

bool clsDATEN::DTFIL(const QString &SPV, QListWidget &lstX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) {
        if (lstX.count() > 0)
            setListIndex(lstX, v.toInt());
    });
}

bool clsDATEN::DTFIS(const QString &SPV, QListWidget &lstX, VNT_KEYS)
{
    return DTFI(SPV, lstX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DTFL(const QString &SPV, QLabel &lblX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { lblX.setText(v.text()); });
}

bool clsDATEN::DTFLC(const QString &SPV, QLabel &lblX, VNT_KEYS)
{
    return DTFL(SPV, lblX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DTFM(const QString &SPV, QComboBox &cboX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { setComboText(cboX, v.text()); });
}

bool clsDATEN::DTFML(const QString &SPV, QComboBox &cboX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) {
        if (cboX.count() > 0)
            setListIndex(cboX, v.toInt());
    });
}

bool clsDATEN::DTFMM(const QString &SPV, QComboBox &cboX, VNT_KEYS3)
{
    const QString text = QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + s_.ETABELLE
                       + QStringLiteral(" eingelesen werden!");
    bool left = false;
    auto step = [&](const auto &f) {
        if (left)
            return;
        try {
            f();
        } catch (const std::exception &) {
            left = !dataErrorGoOn(text);
        }
    };

    std::unique_ptr<db::Recordset> rs;
    step([&] { rs = openSelection(SPV, VNT_PACK_KEYS3); });
    if (!rs)
        return false;
    bool more = false;
    step([&] { more = !rs->isEOF(); });
    while (more && !left) {
        step([&] {
            const Variant v = rs->Fields(0);
            if (!v.isNull())
                cboX.addItem(v.text());
        });
        step([&] { rs->MoveNext(); });
        more = false;
        step([&] { more = !rs->isEOF(); });
    }
    rs->Close();
    return !left;
}

bool clsDATEN::DTFMS(const QString &SPV, QComboBox &cboX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { cboX.addItem(v.text()); });
}

bool clsDATEN::DTFMT(const QString &SPV, QComboBox &cboX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) {
        const QString text = v.text();
        if (cboX.isEditable()) {
            cboX.setEditText(text);
            return;
        }
        for (int i = 0; i < cboX.count(); ++i)
            if (cboX.itemText(i) == text) {
                cboX.setCurrentIndex(i);
                break;
            }
    });
}

bool clsDATEN::DTFO(const QString &SPV, QRadioButton &optX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { setOptionValue(optX, v.toBool()); });
}

bool clsDATEN::DTFOC(const QString &SPV, QRadioButton &optX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { optX.setText(v.text()); });
}

bool clsDATEN::DTFOV(const QString &SPV, QRadioButton &optX, VNT_KEYS)
{
    return DTFO(SPV, optX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DTFT(const QString &SPV, QWidget &txtX, VNT_KEYS)
{
    return readAndApply(SPV, VNT_PACK_KEYS, [&](const Variant &v) { setTextBoxText(txtX, v.text()); });
}

bool clsDATEN::DTFTT(const QString &SPV, QWidget &txtX, VNT_KEYS)
{
    return DTFT(SPV, txtX, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W);
}

bool clsDATEN::DTFF(const QString &SPV, FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3, int16_t ZNR)
{
    Guard g(QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + s_.ETABELLE
                + QStringLiteral(" können nicht in die Spalte ") + SPNR + QStringLiteral("\nder FlexGrid-Tabelle ")
                + QString::number(msgFLX.Index()) + QStringLiteral(" eingelesen werden!\nVB-Error: "),
            QStringLiteral("Datenfehler"));

    std::unique_ptr<db::Recordset> rs;
    if (!g.step([&] { rs = openSelection(SPV, VNT_PACK_KEYS3); }) || !rs)
        return false;   // the grid was not filled, so nothing may be reported as done

    bool hasRow = false;
    g.step([&] { hasRow = !rs->isEOF(); });
    if (!hasRow) {
        // An empty grid: disabled in its fixed-cell colour, its rows and cells untouched.
        g.step([&] { msgFLX.setBackColor(msgFLX.BackColorFixed()); });
        g.step([&] { msgFLX.setEnabled(false); });
    } else {
        g.step([&] { msgFLX.setBackColor(QGuiApplication::palette().color(QPalette::Base)); });
        g.step([&] { msgFLX.setEnabled(true); });
        long n = 0;
        g.step([&] { n = rs->RecordCount(); });
        int r = msgFLX.FixedRows();
        if (ZNR > r)
            r = ZNR + 1;
        // Grows the grid to hold the selection; a grid never loses rows here.
        g.step([&] {
            if (msgFLX.Rows() - r < n)
                msgFLX.setRows(int(r + n));
        });
        g.step([&] { rs->MoveFirst(); });
        while (!g.left()) {
            bool atEnd = false;
            g.step([&] { atEnd = rs->isEOF(); });
            if (atEnd || g.left())
                break;
            g.step([&] {
                const Variant v = rs->Fields(0);
                if (!v.isNull())
                    msgFLX.setTextMatrix(r, gridColumn(SPNR), v.text());
            });
            ++r;
            sys::DoEventsThrottled();
            g.step([&] { rs->MoveNext(); });
        }
    }
    g.always([&] { rs->Close(); });
    return !g.left();
}

bool clsDATEN::DTFFM(const QString &SPV, FlexGrid &msgFLX, const QString &SPNR, VNT_KEYS3)
{
    return DTFF(SPV, msgFLX, SPNR, SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, 0);
}

} // namespace vnt
