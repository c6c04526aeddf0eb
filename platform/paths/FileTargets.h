#pragma once

#include <utility>

#include <QByteArray>
#include <QString>

// What the program may write over and read from. A file written to a name the
// user typed or chose is put in place by a rename, which would replace the live
// database or a device as readily as an old export; a pipe opened for reading
// waits for a writer that never comes. These checks look before anything opens.
//
// A file is known by what it is (its device and inode), not by how its name is
// spelled: a hard link, a bind mount, a linked folder followed by "..", or a name
// with a trailing blank that links to the database are all the database. A file
// not there yet counts by its folder's identity and its name.

namespace quorl::paths {

// An encoded local path as the folder to open and the name inside it: "a/b/c" gives
// ("a/b", "c"), "c" gives (".", "c"), "/c" gives ("/", "c"); a path ending in "/"
// names its folder itself, as ".".
std::pair<QByteArray, QByteArray> folderAndName(const QByteArray &path);

// "DB.bak" beside "DB.mdb": the safety copy a restore or compact keeps.
QString safetyCopyPath(const QString &databasePath);

// True when path (Windows-style or local), opened as resolveForOpen() gives it,
// reaches the database file, its safety copy ("DB.bak", and "DB.bak.part" while it
// is built) or a file SQLite keeps beside it ("-journal", "-wal", "-shm"). Names of
// files not there yet are compared without regard to letter case.
bool isDatabaseFileOf(const QString &path, const QString &databasePath);

// Why no file may be written at path, as a message that names it; "" when one may.
// Refused: one of the database's own files (databasePath may be "" when none is
// open), and anything already there that is not a plain file (a folder, device,
// pipe, socket or a link to none of these). The path is looked at as
// resolveForOpen() gives it, which is where every writer opens it.
QString writeRefusal(const QString &path, const QString &databasePath);

// As writeRefusal() for the entry name inside the folder open as folderFd, for a
// writer that holds its target's folder open; shownPath is the name the message gives.
QString writeRefusalAt(int folderFd, const QString &name, const QString &databasePath, const QString &shownPath);

// Why a file chosen for reading is not read, as a message that names it; "" for a
// plain file, and for a name where nothing is (opening it reports that as usual).
QString readRefusal(const QString &path);

} // namespace quorl::paths
