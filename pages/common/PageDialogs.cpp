// The resize hook and the screen placement of the page dialogs.
#include "pages/common/PageDialogs.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace vnt {

namespace {

class ResizeHook : public QObject {
public:
    ResizeHook(QWidget &dialog, std::function<void()> f) : QObject(&dialog), dialog_(dialog), f_(std::move(f))
    {
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == &dialog_
            && (e->type() == QEvent::Show || (e->type() == QEvent::WindowStateChange && dialog_.isVisible())))
            f_();
        return false;
    }

private:
    QWidget &dialog_;
    std::function<void()> f_;
};

} // namespace

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

void callOnResize(QWidget &dialog, std::function<void()> Form_Resize)
{
    new ResizeHook(dialog, std::move(Form_Resize));
}

void placeOnScreen(QWidget &dialog, double widthFraction, double heightFraction)
{
    if (dialog.isMinimized())
        return;
    if (QScreen *screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        dialog.move(g.left() + qRound(widthFraction * g.width()), g.top() + qRound(heightFraction * g.height()));
    }
}

} // namespace vnt
