// Filter, Find and Sort expressions read against a recordset's fields, with the
// comparison each field type calls for.

#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "support/DbTestData.h"

using namespace quorl;
using namespace quorl::dbtest;

namespace {

// Five rows of every type; row 5 holds Nulls.
std::unique_ptr<db::Recordset> sampleRows()
{
    auto rows = std::make_unique<db::Recordset>();
    rows->appendField(QStringLiteral("ID"), db::FieldType::Long);
    rows->appendField(QStringLiteral("Name"), db::FieldType::Text);
    rows->appendField(QStringLiteral("Amount"), db::FieldType::Currency);
    rows->appendField(QStringLiteral("Member"), db::FieldType::Boolean);
    rows->appendField(QStringLiteral("Arrives"), db::FieldType::Date);
    rows->appendField(QStringLiteral("Company Name"), db::FieldType::Text);
    rows->Open();
    const QList<QVariantList> data = {
        {1, "Smith", 12.5, true, QDateTime(QDate(2026, 12, 8), QTime(10, 0)), "Rose"},
        {2, "O'Brien", 80, false, QDateTime(QDate(2026, 12, 10), QTime(10, 0)), "Sea"},
        {3, "smart", -3.25, true, QDateTime(QDate(2026, 12, 5), QTime(9, 30)), "Mill"},
        {10, "Jones", 0, false, QDateTime(QDate(2026, 6, 1), QTime(14, 0)), "Rose"},
        {9, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
    };
    for (const QVariantList &row : data) {
        rows->AddNew();
        for (int f = 0; f < row.size(); ++f)
            rows->setValue(f, row[f]);
        rows->Update();
    }
    return rows;
}

struct FilterCase
{
    const char *name;
    const char *filter;
    const char *ids;   // the IDs left, in order, joined by "|"; "" for none
};

void PrintTo(const FilterCase &c, std::ostream *os)
{
    *os << c.name;
}

class FilterExpression : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(FilterExpression, KeepsTheRowsItDescribes)
{
    auto rows = sampleRows();
    rows->setFilter(QString::fromUtf8(GetParam().filter));
    EXPECT_EQ(columnTexts(*rows, QStringLiteral("ID")).join(QLatin1Char('|')), QString::fromUtf8(GetParam().ids));
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, FilterExpression,
    ::testing::Values(
        FilterCase{"TextAnyLetterCase", "Name = 'SMITH'", "1"},
        FilterCase{"TextWithDoubledApostrophe", "Name = 'O''Brien'", "2"},
        FilterCase{"LikeAtTheEnd", "Name LIKE 'sm*'", "1|3"},
        FilterCase{"LikeAtTheStart", "Name LIKE '%th'", "1"},
        FilterCase{"LikeAtBothEnds", "Name LIKE '*O*'", "2|10"},
        FilterCase{"LikeStarInTheMiddleIsData", "Name LIKE 'S*h'", ""},
        FilterCase{"NullEqualsNothing", "Name <> 'Smith'", "2|3|10"},
        FilterCase{"NullFoundByIsNull", "Name IS NULL", "9"},
        FilterCase{"NullFoundByEqualsNull", "Amount = Null", "9"},
        FilterCase{"NegativeDecimal", "Amount < -1.5", "3"},
        FilterCase{"NumbersByValue", "ID >= 9", "10|9"},
        FilterCase{"YesNoOneIsTrue", "Member = 1", "1|3"},
        FilterCase{"YesNoMinusOneIsTrue", "Member = -1", "1|3"},
        FilterCase{"YesNoTrueWord", "Member = True", "1|3"},
        FilterCase{"YesNoZero", "Member = 0", "2|10"},
        FilterCase{"DateYearFirst", "Arrives >= #2026/12/8 10:0#", "1|2"},
        FilterCase{"DateMonthFirst", "Arrives < #12/8/2026 10:00:00#", "3|10"},
        FilterCase{"DateOnlyMeansMidnight", "Arrives > #2026/12/5#", "1|2|3"},
        FilterCase{"BlanksAndParentheses", "  ( (ID = 1 OR ID = 2) AND Amount > 20 )  ", "2"},
        FilterCase{"LowerCaseAndOr", "ID = 1 or ID = 3 and Member = 0", "1"},
        FilterCase{"AndBeforeOr", "Member = 1 AND Name LIKE 'sm*' OR ID = 10", "1|3|10"},
        FilterCase{"FieldNameInAnyCaseAndBrackets", "[company name] = 'rose' AND id < 5", "1"},
        FilterCase{"NumberAgainstText", "Name = 12", ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FilterErrors, AreThrownForTextThatCannotBeRead)
{
    auto rows = sampleRows();
    for (const char *filter : {"Nowhere = 1", "Name = 'open", "(ID = 1", "ID = 1)", "ID 1", "ID = 'one'",
                               "Arrives = #2026/2/30#", "Name LIKE 3", "Amount > Null", "ID = 1 AND"})
        EXPECT_THROW(rows->setFilter(QString::fromUtf8(filter)), db::Error) << filter;
    EXPECT_EQ(rows->RecordCount(), 5);
}

TEST(SortOrder, PutsNullsFirstAndComparesByType)
{
    auto rows = sampleRows();
    rows->setSort(QStringLiteral("ID"));
    EXPECT_EQ(columnTexts(*rows, QStringLiteral("ID")), QStringList({"1", "2", "3", "9", "10"}));
    rows->setSort(QStringLiteral("Name"));
    EXPECT_EQ(columnTexts(*rows, QStringLiteral("Name")), QStringList({"<null>", "Jones", "O'Brien", "smart", "Smith"}));
    rows->setSort(QStringLiteral("[Company Name] DESC, Amount ASC"));
    EXPECT_EQ(columnTexts(*rows, QStringLiteral("ID")), QStringList({"2", "10", "1", "3", "9"}));
    rows->setSort(QStringLiteral("Arrives DESC"));
    EXPECT_EQ(columnTexts(*rows, QStringLiteral("ID")), QStringList({"2", "1", "3", "10", "9"}));
    rows->setSort(QString());
    EXPECT_EQ(columnTexts(*rows, QStringLiteral("ID")), QStringList({"1", "2", "3", "10", "9"}));
    EXPECT_THROW(rows->setSort(QStringLiteral("ID DOWN")), db::Error);
}

} // namespace
