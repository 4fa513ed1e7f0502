// Marked-up text output shared by the table and the page header and footer.
#include "drawing/TabelleText.h"

#include "drawing/Markup.h"
#include "platform/Guard.h"
#include "platform/NumberFormat.h"

namespace vnt {

double MarkupFonts::smallSize(double size)
{
    return RoundHalfEven(size / 1.175);
}

void MarkupFonts::rebuild(const FontSpec &target)
{
    for (int i = 1; i <= 5; ++i) {
        FontSpec f;
        f.bold = target.bold;
        f.italic = target.italic;
        f.strikethrough = target.strikethrough;
        f.underline = target.underline;
        f.weight = target.weight;
        f.name = (i == 3 || i == 5) ? QStringLiteral("Symbol") : target.name;
        f.size = (i == 4 || i == 5) ? smallSize(target.size) : target.size;
        slots_[size_t(i)] = f;
    }
}

const FontSpec &MarkupFonts::slot(int i)
{
    auto &s = slots_[size_t(i)];
    if (!s)
        s = FontSpec{};
    return *s;
}

void applyFontSetting(Surface &target, MarkupFonts &fonts, const QString &name, int size, int bold,
                      int underline, int italic, qint64 color)
{
    FontSpec f = target.font();
    f.name = name.isEmpty() ? QStringLiteral("Arial") : name;
    f.size = size > 0 ? size : 8;
    f.setBold(bold != 0);
    f.italic = italic != 0;
    f.underline = underline != 0;
    target.setFont(f);
    target.setForeColor(color > 0 ? vbColor(color) : QColor(Qt::black));
    fonts.rebuild(f);
}

void paintMarkup(Surface &target, MarkupFonts &fonts, double x, double y, const QString &text, int arx, int ary,
                 const MarkupPainterOptions &opt, Guard &guard)
{
    const FontSpec base = target.font();
    fonts.setBase(base);

    markup::Options mo;
    mo.symbolCode = false;
    const QString measured = markup::measuringCopy(text, mo);
    const double w = target.textWidth(measured);
    const double h = target.textHeight(measured);
    double xa = x;
    double ya = y;
    if (arx == 1) xa -= w / 2;
    else if (arx == 2) xa -= w;
    if (ary == 1) ya -= h / 2;
    else if (ary == 2) ya -= h;

    int previous = 0;
    bool first = true;
    for (const markup::Run &run : markup::tokenize(text, mo)) {
        if (opt.plainPartBetweenGroups && !first)
            previous = 2;
        first = false;
        const int slot = markup::fontSlot(run.kind, previous);
        previous = slot;
        const bool goOn = guard.step([&] {
            FontSpec font = slot == 0 ? base : fonts.slot(slot);
            font.stretch = base.stretch;   // a text drawn narrower is narrower in every run
            target.setFont(font);
            double shift = 0;
            if (run.kind == markup::RunKind::Greek) {
                if (opt.greekShift)
                    shift = 0.1 * target.textHeight(QStringLiteral("g"));
            } else {
                shift = markup::shiftFactor(run.kind) * target.textHeight(run.text);
            }
            if (run.kind == markup::RunKind::Char && opt.printerCharShift && target.isPrinter())
                xa += 0.35 * target.textHeight(run.text);
            target.setCurrent(xa, ya - shift);
            target.print(run.text);
            const double advance = target.textWidth(run.text);
            target.setFont(base);
            xa += advance;
        });
        if (!goOn)
            break;
    }
    target.setFont(base);
}

} // namespace vnt
