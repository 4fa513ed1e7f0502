// Start window: placed in twips as designed, converted to pixels at 15 twips per pixel.
#include "mdiAUTOSTART.h"
#include "Artwork.h"
#include "clsADRESSE.h"
#include "platform/RunContext.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>

namespace vnt {

using artwork::arial;

namespace {

int px(float twips) { return int(twips / TWIPS_PER_PIXEL + (twips >= 0 ? 0.5f : -0.5f)); }
float tw(int pixels) { return float(pixels * TWIPS_PER_PIXEL); }

QLabel *label(QWidget *parent, const QString &name, const QFont &font)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFont(font);
    return l;
}

} // namespace

mdiAUTOSTART::mdiAUTOSTART(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("mdiAUTOSTART"));
    setAutoFillBackground(true);

    fraKOPF_ = new QFrame(this);
    fraKOPF_->setObjectName(QStringLiteral("fraKOPF"));
    fraKOPF_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    fraKOPF_->resize(px(11000), px(1710));

    const QFont kopf[4] = {arial(12, true), arial(9.75, true), arial(9.75, true), arial(8.25, false)};
    const int kopfTop[4] = {240, 600, 930, 1380};
    for (int i = 0; i < 4; ++i) {
        lblKOPF_[i] = label(fraKOPF_, QStringLiteral("lblKOPF(%1)").arg(i), kopf[i]);
        lblKOPF_[i]->move(px(120), px(kopfTop[i]));
    }
    imgLOGO_ = label(fraKOPF_, QStringLiteral("imgLOGO"), font());
    imgLOGO_->setScaledContents(true);
    imgLOGO_->setPixmap(QPixmap::fromImage(artwork::makerLogo()));
    imgLOGO_->resize(px(1500), px(1500));

    lblTITEL_ = label(this, QStringLiteral("lblTITEL"), arial(33, true));
    lblUNTERTITEL_ = label(this, QStringLiteral("lblUNTERTITEL"), arial(33, true));
    lblVERSION_ = label(this, QStringLiteral("lblVERSION"), arial(18, false));

    imgDIA_ = label(this, QStringLiteral("imgDIA"), font());
    imgDIA_->setScaledContents(true);
    imgDIA_->setPixmap(QPixmap::fromImage(artwork::drillingRig()));
    imgDIA_->resize(px(3390), px(4080));

    pgbBERECHNEN_ = new QProgressBar(this);
    pgbBERECHNEN_->setObjectName(QStringLiteral("pgbBERECHNEN"));
    pgbBERECHNEN_->setRange(0, 100);
    pgbBERECHNEN_->setValue(0);
    pgbBERECHNEN_->resize(px(3000), px(300));
    pgbBERECHNEN_->hide();
}

mdiAUTOSTART::~mdiAUTOSTART() = default;

void mdiAUTOSTART::Form_Load(const RunContext &ctx, float W, float H)
{
    lblVERSION_->setText(QStringLiteral("Version "));

    adresse_ = std::make_unique<clsADRESSE>(ctx);
    lblKOPF_[0]->setText(adresse_->FIRMA1());
    lblKOPF_[1]->setText(adresse_->PLZ() + QStringLiteral(", ") + adresse_->STR());

    const clsADRESSE &a = *adresse_;
    if (ctx.SPRACHE() == 1) {
        lblKOPF_[2]->setText(clsADRESSE::rolePrefix(1) + a.VORSITZ());
        lblKOPF_[3]->setText(QStringLiteral("Phone: ") + a.TEL() + QStringLiteral(", ") + QStringLiteral("E-Mail: ") + a.EMAIL()
                             + QStringLiteral(", ") + QStringLiteral("Internet: ") + a.URL());
        lblTITEL_->setText(QString::fromLatin1(PRODUKTNAME));
        lblUNTERTITEL_->setText(QString());
        lblVERSION_->setText(lblVERSION_->text() + QStringLiteral("January 2002"));
    } else {
        lblKOPF_[2]->setText(clsADRESSE::rolePrefix(3) + a.VORSITZ());
        lblKOPF_[3]->setText(QStringLiteral("Telefon: ") + a.TEL() + QStringLiteral(", ") + QStringLiteral("E-Mail: ") + a.EMAIL()
                             + QStringLiteral(", ") + QStringLiteral("Internet: ") + a.URL());
        lblTITEL_->setText(QString::fromLatin1(PRODUKTNAME));
        lblUNTERTITEL_->setText(QString());
        lblVERSION_->setText(lblVERSION_->text() + QString::fromUtf8("Jänner 2002"));
    }
    for (QLabel *l : {lblKOPF_[0], lblKOPF_[1], lblKOPF_[2], lblKOPF_[3], lblTITEL_, lblUNTERTITEL_, lblVERSION_})
        l->adjustSize();   // labels size themselves to their text

    AutostartSizes s;
    s.fraHeight = tw(fraKOPF_->height());
    s.logoWidth = tw(imgLOGO_->width());
    s.titleWidth = tw(lblTITEL_->width());
    s.titleHeight = tw(lblTITEL_->height());
    s.subtitleWidth = tw(lblUNTERTITEL_->width());
    s.subtitleHeight = tw(lblUNTERTITEL_->height());
    s.photoWidth = tw(imgDIA_->width());
    s.photoHeight = tw(imgDIA_->height());
    s.versionTextHeight = tw(QFontMetrics(font()).height());
    s.barHeight = tw(pgbBERECHNEN_->height());
    layout_ = autostartLayout(W, H, s);

    fraKOPF_->setGeometry(px(layout_.fraLeft), 0, px(layout_.fraWidth), fraKOPF_->height());
    imgLOGO_->setGeometry(px(layout_.logoLeft), px(layout_.logoTop), imgLOGO_->width(), px(layout_.logoHeight));
    lblTITEL_->move(px(layout_.titleLeft), px(layout_.titleTop));
    lblUNTERTITEL_->move(px(layout_.subtitleLeft), px(layout_.subtitleTop));
    imgDIA_->move(px(layout_.photoLeft), px(layout_.photoTop));
    lblVERSION_->move(px(layout_.versionLeft), px(layout_.versionTop));
    pgbBERECHNEN_->setGeometry(px(layout_.barLeft), px(layout_.barTop), px(layout_.barWidth), pgbBERECHNEN_->height());
    pgbBERECHNEN_->hide();
}

} // namespace vnt
