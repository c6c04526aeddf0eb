#pragma once

#include <QString>

// The bound forms open their own connections, on a connection string that names the
// database by a fixed path. That path means the file the program opened at start-up:
// editing any other file would show the user rows the program does not use.

namespace quorl {

inline constexpr const char *kBoundFormConnectionString =
    "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Quorlc\\Data\\db.mdb;";

// connectionString with its "Data Source=" replaced by the file of DbConnection;
// unchanged while the program holds no open connection.
QString connectionToDatabaseInUse(const QString &connectionString = QString::fromLatin1(kBoundFormConnectionString));

} // namespace quorl
