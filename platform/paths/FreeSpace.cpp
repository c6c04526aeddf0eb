#include "platform/paths/FreeSpace.h"

#include <cerrno>
#include <utility>

#include <sys/statvfs.h>

#include <QFile>

namespace quorl::paths {
namespace {

// The folder's own file system, not the mount table: inside a chroot or a container
// the table may not list the root at all, and a size looked up there is unknown.
std::optional<quint64> askTheSystem(const QString &folder)
{
    struct statvfs stats {};
    int rc;
    do
        rc = ::statvfs(QFile::encodeName(folder).constData(), &stats);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return std::nullopt;
    return quint64(stats.f_bavail) * quint64(stats.f_frsize);
}

FreeSpaceQuestion &currentQuestion()
{
    static FreeSpaceQuestion question;
    return question;
}

} // namespace

std::optional<quint64> freeBytes(const QString &folder)
{
    const FreeSpaceQuestion &question = currentQuestion();
    return question ? question(folder) : askTheSystem(folder);
}

FreeSpaceQuestion setFreeSpaceQuestion(FreeSpaceQuestion question)
{
    return std::exchange(currentQuestion(), std::move(question));
}

} // namespace quorl::paths
