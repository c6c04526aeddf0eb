// Opening database files, lazy transactions, locks between connections and savepoints.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/db/Connection.h"
#include "platform/db/Maintenance.h"
#include "platform/db/Recordset.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

struct BadFileCase
{
    const char *name;
    QByteArray content;   // the file's bytes; null for no file at all
};

void PrintTo(const BadFileCase &c, std::ostream *os)
{
    *os << c.name;
}

class OpeningBadFile : public ::testing::TestWithParam<BadFileCase>
{
};

TEST_P(OpeningBadFile, FailsAtOpenAndCreatesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DB.mdb"));
    if (!GetParam().content.isNull()) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().content);
    }
    db::Connection connection;
    EXPECT_THROW(connection.Open(connectionStringFor(path)), db::Error);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(QFileInfo::exists(path), !GetParam().content.isNull());
    EXPECT_TRUE(db::Connection::openConnectionsTo(path).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, OpeningBadFile,
                         ::testing::Values(BadFileCase{"Missing", QByteArray()}, BadFileCase{"Empty", QByteArray("")},
                                           BadFileCase{"Text", QByteArray("Dear customer,\r\nthank you.\r\n")}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ConnectionString, NamesItsDataSourceInEitherForm)
{
    EXPECT_EQ(db::dataSourceOf(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\x\\DB.mdb;Mode=Share "
                                              "Deny None;Persist Security Info=False")),
              QStringLiteral("c:\\x\\DB.mdb"));
    EXPECT_EQ(db::dataSourceOf(QStringLiteral("PROVIDER=MSDataShape;DATA PROVIDER=MICROSOFT.JET.OLEDB.4.0;Data "
                                              "Source=C:\\Quorlc\\Data\\db.mdb;Persist Security Info=False;")),
              QStringLiteral("C:\\Quorlc\\Data\\db.mdb"));
    EXPECT_EQ(db::dataSourceOf(QStringLiteral("data source=\"/tmp/a;b.db\";Mode=Read")), QStringLiteral("/tmp/a;b.db"));
    EXPECT_EQ(db::dataSourceOf(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0")), QString());
}

class ConnectionTest : public DbTest
{
};

TEST_F(ConnectionTest, ClosesAndOpensAgainWithTheStringItHolds)
{
    db::Connection &c = connection();
    EXPECT_EQ(db::Connection::openConnectionsTo(databasePath()), QList<db::Connection *>({&c}));
    c.Close();
    EXPECT_FALSE(c.isOpen());
    EXPECT_TRUE(db::Connection::openConnectionsTo(databasePath()).isEmpty());
    EXPECT_THROW(c.Execute(QStringLiteral("DELETE FROM Booking")), db::Error);
    c.Open();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 4);
    EXPECT_EQ(c.databasePath(), databasePath());
}

TEST_F(ConnectionTest, WindowsSpellingsOfThePathNameTheOpenFile)
{
    QTemporaryDir drive;
    const QByteArray saved = qgetenv("QUORL_DRIVE_C");
    const bool wasSet = qEnvironmentVariableIsSet("QUORL_DRIVE_C");
    qputenv("QUORL_DRIVE_C", drive.path().toUtf8());
    QDir(drive.path()).mkpath(QStringLiteral("Quorlc/data"));
    ASSERT_TRUE(QFile::copy(databasePath(), drive.filePath(QStringLiteral("Quorlc/data/DB.mdb"))));
    {
        db::Connection bound;
        bound.Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Quorlc\\Data\\db.mdb;"));
        EXPECT_EQ(db::Connection::openConnectionsTo(drive.filePath(QStringLiteral("Quorlc/data/DB.mdb"))),
                  QList<db::Connection *>({&bound}));
        auto rows = bound.ExecuteQuery(QStringLiteral("SELECT COUNT(*) FROM Customer"));
        EXPECT_EQ(rows->value(0).toInt(), 4);
    }
    if (wasSet)
        qputenv("QUORL_DRIVE_C", saved);
    else
        qunsetenv("QUORL_DRIVE_C");
}

TEST_F(ConnectionTest, MarkedTransactionTakesNoLockUntilItsFirstWrite)
{
    db::Connection &dialog = connection();
    auto other = openAnother();
    other->setBusyTimeout(50);

    dialog.BeginTrans();
    EXPECT_TRUE(dialog.inTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Berth")).toInt(), 4);
    EXPECT_FALSE(dialog.holdsWriteLock());
    // Before the dialog writes, another window may both read and write.
    EXPECT_EQ(other->Execute(QStringLiteral("UPDATE Berth SET Notes = 'other' WHERE ID = 2")), 1);

    dialog.Execute(QStringLiteral("UPDATE Berth SET Notes = 'dialog' WHERE ID = 1"));
    EXPECT_TRUE(dialog.holdsWriteLock());
    try {
        other->Execute(QStringLiteral("UPDATE Berth SET Notes = 'late' WHERE ID = 3"));
        ADD_FAILURE() << "a write met no lock";
    } catch (const db::Error &e) {
        EXPECT_TRUE(e.isBusy());
        EXPECT_EQ(e.message(), QString::fromLatin1(db::kBusyMessage));
    }
    // Readers still see the committed rows meanwhile.
    auto seen = other->ExecuteQuery(QStringLiteral("SELECT Notes FROM Berth WHERE ID = 1"));
    EXPECT_EQ(seen->value(0).toString(), QStringLiteral("by the crane"));

    dialog.CommitTrans();
    EXPECT_FALSE(dialog.inTransaction());
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Notes FROM Berth WHERE ID = 1")).toString(),
              QStringLiteral("dialog"));
    EXPECT_EQ(other->Execute(QStringLiteral("UPDATE Berth SET Notes = 'late' WHERE ID = 3")), 1);
}

TEST_F(ConnectionTest, ABusyRecordsetWriteKeepsTheEditForALaterTry)
{
    auto editor = openAnother();
    editor->setBusyTimeout(50);
    db::Recordset berths;
    berths.Open(QStringLiteral("Berth"), editor.get(), db::adLockOptimistic);
    berths.setValue(QStringLiteral("Name"), QStringLiteral("C1 north"));

    connection().BeginTrans();
    connection().Execute(QStringLiteral("UPDATE Owner SET Town = 'Bath' WHERE ID = 2"));
    EXPECT_THROW(berths.Update(), db::Error);
    EXPECT_EQ(berths.EditMode(), db::adEditInProgress);
    EXPECT_EQ(berths.value(QStringLiteral("Name")).toString(), QStringLiteral("C1 north"));
    connection().RollbackTrans();

    berths.Update();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Name FROM Berth WHERE ID = 1")).toString(),
              QStringLiteral("C1 north"));
}

TEST_F(ConnectionTest, TransactionMarkedButNeverWrittenEndsQuietly)
{
    connection().BeginTrans();
    connection().CommitTrans();
    connection().BeginTrans();
    connection().RollbackTrans();
    EXPECT_FALSE(connection().holdsWriteLock());
    EXPECT_THROW(connection().CommitTrans(), db::Error);
    EXPECT_THROW(connection().RollbackTrans(), db::Error);
}

TEST_F(ConnectionTest, RollbackUndoesEveryWriteSinceBeginTrans)
{
    connection().BeginTrans();
    connection().Execute(QStringLiteral("DELETE FROM BookingBerth"));
    connection().Execute(QStringLiteral("DELETE FROM Booking"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 0);
    connection().RollbackTrans();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 4);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM BookingBerth")).toInt(), 4);
}

TEST_F(ConnectionTest, SavepointInsideBeginTransIsAllOrNothing)
{
    db::Connection &c = connection();
    c.BeginTrans();
    c.Execute(QStringLiteral("UPDATE Owner SET Town = 'Bath' WHERE ID = 1"));
    {
        db::Savepoint cascade(c);
        c.Execute(QStringLiteral("DELETE FROM Berth WHERE OwnerID = 1"));
        // Left without release(): the cascade's deletion goes, the dialog's work stays.
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Berth")).toInt(), 4);
    {
        db::Savepoint cascade(c);
        c.Execute(QStringLiteral("DELETE FROM BookingBerth WHERE BerthID = 3"));
        c.Execute(QStringLiteral("DELETE FROM Berth WHERE ID = 3"));
        cascade.release();
    }
    c.CommitTrans();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Town FROM Owner WHERE ID = 1")).toString(),
              QStringLiteral("Bath"));
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(ID) FROM Berth")).toString(), QStringLiteral("1,2,4"));
}

TEST_F(ConnectionTest, FailedStatementInASavepointLeavesEveryRowInPlace)
{
    db::Connection &c = connection();
    c.Execute(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE DELETE ON Berth BEGIN SELECT RAISE(ABORT, 'refused'); "
                             "END"));
    for (const bool inTransaction : {false, true}) {
        if (inTransaction)
            c.BeginTrans();
        try {
            db::Savepoint cascade(c);
            c.Execute(QStringLiteral("DELETE FROM BookingBerth WHERE BerthID = 1"));
            c.Execute(QStringLiteral("DELETE FROM Berth WHERE ID = 1"));
            cascade.release();
            ADD_FAILURE() << "the trigger did not refuse";
        } catch (const db::Error &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("refused")));
        }
        if (inTransaction)
            c.CommitTrans();
        EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM BookingBerth")).toInt(), 4);
        EXPECT_FALSE(c.holdsWriteLock());
    }
}

TEST_F(ConnectionTest, RecordsetOutlivingItsConnectionKeepsItsRowsAndRefusesWrites)
{
    auto other = openAnother();
    db::Recordset owners;
    owners.Open(QStringLiteral("Owner"), other.get(), db::adLockOptimistic);
    other.reset();
    EXPECT_EQ(owners.ActiveConnection(), nullptr);
    EXPECT_EQ(owners.value(QStringLiteral("Name")).toString(), QStringLiteral("Jones"));
    owners.setValue(QStringLiteral("Name"), QStringLiteral("Jonas"));
    EXPECT_THROW(owners.Update(), db::Error);
}

TEST_F(ConnectionTest, ExecuteCountsTheRowsOfEveryStatement)
{
    EXPECT_EQ(connection().Execute(QStringLiteral("UPDATE Berth SET Notes = 'x' WHERE Active = -1; "
                                                  "UPDATE Owner SET Town = 'y';\r\n")),
              5);
    EXPECT_EQ(connection().Execute(QStringLiteral("SELECT * FROM Berth")), 0);
}

} // namespace

namespace {

// Byte 18 of a database file: 1 for a rollback journal, 2 for WAL mode.
int journalFormatOf(const QString &path)
{
    QFile file(path);
    const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(100) : QByteArray();
    return header.size() == 100 ? int(header.at(18)) : -1;
}

TEST_F(ConnectionTest, AFileInWalModeOpensAndBecomesOneFileAgain)
{
    db::Connection &c = connection();
    c.Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    c.Close();
    ASSERT_EQ(journalFormatOf(databasePath()), 2);

    ASSERT_NO_THROW(c.Open());
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    c.Execute(QStringLiteral("UPDATE Berth SET Notes = 'after' WHERE ID = 1"));
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Notes FROM Berth WHERE ID = 1")).toString(),
              QStringLiteral("after"));
    EXPECT_EQ(journalFormatOf(databasePath()), 1);
    EXPECT_FALSE(QFileInfo::exists(databasePath() + QStringLiteral("-wal")));
}

TEST_F(ConnectionTest, AWalFileBroughtToTheRollbackJournalCanBeCopiedIntoAnOpenDatabase)
{
    const QString walFile = folder() + QStringLiteral("/wal.db");
    db::copyDatabaseFile(databasePath(), walFile);
    {
        db::Connection wal;
        wal.Open(connectionStringFor(walFile));
        wal.Execute(QStringLiteral("UPDATE Berth SET Notes = 'from the WAL file' WHERE ID = 1"));
        wal.Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    ASSERT_EQ(journalFormatOf(walFile), 2);

    db::useRollbackJournal(walFile);
    db::replaceDatabaseContents(walFile, databasePath());
    // SQLite's copy takes the journal mode of the file it copies.
    EXPECT_EQ(journalFormatOf(databasePath()), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Notes FROM Berth WHERE ID = 1")).toString(),
              QStringLiteral("from the WAL file"));
}

TEST_F(ConnectionTest, AWritableFilePassesTheWriteCheckUnchangedEvenWhileAnotherWrites)
{
    db::Connection &c = connection();
    c.Execute(QStringLiteral("PRAGMA user_version = 7"));
    EXPECT_NO_THROW(c.checkWritable());
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA user_version")).toInt(), 7);
    EXPECT_FALSE(c.holdsWriteLock());
    EXPECT_FALSE(QFileInfo::exists(databasePath() + QStringLiteral("-journal")));

    // Another window in the middle of a save shows that the file can be written.
    auto other = openAnother();
    other->setBusyTimeout(50);
    c.BeginTrans();
    c.Execute(QStringLiteral("UPDATE Berth SET Notes = 'busy' WHERE ID = 1"));
    EXPECT_NO_THROW(other->checkWritable());
    EXPECT_NO_THROW(c.checkWritable());
    c.CommitTrans();
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT Notes FROM Berth WHERE ID = 1")).toString(),
              QStringLiteral("busy"));
}

} // namespace
