#include "platform/db/Maintenance.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/WorkAside.h"
#include "platform/db/Sqlite.h"

namespace quorl::db {
namespace {

QList<ClosedConnections *> &activeLists()
{
    static QList<ClosedConnections *> lists;
    return lists;
}

// One raw handle, closed when it goes out of scope.
class Handle
{
public:
    // uriParameters, when given, go with the path as in a "file:" URI.
    Handle(const QString &path, int flags, const char *uriParameters = nullptr)
    {
        const QByteArray name = uriParameters
            ? QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + '?' + uriParameters
            : QFile::encodeName(path);
        const int rc = sqlite3_open_v2(name.constData(), &m_db, uriParameters ? flags | SQLITE_OPEN_URI : flags,
                                       nullptr);
        if (rc != SQLITE_OK) {
            const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            throw Error(QStringLiteral("The database file \"%1\" cannot be opened: %2").arg(path, reason), rc);
        }
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, kMaintenanceBusyMilliseconds);
        // As every save: a commit holds once the journal's deletion reached the folder.
        if (const int pragmaRc = sqlite3_exec(m_db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr)) {
            sqlite3_close_v2(m_db);
            throw Error(QStringLiteral("The database file \"%1\" cannot be opened: %2")
                            .arg(path, QString::fromUtf8(sqlite3_errstr(pragmaRc))),
                        pragmaRc);
        }
    }
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    sqlite3 *get() const { return m_db; }
    void close()
    {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }

private:
    sqlite3 *m_db = nullptr;
};

QString textOf(sqlite3_stmt *statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)));
}

// Pages copied in one backup step: a step takes some milliseconds, and the steps
// together take no longer than one step of the whole file.
constexpr int kPagesPerStep = 1024;
qint64 pageCount(sqlite3 *db)
{
    detail::Statement pages(db, QStringLiteral("PRAGMA page_count"));
    return pages.step() ? sqlite3_column_int64(pages.get(), 0) : 0;
}

// A read transaction on a source for the whole copy. A copy in steps starts over
// whenever another program writes between two of them, and might never end; held
// still, it ends, and the other program waits as it did for a copy in one step.
class ReadTransaction
{
public:
    explicit ReadTransaction(sqlite3 *db)
        : m_db(db)
    {
        detail::exec(db, "BEGIN");
        try {
            detail::exec(db, "SELECT count(*) FROM sqlite_master");
        } catch (const Error &) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
    ~ReadTransaction() { sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr); }
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    sqlite3 *m_db;
};

Error inUseError(const QString &what, int rc)
{
    return Error(QStringLiteral("%1: the database is in use by another program. Try again when it has finished.")
                     .arg(what),
                 rc);
}

bool isLockedOut(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// A copy of every page of source's main database into destination's with SQLite's
// backup API, in steps, telling progress after each and while a step runs. A lock
// held by another program is waited for, up to the maintenance limit. Destroyed
// before the copy is done, it leaves destination as it was.
class PageCopy
{
public:
    PageCopy(sqlite3 *source, sqlite3 *destination, const QString &what)
        : m_destination(destination)
        , m_what(what)
    {
        try {
            m_still.emplace(source);
        } catch (const Error &error) {
            if (error.isBusy())
                throw inUseError(what, error.code());
            throw Error(QStringLiteral("%1: %2").arg(what, error.message()), error.code());
        }
        m_backup = sqlite3_backup_init(destination, "main", source, "main");
        if (!m_backup)
            throw Error(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(destination))),
                        sqlite3_errcode(destination));
        // Read here only between steps: the backup's own counts change while a step runs.
        m_total = pageCount(source);
    }
    ~PageCopy() { sqlite3_backup_finish(m_backup); }
    PageCopy(const PageCopy &) = delete;
    PageCopy &operator=(const PageCopy &) = delete;

    // Takes destination's write lock, which SQLite's backup takes as an exclusive
    // one, and copies no page yet. A stop is heard meanwhile.
    void lockDestination(const StepProgress &progress) { step(0, progress, true); }
    // Copies every page, a stop heard only when stoppable.
    void run(const StepProgress &progress, bool stoppable) { step(kPagesPerStep, progress, stoppable); }

private:
    // Steps of pages each until the copy is done; with none, until one step succeeds.
    void step(int pages, const StepProgress &progress, bool stoppable)
    {
        bool stopped = false;
        const auto tell = [&] {
            if (!stopped && progress && !progress(m_done, m_total) && stoppable)
                stopped = true;
        };
        QElapsedTimer waited;
        waited.start();
        int stepRc = SQLITE_OK;
        while (!stopped) {
            stepRc = runAside([this, pages] { return sqlite3_backup_step(m_backup, pages); }, tell);
            const bool lockedOut = isLockedOut(stepRc);
            if (lockedOut ? waited.elapsed() > kMaintenanceBusyMilliseconds
                          : stepRc != SQLITE_OK && stepRc != SQLITE_DONE)
                break;
            if (!lockedOut) {
                waited.restart();
                m_total = sqlite3_backup_pagecount(m_backup);
                m_done = m_total - sqlite3_backup_remaining(m_backup);
            }
            tell();
            if (stepRc == SQLITE_DONE || (pages == 0 && stepRc == SQLITE_OK))
                break;
            if (lockedOut)
                QThread::msleep(20);
        }
        if (!stopped && (stepRc == SQLITE_DONE || (pages == 0 && stepRc == SQLITE_OK)))
            return;
        sqlite3_backup_finish(m_backup);
        m_backup = nullptr;
        if (stopped)
            throw Aborted();
        if (isLockedOut(stepRc))
            throw inUseError(m_what, stepRc);
        const int destinationRc = sqlite3_errcode(m_destination);
        const QString reason = destinationRc != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(m_destination))
                                                          : QString::fromUtf8(sqlite3_errstr(stepRc));
        throw Error(QStringLiteral("%1: %2").arg(m_what, reason), stepRc);
    }

    sqlite3 *m_destination;
    QString m_what;
    std::optional<ReadTransaction> m_still;
    sqlite3_backup *m_backup = nullptr;
    qint64 m_total = 0;
    qint64 m_done = 0;
};

// Copies source's database into a new file at copyPath (replaced when it exists).
void copyToNewFile(sqlite3 *source, const QString &copyPath, const StepProgress &progress)
{
    const QString what = QStringLiteral("The database cannot be copied to \"%1\"").arg(copyPath);
    // Emptied, not removed: the caller may hold a lock on this very file.
    if (QFileInfo::exists(copyPath) && !QFile::resize(copyPath, 0))
        throw Error(QStringLiteral("%1: the file cannot be emptied.").arg(what));
    try {
        Handle copy(copyPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
        // A new file nobody else reads: no journal is needed, and a failed copy is
        // removed. A caller that needs the copy durable syncs it once it is complete.
        detail::exec(copy.get(), "PRAGMA journal_mode=OFF");
        detail::exec(copy.get(), "PRAGMA synchronous=OFF");
        PageCopy(source, copy.get(), what).run(progress, true);
        // Closing a large copy just written can take a good part of a second; the
        // window goes on redrawing meanwhile.
        runAside([&copy] { copy.close(); }, [&progress] {
            if (progress)
                progress(1, 1);
        });
    } catch (const Error &) {
        QFile::remove(copyPath);
        throw;
    }
}

// Virtual machine instructions between two counts of the integrity check's progress.
constexpr int kInstructionsPerCount = 1000;
// About how many counts the check makes per page of the file, to measure its progress.
constexpr qint64 kCountsPerPage = 1;

int countInstructions(void *counter)
{
    ++*static_cast<std::atomic<qint64> *>(counter);
    return 0;
}

// SQLite's integrity check, whose first line is "ok" for a sound file. A stop
// interrupts it.
QString integrityCheck(sqlite3 *db, const StepProgress &progress)
{
    const qint64 expected = pageCount(db) * kCountsPerPage + 1;
    if (progress && !progress(0, expected))
        throw Aborted();
    std::atomic<qint64> counted{0};
    sqlite3_progress_handler(db, kInstructionsPerCount, countInstructions, &counted);
    bool stopped = false;
    const auto tell = [&] {
        if (stopped || !progress || progress(std::min(counted.load(), expected - 1), expected))
            return;
        stopped = true;
        sqlite3_interrupt(db);
    };
    // The handler points at counted: it goes first.
    const std::unique_ptr<sqlite3, void (*)(sqlite3 *)> handlerOff(
        db, [](sqlite3 *handle) { sqlite3_progress_handler(handle, 0, nullptr, nullptr); });
    QString verdict;
    try {
        verdict = runAside(
            [db] {
                detail::Statement check(db, QStringLiteral("PRAGMA integrity_check"));
                return check.step() ? textOf(check.get(), 0) : QString();
            },
            tell);
    } catch (const Error &) {
        if (!stopped)
            throw;
    }
    if (stopped)
        throw Aborted();
    return verdict;
}

const int kLiveFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;

struct TableColumns {
    QString table;
    QStringList columns;
};

// Every table of a database with its columns, SQLite's own tables left out.
QList<TableColumns> tablesOf(sqlite3 *db)
{
    QList<TableColumns> tables;
    detail::Statement names(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                               "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
    while (names.step())
        tables.append({textOf(names.get(), 0), {}});
    for (TableColumns &table : tables) {
        detail::Statement columns(db, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        columns.bind(1, table.table);
        while (columns.step())
            table.columns += textOf(columns.get(), 0);
    }
    return tables;
}

// A trigger or view, with the text SQLite keeps of it.
struct CodeObject {
    QString type;
    QString name;
    QString sql;
};

// Every trigger and view of a database: code that runs when the program reads or writes.
QList<CodeObject> codeOf(sqlite3 *db)
{
    QList<CodeObject> objects;
    detail::Statement rows(db, QStringLiteral("SELECT type, name, sql FROM sqlite_master "
                                              "WHERE type IN ('trigger', 'view') ORDER BY rowid"));
    while (rows.step())
        objects.append({textOf(rows.get(), 0), textOf(rows.get(), 1), textOf(rows.get(), 2)});
    return objects;
}

struct Schema {
    QList<TableColumns> tables;
    QList<CodeObject> code;
};

Schema schemaOf(sqlite3 *db)
{
    return {tablesOf(db), codeOf(db)};
}

// What an SQL script creates, run on a database in memory.
Schema schemaOfScript(const QString &sqlScript)
{
    Handle scratch(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY | SQLITE_OPEN_NOMUTEX);
    char *message = nullptr;
    const int rc = sqlite3_exec(scratch.get(), sqlScript.toUtf8().constData(), nullptr, nullptr, &message);
    const QString reason = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw Error(QStringLiteral("The tables to compare with cannot be made: %1").arg(reason), rc);
    return schemaOf(scratch.get());
}

// The first trigger or view of found that expected does not hold with the same name
// and text, as a reason; "" when none.
QString firstForeign(const QList<CodeObject> &expected, const QList<CodeObject> &found)
{
    for (const CodeObject &object : found) {
        const bool own = std::any_of(expected.begin(), expected.end(), [&](const CodeObject &wanted) {
            return wanted.type == object.type && wanted.name == object.name && wanted.sql == object.sql;
        });
        if (!own)
            return QStringLiteral("the %1 \"%2\" is not one of the program's").arg(object.type, object.name);
    }
    return QString();
}

// The first table or column of expected that found lacks, as a reason; "" when none.
// SQLite compares the names of tables and columns without regard to case.
QString firstMissing(const QList<TableColumns> &expected, const QList<TableColumns> &found)
{
    for (const TableColumns &wanted : expected) {
        const auto table = std::find_if(found.begin(), found.end(), [&](const TableColumns &t) {
            return t.table.compare(wanted.table, Qt::CaseInsensitive) == 0;
        });
        if (table == found.end())
            return QStringLiteral("the table \"%1\" is missing").arg(wanted.table);
        for (const QString &column : wanted.columns) {
            if (!table->columns.contains(column, Qt::CaseInsensitive))
                return QStringLiteral("the table \"%1\" lacks the column \"%2\"").arg(wanted.table, column);
        }
    }
    return QString();
}

} // namespace

ClosedConnections::ClosedConnections(const QString &localPath)
{
    const QList<Connection *> open = Connection::openConnectionsTo(localPath);
    // Closing would roll back what a window is in the middle of saving.
    for (const Connection *connection : open) {
        if (connection->inTransaction())
            throw Error(QStringLiteral("A window is still saving changes to the database. Finish or close it and "
                                       "try again."));
    }
    activeLists().append(this);
    for (Connection *connection : open) {
        connection->Close();
        m_closed.append(connection);
    }
}

ClosedConnections::~ClosedConnections()
{
    for (Connection *connection : std::as_const(m_closed)) {
        try {
            if (!connection->isOpen())
                connection->Open();
        } catch (const Error &) {
            // Left closed: its windows report the closed connection when they use it.
        }
    }
    activeLists().removeAll(this);
}

void ClosedConnections::reopen()
{
    QString failure;
    int code = 0;
    for (Connection *connection : std::as_const(m_closed)) {
        if (connection->isOpen())
            continue;
        try {
            connection->Open();
        } catch (const Error &error) {
            if (failure.isEmpty()) {
                failure = error.message();
                code = error.code();
            }
        }
    }
    m_closed.clear();
    if (!failure.isEmpty())
        throw Error(failure, code);
}

void ClosedConnections::forget(Connection *connection)
{
    for (ClosedConnections *list : std::as_const(activeLists()))
        list->m_closed.removeAll(connection);
}

Aborted::Aborted()
    : Error(QStringLiteral("Aborted"))
{
}

void copyDatabaseFile(const QString &livePath, const QString &copyPath, const StepProgress &progress)
{
    Handle source(livePath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    copyToNewFile(source.get(), copyPath, progress);
}

void checkDatabaseFile(const QString &localPath, const StepProgress &progress)
{
    if (!QFileInfo(localPath).isFile())
        throw Error(QStringLiteral("The file \"%1\" does not exist.").arg(localPath));
    try {
        Handle db(localPath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
        detail::Statement tables(db.get(), QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"));
        tables.step();
        if (sqlite3_column_int(tables.get(), 0) == 0)
            throw Error(QStringLiteral("it holds no tables"));
        const QString verdict = integrityCheck(db.get(), progress);
        if (verdict != QLatin1String("ok"))
            throw Error(QStringLiteral("it is damaged (%1)").arg(verdict));
    } catch (const Aborted &) {
        throw;
    } catch (const Error &error) {
        throw Error(QStringLiteral("The file \"%1\" is no sound database: %2").arg(localPath, error.message()),
                    error.code());
    }
}

void checkHoldsSchema(const QString &localPath, const QString &sqlScript)
{
    const Schema expected = schemaOfScript(sqlScript);
    Schema found;
    try {
        Handle db(localPath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
        found = schemaOf(db.get());
    } catch (const Error &error) {
        throw Error(QStringLiteral("it cannot be read as a database (%1)")
                        .arg(QString::fromUtf8(sqlite3_errstr(error.code()))),
                    error.code());
    }
    QString reason = firstMissing(expected.tables, found.tables);
    if (reason.isEmpty())
        reason = firstForeign(expected.code, found.code);
    if (!reason.isEmpty())
        throw Error(reason);
}

void useRollbackJournal(const QString &localPath)
{
    Handle db(localPath, kLiveFlags);
    detail::leaveWalMode(db.get());
}

struct ContentsReplacement::State {
    State(const QString &sourcePath, const QString &livePath)
        : source(sourcePath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX)
        , live(livePath, kLiveFlags)
        , copy(source.get(), live.get(), QStringLiteral("The database \"%1\" cannot be replaced").arg(livePath))
    {
    }

    Handle source;
    Handle live;
    PageCopy copy;
};

ContentsReplacement::ContentsReplacement(const QString &sourcePath, const QString &livePath,
                                         const StepProgress &progress)
    : m_livePath(livePath)
{
    if (!QFileInfo(livePath).isFile())
        throw Error(QStringLiteral("The database file \"%1\" does not exist.").arg(livePath));
    m_state = std::make_unique<State>(sourcePath, livePath);
    m_state->copy.lockDestination(progress);
}

ContentsReplacement::~ContentsReplacement() = default;

void ContentsReplacement::copyLiveFile(const QString &copyPath, const StepProgress &progress) const
{
    if (!m_state)
        throw Error(QStringLiteral("The database \"%1\" is no longer held.").arg(m_livePath));
    // The lock this object holds keeps every other program from the file, and it has
    // written nothing yet: what is on disk is the last commit, readable without a
    // lock. A reader that asked for one would wait for this object's lock for ever.
    Handle source(m_livePath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, "nolock=1");
    copyToNewFile(source.get(), copyPath, progress);
}

void ContentsReplacement::copyIn(const StepProgress &progress)
{
    if (!m_state)
        throw Error(QStringLiteral("The database \"%1\" is no longer held.").arg(m_livePath));
    const std::unique_ptr<State> state = std::move(m_state);
    state->copy.run(progress, false);
}

void replaceDatabaseContents(const QString &sourcePath, const QString &livePath, const StepProgress &progress)
{
    // Told while it waits for another program's lock too, but never stopped by it.
    const StepProgress toldOnly = [&progress](qint64 done, qint64 total) {
        if (progress)
            progress(done, total);
        return true;
    };
    ContentsReplacement(sourcePath, livePath, toldOnly).copyIn(progress);
}

void vacuumDatabaseFile(const QString &livePath, const StepProgress &progress)
{
    if (!QFileInfo(livePath).isFile())
        throw Error(QStringLiteral("The database file \"%1\" does not exist.").arg(livePath));
    // Opened, used and closed on the worker alone: the handle is of no other thread.
    const auto vacuum = [livePath] {
        Handle live(livePath, kLiveFlags);
        try {
            detail::exec(live.get(), "VACUUM");
        } catch (const Error &error) {
            throw Error(QStringLiteral("The database \"%1\" cannot be compacted: %2").arg(livePath, error.message()),
                        error.code());
        }
    };
    runAside(vacuum, [&progress] {
        if (progress)
            progress(0, 1);
    });
}

} // namespace quorl::db
