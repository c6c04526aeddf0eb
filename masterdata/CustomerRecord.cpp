#include "masterdata/CustomerRecord.h"

#include "platform/db/Error.h"
#include "platform/db/SqlText.h"

namespace quorl {

using db::SqlQuote;

namespace {

// The columns in the order the statements name them.
QList<ColumnValue> customerValues(const CustomerRecord &c)
{
    return addressValues(c)
        + QList<ColumnValue>{
            {"TelNo", SqlQuote(c.TelNo)},
            {"MobileNo", SqlQuote(c.MobileNo)},
            {"EmailAddress", SqlQuote(c.EmailAddress)},
            {"Notes", SqlQuote(c.Notes)},
            {"ClubMember", QString::number(c.ClubMember)},
            {"MembershipNo", SqlQuote(c.MembershipNo)},
        };
}

} // namespace

QString customerByIdSql(qint64 id)
{
    return QStringLiteral("SELECT Customer.* FROM Customer WHERE Customer.ID = ") + QString::number(id);
}

QString customerInsertSql(const CustomerRecord &c)
{
    return insertSelectSql(QStringLiteral("Customer"), customerValues(c));
}

QString customerUpdateSql(const CustomerRecord &c, qint64 id)
{
    // No blank before WHERE: the closing quote ends the value, so the statement reads the same.
    return updateSetSql(QStringLiteral("Customer"), customerValues(c)) + QStringLiteral("WHERE ID = ")
        + QString::number(id);
}

} // namespace quorl
