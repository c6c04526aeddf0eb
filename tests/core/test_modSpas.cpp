#include "core/modSpas.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <random>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QThread>
#include <QTimer>

#include "core/ctlProgressBar.h"
#include "core/frmBackup.h"
#include "core/frmCompact.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modttgz_api.h"
#include "platform/db/Database.h"
#include "platform/db/Maintenance.h"
#include "platform/paths/FreeSpace.h"
#include "platform/text/Text.h"
#include "core/MaintenanceWorld.h"
#include "support/HostileFiles.h"
#include "support/QuorlTest.h"
#include "support/TestFiles.h"

namespace quorl {
namespace {

// The test helper program run in a mode of its own on the same file: another program,
// as a second instance would be, answering a line at a time.
class HelperProcess {
public:
    HelperProcess(const char *mode, const QString &dbPath)
    {
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quorl-test-dbhelper"),
                        {QLatin1String(mode), dbPath});
        EXPECT_EQ(nextLine(), QStringLiteral("ready"));
    }
    ~HelperProcess()
    {
        if (m_process.state() != QProcess::NotRunning)
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    HelperProcess(const HelperProcess &) = delete;
    HelperProcess &operator=(const HelperProcess &) = delete;

protected:
    void send(const QString &command) { m_process.write((command + QLatin1Char('\n')).toUtf8()); }
    void waitForExit() { m_process.waitForFinished(5000); }
    QString nextLine()
    {
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(10000))
                return QStringLiteral("<no answer>");
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
};

// A second instance holding the file open, reading and writing when asked.
class OtherInstance : public HelperProcess {
public:
    explicit OtherInstance(const QString &dbPath)
        : HelperProcess("hold", dbPath)
    {
    }
    ~OtherInstance()
    {
        send(QStringLiteral("quit"));
        waitForExit();
    }
    // Sends one command and returns its one-line answer.
    QString ask(const QString &command)
    {
        send(command);
        return nextLine();
    }
    QStringList names() { return ask(QStringLiteral("names")).split(QLatin1Char(',')); }
};

// Another program saving one customer after another, each save it was told succeeded
// read back by name as it goes.
class SavingInstance : public HelperProcess {
public:
    explicit SavingInstance(const QString &dbPath)
        : HelperProcess("save", dbPath)
    {
    }
    // Waits until count more saves were confirmed; false when none comes in time.
    bool waitForSaves(int count)
    {
        for (const qsizetype wanted = m_confirmed.size() + count; m_confirmed.size() < wanted;) {
            const QString line = nextLine();
            if (!line.startsWith(QStringLiteral("saved ")))
                return false;
            m_confirmed += line;
        }
        return true;
    }
    // Stops the saving; every save that was confirmed.
    QStringList stop()
    {
        send(QStringLiteral("stop"));
        for (QString line = nextLine(); line.startsWith(QStringLiteral("saved ")); line = nextLine())
            m_confirmed += line;
        return m_confirmed;
    }

private:
    QStringList m_confirmed;
};

// A small file system of its own: full at a few kilobytes, or read-only. Needs root.
class SmallMount {
public:
    SmallMount(const QString &folder, bool readOnly)
        : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", readOnly ? MS_RDONLY : 0,
                            "size=32k") == 0;
    }
    ~SmallMount()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

class MaintenanceTest : public MaintenanceWorld {
protected:
    // Rows whose names hardly compress, so the archive is tens of kilobytes.
    void addNoisyCustomers(int count)
    {
        std::mt19937 random(11);
        DbConnection->BeginTrans();
        for (int i = 0; i < count; ++i)
            DbConnection->Execute(QStringLiteral("INSERT INTO Customer (Name, Notes) VALUES ('%1', '%2%3%4')")
                                      .arg(random(), 0, 16)
                                      .arg(random(), 0, 16)
                                      .arg(random(), 0, 16)
                                      .arg(random(), 0, 16));
        DbConnection->CommitTrans();
    }
    QStringList names() { return customerNames(*DbConnection); }
    QString archivePath(const char *name = "SPA_08122026.SPA") const
    {
        return worldDir() + QLatin1Char('/') + QLatin1String(name);
    }
    void backupTo(const QString &archive)
    {
        expectFileDialog(archive);
        expectMessage(QStringLiteral("Database backuped"), ui::vbOK);
        BackupDatabaseCommand();
    }
    QString eventLog() const
    {
        bool ok = false;
        const QString text = text::readAnsiFile(EventLogPath, &ok);
        return ok ? text : QString();
    }
    // The entry the command wrote: its event line followed by its details.
    bool hasEvent(const char *event, const QString &details) const
    {
        return eventLog().contains(QStringLiteral("[%1]\r\n%2").arg(QLatin1String(event), details));
    }
};

TEST_F(MaintenanceTest, BackupThenRestoreBringsBackTheRowsClosesTheChildWindowsAndKeepsABak)
{
    addCustomers({"Smith", "O'Brien"});
    backupTo(archivePath());
    EXPECT_TRUE(hasEvent("Database backup performed", QStringLiteral("\r\n")));
    addCustomers({"Jones"});
    QMdiArea area;
    area.addSubWindow(new QWidget)->show();

    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("Database restored"), ui::vbOK);
    RestoreDatabaseCommand(&area);

    EXPECT_TRUE(area.subWindowList().isEmpty()) << "a child window still shows the replaced rows";
    ASSERT_TRUE(DbConnection->isOpen());
    EXPECT_EQ(names(), (QStringList{"Smith", "O'Brien"}));
    EXPECT_TRUE(hasEvent("Database restore performed", QStringLiteral("\r\n")));
    auto bak = OpenConnection(safetyCopyPath(databasePath()), QString(), 500);
    ASSERT_TRUE(bak);
    EXPECT_EQ(customerNames(*bak), (QStringList{"Smith", "O'Brien", "Jones"}));
}

// The live database, changed by sql and then by damage, packed as the archive.
void archiveChangedDatabase(const QString &archive, const char *sql, const std::function<void(QByteArray &)> &damage = {})
{
    const QString copy = archive + QStringLiteral(".db");
    db::copyDatabaseFile(DbConnection->databasePath(), copy);
    OpenConnection(copy, QString(), 500)->Execute(QString::fromUtf8(sql));
    if (damage) {
        QByteArray bytes = readFile(copy);
        damage(bytes);
        writeFile(copy, bytes);
    }
    ASSERT_EQ(Zcompress(copy, archive, defaultArchivePassword(), -1), 0);
}

constexpr quint64 kTwoGigabytes = quint64(2) << 30;
constexpr quint64 kMegabyte = quint64(1) << 20;
const QByteArray kDatabaseHeader("SQLite format 3\0", 16);

// While it lives, no file this process writes grows beyond the limit: a write past it
// fails, as on a full disk, so a test that unpacks too much fails instead of filling
// the disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(quint64 bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{std::min<rlim_t>(bytes, m_before.rlim_max), m_before.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before{};
    void (*m_handler)(int) = nullptr;
};

struct BadArchive {
    const char *name;
    // Makes the archive from a good one (and the world's folder for extra files).
    std::function<void(const QString &good, const QString &bad)> make;
    const char *message;
    bool smallTemporaryFolder = false;
    // Far below what a bomb would unpack to: only a refusal at its first bytes passes.
    quint64 fileSizeLimit = 16 * kMegabyte;
};

void PrintTo(const BadArchive &c, std::ostream *out) { *out << c.name; }

class RestoreOfBadArchive : public MaintenanceTest, public ::testing::WithParamInterface<BadArchive> {};

TEST_P(RestoreOfBadArchive, LeavesTheDatabaseAndTheEarlierSafetyCopyByteForByteAndShowsAnError)
{
    addCustomers({"Smith"});
    backupTo(archivePath("good.SPA"));
    const QString bak = safetyCopyPath(databasePath());
    db::copyDatabaseFile(databasePath(), bak);
    const QByteArray earlierBak = readFile(bak);
    addCustomers({"Jones"});
    GetParam().make(archivePath("good.SPA"), archivePath("bad.SPA"));
    const QByteArray before = readFile(databasePath());
    SmallMount smallTemporaryFolder(worldDir() + QStringLiteral("/tmp"), false);
    if (GetParam().smallTemporaryFolder) {
        if (!smallTemporaryFolder.mounted())
            GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
        setVariable("TMPDIR", worldDir() + QStringLiteral("/tmp"));
    }

    QMdiArea area;
    area.addSubWindow(new QWidget)->show();

    expectFileDialog(archivePath("bad.SPA"));
    expectMessage(QString::fromUtf8(GetParam().message), ui::vbOK);
    {
        const FileSizeLimit limit(GetParam().fileSizeLimit);
        EXPECT_FALSE(waitedOnFifo(archivePath("bad.SPA"), [&] { RestoreDatabaseCommand(&area); }));
    }
    ASSERT_EQ(messages().size(), 2);
    for (const char *temporary : {"restored.db", ".part"})
        EXPECT_FALSE(messages().at(1).prompt.contains(QLatin1String(temporary))) << "names a temporary file";

    EXPECT_TRUE(readFile(databasePath()) == before);
    EXPECT_TRUE(readFile(bak) == earlierBak) << "the earlier safety copy was replaced";
    EXPECT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(names(), (QStringList{"Smith", "Jones"}));
    EXPECT_TRUE(hasEvent("Database restore performed", QStringLiteral("Error: ")));
    EXPECT_TRUE(eventLog().contains(QString::fromUtf8(GetParam().message).remove(QStringLiteral("Can't add "))));
}

INSTANTIATE_TEST_SUITE_P(
    Archives, RestoreOfBadArchive,
    ::testing::Values(
        BadArchive{"Truncated", [](const QString &good, const QString &bad) {
                       writeFile(bad, readFile(good).chopped(100)); }, "Can't add Read error"},
        BadArchive{"OneByteChanged", [](const QString &good, const QString &bad) {
                       QByteArray bytes = readFile(good);
                       bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
                       writeFile(bad, bytes); }, "Can't add Read error"},
        BadArchive{"EmptyFile", [](const QString &, const QString &bad) { writeFile(bad, QByteArray()); },
                   "Can't add Read error"},
        BadArchive{"TextFileRenamed", [](const QString &, const QString &bad) {
                       writeFile(bad, "Name,Town\r\nSmith,Brighton\r\n"); }, "Can't add Read error"},
        BadArchive{"WrongPassword", [](const QString &, const QString &bad) {
                       const QString copy = bad + QStringLiteral(".db");
                       db::copyDatabaseFile(DbConnection->databasePath(), copy);
                       ASSERT_EQ(Zcompress(copy, bad, QStringLiteral("8"), -1), 0); }, "Can't add Read error"},
        BadArchive{"SoundArchiveOfNoDatabase", [](const QString &, const QString &bad) {
                       writeFile(bad + QStringLiteral(".txt"), "just some text");
                       ASSERT_EQ(Zcompress(bad + QStringLiteral(".txt"), bad, defaultArchivePassword(), -1), 0); },
                   "bad.SPA\" holds no database of this program"},
        BadArchive{"DatabaseWithOtherTables", [](const QString &, const QString &bad) {
                       archiveChangedDatabase(bad, "CREATE TABLE Invoice (Total DOUBLE); DROP TABLE Customer"); },
                   "bad.SPA\" holds no database of this program: the table \"Customer\" is missing"},
        BadArchive{"ColumnDropped", [](const QString &, const QString &bad) {
                       archiveChangedDatabase(bad, "ALTER TABLE Berth DROP COLUMN Notes"); },
                   "holds no database of this program: the table \"Berth\" lacks the column \"Notes\""},
        BadArchive{"PlantedTrigger", [](const QString &, const QString &bad) {
                       archiveChangedDatabase(bad, "CREATE TRIGGER WipeBookings AFTER INSERT ON Customer "
                                                   "BEGIN DELETE FROM Booking; END"); },
                   "holds no database of this program: the trigger \"WipeBookings\" is not one of the program's."},
        BadArchive{"ProgramTriggerRewritten", [](const QString &, const QString &bad) {
                       archiveChangedDatabase(bad, "DROP TRIGGER CustomerClubMemberInsert; "
                                                   "CREATE TRIGGER CustomerClubMemberInsert AFTER INSERT ON Customer "
                                                   "BEGIN DELETE FROM Booking; END"); },
                   "program: the trigger \"CustomerClubMemberInsert\" is not one of the program's."},
        BadArchive{"PlantedView", [](const QString &, const QString &bad) {
                       archiveChangedDatabase(bad, "CREATE VIEW Everyone AS SELECT * FROM Customer"); },
                   "holds no database of this program: the view \"Everyone\" is not one of the program's."},
        BadArchive{"SafetyCopyDoesNotFitTheDisk", [](const QString &good, const QString &bad) {
                       QFile::copy(good, bad);
                       DbConnection->Execute(QStringLiteral("UPDATE Customer SET Notes = hex(randomblob(%1))")
                                                 .arg(kMegabyte)); },
                   "The database cannot be copied to the safety copy \"", false, kMegabyte},
        BadArchive{"DatabaseDamagedInside", [](const QString &, const QString &bad) {
                       archiveChangedDatabase(bad, "INSERT INTO Customer (Name) SELECT hex(zeroblob(900)) FROM BerthType",
                                              [](QByteArray &b) { b.replace(b.size() - 2048, 1024, QByteArray(1024, 'x')); }); },
                   "bad.SPA\" is no sound database"},
        BadArchive{"TwoGigabytesOfZeros", [](const QString &, const QString &bad) {
                       writeBombArchive(bad, QByteArray(), kTwoGigabytes, kTwoGigabytes); },
                   "bad.SPA\" holds no database of this program"},
        BadArchive{"DatabaseHeaderAndTwoGigabytesInANearlyFullTemporaryFolder", [](const QString &, const QString &bad) {
                       writeBombArchive(bad, kDatabaseHeader, kTwoGigabytes, kTwoGigabytes + 16); },
                   "not enough free space in the temporary folder (2049 MB needed)", true},
        BadArchive{"DeclaresAPetabyte", [](const QString &, const QString &bad) {
                       writeBombArchive(bad, kDatabaseHeader, 1 << 20, quint64(1) << 50); },
                   "bad.SPA\" cannot be unpacked: not enough free space in the temporary folder (1073741824 MB needed)"},
        BadArchive{"Fifo", [](const QString &, const QString &bad) {
                       ASSERT_EQ(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0); },
                   "bad.SPA\" is no archive"}),
    [](const auto &info) { return std::string(info.param.name); });

class RestoreOfGoodArchive : public MaintenanceTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(RestoreOfGoodArchive, BringsBackItsRowsInTheProgramsJournalMode)
{
    addCustomers({"Smith"});
    archiveChangedDatabase(archivePath(), GetParam());
    addCustomers({"Jones"});
    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("Database restored"), ui::vbOK);
    RestoreDatabaseCommand(nullptr);
    EXPECT_EQ(names(), QStringList{"Smith"});
    EXPECT_EQ(readFile(databasePath()).at(18), 1) << "the live file took the archive's journal mode";
    EXPECT_TRUE(hasEvent("Database restore performed", QStringLiteral("\r\n")));
}

INSTANTIATE_TEST_SUITE_P(Archives, RestoreOfGoodArchive,
                         ::testing::Values("PRAGMA journal_mode=WAL",
                                           "CREATE TABLE Extra (Note TEXT); ALTER TABLE Customer ADD COLUMN Nickname TEXT"),
                         [](const auto &info) { return info.index == 0 ? "InWalMode" : "WithMoreTablesAndColumns"; });

// Clicks "&Cancel" of the progress window as soon as the library lets events run.
void clickCancelWhenShown()
{
    QTimer::singleShot(0, [] {
        if (frmBackup *progress = backupProgressWindow())
            progress->btnPrekid->click();
    });
}

TEST_F(MaintenanceTest, AbortedRestoreLeavesTheDatabaseAndSaysSoInTheEvent)
{
    addCustomers({"Smith"});
    backupTo(archivePath());
    addCustomers({"Jones"});
    const QByteArray before = readFile(databasePath());

    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("Do you really want to cancel current operation"), ui::vbYes);
    clickCancelWhenShown();
    RestoreDatabaseCommand(nullptr);

    EXPECT_TRUE(readFile(databasePath()) == before);
    EXPECT_TRUE(hasEvent("Database restore performed", QStringLiteral("Aborted\r\n")));
    EXPECT_EQ(backupProgressWindow(), nullptr);
}

enum class Command { Backup, Restore };

struct CancelCase {
    const char *name;
    Command command;
    // Cancel is clicked once the bar has reached here: the start of the step.
    double barAt;
    bool aborts;
};

void PrintTo(const CancelCase &c, std::ostream *out) { *out << c.name; }

class CancelDuringStep : public MaintenanceTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelDuringStep, AbortsWithEverythingAsItWasUntilTheLiveFileIsWritten)
{
    addCustomers({"Smith"});
    backupTo(archivePath());
    addCustomers({"Jones"});
    QFile::remove(safetyCopyPath(databasePath()));
    const QByteArray before = readFile(databasePath());

    bool clicked = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        frmBackup *progress = backupProgressWindow();
        if (!clicked && progress && progress->ctlProgressBar1->Value() >= GetParam().barAt) {
            progress->btnPrekid->click();
            clicked = true;
        }
    });
    watcher.start(0);
    const bool backup = GetParam().command == Command::Backup;
    expectFileDialog(archivePath(backup ? "new.SPA" : "SPA_08122026.SPA"));
    expectMessage(GetParam().aborts ? QStringLiteral("Do you really want to cancel current operation")
                                    : QStringLiteral("Database restored"),
                  GetParam().aborts ? ui::vbYes : ui::vbOK);
    if (backup)
        BackupDatabaseCommand();
    else
        RestoreDatabaseCommand(nullptr);

    EXPECT_TRUE(clicked);
    EXPECT_EQ(backupProgressWindow(), nullptr);
    if (!GetParam().aborts) {
        EXPECT_EQ(names(), QStringList{"Smith"});
        return;
    }
    EXPECT_TRUE(readFile(databasePath()) == before);
    EXPECT_EQ(names(), (QStringList{"Smith", "Jones"}));
    EXPECT_TRUE(hasEvent(backup ? "Database backup performed" : "Database restore performed",
                         QStringLiteral("Aborted\r\n")));
    EXPECT_FALSE(QFile::exists(archivePath("new.SPA")));
    for (const QString &folder : {worldDir(), QFileInfo(databasePath()).absolutePath()}) {
        const QStringList litter = QDir(folder).entryList({QStringLiteral("*.part"), QStringLiteral("*.tmp-*")});
        EXPECT_TRUE(litter.isEmpty()) << litter.join(QLatin1Char(' ')).toStdString();
    }
    if (!backup && GetParam().barAt == kRestoreSafetyCopyPart.from) {
        EXPECT_FALSE(QFile::exists(safetyCopyPath(databasePath())));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CancelDuringStep,
    ::testing::Values(CancelCase{"BackupCopy", Command::Backup, kBackupCopyPart.from, true},
                      CancelCase{"RestoreSafetyCopy", Command::Restore, kRestoreSafetyCopyPart.from, true},
                      CancelCase{"RestoreCheck", Command::Restore, kRestoreCheckPart.from, true},
                      CancelCase{"RestoreBeforeCopyIn", Command::Restore, kRestoreCopyInPart.from, true},
                      CancelCase{"RestoreCopyInIsNotStopped", Command::Restore, kRestoreCopyInPart.from + 1, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MaintenanceTest, CancelAnsweredNoLetsTheBackupFinish)
{
    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("Do you really want to cancel current operation"), ui::vbNo);
    expectMessage(QStringLiteral("Database backuped"), ui::vbOK);
    clickCancelWhenShown();
    BackupDatabaseCommand();
    EXPECT_TRUE(QFile::exists(archivePath()));
}

TEST_F(MaintenanceTest, CancelledFileDialogDoesNothing)
{
    expectFileDialog(QString());
    BackupDatabaseCommand();
    expectFileDialog(QString());
    RestoreDatabaseCommand(nullptr);
    EXPECT_FALSE(eventLog().contains(QStringLiteral("Database backup performed")));
    EXPECT_FALSE(eventLog().contains(QStringLiteral("Database restore performed")));
}

TEST_F(MaintenanceTest, WorkOfAWindowInTheMiddleOfSavingIsNotRolledBack)
{
    DbConnection->BeginTrans();
    addCustomers({"Being saved"});
    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("still saving"), ui::vbOK);
    BackupDatabaseCommand();
    DbConnection->CommitTrans();
    EXPECT_EQ(names(), QStringList{"Being saved"});
    EXPECT_FALSE(QFile::exists(archivePath()));
}

struct RefusedBackupTarget {
    const char *name;
    // Makes what stands there and gives its path; "" when this machine cannot.
    QString (*make)(const QString &world, const QString &database);
    const char *why;
};

void PrintTo(const RefusedBackupTarget &c, std::ostream *os) { *os << c.name; }

QString besideTheDatabase(const QString &database, const char *name)
{
    return QFileInfo(database).absolutePath() + QLatin1Char('/') + QLatin1String(name);
}

const RefusedBackupTarget kRefusedBackupTargets[] = {
    {"DB_mdb", [](const QString &, const QString &database) { return database; }, "is the database in use"},
    {"DB_bak", [](const QString &, const QString &database) { return besideTheDatabase(database, "DB.bak"); },
     "is the database in use"},
    {"DB_mdb_journal",
     [](const QString &, const QString &database) { return besideTheDatabase(database, "DB.mdb-journal"); },
     "is the database in use"},
    {"HardLinkOfTheDatabase",
     [](const QString &world, const QString &database) {
         const QString link = world + QStringLiteral("/linked.SPA");
         return ::link(QFile::encodeName(database).constData(), QFile::encodeName(link).constData()) == 0 ? link
                                                                                                          : QString();
     },
     "is the database in use"},
    {"Device",
     [](const QString &world, const QString &) {
         return makeNullDevice(world + QStringLiteral("/null.SPA")) ? world + QStringLiteral("/null.SPA") : QString();
     },
     "is not a plain file"},
    {"Socket",
     [](const QString &world, const QString &) {
         const QString path = world + QStringLiteral("/socket.SPA");
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         const QByteArray name = QFile::encodeName(path);
         if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
             return QString();
         std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
         const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
         ::close(fd);
         return bound ? path : QString();
     },
     "is not a plain file"},
};

class BackupOverTheDatabase : public MaintenanceTest, public ::testing::WithParamInterface<RefusedBackupTarget> {};

TEST_P(BackupOverTheDatabase, IsRefusedSayingWhyAndTheDatabaseKept)
{
    addCustomers({"Smith"});
    const QString target = GetParam().make(worldDir(), databasePath());
    if (target.isEmpty())
        GTEST_SKIP() << "this machine cannot make the target";
    const QString why = QLatin1String(GetParam().why);
    const QByteArray before = readFile(databasePath());
    const QString targetBefore = entryFingerprint(target);
    expectFileDialog(target);
    expectMessage(QStringLiteral("\"%1\" %2").arg(target, why), ui::vbOK);
    BackupDatabaseCommand();
    EXPECT_TRUE(readFile(databasePath()) == before);
    EXPECT_EQ(entryFingerprint(target), targetBefore);
    EXPECT_EQ(names(), QStringList{"Smith"});
    EXPECT_TRUE(hasEvent("Database backup performed", QStringLiteral("Error: \"%1\" %2").arg(target, why)));
}

INSTANTIATE_TEST_SUITE_P(Paths, BackupOverTheDatabase, ::testing::ValuesIn(kRefusedBackupTargets),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(MaintenanceTest, ExistingArchiveIsReplacedOnlyWhenPlain)
{
    const struct {
        const char *name;
        std::function<void(const QString &)> make;
        bool replaceable;
    } cases[] = {
        {"nothing.SPA", [](const QString &) {}, true},
        {"plain.SPA", [](const QString &p) { writeFile(p, "old"); }, true},
        {"readonly.SPA", [](const QString &p) { writeFile(p, "old"); QFile::setPermissions(p, QFile::ReadOwner); }, false},
        {".hidden.SPA", [](const QString &p) { writeFile(p, "old"); }, false},
        {"folder.SPA", [](const QString &p) { QDir().mkpath(p); }, false},
        {"link.SPA", [this](const QString &p) { QFile::link(databasePath(), p); }, false},
    };
    for (const auto &c : cases) {
        const QString path = archivePath(c.name);
        c.make(path);
        EXPECT_EQ(PrepareArchiveTarget(path), c.replaceable) << c.name;
    }
    backupTo(archivePath("plain.SPA"));
    EXPECT_NE(readFile(archivePath("plain.SPA")), QByteArray("old"));
}

TEST_F(MaintenanceTest, BackupToAFullOrReadOnlyDiskIsReportedNeverAsSuccess)
{
    addNoisyCustomers(3000);
    for (const bool readOnly : {false, true}) {
        const QString folder = worldDir() + (readOnly ? QStringLiteral("/ro") : QStringLiteral("/full"));
        SmallMount mount(folder, readOnly);
        if (!mount.mounted())
            GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
        expectFileDialog(folder + QStringLiteral("/SPA_08122026.SPA"));
        expectMessage(QStringLiteral("Can't create SPA file\r\nError:Write error"), ui::vbOK);
        BackupDatabaseCommand();
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty()) << "read-only: " << readOnly;
    }
    EXPECT_TRUE(hasEvent("Database backup performed", QStringLiteral("Error: Write error")));
}

TEST_F(MaintenanceTest, BackupWithAFullTemporaryFolderNamesTheFolderNotItsFile)
{
    addNoisyCustomers(3000);
    SmallMount mount(worldDir() + QStringLiteral("/tmp"), false);
    if (!mount.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
    setVariable("TMPDIR", worldDir() + QStringLiteral("/tmp"));
    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("cannot be copied to the temporary folder: database or disk is full"), ui::vbOK);
    BackupDatabaseCommand();
    EXPECT_FALSE(messages().at(0).prompt.contains(QStringLiteral("snapshot.db")));
    EXPECT_FALSE(QFile::exists(archivePath()));
}

TEST_F(MaintenanceTest, SecondInstanceKeepsWorkingThroughRestoreAndCompact)
{
    addCustomers({"Smith"});
    backupTo(archivePath());
    OtherInstance other(databasePath());
    EXPECT_EQ(other.ask(QStringLiteral("insert Replaced by the restore")), QStringLiteral("ok"));

    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("Database restored"), ui::vbOK);
    RestoreDatabaseCommand(nullptr);
    EXPECT_EQ(other.names(), QStringList{"Smith"});
    EXPECT_EQ(other.ask(QStringLiteral("insert Other after restore")), QStringLiteral("ok"));
    addCustomers({"First after restore"});

    CompactDatabaseCommand();
    EXPECT_EQ(other.ask(QStringLiteral("insert Other after compact")), QStringLiteral("ok"));
    addCustomers({"First after compact"});

    const QStringList expected{"Smith", "Other after restore", "First after restore", "Other after compact",
                               "First after compact"};
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(other.names(), expected);
    EXPECT_NO_THROW(db::checkDatabaseFile(databasePath()));
}

TEST_F(MaintenanceTest, EverySaveOfAnotherProgramDuringARestoreIsInTheBakOrInTheRestoredDatabase)
{
    // Some megabytes, so that the restore's steps take a while.
    DbConnection->Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
        "INSERT INTO Customer (Name, Notes) SELECT hex(randomblob(8)), hex(randomblob(200)) FROM n"));
    backupTo(archivePath());
    SavingInstance other(databasePath());
    ASSERT_TRUE(other.waitForSaves(5));

    expectFileDialog(archivePath());
    expectMessage(QStringLiteral("Database restored"), ui::vbOK);
    RestoreDatabaseCommand(nullptr);
    ASSERT_TRUE(other.waitForSaves(5)) << "the other program cannot save after the restore";
    const QStringList confirmed = other.stop();

    const QStringList restored = names();
    auto bak = OpenConnection(safetyCopyPath(databasePath()), QString(), 500);
    ASSERT_TRUE(bak);
    const QStringList kept = customerNames(*bak);
    QSet<QString> somewhere(restored.begin(), restored.end());
    somewhere.unite(QSet<QString>(kept.begin(), kept.end()));
    QStringList lost;
    for (const QString &name : confirmed)
        if (!somewhere.contains(name))
            lost += name;
    EXPECT_TRUE(lost.isEmpty()) << lost.size() << " of " << confirmed.size() << " confirmed saves lost: "
                                << lost.join(QStringLiteral(", ")).toStdString();
}

TEST_F(MaintenanceTest, CompactShrinksTheFileKeepsEveryRowAndTheBak)
{
    addNoisyCustomers(3000);
    DbConnection->Execute(QStringLiteral("DELETE FROM Customer WHERE ID % 10 <> 0"));
    const QStringList before = names();
    const qint64 sizeBefore = QFileInfo(databasePath()).size();

    CompactDatabaseCommand();

    EXPECT_LT(QFileInfo(databasePath()).size(), sizeBefore / 2);
    EXPECT_EQ(names(), before);
    EXPECT_EQ(QFileInfo(safetyCopyPath(databasePath())).size(), sizeBefore);
    EXPECT_TRUE(hasEvent("Database compacted", QStringLiteral("\r\n")));
}

TEST_F(MaintenanceTest, FailedCompactIsShownAndLogged)
{
    QFile::remove(databasePath());
    expectMessage(QStringLiteral("does not exist"), ui::vbOK);
    CompactDatabaseCommand();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().at(0).title, QStringLiteral("Error!"));
    EXPECT_EQ(messages().at(0).buttons & 0x70, int(ui::vbCritical));
    EXPECT_TRUE(hasEvent("Database compacted", QStringLiteral("Error: ")));
    EXPECT_TRUE(readFile(programDir() + QStringLiteral("/message.log")).contains("mnuFileCompactDB_Click"));
}

TEST_F(MaintenanceTest, CompactKilledAtRandomMomentsLeavesASoundDatabaseWithEveryRow)
{
    // Large enough that the compact takes a good part of the helper's run.
    DbConnection->Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000) "
        "INSERT INTO Customer (Name, Notes) SELECT hex(randomblob(4)), hex(randomblob(16)) FROM n"));
    DbConnection->Execute(QStringLiteral("DELETE FROM Customer WHERE ID % 2 = 0"));
    const QStringList rows = names();
    DbConnection.reset();

    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/quorl-test-dbhelper");
    auto startCompact = [&](QProcess &compact) {
        compact.start(helper, {QStringLiteral("compact"), databasePath()});
        return compact.waitForReadyRead(10000);   // "start": the compact begins now
    };
    QProcess first;
    ASSERT_TRUE(startCompact(first));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(first.waitForFinished(30000));
    ASSERT_EQ(first.exitCode(), 0);
    const int fullRun = int(clock.elapsed()) + 1;

    std::mt19937 random(2026);
    for (int round = 0; round < 50; ++round) {
        QProcess compact;
        ASSERT_TRUE(startCompact(compact));
        QThread::msleep(random() % fullRun);
        compact.kill();
        compact.waitForFinished();

        auto connection = OpenConnection(databasePath(), QString(), 500);
        ASSERT_TRUE(connection) << "round " << round;
        auto check = connection->ExecuteQuery(QStringLiteral("PRAGMA integrity_check"));
        ASSERT_EQ(check->value(0).toString(), QStringLiteral("ok")) << "round " << round;
        ASSERT_EQ(customerNames(*connection), rows) << "round " << round;
    }
}

class CompactWaitingForALock : public MaintenanceTest, public ::testing::WithParamInterface<bool> {};

// Another program holds the write lock the rebuild needs and gives it up only once
// the compact's dots have moved during the rebuild: a rebuild that kept the window's
// thread would wait out the busy time, the dots standing still, and fail.
TEST_P(CompactWaitingForALock, KeepsTheWindowRedrawingAndFinishesOnceItIsFree)
{
    const bool withSafetyCopy = GetParam();
    addCustomers({"Smith"});
    const QString bak = safetyCopyPath(databasePath());
    QFile::remove(bak);
    auto holder = OpenConnection(databasePath(), QString(), 500);
    ASSERT_TRUE(holder);
    holder->BeginTrans();
    holder->Execute(QStringLiteral("INSERT INTO Customer (Name) VALUES ('Held')"));

    frmCompact window;
    window.Execute();
    // Only once the safety copy is in place is the rebuild the step that waits.
    QObject::connect(window.Timer1, &QTimer::timeout, [&] {
        if (holder->inTransaction() && (!withSafetyCopy || QFile::exists(bak)))
            holder->CommitTrans();
    });
    QString failure;
    EXPECT_TRUE(CompactDatabase(databasePath(), withSafetyCopy, &failure)) << failure.toStdString();
    window.Destroy();

    EXPECT_FALSE(holder->inTransaction()) << "the dots never moved while the compact waited";
    EXPECT_EQ(names(), (QStringList{"Smith", "Held"}));
    EXPECT_EQ(QFile::exists(bak), withSafetyCopy);
    EXPECT_NO_THROW(db::checkDatabaseFile(databasePath()));
}

INSTANTIATE_TEST_SUITE_P(Steps, CompactWaitingForALock, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "WithSafetyCopy" : "WithoutSafetyCopy"; });

struct FreeSpaceCase {
    const char *name;
    // The temporary folder's free space from the size the archive declares; nothing
    // when the system cannot tell it.
    std::function<std::optional<quint64>(quint64 declared)> freeSpace;
    const char *message;
};

void PrintTo(const FreeSpaceCase &c, std::ostream *out) { *out << c.name; }

class RestoreWithFreeSpace : public MaintenanceTest, public ::testing::WithParamInterface<FreeSpaceCase> {
protected:
    void TearDown() override
    {
        paths::setFreeSpaceQuestion({});
        MaintenanceTest::TearDown();
    }
};

TEST_P(RestoreWithFreeSpace, UnpacksOnlyWhatIsKnownToFit)
{
    addCustomers({"Smith"});
    backupTo(archivePath());
    addCustomers({"Jones"});
    quint64 declared = 0;
    ASSERT_EQ(ZoriginalSize(archivePath(), defaultArchivePassword(), &declared), 0);
    QStringList asked;
    paths::setFreeSpaceQuestion([&](const QString &folder) {
        asked += folder;
        return GetParam().freeSpace(declared);
    });

    expectFileDialog(archivePath());
    expectMessage(QString::fromUtf8(GetParam().message), ui::vbOK);
    RestoreDatabaseCommand(nullptr);

    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.at(0).startsWith(QDir::tempPath())) << asked.at(0).toStdString();
    const bool restored = GetParam().message == std::string("Database restored");
    EXPECT_EQ(names(), restored ? QStringList{"Smith"} : (QStringList{"Smith", "Jones"}));
    EXPECT_TRUE(hasEvent("Database restore performed", restored ? QStringLiteral("\r\n") : QStringLiteral("Error: ")));
}

INSTANTIATE_TEST_SUITE_P(
    TemporaryFolders, RestoreWithFreeSpace,
    ::testing::Values(
        FreeSpaceCase{"Unknown", [](quint64) { return std::optional<quint64>(); },
                      "SPA_08122026.SPA\" cannot be unpacked: the free space in the temporary folder cannot be told."},
        FreeSpaceCase{"OneByteShort", [](quint64 declared) { return std::optional<quint64>(declared - 1); },
                      "SPA_08122026.SPA\" cannot be unpacked: not enough free space in the temporary folder"},
        FreeSpaceCase{"Exactly", [](quint64 declared) { return std::optional<quint64>(declared); },
                      "Database restored"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BackupProgressCallback, KeepsTheBarWithinItsRangeAndNeverAbortsUnasked)
{
    ShowBackupProgress();
    // total, done, the bar's value
    for (const auto &[total, done, value] : {std::tuple{100, 50, 50.0}, {0, 0, 100.0}, {10, 25, 100.0}, {10, -5, 0.0}}) {
        int32_t abort = 1;
        BackupProgressCallback(total, done, &abort);
        EXPECT_EQ(abort, 0);
        EXPECT_EQ(backupProgressWindow()->ctlProgressBar1->Value(), value) << total << "/" << done;
    }
    HideBackupProgress();
    EXPECT_EQ(backupProgressWindow(), nullptr);
}

} // namespace
} // namespace quorl
