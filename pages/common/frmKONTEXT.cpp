// The page-layout dialog: one small window whose settings go back to the result page that
// opened it.
#include "pages/common/frmKONTEXT.h"

#include "pages/common/PageDialogs.h"
#include "pages/common/ResultPage.h"
#include "drawing/Surface.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vnt {

namespace {

const QString kCaption = QStringLiteral("Kontextmenü ");

} // namespace

frmKONTEXT::frmKONTEXT(RunContext &ctx, ResultPage *opener, QWidget *parent)
    : QDialog(parent), ctx_(ctx), opener_(opener)
{
    setObjectName(QStringLiteral("frmKONTEXT"));
    setWindowTitle(kCaption + (opener ? opener->property("Tag").toString() : QString()));

    fraSKALEN = new QGroupBox(QStringLiteral("Seitenlayout"), this);
    fraSKALEN->setObjectName(QStringLiteral("fraSKALEN"));
    chkBOKF = new QCheckBox(QStringLiteral("Kopf / Fußzeile darstellen"), fraSKALEN);
    chkBOKF->setObjectName(QStringLiteral("chkBOKF"));
    chkBOKFS = new QCheckBox(QStringLiteral("Seitennummerierung darstellen"), fraSKALEN);
    chkBOKFS->setObjectName(QStringLiteral("chkBOKFS"));
    chkBOKF->setChecked(true);
    chkBOKFS->setChecked(true);
    const QString farbTexte[2] = {QStringLiteral("Seitenfarbe"), QStringLiteral("Pictureboxfarben")};
    auto *farbZeile = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        cmdFARBEN[i] = new QPushButton(farbTexte[i], fraSKALEN);
        cmdFARBEN[i]->setObjectName(QStringLiteral("cmdFARBEN"));
        cmdFARBEN[i]->setProperty("index", i);
        cmdFARBEN[i]->setAutoDefault(false);
        connect(cmdFARBEN[i], &QPushButton::clicked, this, [this, i] { cmdFARBEN_Click(i); });
        farbZeile->addWidget(cmdFARBEN[i]);
    }
    auto *skalen = new QVBoxLayout(fraSKALEN);
    skalen->addWidget(chkBOKF);
    skalen->addWidget(chkBOKFS);
    skalen->addLayout(farbZeile);

    fraSCHALTFLAECHEN = okCancelFrame(this, cmdOK, cmdABBRECHEN, false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraSKALEN);
    layout->addWidget(fraSCHALTFLAECHEN);
    // A fixed size: every resize puts the check boxes back to what the page handed over,
    // which a user dragging the border would not expect.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chkBOKF, &QCheckBox::toggled, this, [this] { chkBOKF_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdABBRECHEN, &QPushButton::clicked, this, [this] { cmdABBRECHEN_Click(); });
    callOnResize(*this, [this] { Form_Resize(); });
    for (QWidget *w : std::initializer_list<QWidget *>{chkBOKF, chkBOKFS, cmdFARBEN[0], cmdFARBEN[1], cmdOK, cmdABBRECHEN})
        w->installEventFilter(this);
}

void frmKONTEXT::present(RunContext &ctx, ResultPage &page, bool BOKF, bool BOKFS, qint64 pageColor,
                         qint64 pictureColor)
{
    frmKONTEXT dlg(ctx, &page, ctx.mainWidget());
    dlg.setTags(BOKF ? QStringLiteral("1") : QStringLiteral("0"), BOKFS ? QStringLiteral("1") : QStringLiteral("0"));
    dlg.setCdlFARBEN(0, pageColor);
    dlg.setCdlFARBEN(1, pictureColor);
    dlg.SCHALTERANZEIGEN();
    ui::showModal(dlg);
}

void frmKONTEXT::setTags(const QString &tagBOKF, const QString &tagBOKFS)
{
    tagBOKF_ = tagBOKF;
    tagBOKFS_ = tagBOKFS;
}

void frmKONTEXT::SCHALTERANZEIGEN()
{
    // The header box first: its click rule switches the page-number box, which then takes
    // its own tag, so the dialog shows both as the page has them.
    chkBOKF->setChecked(tagBOKF_.trimmed().toInt() != 0);
    chkBOKFS->setChecked(tagBOKFS_.trimmed().toInt() != 0);
}

void frmKONTEXT::chkBOKF_Click()
{
    const bool an = chkBOKF->isChecked();
    chkBOKFS->setEnabled(an);
    chkBOKFS->setChecked(an);
}

void frmKONTEXT::cmdFARBEN_Click(int index)
{
    QColor farbe = vbColor(farben_[index]);
    if (ui::colorDialog(farbe, cmdFARBEN[index]->text()) && farbe.isValid())
        farben_[index] = toVbColor(farbe);
}

void frmKONTEXT::UEBERNEHMEN()
{
    sys::setHourglass(true);
    Guard g(QStringLiteral("VB-Fehler: "), windowTitle());
    g.step([&] {
        const qint64 FARBEMDI = farben_[0];
        const qint64 FARBEPIC = farben_[1];
        const bool HBOKF = chkBOKF->isChecked();
        const bool HBOKFS = chkBOKFS->isChecked();
        // The dialog shows the switches and colours of the page that opened it, so they go
        // back to that page; once it is closed they belong to no page.
        if (ResultPage *page = opener_.data())
            page->KONTEXT(HBOKF, HBOKFS, FARBEMDI, FARBEPIC);
    });
    g.always([] { sys::setHourglass(false); });
}

void frmKONTEXT::cmdOK_Click()
{
    UEBERNEHMEN();
    accept();
}

void frmKONTEXT::cmdABBRECHEN_Click()
{
    reject();
}

void frmKONTEXT::Form_KeyDown(int KeyCode, int Shift)
{
    const bool ctrl = (Shift & 2) != 0;
    if (KeyCode == 13) {
        focusNextChild();
        return;
    }
    if (KeyCode == 81 && ctrl) {
        ctx_.mnuBEENDEN_Click();
        return;
    }
    if (KeyCode == 83 && ctrl) {
        cmdOK_Click();
        return;
    }
    if (KeyCode == 27) {
        cmdABBRECHEN_Click();
        return;
    }
    if (KeyCode == 112)
        ctx_.mnuHILFE_Click();
}

bool frmKONTEXT::eventFilter(QObject *watched, QEvent *e)
{
    // The dialog is worked from the keyboard (Enter moves on, Ctrl+S confirms): the control
    // that has the keyboard shows it from the start, not only after the first Tab.
    if (e->type() == QEvent::FocusIn)
        setAttribute(Qt::WA_KeyboardFocusChange);
    return QDialog::eventFilter(watched, e);
}

void frmKONTEXT::keyPressEvent(QKeyEvent *e)
{
    int code = 0;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: code = 13; break;
    case Qt::Key_Escape: code = 27; break;
    case Qt::Key_F1: code = 112; break;
    case Qt::Key_Q: code = 81; break;
    case Qt::Key_S: code = 83; break;
    default: break;
    }
    if (!code) {
        QDialog::keyPressEvent(e);
        return;
    }
    e->accept();
    Form_KeyDown(code, ui::shiftMask(e->modifiers()));
}

void frmKONTEXT::Form_Resize()
{
    if (isMinimized())
        return;
    // 20 mm from the left and 35 mm from the top of the screen.
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const double dpmm = screen->logicalDotsPerInch() / 25.4;
        const QPoint origin = screen->geometry().topLeft();
        move(origin + QPoint(qRound(20 * dpmm), qRound(35 * dpmm)));
    }
    SCHALTERANZEIGEN();
}


} // namespace vnt
