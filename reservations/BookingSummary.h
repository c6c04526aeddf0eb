#pragma once

#include <optional>

#include <QString>

namespace quorl::db {
class Connection;
}

// What the booking summary shows of one booking, and the scratch copy of it that
// the receipt and the booking form print from.

namespace quorl {

struct BookingSummary {
    QString dates;          // "03.05.2024 09:00 to 05.05.2024 14:00"
    QString name;           // "Smith, Rose Cottage"
    QString address;        // street, area, town, postcode
    QString phone;
    QString mail;
    QString adults;         // the counts as stored; "-1" when counting is switched off
    QString kids;
    bool showAdults = true; // the two count labels
    bool showKids = true;   // the two captions beside them
    QString notes;
    QString customerNotes;
    QString costOfHire;     // "£12.50"
    QString otherCharges;
    QString vat;
    QString totalPayable;
    QString amountPayed;
};

// Empties the scratch table InvTemp through the connection, then reads the
// booking and its customer from the shared connection. When both exist, adds
// the booking's copy to InvTemp (its own ID, and the company's CompanyID so the
// receipt finds it) and returns what the summary shows; otherwise nothing is
// added. Throws db::Error.
std::optional<BookingSummary> prepareBookingSummary(qint64 bookingId, db::Connection &scratch);

// "mailto:" and the address, its characters escaped as a URL needs them; an empty
// address gives "mailto:" alone.
QString mailtoUrl(const QString &address);


} // namespace quorl
