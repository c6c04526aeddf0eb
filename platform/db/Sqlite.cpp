#include "platform/db/Sqlite.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"

namespace quorl::db::detail {

Statement::Statement(sqlite3 *db, const char *sql, int length, const char **tail)
    : m_db(db)
{
    const int rc = sqlite3_prepare_v2(db, sql, length, &m_stmt, tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throwSqlite(db, rc);
    }
}

Statement::Statement(sqlite3 *db, const QString &sql)
    : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throwSqlite(db, rc);
    }
    if (!m_stmt)
        throw Error(QStringLiteral("The SQL text holds no statement."));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, index, value.toBool() ? -1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QDateTime:
            // Blank only without a date: a reading in the hour the clocks skip is no
            // valid QDateTime but still names its date and time.
            if (!value.toDateTime().date().isValid()) {
                rc = sqlite3_bind_null(m_stmt, index);
                break;
            }
            rc = sqlite3_bind_text16(m_stmt, index, storedDateText(value.toDateTime()).utf16(), -1,
                                     SQLITE_TRANSIENT);
            break;
        case QMetaType::QDate:
            if (!value.toDate().isValid()) {
                rc = sqlite3_bind_null(m_stmt, index);
                break;
            }
            rc = sqlite3_bind_text16(m_stmt, index,
                                     storedDateText(wallClockDateTime(value.toDate(), QTime(0, 0))).utf16(), -1,
                                     SQLITE_TRANSIENT);
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString text = value.toString();
            rc = sqlite3_bind_text16(m_stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        throwSqlite(m_db, rc);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throwSqlite(m_db, rc);
}

void throwSqlite(sqlite3 *db, int rc)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw Error(QString::fromLatin1(kBusyMessage), rc);
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    throw Error(message, db ? sqlite3_extended_errcode(db) : rc);
}

void exec(sqlite3 *db, const char *sql)
{
    Statement statement(db, sql, -1);
    while (statement.step()) {
    }
}

void leaveWalMode(sqlite3 *db)
{
    bool wal = false;
    {
        Statement mode(db, QStringLiteral("PRAGMA journal_mode"));
        wal = mode.step()
            && QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(mode.get(), 0)))
                       .compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
    }
    if (wal)
        exec(db, "PRAGMA journal_mode=DELETE");
}

} // namespace quorl::db::detail
