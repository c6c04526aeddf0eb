#include <gtest/gtest.h>

#include <QStringList>

#include "BookingWorld.h"
#include "core/modDatabase.h"
#include "platform/db/Recordset.h"
#include "reservations/PlanningChart.h"

namespace quorl {
namespace {

QDateTime dec(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

// "8 10:00": the day of December and the time, enough to read a slot list at a glance.
QString shortSlot(const QDateTime &slot)
{
    return QStringLiteral("%1 %2").arg(slot.date().day()).arg(slot.toString(QStringLiteral("HH:mm")));
}

QStringList shortSlots(const std::vector<QDateTime> &slotTimes, const QList<int> &indexes)
{
    QStringList texts;
    for (int i : indexes)
        texts << (std::size_t(i) < slotTimes.size() ? shortSlot(slotTimes[std::size_t(i)]) : QStringLiteral("-"));
    return texts;
}

// ---- Building the slot rows -------------------------------------------------------------

template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case> &info)
{
    return info.param.name;
}
template <class Case>
void printCase(const Case &c, std::ostream *os)
{
    *os << c.name;
}

struct SlotCase {
    const char *name;
    QDateTime start;
    int count, view;
    QList<int> probes;
    QStringList expected; // shortSlot of each probed row
};
class SlotRows : public ::testing::TestWithParam<SlotCase> {};
void PrintTo(const SlotCase &c, std::ostream *os) { printCase(c, os); }

TEST_P(SlotRows, FollowTheViewFromTheStart)
{
    const SlotCase &c = GetParam();
    const std::vector<QDateTime> slotTimes = BuildSlots(c.start, c.count, c.view);
    EXPECT_EQ(int(slotTimes.size()), c.count);
    EXPECT_EQ(shortSlots(slotTimes, c.probes), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Chart, SlotRows,
    ::testing::Values(
        SlotCase{"ThirtyRowsGoOnAtEightNextDay", dec(8, 8), 30, kHalfHourView, {23, 24, 29},
                 {"8 19:30", "9 08:00", "9 10:30"}},
        SlotCase{"StartAtHalfSevenWrapsAfterOneRow", dec(8, 19, 30), 3, kHalfHourView, {0, 1, 2},
                 {"8 19:30", "9 08:00", "9 08:30"}},
        SlotCase{"StartBeforeEightIsNotMoved", dec(8, 7), 2, kHalfHourView, {0, 1}, {"8 07:00", "8 07:30"}},
        SlotCase{"DaysAtMidnightFromTheStartsDate", dec(30, 8), 3, kDayView, {0, 1, 2}, {"30 00:00", "31 00:00", "1 00:00"}},
        SlotCase{"NoRows", dec(8, 8), 0, kHalfHourView, {}, {}}),
    caseName<SlotCase>);

// ---- Scrolling -------------------------------------------------------------------------------

struct ScrollCase {
    const char *name;
    QDateTime start;
    int count, view;
    bool back, moves;
    QStringList firstAndLast; // after the scroll
};
class Scrolling : public ::testing::TestWithParam<ScrollCase> {};
void PrintTo(const ScrollCase &c, std::ostream *os) { printCase(c, os); }

TEST_P(Scrolling, MovesOneSlotWithinTheViewsLimits)
{
    const ScrollCase &c = GetParam();
    std::vector<QDateTime> slotTimes = BuildSlots(c.start, c.count, c.view);
    const std::vector<QDateTime> before = slotTimes;
    EXPECT_EQ(ScrollSlots(slotTimes, c.back, c.view), c.moves);
    if (!c.moves) {
        EXPECT_EQ(slotTimes, before);
        return;
    }
    ASSERT_EQ(slotTimes.size(), before.size());
    EXPECT_EQ(shortSlots(slotTimes, {0, c.count - 1}), c.firstAndLast);
    // Every other row is the neighbour it was.
    for (std::size_t i = 1; i + 1 < slotTimes.size(); ++i)
        EXPECT_EQ(slotTimes[i], c.back ? before[i - 1] : before[i + 1]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Chart, Scrolling,
    ::testing::Values(
        ScrollCase{"HalfHourBackFromEightStays", dec(8, 8), 10, kHalfHourView, true, false, {}},
        ScrollCase{"HalfHourForwardFromOpening", dec(8, 8), 10, kHalfHourView, false, true, {"8 08:30", "8 13:00"}},
        ScrollCase{"HalfHourForwardAtHalfSevenStays", dec(8, 15), 10, kHalfHourView, false, false, {}},
        ScrollCase{"WrappedRowsForwardKeepTheDayBreak", dec(8, 8), 30, kHalfHourView, false, true,
                   {"8 08:30", "9 11:00"}},
        ScrollCase{"FirstRowCrossesIntoTheNextDay", dec(8, 19, 30), 4, kHalfHourView, false, true,
                   {"9 08:00", "9 09:30"}},
        ScrollCase{"SingleRowForward", dec(8, 10), 1, kHalfHourView, false, true, {"8 10:30", "8 10:30"}},
        ScrollCase{"NoRowsNeverMove", dec(8, 8), 0, kDayView, false, false, {}},
        ScrollCase{"DayViewBackIntoThePreviousMonth", QDateTime(QDate(2026, 12, 1), QTime(8, 0)), 3, kDayView, true,
                   true, {"30 00:00", "2 00:00"}},
        ScrollCase{"DayViewForwardIntoTheNextYear", dec(29, 0), 3, kDayView, false, true, {"30 00:00", "1 00:00"}}),
    caseName<ScrollCase>);

// ---- Bookings placed on the chart and looked up by a double click -----------------------

enum class Berth { A1, B2, Twin, Pier };  // also their columns, in the order of their IDs
enum class Booking { None, Smith, Brown, ONeill, Green, First, Second, Nobody, After };
const char *const kCustomers[] = {"", "Smith", "Brown", "O'Neill", "Green", "First", "Second", "", "After"};

// Berths and bookings over 8 to 10 December that hold every edge a cell can meet.
class ChartWorld : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        berthIds = {addBerth(QStringLiteral("A1")), addBerth(QStringLiteral("B2"), QVariant(), false),
                    addBerth(QStringLiteral("A1")) /* a second berth of that name */,
                    addBerth(QStringLiteral("O'Hara's Pier"))};
        const auto book = [this](Booking b, const QDateTime &from, const QDateTime &to, Berth berth) {
            const qint64 customer = b == Booking::Nobody ? 999 : addCustomer(QString::fromUtf8(kCustomers[int(b)]));
            bookingIds[int(b)] = addBooking(from, to, {berthIds[int(berth)]}, customer);
        };
        book(Booking::Smith, dec(8, 10), dec(8, 11), Berth::A1);
        book(Booking::Brown, dec(8, 9), dec(8, 9, 30), Berth::B2);
        book(Booking::ONeill, dec(8, 14), dec(9, 9), Berth::Pier);
        book(Booking::Green, dec(9, 12), dec(10, 0), Berth::A1);
        book(Booking::First, dec(8, 15), dec(8, 15, 15), Berth::Twin);
        book(Booking::Second, dec(8, 15, 15), dec(8, 17), Berth::Twin);
        book(Booking::Nobody, dec(8, 16), dec(8, 17), Berth::A1); // its customer row is gone
        book(Booking::After, dec(8, 17), dec(8, 18), Berth::A1);

        berths = readChartBerths(*OpenRecordset(chartBerthsQuery()));
        bookings.load(*OpenRecordset(chartBookingsQuery(dec(8, 0), dec(11, 0))), dec(8, 0), dec(11, 0));
    }

    std::vector<qint64> berthIds;
    qint64 bookingIds[9] = {};
    std::vector<ChartBerth> berths;
    ChartBookings bookings;
};

struct CellCase {
    const char *name;
    Berth berth;
    QDateTime slot;
    int view, state;
    Booking shown;  // the booking the cell names
    Booking opened; // the booking a double click on it opens
};
class ChartCells : public ChartWorld, public ::testing::WithParamInterface<CellCase> {};
void PrintTo(const CellCase &c, std::ostream *os) { printCase(c, os); }

TEST_P(ChartCells, ShowTheirBookingAndOpenIt)
{
    const CellCase &c = GetParam();
    // The cell as the chart places a row of that one slot.
    const ChartCell cell = bookings.place({c.slot}, c.view, berths).at(std::size_t(c.berth));
    EXPECT_EQ(cell.state, c.state);
    EXPECT_EQ(cell.bookingId, bookingIds[int(c.shown)]);
    EXPECT_EQ(cell.text, QString::fromUtf8(kCustomers[int(c.shown)]));
    EXPECT_EQ(bookingUnderCell(cell, bookings, berthIds[std::size_t(c.berth)], c.slot, c.view),
              bookingIds[int(c.opened)]);
}

constexpr int H = kHalfHourView;
constexpr int D = kDayView;

INSTANTIATE_TEST_SUITE_P(
    Chart, ChartCells,
    ::testing::Values(
        CellCase{"HalfAnHourBeforeABookingIsFreeButTouchesIt", Berth::A1, dec(8, 9, 30), H, kCellAvailable,
                 Booking::None, Booking::Smith},
        CellCase{"FirstHalfHourOfABooking", Berth::A1, dec(8, 10), H, kCellBooked, Booking::Smith, Booking::Smith},
        CellCase{"SecondHalfHourOfABooking", Berth::A1, dec(8, 10, 30), H, kCellBooked, Booking::Smith,
                 Booking::Smith},
        CellCase{"SlotStartingAsABookingEndsIsFreeAndOpensIt", Berth::A1, dec(8, 11), H, kCellAvailable,
                 Booking::None, Booking::Smith},
        CellCase{"FreeCellTouchingNothingOpensNothing", Berth::A1, dec(8, 13), H, kCellAvailable, Booking::None,
                 Booking::None},
        CellCase{"SameNamedBerthDoesNotMirrorTheOther", Berth::Twin, dec(8, 10), H, kCellAvailable, Booking::None,
                 Booking::None},
        CellCase{"InactiveBerthIsGreen", Berth::B2, dec(8, 8), H, kCellInactive, Booking::None, Booking::None},
        CellCase{"BookingOnAnInactiveBerthStillShows", Berth::B2, dec(8, 9), H, kCellBooked, Booking::Brown,
                 Booking::Brown},
        CellCase{"BerthNameWithApostrophes", Berth::Pier, dec(8, 14), H, kCellBooked, Booking::ONeill,
                 Booking::ONeill},
        CellCase{"DayViewFillsTheArrivalDay", Berth::Pier, dec(8, 0), D, kCellBooked, Booking::ONeill,
                 Booking::ONeill},
        CellCase{"DayViewFillsTheDepartureDay", Berth::Pier, dec(9, 0), D, kCellBooked, Booking::ONeill,
                 Booking::ONeill},
        CellCase{"DayViewLeavesTheDayAfter", Berth::Pier, dec(10, 0), D, kCellAvailable, Booking::None,
                 Booking::None},
        CellCase{"BookingEndingAtMidnightFillsItsDay", Berth::A1, dec(9, 0), D, kCellBooked, Booking::Green,
                 Booking::Green},
        CellCase{"BookingEndingAtMidnightLeavesTheNextDayFree", Berth::A1, dec(10, 0), D, kCellAvailable,
                 Booking::None, Booking::Green},
        CellCase{"TwoBookingsInASlotShowTheFirst", Berth::Twin, dec(8, 15), H, kCellBooked, Booking::First,
                 Booking::First},
        CellCase{"BookingWithoutItsCustomerShowsNoName", Berth::A1, dec(8, 16), H, kCellBooked, Booking::Nobody,
                 Booking::Nobody},
        CellCase{"BookedCellOpensItsOwnBookingNotTheOneEndingAtItsStart", Berth::A1, dec(8, 17), H, kCellBooked,
                 Booking::After, Booking::After}),
    caseName<CellCase>);

TEST_F(ChartWorld, AWholeGridPlacesAsEachRowAlone)
{
    const std::vector<QDateTime> slotTimes = BuildSlots(dec(8, 8), 30, kHalfHourView);
    const std::vector<ChartCell> grid = bookings.place(slotTimes, kHalfHourView, berths);
    ASSERT_EQ(grid.size(), slotTimes.size() * berths.size());
    for (std::size_t r = 0; r < slotTimes.size(); ++r) {
        const std::vector<ChartCell> row = bookings.place({slotTimes[r]}, kHalfHourView, berths);
        for (std::size_t c = 0; c < berths.size(); ++c) {
            const ChartCell &cell = grid[r * berths.size() + c];
            EXPECT_EQ(cell.state, row[c].state) << r << "," << c;
            EXPECT_EQ(cell.bookingId, row[c].bookingId) << r << "," << c;
        }
    }
}

TEST_F(ChartWorld, OnlyTheBookingsOfTheReadPeriodAreHeld)
{
    EXPECT_TRUE(bookings.holds(dec(8, 8), dec(10, 20)));
    EXPECT_FALSE(bookings.holds(dec(7, 23), dec(8, 8)));
    EXPECT_FALSE(bookings.holds(dec(10, 8), dec(11, 0, 30)));
    auto rows = OpenRecordset(chartBookingsQuery(dec(9, 0), dec(10, 0)));
    bookings.load(*rows, dec(9, 0), dec(10, 0));
    // O'Neill's stay reaches into the 9th and Green's starts on it; nothing else does.
    EXPECT_EQ(bookings.size(), 2);
}

} // namespace
} // namespace quorl
