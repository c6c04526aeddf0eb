// How long the booking form's availability step takes on a large marina: 2,000
// berths and 200,000 bookings. The step runs through the program's own code (the
// query through the database layer, its rows into the berth grid's model) and, in
// the same run, the same query through the plain SQLite C API reading every column
// of every row. Prints both times and their ratio.

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "bench/BenchSupport.h"

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/JetSql.h"
#include "platform/db/Recordset.h"
#include "reservations/Availability.h"

namespace {

constexpr int kBerths = 2000;
constexpr int kBookings = 200000;
constexpr int kPeriods = 40;

using bench::Clock;
using bench::check;
using bench::millisecondsSince;
using bench::storedDate;

// Ten years of bookings of one to fourteen nights, most holding one berth, some two.
void fillMarina(const QString &path)
{
    sqlite3 *db = bench::openForFilling(path);

    sqlite3_stmt *berth = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO Berth (Name, Length, Width, HasPower, Active, DailyHireCharge) "
                             "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
                             -1, &berth, nullptr),
          db, "prepare berth");
    std::mt19937 random(20261208);
    for (int i = 1; i <= kBerths; ++i) {
        const std::string name = "Pontoon " + std::to_string((i - 1) / 50 + 1) + "-" + std::to_string(i);
        sqlite3_bind_text(berth, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(berth, 2, 8 + random() % 20);
        sqlite3_bind_double(berth, 3, 3 + random() % 4);
        sqlite3_bind_int(berth, 4, random() % 2 ? -1 : 0);
        sqlite3_bind_int(berth, 5, i % 25 == 0 ? 0 : -1);
        sqlite3_bind_double(berth, 6, 10 + double(random() % 4000) / 100);
        check(sqlite3_step(berth), db, "insert berth");
        sqlite3_reset(berth);
    }
    sqlite3_finalize(berth);

    sqlite3_stmt *booking = nullptr;
    sqlite3_stmt *line = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO Booking (FromDate, ToDate, CustomerID, NoAdults, NoKids, CostOfHire, "
                             "BerthConfirmationNumber) VALUES (?1, ?2, ?3, 2, 0, ?4, ?5)",
                             -1, &booking, nullptr),
          db, "prepare booking");
    check(sqlite3_prepare_v2(db, "INSERT OR IGNORE INTO BookingBerth (BookingID, BerthID) VALUES (?1, ?2)", -1, &line,
                             nullptr),
          db, "prepare line");
    const QDateTime first(QDate(2020, 1, 1), QTime(9, 0));
    const qint64 spanDays = 3650;
    for (int i = 1; i <= kBookings; ++i) {
        const QDateTime from = first.addDays(qint64(random() % spanDays)).addSecs(qint64(random() % 20) * 1800);
        const QDateTime to = from.addDays(1 + random() % 14).addSecs(qint64(random() % 10) * 1800);
        const QByteArray fromText = storedDate(from);
        const QByteArray toText = storedDate(to);
        sqlite3_bind_text(booking, 1, fromText.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(booking, 2, toText.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(booking, 3, 1 + int(random() % 5000));
        sqlite3_bind_double(booking, 4, double(random() % 100000) / 100);
        sqlite3_bind_int(booking, 5, i);
        check(sqlite3_step(booking), db, "insert booking");
        sqlite3_reset(booking);
        bench::addBookingLines(db, line, sqlite3_last_insert_rowid(db), random, kBerths);
    }
    sqlite3_finalize(booking);
    sqlite3_finalize(line);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    check(sqlite3_exec(db, "ANALYZE", nullptr, nullptr, nullptr), db, "analyze");
    sqlite3_close(db);
}

struct Period {
    QDateTime from;
    QDateTime to;
};

std::vector<Period> periods()
{
    std::vector<Period> list;
    std::mt19937 random(7);
    const QDateTime first(QDate(2020, 2, 1), QTime(9, 0));
    for (int i = 0; i < kPeriods; ++i) {
        const QDateTime from = first.addDays(qint64(random() % 3500));
        list.push_back({from, from.addDays(1 + random() % 7).addSecs(5 * 3600)});
    }
    return list;
}

struct PlainRow {
    sqlite3_int64 id;
    std::string name;
    double length;
    double width;
    sqlite3_int64 hasPower;
    double dailyHireCharge;
    bool chargeIsNull;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);

    QTemporaryDir world;
    const QString path = world.filePath(QStringLiteral("marina.db"));
    if (!bench::createEmptyMarina(path))
        return 1;
    const Clock::time_point fillStart = Clock::now();
    fillMarina(path);
    std::printf("marina of %d berths and %d bookings made in %.0f ms\n", kBerths, kBookings,
                millisecondsSince(fillStart));

    const std::vector<Period> list = periods();

    // The program's own road: the query through the database layer, its rows into the grid's model.
    quorl::db::Connection connection;
    connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
                    + QStringLiteral(";Mode=Share Deny None;Persist Security Info=False"));
    quorl::AvailableBerthsModel model;
    long long ourRows = 0;
    auto runOurs = [&] {
        ourRows = 0;
        for (const Period &period : list) {
            auto available = quorl::runAvailabilityQuery(connection, period.from, period.to, 1, 0);
            model.load(*available);
            ourRows += model.rowCount();
        }
    };

    // The same statement straight through SQLite, every column of every row read.
    const QByteArray plainSql = quorl::db::translateJetSql(quorl::AvailabilityQuery(1, 0)).sql.toUtf8();
    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");
    std::vector<PlainRow> plainRows;
    long long plainCount = 0;
    auto runPlain = [&] {
        plainCount = 0;
        for (const Period &period : list) {
            sqlite3_stmt *statement = nullptr;
            check(sqlite3_prepare_v2(db, plainSql.constData(), -1, &statement, nullptr), db, "prepare");
            const QByteArray to = storedDate(period.to);
            const QByteArray from = storedDate(period.from);
            sqlite3_bind_text(statement, 1, to.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(statement, 2, from.constData(), -1, SQLITE_TRANSIENT);
            plainRows.clear();
            while (sqlite3_step(statement) == SQLITE_ROW) {
                PlainRow row;
                row.id = sqlite3_column_int64(statement, 0);
                const unsigned char *name = sqlite3_column_text(statement, 1);
                row.name = name ? reinterpret_cast<const char *>(name) : "";
                row.length = sqlite3_column_double(statement, 2);
                row.width = sqlite3_column_double(statement, 3);
                row.hasPower = sqlite3_column_int64(statement, 4);
                row.chargeIsNull = sqlite3_column_type(statement, 5) == SQLITE_NULL;
                row.dailyHireCharge = sqlite3_column_double(statement, 5);
                plainRows.push_back(std::move(row));
            }
            sqlite3_finalize(statement);
            plainCount += static_cast<long long>(plainRows.size());
        }
    };

    // One warm-up each, so both meet the same page cache.
    runOurs();
    runPlain();
    constexpr int kRounds = 3;
    double ours = 0;
    double plain = 0;
    for (int round = 0; round < kRounds; ++round) {
        Clock::time_point start = Clock::now();
        runOurs();
        ours += millisecondsSince(start);
        start = Clock::now();
        runPlain();
        plain += millisecondsSince(start);
    }
    sqlite3_close(db);
    if (ourRows != plainCount) {
        std::fprintf(stderr, "the two roads disagree: %lld rows against %lld\n", ourRows, plainCount);
        return 1;
    }

    const double perStepOurs = ours / (kRounds * kPeriods);
    const double perStepPlain = plain / (kRounds * kPeriods);
    std::printf("availability step, %d periods x %d rounds, %.1f free berths on average\n", kPeriods, kRounds,
                double(ourRows) / kPeriods);
    std::printf("  program's own code : %8.2f ms per step\n", perStepOurs);
    std::printf("  plain sqlite3      : %8.2f ms per step\n", perStepPlain);
    std::printf("  ratio              : %8.2fx (goal <= 1.5x)\n", perStepOurs / perStepPlain);
    return 0;
}
