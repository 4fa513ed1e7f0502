// Run-time errors: the numbers and texts that the program's error boxes show.
#include "errors.h"

#include <QHash>

namespace vnt {

QString standardDescription(int number)
{
    // The texts users know next to these numbers; callers and tests compare some of them,
    // so they stay word for word.
    static const QHash<int, QString> texts = {
        {3, QStringLiteral("Return without GoSub")},
        {5, QStringLiteral("Invalid procedure call or argument")},
        {err::Overflow, QStringLiteral("Overflow")},
        {err::OutOfMemory, QStringLiteral("Out of memory")},
        {err::SubscriptOutOfRange, QStringLiteral("Subscript out of range")},
        {10, QStringLiteral("This array is fixed or temporarily locked")},
        {err::DivisionByZero, QStringLiteral("Division by zero")},
        {err::TypeMismatch, QStringLiteral("Type mismatch")},
        {28, QStringLiteral("Out of stack space")},
        {52, QStringLiteral("Bad file name or number")},
        {err::FileNotFound, QStringLiteral("File not found")},
        {54, QStringLiteral("Bad file mode")},
        {55, QStringLiteral("File already open")},
        {57, QStringLiteral("Device I/O error")},
        {err::FileAlreadyExists, QStringLiteral("File already exists")},
        {61, QStringLiteral("Disk full")},
        {62, QStringLiteral("Input past end of file")},
        {67, QStringLiteral("Too many files")},
        {68, QStringLiteral("Device unavailable")},
        {err::PermissionDenied, QStringLiteral("Permission denied")},
        {71, QStringLiteral("Disk not ready")},
        {74, QStringLiteral("Can't rename with different drive")},
        {75, QStringLiteral("Path/File access error")},
        {err::PathNotFound, QStringLiteral("Path not found")},
        {91, QStringLiteral("Object variable or With block variable not set")},
        {err::InvalidUseOfNull, QStringLiteral("Invalid use of Null")},
        {err::InvalidPropertyValue, QStringLiteral("Invalid property value")},
        {424, QStringLiteral("Object required")},
        {438, QStringLiteral("Object doesn't support this property or method")},
        {482, QStringLiteral("Printer error")},
        {err::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                              "Requested operation requires a current record.")},
        {err::NotAllowedWhenOpen, QStringLiteral("Operation is not allowed when the object is open.")},
        {err::NotAllowedWhenClosed, QStringLiteral("Operation is not allowed when the object is closed.")},
        {err::InvalidConnection, QStringLiteral("The connection cannot be used to perform this operation. It is "
                                                "either closed or invalid in this context.")},
        {err::RowNotFound, QStringLiteral("Row cannot be located for updating. Some values may have been "
                                          "changed since it was last read.")},
        {err::NotAllowedInContext, QStringLiteral("Operation is not allowed in this context.")},
        {err::NotUpdatable, QStringLiteral("Current Recordset does not support updating. This may be a limitation "
                                           "of the provider, or of the selected locktype.")},
        {err::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the "
                                           "requested name or ordinal.")},
        {err::DialogCancelled, QStringLiteral("Cancel was selected.")},
    };
    const auto it = texts.constFind(number);
    return it != texts.constEnd() ? *it : QStringLiteral("Application-defined or object-defined error");
}

void raise(int number, const QString &description)
{
    throw VbError(number, description.isEmpty() ? standardDescription(number) : description);
}

} // namespace vnt
