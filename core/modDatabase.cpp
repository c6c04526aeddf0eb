#include "core/modDatabase.h"

#include "core/modMessageLog.h"
#include "platform/db/Error.h"

namespace quorl {

std::unique_ptr<db::Connection> DbConnection;

QString connectionStringFor(const QString &databasePath, const QString &extra)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + databasePath
        + QStringLiteral(";Mode=Share Deny None;Persist Security Info=False") + extra;
}

QString databaseInUse()
{
    return DbConnection ? DbConnection->databasePath() : QString();
}

std::unique_ptr<db::Connection> OpenConnection(const QString &databasePath, const QString &extra, int timeout)
{
    auto connection = std::make_unique<db::Connection>();
    connection->CursorLocation = 3;
    connection->ConnectionTimeout = timeout;
    try {
        connection->Open(connectionStringFor(databasePath, extra));
    } catch (const db::Error &) {
        return nullptr;
    }
    return connection;
}

std::unique_ptr<db::Connection> OpenWritableConnection(const QString &databasePath, const QString &extra, int timeout)
{
    auto connection = OpenConnection(databasePath, extra, timeout);
    if (!connection)
        return nullptr;
    try {
        connection->checkWritable();
    } catch (const db::Error &) {
        return nullptr;
    }
    return connection;
}

std::unique_ptr<db::Recordset> OpenRecordset(const QString &source, db::Connection *connection, bool readOnly,
                                             int options)
{
    auto recordset = std::make_unique<db::Recordset>();
    db::Connection *target = connection ? connection : DbConnection.get();
    if (!target) {
        recordset->setLastError(QStringLiteral("No database connection is open."));
        return recordset;
    }
    try {
        recordset->Open(source, target, readOnly ? db::adLockReadOnly : db::adLockOptimistic, options);
    } catch (const db::Error &error) {
        recordset->setLastError(error.message());
    }
    return recordset;
}

void rollBackTransaction(bool &inTransaction, const QString &where)
{
    if (!inTransaction)
        return;
    inTransaction = false;
    try {
        if (DbConnection && DbConnection->inTransaction())
            DbConnection->RollbackTrans();
    } catch (const std::exception &failure) {
        logError(where, failure);
    }
}

} // namespace quorl
