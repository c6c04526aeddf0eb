#include "reservations/BookingSummary.h"

#include <QUrl>

#include "core/modDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/text/Text.h"

namespace quorl {
namespace {

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

QString dateText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString summaryMoney(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return text::formatNumber(value.toDouble(), text::currencySymbol() + QStringLiteral("##0.00"));
}

std::unique_ptr<db::Recordset> openTable(const QString &table)
{
    auto recordset = OpenRecordset(table);
    if (!recordset->isOpen())
        throw db::Error(recordset->lastError());
    return recordset;
}

// The columns copied from the booking, in the order the summary writes them.
const char *const kCopiedColumns[] = {"CostOfHire", "OtherCharges", "VAT", "TotalPayable", "AmountPayed",
                                      "ID", "FromDate", "ToDate", "BookedBy", "CustomerID", "PaymentMethodID",
                                      "BerthConfirmationNumber", "ClubMember"};

void addScratchRow(db::Connection &scratch, db::Recordset &booking)
{
    db::Recordset invTemp;
    invTemp.Open(QStringLiteral("SELECT InvTemp.* FROM InvTemp;"), &scratch, db::adLockOptimistic);
    invTemp.AddNew();
    for (const char *column : kCopiedColumns) {
        const QString name = QString::fromLatin1(column);
        invTemp.setValue(name, booking.value(name));
    }
    // The receipt relates its rows to the company's; the column's default may not be that one.
    std::unique_ptr<db::Recordset> company =
        scratch.ExecuteQuery(QStringLiteral("SELECT CompanyID FROM Company ORDER BY CompanyID"));
    if (!company->isEOF())
        invTemp.setValue(QStringLiteral("CompanyID"), company->value(0));
    invTemp.Update();
}

} // namespace

std::optional<BookingSummary> prepareBookingSummary(qint64 bookingId, db::Connection &scratch)
{
    scratch.Execute(QStringLiteral("DELETE FROM InvTemp"));

    auto booking = openTable(QStringLiteral("Booking"));
    booking->Find(QStringLiteral("ID = ") + db::sqlNumber(bookingId));
    if (booking->isEOF())
        return std::nullopt;
    auto customer = openTable(QStringLiteral("Customer"));
    const QVariant customerId = booking->value(QStringLiteral("CustomerID"));
    if (customerId.isNull())
        return std::nullopt;
    customer->Find(QStringLiteral("ID = ") + db::sqlNumber(customerId.toLongLong()));
    if (customer->isEOF())
        return std::nullopt;

    addScratchRow(scratch, *booking);

    const auto b = [&](const char *field) { return booking->value(QString::fromLatin1(field)); };
    const auto c = [&](const char *field) { return textOf(customer->value(QString::fromLatin1(field))); };
    BookingSummary summary;
    summary.dates = dateText(b("FromDate")) + QStringLiteral(" to ") + dateText(b("ToDate"));
    summary.costOfHire = summaryMoney(b("CostOfHire"));
    summary.otherCharges = summaryMoney(b("OtherCharges"));
    summary.vat = summaryMoney(b("VAT"));
    summary.totalPayable = summaryMoney(b("TotalPayable"));
    summary.amountPayed = summaryMoney(b("AmountPayed"));
    summary.adults = textOf(b("NoAdults"));
    summary.kids = textOf(b("NoKids"));
    summary.showAdults = summary.adults != QStringLiteral("-1");
    summary.showKids = summary.kids != QStringLiteral("-1");
    summary.notes = textOf(b("Notes"));
    summary.name = c("Name") + QStringLiteral(", ") + c("HouseName");
    summary.address = QStringList({c("Street"), c("Area"), c("Town"), c("PostCode")}).join(QStringLiteral(", "));
    summary.phone = c("TelNo");
    summary.mail = c("EmailAddress");
    summary.customerNotes = c("Notes");
    return summary;
}

QString mailtoUrl(const QString &address)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address.trimmed(), QUrl::DecodedMode);
    return url.toString(QUrl::FullyEncoded);
}


} // namespace quorl
