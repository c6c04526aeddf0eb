#include "reports/ReportChooser.h"

#include "core/modDatabase.h"
#include "core/modFunctions.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "reports/ReportFormats.h"

namespace quorl::reports {
namespace {

const QString kBookingColumns = QStringLiteral(
    "SELECT Booking.ID, Booking.FromDate, Booking.ToDate, Booking.Created, Customer.Name, Customer.HouseName ");
const QString kSalesColumns = QStringLiteral(
    "SELECT Booking.ID, Booking.FromDate, booking.TotalPayable, Booking.costofhire, booking.vat, "
    "booking.othercharges, Booking.ToDate, Booking.Created, Customer.Name, Customer.HouseName ");
const QString kSource = QStringLiteral("FROM Customer INNER JOIN Booking ON Customer.ID = Booking.CustomerID ");
const QString kOrder = QStringLiteral(" Order By FromDate");

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// An amount as the lists carry it: the plain number, the layout formats it.
QString numberText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return QString::number(value.toDouble(), 'g', 15);
}

QString berthNames(const QVariant &bookingId)
{
    // In berth order, so a booking's berths read the same on every list.
    auto berths = OpenRecordset(
        QStringLiteral("SELECT Berth.Name FROM Berth INNER JOIN BookingBerth ON Berth.ID = BookingBerth.BerthID ")
            + QStringLiteral("WHERE BookingBerth.BookingID = ") + db::sqlNumber(bookingId.toLongLong())
            + QStringLiteral(" ORDER BY Berth.ID"),
        nullptr, false, db::adCmdText);
    if (!berths->isOpen())
        throw db::Error(berths->lastError());
    QStringList names;
    for (; !berths->isEOF(); berths->MoveNext())
        names.append(textOf(berths->value(QStringLiteral("Name"))));
    return names.join(QStringLiteral(", "));
}

} // namespace

PeriodFilter periodFilter(const std::optional<QDate> &from, const std::optional<QDate> &to)
{
    PeriodFilter filter;
    const QString start = from ? SqlDateHalfHour(*from) : QString();
    const QString end = to ? SqlDateHalfHour(to->addDays(1)) : QString();
    if (from && to) {
        filter.where = QStringLiteral("WHERE Booking.FromDate < ") + end + QStringLiteral(" And Booking.ToDate >= ") + start;
        filter.title = QStringLiteral("From: ") + titleDate(*from) + QStringLiteral(" to: ") + titleDate(*to);
    } else if (to) {
        filter.where = QStringLiteral("WHERE Booking.FromDate < ") + end + QStringLiteral(" Or Booking.ToDate < ") + end;
        filter.title = QStringLiteral("To: ") + titleDate(*to);
    } else if (from) {
        filter.where = QStringLiteral("WHERE Booking.FromDate >= ") + start + QStringLiteral(" Or Booking.ToDate >= ") + start;
        filter.title = QStringLiteral("From: ") + titleDate(*from);
    }
    return filter;
}

QString bookingListQuery(const PeriodFilter &period)
{
    return kBookingColumns + kSource + period.where + kOrder;
}

QString periodSalesQuery(const PeriodFilter &period)
{
    return kSalesColumns + kSource + period.where + kOrder;
}

QString takenTodayQuery(const QDateTime &now)
{
    // The calendar day: a booking taken this morning is one of today's bookings.
    const QDate today = now.date();
    return kBookingColumns + kSource + QStringLiteral("Where Booking.Created < ") + SqlDateHalfHour(today.addDays(1))
           + QStringLiteral(" And Booking.Created >= ") + SqlDateHalfHour(today);
}

QString checkOutsQuery(const QDateTime &now)
{
    return kBookingColumns + kSource + QStringLiteral("Where Booking.ToDate < ") + SqlDateHalfHour(now.addDays(1))
           + QStringLiteral(" And Booking.ToDate >= ") + SqlDateHalfHour(now);
}

QString titleDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

std::unique_ptr<db::Recordset> buildReportRows(const QString &query, bool periodSales)
{
    auto bookings = OpenRecordset(query, nullptr, false, db::adCmdText);
    if (!bookings->isOpen())
        throw db::Error(bookings->lastError());

    auto rows = std::make_unique<db::Recordset>();
    QStringList fields = {QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Created"),
                          QStringLiteral("Customer")};
    if (periodSales)
        fields.append(QStringLiteral("CostofHire"));
    fields.append(QStringLiteral("Berths"));
    if (periodSales)
        fields.append({QStringLiteral("OtherCharges"), QStringLiteral("VAT"), QStringLiteral("TotalPayable")});
    for (const QString &field : fields)
        rows->appendField(field, db::FieldType::Text);
    rows->Open();

    for (; !bookings->isEOF(); bookings->MoveNext()) {
        const auto value = [&](const char *field) { return bookings->value(QString::fromLatin1(field)); };
        rows->AddNew();
        rows->setValue(QStringLiteral("From"), listDateText(value("FromDate").toDateTime()));
        rows->setValue(QStringLiteral("To"), listDateText(value("ToDate").toDateTime()));
        rows->setValue(QStringLiteral("Created"), listDateText(value("Created").toDateTime()));
        rows->setValue(QStringLiteral("Customer"), textOf(value("Name")) + QStringLiteral(", ") + textOf(value("HouseName")));
        if (periodSales) {
            rows->setValue(QStringLiteral("CostofHire"), numberText(value("costofhire")));
            rows->setValue(QStringLiteral("OtherCharges"), numberText(value("othercharges")));
            rows->setValue(QStringLiteral("VAT"), numberText(value("vat")));
            rows->setValue(QStringLiteral("TotalPayable"), numberText(value("TotalPayable")));
        }
        rows->setValue(QStringLiteral("Berths"), berthNames(value("ID")));
        rows->Update();
    }
    if (rows->RecordCount() > 0)
        rows->MoveFirst();
    return rows;
}

} // namespace quorl::reports
