#include <ostream>
#include <string>

#include <QDir>
#include <QFile>

#include "core/frmViewEventLog.h"
#include "core/modEventLog.h"
#include "support/QuorlTest.h"
#include "support/TestFiles.h"

namespace quorl {
namespace {

class TraceViewerTest : public QuorlTest
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces")));
        InitEventLog();
        ASSERT_FALSE(EventLogPath.isEmpty());
    }

    void TearDown() override
    {
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

};

TEST_F(TraceViewerTest, ShowsTheDaysLogWhileTheProgramGoesOnWritingIt)
{
    WriteEventLog(defaultNow(), evApplicationStarted, QString());
    WriteEventLog(defaultNow(), evBerthAdded, QStringLiteral("Name: 'A1'"));
    // The program holds the log open for appending while the user views it.
    QFile writer(EventLogPath);
    ASSERT_TRUE(writer.open(QIODevice::Append));
    writer.write("[08/12/2026 10:48:00]\r\n");
    writer.flush();

    expectFileDialog(EventLogPath);
    frmViewEventLog viewer;
    ASSERT_TRUE(viewer.load());
    // The dialog starts in the trace folder, on the log files.
    EXPECT_EQ(fileDialogRequests().first().initDir, traceFolderPath());
    EXPECT_EQ(fileDialogRequests().first().filterIndex, 2);
    EXPECT_EQ(viewer.text(), QStringLiteral("[08/12/2026 10:47:00]\n[Application started]\n\n"
                                            "[08/12/2026 10:47:00]\n[Berth added]\nName: 'A1'\n\n"
                                            "[08/12/2026 10:48:00]\n"));
}

TEST_F(TraceViewerTest, EveryLineOfTheFileIsShownWithItsLineBreak)
{
    const QString path = worldDir() + QStringLiteral("/old.log");
    QString text = QStringLiteral("left over");
    for (const auto &[bytes, shown] : {std::pair<QByteArray, QString>{"", ""},
                                      {"first\r\n\r\nCaf\xe9 \x80", "first\r\n\r\nCaf\u00e9 \u20ac\r\n"},
                                      {"unix\nends\n", "unix\r\nends\r\n"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        ASSERT_TRUE(readLogText(path, text));
        EXPECT_EQ(text, shown);
    }
}

TEST_F(TraceViewerTest, CancelOrAnUnreadableFileShowsNoWindowAndNoMessage)
{
    for (const QString &answer : {QString(), worldDir() + QStringLiteral("/missing.log")}) {
        SCOPED_TRACE(answer.toStdString());
        expectFileDialog(answer);
        frmViewEventLog viewer;
        EXPECT_FALSE(viewer.load());
        EXPECT_FALSE(viewer.isVisible());
    }
    EXPECT_TRUE(messages().isEmpty());
}

// A pipe opened for reading waits for a writer that never comes; none of these is
// opened, the user is told and no window shows.
struct NoPlainFileCase {
    const char *name;
    bool (*make)(const QString &path);   // false when this machine cannot
};

void PrintTo(const NoPlainFileCase &c, std::ostream *os) { *os << c.name; }
class TraceViewerRefusalTest : public TraceViewerTest, public ::testing::WithParamInterface<NoPlainFileCase>
{
};

TEST_P(TraceViewerRefusalTest, ChoiceIsRefusedAtOnceWithAMessageNamingIt)
{
    const QString path = worldDir() + QStringLiteral("/chosen.log");
    if (!GetParam().make(path))
        GTEST_SKIP() << "this machine cannot make the file";
    const FifoWatchdog watchdog(path);
    expectFileDialog(path);
    expectMessage(path, ui::vbOK);
    frmViewEventLog viewer;
    EXPECT_FALSE(viewer.load());
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(watchdog.rescued()) << "the viewer opened the file";
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TraceViewerRefusalTest,
    ::testing::Values(NoPlainFileCase{"Fifo", [](const QString &path) { return (makeFifo(path), true); }},
                      NoPlainFileCase{"DeviceFile", makeNullDevice},
                      NoPlainFileCase{"Folder", [](const QString &path) { return QDir().mkdir(path); }},
                      // Sparse, so the disk holds next to nothing of it.
                      NoPlainFileCase{"LargerThanAnyDaysLog",
                                      [](const QString &path) {
                                          QFile file(path);
                                          return file.open(QIODevice::WriteOnly) && file.resize(kTraceLogLimit + 1);
                                      }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
