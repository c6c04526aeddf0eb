#include "platform/paths/Paths.h"

#include <dirent.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace quorl::paths {
namespace {

QString s_programFolder;

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

bool hasDrive(const QString &path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter()
        && path.at(0).unicode() < 0x80;
}

// The entry of folder named like name, preferring the exact spelling, else the first
// in name order that differs only in letter case; empty when none. The kernel is
// asked with the folder's path as it stands (QDir would fold its ".." by text).
QString matchEntry(const QString &folder, const QString &name)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return QString();
    QString found;
    while (const dirent *entry = ::readdir(dir)) {
        const QString entryName = QFile::decodeName(entry->d_name);
        if (entryName == name) {
            found = entryName;
            break;
        }
        if (entryName.compare(name, Qt::CaseInsensitive) == 0 && (found.isEmpty() || entryName < found))
            found = entryName;
    }
    ::closedir(dir);
    return found;
}

// root has no trailing "/" (except the file-system root "/" itself).
QString walk(const QString &root, const QString &rest, bool keepTrailing)
{
    QStringList parts;
    for (const QString &part : rest.split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts += part;
    }
    QString current = root;
    bool onDisk = QFileInfo(root).isDir();
    for (const QString &part : std::as_const(parts)) {
        QString name = part;
        if (onDisk) {
            const QString found = matchEntry(current, part);
            if (found.isEmpty())
                onDisk = false;
            else
                name = found;
        }
        if (!current.endsWith(QLatin1Char('/')))
            current += QLatin1Char('/');
        current += name;
    }
    if (keepTrailing && !current.endsWith(QLatin1Char('/')))
        current += QLatin1Char('/');
    return current;
}

// As walk(), but every part kept as given, "." and ".." included.
QString walkForOpen(const QString &root, const QString &rest)
{
    QString current = root;
    const QStringList parts = rest.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    for (qsizetype index = 0; index < parts.size(); ++index) {
        const QString &part = parts.at(index);
        const bool last = index == parts.size() - 1;
        if (part.isEmpty() && !last)
            continue;
        QString name = part;
        if (!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..")) {
            const QString found = matchEntry(current, part);
            if (!found.isEmpty())
                name = found;
        }
        if (!current.endsWith(QLatin1Char('/')))
            current += QLatin1Char('/');
        current += name;
    }
    return current;
}

QString envFolder(const char *name)
{
    QString value = qEnvironmentVariable(name);
    while (value.size() > 1 && value.endsWith(QLatin1Char('/')))
        value.chop(1);
    return value;
}

} // namespace

QString resolve(const QString &windowsOrLocalPath)
{
    const QString path = windowsOrLocalPath.trimmed();
    if (path.isEmpty())
        return QString();
    const bool keepTrailing = isSeparator(path.back());
    if (path.startsWith(QLatin1Char('/')))
        return walk(QStringLiteral("/"), path, keepTrailing);
    if (hasDrive(path))
        return walk(driveRoot(path.at(0)), path.mid(2), keepTrailing);
    if (isSeparator(path.front()))
        return walk(driveRoot(QLatin1Char('C')), path, keepTrailing);
    return walk(programFolder(), path, keepTrailing);
}

QString resolveForOpen(const QString &windowsOrLocalPath)
{
    const QString &path = windowsOrLocalPath;
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')))
        return path;
    if (hasDrive(path))
        return walkForOpen(driveRoot(path.at(0)), path.mid(2));
    if (isSeparator(path.front()))
        return walkForOpen(driveRoot(QLatin1Char('C')), path);
    return walkForOpen(programFolder(), path);
}

QString resolveFromCurrentFolder(const QString &path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || hasDrive(trimmed) || isSeparator(trimmed.front()))
        return resolve(trimmed);
    return walk(QStringLiteral("/"), QDir::currentPath() + QLatin1Char('/') + trimmed, isSeparator(trimmed.back()));
}

QString driveRoot(QChar driveLetter)
{
    const QChar upper = driveLetter.toUpper();
    const QString own = envFolder(QStringLiteral("QUORL_DRIVE_%1").arg(upper).toLatin1().constData());
    if (!own.isEmpty())
        return own;
    QString cRoot = envFolder("QUORL_DRIVE_C");
    if (cRoot.isEmpty()) {
        QString dataHome = envFolder("XDG_DATA_HOME");
        if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
            dataHome = QDir::homePath() + QStringLiteral("/.local/share");
        cRoot = dataHome + QStringLiteral("/quorl-marina/drive_c");
    }
    if (upper == QLatin1Char('C'))
        return cRoot;
    return QFileInfo(cRoot).absolutePath() + QStringLiteral("/drive_") + upper.toLower();
}

QString programFolder()
{
    if (!s_programFolder.isEmpty())
        return s_programFolder;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void setProgramFolder(const QString &localFolder)
{
    s_programFolder = localFolder;
}

QString tempFolder()
{
    return QDir::tempPath();
}

QString joinWindows(const QString &folder, const QString &name)
{
    qsizetype start = 0;
    while (start < name.size() && isSeparator(name.at(start)))
        ++start;
    const QString tail = name.mid(start);
    if (folder.isEmpty())
        return tail;
    if (isSeparator(folder.back()))
        return folder + tail;
    const QChar separator = folder.startsWith(QLatin1Char('/')) ? QLatin1Char('/') : QLatin1Char('\\');
    return folder + separator + tail;
}

} // namespace quorl::paths
