#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QString>

#include "platform/db/Error.h"

namespace quorl::db {

class Connection;

// Work on a whole database file. Nothing here deletes, renames or writes over a
// database file that another program may hold open: the live file is changed only
// through SQLite, journaled and atomic, so every other connection sees either the
// old contents or the new ones. Each function throws Error when it fails, and a
// failure leaves the live file as it was.

// How long maintenance waits for another program's lock on the live file.
inline constexpr int kMaintenanceBusyMilliseconds = 5000;

// Told between the pieces of a long step how far it has come (done of total, in the
// step's own unit), at least every few hundredths of a second, so that a window can
// redraw. Returning false asks the step to stop; it then throws Aborted.
using StepProgress = std::function<bool(qint64 done, qint64 total)>;

// A step stopped because its StepProgress asked it to; what it had written is gone.
class Aborted : public Error
{
public:
    Aborted();
};

// Closes every open connection of this program to the file and opens them again
// when reopen() is called or the object goes out of scope. A connection destroyed
// meanwhile is left out. Throws, closing nothing, while one of them holds a
// transaction.
class ClosedConnections
{
public:
    explicit ClosedConnections(const QString &localPath);
    ~ClosedConnections();   // reopens quietly what reopen() did not
    ClosedConnections(const ClosedConnections &) = delete;
    ClosedConnections &operator=(const ClosedConnections &) = delete;

    // Reopens every connection it can; throws the first failure afterwards.
    void reopen();

    // Called by a connection's destructor.
    static void forget(Connection *connection);

private:
    QList<Connection *> m_closed;
};

// A consistent copy of the live file written as a new file at copyPath (replaced
// when it exists), read with SQLite's backup API so that a write of another program
// in the middle of the copy cannot tear it. Another program may read the live file
// meanwhile but waits to write until the copy is done.
void copyDatabaseFile(const QString &livePath, const QString &copyPath, const StepProgress &progress = {});

// Throws unless the file opens as a database, holds tables and passes SQLite's
// integrity check. The file is only read.
void checkDatabaseFile(const QString &localPath, const StepProgress &progress = {});

// Throws unless the file holds every table that sqlScript creates, each with all of
// its columns, and no trigger or view but those sqlScript creates, with the same name
// and text: a database brings data, never code that would run on the program's saves.
// More tables or columns are allowed. The reason names the first table or column
// missing or the first trigger or view foreign, never the file. The file is only read.
void checkHoldsSchema(const QString &localPath, const QString &sqlScript);

// Brings a file to the journal mode the program works with (out of WAL mode), so that
// its contents copied into the live file do not carry another mode with them.
void useRollbackJournal(const QString &localPath);

// The copy of sourcePath into the live file, begun when made: from then until it
// ends it holds the live file's write lock, which SQLite's copy takes as an
// exclusive one, so no other program reads or changes the file meanwhile; their
// work waits (up to their busy timeout) and goes on after it. Made, it waits for a
// lock of another program up to the maintenance limit, telling progress meanwhile,
// and throws Aborted when progress asks to stop. Destroyed before copyIn, it lets go
// of the live file with nothing written.
class ContentsReplacement
{
public:
    ContentsReplacement(const QString &sourcePath, const QString &livePath, const StepProgress &progress = {});
    ~ContentsReplacement();
    ContentsReplacement(const ContentsReplacement &) = delete;
    ContentsReplacement &operator=(const ContentsReplacement &) = delete;

    // A consistent copy of the live file as the lock holds it, as copyDatabaseFile
    // makes one.
    void copyLiveFile(const QString &copyPath, const StepProgress &progress = {}) const;
    // Replaces the live file's contents in one transaction and lets go of the file.
    // Progress is only told: once begun, the copy goes to its end, so that it never
    // stops half way through the live file.
    void copyIn(const StepProgress &progress = {});

private:
    struct State;
    QString m_livePath;
    std::unique_ptr<State> m_state;
};

// Replaces the contents of the live file with those of sourcePath in one
// transaction of the live file. Progress is only told: once begun, the copy goes to
// its end, so that it never stops half way through the live file.
void replaceDatabaseContents(const QString &sourcePath, const QString &livePath, const StepProgress &progress = {});

// Rebuilds the live file in place, so that it takes no more room than its rows need.
// Progress is only told, with nothing to count: a rebuild goes to its end.
void vacuumDatabaseFile(const QString &livePath, const StepProgress &progress = {});

} // namespace quorl::db
