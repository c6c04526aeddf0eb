// Exporting 100,000 reservations through the program's export (recordset, value
// formatting, quoting, Windows-1252, a file made whole and renamed into place) against
// the sqlite3 command-line tool writing the same rows as CSV. Prints both times and,
// last, their ratio; the export should stay within three times the tool.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "core/modDatabase.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "reports/modExport.h"

namespace {

constexpr int kBookings = 100000;
constexpr int kCustomers = 5000;
constexpr int kRounds = 3;

// The reservations query as SQLite itself reads it.
constexpr const char *kPlainSql =
    "SELECT Booking.FromDate, Booking.ToDate, Booking.BookedBy, Customer.Name AS Customer, Booking.Notes, "
    "Booking.NoAdults, Booking.NoKids, Booking.OtherCharges, Booking.VAT, Booking.TotalPayable, "
    "Booking.AmountPayed, PaymentMethod.Name AS PaymentMethod, Booking.CreditCardNo, Booking.CreditCardExpiry, "
    "Booking.CreditCardType, Booking.CreditCardCV2No, Booking.CostOfHire, Booking.BerthConfirmationNumber, "
    "Booking.GuestConfirmationNumber, Booking.PowerRequirements, Booking.ClubMember "
    "FROM PaymentMethod RIGHT JOIN (Customer INNER JOIN Booking ON Customer.ID = Booking.CustomerID) "
    "ON PaymentMethod.ID = Booking.PaymentMethodID ORDER BY Booking.ID";

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool createDatabase(const QString &path)
{
    QFile schema(QStringLiteral(":/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        return false;
    quorl::db::createDatabaseFile(path, QString::fromUtf8(schema.readAll()));

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_stmt *customer = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Customer (Name, Town, EmailAddress, ClubMember) VALUES (?, ?, ?, ?)", -1,
                       &customer, nullptr);
    for (int i = 0; i < kCustomers; ++i) {
        // Some names hold a comma or a quote, so the quoting is exercised too.
        const std::string name = i % 10 == 0 ? "O'Neil, \"Skip\" " + std::to_string(i) : "Customer " + std::to_string(i);
        const std::string email = "c" + std::to_string(i) + "@marina.example";
        sqlite3_bind_text(customer, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(customer, 2, "Brighton", -1, SQLITE_STATIC);
        sqlite3_bind_text(customer, 3, email.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(customer, 4, i % 3 == 0 ? -1 : 0);
        sqlite3_step(customer);
        sqlite3_reset(customer);
    }
    sqlite3_finalize(customer);

    sqlite3_stmt *booking = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Booking (FromDate, ToDate, BookedBy, CustomerID, Notes, NoAdults, NoKids, "
                       "OtherCharges, VAT, TotalPayable, AmountPayed, PaymentMethodID, CreditCardNo, "
                       "CreditCardExpiry, CreditCardType, CreditCardCV2No, CostOfHire, BerthConfirmationNumber, "
                       "GuestConfirmationNumber, PowerRequirements, ClubMember) "
                       "VALUES (?, ?, 'Office', ?, ?, 2, 1, 12.5, ?, ?, ?, ?, '4111111111111111', '12/28', 'Visa', "
                       "'123', ?, ?, 'G-100', '16A', ?)",
                       -1, &booking, nullptr);
    for (int i = 0; i < kBookings; ++i) {
        char from[32];
        char to[32];
        std::snprintf(from, sizeof from, "2026-%02d-%02d %02d:%02d:00", 1 + i % 12, 1 + i % 28, 9 + i % 10,
                      (i % 2) * 30);
        std::snprintf(to, sizeof to, "2026-%02d-%02d 14:00:00", 1 + i % 12, 1 + (i + 3) % 28);
        const std::string notes = i % 7 == 0 ? "Arrives late,\nneeds power" : "";
        const double cost = 40.0 + i % 300;
        sqlite3_bind_text(booking, 1, from, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(booking, 2, to, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(booking, 3, 1 + i % kCustomers);
        sqlite3_bind_text(booking, 4, notes.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(booking, 5, cost * 0.2);
        sqlite3_bind_double(booking, 6, cost * 1.2 + 12.5);
        sqlite3_bind_double(booking, 7, i % 2 ? cost : 0.0);
        if (i % 5 == 0)
            sqlite3_bind_null(booking, 8);
        else
            sqlite3_bind_int(booking, 8, 1 + i % 5);
        sqlite3_bind_double(booking, 9, cost);
        sqlite3_bind_int(booking, 10, 100000 + i);
        sqlite3_bind_int(booking, 11, i % 4 == 0 ? -1 : 0);
        sqlite3_step(booking);
        sqlite3_reset(booking);
    }
    sqlite3_finalize(booking);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return true;
}

double ourExport(const QString &outPath, qint64 *bytes)
{
    const auto start = Clock::now();
    auto rows = quorl::OpenRecordset(quorl::reservationsSql(), nullptr, true, quorl::db::adCmdText);
    if (!rows->isOpen())
        throw quorl::db::Error(rows->lastError());
    QString error;
    if (!quorl::writeCsvFile(*rows, outPath, &error))
        throw quorl::db::Error(error);
    const double elapsed = millisecondsSince(start);
    *bytes = QFileInfo(outPath).size();
    return elapsed;
}

double toolExport(const QString &tool, const QString &dbPath, const QString &outPath, qint64 *bytes)
{
    const auto start = Clock::now();
    QProcess process;
    process.setStandardOutputFile(outPath);
    process.start(tool, {QStringLiteral("-csv"), QStringLiteral("-header"), dbPath, QString::fromUtf8(kPlainSql)});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        throw quorl::db::Error(QStringLiteral("sqlite3 failed: ") + QString::fromLocal8Bit(process.readAllStandardError()));
    const double elapsed = millisecondsSince(start);
    *bytes = QFileInfo(outPath).size();
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (tool.isEmpty()) {
        std::fprintf(stderr, "export: the sqlite3 command-line tool is not installed\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString dbPath = dir.filePath(QStringLiteral("bench.db"));
    double ours = 1e300;
    double theirs = 1e300;
    qint64 ourBytes = 0;
    qint64 toolBytes = 0;
    try {
        if (!createDatabase(dbPath)) {
            std::fprintf(stderr, "export: could not make the database\n");
            return 1;
        }
        quorl::DbConnection = quorl::OpenConnection(dbPath, QString(), 500);
        if (!quorl::DbConnection) {
            std::fprintf(stderr, "export: could not open the database\n");
            return 1;
        }
        // The best of a few rounds of each, interleaved, so neither gains from a warmer cache.
        for (int round = 0; round < kRounds; ++round) {
            theirs = std::min(theirs, toolExport(tool, dbPath, dir.filePath(QStringLiteral("tool.csv")), &toolBytes));
            ours = std::min(ours, ourExport(dir.filePath(QStringLiteral("ours.csv")), &ourBytes));
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "export: %s\n", e.what());
        return 1;
    }
    quorl::DbConnection.reset();
    std::printf("reservations: %d\n", kBookings);
    std::printf("sqlite3 -csv:        %.1f ms (%lld bytes)\n", theirs, static_cast<long long>(toolBytes));
    std::printf("ExportReservations:  %.1f ms (%lld bytes)\n", ours, static_cast<long long>(ourBytes));
    std::printf("ratio: %.2f (goal: at most 3.00)\n", ours / theirs);
    return 0;
}
