#include <string>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include "core/frmViewEventLog.h"
#include "core/modEventLog.h"
#include "support/QuorlTest.h"

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

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = worldDir() + QLatin1Char('/') + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
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
    const ui::FileDialogRequest &request = fileDialogRequests().first();
    EXPECT_EQ(request.title, "Open Trace Log File");
    EXPECT_EQ(request.initDir, traceFolderPath());
    EXPECT_EQ(request.filter, "All Files (*.*)|*.*| Log Files (*.log)|*.log|");
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_FALSE(request.save);
    EXPECT_EQ(viewer.text(), QStringLiteral("[08/12/2026 10:47:00]\n[Application started]\n\n"
                                            "[08/12/2026 10:47:00]\n[Berth added]\nName: 'A1'\n\n"
                                            "[08/12/2026 10:48:00]\n"));

    writer.write("[Berth deleted]\r\n");
    writer.close();
    WriteEventLog(defaultNow(), evBerthModified, QStringLiteral("Berth 'A1' inactivated"));
    EXPECT_TRUE(viewer.text().endsWith("[08/12/2026 10:48:00]\n")) << "the window shows the file as it was read";
}

struct LogTextCase {
    const char *name;
    QByteArray bytes;
    QString text; // as readLogText gives it
};

class LogTexts : public TraceViewerTest, public ::testing::WithParamInterface<LogTextCase>
{
};

TEST_P(LogTexts, EveryLineIsShownWithItsLineBreak)
{
    const QString path = writeFile(QStringLiteral("some.log"), GetParam().bytes);
    QString text = QStringLiteral("left over");
    ASSERT_TRUE(readLogText(path, text));
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LogTexts,
    ::testing::Values(LogTextCase{"Empty", QByteArray(), QString()},
                      LogTextCase{"TwoLines", "first\r\nsecond", QStringLiteral("first\r\nsecond\r\n")},
                      LogTextCase{"TwoLinesEnded", "first\r\nsecond\r\n", QStringLiteral("first\r\nsecond\r\n")},
                      LogTextCase{"UnixLineEnds", "first\nsecond\n", QStringLiteral("first\r\nsecond\r\n")},
                      LogTextCase{"EmptyLinesKept", "a\r\n\r\nb\r\n", QStringLiteral("a\r\n\r\nb\r\n")},
                      LogTextCase{"WindowsCharacters", "Name: 'Caf\xe9 \x80'\r\n",
                                  QStringLiteral("Name: 'Caf\u00e9 \u20ac'\r\n")}),
    [](const ::testing::TestParamInfo<LogTextCase> &info) { return std::string(info.param.name); });

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

TEST_F(TraceViewerTest, EnlargingTheWindowGrowsTheTextAndLeavesCloseInPlace)
{
    frmViewEventLog viewer;
    viewer.show();
    auto *text = viewer.findChild<QPlainTextEdit *>(QStringLiteral("txtEvent"));
    auto *close = viewer.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    const QRect textBefore = text->geometry();
    const QPoint closeBefore = close->pos();
    viewer.resize(viewer.size() + QSize(120, 80));
    EXPECT_EQ(text->size(), textBefore.size() + QSize(120, 80));
    EXPECT_EQ(close->pos(), closeBefore);
    close->click();
    EXPECT_FALSE(viewer.isVisible());
}

} // namespace
} // namespace quorl
