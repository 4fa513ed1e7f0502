// The gross/net dialog: two option buttons over the stored M1.VZ, written back only on OK.
#include "pages/multiple/frmKONTEXTM1.h"

#include "data/clsDATEN.h"
#include "pages/common/PageDialogs.h"
#include "platform/Guard.h"
#include "platform/ui.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vnt {

namespace {

const QString kTitel = QStringLiteral("Kontextmenü Seite 1");

} // namespace

frmKONTEXTM1::frmKONTEXTM1(RunContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmKONTEXTM1"));
    setWindowTitle(kTitel);

    fra = new QGroupBox(this);
    fra->setObjectName(QStringLiteral("fra"));
    auto *optionen = new QHBoxLayout(fra);
    const QString texte[2] = {QStringLiteral("Bruttowerte"), QStringLiteral("Nettowerte")};
    for (int i = 0; i < 2; ++i) {
        optVZ[i] = new QRadioButton(texte[i], fra);
        optVZ[i]->setObjectName(QStringLiteral("optVZ"));
        optVZ[i]->setProperty("index", i);
        optionen->addWidget(optVZ[i]);
        connect(optVZ[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                VZ_ = int16_t(i);
        });
    }

    fraSCHALTFLAECHEN = okCancelFrame(this, cmdOK, cmdABBRECHEN, true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fra);
    layout->addWidget(fraSCHALTFLAECHEN);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);

    callOnResize(*this, [this] { Form_Resize(); });
    Form_Load();
}

frmKONTEXTM1::~frmKONTEXTM1() = default;

void frmKONTEXTM1::present(RunContext &ctx, const std::function<void()> &NEUZEICHNEN)
{
    showThenRedraw<frmKONTEXTM1>(ctx, NEUZEICHNEN);
}

void frmKONTEXTM1::Form_Load()
{
    m1_ = std::make_unique<clsDATEN>(ctx_);
    m1_->setETABELLE(QStringLiteral("M1"));
    m1_->setESPID(QStringLiteral("IDM"));
    m1_->setESPIDW(1);
    int16_t VZ = 0;
    Guard g(QStringLiteral("VB-Fehler: "), kTitel);
    g.step([&] { m1_->DTVI(QStringLiteral("VZ"), VZ); });
    // The pages take every value but 0 for net values; so does the dialog.
    optVZ[VZ == 0 ? 0 : 1]->setChecked(true);
    VZ_ = VZ;
}

void frmKONTEXTM1::cmdOK_Click()
{
    Guard g(QStringLiteral("VB-Fehler: "), kTitel);
    g.step([&] { m1_->DVTI(QStringLiteral("VZ"), VZ_); });
    accept();
}

void frmKONTEXTM1::Form_Resize() { placeOnScreen(*this, 0.1, 0.1); }

} // namespace vnt
