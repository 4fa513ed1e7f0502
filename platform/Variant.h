// The value that moves between the databases, the controls and the program's variables.
// Empty and Null stay apart: Empty is "never set", Null is "the database holds no value".
#pragma once

#include <QString>
#include <cstdint>
#include <iosfwd>
#include <variant>

class QDateTime;

namespace vnt {

enum class VarType { Empty, Null, Boolean, Integer, Long, Single, Double, Date, String };

class Variant {
public:
    Variant() = default;                       // Empty
    static Variant null();
    Variant(bool b);
    Variant(int16_t i);
    Variant(int32_t l);
    Variant(float s);
    Variant(double d);
    Variant(const QString &s);
    Variant(const char *s);
    static Variant date(double daysSince18991230);
    static Variant fromLongLong(long long v);  // Long when it fits, else Double

    VarType type() const { return type_; }
    bool isEmpty() const { return type_ == VarType::Empty; }
    bool isNull() const { return type_ == VarType::Null; }
    bool isNumeric() const;                    // Boolean, Integer, Long, Single, Double, Date

    // Conversions the callers rely on. Each raises VbError 13 (type mismatch) where the
    // value cannot be read as the type, and 6 (overflow) where it does not fit.
    // Texts are read as numbers with the locale's decimal sign (sys::locale()).
    // Empty converts to 0 / "" / False; Null raises 94 (invalid use of Null).
    bool toBool() const;
    int16_t toInt() const;      // rounds half to even, so stored values convert as they always have
    int32_t toLong() const;
    float toSingle() const;
    double toDouble() const;
    double toDate() const;      // day count; texts by the short date (and time) format
    QString toString() const;   // numbers with the locale's decimal sign; Boolean "True"/"False" ("Wahr"/"Falsch" in German); Null raises 94

    // Text for a value joined into a message: Null and Empty give "", so a missing value leaves no word.
    QString text() const;

    // Same kind and value: numbers (Boolean and Date included) compare by value, texts exactly,
    // Empty and Null only with themselves.
    bool operator==(const Variant &o) const;

private:
    VarType type_ = VarType::Empty;
    std::variant<std::monostate, bool, int16_t, int32_t, float, double, QString> v_;
};

// Type and value, for test failure messages.
void PrintTo(const Variant &v, std::ostream *os);

// Day count <-> date and time, days since 1899-12-30.
double toDayCount(const QDateTime &dt);
QDateTime fromDayCount(double days);

} // namespace vnt
