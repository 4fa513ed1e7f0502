// Build tool: creates an SQLite database file from one or more SQL files, so that the
// build needs no sqlite3 command-line program.
// Usage: vantrel-mkdb [--if-missing] OUTPUT SQL...   (--if-missing keeps an existing file,
// for databases that hold a developer's data once they exist).
// The file is built under a temporary name and renamed at the end, so an interrupted
// build never leaves a half-made database that later steps would take as finished.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

bool readFile(const std::string &path, std::string &text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buf;
    buf << in.rdbuf();
    text = buf.str();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    int first = 1;
    const bool ifMissing = argc > 1 && std::string(argv[1]) == "--if-missing";
    if (ifMissing)
        ++first;
    if (argc - first < 2) {
        std::cerr << "usage: vantrel-mkdb [--if-missing] OUTPUT SQL...\n";
        return 2;
    }
    const std::string out = argv[first];
    if (ifMissing && std::ifstream(out).good())
        return 0;
    const std::string tmp = out + ".tmp";
    std::remove(tmp.c_str());

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::cerr << "vantrel-mkdb: cannot create " << tmp << ": " << sqlite3_errmsg(db) << "\n";
        sqlite3_close(db);
        return 1;
    }
    int rc = 0;
    for (int i = first + 1; i < argc && rc == 0; ++i) {
        std::string sql;
        if (!readFile(argv[i], sql)) {
            std::cerr << "vantrel-mkdb: cannot read " << argv[i] << "\n";
            rc = 1;
            break;
        }
        char *err = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::cerr << "vantrel-mkdb: " << argv[i] << ": " << (err ? err : "error") << "\n";
            sqlite3_free(err);
            rc = 1;
        }
    }
    sqlite3_close(db);
    if (rc != 0 || std::rename(tmp.c_str(), out.c_str()) != 0) {
        if (rc == 0)
            std::cerr << "vantrel-mkdb: cannot write " << out << "\n";
        std::remove(tmp.c_str());
        return 1;
    }
    return 0;
}
