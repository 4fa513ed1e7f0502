// Header and footer of a result page.
#include "drawing/clsKOPFFUSS.h"

#include "drawing/Markup.h"
#include "platform/Guard.h"
#include "platform/errors.h"

#include <QDateTime>
#include <algorithm>
#include <QPointer>
#include <QWidget>

namespace vnt {

Surface &clsKOPFFUSS::target() const
{
    if (!target_)
        raise(91);
    return *target_;
}

QString clsKOPFFUSS::fitted(const QString &text, double room) const
{
    const auto width = [this](const QString &s) { return target().textWidth(markup::measuringCopy(s)); };
    if (width(text) <= room)
        return text;
    const QString ellipsis(QChar(0x2026));
    for (qsizetype n = text.size() - 1; n > 0; --n) {
        const QString head = text.left(n);
        // A cut inside a group's header would print the header as text.
        const qsizetype open = head.lastIndexOf(QLatin1Char('{'));
        if (open > head.lastIndexOf(QLatin1Char('}')) && text.indexOf(QLatin1Char('}'), open) >= 0)
            continue;
        const QString cut = head.trimmed() + ellipsis;
        if (width(cut) <= room)
            return cut;
    }
    return ellipsis;
}

void clsKOPFFUSS::AUSGABEOBJEKT(Surface &RAHMENOBJEKT, Surface &EOBJEKT)
{
    Surface *frame = &RAHMENOBJEKT;
    AUSGABEOBJEKT([frame] { return frame->sizeMm(); }, EOBJEKT);
}

void clsKOPFFUSS::AUSGABEOBJEKT(const QWidget &RAHMENOBJEKT, Surface &EOBJEKT)
{
    const QPointer<const QWidget> frame(&RAHMENOBJEKT);
    Surface *t = &EOBJEKT;
    AUSGABEOBJEKT(
        [frame, t] {
            if (!frame)
                raise(91);
            return QSizeF(frame->width(), frame->height()) / t->pixelsPerMm();
        },
        EOBJEKT);
}

void clsKOPFFUSS::AUSGABEOBJEKT(std::function<QSizeF()> RAHMENOBJEKT, Surface &EOBJEKT)
{
    // Every surface measures in millimetres, so one target unit is one millimetre; the factors
    // stay so that the margins and the 9-mm record line are converted in one place.
    const QSizeF mm = EOBJEKT.sizeMm();
    if (mm.width() <= 0 || mm.height() <= 0)
        raise(err::DivisionByZero);
    frame_ = std::move(RAHMENOBJEKT);
    target_ = &EOBJEKT;
    mmprox_ = 1;
    mmproy_ = 1;
    margins_ = {15 / mmproy_, 15 / mmproy_, 15 / mmprox_, 15 / mmprox_};
    SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
}

void clsKOPFFUSS::KENNZEICHNUNG(const VariantList &list)
{
    if (list.isEmpty())
        raise(err::SubscriptOutOfRange);
    QStringList out;
    for (const Variant &v : list)
        out.append(v.toString());
    kennzeichnungen_ = out;
}

void clsKOPFFUSS::KENNZEICHNUNG(const Variant &v)
{
    kennzeichnungen_ = QStringList{v.toString()};
}

void clsKOPFFUSS::RANDABSTAND(const QString &LAGE, double value)
{
    if (mmprox_ == 0 || mmproy_ == 0)
        raise(err::DivisionByZero);
    if (LAGE == QLatin1String("oben"))
        margins_.top = value / mmproy_;
    else if (LAGE == QLatin1String("unten"))
        margins_.bottom = value / mmproy_;
    else if (LAGE == QLatin1String("links"))
        margins_.left = value / mmprox_;
    else if (LAGE == QLatin1String("rechts"))
        margins_.right = value / mmprox_;
    else
        margins_ = {value / mmproy_, value / mmproy_, value / mmprox_, value / mmprox_};
}

void clsKOPFFUSS::SCHRIFTEINSTELLUNGEN(const QString &SCHRIFTART, int SCHRIFTGROESSE, int FETT, int UNTERSTRICHEN,
                                       int KURSIV, qint64 FARBE)
{
    Guard g(QStringLiteral("VB-Fehler:"), QStringLiteral("Schrifteinstellungen"));
    g.step([&] { applyFontSetting(target(), fonts_, SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN, KURSIV, FARBE); });
}

void clsKOPFFUSS::TEXTAUSGABE(double X, double Y, const QString &TEXT, int ARX, int ARY)
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Sub TEXT, Klassenmodul clsGRAFIK"));
    Surface *t = nullptr;
    if (!g.step([&] { t = &target(); }) || !t)
        return;
    MarkupPainterOptions opt;
    opt.greekShift = false;
    opt.printerCharShift = true;
    paintMarkup(*t, fonts_, X, Y, TEXT, ARX, ARY, opt, g);
}

void clsKOPFFUSS::KOPFFUSSZEILE()
{
    Guard g(QStringLiteral("VB-Fehler: "), QStringLiteral("Kopffuß-Zeile"));

    double WF = 0, HF = 0;
    if (!g.step([&] {
            target();
            if (!frame_)
                raise(91);
            const QSizeF f = frame_();
            WF = f.width();
            HF = f.height();
        }))
        return;
    if (!drawHeader(g, WF))
        return;
    drawFooter(g, WF, HF);
}

bool clsKOPFFUSS::recordNames(Guard &g, double WF, QString &label, QString &ident)
{
    const Margins m = margins_;
    double room = 0;
    if (!g.step([&] { label = kennzeichnungen_.size() == 1 ? QStringLiteral("Datensatz") : QStringLiteral("Datensätze"); }))
        return false;
    if (!g.step([&] {
            FontSpec f = target().font();
            f.size = 10;
            target().setFont(f);
            room = WF - m.left - m.right - target().textWidth(label);
        }))
        return false;
    return g.step([&] {
        ident = kennzeichnungen_.value(0);
        for (int k = 1; k < kennzeichnungen_.size(); ++k) {
            const QString &next = kennzeichnungen_[k];
            if (target().textWidth(ident + next + QLatin1Char(',')) > room) {
                ident += QStringLiteral(", ...");
                break;
            }
            ident += QStringLiteral(", ") + next;
        }
    });
}

bool clsKOPFFUSS::drawHeader(Guard &g, double WF)
{
    const Margins m = margins_;
    QString label, ident;
    double h16 = 0, h10 = 0, xp = 0;
    if (!recordNames(g, WF, label, ident))
        return false;
    if (!g.step([&] {
            SCHRIFTEINSTELLUNGEN(QString(), 16, -1, 0, 0, 0);
            TEXTAUSGABE(m.left, m.top, ueberschrift_, 0, 0);
            h16 = target().textHeight(ueberschrift_);
        }))
        return false;
    const double recordY = m.top + 9 / mmproy_;
    if (!g.step([&] {
            SCHRIFTEINSTELLUNGEN(QString(), 10, 0, 0, 0, 0);
            if (!ident.isEmpty())
                TEXTAUSGABE(m.left, recordY, label + QLatin1Char(' ') + ident, 0, 0);
            h10 = target().textHeight(ident);
        }))
        return false;
    if (!g.step([&] { drawComment(WF, recordY + 1.5 * h10); }))
        return false;
    const double yr = m.top + h16 - h10;
    if (!g.step([&] {
            const QString project = QStringLiteral("Projekt ") + projekt_;
            xp = WF - m.right - target().textWidth(project);
            TEXTAUSGABE(xp, yr, project, 0, 0);
        }))
        return false;
    return g.step([&] {
        if (!ebokfs_)
            return;
        const QString page = QStringLiteral("Seite %1/%2").arg(seite_).arg(seitenanzahl_);
        TEXTAUSGABE(xp - target().textWidth(QString(15, QLatin1Char(' ')) + page), yr, page, 0, 0);
    });
}

void clsKOPFFUSS::drawComment(double WF, double y)
{
    if (kommentar_.isEmpty())
        return;
    // The comment has one line: below it the figures begin, so a long comment is cut
    // where the header's room ends rather than run over them or off the sheet.
    const Margins m = margins_;
    const double bottom = y + target().textHeight(kommentar_);
    double right = WF - m.right;
    for (const QRectF &a : clear_)
        if (a.top() < bottom && a.bottom() > y && a.left() > m.left && a.right() > m.left)
            right = std::min(right, a.left() - 1 / mmprox_);
    TEXTAUSGABE(m.left, y, fitted(kommentar_, right - m.left), 0, 0);
}

// Two lines per column, the second below the bottom margin line.
void clsKOPFFUSS::drawFooter(Guard &g, double WF, double HF)
{
    const Margins m = margins_;
    double yb = 0, h7 = 0;
    if (!g.step([&] {
            SCHRIFTEINSTELLUNGEN(QString(), 7, 0, 0, 0, 0);
            yb = HF - m.bottom;
            h7 = target().textHeight(programmierer_);
        }))
        return;
    if (!g.step([&] {
            const QString author = QStringLiteral("Programmentwicklung: ") + programmierer_;
            const double xc = WF - m.right - std::max(target().textWidth(copyright_), target().textWidth(author));
            TEXTAUSGABE(xc, yb, author, 0, 2);
            TEXTAUSGABE(xc, yb + h7, copyright_, 0, 2);
        }))
        return;
    if (!g.step([&] {
            const double xm = (WF + m.left - m.right) / 2;
            TEXTAUSGABE(xm, yb, Variant::date(datum_).toString(), 1, 2);
            TEXTAUSGABE(xm, yb + h7, fromDayCount(uhrzeit_).time().toString(QStringLiteral("HH:mm")), 1, 2);
        }))
        return;
    g.step([&] { TEXTAUSGABE(m.left, yb, QStringLiteral("Bearbeiter: ") + bearbeiter_, 0, 2); });
}

} // namespace vnt
