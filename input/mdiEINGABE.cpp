// The input window of one record: its controls on a scrolling page (the name frame above the
// tabs, the header fields, the four grids with their row buttons, the breakdown options) and
// the placing of the name frame and the tabs as the window changes its size.
#include "input/mdiEINGABE.h"

#include "data/clsDATEN.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>

namespace vnt {

namespace {

constexpr int kGridHeight = 430;
constexpr int kMargin = 10;   // around the tab control on the scrolling page

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
    loadedInput_ = inputState();
}

mdiEINGABE::~mdiEINGABE() = default;

// ---- typed input -------------------------------------------------------------------------

QStringList mdiEINGABE::inputState() const
{
    QStringList state;
    for (const QLineEdit *t : {txtKEN, txtKOM, txtDATUMA, txtDATUME, txtNN, txtZGW, txtGBRZ, txtGNTZ, txtFNE})
        state << t->text();
    // Rows put in or taken out count as well as the texts of the cells.
    for (const GridControl *g : msgFLX) {
        state << QString::number(g->Rows());
        for (int r = 0; r < g->Rows(); ++r)
            for (int c = 0; c < g->Cols(); ++c)
                state << g->TextMatrix(r, c);
    }
    state << cboKENK->currentText() << QString::number(K) << QString::number(ZAUF);
    return state;
}

bool mdiEINGABE::hasTypedInput() const
{
    // An editor still open over a cell holds a value the grid has not taken yet.
    for (int i = 0; i < 4; ++i) {
        if (!editorOpen(i))
            continue;
        const QString typed = !txtFLX[size_t(i)]->isHidden() ? txtFLX[size_t(i)]->text() : cboFLX0->currentText();
        if (typed != msgFLX[size_t(i)]->Text())
            return true;
    }
    return inputState() != loadedInput_;
}

void mdiEINGABE::buildControls()
{
    // In this order: the order the controls are made in is their order for the Tab key.
    buildPageAndTabs();
    buildGeneralTab();
    buildGridTabs();
    buildOptionsTab();
}

void mdiEINGABE::buildPageAndTabs()
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
}

void mdiEINGABE::buildGeneralTab()
{
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
}

void mdiEINGABE::buildGridTabs()
{
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
}

void mdiEINGABE::buildOptionsTab()
{
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
