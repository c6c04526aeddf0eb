#include <algorithm>

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include "BookingWorld.h"
#include "core/modDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "reservations/Availability.h"

namespace quorl {
namespace {

QList<qint64> idsOf(db::Recordset &available)
{
    QList<qint64> ids;
    for (; !available.isEOF(); available.MoveNext())
        ids.append(available.value(QStringLiteral("ID")).toLongLong());
    std::sort(ids.begin(), ids.end());
    return ids;
}

struct PeriodCase {
    const char *name;
    QTime fromTime;
    int fromDay; // June 2026
    QTime toTime;
    int toDay;
    bool free; // whether the berth booked 1 June 09:00 to 3 June 14:00 is offered
};

void PrintTo(const PeriodCase &c, std::ostream *out)
{
    *out << c.name;
}

class AvailabilityAtEdges : public BookingWorld, public ::testing::WithParamInterface<PeriodCase> {
};

TEST_P(AvailabilityAtEdges, ABookingBlocksItsBerthOnlyWhereThePeriodsOverlap)
{
    const PeriodCase &c = GetParam();
    const qint64 booked = addBerth(QStringLiteral("A1"), 20.0);
    const qint64 other = addBerth(QStringLiteral("A2"), 25.0);
    addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {booked});

    auto available = runAvailabilityQuery(*DbConnection, QDateTime(QDate(2026, 6, c.fromDay), c.fromTime),
                                          QDateTime(QDate(2026, 6, c.toDay), c.toTime), 1, 0);
    const QList<qint64> ids = idsOf(*available);
    EXPECT_TRUE(ids.contains(other)) << c.name;
    EXPECT_EQ(ids.contains(booked), c.free) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Periods, AvailabilityAtEdges,
    ::testing::Values(PeriodCase{"ArrivesAsTheOtherLeaves", QTime(14, 0), 3, QTime(10, 0), 4, true},
                      PeriodCase{"ArrivesEarlierAndLeavesDuringIt", QTime(6, 0), 1, QTime(10, 0), 2, false},
                      PeriodCase{"ArrivesHalfAnHourBeforeTheOtherLeaves", QTime(13, 30), 3, QTime(10, 0), 4, false},
                      PeriodCase{"LeavesHalfAnHourAfterTheOtherArrives", QTime(8, 0), 1, QTime(9, 30), 1, false},
                      PeriodCase{"LeavesExactlyAtTheOthersArrival", QTime(6, 0), 1, QTime(9, 0), 1, true},
                      PeriodCase{"Inside", QTime(12, 0), 2, QTime(13, 0), 2, false},
                      PeriodCase{"AroundIt", QTime(8, 0), 1, QTime(15, 0), 3, false},
                      PeriodCase{"DaysLater", QTime(9, 0), 10, QTime(14, 0), 12, true}),
    [](const ::testing::TestParamInfo<PeriodCase> &info) { return std::string(info.param.name); });

TEST_F(BookingWorld, InactiveBerthsAndBookingsWithoutTheirRowAreLeftOut)
{
    const qint64 active = addBerth(QStringLiteral("A1"));
    addBerth(QStringLiteral("Laid up"), 10.0, false);
    const qint64 orphaned = addBerth(QStringLiteral("B1"));
    const qint64 gone = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {orphaned});
    // A cancelled booking leaves its berth rows behind; they hold nothing.
    execute(QStringLiteral("DELETE FROM Booking WHERE ID = %1").arg(gone));

    auto available = runAvailabilityQuery(*DbConnection, at(2026, 6, 2, 9, 0), at(2026, 6, 2, 14, 0), 1, 0);
    EXPECT_EQ(idsOf(*available), (QList<qint64>{active, orphaned}));
}

TEST_F(BookingWorld, InModeTwoTheEditedBookingDoesNotBlockItsOwnBerths)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    const qint64 a2 = addBerth(QStringLiteral("A2"));
    const qint64 a3 = addBerth(QStringLiteral("A3"));
    const qint64 edited = addBooking(at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), {a1, a2});
    addBooking(at(2026, 6, 2, 9, 0), at(2026, 6, 4, 14, 0), {a3});

    auto asNew = runAvailabilityQuery(*DbConnection, at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), 1, 0);
    EXPECT_TRUE(idsOf(*asNew).isEmpty());
    auto asEdit = runAvailabilityQuery(*DbConnection, at(2026, 6, 1, 9, 0), at(2026, 6, 3, 14, 0), 2, edited);
    EXPECT_EQ(idsOf(*asEdit), (QList<qint64>{a1, a2}));
    EXPECT_EQ(bookingBerthIds(*DbConnection, edited), (QList<qint64>{a1, a2}));
}

TEST_F(BookingWorld, TheModelKeepsOneMarkPerRowAndDrawsOnlyTheVisibleColumnsMarked)
{
    addBerth(QStringLiteral("A1"), 12.5);
    addBerth(QStringLiteral("A2"));
    auto available = runAvailabilityQuery(*DbConnection, at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0), 1, 0);
    AvailableBerthsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.load(*available);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.berth(0).dailyHireCharge.toDouble(), 12.5);
    EXPECT_TRUE(model.berth(1).dailyHireCharge.isNull() || !model.berth(1).dailyHireCharge.isValid());

    EXPECT_TRUE(model.setMarked(1, true));
    EXPECT_FALSE(model.setMarked(1, true));
    EXPECT_EQ(model.markedCount(), 1);
    const QBrush highlight = QGuiApplication::palette().brush(QPalette::Active, QPalette::Highlight);
    for (int column = AvailableBerthsModel::ColumnName; column <= AvailableBerthsModel::ColumnHasPower; ++column)
        EXPECT_EQ(model.data(model.index(1, column), Qt::BackgroundRole).value<QBrush>(), highlight) << column;
    EXPECT_FALSE(model.data(model.index(1, AvailableBerthsModel::ColumnID), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(0, AvailableBerthsModel::ColumnName), Qt::BackgroundRole).isValid());

    // A reload is a fresh list: no mark survives it.
    available = runAvailabilityQuery(*DbConnection, at(2026, 6, 1, 9, 0), at(2026, 6, 2, 9, 0), 1, 0);
    model.load(*available);
    EXPECT_EQ(model.markedCount(), 0);
}

} // namespace
} // namespace quorl
