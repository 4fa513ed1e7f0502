// The list and the marks are matched by record id: names need not be unique in letter case,
// nor present at all, for the marks to land on the right records.
#include "frame/frmAUSWAHL.h"

#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>

#include <optional>

namespace vnt {

namespace {
const QString kError = QStringLiteral("VB-Error: ");
constexpr int kTwips = 15;
} // namespace

frmAUSWAHL::frmAUSWAHL(RunContext &ctx, QWidget *parent)
    : QDialog(parent ? parent : ctx.mainWidget()), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmAUSWAHL"));
    setModal(true);
    setFixedSize(2565 / kTwips, 4560 / kTwips);
    lstKEN = new QListWidget(this);
    lstKEN->setObjectName(QStringLiteral("lstKEN"));
    lstKEN->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstKEN->setGeometry(240 / kTwips, 330 / kTwips, 2070 / kTwips, 2865 / kTwips);
    // At a fractional scale factor the list's inner area, rounded outwards to whole device
    // pixels, would paint its ground over the right edge of the frame; the list paints the
    // ground itself under the frame instead.
    lstKEN->viewport()->setAutoFillBackground(false);
    lstKEN->setAutoFillBackground(true);
    lstKEN->setBackgroundRole(QPalette::Base);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(570 / kTwips, 3390 / kTwips, 1440 / kTwips, 400 / kTwips);
    cmdOK->setDefault(true);
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdABBRECHEN->setGeometry(570 / kTwips, 3870 / kTwips, 1440 / kTwips, 400 / kTwips);
    setTabOrder(cmdOK, cmdABBRECHEN);
    setTabOrder(cmdABBRECHEN, lstKEN);
    // The dialog opens where its tab order starts.
    cmdOK->setFocus(Qt::OtherFocusReason);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdABBRECHEN, &QPushButton::clicked, this, [this] { cmdABBRECHEN_Click(); });
    connect(lstKEN, &QListWidget::itemSelectionChanged, this, [this] { lstKEN_Click(); });
    // A click that leaves the selection as it was still shows the entry's comment.
    connect(lstKEN, &QListWidget::itemClicked, this, [this] {
        if (!BOLADEN)
            lstKEN->setToolTip(KOMLISTE.value(lstKEN->currentRow()));
    });
    Form_Load();
}

void frmAUSWAHL::Form_Load()
{
    BOLADEN = true;
    mode_ = ctx_.Tag();
    const bool en = ctx_.SPRACHE() == 1;
    QString caption = QStringLiteral("Auswahl");
    if (mode_ == QLatin1String("A"))
        caption = en ? QStringLiteral("File/Select") : QStringLiteral("Datei/Auswahl");
    else if (mode_ == QLatin1String("O"))
        caption = en ? QStringLiteral("File/Open") : QStringLiteral("Datei/Öffnen");
    else if (mode_ == QLatin1String("L"))
        caption = en ? QStringLiteral("File/Delete") : QStringLiteral("Datei/Löschen");
    setWindowTitle(caption);
    if (en)
        cmdABBRECHEN->setText(QStringLiteral("Cancel"));

    Guard g(kError, windowTitle());
    g.step([] { sys::setHourglass(true); });
    db::Recordset rs;
    bool opened = false;
    g.step([&] {
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE ID>0 ORDER BY [KEN]"), ctx_.cnnX());
        opened = true;
    });
    bool oneSelected = false;
    while (opened && !g.left()) {
        bool atEnd = true;
        g.step([&] { atEnd = rs.isEOF(); });
        if (atEnd || g.left())
            break;
        g.step([&] {
            const Variant kom = rs.Fields(QStringLiteral("KOM"));
            lstKEN->addItem(rs.Fields(QStringLiteral("KEN")).text());
            ids_.push_back(rs.Fields(QStringLiteral("ID")).toLong());
            KOMLISTE << (kom.isNull() ? QString() : kom.text());
            if (rs.Fields(QStringLiteral("AKT")).toBool() && !(mode_ == QLatin1String("O") && oneSelected)) {
                lstKEN->item(lstKEN->count() - 1)->setSelected(true);
                oneSelected = true;
            }
        });
        g.step([&] { rs.MoveNext(); });
    }
    if (KOMLISTE.isEmpty())
        KOMLISTE << QString();
    g.always([&] { rs.Close(); });
    if (g.left()) {
        sys::setHourglass(false);
        return;   // the rules stay off for a list that was not loaded in full
    }
    g.step([&] {
        if (QWidget *main = ctx_.mainWidget())
            move(main->width() / 5, (main->height() - height()) / 3);
    });
    sys::setHourglass(false);
    BOLADEN = false;
}

void frmAUSWAHL::lstKEN_Click()
{
    if (BOLADEN || applyingRule_)
        return;
    const int k = lstKEN->currentRow();
    if (k < 0 || k >= lstKEN->count())
        return;
    applyingRule_ = true;
    Guard g(kError, windowTitle());
    const int selected = int(lstKEN->selectedItems().size());
    if (mode_ == QLatin1String("O") && selected > 1) {
        g.step([&] { lstKEN->item(k)->setSelected(false); });
    } else if (mode_ == QLatin1String("A") && selected >= 2) {
        const QString name = lstKEN->item(k)->text();
        const QString message = ctx_.SPRACHE() == 1 ? QStringLiteral("File ") + name + QStringLiteral(" has to be calculated first!")
                                                    : QStringLiteral("Datensatz ") + name + QStringLiteral(" muß zuerst einzeln ausgewertet werden!");
        db::Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=") + QString::number(ids_[size_t(k)]), ctx_.cnnX()); });
        g.step([&] {
            if (rs.isEOF()) {
                ui::MsgBox(message, ui::vbOKOnly | ui::vbExclamation, windowTitle());
                lstKEN->item(k)->setSelected(false);
            } else if (rs.Fields(QStringLiteral("BONEU")).toBool()) {
                ui::MsgBox(message, ui::vbOKOnly | ui::vbExclamation, windowTitle());
            }
        });
        g.always([&] { rs.Close(); });
    }
    if (!g.left())
        lstKEN->setToolTip(KOMLISTE.value(k));
    applyingRule_ = false;
}

void frmAUSWAHL::cmdOK_Click()
{
    Guard g(kError, windowTitle());
    g.step([] { sys::setHourglass(true); });
    // The marks are one choice and are stored as one: a run ended half-way through leaves the
    // marks as they were, and Cancel in an error box takes back the rows set before it.
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(ctx_.cnnX(), db::TransactionScope::Unchanged::Discard); });
    db::Recordset rs;
    g.step([&] { rs.Open(QStringLiteral("SELECT [ID],[AKT] FROM [E1] WHERE ID>0"), ctx_.cnnX()); });
    std::vector<std::pair<int32_t, bool>> marks;
    for (int k = 0; k < lstKEN->count(); ++k)
        marks.emplace_back(ids_[size_t(k)], lstKEN->item(k)->isSelected());
    bool more = false;
    g.step([&] { more = rs.isOpen() && !rs.isEOF(); });
    while (more && !g.left()) {
        g.step([&] {
            const int32_t id = rs.Fields(QStringLiteral("ID")).toLong();
            for (const auto &[listed, selected] : marks)
                if (listed == id) {
                    rs.setField(QStringLiteral("AKT"), Variant(selected));
                    rs.Update();
                    break;
                }
        });
        g.step([&] { rs.MoveNext(); });
        more = false;
        g.step([&] { more = !rs.isEOF(); });
    }
    g.always([&] { rs.Close(); });
    // Marks that could not be stored keep the dialog open, as a Cancel does.
    bool stored = !unit;
    if (unit)
        g.step([&] { unit->commit(); stored = true; });
    if (g.left() || !stored) {
        unit.reset();
        sys::setHourglass(false);
        return;   // the dialog stays open; the tag is not "OK"
    }
    ctx_.setTag(QStringLiteral("OK"));
    QDialog::accept();
    sys::setHourglass(false);
}

void frmAUSWAHL::cmdABBRECHEN_Click()
{
    ctx_.setTag(QStringLiteral("Abbrechen"));
    QDialog::reject();
}

void frmAUSWAHL::reject()
{
    if (closing_)
        QDialog::reject();
    else
        cmdABBRECHEN_Click();   // Esc is the cancel button
}

void frmAUSWAHL::closeEvent(QCloseEvent *e)
{
    closing_ = true;
    QDialog::closeEvent(e);
    closing_ = false;
}

} // namespace vnt
