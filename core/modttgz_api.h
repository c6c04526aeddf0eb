#pragma once

#include <QString>

#include "archive/ttsgz.h"

namespace quorl {

// The archive library's four calls, bound by name on first use from the
// program's own folder. A library that cannot be found or lacks a call makes
// the call throw std::runtime_error, which the caller reports.

// The folder the library is looked for in: the executable's folder.
QString archiveLibraryFolder();

int Zcompress(const QString &sourcePath, const QString &archivePath, const QString &password, int level);
int Zuncompress(const QString &archivePath, const QString &destinationPath, const QString &password);
void RegisterCallback(ZProgressCallback callback);
// Does nothing when the library was never loaded, so closing the progress window
// after a failed load does not fail again.
void UnregisterCallback();

// The text of a library result code: 0 "No error" ... 5 "Out of memory", any other "Unknown error".
QString ZErrorText(int code);

} // namespace quorl
