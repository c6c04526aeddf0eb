#include "core/MaintenanceFiles.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

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

// The entry at path opened and locked, or -1 when it is gone or another run holds it.
int lockIfUnheld(const QString &path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !stillLinked(fd, name)) {
        ::close(fd);
        return -1;
    }
    return fd;
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

// A partial archive begins with the archive's header, or with the zeros that keep
// its place until the end: nothing else of that name is taken for one.
bool looksLikePartialArchive(int fd)
{
    char head[40] = {};
    const ssize_t got = ::pread(fd, head, sizeof head, 0);
    if (got < 0)
        return false;
    if (got >= 4 && std::memcmp(head, "QSPA", 4) == 0)
        return true;
    for (ssize_t i = 0; i < got; ++i)
        if (head[i] != 0)
            return false;
    return true;
}

int removeDeadFolders()
{
    int removed = 0;
    const QFileInfoList folders = QDir(QDir::tempPath())
                                      .entryInfoList({kFolderPrefix + QLatin1Char('*')},
                                                     QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &folder : folders) {
        const int lock = lockIfUnheld(folder.filePath(), O_RDONLY | O_DIRECTORY);
        if (lock < 0)
            continue;
        if (QDir(folder.filePath()).removeRecursively())
            ++removed;
        ::close(lock);
    }
    return removed;
}

int removeDeadPartialFile(const QString &target)
{
    const int lock = lockIfUnheld(target + QStringLiteral(".part"), O_RDONLY);
    if (lock < 0)
        return 0;
    const bool removed = QFile::remove(target + QStringLiteral(".part"));
    ::close(lock);
    return removed ? 1 : 0;
}

int removeDeadArchiveParts(const QString &archive)
{
    // The archive library's own suffix: mkstemp's six letters and digits.
    static const QRegularExpression partName(QStringLiteral("^.+\\.tmp-[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QFileInfoList files = QDir(QFileInfo(archive).absolutePath())
                                    .entryInfoList({QStringLiteral("*.tmp-??????")},
                                                   QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    const QString chosen = QFileInfo(archive).absoluteFilePath();
    for (const QFileInfo &file : files) {
        // The archive the user chose is never taken for litter, whatever its name.
        if (!partName.match(file.fileName()).hasMatch() || file.absoluteFilePath() == chosen)
            continue;
        const int lock = lockIfUnheld(file.filePath(), O_RDONLY);
        if (lock < 0)
            continue;
        if (looksLikePartialArchive(lock) && QFile::remove(file.filePath()))
            ++removed;
        ::close(lock);
    }
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
    QDir(m_path).removeRecursively();
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
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            throw std::runtime_error("The file \"" + m_target.toStdString() + "\" cannot be written: " + systemError());
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
