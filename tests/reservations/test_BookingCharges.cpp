#include <optional>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QVariant>

#include "reservations/BookingCharges.h"

namespace quorl {
namespace {

struct NumberCase {
    const char *text;
    std::optional<double> value; // nullopt: refused by the number check
};

void PrintTo(const NumberCase &c, std::ostream *out)
{
    *out << '"' << c.text << '"';
    if (c.value)
        *out << " reads " << *c.value;
    else
        *out << " refused";
}

class BoxNumberReading : public ::testing::TestWithParam<NumberCase> {
};

TEST_P(BoxNumberReading, ReadsWhatTheBoxHolds)
{
    const NumberCase &c = GetParam();
    const std::optional<double> read = readNumber(QString::fromUtf8(c.text));
    ASSERT_EQ(read.has_value(), c.value.has_value()) << c.text;
    if (c.value) {
        EXPECT_DOUBLE_EQ(*read, *c.value) << c.text;
    }
    EXPECT_EQ(isNumberText(QString::fromUtf8(c.text)), c.value.has_value()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    AmountTexts, BoxNumberReading,
    ::testing::Values(NumberCase{"", 0.0}, NumberCase{"   ", 0.0}, NumberCase{"12", 12.0}, NumberCase{"12.50", 12.5},
                      NumberCase{"£12.50", 12.5}, NumberCase{" £97.50 ", 97.5}, NumberCase{"£ 5", 5.0},
                      NumberCase{"-£5.00", -5.0}, NumberCase{"£-5.00", -5.0}, NumberCase{"-3", -3.0},
                      NumberCase{"+3", 3.0}, NumberCase{".5", 0.5}, NumberCase{"7.", 7.0},
                      NumberCase{"1,250.75", 1250.75}, NumberCase{"12,345,678", 12345678.0},
                      // A comma typed as a decimal point is refused, never read as thousands.
                      NumberCase{"12,50", std::nullopt}, NumberCase{"1,2345", std::nullopt},
                      NumberCase{",100", std::nullopt}, NumberCase{"12abc", std::nullopt},
                      NumberCase{"abc", std::nullopt}, NumberCase{"1e3", std::nullopt},
                      NumberCase{"1.2.3", std::nullopt}, NumberCase{"£", std::nullopt},
                      NumberCase{".", std::nullopt}, NumberCase{"--5", std::nullopt},
                      NumberCase{"-£-5", std::nullopt}, NumberCase{"5£", std::nullopt},
                      NumberCase{"$5", std::nullopt}, NumberCase{"nan", std::nullopt},
                      NumberCase{"inf", std::nullopt}));

TEST(BookingCharges, WholeNumberBoxesRefuseFractionsAndValuesBeyondALong)
{
    EXPECT_TRUE(isWholeNumberText(QStringLiteral("2")));
    EXPECT_TRUE(isWholeNumberText(QStringLiteral("-1")));
    EXPECT_TRUE(isWholeNumberText(QStringLiteral("2147483647")));
    EXPECT_TRUE(isWholeNumberText(QString()));
    EXPECT_FALSE(isWholeNumberText(QStringLiteral("1.5")));
    EXPECT_FALSE(isWholeNumberText(QStringLiteral("2147483648")));
    EXPECT_FALSE(isWholeNumberText(QStringLiteral("two")));
}

TEST(BookingCharges, MoneyFormatRoundsToPenceAndRereadsAsTheSameAmount)
{
    EXPECT_EQ(MoneyFormat(97.5), QStringLiteral("£97.50"));
    EXPECT_EQ(MoneyFormat(0), QStringLiteral("£0.00"));
    EXPECT_EQ(MoneyFormat(1.75175), QStringLiteral("£1.75"));
    EXPECT_EQ(MoneyFormat(11.76175), QStringLiteral("£11.76"));
    EXPECT_EQ(MoneyFormat(1234567.891), QStringLiteral("£1234567.89"));
    for (double amount : {0.0, 0.05, 12.5, 97.5, 1234567.89, -5.0})
        EXPECT_DOUBLE_EQ(amountOf(MoneyFormat(amount)), amount) << amount;
}

TEST(BookingCharges, RewritingInMoneyFormatKeepsEmptyAndRefusedTexts)
{
    EXPECT_EQ(asMoneyText(QString()), QString());
    EXPECT_EQ(asMoneyText(QStringLiteral("10")), QStringLiteral("£10.00"));
    EXPECT_EQ(asMoneyText(QStringLiteral("£10.00")), QStringLiteral("£10.00"));
    EXPECT_EQ(asMoneyText(QStringLiteral("ten")), QStringLiteral("ten"));
}

TEST(BookingCharges, PlainNumbersAreShortAndReadBack)
{
    EXPECT_EQ(plainNumberText(97.5), QStringLiteral("97.5"));
    EXPECT_EQ(plainNumberText(100), QStringLiteral("100"));
    EXPECT_EQ(plainNumberText(1.7518), QStringLiteral("1.7518"));
    EXPECT_EQ(plainNumberText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(plainNumberText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(plainNumberText(-12.25), QStringLiteral("-12.25"));
}

TEST(BookingCharges, VatFollowsTheSumAndTheTotalAddsItUnrounded)
{
    const VatAndTotal hundredAndTen = vatAndTotal(100, 10);
    EXPECT_EQ(MoneyFormat(hundredAndTen.vat), QStringLiteral("£19.25"));
    EXPECT_EQ(MoneyFormat(hundredAndTen.total), QStringLiteral("£129.25"));

    const VatAndTotal tenPenceOne = vatAndTotal(10.01, 0);
    EXPECT_DOUBLE_EQ(tenPenceOne.vat, 1.75175);
    EXPECT_EQ(MoneyFormat(tenPenceOne.vat), QStringLiteral("£1.75"));
    EXPECT_EQ(MoneyFormat(tenPenceOne.total), QStringLiteral("£11.76"));
}

TEST(BookingCharges, CostOfHireChargesEachBerthsOwnRateForEveryNight)
{
    EXPECT_DOUBLE_EQ(costOfHire({QVariant(12.5), QVariant(20.0)}, 3), 97.5);
    // No daily charge adds nothing.
    EXPECT_DOUBLE_EQ(costOfHire({QVariant(12.5), QVariant()}, 2), 25.0);
    EXPECT_DOUBLE_EQ(costOfHire({QVariant(12.5)}, 0), 0.0);
    EXPECT_DOUBLE_EQ(costOfHire({}, 5), 0.0);
}

TEST(BookingCharges, StayDaysCountCalendarDaysAcrossMidnightMonthAndYear)
{
    auto at = [](int y, int m, int d, int h, int mi) { return QDateTime(QDate(y, m, d), QTime(h, mi)); };
    EXPECT_EQ(stayDays(at(2026, 6, 1, 9, 0), at(2026, 6, 1, 23, 30)), 0);
    EXPECT_EQ(stayDays(at(2026, 6, 1, 23, 30), at(2026, 6, 2, 0, 30)), 1);
    EXPECT_EQ(stayDays(at(2026, 1, 31, 14, 0), at(2026, 2, 1, 9, 0)), 1);
    EXPECT_EQ(stayDays(at(2026, 2, 28, 14, 0), at(2026, 3, 1, 9, 0)), 1);
    EXPECT_EQ(stayDays(at(2028, 2, 28, 14, 0), at(2028, 3, 1, 9, 0)), 2);
    EXPECT_EQ(stayDays(at(2026, 12, 31, 20, 0), at(2027, 1, 2, 10, 0)), 2);
}

} // namespace
} // namespace quorl
