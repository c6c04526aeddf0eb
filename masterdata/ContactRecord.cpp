#include "masterdata/ContactRecord.h"

#include <QStringList>

#include "platform/db/Error.h"
#include "platform/db/SqlText.h"

namespace quorl {

using db::SqlQuote;

// Every text goes through SqlQuote: an apostrophe in a name is data, never the end of a literal.
QList<ColumnValue> addressValues(const ContactAddress &address)
{
    return {
        {"Name", SqlQuote(address.Name)},
        {"HouseName", SqlQuote(address.HouseName)},
        {"Street", SqlQuote(address.Street)},
        {"Area", SqlQuote(address.Area)},
        {"Town", SqlQuote(address.Town)},
        {"PostCode", SqlQuote(address.PostCode)},
    };
}

QString insertSelectSql(const QString &table, const QList<ColumnValue> &values)
{
    QStringList columns;
    QStringList texts;
    for (const ColumnValue &value : values) {
        columns << QString::fromLatin1(value.column);
        texts << value.sql;
    }
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(QStringLiteral(", "))
        + QStringLiteral(") SELECT ") + texts.join(QStringLiteral(", "));
}

QString updateSetSql(const QString &table, const QList<ColumnValue> &values)
{
    QStringList assignments;
    for (const ColumnValue &value : values)
        assignments << QString::fromLatin1(value.column) + QStringLiteral(" = ") + value.sql;
    return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + assignments.join(QStringLiteral(", "));
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
