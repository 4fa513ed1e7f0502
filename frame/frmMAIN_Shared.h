// What the source files of the main window share: the prefix of its error boxes, the program's
// title, the journal companions of a database file and the clean-up of what a killed run left.
#pragma once

#include "frame/FrameRules.h"

#include <QString>
#include <QStringList>

namespace vnt::frmmain_shared {

inline const QString kErrorPrefix = QStringLiteral("VB-Error: ");
inline QString title() { return QString::fromLatin1(PROGRAMMTITEL); }
inline QString u(const char *s) { return QString::fromUtf8(s); }

inline const char *const kCompanions[] = {"-journal", "-wal", "-shm"};

// The window's normal size when the start-up gave it the whole screen (a QSize property): a
// restore to it is put back inside the screen once a window manager's frame is around it.
inline const char *const kScreenFillingSize = "vantrelScreenFillingSize";

// What only a killed run leaves behind: the compaction file with its journals and the scratch
// files of copies to the working and the project database. No later run needs any of them.
void removeScratchFiles(const QString &working, const QString &project);
// Journals a killed run left beside these databases that no open would ever play back.
void removeColdJournals(const QStringList &databases);

} // namespace vnt::frmmain_shared
