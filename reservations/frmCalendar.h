#pragma once

#include <memory>

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QFrame;
class QLabel;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class DataGrid;
}

// "Simple Calendar": a month view and the bookings that touch the chosen day, one row
// per booking with its customer, berths and the arrival and departure times that fall
// on the day. From it the office adds a booking, opens one in the booking form, shows
// its summary or cancels it. The bookings are read again on every activation and
// after the window's own summary and cancel; picking a day only refilters them.
class frmCalendar : public QWidget
{
    Q_OBJECT

public:
    explicit frmCalendar(QWidget *parent = nullptr);
    ~frmCalendar() override;

    // Opens the calendar on today, reads the bookings and brings the window to the front.
    void Display();

    // The day shown.
    QDate shownDay() const;
    void setShownDay(const QDate &day);
    // The day list bound to the grid: ID, CID, CName, Berths, Arrival, Departure.
    db::Recordset *dayList() const { return m_rsDayList.get(); }

public slots:
    // Maximised on every activation, and the bookings read again.
    void Form_Activate();
    void RefreshBookings();

    void mwDate_DateClick();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdSummary_Click();
    void cmdCancel_Click();

private:
    void buildControls();
    void hookActivation();
    void openBookings();
    void ShowDay();
    void BuildDayRecordset();
    // The booking the grid's current row shows; 0 when the day has none.
    qint64 selectedBookingId() const;
    QString cancelDetails(qint64 bookingId);

    std::unique_ptr<db::Recordset> m_rsBookings;
    std::unique_ptr<db::Recordset> m_rsBerthNames;
    std::unique_ptr<db::Recordset> m_rsDayList;
    bool m_dayHasBookings = false;
    bool m_refreshing = false;
    bool m_refreshFailed = false;

    QLabel *lblCaption = nullptr;
    QFrame *fraMain = nullptr;
    QCalendarWidget *mwDate = nullptr;
    ui::DataGrid *grdBooking = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdSummary = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
