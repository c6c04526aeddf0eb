#pragma once

#include <QString>

#include "archive/ttsgz.h"

namespace quorl {

// The archive library's calls, bound by name on first use from the
// program's own folder. A library that cannot be found or lacks a call makes
// the call throw std::runtime_error, which the caller reports.

// The folder the library is looked for in: the executable's folder.
QString archiveLibraryFolder();

int Zcompress(const QString &sourcePath, const QString &archivePath, const QString &password, int level);
int Zuncompress(const QString &archivePath, const QString &destinationPath, const QString &password);
// Zuncompress that stops, with code 6, as soon as the data do not begin with prefix.
int ZuncompressExpecting(const QString &archivePath, const QString &destinationPath, const QString &password,
                         const QByteArray &prefix);
// The size the archive's header declares for the file it holds, read without unpacking.
int ZoriginalSize(const QString &archivePath, const QString &password, quint64 *size);
void RegisterCallback(ZProgressCallback callback);
// Does nothing when the library was never loaded, so closing the progress window
// after a failed load does not fail again.
void UnregisterCallback();

// The text of a library result code: 0 "No error" ... 6 "Unexpected data", any other "Unknown error".
QString ZErrorText(int code);

} // namespace quorl
