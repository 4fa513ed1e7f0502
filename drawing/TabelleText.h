// Marked-up text output of the table and of the page header and footer: the font set that
// a font setting prepares (normal, Symbol, small, small Symbol) and the painter that walks a
// text's runs, switching fonts and shifting raised and lowered characters. The two classes
// differ only in two small habits, which the options carry.
#pragma once

#include "drawing/Surface.h"

#include <QString>
#include <array>
#include <optional>

namespace vnt {

class Guard;

// Slots 0 to 5: 0 the target's own font (taken again at every text output), 1 a copy of it,
// 2 normal, 3 Symbol, 4 small, 5 small Symbol.
class MarkupFonts {
public:
    // Rebuilds slots 1 to 5 from the target's font; slot 0 is left alone.
    void rebuild(const FontSpec &target);
    // A slot that was never built is filled with a default font when it is read.
    const FontSpec &slot(int i);
    void setBase(const FontSpec &f) { slots_[0] = f; }
    bool built(int i) const { return slots_[size_t(i)].has_value(); }
    void clear() { slots_ = {}; }

    // The small size: the size divided by 1.175, to a whole number with halves to even.
    static double smallSize(double size);

private:
    std::array<std::optional<FontSpec>, 6> slots_;
};

// Applies a font setting to the target: empty name Arial, size below 1 is 8, the three flags,
// the text colour (0 or below black); then rebuilds the markup fonts.
void applyFontSetting(Surface &target, MarkupFonts &fonts, const QString &name, int size, int bold,
                      int underline, int italic, qint64 color);

struct MarkupPainterOptions {
    bool greekShift = true;       // Greek runs raised by a tenth of the height of "g"
    bool printerCharShift = false; // on paper a character by code moves the rest of the text right
    // A group of an unknown code draws in the font of the part before it. The table walks a
    // text so that a (possibly empty) plain part lies between any two groups: there only a
    // group that opens the text keeps the target's own font, every later one the normal font.
    bool plainPartBetweenGroups = false;
};

// Draws `text` aligned on (x, y): arx 0 begins, 1 centred, 2 ends there; ary 0 top, 1 middle,
// 2 bottom. Each run is a step of `guard`, so a failing run reports and the rest goes on.
void paintMarkup(Surface &target, MarkupFonts &fonts, double x, double y, const QString &text, int arx, int ary,
                 const MarkupPainterOptions &opt, Guard &guard);

} // namespace vnt
