#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <ostream>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/paths/GuardedFileWriter.h"
#include "support/QuorlTest.h"
#include "support/TestFiles.h"

namespace quorl {
namespace {

struct WriterCase {
    const char *name;
    std::function<void(const QString &target, const QString &database)> before;  // ahead of open()
    std::function<void(const QString &target, const QString &database)> between; // after open(), ahead of commit()
    bool written;
    const char *expectedAtTarget; // the kind entryFingerprint() starts with
};

void PrintTo(const WriterCase &c, std::ostream *os) { *os << c.name; }

mode_t modeOf(const QString &path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

void replaceWithLink(const QString &target, const QString &to)
{
    QFile::remove(target);
    ASSERT_TRUE(QFile::link(to, target));
}

const auto kNothing = [](const QString &, const QString &) {};

const WriterCase kCases[] = {
    {"NewFile", kNothing, kNothing, true, "file"},
    {"ExistingFileKeepsItsRights",
     [](const QString &target, const QString &) {
         writeFile(target, "old");
         QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
     },
     kNothing, true, "file"},
    // A rename replaces the link's name; the file it pointed at stays as it was.
    {"LinkToAPlainFileIsReplacedNotFollowed",
     [](const QString &target, const QString &) {
         writeFile(target + ".elsewhere", "kept");
         replaceWithLink(target, target + ".elsewhere");
     },
     kNothing, true, "file"},
    {"NameBecameALinkToTheDatabase", kNothing,
     [](const QString &target, const QString &database) { replaceWithLink(target, database); }, false, "link"},
    {"NameBecameAHardLinkOfTheDatabase", kNothing,
     [](const QString &target, const QString &database) {
         QFile::remove(target);
         ASSERT_EQ(::link(QFile::encodeName(database).constData(), QFile::encodeName(target).constData()), 0);
     },
     false, "file"},
    {"NameBecameAFolder", kNothing, [](const QString &target, const QString &) { QDir().mkdir(target); }, false,
     "folder"},
};

class GuardedFileWriterTest : public QuorlTest, public ::testing::WithParamInterface<WriterCase> {};

TEST_P(GuardedFileWriterTest, WritesOnlyWhatItCheckedJustBeforeTheRename)
{
    const WriterCase &c = GetParam();
    const QString target = worldDir() + QStringLiteral("/list.txt");
    const QByteArray databaseBefore = readFile(databasePath());
    c.before(target, databasePath());
    const mode_t keptMode = QFile::exists(target) && !QFileInfo(target).isSymLink() ? modeOf(target) : 0;

    paths::GuardedFileWriter file(target, databasePath());
    ASSERT_TRUE(file.open()) << file.errorString().toStdString();
    ASSERT_TRUE(file.write("new"));
    c.between(target, databasePath());
    EXPECT_EQ(file.commit(), c.written);

    const QString standing = entryFingerprint(target);
    EXPECT_TRUE(standing.startsWith(QLatin1String(c.expectedAtTarget))) << standing.toStdString();
    if (c.written) {
        EXPECT_EQ(readFile(target), "new");
        if (keptMode) {
            EXPECT_EQ(modeOf(target), keptMode);
        }
    } else {
        EXPECT_TRUE(file.errorString().contains(target)) << file.errorString().toStdString();
    }
    if (QFile::exists(target + ".elsewhere")) {
        EXPECT_EQ(readFile(target + ".elsewhere"), "kept");
    }
    EXPECT_EQ(readFile(databasePath()), databaseBefore);
    EXPECT_EQ(QDir(worldDir()).entryList({QStringLiteral("list.txt.tmp-*")}, QDir::AllEntries | QDir::System),
              QStringList());
}

INSTANTIATE_TEST_SUITE_P(Targets, GuardedFileWriterTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
