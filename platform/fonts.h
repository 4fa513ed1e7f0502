// The fonts the windows and figures were designed in, as the faces installed here stand for
// them: "Arial", "Times New Roman" and "Courier New" by their metric-compatible Liberation
// faces, so that texts keep the widths the layouts were made for.
#pragma once

#include <QString>

namespace vnt::fonts {

// The installed family for a font name that stored settings and drawings use (Arial, Times
// New Roman, Symbol); other names as they stand.
QString family(const QString &name);

// Gives every window the family the windows were designed in (Arial) at the toolkit's size,
// so that labels, buttons, grids and the status bar agree. Once, after the application is made.
void setWindowFont();

} // namespace vnt::fonts
