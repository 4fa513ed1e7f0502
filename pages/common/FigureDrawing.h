// One drawing of one figure, the way every figure procedure of every result page goes: the page
// is busy while it draws, every statement runs as a step under the figure's error box, the box
// is cleared and the drawing object made for screen or paper, the object bound to its target,
// and what was drawn on screen is shown at the end.
#pragma once

#include "data/WriteFailures.h"
#include "pages/common/ResultPage.h"
#include "platform/Guard.h"

#include <QString>
#include <functional>

namespace vnt {

class FigureDrawing {
public:
    // Opens the drawing of figure `figure` in the page's box `boxName` for target code OBJ
    // (0 the box, 1 the sheet at the box's place plus XDL, YDO millimetres, any other value the
    // previous object and target); its error box is titled "Bild <figure>".
    FigureDrawing(ResultPage &page, int figure, const QString &boxName, int OBJ, float XDL, float YDO);
    FigureDrawing(const FigureDrawing &) = delete;
    FigureDrawing &operator=(const FigureDrawing &) = delete;

    // Clears the box on screen (unless `clear` is false: a figure drawn into a box another one
    // has just cleared) and makes a new drawing object for OBJ 0 and 1; any other code keeps
    // the previous one. False once the figure's guard was left.
    bool begin(bool clear = true);
    // Binds the object to the box, or to the sheet at the box's place, with the record id.
    bool bindTarget();
    // One statement; `draw` for one that needs the object (error 91 without one).
    bool step(const std::function<void()> &f) { return guard.step(f); }
    bool draw(const std::function<void()> &f);
    // Shows on screen what the figure drew into its box.
    void finish();

    ResultPage &page;
    const int figure;
    const int OBJ;
    const float XDL, YDO;

private:
    // Made before the guard and ended after it: the page is busy until the figure's last step.
    ResultPage::DrawingScope busy_;
    // A figure drawn on its own tells a refused frame value once, not value by value.
    OneWriteFailureTold oneBox_;

public:
    Guard guard;
    PictureBox *const box;
    clsGRAFIK *g = nullptr;   // the drawing object after begin()
};

} // namespace vnt
