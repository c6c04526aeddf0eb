#include "reservations/frmBookingSummary.h"

namespace quorl {

frmBookingSummary::frmBookingSummary(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmBookingSummary"));
    setWindowTitle(QStringLiteral("Reservation summary"));
}

frmBookingSummary::~frmBookingSummary() = default;

void frmBookingSummary::Display(qint64 BookingID)
{
    m_BookingID = BookingID;
    show();
}

} // namespace quorl
