#include "platform/paths/FileTargets.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include "platform/paths/Paths.h"

namespace quorl::paths {
namespace {

// As many links as the kernel follows before it gives up.
constexpr int kMaxLinks = 40;

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const Identity &) const = default;
};

Identity identityOf(const struct stat &st)
{
    return {st.st_dev, st.st_ino};
}

class FolderFd {
public:
    explicit FolderFd(int fd = -1) : m_fd(fd) {}
    ~FolderFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderFd(const FolderFd &) = delete;
    FolderFd &operator=(const FolderFd &) = delete;
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The database's own files as the kernel knows them.
struct GuardedFiles {
    std::optional<Identity> folder;
    QStringList names;        // inside that folder, whatever their letter case
    QList<Identity> existing; // those of them there now, by whatever name they are reached
};

GuardedFiles guardedFiles(const QString &databasePath)
{
    GuardedFiles guarded;
    if (databasePath.trimmed().isEmpty())
        return guarded;
    // Where the connection opens it.
    const QFileInfo database(resolve(databasePath));
    const QString name = database.fileName();
    const QString safetyCopy = QFileInfo(safetyCopyPath(database.filePath())).fileName();
    guarded.names = {name,
                     name + QStringLiteral("-journal"),
                     name + QStringLiteral("-wal"),
                     name + QStringLiteral("-shm"),
                     safetyCopy,
                     safetyCopy + QStringLiteral(".part")};
    struct stat st;
    if (::stat(QFile::encodeName(database.absolutePath()).constData(), &st) == 0)
        guarded.folder = identityOf(st);
    for (const QString &each : std::as_const(guarded.names)) {
        const QString path = database.absolutePath() + QLatin1Char('/') + each;
        if (::stat(QFile::encodeName(path).constData(), &st) == 0)
            guarded.existing += identityOf(st);
    }
    return guarded;
}

int openFolder(int at, const QByteArray &folder)
{
    return ::openat(at, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool isGuardedName(int folderFd, const QByteArray &name, const GuardedFiles &guarded)
{
    struct stat st;
    if (!guarded.folder || ::fstat(folderFd, &st) != 0 || identityOf(st) != *guarded.folder)
        return false;
    return guarded.names.contains(QFile::decodeName(name), Qt::CaseInsensitive);
}

enum class Verdict { Writable, DatabaseFile, NotPlain };

// What stands at name in the folder, judged by stat alone: nothing is opened, so a
// pipe cannot make the caller wait. Links are followed by hand, so that one to a
// file not there yet counts by where it points.
Verdict verdictAt(int folderFd, QByteArray name, const GuardedFiles &guarded)
{
    FolderFd hop;
    int folder = folderFd;
    for (int links = 0; links <= kMaxLinks; ++links) {
        if (isGuardedName(folder, name, guarded))
            return Verdict::DatabaseFile;
        struct stat own;
        // Nothing there, or a name that cannot be looked at: the open says why.
        if (::fstatat(folder, name.constData(), &own, AT_SYMLINK_NOFOLLOW) != 0)
            return Verdict::Writable;
        if (!S_ISLNK(own.st_mode)) {
            if (guarded.existing.contains(identityOf(own)))
                return Verdict::DatabaseFile;
            return S_ISREG(own.st_mode) ? Verdict::Writable : Verdict::NotPlain;
        }
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlinkat(folder, name.constData(), link.data(), size_t(link.size()));
        if (length < 0)
            return Verdict::Writable;
        link.truncate(length);
        const auto [linkFolder, linkName] = folderAndName(link);
        const int next = openFolder(folder, linkFolder);
        // A link into no folder: a rename replaces the link itself.
        if (next < 0)
            return Verdict::Writable;
        hop.reset(next);
        folder = next;
        name = linkName;
    }
    return Verdict::Writable;
}

Verdict verdictOf(const QString &path, const GuardedFiles &guarded)
{
    if (path.trimmed().isEmpty())
        return Verdict::Writable;
    const auto [folderPath, name] = folderAndName(QFile::encodeName(resolveForOpen(path)));
    const FolderFd folder(openFolder(AT_FDCWD, folderPath));
    // No such folder: the writer's open says so.
    if (folder.get() < 0)
        return Verdict::Writable;
    return verdictAt(folder.get(), name, guarded);
}

QString refusalFor(Verdict verdict, const QString &shownPath)
{
    switch (verdict) {
    case Verdict::DatabaseFile:
        return QStringLiteral("\"%1\" is the database in use or one of its own files; nothing was written. "
                              "Choose another file name.")
            .arg(shownPath);
    case Verdict::NotPlain:
        return QStringLiteral("\"%1\" is not a plain file (a folder, device or pipe); nothing was written. "
                              "Choose another file name.")
            .arg(shownPath);
    case Verdict::Writable:
        break;
    }
    return QString();
}

std::filesystem::path fsPath(const QString &localPath)
{
    return std::filesystem::path(QFile::encodeName(localPath).toStdString());
}

} // namespace

std::pair<QByteArray, QByteArray> folderAndName(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    QByteArray name = path.mid(slash + 1);
    if (name.isEmpty())
        name = ".";
    return {folder, name};
}

QString safetyCopyPath(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".bak");
}

bool isDatabaseFileOf(const QString &path, const QString &databasePath)
{
    return verdictOf(path, guardedFiles(databasePath)) == Verdict::DatabaseFile;
}

QString writeRefusal(const QString &path, const QString &databasePath)
{
    return refusalFor(verdictOf(path, guardedFiles(databasePath)), path);
}

QString writeRefusalAt(int folderFd, const QString &name, const QString &databasePath, const QString &shownPath)
{
    return refusalFor(verdictAt(folderFd, QFile::encodeName(name), guardedFiles(databasePath)), shownPath);
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
