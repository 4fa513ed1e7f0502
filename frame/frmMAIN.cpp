// The main window of the program and the run's context: its menus, status bar and command
// panels, the event filter, the evaluate menu and help.
#include "frmMAIN.h"
#include "Artwork.h"
#include "FrameRules.h"
#include "EvaluateCommands.h"
#include "ExportImportCommands.h"
#include "PageCommands.h"
#include "frmINFO.h"
#include "frmMAIN_Shared.h"

#include "platform/BusyScope.h"
#include "platform/Guard.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QLabel>
#include <QLockFile>
#include <QProgressBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>

namespace vnt {

using namespace frmmain_shared;

namespace {

int px(int twips) { return (twips + TWIPS_PER_PIXEL / 2) / TWIPS_PER_PIXEL; }

const char *const kRestoring = "vantrelRestoring";

// A window restored to the start-up's screen-filling place, which its frame then sticks out
// of, gets a place inside the screen with a margin all round. A place the user or the program
// gave the window stays.
void keepOnScreen(QWidget &w)
{
    QScreen *screen = w.screen();
    if (!screen || w.isMaximized() || w.isMinimized() || w.isFullScreen())
        return;
    const QRect room = screen->availableGeometry();
    const QRect outer = w.frameGeometry(), inner = w.geometry();
    if (inner.size() != w.property(kScreenFillingSize).toSize() || room.contains(outer))
        return;
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QPoint margin(room.width() / 20, room.height() / 20);
    w.setGeometry(QRect(room.topLeft() + margin, room.bottomRight() - margin).marginsRemoved(frame));
}

struct MenuEntry {
    const char *name;
    const char *under;       // nullptr: the menu bar
    const char *german;
    const char *english;     // nullptr: the German caption stays
    int help;
    bool enabled;
    bool isMenu;
};

// The menu bar in its order; "-" captions are separator lines.
const MenuEntry kMenus[] = {
    {"mnuDATEI", nullptr, "&Datei", "&File", 0, true, true},
    {"mnuNEU", "mnuDATEI", "&Neu", "&New", 11, true, false},
    {"mnuOEFFNEN", "mnuDATEI", "&Öffnen", "&Open", 12, true, false},
    {"mnuAUSWAHL", "mnuDATEI", "&Auswahl", "&Select", 13, true, false},
    {"mnuTRENN0", "mnuDATEI", "-", nullptr, 0, true, false},
    {"mnuEXPIMP", "mnuDATEI", "&Export-Import", nullptr, 14, true, false},
    {"mnuEXPINF", "mnuDATEI", "Export-&Inf.system", nullptr, 0, false, false},
    {"mnuLOESCHEN", "mnuDATEI", "&Löschen", "&Delete", 16, true, false},
    {"mnuSCHLIESSEN", "mnuDATEI", "&Schließen", "&Done", 17, true, false},
    {"mnuTRENN1", "mnuDATEI", "-", nullptr, 0, true, false},
    {"mnuSPEICHERN", "mnuDATEI", "&Speichern", "&Save", 18, true, false},
    {"mnuBEENDEN", "mnuDATEI", "&Beenden", "&Quit", 19, true, false},
    {"mnuAUSWERTEN", nullptr, "&Auswerten", "&Evaluate", 20, true, true},
    {"mnuEINGABEGRAFIK", "mnuAUSWERTEN", "&Eingabegrafik", "&Graphics of Input Data", 21, false, false},
    {"mnuBERECHNEN", "mnuAUSWERTEN", "&Berechnen", "&Calculate", 22, true, false},
    {"mnuMBERECHNEN", "mnuAUSWERTEN", "&MBerechnen", "Calculate &Multiple", 23, false, false},
    {"mnuFBERECHNEN", "mnuAUSWERTEN", "&FBerechnen", "Calculate &Next", 24, false, false},
    {"mnuNEUBERECHNEN", "mnuAUSWERTEN", "&Neuberechnen", "Calculate &First", 25, true, false},
    {"mnuEXTRAS", nullptr, "E&xtras", "Tools", 30, true, true},
    {"mnuVVORGABEN", "mnuEXTRAS", "&Vorgaben", "Preset Data", 30, true, false},
    {"mnuVEVORGABEN", "mnuEXTRAS", "&Elektronikvorgaben", "Preset Electronic Data", 32, false, false},
    {"mnuTRENN2", "mnuEXTRAS", "-", nullptr, 0, true, false},
    {"mnuWERKZEUGE", "mnuEXTRAS", "&Werkzeuge", "Grafic Tools", 33, false, true},
    {"mnuTEXT", "mnuWERKZEUGE", "&Text", "Text", 30, true, false},
    {"mnuPOLYGON", "mnuWERKZEUGE", "&Polygon", "Polygon", 30, true, false},
    {"mnuKREIS", "mnuWERKZEUGE", "&Kreisbogen", "Circle", 30, true, false},
    {"mnuKOMPRIMIEREN", "mnuEXTRAS", "&Komprimieren", "Compact Database", 34, true, false},
    {"mnuFRAGEZEICHEN", nullptr, "&?", nullptr, 0, true, true},
    {"mnuHILFE", "mnuFRAGEZEICHEN", "&Hilfe", "Help", 0, true, false},
    {"mnuREADME", "mnuFRAGEZEICHEN", "&ReadMe", nullptr, 42, true, false},
    {"mnuHINWEISE", "mnuFRAGEZEICHEN", "Hin&weise", nullptr, 43, true, false},
    {"mnuTRENN4", "mnuFRAGEZEICHEN", "-", nullptr, 0, true, false},
    {"mnuINFO", "mnuFRAGEZEICHEN", "&Info", nullptr, 44, true, false},
};

enum class Sizing { Content, Spring, Fixed };
struct PanelEntry {
    const char *text;
    const char *tooltip;
    const char *englishText;     // nullptr: unchanged
    const char *englishTooltip;
    Sizing sizing;
    int minimumTwips;
};

const PanelEntry kPanels[16] = {
    {},
    {"Projektspfad/", "", nullptr, nullptr, Sizing::Content, 800},
    {"Projekt", "", nullptr, nullptr, Sizing::Content, 400},
    {"/", "", nullptr, nullptr, Sizing::Content, 20},
    {"Programm", "", nullptr, nullptr, Sizing::Content, 400},
    {"/", "", nullptr, nullptr, Sizing::Content, 20},
    {"Datensatz", "", nullptr, nullptr, Sizing::Content, 400},
    {"", "", nullptr, nullptr, Sizing::Spring, 400},
    {"OK", "Eingabedaten speichern", nullptr, "Save input-data", Sizing::Fixed, 1300},
    {"Abbrechen", "Eingabedaten verwerfen", "Cancel", "Discard input-data", Sizing::Fixed, 1300},
    {"Anzeigen", "Ausgabeseite anzeigen", "Show", "Show another page", Sizing::Fixed, 1300},
    {"Drucken", "Ausgabeseite drucken", "Print", "Print loaded pages", Sizing::Fixed, 1300},
    {"Kopie", "Bildschirmkopie speichern", "Copy", "Save Screenshot", Sizing::Fixed, 1300},
    {"Word", "Ausgabeseite in ein Word-Dokument übertragen", nullptr, "Send current page to word", Sizing::Fixed, 1300},
    {"AutoCAD", "Ausgabeseite in eine AutoCAD-Zeichnung übertragen", nullptr, "Send current page to AutoCAD", Sizing::Fixed, 1300},
    {"Schließen", "Zurück zum Startbildschirm", "Close", "Back to the front window", Sizing::Fixed, 1300},
};

QFont statusFont()
{
    QFont f(fonts::family(QStringLiteral("Arial")));
    f.setPointSizeF(11.25);
    return f;
}

} // namespace

frmMAIN::frmMAIN(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMAIN"));
    setWindowTitle(QString::fromLatin1(FAMILIENNAME));
    setWindowIcon(artwork::windowIcon());
    ui::setProgramTitle(title());

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdiArea_);

    buildMenus();
    buildStatusBar();
    installEventFilter(this);   // its own restore
}

frmMAIN::~frmMAIN()
{
    // The area outlives this part of the window and tells of its children as it hides them:
    // by then the window's own handlers must not run on what is left of it.
    if (mdiArea_)
        disconnect(mdiArea_, nullptr, this, nullptr);
}

// ---------------------------------------------------------------- window parts

void frmMAIN::buildMenus()
{
    for (const MenuEntry &m : kMenus) {
        const QString name = QString::fromLatin1(m.name);
        const QString caption = u(m.german);
        QAction *action = nullptr;
        QWidget *owner = m.under ? static_cast<QWidget *>(menus_.value(QString::fromLatin1(m.under))) : menuBar();
        if (m.isMenu) {
            auto *menu = new QMenu(caption, owner);
            menu->setObjectName(name);
            menus_.insert(name, menu);
            if (m.under)
                menus_.value(QString::fromLatin1(m.under))->addMenu(menu);
            else
                menuBar()->addMenu(menu);
            action = menu->menuAction();
        } else if (caption == QLatin1String("-")) {
            action = menus_.value(QString::fromLatin1(m.under))->addSeparator();
        } else {
            action = menus_.value(QString::fromLatin1(m.under))->addAction(caption);
        }
        action->setObjectName(name);
        action->setProperty("HelpContextID", m.help);
        action->setEnabled(m.enabled);
        actions_.insert(name, action);
    }

    connect(menus_.value(QStringLiteral("mnuFRAGEZEICHEN")), &QMenu::aboutToShow, this, &frmMAIN::mnuFRAGEZEICHEN_Click);
    connect(menus_.value(QStringLiteral("mnuAUSWERTEN")), &QMenu::aboutToShow, this, &frmMAIN::mnuAUSWERTEN_Click);
    auto on = [this](const char *name, void (frmMAIN::*slot)()) {
        connect(actions_.value(QString::fromLatin1(name)), &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    };
    on("mnuSCHLIESSEN", &frmMAIN::mnuSCHLIESSEN_Click);
    on("mnuBEENDEN", &frmMAIN::mnuBEENDEN_Click);
    on("mnuKOMPRIMIEREN", &frmMAIN::mnuKOMPRIMIEREN_Click);
    on("mnuHILFE", &frmMAIN::mnuHILFE_Click);
    on("mnuREADME", &frmMAIN::mnuREADME_Click);
    on("mnuHINWEISE", &frmMAIN::mnuHINWEISE_Click);
    on("mnuINFO", &frmMAIN::mnuINFO_Click);
    connect(actions_.value(QStringLiteral("mnuEXPIMP")), &QAction::triggered, this, [this] { mnuEXPIMP_Click(*this); });
    connect(actions_.value(QStringLiteral("mnuVVORGABEN")), &QAction::triggered, this, [this] { mnuVVORGABEN_Click(*this); });
    for (auto [name, command] : {std::pair("mnuBERECHNEN", &mnuBERECHNEN_Click), std::pair("mnuNEUBERECHNEN", &mnuNEUBERECHNEN_Click),
                                 std::pair("mnuMBERECHNEN", &mnuMBERECHNEN_Click)})
        connect(actions_.value(QString::fromLatin1(name)), &QAction::triggered, this, [this, command] { command(*this); });
    connect(actions_.value(QStringLiteral("mnuSPEICHERN")), &QAction::triggered, this, [this] { mnuSPEICHERN_Click(); });
    for (auto [name, command] : {std::pair("mnuNEU", &mnuNEU_Click), std::pair("mnuOEFFNEN", &mnuOEFFNEN_Click),
                                 std::pair("mnuAUSWAHL", &mnuAUSWAHL_Click), std::pair("mnuLOESCHEN", &mnuLOESCHEN_Click)})
        connect(actions_.value(QString::fromLatin1(name)), &QAction::triggered, this, [this, command] { command(*this); });
}

void frmMAIN::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stbMAIN"));
    bar->setSizeGripEnabled(false);
    bar->setFont(statusFont());
    bar->installEventFilter(this);
    // The panels share one row of their own, so that a short bar shortens their texts in turn
    // instead of pushing the panels over each other.
    auto *row = new QWidget(bar);
    row->setObjectName(QStringLiteral("stbMAIN_Panels"));
    auto *rowLayout = new StatusPanelLayout(row);
    bar->addWidget(row, 1);
    for (int i = 1; i <= 15; ++i) {
        const PanelEntry &e = kPanels[i];
        auto *p = new StatusPanel(i, row);
        p->setFont(statusFont());
        p->setText(u(e.text));
        p->setToolTip(u(e.tooltip));
        p->setAlignment(i == 5 ? (Qt::AlignRight | Qt::AlignVCenter) : (i == 7 ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::AlignCenter));
        // Narrow margins beside the information texts leave the room for the texts themselves.
        p->setContentsMargins(i >= 8 ? QMargins(4, 0, 4, 0) : (i == 3 || i == 5) ? QMargins(1, 0, 1, 0) : QMargins(2, 0, 2, 0));
        p->setShortening(i == 1 ? StatusPanel::KeepEnd : StatusPanel::KeepStart);
        switch (e.sizing) {
        // The project path gives way first: its tooltip holds it whole.
        case Sizing::Content: p->setContentSizing(px(e.minimumTwips), i == 1); break;
        case Sizing::Spring: p->setSpringSizing(px(e.minimumTwips)); break;
        case Sizing::Fixed: p->setFixedWidth(px(e.minimumTwips)); break;
        }
        if (i >= 8) {
            p->setBevel(StatusPanel::Raised);
            p->setCursor(Qt::PointingHandCursor);
        }
        rowLayout->addWidget(p);
        p->setVisible(i <= 7);
        connect(p, &StatusPanel::mouseDown, this, &frmMAIN::stbMAIN_MouseDown);
        connect(p, &StatusPanel::clicked, this, [this](int index) { stbMAIN_PanelClick(index); });
        panels_[size_t(i)] = p;
    }
}

void frmMAIN::applyEnglishTexts()
{
    setWindowTitle(QString::fromLatin1(FAMILIENNAME));
    for (const MenuEntry &m : kMenus)
        if (m.english)
            actions_.value(QString::fromLatin1(m.name))->setText(u(m.english));
    for (int i = 8; i <= 15; ++i) {
        if (kPanels[i].englishText)
            panels_[size_t(i)]->setText(u(kPanels[i].englishText));
        panels_[size_t(i)]->setToolTip(u(kPanels[i].englishTooltip));
    }
}

StatusPanel *frmMAIN::panel(int index) const
{
    return index >= 1 && index <= 15 ? panels_[size_t(index)] : nullptr;
}

void frmMAIN::setPanelVisible(int index, bool visible)
{
    if (StatusPanel *p = panel(index))
        p->setVisible(visible);
}

QAction *frmMAIN::menuItem(const QString &name) const { return actions_.value(name); }
QMenu *frmMAIN::menu(const QString &name) const { return menus_.value(name); }

QString frmMAIN::caption(const QString &menuName) const
{
    QAction *a = actions_.value(menuName);
    return a ? a->text() : QString();
}

// ---------------------------------------------------------------- run context

QString frmMAIN::BENUTZER() const
{
    const QString name = sys::userName();
    return name.isEmpty() ? QStringLiteral("UNBEK.") : name.toUpper();
}

QString frmMAIN::DATENBANKPFAD() const
{
    return registry::GetSetting(QStringLiteral("KORVANE"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"));
}

void frmMAIN::setDATENBANKPFAD(const QString &path)
{
    registry::SaveSetting(QStringLiteral("KORVANE"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"), path);
}

QString frmMAIN::XMDBPFAD() const
{
    QString path = fsoX.GetParentFolderName(programFolder_) + QStringLiteral("/BENUTZER");
    if (!fsoX.FolderExists(path))
        fsoX.CreateFolder(path);
    path += QLatin1Char('/') + BENUTZER();
    if (!fsoX.FolderExists(path))
        fsoX.CreateFolder(path);
    return path + QLatin1Char('/') + title() + QStringLiteral(".mdb");
}

QString frmMAIN::projectDatabase() const
{
    return projektspfad_ + QLatin1Char('/') + projekt_ + QLatin1Char('/') + title() + QStringLiteral(".mdb");
}

void frmMAIN::setProgress(int value)
{
    if (autostart_)
        autostart_->pgbBERECHNEN()->setValue(value);
}

int frmMAIN::progress() const
{
    return autostart_ ? autostart_->pgbBERECHNEN()->value() : 0;
}

// ---------------------------------------------------------------- status panel 6

void frmMAIN::PANELDATENSATZ()
{
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT [KEN],[KOM] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"), cnnX_);
    QString text, tip;
    if (rs.isEOF()) {
        text = QStringLiteral("-");
    } else {
        rs.MoveLast();
        const long n = rs.RecordCount();
        rs.MoveFirst();
        if (n == 1) {
            text = rs.Fields(QStringLiteral("KEN")).text();
            tip = rs.Fields(QStringLiteral("KOM")).text();
        } else {
            text = rs.Fields(QStringLiteral("KEN")).toString() + QStringLiteral(",...");
            QStringList names;
            for (; !rs.isEOF(); rs.MoveNext())
                names << rs.Fields(QStringLiteral("KEN")).toString();
            tip = names.join(QStringLiteral(", "));
        }
    }
    rs.Close();
    setRecordPanel(text, tip);
}

void frmMAIN::setRecordPanel(const QString &text, const QString &tip)
{
    panels_[6]->setText(text);
    panels_[6]->setToolTip(tip);
}

// ---------------------------------------------------------------- command panels

void frmMAIN::stbMAIN_MouseDown(int x)
{
    for (int i = 8; i <= 15; ++i) {
        const QRect r(panels_[size_t(i)]->mapTo(statusBar(), QPoint(0, 0)), panels_[size_t(i)]->size());
        if (r.left() <= x && r.left() + r.width() >= x)
            panels_[size_t(i)]->setBevel(StatusPanel::Inset);
    }
    statusBar()->repaint();
    sys::Sleep(250);
}

bool frmMAIN::eventFilter(QObject *watched, QEvent *e)
{
    // The start window lives as long as the run: the progress bar of every long command is on it.
    // The event is looked at first: a window being destroyed still sends events here, and is no
    // longer one that the frame's pointer may be read as.
    if (e->type() == QEvent::Close && !unloading_ && watched == autostartFrame_.data()) {
        e->ignore();
        return true;
    }
    // Restored from maximised, the window stands wholly on the screen, its frame and title bar
    // included: its normal place filled the screen, and a window manager puts the frame around
    // it. The window system's own move to the normal place comes after the change of state.
    if (watched == this && e->type() == QEvent::WindowStateChange)
        setProperty(kRestoring, !isMaximized() && !isMinimized()
                                    && (static_cast<QWindowStateChangeEvent *>(e)->oldState() & Qt::WindowMaximized));
    if (watched == this && (e->type() == QEvent::Resize || e->type() == QEvent::Move) && property(kRestoring).toBool()) {
        setProperty(kRestoring, false);
        keepOnScreen(*this);
    }
    // A press on the status bar between the panels still waits as a press on a panel does.
    if (e->type() == QEvent::MouseButtonPress && watched == statusBar())
        stbMAIN_MouseDown(static_cast<QMouseEvent *>(e)->position().toPoint().x());
    return QMainWindow::eventFilter(watched, e);
}

void frmMAIN::stbMAIN_PanelClick(int index)
{
    // Printing and closing pages reach into the pages: not while one of them is drawing.
    if ((index == 11 || index == 15) && BusyScope::later(this, [this, index] { stbMAIN_PanelClick(index); }))
        return;
    StatusPanel *p = panel(index);
    Guard g(kErrorPrefix, p ? p->text() : QString());
    g.silent({err::InvalidPropertyValue, err::DialogCancelled});
    if (index >= 8 && index <= 15)
        g.step([&] { runPanelCommand(index); });
    g.always([&] {
        if (index >= 8 && index <= 15)
            p->setBevel(StatusPanel::Raised);
        sys::setHourglass(false);
    });
}

void frmMAIN::runPanelCommand(int index)
{
    switch (index) {
    case 8: panelOK(*this); break;
    case 9: vnt::panelAbbrechen(*this); break;
    case 10: panelAnzeigen(*this); break;
    case 11: panelPrint(*this); break;
    case 12: panelCopy(*this); break;
    case 13: panelWord(*this); break;
    case 15: panelSchliessen(*this); break;
    default: break;   // panel 14 has no command of its own
    }
}

void frmMAIN::showCommandPanels(std::initializer_list<int> indexes)
{
    for (int i : indexes) {
        panels_[size_t(i)]->setBevel(StatusPanel::Raised);
        panels_[size_t(i)]->show();
    }
}

void frmMAIN::hideCommandPanels(std::initializer_list<int> indexes)
{
    for (int i : indexes)
        panels_[size_t(i)]->hide();
}

void frmMAIN::enterInputState()
{
    showCommandPanels({8, 9});
    for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        actions_.value(QString::fromLatin1(m))->setEnabled(false);
}

void frmMAIN::leaveInputState()
{
    hideCommandPanels({8, 9});
    for (const char *m : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        actions_.value(QString::fromLatin1(m))->setEnabled(true);
}

void frmMAIN::enterPageState(bool multiple)
{
    showCommandPanels({10, 11, 12, 13, 14, 15});
    actions_.value(QStringLiteral("mnuDATEI"))->setEnabled(false);
    if (multiple)
        actions_.value(QStringLiteral("mnuEXTRAS"))->setEnabled(false);
}

// ---------------------------------------------------------------- evaluate menu

void frmMAIN::mnuAUSWERTEN_Click()
{
    Guard g(kErrorPrefix, caption(QStringLiteral("mnuAUSWERTEN")));
    auto enable = [this](const char *name, bool on) { actions_.value(QString::fromLatin1(name))->setEnabled(on); };
    sys::setHourglass(true);
    long count = 0;
    int32_t id = 0;
    g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true"), cnnX_);
        if (!rs.isEOF()) {
            rs.MoveLast();
            count = rs.RecordCount();
            if (count == 1)
                id = rs.Fields(QStringLiteral("ID")).toLong();
        }
        rs.Close();
    });
    if (count == 0) {
        g.step([&] {
            for (const char *m : {"mnuEINGABEGRAFIK", "mnuBERECHNEN", "mnuMBERECHNEN", "mnuFBERECHNEN", "mnuNEUBERECHNEN"})
                enable(m, false);
        });
    } else if (count == 1) {
        // A record offered for evaluation for the first time must be evaluated before its
        // stored results can be shown.
        db::Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT [ID],[BONEU] FROM [A1] WHERE [ID]=") + QString::number(id), cnnX_); });
        g.step([&] {
            if (rs.isEOF()) {
                rs.AddNew();
                rs.setField(QStringLiteral("ID"), Variant(id));
                rs.setField(QStringLiteral("BONEU"), Variant(true));
                rs.Update();
            }
        });
        g.step([&] {
            if (rs.Fields(QStringLiteral("BONEU")).toBool()) {
                enable("mnuBERECHNEN", false);
                enable("mnuFBERECHNEN", false);
            } else {
                enable("mnuBERECHNEN", true);
            }
        });
        g.step([&] { rs.Close(); });
        g.step([&] { enable("mnuMBERECHNEN", false); });
        g.step([&] { enable("mnuNEUBERECHNEN", true); });
    } else {
        g.step([&] { enable("mnuEINGABEGRAFIK", false); enable("mnuBERECHNEN", false); });
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [ID]=0"), cnnX_);
            if (rs.isEOF()) {
                rs.AddNew();
                rs.setField(QStringLiteral("ID"), Variant(int32_t(0)));
                rs.setField(QStringLiteral("KEN"), Variant(QStringLiteral("M")));
                rs.setField(QStringLiteral("KOM"), Variant(QStringLiteral("Mehrfachauswertung")));
                rs.Update();
            }
            rs.Close();
        });
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [A1] WHERE [ID]=0"), cnnX_);
            if (rs.isEOF()) {
                rs.AddNew();
                rs.setField(QStringLiteral("ID"), Variant(int32_t(0)));
                rs.setField(QStringLiteral("BONEU"), Variant(true));
                rs.Update();
            }
            rs.Close();
        });
        g.step([&] { enable("mnuMBERECHNEN", true); enable("mnuFBERECHNEN", false); enable("mnuNEUBERECHNEN", false); });
    }
    sys::setHourglass(false);
}

// ---------------------------------------------------------------- help and about

void frmMAIN::mnuFRAGEZEICHEN_Click()
{
    const QString base = programFolder_ + QLatin1Char('/') + title();
    actions_.value(QStringLiteral("mnuHILFE"))->setEnabled(fsoX.FileExists(base + QStringLiteral(".hlp")));
    actions_.value(QStringLiteral("mnuREADME"))->setEnabled(fsoX.FileExists(base + QStringLiteral(".doc")));
    actions_.value(QStringLiteral("mnuHINWEISE"))->setEnabled(fsoX.FileExists(base + QStringLiteral("_H.doc")));
}

void frmMAIN::mnuHILFE_Click()
{
    // The F1 keys call this without the menu's file test: a missing file gets an error box
    // instead of ending the program.
    Guard g(kErrorPrefix, QStringLiteral("?/Hilfe"));
    sys::setHourglass(true);
    g.step([&] {
        const QString file = programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".hlp");
        if (!fsoX.FileExists(file))
            vnt::raise(err::FileNotFound, QStringLiteral("File not found: ") + file);
        if (!shell::openDocument(file))
            vnt::raise(err::FileNotFound, QStringLiteral("No program opens ") + file);
    });
    g.always([&] { sys::setHourglass(false); });
}

void frmMAIN::openDocumentCommand(const QString &suffix, const QString &cmdTitle)
{
    Guard g(kErrorPrefix, cmdTitle);
    sys::setHourglass(true);
    g.step([&] {
        const QString file = programFolder_ + QLatin1Char('/') + title() + suffix;
        if (!fsoX.FileExists(file))
            vnt::raise(err::FileNotFound, QStringLiteral("File not found: ") + file);
        if (!shell::openDocument(file))
            vnt::raise(429, QStringLiteral("No program opens ") + file);
    });
    g.always([&] { sys::setHourglass(false); });
}

void frmMAIN::mnuREADME_Click() { openDocumentCommand(QStringLiteral(".doc"), QStringLiteral("?/ReadMe")); }
void frmMAIN::mnuHINWEISE_Click() { openDocumentCommand(QStringLiteral("_H.doc"), QStringLiteral("?/Hinweise")); }

void frmMAIN::mnuINFO_Click()
{
    frmINFO dlg(this);
    if (autostart_)
        dlg.Form_Load(*this, autostart_->lblTITEL()->text(), autostart_->lblUNTERTITEL()->text(), autostart_->lblVERSION()->text());
    else
        dlg.Form_Load(*this, QString(), QString(), QString());
    ui::showModal(dlg);
}

} // namespace vnt
