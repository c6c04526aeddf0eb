// How long a backup and a restore take against the standard tools doing the same
// work in the same run, on the same database (50 MB unless --size-mb says otherwise),
// made through the program's own database layer. The backup command (consistent
// copy, pack) is compared with gzip -6. The restore command (safety copy, unpack,
// integrity check, copy into the live file under its journal) is compared with the
// same checked steps done with the tools: sqlite3 ".backup", gunzip, sqlite3
// "PRAGMA integrity_check" and sqlite3 ".restore". Each step of ours is also timed
// on its own beside the tool's. Figures are medians of interleaved rounds (--rounds,
// at least 5). After the rounds one more restore and then a compact (safety copy and
// rebuild) are watched for the longest time between two chances of their window to
// redraw. The last line is the restore command's ratio to the tools.
//
// --database FILE starts from a copy of FILE instead of filling a new database;
// --gap-only makes one archive, restores it once (leaving a safety copy) and prints
// only the longest redraw gaps of a second restore and of a compact.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "core/modSpas.h"
#include "core/modttgz_api.h"
#include "platform/db/Connection.h"
#include "platform/db/Database.h"
#include "platform/db/Error.h"
#include "platform/db/Maintenance.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Services.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void fail(const QString &what)
{
    std::fprintf(stderr, "bench_backup: %s\n", qPrintable(what));
    std::exit(1);
}

// Bookings and customers as a marina office gathers them over the years: repeated
// words and places, varying names, numbers and dates.
void fillDatabase(const QString &path, qint64 targetBytes)
{
    quorl::db::Connection connection;
    connection.Open(QStringLiteral("Data Source=") + path);
    int batch = 0;
    while (QFileInfo(path).size() < targetBytes) {
        connection.BeginTrans();
        connection.Execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, EmailAddress, Notes) "
            "SELECT printf('%s %s', substr('SmithJonesPatelBrownTaylorWilson', 1 + abs(random()) % 26, 6), "
            "  substr('AnnBobCarlDianaEvanFionaGeorge', 1 + abs(random()) % 24, 5)), "
            "  printf('%d Quay House', abs(random()) % 200), 'Harbour Street', 'Harbourside', "
            "  substr('PorthwenBrightonBristolFalmouth', 1 + 8 * (abs(random()) % 4), 8), "
            "  printf('PW%d %dAB', abs(random()) % 20, abs(random()) % 10), "
            "  printf('01234 %06d', abs(random()) % 1000000), printf('guest%d@example.org', i + %1), "
            "  printf('Booked berth %d for %d nights; boat length %d m; paid by card.', "
            "         abs(random()) % 400, 1 + abs(random()) % 14, 5 + abs(random()) % 20) "
            "FROM n").arg(batch * 20000));
        connection.Execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO Booking (FromDate, ToDate, CustomerID, NoAdults, NoKids, CostOfHire, VAT, TotalPayable) "
            "SELECT datetime('2020-01-01', printf('+%d hours', abs(random()) % 60000)), "
            "  datetime('2020-01-01', printf('+%d hours', 60000 + abs(random()) % 400)), "
            "  1 + abs(random()) % 20000, 1 + abs(random()) % 4, abs(random()) % 3, "
            "  (abs(random()) % 50000) / 100.0, (abs(random()) % 10000) / 100.0, (abs(random()) % 60000) / 100.0 "
            "FROM n"));
        connection.CommitTrans();
        ++batch;
    }
}

void runProgram(const QString &command)
{
    if (QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}) != 0)
        fail(QStringLiteral("failed: ") + command);
}

// The times of one kind of work over the rounds, by name.
struct Figures {
    std::vector<double> backupCommand, gzip, pack;
    std::vector<double> restoreCommand, ourCopy, unpack, ourCheck, ourCopyIn;
    std::vector<double> toolBackup, gunzip, toolCheck, toolRestore, tools;
};

// The longest time between two chances of the progress window to redraw (the
// event loop run by the progress callbacks) while work runs.
double longestRedrawGap(const std::function<void()> &work)
{
    QElapsedTimer sinceLast;
    double longest = 0;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        longest = std::max(longest, double(sinceLast.nsecsElapsed()) / 1e6);
        sinceLast.restart();
    });
    watcher.start();
    sinceLast.start();
    work();
    longest = std::max(longest, double(sinceLast.nsecsElapsed()) / 1e6);
    return longest;
}

// A compact as the command runs it, a safety copy replacing the old one first.
void compact(const QString &db)
{
    QString failure;
    if (!quorl::CompactDatabase(db, true, &failure))
        fail(QStringLiteral("the compact failed: ") + failure);
}

int optionValue(const QStringList &arguments, const QString &name, int fallback)
{
    const int at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1).toInt() : fallback;
}

// The user's answers are not part of the figures: every message box is answered at once.
class SilentMessages final : public quorl::ui::MessageBoxService {
public:
    int show(const quorl::ui::MessageRequest &request) override
    {
        if (request.prompt != QLatin1String("Database backuped") && request.prompt != QLatin1String("Database restored"))
            fail(QStringLiteral("unexpected message: ") + request.prompt);
        return quorl::ui::vbOK;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    quorl::ui::setMessageBoxService(std::make_unique<SilentMessages>());
    const QStringList arguments = app.arguments();
    const int sizeMb = optionValue(arguments, QStringLiteral("--size-mb"), 50);
    const int rounds = std::max(5, optionValue(arguments, QStringLiteral("--rounds"), 5));

    QTemporaryDir dir;
    if (!dir.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString db = dir.filePath(QStringLiteral("DB.mdb"));
    const QString bak = dir.filePath(QStringLiteral("DB.bak"));
    const QString archive = dir.filePath(QStringLiteral("backup.SPA"));
    const QString copy = dir.filePath(QStringLiteral("copy.db"));
    const QString unpacked = dir.filePath(QStringLiteral("unpacked.db"));
    const QString gz = dir.filePath(QStringLiteral("DB.mdb.gz"));
    const QString gunzipped = dir.filePath(QStringLiteral("gunzipped.db"));
    const QString password = quorl::defaultArchivePassword();

    QFile schema(QStringLiteral(":/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        fail(QStringLiteral("the schema resource is missing"));
    const int given = arguments.indexOf(QStringLiteral("--database"));
    try {
        if (given >= 0 && given + 1 < arguments.size()) {
            if (!QFile::copy(arguments.at(given + 1), db))
                fail(QStringLiteral("cannot copy ") + arguments.at(given + 1));
        } else {
            quorl::db::createDatabaseFile(db, QString::fromUtf8(schema.readAll()));
            fillDatabase(db, qint64(sizeMb) * 1024 * 1024);
        }
    } catch (const quorl::db::Error &error) {
        fail(error.message());
    }
    std::printf("database: %.1f MB, %d rounds\n", QFileInfo(db).size() / 1048576.0, rounds);

    const auto q = [](const QString &path) { return QLatin1Char('\'') + path + QLatin1Char('\''); };
    Figures f;
    if (arguments.contains(QStringLiteral("--gap-only"))) {
        if (!quorl::SpasavanjeExecute(db, archive, -1, QString()).succeeded())
            fail(QStringLiteral("the backup failed"));
        // The office's second restore: a large old safety copy is there to be replaced.
        if (!quorl::RestoreDatabase(archive, db, QString()).succeeded())
            fail(QStringLiteral("the restore failed"));
        std::printf("longest redraw gap in a restore: %.1f ms\n", longestRedrawGap([&] {
            if (!quorl::RestoreDatabase(archive, db, QString()).succeeded())
                fail(QStringLiteral("the restore failed"));
        }));
        std::printf("longest redraw gap in a compact: %.1f ms\n", longestRedrawGap([&] { compact(db); }));
        return 0;
    }
    try {
        const std::vector<std::function<void()>> backups = {
            [&] {
                f.backupCommand.push_back(millisecondsOf([&] {
                    QFile::remove(archive);
                    if (!quorl::SpasavanjeExecute(db, archive, -1, QString()).succeeded())
                        fail(QStringLiteral("the backup failed"));
                }));
            },
            [&] {
                f.gzip.push_back(
                    millisecondsOf([&] { runProgram(QStringLiteral("gzip -6 -c %1 > %2").arg(q(db), q(gz))); }));
            },
            [&] {
                f.pack.push_back(millisecondsOf([&] {
                    QFile::remove(copy + QStringLiteral(".SPA"));
                    if (const int rc = quorl::Zcompress(db, copy + QStringLiteral(".SPA"), password, -1))
                        fail(QStringLiteral("Zcompress: ") + quorl::ZErrorText(rc));
                }));
            },
        };
        const std::vector<std::function<void()>> restores = {
            [&] {
                f.restoreCommand.push_back(millisecondsOf([&] {
                    if (!quorl::RestoreDatabase(archive, db, QString()).succeeded())
                        fail(QStringLiteral("the restore failed"));
                }));
            },
            [&] {
                const double toolBackup = millisecondsOf(
                    [&] { runProgram(QStringLiteral("sqlite3 %1 \".backup %2\"").arg(q(db), q(bak))); });
                const double gunzip =
                    millisecondsOf([&] { runProgram(QStringLiteral("gunzip -c %1 > %2").arg(q(gz), q(gunzipped))); });
                const double toolCheck = millisecondsOf([&] {
                    runProgram(
                        QStringLiteral("test \"$(sqlite3 %1 'PRAGMA integrity_check')\" = ok").arg(q(gunzipped)));
                });
                const double toolRestore = millisecondsOf(
                    [&] { runProgram(QStringLiteral("sqlite3 %1 \".restore %2\"").arg(q(db), q(gunzipped))); });
                f.toolBackup.push_back(toolBackup);
                f.gunzip.push_back(gunzip);
                f.toolCheck.push_back(toolCheck);
                f.toolRestore.push_back(toolRestore);
                f.tools.push_back(toolBackup + gunzip + toolCheck + toolRestore);
            },
            [&] {
                // Ours step by step, as the restore command runs them.
                f.ourCopy.push_back(millisecondsOf([&] { quorl::db::copyDatabaseFile(db, copy); }));
                f.unpack.push_back(millisecondsOf([&] {
                    if (const int rc = quorl::Zuncompress(archive, unpacked, password))
                        fail(QStringLiteral("Zuncompress: ") + quorl::ZErrorText(rc));
                }));
                f.ourCheck.push_back(millisecondsOf([&] { quorl::db::checkDatabaseFile(unpacked); }));
                f.ourCopyIn.push_back(millisecondsOf([&] { quorl::db::replaceDatabaseContents(unpacked, db); }));
            },
        };
        // Every other round the other way round, so that neither side always runs
        // while the disk still writes out what the one before it left.
        for (int round = 0; round < rounds; ++round) {
            for (std::size_t i = 0; i < backups.size(); ++i)
                backups[round % 2 ? backups.size() - 1 - i : i]();
            for (std::size_t i = 0; i < restores.size(); ++i)
                restores[round % 2 ? restores.size() - 1 - i : i]();
        }
    } catch (const quorl::db::Error &error) {
        fail(error.message());
    }
    const double gap = longestRedrawGap([&] {
        if (!quorl::RestoreDatabase(archive, db, QString()).succeeded())
            fail(QStringLiteral("the restore failed"));
    });
    const double compactGap = longestRedrawGap([&] { compact(db); });

    const auto line = [](const char *ours, const std::vector<double> &a, const char *theirs,
                         const std::vector<double> &b) {
        std::printf("  %-22s %8.1f ms   %-28s %8.1f ms   ratio %.2f\n", ours, median(a), theirs, median(b),
                    median(a) / median(b));
    };
    std::printf("archive: %.1f MB, gzip: %.1f MB\n", QFileInfo(archive).size() / 1048576.0,
                QFileInfo(gz).size() / 1048576.0);
    std::printf("backup, medians:\n");
    line("pack (library)", f.pack, "gzip -6", f.gzip);
    line("backup command", f.backupCommand, "gzip -6", f.gzip);
    std::printf("restore, medians:\n");
    line("safety copy", f.ourCopy, "sqlite3 .backup", f.toolBackup);
    line("unpack (library)", f.unpack, "gunzip -c", f.gunzip);
    line("integrity check", f.ourCheck, "sqlite3 PRAGMA integrity_check", f.toolCheck);
    line("copy into live file", f.ourCopyIn, "sqlite3 .restore", f.toolRestore);
    line("restore command", f.restoreCommand, "the four tools' steps", f.tools);
    std::printf("longest redraw gap in a restore: %.1f ms (goal: at most 250)\n", gap);
    std::printf("longest redraw gap in a compact: %.1f ms (goal: at most 250)\n", compactGap);
    std::printf("backup ratio to gzip -6: %.2f\n", median(f.backupCommand) / median(f.gzip));
    std::printf("ratio: %.2f (goal: at most 1.20)\n", median(f.restoreCommand) / median(f.tools));
    return 0;
}
