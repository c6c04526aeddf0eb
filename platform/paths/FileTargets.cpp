#include "platform/paths/FileTargets.h"

#include <filesystem>
#include <system_error>

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "platform/paths/Paths.h"

namespace quorl::paths {
namespace {

enum class EntryKind { Missing, Plain, Other, Unknown };

std::filesystem::path fsPath(const QString &localPath)
{
    return std::filesystem::path(QFile::encodeName(localPath).toStdString());
}

// What stands at the path, judged by stat alone: nothing is opened, so a pipe
// cannot make the caller wait. A link counts as what it points at.
EntryKind entryKind(const QString &localPath)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_type own = fs::symlink_status(fsPath(localPath), error).type();
    if (own == fs::file_type::not_found)
        return EntryKind::Missing;
    // A name that cannot be looked at (no rights on its folder) is left to the open, which says why.
    if (own == fs::file_type::none)
        return EntryKind::Unknown;
    return fs::status(fsPath(localPath), error).type() == fs::file_type::regular ? EntryKind::Plain
                                                                                : EntryKind::Other;
}

// The path as the file system knows it; for a file not yet there, its folder's.
QString canonicalOf(const QString &localPath)
{
    const QFileInfo info(localPath);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

QStringList guardedFiles(const QString &databasePath)
{
    const QString local = resolve(databasePath);
    const QString live = canonicalOf(local);
    return {live,
            live + QStringLiteral("-journal"),
            live + QStringLiteral("-wal"),
            live + QStringLiteral("-shm"),
            safetyCopyPath(live),
            canonicalOf(safetyCopyPath(local))};
}

} // namespace

QString safetyCopyPath(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".bak");
}

bool isDatabaseFileOf(const QString &path, const QString &databasePath)
{
    if (path.trimmed().isEmpty() || databasePath.trimmed().isEmpty())
        return false;
    const QString target = canonicalOf(resolve(path));
    return guardedFiles(databasePath).contains(target, Qt::CaseInsensitive);
}

QString writeRefusal(const QString &path, const QString &databasePath)
{
    if (isDatabaseFileOf(path, databasePath))
        return QStringLiteral("\"%1\" is the database in use or one of its own files; nothing was written. "
                              "Choose another file name.")
            .arg(path);
    if (entryKind(resolve(path)) == EntryKind::Other)
        return QStringLiteral("\"%1\" is not a plain file (a folder, device or pipe); nothing was written. "
                              "Choose another file name.")
            .arg(path);
    return QString();
}

QString readRefusal(const QString &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_type type = fs::status(fsPath(resolve(path)), error).type();
    if (type == fs::file_type::regular || type == fs::file_type::not_found || type == fs::file_type::none)
        return QString();
    return QStringLiteral("\"%1\" is not a plain file (a folder, device or pipe) and cannot be read.").arg(path);
}

} // namespace quorl::paths
