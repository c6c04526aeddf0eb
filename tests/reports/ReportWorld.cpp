#include "ReportWorld.h"

#include <QDir>
#include <QPrinter>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
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

void ReportWorld::SetUp()
{
    QuorlTest::SetUp();
    QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces"));
    DbConnection = OpenConnection(databasePath(), QString(), 500);
    ASSERT_TRUE(DbConnection) << "the starter database did not open";
    InitEventLog();
    m_noPrinter = std::make_unique<NoPrinterInstalled>();
}

void ReportWorld::TearDown()
{
    m_noPrinter.reset();
    DbConnection.reset();
    EventLogPath.clear();
    QuorlTest::TearDown();
}

QDateTime ReportWorld::at(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

qint64 ReportWorld::addCustomer(const QString &name, const QString &houseName)
{
    execute(QStringLiteral("INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo) "
                           "VALUES (%1, %2, 'Quay Street', 'Harbourside', 'Porthwen', 'PW1 2AB', '01234 567890')")
                .arg(db::SqlQuote(name), db::SqlQuote(houseName)));
    return scalar(QStringLiteral("SELECT MAX(ID) FROM Customer")).toLongLong();
}

qint64 ReportWorld::addBerth(const QString &name)
{
    execute(QStringLiteral("INSERT INTO Berth (Name, Length, Width, HasPower, Active) VALUES (%1, 12, 4, -1, -1)")
                .arg(db::SqlQuote(name)));
    return scalar(QStringLiteral("SELECT MAX(ID) FROM Berth")).toLongLong();
}

qint64 ReportWorld::addBooking(qint64 customerId, const QDateTime &from, const QDateTime &to,
                               const QList<qint64> &berths, const QDateTime &created, const Charges &charges)
{
    execute(QStringLiteral("INSERT INTO Booking (FromDate, ToDate, Created, CustomerID, CostOfHire, OtherCharges, VAT, "
                           "TotalPayable, AmountPayed) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                .arg(sqlDate(from), sqlDate(to), sqlDate(created.isValid() ? created : from.addDays(-7)),
                     db::sqlNumber(customerId), sqlValue(charges.costOfHire), sqlValue(charges.otherCharges),
                     sqlValue(charges.vat), sqlValue(charges.totalPayable), sqlValue(charges.amountPayed)));
    const qint64 id = scalar(QStringLiteral("SELECT MAX(ID) FROM Booking")).toLongLong();
    for (qint64 berth : berths) {
        execute(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (%1, %2)")
                    .arg(db::sqlNumber(id), db::sqlNumber(berth)));
    }
    return id;
}

void ReportWorld::execute(const QString &sql) const
{
    DbConnection->Execute(sql);
}

QVariant ReportWorld::scalar(const QString &sql) const
{
    auto rows = DbConnection->ExecuteQuery(sql);
    return rows->isEOF() ? QVariant() : rows->value(0);
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
