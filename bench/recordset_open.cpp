// Opening a 100,000-row table through the recordset layer, against reading the same
// rows with the plain SQLite C API into plain C++ values. Prints the median time of
// each and the ratio of the medians; the layer should stay within twice the plain read.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/HeapReuse.h"
#include "platform/db/Recordset.h"

namespace {

constexpr int kRows = 100000;
// Many rounds, so that a busy machine's pauses fall on a few of them and the median
// stays where most rounds are.
constexpr int kRounds = 31;

struct PlainRow
{
    long long id;
    std::string name;
    double amount;
    std::string when;
    long long count;
};

void createTable(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE Sample (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT COLLATE NOCASE, "
                 "Amount CURRENCY, Taken DATETIME, Nights LONG);"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Sample (Name, Amount, Taken, Nights) VALUES (?, ?, ?, ?)", -1, &insert,
                       nullptr);
    for (int i = 0; i < kRows; ++i) {
        const std::string name = "Customer number " + std::to_string(i);
        char when[32];
        std::snprintf(when, sizeof when, "2026-%02d-%02d %02d:%02d:00", 1 + i % 12, 1 + i % 28, i % 24,
                      (i % 2) * 30);
        sqlite3_bind_text(insert, 1, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 2, i * 1.25);
        sqlite3_bind_text(insert, 3, when, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, i % 14);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

double plainRead(const QString &path, size_t *rowsRead)
{
    const auto start = std::chrono::steady_clock::now();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM Sample", -1, &select, nullptr);
    std::vector<PlainRow> rows;
    rows.reserve(256);
    while (sqlite3_step(select) == SQLITE_ROW) {
        PlainRow row;
        row.id = sqlite3_column_int64(select, 0);
        row.name.assign(reinterpret_cast<const char *>(sqlite3_column_text(select, 1)), size_t(sqlite3_column_bytes(select, 1)));
        row.amount = sqlite3_column_double(select, 2);
        row.when.assign(reinterpret_cast<const char *>(sqlite3_column_text(select, 3)), size_t(sqlite3_column_bytes(select, 3)));
        row.count = sqlite3_column_int64(select, 4);
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    *rowsRead = rows.size();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double layerRead(const QString &path, size_t *rowsRead)
{
    const auto start = std::chrono::steady_clock::now();
    quorl::db::Connection connection;
    connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    quorl::db::Recordset recordset;
    recordset.Open(QStringLiteral("Sample"), &connection, quorl::db::adLockOptimistic, quorl::db::adCmdTableDirect);
    *rowsRead = size_t(recordset.RecordCount());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// kRounds is odd: the median is one of the rounds.
double median(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + ptrdiff_t(times.size() / 2), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    // As the program starts: a reopened recordset reuses the memory of the one before.
    quorl::db::keepFreedHeapForReuse();
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    createTable(path);

    // Interleaved rounds, each starting with the other reader in turn, so neither gains
    // from a warmer cache or a quieter moment.
    std::vector<double> plainTimes, layerTimes;
    size_t plainRows = 0, layerRows = 0;
    try {
        for (int round = 0; round < kRounds; ++round) {
            if (round % 2 == 0) {
                plainTimes.push_back(plainRead(path, &plainRows));
                layerTimes.push_back(layerRead(path, &layerRows));
            } else {
                layerTimes.push_back(layerRead(path, &layerRows));
                plainTimes.push_back(plainRead(path, &plainRows));
            }
        }
    } catch (const quorl::db::Error &e) {
        std::fprintf(stderr, "recordset_open: %s\n", e.what());
        return 1;
    }
    const double plainMedian = median(plainTimes);
    const double layerMedian = median(layerTimes);
    std::printf("rows: %zu (plain) %zu (recordset), %d rounds\n", plainRows, layerRows, kRounds);
    std::printf("plain sqlite3 read: %.1f ms median (%.1f to %.1f)\n", plainMedian,
                *std::min_element(plainTimes.begin(), plainTimes.end()),
                *std::max_element(plainTimes.begin(), plainTimes.end()));
    std::printf("Recordset::Open:    %.1f ms median (%.1f to %.1f)\n", layerMedian,
                *std::min_element(layerTimes.begin(), layerTimes.end()),
                *std::max_element(layerTimes.begin(), layerTimes.end()));
    std::printf("ratio: %.2f (goal: at most 2.00)\n", layerMedian / plainMedian);
    return plainRows == layerRows ? 0 : 1;
}
