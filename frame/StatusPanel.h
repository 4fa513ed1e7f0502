// One panel of the main window's status bar: a text with a tooltip, flat or raised like a
// button, pressed in while its command runs.
#pragma once

#include <QLabel>
#include <QLayout>

namespace vnt {

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    enum Bevel { NoBevel, Raised, Inset };
    // What a text that does not fit the panel keeps: its start (names), or its end (a path,
    // shortened by whole folders behind " ... ").
    enum Shortening { KeepStart, KeepEnd };

    StatusPanel(int index, QWidget *parent = nullptr);
    int Index() const { return index_; }
    Bevel bevel() const { return bevel_; }
    void setBevel(Bevel b);

    // The panel asks for the width of its text, never less than minimumWidth, and gives up room
    // down to minimumWidth when the bar is short of it: a yielding panel before the others.
    void setContentSizing(int minimumWidth, bool yields);
    // The panel takes the room that the other panels leave, never less than minimumWidth.
    void setSpringSizing(int minimumWidth);
    bool yields() const { return yields_; }
    bool isSpring() const { return spring_; }
    void setShortening(Shortening s) { shortening_ = s; update(); }
    QString shownText() const;   // the text as the panel's width lets it be drawn

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void mouseDown(int x);     // in the status bar's coordinates
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    int textWidth() const;   // the panel's width that shows its whole text

    int index_;
    Bevel bevel_ = NoBevel;
    bool pressed_ = false;
    bool contentSized_ = false;
    bool yields_ = false;
    bool spring_ = false;
    int minimumWidth_ = 0;
    Shortening shortening_ = KeepStart;
};

// Lays the status panels side by side in their order, a small gap apart. When the bar is short
// of room the yielding panel gives way first, then the other panels sized by their text, each
// down to its minimum; room to spare goes to the spring panel. Panels of fixed width keep it.
class StatusPanelLayout : public QLayout {
public:
    explicit StatusPanelLayout(QWidget *parent);
    ~StatusPanelLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem *itemAt(int i) const override { return items_.value(i); }
    QLayoutItem *takeAt(int i) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &r) override;

private:
    QList<QLayoutItem *> shownItems() const;
    QList<QLayoutItem *> items_;
};

} // namespace vnt
