#include "support/DbTestData.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include "platform/db/DatabaseFile.h"
#include "platform/db/Error.h"

namespace quorl::dbtest {

QString schemaScript()
{
    QFile file(QStringLiteral(QUORL_SCHEMA_PATH));
    if (!file.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("The schema %1 cannot be read.").arg(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

QString createStarterDatabase(const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name;
    db::createDatabaseFile(path, schemaScript());
    return path;
}

QString connectionStringFor(const QString &localPath)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Mode=Share Deny None;"
                          "Persist Security Info=False")
        .arg(localPath);
}

void insertSampleRows(db::Connection &c)
{
    c.Execute(QStringLiteral(
        "INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, MobileNo, EmailAddress, Notes, "
        "ClubMember, MembershipNo) VALUES "
        "('Smith', 'Rose Cottage', 'High Street', 'Kemptown', 'Brighton', 'BN1 1AA', '01273 000001', '', "
        "'smith@example.org', 'regular', -1, 'M7'), "
        "('O''Brien', 'Sea View', 'Quay Road', '', 'Bristol', 'BS1 4ST', '0117 000002', '', '', NULL, 0, ''), "
        "('Jones', 'Mill House', '', '', 'Brighouse', 'HD6 1AA', '', '', NULL, NULL, -1, 'M9'), "
        "('Smart', '', '', '', 'Bristol', 'BS2 0AA', '', '', 'smart@example.org', NULL, 0, '')"));
    c.Execute(QStringLiteral("INSERT INTO Owner (Name, HouseName, Town) VALUES ('Jones', 'Mill House', 'Brighouse'), "
                             "('Patel', 'The Lodge', 'Bristol')"));
    c.Execute(QStringLiteral(
        "INSERT INTO Berth (Name, Length, Width, TypeID, OwnerID, HasPower, Notes, Active, DailyHireCharge, "
        "WeeklyHireCharge, MonthlyHireCharge) VALUES "
        "('C1', 10, 3.5, 1, 1, -1, 'by the crane', -1, 25.5, 150, 500), "
        "('A1', 12, 4, 1, 1, 0, NULL, -1, 30, 180, 600), "
        "('B1', 8, 3, 2, 2, 0, NULL, 0, 20, 120, 400), "
        "('a2', 9, 3, 3, NULL, -1, NULL, -1, 15, 90, 300)"));
    c.Execute(QStringLiteral(
        "INSERT INTO Booking (FromDate, ToDate, Created, BookedBy, CustomerID, Notes, NoAdults, NoKids, OtherCharges, "
        "VAT, TotalPayable, AmountPayed, PaymentMethodID, CostOfHire, BerthConfirmationNumber, "
        "GuestConfirmationNumber, PowerRequirements, ClubMember) VALUES "
        "('2026-12-08 10:00:00', '2026-12-10 10:00:00', '2026-12-08 09:15:00', 'Ann', 1, 'late arrival', 2, 0, 5, "
        "10, 100, 50, 1, 85, 1001, 'G1', '16A', -1), "
        "('2026-12-10 10:00:00', '2026-12-12 10:00:00', '2026-12-01 12:00:00', 'Bob', 2, NULL, 1, 1, 0, 8, 80, 80, "
        "NULL, 72, 1002, '', '', 0), "
        "('2026-12-05 10:00:00', '2026-12-08 10:00:00', '2026-11-20 08:00:00', 'Ann', 1, NULL, 2, 2, 0, 6, 60, 60, "
        "2, 54, 1003, '', '', -1), "
        "('2026-06-01 14:00:00', '2026-06-03 10:00:00', '2026-05-01 10:00:00', 'Bob', 3, NULL, 1, 0, 0, 4, 40, 0, "
        "1, 36, 1004, '', '', -1)"));
    c.Execute(QStringLiteral("INSERT INTO BookingBerth (BookingID, BerthID) VALUES (1, 1), (2, 1), (2, 2), (3, 2)"));
    c.Execute(QStringLiteral(
        "INSERT INTO InvTemp (CostOfHire, OtherCharges, VAT, TotalPayable, AmountPayed, ID, FromDate, ToDate, "
        "BookedBy, CustomerID, PaymentMethodID, BerthConfirmationNumber, ClubMember) VALUES "
        "(54, 0, 6, 60, 60, 3, '2026-12-05 10:00:00', '2026-12-08 10:00:00', 'Ann', 1, 2, 1003, -1)"));
}

QString cellText(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("<null>");
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return value.toString();
    }
}

QStringList columnTexts(db::Recordset &recordset, const QString &field)
{
    QStringList texts;
    if (recordset.RecordCount() == 0)
        return texts;
    recordset.MoveFirst();
    while (!recordset.isEOF()) {
        texts << cellText(recordset.value(field));
        recordset.MoveNext();
    }
    return texts;
}

void DbTest::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    m_path = createStarterDatabase(m_dir->path());
    m_connection = std::make_unique<db::Connection>();
    m_connection->Open(connectionStringFor(m_path));
    insertSampleRows(*m_connection);
}

void DbTest::TearDown()
{
    m_connection.reset();
    m_dir.reset();
}

std::unique_ptr<db::Connection> DbTest::openAnother()
{
    auto other = std::make_unique<db::Connection>();
    other->Open(connectionStringFor(m_path));
    return other;
}

QVariant DbTest::committedScalar(const QString &sql)
{
    auto other = openAnother();
    auto rows = other->ExecuteQuery(sql);
    return rows->isEOF() ? QVariant() : rows->value(0);
}

QVariant DbTest::scalar(const QString &sql)
{
    auto rows = m_connection->ExecuteQuery(sql);
    return rows->isEOF() ? QVariant() : rows->value(0);
}

std::unique_ptr<db::Recordset> DbTest::open(const QString &source, db::LockTypeEnum lock, int options)
{
    auto recordset = std::make_unique<db::Recordset>();
    recordset->Open(source, m_connection.get(), lock, options);
    return recordset;
}

} // namespace quorl::dbtest
