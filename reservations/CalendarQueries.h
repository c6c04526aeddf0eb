#pragma once

#include <optional>

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

// What the day calendar shows and what the booking search keeps, without widgets.

namespace quorl {

namespace db {
class Recordset;
}

// Every booking with its customer, and every booking line with its berth's name (in
// the order the lines were made), as the day calendar holds them between refreshes.
inline constexpr const char *kCalendarBookingsSql =
    "SELECT B.ID, B.CustomerID, C.Name, B.FromDate, B.ToDate, C.HouseName FROM Booking B "
    "LEFT JOIN Customer C ON B.CustomerID = C.ID ORDER BY B.ID";
inline constexpr const char *kCalendarBerthNamesSql =
    "SELECT BB.BookingID, B.Name FROM Berth B INNER JOIN BookingBerth BB ON B.ID = BB.BerthID ORDER BY BB.rowid";

// The booking search's list: every booking that has a customer.
inline constexpr const char *kFindBookingSql =
    "SELECT Customer.Name, Booking.FromDate, Booking.ToDate, Booking.ID "
    "FROM Customer INNER JOIN Booking ON Customer.ID = Booking.CustomerID";

// The one row of a day without bookings.
inline constexpr const char *kNoReservationsText = "No reservations exist for this date";

// One row of the day calendar.
struct DayBooking
{
    qint64 id = 0;
    qint64 customerId = 0;
    QString name;
    QString berths;     // the berth names joined by ", "
    QString arrival;    // " HH:mm" or "n/a"
    QString departure;
};

// The filter that keeps the bookings touching the day: those that start before the
// next midnight and end at or after the day's own midnight. A booking ending exactly
// at midnight is shown on the day it ends at, with departure 00:00.
QString dayFilter(const QDate &day);

// " HH:mm" when the time falls on the day, both midnights included; "n/a" otherwise.
QString timeOnDay(const QDateTime &at, const QDate &day);

// The bookings of the day, in the order of bookings, each with its berth names. Works
// on the rows the recordsets hold (their filters are set here); reads no database.
QList<DayBooking> dayBookings(db::Recordset &bookings, db::Recordset &berthNames, const QDate &day);

// The details of the cancel event: "From: 08.12.2026 14:00 to 10.12.2026 09:00,
// Customer: name, house name"; a missing name leaves its place empty.
QString cancelledBookingDetails(const QVariant &from, const QVariant &to, const QVariant &name,
                                const QVariant &houseName);

// The search's filter for the ticked dates, each as a whole day: arriving on D keeps
// the bookings that start on D or later, departing on D those that end before the
// next midnight. Neither ticked gives "" (the whole list).
QString bookingSearchFilter(const std::optional<QDate> &arriving, const std::optional<QDate> &departing);

} // namespace quorl
