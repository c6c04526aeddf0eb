// The long steps of maintenance tell their progress between pieces, so a window can
// redraw, and stop when asked, leaving nothing half written.

#include <functional>
#include <ostream>

#include <QFile>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/Maintenance.h"
#include "support/QuorlTest.h"
#include "support/TestFiles.h"

namespace quorl {
namespace {

class MaintenanceStepsTest : public QuorlTest {
protected:
    // Some megabytes of customers: several pieces of every copy.
    void fill(const QString &path, int rows)
    {
        db::Connection connection;
        connection.Open(QStringLiteral("Data Source=") + path);
        connection.Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                          "INSERT INTO Customer (Name, Notes) SELECT hex(randomblob(8)), "
                                          "hex(randomblob(1000)) FROM n")
                               .arg(rows));
    }
    QString copyPath() const { return worldDir() + QStringLiteral("/copy.db"); }
};

// Every call's figures, and the answer to give from the stopAt-th call on (1-based;
// 0 never stops).
struct Recorder {
    int stopAt = 0;
    QList<QPair<qint64, qint64>> calls;

    db::StepProgress progress()
    {
        return [this](qint64 done, qint64 total) {
            calls.append({done, total});
            return stopAt == 0 || calls.size() < stopAt;
        };
    }
};

TEST_F(MaintenanceStepsTest, CopiesTellTheirProgressPieceByPieceUpToTheWhole)
{
    fill(databasePath(), 6000);
    const std::function<void(const db::StepProgress &)> copies[] = {
        [&](const db::StepProgress &progress) { db::copyDatabaseFile(databasePath(), copyPath(), progress); },
        [&](const db::StepProgress &progress) { db::replaceDatabaseContents(copyPath(), databasePath(), progress); },
    };
    for (const auto &copy : copies) {
        Recorder recorder;
        copy(recorder.progress());
        ASSERT_GE(recorder.calls.size(), 3);
        for (int i = 1; i < recorder.calls.size(); ++i)
            EXPECT_GE(recorder.calls[i].first, recorder.calls[i - 1].first);
        EXPECT_GT(recorder.calls.last().first, recorder.calls.first().first);
        EXPECT_EQ(recorder.calls.last().first, recorder.calls.last().second);
    }
}

TEST_F(MaintenanceStepsTest, ReplacementHoldsTheLiveFileFromItsMakingToTheEndOfItsCopyIn)
{
    fill(databasePath(), 50);
    db::copyDatabaseFile(databasePath(), copyPath());
    fill(copyPath(), 10);
    const QByteArray live = readFile(databasePath());
    db::Connection other;
    other.setBusyTimeout(0);
    other.Open(QStringLiteral("Data Source=") + databasePath());
    const auto otherSaves = [&] {
        try {
            other.Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('other')"));
            return true;
        } catch (const db::Error &) {
            return false;
        }
    };
    const auto customers = [](db::Connection &connection) {
        return connection.ExecuteQuery(QStringLiteral("SELECT count(*) FROM Customer"))->value(0).toInt();
    };

    {
        const db::ContentsReplacement dropped(copyPath(), databasePath());
        EXPECT_FALSE(otherSaves()) << "another program saved while the live file was held";
        const QString held = worldDir() + QStringLiteral("/held.db");
        dropped.copyLiveFile(held);
        db::Connection copy;
        copy.Open(QStringLiteral("Data Source=") + held);
        EXPECT_EQ(customers(copy), 50);
    }
    EXPECT_TRUE(readFile(databasePath()) == live) << "dropped before its copy-in, it wrote";
    ASSERT_TRUE(otherSaves()) << "dropped, it still holds the live file";

    db::ContentsReplacement replacement(copyPath(), databasePath());
    EXPECT_FALSE(otherSaves());
    replacement.copyIn();
    EXPECT_EQ(customers(other), 60);
    EXPECT_TRUE(otherSaves()) << "the live file is still held after the copy-in";
}

struct StopCase {
    const char *name;
    int stopAt;
    std::function<void(const QString &live, const QString &copy, const db::StepProgress &)> step;
    bool stops;   // false: the step goes to its end whatever the answer
};

void PrintTo(const StopCase &c, std::ostream *out) { *out << c.name; }

class StepAskedToStop : public MaintenanceStepsTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StepAskedToStop, StopsWithNothingWrittenOrGoesToItsEnd)
{
    fill(databasePath(), 6000);
    db::copyDatabaseFile(databasePath(), copyPath());
    fill(copyPath(), 10);
    const QByteArray live = readFile(databasePath());
    const QByteArray copy = readFile(copyPath());
    Recorder recorder{GetParam().stopAt, {}};

    if (GetParam().stops) {
        EXPECT_THROW(GetParam().step(databasePath(), copyPath(), recorder.progress()), db::Aborted);
        EXPECT_EQ(recorder.calls.size(), GetParam().stopAt) << "asked again after the stop";
        EXPECT_TRUE(readFile(databasePath()) == live);
    } else {
        GetParam().step(databasePath(), copyPath(), recorder.progress());
        EXPECT_TRUE(readFile(copyPath()) == copy);
        EXPECT_NO_THROW(db::checkDatabaseFile(databasePath()));
        EXPECT_NE(readFile(databasePath()), live);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepAskedToStop,
    ::testing::Values(
        StopCase{"CopyRemovesThePartCopy", 2, [](const QString &live, const QString &copy,
                                                 const db::StepProgress &progress) {
                     db::copyDatabaseFile(live, copy, progress);
                     EXPECT_FALSE(QFile::exists(copy)); }, true},
        StopCase{"CheckAtItsStart", 1, [](const QString &, const QString &copy, const db::StepProgress &progress) {
                     db::checkDatabaseFile(copy, progress); }, true},
        StopCase{"ReplacementBeforeItsCopyIn", 1, [](const QString &live, const QString &copy,
                                                     const db::StepProgress &progress) {
                     const db::ContentsReplacement held(copy, live, progress); }, true},
        StopCase{"CopyIntoTheLiveFileGoesOn", 1, [](const QString &live, const QString &copy,
                                                    const db::StepProgress &progress) {
                     db::replaceDatabaseContents(copy, live, progress); }, false}),
    [](const auto &info) { return std::string(info.param.name); });

struct WaitCase {
    const char *name;
    std::function<void(const QString &live, const QString &copy, const db::StepProgress &)> step;
};

void PrintTo(const WaitCase &c, std::ostream *out) { *out << c.name; }

class StepWaitingForALock : public MaintenanceStepsTest, public ::testing::WithParamInterface<WaitCase> {};

// Another connection holds the write lock the step needs, and gives it up only when
// the step tells its progress: a step that kept the calling thread until the lock was
// free would wait out the busy time and fail, as a window that never redraws would.
TEST_P(StepWaitingForALock, TellsItsProgressMeanwhileAndGoesOnOnceItIsFree)
{
    fill(databasePath(), 100);
    db::copyDatabaseFile(databasePath(), copyPath());
    db::Connection holder;
    holder.Open(QStringLiteral("Data Source=") + databasePath());
    holder.BeginTrans();
    holder.Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Held')"));
    int told = 0;
    const db::StepProgress progress = [&](qint64, qint64) {
        if (told++ == 0)
            holder.CommitTrans();
        return true;
    };

    ASSERT_NO_THROW(GetParam().step(databasePath(), copyPath(), progress));
    EXPECT_GE(told, 1);
    EXPECT_FALSE(holder.inTransaction());
    EXPECT_NO_THROW(db::checkDatabaseFile(databasePath()));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepWaitingForALock,
    ::testing::Values(
        WaitCase{"Vacuum", [](const QString &live, const QString &, const db::StepProgress &progress) {
                     db::vacuumDatabaseFile(live, progress); }},
        WaitCase{"CopyIntoTheLiveFile", [](const QString &live, const QString &copy,
                                           const db::StepProgress &progress) {
                     db::replaceDatabaseContents(copy, live, progress); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
