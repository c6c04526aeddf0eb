// What the durable commit costs a save: single-row saves, each its own transaction,
// through the program's own connection as it opens (synchronous=EXTRA: the folder
// is synced after the journal's deletion) and the same connection set back to
// synchronous=FULL. Rounds of both are interleaved on the same file, in the
// temporary folder unless a folder is given (it must lie on a real disk: a RAM
// file system syncs for free). Prints the median time of a save in each mode and
// the difference.

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "bench/BenchSupport.h"

#include "platform/db/Connection.h"

namespace {

constexpr int kSavesPerRound = 100;
constexpr int kRounds = 7;

using bench::Clock;
using bench::millisecondsSince;

// Milliseconds per save over one round of single-row saves.
double roundOfSaves(quorl::db::Connection &connection, const char *synchronous)
{
    connection.Execute(QStringLiteral("PRAGMA synchronous=%1").arg(QLatin1String(synchronous)));
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kSavesPerRound; ++i) {
        connection.BeginTrans();
        connection.Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Saved %1')").arg(i));
        connection.CommitTrans();
    }
    return millisecondsSince(start) / kSavesPerRound;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    QTemporaryDir work(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-save-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/bench-save-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "no folder for the database: %s\n", qPrintable(work.errorString()));
        return 1;
    }
    const QString path = work.filePath(QStringLiteral("DB.mdb"));
    if (!bench::createEmptyMarina(path))
        return 1;
    quorl::db::Connection connection;
    connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);

    std::vector<double> full;
    std::vector<double> extra;
    roundOfSaves(connection, "EXTRA");   // warm-up
    for (int round = 0; round < kRounds; ++round) {
        full.push_back(roundOfSaves(connection, "FULL"));
        extra.push_back(roundOfSaves(connection, "EXTRA"));
    }
    const double fullMs = median(full);
    const double extraMs = median(extra);
    std::printf("folder: %s\n", qPrintable(work.path()));
    std::printf("one save, synchronous=FULL:  %.3f ms (median of %d rounds of %d)\n", fullMs, kRounds,
                kSavesPerRound);
    std::printf("one save, synchronous=EXTRA: %.3f ms\n", extraMs);
    std::printf("EXTRA costs a save %.3f ms (%.0f%%)\n", extraMs - fullMs, 100.0 * (extraMs - fullMs) / fullMs);
    return 0;
}
