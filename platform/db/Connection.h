#pragma once

#include <memory>
#include <vector>

#include <QList>
#include <QString>
#include <QVariantList>

#include "platform/db/Error.h"

struct sqlite3;

namespace quorl::db {

class Recordset;

// One open database file, as the windows use the original connection object:
// Open/Close, Execute, BeginTrans/CommitTrans/RollbackTrans.
//
// Transactions begin lazily: BeginTrans only marks the connection, and the SQLite
// BEGIN IMMEDIATE runs at the first write through it, so a dialog that holds a
// transaction open while the user reads takes no lock. A write that meets another
// connection's lock waits the busy timeout and then throws an Error with isBusy().
class Connection
{
public:
    Connection();
    ~Connection();   // closes; an open transaction is rolled back
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // "...;Data Source=<path>;..." (Jet or data-shape form). The path is resolved as a
    // Windows path; a missing file is never created. Throws Error when the file is
    // missing, is no database, or holds no tables.
    void Open(const QString &connectionString);
    // Opens again with the string it holds (after Close, e.g. around a backup).
    void Open();
    void Close();
    bool isOpen() const { return m_db != nullptr; }

    QString ConnectionString() const { return m_connectionString; }
    QString databasePath() const { return m_path; }   // the resolved local path

    // Kept for the callers that set them; they change nothing here.
    int ConnectionTimeout = 15;
    int CursorLocation = 3;

    // How long a write waits for another connection's lock (2000 ms unless set).
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return m_busyTimeout; }

    // Runs statements that return no rows; returns the rows they changed.
    qint64 Execute(const QString &jetSql);
    // Runs a query and returns its rows, read at once into a read-only recordset.
    // parameters are bound in the order of the text's PARAMETERS declaration.
    std::unique_ptr<Recordset> ExecuteQuery(const QString &jetSql, const QVariantList &parameters = {});

    void BeginTrans();
    void CommitTrans();     // throws when there is none, or when the work was lost
    void RollbackTrans();
    bool inTransaction() const;
    // Throws Error when nothing could be saved through the connection: the file
    // opened read-only, or the folder does not let the journal beside it be made.
    void checkWritable();
    // True once the SQLite transaction under the marks has really begun.
    bool holdsWriteLock() const;

    // Every open connection to the file, so maintenance can close and reopen them all.
    static QList<Connection *> openConnectionsTo(const QString &localPath);

private:
    friend class Recordset;
    friend class Savepoint;

    struct Level
    {
        int id;
        bool savepoint;
        bool begun;
    };

    sqlite3 *handle() const;   // throws when closed
    // Runs the BEGIN (and SAVEPOINTs) the open levels have been waiting for.
    void beginWrite();
    // After a failed statement: SQLite ends the whole transaction by itself after some
    // failures (disk full, I/O); the marks must not then pretend the work is held.
    void noteFailure();
    int pushLevel(bool savepoint);
    void commitLevel(int id);
    void rollbackLevel(int id, bool quiet);
    int levelIndex(int id) const;
    QString savepointName(const Level &level) const;
    void attach(Recordset *recordset);
    void detach(Recordset *recordset);

    sqlite3 *m_db = nullptr;
    QString m_connectionString;
    QString m_path;
    QString m_canonicalPath;
    int m_busyTimeout = 2000;
    std::vector<Level> m_levels;
    int m_nextLevelId = 1;
    bool m_lost = false;
    QList<Recordset *> m_recordsets;
};

// All-or-nothing for a cascade of statements, also inside an open BeginTrans:
// release() keeps the work; leaving the scope without it rolls the work back.
class Savepoint
{
public:
    explicit Savepoint(Connection &connection);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    void release();

private:
    Connection &m_connection;
    int m_id;
    bool m_done = false;
};

// The "Data Source" of a connection string, or "" when it names none.
QString dataSourceOf(const QString &connectionString);

} // namespace quorl::db
