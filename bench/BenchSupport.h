#pragma once

// What the benchmarks share: the clock, a fail-fast check of SQLite calls, an empty
// marina made from the program's own schema, and the filling of its booking lines.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <sqlite3.h>

#include "platform/db/Database.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Any failing SQLite call ends the run: figures from half a marina would mislead.
inline void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

// A date as the database stores it.
inline QByteArray storedDate(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
}

// An empty marina at path, from the schema the program itself creates. False (and
// said on stderr) when the schema resource is missing.
inline bool createEmptyMarina(const QString &path)
{
    QFile schema(QStringLiteral(":/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "the schema resource is missing\n");
        return false;
    }
    quorl::db::createDatabaseFile(path, QString::fromUtf8(schema.readAll()));
    return true;
}

// The marina file opened straight through SQLite with a transaction begun, for
// filling it quickly.
inline sqlite3 *openForFilling(const QString &path)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    return db;
}

// The booking's berth lines through the prepared insert: most bookings hold one
// berth, one in five holds two, drawn from the first berths.
inline void addBookingLines(sqlite3 *db, sqlite3_stmt *line, sqlite3_int64 bookingId, std::mt19937 &random,
                            int berths)
{
    const int lines = random() % 5 == 0 ? 2 : 1;
    for (int l = 0; l < lines; ++l) {
        sqlite3_bind_int64(line, 1, bookingId);
        sqlite3_bind_int(line, 2, 1 + int(random() % berths));
        check(sqlite3_step(line), db, "insert line");
        sqlite3_reset(line);
    }
}

} // namespace bench
