// The scope that tells a refused write once.
#include "data/WriteFailures.h"

#include <QHash>

namespace vnt {

namespace {

// Boxes and drawings run on the window thread only.
int depth = 0;
bool told = false;

} // namespace

OneWriteFailureTold::OneWriteFailureTold()
{
    if (depth++ == 0)
        told = false;
}

OneWriteFailureTold::~OneWriteFailureTold() { --depth; }

bool OneWriteFailureTold::tell()
{
    if (depth == 0)
        return true;
    if (told)
        return false;
    told = true;
    return true;
}

namespace refused_values {

namespace {
QHash<QString, Variant> &store()
{
    static QHash<QString, Variant> values;
    return values;
}
} // namespace

void keep(const QString &selection, const Variant &value) { store().insert(selection, value); }

void forget(const QString &selection) { store().remove(selection); }

const Variant *kept(const QString &selection)
{
    const auto it = store().constFind(selection);
    return it == store().constEnd() ? nullptr : &it.value();
}

bool any() { return !store().isEmpty(); }

} // namespace refused_values

} // namespace vnt
