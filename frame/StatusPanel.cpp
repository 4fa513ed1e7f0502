// Status bar panel: the bevel is the frame shape, so pressed and raised look as buttons do.
#include "StatusPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>

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

void StatusPanel::setContentSizing(int minimumWidth, bool yields)
{
    contentSized_ = true;
    yields_ = yields;
    minimumWidth_ = minimumWidth;
    updateGeometry();
}

void StatusPanel::setSpringSizing(int minimumWidth)
{
    spring_ = true;
    setMinimumWidth(minimumWidth);
}

int StatusPanel::textWidth() const
{
    const int frameAndMargins = width() - contentsRect().width();
    return fontMetrics().horizontalAdvance(text()) + frameAndMargins;
}

QSize StatusPanel::sizeHint() const
{
    QSize s = QLabel::sizeHint();
    if (contentSized_)
        s.setWidth(std::max(minimumWidth_, textWidth()));
    return s;
}

QSize StatusPanel::minimumSizeHint() const
{
    QSize s = QLabel::minimumSizeHint();
    if (contentSized_)
        s.setWidth(minimumWidth_);
    return s;
}

QString StatusPanel::shownText() const
{
    const QString full = text();
    const QFontMetrics fm = fontMetrics();
    const int room = contentsRect().width();
    if (fm.horizontalAdvance(full) <= room)
        return full;
    if (shortening_ == KeepStart)
        return fm.elidedText(full, Qt::ElideRight, room);

    // A path gives up whole leading folders first, as its shortened form already does.
    const QString marker = QStringLiteral(" ... ");
    const QString path = full.startsWith(marker) ? full.mid(marker.size()) : full;
    for (qsizetype cut = path.indexOf(QLatin1Char('/'), 1); cut > 0; cut = path.indexOf(QLatin1Char('/'), cut + 1)) {
        const QString tail = marker + path.mid(cut);
        if (cut + 1 < path.size() && fm.horizontalAdvance(tail) <= room)
            return tail;
    }
    return fm.elidedText(path, Qt::ElideLeft, room);
}

void StatusPanel::paintEvent(QPaintEvent *)
{
    // Drawn here rather than by the label, so that a text too long for the panel is shortened
    // instead of cut off at the panel's edges.
    QPainter p(this);
    drawFrame(&p);
    style()->drawItemText(&p, contentsRect(), int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

void StatusPanel::mousePressEvent(QMouseEvent *e)
{
    pressed_ = true;
    QWidget *bar = parentWidget();
    while (bar && !qobject_cast<QStatusBar *>(bar))
        bar = bar->parentWidget();
    const QPoint inBar = bar ? mapTo(bar, e->position().toPoint()) : e->position().toPoint();
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

// ---------------------------------------------------------------- layout

StatusPanelLayout::StatusPanelLayout(QWidget *parent)
    : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(2);
}

StatusPanelLayout::~StatusPanelLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void StatusPanelLayout::addItem(QLayoutItem *item)
{
    items_.append(item);
}

QLayoutItem *StatusPanelLayout::takeAt(int i)
{
    return i >= 0 && i < items_.size() ? items_.takeAt(i) : nullptr;
}

QList<QLayoutItem *> StatusPanelLayout::shownItems() const
{
    QList<QLayoutItem *> out;
    for (QLayoutItem *item : items_)
        if (!item->isEmpty())
            out << item;
    return out;
}

QSize StatusPanelLayout::sizeHint() const
{
    const QList<QLayoutItem *> shown = shownItems();
    int w = 0, h = 0;
    for (QLayoutItem *item : shown) {
        w += item->sizeHint().width();
        h = std::max(h, item->sizeHint().height());
    }
    return QSize(w + spacing() * std::max<int>(0, shown.size() - 1), h);
}

QSize StatusPanelLayout::minimumSize() const
{
    const QList<QLayoutItem *> shown = shownItems();
    int w = 0, h = 0;
    for (QLayoutItem *item : shown) {
        w += item->minimumSize().width();
        h = std::max(h, item->minimumSize().height());
    }
    return QSize(w + spacing() * std::max<int>(0, shown.size() - 1), h);
}

void StatusPanelLayout::setGeometry(const QRect &r)
{
    QLayout::setGeometry(r);
    const QList<QLayoutItem *> shown = shownItems();
    if (shown.isEmpty())
        return;
    auto panelOf = [](QLayoutItem *item) { return qobject_cast<StatusPanel *>(item->widget()); };
    QList<int> widths, least;
    int total = 0;
    for (QLayoutItem *item : shown) {
        widths << item->sizeHint().width();
        least << std::min(item->minimumSize().width(), widths.last());
        total += widths.last();
    }
    int over = total + spacing() * int(shown.size() - 1) - r.width();

    if (over < 0) {
        for (int k = 0; k < shown.size(); ++k)
            if (StatusPanel *p = panelOf(shown[k]); p && p->isSpring()) {
                widths[k] -= over;
                break;
            }
    }
    // Short of room: the yielding panels first, then the others in proportion to what each
    // can spare down to its minimum.
    for (bool yielding : {true, false}) {
        if (over <= 0)
            break;
        int spare = 0;
        for (int k = 0; k < shown.size(); ++k)
            if (StatusPanel *p = panelOf(shown[k]); p && p->yields() == yielding)
                spare += widths[k] - least[k];
        if (spare <= 0)
            continue;
        const int take = std::min(over, spare);
        int taken = 0, seen = 0;
        for (int k = 0; k < shown.size(); ++k) {
            StatusPanel *p = panelOf(shown[k]);
            if (!p || p->yields() != yielding)
                continue;
            seen += widths[k] - least[k];
            const int upTo = int(qint64(take) * seen / spare);   // rounds without losing a pixel
            widths[k] -= upTo - taken;
            taken = upTo;
        }
        over -= take;
    }

    int x = r.x();
    for (int k = 0; k < shown.size(); ++k) {
        shown[k]->setGeometry(QRect(x, r.y(), widths[k], r.height()));
        x += widths[k] + spacing();
    }
}

} // namespace vnt
