#include "archive/ttsgz.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zlib.h>

namespace {

std::atomic<ZProgressCallback> g_callback{nullptr};

constexpr unsigned char kMagic[4] = {'Q', 'S', 'P', 'A'};
constexpr uint16_t kVersion = 1;
constexpr size_t kHeaderSize = 40;
// Large buffers keep the number of system calls and callbacks low.
constexpr size_t kChunk = size_t(1) << 20;

struct Header {
    uint64_t originalSize = 0;
    uint64_t packedSize = 0;
    uint32_t dataCrc = 0;
    uint32_t passwordCheck = 0;
    uint32_t salt = 0;
};

void put16(unsigned char *p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(unsigned char *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

void put64(unsigned char *p, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

uint16_t get16(const unsigned char *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t get32(const unsigned char *p)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

uint64_t get64(const unsigned char *p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

uint32_t crcOf(uint32_t crc, const void *data, size_t size)
{
    const auto *bytes = static_cast<const Bytef *>(data);
    while (size > 0) {
        const uInt part = size > UINT_MAX ? UINT_MAX : uInt(size);
        crc = uint32_t(crc32(crc, bytes, part));
        bytes += part;
        size -= part;
    }
    return crc;
}

// Tells a right password from a wrong one without storing it; the salt makes two
// archives with the same password carry different checks.
uint32_t passwordCheck(uint32_t salt, const char *password)
{
    unsigned char saltBytes[4];
    put32(saltBytes, salt);
    uint32_t crc = crcOf(0, saltBytes, sizeof saltBytes);
    return crcOf(crc, password, std::strlen(password));
}

void encodeHeader(const Header &h, unsigned char *out)
{
    std::memcpy(out, kMagic, 4);
    put16(out + 4, kVersion);
    put16(out + 6, 0);
    put64(out + 8, h.originalSize);
    put64(out + 16, h.packedSize);
    put32(out + 24, h.dataCrc);
    put32(out + 28, h.passwordCheck);
    put32(out + 32, h.salt);
    put32(out + 36, crcOf(0, out, 36));
}

bool decodeHeader(const unsigned char *in, Header &h)
{
    if (std::memcmp(in, kMagic, 4) != 0 || get16(in + 4) != kVersion || get32(in + 36) != crcOf(0, in, 36))
        return false;
    h.originalSize = get64(in + 8);
    h.packedSize = get64(in + 16);
    h.dataCrc = get32(in + 24);
    h.passwordCheck = get32(in + 28);
    h.salt = get32(in + 32);
    return true;
}

// Reports progress and asks whether to stop. Values are scaled down to fit the
// callback's 32-bit arguments.
class Progress {
public:
    explicit Progress(uint64_t total)
        : m_total(total)
    {
        while ((m_total >> m_shift) > uint64_t(INT32_MAX))
            ++m_shift;
    }

    // True when the caller asked to abort.
    bool report(uint64_t done) const
    {
        const ZProgressCallback callback = g_callback.load();
        if (!callback)
            return false;
        if (done > m_total)
            done = m_total;
        int32_t abort = 0;
        callback(int32_t(m_total >> m_shift), int32_t(done >> m_shift), &abort);
        return abort != 0;
    }

private:
    uint64_t m_total;
    int m_shift = 0;
};

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd)
        : m_fd(fd)
    {
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;

    void reset(int fd)
    {
        close();
        m_fd = fd;
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes and reports whether the last writes reached the file.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd = -1;
};

bool syncFolderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

// The temporary file beside the target; removed unless committed. It is locked
// (flock) for as long as this call holds it, so the program can tell the file of a
// killed call, which nobody locks, from one still being written.
class TempFile {
public:
    ~TempFile()
    {
        if (!m_path.empty() && !m_committed)
            ::unlink(m_path.c_str());
        m_fd.close();
    }

    // 0 or the result code for a target whose folder cannot take a new file.
    int32_t create(const std::string &target)
    {
        // A clean-up may remove the new file before it is locked: then make another.
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::vector<char> name(target.begin(), target.end());
            const char suffix[] = ".tmp-XXXXXX";
            name.insert(name.end(), suffix, suffix + sizeof suffix);
            const int fd = ::mkstemp(name.data());
            if (fd < 0)
                return (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) ? ZRESULT_BAD_FILE_NAME
                                                                                      : ZRESULT_WRITE_ERROR;
            m_fd.reset(fd);
            if (::flock(fd, LOCK_EX) != 0) {
                ::unlink(name.data());
                continue;
            }
            struct stat held;
            if (::fstat(fd, &held) == 0 && held.st_nlink > 0) {
                m_path = name.data();
                return ZRESULT_OK;
            }
        }
        m_fd.close();
        return ZRESULT_WRITE_ERROR;
    }

    int fd() const { return m_fd.get(); }

    // Makes the contents durable and puts the file in place of the target, still
    // locked, so no clean-up can take it on the way.
    int32_t commit(const std::string &target, mode_t mode)
    {
        ::fchmod(m_fd.get(), mode);
        if (::fsync(m_fd.get()) != 0)
            return ZRESULT_WRITE_ERROR;
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            return ZRESULT_WRITE_ERROR;
        m_committed = true;
        m_fd.close();   // the data were synced above: nothing is left to report
        // The rename lives in the folder: until it is synced a power cut can bring
        // the old file back under the name.
        return syncFolderOf(target) ? ZRESULT_OK : ZRESULT_WRITE_ERROR;
    }

private:
    std::string m_path;
    Fd m_fd;
    bool m_committed = false;
};

// Starts writing what was just written to the disk, without waiting: the sync before
// the rename then finds little left to do, rather than holding the caller, with no
// progress told, for as long as it takes to write the whole file.
void startWriteback(int fd, size_t size)
{
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    if (end >= off_t(size))
        ::sync_file_range(fd, end - off_t(size), off_t(size), SYNC_FILE_RANGE_WRITE);
}

bool writeAll(int fd, const unsigned char *data, size_t size)
{
    const size_t whole = size;
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    startWriteback(fd, whole);
    return true;
}

// Reads up to size bytes; fewer only at the end of the file. -1 on error.
ssize_t readFull(int fd, unsigned char *data, size_t size)
{
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, data + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        got += size_t(n);
    }
    return ssize_t(got);
}

int32_t openError()
{
    return (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == EISDIR) ? ZRESULT_BAD_FILE_NAME
                                                                                           : ZRESULT_READ_ERROR;
}

// Opens a plain file for reading. A FIFO opened for reading waits for a writer that
// may never come, so the kind of file is looked at first, and the open itself cannot
// wait should a FIFO take the name in between.
int32_t openPlainFile(const char *path, Fd &file, struct stat &fileStat)
{
    struct stat named;
    if (::stat(path, &named) != 0)
        return openError();
    if (!S_ISREG(named.st_mode))
        return ZRESULT_BAD_FILE_NAME;
    file.reset(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid())
        return openError();
    if (::fstat(file.get(), &fileStat) != 0)
        return ZRESULT_READ_ERROR;
    return S_ISREG(fileStat.st_mode) ? ZRESULT_OK : ZRESULT_BAD_FILE_NAME;
}

// The bytes the unpacked data must begin with, compared as the data come.
class ExpectedStart {
public:
    ExpectedStart(const void *prefix, int32_t length)
        : m_prefix(static_cast<const unsigned char *>(prefix))
        , m_length(prefix && length > 0 ? size_t(length) : 0)
    {
    }

    // True while the data so far, of which these are the next, begin as expected.
    bool agrees(const unsigned char *data, size_t size)
    {
        const size_t compared = std::min(size, m_length - m_matched);
        if (compared == 0)
            return true;   // the prefix may be null when there is none
        if (std::memcmp(data, m_prefix + m_matched, compared) != 0)
            return false;
        m_matched += compared;
        return true;
    }
    // True once the whole prefix was seen.
    bool complete() const { return m_matched == m_length; }

private:
    const unsigned char *m_prefix;
    size_t m_length;
    size_t m_matched = 0;
};

bool sameFile(const struct stat &a, const std::string &path)
{
    struct stat b;
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool usable(const char *text)
{
    return text && *text;
}

mode_t modeFor(const std::string &target, mode_t fallback)
{
    struct stat st;
    return ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : fallback;
}

uint32_t newSalt()
{
    uint32_t salt = 0;
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        if (::read(fd, &salt, sizeof salt) != ssize_t(sizeof salt))
            salt = 0;
        ::close(fd);
    }
    return salt ? salt : uint32_t(::getpid()) * 2654435761u;
}

class Deflater {
public:
    ~Deflater()
    {
        if (m_ready)
            deflateEnd(&stream);
    }
    int init(int level)
    {
        const int rc = deflateInit2(&stream, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        m_ready = rc == Z_OK;
        return rc;
    }
    z_stream stream{};

private:
    bool m_ready = false;
};

class Inflater {
public:
    ~Inflater()
    {
        if (m_ready)
            inflateEnd(&stream);
    }
    int init()
    {
        const int rc = inflateInit(&stream);
        m_ready = rc == Z_OK;
        return rc;
    }
    z_stream stream{};

private:
    bool m_ready = false;
};

int32_t compressFile(const char *sourcePath, const char *archivePath, const char *password, int32_t level)
{
    if (!usable(sourcePath) || !usable(archivePath))
        return ZRESULT_BAD_FILE_NAME;
    if (!password)
        password = "";
    if (level < 0 || level > 9)
        level = Z_DEFAULT_COMPRESSION;

    Fd source;
    struct stat sourceStat;
    if (const int32_t rc = openPlainFile(sourcePath, source, sourceStat))
        return rc;
    const std::string target(archivePath);
    // Writing the archive over its own source would destroy the source.
    if (sameFile(sourceStat, target))
        return ZRESULT_BAD_FILE_NAME;

    TempFile out;
    if (const int32_t rc = out.create(target))
        return rc;

    Header header;
    header.salt = newSalt();
    header.passwordCheck = passwordCheck(header.salt, password);
    unsigned char headerBytes[kHeaderSize] = {};
    if (!writeAll(out.fd(), headerBytes, kHeaderSize))
        return ZRESULT_WRITE_ERROR;

    Deflater deflater;
    const int initRc = deflater.init(level);
    if (initRc == Z_MEM_ERROR)
        return ZRESULT_OUT_OF_MEMORY;
    if (initRc != Z_OK)
        return ZRESULT_WRITE_ERROR;
    z_stream &z = deflater.stream;

    std::vector<unsigned char> in(kChunk);
    std::vector<unsigned char> packed(kChunk);
    const Progress progress(uint64_t(sourceStat.st_size));
    uint64_t done = 0;
    uint32_t crc = 0;
    bool atEnd = false;
    while (!atEnd) {
        if (progress.report(done))
            return ZRESULT_USER_ABORT;
        const ssize_t got = readFull(source.get(), in.data(), in.size());
        if (got < 0)
            return ZRESULT_READ_ERROR;
        atEnd = size_t(got) < in.size();
        done += uint64_t(got);
        crc = crcOf(crc, in.data(), size_t(got));
        z.next_in = in.data();
        z.avail_in = uInt(got);
        const int flush = atEnd ? Z_FINISH : Z_NO_FLUSH;
        int rc = Z_OK;
        do {
            z.next_out = packed.data();
            z.avail_out = uInt(packed.size());
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR)
                return ZRESULT_WRITE_ERROR;
            const size_t produced = packed.size() - z.avail_out;
            if (!writeAll(out.fd(), packed.data(), produced))
                return ZRESULT_WRITE_ERROR;
            header.packedSize += produced;
        } while (z.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    }
    if (progress.report(done))
        return ZRESULT_USER_ABORT;

    header.originalSize = done;
    header.dataCrc = crc;
    encodeHeader(header, headerBytes);
    if (::pwrite(out.fd(), headerBytes, kHeaderSize, 0) != ssize_t(kHeaderSize))
        return ZRESULT_WRITE_ERROR;
    return out.commit(target, modeFor(target, 0644));
}

// Opens the archive and reads its header; the file is left just after it.
int32_t openArchive(const char *archivePath, const char *password, Fd &archive, struct stat &archiveStat,
                    Header &header)
{
    if (!usable(archivePath))
        return ZRESULT_BAD_FILE_NAME;
    if (!password)
        password = "";
    if (const int32_t rc = openPlainFile(archivePath, archive, archiveStat))
        return rc;
    unsigned char headerBytes[kHeaderSize];
    if (readFull(archive.get(), headerBytes, kHeaderSize) != ssize_t(kHeaderSize) || !decodeHeader(headerBytes, header))
        return ZRESULT_READ_ERROR;
    if (header.passwordCheck != passwordCheck(header.salt, password))
        return ZRESULT_READ_ERROR;
    // A truncated archive, or one with bytes added, is refused before anything is written.
    if (uint64_t(archiveStat.st_size) != kHeaderSize + header.packedSize)
        return ZRESULT_READ_ERROR;
    return ZRESULT_OK;
}

int32_t originalSizeOf(const char *archivePath, const char *password, uint64_t *size)
{
    if (!size)
        return ZRESULT_BAD_FILE_NAME;
    Fd archive;
    struct stat archiveStat;
    Header header;
    if (const int32_t rc = openArchive(archivePath, password, archive, archiveStat, header))
        return rc;
    *size = header.originalSize;
    return ZRESULT_OK;
}

int32_t uncompressFile(const char *archivePath, const char *destinationPath, const char *password,
                       ExpectedStart expected)
{
    if (!usable(archivePath) || !usable(destinationPath))
        return ZRESULT_BAD_FILE_NAME;
    Fd archive;
    struct stat archiveStat;
    Header header;
    if (const int32_t rc = openArchive(archivePath, password, archive, archiveStat, header))
        return rc;
    const std::string target(destinationPath);
    if (sameFile(archiveStat, target))
        return ZRESULT_BAD_FILE_NAME;

    TempFile out;
    if (const int32_t rc = out.create(target))
        return rc;

    Inflater inflater;
    const int initRc = inflater.init();
    if (initRc == Z_MEM_ERROR)
        return ZRESULT_OUT_OF_MEMORY;
    if (initRc != Z_OK)
        return ZRESULT_READ_ERROR;
    z_stream &z = inflater.stream;

    std::vector<unsigned char> in(kChunk);
    std::vector<unsigned char> plain(kChunk);
    const Progress progress(header.packedSize);
    uint64_t consumed = 0;
    uint64_t produced = 0;
    uint32_t crc = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (progress.report(consumed))
            return ZRESULT_USER_ABORT;
        const ssize_t got = readFull(archive.get(), in.data(), in.size());
        if (got < 0)
            return ZRESULT_READ_ERROR;
        if (got == 0)
            return ZRESULT_READ_ERROR;   // the stream ended early
        consumed += uint64_t(got);
        z.next_in = in.data();
        z.avail_in = uInt(got);
        do {
            z.next_out = plain.data();
            z.avail_out = uInt(plain.size());
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_MEM_ERROR)
                return ZRESULT_OUT_OF_MEMORY;
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                return ZRESULT_READ_ERROR;
            const size_t size = plain.size() - z.avail_out;
            produced += size;
            // Never write more than the header promised: a damaged stream stops here.
            if (produced > header.originalSize)
                return ZRESULT_READ_ERROR;
            // A bomb of some other data stops at its first bytes, before they fill the disk.
            if (!expected.agrees(plain.data(), size))
                return ZRESULT_UNEXPECTED_DATA;
            crc = crcOf(crc, plain.data(), size);
            if (!writeAll(out.fd(), plain.data(), size))
                return ZRESULT_WRITE_ERROR;
        } while (rc != Z_STREAM_END && z.avail_out == 0);
        if (rc == Z_STREAM_END && (z.avail_in != 0 || consumed != header.packedSize))
            return ZRESULT_READ_ERROR;   // data after the end of the stream
    }
    if (produced != header.originalSize || crc != header.dataCrc)
        return ZRESULT_READ_ERROR;
    if (!expected.complete())
        return ZRESULT_UNEXPECTED_DATA;
    if (progress.report(consumed))
        return ZRESULT_USER_ABORT;
    return out.commit(target, modeFor(target, 0644));
}

} // namespace

extern "C" {

TTSGZ_API int32_t Zcompress(const char *sourcePath, const char *archivePath, const char *password, int32_t level)
{
    try {
        return compressFile(sourcePath, archivePath, password, level);
    } catch (const std::bad_alloc &) {
        return ZRESULT_OUT_OF_MEMORY;
    } catch (...) {
        return ZRESULT_WRITE_ERROR;
    }
}

TTSGZ_API int32_t Zuncompress(const char *archivePath, const char *destinationPath, const char *password)
{
    return ZuncompressExpecting(archivePath, destinationPath, password, nullptr, 0);
}

TTSGZ_API int32_t ZuncompressExpecting(const char *archivePath, const char *destinationPath, const char *password,
                                       const void *prefix, int32_t prefixLength)
{
    try {
        return uncompressFile(archivePath, destinationPath, password, ExpectedStart(prefix, prefixLength));
    } catch (const std::bad_alloc &) {
        return ZRESULT_OUT_OF_MEMORY;
    } catch (...) {
        return ZRESULT_READ_ERROR;
    }
}

TTSGZ_API int32_t ZoriginalSize(const char *archivePath, const char *password, uint64_t *size)
{
    try {
        return originalSizeOf(archivePath, password, size);
    } catch (...) {
        return ZRESULT_READ_ERROR;
    }
}

TTSGZ_API int32_t RegisterCallback(ZProgressCallback callback)
{
    g_callback.store(callback);
    return 0;
}

TTSGZ_API int32_t UnregisterCallback(void)
{
    g_callback.store(nullptr);
    return 0;
}

} // extern "C"
