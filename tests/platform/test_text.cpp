#include <QFile>

#include "platform/text/Text.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

TEST(Ansi, EveryByteRoundTripsAndTheHighPlacesAreWindows1252)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(text::toAnsi(text::fromAnsi(all)), all);

    EXPECT_EQ(text::toAnsi(QStringLiteral("£5 €6 … ™ Ÿ")), QByteArray("\xA3" "5 \x80" "6 \x85 \x99 \x9F"));
    EXPECT_EQ(text::fromAnsi(QByteArray("\x80\x92\xA3")), QStringLiteral("€’£"));
}

TEST(Ansi, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(text::toAnsi(QStringLiteral("Łódź")), QByteArray("?\xF3" "d?"));
    EXPECT_EQ(text::toAnsi(QStringLiteral("a😀b")), QByteArray("a?b"));
}

class LineEnds : public ::testing::TestWithParam<std::pair<QString, QString>> {};

TEST_P(LineEnds, BecomeCarriageReturnLineFeed)
{
    EXPECT_EQ(text::crlf(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Mixes, LineEnds,
                         ::testing::Values(std::pair{QString("a\nb"), QString("a\r\nb")},
                                           std::pair{QString("a\r\nb\r\n"), QString("a\r\nb\r\n")},
                                           std::pair{QString("a\rb"), QString("a\r\nb")},
                                           std::pair{QString("\n\r\n\r"), QString("\r\n\r\n\r\n")},
                                           std::pair{QString("a\n\rb"), QString("a\r\n\r\nb")}));

class AnsiFiles : public QuorlTest {};

TEST_F(AnsiFiles, WrittenAndAppendedBytesAreAnsi)
{
    const QString path = worldDir() + "/out.txt";
    ASSERT_TRUE(text::writeAnsiFile(path, "£1\r\n"));
    ASSERT_TRUE(text::appendAnsiFile(path, "€2\r\n"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xA3" "1\r\n\x80" "2\r\n"));
    EXPECT_EQ(text::readAnsiLines(path), (QStringList{"£1", "€2"}));

    ASSERT_TRUE(text::writeAnsiFile(path, "new"));
    EXPECT_EQ(text::readAnsiFile(path), "new") << "a write replaces the whole file";
}

TEST_F(AnsiFiles, FailuresAreReportedNotSwallowed)
{
    const QString missingFolder = worldDir() + "/no/such/folder/out.txt";
    EXPECT_FALSE(text::writeAnsiFile(missingFolder, "x"));
    EXPECT_FALSE(text::appendAnsiFile(missingFolder, "x"));
    bool ok = true;
    EXPECT_EQ(text::readAnsiFile(missingFolder, &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_TRUE(text::readAnsiLines(missingFolder).isEmpty());
}

TEST_F(AnsiFiles, LinesSplitAtBothLineEndsWithoutATrailingEmptyLine)
{
    const QString path = worldDir() + "/lines.txt";
    ASSERT_TRUE(text::writeAnsiFile(path, "a\r\nb\nc"));
    EXPECT_EQ(text::readAnsiLines(path), (QStringList{"a", "b", "c"}));
    ASSERT_TRUE(text::writeAnsiFile(path, "\r\n\r\n"));
    EXPECT_EQ(text::readAnsiLines(path), (QStringList{"", ""}));
    ASSERT_TRUE(text::writeAnsiFile(path, ""));
    EXPECT_TRUE(text::readAnsiLines(path).isEmpty());
}

TEST(RegionalForms, GeneralDateLeavesOutMidnight)
{
    EXPECT_EQ(text::formatGeneralDate(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7))), "08/12/2026 09:05:07");
    EXPECT_EQ(text::formatGeneralDate(QDateTime(QDate(2026, 12, 8), QTime(0, 0))), "08/12/2026");
    EXPECT_EQ(text::formatGeneralDate(QDateTime(QDate(2026, 12, 8), QTime(0, 0, 1))), "08/12/2026 00:00:01");
    EXPECT_EQ(text::formatGeneralDate(QDateTime(QDate(1899, 12, 30), QTime(14, 0))), "14:00:00");
    EXPECT_EQ(text::formatGeneralDate(QDateTime()), "");
    EXPECT_EQ(text::formatLongTime(QTime(23, 59, 59)), "23:59:59");
}

struct NumberCase {
    const char *pattern;
    double value;
    const char *expected;
};

void PrintTo(const NumberCase &c, std::ostream *os)
{
    *os << c.value << " as \"" << c.pattern << '"';
}

class NumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormat, FollowsThePattern)
{
    EXPECT_EQ(text::formatNumber(GetParam().value, QString::fromUtf8(GetParam().pattern)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, NumberFormat,
    ::testing::Values(NumberCase{"£##0.00", 5, "£5.00"}, NumberCase{"£##0.00", 1234.5, "£1234.50"},
                      NumberCase{"##0.00", 0, "0.00"}, NumberCase{"£##0.00", 0.5, "£0.50"},
                      NumberCase{"#,##0.00", 1234567.891, "1,234,567.89"}, NumberCase{"#,##0.00", 100, "100.00"},
                      NumberCase{"£#,##0.00", -1234.5, "-£1,234.50"}, NumberCase{"£##0.00", -5, "-£5.00"},
                      NumberCase{"0.00", 2.675, "2.68"}, NumberCase{"0.00", 1.005, "1.01"},
                      NumberCase{"0.00", -2.675, "-2.68"}, NumberCase{"0.00", 9.995, "10.00"},
                      NumberCase{"#,##0.00", 999.995, "1,000.00"}, NumberCase{"0.00", 0.1 + 0.2, "0.30"},
                      NumberCase{"0.00", -0.004, "0.00"}, NumberCase{"0.00", 1e-20, "0.00"},
                      NumberCase{"0", 2.5, "3"}, NumberCase{"0", -2.5, "-3"}, NumberCase{"0", 0.4, "0"},
                      NumberCase{"0", 1e16, "10000000000000000"}, NumberCase{"0.00", 17.5 * 1.2, "21.00"}));

} // namespace
} // namespace quorl
