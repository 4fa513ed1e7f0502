// The preset editor window: building the tabs and grids, loading the tables, the window keys,
// and the save that either writes all six tables or leaves every one as it was.
#include "input/frmVVORGABEN.h"

#include "grid/EditorKeys.h"
#include "platform/Guard.h"
#include "platform/WholeWrite.h"
#include "platform/db/Database.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace vnt {

namespace {

constexpr double kPixelsPerMm = 56.7 / GridControl::kTwipsPerPixel;

int px(double mm) { return int(std::lround(mm * kPixelsPerMm)); }
QRect mmRect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

const char *const kTabCaptions[frmVVORGABEN::kTabs] = {"Trägergeräte", "Verrohrungen", "Lösewerkzeuge",
                                                       "Förderwerkzeuge", "Gesteinsbezeichnungen", "Einheitskosten"};


struct ColumnDef {
    const char *name;
    double width;
    const char *unit;
    const char *tip;
    int type;
    const char *format;
    int align;
};

using Columns = std::vector<ColumnDef>;

Columns deviceColumns(const char *id, const char *ken, const char *kom, const char *ek)
{
    return {{id, 12, "", "Lfd. Nr.", 1, "#0", 2},
            {ken, 20, "", "Kennzeichnung", 0, "", 0},
            {kom, 120, "", "Kommentar", 0, "", 0},
            {ek, 20, "[€/h]", "Einheitskosten", 0, "#0.00", 2}};
}

const Columns &columnDefs(int n)
{
    static const std::array<Columns, frmVVORGABEN::kTabs> defs = {
        deviceColumns("IDT", "KENT", "KOMT", "EKT"),
        deviceColumns("IDV", "KENV", "KOMV", "EKV"),
        deviceColumns("IDL", "KENL", "KOML", "EKL"),
        deviceColumns("IDF", "KENF", "KOMF", "EKF"),
        Columns{{"IDG", 12, "", "Lfd. Nr.", 1, "#0", 2},
                {"KENG", 20, "", "Kennzeichnung", 0, "", 0},
                {"KOMG", 100, "", "Kommentar", 0, "", 0},
                {"SICQ", 20, "[MPa]", "Mittelwert der einaxialen Druckfestigkeit", 0, "#0.000", 2},
                {"SICMIN", 20, "[MPa]", "Minimumwert der einaxialen Druckfestigkeit", 0, "#0.000", 2},
                {"SICMAX", 20, "[MPa]", "Maximumwert der einaxialen Druckfestigkeit", 0, "#0.000", 2},
                {"QGQ", 20, "[%]", "Mittelwert der Quarzgehalte", 0, "#0.000", 2},
                {"QGMIN", 20, "[%]", "Minimumwert der Quarzgehalte", 0, "#0.000", 2},
                {"QGMAX", 20, "[%]", "Maximumwert der Quarzgehalte", 0, "#0.000", 2},
                {"CAIQ", 20, "[-]", "Mittelwert der Cercharindices", 0, "#0.000", 2},
                {"CAIMIN", 20, "[-]", "Minimumwert der Cercharindices", 0, "#0.000", 2},
                {"CAIMAX", 20, "[-]", "Maximumwert der Cercharindices", 0, "#0.000", 2}},
        Columns{{"IDK", 12, "", "Lfd. Nr.", 1, "#0", 2},
                {"KENK", 20, "", "Kennzeichnung", 0, "", 0},
                {"KOMK", 100, "", "Kommentar", 0, "", 0},
                {"EKP", 20, "[€/h]", "Einheitskosten", 0, "#0.00", 2},
                // Wide enough for its heading, which would otherwise run into the next one.
                {"KENKPG", 14, "",
                 "Personalkosten in den Einheitskosten der Geräte enthalten (1: enthalten, 0: nicht enthalten)", 0, "#0", 1},
                {"FKG", 12, "[-]", "Faktor für die Einheitskosten der Geräte", 0, "#0.00", 2},
                {"FKP", 12, "[-]", "Faktor für die Einheitskosten des Personals", 0, "#0.00", 2},
                {"FZK", 12, "[-]", "Faktor für die Zusatzkosten", 0, "#0.00", 2}},
    };
    return defs[n];
}

} // namespace

QString frmVVORGABEN::tableName(int n)
{
    static const char *const names[kTabs] = {"VANT_V11", "VANT_V12", "VANT_V13", "VANT_V14", "VANT_V2", "VANT_V3"};
    return QString::fromLatin1(names[n]);
}

QStringList frmVVORGABEN::columns(int n)
{
    QStringList l;
    for (const ColumnDef &c : columnDefs(n))
        l << QString::fromLatin1(c.name);
    return l;
}

frmVVORGABEN::frmVVORGABEN(RunContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmVVORGABEN"));
    buildWindow();
    for (int n = 0; n < kTabs; ++n)
        flx_[n] = std::make_shared<clsFLX>();
    for (int n = 0; n < kTabs; ++n)
        setUpGrid(n);
    loadTables();
    qApp->installEventFilter(this);
}

frmVVORGABEN::~frmVVORGABEN()
{
    qApp->removeEventFilter(this);
}

void frmVVORGABEN::buildWindow()
{
    setWindowTitle(QStringLiteral("Vorgabewerte"));
    QFont arial(fonts::family(QStringLiteral("Arial")), 9);
    setFont(arial);
    setFixedSize(px(194.7), px(131.7));

    sstab_ = new QTabWidget(this);
    sstab_->setObjectName(QStringLiteral("SSTab"));
    sstab_->setGeometry(mmRect(0.1, 0.5, 194.5, 123.0));
    for (int n = 0; n < kTabs; ++n) {
        auto *page = new QWidget;
        sstab_->addTab(page, QString::fromUtf8(kTabCaptions[n]));

        auto *frame = new QFrame(page);
        frame->setObjectName(QStringLiteral("fraREITER"));
        frame->setProperty("index", n);
        frame->setGeometry(px(2.1), 0, px(187.6), px(105.6));
        frames_[n] = frame;

        auto *grid = new GridControl(frame);
        grid->setObjectName(QStringLiteral("msgFLX"));
        grid->setProperty("index", n);
        grid->setIndex(n);
        grid->setGeometry(mmRect(1.1, 3.4, 159.0, 101.1));
        grids_[n] = grid;

        auto *pic = new QWidget(frame);
        pic->setObjectName(QStringLiteral("picFLX"));
        pic->setProperty("index", n);
        pic->setGeometry(grid->x(), grid->y(), grid->width(), px(9));
        pic->setMouseTracking(true);
        pictures_[n] = pic;

        auto *txt = new QLineEdit(frame);
        txt->setObjectName(QStringLiteral("txtFLX"));
        txt->setProperty("index", n);
        editors_[n] = txt;

        auto *ins = new QPushButton(QStringLiteral("Zeile einfügen"), frame);
        ins->setObjectName(QStringLiteral("cmdH"));
        ins->setProperty("index", n);
        ins->setGeometry(mmRect(161.1, 3.4, 24.7, 7.1));
        ins->setAutoDefault(false);
        insertButtons_[n] = ins;

        auto *del = new QPushButton(QStringLiteral("Zeile entfernen"), frame);
        del->setObjectName(QStringLiteral("cmdW"));
        del->setProperty("index", n);
        del->setGeometry(mmRect(161.1, 10.6, 24.7, 7.1));
        del->setAutoDefault(false);
        removeButtons_[n] = del;

        connect(ins, &QPushButton::clicked, this, [this, n] { cmdH_Click(n); });
        connect(del, &QPushButton::clicked, this, [this, n] { cmdW_Click(n); });
        connect(grid, &GridControl::DblClick, this, [this, n] { flx_[n]->BEARBEITEN(0, 0); });
        connect(grid, &GridControl::KeyPress, this, [this, n](int ascii) { flx_[n]->BEARBEITEN(int16_t(ascii), 0); });
        connect(grid, &GridControl::Click, this, [this, n] { flx_[n]->EINFUEGEN(0); });
        connect(grid, &GridControl::Scroll, this, [this, n] {
            flx_[n]->EINFUEGEN(0);
            flx_[n]->BESCHRIFTEN();
        });
        connect(grid, &GridControl::MouseMove, this, [this, n](int, int, float x, float y) { flx_[n]->TOOLTIP(x, y); });
        grid->setMouseTracking(true);
    }

    // The frames are measured from the tab control's top, but a page begins below the tab
    // strip, whose height is known only once every tab is in it. A frame that reached past
    // its page would hide the grid's lower edge with its scroll bar.
    const int strip = sstab_->tabBar()->sizeHint().height();
    const int pageHeight = sstab_->height() - strip - 2;
    for (QFrame *frame : frames_)
        frame->move(frame->x(), std::clamp(px(15.9) - strip, 0, std::max(0, pageHeight - frame->height())));

    ok_ = editorButton(this, QStringLiteral("OK"), QStringLiteral("cmdOK"), mmRect(137.6, 123.8, 28.2, 7.1));
    cancel_ = editorButton(this, QStringLiteral("Abbrechen"), QStringLiteral("cmdABBRECHEN"),
                           mmRect(166.1, 123.8, 28.2, 7.1));
    connect(ok_, &QPushButton::clicked, this, &frmVVORGABEN::cmdOK_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmVVORGABEN::cmdABBRECHEN_Click);
}

void frmVVORGABEN::setUpGrid(int n)
{
    const Columns &def = columnDefs(n);
    QList<FlexValue> widths, head1, head2, tips, types, formats, aligns;
    for (const ColumnDef &c : def) {
        widths << FlexValue(c.width);
        head1 << FlexValue(QString::fromLatin1(c.name));
        head2 << FlexValue(QString::fromUtf8(c.unit));
        tips << FlexValue(QString::fromUtf8(c.tip));
        types << FlexValue(c.type);
        formats << FlexValue(QString::fromLatin1(c.format));
        aligns << FlexValue(c.align);
    }
    clsFLX &f = *flx_[n];
    f.setEFLX(grids_[n]);
    f.setEPIC(pictures_[n]);
    f.setETXT(editors_[n]);
    f.setELSB(FlexValue::list(widths));
    // Every grid is wider than the window; the running number and the key stay in view, so
    // that each value is seen with the row it belongs to.
    grids_[n]->setFrozenCols(2);
    f.setELST1(FlexValue::list(head1));
    f.setELST2(FlexValue::list(head2));
    f.setELSTTT(FlexValue::list(tips));
    f.setELSTYP(FlexValue::list(types));
    f.setELFORMAT(FlexValue::list(formats));
    f.setELA(FlexValue::list(aligns));
    f.SCHRIFTEINSTELLUNGEN(QString(), 9, 0, 0, 0, 0);
    f.BESCHRIFTEN();
}

void frmVVORGABEN::loadTables()
{
    for (int n = 0; n < kTabs; ++n) {
        daten_[n] = std::make_unique<clsDATEN>(ctx_);
        daten_[n]->setETABELLE(tableName(n));
    }
    for (int n = 0; n < kTabs; ++n)
        daten_[n]->setESPID(QString());
    for (int n = 0; n < kTabs; ++n)
        daten_[n]->setEBOV(true);
    for (int n = 0; n < kTabs; ++n) {
        const QStringList cols = columns(n);
        for (int c = 0; c < cols.size(); ++c)
            daten_[n]->DTFFM(cols[c], *flx_[n], QString::number(c), cols[0]);
    }
}

void frmVVORGABEN::cmdH_Click(int n)
{
    flx_[n]->EINFUEGEN(0);
    flx_[n]->ZEILEEINFUEGEN();
}

void frmVVORGABEN::cmdW_Click(int n)
{
    flx_[n]->EINFUEGEN(0);
    flx_[n]->ZEILEENTFERNEN();
}

void frmVVORGABEN::cmdABBRECHEN_Click()
{
    reject();
}

void frmVVORGABEN::cmdOK_Click()
{
    if (saving_)
        return;   // one save at a time: the accessor lets events in between rows
    saving_ = true;
    // An entry still open in a cell editor is part of what the user confirmed.
    for (int n = 0; n < kTabs; ++n)
        flx_[n]->EINFUEGEN(0);
    const bool saved = saveTables();
    saving_ = false;
    if (!saved)
        return;
    ctx_.setTag(QStringLiteral("OK"));
    accept();
}

bool frmVVORGABEN::saveTables()
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("OK"));
    db::Connection *cnn = nullptr;
    g.step([&] {
        cnn = daten_[0]->connection().get();
        if (!cnn)
            vnt::raise(err::InvalidConnection, QStringLiteral("Die Vorgabedatenbank ist nicht geöffnet."));
    });
    if (!cnn)
        return false;

    // Every column of every tab in turn: a value a table could not take would otherwise leave
    // that table half written.
    std::vector<std::pair<int, int>> columnsInTurn;
    for (int n = 0; n < kTabs; ++n)
        for (int c = 0; c < columns(n).size(); ++c)
            columnsInTurn.emplace_back(n, c);
    const bool complete = writeWhole(g, *cnn, int(columnsInTurn.size()), [&](int i) {
        const auto [n, c] = columnsInTurn[size_t(i)];
        const QStringList cols = columns(n);
        return daten_[n]->DFTFM(cols[c], *flx_[n], QString::number(c), cols[0]);
    });
    if (!complete)
        ui::MsgBox(QStringLiteral("Die Vorgabewerte wurden nicht gespeichert; keine Tabelle wurde geändert."),
                   ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Vorgabewerte"));
    return complete;
}

bool frmVVORGABEN::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        for (int n = 0; n < kTabs; ++n)
            if (watched == pictures_[n]) {
                const auto *m = static_cast<QMouseEvent *>(event);
                flx_[n]->TOOLTIP(float(m->position().x() * GridControl::kTwipsPerPixel),
                                 float(m->position().y() * GridControl::kTwipsPerPixel));
            }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    // Keypad decimals are typed as the locale's decimal sign, so that saving reads the number as
    // the user meant it; Esc leaves the editor itself open with its edits.
    EditorKeys keys;
    keys.decimalSign = ctx_.DEZIMALPUNKT().isEmpty() ? sys::decimalSign() : ctx_.DEZIMALPUNKT();
    keys.quit = [this] {
        if (onQuit)
            onQuit();
    };
    keys.escape = [this] { ctx_.stbMAIN_PanelClick(9); };
    keys.help = [this] {
        if (onHelp)
            onHelp();
    };
    return filterEditorKey(this, watched, event, keys);
}

} // namespace vnt
