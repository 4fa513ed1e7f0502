// The export and import dialog: choosing the other project, listing the records of both
// sides, and copying records table by table, each record as one unit of work in its target.
#include "frame/frmEXPIMP.h"

#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <limits>
#include <optional>
#include <vector>

namespace vnt {

namespace {

const QString kCopyTitle = QStringLiteral("Export/Import");
constexpr int kPlaceholderRole = Qt::UserRole + 1;

QString boxTitle()
{
    const QString t = ui::programTitle();
    return t.isEmpty() ? QStringLiteral("VANT") : t;
}

// Two names of one file: the same text, or the same file once links and dots are resolved.
bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

// The id the next record copied into the target gets: one above the last in id order. Every id
// there must be a Long and the next one must be one too, or no id can be told and the copy must
// write nothing (a fallback id would land on a record that is there).
int32_t nextRecordId(const db::ConnectionPtr &target)
{
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [E1] ORDER BY [ID]"), target);
    int32_t last = 0;
    for (; !rs.isEOF(); rs.MoveNext())
        last = rs.Fields(0).toLong();
    rs.Close();
    if (last == std::numeric_limits<int32_t>::max())
        vnt::raise(err::Overflow);
    return last + 1;
}

// Adds one copied row under the target's id. A row that cannot be completed is dropped, not
// written half-filled by the next.
void appendRow(db::Recordset &out, int32_t newId, const std::vector<Variant> &row)
{
    try {
        out.AddNew();
        out.setField(0, Variant(newId));
        for (int f = 1; f < out.FieldCount(); ++f) {
            if (f >= int(row.size()))
                vnt::raise(err::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
            out.setField(f, row[f]);
        }
        out.Update();
    } catch (...) {
        out.CancelUpdate();
        throw;
    }
}

} // namespace

frmEXPIMP::frmEXPIMP(RunContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmEXPIMP"));
    buildWindow();
    Form_Load();
}

frmEXPIMP::~frmEXPIMP()
{
    // Hiding the dialog on its way out moves the focus off the path field, which would take a
    // typed path with the dialog's own members already gone.
    disconnect(dirEXP_, nullptr, this, nullptr);
    dirEXP_->removeEventFilter(this);
    if (external_)
        external_->Close();
}

QString frmEXPIMP::text(const char *german, const char *english) const
{
    return QString::fromUtf8(sprache_ == 1 ? english : german);
}

QString frmEXPIMP::databaseFile() const
{
    return boxTitle() + QStringLiteral(".mdb");
}

QString frmEXPIMP::externalDatabase() const
{
    return external_ && external_->isOpen() ? external_->path() : QString();
}

void frmEXPIMP::buildWindow()
{
    setWindowTitle(QStringLiteral("Export/Import"));
    setFixedSize(640, 440);
    QFont frameFont(QStringLiteral("Liberation Sans"));
    frameFont.setPointSizeF(11.25);
    frameFont.setBold(true);
    QFont listFont(QStringLiteral("Liberation Sans"), 9);
    listFont.setBold(false);   // stated, or the lists take the bold of their frames

    fraEXP_ = new QGroupBox(QStringLiteral("Externes Projekt"), this);
    fraEXP_->setObjectName(QStringLiteral("fraEXP"));
    fraEXP_->setGeometry(10, 10, 305, 360);
    fraEXP_->setFont(frameFont);
    // The folder chooser stands where the drive and folder lists were.
    dirEXP_ = new QLineEdit(fraEXP_);
    dirEXP_->setObjectName(QStringLiteral("dirEXP"));
    dirEXP_->setFont(listFont);
    // Enter in the path takes the path; it must not reach the dialog's default button.
    dirEXP_->installEventFilter(this);
    dirEXP_->setGeometry(10, 30, 245, 26);
    cmdORDNER_ = new QToolButton(fraEXP_);
    cmdORDNER_->setObjectName(QStringLiteral("cmdORDNER"));
    cmdORDNER_->setText(QStringLiteral("…"));
    cmdORDNER_->setFont(listFont);
    cmdORDNER_->setGeometry(260, 30, 35, 26);
    lstEXP_ = new QListWidget(fraEXP_);
    lstEXP_->setObjectName(QStringLiteral("lstEXP"));
    lstEXP_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstEXP_->setFont(listFont);
    lstEXP_->setGeometry(10, 64, 285, 286);

    fraIMP_ = new QGroupBox(this);
    fraIMP_->setObjectName(QStringLiteral("fraIMP"));
    fraIMP_->setGeometry(325, 10, 305, 360);
    fraIMP_->setFont(frameFont);
    lstIMP_ = new QListWidget(fraIMP_);
    lstIMP_->setObjectName(QStringLiteral("lstIMP"));
    lstIMP_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstIMP_->setFont(listFont);
    lstIMP_->setGeometry(10, 30, 285, 320);

    QFont arrows(QStringLiteral("DejaVu Sans"));
    arrows.setPointSizeF(14.25);
    cmdEXP_ = new QPushButton(QStringLiteral("←"), this);
    cmdEXP_->setObjectName(QStringLiteral("cmdEXP"));
    cmdEXP_->setToolTip(QStringLiteral("Export"));
    cmdEXP_->setFont(arrows);
    cmdEXP_->setGeometry(255, 385, 60, 40);
    cmdEXP_->setAutoDefault(false);
    cmdIMP_ = new QPushButton(QStringLiteral("→"), this);
    cmdIMP_->setObjectName(QStringLiteral("cmdIMP"));
    cmdIMP_->setToolTip(QStringLiteral("Import"));
    cmdIMP_->setFont(arrows);
    cmdIMP_->setGeometry(325, 385, 60, 40);
    cmdIMP_->setAutoDefault(false);
    cmdSCHLIESSEN_ = new QPushButton(QStringLiteral("Schließen"), this);
    cmdSCHLIESSEN_->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    cmdSCHLIESSEN_->setGeometry(520, 390, 110, 32);
    cmdSCHLIESSEN_->setDefault(true);

    connect(dirEXP_, &QLineEdit::editingFinished, this, [this] {
        if (dirEXP_->isModified())
            dirEXP_Validate();
    });
    connect(cmdORDNER_, &QToolButton::clicked, this, &frmEXPIMP::cmdORDNER_Click);
    connect(cmdEXP_, &QPushButton::clicked, this, &frmEXPIMP::cmdEXP_Click);
    connect(cmdIMP_, &QPushButton::clicked, this, &frmEXPIMP::cmdIMP_Click);
    connect(cmdSCHLIESSEN_, &QPushButton::clicked, this, &frmEXPIMP::cmdSCHLIESSEN_Click);
}

void frmEXPIMP::Form_Load()
{
    Guard g(QStringLiteral("VB-Error: "), boxTitle());
    g.step([&] { sys::setHourglass(true); });
    g.step([&] { sprache_ = ctx_.SPRACHE(); });
    g.step([&] {
        fraIMP_->setTitle(QStringLiteral("Aktuelles Projekt: ") + ctx_.PROJEKT());
        const QString project = ctx_.PROJEKTSPFAD() + QLatin1Char('/') + ctx_.PROJEKT();
        dirEXP_Change(fso_.GetParentFolderName(project));
    });
    g.step([&] {
        if (sprache_ == 1) {
            fraIMP_->setTitle(QStringLiteral("Selected Projekt: ") + ctx_.PROJEKT());
            fraEXP_->setTitle(QStringLiteral("External Project"));
            cmdSCHLIESSEN_->setText(QStringLiteral("Quit"));
            cmdORDNER_->setToolTip(QStringLiteral("Choose the folder of a project"));
        } else {
            cmdORDNER_->setToolTip(QStringLiteral("Ordner eines Projekts wählen"));
        }
        dirEXP_->setToolTip(text("Ordner eines Projekts: eintippen und mit Enter übernehmen",
                                 "Folder of a project: type it and press Enter"));
    });
    g.step([&] { LISTEFUELLEN(ctx_.cnnX(), lstIMP_); });
    g.step([&] { imported_ = false; });
    g.always([&] { sys::setHourglass(false); });
}

void frmEXPIMP::cmdORDNER_Click()
{
    QString folder = dirEXP_->text();
    if (!ui::folderDialog(folder, text("Projektordner", "Project folder")))
        return;
    // A database that cannot be opened is reported, and the dialog stays as it was.
    Guard g(QStringLiteral("VB-Error: "), boxTitle());
    g.step([&] { dirEXP_Change(folder); });
}

void frmEXPIMP::dirEXP_Validate()
{
    dirEXP_->setModified(false);
    QString folder = dirEXP_->text().trimmed();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!fso_.FolderExists(folder)) {
        lstEXP_->clear();
        ui::MsgBox(sprache_ == 1 ? QStringLiteral("The folder ") + folder + QStringLiteral(" doesn't exist!")
                                 : QStringLiteral("Der Ordner ") + folder + QStringLiteral(" existiert nicht!"),
                   ui::vbOKOnly | ui::vbExclamation, kCopyTitle);
        return;
    }
    Guard g(QStringLiteral("VB-Error: "), boxTitle());
    g.step([&] { dirEXP_Change(folder); });
}

bool frmEXPIMP::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == dirEXP_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            dirEXP_Validate();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmEXPIMP::dirEXP_Change(const QString &folder)
{
    dirEXP_->setText(folder);
    dirEXP_->setModified(false);
    lstEXP_->clear();
    const QString database = folder + QLatin1Char('/') + databaseFile();
    // The working copy is never opened as another project.
    if (sameFile(database, ctx_.XMDBPFAD()))
        return;
    if (!fso_.FileExists(database))
        return;
    if (external_)
        external_->Close();
    external_.reset();
    fraEXP_->setTitle(text("Externes Projekt", "External Project"));
    auto cnn = std::make_shared<db::Connection>();
    cnn->ConnectionTimeout = 30;
    // Checked once here, so that no copy later runs into a table or column that is not there.
    QString problem;
    // Listing its records reads every record id: an id that is no Long refuses the database here
    // rather than leaving it chosen for an Export that cannot number what it writes.
    try {
        // A journal a killed run left there would stay beside the other project for good.
        db::removeColdJournal(database);
        cnn->Open(db::connectionStringFor(database));
        // A damaged file is not written into: an Export would put records on broken pages.
        const QString defect = db::databaseDefect(database);
        if (!defect.isEmpty())
            problem = text("Die Datenbank %1 ist beschädigt und kann nicht verwendet werden!\n%2",
                           "The database %1 is damaged and cannot be used!\n%2")
                          .arg(database, defect);
        if (problem.isEmpty())
            problem = notAProject(cnn, database);
        if (problem.isEmpty())
            LISTEFUELLEN(cnn, lstEXP_);
    } catch (const VbError &e) {
        lstEXP_->clear();
        problem = text("Die Datei %1 kann nicht als Projektdatenbank geöffnet werden:\n%2",
                       "The file %1 cannot be opened as a project database:\n%2")
                      .arg(database, e.description);
    }
    if (!problem.isEmpty()) {
        cnn->Close();
        ui::MsgBox(problem, ui::vbOKOnly | ui::vbExclamation, kCopyTitle);
        return;
    }
    external_ = cnn;
    fraEXP_->setTitle((sprache_ == 1 ? QStringLiteral("Project ") : QStringLiteral("Projekt ")) + fso_.GetBaseName(folder));
}

// What the other database lacks of the thirteen tables that a record is copied into, compared
// with the open project's own: rows go column by column by position, so every column must be
// there, in the same place. "" when nothing is missing.
QString frmEXPIMP::notAProject(const db::ConnectionPtr &other, const QString &database) const
{
    auto columns = [](const db::ConnectionPtr &cnn, const QString &table) {
        QStringList names;
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [name] FROM pragma_table_info(") + db::sqlText(table) + QLatin1Char(')'), cnn);
        for (; !rs.isEOF(); rs.MoveNext())
            names << rs.Fields(0).text().toUpper();
        return names;
    };
    QStringList missing;
    for (const QString &table : tables_) {
        const QStringList own = columns(ctx_.cnnX(), table);
        const QStringList theirs = columns(other, table);
        if (theirs.isEmpty()) {
            missing << text("Tabelle ", "table ") + table;
            continue;
        }
        bool absent = false;
        for (const QString &c : own)
            if (!theirs.contains(c)) {
                missing << text("Spalte ", "column ") + table + QLatin1Char('.') + c;
                absent = true;
            }
        if (!absent && theirs.mid(0, own.size()) != own)
            missing << text("Spalten von %1 in dieser Reihenfolge: ", "columns of %1 in this order: ").arg(table) + own.join(QStringLiteral(", "));
    }
    if (missing.isEmpty())
        return {};
    return text("Die Datei %1 ist keine Projektdatenbank. Es fehlen:\n%2", "The file %1 is no project database. Missing:\n%2")
        .arg(database, missing.join(QStringLiteral(", ")));
}

void frmEXPIMP::LISTEFUELLEN(const db::ConnectionPtr &cnn, QListWidget *list)
{
    list->clear();
    db::Recordset rs;
    // The multiple evaluation's row is told by its id: "M" is a name a user may give a record
    // too. A row without an id stays in, so that the id check below refuses the database.
    rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE ([ID]<>0 OR [ID] IS NULL) ORDER BY [KEN]"), cnn);
    if (!rs.isEOF()) {
        for (; !rs.isEOF(); rs.MoveNext()) {
            // The id is read before the entry is made: an id that is no Long leaves no entry behind.
            const int32_t id = rs.Fields(0).toLong();
            list->addItem(rs.Fields(1).text() + QStringLiteral(" (") + rs.Fields(2).text() + QLatin1Char(')'));
            list->item(list->count() - 1)->setData(Qt::UserRole, id);
        }
        rs.Close();
    } else {
        // The placeholder stands for no record and can be neither selected nor copied.
        auto *item = new QListWidgetItem(QStringLiteral("<leer>"));
        item->setData(Qt::UserRole, 0);
        item->setData(kPlaceholderRole, true);
        item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
        list->addItem(item);
    }
}

bool frmEXPIMP::isOpenProject(const QString &database) const
{
    const QString stored = ctx_.PROJEKTSPFAD() + QLatin1Char('/') + ctx_.PROJEKT() + QLatin1Char('/') + databaseFile();
    return sameFile(database, stored);
}

bool frmEXPIMP::KOPIEREN(const db::ConnectionPtr &source, QListWidget *list, const db::ConnectionPtr &target)
{
    bool unusable = false;
    Guard g(QStringLiteral("VB-Error: "), kCopyTitle);
    sys::setHourglass(true);
    for (int i = 0; i < list->count() && !g.left(); ++i) {
        QListWidgetItem *item = list->item(i);
        if (!item->isSelected() || item->data(kPlaceholderRole).toBool())
            continue;
        const int32_t sourceId = item->data(Qt::UserRole).toInt();

        QString name;
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [ID]=") + QString::number(sourceId), source);
            name = rs.Fields(1).text();
            rs.Close();
        });
        if (g.left())
            break;

        bool duplicate = false;
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]=") + db::sqlText(name), target);
            duplicate = !rs.isEOF();
            rs.Close();
        });
        if (duplicate) {
            if (ui::MsgBox(QStringLiteral("Datensatz ") + name + QStringLiteral(" ist bereits vorhanden!"),
                           ui::vbOKCancel | ui::vbExclamation, boxTitle())
                == ui::vbCancel)
                break;
            continue;
        }

        int32_t newId = 0;
        if (!giveRecordId(name, target, newId)) {
            unusable = true;
            break;
        }
        copyRecord(g, source, sourceId, target, newId);
    }
    sys::setHourglass(false);
    return !unusable;
}

bool frmEXPIMP::giveRecordId(const QString &name, const db::ConnectionPtr &target, int32_t &newId)
{
    try {
        newId = nextRecordId(target);
        return true;
    } catch (const VbError &e) {
        ui::MsgBox(text("Datensatz %1 wurde nicht kopiert: in %2 lässt sich keine neue Nummer vergeben "
                        "(Fehler %3: %4). Es wurde nichts geschrieben.",
                        "Record %1 was not copied: no new id can be given in %2 (error %3: %4). "
                        "Nothing was written.")
                       .arg(name, target->path())
                       .arg(e.number)
                       .arg(e.description),
                   ui::vbOKOnly | ui::vbExclamation, kCopyTitle);
        return false;
    }
}

void frmEXPIMP::copyRecord(Guard &g, const db::ConnectionPtr &source, int32_t sourceId, const db::ConnectionPtr &target,
                           int32_t newId)
{
    // One record arrives whole: Cancel in the error box takes back what it had copied.
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(*target); });
    // Rows a deleted record left under this id would otherwise join the copied record.
    for (const QString &table : tables_)
        g.step([&] { target->Execute(QStringLiteral("DELETE FROM [") + table + QStringLiteral("] WHERE [ID]=") + QString::number(newId)); });
    for (int t = 0; t < tables_.size() && !g.left(); ++t)
        copyTable(g, tables_[t], source, sourceId, target, newId);
    if (unit && !g.left()) {
        try {
            unit->commit();
        } catch (const VbError &e) {
            g.report(e.number, e.description);
        }
    }
}

void frmEXPIMP::copyTable(Guard &g, const QString &table, const db::ConnectionPtr &source, int32_t sourceId,
                          const db::ConnectionPtr &target, int32_t newId)
{
    std::vector<std::vector<Variant>> rows;
    bool any = false;
    g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [") + table + QStringLiteral("] WHERE [ID]=") + QString::number(sourceId), source);
        any = !rs.isEOF();
        for (; !rs.isEOF(); rs.MoveNext()) {
            std::vector<Variant> row;
            for (int f = 0; f < rs.FieldCount(); ++f)
                row.push_back(rs.Fields(f));
            rows.push_back(std::move(row));
        }
        rs.Close();
    });
    if (!any)
        return;
    db::Recordset out;
    if (!g.step([&] {
            out.Open(QStringLiteral("SELECT * FROM [") + table + QStringLiteral("] WHERE [ID]=") + QString::number(newId), target);
        }))
        return;
    for (const auto &row : rows) {
        if (!g.step([&] { appendRow(out, newId, row); }))
            break;
    }
    out.Close();
}

void frmEXPIMP::cmdEXP_Click()
{
    if (lstIMP_->selectedItems().isEmpty())
        return;
    if (!external_ || !external_->isOpen())
        return;   // no other project chosen yet: there is nowhere to copy to
    // The open project's stored database is overwritten by its working copy at the next Save.
    if (isOpenProject(external_->path())) {
        ui::MsgBox(text("In das geöffnete Projekt kann nicht exportiert werden: seine Datenbank wird beim nächsten "
                        "Speichern durch die Arbeitskopie ersetzt.",
                        "Records cannot be exported into the open project: its database is replaced by the working "
                        "copy at the next Save."),
                   ui::vbOKOnly | ui::vbExclamation, boxTitle());
        return;
    }
    if (!KOPIEREN(ctx_.cnnX(), lstIMP_, external_))
        return;   // its list would fail on the same ids that were just reported
    Guard g(QStringLiteral("VB-Error: "), kCopyTitle);
    g.step([&] { LISTEFUELLEN(external_, lstEXP_); });
}

void frmEXPIMP::cmdIMP_Click()
{
    if (lstEXP_->selectedItems().isEmpty())
        return;
    KOPIEREN(external_, lstEXP_, ctx_.cnnX());
    Guard g(QStringLiteral("VB-Error: "), kCopyTitle);
    g.step([&] { LISTEFUELLEN(ctx_.cnnX(), lstIMP_); });
    imported_ = true;
}

void frmEXPIMP::cmdSCHLIESSEN_Click()
{
    close();
}

void frmEXPIMP::done(int r)
{
    if (imported_) {
        if (external_)
            external_->Close();
        ctx_.setTag(QStringLiteral("OK"));
    }
    QDialog::done(r);
}

} // namespace vnt
