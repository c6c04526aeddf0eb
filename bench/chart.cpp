// How long the planning chart takes to rebuild a full screen on a large marina: 200
// berths and 200,000 bookings over ten years. The rebuild runs through the window's
// own code (berths and the bookings of the rows in view read again, placed in the
// grid's model and painted) and, in the same run, the plain SQLite query of the same
// rows in view reads every column of every row. Rounds of the two are interleaved;
// the medians are compared.

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QDateEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "bench/BenchSupport.h"

#include "core/modDatabase.h"
#include "reservations/PlanningChart.h"
#include "reservations/frmCalendarPlus.h"

namespace {

constexpr int kBerths = 200;
constexpr int kBookings = 200000;
constexpr int kCustomers = 5000;
constexpr int kDays = 24;   // windows in view, spread over the ten years
constexpr int kRounds = 5;  // each window this many times, ours and plain interleaved

using bench::Clock;
using bench::check;
using bench::millisecondsSince;
using bench::storedDate;

// Ten years of stays of a few hours to a fortnight, most on one berth, some on two; in
// one transaction.
void fillMarina(const QString &path)
{
    sqlite3 *db = bench::openForFilling(path);
    std::mt19937 random(20261208);

    sqlite3_stmt *customer = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO Customer (Name, HouseName) VALUES (?1, ?2)", -1, &customer, nullptr), db,
          "prepare customer");
    for (int i = 1; i <= kCustomers; ++i) {
        const std::string name = "Customer " + std::to_string(i);
        sqlite3_bind_text(customer, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(customer, 2, "Harbour View", -1, SQLITE_STATIC);
        check(sqlite3_step(customer), db, "insert customer");
        sqlite3_reset(customer);
    }
    sqlite3_finalize(customer);

    sqlite3_stmt *berth = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO Berth (Name, Length, Width, HasPower, Active) VALUES (?1, 12, 4, -1, ?2)",
                             -1, &berth, nullptr),
          db, "prepare berth");
    for (int i = 1; i <= kBerths; ++i) {
        const std::string name = "P" + std::to_string((i - 1) / 20 + 1) + "-" + std::to_string(i);
        sqlite3_bind_text(berth, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(berth, 2, i % 25 == 0 ? 0 : -1);
        check(sqlite3_step(berth), db, "insert berth");
        sqlite3_reset(berth);
    }
    sqlite3_finalize(berth);

    sqlite3_stmt *booking = nullptr;
    sqlite3_stmt *line = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO Booking (FromDate, ToDate, CustomerID, BerthConfirmationNumber) "
                                 "VALUES (?1, ?2, ?3, ?4)",
                             -1, &booking, nullptr),
          db, "prepare booking");
    check(sqlite3_prepare_v2(db, "INSERT OR IGNORE INTO BookingBerth (BookingID, BerthID) VALUES (?1, ?2)", -1, &line,
                             nullptr),
          db, "prepare line");
    const QDateTime first(QDate(2020, 1, 1), QTime(8, 0));
    for (int i = 1; i <= kBookings; ++i) {
        const QDateTime from = first.addDays(qint64(random() % 3650)).addSecs(qint64(random() % 24) * 1800);
        const QDateTime to = random() % 4 == 0 ? from.addSecs(qint64(1 + random() % 16) * 1800)
                                               : from.addDays(1 + random() % 14).addSecs(qint64(random() % 10) * 1800);
        const QByteArray fromText = storedDate(from);
        const QByteArray toText = storedDate(to);
        sqlite3_bind_text(booking, 1, fromText.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(booking, 2, toText.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(booking, 3, 1 + int(random() % kCustomers));
        sqlite3_bind_int(booking, 4, i);
        check(sqlite3_step(booking), db, "insert booking");
        sqlite3_reset(booking);
        bench::addBookingLines(db, line, sqlite3_last_insert_rowid(db), random, kBerths);
    }
    sqlite3_finalize(booking);
    sqlite3_finalize(line);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

struct PlainRow {
    sqlite3_int64 bookingId;
    sqlite3_int64 berthId;
    std::string name;
    std::string from;
    std::string to;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printPlan(sqlite3 *db, const QByteArray &sql)
{
    sqlite3_stmt *plan = nullptr;
    check(sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).constData(), -1, &plan, nullptr), db, "plan");
    std::printf("query plan:\n");
    while (sqlite3_step(plan) == SQLITE_ROW)
        std::printf("  %s\n", reinterpret_cast<const char *>(sqlite3_column_text(plan, 3)));
    sqlite3_finalize(plan);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);

    QTemporaryDir world;
    const QString path = world.filePath(QStringLiteral("marina.db"));
    if (!bench::createEmptyMarina(path))
        return 1;
    const Clock::time_point fillStart = Clock::now();
    fillMarina(path);
    std::printf("marina of %d berths and %d bookings made in %.0f ms\n", kBerths, kBookings,
                millisecondsSince(fillStart));

    quorl::DbConnection = quorl::OpenConnection(path, QString(), 500);
    if (!quorl::DbConnection) {
        std::fprintf(stderr, "the marina did not open\n");
        return 1;
    }

    // The chart as the user sees it on a full-HD screen.
    auto chart = std::make_unique<quorl::frmCalendarPlus>();
    chart->Display();
    chart->setWindowState(Qt::WindowNoState);
    chart->resize(1920, 1080);
    QApplication::processEvents();
    auto *grid = chart->findChild<QTableView *>(QStringLiteral("grdBooking"));
    auto *picker = chart->findChild<QDateEdit *>(QStringLiteral("DTPicker1"));

    sqlite3 *db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db, "open");

    std::vector<QDate> days;
    std::mt19937 random(7);
    for (int i = 0; i < kDays; ++i)
        days.push_back(QDate(2020, 1, 15).addDays(qint64(random() % 3600)));

    std::vector<double> ours;
    std::vector<double> plain;
    std::vector<PlainRow> plainRows;
    long long heldRows = 0;
    long long plainCount = 0;
    QByteArray shownSql;
    for (int round = -1; round < kRounds; ++round) { // round -1 warms both up
        for (const QDate &day : days) {
            picker->setDate(day); // moves the chart there, untimed
            Clock::time_point start = Clock::now();
            chart->RefreshChart();
            grid->viewport()->repaint();
            const double oursMs = millisecondsSince(start);

            // The same rows in view, straight through SQLite.
            const std::vector<QDateTime> &slotTimes = chart->SlotTimes();
            const QDateTime from = slotTimes.front();
            const QDateTime to = quorl::slotEnd(slotTimes.back(), chart->ViewMode());
            shownSql = quorl::db::translateJetSql(quorl::chartBookingsQuery(from, to)).sql.toUtf8();
            start = Clock::now();
            sqlite3_stmt *statement = nullptr;
            check(sqlite3_prepare_v2(db, shownSql.constData(), -1, &statement, nullptr), db, "prepare");
            plainRows.clear();
            while (sqlite3_step(statement) == SQLITE_ROW) {
                PlainRow row;
                row.bookingId = sqlite3_column_int64(statement, 0);
                row.berthId = sqlite3_column_int64(statement, 1);
                const unsigned char *name = sqlite3_column_text(statement, 2);
                row.name = name ? reinterpret_cast<const char *>(name) : "";
                row.from = reinterpret_cast<const char *>(sqlite3_column_text(statement, 3));
                row.to = reinterpret_cast<const char *>(sqlite3_column_text(statement, 4));
                plainRows.push_back(std::move(row));
            }
            sqlite3_finalize(statement);
            const double plainMs = millisecondsSince(start);
            if (round >= 0) {
                ours.push_back(oursMs);
                plain.push_back(plainMs);
                heldRows += chart->heldBookings().size();
                plainCount += static_cast<long long>(plainRows.size());
            }
        }
    }
    printPlan(db, shownSql);
    sqlite3_close(db);

    const double oursMedian = median(ours);
    const double plainMedian = median(plain);
    const double slowest = *std::max_element(ours.begin(), ours.end());
    std::printf("full screen: %d slot rows x %d berths, %lld booking lines in view on average "
                "(%lld held for the whole days shown)\n",
                chart->chartModel()->rowCount(), chart->chartModel()->columnCount(),
                plainCount / static_cast<long long>(plain.size()), heldRows / static_cast<long long>(ours.size()));
    std::printf("%d windows x %d rounds, medians:\n", kDays, kRounds);
    std::printf("  chart rebuild (window's own code) : %8.2f ms (slowest %.2f ms)\n", oursMedian, slowest);
    std::printf("  plain sqlite3 query of the rows   : %8.2f ms\n", plainMedian);
    std::printf("rebuild under 100 ms: %s\n", oursMedian < 100.0 ? "yes" : "no");
    std::printf("ratio: %.2f (goal: at most 3.00)\n", oursMedian / plainMedian);
    chart.reset();
    quorl::DbConnection.reset();
    return 0;
}
