// Per-column list values of the grid component.
#include "grid/FlexValue.h"
#include "platform/errors.h"
#include <QStringList>
#include <limits>

namespace vnt {

FlexValue::FlexValue(int v)
{
    if (v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max())
        scalar_ = Variant(int16_t(v));
    else
        scalar_ = Variant(int32_t(v));
}

FlexValue FlexValue::missing()
{
    FlexValue f;
    f.missing_ = true;
    return f;
}

FlexValue FlexValue::list(std::initializer_list<FlexValue> entries)
{
    return list(QList<FlexValue>(entries));
}

FlexValue FlexValue::list(const QList<FlexValue> &entries)
{
    FlexValue f;
    f.array_ = std::make_shared<const QList<FlexValue>>(entries);
    return f;
}

FlexValue FlexValue::texts(const QStringList &entries)
{
    QList<FlexValue> l;
    for (const QString &s : entries)
        l.append(FlexValue(s));
    return list(l);
}

int FlexValue::ubound() const
{
    if (!array_)
        raise(err::TypeMismatch);
    return int(array_->size()) - 1;
}

const FlexValue &FlexValue::at(int i) const
{
    if (!array_)
        raise(err::TypeMismatch);
    if (i < 0 || i >= array_->size())
        raise(err::SubscriptOutOfRange);
    return (*array_)[i];
}

QString FlexValue::text() const
{
    if (array_)
        raise(err::TypeMismatch);
    if (missing_)
        return {};
    return scalar_.text();
}

double FlexValue::toDouble() const
{
    if (array_ || missing_)
        raise(err::TypeMismatch);
    return scalar_.toDouble();
}

int16_t FlexValue::toInt() const
{
    if (array_ || missing_)
        raise(err::TypeMismatch);
    return scalar_.toInt();
}

} // namespace vnt
