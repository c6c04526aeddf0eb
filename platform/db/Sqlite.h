#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

// Thin helpers over the SQLite C API, used only inside the database layer.

namespace quorl::db::detail {

// One prepared statement, finalised when it goes out of scope so that no read lock
// outlives the reading of its rows.
class Statement
{
public:
    Statement() = default;
    // Prepares the first statement of sql; *tail (when given) receives the rest.
    Statement(sqlite3 *db, const char *sql, int length, const char **tail = nullptr);
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *get() const { return m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }

    void bind(int index, const QVariant &value);   // 1-based
    // SQLITE_ROW -> true, SQLITE_DONE -> false, anything else throws.
    bool step();

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

// Throws the Error for a failed call; a lock that outlasted the busy timeout gets the
// message a window can show as it stands.
[[noreturn]] void throwSqlite(sqlite3 *db, int rc);

// Runs one statement that returns no rows.
void exec(sqlite3 *db, const char *sql);

// Takes a file out of WAL mode into the rollback journal the program works with, so
// that the database is one file with nothing beside it. SQLite refuses the change
// while a statement of the connection is open: call it with none.
void leaveWalMode(sqlite3 *db);

} // namespace quorl::db::detail
