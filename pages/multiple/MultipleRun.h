// One run of the multiple evaluation: what the pages of its chain share beyond the tables.
// Page 1 makes it at its load and hands it to every page it loads; each page joins it, so
// that a choice made on one page reaches the others, and a note is given once per run.
#pragma once

#include <QList>
#include <QPointer>
#include <cstdint>

namespace vnt {

class MultiplePage;

class MultipleRun {
public:
    void join(MultiplePage *page);
    // The pages of the chain in loading order, those still loaded.
    QList<MultiplePage *> pages() const;

    // "No section fitted any combination": every page that finds it would say so; the user
    // hears it once per run.
    void noSectionFound();
    bool noSectionTold() const { return noSectionTold_; }

    // The gross/net choice was stored: every page but the one that made it takes it over.
    void grossNetChanged(int16_t VZ, MultiplePage *from);

private:
    QList<QPointer<MultiplePage>> pages_;
    bool noSectionTold_ = false;
};

} // namespace vnt
