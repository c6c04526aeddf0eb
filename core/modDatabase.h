#pragma once

#include <memory>

#include <QString>

#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"

namespace quorl {

// The one connection every window shares; null before start-up opened it.
extern std::unique_ptr<db::Connection> DbConnection;

// "Provider=...;Data Source=" + path + ";Mode=Share Deny None;Persist Security Info=False" + extra
QString connectionStringFor(const QString &databasePath, const QString &extra = QString());

// The file of the shared connection, which no file the program writes may replace;
// "" before start-up opened one.
QString databaseInUse();

// A new open connection, or null when the file is missing, locked or no database.
std::unique_ptr<db::Connection> OpenConnection(const QString &databasePath, const QString &extra, int timeout);

// The same, and null also when nothing could be saved through it (a read-only file,
// or a folder where the journal beside the file cannot be made).
std::unique_ptr<db::Connection> OpenWritableConnection(const QString &databasePath, const QString &extra,
                                                       int timeout);

// A new recordset on a table name or SELECT text, on DbConnection unless another
// connection is given. Never null: a failed open gives a closed recordset whose
// lastError() says why, so a caller that goes on meets a catchable error.
std::unique_ptr<db::Recordset> OpenRecordset(const QString &source, db::Connection *connection = nullptr,
                                             bool readOnly = true, int options = db::adCmdUnspecified);

// Rolls back the transaction a window began on DbConnection and marked in
// inTransaction. The mark is cleared first, so a rollback that fails is not tried
// again when the window closes; the failure goes to the message log under where.
void rollBackTransaction(bool &inTransaction, const QString &where);

} // namespace quorl
