// One panel of the main window's status bar: a text with a tooltip, flat or raised like a
// button, pressed in while its command runs.
#pragma once

#include <QLabel>

namespace vnt {

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    enum Bevel { NoBevel, Raised, Inset };

    StatusPanel(int index, QWidget *parent = nullptr);
    int Index() const { return index_; }
    Bevel bevel() const { return bevel_; }
    void setBevel(Bevel b);

signals:
    void mouseDown(int x);     // in the status bar's coordinates
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    int index_;
    Bevel bevel_ = NoBevel;
    bool pressed_ = false;
};

} // namespace vnt
