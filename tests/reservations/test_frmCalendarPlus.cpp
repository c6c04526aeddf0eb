#include <algorithm>

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDateEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "BookingWorld.h"
#include "ModelTesterWarnings.h"
#include "platform/db/Connection.h"
#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "reservations/frmBookingSummary.h"
#include "reservations/frmCalendarPlus.h"

namespace quorl {
namespace {

// The chart inside a main window, opened through the menu as the user opens it, on
// the fixed clock's day, 8 December 2026.
class PlanningChartWindow : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        main = std::make_unique<MDIMain>(nullptr, defaultNavigation());
        main->resize(1200, 800);
        main->show();
    }
    void TearDown() override
    {
        main.reset();
        BookingWorld::TearDown();
    }

    void open()
    {
        QAction *entry = main->menuEntry(QStringLiteral("mnuBookingsCalendarAdvanced"));
        ASSERT_TRUE(entry->isEnabled());
        entry->trigger();
        chart = ui::findMdiChild<frmCalendarPlus>(main->mdiArea());
        ASSERT_NE(chart, nullptr);
    }
    QTableView *grid() const { return chart->findChild<QTableView *>(QStringLiteral("grdBooking")); }
    QDate pickerDate() const { return chart->findChild<QDateEdit *>(QStringLiteral("DTPicker1"))->date(); }
    QString rowLabel(int row) const { return chart->chartModel()->headerData(row, Qt::Vertical).toString(); }
    QVariant cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return chart->chartModel()->index(row, column).data(role);
    }
    void doubleClick(int row, int column)
    {
        const QModelIndex index = chart->chartModel()->index(row, column);
        grid()->scrollTo(index);
        // What the window system sends for a double click: a click, then the double click.
        const QPoint centre = grid()->visualRect(index).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, centre);
    }

    std::unique_ptr<MDIMain> main;
    frmCalendarPlus *chart = nullptr;
};

TEST_F(PlanningChartWindow, OpensTodayFromEightWithAsManyRowsAsTheGridHolds)
{
    open(); // without berths only the slot labels show
    EXPECT_EQ(chart->chartModel()->columnCount(), 0);
    EXPECT_EQ(chart->ViewMode(), kHalfHourView);
    EXPECT_EQ(chart->StartTime(), at(2026, 12, 8, 8, 0));
    EXPECT_EQ(pickerDate(), QDate(2026, 12, 8));
    const int before = chart->chartModel()->rowCount();
    EXPECT_EQ(before, grid()->height() * 15 / 400);
    EXPECT_EQ(rowLabel(1), QStringLiteral("08:30"));

    // A taller window shows more rows, still from the first row's slot.
    main->resize(1200, 1100);
    QCoreApplication::processEvents();
    EXPECT_GT(chart->chartModel()->rowCount(), before);
    EXPECT_EQ(chart->chartModel()->rowCount(), grid()->height() * 15 / 400);
    EXPECT_EQ(rowLabel(0), QStringLiteral("08:00"));
}

TEST_F(PlanningChartWindow, ViewsSwitchAndThePickerRestartsAtEight)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    addBooking(at(2026, 12, 7, 14, 0), at(2026, 12, 8, 9, 0), {a1}, addCustomer(QStringLiteral("Smith")));
    open();
    ModelTesterWarnings warnings;
    QAbstractItemModelTester tester(chart->chartModel(), QAbstractItemModelTester::FailureReportingMode::Warning);

    chart->Option1_Click(1);
    EXPECT_EQ(rowLabel(0), QStringLiteral("08.12.2026"));
    EXPECT_EQ(rowLabel(1), QStringLiteral("09.12.2026"));
    EXPECT_EQ(cell(0, 0).toString(), QStringLiteral("Smith"));
    EXPECT_EQ(cell(1, 0, PlanningChartModel::CellStateRole).toInt(), kCellAvailable);

    // Back across the start of the day: the freed top row is filled from the bookings.
    chart->Command1_Click();
    EXPECT_EQ(rowLabel(0), QStringLiteral("07.12.2026"));
    EXPECT_EQ(cell(0, 0).toString(), QStringLiteral("Smith"));
    EXPECT_EQ(pickerDate(), QDate(2026, 12, 7));

    chart->Option1_Click(0);
    EXPECT_EQ(chart->StartTime(), at(2026, 12, 7, 8, 0));
    EXPECT_EQ(rowLabel(0), QStringLiteral("08:00"));
    EXPECT_EQ(cell(11, 0, PlanningChartModel::CellStateRole).toInt(), kCellAvailable); // 13:30, before Smith arrives

    chart->Option1_Click(1);
    chart->findChild<QDateEdit *>(QStringLiteral("DTPicker1"))->setDate(QDate(2027, 1, 15));
    EXPECT_EQ(chart->StartTime(), at(2027, 1, 15, 8, 0));
    EXPECT_EQ(rowLabel(0), QStringLiteral("15.01.2027"));
    EXPECT_EQ(warnings.failures(), QStringList());
}

TEST_F(PlanningChartWindow, ScrollingStopsAtEightAndFillsTheRowComingIntoView)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    open();
    const int rows = chart->chartModel()->rowCount();
    ASSERT_LT(rows, 23); // so the slot below the last row is before 20:00
    const QDateTime below = chart->SlotTimes().back().addSecs(1800);
    addBooking(below, below.addSecs(1800), {a1}, addCustomer(QStringLiteral("Late")));
    chart->Form_Activate();

    chart->findChild<QToolButton *>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(rowLabel(0), QStringLiteral("08:00"));
    chart->findChild<QToolButton *>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(rowLabel(0), QStringLiteral("08:30"));
    EXPECT_EQ(pickerDate(), QDate(2026, 12, 8));
    EXPECT_EQ(chart->SlotTimes().back(), below);
    EXPECT_EQ(cell(rows - 1, 0).toString(), QStringLiteral("Late"));
    EXPECT_EQ(cell(rows - 2, 0).toString(), QString());
}

TEST_F(PlanningChartWindow, TheChartRereadsTheBookingsWhenActivated)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    open();
    EXPECT_EQ(cell(4, 0, PlanningChartModel::CellStateRole).toInt(), kCellAvailable);
    addBooking(at(2026, 12, 8, 10, 0), at(2026, 12, 8, 11, 0), {a1}, addCustomer(QStringLiteral("Smith")));
    const qint64 a2 = addBerth(QStringLiteral("A2"), QVariant(), false);
    chart->Form_Activate();
    ASSERT_EQ(chart->chartModel()->columnCount(), 2);
    const auto colour = [this](int row, int column) { return cell(row, column, Qt::BackgroundRole).value<QColor>(); };
    EXPECT_EQ(cell(4, 0).toString(), QStringLiteral("Smith"));
    EXPECT_EQ(colour(4, 0), QColor(Qt::yellow));
    EXPECT_EQ(colour(6, 0), QColor(Qt::white)); // 11:00
    EXPECT_EQ(colour(4, 1), QColor(0, 192, 0));
    EXPECT_EQ(chart->chartModel()->berths().at(1).id, a2);
}

// Another program books a stay over two days: the day already on view and the day a
// scroll brings in, which the chart has not read yet.
struct ScrollCase {
    const char *name;
    bool back;
};
class ChartScrollReadsNewDays : public PlanningChartWindow, public ::testing::WithParamInterface<ScrollCase> {};
void PrintTo(const ScrollCase &c, std::ostream *os) { *os << c.name; }

TEST_P(ChartScrollReadsNewDays, ABookingShowsOnBothOfItsDays)
{
    const bool back = GetParam().back;
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    const qint64 smith = addCustomer(QStringLiteral("Smith"));
    open();
    chart->Option1_Click(1);
    const int rows = chart->chartModel()->rowCount();
    ASSERT_GE(rows, 2);
    const QDate seen = back ? chart->SlotTimes().front().date() : chart->SlotTimes().back().date();
    const QDate unread = seen.addDays(back ? -1 : 1);
    const QDate arrival = std::min(seen, unread);

    db::Connection other;
    other.Open(DbConnection->ConnectionString());
    other.Execute(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, CustomerID) VALUES ('%1 14:00:00', "
                                 "'%2 10:00:00', %3)")
                      .arg(arrival.toString(Qt::ISODate), arrival.addDays(1).toString(Qt::ISODate))
                      .arg(smith));
    other.Execute(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) SELECT MAX(ID), %1 FROM Booking")
                      .arg(a1));

    chart->findChild<QToolButton *>(QLatin1String(back ? "Command1" : "Command2"))->click();
    const int seenRow = back ? 1 : rows - 2;
    const int unreadRow = back ? 0 : rows - 1;
    ASSERT_EQ(rowLabel(unreadRow), unread.toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(cell(seenRow, 0).toString(), QStringLiteral("Smith"));
    EXPECT_EQ(cell(unreadRow, 0).toString(), QStringLiteral("Smith"));
}

INSTANTIATE_TEST_SUITE_P(Scrolls, ChartScrollReadsNewDays,
                         ::testing::Values(ScrollCase{"Later", false}, ScrollCase{"Earlier", true}),
                         [](const ::testing::TestParamInfo<ScrollCase> &info) { return std::string(info.param.name); });

struct DoubleClickCase {
    const char *name;
    QTime slot;
    int column;             // 0: the active berth, 1: the inactive one
    bool opens, opensLater; // later: the booking from 10:00, not the one ending then
};
class ChartDoubleClick : public PlanningChartWindow, public ::testing::WithParamInterface<DoubleClickCase> {};
void PrintTo(const DoubleClickCase &c, std::ostream *os) { *os << c.name; }

TEST_P(ChartDoubleClick, OpensTheSummaryOfTheBookingUnderTheCellAndRefreshes)
{
    const DoubleClickCase &c = GetParam();
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    addBerth(QStringLiteral("Laid up"), QVariant(), false);
    const qint64 earlier = addBooking(at(2026, 12, 8, 8, 0), at(2026, 12, 8, 10, 0), {a1}, addCustomer("Early"));
    const qint64 later = addBooking(at(2026, 12, 8, 10, 0), at(2026, 12, 8, 11, 0), {a1}, addCustomer("Later"));
    open();
    ModelTesterWarnings warnings;
    QAbstractItemModelTester tester(chart->chartModel(), QAbstractItemModelTester::FailureReportingMode::Warning);

    // A berth added elsewhere meanwhile shows after the double click, whatever it opened.
    const qint64 a3 = addBerth(QStringLiteral("A3"));
    SummaryVisit summary;
    doubleClick(QTime(8, 0).secsTo(c.slot) / 1800, c.column);

    EXPECT_EQ(summary.shownBooking(), c.opens ? (c.opensLater ? later : earlier) : 0);
    EXPECT_EQ(chart->chartModel()->berths().back().id, a3);
    EXPECT_EQ(warnings.failures(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Chart, ChartDoubleClick,
    ::testing::Values(DoubleClickCase{"BookedCellOpensItsBooking", QTime(9, 0), 0, true, false},
                      DoubleClickCase{"CellOfABookingStartingAsAnotherEndsOpensTheNewOne", QTime(10, 0), 0, true, true},
                      DoubleClickCase{"FreeCellStartingAsABookingEndsOpensIt", QTime(11, 0), 0, true, true},
                      DoubleClickCase{"FreeCellTouchingNothingOpensNothing", QTime(12, 0), 0, false, false},
                      DoubleClickCase{"InactiveCellOpensNothing", QTime(9, 0), 1, false, false}),
    [](const ::testing::TestParamInfo<DoubleClickCase> &info) { return std::string(info.param.name); });

TEST_F(PlanningChartWindow, ABookingCancelledInItsSummaryLeavesTheChartOnceTheSummaryCloses)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    const qint64 smith = addBooking(at(2026, 12, 8, 10, 0), at(2026, 12, 8, 11, 0), {a1}, addCustomer("Smith"));
    open();
    ASSERT_EQ(cell(4, 0).toString(), QStringLiteral("Smith"));
    SummaryVisit summary([this](frmBookingSummary &shown) {
        expectMessage(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYes);
        shown.findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    doubleClick(4, 0);
    ASSERT_EQ(summary.shownBooking(), smith);
    EXPECT_EQ(cell(4, 0).toString(), QString());
    EXPECT_EQ(cell(4, 0, Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
}

} // namespace
} // namespace quorl
