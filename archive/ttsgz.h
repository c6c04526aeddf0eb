#pragma once

#include <stdint.h>

// The archive library: packs one file into an archive and back, with a progress
// callback the caller registers around each call. Paths are NUL-terminated local
// file names; results are the codes below.
//
// An archive is a 40-byte header (magic "QSPA", version, original and packed size,
// CRC-32 of the original data, a password check, a check of the header itself)
// followed by one zlib stream. Both calls write into a temporary file beside the
// target and rename it into place only when everything succeeded, so a failed or
// aborted call leaves the target as it was.

#if defined(TTSGZ_BUILD)
#define TTSGZ_API __attribute__((visibility("default")))
#else
#define TTSGZ_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    ZRESULT_OK = 0,
    ZRESULT_BAD_FILE_NAME = 1,   // missing source, no such folder, source and target the same file
    ZRESULT_USER_ABORT = 2,      // the callback set its abort value
    ZRESULT_READ_ERROR = 3,      // unreadable source; an archive that is damaged, truncated,
                                 // no archive at all, or made with another password
    ZRESULT_WRITE_ERROR = 4,     // the target cannot be created or written (rights, full disk)
    ZRESULT_OUT_OF_MEMORY = 5,
    ZRESULT_UNEXPECTED_DATA = 6, // the unpacked data do not begin as the caller said they must
};

// Called during the work with the amount to do and the amount done (in the same
// unit, which may be coarser than bytes for very large files; done never exceeds
// total). Setting *abort to a non-zero value ends the call with ZRESULT_USER_ABORT.
typedef void (*ZProgressCallback)(int32_t total, int32_t done, int32_t *abort);

// level: 0 to 9 as zlib counts; any other value means zlib's default (6).
TTSGZ_API int32_t Zcompress(const char *sourcePath, const char *archivePath, const char *password,
                            int32_t level);
TTSGZ_API int32_t Zuncompress(const char *archivePath, const char *destinationPath, const char *password);
// Zuncompress for a caller that knows how its file begins: the call stops as soon as
// the unpacked data differ from the prefixLength bytes of prefix (or end before them),
// before those data are written.
TTSGZ_API int32_t ZuncompressExpecting(const char *archivePath, const char *destinationPath, const char *password,
                                       const void *prefix, int32_t prefixLength);
// The size of the file the archive holds, as its header declares it, read without
// unpacking anything; results as for Zuncompress.
TTSGZ_API int32_t ZoriginalSize(const char *archivePath, const char *password, uint64_t *size);
TTSGZ_API int32_t RegisterCallback(ZProgressCallback callback);
TTSGZ_API int32_t UnregisterCallback(void);

typedef int32_t (*ZcompressFunction)(const char *, const char *, const char *, int32_t);
typedef int32_t (*ZuncompressFunction)(const char *, const char *, const char *);
typedef int32_t (*ZuncompressExpectingFunction)(const char *, const char *, const char *, const void *, int32_t);
typedef int32_t (*ZoriginalSizeFunction)(const char *, const char *, uint64_t *);
typedef int32_t (*RegisterCallbackFunction)(ZProgressCallback);
typedef int32_t (*UnregisterCallbackFunction)(void);

#ifdef __cplusplus
}
#endif
