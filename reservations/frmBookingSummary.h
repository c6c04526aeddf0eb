#pragma once

#include <QWidget>

namespace quorl {

// One booking with its customer and charges; the only way to print its receipt
// and booking form. The day calendar and the planning chart open it.
class frmBookingSummary : public QWidget
{
    Q_OBJECT

public:
    explicit frmBookingSummary(QWidget *parent = nullptr);
    ~frmBookingSummary() override;

    // Shows the booking with that ID.
    void Display(qint64 BookingID);

    qint64 BookingID() const { return m_BookingID; }

private:
    qint64 m_BookingID = 0;
};

} // namespace quorl
