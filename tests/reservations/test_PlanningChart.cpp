#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QStringList>

#include "BookingWorld.h"
#include "ChartTesting.h"
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

struct SlotCase {
    const char *name;
    QDateTime start;
    int count;
    int view;
    QList<int> probes;
    QStringList expected; // shortSlot of each probed row
};

class SlotRows : public ::testing::TestWithParam<SlotCase> {
};

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
        SlotCase{"TenHalfHoursFromEight", dec(8, 8), 10, kHalfHourView, {0, 1, 9}, {"8 08:00", "8 08:30", "8 12:30"}},
        SlotCase{"ThirtyRowsGoOnAtEightNextDay",
                 dec(8, 8),
                 30,
                 kHalfHourView,
                 {23, 24, 29},
                 {"8 19:30", "9 08:00", "9 10:30"}},
        SlotCase{"StartAtHalfSevenWrapsAfterOneRow", dec(8, 19, 30), 3, kHalfHourView, {0, 1, 2},
                 {"8 19:30", "9 08:00", "9 08:30"}},
        SlotCase{"StartBeforeEightIsNotMoved", dec(8, 7), 2, kHalfHourView, {0, 1}, {"8 07:00", "8 07:30"}},
        SlotCase{"DaysAtMidnightFromTheStartsDate", dec(30, 8), 3, kDayView, {0, 1, 2}, {"30 00:00", "31 00:00", "1 00:00"}},
        SlotCase{"NoRows", dec(8, 8), 0, kHalfHourView, {}, {}}),
    [](const ::testing::TestParamInfo<SlotCase> &info) { return std::string(info.param.name); });

struct GridHeightCase {
    const char *name;
    int twips;
    int rows; // the name row included
};

class GridRows : public ::testing::TestWithParam<GridHeightCase> {
};

TEST_P(GridRows, AsManySlotsAsFitAndTheNameRow)
{
    EXPECT_EQ(slotGridRows(GetParam().twips), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Chart, GridRows,
                         ::testing::Values(GridHeightCase{"DesignHeightGivesTenSlots", 4335, 11},
                                           GridHeightCase{"LowerThanARowHasNoSlot", 399, 1},
                                           GridHeightCase{"ExactlyOneRow", 400, 2},
                                           GridHeightCase{"Collapsed", 0, 1}),
                         [](const ::testing::TestParamInfo<GridHeightCase> &info) {
                             return std::string(info.param.name);
                         });

// ---- Scrolling -------------------------------------------------------------------------------

struct ScrollCase {
    const char *name;
    QDateTime start;
    int count;
    int view;
    bool back;
    bool moves;
    QStringList firstAndLast; // after the scroll
};

class Scrolling : public ::testing::TestWithParam<ScrollCase> {
};

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
        ScrollCase{"HalfHourBackToEight", dec(8, 8, 30), 10, kHalfHourView, true, true, {"8 08:00", "8 12:30"}},
        ScrollCase{"WrappedRowsForwardKeepTheDayBreak", dec(8, 8), 30, kHalfHourView, false, true,
                   {"8 08:30", "9 11:00"}},
        ScrollCase{"FirstRowCrossesIntoTheNextDay", dec(8, 19, 30), 4, kHalfHourView, false, true,
                   {"9 08:00", "9 09:30"}},
        ScrollCase{"BackFromEightOfTheSecondDayStays", dec(9, 8), 4, kHalfHourView, true, false, {}},
        ScrollCase{"SingleRowForward", dec(8, 10), 1, kHalfHourView, false, true, {"8 10:30", "8 10:30"}},
        ScrollCase{"SingleRowBackAtEightStays", dec(8, 8), 1, kHalfHourView, true, false, {}},
        ScrollCase{"NoRowsNeverMove", dec(8, 8), 0, kDayView, false, false, {}},
        ScrollCase{"DayViewBackIntoThePreviousMonth", QDateTime(QDate(2026, 12, 1), QTime(8, 0)), 3, kDayView, true,
                   true, {"30 00:00", "2 00:00"}},
        ScrollCase{"DayViewForwardIntoTheNextYear", dec(29, 0), 3, kDayView, false, true, {"30 00:00", "1 00:00"}}),
    [](const ::testing::TestParamInfo<ScrollCase> &info) { return std::string(info.param.name); });

// ---- Bookings placed on the chart and looked up by a double click -----------------------

// Berths and bookings over 8 to 10 December that hold every edge a cell can meet.
class ChartWorld : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        a1 = addBerth(QStringLiteral("A1"));
        b2 = addBerth(QStringLiteral("B2"), QVariant(), false);
        twin = addBerth(QStringLiteral("A1")); // a second berth of the same name
        pier = addBerth(QStringLiteral("O'Hara's Pier"));
        const auto customer = [this](const char *name) { return addCustomer(QString::fromUtf8(name)); };
        smith = addBooking(dec(8, 10), dec(8, 11), {a1}, customer("Smith"));
        jones = addBooking(dec(8, 12), dec(8, 13), {twin}, customer("Jones"));
        brown = addBooking(dec(8, 9), dec(8, 9, 30), {b2}, customer("Brown"));
        oneill = addBooking(dec(8, 14), dec(9, 9), {pier}, customer("O'Neill"));
        green = addBooking(dec(9, 12), dec(10, 0), {a1}, customer("Green"));
        first = addBooking(dec(8, 15), dec(8, 15, 15), {twin}, customer("First"));
        second = addBooking(dec(8, 15, 15), dec(8, 17), {twin}, customer("Second"));
        nobody = addBooking(dec(8, 16), dec(8, 17), {a1}, 999); // its customer row is gone
        after = addBooking(dec(8, 17), dec(8, 18), {a1}, customer("After"));

        auto berthRows = OpenRecordset(chartBerthsQuery());
        berths = readChartBerths(*berthRows);
        auto rows = OpenRecordset(chartBookingsQuery(dec(8, 0), dec(11, 0)));
        bookings.load(*rows, dec(8, 0), dec(11, 0));
    }

    int columnOf(qint64 berthId) const
    {
        for (std::size_t c = 0; c < berths.size(); ++c) {
            if (berths[c].id == berthId)
                return int(c);
        }
        return -1;
    }

    // The cell of that berth in the row of that slot, placed as the chart places a row.
    ChartCell cellAt(qint64 berthId, const QDateTime &slot, int view) const
    {
        const std::vector<ChartCell> row = bookings.place({slot}, view, berths);
        return row.at(std::size_t(columnOf(berthId)));
    }

    qint64 a1 = 0, b2 = 0, twin = 0, pier = 0;
    qint64 smith = 0, jones = 0, brown = 0, oneill = 0, green = 0, first = 0, second = 0, nobody = 0, after = 0;
    std::vector<ChartBerth> berths;
    ChartBookings bookings;
};

enum class Berth { A1, B2, Twin, Pier };
enum class Booking { None, Smith, Jones, Brown, ONeill, Green, First, Second, Nobody, After };

struct CellCase {
    const char *name;
    Berth berth;
    QDateTime slot;
    int view;
    int state;
    Booking shown;  // the booking the cell names
    Booking opened; // the booking a double click on it opens
};

class ChartCells : public ChartWorld, public ::testing::WithParamInterface<CellCase> {
protected:
    qint64 berthId(Berth b) const
    {
        const qint64 ids[] = {a1, b2, twin, pier};
        return ids[int(b)];
    }
    qint64 bookingId(Booking b) const
    {
        const qint64 ids[] = {0, smith, jones, brown, oneill, green, first, second, nobody, after};
        return ids[int(b)];
    }
    static QString customerName(Booking b)
    {
        const char *names[] = {"", "Smith", "Jones", "Brown", "O'Neill", "Green", "First", "Second", "", "After"};
        return QString::fromUtf8(names[int(b)]);
    }
};

TEST_P(ChartCells, ShowTheirBookingAndOpenIt)
{
    const CellCase &c = GetParam();
    const ChartCell cell = cellAt(berthId(c.berth), c.slot, c.view);
    EXPECT_EQ(cell.state, c.state);
    EXPECT_EQ(cell.bookingId, bookingId(c.shown));
    EXPECT_EQ(cell.text, customerName(c.shown));
    EXPECT_EQ(bookingUnderCell(cell, bookings, berthId(c.berth), c.slot, c.view), bookingId(c.opened));
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
        CellCase{"SameNamedBerthShowsItsOwnBooking", Berth::Twin, dec(8, 12), H, kCellBooked, Booking::Jones,
                 Booking::Jones},
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
        CellCase{"TheSecondShowsInTheNextSlot", Berth::Twin, dec(8, 15, 30), H, kCellBooked, Booking::Second,
                 Booking::Second},
        CellCase{"BookingWithoutItsCustomerShowsNoName", Berth::A1, dec(8, 16), H, kCellBooked, Booking::Nobody,
                 Booking::Nobody},
        CellCase{"BookedCellOpensItsOwnBookingNotTheOneEndingAtItsStart", Berth::A1, dec(8, 17), H, kCellBooked,
                 Booking::After, Booking::After}),
    [](const ::testing::TestParamInfo<CellCase> &info) { return std::string(info.param.name); });

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

// ---- The grid's model --------------------------------------------------------------------

TEST_F(ChartWorld, TheModelKeepsItsContractThroughEveryChange)
{
    PlanningChartModel model;
    ModelTesterWarnings warnings;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    std::vector<QDateTime> slotTimes = BuildSlots(dec(8, 8), 6, kHalfHourView);
    model.setChart(berths, slotTimes, kHalfHourView, bookings.place(slotTimes, kHalfHourView, berths));
    ASSERT_EQ(model.rowCount(), 6);
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("O'Hara's Pier"));
    EXPECT_EQ(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("10:00"));
    EXPECT_EQ(model.data(model.index(4, 0)).toString(), QStringLiteral("Smith"));
    EXPECT_EQ(model.data(model.index(4, 0), Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(), QColor(0, 192, 0));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));

    ASSERT_TRUE(ScrollSlots(slotTimes, false, kHalfHourView));
    model.shiftRows(false);
    model.setRow(5, slotTimes.back(), bookings.place({slotTimes.back()}, kHalfHourView, berths));
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("08:30"));
    EXPECT_EQ(model.headerData(5, Qt::Vertical).toString(), QStringLiteral("11:00"));
    EXPECT_EQ(model.data(model.index(3, 0)).toString(), QStringLiteral("Smith"));

    slotTimes = BuildSlots(dec(8, 0), 3, kDayView);
    model.setChart(berths, slotTimes, kDayView, bookings.place(slotTimes, kDayView, berths));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toString(), QStringLiteral("09.12.2026"));
    model.setChart({}, slotTimes, kDayView, {});
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_EQ(warnings.failures(), QStringList());
}

} // namespace
} // namespace quorl
