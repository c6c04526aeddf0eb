#include <unistd.h>

#include <ostream>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "core/RegistryValues.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "platform/registry/Registry.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

const QString kDashes(32, QLatin1Char('-'));

class EventLogTest : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        EventLogPath.clear();
        for (QString &name : EventNames)
            name.clear();
    }

    void TearDown() override
    {
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    QString traces() const { return driveC() + QStringLiteral("/Quorlc/traces"); }

    void makeTraceFolder() const { ASSERT_TRUE(QDir().mkpath(traces())); }

    QByteArray dayLog(const QString &day = QStringLiteral("08122026")) const
    {
        QFile file(traces() + QLatin1Char('/') + day + QStringLiteral("/events.Log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void makeDayFolders(const QStringList &names) const
    {
        for (const QString &name : names) {
            ASSERT_TRUE(QDir().mkpath(traces() + QLatin1Char('/') + name));
            QFile log(traces() + QLatin1Char('/') + name + QStringLiteral("/events.Log"));
            ASSERT_TRUE(log.open(QIODevice::WriteOnly));
            log.write("[01/12/2026 09:00:00]\r\n");
        }
    }

    QStringList remainingFolders() const
    {
        QStringList names = QDir(traces()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }
};

TEST_F(EventLogTest, EntriesReadBackByteForByte)
{
    makeTraceFolder();
    InitEventLog();
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(10, 47, 0)), evApplicationStarted, QString());
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(11, 5, 9)), evCustomersExported,
                  QStringLiteral("Filename: Prices £.csv"));
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(0, 0, 0)), evApplicationClosed, kDashes);

    const QByteArray expected = QByteArray("[08/12/2026 10:47:00]\r\n[Application started]\r\n\r\n")
        + "[08/12/2026 11:05:09]\r\n[Customers exported]\r\nFilename: Prices \xA3.csv\r\n\r\n"
        + "[08/12/2026]\r\n[Application closed]\r\n" + kDashes.toLatin1() + "\r\n\r\n";
    EXPECT_EQ(dayLog(), expected);
}

TEST_F(EventLogTest, EventLineFollowsTheCode)
{
    makeTraceFolder();
    InitEventLog();
    const QDateTime when(QDate(2026, 12, 8), QTime(12, 0, 0));
    WriteEventLog(when, evRegionalSettingsModified, QString());
    WriteEventLog(when, 27, QStringLiteral("spare slot"));
    WriteEventLog(when, 31, QStringLiteral("no such code"));
    WriteEventLog(when, -1, QString());
    WriteEventLog(when, evBookingCancelled, QStringList{QStringLiteral("Booking 7"), QStringLiteral("Berth A1")});

    const QByteArray expected = QByteArray("[08/12/2026 12:00:00]\r\n[Regional settings modified]\r\n\r\n")
        + "[08/12/2026 12:00:00]\r\n[]\r\nspare slot\r\n\r\n"
        + "[08/12/2026 12:00:00]\r\nno such code\r\n\r\n"
        + "[08/12/2026 12:00:00]\r\n\r\n"
        + "[08/12/2026 12:00:00]\r\n[Booking cancelled]\r\nBooking 7\r\nBerth A1\r\n\r\n";
    EXPECT_EQ(dayLog(), expected);
}

TEST_F(EventLogTest, SecondStartOfTheDayAppendsToTheSameFile)
{
    makeTraceFolder();
    InitEventLog();
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(8, 0, 0)), evApplicationStarted, QString());
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(9, 0, 0)), evApplicationClosed, kDashes);

    EventLogPath.clear();
    InitEventLog();
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)), evApplicationStarted, QString());

    EXPECT_TRUE(dayLog().endsWith(kDashes.toLatin1() + "\r\n\r\n[08/12/2026 10:00:00]\r\n[Application started]\r\n\r\n"));
    EXPECT_EQ(QDir(traces()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("08122026")});
}

TEST_F(EventLogTest, DayFolderIsMadeButNeverTheTraceFolder)
{
    InitEventLog();
    WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(10, 47, 0)), evApplicationStarted, QString());
    EXPECT_FALSE(QFileInfo::exists(traces()));
    EXPECT_EQ(QDir(driveC() + QStringLiteral("/Quorlc")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("data")});
}

TEST_F(EventLogTest, WritingBeforeTheLogIsReadyWritesNothing)
{
    makeTraceFolder();
    EXPECT_NO_THROW(WriteEventLog(QDateTime(QDate(2026, 12, 8), QTime(10, 47, 0)), evApplicationClosed, kDashes));
    EXPECT_TRUE(remainingFolders().isEmpty());
}

TEST_F(EventLogTest, TraceFolderSettingIsFollowedWhateverItsCase)
{
    ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Quorlc/TRACES")));
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(kValueTraces),
                     QStringLiteral("C:\\Quorlc\\Traces\\"));
    setNow(QDateTime(QDate(2027, 1, 3), QTime(6, 30, 0)));

    InitEventLog();
    WriteEventLog(ui::Now(), evBerthAdded, QStringLiteral("Name: 'A1'"));

    QFile log(driveC() + QStringLiteral("/Quorlc/TRACES/03012027/events.Log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("[03/01/2027 06:30:00]\r\n[Berth added]\r\nName: 'A1'\r\n\r\n"));
}

TEST_F(EventLogTest, EmptyTraceSettingTurnsTheLogOff)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(kValueTraces), QString());
    InitEventLog();
    EXPECT_TRUE(EventLogPath.isEmpty());
    EXPECT_NO_THROW(WriteEventLog(ui::Now(), evApplicationStarted, QString()));
}

// An entry the log cannot take is not shown to the user, but it leaves a line in the
// message log. Each world below fails for root too, who may write into read-only folders.
struct UnwritableCase {
    const char *name;
    const char *traces; // the "traces" setting
    void (*prepare)(const QString &driveC);
};

void PrintTo(const UnwritableCase &c, std::ostream *out)
{
    *out << c.name;
}

class EventLogUnwritable : public EventLogTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(EventLogUnwritable, EachLostEntryLeavesAnErrorLineInTheMessageLog)
{
    GetParam().prepare(driveC());
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(kValueTraces),
                     QString::fromLatin1(GetParam().traces));
    InitEventLog();
    EXPECT_NO_THROW(WriteEventLog(ui::Now(), evBerthAdded, QStringLiteral("Name: 'A1'")));
    EXPECT_NO_THROW(WriteEventLog(ui::Now(), evApplicationClosed, kDashes));

    const QStringList lines = text::readAnsiLines(messageLogPath());
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.at(0).contains(QStringLiteral(" (ERR): modEventLog.WriteEventLog: ")));
    EXPECT_TRUE(lines.at(0).contains(QStringLiteral("Berth added")));
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("Application closed")));
}

INSTANTIATE_TEST_SUITE_P(
    Worlds, EventLogUnwritable,
    ::testing::Values(
        UnwritableCase{"TraceFolderMissing", "C:\\Quorlc\\traces\\", [](const QString &) {}},
        UnwritableCase{"TraceFolderUnderAFile", "C:\\Quorlc\\data\\DB.mdb\\traces\\", [](const QString &) {}},
        UnwritableCase{"TraceFolderIsAFile", "C:\\Quorlc\\traces\\",
                       [](const QString &drive) { ASSERT_TRUE(text::writeAnsiFile(drive + "/Quorlc/traces", "x")); }},
        UnwritableCase{"EventsLogIsAFolder", "C:\\Quorlc\\traces\\",
                       [](const QString &drive) { ASSERT_TRUE(QDir().mkpath(drive + "/Quorlc/traces/08122026/events.Log")); }}),
    [](const ::testing::TestParamInfo<UnwritableCase> &info) { return std::string(info.param.name); });

// Text nobody typed in a one-line box (a name stored by another program, a file name
// from the file dialog, SQLite's error text about a crafted archive) reaches both
// logs; only the program may start an entry or a line.
struct ForgingValue {
    const char *name;
    QString value;
    QString written;
};

void PrintTo(const ForgingValue &c, std::ostream *out)
{
    *out << c.name;
}

class LogValueOnOneLine : public EventLogTest, public ::testing::WithParamInterface<ForgingValue> {};

TEST_P(LogValueOnOneLine, ReadsBackAsOneEntryOfOneLine)
{
    makeTraceFolder();
    InitEventLog();
    const QDateTime when(QDate(2026, 12, 8), QTime(10, 47, 0));
    WriteEventLog(when, evCustomerDeleted, QStringLiteral("Name: ") + GetParam().value);
    WriteEventLog(when, evBookingAdded, QStringList{QStringLiteral("From: ") + GetParam().value, QStringLiteral("Berth(s): A1")});
    logError(QStringLiteral("modSpas.SpasavanjeExecute"), GetParam().value);

    const QString entries = text::fromAnsi(dayLog());
    const QString expected = QStringLiteral("[08/12/2026 10:47:00]\r\n[Customer deleted]\r\nName: %1\r\n\r\n"
                                            "[08/12/2026 10:47:00]\r\n[Booking added]\r\nFrom: %1\r\nBerth(s): A1\r\n\r\n")
                                 .arg(GetParam().written);
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(text::readAnsiLines(messageLogPath()),
              QStringList{QStringLiteral("08/12/2026 10:47:00 (ERR): modSpas.SpasavanjeExecute: ") + GetParam().written});
}

INSTANTIATE_TEST_SUITE_P(
    Values, LogValueOnOneLine,
    ::testing::Values(
        ForgingValue{"CrLfForgingAnEntry", QStringLiteral("Smith\r\n\r\n[08/12/2026 10:47:00]\r\n[Customer deleted]"),
                     QStringLiteral("Smith    [08/12/2026 10:47:00]  [Customer deleted]")},
        ForgingValue{"LoneLineFeedAndCarriageReturn", QStringLiteral("a\nb\rc"), QStringLiteral("a b c")},
        ForgingValue{"TabNulAndEscape", QStringLiteral(u"a\tb\u0000c\u001b"), QStringLiteral("a b c ")},
        ForgingValue{"UnicodeLineBreaks", QStringLiteral(u"a\u0085b\u2028c\u2029d"), QStringLiteral("a b c d")},
        ForgingValue{"PlainTextStaysAsItIs", QStringLiteral(u"O'Brien & Sons \u00a3"),
                     QStringLiteral(u"O'Brien & Sons \u00a3")}),
    [](const ::testing::TestParamInfo<ForgingValue> &info) { return std::string(info.param.name); });

// Today is 8 December 2026: the limit is midnight of 1 December.
TEST_F(EventLogTest, OldTracesGoOnYesOnlyRealDatesBeforeTheLimit)
{
    makeDayFolders({QStringLiteral("08122026"), QStringLiteral("02122026"), QStringLiteral("01122026"),
                    QStringLiteral("30112026"), QStringLiteral("15062025"), QStringLiteral("backup"),
                    QStringLiteral("32012020"), QStringLiteral("00002020"), QStringLiteral("1234567"),
                    QStringLiteral("0101202x")});
    expectMessage(QStringLiteral("Do you want to delete traces older than 7 days?"), ui::vbYes);

    DeleteOldTraces();

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().first().title, QStringLiteral("End of workday"));
    EXPECT_EQ(messages().first().buttons, int(ui::vbYesNo));
    EXPECT_EQ(remainingFolders(),
              (QStringList{QStringLiteral("00002020"), QStringLiteral("0101202x"), QStringLiteral("01122026"),
                           QStringLiteral("02122026"), QStringLiteral("08122026"), QStringLiteral("1234567"),
                           QStringLiteral("32012020"), QStringLiteral("backup")}));
}

TEST_F(EventLogTest, AnsweringNoKeepsEveryFolder)
{
    makeDayFolders({QStringLiteral("08122026"), QStringLiteral("30112026"), QStringLiteral("01012020")});
    expectMessage(QStringLiteral("older than 7 days"), ui::vbNo);
    DeleteOldTraces();
    EXPECT_EQ(remainingFolders().size(), 3);
}

TEST_F(EventLogTest, LimitFollowsTheClock)
{
    makeDayFolders({QStringLiteral("31122026"), QStringLiteral("01012027")});
    setNow(QDateTime(QDate(2027, 1, 8), QTime(23, 59, 59)));
    expectMessage(QStringLiteral("older than 7 days"), ui::vbYes);
    DeleteOldTraces();
    EXPECT_EQ(remainingFolders(), QStringList{QStringLiteral("01012027")});
}

// A program left running for days keeps writing to its start day's log, which was
// in use, and so never deleted, when the clean-up ran.
TEST_F(EventLogTest, LogOfTheRunningProgramStaysThroughTheCleanUp)
{
    makeTraceFolder();
    makeDayFolders({QStringLiteral("30112026")});
    setNow(QDateTime(QDate(2026, 12, 1), QTime(8, 0, 0)));
    InitEventLog();
    WriteEventLog(ui::Now(), evApplicationStarted, QString());

    setNow(QDateTime(QDate(2026, 12, 9), QTime(17, 30, 0)));
    expectMessage(QStringLiteral("older than 7 days"), ui::vbYes);
    DeleteOldTraces();
    EXPECT_EQ(remainingFolders(), QStringList{QStringLiteral("01122026")});

    WriteEventLog(ui::Now(), evCustomerAdded, QStringLiteral("Name: 'Hull'"));
    EXPECT_EQ(dayLog(QStringLiteral("01122026")),
              QByteArray("[01/12/2026 08:00:00]\r\n[Application started]\r\n\r\n"
                         "[09/12/2026 17:30:00]\r\n[Customer added]\r\nName: 'Hull'\r\n\r\n"));
}

TEST_F(EventLogTest, ReadOnlyFilesInAnOldFolderAreDeleted)
{
    makeDayFolders({QStringLiteral("01112026")});
    const QString log = traces() + QStringLiteral("/01112026/events.Log");
    ASSERT_TRUE(QFile::setPermissions(log, QFile::ReadOwner));
    EXPECT_EQ(deleteTraceFoldersBefore(traces(), QDate(2026, 12, 1)), 1);
    EXPECT_TRUE(remainingFolders().isEmpty());
}

// Makes a file that cannot be removed, and undoes it at the end of the test.
class UndeletableFile {
public:
    explicit UndeletableFile(const QString &folder)
        : m_folder(folder)
        , m_file(folder + QStringLiteral("/in use.txt"))
    {
        QFile file(m_file);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.close();
        if (::geteuid() == 0) {
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_file}) == 0;
            m_ok = m_immutable;
        } else {
            m_ok = QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        }
    }

    ~UndeletableFile()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_file});
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    bool ok() const { return m_ok; }

private:
    QString m_folder;
    QString m_file;
    bool m_ok = false;
    bool m_immutable = false;
};

TEST_F(EventLogTest, FolderThatCannotGoIsPassedOverAndTheOthersStillGo)
{
    makeDayFolders({QStringLiteral("01012026"), QStringLiteral("02012026"), QStringLiteral("08122026")});
    ASSERT_TRUE(QDir().mkpath(traces() + QStringLiteral("/01012026/locked")));
    UndeletableFile locked(traces() + QStringLiteral("/01012026/locked"));
    if (!locked.ok())
        GTEST_SKIP() << "this machine cannot make an undeletable file";

    expectMessage(QStringLiteral("older than 7 days"), ui::vbYes);
    EXPECT_NO_THROW(DeleteOldTraces());
    EXPECT_EQ(remainingFolders(), (QStringList{QStringLiteral("01012026"), QStringLiteral("08122026")}));
}

} // namespace
} // namespace quorl
