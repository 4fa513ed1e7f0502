// Hands documents to the desktop's opener and starts programs detached; tests replace both.
#include "shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace vnt::shell {

namespace {

std::function<bool(const QString &)> &opener()
{
    static std::function<bool(const QString &)> f;
    return f;
}

std::function<bool(const QString &)> &starter()
{
    static std::function<bool(const QString &)> f;
    return f;
}

} // namespace

bool openDocument(const QString &path)
{
    if (opener())
        return opener()(path);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool startDetached(const QString &program)
{
    if (starter())
        return starter()(program);
    const QFileInfo info(program);
    if (program.isEmpty() || !info.isFile() || !info.isExecutable())
        return false;
    // Run from its own folder, as when the user starts it there.
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
}

void setOpener(std::function<bool(const QString &)> f)
{
    opener() = std::move(f);
}

void setStarter(std::function<bool(const QString &)> f)
{
    starter() = std::move(f);
}

} // namespace vnt::shell
