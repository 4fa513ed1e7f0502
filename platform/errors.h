// Run-time errors with the numbers the program's error boxes show.
#pragma once

#include <QString>
#include <stdexcept>

namespace vnt {

struct VbError : std::runtime_error {
    int number;
    QString description;
    VbError(int n, const QString &d) : std::runtime_error(d.toStdString()), number(n), description(d) {}
};

// The numbers callers test for.
namespace err {
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyExists = 58;
constexpr int PermissionDenied = 70;
constexpr int PathNotFound = 76;
constexpr int InvalidUseOfNull = 94;
constexpr int InvalidPropertyValue = 380;
constexpr int NoCurrentRecord = 3021;
constexpr int DialogCancelled = 32755;
constexpr int DatabaseError = -2147467259;  // generic provider error
}

[[noreturn]] void raise(int number, const QString &description = {});
QString standardDescription(int number);

} // namespace vnt
