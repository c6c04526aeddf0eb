#include <optional>
#include <ostream>

#include <gtest/gtest.h>

#include <QStringList>

#include "BookingWorld.h"
#include "core/modDatabase.h"
#include "platform/db/Recordset.h"
#include "reservations/CalendarQueries.h"

namespace quorl {
namespace {

// Bookings over a midnight, a month end and a year end, read as the day calendar
// and the booking search hold them.
class CalendarWorld : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        // B7 is made first, so the order of its lines is not the order of the berths' IDs.
        const qint64 b7 = addBerth(QStringLiteral("B7"));
        const qint64 a1 = addBerth(QStringLiteral("A1"));
        const qint64 a2 = addBerth(QStringLiteral("A2"));
        auto customer = [this](const char *name) { return addCustomer(QString::fromUtf8(name), QStringLiteral("Mill House")); };
        addBooking(at(2026, 12, 8, 14, 0), at(2026, 12, 10, 9, 0), {a1, a2, b7}, customer("Three Days"));
        addBooking(at(2026, 12, 11, 10, 0), at(2026, 12, 12, 0, 0), {b7}, customer("To Midnight"));
        addBooking(at(2026, 12, 12, 0, 0), at(2026, 12, 12, 12, 0), {a1}, customer("From Midnight"));
        addBooking(at(2026, 12, 31, 16, 0), at(2027, 1, 2, 10, 0), {a2}, customer("New Year"));
        addBooking(at(2026, 11, 30, 12, 0), at(2026, 12, 1, 9, 30), {a1}, customer("Month End"));
        addBooking(at(2026, 6, 1, 8, 0), at(2026, 6, 10, 14, 0), {}, customer("June Early"));
        addBooking(at(2026, 5, 31, 23, 30), at(2026, 6, 10, 23, 30), {b7}, customer("June Eve"));
        addBooking(at(2026, 6, 3, 9, 0), at(2026, 6, 11, 0, 0), {a2}, customer("June Late"));
    }

    std::unique_ptr<db::Recordset> opened(const char *sql) const
    {
        auto rows = OpenRecordset(QString::fromLatin1(sql), nullptr, true, db::adCmdText);
        EXPECT_TRUE(rows->isOpen()) << rows->lastError().toStdString();
        return rows;
    }
};

struct DayCase {
    const char *name;
    QDate day;
    QStringList rows; // "customer | berths | arrival | departure"
};
void PrintTo(const DayCase &c, std::ostream *out) { *out << c.name; }

class DayOfTheCalendar : public CalendarWorld, public ::testing::WithParamInterface<DayCase> {
};

TEST_P(DayOfTheCalendar, ListsTheBookingsTouchingTheDayWithTheTimesFallingOnIt)
{
    auto bookings = opened(kCalendarBookingsSql);
    auto berthNames = opened(kCalendarBerthNamesSql);
    QStringList shown;
    for (const DayBooking &row : dayBookings(*bookings, *berthNames, GetParam().day))
        shown << QStringList{row.name, row.berths, row.arrival, row.departure}.join(QStringLiteral(" | "));
    EXPECT_EQ(shown, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Days, DayOfTheCalendar,
    ::testing::Values(
        DayCase{"ArrivalDay", {2026, 12, 8}, {"Three Days | A1, A2, B7 |  14:00 | n/a"}},
        DayCase{"DepartureDay", {2026, 12, 10}, {"Three Days | A1, A2, B7 | n/a |  09:00"}},
        DayCase{"NoBookings", {2026, 12, 20}, {}},
        // Ending exactly at midnight shows on the day before and on the day of that midnight;
        // starting exactly at midnight shows only from that day on.
        DayCase{"DayBeforeAMidnightDeparture", {2026, 12, 11}, {"To Midnight | B7 |  10:00 |  00:00"}},
        DayCase{"DayOfAMidnightDeparture", {2026, 12, 12},
                {"To Midnight | B7 | n/a |  00:00", "From Midnight | A1 |  00:00 |  12:00"}},
        DayCase{"DayAfterAMidnightDeparture", {2026, 12, 13}, {}},
        DayCase{"LastDayOfTheYear", {2026, 12, 31}, {"New Year | A2 |  16:00 | n/a"}},
        DayCase{"FirstDayOfTheYear", {2027, 1, 1}, {"New Year | A2 | n/a | n/a"}},
        DayCase{"LastDayOfTheMonth", {2026, 11, 30}, {"Month End | A1 |  12:00 | n/a"}},
        DayCase{"FirstDayOfTheMonth", {2026, 12, 1}, {"Month End | A1 | n/a |  09:30"}},
        DayCase{"BookingWithoutBerths", {2026, 6, 2},
                {"June Early |  | n/a | n/a", "June Eve | B7 | n/a | n/a"}}),
    [](const auto &info) { return std::string(info.param.name); });

struct SearchCase {
    const char *name;
    std::optional<QDate> arriving;
    std::optional<QDate> departing;
    QStringList found;
};
void PrintTo(const SearchCase &c, std::ostream *out) { *out << c.name; }

class BookingSearch : public CalendarWorld, public ::testing::WithParamInterface<SearchCase> {
};

TEST_P(BookingSearch, KeepsWholeDaysWhateverTheTimeOfDay)
{
    auto list = opened(kFindBookingSql);
    const QString filter = bookingSearchFilter(GetParam().arriving, GetParam().departing);
    if (!filter.isEmpty())
        list->setFilter(filter);
    QStringList found;
    for (; !list->isEOF(); list->MoveNext()) {
        const QString name = list->value(QStringLiteral("Name")).toString();
        if (name.startsWith(QStringLiteral("June")))
            found << name;
    }
    found.sort();
    EXPECT_EQ(found, GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, BookingSearch,
    ::testing::Values(
        SearchCase{"NeitherTicked", std::nullopt, std::nullopt, {"June Early", "June Eve", "June Late"}},
        SearchCase{"ArrivingFromTheDaysMidnight", QDate(2026, 6, 1), std::nullopt, {"June Early", "June Late"}},
        SearchCase{"ArrivingOnALaterDay", QDate(2026, 6, 2), std::nullopt, {"June Late"}},
        SearchCase{"DepartingUntilTheNextMidnight", std::nullopt, QDate(2026, 6, 10), {"June Early", "June Eve"}},
        SearchCase{"DepartingAtTheNextMidnightIsTheNextDay", std::nullopt, QDate(2026, 6, 11),
                   {"June Early", "June Eve", "June Late"}},
        SearchCase{"BothTicked", QDate(2026, 6, 1), QDate(2026, 6, 10), {"June Early"}},
        SearchCase{"BothOnOneDay", QDate(2026, 6, 1), QDate(2026, 6, 1), {}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
