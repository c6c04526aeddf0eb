#pragma once

#include <QString>

#include "platform/paths/GuardedFileWriter.h"

// Writes one "ANSI" file piece by piece: the text goes out as Windows-1252 into a
// temporary file beside the target, which takes the target's place only on commit,
// and only when the target is then still no file of the database nor a device.
// A failure at any point leaves the target as it was, never half written.

namespace quorl::text {

class AnsiFileWriter final
{
public:
    // databasePath: the database in use, whose own files are never written; "" when none.
    explicit AnsiFileWriter(const QString &localPath, const QString &databasePath = QString());
    AnsiFileWriter(const AnsiFileWriter &) = delete;
    AnsiFileWriter &operator=(const AnsiFileWriter &) = delete;

    // False when the target is refused or the temporary file cannot be made (no such
    // folder, no rights, a bad name).
    bool open();
    // Appends the text as it stands (line ends are the caller's). False once anything failed.
    bool write(const QString &text);
    // Puts the file in place. False when a write, the last look at the target or the rename failed.
    bool commit();

    // Why the last step failed: the refusal naming the file, or what the system says.
    QString errorString() const;

private:
    paths::GuardedFileWriter m_file;
};

} // namespace quorl::text
