#include <QDir>
#include <QFile>

#include "platform/paths/Paths.h"
#include "platform/text/Text.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

class PathsTest : public QuorlTest {};

TEST_F(PathsTest, BothSpellingsOfTheDatabaseNameOneFile)
{
    ASSERT_TRUE(QFile::exists(databasePath()));
    EXPECT_EQ(databasePath(), driveC() + "/Quorlc/data/DB.mdb");
    EXPECT_EQ(paths::resolve("C:\\Quorlc\\Data\\db.mdb"), databasePath());
    EXPECT_EQ(paths::resolve("c:/QUORLC/DATA/DB.MDB"), databasePath());
}

TEST_F(PathsTest, NewComponentsKeepTheirCaseAfterTheExistingOnes)
{
    EXPECT_EQ(paths::resolve("C:\\QUORLC\\Traces\\08122026\\events.Log"),
              driveC() + "/Quorlc/Traces/08122026/events.Log");
    ASSERT_TRUE(QDir().mkpath(driveC() + "/Quorlc/traces"));
    EXPECT_EQ(paths::resolve("C:\\QUORLC\\Traces\\08122026\\events.Log"),
              driveC() + "/Quorlc/traces/08122026/events.Log");
}

TEST_F(PathsTest, ExactSpellingWinsWhereCaseAloneTellsEntriesApart)
{
    ASSERT_TRUE(text::writeAnsiFile(programDir() + "/Tip.txt", "a"));
    ASSERT_TRUE(text::writeAnsiFile(programDir() + "/tip.txt", "b"));
    EXPECT_EQ(paths::resolve(programDir() + "\\tip.txt"), programDir() + "/tip.txt");
    EXPECT_EQ(paths::resolve(programDir() + "\\Tip.txt"), programDir() + "/Tip.txt");
}

struct Spelling {
    const char *windows;
    const char *underDriveC; // "" for the drive root itself
};

void PrintTo(const Spelling &s, std::ostream *os)
{
    *os << '"' << s.windows << '"';
}

class PathsFolding : public PathsTest, public ::testing::WithParamInterface<Spelling> {};

TEST_P(PathsFolding, FoldsDotsAndSeparatorsWithinTheDrive)
{
    const QString expected = driveC() + QString::fromUtf8(GetParam().underDriveC);
    EXPECT_EQ(paths::resolve(QString::fromUtf8(GetParam().windows)), expected);
}

INSTANTIATE_TEST_SUITE_P(Spellings, PathsFolding,
                         ::testing::Values(Spelling{"c:\\Quorlc\\data\\..\\data\\.\\DB.mdb", "/Quorlc/data/DB.mdb"},
                                           Spelling{"c:\\..\\..\\Quorlc", "/Quorlc"},
                                           Spelling{"c:\\Quorlc\\\\data\\", "/Quorlc/data/"},
                                           Spelling{"c:\\Quorlc\\traces\\", "/Quorlc/traces/"},
                                           Spelling{"\\Quorlc", "/Quorlc"},
                                           Spelling{"c:\\", "/"},
                                           Spelling{"c:", ""}));

class PathsForOpen : public PathsTest, public ::testing::WithParamInterface<Spelling> {};

// The kernel takes ".." after a link and keeps a trailing blank: the path a writer
// opens leaves both to it, and maps only the drive and the letter case.
TEST_P(PathsForOpen, KeepsDotsAndBlanksForTheKernel)
{
    const QString expected = driveC() + QString::fromUtf8(GetParam().underDriveC);
    EXPECT_EQ(paths::resolveForOpen(QString::fromUtf8(GetParam().windows)), expected);
}

INSTANTIATE_TEST_SUITE_P(Spellings, PathsForOpen,
                         ::testing::Values(Spelling{"c:\\QUORLC\\data\\..\\Data\\.\\db.MDB",
                                                    "/Quorlc/data/../data/./DB.mdb"},
                                           Spelling{"C:\\Quorlc\\DATA\\out.csv ", "/Quorlc/data/out.csv "},
                                           Spelling{"c:\\Quorlc\\\\data\\", "/Quorlc/data/"},
                                           Spelling{"\\Quorlc\\New\\x.txt", "/Quorlc/New/x.txt"}));

TEST_F(PathsTest, LocalPathsAreOpenedAsTheyStand)
{
    for (const QString &local : {worldDir() + "/a/../QUORLC/ x ", worldDir() + "/data/DB.MDB", QString()})
        EXPECT_EQ(paths::resolveForOpen(local), local);
}

TEST_F(PathsTest, DriveLettersFollowTheirVariablesAtCallTime)
{
    unsetVariable("QUORL_DRIVE_D");
    EXPECT_EQ(paths::resolve("d:\\Backups\\a.SPA"), worldDir() + "/drive_d/Backups/a.SPA");
    setVariable("QUORL_DRIVE_D", worldDir() + "/usb/");
    EXPECT_EQ(paths::resolve("D:\\Backups\\a.SPA"), worldDir() + "/usb/Backups/a.SPA");

    unsetVariable("QUORL_DRIVE_C");
    setVariable("XDG_DATA_HOME", worldDir() + "/share");
    EXPECT_EQ(paths::driveRoot('c'), worldDir() + "/share/quorl-marina/drive_c");
    EXPECT_EQ(paths::driveRoot('E'), worldDir() + "/share/quorl-marina/drive_e");
}

TEST_F(PathsTest, LocalAndRelativePathsStayOnTheirOwnRoots)
{
    EXPECT_EQ(paths::resolve(paths::joinWindows(programDir(), "message.log")), programDir() + "/message.log");
    EXPECT_EQ(paths::resolve(programDir() + "\\..\\data\\DB.mdb"), worldDir() + "/data/DB.mdb");
    EXPECT_EQ(paths::resolve("help\\Quorlc.hlp"), programDir() + "/help/Quorlc.hlp");
    EXPECT_EQ(paths::resolve("/"), "/");
    EXPECT_EQ(paths::resolve(""), "");
}

TEST_F(PathsTest, CommandLinePathsStartAtTheCurrentFolderUnlessWindowsStyle)
{
    const QString current = worldDir() + "/shell";
    ASSERT_TRUE(QDir().mkpath(current));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current));
    EXPECT_EQ(paths::resolveFromCurrentFolder("starter.mdb"), current + "/starter.mdb");
    EXPECT_EQ(paths::resolveFromCurrentFolder("new/starter.mdb"), current + "/new/starter.mdb");
    EXPECT_EQ(paths::resolveFromCurrentFolder("../starter.mdb"), worldDir() + "/starter.mdb");
    EXPECT_EQ(paths::resolveFromCurrentFolder("./"), current + "/");
    EXPECT_EQ(paths::resolveFromCurrentFolder(worldDir() + "/x.mdb"), worldDir() + "/x.mdb");
    EXPECT_EQ(paths::resolveFromCurrentFolder("c:\\Quorlc\\Data\\db.mdb"), databasePath());
    EXPECT_EQ(paths::resolveFromCurrentFolder("\\Quorlc\\data\\DB.mdb"), databasePath());
    QDir::setCurrent(before);
}

TEST(PathsJoin, PutsExactlyOneSeparatorBetween)
{
    EXPECT_EQ(paths::joinWindows("c:\\x\\", "y"), "c:\\x\\y");
    EXPECT_EQ(paths::joinWindows("c:\\x", "y"), "c:\\x\\y");
    EXPECT_EQ(paths::joinWindows("c:\\x\\", "\\y"), "c:\\x\\y");
    EXPECT_EQ(paths::joinWindows("/opt/q", "y"), "/opt/q/y");
    EXPECT_EQ(paths::joinWindows("", "y"), "y");
}

} // namespace
} // namespace quorl
