// One run of the multiple evaluation: what the pages of its chain share beyond the tables.
// Page 1 makes it at its load and hands it to every page it loads; each page joins it, so
// that a choice made on one page reaches the others, and a note is given once per run.
#pragma once

#include <QList>
#include <QPointer>
#include <cstdint>
#include <memory>

namespace vnt {

namespace multiple {
struct PageSums;
}

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

    // Page 1's data step could not store this run's sums (a read or the write failed, and the
    // user was told): what the run has instead, the sums and statistics computed in memory,
    // or none at all.
    // The pages after it show this rather than the tables, which then hold an earlier run.
    void keepUnstoredSums(const multiple::PageSums &sums);
    const multiple::PageSums *unstoredSums() const { return unstored_.get(); }

private:
    QList<QPointer<MultiplePage>> pages_;
    bool noSectionTold_ = false;
    std::shared_ptr<const multiple::PageSums> unstored_;
};

} // namespace vnt
