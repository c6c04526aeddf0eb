#include <ostream>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "core/MDIMain.h"
#include "core/RegistryValues.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMain.h"
#include "platform/registry/Registry.h"
#include "platform/text/Text.h"
#include "platform/ui/MsgBox.h"
#include "support/QuorlTest.h"

using namespace quorl;

namespace {

class StartUpTest : public QuorlTest
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces"));
    }

    void TearDown() override
    {
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    void pointDataAt(const QString &path)
    {
        SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(kValueData), path);
    }

    QString todaysLog() const
    {
        return text::readAnsiFile(driveC() + QStringLiteral("/Quorlc/traces/08122026/events.Log"));
    }

    void expectConnectionErrorAndEnd()
    {
        expectMessage(QStringLiteral("DB Connection Error"), ui::vbOK);
        EXPECT_EQ(Main(0), nullptr);
        ASSERT_FALSE(messages().isEmpty());
        const ui::MessageRequest &request = messages().last();
        EXPECT_EQ(request.prompt, QStringLiteral("DB Connection Error"));
        EXPECT_EQ(request.buttons, ui::vbCritical | ui::vbOKOnly);
        EXPECT_EQ(request.title, QStringLiteral("Quorl Duzuruz and Campsite Reservation by Tarvex"));
        EXPECT_EQ(DbConnection, nullptr);
        EXPECT_TRUE(EventLogPath.isEmpty());
    }
};

TEST_F(StartUpTest, StartsOnTheStarterDatabaseAndLogsStartAndClose)
{
    std::unique_ptr<MDIMain> window = Main(0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorl Duzuruz and Campsite Reservation by Tarvex"));
    ASSERT_NE(DbConnection, nullptr);
    EXPECT_TRUE(DbConnection->isOpen());
    EXPECT_EQ(todaysLog(), QStringLiteral("[08/12/2026 10:47:00]\r\n[Application started]\r\n\r\n"));

    setNow(QDateTime(QDate(2026, 12, 8), QTime(17, 5, 9)));
    window->close();
    EXPECT_EQ(todaysLog(), QStringLiteral("[08/12/2026 10:47:00]\r\n[Application started]\r\n\r\n"
                                          "[08/12/2026 17:05:09]\r\n[Application closed]\r\n"
                                          "--------------------------------\r\n\r\n"));
}

TEST_F(StartUpTest, ExitAfterTheWindowBoxWritesTheCloseEventOnce)
{
    std::unique_ptr<MDIMain> window = Main(0);
    ASSERT_NE(window, nullptr);
    window->mnuFileExit_Click();
    window->close();
    EXPECT_EQ(todaysLog().count(QStringLiteral("[Application closed]")), 1);
}

TEST_F(StartUpTest, MissingDatabaseEndsTheProgramWithoutCreatingTheFile)
{
    const QString missing = worldDir() + QStringLiteral("/nowhere/DB.mdb");
    pointDataAt(missing);
    expectConnectionErrorAndEnd();
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(StartUpTest, DefaultPathIsTriedWhenTheRegistryHasNoKey)
{
    QFile::remove(databasePath());
    expectConnectionErrorAndEnd();
    EXPECT_FALSE(QFileInfo::exists(databasePath()));
}

TEST_F(StartUpTest, FilesThatAreNoDatabaseEndTheProgram)
{
    const QString empty = worldDir() + QStringLiteral("/empty.mdb");
    QFile(empty).open(QIODevice::WriteOnly);
    pointDataAt(empty);
    expectConnectionErrorAndEnd();

    const QString notes = worldDir() + QStringLiteral("/notes.mdb");
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("These are the harbour master's notes, not a database.\n");
    file.close();
    pointDataAt(notes);
    expectConnectionErrorAndEnd();
}

TEST_F(StartUpTest, WindowsStylePathInTheRegistryFindsTheFileWhateverTheCase)
{
    pointDataAt(QStringLiteral("C:\\QUORLC\\Data\\db.MDB"));
    std::unique_ptr<MDIMain> window = Main(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(QFileInfo(DbConnection->databasePath()).canonicalFilePath(),
              QFileInfo(databasePath()).canonicalFilePath());
    window->close();
}

// A file or folder that nobody may write, not even root (who passes over permissions
// but not over the immutable flag); put back at the end of the test.
class Unwritable {
public:
    explicit Unwritable(const QString &path)
        : m_path(path)
    {
        if (::geteuid() == 0) {
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0;
            m_ok = m_immutable;
        } else {
            m_permissions = QFile::permissions(m_path);
            m_ok = QFile::setPermissions(m_path, QFileInfo(m_path).isDir() ? QFile::ReadOwner | QFile::ExeOwner
                                                                           : QFile::ReadOwner);
        }
    }
    ~Unwritable()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else if (m_ok)
            QFile::setPermissions(m_path, m_permissions);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    QFile::Permissions m_permissions;
    bool m_ok = false;
    bool m_immutable = false;
};

struct UnwritableCase {
    const char *name;
    bool folder; // the folder is locked, so the journal beside the file cannot be made
};

void PrintTo(const UnwritableCase &c, std::ostream *os)
{
    *os << c.name;
}

class StartUpOnUnwritableDatabase : public StartUpTest, public ::testing::WithParamInterface<UnwritableCase> {
};

TEST_P(StartUpOnUnwritableDatabase, EndsTheProgramAsALockedFileDoes)
{
    const QString folder = worldDir() + QStringLiteral("/shared");
    const QString file = folder + QStringLiteral("/DB.mdb");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(databasePath(), file));
    pointDataAt(file);
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    {
        Unwritable locked(GetParam().folder ? folder : file);
        if (!locked.ok())
            GTEST_SKIP() << "this machine cannot make a file that may not be written";
        expectConnectionErrorAndEnd();
    }
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral("-journal")));
}

INSTANTIATE_TEST_SUITE_P(Locks, StartUpOnUnwritableDatabase,
                         ::testing::Values(UnwritableCase{"ReadOnlyFile", false},
                                           UnwritableCase{"FolderWithoutRoomForTheJournal", true}),
                         [](const ::testing::TestParamInfo<UnwritableCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
