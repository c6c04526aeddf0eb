#pragma once

#include <QString>

// What the program may write over and read from. A file written to a name the
// user typed or chose is put in place by a rename, which would replace the live
// database or a device as readily as an old export; a pipe opened for reading
// waits for a writer that never comes. These checks look before anything opens.

namespace quorl::paths {

// "DB.bak" beside "DB.mdb": the safety copy a restore or compact keeps.
QString safetyCopyPath(const QString &databasePath);

// True when path (Windows-style or local) names the database file, its safety copy
// or a file SQLite keeps beside it ("-journal", "-wal", "-shm"). Paths are compared
// as the file system knows them, after the drive mapping and without regard to
// letter case, so every spelling that reaches the file counts.
bool isDatabaseFileOf(const QString &path, const QString &databasePath);

// Why no file may be written at path, as a message that names it; "" when one may.
// Refused: one of the database's own files (databasePath may be "" when none is
// open), and anything already there that is not a plain file (a folder, device,
// pipe, socket or a link to none of these).
QString writeRefusal(const QString &path, const QString &databasePath);

// Why a file chosen for reading is not read, as a message that names it; "" for a
// plain file, and for a name where nothing is (opening it reports that as usual).
QString readRefusal(const QString &path);

} // namespace quorl::paths
