// While a window's procedure is still on the stack (a page loading or drawing, a command
// loading its pages), the commands that unload windows must wait: a quit or a close run from
// a nested event loop would release the objects that procedure goes on using. Such commands
// ask to run when idle; they run at once when nothing is busy, and otherwise from the event
// loop once the last busy procedure has returned.
//     if (BusyScope::later(this, [this] { mnuBEENDEN_Click(); }))
//         return;
#pragma once

#include <QPointer>
#include <functional>

class QObject;

namespace vnt {

class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    static bool active();
    // While something is busy: keeps `action` until it has returned, and answers true.
    // Otherwise answers false, and the caller goes on at once. A kept action is dropped
    // when `context` is gone by the time it would run.
    static bool later(QObject *context, std::function<void()> action);
};

} // namespace vnt
