// The busy count and the commands kept until it falls back to zero.
#include "BusyScope.h"

#include <QCoreApplication>
#include <QTimer>
#include <vector>

namespace vnt {

namespace {

struct Kept {
    QPointer<QObject> context;
    std::function<void()> action;
};

int depth = 0;
std::vector<Kept> &kept()
{
    static std::vector<Kept> k;
    return k;
}

void runKept()
{
    // A procedure that started meanwhile keeps them waiting for its own end.
    if (depth > 0)
        return;
    std::vector<Kept> now;
    now.swap(kept());
    for (Kept &k : now)
        if (k.context)
            k.action();
}

} // namespace

BusyScope::BusyScope() { ++depth; }

BusyScope::~BusyScope()
{
    --depth;
    // Not from here: the procedure that was busy is still unwinding. The event loop runs
    // them once every caller has returned.
    if (depth == 0 && !kept().empty() && QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), &runKept);
}

bool BusyScope::active() { return depth > 0; }

bool BusyScope::later(QObject *context, std::function<void()> action)
{
    if (depth == 0)
        return false;
    kept().push_back({context, std::move(action)});
    return true;
}

} // namespace vnt
