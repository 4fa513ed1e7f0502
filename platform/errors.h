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
constexpr int NotAllowedInContext = 3219;    // e.g. moving back on a forward-only recordset
constexpr int NotUpdatable = 3251;           // a recordset over several tables or expressions
constexpr int ItemNotFound = 3265;           // a field name or position the recordset lacks
constexpr int NotAllowedWhenOpen = 3705;
constexpr int NotAllowedWhenClosed = 3704;
constexpr int InvalidConnection = 3709;      // a recordset opened on a missing or closed connection
constexpr int RowNotFound = -2147217864;     // the row to update was deleted by someone else
constexpr int DialogCancelled = 32755;
constexpr int DatabaseError = -2147467259;  // generic provider error (also: a missing database file)
// Database errors that callers may tell apart; every other failure of the engine is DatabaseError,
// always with the engine's own message as the description.
constexpr int SyntaxError = -2147217900;         // a statement the engine cannot read
constexpr int NoSuchTable = -2147217865;
constexpr int NoSuchColumn = -2147217904;
constexpr int IntegrityViolation = -2147217873;  // unique, not-null and check constraints
}

[[noreturn]] void raise(int number, const QString &description = {});
QString standardDescription(int number);

} // namespace vnt
