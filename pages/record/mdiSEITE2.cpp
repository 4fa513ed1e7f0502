// Result page 2: loading, the header, and the six table figures.
#include "pages/record/mdiSEITE2.h"

#include "data/clsDATEN.h"
#include "pages/common/TextTable.h"
#include "platform/system.h"

namespace vnt {

namespace {

// What distinguishes the six table figures.
struct TableSpec {
    int number;
    const char *table;
    const char *title;
    VariantList widths, grid, gridLeftOut, align, format;
    double eru;
};

const VariantList kDeviceWidths{13.0, 83.0, 15.0};
const VariantList kSingleRules{1, 1};
const VariantList kNoneLeftOut{0, 0};
const VariantList kTextTextNumber{0, 0, 2};
const VariantList kCostFormat{Variant(), Variant(), "#,###,##0.00"};

VariantList repeated(VariantList head, const Variant &v, int n)
{
    for (int i = 0; i < n; ++i)
        head << v;
    return head;
}

const TableSpec &tableAt(int index)
{
    static const TableSpec tables[6] = {
        {11, "VANT_V11", "Trägergeräte", kDeviceWidths, kSingleRules, kNoneLeftOut, kTextTextNumber, kCostFormat, 2.5},
        {12, "VANT_V12", "Verrohrungen", kDeviceWidths, kSingleRules, kNoneLeftOut, kTextTextNumber, kCostFormat, 2.5},
        {13, "VANT_V13", "Lösewerkzeuge", kDeviceWidths, kSingleRules, kNoneLeftOut, kTextTextNumber, kCostFormat, 2.5},
        {14, "VANT_V14", "Förderwerkzeuge", kDeviceWidths, kSingleRules, kNoneLeftOut, kTextTextNumber, kCostFormat, 2.5},
        {2, "VANT_V2", "Gesteine", repeated({13.0, 37.0}, 13.0, 9), {1, 2, 1, 1, 2, 1, 1, 2, 1, 1},
         {0, 0, 2, 2, 0, 2, 2, 0, 2, 2}, repeated({0, 0}, 2, 9), repeated({Variant(), Variant()}, "#0.00", 9), 2.5},
        {3, "VANT_V3", "Personalkosten", {13.0, 29.0, 15.0}, kSingleRules, kNoneLeftOut, kTextTextNumber, kCostFormat,
         10},
    };
    return tables[index];
}

QString boxName(int index) { return QStringLiteral("picBILD%1").arg(tableAt(index).number); }
QString barName(int index) { return QStringLiteral("vscBILD%1").arg(tableAt(index).number); }

} // namespace

mdiSEITE2::mdiSEITE2(RunContext &ctx, QWidget *parent) : ResultPage(ctx, parent)
{
    setObjectName(QStringLiteral("mdiSEITE2"));
    Form_Load();
}

mdiSEITE2::~mdiSEITE2() = default;

void mdiSEITE2::Form_Load()
{
    setWindowState(windowState() | Qt::WindowMaximized);

    // The six boxes fill the band of the sheet from 13 to 258 mm across and 35 to 155 mm down.
    const double w = 245.0 / 2, h = 40;
    const QRectF rects[6] = {
        {13, 35, w, h}, {13 + w, 35, w, h}, {13, 35 + h, w, h}, {13 + w, 35 + h, w, h},
        {13, 35 + 2 * h, 177, h}, {13 + 177, 35 + 2 * h, 68, h},
    };
    for (int i = 0; i < 6; ++i)
        addPictureBox(boxName(i), rects[i], barName(i), [this, i] { drawPresetTable(i, 0, 0, 0); });

    BOKF = true;
    BOKFS = true;
    ctx_.setProgress(80);

    for (int i = 0; i < 6; ++i) {
        auto a = std::make_unique<clsDATEN>(ctx_);
        a->setETABELLE(QString::fromLatin1(tableAt(i).table));
        a->setESPID(QString());
        a->setEBOV(true);
        accessors_[size_t(i)] = std::move(a);
    }

    ctx_.setProgress(81);
    DATENEINGABE(T_, {accessors_[0].get(), accessors_[1].get(), accessors_[2].get(), accessors_[3].get(),
                      accessors_[4].get(), accessors_[5].get()},
                 [this](int v) { ctx_.setProgress(v); });

    KOPFFUSS(0);
    sys::DoEvents();

    for (int i = 0; i < 6; ++i) {
        ctx_.setProgress(94 + i);
        drawPresetTable(i, 0, 0, 0);
        sys::DoEvents();
    }
}

PageHeaderContent mdiSEITE2::headerContent() const
{
    PageHeaderContent c;
    c.KENNZEICHNUNG = {Variant(QString())};
    c.KOMMENTAR = QStringLiteral("Allgemeine Legende");
    c.SEITE = 2;
    c.SEITENANZAHL = 2;
    return c;
}

void mdiSEITE2::BILD11(int OBJ, float XDL, float YDO) { drawPresetTable(0, OBJ, XDL, YDO); }
void mdiSEITE2::BILD12(int OBJ, float XDL, float YDO) { drawPresetTable(1, OBJ, XDL, YDO); }
void mdiSEITE2::BILD13(int OBJ, float XDL, float YDO) { drawPresetTable(2, OBJ, XDL, YDO); }
void mdiSEITE2::BILD14(int OBJ, float XDL, float YDO) { drawPresetTable(3, OBJ, XDL, YDO); }
void mdiSEITE2::BILD2(int OBJ, float XDL, float YDO) { drawPresetTable(4, OBJ, XDL, YDO); }
void mdiSEITE2::BILD3(int OBJ, float XDL, float YDO) { drawPresetTable(5, OBJ, XDL, YDO); }

QList<ResultPage::Figure> mdiSEITE2::figures()
{
    QList<Figure> list;
    for (int i = 0; i < 6; ++i)
        list.append({QStringLiteral("BILD%1").arg(tableAt(i).number),
                     [this, i](int OBJ, float XDL, float YDO) { drawPresetTable(i, OBJ, XDL, YDO); }, 1, 1});
    return list;
}

void mdiSEITE2::drawPresetTable(int index, int OBJ, float XDL, float YDO)
{
    const TableSpec &s = tableAt(index);
    const CellArray *heads[6] = {&T_.KOPFV11, &T_.KOPFV12, &T_.KOPFV13, &T_.KOPFV14, &T_.KOPFV2, &T_.KOPFV3};
    const CellArray *bodies[6] = {&T_.ZEILENV11, &T_.ZEILENV12, &T_.ZEILENV13, &T_.ZEILENV14, &T_.ZEILENV2, &T_.ZEILENV3};
    TextTable t;
    t.number = s.number;
    t.errorTitle = QStringLiteral("Tabelle ") + QString::fromLatin1(s.table);
    t.box = boxName(index);
    t.scrollBar = barName(index);
    t.widths = s.widths;
    t.rules = s.grid;
    t.ruleGaps = s.gridLeftOut;
    t.alignments = s.align;
    t.formats = s.format;
    t.marginLeft = 2;
    t.marginBottom = s.eru;
    t.head = *heads[index];
    t.body = *bodies[index];
    t.title = QString::fromUtf8(s.title);
    t.footnoteSize = 0;
    if (s.number == 3 && T_.BOFUSSNOTE)
        t.footnote = QString::fromUtf8("* Kosten sind in den Gerätekosten inkludiert");
    // A preset table without rows shows its head alone: there is no body to draw or scroll.
    t.headAloneWithoutRows = true;
    t.printedRowsInTitle = true;
    drawTable(t, OBJ, XDL, YDO);
}

void mdiSEITE2::Form_Unload()
{
    for (auto &a : accessors_)
        a.reset();
    ResultPage::Form_Unload();
}

} // namespace vnt
