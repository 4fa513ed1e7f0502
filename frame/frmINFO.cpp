// About window: two logos on the left, the contact and product lines in one column.
#include "frmINFO.h"
#include "Artwork.h"
#include "FrameRules.h"
#include "clsADRESSE.h"
#include "platform/RunContext.h"
#include "platform/errors.h"
#include "platform/ui.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vnt {

using artwork::arial;

QString frmINFO::credits()
{
    return QStringLiteral("Vantrel project team: frame and data access, grid editing, drawing, result pages, multiple evaluation");
}

QString frmINFO::legalNotice()
{
    return QString::fromUtf8("© Vantrel project. Free to use for the evaluation of drilled advances.");
}

frmINFO::frmINFO(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmINFO"));
    setFont(arial(8.25, false));

    auto *logos = new QVBoxLayout;
    for (const QImage &img : {artwork::makerLogo(), artwork::secondLogo()}) {
        auto *l = new QLabel(this);
        l->setPixmap(QPixmap::fromImage(img).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        logos->addWidget(l);
    }
    logos->addStretch();

    auto *lines = new QVBoxLayout;
    for (int i = 0; i < 8; ++i) {
        lblADRESSE_[i] = new QLabel(this);
        lblADRESSE_[i]->setObjectName(QStringLiteral("lblADRESSE(%1)").arg(i));
        if (i < 4)
            lblADRESSE_[i]->setFont(arial(9.75, true));
        lines->addWidget(lblADRESSE_[i]);
    }
    auto *line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    lines->addWidget(line1);
    for (int i = 0; i < 8; ++i) {
        lblINFO_[i] = new QLabel(this);
        lblINFO_[i]->setObjectName(QStringLiteral("lblINFO(%1)").arg(i));
        lblINFO_[i]->setWordWrap(i >= 5);
        if (i == 1 || i == 2)
            lblINFO_[i]->setFont(arial(12, true));
        lines->addWidget(lblINFO_[i]);
    }

    cmdSCHLIESSEN_ = new QPushButton(QString::fromUtf8("Schließen"), this);
    cmdSCHLIESSEN_->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    cmdSCHLIESSEN_->setFont(arial(11.25, false));
    cmdSCHLIESSEN_->setDefault(true);
    connect(cmdSCHLIESSEN_, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addLayout(logos, 0, 0);
    grid->addLayout(lines, 0, 1);
    grid->addWidget(cmdSCHLIESSEN_, 1, 1, Qt::AlignRight);
    grid->setColumnMinimumWidth(1, 360);
    setLayout(grid);
}

void frmINFO::Form_Load(const RunContext &ctx, const QString &title, const QString &subtitle, const QString &release)
{
    // A failure while filling leaves the lines filled so far and still opens the window.
    try {
        clsADRESSE a(ctx);
        const QString creditsText = shortenedCredits(credits());
        lblADRESSE_[0]->setText(a.FIRMA1());
        lblADRESSE_[1]->setText(a.FIRMA2());
        lblADRESSE_[2]->setText(a.PLZ() + QStringLiteral(", ") + a.STR());
        lblADRESSE_[5]->setText(QStringLiteral("Fax: ") + a.FAX());
        lblADRESSE_[6]->setText(QStringLiteral("E-Mail: ") + a.EMAIL());
        lblADRESSE_[7]->setText(QStringLiteral("Internet: ") + a.URL());
        const bool english = ctx.SPRACHE() == 1;
        setWindowTitle((english ? QStringLiteral("Info of ") : QStringLiteral("Info zu ")) + QString::fromLatin1(PROGRAMMTITEL));
        lblADRESSE_[3]->setText(clsADRESSE::rolePrefix(english ? 1 : 3) + a.VORSITZ());
        lblADRESSE_[4]->setText((english ? QStringLiteral("Phone: ") : QStringLiteral("Telefon: ")) + a.TEL());
        lblINFO_[0]->setText(QString::fromLatin1(FAMILIENNAME));
        lblINFO_[1]->setText(title);
        lblINFO_[2]->setText(subtitle);
        lblINFO_[3]->setText(QStringLiteral("(") + QString::fromLatin1(PROGRAMMTITEL) + QStringLiteral(".exe)"));
        lblINFO_[4]->setText(release);
        lblINFO_[5]->setText(legalNotice());
        lblINFO_[6]->setText((english ? QStringLiteral("Program developed by: ") : QStringLiteral("Programmentwicklung: ")) + creditsText);
        lblINFO_[7]->setText(QString());
        if (english)
            cmdSCHLIESSEN_->setText(QStringLiteral("Done"));
    } catch (const VbError &e) {
        ui::MsgBox(QStringLiteral("VB-Error: ") + QString::number(e.number) + QLatin1Char('\n') + e.description,
                   ui::vbOKOnly | ui::vbExclamation, QString::fromLatin1(PROGRAMMTITEL));
    }
    lblINFO_[2]->setVisible(!subtitle.isEmpty());
}

} // namespace vnt
