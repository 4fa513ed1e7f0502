// The run shared by the pages of a multiple evaluation.
#include "pages/multiple/MultipleRun.h"

#include "pages/multiple/AggregationDataStep.h"
#include "pages/multiple/MultiplePage.h"
#include "platform/ui.h"

namespace vnt {

void MultipleRun::join(MultiplePage *page)
{
    if (page && !pages().contains(page))
        pages_.append(page);
}

QList<MultiplePage *> MultipleRun::pages() const
{
    QList<MultiplePage *> out;
    for (const QPointer<MultiplePage> &p : pages_)
        if (p)
            out.append(p.data());
    return out;
}

void MultipleRun::noSectionFound()
{
    if (noSectionTold_)
        return;
    noSectionTold_ = true;
    ui::MsgBox(QStringLiteral("Achtung! Es wurde für keine der angegebenen\nKombinationen ein Abschnitt gefunden!\n"
                              "Die Auswertung wird daher abgebrochen."),
               ui::vbOKOnly, ui::programTitle());
}

void MultipleRun::keepUnstoredSums(const multiple::PageSums &sums)
{
    unstored_ = std::make_shared<const multiple::PageSums>(sums);
}

void MultipleRun::grossNetChanged(int16_t VZ, MultiplePage *from)
{
    for (MultiplePage *p : pages())
        if (p != from)
            p->grossNetChanged(VZ);
}

} // namespace vnt
