#include "platform/db/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "platform/db/Error.h"

namespace quorl::db {

void createDatabaseFile(const QString &localPath, const QString &sqlScript)
{
    const QFileInfo target(localPath);
    if (target.exists())
        throw Error(QStringLiteral("The file \"%1\" exists already; it is not overwritten.").arg(localPath));
    if (!QDir().mkpath(target.absolutePath()))
        throw Error(QStringLiteral("The folder \"%1\" cannot be created.").arg(target.absolutePath()));

    // Built beside the target and renamed into place, so a failed script leaves nothing.
    const QString building = target.absoluteFilePath() + QStringLiteral(".creating");
    QFile::remove(building);
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(building).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString failure;
    if (rc == SQLITE_OK) {
        char *message = nullptr;
        rc = sqlite3_exec(db, sqlScript.toUtf8().constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK)
            failure = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
        sqlite3_free(message);
    } else {
        failure = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    }
    sqlite3_close_v2(db);
    if (!failure.isEmpty()) {
        QFile::remove(building);
        throw Error(QStringLiteral("The database \"%1\" cannot be created: %2").arg(localPath, failure), rc);
    }
    if (!QFile::rename(building, target.absoluteFilePath())) {
        QFile::remove(building);
        throw Error(QStringLiteral("The database \"%1\" cannot be put in place.").arg(localPath));
    }
}

} // namespace quorl::db
