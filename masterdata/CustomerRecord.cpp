#include "masterdata/CustomerRecord.h"

#include "platform/db/Error.h"

namespace quorl {

using db::SqlQuote;

QString customerByIdSql(qint64 id)
{
    return QStringLiteral("SELECT Customer.* FROM Customer WHERE Customer.ID = ") + QString::number(id);
}

// Every text goes through SqlQuote: an apostrophe in a name is data, never the end of a literal.
QString customerInsertSql(const CustomerRecord &c)
{
    return QStringLiteral("INSERT INTO Customer (Name, HouseName, Street, Area, Town, PostCode, TelNo, MobileNo, "
                          "EmailAddress, Notes, ClubMember, MembershipNo) SELECT ")
        + SqlQuote(c.Name) + QStringLiteral(", ") + SqlQuote(c.HouseName) + QStringLiteral(", ")
        + SqlQuote(c.Street) + QStringLiteral(", ") + SqlQuote(c.Area) + QStringLiteral(", ") + SqlQuote(c.Town)
        + QStringLiteral(", ") + SqlQuote(c.PostCode) + QStringLiteral(", ") + SqlQuote(c.TelNo)
        + QStringLiteral(", ") + SqlQuote(c.MobileNo) + QStringLiteral(", ") + SqlQuote(c.EmailAddress)
        + QStringLiteral(", ") + SqlQuote(c.Notes) + QStringLiteral(", ") + QString::number(c.ClubMember)
        + QStringLiteral(", ") + SqlQuote(c.MembershipNo);
}

QString customerUpdateSql(const CustomerRecord &c, qint64 id)
{
    return QStringLiteral("UPDATE Customer SET Name = ") + SqlQuote(c.Name)
        + QStringLiteral(", HouseName = ") + SqlQuote(c.HouseName) + QStringLiteral(", Street = ")
        + SqlQuote(c.Street) + QStringLiteral(", Area = ") + SqlQuote(c.Area) + QStringLiteral(", Town = ")
        + SqlQuote(c.Town) + QStringLiteral(", PostCode = ") + SqlQuote(c.PostCode)
        + QStringLiteral(", TelNo = ") + SqlQuote(c.TelNo) + QStringLiteral(", MobileNo = ")
        + SqlQuote(c.MobileNo) + QStringLiteral(", EmailAddress = ") + SqlQuote(c.EmailAddress)
        + QStringLiteral(", Notes = ") + SqlQuote(c.Notes) + QStringLiteral(", ClubMember = ")
        + QString::number(c.ClubMember) + QStringLiteral(", MembershipNo = ") + SqlQuote(c.MembershipNo)
        + QStringLiteral("WHERE ID = ") + QString::number(id);
}

QString savedContactEventDetails(const QString &name, const QString &houseName)
{
    return QStringLiteral("Name: '") + name + QStringLiteral("' ") + QStringLiteral("HouseName: '") + houseName
        + QStringLiteral("'");
}

QString deletedContactEventDetails(const QVariant &name, const QVariant &houseName)
{
    const auto text = [](const QVariant &value) { return value.isNull() ? QString() : value.toString(); };
    return QStringLiteral("Name: ") + text(name) + QStringLiteral(", HouseName: ") + text(houseName);
}

} // namespace quorl
