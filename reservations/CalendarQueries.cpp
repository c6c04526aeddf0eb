#include "reservations/CalendarQueries.h"

#include "core/modFunctions.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"

namespace quorl {
namespace {

QString textOf(const db::Recordset &rows, const char *field)
{
    const QVariant value = rows.value(QLatin1String(field));
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

QString dateTimeText(const QVariant &value)
{
    const QDateTime at = value.toDateTime();
    return at.isValid() ? at.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
}

QString joinedBerthNames(db::Recordset &berthNames, qint64 bookingId)
{
    berthNames.setFilter(QStringLiteral("BookingID = ") + db::sqlNumber(bookingId));
    QString names;
    for (; !berthNames.isEOF(); berthNames.MoveNext()) {
        if (!names.isEmpty())
            names += QStringLiteral(", ");
        names += textOf(berthNames, "Name");
    }
    return names;
}

} // namespace

QString dayFilter(const QDate &day)
{
    return QStringLiteral(" (FromDate < ") + SqlDateHalfHour(day.addDays(1)) + QStringLiteral(" AND ToDate >= ")
        + SqlDateHalfHour(day) + QStringLiteral(") ");
}

QString timeOnDay(const QDateTime &at, const QDate &day)
{
    if (!at.isValid() || at < DateOnly(day) || at > DateOnly(day.addDays(1)))
        return QStringLiteral("n/a");
    return QLatin1Char(' ') + at.toString(QStringLiteral("HH:mm"));
}

QList<DayBooking> dayBookings(db::Recordset &bookings, db::Recordset &berthNames, const QDate &day)
{
    QList<DayBooking> result;
    bookings.setFilter(dayFilter(day));
    for (; !bookings.isEOF(); bookings.MoveNext()) {
        DayBooking row;
        row.id = bookings.value(QStringLiteral("ID")).toLongLong();
        row.customerId = bookings.value(QStringLiteral("CustomerID")).toLongLong();
        row.name = textOf(bookings, "Name");
        row.arrival = timeOnDay(bookings.value(QStringLiteral("FromDate")).toDateTime(), day);
        row.departure = timeOnDay(bookings.value(QStringLiteral("ToDate")).toDateTime(), day);
        row.berths = joinedBerthNames(berthNames, row.id);
        result.append(row);
    }
    if (bookings.RecordCount() > 0)
        bookings.MoveFirst();
    return result;
}

QString cancelledBookingDetails(const QVariant &from, const QVariant &to, const QVariant &name,
                                const QVariant &houseName)
{
    auto text = [](const QVariant &value) { return value.isValid() && !value.isNull() ? value.toString() : QString(); };
    return QStringLiteral("From: ") + dateTimeText(from) + QStringLiteral(" to ") + dateTimeText(to)
        + QStringLiteral(", Customer: ") + text(name) + QStringLiteral(", ") + text(houseName);
}

QString bookingSearchFilter(const std::optional<QDate> &arriving, const std::optional<QDate> &departing)
{
    QStringList parts;
    if (arriving)
        parts.append(QStringLiteral("FromDate >= ") + SqlDateHalfHour(*arriving));
    if (departing)
        parts.append(QStringLiteral("ToDate < ") + SqlDateHalfHour(departing->addDays(1)));
    return parts.join(QStringLiteral(" AND "));
}

} // namespace quorl
