// What the dialogs of the result pages share: their OK/Abbrechen frame, the resize procedure
// that runs when they are shown and whenever their window state changes while shown (as the
// window system raised the resize event), a place measured from the screen's corner, and the
// options dialogs' way of being shown from a page.
#pragma once

#include "platform/RunContext.h"
#include "platform/ui.h"

#include <functional>

class QGroupBox;
class QPushButton;
class QWidget;

namespace vnt {

// Makes the frame "fraSCHALTFLAECHEN" with "cmdOK" and "cmdABBRECHEN" in the dialog. Enter moves
// on in these dialogs (to the next control, or ends a typed key), so neither button is a
// default. `apart` puts the two at the frame's ends rather than side by side.
QGroupBox *okCancelFrame(QWidget *dialog, QPushButton *&cmdOK, QPushButton *&cmdABBRECHEN, bool apart);

// A page's options dialog: modal over the main window; the page redraws afterwards, however
// the dialog was closed, since the dialog hands its result over through the tables.
template <class Dialog>
void showThenRedraw(RunContext &ctx, const std::function<void()> &NEUZEICHNEN)
{
    {
        Dialog dlg(ctx, ctx.mainWidget());
        ui::showModal(dlg);
    }
    if (NEUZEICHNEN)
        NEUZEICHNEN();
}

// Runs `Form_Resize` on every show and every change of window state while the dialog is shown.
void callOnResize(QWidget &dialog, std::function<void()> Form_Resize);

// Unless minimised, moves the dialog to the given fractions of its screen's width and height.
void placeOnScreen(QWidget &dialog, double widthFraction, double heightFraction);

} // namespace vnt
