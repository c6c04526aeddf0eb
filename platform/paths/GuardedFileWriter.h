#pragma once

#include <QByteArray>
#include <QString>

// Writes a file so that no name can be turned against the program between the
// check and the write. The target's folder is opened once; the content goes into
// a new file made inside it (never one already there); once that is complete and
// on disk the target is looked at again, by what it is, and the new file renamed
// over its name within the same folder. A rename replaces a link's name, never the
// file it points at, so a name swapped meanwhile reaches neither the database nor
// a device, and a failure at any point leaves the target as it was.

namespace quorl::paths {

class GuardedFileWriter final
{
public:
    // localPath as the writer opens it (resolveForOpen()); databasePath is the
    // database in use, whose own files are never written, or "" when none is open.
    GuardedFileWriter(const QString &localPath, const QString &databasePath);
    ~GuardedFileWriter(); // without commit, the new file goes and the target stays
    GuardedFileWriter(const GuardedFileWriter &) = delete;
    GuardedFileWriter &operator=(const GuardedFileWriter &) = delete;

    // False when the target is refused or the new file cannot be made.
    bool open();
    bool write(const QByteArray &bytes);
    // Puts the file in place. False when a write failed, the target is refused now,
    // or the rename failed.
    bool commit();

    // Why the last step failed: the guard's message naming the file, or the system's.
    QString errorString() const;

private:
    bool fail(const QString &error);
    bool failWithSystemError();
    void discard();

    QString m_path;
    QString m_databasePath;
    QByteArray m_name;
    QByteArray m_temporaryName;
    int m_folder = -1;
    int m_file = -1;
    bool m_failed = false;
    QString m_error;
};

} // namespace quorl::paths
