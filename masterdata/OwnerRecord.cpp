#include "masterdata/OwnerRecord.h"

#include "platform/db/Error.h"
#include "platform/db/SqlText.h"

namespace quorl {

using db::SqlQuote;

namespace {

// The columns in the order the statements name them.
QList<ColumnValue> ownerValues(const OwnerRecord &o)
{
    return addressValues(o)
        + QList<ColumnValue>{
            {"MobileNo", SqlQuote(o.MobileNo)},
            {"EmailAddress", SqlQuote(o.EmailAddress)},
            {"Notes", SqlQuote(o.Notes)},
        };
}

} // namespace

QString ownerByIdSql(qint64 id)
{
    return QStringLiteral("SELECT Owner.* FROM Owner WHERE Owner.ID = ") + QString::number(id);
}

QString ownerInsertSql(const OwnerRecord &o)
{
    return insertSelectSql(QStringLiteral("Owner"), ownerValues(o));
}

QString ownerUpdateSql(const OwnerRecord &o, qint64 id)
{
    return updateSetSql(QStringLiteral("Owner"), ownerValues(o)) + QStringLiteral(" WHERE ID = ") + QString::number(id);
}

} // namespace quorl
