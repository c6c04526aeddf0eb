#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDateEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "BookingWorld.h"
#include "ChartTesting.h"
#include "core/MDIMain.h"
#include "platform/ui/MdiChildren.h"
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

    frmCalendarPlus *open()
    {
        QAction *entry = main->menuEntry(QStringLiteral("mnuBookingsCalendarAdvanced"));
        EXPECT_TRUE(entry->isEnabled());
        entry->trigger();
        frmCalendarPlus *chart = ui::findMdiChild<frmCalendarPlus>(main->mdiArea());
        EXPECT_NE(chart, nullptr);
        return chart;
    }

    static QTableView *grid(frmCalendarPlus *chart) { return chart->findChild<QTableView *>(QStringLiteral("grdBooking")); }
    static QDate pickerDate(frmCalendarPlus *chart)
    {
        return chart->findChild<QDateEdit *>(QStringLiteral("DTPicker1"))->date();
    }
    static QString rowLabel(frmCalendarPlus *chart, int row)
    {
        return chart->chartModel()->headerData(row, Qt::Vertical).toString();
    }
    static QString cellText(frmCalendarPlus *chart, int row, int column)
    {
        return chart->chartModel()->index(row, column).data().toString();
    }
    static int cellState(frmCalendarPlus *chart, int row, int column)
    {
        return chart->chartModel()->index(row, column).data(PlanningChartModel::CellStateRole).toInt();
    }
    // The booking whose summary was asked for last; 0 when none was.
    qint64 summaryAskedFor() const
    {
        auto *summary = ui::findMdiChild<frmBookingSummary>(main->mdiArea());
        return summary ? summary->BookingID() : 0;
    }
    void doubleClick(frmCalendarPlus *chart, int row, int column)
    {
        QTableView *view = grid(chart);
        const QModelIndex index = view->model()->index(row, column);
        view->scrollTo(index);
        // What the window system sends for a double click: a click, then the double click.
        const QPoint centre = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    }

    std::unique_ptr<MDIMain> main;
};

TEST_F(PlanningChartWindow, WithoutBerthsOnlyTheSlotLabelsShow)
{
    frmCalendarPlus *chart = open();
    EXPECT_EQ(chart->chartModel()->columnCount(), 0);
    ASSERT_GT(chart->chartModel()->rowCount(), 1);
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("08:00"));
    EXPECT_EQ(rowLabel(chart, 1), QStringLiteral("08:30"));
}

TEST_F(PlanningChartWindow, OpensTodayFromEightWithAsManyRowsAsTheGridHolds)
{
    addBerth(QStringLiteral("A1"));
    frmCalendarPlus *chart = open();
    EXPECT_EQ(chart->ViewMode(), kHalfHourView);
    EXPECT_EQ(chart->StartTime(), at(2026, 12, 8, 8, 0));
    EXPECT_EQ(pickerDate(chart), QDate(2026, 12, 8));
    const int fitting = grid(chart)->height() * 15 / 400;
    EXPECT_EQ(chart->chartModel()->rowCount(), fitting);

    // A taller window shows more rows, still from the first row's slot.
    const int before = chart->chartModel()->rowCount();
    main->resize(1200, 1100);
    QCoreApplication::processEvents();
    EXPECT_GT(chart->chartModel()->rowCount(), before);
    EXPECT_EQ(chart->chartModel()->rowCount(), grid(chart)->height() * 15 / 400);
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("08:00"));
}

TEST_F(PlanningChartWindow, ViewsSwitchAndThePickerRestartsAtEight)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    addBooking(at(2026, 12, 7, 14, 0), at(2026, 12, 8, 9, 0), {a1}, addCustomer(QStringLiteral("Smith")));
    frmCalendarPlus *chart = open();

    chart->Option1_Click(1);
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("08.12.2026"));
    EXPECT_EQ(rowLabel(chart, 1), QStringLiteral("09.12.2026"));
    EXPECT_EQ(cellText(chart, 0, 0), QStringLiteral("Smith"));
    EXPECT_EQ(cellState(chart, 1, 0), kCellAvailable);

    // Back across the start of the day: the freed top row is filled from the bookings.
    chart->Command1_Click();
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("07.12.2026"));
    EXPECT_EQ(cellText(chart, 0, 0), QStringLiteral("Smith"));
    EXPECT_EQ(pickerDate(chart), QDate(2026, 12, 7));

    chart->Option1_Click(0);
    EXPECT_EQ(chart->StartTime(), at(2026, 12, 7, 8, 0));
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("08:00"));
    EXPECT_EQ(cellState(chart, 11, 0), kCellAvailable); // 13:30, before Smith arrives

    auto *picker = chart->findChild<QDateEdit *>(QStringLiteral("DTPicker1"));
    chart->Option1_Click(1);
    picker->setDate(QDate(2027, 1, 15));
    EXPECT_EQ(chart->StartTime(), at(2027, 1, 15, 8, 0));
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("15.01.2027"));
}

TEST_F(PlanningChartWindow, ScrollingStopsAtTheDaysEdgesAndFillsTheNewRow)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    // Just below the rows in view when the chart opens at the window's height.
    const QDateTime below = at(2026, 12, 8, 8, 0).addSecs(qint64(grid(open())->height() * 15 / 400) * 1800);
    addBooking(below, below.addSecs(1800), {a1}, addCustomer(QStringLiteral("Late")));
    frmCalendarPlus *chart = open();
    const int rows = chart->chartModel()->rowCount();
    ASSERT_GE(rows, 4);
    ASSERT_LT(rows, 22);
    ASSERT_EQ(chart->SlotTimes().back().addSecs(1800), below);
    auto *up = chart->findChild<QToolButton *>(QStringLiteral("Command1"));
    auto *down = chart->findChild<QToolButton *>(QStringLiteral("Command2"));

    up->click();
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("08:00"));

    down->click();
    EXPECT_EQ(rowLabel(chart, 0), QStringLiteral("08:30"));
    EXPECT_EQ(pickerDate(chart), QDate(2026, 12, 8));
    EXPECT_EQ(chart->SlotTimes().back(), below);
    EXPECT_EQ(cellText(chart, rows - 1, 0), QStringLiteral("Late"));
    EXPECT_EQ(cellText(chart, rows - 2, 0), QString());

    // Down until the last row shows 19:30 of the last day in view; then nothing moves.
    for (int i = 0; i < 30; ++i)
        down->click();
    EXPECT_EQ(chart->SlotTimes().back().time(), QTime(19, 30));
    const QDateTime first = chart->StartTime();
    down->click();
    EXPECT_EQ(chart->StartTime(), first);
    up->click();
    EXPECT_EQ(chart->StartTime(), first.addSecs(-1800));
}

TEST_F(PlanningChartWindow, TheChartRereadsTheBookingsWhenActivated)
{
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    frmCalendarPlus *chart = open();
    EXPECT_EQ(cellState(chart, 4, 0), kCellAvailable);
    addBooking(at(2026, 12, 8, 10, 0), at(2026, 12, 8, 11, 0), {a1}, addCustomer(QStringLiteral("Smith")));
    const qint64 a2 = addBerth(QStringLiteral("A2"), QVariant(), false);
    chart->Form_Activate();
    ASSERT_EQ(chart->chartModel()->columnCount(), 2);
    EXPECT_EQ(cellText(chart, 4, 0), QStringLiteral("Smith"));
    EXPECT_EQ(cellState(chart, 6, 0), kCellAvailable); // 11:00
    EXPECT_EQ(cellState(chart, 4, 1), kCellInactive);
    EXPECT_EQ(chart->chartModel()->berths().at(1).id, a2);
}

struct DoubleClickCase {
    const char *name;
    QTime slot;
    int column; // 0: the active berth, 1: the inactive one
    bool opens;
    bool opensLater; // the booking from 10:00, not the one ending then
};

class ChartDoubleClick : public PlanningChartWindow, public ::testing::WithParamInterface<DoubleClickCase> {
};

TEST_P(ChartDoubleClick, OpensTheSummaryOfTheBookingUnderTheCellAndRefreshes)
{
    const DoubleClickCase &c = GetParam();
    const qint64 a1 = addBerth(QStringLiteral("A1"));
    addBerth(QStringLiteral("Laid up"), QVariant(), false);
    const qint64 earlier = addBooking(at(2026, 12, 8, 8, 0), at(2026, 12, 8, 10, 0), {a1}, addCustomer(QStringLiteral("Early")));
    const qint64 later = addBooking(at(2026, 12, 8, 10, 0), at(2026, 12, 8, 11, 0), {a1}, addCustomer(QStringLiteral("Later")));
    frmCalendarPlus *chart = open();
    ModelTesterWarnings warnings;
    QAbstractItemModelTester tester(chart->chartModel(), QAbstractItemModelTester::FailureReportingMode::Warning);

    const int row = (QTime(8, 0).secsTo(c.slot)) / 1800;
    // A booking made elsewhere meanwhile shows after the double click, whatever it opened.
    const qint64 a3 = addBerth(QStringLiteral("A3"));
    doubleClick(chart, row, c.column);

    EXPECT_EQ(summaryAskedFor(), c.opens ? (c.opensLater ? later : earlier) : 0);
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

TEST_F(PlanningChartWindow, TheModelKeepsItsContractWhileTheUserWorks)
{
    addBerth(QStringLiteral("A1"));
    addBerth(QStringLiteral("B2"));
    frmCalendarPlus *chart = open();
    ModelTesterWarnings warnings;
    QAbstractItemModelTester tester(chart->chartModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    chart->Command2_Click();
    chart->Option1_Click(1);
    chart->Command1_Click();
    addBerth(QStringLiteral("C3"));
    chart->RefreshChart();
    main->resize(900, 500);
    QCoreApplication::processEvents();
    chart->Option1_Click(0);
    EXPECT_EQ(chart->chartModel()->columnCount(), 3);
    EXPECT_EQ(warnings.failures(), QStringList());
}

} // namespace
} // namespace quorl
