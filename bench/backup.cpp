// How long a backup and a restore of a 50 MB database take, against gzip -6 and
// gunzip of the same file in the same run. The database is made through the
// program's own database layer. Our side is timed twice: the archive library's
// call alone (the same work gzip does: pack or unpack one file) and the whole
// command (consistent copy, pack; or unpack, check, copy into the live file).
// Each figure is the best of three runs. The last line is the slower of the two
// commands' ratios, since the commands are what the office waits for; the restore
// also keeps a safety copy, checks the whole database and copies it in under a
// journal, none of which gunzip does.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "core/modSpas.h"
#include "core/modttgz_api.h"
#include "platform/db/Connection.h"
#include "platform/db/Database.h"
#include "platform/db/Error.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Services.h"

namespace {

using Clock = std::chrono::steady_clock;

double bestOfThree(const std::function<void()> &work)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
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

int runProgram(const QString &command)
{
    return QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
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

    QTemporaryDir dir;
    if (!dir.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString db = dir.filePath(QStringLiteral("DB.mdb"));
    const QString archive = dir.filePath(QStringLiteral("backup.SPA"));
    const QString unpacked = dir.filePath(QStringLiteral("unpacked.db"));
    const QString gz = dir.filePath(QStringLiteral("DB.mdb.gz"));
    const QString gunzipped = dir.filePath(QStringLiteral("gunzipped.db"));
    const QString password = quorl::defaultArchivePassword();

    QFile schema(QStringLiteral(":/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        fail(QStringLiteral("the schema resource is missing"));
    try {
        quorl::db::createDatabaseFile(db, QString::fromUtf8(schema.readAll()));
        fillDatabase(db, 50LL * 1024 * 1024);
    } catch (const quorl::db::Error &error) {
        fail(error.message());
    }
    std::printf("database: %.1f MB\n", QFileInfo(db).size() / 1048576.0);

    const double ours = bestOfThree([&] {
        QFile::remove(archive);
        if (const int rc = quorl::Zcompress(db, archive, password, -1))
            fail(QStringLiteral("Zcompress: ") + quorl::ZErrorText(rc));
    });
    const double gzip = bestOfThree([&] {
        if (runProgram(QStringLiteral("gzip -6 -c '%1' > '%2'").arg(db, gz)) != 0)
            fail(QStringLiteral("gzip failed"));
    });
    const double unpack = bestOfThree([&] {
        if (const int rc = quorl::Zuncompress(archive, unpacked, password))
            fail(QStringLiteral("Zuncompress: ") + quorl::ZErrorText(rc));
    });
    const double gunzip = bestOfThree([&] {
        if (runProgram(QStringLiteral("gunzip -c '%1' > '%2'").arg(gz, gunzipped)) != 0)
            fail(QStringLiteral("gunzip failed"));
    });
    const double backupCommand = bestOfThree([&] {
        QFile::remove(archive);
        if (!quorl::SpasavanjeExecute(db, archive, -1, QString()).succeeded())
            fail(QStringLiteral("the backup failed"));
    });
    const double restoreCommand = bestOfThree([&] {
        if (!quorl::RestoreDatabase(archive, db, QString()).succeeded())
            fail(QStringLiteral("the restore failed"));
    });

    std::printf("archive: %.1f MB, gzip: %.1f MB\n", QFileInfo(archive).size() / 1048576.0,
                QFileInfo(gz).size() / 1048576.0);
    std::printf("pack:    library %8.1f ms   gzip -6 %8.1f ms   ratio %.2f\n", ours, gzip, ours / gzip);
    std::printf("unpack:  library %8.1f ms   gunzip  %8.1f ms   ratio %.2f\n", unpack, gunzip, unpack / gunzip);
    std::printf("backup command (copy, pack):                  %8.1f ms   ratio to gzip   %.2f\n", backupCommand,
                backupCommand / gzip);
    std::printf("restore command (.bak, unpack, check, copy):  %8.1f ms   ratio to gunzip %.2f\n", restoreCommand,
                restoreCommand / gunzip);
    std::printf("archive calls alone: ratio %.2f\n", std::max(ours / gzip, unpack / gunzip));
    std::printf("ratio: %.2f (goal: at most 1.20)\n", std::max(backupCommand / gzip, restoreCommand / gunzip));
    return 0;
}
