#include "ReportWorld.h"

#include <QPrinter>

#include "platform/db/FieldValue.h"
#include "platform/db/SqlText.h"
#include "reports/ReportDocument.h"

namespace quorl {
namespace {

QString sqlValue(const QVariant &value)
{
    return value.isValid() ? db::sqlNumber(value.toDouble()) : QStringLiteral("NULL");
}

QString sqlDate(const QDateTime &value)
{
    return value.isValid() ? db::SqlQuote(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : QStringLiteral("NULL");
}

} // namespace

QDateTime ReportWorld::at(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

qint64 ReportWorld::addCustomer(const QString &name, const QString &houseName)
{
    exec(QStringLiteral("INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo) "
                        "VALUES (%1, %2, 'Quay Street', 'Harbourside', 'Porthwen', 'PW1 2AB', '01234 567890')")
             .arg(db::SqlQuote(name), db::SqlQuote(houseName)));
    return lastId(QStringLiteral("Customer"));
}

qint64 ReportWorld::addBerth(const QString &name)
{
    exec(QStringLiteral("INSERT INTO Berth (Name, Length, Width, HasPower, Active) VALUES (%1, 12, 4, -1, -1)")
             .arg(db::SqlQuote(name)));
    return lastId(QStringLiteral("Berth"));
}

qint64 ReportWorld::addBooking(qint64 customerId, const QDateTime &from, const QDateTime &to,
                               const QList<qint64> &berths, const QDateTime &created, const Charges &charges)
{
    exec(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, Created, CustomerID, CostOfHire, OtherCharges, VAT, "
                        "TotalPayable, AmountPayed) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
             .arg(sqlDate(from), sqlDate(to), sqlDate(created.isValid() ? created : from.addDays(-7)),
                  db::sqlNumber(customerId), sqlValue(charges.costOfHire), sqlValue(charges.otherCharges),
                  sqlValue(charges.vat), sqlValue(charges.totalPayable), sqlValue(charges.amountPayed)));
    const qint64 id = lastId(QStringLiteral("Booking"));
    for (qint64 berth : berths)
        exec(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (%1, %2)").arg(id).arg(berth));
    return id;
}

QString ReportWorld::printed(const reports::ReportDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    document.setUp(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = worldDir() + QStringLiteral("/printed%1.pdf").arg(++m_printed);
    printer.setOutputFileName(path);
    EXPECT_TRUE(document.print(printer));
    return pdfText(path);
}

} // namespace quorl
