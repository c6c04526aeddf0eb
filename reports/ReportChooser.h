#pragma once

#include <memory>
#include <optional>

#include <QDate>
#include <QDateTime>
#include <QString>

namespace quorl::db {
class Recordset;
}

// What the report chooser asks the database for, and the in-memory lists it hands
// to the list layouts.

namespace quorl::reports {

// The WHERE text of a pair of date pickers, and the title the list shows. A
// picker without a tick has no date. The period is whole days: from the From
// day at 00:00 up to, not including, the day after the To day at 00:00.
struct PeriodFilter {
    QString where;
    QString title;
};
PeriodFilter periodFilter(const std::optional<QDate> &from, const std::optional<QDate> &to);

// The queries of the buttons, in booking order where the list is for a period.
QString bookingListQuery(const PeriodFilter &period);
QString periodSalesQuery(const PeriodFilter &period);
// Bookings whose Created falls on now's calendar day.
QString takenTodayQuery(const QDateTime &now);
// Departures in the 24 hours from now's half hour (snapped down) on.
QString checkOutsQuery(const QDateTime &now);

// "08.12.2026": the date in the lists' titles.
QString titleDate(const QDate &date);

// Runs the query on the shared connection and turns each booking into a row of
// text fields: From, To, Created, Customer ("name, house name"), Berths (the
// berths' names joined by ", ") and, for the period sales, CostofHire,
// OtherCharges, VAT and TotalPayable as plain numbers. Throws db::Error.
std::unique_ptr<db::Recordset> buildReportRows(const QString &query, bool periodSales);

} // namespace quorl::reports
