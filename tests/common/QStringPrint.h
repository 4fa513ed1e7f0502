// Readable failure messages for texts: GoogleTest prints a QString as its quoted text.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
