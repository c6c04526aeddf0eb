#include "core/modttgz_api.h"

#include <functional>
#include <random>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/HostileFiles.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"

namespace quorl {
namespace {

// Text and noise mixed, as a database file is, larger than one buffer of the library.
QByteArray sampleData(qsizetype size)
{
    std::mt19937 random(7);
    QByteArray data;
    data.reserve(size);
    while (data.size() < size) {
        data += "Berth C1, Smith, 08/12/2026 10:00;";
        for (int i = 0; i < 40; ++i)
            data += char(random() & 0xff);
    }
    data.truncate(size);
    return data;
}

// What the progress callback saw during one call.
struct Reports {
    std::vector<std::pair<int32_t, int32_t>> seen;
    int abortAfter = -1;   // set the abort value on this report
};
Reports *s_reports = nullptr;

extern "C" void recordProgress(int32_t total, int32_t done, int32_t *abort)
{
    s_reports->seen.emplace_back(total, done);
    if (s_reports->abortAfter >= 0 && int(s_reports->seen.size()) > s_reports->abortAfter)
        *abort = -1;
}

class ArchiveLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        s_reports = &reports;
        RegisterCallback(&recordProgress);
    }
    void TearDown() override
    {
        UnregisterCallback();
        s_reports = nullptr;
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Only the files the test made and the call's own result: no temporary left behind.
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir;
    Reports reports;
};

struct RoundTrip {
    const char *name;
    qsizetype size;
    int level;
    const char *password;
};

void PrintTo(const RoundTrip &c, std::ostream *out) { *out << c.name; }

class ArchiveRoundTrip : public ArchiveLibraryTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(ArchiveRoundTrip, UnpacksTheSameBytesAndReportsProgressUpToTheTotal)
{
    const QByteArray original = sampleData(GetParam().size);
    writeFile(path("source.db"), original);
    ASSERT_EQ(Zcompress(path("source.db"), path("backup.SPA"), QLatin1String(GetParam().password), GetParam().level), 0);
    ASSERT_FALSE(reports.seen.empty());
    EXPECT_EQ(reports.seen.back().first, reports.seen.back().second);
    for (size_t i = 1; i < reports.seen.size(); ++i)
        EXPECT_LE(reports.seen[i - 1].second, reports.seen[i].second);

    reports.seen.clear();
    ASSERT_EQ(Zuncompress(path("backup.SPA"), path("restored.db"), QLatin1String(GetParam().password)), 0);
    EXPECT_TRUE(readFile(path("restored.db")) == original);
    EXPECT_EQ(files(), (QStringList{"backup.SPA", "restored.db", "source.db"}));
    EXPECT_EQ(reports.seen.back().first, reports.seen.back().second);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ArchiveRoundTrip,
    ::testing::Values(RoundTrip{"EmptyFile", 0, -1, "7"}, RoundTrip{"OneByte", 1, -1, "7"},
                      RoundTrip{"ThreeBuffersAndABit", 3 * 1048576 + 17, -1, "7"},
                      RoundTrip{"StoredUncompressed", 100000, 0, "secret"},
                      RoundTrip{"BestCompression", 100000, 9, ""},
                      RoundTrip{"LevelOutOfRangeMeansDefault", 100000, 42, "7"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Damage {
    const char *name;
    std::function<QByteArray(const QByteArray &archive)> apply;
    const char *password = "7";
};

void PrintTo(const Damage &c, std::ostream *out) { *out << c.name; }

class DamagedArchive : public ArchiveLibraryTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedArchive, IsRefusedAsReadErrorAndLeavesTheDestinationAlone)
{
    writeFile(path("source.db"), sampleData(200000));
    ASSERT_EQ(Zcompress(path("source.db"), path("good.SPA"), QStringLiteral("7"), -1), 0);
    writeFile(path("bad.SPA"), GetParam().apply(readFile(path("good.SPA"))));
    writeFile(path("dest.db"), "what was there before");

    EXPECT_EQ(Zuncompress(path("bad.SPA"), path("dest.db"), QLatin1String(GetParam().password)), 3);
    EXPECT_EQ(readFile(path("dest.db")), QByteArray("what was there before"));
    EXPECT_EQ(files(), (QStringList{"bad.SPA", "dest.db", "good.SPA", "source.db"}));
}

QByteArray flipped(QByteArray bytes, qsizetype at)
{
    bytes[at] = char(bytes[at] ^ 0x20);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Archives, DamagedArchive,
    ::testing::Values(
        Damage{"HeaderOnly", [](const QByteArray &a) { return a.left(40); }},
        Damage{"LastByteChanged", [](const QByteArray &a) { return flipped(a, a.size() - 1); }},
        Damage{"OriginalSizeChanged", [](const QByteArray &a) { return flipped(a, 9); }},
        Damage{"BytesAppended", [](const QByteArray &a) { return a + QByteArray("tail"); }},
        Damage{"WrongPassword", [](const QByteArray &a) { return a; }, "8"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ArchiveLibraryTest, AbortFromTheCallbackEndsWithUserAbortAndKeepsTheOldArchive)
{
    writeFile(path("source.db"), sampleData(3 * 1048576));
    writeFile(path("backup.SPA"), "the older archive");
    reports.abortAfter = 1;
    EXPECT_EQ(Zcompress(path("source.db"), path("backup.SPA"), QStringLiteral("7"), -1), 2);
    EXPECT_EQ(readFile(path("backup.SPA")), QByteArray("the older archive"));
    EXPECT_EQ(files(), (QStringList{"backup.SPA", "source.db"}));
}

TEST_F(ArchiveLibraryTest, BadNamesAreRefusedWithoutTouchingTheSource)
{
    writeFile(path("source.db"), "precious");
    EXPECT_EQ(Zcompress(path("missing.db"), path("a.SPA"), QStringLiteral("7"), -1), 1);
    EXPECT_EQ(Zcompress(path("source.db"), path("no/such/folder/a.SPA"), QStringLiteral("7"), -1), 1);
    EXPECT_EQ(Zcompress(path("source.db"), path("source.db"), QStringLiteral("7"), -1), 1);
    EXPECT_EQ(Zcompress(path("source.db"), QString(), QStringLiteral("7"), -1), 1);
    EXPECT_EQ(Zuncompress(path("missing.SPA"), path("out.db"), QStringLiteral("7")), 1);
    EXPECT_EQ(readFile(path("source.db")), QByteArray("precious"));
    EXPECT_EQ(files(), QStringList{"source.db"});
}

const QByteArray kDatabaseHeader("SQLite format 3\0", 16);

TEST_F(ArchiveLibraryTest, BombIsJudgedByItsHeaderAndItsFirstBytes)
{
    constexpr quint64 twoGigabytes = quint64(2) << 30;
    writeBombArchive(path("bomb.SPA"), QByteArray(), twoGigabytes, twoGigabytes);
    quint64 declared = 0;
    EXPECT_EQ(ZoriginalSize(path("bomb.SPA"), QStringLiteral("7"), &declared), 0);
    EXPECT_EQ(declared, twoGigabytes);
    EXPECT_EQ(ZoriginalSize(path("bomb.SPA"), QStringLiteral("8"), &declared), 3);

    EXPECT_EQ(ZuncompressExpecting(path("bomb.SPA"), path("out.db"), QStringLiteral("7"), kDatabaseHeader), 6);
    EXPECT_EQ(reports.seen.size(), 1u) << "unpacking went on past the first bytes";
    EXPECT_EQ(files(), QStringList{"bomb.SPA"});

    // The same kind of archive, small, is a sound one: the refusal above is the check's.
    writeBombArchive(path("small.SPA"), kDatabaseHeader, 3 * 1048576, 16 + 3 * 1048576);
    EXPECT_EQ(ZuncompressExpecting(path("small.SPA"), path("out.db"), QStringLiteral("7"), kDatabaseHeader), 0);
    EXPECT_EQ(QFileInfo(path("out.db")).size(), 16 + 3 * 1048576);
}

TEST_F(ArchiveLibraryTest, FifoIsRefusedWithoutWaitingForAWriter)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.SPA")).constData(), 0600), 0);
    quint64 declared = 0;
    EXPECT_FALSE(waitedOnFifo(path("fifo.SPA"), [&] {
        EXPECT_EQ(Zuncompress(path("fifo.SPA"), path("out.db"), QStringLiteral("7")), 1);
        EXPECT_EQ(ZoriginalSize(path("fifo.SPA"), QStringLiteral("7"), &declared), 1);
        EXPECT_EQ(Zcompress(path("fifo.SPA"), path("out.SPA"), QStringLiteral("7"), -1), 1);
    }));
    EXPECT_TRUE(files().isEmpty()) << "something was written";
}

} // namespace
} // namespace quorl
