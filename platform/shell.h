// Opening documents with the desktop's opener, and starting the family's frame program.
#pragma once

#include <QString>
#include <functional>

namespace vnt::shell {

// Opens a file with the desktop's opener. Returns false when it could not be handed over.
bool openDocument(const QString &path);
// Starts a program detached; false when it does not exist or could not start.
bool startDetached(const QString &program);

// Tests replace the opener and starter to see what would have been opened.
void setOpener(std::function<bool(const QString &)> opener);
void setStarter(std::function<bool(const QString &)> starter);

} // namespace vnt::shell
