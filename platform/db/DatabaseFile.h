#pragma once

#include <QString>

namespace quorl::db {

// Writes a new database file from an SQL script. The file appears only once the whole
// script has run; an existing file is never touched (throws instead).
void createDatabaseFile(const QString &localPath, const QString &sqlScript);

} // namespace quorl::db
