// The file operations the program calls, over std::filesystem. Each failure raises the
// run-time error its caller expects (53 file not found, 58 exists, 70 denied, 76 path not found).
#pragma once

#include <QString>
#include <cstdint>

namespace vnt {

class FileSystemObject {
public:
    QString GetParentFolderName(const QString &path) const;
    bool FolderExists(const QString &path) const;
    void CreateFolder(const QString &path) const;
    bool FileExists(const QString &path) const;
    void CopyFile(const QString &source, const QString &destination, bool overwrite = true) const;
    void DeleteFile(const QString &path, bool force = false) const;
    void MoveFile(const QString &source, const QString &destination) const;
    int64_t FileSize(const QString &path) const;          // GetFile(path).Size
    QString GetDriveName(const QString &path) const;       // "/" for an absolute path
    QString GetBaseName(const QString &path) const;        // last component without extension
    QString GetFileName(const QString &path) const;        // last component
};

} // namespace vnt
