#include "platform/db/Connection.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "platform/db/JetSql.h"
#include "platform/db/Maintenance.h"
#include "platform/db/Recordset.h"
#include "platform/db/Sqlite.h"
#include "platform/paths/Paths.h"

namespace quorl::db {
namespace {

QList<Connection *> &openConnections()
{
    static QList<Connection *> connections;
    return connections;
}

QString canonicalOf(const QString &localPath)
{
    const QFileInfo info(localPath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

const char *const kLostMessage =
    "The changes were not saved: an earlier error ended the transaction. Close the window and try again.";

} // namespace

QString dataSourceOf(const QString &connectionString)
{
    // key=value pairs split at ";", a value may be quoted to hold one.
    qsizetype i = 0;
    const QString &s = connectionString;
    while (i < s.size()) {
        const qsizetype equals = s.indexOf(QLatin1Char('='), i);
        if (equals < 0)
            break;
        const QString key = s.mid(i, equals - i).trimmed();
        qsizetype j = equals + 1;
        while (j < s.size() && s[j] == QLatin1Char(' '))
            ++j;
        QString value;
        if (j < s.size() && (s[j] == QLatin1Char('"') || s[j] == QLatin1Char('\''))) {
            const QChar quote = s[j];
            const qsizetype close = s.indexOf(quote, j + 1);
            value = s.mid(j + 1, (close < 0 ? s.size() : close) - j - 1);
            i = close < 0 ? s.size() : close + 1;
            const qsizetype semicolon = s.indexOf(QLatin1Char(';'), i);
            i = semicolon < 0 ? s.size() : semicolon + 1;
        } else {
            const qsizetype semicolon = s.indexOf(QLatin1Char(';'), j);
            value = s.mid(j, (semicolon < 0 ? s.size() : semicolon) - j).trimmed();
            i = semicolon < 0 ? s.size() : semicolon + 1;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return value;
    }
    return QString();
}

Connection::Connection() = default;

Connection::~Connection()
{
    Close();
    ClosedConnections::forget(this);
    for (Recordset *recordset : std::as_const(m_recordsets))
        recordset->m_connection = nullptr;
}

void Connection::Open(const QString &connectionString)
{
    if (isOpen())
        throw Error(QStringLiteral("The connection is already open."));
    const QString source = dataSourceOf(connectionString);
    if (source.isEmpty())
        throw Error(QStringLiteral("The connection string names no database file (Data Source)."));
    const QString path = paths::resolve(source);

    sqlite3 *db = nullptr;
    // Never SQLITE_OPEN_CREATE: a missing file stays missing. One thread uses a
    // connection, so SQLite's own locking of the handle is not needed.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw Error(QStringLiteral("The database file \"%1\" cannot be opened: %2").arg(path, reason), rc);
    }
    sqlite3_busy_timeout(db, m_busyTimeout);
    sqlite3_extended_result_codes(db, 1);
    try {
        // A commit holds after a power cut only once the journal's deletion has
        // reached the folder too: FULL leaves that to the file system.
        detail::exec(db, "PRAGMA synchronous=EXTRA");
        {
            // SQLite reads the file only at the first statement; a file that is not a
            // database, or an empty one, must fail here rather than in some window later.
            detail::Statement probe(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
            probe.step();
            if (sqlite3_column_int(probe.get(), 0) == 0)
                throw Error(QStringLiteral("The file \"%1\" holds no database tables.").arg(path));
        }
        // One file and nothing beside it, so backup and compact see the whole database.
        detail::leaveWalMode(db);
    } catch (const Error &e) {
        sqlite3_close_v2(db);
        if (e.message().contains(path))
            throw;
        throw Error(QStringLiteral("The file \"%1\" cannot be used as a database: %2").arg(path, e.message()),
                    e.code());
    }
    m_db = db;
    m_connectionString = connectionString;
    m_path = path;
    m_canonicalPath = canonicalOf(path);
    m_levels.clear();
    m_lost = false;
    openConnections().append(this);
}

void Connection::Open()
{
    if (m_connectionString.isEmpty())
        throw Error(QStringLiteral("The connection has no connection string to open."));
    Open(m_connectionString);
}

void Connection::Close()
{
    if (!m_db)
        return;
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_levels.clear();
    m_lost = false;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    openConnections().removeAll(this);
}

void Connection::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

sqlite3 *Connection::handle() const
{
    if (!m_db)
        throw Error(QStringLiteral("The database connection is closed."));
    return m_db;
}

qint64 Connection::Execute(const QString &jetSql)
{
    sqlite3 *db = handle();
    const QByteArray utf8 = translateJetSql(jetSql).sql.toUtf8();
    const char *next = utf8.constData();
    const char *const end = next + utf8.size();
    qint64 changed = 0;
    while (next < end) {
        const char *tail = nullptr;
        detail::Statement statement(db, next, int(end - next), &tail);
        next = tail;
        if (!statement)
            continue;
        const bool writes = !sqlite3_stmt_readonly(statement.get());
        if (writes)
            beginWrite();
        try {
            while (statement.step()) {
            }
        } catch (const Error &) {
            noteFailure();
            throw;
        }
        if (writes)
            changed += sqlite3_changes64(db);
    }
    return changed;
}

std::unique_ptr<Recordset> Connection::ExecuteQuery(const QString &jetSql, const QVariantList &parameters)
{
    auto recordset = std::make_unique<Recordset>();
    recordset->setParameters(parameters);
    recordset->Open(jetSql, this, adLockReadOnly, adCmdText);
    return recordset;
}

void Connection::BeginTrans()
{
    handle();
    pushLevel(false);
}

void Connection::CommitTrans()
{
    handle();
    const auto it = std::find_if(m_levels.rbegin(), m_levels.rend(), [](const Level &l) { return !l.savepoint; });
    if (it == m_levels.rend())
        throw Error(QStringLiteral("There is no transaction to commit."));
    commitLevel(it->id);
}

void Connection::RollbackTrans()
{
    handle();
    const auto it = std::find_if(m_levels.rbegin(), m_levels.rend(), [](const Level &l) { return !l.savepoint; });
    if (it == m_levels.rend())
        throw Error(QStringLiteral("There is no transaction to roll back."));
    rollbackLevel(it->id, false);
}

void Connection::checkWritable()
{
    sqlite3 *db = handle();
    // SQLite opens a file it may not write read-only, without a word.
    if (sqlite3_db_readonly(db, "main") == 1)
        throw Error(QStringLiteral("The database file \"%1\" is read-only.").arg(m_path), SQLITE_READONLY);
    // A transaction of this connection already writes.
    if (!sqlite3_get_autocommit(db))
        return;
    // The journal beside the file is made at the first change of a page: change the
    // header to what it holds and take it back.
    int version = 0;
    {
        detail::Statement read(db, QStringLiteral("PRAGMA main.user_version"));
        if (read.step())
            version = sqlite3_column_int(read.get(), 0);
    }
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    // Another connection writing now shows that the file can be written.
    if ((rc & 0xff) == SQLITE_BUSY)
        return;
    if (rc != SQLITE_OK)
        throw Error(QStringLiteral("The database file \"%1\" cannot be written: %2")
                        .arg(m_path, QString::fromUtf8(sqlite3_errmsg(db))),
                    rc);
    const QByteArray probe = "PRAGMA main.user_version = " + QByteArray::number(version);
    const int probeRc = sqlite3_exec(db, probe.constData(), nullptr, nullptr, nullptr);
    const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (probeRc != SQLITE_OK)
        throw Error(QStringLiteral("The database file \"%1\" cannot be written: %2").arg(m_path, reason), probeRc);
}

bool Connection::inTransaction() const
{
    return std::any_of(m_levels.begin(), m_levels.end(), [](const Level &l) { return !l.savepoint; });
}

bool Connection::holdsWriteLock() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

QList<Connection *> Connection::openConnectionsTo(const QString &localPath)
{
    const QString wanted = canonicalOf(localPath);
    QList<Connection *> found;
    for (Connection *connection : std::as_const(openConnections()))
        if (connection->m_canonicalPath == wanted)
            found.append(connection);
    return found;
}

void Connection::beginWrite()
{
    sqlite3 *db = handle();
    if (m_lost)
        throw Error(QString::fromLatin1(kLostMessage));
    for (size_t i = 0; i < m_levels.size(); ++i) {
        Level &level = m_levels[i];
        if (level.begun)
            continue;
        // IMMEDIATE takes the write lock at once, so two writers never meet halfway.
        if (i == 0)
            detail::exec(db, "BEGIN IMMEDIATE");
        else
            detail::exec(db, savepointName(level).prepend(QStringLiteral("SAVEPOINT ")).toUtf8().constData());
        level.begun = true;
    }
}

void Connection::noteFailure()
{
    if (!m_db || m_levels.empty() || !m_levels.front().begun)
        return;
    if (sqlite3_get_autocommit(m_db)) {
        for (Level &level : m_levels)
            level.begun = false;
        m_lost = true;
    }
}

int Connection::pushLevel(bool savepoint)
{
    handle();
    const int id = m_nextLevelId++;
    m_levels.push_back(Level{id, savepoint, false});
    return id;
}

int Connection::levelIndex(int id) const
{
    for (size_t i = 0; i < m_levels.size(); ++i)
        if (m_levels[i].id == id)
            return int(i);
    return -1;
}

QString Connection::savepointName(const Level &level) const
{
    return QStringLiteral("quorl_level_%1").arg(level.id);
}

void Connection::commitLevel(int id)
{
    const int index = levelIndex(id);
    if (index < 0)
        throw Error(QStringLiteral("The transaction was already ended."));
    if (size_t(index) + 1 != m_levels.size())
        throw Error(QStringLiteral("An inner transaction is still open."));
    if (m_lost) {
        m_levels.pop_back();
        if (m_levels.empty())
            m_lost = false;
        throw Error(QString::fromLatin1(kLostMessage));
    }
    const Level level = m_levels.back();
    if (level.begun) {
        try {
            if (index == 0)
                detail::exec(handle(), "COMMIT");
            else
                detail::exec(handle(), savepointName(level).prepend(QStringLiteral("RELEASE ")).toUtf8().constData());
        } catch (const Error &) {
            noteFailure();
            throw;
        }
    }
    m_levels.pop_back();
}

void Connection::rollbackLevel(int id, bool quiet)
{
    const int index = levelIndex(id);
    if (index < 0)
        return;
    const Level level = m_levels[size_t(index)];
    m_levels.erase(m_levels.begin() + index, m_levels.end());
    if (m_levels.empty())
        m_lost = false;
    if (!level.begun || !m_db)
        return;
    int rc = SQLITE_OK;
    if (index == 0) {
        rc = sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    } else {
        const QByteArray name = savepointName(level).toUtf8();
        rc = sqlite3_exec(m_db, ("ROLLBACK TO " + name).constData(), nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(m_db, ("RELEASE " + name).constData(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK && !quiet)
        detail::throwSqlite(m_db, rc);
}

void Connection::attach(Recordset *recordset)
{
    if (!m_recordsets.contains(recordset))
        m_recordsets.append(recordset);
}

void Connection::detach(Recordset *recordset)
{
    m_recordsets.removeAll(recordset);
}

Savepoint::Savepoint(Connection &connection)
    : m_connection(connection)
    , m_id(connection.pushLevel(true))
{
}

Savepoint::~Savepoint()
{
    if (!m_done)
        m_connection.rollbackLevel(m_id, true);
}

void Savepoint::release()
{
    if (m_done)
        return;
    // On failure the destructor rolls the work back.
    m_connection.commitLevel(m_id);
    m_done = true;
}

} // namespace quorl::db
