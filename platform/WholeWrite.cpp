#include "platform/WholeWrite.h"

#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/ui.h"

#include <optional>

namespace vnt {

bool writeWhole(Guard &g, db::Connection &cnn, int count, const std::function<bool(int)> &write)
{
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(cnn); });
    if (!unit)
        return false;
    ui::CountingBoxes boxes;
    bool complete = true;
    for (int i = 0; i < count && complete; ++i) {
        bool written = false;
        g.step([&] { written = write(i); });
        complete = written && boxes.shown() == 0 && !g.failed();
    }
    if (complete)
        g.step([&] { unit->commit(); });
    return complete && !g.failed() && boxes.shown() == 0;
}

} // namespace vnt
