// Guarded record steps that several of the accessor's members share.
#pragma once

#include "platform/Guard.h"
#include "platform/db/Database.h"

namespace vnt {

// Deletes the selection's rows from the current one (from the first with fromFirst) to the end
// and closes it. Each delete and move is a step of its own, so that OK on an error box goes on
// with the next row and Cancel stops. False when the procedure was left.
inline bool deleteRestAndClose(Guard &g, db::Recordset &rs, bool fromFirst)
{
    if (fromFirst)
        g.step([&] {
            if (!rs.isEOF())
                rs.MoveFirst();
        });
    bool more = false;
    g.step([&] { more = !rs.isEOF(); });
    while (more && !g.left()) {
        g.step([&] { rs.Delete(); });
        g.step([&] { rs.MoveNext(); });
        more = false;
        g.step([&] { more = !rs.isEOF(); });
    }
    g.always([&] { rs.Close(); });
    return !g.left();
}

} // namespace vnt
