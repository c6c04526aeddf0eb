#include "core/MaintenanceFiles.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quorl {
namespace {

const QString kFolderPrefix = QStringLiteral("quorl-maintenance-");

std::string systemError()
{
    return std::strerror(errno);
}

// True while fd still is the entry at path: a clean-up of another instance may
// have removed the entry between its creation and the lock.
bool stillLinked(int fd, const QByteArray &path)
{
    struct stat held;
    struct stat named;
    return ::fstat(fd, &held) == 0 && held.st_nlink > 0 && ::lstat(path.constData(), &named) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// The entry at path, of kind (S_IFREG or S_IFDIR), opened and locked when it is a
// dead run's: this user's, no link, and nobody holding its lock; -1 otherwise. The
// open neither follows a link nor waits (a FIFO put there would wait for a writer),
// and what it opened must be the entry looked at.
int lockIfDead(int folder, const QByteArray &name, const QString &path, mode_t kind)
{
    struct stat named;
    if (::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0 || (named.st_mode & S_IFMT) != kind
        || named.st_uid != ::geteuid())
        return -1;
    const int fd = ::openat(folder, name.constData(),
                            O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | (kind == S_IFDIR ? O_DIRECTORY : 0));
    if (fd < 0)
        return -1;
    struct stat held;
    if (::fstat(fd, &held) != 0 || held.st_dev != named.st_dev || held.st_ino != named.st_ino
        || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || !stillLinked(fd, QFile::encodeName(path))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Removes what the folder holds, links as links: nothing outside it is touched.
bool removeContents(int folder)
{
    const int listed = ::dup(folder);
    DIR *entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!entries) {
        if (listed >= 0)
            ::close(listed);
        return false;
    }
    bool removed = true;
    while (const dirent *entry = ::readdir(entries)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat info;
        if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            removed = false;
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            removed = inner >= 0 && removeContents(inner) && removed;
            if (inner >= 0)
                ::close(inner);
            removed = ::unlinkat(folder, name, AT_REMOVEDIR) == 0 && removed;
        } else {
            removed = ::unlinkat(folder, name, 0) == 0 && removed;
        }
    }
    ::closedir(entries);
    return removed;
}

QString refusalOfPartialFile(const QString &path)
{
    return QStringLiteral("\"%1\" is in the way of the safety copy: it is not a plain file (a folder, link, device "
                          "or pipe). Move it away, then try again.")
        .arg(path);
}

void syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const std::string reason = systemError();
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        throw std::runtime_error("The folder of \"" + path.toStdString() + "\" cannot be written: " + reason);
}

int removeDeadFolders()
{
    const QString temp = QDir::tempPath();
    const int parent = ::open(QFile::encodeName(temp).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return 0;
    int removed = 0;
    const QStringList names = QDir(temp).entryList({kFolderPrefix + QLatin1Char('*')},
                                                   QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QByteArray entry = QFile::encodeName(name);
        const int lock = lockIfDead(parent, entry, temp + QLatin1Char('/') + name, S_IFDIR);
        if (lock < 0)
            continue;
        if (removeContents(lock) && ::unlinkat(parent, entry.constData(), AT_REMOVEDIR) == 0)
            ++removed;
        ::close(lock);
    }
    ::close(parent);
    return removed;
}

// Removes one entry of the folder when it is a dead run's plain file.
int removeIfDeadFile(const QString &path)
{
    const QFileInfo info(path);
    const int folder = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0;
    const QByteArray name = QFile::encodeName(info.fileName());
    const int lock = lockIfDead(folder, name, path, S_IFREG);
    const bool removed = lock >= 0 && ::unlinkat(folder, name.constData(), 0) == 0;
    if (lock >= 0)
        ::close(lock);
    ::close(folder);
    return removed ? 1 : 0;
}

int removeDeadPartialFile(const QString &target)
{
    const QString part = target + QStringLiteral(".part");
    struct stat named;
    if (::lstat(QFile::encodeName(part).constData(), &named) == 0 && !S_ISREG(named.st_mode))
        throw std::runtime_error(refusalOfPartialFile(part).toStdString());
    return removeIfDeadFile(part);
}

// Only the archive library's partial files of this very archive: its name, then
// mkstemp's suffix of six letters and digits. Another archive's are another run's.
int removeDeadArchiveParts(const QString &archive)
{
    static const QRegularExpression suffix(QStringLiteral("^\\.tmp-[A-Za-z0-9]{6}$"));
    const QFileInfo chosen(archive);
    const QString stem = chosen.fileName();
    int removed = 0;
    const QStringList names = QDir(chosen.absolutePath())
                                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names)
        if (name.startsWith(stem) && suffix.match(name.mid(stem.size())).hasMatch())
            removed += removeIfDeadFile(chosen.absolutePath() + QLatin1Char('/') + name);
    return removed;
}

} // namespace

MaintenanceFolder::MaintenanceFolder()
{
    QDir().mkpath(QDir::tempPath());
    // A clean-up may remove the new folder before it is locked: then make another.
    for (int attempt = 0; attempt < 3; ++attempt) {
        QByteArray name = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + kFolderPrefix
                                            + QStringLiteral("XXXXXX"));
        if (!::mkdtemp(name.data()))
            throw std::runtime_error("No temporary folder can be made for the work: " + systemError());
        const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX) == 0 && stillLinked(fd, name)) {
            m_path = QFile::decodeName(name);
            m_lock = fd;
            return;
        }
        if (fd >= 0)
            ::close(fd);
    }
    throw std::runtime_error("No temporary folder can be made for the work.");
}

MaintenanceFolder::~MaintenanceFolder()
{
    if (removeContents(m_lock))
        ::rmdir(QFile::encodeName(m_path).constData());
    ::close(m_lock);
}

QString MaintenanceFolder::filePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}

PartialFile::PartialFile(const QString &target)
    : m_target(target)
    , m_path(target + QStringLiteral(".part"))
{
    const QByteArray name = QFile::encodeName(m_path);
    for (int attempt = 0; attempt < 3 && m_fd < 0; ++attempt) {
        // Neither a link followed nor a FIFO waited on: what is there must be a plain file.
        struct stat named;
        if (::lstat(name.constData(), &named) == 0 && !S_ISREG(named.st_mode))
            throw std::runtime_error(refusalOfPartialFile(m_path).toStdString());
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0 && errno == ELOOP)
            throw std::runtime_error(refusalOfPartialFile(m_path).toStdString());
        if (fd < 0)
            throw std::runtime_error("The file \"" + m_target.toStdString() + "\" cannot be written: " + systemError());
        struct stat held;
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            throw std::runtime_error(refusalOfPartialFile(m_path).toStdString());
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            throw std::runtime_error("The file \"" + m_target.toStdString()
                                     + "\" is being written by another instance of the program. Try again when it "
                                       "has finished.");
        }
        if (stillLinked(fd, name))
            m_fd = fd;
        else
            ::close(fd);
    }
    if (m_fd < 0)
        throw std::runtime_error("The file \"" + m_target.toStdString() + "\" cannot be written.");
    // What a dead run left in it is no part of the new file.
    if (::ftruncate(m_fd, 0) != 0) {
        const std::string reason = systemError();
        ::close(m_fd);
        throw std::runtime_error("The file \"" + m_target.toStdString() + "\" cannot be written: " + reason);
    }
}

PartialFile::~PartialFile()
{
    // Only while the name still is this file: a failed build may have removed it.
    if (!m_placed && stillLinked(m_fd, QFile::encodeName(m_path)))
        QFile::remove(m_path);
    ::close(m_fd);
}

void PartialFile::putInPlace()
{
    if (::fsync(m_fd) != 0)
        throw std::runtime_error("The file \"" + m_target.toStdString() + "\" cannot be written: " + systemError());
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_target).constData()) != 0)
        throw std::runtime_error("The file \"" + m_target.toStdString() + "\" cannot be written: " + systemError());
    m_placed = true;
    syncFolderOf(m_target);
}

int removeDeadLeftovers(const QString &safetyCopy, const QString &archive)
{
    int removed = removeDeadFolders() + removeDeadPartialFile(safetyCopy);
    if (!archive.isEmpty())
        removed += removeDeadArchiveParts(archive);
    return removed;
}

} // namespace quorl
