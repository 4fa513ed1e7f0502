// The OK and Abbrechen buttons of the page layout dialogs.
#include "OkCancelFrame.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

namespace vnt {

QGroupBox *okCancelFrame(QWidget *dialog, QPushButton *&cmdOK, QPushButton *&cmdABBRECHEN, bool apart)
{
    auto *frame = new QGroupBox(dialog);
    frame->setObjectName(QStringLiteral("fraSCHALTFLAECHEN"));
    cmdOK = new QPushButton(QStringLiteral("OK"), frame);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), frame);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdOK->setAutoDefault(false);
    cmdABBRECHEN->setAutoDefault(false);
    auto *row = new QHBoxLayout(frame);
    row->addWidget(cmdOK);
    if (apart)
        row->addStretch();
    row->addWidget(cmdABBRECHEN);
    return frame;
}

} // namespace vnt
