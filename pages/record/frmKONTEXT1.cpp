// The evaluation-options dialog of the first record page. It reads the options of the active
// record and the unit-cost sets when it loads, keeps the staff-cost rule of the chosen set in
// the cost options, and writes the options back only on OK.
#include "pages/record/frmKONTEXT1.h"

#include "data/clsDATEN.h"
#include "pages/common/PageDialogs.h"
#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/ui.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <optional>

namespace vnt {

namespace {

const QString kTitel = QStringLiteral("Kontextmenü Seite 1");

// Runs a procedure of the dialog under its error box, so that a failed conversion neither
// escapes into the window system nor goes unseen.
template <class F>
void guarded(F &&f)
{
    Guard g(QStringLiteral("VB-Fehler: "), kTitel);
    g.step(f);
}

} // namespace

frmKONTEXT1::frmKONTEXT1(RunContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmKONTEXT1"));
    setWindowTitle(kTitel);

    lblKENK = new QLabel(QStringLiteral("Einheitskostenvorgabewerte"), this);
    lblKENK->setObjectName(QStringLiteral("lblKENK"));
    cboKENK = new QComboBox(this);
    cboKENK->setObjectName(QStringLiteral("cboKENK"));
    cboKENK->setEditable(true);
    // A typed key stays a typed key: it must not become a new list entry on Enter.
    cboKENK->setInsertPolicy(QComboBox::NoInsert);
    cboKENK->setMinimumContentsLength(16);
    auto *kopf = new QHBoxLayout;
    kopf->addWidget(lblKENK);
    kopf->addWidget(cboKENK, 1);

    fraZAUF = new QGroupBox(QStringLiteral("Bohrzeitaufschlüsselung"), this);
    fraZAUF->setObjectName(QStringLiteral("fraZAUF"));
    auto *zauf = new QVBoxLayout(fraZAUF);
    const QString zaufTexte[2] = {QStringLiteral("Netto- und Nebenzeiten"),
                                  QStringLiteral("Aufschlüsselung der Nebenzeiten")};
    for (int i = 0; i < 2; ++i) {
        optZAUF[i] = new QRadioButton(zaufTexte[i], fraZAUF);
        optZAUF[i]->setObjectName(QStringLiteral("optZAUF"));
        optZAUF[i]->setProperty("index", i);
        zauf->addWidget(optZAUF[i]);
        connect(optZAUF[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !busy_)
                ZAUF_ = int16_t(i);
        });
    }
    zauf->addStretch();

    fraK = new QGroupBox(QStringLiteral("Kostenaufschlüsselung"), this);
    fraK->setObjectName(QStringLiteral("fraK"));
    auto *k = new QVBoxLayout(fraK);
    const QString kTexte[4] = {QStringLiteral("Geräte- und Personalkosten"),
                               QStringLiteral("Nach Arbeitszeitanteilen aufgeschlüsselte Personalkosten"),
                               QStringLiteral("Nach Arbeitszeitanteilen aufgeschlüsselte Gerätekosten"),
                               QStringLiteral("nach Gerätetypen aufgeschlüsselte Gerätekosten")};
    for (int i = 0; i < 4; ++i) {
        optK[i] = new QRadioButton(kTexte[i], fraK);
        optK[i]->setObjectName(QStringLiteral("optK"));
        optK[i]->setProperty("index", i);
        k->addWidget(optK[i]);
        connect(optK[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !busy_)
                K_ = int16_t(i);
        });
    }
    auto *optionen = new QHBoxLayout;
    optionen->addWidget(fraZAUF);
    optionen->addWidget(fraK);

    fraSCHALTFLAECHEN = okCancelFrame(this, cmdOK, cmdABBRECHEN, true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addLayout(optionen);
    layout->addWidget(fraSCHALTFLAECHEN);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cboKENK, &QComboBox::editTextChanged, this, [this] { cboKENK_Change(); });
    connect(cboKENK, &QComboBox::activated, this, [this] { cboKENK_Change(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);

    callOnResize(*this, [this] { Form_Resize(); });
    Form_Load();
}

frmKONTEXT1::~frmKONTEXT1() = default;

void frmKONTEXT1::present(RunContext &ctx, const std::function<void()> &NEUZEICHNEN)
{
    showThenRedraw<frmKONTEXT1>(ctx, NEUZEICHNEN);
}

void frmKONTEXT1::Form_Load()
{
    // Nothing the user sees yet: the list and the key field must not run the staff-cost rule
    // while they are filled.
    busy_ = true;
    v3_ = std::make_unique<clsDATEN>(ctx_);
    v3_->setETABELLE(QStringLiteral("VANT_V3"));
    v3_->setEBOV(true);
    v3_->setESPID(QString());
    cboKENK->clear();
    guarded([&] {
        if (!v3_->DTFMM(QStringLiteral("KENK"), *cboKENK))
            ui::MsgBox(QStringLiteral("Sie müssen Vorgabewerte für die Kosten eingeben!"), ui::vbOKOnly,
                       QStringLiteral("HINWEIS!"));
    });
    cboKENK->setCurrentIndex(-1);
    cboKENK->setEditText(QString());

    e6_ = std::make_unique<clsDATEN>(ctx_);
    e6_->setETABELLE(QStringLiteral("E6"));
    guarded([&] { e6_->DTVT(QStringLiteral("KENK"), KENK_); });
    guarded([&] { e6_->DTVI(QStringLiteral("K"), K_); });
    guarded([&] { e6_->DTVI(QStringLiteral("ZAUF"), ZAUF_); });
    KENKPG_ = kenkpgOf(KENK_);
    busy_ = false;

    VORGABENANZEIGEN();
}

int16_t frmKONTEXT1::kenkpgOf(const QString &kenk)
{
    int16_t kenkpg = 0;
    v3_->setESPK1(QStringLiteral("KENK"));
    v3_->setESPK1W(kenk);
    guarded([&] { v3_->DTVI(QStringLiteral("KENKPG"), kenkpg); });
    v3_->setESPK1(QString());
    return kenkpg;
}

void frmKONTEXT1::VORGABENANZEIGEN()
{
    busy_ = true;
    if (!KENK_.isEmpty()) {
        int gefunden = cboKENK->findText(KENK_, Qt::MatchExactly | Qt::MatchCaseSensitive);
        // The databases treat keys without regard to case, and so do the result pages: a set
        // stored as "k1" is the set "K1", and must not be dropped by the next OK.
        if (gefunden < 0)
            gefunden = cboKENK->findText(KENK_, Qt::MatchFixedString);
        if (gefunden >= 0) {
            cboKENK->setCurrentIndex(gefunden);
            KENK_ = cboKENK->itemText(gefunden);
        } else {
            cboKENK->setCurrentIndex(-1);
            cboKENK->setEditText(QString());
            KENK_.clear();
        }
    }
    // Values no option stands for (a row written elsewhere) show as the first option rather
    // than as no option at all; only OK stores them.
    if (ZAUF_ < 0 || ZAUF_ > 1)
        ZAUF_ = 0;
    if (K_ < 0 || K_ > 3)
        K_ = 0;
    optZAUF[ZAUF_]->setChecked(true);
    if (KENKPG_ == 1) {
        if (K_ == 1)
            K_ = 0;
        optK[1]->setEnabled(false);
    }
    optK[K_]->setChecked(true);
    busy_ = false;
}

void frmKONTEXT1::PERSONALKOSTENPRUEFEN()
{
    KENKPG_ = kenkpgOf(KENK_);
    if (KENKPG_ == 1) {
        if (K_ == 1)
            K_ = 0;
        optK[1]->setEnabled(false);
    } else {
        optK[1]->setEnabled(true);
        optK[2]->setEnabled(true);
        optK[3]->setEnabled(true);
    }
    optK[K_]->setChecked(true);
}

void frmKONTEXT1::cboKENK_Change()
{
    if (busy_)
        return;
    KENK_ = cboKENK->currentText();
    keyChosen_ = true;
    PERSONALKOSTENPRUEFEN();
}

void frmKONTEXT1::cmdOK_Click()
{
    // The options are one choice and are stored as one: a run ended half-way through leaves
    // them as they were. Each write is still its own step, so a failed one has shown its box
    // and the others are made; what went through is committed once.
    std::optional<db::TransactionScope> unit;
    guarded([&] { unit.emplace(ctx_.cnnX(), db::TransactionScope::Unchanged::Discard); });
    // The field shows only a set that is there: a stored key whose set has gone, or that is
    // spelled in another case, is the user's until another is chosen or the field is emptied.
    if (keyChosen_)
        guarded([&] { e6_->DVTT(QStringLiteral("KENK"), KENK_); });
    guarded([&] { e6_->DVTI(QStringLiteral("K"), K_); });
    guarded([&] { e6_->DVTI(QStringLiteral("ZAUF"), ZAUF_); });
    if (unit)
        guarded([&] { unit->commit(); });
    accept();
}

void frmKONTEXT1::Form_Resize() { placeOnScreen(*this, 0.01, 0.01); }

} // namespace vnt
