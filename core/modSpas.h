#pragma once

#include <cstdint>

#include <QString>

class QMdiArea;

namespace quorl {

class frmBackup;

// How a backup, restore or compact ended, for its message and its event.
struct MaintenanceOutcome {
    enum Kind { Done, Aborted, Failed };
    Kind kind = Done;
    QString error;

    static MaintenanceOutcome aborted() { return {Aborted, QString()}; }
    static MaintenanceOutcome failed(const QString &error) { return {Failed, error}; }
    bool succeeded() const { return kind == Done; }
    // The event's details: "" when the work was done, "Aborted", or "Error: " and the reason.
    QString eventDetails() const;
};

// The password every archive of the program is made and read with: one digit,
// built at run time from a number, the same for backup and restore.
inline constexpr int kArchivePasswordNumber = 7;
QString defaultArchivePassword();

// The database file backup, restore and compact work on: the one the program
// opened at start-up. Throws when no connection was ever opened.
QString maintenanceDatabasePath();

// The archive path chosen in the shared file dialog, or "" when the user cancels.
// ForSave proposes "SPA_ddMMyyyy.SPA" for today and asks before overwriting.
QString FileSelect(const QString &Title, bool ForSave);

// True when the archive path names the database file itself, its ".bak" safety
// copy or one of the files SQLite keeps beside it; a backup there would destroy
// what it is meant to keep.
bool isDatabaseFileOf(const QString &archivePath, const QString &dbPath);

// "DB.bak" beside "DB.mdb".
QString safetyCopyPath(const QString &dbPath);

// True when an archive may be written at the path: nothing is there, or a plain
// file that may be replaced (not read-only, not hidden, no folder, link or device).
// An existing archive is replaced only once the new one is complete.
bool PrepareArchiveTarget(const QString &ArchivePath);

// Deletes a file without asking; with AllowUndo it goes to the desktop's trash.
bool DeleteFileNoConfirm(const QString &Path, bool AllowUndo);

// Backup: packs a consistent copy of the database into the archive and tells the
// user how it went. An empty password means the program's own.
MaintenanceOutcome SpasavanjeExecute(const QString &DbPath, const QString &ArchivePath, int Level,
                                     const QString &Password);

// Restore: unpacks the archive into a temporary file and checks it in full; only
// then keeps a ".bak" copy of the database and copies the archive's into it in one
// transaction, holding the database from the copy to the end. Any failure or an
// abort leaves the database as it was, and a refused archive the earlier ".bak".
MaintenanceOutcome RestoreDatabase(const QString &ArchivePath, const QString &DbPath, const QString &Password);

// Where each step of a backup and a restore lies on the progress bar, in percent.
struct ProgressBarPart {
    double from;
    double to;
};
inline constexpr ProgressBarPart kBackupCopyPart{0, 20};
inline constexpr ProgressBarPart kBackupPackPart{20, 100};
inline constexpr ProgressBarPart kRestoreUnpackPart{0, 40};
inline constexpr ProgressBarPart kRestoreCheckPart{40, 75};
inline constexpr ProgressBarPart kRestoreSafetyCopyPart{75, 90};
inline constexpr ProgressBarPart kRestoreCopyInPart{90, 100};

// The progress window and the library's callback around one library call.
void ShowBackupProgress();
void HideBackupProgress();
// The progress window while it is shown, else null.
frmBackup *backupProgressWindow();

extern "C" void BackupProgressCallback(int32_t Total, int32_t Done, int32_t *Abort) noexcept;

// Compact: an optional ".bak" copy, then the file rebuilt in place. False, with the
// reason in *error when given, when the file is missing or a step failed.
bool CompactDatabase(const QString &DbPath, bool MakeBackup, QString *error = nullptr);

// The three File menu commands, from the file dialog to the event. The program's
// connections to the database are closed for the work and opened again after it.
void BackupDatabaseCommand();
// After a restore every child window of the area closes: what they show belongs to
// the replaced contents.
void RestoreDatabaseCommand(QMdiArea *childWindows);
void CompactDatabaseCommand();

} // namespace quorl
