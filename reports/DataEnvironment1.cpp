#include "reports/DataEnvironment1.h"

#include "core/modDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/ShapeCommand.h"

namespace quorl::reports {
namespace {

std::vector<CommandRow> readRows(const QString &sql, db::Connection &connection)
{
    std::unique_ptr<db::Recordset> rows = connection.ExecuteQuery(sql);
    QStringList names;
    for (int field = 0; field < rows->fieldCount(); ++field)
        names.append(rows->fieldName(field));
    std::vector<CommandRow> result;
    for (; !rows->isEOF(); rows->MoveNext()) {
        CommandRow row;
        row.names = names;
        for (int field = 0; field < rows->fieldCount(); ++field)
            row.values.append(rows->value(field));
        result.push_back(std::move(row));
    }
    return result;
}

bool sameKey(const QVariant &a, const QVariant &b)
{
    return !a.isNull() && !b.isNull() && a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
}

void attachChildren(std::vector<CommandRow> &parents, const db::ShapeLevel &level, db::Connection &connection)
{
    for (const db::ShapeLevel &child : level.children) {
        std::vector<CommandRow> all = readRows(child.command, connection);
        attachChildren(all, child, connection);
        for (CommandRow &parent : parents) {
            std::vector<CommandRow> related;
            const QVariant key = parent.value(child.parentField);
            for (const CommandRow &row : all) {
                if (sameKey(row.value(child.childField), key))
                    related.push_back(row);
            }
            parent.chapters.emplace_back(child.alias, std::move(related));
        }
    }
}

} // namespace

QVariant CommandRow::value(const QString &field) const
{
    for (qsizetype index = 0; index < names.size(); ++index) {
        if (names.at(index).compare(field, Qt::CaseInsensitive) == 0)
            return values.value(index);
    }
    return QVariant();
}

const std::vector<CommandRow> &CommandRow::chapter(const QString &name) const
{
    static const std::vector<CommandRow> none;
    for (const auto &[alias, rows] : chapters) {
        if (alias.compare(name, Qt::CaseInsensitive) == 0)
            return rows;
    }
    return none;
}

namespace DataEnvironment1 {

const char *const Receipt =
    " SHAPE {SELECT * FROM `Company`}  AS Receipt APPEND (( SHAPE {SELECT * FROM `InvTemp`}  AS InvTemp APPEND "
    "({SELECT * FROM `Customer`}  AS Customer RELATE 'CustomerID' TO 'ID') AS Customer) AS InvTemp RELATE "
    "'CompanyID' TO 'CompanyID') AS InvTemp";

const char *const Booking =
    " SHAPE {SELECT * FROM `Company`}  AS Booking APPEND (( SHAPE {SELECT * FROM `InvTemp`}  AS INVT APPEND "
    "({SELECT * FROM `Customer`}  AS Cust RELATE 'CustomerID' TO 'ID') AS Cust) AS INVT RELATE 'CompanyID' TO "
    "'CompanyID') AS INVT";

// In booking order, so the list reads the same each time it is printed.
const char *const Outstanding =
    "SELECT Booking.FromDate, Booking.ToDate, Booking.CostOfHire, Booking.OtherCharges, Booking.VAT, "
    "Booking.TotalPayable, Booking.AmountPayed, Customer.Name, Customer.TelNo\r\n"
    "FROM Customer INNER JOIN Booking ON Customer.ID = Booking.CustomerID\r\n"
    "WHERE (((Booking.AmountPayed)<[totalpayable])) ORDER BY Booking.ID;\r\n";

std::vector<CommandRow> run(const QString &command, db::Connection &connection)
{
    if (!db::isShapeCommand(command))
        return readRows(command, connection);
    const db::ShapeLevel root = db::parseShapeCommand(command);
    std::vector<CommandRow> rows = readRows(root.command, connection);
    attachChildren(rows, root, connection);
    return rows;
}

std::vector<CommandRow> run(const QString &command)
{
    if (!DbConnection || !DbConnection->isOpen())
        throw db::Error(QStringLiteral("No database connection is open."));
    return run(command, *DbConnection);
}

} // namespace DataEnvironment1

} // namespace quorl::reports
