#include "core/MaintenanceFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "core/MaintenanceWorld.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modSpas.h"
#include "platform/db/Database.h"
#include "platform/text/Text.h"
#include "support/HostileFiles.h"
#include "support/QuorlTest.h"
#include "support/TestFiles.h"

// Every fsync and fdatasync of this test program, SQLite's among them, passes through
// here, so a test sees which files reached the disk and in which order; and the
// writes to one file can be made to fail, as a failing disk's would.
namespace {

// A sync, and whether the watched name was there at that moment.
struct Sync {
    std::string path;
    bool watchedThere = false;
};

struct DiskLog {
    std::mutex mutex;
    bool recording = false;
    std::vector<Sync> synced;
    std::string watched;
    std::atomic<bool> failing{false};
    std::string failingFile;
};

DiskLog &diskLog()
{
    static DiskLog log;
    return log;
}

std::string pathOf(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link, target, sizeof target);
    return length < 0 ? std::string() : std::string(target, size_t(length));
}

void noteSync(int fd)
{
    DiskLog &log = diskLog();
    const std::lock_guard<std::mutex> lock(log.mutex);
    if (log.recording)
        log.synced.push_back({pathOf(fd), !log.watched.empty() && ::access(log.watched.c_str(), F_OK) == 0});
}

bool writeFails(int fd)
{
    DiskLog &log = diskLog();
    if (!log.failing)
        return false;
    const std::lock_guard<std::mutex> lock(log.mutex);
    return pathOf(fd) == log.failingFile;
}

} // namespace

extern "C" int fsync(int fd)
{
    noteSync(fd);
    return int(::syscall(SYS_fsync, fd));
}

extern "C" int fdatasync(int fd)
{
    noteSync(fd);
    return int(::syscall(SYS_fdatasync, fd));
}

extern "C" ssize_t pwrite64(int fd, const void *data, size_t size, off64_t offset)
{
    if (writeFails(fd)) {
        errno = EIO;
        return -1;
    }
    return ::syscall(SYS_pwrite64, fd, data, size, offset);
}

namespace quorl {
namespace {

class MaintenanceFilesTest : public MaintenanceWorld {
public:
    QString tempDir() const { return worldDir() + QStringLiteral("/tmp"); }
    QString dataDir() const { return QFileInfo(databasePath()).canonicalPath(); }
    QString archive() const { return worldDir() + QStringLiteral("/SPA_08122026.SPA"); }

    // The commands as the user gives them, their messages scripted.
    void backup()
    {
        expectFileDialog(archive());
        expectMessage(QStringLiteral("Database backuped"), ui::vbOK);
        BackupDatabaseCommand();
    }
    void restore(const QStringList &messages = {QStringLiteral("Database restored")})
    {
        expectFileDialog(archive());
        for (const QString &message : messages)
            expectMessage(message, ui::vbOK);
        RestoreDatabaseCommand(nullptr);
    }
    void compact(const QStringList &messages = {})
    {
        for (const QString &message : messages)
            expectMessage(message, ui::vbOK);
        CompactDatabaseCommand();
    }
    void save(const QStringList & = {})
    {
        DbConnection->Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Brown')"));
    }

protected:
    void SetUp() override
    {
        MaintenanceWorld::SetUp();
        setVariable("TMPDIR", tempDir());
        QDir().mkpath(tempDir());
        addCustomers({"Smith", "Jones"});
    }
    void TearDown() override
    {
        stopRecording();
        MaintenanceWorld::TearDown();
    }
    QString eventLog() const
    {
        bool ok = false;
        const QString text = text::readAnsiFile(EventLogPath, &ok);
        return ok ? text : QString();
    }

    // Each sync also notes whether a name given to watch was there.
    void startRecording(const QString &watched = QString())
    {
        const std::lock_guard<std::mutex> lock(diskLog().mutex);
        diskLog().synced.clear();
        diskLog().watched = QFile::encodeName(watched).toStdString();
        diskLog().recording = true;
    }
    void stopRecording()
    {
        const std::lock_guard<std::mutex> lock(diskLog().mutex);
        diskLog().recording = false;
        diskLog().failing = false;
    }
    // The files and folders synced since startRecording, inside the database's folder.
    QStringList syncedInDataFolder()
    {
        const std::lock_guard<std::mutex> lock(diskLog().mutex);
        QStringList synced;
        for (const Sync &sync : diskLog().synced) {
            const QString name = QString::fromStdString(sync.path);
            if (name == dataDir() || name.startsWith(dataDir() + QLatin1Char('/')))
                synced += name.mid(dataDir().size());
        }
        return synced;
    }
    std::vector<Sync> syncs()
    {
        const std::lock_guard<std::mutex> lock(diskLog().mutex);
        return diskLog().synced;
    }
    // What another instance leaves on the way through kind, that instance then killed.
    void leaveAsAKilledRun(const char *kind)
    {
        QProcess other;
        other.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quorl-test-dbhelper"),
                    {QStringLiteral("leave"), QLatin1String(kind), databasePath()});
        EXPECT_TRUE(other.waitForReadyRead(10000) && other.readLine().trimmed() == "ready");
        other.kill();
        other.waitForFinished();
    }
    void failWritesTo(const QString &path)
    {
        const std::lock_guard<std::mutex> lock(diskLog().mutex);
        diskLog().failingFile = QFileInfo(path).canonicalFilePath().toStdString();
        diskLog().failing = true;
    }
};

// A write to the live file: a command from its menu, or a save of a window.
struct Maintenance {
    const char *name;
    const char *event;
    void (MaintenanceFilesTest::*prepare)();   // before anything is recorded; may be null
    void (MaintenanceFilesTest::*run)(const QStringList &messages);
    const char *doneMessage;   // what it says when all went well; may be null
};

// Prepares and runs the write as the user would, all going well.
void runAsUsual(MaintenanceFilesTest &test, const Maintenance &maintenance, const std::function<void()> &atStart)
{
    if (maintenance.prepare)
        (test.*maintenance.prepare)();
    atStart();
    (test.*maintenance.run)(maintenance.doneMessage ? QStringList{QLatin1String(maintenance.doneMessage)}
                                                    : QStringList());
}

void PrintTo(const Maintenance &m, std::ostream *out) { *out << m.name; }

const Maintenance kRestore{"Restore", "Database restore performed", &MaintenanceFilesTest::backup,
                           &MaintenanceFilesTest::restore, "Database restored"};
const Maintenance kCompact{"Compact", "Database compacted", nullptr, &MaintenanceFilesTest::compact, nullptr};
const Maintenance kSave{"Save", "", nullptr, &MaintenanceFilesTest::save, nullptr};

class SafetyCopy : public MaintenanceFilesTest, public ::testing::WithParamInterface<Maintenance> {};

TEST_P(SafetyCopy, IsSyncedAndPutInPlaceWithItsFolderSyncedBeforeTheLiveFileIsWritten)
{
    runAsUsual(*this, GetParam(), [this] { startRecording(); });
    const QStringList synced = syncedInDataFolder();

    const qsizetype copy = synced.indexOf(QStringLiteral("/DB.bak.part"));
    ASSERT_GE(copy, 0) << synced.join(QLatin1Char(' ')).toStdString();
    const qsizetype folder = synced.indexOf(QString(), copy);
    ASSERT_GT(folder, copy) << "the renamed copy's folder was never synced";
    const auto live = std::find_if(synced.begin(), synced.end(),
                                   [](const QString &name) { return name.startsWith(QStringLiteral("/DB.mdb")); });
    ASSERT_NE(live, synced.end());
    EXPECT_LT(folder, live - synced.begin()) << "the live file was written before its safety copy was durable";
    EXPECT_TRUE(QFileInfo(safetyCopyPath(databasePath())).isFile());
    EXPECT_FALSE(QFile::exists(safetyCopyPath(databasePath()) + QStringLiteral(".part")));
}

INSTANTIATE_TEST_SUITE_P(Commands, SafetyCopy, ::testing::Values(kRestore, kCompact),
                         [](const auto &info) { return std::string(info.param.name); });

class CommitToTheLiveFile : public MaintenanceFilesTest, public ::testing::WithParamInterface<Maintenance> {};

// The journal's deletion is the commit: only a sync of the folder after it makes the
// change survive a power cut.
TEST_P(CommitToTheLiveFile, EndsWithTheFolderSyncedAfterTheJournalIsGone)
{
    runAsUsual(*this, GetParam(), [this] { startRecording(); });
    const QStringList synced = syncedInDataFolder();
    ASSERT_FALSE(synced.isEmpty());
    EXPECT_EQ(synced.last(), QString()) << synced.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(QFile::exists(databasePath() + QStringLiteral("-journal")));
}

INSTANTIATE_TEST_SUITE_P(Writes, CommitToTheLiveFile, ::testing::Values(kSave, kRestore, kCompact),
                         [](const auto &info) { return std::string(info.param.name); });

struct FaultCase {
    Maintenance maintenance;
    QStringList messages;   // what each message box says, in order
};

void PrintTo(const FaultCase &c, std::ostream *out) { *out << c.maintenance.name; }

class WriteFault : public MaintenanceFilesTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(WriteFault, IsReportedWithItsEventAndTheNextStartRollsTheJournalBack)
{
    const Maintenance &maintenance = GetParam().maintenance;
    if (maintenance.prepare)
        (this->*maintenance.prepare)();
    addCustomers({"Added after the backup"});
    const QStringList before = customerNames(*DbConnection);
    const QByteArray bytesBefore = readFile(databasePath());

    failWritesTo(databasePath());
    (this->*maintenance.run)(GetParam().messages);

    EXPECT_FALSE(DbConnection->isOpen());
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_TRUE(messages().last().prompt.contains(QStringLiteral("start it again"))) << "the user is not told what to do";
    EXPECT_TRUE(eventLog().contains(QStringLiteral("[%1]\r\nError: ").arg(QLatin1String(maintenance.event))));
    EXPECT_TRUE(eventLog().contains(QStringLiteral("cannot be opened again")));
    ASSERT_TRUE(QFile::exists(databasePath() + QStringLiteral("-journal"))) << "no hot journal was left to test";

    stopRecording();
    auto nextStart = OpenConnection(databasePath(), QString(), 500);
    ASSERT_TRUE(nextStart);
    EXPECT_EQ(customerNames(*nextStart), before);
    EXPECT_FALSE(QFile::exists(databasePath() + QStringLiteral("-journal")));
    nextStart.reset();
    EXPECT_TRUE(readFile(databasePath()) == bytesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, WriteFault,
    ::testing::Values(FaultCase{kRestore, {QStringLiteral("cannot be replaced"), QStringLiteral("start it again")}},
                      FaultCase{kCompact, {QStringLiteral("cannot be compacted")}}),
    [](const auto &info) { return std::string(info.param.maintenance.name); });

// What another instance of the program leaves, made by the same code in a process of
// its own, and where it lies.
struct Leftover {
    const char *kind;
    std::function<QStringList(const MaintenanceFilesTest &)> find;
};

void PrintTo(const Leftover &l, std::ostream *out) { *out << l.kind; }

class LeftoverOfAnotherInstance : public MaintenanceFilesTest, public ::testing::WithParamInterface<Leftover> {
protected:
    int cleanUp() { return removeDeadLeftovers(safetyCopyPath(databasePath()), databasePath() + QStringLiteral(".SPA")); }
};

TEST_P(LeftoverOfAnotherInstance, IsKeptWhileItRunsAndRemovedOnceItWasKilled)
{
    QProcess other;
    other.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quorl-test-dbhelper"),
                {QStringLiteral("leave"), QLatin1String(GetParam().kind), databasePath()});
    ASSERT_TRUE(other.waitForReadyRead(10000));
    ASSERT_EQ(other.readLine().trimmed(), QByteArray("ready"));
    ASSERT_EQ(GetParam().find(*this).size(), 1);

    EXPECT_EQ(cleanUp(), 0);
    EXPECT_EQ(GetParam().find(*this).size(), 1) << "removed while its instance runs";

    other.kill();
    other.waitForFinished();
    ASSERT_EQ(GetParam().find(*this).size(), 1) << "the killed instance left nothing to test";
    EXPECT_EQ(cleanUp(), 1);
    EXPECT_TRUE(GetParam().find(*this).isEmpty());
}

QStringList entries(const QString &folder, const QString &pattern)
{
    QStringList found = QDir(folder).entryList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    found.sort();
    return found;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LeftoverOfAnotherInstance,
    ::testing::Values(
        Leftover{"folder", [](const MaintenanceFilesTest &t) {
                     return entries(t.tempDir(),
                                    QStringLiteral("quorl-maintenance-*")); }},
        Leftover{"part", [](const MaintenanceFilesTest &t) {
                     return entries(t.dataDir(),
                                    QStringLiteral("DB.bak.part")); }},
        Leftover{"archive", [](const MaintenanceFilesTest &t) {
                     return entries(t.dataDir(),
                                    QStringLiteral("DB.mdb.SPA.tmp-*")); }}),
    [](const auto &info) { return std::string(info.param.kind); });

TEST_F(MaintenanceFilesTest, CompactRemovesWhatADeadRunLeftAndNothingElse)
{
    // A dead run's: no lock on them.
    QDir().mkpath(tempDir() + QStringLiteral("/quorl-maintenance-Ab12Cd"));
    writeFile(tempDir() + QStringLiteral("/quorl-maintenance-Ab12Cd/snapshot.db"), "copy");
    writeFile(databasePath().replace(QStringLiteral("DB.mdb"), QStringLiteral("DB.bak.part")), "half a copy");
    // Not ours, or still in use by this very program.
    QDir().mkpath(tempDir() + QStringLiteral("/other-program"));
    const MaintenanceFolder running;
    writeFile(dataDir() + QStringLiteral("/notes.txt.tmp-Xy34Zw"), "a text editor's file");

    CompactDatabaseCommand();

    EXPECT_EQ(entries(tempDir(), QStringLiteral("*")),
              (QStringList{QStringLiteral("other-program"), QFileInfo(running.path()).fileName()}));
    EXPECT_FALSE(QFile::exists(safetyCopyPath(databasePath()) + QStringLiteral(".part")));
    EXPECT_TRUE(QFile::exists(dataDir() + QStringLiteral("/notes.txt.tmp-Xy34Zw")));
}

TEST_F(MaintenanceFilesTest, PartialArchivesOfOtherArchivesAreKeptWhateverTheyHold)
{
    const QString folder = QFileInfo(archive()).absolutePath();
    writeFile(folder + QStringLiteral("/SPA_01122026.SPA.tmp-a1B2c3"), QByteArray(40, '\0') + "packed");
    writeFile(folder + QStringLiteral("/SPA_02122026.SPA.tmp-d4E5f6"), QByteArray("QSPA") + QByteArray(60, 'x'));
    writeFile(folder + QStringLiteral("/SPA_03122026.SPA.tmp-g7H8i9"), QByteArray());
    writeFile(folder + QStringLiteral("/report.doc.tmp-j1K2l3"), "some document");
    writeFile(folder + QStringLiteral("/SPA_04122026.SPA.tmp-toolong"), QByteArray(40, '\0'));
    // An archive named like a partial one is still the user's when chosen.
    const QString chosen = folder + QStringLiteral("/SPA_05122026.SPA.tmp-m4N5o6");
    writeFile(chosen, QByteArray("QSPA") + QByteArray(60, 'x'));

    const QStringList before = entries(folder, QStringLiteral("*.tmp-*"));
    EXPECT_EQ(removeDeadLeftovers(safetyCopyPath(databasePath()), chosen), 0);
    EXPECT_EQ(entries(folder, QStringLiteral("*.tmp-*")), before);
}

// An entry named like a leftover, beside the archive "DB.mdb.SPA" or, named
// "quorl-maintenance-*", in the temporary folder.
enum class Made { File, LinkOut, FolderWithALinkOut, KilledRunsPartialArchive };

struct Found {
    const char *name;
    const char *entry;
    Made made;
    bool removed;
    bool ofAnotherUser = false;   // given away, as root only
    QByteArray bytes = {};
};

void PrintTo(const Found &f, std::ostream *out) { *out << f.name; }

class LeftoverFound : public MaintenanceFilesTest, public ::testing::WithParamInterface<Found> {};

TEST_P(LeftoverFound, IsRemovedOnlyWhenADeadRunOfThisUserMadeIt)
{
    const Found &row = GetParam();
    if (row.ofAnotherUser && ::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    const QString outside = worldDir() + QStringLiteral("/photos");
    QDir().mkpath(outside);
    writeFile(outside + QStringLiteral("/boat.jpg"), "a photo");
    const QString entry = QLatin1String(row.entry);
    QString path = (entry.startsWith(QStringLiteral("quorl-")) ? tempDir() : dataDir()) + QLatin1Char('/') + entry;
    switch (row.made) {
    case Made::File:
        writeFile(path, row.bytes);
        break;
    case Made::LinkOut:
        QFile::link(outside, path);
        break;
    case Made::FolderWithALinkOut:
        QDir().mkpath(path);
        QFile::link(outside, path + QStringLiteral("/photos"));
        break;
    case Made::KilledRunsPartialArchive:
        leaveAsAKilledRun("archive");
        path = dataDir() + QLatin1Char('/') + entries(dataDir(), entry).value(0);
        break;
    }
    if (row.ofAnotherUser) {
        ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), 4242, 4242), 0);
    }
    const QString before = entryFingerprint(path);
    ASSERT_NE(before, QStringLiteral("nothing"));

    EXPECT_EQ(removeDeadLeftovers(safetyCopyPath(databasePath()), databasePath() + QStringLiteral(".SPA")),
              row.removed ? 1 : 0);
    EXPECT_EQ(entryFingerprint(path), row.removed ? QStringLiteral("nothing") : before);
    EXPECT_EQ(readFile(outside + QStringLiteral("/boat.jpg")), QByteArray("a photo"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LeftoverFound,
    ::testing::Values(Found{"EmptyFileOfAnotherName", "notes.tmp-abcdef", Made::File, false},
                      Found{"ZerosNamedLikeAnotherArchivesPart", "disk.img.tmp-a1B2c3", Made::File, false, false,
                            QByteArray(4096, '\0')},
                      Found{"AnotherArchivesPartialFile", "other.SPA.tmp-d4E5f6", Made::File, false, false,
                            QByteArray("QSPA") + QByteArray(60, 'x')},
                      Found{"LinkNamedLikeOurPartialArchive", "DB.mdb.SPA.tmp-g7H8i9", Made::LinkOut, false},
                      Found{"AnotherUsersPartialArchive", "DB.mdb.SPA.tmp-h1J2k3", Made::File, false, true,
                            QByteArray(40, '\0')},
                      Found{"AnotherUsersMaintenanceFolder", "quorl-maintenance-Ot12Hr", Made::FolderWithALinkOut,
                            false, true},
                      Found{"LinkNamedLikeAMaintenanceFolder", "quorl-maintenance-Lk34Mn", Made::LinkOut, false},
                      Found{"DeadRunsFolderWithALinkOut", "quorl-maintenance-Dd56Ee", Made::FolderWithALinkOut, true},
                      Found{"DeadRunsOwnPartialArchive", "DB.mdb.SPA.tmp-*", Made::KilledRunsPartialArchive, true}),
    [](const auto &info) { return std::string(info.param.name); });

// A pipe where the safety copy's partial file goes: opened, it would wait for good.
struct Blocked {
    const char *name;
    void (MaintenanceFilesTest::*prepare)();   // before the pipe is made; may be null
    bool choosesArchive;
    void (*command)();
};

void PrintTo(const Blocked &b, std::ostream *out) { *out << b.name; }

class PipeForThePartialFile : public MaintenanceFilesTest, public ::testing::WithParamInterface<Blocked> {};

TEST_P(PipeForThePartialFile, IsRefusedAtOnceByNameAndTheDatabaseIsLeftAlone)
{
    if (GetParam().prepare)
        (this->*GetParam().prepare)();
    const QString pipe = safetyCopyPath(databasePath()) + QStringLiteral(".part");
    makeFifo(pipe);
    const QByteArray bytes = readFile(databasePath());
    if (GetParam().choosesArchive)
        expectFileDialog(archive());
    expectMessage(pipe, ui::vbOK);

    EXPECT_FALSE(waitedOnFifo(pipe, [&] {
        GetParam().command();
        try {
            const PartialFile part(safetyCopyPath(databasePath()));
            ADD_FAILURE() << "the safety copy was begun in a pipe";
        } catch (const std::runtime_error &error) {
            EXPECT_TRUE(QString::fromStdString(error.what()).contains(pipe)) << error.what();
        }
    }));
    EXPECT_EQ(entryFingerprint(pipe), QStringLiteral("pipe"));
    EXPECT_TRUE(readFile(databasePath()) == bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PipeForThePartialFile,
    ::testing::Values(Blocked{"Backup", nullptr, true, [] { BackupDatabaseCommand(); }},
                      Blocked{"Restore", &MaintenanceFilesTest::backup, true, [] { RestoreDatabaseCommand(nullptr); }},
                      Blocked{"Compact", nullptr, false, &CompactDatabaseCommand}),
    [](const auto &info) { return std::string(info.param.name); });

// The rename is written in the archive's folder: unsynced, a power cut brings back
// the old archive under the name.
TEST_F(MaintenanceFilesTest, BackupSyncsTheArchivesFolderOnceTheArchiveIsInPlace)
{
    const QString folder = QFileInfo(worldDir()).canonicalFilePath();
    startRecording(folder + QStringLiteral("/SPA_08122026.SPA"));
    backup();
    const std::vector<Sync> synced = syncs();

    const auto part = std::find_if(synced.begin(), synced.end(), [&](const Sync &sync) {
        return QString::fromStdString(sync.path).startsWith(folder + QStringLiteral("/SPA_08122026.SPA.tmp-"));
    });
    ASSERT_NE(part, synced.end()) << "the archive library's syncs are not seen";
    EXPECT_TRUE(std::any_of(part, synced.end(), [&](const Sync &sync) {
        return !part->watchedThere && sync.path == folder.toStdString() && sync.watchedThere;
    }));
}

} // namespace
} // namespace quorl
