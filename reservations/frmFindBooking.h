#pragma once

#include <memory>

#include <QDialog>

class QLabel;
class QPushButton;

namespace quorl {

namespace db {
class Recordset;
}
namespace ui {
class CheckedDatePicker;
class DataGrid;
}

// "Find Booking": every booking with its customer, narrowed to those arriving on or
// after a day, departing on or before a day, or both, each switched on by its tick
// box. "View/Edit Booking" closes the search and opens the chosen booking in the
// booking form. Shown modally; each opening reads the list anew.
class frmFindBooking : public QDialog
{
    Q_OBJECT

public:
    explicit frmFindBooking(QWidget *parent = nullptr);
    ~frmFindBooking() override;

    db::Recordset *bookings() const { return m_bookings.get(); }
    // Small until the first search with a ticked date; then the list shows.
    bool isSmall() const { return m_small; }

public slots:
    void cmdStart_Click();
    void cmdEditBooking_Click();
    void cmdColse_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void applySize();

    std::unique_ptr<db::Recordset> m_bookings;
    bool m_small = true;

    QLabel *Label3 = nullptr;
    ui::CheckedDatePicker *dtpArriving = nullptr;
    QLabel *Label4 = nullptr;
    ui::CheckedDatePicker *dtpDeparting = nullptr;
    QPushButton *cmdStart = nullptr;
    QPushButton *cmdEditBooking = nullptr;
    QPushButton *cmdColse = nullptr;
    QLabel *lblMatches = nullptr;
    QLabel *lblTotalMatches = nullptr;
    ui::DataGrid *grdBooking = nullptr;
};

} // namespace quorl
