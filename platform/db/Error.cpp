#include "platform/db/Error.h"

#include <sqlite3.h>

namespace quorl::db {

Error::Error(const QString &message, int sqliteCode)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_code(sqliteCode)
{
}

bool Error::isBusy() const
{
    const int primary = m_code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace quorl::db
