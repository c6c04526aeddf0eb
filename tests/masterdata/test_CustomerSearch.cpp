#include <QSet>

#include "core/modDatabase.h"
#include "masterdata/CustomerSearch.h"
#include "tests/masterdata/MasterDataTest.h"

namespace quorl {
namespace {

// --- the filter texts ----------------------------------------------------------

struct FilterCase
{
    const char *name;
    CustomerSearchBoxes boxes;
    int club;
    const char *expected;
};

CustomerSearchBoxes nameOnly(const QString &name)
{
    CustomerSearchBoxes boxes;
    boxes.Name = name;
    return boxes;
}

void PrintTo(const FilterCase &c, std::ostream *os)
{
    *os << c.name;
}

class CustomerSearchFilterText : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(CustomerSearchFilterText, IsBuiltAsTheSearchStates)
{
    EXPECT_EQ(customerSearchFilter(GetParam().boxes, GetParam().club), QString::fromUtf8(GetParam().expected));
}

CustomerSearchBoxes nameAndTown()
{
    CustomerSearchBoxes boxes;
    boxes.Name = QStringLiteral("Sm");
    boxes.Town = QStringLiteral("Bri");
    return boxes;
}

CustomerSearchBoxes everyBox()
{
    CustomerSearchBoxes b;
    b.Name = QStringLiteral("a");
    b.HouseName = QStringLiteral("b");
    b.Street = QStringLiteral("c");
    b.Area = QStringLiteral("d");
    b.Town = QStringLiteral("e");
    b.PostCode = QStringLiteral("f");
    b.TelNo = QStringLiteral("g");
    b.MobileNo = QStringLiteral("h");
    b.EmailAddress = QStringLiteral("i");
    b.MembershipNo = QStringLiteral("j");
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CustomerSearchFilterText,
    ::testing::Values(
        FilterCase{"TwoBoxesTicked", nameAndTown(), kClubTicked, "Name LIKE 'Sm*' AND Town LIKE 'Bri*' AND  ClubMember = 1"},
        FilterCase{"TwoBoxesGreyed", nameAndTown(), kClubGreyed, "Name LIKE 'Sm*' AND Town LIKE 'Bri*'"},
        FilterCase{"OneBoxUnticked", nameOnly(QStringLiteral("Sm")), kClubUnticked, "Name LIKE 'Sm*' AND  ClubMember = 0"},
        FilterCase{"OnlyTicked", CustomerSearchBoxes{}, kClubTicked, "ClubMember = 1"},
        FilterCase{"OnlyUnticked", CustomerSearchBoxes{}, kClubUnticked, "ClubMember = 0"},
        FilterCase{"NothingAsked", CustomerSearchBoxes{}, kClubGreyed, ""},
        FilterCase{"EveryBoxInOrder", everyBox(), kClubGreyed,
                   "Name LIKE 'a*' AND HouseName LIKE 'b*' AND Street LIKE 'c*' AND Area LIKE 'd*' AND Town LIKE 'e*' "
                   "AND PostCode LIKE 'f*' AND TelNo LIKE 'g*' AND MobileNo LIKE 'h*' AND EmailAddress LIKE 'i*' "
                   "AND MembershipNO LIKE 'j*'"},
        FilterCase{"ApostropheIsData", nameOnly(QStringLiteral("O'B")), kClubGreyed, "Name LIKE 'O''B*'"},
        FilterCase{"WildcardsAreData", nameOnly(QStringLiteral("*5%[")), kClubGreyed, "Name LIKE '[*]5[%][[]*'"},
        FilterCase{"BlanksAreKept", nameOnly(QStringLiteral(" ")), kClubGreyed, "Name LIKE ' *'"}),
    [](const ::testing::TestParamInfo<FilterCase> &info) { return std::string(info.param.name); });

// --- what a filter finds -------------------------------------------------------

struct FindCase
{
    const char *name;
    CustomerSearchBoxes boxes;
    int club;
    QStringList expected;
};

void PrintTo(const FindCase &c, std::ostream *os)
{
    *os << c.name;
}

class CustomerSearchFinds : public MasterDataTest, public ::testing::WithParamInterface<FindCase>
{
protected:
    void SetUp() override
    {
        MasterDataTest::SetUp();
        exec(QStringLiteral(
            "INSERT INTO Customer (Name, Town, ClubMember, MembershipNo, TelNo) VALUES "
            "('Smith', 'Brighton', -1, 'M7', '01273 1'), ('Smythe', 'Bristol', 0, NULL, NULL), "
            "('Sam Brown', 'Bristol', -1, 'M70', NULL), ('O''Brien', 'Cork', 0, NULL, NULL), "
            "('5* Marine', NULL, NULL, NULL, NULL), ('50% Sails', NULL, 0, NULL, NULL), "
            "('#1 Moorings', NULL, 0, NULL, NULL), ('[Dock] Ltd', NULL, 0, NULL, NULL), "
            "('Obrien', 'Cork', 0, NULL, NULL)"));
    }
};

TEST_P(CustomerSearchFinds, TheCustomersWhoseColumnsBeginWithTheTypedTexts)
{
    auto rs = OpenRecordset(QStringLiteral("SELECT Customer.* FROM Customer"), nullptr, false);
    ASSERT_TRUE(rs->isOpen()) << rs->lastError().toStdString();
    rs->setFilter(customerSearchFilter(GetParam().boxes, GetParam().club));
    QStringList found;
    for (; !rs->isEOF(); rs->MoveNext())
        found << rs->value(QStringLiteral("Name")).toString();
    EXPECT_EQ(QSet<QString>(found.begin(), found.end()),
              QSet<QString>(GetParam().expected.begin(), GetParam().expected.end()));
    EXPECT_EQ(rs->RecordCount(), GetParam().expected.size());
}

CustomerSearchBoxes townOnly(const QString &town)
{
    CustomerSearchBoxes boxes;
    boxes.Town = town;
    return boxes;
}

CustomerSearchBoxes membershipOnly(const QString &number)
{
    CustomerSearchBoxes boxes;
    boxes.MembershipNo = number;
    return boxes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CustomerSearchFinds,
    ::testing::Values(
        FindCase{"PrefixWithoutRegardToCase", nameOnly(QStringLiteral("sM")), kClubGreyed, {"Smith", "Smythe"}},
        FindCase{"PrefixOnlyNotInside", nameOnly(QStringLiteral("Brown")), kClubGreyed, {}},
        FindCase{"BoxesCombineWithAnd", nameAndTown(), kClubGreyed, {"Smith", "Smythe"}},
        FindCase{"BoxesAndTickedBox", nameAndTown(), kClubTicked, {"Smith"}},
        FindCase{"TownAndTickedBox", townOnly(QStringLiteral("Bri")), kClubTicked, {"Smith", "Sam Brown"}},
        FindCase{"OnlyTickedFindsMembers", CustomerSearchBoxes{}, kClubTicked, {"Smith", "Sam Brown"}},
        FindCase{"OnlyUntickedFindsTheOthers", CustomerSearchBoxes{}, kClubUnticked,
                 {"Smythe", "O'Brien", "50% Sails", "#1 Moorings", "[Dock] Ltd", "Obrien"}},
        FindCase{"MembershipPrefix", membershipOnly(QStringLiteral("M7")), kClubGreyed, {"Smith", "Sam Brown"}},
        FindCase{"ApostropheFindsOnlyItsName", nameOnly(QStringLiteral("O'B")), kClubGreyed, {"O'Brien"}},
        FindCase{"StarIsNoWildcard", nameOnly(QStringLiteral("5*")), kClubGreyed, {"5* Marine"}},
        FindCase{"LeadingStarFindsNothingWider", nameOnly(QStringLiteral("*")), kClubGreyed, {}},
        FindCase{"PercentIsNoWildcard", nameOnly(QStringLiteral("%")), kClubGreyed, {}},
        FindCase{"PercentInsideIsData", nameOnly(QStringLiteral("50%")), kClubGreyed, {"50% Sails"}},
        FindCase{"HashIsData", nameOnly(QStringLiteral("#1")), kClubGreyed, {"#1 Moorings"}},
        FindCase{"BracketIsData", nameOnly(QStringLiteral("[D")), kClubGreyed, {"[Dock] Ltd"}},
        FindCase{"NoMatch", nameOnly(QStringLiteral("xyz")), kClubGreyed, {}}),
    [](const ::testing::TestParamInfo<FindCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
