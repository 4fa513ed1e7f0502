// The vertical scroll bar that scrolls a table's body. The table object places it in the
// millimetres of its picture box, sets its range and reads its position; the page owns the
// real control and redraws the table when it moves. A plain state version serves tests and
// pages that keep no widget (the bar's position carries from the screen to the paper).
#pragma once

#include "platform/errors.h"

#include <QPointer>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vnt {

class TableScrollBar {
public:
    virtual ~TableScrollBar() = default;
    virtual int Value() const = 0;
    virtual void setValue(int v) = 0;
    virtual int Min() const = 0;
    virtual void setMin(int v) = 0;
    virtual int Max() const = 0;
    virtual void setMax(int v) = 0;
    virtual int LargeChange() const = 0;
    virtual void setLargeChange(int v) = 0;
    virtual int SmallChange() const = 0;
    virtual void setSmallChange(int v) = 0;
    // Visible as the program set it, whether or not its page is on screen yet.
    virtual bool Visible() const = 0;
    virtual void setVisible(bool v) = 0;
    // Place and size in millimetres on the picture box.
    virtual double Top() const = 0;
    virtual void setTop(double mm) = 0;
    virtual double Left() const = 0;
    virtual void setLeft(double mm) = 0;
    virtual double Width() const = 0;
    virtual void setWidth(double mm) = 0;
    virtual double Height() const = 0;
    virtual void setHeight(double mm) = 0;
};

class TableScrollBarState : public TableScrollBar {
public:
    int value = 0, min = 0, max = 32767, largeChange = 1, smallChange = 1;
    bool visible = true;
    double top = 0, left = 0, width = 0, height = 0;

    int Value() const override { return value; }
    void setValue(int v) override { value = v; }
    int Min() const override { return min; }
    void setMin(int v) override { min = v; }
    int Max() const override { return max; }
    void setMax(int v) override { max = v; }
    int LargeChange() const override { return largeChange; }
    void setLargeChange(int v) override { largeChange = v; }
    int SmallChange() const override { return smallChange; }
    void setSmallChange(int v) override { smallChange = v; }
    bool Visible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
    double Top() const override { return top; }
    void setTop(double mm) override { top = mm; }
    double Left() const override { return left; }
    void setLeft(double mm) override { left = mm; }
    double Width() const override { return width; }
    void setWidth(double mm) override { width = mm; }
    double Height() const override { return height; }
    void setHeight(double mm) override { height = mm; }
};

// A QScrollBar child of the picture box; `pixelsPerMm` is the box's resolution, so that the
// bar sits where the table's millimetres put it.
class QtTableScrollBar : public TableScrollBar {
public:
    // Only a vertical bar can scroll the body; anything else is a type mismatch.
    QtTableScrollBar(QScrollBar *bar, double pixelsPerMm) : bar_(bar), k_(pixelsPerMm)
    {
        if (!bar || bar->orientation() != Qt::Vertical || pixelsPerMm <= 0)
            raise(err::TypeMismatch);
    }

    int Value() const override { return bar_ ? bar_->value() : 0; }
    void setValue(int v) override { if (bar_) bar_->setValue(v); }
    int Min() const override { return bar_ ? bar_->minimum() : 0; }
    void setMin(int v) override { if (bar_) bar_->setMinimum(v); }
    int Max() const override { return bar_ ? bar_->maximum() : 0; }
    void setMax(int v) override { if (bar_) bar_->setMaximum(v); }
    int LargeChange() const override { return bar_ ? bar_->pageStep() : 0; }
    void setLargeChange(int v) override { if (bar_) bar_->setPageStep(v); }
    int SmallChange() const override { return bar_ ? bar_->singleStep() : 0; }
    void setSmallChange(int v) override { if (bar_) bar_->setSingleStep(v); }
    bool Visible() const override { return bar_ && !bar_->isHidden(); }
    void setVisible(bool v) override { if (bar_) bar_->setVisible(v); }
    double Top() const override { return bar_ ? bar_->y() / k_ : 0; }
    void setTop(double mm) override { if (bar_) bar_->move(bar_->x(), px(mm)); }
    double Left() const override { return bar_ ? bar_->x() / k_ : 0; }
    void setLeft(double mm) override { if (bar_) bar_->move(px(mm), bar_->y()); }
    double Width() const override { return bar_ ? bar_->width() / k_ : 0; }
    void setWidth(double mm) override { if (bar_) bar_->resize(px(mm), bar_->height()); }
    // The height as last set, not as rounded to pixels: the printed rows are measured with it.
    // It is kept on the control, since the page wraps the same bar anew for every drawing.
    double Height() const override
    {
        if (!bar_)
            return 0;
        const QVariant mm = bar_->property(kHeightMm);
        if (mm.isValid() && px(mm.toDouble()) == bar_->height())
            return mm.toDouble();
        return bar_->height() / k_;
    }
    void setHeight(double mm) override
    {
        if (!bar_)
            return;
        bar_->setProperty(kHeightMm, mm);
        bar_->resize(bar_->width(), std::max(px(mm), 0));
    }

private:
    int px(double mm) const { return int(std::lround(mm * k_)); }
    static constexpr const char *kHeightMm = "vantrelHeightMm";
    QPointer<QScrollBar> bar_;
    double k_;
};

} // namespace vnt
