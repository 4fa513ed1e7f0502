// Captions, grid columns and choice lists of the input window, its keys and events, and the
// transfer of a record between the window and the record tables.
#include "input/mdiEINGABE.h"

#include "data/clsDATEN.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"
#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <limits>
#include <optional>

namespace vnt {

namespace {

const QString kError = QStringLiteral("VB-Fehler: ");
constexpr int kGridHeight = 430;
constexpr int kMargin = 10;   // around the tab control on the scrolling page

// Where each section column of the record lives: its table (E2..E5), its column, the grid
// column that holds it, and the grid it is saved from and opened into. Every value column goes
// to the same grid both ways. The section numbers I2 are saved from the sections grid (the
// times grid for E5), but on opening each table numbers another grid (E3 the times grid, E4 the
// additional-costs grid, E5 the factors grid), so that every grid gets its rows from the record.
struct GridColumn {
    int table;
    const char *column;
    int saveGrid, openGrid;
    const char *gridColumn;
};
constexpr GridColumn kGridColumns[] = {
    {2, "I2", 0, 0, "0"},   {2, "Z", 0, 0, "1"},
    {3, "I2", 0, 1, "0"},   {3, "D", 0, 0, "2"},    {3, "KENT", 0, 0, "4"}, {3, "KENV", 0, 0, "5"},
    {3, "KENL", 0, 0, "6"}, {3, "KENF", 0, 0, "7"}, {3, "ZKT", 2, 2, "1"},  {3, "ZKV", 2, 2, "2"},
    {3, "ZKL", 2, 2, "3"},  {3, "ZKF", 2, 2, "4"},  {3, "PER", 0, 0, "8"},
    {4, "I2", 0, 2, "0"},   {4, "KENG", 0, 0, "3"},
    {5, "I2", 1, 3, "0"},   {5, "NTZ", 1, 1, "2"},  {5, "AUZ", 1, 1, "3"},  {5, "FAUZ", 3, 3, "2"},
    {5, "PPZ", 1, 1, "4"},  {5, "FPPZ", 3, 3, "3"}, {5, "STZ", 1, 1, "5"},  {5, "FSTZ", 3, 3, "4"},
    {5, "NEZ", 1, 1, "6"},  {5, "BRZ", 1, 1, "1"},  {5, "FA", 3, 3, "1"},
};

// The header fields of the first tab with the E1 columns they hold, for opening and saving alike.
std::array<std::pair<const char *, QLineEdit *>, 7> headerFields(const mdiEINGABE &w)
{
    return {{{"DATUMA", w.txtDATUMA}, {"DATUME", w.txtDATUME}, {"NN", w.txtNN}, {"ZGW", w.txtZGW},
             {"GNTZ", w.txtGNTZ}, {"GBRZ", w.txtGBRZ}, {"FNE", w.txtFNE}}};
}

FlexValue texts(std::initializer_list<const char *> l)
{
    QStringList s;
    for (const char *t : l)
        s << QString::fromUtf8(t);
    return FlexValue::texts(s);
}

FlexValue numbers(std::initializer_list<double> l)
{
    QList<FlexValue> v;
    for (double d : l)
        v << (std::isnan(d) ? FlexValue::missing() : (d == std::floor(d) && std::abs(d) < 32768 ? FlexValue(int(d)) : FlexValue(d)));
    return FlexValue::list(v);
}

// A format list; an empty pattern leaves the column unformatted.
FlexValue formats(std::initializer_list<const char *> l)
{
    QList<FlexValue> v;
    for (const char *t : l)
        v << (*t ? FlexValue(QString::fromUtf8(t)) : FlexValue::missing());
    return FlexValue::list(v);
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
const double kHuge = std::pow(10.0, 100);   // bounds nothing: only negative numbers are refused

struct GridColumns {
    FlexValue widths, head1, head2, tips, types, formats, align, min, max;
};

// The four grids as the window declares them; section numbers are the fixed column 0.
std::array<GridColumns, 4> gridColumns()
{
    const char *nr = "Laufende Nummer des Abschnittes";
    return {{
        {numbers({12, 15, 20, 20, 20, 20, 20, 15, 12}),
         texts({"Abschn.", "z", "d", "KENG", "KENT", "KENV", "KENL", "KENF", "Pers."}),
         texts({"Nr.", "[m]", "[m]", "", "", "", "", "", "[n]"}),
         texts({nr, "UK des Abschnittes (GOK=0)", "Bohrrohraußendurchmesser", "Kennzeichnung des Gesteins",
                "Kennzeichnung des Trägergerätes", "Kennzeichnung der Verrohrung", "Kennzeichnung des Lösewerkzeuges",
                "Kennzeichnung des Förderwerkzeuges", "Anzahl der Personen"}),
         numbers({1, 0, 0, 7, 7, 7, 7, 7, 0}),
         formats({"#0", "#0.000", "#0.000", "", "", "", "", "", "#0"}),
         numbers({1, 2, 2, 0, 0, 0, 0, 0, 1}),
         numbers({0, -100000000, 0, kNone, kNone, kNone, kNone, kNone, 0}),
         numbers({50, 100000000, 100, kNone, kNone, kNone, kNone, kNone, 1000})},
        {numbers({12, 20, 20, 20, 20, 20, 20}),
         texts({"Abschn.", "BRZ", "NTZ", "AUZ", "PPZ", "STZ", "NEZ"}),
         texts({"Nr.", "[h]", "[h]", "[h]", "[h]", "[h]", "[h]"}),
         texts({nr, "Bruttozeit", "Nettozeit", "Arbeitsbedingte Unterbrechungszeiten", "Planmäßige Pausenzeiten",
                "Stillstandszeiten",
                "Bohrnebenzeiten (NEZ=AUZ+PPZ+STZ); Angabe nur erforderlich, wenn die Nebenzeiten mit den Faktoren aufgeteilt werden sollen"}),
         numbers({1, 0, 0, 0, 0, 0, 0}),
         texts({"#0", "#0.00", "#0.00", "#0.00", "#0.00", "#0.00", "#0.00"}),
         numbers({1, 2, 2, 2, 2, 2, 2}),
         numbers({0, 0, 0, 0, 0, 0, 0}),
         numbers({50, 10000, 10000, 10000, 10000, 10000, 10000})},
        {numbers({12, 20, 20, 20, 20}),
         texts({"Abschn.", "ZKT", "ZKV", "ZKL", "ZKF"}),
         texts({"Nr.", "[€]", "[€]", "[€]", "[€]"}),
         texts({nr, "Zusatzkosten des Trägergerätes", "Zusatzkosten der Verrohrung", "Zusatzkosten des Lösewerkzeuges",
                "Zusatzkosten des Förderwerkzeuges"}),
         numbers({1, 0, 0, 0, 0}),
         texts({"#0", "#0.00", "#0.00", "#0.00", "#0.00"}),
         numbers({1, 2, 2, 2, 2}),
         numbers({0, 0, 0, 0, 0}),
         numbers({50, kHuge, kHuge, kHuge, kHuge})},
        {numbers({12, 20, 20, 20, 20}),
         texts({"Abschn.", "FA", "FAUZ", "FPPZ", "FSTZ"}),
         texts({"Nr.", "[-]", "[-]", "[-]", "[-]"}),
         texts({nr, "Faktor zum Aufteilen der Gesamtbruttozeit auf die einzelnen Abschnitte",
                "Faktor zum Aufteilen der Bohrnebenzeit auf die Arbeitsbedingte Unterbrechungszeit",
                "Faktor zum Aufteilen der Bohrnebenzeit auf die Planmäßige Pausenzeit",
                "Faktor zum Aufteilen der Bohrnebenzeit auf die Stillstandszeit"}),
         numbers({1, 0, 0, 0, 0}),
         texts({"#0", "#0.00", "#0.00", "#0.00", "#0.00"}),
         numbers({1, 2, 2, 2, 2}),
         numbers({0, 0, 0, 0, 0}),
         numbers({50, kHuge, kHuge, kHuge, kHuge})},
    }};
}

QLineEdit *textBox(QWidget *parent, const char *name, QRect geo)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setGeometry(geo);
    return t;
}

QLabel *label(QWidget *parent, const char *name, const char *text, QRect geo)
{
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geo);
    return l;
}

void setTip(std::initializer_list<QWidget *> ws, const char *tip)
{
    for (QWidget *w : ws)
        w->setToolTip(QString::fromUtf8(tip));
}

} // namespace

mdiEINGABE::mdiEINGABE(RunContext &ctx, QWidget *parent)
    : QWidget(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("mdiEINGABE"));
    setWindowTitle(QString());
    SPRACHE = int16_t(ctx_.SPRACHE());
    buildControls();
    bindGrids();
    for (int t = 1; t <= 6; ++t) {
        e_[size_t(t)] = std::make_unique<clsDATEN>(ctx_);
        e_[size_t(t)]->setETABELLE(QStringLiteral("E%1").arg(t));
    }
    buildChoiceLists();
    SSTab->setCurrentIndex(0);
    OPTIONEN();
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    // Room for the name frame above the tabs and a margin on either side of them.
    const int frameH = fraKEN->height();
    page_->setMinimumSize(SSTab->width() + 2 * kMargin, int(1.5 * frameH) + SSTab->height() + kMargin);
    resize(page_->minimumSize());
    scroll_->setGeometry(rect());
    placeControls();
}

mdiEINGABE::~mdiEINGABE() = default;

// ---- load ------------------------------------------------------------------------------

void mdiEINGABE::buildControls()
{
    // The controls stand on a page that scrolls: a main window smaller than the controls
    // (a small screen, a large scale factor) shows them all by scrolling rather than cut off.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrEINGABE"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setFocusPolicy(Qt::NoFocus);   // the focus belongs to the fields; the bars scroll by mouse
    page_ = new QWidget;
    page_->setObjectName(QStringLiteral("picEINGABE"));
    scroll_->setWidget(page_);

    fraKEN = new QFrame(page_);
    fraKEN->setObjectName(QStringLiteral("fraKEN"));
    fraKEN->setFrameShape(QFrame::StyledPanel);
    fraKEN->resize(720, 40);
    lblKEN = label(fraKEN, "lblKEN", "Datensatz", {10, 10, 70, 22});
    txtKEN = textBox(fraKEN, "txtKEN", {80, 8, 160, 24});
    lblKOM = label(fraKEN, "lblKOM", "Kommentar", {260, 10, 80, 22});
    txtKOM = textBox(fraKEN, "txtKOM", {340, 8, 370, 24});

    SSTab = new QTabWidget(page_);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    SSTab->resize(880, 520);
    const char *titles[] = {"Allgemeine Daten", "Vortriebsparameter", "Bohrzeiten", "Zusatzkosten", "Faktoren", "Auswertevorgaben"};
    for (int n = 0; n < 6; ++n) {
        auto *f = new QFrame;
        f->setObjectName(QStringLiteral("fraREITER"));
        f->setProperty("index", n);
        fraREITER[size_t(n)] = f;
        SSTab->addTab(f, QString::fromUtf8(titles[n]));
    }

    QFrame *t0 = fraREITER[0];
    label(t0, "lblDATUMA", "Bohrbeginn [TT.MM.JJ]", {20, 20, 180, 22});
    txtDATUMA = textBox(t0, "txtDATUMA", {210, 18, 110, 24});
    label(t0, "lblDATUME", "Bohrende [TT.MM.JJ]", {20, 52, 180, 22});
    txtDATUME = textBox(t0, "txtDATUME", {210, 50, 110, 24});
    auto *lblNN = label(t0, "lblNN", "GOK [m]", {20, 96, 180, 22});
    txtNN = textBox(t0, "txtNN", {210, 94, 110, 24});
    setTip({lblNN, txtNN}, "Höhenkote der Pfahloberkante");
    auto *lblZGW = label(t0, "lblZGW", "Kote GW [m]", {20, 128, 180, 22});
    txtZGW = textBox(t0, "txtZGW", {210, 126, 110, 24});
    setTip({lblZGW, txtZGW}, "Höhenkote des Grundwasserspiegels");

    fraGZ = new QGroupBox(QStringLiteral("Angaben für den gesamten Vortrieb"), t0);
    fraGZ->setObjectName(QStringLiteral("fraGZ"));
    fraGZ->setGeometry(20, 176, 820, 170);
    label(fraGZ, "lblGZ", "(Eingabe nur erforderlich, wenn die Zeiten nicht für die einzelnen Abschnitte angegeben werden.)",
          {12, 24, 800, 22});
    label(fraGZ, "lblGBRZ", "Bruttobohrzeit [h]", {12, 58, 330, 22});
    txtGBRZ = textBox(fraGZ, "txtGBRZ", {350, 56, 110, 24});
    auto *lblGNTZ = label(fraGZ, "lblGNTZ", "Nettobohrzeit [h]", {12, 92, 330, 22});
    txtGNTZ = textBox(fraGZ, "txtGNTZ", {350, 90, 110, 24});
    setTip({lblGNTZ, txtGNTZ}, "Eingabe nur erforderlich, wenn kein Verhältniswert Bohrnebenzeit / Bruttobohrzeit angegeben wurde.");
    auto *lblFNE = label(fraGZ, "lblFNE", "Verhältnis Bohrnebenzeit / Bruttobohrzeit [-]", {12, 126, 330, 22});
    txtFNE = textBox(fraGZ, "txtFNE", {350, 124, 110, 24});
    setTip({lblFNE, txtFNE}, "Eingabe nur erforderlich, wenn keine Nettobohrzeit für die gesamte Bohrung angegeben wurde.");

    for (int i = 0; i < 4; ++i) {
        QFrame *t = fraREITER[size_t(i + 1)];
        auto *grid = new GridControl(t);
        grid->setObjectName(QStringLiteral("msgFLX"));
        grid->setProperty("index", i);
        grid->setIndex(i);
        grid->setGeometry(10, 10, 700, kGridHeight);
        grid->setMouseTracking(true);
        msgFLX[size_t(i)] = grid;
        auto *pic = new QWidget(t);
        pic->setObjectName(QStringLiteral("picFLX"));
        pic->setProperty("index", i);
        pic->setMouseTracking(true);
        picFLX[size_t(i)] = pic;
        auto *txt = new QLineEdit(t);
        txt->setObjectName(QStringLiteral("txtFLX"));
        txt->setProperty("index", i);
        txtFLX[size_t(i)] = txt;
        const char *captions[] = {"Zeile einfügen", "Zeile entfernen", "Kopieren", "Einfügen"};
        const char *names[] = {"cmdH", "cmdW", "cmdK", "cmdE"};
        std::array<QPushButton *, 4> *arrays[] = {&cmdH, &cmdW, &cmdK, &cmdE};
        for (int b = 0; b < 4; ++b) {
            auto *btn = new QPushButton(QString::fromUtf8(captions[b]), t);
            btn->setObjectName(QString::fromLatin1(names[b]));
            btn->setProperty("index", i);
            btn->setGeometry(725, 10 + b * 40, 130, 30);
            btn->setFocusPolicy(Qt::TabFocus);
            (*arrays[b])[size_t(i)] = btn;
        }
        connect(cmdH[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdH_Click(i); });
        connect(cmdW[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdW_Click(i); });
        connect(cmdK[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdK_Click(i); });
        connect(cmdE[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdE_Click(i); });
    }
    cboFLX0 = new QComboBox(fraREITER[1]);
    cboFLX0->setObjectName(QStringLiteral("cboFLX"));
    cboFLX0->setProperty("index", 0);
    cboFLX0->setEditable(true);

    QFrame *t5 = fraREITER[5];
    label(t5, "lblKENK", "Einheitskostenvorgabewerte", {20, 20, 200, 22});
    cboKENK = new QComboBox(t5);
    cboKENK->setObjectName(QStringLiteral("cboKENK"));
    cboKENK->setEditable(true);
    cboKENK->setInsertPolicy(QComboBox::NoInsert);
    cboKENK->setGeometry(230, 18, 200, 24);
    fraZAUF = new QGroupBox(QStringLiteral("Bohrzeitaufschlüsselung"), t5);
    fraZAUF->setObjectName(QStringLiteral("fraZAUF"));
    fraZAUF->setGeometry(20, 70, 300, 100);
    fraK = new QGroupBox(QStringLiteral("Kostenaufschlüsselung"), t5);
    fraK->setObjectName(QStringLiteral("fraK"));
    fraK->setGeometry(340, 70, 500, 160);
    const char *zauf[] = {"Netto- und Nebenzeiten", "Aufschlüsselung der Nebenzeiten"};
    for (int n = 0; n < 2; ++n) {
        auto *o = new QRadioButton(QString::fromUtf8(zauf[n]), fraZAUF);
        o->setObjectName(QStringLiteral("optZAUF"));
        o->setProperty("index", n);
        o->setGeometry(12, 28 + n * 30, 280, 24);
        optZAUF[size_t(n)] = o;
        connect(o, &QRadioButton::clicked, this, [this, n] { ZAUF = int16_t(n); });
    }
    const char *k[] = {"Geräte- und Personalkosten", "Nach Arbeitszeitanteilen aufgeschlüsselte Personalkosten",
                       "Nach Arbeitszeitanteilen aufgeschlüsselte Gerätekosten", "nach Gerätetypen aufgeschlüsselte Gerätekosten"};
    for (int n = 0; n < 4; ++n) {
        auto *o = new QRadioButton(QString::fromUtf8(k[n]), fraK);
        o->setObjectName(QStringLiteral("optK"));
        o->setProperty("index", n);
        o->setGeometry(12, 28 + n * 30, 480, 24);
        optK[size_t(n)] = o;
        connect(o, &QRadioButton::clicked, this, [this, n] { K = int16_t(n); });
    }
}

void mdiEINGABE::bindGrids()
{
    const auto columns = gridColumns();
    for (int i = 0; i < 4; ++i) {
        auto f = std::make_shared<clsFLX>();
        flx_[size_t(i)] = f;
        f->setEFLX(msgFLX[size_t(i)]);
        f->setETXT(txtFLX[size_t(i)]);
        f->setEPIC(picFLX[size_t(i)]);
        if (i == 0)
            f->setECBO(cboFLX0);
        const GridColumns &s = columns[size_t(i)];
        f->setELSB(s.widths);
        f->setELST1(s.head1);
        f->setELST2(s.head2);
        f->setELSTTT(s.tips);
        f->setELSTYP(s.types);
        f->setELFORMAT(s.formats);
        f->setELA(s.align);
        f->setELMIN(s.min);
        f->setELMAX(s.max);
        f->SCHRIFTEINSTELLUNGEN(QString(), 11, 0, 0, 0, 0);
        f->BESCHRIFTEN();

        GridControl *g = msgFLX[size_t(i)];
        connect(g, &GridControl::DblClick, this, [this, i] { FLX(i).BEARBEITEN(0, 0); });
        connect(g, &GridControl::KeyPress, this, [this, i](int c) { msgFLX_KeyPress(i, c); });
        connect(g, &GridControl::Click, this, [this, i] {
            FLX(i).EINFUEGEN(0);
            OPTIONEN();
        });
        connect(g, &GridControl::MouseDown, this, [this, i](int, int, float x, float) { FLX(i).BEARBEITEN(-2, x); });
        connect(g, &GridControl::MouseUp, this, [this, i](int, int, float, float) { FLX(i).EINFUEGEN(-2); });
        connect(g, &GridControl::MouseMove, this, [this, i](int, int, float x, float y) { FLX(i).TOOLTIP(x, y); });
        connect(g, &GridControl::Scroll, this, [this, i] {
            FLX(i).EINFUEGEN(0);
            FLX(i).BESCHRIFTEN();
        });
    }
    for (int i = 0; i < 3; ++i)
        flx_[size_t(i)]->setEFLXK(flx_[size_t(i + 1)]);
}

// Each list holds the keys in ascending id order, then empty entries up to one more than the
// table has rows: the empty last item of the drop-down clears a cell.
void mdiEINGABE::buildChoiceLists()
{
    struct Preset { const char *table, *id, *key; int col; };
    const Preset presets[] = {{"VANT_V11", "IDT", "KENT", 4}, {"VANT_V12", "IDV", "KENV", 5}, {"VANT_V13", "IDL", "KENL", 6},
                              {"VANT_V14", "IDF", "KENF", 7}, {"VANT_V2", "IDG", "KENG", 3}};
    for (const Preset &p : presets) {
        clsDATEN d(ctx_);
        d.setEBOV(true);
        d.setETABELLE(QString::fromLatin1(p.table));
        d.setESPID(QString());
        const QString id = QString::fromLatin1(p.id);
        int32_t mini = 0, maxi = 0, an = 0;
        d.INDEXL(mini, maxi, an, id);
        // The walk counts with 16-bit ids, as the editor numbers its rows.
        if (mini < -32768 || maxi > 32767)
            vnt::raise(err::Overflow, QStringLiteral("Overflow"));
        d.setESPID(id);
        QStringList list;
        for (int k = 0; k <= an; ++k)
            list << QString();
        int next = 0;
        for (int v = mini; v <= maxi && an > 0; ++v) {
            d.setESPIDW(v);
            int32_t lo = 0, hi = 0, count = 0;
            d.INDEXL(lo, hi, count, id);
            if (count != 1)
                continue;
            QString key;
            d.DTVT(QString::fromLatin1(p.key), key);
            if (next < list.size())
                list[next++] = key;
        }
        flx_[0]->setELCBO(p.col, FlexValue::texts(list));
    }
    clsDATEN k(ctx_);
    k.setEBOV(true);
    k.setETABELLE(QStringLiteral("VANT_V3"));
    k.setESPID(QString());
    k.DTFMM(QStringLiteral("KENK"), *cboKENK, QStringLiteral("IDK"));
    cboKENK->setCurrentIndex(-1);
    cboKENK->setEditText(QString());
}

// ---- open and save ----------------------------------------------------------------------

void mdiEINGABE::OEFFNEN(int32_t AKTID)
{
    Guard g(kError, QStringLiteral("Datei/Öffnen"));
    bool stop = false;
    // A failed read has shown the accessor's box; the open ends there.
    auto read = [&](auto f) {
        if (stop || g.left())
            return;
        bool done = false;
        g.step([&] { done = f(); });
        if (!done)
            stop = true;
    };
    auto id = [&](int t) { g.step([&] { e_[size_t(t)]->setESPIDW(AKTID); }); };
    const QString I2 = QStringLiteral("I2");
    auto grid = [&](int t, const char *column, int i, const char *col) {
        read([&] { return e_[size_t(t)]->DTFF(QString::fromLatin1(column), *msgFLX[size_t(i)], QString::fromLatin1(col), I2); });
    };

    id(1);
    read([&] { return e_[1]->DTFT(QStringLiteral("KEN"), *txtKEN); });
    if (!stop && !g.left())
        g.step([&] { e_[1]->DTFT(QStringLiteral("KOM"), *txtKOM); });   // a comment that cannot be read is no reason to stop
    for (const auto &[column, box] : headerFields(*this))
        read([&] { return e_[1]->DTFT(QString::fromLatin1(column), *box); });

    int table = 1;
    for (const GridColumn &c : kGridColumns) {
        if (c.table != table)
            id(table = c.table);
        grid(c.table, c.column, c.openGrid, c.gridColumn);
    }
    id(6);
    read([&] { return e_[6]->DTFMT(QStringLiteral("KENK"), *cboKENK); });
    read([&] { return e_[6]->DTVI(QStringLiteral("K"), K); });
    read([&] { return e_[6]->DTVI(QStringLiteral("ZAUF"), ZAUF); });
    if (!stop && !g.left()) {
        // Stored values outside the option groups would index no button.
        K = int16_t(std::clamp<int>(K, 0, 3));
        ZAUF = int16_t(std::clamp<int>(ZAUF, 0, 1));
        g.step([&] { OPTIONEN(); });
    }
}

bool mdiEINGABE::OK(int32_t &AKTID)
{
    // A value the user is still typing belongs to the record; one the grid refuses stops the save.
    if (!commitEditors())
        return false;

    Guard g(kError, QStringLiteral("OK"));
    const db::ConnectionPtr cnn = ctx_.cnnX();
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(*cnn); });
    if (!unit)
        return false;

    // Every step is checked, the comment too: a record saved in part is worse than one not saved.
    bool ok = true;
    auto write = [&](auto f) {
        if (!ok)
            return;
        bool done = false;
        g.step([&] { done = f(); });
        if (!done || g.failed())
            ok = false;
    };
    auto id = [&](int t) { write([&] { e_[size_t(t)]->setESPIDW(AKTID); return true; }); };
    const QString I2 = QStringLiteral("I2");
    auto grid = [&](int t, const char *column, int i, const char *col) {
        write([&] { return e_[size_t(t)]->DFTF(QString::fromLatin1(column), *msgFLX[size_t(i)], QString::fromLatin1(col), I2); });
    };

    id(1);
    write([&] { return e_[1]->DFTT(QStringLiteral("KEN"), *txtKEN); });
    write([&] { return e_[1]->DFTT(QStringLiteral("KOM"), *txtKOM); });
    write([&] { return e_[1]->DVTB(QStringLiteral("AKT"), true); });
    for (const auto &[column, box] : headerFields(*this))
        write([&] { return e_[1]->DFTT(QString::fromLatin1(column), *box); });

    int table = 1;
    for (const GridColumn &c : kGridColumns) {
        if (c.table != table)
            id(table = c.table);
        grid(c.table, c.column, c.saveGrid, c.gridColumn);
    }
    id(6);
    write([&] { return e_[6]->DFTMT(QStringLiteral("KENK"), *cboKENK); });
    write([&] { return e_[6]->DVTI(QStringLiteral("K"), K); });
    write([&] { return e_[6]->DVTI(QStringLiteral("ZAUF"), ZAUF); });

    if (ok)
        g.step([&] { unit->commit(); });
    return ok && !g.failed();
}

bool mdiEINGABE::commitEditors()
{
    for (int i = 0; i < 4; ++i) {
        const bool txtOpen = txtFLX[size_t(i)] && !txtFLX[size_t(i)]->isHidden();
        const bool cboOpen = i == 0 && cboFLX0 && !cboFLX0->isHidden();
        if (!txtOpen && !cboOpen)
            continue;
        FLX(i).EINFUEGEN(0);
        if (!txtFLX[size_t(i)]->isHidden())
            return false;   // refused: the editor stays open with what the user typed
    }
    return true;
}

// ---- events ------------------------------------------------------------------------------

void mdiEINGABE::OPTIONEN()
{
    optZAUF[size_t(std::clamp<int>(ZAUF, 0, 1))]->setChecked(true);
    optK[size_t(std::clamp<int>(K, 0, 3))]->setChecked(true);
}

void mdiEINGABE::alignCurrentRows(int i)
{
    const int row = msgFLX[size_t(i)]->Row();
    for (GridControl *g : msgFLX)
        if (g->Rows() > g->FixedRows())
            g->setRow(std::clamp(row, g->FixedRows(), g->Rows() - 1));
}

// Row buttons act on all four grids at one index, whichever tab they stand on: row k of
// every grid is section k, so its depth, equipment and times must move together. A grid that
// holds no rows (disabled) stays out of inserts and removals: its record has no rows in that
// grid's tables until the user gives it rows.
void mdiEINGABE::cmdH_Click(int i)
{
    FLX(i).EINFUEGEN(0);
    if (!msgFLX[size_t(i)]->Enabled()) {
        // The grids without rows take up the sections the others hold (one when none do), all
        // of them at once: two grids write one table, and a grid left disabled would delete
        // the rows its partner writes.
        int sections = 1;
        for (GridControl *g : msgFLX)
            if (g->Enabled())
                sections = std::max(sections, g->Rows() - g->FixedRows());
        for (int j = 0; j < 4; ++j) {
            GridControl *g = msgFLX[size_t(j)];
            if (g->Enabled())
                continue;
            eachGridAlone([&] { FLX(j).ZEILEEINFUEGEN(); });
            g->setRows(g->FixedRows() + sections);
            FLX(j).NUMMERIEREN();
        }
        return;
    }
    alignCurrentRows(i);
    eachGridAlone([&] {
        for (int j = 0; j < 4; ++j)
            if (msgFLX[size_t(j)]->Enabled())
                FLX(j).ZEILEEINFUEGEN();
    });
}

void mdiEINGABE::cmdW_Click(int i)
{
    FLX(i).EINFUEGEN(0);
    if (!msgFLX[size_t(i)]->Enabled())
        return;   // no section to remove; the others' current rows must not be taken instead
    alignCurrentRows(i);
    FLX(0).ZEILEENTFERNEN();
}

void mdiEINGABE::eachGridAlone(const std::function<void()> &f)
{
    struct Rechain {
        mdiEINGABE *w;
        ~Rechain()
        {
            for (int i = 0; i < 3; ++i)
                w->flx_[size_t(i)]->setEFLXK(w->flx_[size_t(i + 1)]);
        }
    } rechain{this};
    for (int i = 0; i < 3; ++i)
        flx_[size_t(i)]->setEFLXK(nullptr);
    f();
}

void mdiEINGABE::cmdK_Click(int i) { FLX(i).BEARBEITEN(-1, 0); }

void mdiEINGABE::cmdE_Click(int i) { FLX(i).EINFUEGEN(-1); }

void mdiEINGABE::msgFLX_KeyPress(int i, int ascii)
{
    const int before = msgFLX[size_t(i)]->Rows();
    FLX(i).BEARBEITEN(int16_t(ascii), 0);
    const int after = msgFLX[size_t(i)]->Rows();
    if (ascii == 13 && after == before)
        stepCell(i, 1);   // Enter on any other cell moves on to the next
    if (ascii == 13 && after > before) {
        // Enter on the last cell appended a section: every grid gets its row.
        for (int j = 0; j < 4; ++j) {
            GridControl *g = msgFLX[size_t(j)];
            if (j != i && g->Rows() < after) {
                g->setRows(after);
                FLX(j).NUMMERIEREN();
            }
        }
    }
    OPTIONEN();
}

void mdiEINGABE::txtFLX_KeyPress(int i, int ascii)
{
    FLX(i).EINFUEGEN(int16_t(ascii));
    if (ascii == 13)
        OPTIONEN();
}

bool mdiEINGABE::txtKEN_Validate()
{
    if (!txtKEN->text().trimmed().isEmpty())
        return true;
    if (SPRACHE == 1)
        ui::MsgBox(QStringLiteral("File name is missing!"), ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Data error"));
    else
        ui::MsgBox(QStringLiteral("Datensatzkennzeichnung fehlt!"), ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Datenfehler"));
    return false;
}

bool mdiEINGABE::handleKey(QObject *watched, QKeyEvent *e)
{
    const auto mods = e->modifiers();
    // The keypad's decimal key types the user's decimal sign, whatever the keyboard layout says.
    if ((mods & Qt::KeypadModifier) && (e->key() == Qt::Key_Period || e->key() == Qt::Key_Comma)) {
        const QString sign = ctx_.DEZIMALPUNKT().isEmpty() ? QStringLiteral(",") : ctx_.DEZIMALPUNKT();
        if (e->text() == sign)
            return false;
        QKeyEvent typed(QEvent::KeyPress, sign == QLatin1String(",") ? Qt::Key_Comma : Qt::Key_Period, Qt::NoModifier, sign);
        QCoreApplication::sendEvent(watched, &typed);
        return true;
    }
    if ((mods & Qt::AltModifier) && e->key() == Qt::Key_Q) {
        if (onQuit)
            onQuit();
        else
            ctx_.mnuBEENDEN_Click();
        return true;
    }
    const bool ctrl = mods & Qt::ControlModifier;
    if (ctrl && e->key() == Qt::Key_S) {
        ctx_.stbMAIN_PanelClick(8);
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (watched != msgFLX[size_t(i)])
            continue;
        if (ctrl && e->key() == Qt::Key_C) {
            FLX(i).BEARBEITEN(-1, 0);
            return true;
        }
        if (ctrl && e->key() == Qt::Key_V) {
            FLX(i).EINFUEGEN(-1);
            return true;
        }
    }
    for (int i = 0; i < 4; ++i)
        if (watched == txtFLX[size_t(i)] && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            txtFLX_KeyPress(i, 13);
            if (!editorOpen(i))
                stepCell(i, 1);
            return true;
        }
    return moveKey(watched, e);
}

// ---- moving on from the keyboard -----------------------------------------------------------

bool mdiEINGABE::editorOpen(int i) const
{
    return !txtFLX[size_t(i)]->isHidden() || (i == 0 && !cboFLX0->isHidden());
}

bool mdiEINGABE::stepCell(int i, int step)
{
    GridControl *g = msgFLX[size_t(i)];
    int row = g->Row(), col = g->Col() + step;
    if (col >= g->Cols()) {
        col = g->FixedCols();
        ++row;
    } else if (col < g->FixedCols()) {
        col = g->Cols() - 1;
        --row;
    }
    if (row < g->FixedRows() || row >= g->Rows())
        return false;
    g->setRow(row);
    g->setCol(col);
    return true;
}

bool mdiEINGABE::stepRow(int i, int step)
{
    GridControl *g = msgFLX[size_t(i)];
    const int row = g->Row() + step;
    if (row < g->FixedRows() || row >= g->Rows())
        return false;
    g->setRow(row);
    return true;
}

// The last row of any grid holds a value: the section has been begun.
bool mdiEINGABE::lastSectionBegun() const
{
    for (GridControl *g : msgFLX) {
        const int row = g->Rows() - 1;
        if (row < g->FixedRows() || !g->Enabled())
            continue;
        for (int c = g->FixedCols(); c < g->Cols(); ++c)
            if (!g->TextMatrix(row, c).trimmed().isEmpty())
                return true;
    }
    return false;
}

void mdiEINGABE::appendSection(int i)
{
    GridControl *g = msgFLX[size_t(i)];
    const int col = g->Col();
    g->setRow(g->Rows() - 1);
    g->setCol(g->Cols() - 1);
    msgFLX_KeyPress(i, 13);   // as Enter on the last cell: every grid gets the section
    g->setCol(col);
}

// Enter, Tab and the arrow keys end an entry in a cell editor and move on, as in any table:
// the grid only commits, and where to go next is the window's choice. On the grid itself Tab
// walks the cells and, past the last one, leaves for the row buttons; Down on the last row
// begins a new section once that row holds something.
bool mdiEINGABE::moveKey(QObject *watched, QKeyEvent *e)
{
    const auto mods = e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (mods != Qt::NoModifier)
        return false;
    const int key = e->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    for (int i = 0; i < 4; ++i) {
        QLineEdit *txt = txtFLX[size_t(i)];
        const bool inText = watched == txt;
        const bool inChoice = i == 0 && (watched == cboFLX0 || watched == cboFLX0->lineEdit());
        if ((inText || inChoice) && editorOpen(i)) {
            QLineEdit *line = inText ? txt : cboFLX0->lineEdit();
            const bool atEnd = line && !line->hasSelectedText() && line->cursorPosition() == line->text().size();
            const bool atStart = line && !line->hasSelectedText() && line->cursorPosition() == 0;
            int step = 0;
            bool byRow = false;
            if (enter || key == Qt::Key_Tab || (key == Qt::Key_Right && atEnd))
                step = 1;
            else if (key == Qt::Key_Backtab || (key == Qt::Key_Left && atStart))
                step = -1;
            else if (inText && (key == Qt::Key_Down || key == Qt::Key_Up)) {
                step = key == Qt::Key_Down ? 1 : -1;
                byRow = true;   // a choice list takes Up and Down for its items
            }
            if (step == 0)
                return false;
            FLX(i).EINFUEGEN(13);
            if (editorOpen(i))
                return true;   // refused: the message has been shown, the editor stays
            OPTIONEN();
            byRow ? stepRow(i, step) : stepCell(i, step);
            return true;
        }
        if (watched != msgFLX[size_t(i)] || editorOpen(i))
            continue;
        GridControl *g = msgFLX[size_t(i)];
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return stepCell(i, key == Qt::Key_Tab ? 1 : -1);   // false: the focus moves on
        if (key == Qt::Key_Down && g->Row() == g->Rows() - 1 && lastSectionBegun()) {
            appendSection(i);
            return true;
        }
    }
    return false;
}

bool mdiEINGABE::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (handleKey(watched, static_cast<QKeyEvent *>(e)))
            return true;
        break;
    case QEvent::Resize:
        if (watched == page_ && !window()->isMinimized() && !(parentWidget() && parentWidget()->isMinimized()))
            placeControls();
        break;
    case QEvent::MouseMove:
        for (int i = 0; i < 4; ++i)
            if (watched == picFLX[size_t(i)]) {
                const QPointF p = static_cast<QMouseEvent *>(e)->position();
                FLX(i).TOOLTIP(float(p.x() * GridControl::kTwipsPerPixel), float(p.y() * GridControl::kTwipsPerPixel));
            }
        break;
    case QEvent::WindowStateChange:
        if (watched == parentWidget() && !frameStateChanging_) {
            QWidget *had = QApplication::focusWidget();
            focusBeforeFrameState_ = had && isAncestorOf(had) ? had : nullptr;
            frameStateChanging_ = true;
            QTimer::singleShot(0, this, [this] {
                frameStateChanging_ = false;
                if (focusBeforeFrameState_ && focusBeforeFrameState_->isVisible())
                    focusBeforeFrameState_->setFocus(Qt::OtherFocusReason);
                focusBeforeFrameState_ = nullptr;
            });
        }
        break;
    case QEvent::FocusOut:
        if (watched == txtKEN && !checkingName_ && !frameStateChanging_) {
            const auto reason = static_cast<QFocusEvent *>(e)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason
                || reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason) {
                // The new focus is known only after the change; a box while focus moves would loop.
                QTimer::singleShot(0, this, [this] {
                    QWidget *now = QApplication::focusWidget();
                    if (!now || now == txtKEN || !isAncestorOf(now) || checkingName_)
                        return;
                    checkingName_ = true;
                    if (!txtKEN_Validate())
                        txtKEN->setFocus();
                    checkingName_ = false;
                });
            }
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

// ---- placing -----------------------------------------------------------------------------

void mdiEINGABE::placeControls()
{
    // The page is the window's inner area; it never gets narrower than the tab control.
    const int frameH = fraKEN->height();
    const int top = int(1.5 * frameH);
    const int left = (page_->width() - SSTab->width()) / 2;
    SSTab->move(left, top);
    fraKEN->move(left, int(top - 1.15 * frameH));
}

void mdiEINGABE::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    scroll_->setGeometry(rect());
    if (!window()->isMinimized() && !(parentWidget() && parentWidget()->isMinimized()))
        placeControls();
}

void mdiEINGABE::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (parentWidget())
        parentWidget()->installEventFilter(this);   // its state changes move the focus
    placeControls();
}

} // namespace vnt
