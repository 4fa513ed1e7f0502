// The OK and Abbrechen buttons of the page layout dialogs, in their frame.
#pragma once

class QGroupBox;
class QPushButton;
class QWidget;

namespace vnt {

// Makes the frame "fraSCHALTFLAECHEN" with "cmdOK" and "cmdABBRECHEN" in the dialog. Enter moves
// on in these dialogs (to the next control, or ends a typed key), so neither button is a
// default. `apart` puts the two at the frame's ends rather than side by side.
QGroupBox *okCancelFrame(QWidget *dialog, QPushButton *&cmdOK, QPushButton *&cmdABBRECHEN, bool apart);

} // namespace vnt
