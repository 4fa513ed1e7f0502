// The page chooser of the result pages.
#include "frame/frmANZEIGEN.h"

#include "frame/PageCommands.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace vnt {

frmANZEIGEN::frmANZEIGEN(QMdiArea *area, QWidget *owner) : QDialog(owner), area_(area)
{
    setObjectName(QStringLiteral("frmANZEIGEN"));
    setWindowTitle(QStringLiteral("Anzeigen"));
    setModal(false);

    lblSEITEN_[0] = new QLabel(QStringLiteral("Vorhandene Seiten:"), this);
    lblSEITEN_[0]->setObjectName(QStringLiteral("lblSEITEN_0"));
    lblSEITEN_[1] = new QLabel(QStringLiteral("2"), this);
    lblSEITEN_[1]->setObjectName(QStringLiteral("lblSEITEN_1"));
    lblSEITE_ = new QLabel(QStringLiteral("Anzeigen: "), this);
    lblSEITE_->setObjectName(QStringLiteral("lblSEITE"));
    txtSEITE_ = new QLineEdit(this);
    txtSEITE_->setObjectName(QStringLiteral("txtSEITE"));
    txtSEITE_->setMaxLength(1);
    txtSEITE_->setFixedWidth(40);
    txtSEITE_->installEventFilter(this);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdABBRECHEN_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdABBRECHEN_->setObjectName(QStringLiteral("cmdABBRECHEN"));

    auto *grid = new QGridLayout;
    grid->addWidget(lblSEITEN_[0], 0, 0);
    grid->addWidget(lblSEITEN_[1], 0, 1);
    grid->addWidget(lblSEITE_, 1, 0);
    grid->addWidget(txtSEITE_, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdABBRECHEN_);
    auto *box = new QVBoxLayout(this);
    box->addLayout(grid);
    box->addWidget(line);
    box->addLayout(buttons);

    connect(cmdOK_, &QPushButton::clicked, this, &frmANZEIGEN::cmdOK_Click);
    connect(cmdABBRECHEN_, &QPushButton::clicked, this, &frmANZEIGEN::cmdABBRECHEN_Click);
    // Esc closes the chooser like its Abbrechen button.
    connect(this, &QDialog::rejected, this, &frmANZEIGEN::cmdABBRECHEN_Click);
}

void frmANZEIGEN::Form_Load()
{
    pages_.clear();
    const QList<QWidget *> pages = resultPages(area_);
    for (QWidget *p : pages)
        pages_.append(p);
    const int current = currentPageNumber(area_, pages);
    txtSEITE_->setText(current > 0 ? QString::number(current) : QString());
    lblSEITEN_[1]->setText(QString::number(pages_.size()));
}

void frmANZEIGEN::Form_Activate()
{
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(int(s.width() - 1.5 * width()), s.height() - 2 * height());
    }
    txtSEITE_->setFocus();
    txtSEITE_->setSelection(0, 1);
}

void frmANZEIGEN::txtSEITE_LostFocus()
{
    const QString text = txtSEITE_->text().trimmed();
    bool numeric = false;
    double value = QLocale().toDouble(text, &numeric);
    if (!numeric)
        value = text.toDouble(&numeric);
    long number = numeric ? std::lround(value) : 1;
    const long n = long(pages_.size());
    if (number >= n)
        number = n;
    if (number < 1)
        number = 1;
    txtSEITE_->setText(QString::number(number));
}

void frmANZEIGEN::cmdOK_Click()
{
    txtSEITE_LostFocus();
    const int k = txtSEITE_->text().toInt() - 1;
    QMdiSubWindow *chosen = nullptr;
    for (int i = 0; i < pages_.size(); ++i) {
        // A page closed while the chooser stayed open is not brought back.
        QMdiSubWindow *sub = pageFrame(pages_[i]);
        if (!sub || sub->mdiArea() != area_)
            continue;
        if (i == k) {
            activatePage(area_, sub);
            chosen = sub;
        } else {
            sub->hide();
        }
    }
    // Hiding the pages after the chosen one can hand the activation on; it stays with it.
    if (chosen && area_->currentSubWindow() != chosen)
        area_->setActiveSubWindow(chosen);
    close();
}

void frmANZEIGEN::cmdABBRECHEN_Click()
{
    close();
}

bool frmANZEIGEN::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

bool frmANZEIGEN::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == txtSEITE_ && e->type() == QEvent::FocusOut)
        txtSEITE_LostFocus();
    return QDialog::eventFilter(watched, e);
}

} // namespace vnt
