// The value a grid's per-column list, numbering setting or matrix is given as: empty, one
// scalar, or an array whose entries may be left out ("missing"), which is not the same as empty.
#pragma once

#include "platform/Variant.h"
#include <QList>
#include <initializer_list>
#include <memory>

namespace vnt {

class FlexValue {
public:
    FlexValue() = default;                                  // empty
    FlexValue(const Variant &v) : scalar_(v) {}
    FlexValue(int v);                                       // 16-bit integer when it fits, as a literal would be
    FlexValue(double v) : scalar_(v) {}
    FlexValue(const char *s) : scalar_(QString::fromUtf8(s)) {}
    FlexValue(const QString &s) : scalar_(s) {}

    static FlexValue missing();
    static FlexValue list(std::initializer_list<FlexValue> entries);
    static FlexValue list(const QList<FlexValue> &entries);
    static FlexValue texts(const QStringList &entries);

    bool isArray() const { return array_ != nullptr; }
    bool isMissing() const { return missing_; }
    bool isEmpty() const { return !array_ && !missing_ && scalar_.isEmpty(); }
    const Variant &scalar() const { return scalar_; }

    // Upper bound of an array (-1 for an empty array); raises 13 when this is no array.
    int ubound() const;
    // Entry i of an array; raises 9 when out of range and 13 when this is no array.
    const FlexValue &at(int i) const;

    // The entry read as the program read it: text (missing and empty give ""), number (empty gives 0).
    QString text() const;
    double toDouble() const;
    int16_t toInt() const;

private:
    Variant scalar_;
    bool missing_ = false;
    std::shared_ptr<const QList<FlexValue>> array_;
};

} // namespace vnt
