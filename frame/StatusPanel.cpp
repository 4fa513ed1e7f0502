// Status bar panel: the bevel is the frame shape, so pressed and raised look as buttons do.
#include "StatusPanel.h"

#include <QMouseEvent>

namespace vnt {

StatusPanel::StatusPanel(int index, QWidget *parent)
    : QLabel(parent), index_(index)
{
    setObjectName(QStringLiteral("stbMAIN_Panel%1").arg(index));
    setBevel(NoBevel);
}

void StatusPanel::setBevel(Bevel b)
{
    bevel_ = b;
    switch (b) {
    case NoBevel: setFrameStyle(QFrame::NoFrame); break;
    case Raised: setFrameStyle(QFrame::Panel | QFrame::Raised); setLineWidth(2); break;
    case Inset: setFrameStyle(QFrame::Panel | QFrame::Sunken); setLineWidth(2); break;
    }
}

void StatusPanel::mousePressEvent(QMouseEvent *e)
{
    pressed_ = true;
    const QPoint inBar = parentWidget() ? mapTo(parentWidget(), e->position().toPoint()) : e->position().toPoint();
    emit mouseDown(inBar.x());
    e->accept();
}

void StatusPanel::mouseReleaseEvent(QMouseEvent *e)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    e->accept();
    if (wasPressed && rect().contains(e->position().toPoint()))
        emit clicked(index_);
}

} // namespace vnt
