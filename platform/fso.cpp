// File operations over std::filesystem, failing with the run-time error numbers that the
// callers' error boxes show. Paths are separated by "/".
#include "fso.h"
#include "errors.h"

#include <QFile>
#include <filesystem>
#include <system_error>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vnt {

namespace {

constexpr int DiskFull = 61;
constexpr int PathFileAccessError = 75;

[[noreturn]] void fail(int number)
{
    switch (number) {
    case err::FileNotFound:
    case err::FileAlreadyExists:
    case DiskFull:
    case err::PermissionDenied:
    case err::PathNotFound: raise(number);
    default: raise(PathFileAccessError);
    }
}

// Errors of the system that the operation could not avoid by its own checks.
[[noreturn]] void failWith(const std::error_code &ec, int notFound = err::PathNotFound)
{
    switch (ec.value()) {
    case ENOENT: fail(notFound);
    case ENOTDIR: fail(err::PathNotFound);
    case EEXIST: fail(err::FileAlreadyExists);
    case ENOSPC:
    case EDQUOT: fail(DiskFull);
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
    case EISDIR: fail(err::PermissionDenied);
    default: fail(PathFileAccessError);
    }
}

fs::path toPath(const QString &p)
{
    return fs::path(QFile::encodeName(p).toStdString());
}

// A path with its trailing separators removed, the root itself excepted.
QString trimmed(const QString &path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString lastComponent(const QString &path)
{
    const QString p = trimmed(path);
    if (p == QLatin1String("/"))
        return {};
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isDir(const fs::path &p)
{
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool present(const fs::path &p)
{
    std::error_code ec;
    return fs::exists(p, ec);
}

bool isFile(const fs::path &p)
{
    std::error_code ec;
    return fs::exists(p, ec) && !fs::is_directory(p, ec);
}

// The folder a new entry at p would go into must exist.
void requireParent(const fs::path &p)
{
    fs::path parent = p.parent_path();
    if (parent.empty())
        parent = fs::current_path();
    if (!isDir(parent))
        fail(err::PathNotFound);
}

// Callers rely on a read-only file being refused for overwriting or deletion unless forced;
// on Linux the closest thing to that attribute is a file nobody may write.
bool readOnly(const fs::path &p)
{
    std::error_code ec;
    const fs::perms perms = fs::status(p, ec).permissions();
    if (ec)
        return false;
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (perms & writable) == fs::perms::none;
}

const std::string kScratchMark = ".vnt-copy";

// Writes what the system still holds of a file or folder to the disk.
void flush(const fs::path &p, bool folder)
{
    const int fd = ::open(p.c_str(), O_RDONLY | (folder ? O_DIRECTORY : 0) | O_CLOEXEC);
    if (fd < 0)
        failWith(std::error_code(errno, std::generic_category()), err::FileNotFound);
    // A file needs its data and size, which is what fdatasync writes; a folder its entries.
    const int rc = folder ? ::fsync(fd) : ::fdatasync(fd);
    const int fsyncError = errno;
    ::close(fd);
    // A folder on a file system that cannot sync folders has nothing more to write.
    if (rc != 0 && !(folder && (fsyncError == EINVAL || fsyncError == EBADF)))
        failWith(std::error_code(fsyncError, std::generic_category()), err::FileNotFound);
}

} // namespace

QString FileSystemObject::GetParentFolderName(const QString &path) const
{
    const QString p = trimmed(path);
    const int slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0 || p == QLatin1String("/"))
        return {};
    if (slash == 0)
        return QStringLiteral("/");
    return trimmed(p.left(slash));
}

bool FileSystemObject::FolderExists(const QString &path) const
{
    return !path.isEmpty() && isDir(toPath(path));
}

void FileSystemObject::CreateFolder(const QString &path) const
{
    const fs::path p = toPath(trimmed(path));
    if (path.isEmpty())
        fail(err::PathNotFound);
    if (present(p))
        fail(err::FileAlreadyExists);
    requireParent(p);
    std::error_code ec;
    if (!fs::create_directory(p, ec) && ec)
        failWith(ec);
}

bool FileSystemObject::FileExists(const QString &path) const
{
    return !path.isEmpty() && isFile(toPath(path));
}

QString FileSystemObject::CheckedCopyTarget(const QString &source, const QString &destination, bool overwrite) const
{
    const fs::path src = toPath(source);
    fs::path dst = toPath(destination);
    if (source.isEmpty() || !isFile(src))
        fail(err::FileNotFound);
    if (destination.isEmpty() || destination.endsWith(QLatin1Char('/')))
        fail(err::PathNotFound);
    std::error_code linkError;
    if (fs::is_symlink(dst, linkError)) {
        // Replace the file the link points to, not the link.
        const fs::path target = fs::weakly_canonical(dst, linkError);
        if (!linkError)
            dst = target;
    }
    requireParent(dst);
    if (isDir(dst))
        fail(err::PermissionDenied);
    if (present(dst)) {
        if (!overwrite)
            fail(err::FileAlreadyExists);
        std::error_code ec;
        if (fs::equivalent(src, dst, ec))
            fail(err::PermissionDenied);   // a file cannot be copied onto itself
        if (readOnly(dst))
            fail(err::PermissionDenied);
    }
    return QFile::decodeName(QByteArray::fromStdString(dst.string()));
}

// Scratch files are named after their destination, so that those an interrupted copy left
// behind (with their journals) are known and removed by the next copy to the same place.
void FileSystemObject::RemoveScratchBeside(const QString &destination) const
{
    const fs::path dst = toPath(destination);
    const std::string prefix = dst.filename().string() + kScratchMark;
    std::error_code ec;
    for (fs::directory_iterator it(dst.parent_path().empty() ? fs::current_path() : dst.parent_path(), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->path().filename().string().rfind(prefix, 0) == 0 && isFile(it->path())) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);   // one that cannot go only takes another name
        }
    }
}

QString FileSystemObject::FreshScratchBeside(const QString &destination) const
{
    RemoveScratchBeside(destination);
    const fs::path dst = toPath(destination);
    for (int i = 0;; ++i) {
        fs::path candidate = dst;
        candidate += kScratchMark + std::to_string(i);
        if (!present(candidate))
            return QFile::decodeName(QByteArray::fromStdString(candidate.string()));
    }
}

void FileSystemObject::PutInPlace(const QString &finished, const QString &destination, const QStringList &companionSuffixes,
                                  bool onDisk) const
{
    const fs::path from = toPath(finished), to = toPath(destination);
    if (!isFile(from))
        fail(err::FileNotFound);
    if (!onDisk)
        flush(from, false);
    for (const QString &suffix : companionSuffixes) {
        std::error_code ec;
        const fs::path companion = toPath(destination + suffix);
        if (present(companion) && !fs::remove(companion, ec) && ec)
            failWith(ec, err::FileNotFound);
    }
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec)
        failWith(ec, err::FileNotFound);
    // The rename itself is an entry of the folder: without this a power failure could bring
    // back the old file after the program reported the copy done.
    flush(to.parent_path().empty() ? fs::current_path() : to.parent_path(), true);
}

// The copy goes to a scratch file first and is renamed over the destination only when it is
// complete: a save interrupted by a full disk must not leave the project database half written.
void FileSystemObject::CopyFile(const QString &source, const QString &destination, bool overwrite) const
{
    const QString target = CheckedCopyTarget(source, destination, overwrite);
    const QString scratch = FreshScratchBeside(target);
    try {
        std::error_code ec;
        fs::copy_file(toPath(source), toPath(scratch), fs::copy_options::overwrite_existing, ec);
        if (ec)
            failWith(ec, err::FileNotFound);
        PutInPlace(scratch, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(toPath(scratch), ignored);
        throw;
    }
}

void FileSystemObject::DeleteFile(const QString &path, bool force) const
{
    const fs::path p = toPath(path);
    if (path.isEmpty() || !isFile(p))
        fail(err::FileNotFound);
    if (!force && readOnly(p))
        fail(err::PermissionDenied);
    std::error_code ec;
    if (!fs::remove(p, ec) && ec)
        failWith(ec, err::FileNotFound);
}

void FileSystemObject::MoveFile(const QString &source, const QString &destination) const
{
    const fs::path src = toPath(source), dst = toPath(destination);
    if (source.isEmpty() || !present(src))
        fail(err::FileNotFound);
    if (destination.isEmpty())
        fail(err::PathNotFound);
    if (present(dst))
        fail(err::FileAlreadyExists);
    requireParent(dst);
    std::error_code ec;
    fs::rename(src, dst, ec);
    if (ec.value() == EXDEV && isFile(src)) {
        // Another file system: copy, and remove the source only once the copy is whole.
        ec.clear();
        fs::copy_file(src, dst, ec);
        if (!ec)
            fs::remove(src, ec);
        else {
            std::error_code ignored;
            fs::remove(dst, ignored);
        }
    }
    if (ec)
        failWith(ec, err::FileNotFound);
}

int64_t FileSystemObject::FileSize(const QString &path) const
{
    const fs::path p = toPath(path);
    if (path.isEmpty() || !isFile(p))
        fail(err::FileNotFound);
    std::error_code ec;
    const auto size = fs::file_size(p, ec);
    if (ec)
        failWith(ec, err::FileNotFound);
    return static_cast<int64_t>(size);
}

QString FileSystemObject::GetDriveName(const QString &path) const
{
    return path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
}

QString FileSystemObject::GetBaseName(const QString &path) const
{
    const QString name = lastComponent(path);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString FileSystemObject::GetFileName(const QString &path) const
{
    return lastComponent(path);
}

} // namespace vnt
