#include "support/HostileFiles.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QFile>

#include <zlib.h>

#include "support/TestFiles.h"

namespace quorl {
namespace {

constexpr qsizetype kZeroChunk = 1 << 20;

void put(QByteArray &out, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * i));
}

const Bytef *bytesOf(const QByteArray &bytes)
{
    return reinterpret_cast<const Bytef *>(bytes.constData());
}

quint32 crcOf(quint32 crc, const QByteArray &bytes)
{
    return quint32(crc32(crc, bytesOf(bytes), uInt(bytes.size())));
}

// Deflates input and flushes; after a full flush the compressor starts afresh, so the
// same input gives the same bytes every time.
QByteArray deflated(z_stream &z, const QByteArray &input, int flush)
{
    QByteArray out;
    QByteArray buffer(kZeroChunk, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    z.avail_in = uInt(input.size());
    do {
        z.next_out = reinterpret_cast<Bytef *>(buffer.data());
        z.avail_out = uInt(buffer.size());
        deflate(&z, flush);
        out += buffer.left(buffer.size() - qsizetype(z.avail_out));
    } while (z.avail_out == 0);
    return out;
}

} // namespace

void writeBombArchive(const QString &path, const QByteArray &prefix, quint64 zeros, quint64 declaredSize)
{
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 9), Z_OK);
    const QByteArray chunk(kZeroChunk, '\0');
    const QByteArray stream = deflated(z, prefix, Z_FULL_FLUSH);
    quint32 dataCrc = crcOf(0, prefix);
    const QByteArray chunkStream = deflated(z, chunk, Z_FULL_FLUSH);
    const quint32 chunkCrc = crcOf(0, chunk);
    QByteArray end = deflated(z, QByteArray(), Z_FINISH);
    deflateEnd(&z);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const quint64 chunks = zeros / kZeroChunk;
    const quint64 packedSize = quint64(stream.size()) + chunks * quint64(chunkStream.size()) + quint64(end.size());
    // The stream ends with the Adler-32 of all the data, big-endian.
    uLong adler = adler32(1, bytesOf(prefix), uInt(prefix.size()));
    const uLong chunkAdler = adler32(1, bytesOf(chunk), uInt(chunk.size()));
    for (quint64 i = 0; i < chunks; ++i) {
        dataCrc = quint32(crc32_combine(dataCrc, chunkCrc, kZeroChunk));
        adler = adler32_combine(adler, chunkAdler, kZeroChunk);
    }
    end.chop(4);
    for (int shift = 24; shift >= 0; shift -= 8)
        end += char(adler >> shift);

    // The header: magic, version, sizes, data CRC, password check (salt 0, password
    // "7"), salt, and the CRC of the 36 bytes before it.
    QByteArray header("QSPA");
    put(header, 1, 2);
    put(header, 0, 2);
    put(header, declaredSize, 8);
    put(header, packedSize, 8);
    put(header, dataCrc, 4);
    put(header, crcOf(crcOf(0, QByteArray(4, '\0')), "7"), 4);
    put(header, 0, 4);
    put(header, crcOf(0, header), 4);
    file.write(header);
    file.write(stream);
    for (quint64 i = 0; i < chunks; ++i)
        file.write(chunkStream);
    file.write(end);
}

bool waitedOnFifo(const QString &path, const std::function<void()> &call)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISFIFO(info.st_mode)) {
        call();
        return false;
    }
    const FifoWatchdog watchdog(path);
    call();
    return watchdog.rescued();
}

} // namespace quorl
