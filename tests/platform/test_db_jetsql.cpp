// Jet SQL as SQLite runs it: each expression is run through the connection and its
// value compared, so the cases check what SQLite makes of the translation.

#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/JetSql.h"
#include "platform/db/Recordset.h"
#include "platform/db/ShapeCommand.h"
#include "platform/db/SqlText.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

struct ExpressionCase
{
    const char *name;
    const char *select;   // a SELECT of one value
    const char *expected;
};

void PrintTo(const ExpressionCase &c, std::ostream *os)
{
    *os << c.name;
}

class JetExpression : public DbTest, public ::testing::WithParamInterface<ExpressionCase>
{
};

TEST_P(JetExpression, GivesJetsValue)
{
    auto rows = connection().ExecuteQuery(QString::fromUtf8(GetParam().select));
    EXPECT_EQ(cellText(rows->value(0)), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JetExpression,
    ::testing::Values(
        // "&" joins texts, and a Null joins as empty text.
        ExpressionCase{"AmpersandJoinsTexts", "SELECT 'A1' & ' (booked)'", "A1 (booked)"},
        ExpressionCase{"AmpersandTakesNullAsEmpty", "SELECT 'A' & Null & 'B'", "AB"},
        ExpressionCase{"AmpersandJoinsNumbersAsText", "SELECT 1 + 2 & 'x'", "3x"},
        ExpressionCase{"AmpersandInsideLiteralIsText", "SELECT 'Fish & Chips'", "Fish & Chips"},
        ExpressionCase{"AmpersandOfColumns", "SELECT Name & '/' & HouseName FROM Customer WHERE ID = 3",
                       "Jones/Mill House"},
        ExpressionCase{"IifTrue", "SELECT IIF(-1, 'yes', 'no')", "yes"},
        ExpressionCase{"IifFalse", "SELECT IIF(0, 'yes', 'no')", "no"},
        ExpressionCase{"IifNested", "SELECT IIF(1 = 2, 'a', IIF(2 = 2, 'b' & 'c', 'd'))", "bc"},
        ExpressionCase{"TrueIsMinusOne", "SELECT True", "-1"},
        ExpressionCase{"FalseIsZero", "SELECT False", "0"},
        ExpressionCase{"DateYearFirst", "SELECT #2026/12/8 9:0#", "2026-12-08 09:00:00"},
        ExpressionCase{"DateMonthFirstWithSeconds", "SELECT #12/8/2026 0:00:01#", "2026-12-08 00:00:01"},
        ExpressionCase{"DateTwoDigitYear", "SELECT #1/2/26#", "2026-01-02 00:00:00"},
        ExpressionCase{"DateAfternoon", "SELECT #12/8/2026 2:30 PM#", "2026-12-08 14:30:00"},
        ExpressionCase{"DateComparesByTime", "SELECT #2026/12/8 9:30# < #2026/12/8 10:0#", "1"},
        ExpressionCase{"HashInsideLiteralIsText", "SELECT 'No. #2026/1/1#'", "No. #2026/1/1#"},
        ExpressionCase{"DoubleQuotedText", "SELECT \"it's\"", "it's"},
        ExpressionCase{"LikeStar", "SELECT 'Smith' LIKE 'sm*'", "1"},
        ExpressionCase{"LikeQuestionMark", "SELECT 'Smith' LIKE 'Sm?th'", "1"},
        ExpressionCase{"LikePercentIsData", "SELECT 'Smith' LIKE 'S%*'", "0"},
        ExpressionCase{"LikePercentMatchesItself", "SELECT '50% off' LIKE '50%*'", "1"},
        ExpressionCase{"LikeBracketedStar", "SELECT 'a*b' LIKE 'a[*]b'", "1"},
        ExpressionCase{"LikeDoubleQuotedPattern", "SELECT 'Smith' LIKE \"sm*\"", "1"},
        ExpressionCase{"TrailingSemicolonAndLineEnd", "SELECT 7;\r\n", "7"}),
    [](const auto &info) { return std::string(info.param.name); });

class JetSqlTest : public DbTest
{
};

TEST_F(JetSqlTest, ParametersAreBoundInDeclarationOrder)
{
    auto rows = connection().ExecuteQuery(
        QStringLiteral("PARAMETERS [LATER] DateTime, EARLIER DateTime; SELECT COUNT(*) FROM Booking WHERE FromDate >= "
                       "[EARLIER] AND FromDate < [later]"),
        {QDateTime(QDate(2026, 12, 9), QTime(0, 0)), QDateTime(QDate(2026, 12, 5), QTime(10, 0))});
    EXPECT_EQ(rows->value(0).toInt(), 2);
    EXPECT_THROW(connection().ExecuteQuery(QStringLiteral("PARAMETERS A Long; SELECT [A]")), db::Error);
}

TEST_F(JetSqlTest, UnreadableTextThrowsBeforeAnythingRuns)
{
    for (const char *sql : {"DELETE FROM Booking WHERE FromDate < #2026/13/45#", "DELETE FROM Booking WHERE Notes = 'x",
                            "PARAMETERS A Long DELETE FROM Booking", "SELECT IIF(1, 2) FROM Booking"})
        EXPECT_THROW(connection().Execute(QString::fromUtf8(sql)), db::Error) << sql;
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 4);
}

TEST_F(JetSqlTest, MultiTableDeleteOfAnUnknownFormIsRefusedNotGuessed)
{
    EXPECT_THROW(connection().Execute(QStringLiteral(
                     "DELETE B.* FROM Booking B INNER JOIN BookingBerth BB ON B.ID = BB.BookingID WHERE BB.BerthID = 1")),
                 db::Error);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT COUNT(*) FROM Booking")).toInt(), 4);
    EXPECT_EQ(connection().Execute(QStringLiteral("DELETE * FROM Booking WHERE ID = 4")), 1);
}

TEST_F(JetSqlTest, DeleteWithoutPartnersKeepsItsOtherConditions)
{
    EXPECT_EQ(connection().Execute(QStringLiteral("DELETE B.* FROM Berth AS B LEFT JOIN BookingBerth BB ON B.ID = "
                                                  "BB.BerthID WHERE BB.BerthID Is Null AND B.Active = 0")),
              1);
    EXPECT_EQ(committedScalar(QStringLiteral("SELECT group_concat(Name) FROM Berth")).toString(),
              QStringLiteral("C1,A1,a2"));
}

TEST(SqlQuoting, DoublesApostrophesAndWritesInvariantNumbers)
{
    EXPECT_EQ(db::SqlQuote(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(db::SqlQuote(QString()), QStringLiteral("''"));
    EXPECT_EQ(db::SqlQuote(QStringLiteral("50% #1 *")), QStringLiteral("'50% #1 *'"));
    EXPECT_EQ(db::sqlNumber(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(db::sqlNumber(100.0), QStringLiteral("100"));
    EXPECT_EQ(db::sqlNumber(-12.5), QStringLiteral("-12.5"));
    EXPECT_EQ(db::sqlNumber(qint64(1) << 40), QStringLiteral("1099511627776"));
    EXPECT_EQ(db::sqlNumber(42), QStringLiteral("42"));
}

TEST(ShapeCommand, RefusesWhatItCannotRead)
{
    EXPECT_TRUE(db::isShapeCommand(QStringLiteral(" SHAPE {SELECT 1} AS A")));
    EXPECT_FALSE(db::isShapeCommand(QStringLiteral("SELECT Shape FROM Berth")));
    for (const char *text : {"SHAPE {SELECT * FROM Company AS A", "SHAPE {SELECT 1} AS A APPEND ({SELECT 2} AS B)",
                             "SHAPE {SELECT 1} AS A APPEND ({SELECT 2} AS B RELATE 'x') AS B",
                             "SELECT * FROM Company"})
        EXPECT_THROW(db::parseShapeCommand(QString::fromUtf8(text)), db::Error) << text;
    // Braces inside a quoted piece belong to the command.
    const db::ShapeLevel level = db::parseShapeCommand(QStringLiteral("SHAPE {SELECT '}' AS x}  AS Top"));
    EXPECT_EQ(level.command, QStringLiteral("SELECT '}' AS x"));
    EXPECT_EQ(level.alias, QStringLiteral("Top"));
}

} // namespace
