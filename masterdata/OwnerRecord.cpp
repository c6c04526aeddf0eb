#include "masterdata/OwnerRecord.h"

#include "platform/db/Error.h"

namespace quorl {

using db::SqlQuote;

QString ownerByIdSql(qint64 id)
{
    return QStringLiteral("SELECT Owner.* FROM Owner WHERE Owner.ID = ") + QString::number(id);
}

QString ownerInsertSql(const OwnerRecord &o)
{
    return QStringLiteral("INSERT INTO Owner (Name, HouseName, Street, Area, Town, PostCode, MobileNo, "
                          "EmailAddress, Notes) SELECT ")
        + SqlQuote(o.Name) + QStringLiteral(", ") + SqlQuote(o.HouseName) + QStringLiteral(", ")
        + SqlQuote(o.Street) + QStringLiteral(", ") + SqlQuote(o.Area) + QStringLiteral(", ") + SqlQuote(o.Town)
        + QStringLiteral(", ") + SqlQuote(o.PostCode) + QStringLiteral(", ") + SqlQuote(o.MobileNo)
        + QStringLiteral(", ") + SqlQuote(o.EmailAddress) + QStringLiteral(", ") + SqlQuote(o.Notes);
}

QString ownerUpdateSql(const OwnerRecord &o, qint64 id)
{
    return QStringLiteral("UPDATE Owner SET Name = ") + SqlQuote(o.Name) + QStringLiteral(", HouseName = ")
        + SqlQuote(o.HouseName) + QStringLiteral(", Street = ") + SqlQuote(o.Street)
        + QStringLiteral(", Area = ") + SqlQuote(o.Area) + QStringLiteral(", Town = ") + SqlQuote(o.Town)
        + QStringLiteral(", PostCode = ") + SqlQuote(o.PostCode) + QStringLiteral(", MobileNo = ")
        + SqlQuote(o.MobileNo) + QStringLiteral(", EmailAddress = ") + SqlQuote(o.EmailAddress)
        + QStringLiteral(", Notes = ") + SqlQuote(o.Notes) + QStringLiteral(" WHERE ID = ") + QString::number(id);
}

} // namespace quorl
