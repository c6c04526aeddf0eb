#include "platform/paths/FreeSpace.h"

#include <optional>
#include <ostream>

#include <sys/mount.h>

#include <QDir>
#include <QFile>

#include "support/QuorlTest.h"

namespace quorl {
namespace {

constexpr quint64 kMountBytes = 64 * 1024;

struct FolderCase {
    const char *name;
    // The folder to ask about, made in the world; "" when it cannot be made here.
    QString (*make)(const QString &world);
    // The answer lies within [least, most]; nothing when it is unknown.
    std::optional<std::pair<quint64, quint64>> within;
};

void PrintTo(const FolderCase &c, std::ostream *out) { *out << c.name; }

class FreeSpaceOfFolder : public QuorlTest, public ::testing::WithParamInterface<FolderCase> {
protected:
    void TearDown() override
    {
        ::umount2(QFile::encodeName(worldDir() + QStringLiteral("/small")).constData(), MNT_DETACH);
        QuorlTest::TearDown();
    }
};

TEST_P(FreeSpaceOfFolder, IsAskedOfTheFolderItself)
{
    const QString folder = GetParam().make(worldDir());
    if (folder.isNull())
        GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
    const std::optional<quint64> free = paths::freeBytes(folder);
    if (!GetParam().within) {
        EXPECT_FALSE(free) << *free;
        return;
    }
    ASSERT_TRUE(free);
    EXPECT_GE(*free, GetParam().within->first);
    EXPECT_LE(*free, GetParam().within->second);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FreeSpaceOfFolder,
    ::testing::Values(
        FolderCase{"TheWorld", [](const QString &world) { return world; }, std::pair<quint64, quint64>{1, ~0ull}},
        FolderCase{"MissingFolder", [](const QString &world) { return world + QStringLiteral("/missing"); },
                   std::nullopt},
        FolderCase{"NoFolderAtAll", [](const QString &) { return QStringLiteral(""); }, std::nullopt},
        // Its own small file system: the answer is of the folder's file system, not of
        // the one it sits in.
        FolderCase{"SmallFileSystem", [](const QString &world) {
                       const QString small = world + QStringLiteral("/small");
                       QDir().mkpath(small);
                       const QByteArray options = "size=" + QByteArray::number(kMountBytes);
                       return ::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, options.constData()) == 0
                           ? small : QString(); },
                   std::pair<quint64, quint64>{1, kMountBytes}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
