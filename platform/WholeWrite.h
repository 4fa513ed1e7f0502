// Writes that belong together land whole or not at all.
#pragma once

#include <functional>

namespace vnt {

class Guard;
namespace db {
class Connection;
}

// Runs write(0) to write(count - 1) as steps of `g` inside one transaction on `cnn`. It stops
// at the first write that returns false, raises, or shows a message box (the accessors report a
// refused value that way and go on), and commits only when every write went through; otherwise
// the transaction rolls back and no table keeps a part of it. True when committed.
bool writeWhole(Guard &g, db::Connection &cnn, int count, const std::function<bool(int)> &write);

} // namespace vnt
