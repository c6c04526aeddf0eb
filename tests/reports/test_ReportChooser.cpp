#include <ostream>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>

#include "ReportWorld.h"
#include "platform/db/Recordset.h"
#include "reports/DatePickerWithCheck.h"
#include "reports/ReportChooser.h"
#include "reports/ReportPreview.h"
#include "reports/frmReports.h"
#include "support/DbTestData.h"

namespace quorl {
namespace {

using reports::buildReportRows;

// Bookings around a period of 10 to 12 December 2026, each named after where it lies.
class ReportChooser : public ReportWorld {
protected:
    void SetUp() override
    {
        ReportWorld::SetUp();
        const qint64 c1 = addBerth(QStringLiteral("C1"));
        const qint64 a1 = addBerth(QStringLiteral("A1"));
        const auto book = [&](const char *name, const QDateTime &from, const QDateTime &to) {
            addBooking(addCustomer(QString::fromUtf8(name)), from, to, {c1, a1});
        };
        book("EndsBefore", at(2026, 12, 1, 10), at(2026, 12, 9, 23, 30));
        book("EndsOnFirstDay", at(2026, 12, 8, 10), at(2026, 12, 10, 0, 0));
        book("Inside", at(2026, 12, 10, 10), at(2026, 12, 11, 10));
        book("StartsOnLastDay", at(2026, 12, 12, 23, 30), at(2026, 12, 14, 10));
        book("StartsAfter", at(2026, 12, 13, 0, 0), at(2026, 12, 15, 10));
    }

    static QStringList customers(db::Recordset &rows)
    {
        QStringList names;
        for (const QString &customer : dbtest::columnTexts(rows, QStringLiteral("Customer")))
            names.append(customer.section(QLatin1Char(','), 0, 0));
        return names;
    }
};

struct PeriodCase {
    const char *name;
    std::optional<QDate> from;
    std::optional<QDate> to;
    QStringList customers;
    const char *title;
};

void PrintTo(const PeriodCase &c, std::ostream *os) { *os << c.name; }
class PeriodFilters : public ReportChooser, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(PeriodFilters, KeepTheBookingsOfWholeDays)
{
    const reports::PeriodFilter period = reports::periodFilter(GetParam().from, GetParam().to);
    EXPECT_EQ(period.title, QString::fromUtf8(GetParam().title));
    auto list = buildReportRows(reports::bookingListQuery(period), false);
    EXPECT_EQ(customers(*list), GetParam().customers);
    auto sales = buildReportRows(reports::periodSalesQuery(period), true);
    EXPECT_EQ(customers(*sales), GetParam().customers);
}

const QDate kFirst(2026, 12, 10);
const QDate kLast(2026, 12, 12);

INSTANTIATE_TEST_SUITE_P(
    Pickers, PeriodFilters,
    ::testing::Values(
        PeriodCase{"NoneTicked", {}, {},
                   {"EndsBefore", "EndsOnFirstDay", "Inside", "StartsOnLastDay", "StartsAfter"}, ""},
        PeriodCase{"BothTicked", kFirst, kLast, {"EndsOnFirstDay", "Inside", "StartsOnLastDay"},
                   "From: 10.12.2026 to: 12.12.2026"},
        PeriodCase{"OnlyFrom", kFirst, {}, {"EndsOnFirstDay", "Inside", "StartsOnLastDay", "StartsAfter"},
                   "From: 10.12.2026"},
        PeriodCase{"OnlyTo", {}, kLast, {"EndsBefore", "EndsOnFirstDay", "Inside", "StartsOnLastDay"},
                   "To: 12.12.2026"},
        PeriodCase{"OneDay", kLast, kLast, {"StartsOnLastDay"}, "From: 12.12.2026 to: 12.12.2026"},
        PeriodCase{"FromAfterTo", kLast, kFirst, {}, "From: 12.12.2026 to: 10.12.2026"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReportChooser, RowsCarryTheListTextsAndPlainAmounts)
{
    const qint64 berth = addBerth(QStringLiteral("Pontoon £2"));
    const qint64 id = addBooking(addCustomer(QStringLiteral("O'Brien"), QStringLiteral("Mill House")),
                                 at(2027, 1, 5, 9, 30), at(2027, 1, 6, 14), {berth}, at(2026, 12, 8, 9, 15),
                                 {12.5, 0, 2.5, 15, {}});
    auto rows = buildReportRows(reports::periodSalesQuery(reports::periodFilter(QDate(2027, 1, 5), {})), true);
    ASSERT_EQ(rows->RecordCount(), 1) << id;
    const auto field = [&](const char *name) { return rows->value(QString::fromLatin1(name)).toString(); };
    EXPECT_EQ(field("From"), QStringLiteral("05.01.2027 09:30"));
    EXPECT_EQ(field("To"), QStringLiteral("06.01.2027 14:00"));
    EXPECT_EQ(field("Created"), QStringLiteral("08.12.2026 09:15"));
    EXPECT_EQ(field("Customer"), QStringLiteral("O'Brien, Mill House"));
    EXPECT_EQ(field("Berths"), QStringLiteral("Pontoon £2"));
    EXPECT_EQ(field("CostofHire"), QStringLiteral("12.5"));
    EXPECT_EQ(field("VAT"), QStringLiteral("2.5"));
    EXPECT_EQ(field("TotalPayable"), QStringLiteral("15"));
}

TEST_F(ReportChooser, BerthsAreJoinedInBerthOrderAndABookingWithoutBerthsHasNone)
{
    addBooking(addCustomer(QStringLiteral("NoBerth")), at(2027, 2, 1, 10), at(2027, 2, 2, 10));
    auto rows = buildReportRows(reports::bookingListQuery(reports::periodFilter(QDate(2026, 12, 10), kFirst)), false);
    EXPECT_EQ(dbtest::columnTexts(*rows, QStringLiteral("Berths")).value(0), QStringLiteral("C1, A1"));
    auto lone = buildReportRows(reports::bookingListQuery(reports::periodFilter(QDate(2027, 2, 1), {})), false);
    EXPECT_EQ(dbtest::columnTexts(*lone, QStringLiteral("Berths")), QStringList({QString()}));
}

TEST_F(ReportChooser, TakenTodayMeansTheCalendarDay)
{
    const QDateTime now = at(2026, 12, 8, 14, 47);
    const auto taken = [&](const char *name, const QDateTime &created) {
        addBooking(addCustomer(QString::fromUtf8(name)), at(2027, 3, 1, 10), at(2027, 3, 2, 10), {}, created);
    };
    taken("LastNight", at(2026, 12, 7, 23, 59));
    taken("EarlyThisMorning", at(2026, 12, 8, 0, 0));
    taken("JustNow", at(2026, 12, 8, 14, 40));
    taken("Tomorrow", at(2026, 12, 9, 0, 0));
    auto rows = buildReportRows(reports::takenTodayQuery(now), false);
    EXPECT_EQ(customers(*rows), QStringList({"EarlyThisMorning", "JustNow"}));
}

TEST_F(ReportChooser, CheckOutsRunTwentyFourHoursFromTheCurrentHalfHour)
{
    const QDateTime now = at(2026, 12, 20, 14, 47);
    const auto leaving = [&](const char *name, const QDateTime &to) {
        addBooking(addCustomer(QString::fromUtf8(name)), at(2026, 12, 18, 10), to);
    };
    leaving("LeftAt1429", at(2026, 12, 20, 14, 29));
    leaving("LeavesAt1430", at(2026, 12, 20, 14, 30));
    leaving("LeavesTomorrow1429", at(2026, 12, 21, 14, 29));
    leaving("LeavesTomorrow1430", at(2026, 12, 21, 14, 30));
    auto rows = buildReportRows(reports::checkOutsQuery(now), false);
    QStringList names = customers(*rows);
    names.sort();
    EXPECT_EQ(names, QStringList({"LeavesAt1430", "LeavesTomorrow1429"}));
}

class ReportManager : public ReportChooser {
protected:
    void SetUp() override
    {
        ReportChooser::SetUp();
        window = std::make_unique<frmReports>();
        window->Display();
    }
    void TearDown() override
    {
        window.reset();
        for (const char *name : {"rptAllBooking", "rptPeriodsales"})
            delete reports::previewOf(QString::fromLatin1(name));
        ReportChooser::TearDown();
    }
    void click(const char *button)
    {
        auto *found = window->findChild<QPushButton *>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }
    reports::DatePickerWithCheck *picker(const char *name)
    {
        return window->findChild<reports::DatePickerWithCheck *>(QString::fromLatin1(name));
    }

    std::unique_ptr<frmReports> window;
};

TEST_F(ReportManager, AnEmptyListSaysNothingToPrint)
{
    expectMessage(QStringLiteral("Nothing to print!"), ui::vbOK);
    click("Command4");   // the period pickers still hold 4 May 2004
    EXPECT_EQ(reports::previewOf(QStringLiteral("rptPeriodsales")), nullptr);
}

TEST_F(ReportManager, AListOpensItsPreviewWithThePickedPeriod)
{
    picker("dtpFrom")->setValue(at(2026, 12, 12, 9, 0));
    picker("dtpTo")->setChecked(false);
    click("cmdAllBooking");
    reports::ReportPreviewDialog *preview = reports::previewOf(QStringLiteral("rptAllBooking"));
    ASSERT_NE(preview, nullptr);
    const QString text = printed(preview->document());
    EXPECT_TRUE(text.contains(QStringLiteral("From: 12.12.2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("StartsOnLastDay")));
    EXPECT_FALSE(text.contains(QStringLiteral("Inside")));

    // The same button again shows the new rows in the same window.
    picker("dtpFrom")->setChecked(false);
    click("cmdAllBooking");
    EXPECT_EQ(reports::previewOf(QStringLiteral("rptAllBooking")), preview);
    EXPECT_TRUE(printed(preview->document()).contains(QStringLiteral("Inside")));
}

TEST_F(ReportManager, OutstandingBalancesPrintAtOnce)
{
    addBooking(addCustomer(QStringLiteral("Owing")), at(2026, 12, 5, 10), at(2026, 12, 6, 10), {}, {},
               {100, 0, 20, 120, 20});
    const QString path = worldDir() + QStringLiteral("/outstanding.pdf");
    expectFileDialog(path);
    click("cmdAvailableBerths");
    EXPECT_TRUE(pdfText(path).contains(QStringLiteral("Owing")));
}

} // namespace
} // namespace quorl
