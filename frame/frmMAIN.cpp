// The main window of the program and the run's context.
#include "frmMAIN.h"
#include "Artwork.h"
#include "FrameRules.h"
#include "EvaluateCommands.h"
#include "ExportImportCommands.h"
#include "PageCommands.h"
#include "frmINFO.h"
#include "mdiAUTOSTART.h"

#include "platform/BusyScope.h"
#include "platform/Guard.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>

namespace vnt {

namespace {

const QString kErrorPrefix = QStringLiteral("VB-Error: ");
QString title() { return QString::fromLatin1(PROGRAMMTITEL); }
QString u(const char *s) { return QString::fromUtf8(s); }
int px(int twips) { return (twips + TWIPS_PER_PIXEL / 2) / TWIPS_PER_PIXEL; }

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

const char *const kCompanions[] = {"-journal", "-wal", "-shm"};

// What only a killed run leaves behind: the compaction file with its journals and the scratch
// files of copies to the working and the project database. No later run needs any of them.
void removeScratchFiles(const QString &working, const QString &project)
{
    FileSystemObject fso;
    fso.RemoveScratchBeside(working);
    if (!project.isEmpty())
        fso.RemoveScratchBeside(project);
    const QString compaction = compactionFilePath(working);
    QFile::remove(compaction);
    for (const char *suffix : kCompanions)
        QFile::remove(compaction + QLatin1String(suffix));
}

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
    installPageChain();
}

frmMAIN::~frmMAIN() = default;

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

// ---------------------------------------------------------------- start-up

bool frmMAIN::abandonStart()
{
    // Nothing of the run may stay behind invisibly; the working database is left as it is,
    // so that changes kept from an interrupted run are not lost.
    for (db::ConnectionPtr *c : {&cnnX_, &cnnX_V_, &cnnARCHIV_}) {
        if (*c && (*c)->isOpen()) {
            try { (*c)->Close(); } catch (const VbError &) {}
        }
        c->reset();
    }
    hide();
    return false;
}

bool frmMAIN::refuseDatabase(const QString &file, const QString &defect)
{
    ui::MsgBox(sprache_ == 1 ? QStringLiteral("The database ") + file + QStringLiteral(" is damaged and cannot be used!\n") + defect
                             : QStringLiteral("Die Datenbank ") + file + u(" ist beschädigt und kann nicht verwendet werden!\n") + defect,
               ui::vbOKOnly | ui::vbExclamation, title());
    return abandonStart();
}

bool frmMAIN::MDIForm_Load(const QString &programFolder)
{
    programFolder_ = programFolder;
    Guard g(kErrorPrefix, title());

    if (!g.step([&] {
            const bool previous = sys::setSystemBeep(false);
            signalton_ = previous ? 1 : 0;
            spiok_ = 1;
        }))
        return abandonStart();

    if (!g.step([&] {
            const QString iso = sys::locale().name().section(QLatin1Char('_'), 0, 0);
            sprache_ = languageCodeFor(iso);
        }))
        return abandonStart();
    if (!g.step([&] { dezimalpunkt_ = sys::decimalSign(); }))
        return abandonStart();
    if (sprache_ == 1 && !g.step([&] { applyEnglishTexts(); }))
        return abandonStart();

    developmentMode_ = false;
    if (!g.step([&] { developmentMode_ = programFolder_.contains(QLatin1String("SOURCE"), Qt::CaseInsensitive); }))
        return abandonStart();

    if (!developmentMode_) {
        const QString dbFolder = DATENBANKPFAD();
        const QString archive = dbFolder + QStringLiteral("/ARCHIV.mdb"), presets = dbFolder + QStringLiteral("/VORGABE.mdb");
        // A damaged archive must not get the user's row written into it; a missing one is
        // reported by its open below.
        QString defect;
        if (!g.step([&] {
                if (fsoX.FileExists(archive))
                    defect = db::databaseDefect(archive, {{QStringLiteral("ADMIN"), {QStringLiteral("BENUTZER"), QStringLiteral("PROG"),
                                                                                      QStringLiteral("PROJEKTSPFAD"), QStringLiteral("PROJEKT"),
                                                                                      QStringLiteral("BEARBEITER")}}});
            }))
            return abandonStart();
        if (!defect.isEmpty())
            return refuseDatabase(archive, defect);
        if (!g.step([&] { cnnARCHIV_ = db::openDatabase(archive); }))
            return abandonStart();
        if (!g.step([&] {
                if (fsoX.FileExists(presets))
                    defect = db::databaseDefect(presets);
            }))
            return abandonStart();
        if (!defect.isEmpty())
            return refuseDatabase(presets, defect);
        if (!g.step([&] { cnnX_V_ = db::openDatabase(presets); }))
            return abandonStart();

        db::Recordset rs;
        bool found = false;
        if (!g.step([&] {
                rs.Open(QStringLiteral("SELECT * FROM [ADMIN] WHERE [BENUTZER]=") + db::sqlText(BENUTZER()), cnnARCHIV_);
                found = !rs.isEOF();
            }))
            return abandonStart();
        if (!found) {
            ui::MsgBox(sprache_ == 1
                           ? QStringLiteral("Program ") + title() + QStringLiteral(" can used only via the frame program!")
                           : QStringLiteral("Programm ") + title() + u(" kann nur über das Rahmenprogramm ausgeführt werden!"),
                       ui::vbOKOnly | ui::vbExclamation, title());
            return abandonStart();
        }
        if (!g.step([&] { rs.MoveFirst(); rs.setField(QStringLiteral("PROG"), Variant(title())); rs.Update(); }))
            return abandonStart();
        if (!g.step([&] { projektspfad_ = rs.Fields(QStringLiteral("PROJEKTSPFAD")).toString(); }))
            return abandonStart();
        if (!g.step([&] { projekt_ = rs.Fields(QStringLiteral("PROJEKT")).toString(); }))
            return abandonStart();
        if (!g.step([&] { bearbeiter_ = rs.Fields(QStringLiteral("BEARBEITER")).toString(); }))
            return abandonStart();
        if (!g.step([&] { rs.Close(); }))
            return abandonStart();

        bool folderExists = false;
        if (!g.step([&] { folderExists = fsoX.FolderExists(projektspfad_ + QLatin1Char('/') + projekt_); }))
            return abandonStart();
        if (!folderExists) {
            ui::MsgBox(sprache_ == 1 ? QStringLiteral("Project directory ") + projekt_ + QStringLiteral(" dosn't exist!")
                                     : QStringLiteral("Projektsverzeichnis ") + projekt_ + QStringLiteral(" existiert nicht!"),
                       ui::vbOKOnly | ui::vbExclamation, title());
            return abandonStart();
        }
        bool templateExists = false;
        if (!g.step([&] { templateExists = fsoX.FileExists(programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".mdb")); }))
            return abandonStart();
        if (!templateExists) {
            ui::MsgBox(sprache_ == 1 ? QStringLiteral("The empty database ") + title() + QStringLiteral(".mdb dosn't exist!\n")
                                           + QString::fromLatin1(FAMILIENNAME) + QStringLiteral(" has to be installed again!")
                                     : QStringLiteral("Die leere Datenbank ") + title() + QStringLiteral(".mdb existiert nicht!\n")
                                           + QString::fromLatin1(FAMILIENNAME) + u(" muß neu installiert werden!"),
                       ui::vbOKOnly | ui::vbExclamation, title());
            return abandonStart();
        }
    } else {
        if (!g.step([&] {
                projektspfad_ = fsoX.GetParentFolderName(programFolder_);
                projekt_ = QStringLiteral("TE0000.00");
                bearbeiter_ = BENUTZER();
            }))
            return abandonStart();
    }

    if (!g.step([&] {
            panels_[1]->setText(shortenedProjectPath(projektspfad_) + QLatin1Char('/'));
            panels_[1]->setToolTip(projektspfad_);
            panels_[2]->setText(projekt_);
            panels_[2]->setToolTip(bearbeiter_);
            panels_[4]->setText(title());
            panels_[4]->setToolTip(QString::fromLatin1(PRODUKTNAME));
        }))
        return abandonStart();

    // A working database left from an earlier run holds the changes of an interrupted run.
    QString working;
    bool workingExists = true;
    if (!g.step([&] { working = XMDBPFAD(); workingExists = fsoX.FileExists(working); }))
        return abandonStart();
    if (working.isEmpty())
        return abandonStart();
    removeScratchFiles(working, projectDatabase());
    bool copy = !workingExists;
    if (workingExists) {
        const int answer = ui::MsgBox(
            sprache_ == 1 ? QStringLiteral("Program was interuped during the execution!\nDo you want to save the changes till the interuption?")
                          : u("Programm wurde während der Ausführung unterbrochen!\nSoll die bis zum Abbruch vorhandenen Daten gepeichert werden?"),
            ui::vbYesNo | ui::vbQuestion, title());
        copy = answer != ui::vbYes;
    }
    // The program does not run without its database: a database that cannot be trusted is
    // refused before anything is copied from it or over it, and every failure to copy or open
    // it ends the start-up after its box, whichever button was pressed.
    const QString trusted = copy ? projectDatabase() : working;
    QString defect;
    bool checked = false;
    if (!g.step([&] {
            defect = db::databaseDefect(trusted, programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".mdb"));
            checked = true;
        })
        || !checked)
        return abandonStart();
    if (!defect.isEmpty())
        return refuseDatabase(trusted, defect);
    bool ready = !copy;
    if (copy && (!g.step([&] { db::copyDatabase(projectDatabase(), working); ready = true; }) || !ready))
        return abandonStart();

    geaendert_ = false;

    if (!g.step([&] { cnnX_ = db::openDatabase(working); }) || !cnnX_)
        return abandonStart();
    if (!g.step([&] { PANELDATENSATZ(); }))
        return abandonStart();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    showMaximized();

    autostart_ = new mdiAUTOSTART;
    autostartFrame_ = mdiArea_->addSubWindow(autostart_, Qt::FramelessWindowHint);
    autostartFrame_->setObjectName(QStringLiteral("mdiAUTOSTART_Frame"));
    autostartFrame_->installEventFilter(this);
    const QSize client = mdiArea_->viewport()->size();
    if (!g.step([&] { autostart_->Form_Load(*this, float(client.width() * TWIPS_PER_PIXEL), float(client.height() * TWIPS_PER_PIXEL)); }))
        return abandonStart();
    sys::DoEvents();
    // Its normal size is the whole area too: a child window maximised over it restores it to
    // that size, and it must still fill the area when the child goes.
    autostartFrame_->setGeometry(mdiArea_->viewport()->rect());
    autostartFrame_->showMaximized();
    // The start window stays behind the other child windows: a click on it hands the focus
    // back to the child in front, and once it is alone it fills the area again.
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
        if (!w || w != autostartFrame_.data() || unloading_)
            return;
        const QList<QMdiSubWindow *> stack = mdiArea_->subWindowList(QMdiArea::StackingOrder);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            if (*it != w && (*it)->isVisible()) {
                // after the area has finished raising the start window
                QMetaObject::invokeMethod(this, [this, front = QPointer<QMdiSubWindow>(*it)] {
                    if (front)
                        mdiArea_->setActiveSubWindow(front);
                }, Qt::QueuedConnection);
                return;
            }
        }
        if (!w->isMaximized())
            w->showMaximized();
    });
    return true;
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
    case 11: panelDrucken(*this); break;
    case 12: panelKopie(*this); break;
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

// ---------------------------------------------------------------- save and compaction

bool frmMAIN::mnuSPEICHERN_Click()
{
    const QString cmdTitle = caption(QStringLiteral("mnuSPEICHERN"));
    Guard g(kErrorPrefix, cmdTitle);
    float size = 0;
    bool copied = false;
    g.step([&] { size = sizeInMegabytes(fsoX.FileSize(XMDBPFAD())); });
    if (!g.left() && size > 10) {
        const int answer = ui::MsgBox(
            sprache_ == 1 ? QStringLiteral("Database reaches ") + megabytesText(size, dezimalpunkt_) + QStringLiteral(" MB! \nDo you want to compact the file?")
                          : QStringLiteral("Datenbank hat ") + megabytesText(size, dezimalpunkt_) + QStringLiteral(" MB erreicht! \nSoll die Datei komprimiert werden?"),
            ui::vbYesNo | ui::vbQuestion, cmdTitle, programFolder_ + QLatin1Char('/') + title() + QStringLiteral(".hlp"), 34);
        if (answer == ui::vbYes)
            mnuKOMPRIMIEREN_Click();
    }
    bool attempted = false;
    g.step([&] { sys::setHourglass(true); });
    g.step([&] {
        attempted = true;
        db::copyDatabase(XMDBPFAD(), projectDatabase());
        copied = true;
    });
    // Only a copy that arrived clears the flag: otherwise the end of the run would delete the
    // only copy of the changes.
    if (copied) {
        geaendert_ = false;
        copyBackFailed_ = false;
    } else if (attempted) {
        copyBackFailed_ = true;
    }
    g.always([&] { sys::setHourglass(false); });
    return copied;
}

void frmMAIN::mnuKOMPRIMIEREN_Click()
{
    const QString cmdTitle = caption(QStringLiteral("mnuKOMPRIMIEREN"));
    Guard g(kErrorPrefix, cmdTitle);
    sys::setHourglass(true);
    QString source, destination;
    float before = 0, after = 0;
    int64_t bytesBefore = 0, bytesAfter = 0;
    bool compacted = false, replaced = false;

    g.step([&] { source = XMDBPFAD(); destination = compactionFilePath(source); });
    g.step([&] { bytesBefore = fsoX.FileSize(source); before = sizeInMegabytes(bytesBefore); });
    g.step([&] { if (cnnX_) cnnX_->Close(); });
    // The compacted copy is written first; the working database is replaced only once the
    // copy is complete, so that a failure never leaves it missing.
    g.step([&] {
        if (fsoX.FileExists(destination))
            fsoX.DeleteFile(destination);
        db::ConnectionPtr c = db::openDatabase(source);
        try {
            c->Execute(QStringLiteral("VACUUM INTO ") + db::sqlText(destination));
        } catch (...) {
            c->Close();
            throw;
        }
        c->Close();
        compacted = true;
    });
    if (compacted)
        g.step([&] { db::replaceDatabase(destination, source); replaced = true; });
    if (!replaced && !destination.isEmpty() && fsoX.FileExists(destination)) {
        try { fsoX.DeleteFile(destination); } catch (const VbError &) {}
    }
    if (replaced) {
        g.step([&] { bytesAfter = fsoX.FileSize(source); after = sizeInMegabytes(bytesAfter); });
        g.step([&] {
            const float gain = compactionGain(before, after, bytesBefore, bytesAfter);
            ui::MsgBox(sprache_ == 1
                           ? QStringLiteral("Database was compact about ") + megabytesText(gain, dezimalpunkt_) + QStringLiteral(" % to ")
                                 + megabytesText(after, dezimalpunkt_) + QStringLiteral(" MB!")
                           : QStringLiteral("Datenbank wurde um ") + megabytesText(gain, dezimalpunkt_) + QStringLiteral(" % auf ")
                                 + megabytesText(after, dezimalpunkt_) + QStringLiteral(" MB komprimiert !"),
                       ui::vbOKOnly | ui::vbInformation, cmdTitle);
        });
    }
    // The same connection object opens again, so that column accessors holding it go on working.
    g.always([&] {
        const QString path = source.isEmpty() ? XMDBPFAD() : source;
        if (!cnnX_)
            cnnX_ = std::make_shared<db::Connection>();
        cnnX_->ConnectionTimeout = 30;
        cnnX_->Open(db::connectionStringFor(path));
    });
    g.always([&] { sys::setHourglass(false); });
}

// ---------------------------------------------------------------- end of the run

void frmMAIN::mnuSCHLIESSEN_Click()
{
    if (BusyScope::later(this, [this] { mnuSCHLIESSEN_Click(); }))
        return;
    rahmenprogramm_ = true;
    unloadMainWindow();
}

void frmMAIN::mnuBEENDEN_Click()
{
    // A window still loading or drawing would lose its objects under its feet: the quit
    // follows once it has returned.
    if (BusyScope::later(this, [this] { mnuBEENDEN_Click(); }))
        return;
    rahmenprogramm_ = false;
    unloadMainWindow();
}

bool frmMAIN::quitConfirmed()
{
    if (ended_ || quitAnswered_)
        return true;
    rahmenprogramm_ = false;
    if (MDIForm_QueryUnload(1))
        return false;
    quitAnswered_ = true;
    return true;
}

void frmMAIN::unloadMainWindow()
{
    endRun(1);
}

bool frmMAIN::endRun(int unloadMode)
{
    if (ended_)
        return true;
    if (!quitAnswered_ && MDIForm_QueryUnload(unloadMode))
        return false;
    MDIForm_Unload();
    return true;
}

void frmMAIN::closeEvent(QCloseEvent *e)
{
    if (ended_) {
        e->accept();
        return;
    }
    if (BusyScope::later(this, [this] { endRun(0); })) {
        e->ignore();
        return;
    }
    if (endRun(0))
        e->accept();
    else
        e->ignore();
}

bool frmMAIN::MDIForm_QueryUnload(int unloadMode)
{
    Guard g(kErrorPrefix, title());
    bool cancel = false;
    if ((unloadMode == 0 || unloadMode == 1) && geaendert_) {
        int answer = ui::vbCancel;
        if (!g.step([&] {
                answer = ui::MsgBox(sprache_ == 1 ? QStringLiteral("Do you want to save changes to project ") + projekt_ + QStringLiteral("?")
                                                  : u("Sollen die Änderungen in Projekt ") + projekt_ + u(" gespeichert werden?"),
                                    ui::vbYesNoCancel | ui::vbQuestion, caption(QStringLiteral("mnuBEENDEN")));
            }))
            return cancel;
        // The user wants the changes kept: whatever stopped the save, the working copy is
        // then the only place they are, and the end of the run must not delete it.
        if (answer == ui::vbYes)
            g.step([&] {
                if (!mnuSPEICHERN_Click())
                    copyBackFailed_ = true;
            });
        else if (answer == ui::vbCancel)
            return true;
    }
    if (unloadMode == 0 || rahmenprogramm_) {
        g.step([&] {
            const QString frame = fsoX.GetParentFolderName(programFolder_) + QStringLiteral("/KORVANE");
            if (fsoX.FileExists(frame))
                shell::startDetached(frame);
        });
    }
    return cancel;
}

void frmMAIN::MDIForm_Unload()
{
    Guard g(kErrorPrefix, title());
    unloading_ = true;
    g.step([&] {
        for (QMdiSubWindow *w : mdiArea_->subWindowList())
            w->close();
        for (QWidget *w : findChildren<QDialog *>())
            w->close();
    });
    if (!developmentMode_) {
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]=") + db::sqlText(BENUTZER()), cnnARCHIV_);
            rs.MoveFirst();
            rs.setField(QStringLiteral("PROG"), Variant(QStringLiteral("KORVANE")));
            rs.Update();
            rs.Close();
        });
        g.step([&] {
            if (cnnARCHIV_) cnnARCHIV_->Close();
            if (cnnX_V_) cnnX_V_->Close();
            cnnARCHIV_.reset();
            cnnX_V_.reset();
        });
    }
    g.step([&] {
        if (cnnX_) cnnX_->Close();
        cnnX_.reset();
    });
    // After a failed copy back the working database holds the only copy of the changes: it
    // stays, and the next start offers it as the changes of an interrupted run.
    if (!copyBackFailed_)
        g.step([&] {
            const QString working = XMDBPFAD();
            fsoX.DeleteFile(working);
            // The journals go only after their database: one of them alone cannot harm it.
            for (const char *suffix : kCompanions)
                QFile::remove(working + QLatin1String(suffix));
            removeScratchFiles(working, {});
        });
    // Cancel in the error box skips the remaining steps, but the run ends all the same: a
    // hidden window must not stay behind as a process without a face.
    ended_ = true;
    hide();
    emit programEnded();
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
