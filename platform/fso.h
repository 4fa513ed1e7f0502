// The file operations the program calls, over std::filesystem. Each failure raises the
// run-time error its caller expects (53 file not found, 58 exists, 70 denied, 76 path not found).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace vnt {

class FileSystemObject {
public:
    QString GetParentFolderName(const QString &path) const;
    bool FolderExists(const QString &path) const;
    void CreateFolder(const QString &path) const;
    bool FileExists(const QString &path) const;
    void CopyFile(const QString &source, const QString &destination, bool overwrite = true) const;

    // The parts of a copy that replaces a file whole, for copies whose content is written by
    // other means (a database through its engine):
    // the destination a copy would replace (a link resolved to its file), after CopyFile's checks;
    QString CheckedCopyTarget(const QString &source, const QString &destination, bool overwrite = true) const;
    // a new scratch path beside the destination, once the scratch files that interrupted
    // copies to it left behind are removed;
    QString FreshScratchBeside(const QString &destination) const;
    // the scratch files of interrupted copies to destination (with their journals) removed;
    // one that cannot be removed stays without a word.
    void RemoveScratchBeside(const QString &destination) const;
    // the finished file flushed to disk and renamed over the destination, after the
    // destination's companion files (its name + each suffix) are removed; a caller that has
    // flushed the finished file itself says so (onDisk), and it is not flushed again.
    void PutInPlace(const QString &finished, const QString &destination, const QStringList &companionSuffixes = {},
                    bool onDisk = false) const;
    void DeleteFile(const QString &path, bool force = false) const;
    void MoveFile(const QString &source, const QString &destination) const;
    int64_t FileSize(const QString &path) const;          // GetFile(path).Size
    QString GetDriveName(const QString &path) const;       // "/" for an absolute path
    QString GetBaseName(const QString &path) const;        // last component without extension
    QString GetFileName(const QString &path) const;        // last component
};

} // namespace vnt
