// File operations: what they leave behind, and the run-time error each failure raises.
#include "common/ErrorOf.h"
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include "platform/errors.h"
#include "platform/fso.h"

using vnt::FileSystemObject;
using vnt::test::errorOf;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void makeReadOnly(const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

struct Case {
    const char *name;
    std::function<void(const QString &dir, const FileSystemObject &fso)> run;
    int error;                                   // 0: the operation succeeds
    std::function<void(const QString &dir)> check;   // what must hold afterwards
};

} // namespace

TEST(FileSystemObject, OperationsAndTheirFailures)
{
    const std::vector<Case> cases = {
        {"copy replaces an existing file", [](auto d, auto &fso) { fso.CopyFile(d + "/a.mdb", d + "/b.mdb", true); }, 0,
         [](auto d) { EXPECT_EQ(read(d + "/b.mdb"), "AAAA"); EXPECT_EQ(read(d + "/a.mdb"), "AAAA"); }},
        {"copy to a new file", [](auto d, auto &fso) { fso.CopyFile(d + "/a.mdb", d + "/new.mdb"); }, 0,
         [](auto d) { EXPECT_EQ(read(d + "/new.mdb"), "AAAA"); EXPECT_EQ(QDir(d).entryList(QDir::Files).size(), 3); }},
        {"copy of a missing source", [](auto d, auto &fso) { fso.CopyFile(d + "/none.mdb", d + "/b.mdb"); }, 53,
         [](auto d) { EXPECT_EQ(read(d + "/b.mdb"), "BB"); }},
        {"copy into a missing folder", [](auto d, auto &fso) { fso.CopyFile(d + "/a.mdb", d + "/nofolder/b.mdb"); }, 76, {}},
        {"copy without overwrite onto a file", [](auto d, auto &fso) { fso.CopyFile(d + "/a.mdb", d + "/b.mdb", false); }, 58,
         [](auto d) { EXPECT_EQ(read(d + "/b.mdb"), "BB"); }},
        {"copy onto itself keeps the file", [](auto d, auto &fso) { fso.CopyFile(d + "/a.mdb", d + "/a.mdb"); }, 70,
         [](auto d) { EXPECT_EQ(read(d + "/a.mdb"), "AAAA"); }},
        {"copy onto a read-only file", [](auto d, auto &fso) { makeReadOnly(d + "/b.mdb"); fso.CopyFile(d + "/a.mdb", d + "/b.mdb"); }, 70,
         [](auto d) { EXPECT_EQ(read(d + "/b.mdb"), "BB"); }},
        {"copy onto a link replaces the linked file",
         [](auto d, auto &fso) { QFile::link(d + "/b.mdb", d + "/link.mdb"); fso.CopyFile(d + "/a.mdb", d + "/link.mdb"); }, 0,
         [](auto d) { EXPECT_EQ(read(d + "/b.mdb"), "AAAA"); EXPECT_FALSE(QFileInfo(d + "/link.mdb").symLinkTarget().isEmpty()); }},
        {"copy onto a folder", [](auto d, auto &fso) { fso.CopyFile(d + "/a.mdb", d + "/sub"); }, 70, {}},
        {"copy removes what interrupted copies to the same file left",
         [](auto d, auto &fso) {
             for (const char *left : {"/b.mdb.vnt-copy0", "/b.mdb.vnt-copy7-journal", "/a.mdb.vnt-copy0"})
                 write(d + left, "x");
             fso.CopyFile(d + "/a.mdb", d + "/b.mdb");
         },
         0, [](auto d) { EXPECT_EQ(QDir(d).entryList(QDir::Files), QStringList({"a.mdb", "a.mdb.vnt-copy0", "b.mdb"})); }},
        {"delete", [](auto d, auto &fso) { fso.DeleteFile(d + "/a.mdb"); }, 0, [](auto d) { EXPECT_FALSE(QFile::exists(d + "/a.mdb")); }},
        {"delete a missing file", [](auto d, auto &fso) { fso.DeleteFile(d + "/none.mdb"); }, 53, {}},
        {"delete a read-only file", [](auto d, auto &fso) { makeReadOnly(d + "/a.mdb"); fso.DeleteFile(d + "/a.mdb"); }, 70,
         [](auto d) { EXPECT_TRUE(QFile::exists(d + "/a.mdb")); }},
        {"delete a read-only file by force", [](auto d, auto &fso) { makeReadOnly(d + "/a.mdb"); fso.DeleteFile(d + "/a.mdb", true); }, 0,
         [](auto d) { EXPECT_FALSE(QFile::exists(d + "/a.mdb")); }},
        {"delete a folder as a file", [](auto d, auto &fso) { fso.DeleteFile(d + "/sub"); }, 53, [](auto d) { EXPECT_TRUE(QDir(d + "/sub").exists()); }},
        {"move to a new name", [](auto d, auto &fso) { fso.MoveFile(d + "/a.mdb", d + "/c.mdb"); }, 0,
         [](auto d) { EXPECT_EQ(read(d + "/c.mdb"), "AAAA"); EXPECT_FALSE(QFile::exists(d + "/a.mdb")); }},
        {"move onto an existing file", [](auto d, auto &fso) { fso.MoveFile(d + "/a.mdb", d + "/b.mdb"); }, 58,
         [](auto d) { EXPECT_EQ(read(d + "/a.mdb"), "AAAA"); EXPECT_EQ(read(d + "/b.mdb"), "BB"); }},
        {"move of a missing file", [](auto d, auto &fso) { fso.MoveFile(d + "/none.mdb", d + "/c.mdb"); }, 53, {}},
        {"move into a missing folder", [](auto d, auto &fso) { fso.MoveFile(d + "/a.mdb", d + "/nofolder/c.mdb"); }, 76,
         [](auto d) { EXPECT_TRUE(QFile::exists(d + "/a.mdb")); }},
        {"create a folder", [](auto d, auto &fso) { fso.CreateFolder(d + "/JPG"); }, 0, [](auto d) { EXPECT_TRUE(QDir(d + "/JPG").exists()); }},
        {"create an existing folder", [](auto d, auto &fso) { fso.CreateFolder(d + "/sub"); }, 58, {}},
        {"create a folder in a missing one", [](auto d, auto &fso) { fso.CreateFolder(d + "/no/JPG"); }, 76,
         [](auto d) { EXPECT_FALSE(QDir(d + "/no").exists()); }},
        {"size of a missing file", [](auto d, auto &fso) { fso.FileSize(d + "/none.mdb"); }, 53, {}},
        {"size of a folder", [](auto d, auto &fso) { fso.FileSize(d + "/sub"); }, 53, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir tmp;
        const QString d = tmp.path();
        write(d + "/a.mdb", "AAAA");
        write(d + "/b.mdb", "BB");
        QDir(d).mkdir("sub");
        FileSystemObject fso;
        EXPECT_EQ(errorOf([&] { c.run(d, fso); }), c.error);
        if (c.check)
            c.check(d);
        QFile::setPermissions(d + "/a.mdb", QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(d + "/b.mdb", QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST(FileSystemObject, ExistenceAndSize)
{
    QTemporaryDir tmp;
    const QString d = tmp.path();
    write(d + "/VANT.mdb", QByteArray(1234, 'x'));
    QDir(d).mkdir("BENUTZER");
    FileSystemObject fso;
    EXPECT_TRUE(fso.FileExists(d + "/VANT.mdb"));
    EXPECT_FALSE(fso.FileExists(d + "/BENUTZER"));      // a folder is no file
    EXPECT_FALSE(fso.FileExists(d + "/none.mdb"));
    EXPECT_FALSE(fso.FileExists(""));
    EXPECT_TRUE(fso.FolderExists(d + "/BENUTZER"));
    EXPECT_TRUE(fso.FolderExists(d + "/BENUTZER/"));
    EXPECT_FALSE(fso.FolderExists(d + "/VANT.mdb"));
    EXPECT_FALSE(fso.FolderExists(""));
    EXPECT_EQ(fso.FileSize(d + "/VANT.mdb"), 1234);
}

TEST(FileSystemObject, PathNames)
{
    FileSystemObject fso;
    struct { const char *path, *parent, *name, *base, *drive; } cases[] = {
        {"/opt/vant/BIN/VANT", "/opt/vant/BIN", "VANT", "VANT", "/"},
        {"/opt/vant/BIN/", "/opt/vant", "BIN", "BIN", "/"},
        {"/home/u/Projekte/TE0000.00", "/home/u/Projekte", "TE0000.00", "TE0000", "/"},
        {"/home/u/BENUTZER/U/VANT.mdb", "/home/u/BENUTZER/U", "VANT.mdb", "VANT", "/"},
        {"/VANT.mdb", "/", "VANT.mdb", "VANT", "/"},
        {"/", "", "", "", "/"},
        {"VANT.mdb", "", "VANT.mdb", "VANT", ""},
        {"daten/x.tar.gz", "daten", "x.tar.gz", "x.tar", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fso.GetParentFolderName(c.path), c.parent);
        EXPECT_EQ(fso.GetFileName(c.path), c.name);
        EXPECT_EQ(fso.GetBaseName(c.path), c.base);
        EXPECT_EQ(fso.GetDriveName(c.path), c.drive);
    }
}
