// Texts no window writes but a typed value or a damaged file could bring: each must
// end in the layer's own error, never in a crash or undefined behaviour. Built once
// with -fsanitize=undefined,address, these cases are where such faults would show.

#include <functional>
#include <ostream>

#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/JetSql.h"
#include "platform/db/Recordset.h"
#include "platform/db/ShapeCommand.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

QString repeated(const char *piece, int times)
{
    return QString::fromLatin1(piece).repeated(times);
}

// Beyond the nesting that is read, and far beyond it (a stack would not hold that).
constexpr int kTooDeep = db::kMaxNesting + 1;
constexpr int kFarTooDeep = 100000;

enum class Through { Statement, Filter, DateValue };

struct HostileCase {
    const char *name;
    Through through;
    std::function<QString()> text;
};

void PrintTo(const HostileCase &c, std::ostream *out)
{
    *out << c.name;
}

std::unique_ptr<db::Recordset> datedRows()
{
    auto rows = std::make_unique<db::Recordset>();
    rows->appendField(QStringLiteral("ID"), db::FieldType::Long);
    rows->appendField(QStringLiteral("FromDate"), db::FieldType::Date);
    rows->Open();
    rows->AddNew();
    rows->setValue(0, 1);
    rows->setValue(1, QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    rows->Update();
    return rows;
}

class HostileText : public DbTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileText, EndsInTheLayersError)
{
    const QString text = GetParam().text();
    switch (GetParam().through) {
    case Through::Statement:
        EXPECT_THROW(connection().ExecuteQuery(text), db::Error);
        break;
    case Through::Filter: {
        auto rows = datedRows();
        EXPECT_THROW(rows->setFilter(text), db::Error);
        EXPECT_EQ(rows->RecordCount(), 1) << "a refused filter leaves the rows as they were";
        break;
    }
    case Through::DateValue: {
        auto rows = datedRows();
        bool isNumber = false;
        const double number = text.toDouble(&isNumber);
        EXPECT_THROW(rows->setValue(1, isNumber ? QVariant(number) : QVariant(text)), db::Error);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HostileText,
    ::testing::Values(
        HostileCase{"StatementParenthesesDeeperThanSQLiteReads", Through::Statement,
                    [] { return "SELECT " + repeated("(", kTooDeep) + "1" + repeated(")", kTooDeep); }},
        HostileCase{"StatementParenthesesNeverClosed", Through::Statement,
                    [] { return "SELECT " + repeated("(", kFarTooDeep); }},
        HostileCase{"StatementIifNestedTooDeep", Through::Statement,
                    [] { return "SELECT " + repeated("IIF(1 = 1, ", kTooDeep) + "1" + repeated(", 0)", kTooDeep); }},
        HostileCase{"StatementIifNestedFarTooDeep", Through::Statement,
                    [] { return "SELECT " + repeated("IIF(1, ", kFarTooDeep); }},
        HostileCase{"StatementLongAndChain", Through::Statement,
                    [] { return "SELECT 1 WHERE " + repeated("1 = 1 AND ", 20000) + "1 = 1"; }},
        HostileCase{"StatementSecondsBeyondAnyTime", Through::Statement,
                    [] { return QStringLiteral("SELECT #0:0:9999999999#"); }},
        HostileCase{"StatementSecondsBeyondAMinute", Through::Statement,
                    [] { return QStringLiteral("SELECT #2026/12/8 10:00:60#"); }},
        HostileCase{"FilterParenthesesDeeperThanSQLiteReads", Through::Filter,
                    [] { return repeated("(", kTooDeep) + "ID = 1" + repeated(")", kTooDeep); }},
        HostileCase{"FilterParenthesesNeverClosed", Through::Filter, [] { return repeated("(", kFarTooDeep); }},
        HostileCase{"FilterLongAndChain", Through::Filter, [] { return repeated("ID = 1 AND ", db::kMaxNesting) + "ID = 1"; }},
        HostileCase{"FilterLongOrChain", Through::Filter, [] { return repeated("ID = 2 OR ", kFarTooDeep) + "ID = 1"; }},
        HostileCase{"FilterDateFromAHugeNumber", Through::Filter, [] { return QStringLiteral("FromDate = 1e19"); }},
        HostileCase{"FilterDateFromAHugeNegativeNumber", Through::Filter,
                    [] { return QStringLiteral("FromDate >= -1e300"); }},
        HostileCase{"FilterDateBeyondTheYear9999", Through::Filter, [] { return QStringLiteral("FromDate < 2958466"); }},
        HostileCase{"FilterSecondsBeyondAnyTime", Through::Filter,
                    [] { return QStringLiteral("FromDate = #0:0:9999999999#"); }},
        HostileCase{"FilterWholeNumberBeyondLong", Through::Filter, [] { return QStringLiteral("ID = 1e19"); }},
        HostileCase{"DateFromAHugeNumber", Through::DateValue, [] { return QStringLiteral("1e19"); }},
        HostileCase{"DateFromBeforeTheYear100", Through::DateValue, [] { return QStringLiteral("-657435"); }},
        HostileCase{"DateWithSecondsNotANumber", Through::DateValue, [] { return QStringLiteral("8/12/2026 0:0:nan"); }},
        HostileCase{"DateWithSecondsInfinite", Through::DateValue, [] { return QStringLiteral("0:0:inf"); }},
        HostileCase{"DateWithHugeSeconds", Through::DateValue, [] { return QStringLiteral("0:0:9999999999"); }}),
    [](const ::testing::TestParamInfo<HostileCase> &info) { return std::string(info.param.name); });

TEST(HostileShape, ShapeNestedTooDeepIsRefused)
{
    EXPECT_THROW(db::parseShapeCommand(repeated("SHAPE (", kFarTooDeep)), db::Error);
}

// The refusals stop at the limit: what lies within it still reads.
class WithinLimits : public DbTest {};

TEST_F(WithinLimits, NestingUpToTheLimitStillReads)
{
    auto rows = datedRows();
    rows->setFilter(repeated("(", db::kMaxNesting) + "ID = 1" + repeated(")", db::kMaxNesting));
    EXPECT_EQ(rows->RecordCount(), 1);
    rows->setFilter(repeated("ID > 0 AND ", db::kMaxNesting / 2 - 1) + "ID = 1");
    EXPECT_EQ(rows->RecordCount(), 1);

    const QString iifs = repeated("IIF(1 = 1, ", 12) + "7" + repeated(", 0)", 12);
    EXPECT_EQ(connection().ExecuteQuery("SELECT " + iifs)->value(0).toInt(), 7);
}

TEST_F(WithinLimits, DatesAtTheEdgesOfTheirRangeStillRead)
{
    auto rows = datedRows();
    rows->setValue(1, 2958465.5);
    EXPECT_EQ(cellText(rows->value(1)), "9999-12-31 12:00:00");
    rows->setValue(1, QStringLiteral("0:0:59.5"));
    EXPECT_EQ(cellText(rows->value(1)), "1899-12-30 00:00:59");
}

} // namespace
