#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <QByteArray>
#include <QString>

namespace quorl {

// The file's bytes, or "<missing>" when it cannot be read, so that a comparison
// with expected bytes fails with a readable value.
QByteArray readFile(const QString &path);

// Writes bytes over the file; the test fails when it cannot be opened.
void writeFile(const QString &path, const QByteArray &bytes);

// Makes a named pipe; the test fails when it cannot.
void makeFifo(const QString &path);

// Makes a character device that swallows what is written, as /dev/null does, in
// the test's own folder, so a fault never replaces a device of the system. False
// where devices cannot be made (no rights).
bool makeNullDevice(const QString &path);

// What stands at the path, for before-and-after comparisons: its kind, and the
// bytes of a file, the device number of a device or the names in a folder.
QString entryFingerprint(const QString &path);

// Keeps a test from hanging on a named pipe: when the test has not ended within
// the grace period, it opens the other end without waiting and reads whatever
// comes, so code that opened the pipe goes on (and the test fails on rescued()).
class FifoWatchdog
{
public:
    explicit FifoWatchdog(const QString &fifoPath, std::chrono::milliseconds grace = std::chrono::seconds(5));
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog &) = delete;
    FifoWatchdog &operator=(const FifoWatchdog &) = delete;

    bool rescued() const { return m_rescued; }

private:
    void watch(std::chrono::milliseconds grace);

    std::string m_path;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_rescued{false};
    std::thread m_thread;
};

} // namespace quorl
