// The typed grid: binding, per-column lists and settings.
#include "grid/clsFLX.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <cmath>

namespace vnt {

namespace {
const QString kPrefix = QStringLiteral("VB-Error: ");
constexpr double kTwipsPerMm = 56.7;
} // namespace

// Paints the kept header image whenever the header picture repaints, so that any plain
// widget can serve as the picture box.
class HeaderPicturePainter : public QObject {
public:
    explicit HeaderPicturePainter(const QImage *image) : image_(image) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *w = static_cast<QWidget *>(watched);
            QPainter p(w);
            p.fillRect(w->rect(), w->palette().color(QPalette::Window));
            p.drawImage(0, 0, *image_);
            return true;
        }
        return false;
    }

private:
    const QImage *image_;
};

clsFLX::clsFLX() = default;

clsFLX::~clsFLX()
{
    if (pic_ && picPainter_)
        pic_->removeEventFilter(picPainter_.get());
}

void clsFLX::requireGrid() const
{
    if (!flx_)
        raise(91, QStringLiteral("Object variable or With block variable not set"));
}

int clsFLX::typeColumn(int type) const
{
    return type >= 1 && type <= 6 ? typeCol_[type] : -1;
}

// ---- bound objects -------------------------------------------------------------------

void clsFLX::setEFLX(GridControl *grid)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / FLX"));
    flx_ = grid;
    FlexValue widths;
    g.step([&] {
        requireGrid();
        QList<FlexValue> l;
        for (int i = 0; i < flx_->Cols(); ++i)
            l.append(FlexValue(15));
        widths = FlexValue::list(l);
    });
    g.step([&] {
        requireGrid();
        flx_->setRows(flx_->FixedRows() + 1);
    });
    g.step([&] { setELSB(widths); });
    g.step([&] { det_ = -1; });
}

std::shared_ptr<clsFLX> clsFLX::EFLXK()
{
    if (!flxk_)
        flxk_ = std::make_shared<clsFLX>();
    return flxk_;
}

void clsFLX::setEFLXK(std::shared_ptr<clsFLX> chained)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / FLXK"));
    g.step([&] {
        // The row operations follow the chain to its end; a chain leading back here would
        // never end, so it is refused.
        for (const clsFLX *k = chained.get(); k; k = k->flxk_.get())
            if (k == this)
                raise(5, QStringLiteral("Die Verkettung der Tabellen führt zu dieser Tabelle zurück."));
        flxk_ = std::move(chained);
    });
}

void clsFLX::setETXT(QLineEdit *txt)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / TXT"));
    txt_ = txt;
    g.step([&] {
        if (!txt_)
            raise(91, QStringLiteral("Object variable or With block variable not set"));
        txt_->setFrame(true);
        txt_->clear();
        txt_->hide();
    });
}

void clsFLX::setECBO(QComboBox *cbo)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / CBO"));
    cbo_ = cbo;
    g.step([&] {
        if (!cbo_)
            raise(91, QStringLiteral("Object variable or With block variable not set"));
        cbo_->setEditable(true);
        cbo_->setEditText(QString());
        cbo_->hide();
    });
}

void clsFLX::setEPIC(QWidget *pic)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / PIC"));
    if (pic_ && picPainter_)
        pic_->removeEventFilter(picPainter_.get());
    pic_ = pic;
    g.step([&] {
        if (!pic_)
            raise(91, QStringLiteral("Object variable or With block variable not set"));
        if (!picPainter_)
            picPainter_ = std::make_unique<HeaderPicturePainter>(&headerImage_);
        pic_->installEventFilter(picPainter_.get());
        pic_->setAutoFillBackground(false);
    });
    // Half a millimetre inside the grid's upper left corner, over the header row.
    g.step([&] {
        requireGrid();
        const int inset = int(std::lround(28.35 / GridControl::kTwipsPerPixel));
        QPoint at = flx_->pos() + QPoint(inset, inset);
        if (pic_->parentWidget() != flx_->parentWidget() && pic_->parentWidget())
            at = pic_->parentWidget()->mapFromGlobal(flx_->mapToGlobal(QPoint(inset, inset)));
        pic_->move(at);
        pic_->raise();
    });
}

// ---- per-column lists ----------------------------------------------------------------

void clsFLX::setELSB(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LSB"));
    g.step([&] { lsb_ = v; });
    g.step([&] {
        requireGrid();
        flx_->setCols(lsb_.ubound() + 1);
    });
    int cols = 0;
    g.step([&] { requireGrid(); cols = flx_->Cols(); });
    for (int i = 0; i < cols; ++i) {
        if (!g.step([&] {
                const float mm = float(lsb_.at(i).toDouble());
                flx_->setColWidth(i, int(std::nearbyint(mm * float(kTwipsPerMm))));
                flx_->setHeaderAlignment(i, Qt::AlignCenter);
            }))
            return;
    }
    g.step([&] {
        QList<FlexValue> t1, ttt, typ, empty, la;
        for (int i = 0; i < cols; ++i) {
            const QString n = QString::number(i + 1);
            t1 << FlexValue(QStringLiteral("I") + n);
            ttt << FlexValue(QStringLiteral("SpaltenNr.") + n);
            typ << FlexValue(0);
            la << FlexValue(2);
            empty << FlexValue();
        }
        lst1_ = FlexValue::list(t1);
        lsttt_ = FlexValue::list(ttt);
        lstyp_ = FlexValue::list(typ);
        la_ = FlexValue::list(la);
        lformat_ = lmin_ = lmax_ = FlexValue::list(empty);
        lcbo_ = empty;
        showFormats();
    });
    if (g.left())
        return;
    setELST1(lst1_);
    setELSTYP(lstyp_);
    setELA(la_);
    g.step([&] {
        boh_ = -1;
        dete_ = QStringLiteral("mm");
    });
    g.step([&] { SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0); });
}

void clsFLX::setELST1(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LST1"));
    lst1_ = v;
    int cols = 0;
    if (!g.step([&] { requireGrid(); cols = flx_->Cols(); }))
        return;
    for (int i = 0; i < cols; ++i)
        if (!g.step([&] { flx_->setTextMatrix(0, i, lst1_.at(i).text()); }))
            return;
}

void clsFLX::setELST2(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LST2"));
    g.step([&] { lst2_ = v; });
}

void clsFLX::setELSTTT(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LSTTT"));
    g.step([&] { lsttt_ = v; });
}

void clsFLX::setELSTYP(const FlexValue &v)
{
    Guard g(QStringLiteral("VB-Error: "), QStringLiteral("LSTYP - FlexGrid"));
    lstyp_ = v;
    typeCol_.fill(-1);
    int cols = 0;
    if (!g.step([&] { requireGrid(); cols = flx_->Cols(); }))
        return;
    for (int i = 0; i < cols; ++i) {
        if (!g.step([&] {
                const int t = lstyp_.at(i).toInt();
                if (t >= 1 && t <= 6)
                    typeCol_[t] = i;
            }))
            return;
    }
    g.step([&] {
        requireGrid();
        int fixed = 0;
        if (typeCol_[1] >= 0)
            fixed = typeCol_[2] < 0 ? 1 : (typeCol_[3] < 0 ? 2 : 3);
        flx_->setFixedCols(fixed);
    });
    g.step([&] { indexStart_.fill(0); });
    // A 32-bit value is none of the forms the setter takes: it only renumbers.
    g.step([&] { setELINDEXMAX(FlexValue(Variant(int32_t(0)))); });
}

FlexValue clsFLX::ELCBO(int index) const
{
    if (index < 0 || index >= lcbo_.size())
        raise(err::SubscriptOutOfRange);
    return lcbo_[index];
}

void clsFLX::setELCBO(int index, const FlexValue &items)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LCBO"));
    g.step([&] {
        requireGrid();
        if (index < 0 || index >= flx_->Cols() || index >= lcbo_.size())
            raise(err::SubscriptOutOfRange);
        lcbo_[index] = items;
    });
}

void clsFLX::setELFORMAT(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LFORMAT"));
    g.step([&] { lformat_ = v; });
    g.step([&] { showFormats(); });
}

void clsFLX::showFormats()
{
    requireGrid();
    for (int c = 0; c < flx_->Cols(); ++c) {
        const bool given = lformat_.isArray() && c <= lformat_.ubound() && !lformat_.at(c).isMissing();
        flx_->setColFormat(c, given ? lformat_.at(c).text() : QString());
    }
}

void clsFLX::applyAlignment(int col, const FlexValue &entry)
{
    flx_->setHeaderAlignment(col, Qt::AlignCenter);
    switch (entry.toInt()) {
    case 0: flx_->setColAlignment(col, Qt::AlignLeft | Qt::AlignVCenter); break;
    case 1: flx_->setColAlignment(col, Qt::AlignHCenter | Qt::AlignVCenter); break;
    case 2: flx_->setColAlignment(col, Qt::AlignRight | Qt::AlignVCenter); break;
    default: break;
    }
}

void clsFLX::setELA(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LA "));
    la_ = v;
    int cols = 0;
    if (!g.step([&] { requireGrid(); cols = flx_->Cols(); }))
        return;
    for (int i = 0; i < cols; ++i)
        if (!g.step([&] { applyAlignment(i, la_.at(i)); }))
            return;
}

void clsFLX::setELMIN(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LMIN"));
    g.step([&] { lmin_ = v; });
}

void clsFLX::setELMAX(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LMAX"));
    g.step([&] { lmax_ = v; });
}

void clsFLX::setELSELEK(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LSELEK"));
    g.step([&] { lselek_ = v; });
}

// ---- numbering settings -------------------------------------------------------------

void clsFLX::setELINDEXMIN(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / LINDEXMIN"));
    g.step([&] {
        lindexmin_ = v;
        if (v.isEmpty()) {
            indexStart_ = {0, 0, 0};
        } else if (!v.isArray() && !v.isMissing() && v.scalar().type() == VarType::Integer) {
            indexStart_ = {v.toInt(), 0, 0};
        } else if (v.isArray() && v.ubound() == 1) {
            indexStart_ = {v.at(0).toInt(), v.at(1).toInt(), 0};
        } else if (v.isArray() && v.ubound() == 2) {
            indexStart_ = {v.at(0).toInt(), v.at(1).toInt(), v.at(2).toInt()};
        }
    });
    g.step([&] { NUMMERIEREN(); });
}

void clsFLX::setELINDEXMAX(const FlexValue &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / ELINDEXMAX"));
    g.step([&] {
        lindexmax_ = v;
        requireGrid();
        const int fixed = flx_->FixedRows();
        if (v.isEmpty()) {
            indexEnd_ = {0, 0};
            flx_->setRows(fixed + 1);
        } else if (!v.isArray() && !v.isMissing() && v.scalar().type() == VarType::Integer) {
            indexEnd_ = {v.toInt(), 0};
            flx_->setRows(fixed + (indexEnd_[0] - indexStart_[1] + 1));
        } else if (v.isArray()) {
            indexEnd_ = {v.at(0).toInt(), v.at(1).toInt()};
            flx_->setRows(fixed + (indexEnd_[0] - indexStart_[1] + 1) * (indexEnd_[1] - indexStart_[2] + 1));
        }
    });
    g.step([&] { NUMMERIEREN(); });
}

// ---- other settings ------------------------------------------------------------------

QString clsFLX::EMATRIX(int SPALTENR, int ZEILENR)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / EMATRIX"));
    QString t;
    g.step([&] {
        requireGrid();
        t = flx_->TextMatrix(SPALTENR, ZEILENR);
    });
    return t;
}

void clsFLX::setEMATRIX(int SPALTENR, int ZEILENR, const FlexValue &matrix)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / EMATRIX"));
    g.step([&] {
        requireGrid();
        flx_->setTextMatrix(SPALTENR, ZEILENR, matrix.at(SPALTENR).at(ZEILENR).text());
    });
}

void clsFLX::setEBOH(int16_t v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / EBOH"));
    g.step([&] { boh_ = v; });
}

void clsFLX::setEDET(int16_t v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / EDET"));
    g.step([&] { det_ = v; });
}

void clsFLX::setEDETE(const QString &v)
{
    Guard g(kPrefix, QStringLiteral("MSFlexGrid / EDETE"));
    g.step([&] { dete_ = v; });
}

int clsFLX::columnType(int col) const
{
    return lstyp_.at(col).toInt();
}

QString clsFLX::header1(int col) const
{
    return lst1_.at(col).text();
}

// ---- FlexGrid ------------------------------------------------------------------------

int clsFLX::FixedRows() const { requireGrid(); return flx_->FixedRows(); }
int clsFLX::Rows() const { requireGrid(); return flx_->Rows(); }
void clsFLX::setRows(int rows) { requireGrid(); flx_->setRows(rows); }
int clsFLX::Cols() const { requireGrid(); return flx_->Cols(); }
QString clsFLX::TextMatrix(int row, int col) const { requireGrid(); return flx_->TextMatrix(row, col); }
void clsFLX::setTextMatrix(int row, int col, const QString &text) { requireGrid(); flx_->setTextMatrix(row, col, text); }
bool clsFLX::Enabled() const { requireGrid(); return flx_->Enabled(); }
void clsFLX::setEnabled(bool enabled) { requireGrid(); flx_->setEnabled(enabled); }
QColor clsFLX::BackColor() const { requireGrid(); return flx_->BackColor(); }
void clsFLX::setBackColor(const QColor &c) { requireGrid(); flx_->setBackColor(c); }
QColor clsFLX::BackColorFixed() const { requireGrid(); return flx_->BackColorFixed(); }
int clsFLX::Index() const { requireGrid(); return flx_->Index(); }

} // namespace vnt
