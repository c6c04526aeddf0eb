#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariantList>

#include "core/modMessageLog.h"
#include "platform/db/Error.h"
#include "platform/paths/Paths.h"
#include "platform/text/Text.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

class MessageLogTest : public QuorlTest {
protected:
    QByteArray logBytes() const
    {
        QFile file(messageLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList logLines() const { return text::readAnsiLines(messageLogPath()); }

    static void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
};

struct SprintfCase {
    const char *name;
    QString format;
    QVariantList arguments;
    QString expected;
};

void PrintTo(const SprintfCase &c, std::ostream *os)
{
    *os << c.name;
}

class SprintfConversion : public MessageLogTest, public ::testing::WithParamInterface<SprintfCase> {};

TEST_P(SprintfConversion, GivesTheText)
{
    const SprintfCase &c = GetParam();
    EXPECT_EQ(Sprintf(c.format, c.arguments), c.expected);
    EXPECT_FALSE(QFileInfo::exists(messageLogPath())) << "a good format writes nothing to the message log";
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SprintfConversion,
    ::testing::Values(
        SprintfCase{"LineBreakAndText", QStringLiteral("Can't create SPA file%nError:%s"), {QStringLiteral("Bad file name")},
                    QStringLiteral("Can't create SPA file\r\nError:Bad file name")},
        SprintfCase{"AllTextCodes", QStringLiteral("%d|%D|%s|%S"), {3, qint64(-12), QStringLiteral("x"), QStringLiteral("")},
                    QStringLiteral("3|-12|x|")},
        SprintfCase{"Tab", QStringLiteral("a%tb"), {}, QStringLiteral("a\tb")},
        SprintfCase{"UpperNAndTAreLetters", QStringLiteral("%N%T"), {}, QStringLiteral("NT")},
        SprintfCase{"DoublePercent", QStringLiteral("100%% sure"), {}, QStringLiteral("100% sure")},
        SprintfCase{"OtherCharacterAlone", QStringLiteral("%q%1"), {}, QStringLiteral("q1")},
        SprintfCase{"TrailingPercentDropped", QStringLiteral("ends in %"), {}, QStringLiteral("ends in ")},
        SprintfCase{"LonePercent", QStringLiteral("%"), {}, QString()},
        SprintfCase{"HexOf255", QStringLiteral("%h"), {255}, QStringLiteral("&HFF")},
        SprintfCase{"HexUpperCode", QStringLiteral("%H"), {4096}, QStringLiteral("&H1000")},
        SprintfCase{"HexOfZero", QStringLiteral("%h"), {0}, QStringLiteral("&H0")},
        SprintfCase{"HexOfMinusOne", QStringLiteral("%h"), {-1}, QStringLiteral("&HFFFFFFFF")},
        SprintfCase{"HexOfNumberText", QStringLiteral("%h"), {QStringLiteral("255")}, QStringLiteral("&HFF")},
        SprintfCase{"HexRoundsHalfToEven", QStringLiteral("%h %h"), {2.5, 3.5}, QStringLiteral("&H2 &H4")},
        SprintfCase{"Fraction", QStringLiteral("%s"), {0.1 + 0.2}, QStringLiteral("0.3")},
        SprintfCase{"WholeDouble", QStringLiteral("%s"), {12.0}, QStringLiteral("12")},
        SprintfCase{"Boolean", QStringLiteral("%s/%s"), {true, false}, QStringLiteral("True/False")},
        SprintfCase{"DateTime", QStringLiteral("%s"), {QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7))},
                    QStringLiteral("08/12/2026 09:05:07")},
        SprintfCase{"MidnightIsDateAlone", QStringLiteral("%s"), {QDateTime(QDate(2026, 12, 8), QTime(0, 0))},
                    QStringLiteral("08/12/2026")},
        SprintfCase{"UnusedArgumentsIgnored", QStringLiteral("only %s"), {QStringLiteral("one"), QStringLiteral("two")},
                    QStringLiteral("only one")},
        SprintfCase{"PercentInArgumentIsData", QStringLiteral("%s"), {QStringLiteral("50%s")}, QStringLiteral("50%s")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MessageLogTest, SprintfTakesPlainArguments)
{
    EXPECT_EQ(Sprintf(QStringLiteral("%s has %d berths, %h free"), "Pier A", 12L, std::size_t(255)),
              QStringLiteral("Pier A has 12 berths, &HFF free"));
}

struct SprintfFailure {
    const char *name;
    QString format;
    QVariantList arguments;
    QString description;
};

void PrintTo(const SprintfFailure &c, std::ostream *os)
{
    *os << c.name;
}

class SprintfFailing : public MessageLogTest, public ::testing::WithParamInterface<SprintfFailure> {};

TEST_P(SprintfFailing, GivesEmptyTextAndOneErrorLine)
{
    const SprintfFailure &c = GetParam();
    EXPECT_EQ(Sprintf(c.format, c.arguments), QString());
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.first(), QStringLiteral("08/12/2026 10:47:00 (ERR): Sprintf: ") + c.description
                                 + QStringLiteral(", [") + c.format + QStringLiteral("]"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SprintfFailing,
    ::testing::Values(
        SprintfFailure{"MissingArgument", QStringLiteral("%s and %s"), {QStringLiteral("one")},
                       QStringLiteral("Subscript out of range")},
        SprintfFailure{"NoArgumentsAtAll", QStringLiteral("%d"), {}, QStringLiteral("Subscript out of range")},
        SprintfFailure{"MissingHexArgument", QStringLiteral("%n%h"), {}, QStringLiteral("Subscript out of range")},
        SprintfFailure{"NullArgument", QStringLiteral("%s"), {QVariant()}, QStringLiteral("Invalid use of Null")},
        SprintfFailure{"HexOfWords", QStringLiteral("%h"), {QStringLiteral("abc")}, QStringLiteral("Type mismatch")},
        SprintfFailure{"HexTooLarge", QStringLiteral("%h"), {qint64(1) << 40}, QStringLiteral("Overflow")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MessageLogTest, LinesCarryTimeStampLevelTagAndCrLf)
{
    setNow(QDateTime(QDate(2026, 3, 1), QTime(7, 4, 9)));
    LogMessage(kLogInfo, QStringLiteral("started %s"), {QStringLiteral("£5")});
    LogMessage(kLogDebug, QStringLiteral("100%%"));
    LogMessage(kLogError, QStringLiteral("%s.mnuFileBackupDB_Click: %s"),
               {QStringLiteral("MDIMain"), QStringLiteral("Disk full")});

    QByteArray expected("01/03/2026 07:04:09 (INF): started \xA3" "5\r\n"
                        "01/03/2026 07:04:09 (DBG): 100%\r\n"
                        "01/03/2026 07:04:09 (ERR): MDIMain.mnuFileBackupDB_Click: Disk full\r\n");
    EXPECT_EQ(logBytes(), expected);
}

TEST_F(MessageLogTest, HexIsEightDigitsOfTheLastBits)
{
    LogMessage(kLogError, QStringLiteral("%x|%X|%x|%x"), {255, -1, qint64(0x1234567890), QStringLiteral("16")});
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("08/12/2026 10:47:00 (ERR): 000000FF|FFFFFFFF|34567890|00000010")});
}

TEST_F(MessageLogTest, LogFormatKnowsNoLineBreakOrHexPrefixCodes)
{
    LogMessage(kLogInfo, QStringLiteral("%n%t%h end %"));
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("08/12/2026 10:47:00 (INF): nth end ")});
}

TEST_F(MessageLogTest, LineThatCannotBeFormattedIsDroppedSilently)
{
    LogMessage(kLogError, QStringLiteral("%s and %s"), {QStringLiteral("one")});
    LogMessage(kLogError, QStringLiteral("%x"), {QStringLiteral("not a number")});
    EXPECT_FALSE(QFileInfo::exists(messageLogPath()));
}

TEST_F(MessageLogTest, MissingProgramFolderLosesTheLineWithoutThrowing)
{
    paths::setProgramFolder(worldDir() + QStringLiteral("/no such folder"));
    EXPECT_NO_THROW(LogMessage(kLogError, QStringLiteral("lost")));
    EXPECT_NO_THROW(Sprintf(QStringLiteral("%s")));
    EXPECT_FALSE(QFileInfo::exists(messageLogPath()));
}

TEST_F(MessageLogTest, LogAtTheLimitIsKeptOneByteMoreIsMovedAside)
{
    const QString bak = messageLogPath() + QStringLiteral(".bak");
    writeBytes(messageLogPath(), QByteArray(kMessageLogLimit, 'a'));
    LogMessage(kLogInfo, QStringLiteral("first"));
    EXPECT_FALSE(QFileInfo::exists(bak));
    EXPECT_GT(QFileInfo(messageLogPath()).size(), kMessageLogLimit);

    LogMessage(kLogInfo, QStringLiteral("second"));
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("08/12/2026 10:47:00 (INF): second")});
    QFile moved(bak);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(moved.readAll().endsWith("(INF): first\r\n")) << "the old log is kept whole in the .bak file";
}

TEST_F(MessageLogTest, OlderBakIsReplacedSoNoLineIsLost)
{
    const QString bak = messageLogPath() + QStringLiteral(".bak");
    writeBytes(bak, QByteArray("an older backup\r\n"));
    writeBytes(messageLogPath(), QByteArray(kMessageLogLimit + 1, 'b'));

    LogMessage(kLogError, QStringLiteral("after roll-over"));
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("08/12/2026 10:47:00 (ERR): after roll-over")});
    EXPECT_EQ(QFileInfo(bak).size(), kMessageLogLimit + 1);

    LogMessage(kLogError, QStringLiteral("and the next"));
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(MessageLogTest, ErrorBoundaryWritesWhereAndWhat)
{
    logError(QStringLiteral("frmBooking.cmdNext_Click"), db::Error(QStringLiteral("no such table: Bookin")));
    logError(QStringLiteral("MDIMain.mnuFileExit_Click"), QStringLiteral("50% done"));
    EXPECT_EQ(logLines(), (QStringList{QStringLiteral("08/12/2026 10:47:00 (ERR): frmBooking.cmdNext_Click: no such table: Bookin"),
                                       QStringLiteral("08/12/2026 10:47:00 (ERR): MDIMain.mnuFileExit_Click: 50% done")}));
}

} // namespace
} // namespace quorl
