#pragma once

#include <memory>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "reservations/Availability.h"

namespace quorl {

namespace db {
class Connection;
class Recordset;
}

// One reservation as the booking form stores it in its Booking row.
struct BookingRecord {
    QDateTime FromDate;
    QDateTime ToDate;
    QString BookedBy;
    qint64 CustomerID = 0;
    QString Notes;
    qint64 NoAdults = 0; // -1 when the counts are switched off
    qint64 NoKids = 0;
    double OtherCharges = 0;
    double VAT = 0;
    double TotalPayable = 0;
    double AmountPayed = 0;
    QVariant PaymentMethodID; // Null when none is chosen: a new booking stores Null, an edit keeps its method
    QString CreditCardNo;
    QString CreditCardExpiry;
    QString CreditCardType;
    QString CreditCardCV2No;
    double CostOfHire = 0;
    qint64 BerthConfirmationNumber = 0;
    QString GuestConfirmationNumber;
    QString PowerRequirements;
    bool ClubMember = false;
};

enum class SaveOutcome {
    Saved,
    BookingGone,  // the booking being edited was deleted meanwhile
    CustomerGone, // the chosen customer was deleted meanwhile
    BerthsGone,   // a marked berth was deleted, switched off or booked meanwhile
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Saved;
    qint64 bookingId = 0;          // the saved row's ID
    QStringList unavailableBerths; // names, for BerthsGone
};

// Writes the booking and one BookingBerth row per berth in one transaction on the
// connection: mode 1 adds a row, mode 2 rewrites row bookingId and replaces its
// berths. Inside the transaction it makes sure the customer and the booking still
// exist and that every berth is still free for the period; when not, nothing is
// written and the outcome says why. A database failure rolls everything back and
// throws db::Error. Nothing is written to the event log here.
SaveResult saveBooking(db::Connection &connection, int mode, qint64 bookingId, const BookingRecord &record,
                       const QList<AvailableBerth> &berths);

// The Booking row with that ID, updatable; at its end when there is no such row.
std::unique_ptr<db::Recordset> openBookingRow(db::Connection &connection, qint64 bookingId);

// The confirmation number of a new booking: the highest stored one plus 1, or 1 when
// there is none or it cannot be read.
qint64 nextConfirmationNumber(db::Connection &connection);

} // namespace quorl
