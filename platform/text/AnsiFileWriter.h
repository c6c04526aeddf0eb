#pragma once

#include <QSaveFile>
#include <QString>

// Writes one "ANSI" file piece by piece: the text goes out as Windows-1252 into a
// temporary file beside the target, which takes the target's place only on commit.
// A failure at any point leaves the target as it was, never half written.

namespace quorl::text {

class AnsiFileWriter final
{
public:
    explicit AnsiFileWriter(const QString &localPath);
    ~AnsiFileWriter();   // without commit, the temporary file goes and the target stays
    AnsiFileWriter(const AnsiFileWriter &) = delete;
    AnsiFileWriter &operator=(const AnsiFileWriter &) = delete;

    // False when the temporary file cannot be made (no such folder, no rights, a bad name).
    bool open();
    // Appends the text as it stands (line ends are the caller's). False once anything failed.
    bool write(const QString &text);
    // Puts the file in place. False when a write or the rename failed.
    bool commit();

    // Why the last step failed, as the system says it.
    QString errorString() const;

private:
    QSaveFile m_file;
    bool m_failed = false;
    QString m_error;
};

} // namespace quorl::text
