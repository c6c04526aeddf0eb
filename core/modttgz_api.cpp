#include "core/modttgz_api.h"

#include <stdexcept>

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

namespace quorl {
namespace {

struct ArchiveLibrary {
    QLibrary library;
    ZcompressFunction compress = nullptr;
    ZuncompressFunction uncompress = nullptr;
    ZuncompressExpectingFunction uncompressExpecting = nullptr;
    ZoriginalSizeFunction originalSize = nullptr;
    RegisterCallbackFunction registerCallback = nullptr;
    UnregisterCallbackFunction unregisterCallback = nullptr;
    bool loaded = false;
};

ArchiveLibrary &archiveLibrary()
{
    static ArchiveLibrary instance;
    return instance;
}

ArchiveLibrary &loadedLibrary()
{
    ArchiveLibrary &lib = archiveLibrary();
    if (lib.loaded)
        return lib;
    lib.library.setFileName(archiveLibraryFolder() + QStringLiteral("/ttsgz"));
    if (!lib.library.load())
        throw std::runtime_error("The compression library ttsgz cannot be loaded: " + lib.library.errorString().toStdString());
    lib.compress = reinterpret_cast<ZcompressFunction>(lib.library.resolve("Zcompress"));
    lib.uncompress = reinterpret_cast<ZuncompressFunction>(lib.library.resolve("Zuncompress"));
    lib.uncompressExpecting =
        reinterpret_cast<ZuncompressExpectingFunction>(lib.library.resolve("ZuncompressExpecting"));
    lib.originalSize = reinterpret_cast<ZoriginalSizeFunction>(lib.library.resolve("ZoriginalSize"));
    lib.registerCallback = reinterpret_cast<RegisterCallbackFunction>(lib.library.resolve("RegisterCallback"));
    lib.unregisterCallback = reinterpret_cast<UnregisterCallbackFunction>(lib.library.resolve("UnregisterCallback"));
    if (!lib.compress || !lib.uncompress || !lib.uncompressExpecting || !lib.originalSize || !lib.registerCallback
        || !lib.unregisterCallback) {
        lib.library.unload();
        throw std::runtime_error("The compression library ttsgz lacks one of its calls.");
    }
    lib.loaded = true;
    return lib;
}

} // namespace

QString archiveLibraryFolder()
{
    return QCoreApplication::applicationDirPath();
}

int Zcompress(const QString &sourcePath, const QString &archivePath, const QString &password, int level)
{
    return loadedLibrary().compress(QFile::encodeName(sourcePath).constData(), QFile::encodeName(archivePath).constData(),
                                    password.toLocal8Bit().constData(), level);
}

int Zuncompress(const QString &archivePath, const QString &destinationPath, const QString &password)
{
    return loadedLibrary().uncompress(QFile::encodeName(archivePath).constData(),
                                      QFile::encodeName(destinationPath).constData(),
                                      password.toLocal8Bit().constData());
}

int ZuncompressExpecting(const QString &archivePath, const QString &destinationPath, const QString &password,
                         const QByteArray &prefix)
{
    return loadedLibrary().uncompressExpecting(QFile::encodeName(archivePath).constData(),
                                               QFile::encodeName(destinationPath).constData(),
                                               password.toLocal8Bit().constData(), prefix.constData(),
                                               int32_t(prefix.size()));
}

int ZoriginalSize(const QString &archivePath, const QString &password, quint64 *size)
{
    uint64_t declared = 0;
    const int result = loadedLibrary().originalSize(QFile::encodeName(archivePath).constData(),
                                                    password.toLocal8Bit().constData(), &declared);
    *size = declared;
    return result;
}

void RegisterCallback(ZProgressCallback callback)
{
    loadedLibrary().registerCallback(callback);
}

void UnregisterCallback()
{
    ArchiveLibrary &lib = archiveLibrary();
    if (lib.loaded)
        lib.unregisterCallback();
}

QString ZErrorText(int code)
{
    switch (code) {
    case 0: return QStringLiteral("No error");
    case 1: return QStringLiteral("Bad file name");
    case 2: return QStringLiteral("User abort");
    case 3: return QStringLiteral("Read error");
    case 4: return QStringLiteral("Write error");
    case 5: return QStringLiteral("Out of memory");
    case 6: return QStringLiteral("Unexpected data");
    default: return QStringLiteral("Unknown error");
    }
}

} // namespace quorl
