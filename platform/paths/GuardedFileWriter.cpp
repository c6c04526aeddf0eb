#include "platform/paths/GuardedFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <tuple>
#include <utility>

#include <QFile>
#include <QRandomGenerator>

#include "platform/paths/FileTargets.h"

namespace quorl::paths {
namespace {

constexpr int kNameAttempts = 100;
// Room for ".tmp-XXXXXX" within a name of at most 255 bytes.
constexpr qsizetype kKeptNameBytes = 240;

QByteArray temporaryNameFor(const QByteArray &name)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray temporary = name.left(kKeptNameBytes) + ".tmp-";
    for (int i = 0; i < 6; ++i)
        temporary += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return temporary;
}

} // namespace

GuardedFileWriter::GuardedFileWriter(const QString &localPath, const QString &databasePath)
    : m_path(localPath)
    , m_databasePath(databasePath)
{
}

GuardedFileWriter::~GuardedFileWriter()
{
    discard();
    if (m_folder >= 0)
        ::close(m_folder);
}

bool GuardedFileWriter::open()
{
    QByteArray folder;
    std::tie(folder, m_name) = folderAndName(QFile::encodeName(m_path));
    m_folder = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0)
        return failWithSystemError();
    const QString refusal = writeRefusalAt(m_folder, QFile::decodeName(m_name), m_databasePath, m_path);
    if (!refusal.isEmpty())
        return fail(refusal);

    for (int attempt = 0; attempt < kNameAttempts && m_file < 0; ++attempt) {
        const QByteArray temporary = temporaryNameFor(m_name);
        m_file = ::openat(m_folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_file >= 0)
            m_temporaryName = temporary;
        else if (errno != EEXIST)
            return failWithSystemError();
    }
    if (m_file < 0)
        return failWithSystemError();
    // A file replaced keeps its rights; a new one gets what the umask leaves of 0666.
    struct stat existing;
    if (::fstatat(m_folder, m_name.constData(), &existing, 0) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(m_file, existing.st_mode & 07777);
    return true;
}

bool GuardedFileWriter::write(const QByteArray &bytes)
{
    if (m_failed || m_file < 0)
        return false;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_file, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failWithSystemError();
        data += written;
        left -= written;
    }
    return true;
}

bool GuardedFileWriter::commit()
{
    if (m_failed || m_file < 0)
        return false;
    if (::fsync(m_file) != 0)
        return failWithSystemError();
    const int file = std::exchange(m_file, -1);
    if (::close(file) != 0)
        return failWithSystemError();
    // The name may have changed since open: what stands there now decides.
    const QString refusal = writeRefusalAt(m_folder, QFile::decodeName(m_name), m_databasePath, m_path);
    if (!refusal.isEmpty())
        return fail(refusal);
    if (::renameat(m_folder, m_temporaryName.constData(), m_folder, m_name.constData()) != 0)
        return failWithSystemError();
    m_temporaryName.clear();
    return true;
}

QString GuardedFileWriter::errorString() const
{
    return m_error;
}

bool GuardedFileWriter::fail(const QString &error)
{
    m_failed = true;
    m_error = error;
    discard();
    return false;
}

bool GuardedFileWriter::failWithSystemError()
{
    return fail(QString::fromLocal8Bit(std::strerror(errno)));
}

void GuardedFileWriter::discard()
{
    if (m_file >= 0)
        ::close(std::exchange(m_file, -1));
    if (!m_temporaryName.isEmpty() && m_folder >= 0)
        ::unlinkat(m_folder, m_temporaryName.constData(), 0);
    m_temporaryName.clear();
}

} // namespace quorl::paths
