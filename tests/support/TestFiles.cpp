#include "support/TestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace quorl {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void makeFifo(const QString &path)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
}

bool makeNullDevice(const QString &path)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

QString entryFingerprint(const QString &path)
{
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return QStringLiteral("nothing");
    if (S_ISREG(entry.st_mode))
        return QStringLiteral("file ") + QString::fromLatin1(readFile(path).toHex());
    if (S_ISDIR(entry.st_mode))
        return QStringLiteral("folder ")
            + QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(u' ');
    if (S_ISFIFO(entry.st_mode))
        return QStringLiteral("pipe");
    if (S_ISCHR(entry.st_mode))
        return QStringLiteral("device %1:%2").arg(major(entry.st_rdev)).arg(minor(entry.st_rdev));
    if (S_ISLNK(entry.st_mode))
        return QStringLiteral("link to ") + QFile::symLinkTarget(path);
    return QStringLiteral("other");
}

FifoWatchdog::FifoWatchdog(const QString &fifoPath, std::chrono::milliseconds grace)
    : m_path(QFile::encodeName(fifoPath).toStdString())
    , m_thread([this, grace] { watch(grace); })
{
}

FifoWatchdog::~FifoWatchdog()
{
    m_done = true;
    m_thread.join();
}

void FifoWatchdog::watch(std::chrono::milliseconds grace)
{
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (!m_done && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    if (m_done)
        return;
    m_rescued = true;
    // A writer waiting in open goes on once a reader is there; a reader waiting in
    // open goes on once a writer came, and meets the end of the data when it leaves.
    const int reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
    char buffer[4096];
    while (!m_done) {
        const int writer = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        if (reader >= 0)
            while (::read(reader, buffer, sizeof buffer) > 0) {
            }
        std::this_thread::sleep_for(10ms);
    }
    if (reader >= 0)
        ::close(reader);
}

} // namespace quorl
