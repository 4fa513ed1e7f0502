// The combination editor window: layout, choice lists from the preset tables, the grid's
// load from M2 and its all-or-nothing save, and the keys the window handles itself.
#include "pages/multiple/frmMVORGABEN.h"

#include "data/DataBoxes.h"
#include "grid/EditorKeys.h"
#include "platform/Guard.h"
#include "platform/WholeWrite.h"
#include "platform/db/Database.h"
#include "platform/errors.h"
#include "platform/ui.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QPalette>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>

#include <optional>

namespace vnt {

namespace {

int px(int twips) { return int(twips / GridControl::kTwipsPerPixel + 0.5); }
QRect twipsRect(int left, int top, int width, int height) { return QRect(px(left), px(top), px(width), px(height)); }

const char *const kColumns[6] = {"I1", "KENG", "KENT", "KENV", "KENL", "KENF"};

// List order of the load; the grid column each list feeds.
struct Preset { const char *table, *id, *key; int column; };
const Preset kPresets[5] = {{"VANT_V11", "IDT", "KENT", 2}, {"VANT_V12", "IDV", "KENV", 3}, {"VANT_V13", "IDL", "KENL", 4},
                            {"VANT_V14", "IDF", "KENF", 5}, {"VANT_V2", "IDG", "KENG", 1}};

} // namespace

frmMVORGABEN::frmMVORGABEN(RunContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx), flx_(std::make_shared<clsFLX>())
{
    setObjectName(QStringLiteral("frmMVORGABEN"));
    buildWindow();
    if (buildLists()) {
        setUpGrid();
        loadGrid();
    } else {
        lockGrid();
    }
    // The keyboard starts where the work is: in the grid at its current cell, or, while the
    // grid takes nothing yet, on the button that makes its first row.
    if (grid_->isEnabled())
        grid_->setFocus(Qt::OtherFocusReason);
    else if (insert_->isEnabled())
        insert_->setFocus(Qt::OtherFocusReason);
    qApp->installEventFilter(this);
}

frmMVORGABEN::~frmMVORGABEN()
{
    qApp->removeEventFilter(this);
}

void frmMVORGABEN::buildWindow()
{
    setWindowTitle(QStringLiteral("Mehrfachauswertung"));
    setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    setFixedSize(px(9840), px(5865));

    sstab_ = new QTabWidget(this);
    sstab_->setObjectName(QStringLiteral("SSTab"));
    sstab_->setGeometry(twipsRect(0, 0, 9825, 5415));
    auto *page = new QWidget;
    sstab_->addTab(page, QStringLiteral("Auswertevorgaben"));

    // The frame's place is measured from the tab control's top; the page starts below the strip.
    frame_ = new QFrame(page);
    frame_->setObjectName(QStringLiteral("fraREITER"));
    frame_->setGeometry(twipsRect(60, 420, 9675, 4905));
    frame_->move(frame_->x(), 0);

    grid_ = new GridControl(frame_);
    grid_->setObjectName(QStringLiteral("msgFLX"));
    grid_->setProperty("index", 0);
    grid_->setGeometry(twipsRect(60, 195, 8055, 4650));
    grid_->setMouseTracking(true);

    pic_ = new QWidget(frame_);
    pic_->setObjectName(QStringLiteral("picFLX"));
    pic_->setProperty("index", 0);
    pic_->setGeometry(grid_->x(), grid_->y(), grid_->width(), px(510));
    pic_->setMouseTracking(true);

    cbo_ = new QComboBox(frame_);
    cbo_->setObjectName(QStringLiteral("cboFLX"));
    cbo_->setProperty("index", 0);
    cbo_->setEditable(true);
    cbo_->hide();

    insert_ = editorButton(frame_, QStringLiteral("Zeile einfügen"), QStringLiteral("cmdH"),
                           twipsRect(8175, 195, 1400, 400));
    insert_->setProperty("index", 0);
    remove_ = editorButton(frame_, QStringLiteral("Zeile entfernen"), QStringLiteral("cmdW"),
                           twipsRect(8175, 600, 1400, 400));
    remove_->setProperty("index", 0);

    ok_ = editorButton(this, QStringLiteral("OK"), QStringLiteral("cmdOK"), twipsRect(6600, 5460, 1600, 400));
    cancel_ = editorButton(this, QStringLiteral("Abbrechen"), QStringLiteral("cmdABBRECHEN"),
                           twipsRect(8220, 5460, 1600, 400));

    connect(insert_, &QPushButton::clicked, this, &frmMVORGABEN::cmdH_Click);
    connect(remove_, &QPushButton::clicked, this, &frmMVORGABEN::cmdW_Click);
    connect(ok_, &QPushButton::clicked, this, &frmMVORGABEN::cmdOK_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmMVORGABEN::cmdABBRECHEN_Click);
    connect(grid_, &GridControl::DblClick, this, [this] { flx_->BEARBEITEN(0, 0); });
    connect(grid_, &GridControl::KeyPress, this, [this](int ascii) { flx_->BEARBEITEN(int16_t(ascii), 0); });
    connect(grid_, &GridControl::Click, this, [this] { flx_->EINFUEGEN(0); });
    connect(grid_, &GridControl::Scroll, this, [this] {
        flx_->EINFUEGEN(0);
        flx_->BESCHRIFTEN();
    });
    connect(grid_, &GridControl::MouseMove, this, [this](int, int, float x, float y) { flx_->TOOLTIP(x, y); });
}

QStringList frmMVORGABEN::choiceList(clsDATEN &preset, const QString &idColumn, const QString &keyColumn, bool &ok)
{
    ok = true;
    preset.setESPID(QString());
    int32_t mini = 0, maxi = 0, an = 0;
    preset.INDEXL(mini, maxi, an, idColumn);
    QStringList list;
    for (int32_t k = 0; k <= an; ++k)
        list << QString();
    preset.setESPID(idColumn);
    int next = 0;
    for (int32_t v = mini; an > 0 && v <= maxi && next < an; ++v) {
        preset.setESPIDW(v);
        int32_t lo = 0, hi = 0, count = 0;
        preset.INDEXL(lo, hi, count, idColumn);
        if (count != 1)
            continue;   // a doubled running number names no one key
        QString key;
        if (!preset.DTVT(keyColumn, key)) {
            ok = false;
            continue;
        }
        list[next++] = key;
    }
    return list;
}

bool frmMVORGABEN::buildLists()
{
    for (const Preset &p : kPresets) {
        clsDATEN d(ctx_);
        d.setETABELLE(QString::fromLatin1(p.table));
        d.setESPID(QString());
        d.setEBOV(true);
        bool ok = true;
        lists_[size_t(p.column - 1)] = choiceList(d, QString::fromLatin1(p.id), QString::fromLatin1(p.key), ok);
        // Without the rocks the grid could not offer its first key column.
        if (!ok && p.column == 1)
            return false;
    }
    return true;
}

void frmMVORGABEN::setUpGrid()
{
    clsFLX &f = *flx_;
    f.setEFLX(grid_);
    f.setECBO(cbo_);
    // The aggregation compares keys exactly, letter case included: what is typed is stored as
    // typed, neither completed from the list nor matched to an entry of another case.
    cbo_->setCompleter(nullptr);
    cbo_->setInsertPolicy(QComboBox::NoInsert);
    f.setEPIC(pic_);
    f.setELSB(FlexValue::list({FlexValue(8.0), FlexValue(20.0), FlexValue(20.0), FlexValue(20.0), FlexValue(20.0), FlexValue(20.0)}));
    QList<FlexValue> head;
    for (const char *c : kColumns)
        head << FlexValue(QString::fromLatin1(c));
    f.setELST1(FlexValue::list(head));
    f.setELSTTT(FlexValue::texts({QStringLiteral("Lfd. Nr."), QStringLiteral("Gestein"), QStringLiteral("Trägergerät"),
                                  QStringLiteral("Verrohrung"), QStringLiteral("Lösewerkzeug"), QStringLiteral("Förderwerkzeug")}));
    f.setELSTYP(FlexValue::list({FlexValue(1), FlexValue(7), FlexValue(7), FlexValue(7), FlexValue(7), FlexValue(7)}));
    f.setELFORMAT(FlexValue::texts({QStringLiteral("#0"), {}, {}, {}, {}, {}}));
    f.setELA(FlexValue::list({FlexValue(2), FlexValue(0), FlexValue(0), FlexValue(0), FlexValue(0), FlexValue(0)}));
    for (int c = 1; c <= 5; ++c)
        f.setELCBO(c, FlexValue::texts(lists_[size_t(c - 1)]));
    f.SCHRIFTEINSTELLUNGEN(QString(), 9, 0, 0, 0, 0);
    f.BESCHRIFTEN();
}

void frmMVORGABEN::loadGrid()
{
    m2_ = std::make_unique<clsDATEN>(ctx_);
    m2_->setETABELLE(QStringLiteral("M2"));
    m2_->setESPID(QStringLiteral("IDM"));
    m2_->setESPIDW(1);
    // All six columns in one reading: a table that cannot be read is told once, in the
    // accessor's words, and never shown by halves.
    std::vector<std::array<Variant, 6>> stored;
    try {
        QStringList names;
        for (const char *c : kColumns)
            names << QLatin1Char('[') + QLatin1String(c) + QLatin1Char(']');
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT ") + names.join(QLatin1Char(','))
                    + QStringLiteral(" FROM [M2] WHERE [IDM] = 1 ORDER BY [I1]"),
                m2_->connection());
        for (; !rs.isEOF(); rs.MoveNext()) {
            std::array<Variant, 6> row;
            for (int c = 0; c < 6; ++c)
                row[size_t(c)] = rs.Fields(c);
            stored.push_back(std::move(row));
        }
        rs.Close();
    } catch (const VbError &) {
        dataError(QStringLiteral("Wert  kann nicht aus der Spalte I1 der Tabelle M2 eingelesen werden!"));
        m2Unreadable_ = true;
        lockGrid();
        return;
    }
    if (stored.empty()) {
        // No combination yet: the single row stays disabled until "Zeile einfügen".
        grid_->setBackColor(grid_->BackColorFixed());
        grid_->setEnabled(false);
    } else {
        grid_->setBackColor(QGuiApplication::palette().color(QPalette::Base));
        grid_->setEnabled(true);
        const int first = grid_->FixedRows();
        if (grid_->Rows() - first < int(stored.size()))
            grid_->setRows(first + int(stored.size()));
        for (size_t r = 0; r < stored.size(); ++r)
            for (int c = 0; c < 6; ++c)
                if (!stored[r][size_t(c)].isNull())
                    grid_->setTextMatrix(first + int(r), c, stored[r][size_t(c)].text());
    }
    loaded_ = true;
}

// Without M2 the grid holds none of the user's combinations, and what were typed into it
// could not be told apart from them: it takes no input.
void frmMVORGABEN::lockGrid()
{
    grid_->setBackColor(grid_->BackColorFixed());
    grid_->setEnabled(false);
    insert_->setEnabled(false);
    remove_->setEnabled(false);
}

void frmMVORGABEN::cmdH_Click()
{
    flx_->EINFUEGEN(0);
    flx_->ZEILEEINFUEGEN();
}

void frmMVORGABEN::cmdW_Click()
{
    flx_->EINFUEGEN(0);
    flx_->ZEILEENTFERNEN();
}

void frmMVORGABEN::cmdABBRECHEN_Click()
{
    reject();
}

void frmMVORGABEN::cmdOK_Click()
{
    if (saving_)
        return;   // the accessor lets events in between rows: one save at a time
    // A grid that never received M2 holds no combinations of the user's: storing it would
    // replace them by whatever the empty grid shows. The load has said so.
    if (!loaded_) {
        reject();
        return;
    }
    saving_ = true;
    // A key still open in the choice list is part of what the user confirmed.
    flx_->EINFUEGEN(0);
    const bool saved = saveGrid();
    saving_ = false;
    if (saved)
        accept();
}

// All six columns or none: a combination list with new numbers but old keys would compare
// sections with combinations nobody chose.
bool frmMVORGABEN::saveGrid()
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("OK"));
    const db::ConnectionPtr &cnn = m2_->connection();
    if (!cnn)
        return false;
    return writeWhole(g, *cnn, 6, [&](int c) {
        return m2_->DFTFM(QString::fromLatin1(kColumns[c]), *grid_, QString::number(c), QStringLiteral("I1"));
    });
}

// The header picture lies half a millimetre inside the grid's corner, deeper than the grid's
// thin frame: at its full height it would cover the top of the first row in view.
void frmMVORGABEN::fitHeaderPicture()
{
    if (!pic_ || !grid_)
        return;
    const int rowsTop = grid_->viewport()->mapTo(pic_->parentWidget(), QPoint(0, 0)).y();
    if (pic_->y() + pic_->height() > rowsTop && rowsTop > pic_->y())
        pic_->resize(pic_->width(), rowsTop - pic_->y());
}

bool frmMVORGABEN::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pic_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        fitHeaderPicture();
        return false;
    }
    if (event->type() == QEvent::MouseMove && watched == pic_) {
        const auto *m = static_cast<QMouseEvent *>(event);
        flx_->TOOLTIP(float(m->position().x() * GridControl::kTwipsPerPixel),
                      float(m->position().y() * GridControl::kTwipsPerPixel));
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    EditorKeys keys;
    keys.decimalSign = QStringLiteral(".");   // keys hold points, whatever sign the keypad gives
    keys.quit = [this] {
        // The editor keeps its rows until the user has really chosen to quit.
        if (!ctx_.quitConfirmed())
            return;
        quitRequested_ = true;
        reject();
        if (onQuit)
            onQuit();
    };
    keys.escape = [this] { ctx_.stbMAIN_PanelClick(9); };   // the editor stays open with its edits
    keys.help = [this] {
        if (onHelp)
            onHelp();
    };
    return filterEditorKey(this, watched, event, keys);
}

} // namespace vnt
