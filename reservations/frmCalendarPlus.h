#pragma once

#include <array>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QWidget>

#include "reservations/PlanningChart.h"

class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTableView;
class QToolButton;

namespace quorl {

namespace db {
class Recordset;
}


// The berth planning chart: one column per berth, one row per half hour (08:00 to
// 20:00) or per day, each cell yellow with the customer's name where the berth is
// booked, white where it is free, green where the berth is out of service. Two
// buttons move the rows one slot; a double click opens the booking's summary.
class frmCalendarPlus : public QWidget
{
    Q_OBJECT

public:
    explicit frmCalendarPlus(QWidget *parent = nullptr);
    ~frmCalendarPlus() override;

    // Opens the chart on today from 08:00 in the half-hour view.
    void Display();

    int ViewMode() const { return m_ViewMode; }
    QDateTime StartTime() const { return m_StartTime; }
    // The start of the slot of each grid row, the first row at index 0.
    const std::vector<QDateTime> &SlotTimes() const { return m_SlotTimes; }
    PlanningChartModel *chartModel() const { return m_model; }
    // The bookings read for the rows in view.
    const ChartBookings &heldBookings() const { return m_bookings; }

public slots:
    // Maximised and refreshed from the database on every activation.
    void Form_Activate();

    // Reads the berths and bookings again and rebuilds columns and rows from StartTime.
    void RefreshChart();
    // Recounts the rows for the grid's height and rebuilds them from StartTime.
    void SizeSlotRows();

    // 0: "Half Hourly" from 08:00 of the first row's day; 1: "Daily".
    void Option1_Click(int Index);
    void DTPicker1_Change();
    // One slot earlier, and one slot later.
    void Command1_Click();
    void Command2_Click();
    // Opens the summary of the booking under the grid's current cell.
    void grdBooking_DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void SetHeaderFormat();
    void BuildSlots(const QDateTime &Start);
    void FillSlot(int Row);
    void ScrollSlots(bool Back);
    // Reads the bookings of the days of these slots unless they are held; true when read.
    bool holdBookingsFor(const std::vector<QDateTime> &slots);
    void setPickerDate(const QDate &date);

    int m_ViewMode = kHalfHourView;
    QString m_HeaderFormat;
    QDateTime m_StartTime;
    std::vector<QDateTime> m_SlotTimes;
    int m_gridRows = 0;

    std::unique_ptr<db::Recordset> rsBerths;
    std::vector<ChartBerth> m_berths;
    ChartBookings m_bookings;
    PlanningChartModel *m_model = nullptr;

    QLabel *lblCaption = nullptr;
    QFrame *fraGrid = nullptr;
    QToolButton *Command1 = nullptr;
    QToolButton *Command2 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label1 = nullptr;
    QTableView *grdBooking = nullptr;
    std::array<QLabel *, 3> picBooked{};
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, 2> Option1{};
    QDateEdit *DTPicker1 = nullptr;
};

} // namespace quorl
