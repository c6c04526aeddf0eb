#include "core/modSpas.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>

#include "core/MDIMain.h"
#include "core/MaintenanceFiles.h"
#include "core/ctlProgressBar.h"
#include "core/frmBackup.h"
#include "core/frmCompact.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "core/modttgz_api.h"
#include "platform/db/Error.h"
#include "platform/db/Maintenance.h"
#include "platform/db/WorkAside.h"
#include "platform/paths/FileTargets.h"
#include "platform/paths/FreeSpace.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

// The table definitions live in the program's resources, which a static library must
// register itself.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace quorl {
namespace {

QPointer<frmBackup> s_progress;
// One maintenance command at a time, also while a callback lets events run.
bool s_maintenanceRunning = false;

class MaintenanceRun {
public:
    MaintenanceRun()
        : m_owner(!s_maintenanceRunning)
    {
        s_maintenanceRunning = true;
    }
    ~MaintenanceRun()
    {
        if (m_owner)
            s_maintenanceRunning = false;
    }
    MaintenanceRun(const MaintenanceRun &) = delete;
    MaintenanceRun &operator=(const MaintenanceRun &) = delete;
    bool alreadyRunning() const { return !m_owner; }

private:
    bool m_owner;
};

QString errorText(const std::exception &error)
{
    return QString::fromUtf8(error.what());
}

// An error of a step on a temporary file, told in terms the user knows: the
// temporary file's name means nothing to them.
db::Error inUserTerms(const db::Error &error, const QString &temporaryPath, const QString &shownAs)
{
    QString message = error.message();
    message.replace(QLatin1Char('"') + temporaryPath + QLatin1Char('"'), shownAs).replace(temporaryPath, shownAs);
    return db::Error(message, error.code());
}

QString quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

std::runtime_error noDatabaseOfThisProgram(const QString &archivePath, const QString &reason)
{
    QString text = QStringLiteral("The archive %1 holds no database of this program").arg(quoted(archivePath));
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return std::runtime_error((text + QLatin1Char('.')).toStdString());
}

// The program's own tables and columns, which a restored database must hold.
QString programSchema()
{
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered)
    QFile schema(QStringLiteral(":/schema.sql"));
    if (!schema.open(QIODevice::ReadOnly))
        throw std::runtime_error("The program's table definitions are missing from its resources.");
    return QString::fromUtf8(schema.readAll());
}

// Only a plain file is opened as an archive: opening a FIFO waits for a writer that
// may never come, and the program would hang for good.
void refuseUnlessPlainFile(const QString &archivePath)
{
    if (!paths::readRefusal(archivePath).isEmpty())
        throw std::runtime_error(QStringLiteral("The file %1 is no archive: only a plain file can be restored from.")
                                     .arg(quoted(archivePath))
                                     .toStdString());
}

// An archive whose database would not fit the temporary folder is refused before a
// byte of it is unpacked, so that a small archive cannot fill the disk. When the
// folder's free space cannot be told, no archive is taken: that is no proof it fits.
void refuseUnlessItFits(quint64 size, const QString &folder, const QString &archivePath)
{
    constexpr quint64 megabyte = 1024 * 1024;
    const std::optional<quint64> available = paths::freeBytes(folder);
    if (!available)
        throw std::runtime_error(QStringLiteral("The archive %1 cannot be unpacked: the free space in the temporary "
                                                "folder cannot be told.")
                                     .arg(quoted(archivePath))
                                     .toStdString());
    if (size <= *available)
        return;
    throw std::runtime_error(QStringLiteral("The archive %1 cannot be unpacked: not enough free space in the temporary "
                                            "folder (%2 MB needed).")
                                 .arg(quoted(archivePath))
                                 .arg((size + megabyte - 1) / megabyte)
                                 .toStdString());
}

int whileLibraryWorks(const std::function<int()> &call, bool cancelOutlivesTheCall);

// Unpacks the archive's database to the path; the library's result code. What is no
// SQLite database stops at its first bytes.
int unpackDatabase(const QString &archivePath, const QString &unpacked, const QString &password)
{
    static const QByteArray databaseHeader("SQLite format 3\0", 16);
    quint64 size = 0;
    if (const int result = ZoriginalSize(archivePath, password, &size))
        return result;
    refuseUnlessItFits(size, QFileInfo(unpacked).absolutePath(), archivePath);
    // A Cancel answered Yes while the last bytes went to disk still counts: nothing
    // of the user's was touched yet.
    const int result = whileLibraryWorks(
        [&] { return ZuncompressExpecting(archivePath, unpacked, password, databaseHeader); }, true);
    if (result == ZRESULT_UNEXPECTED_DATA)
        throw noDatabaseOfThisProgram(archivePath, QString());
    return result;
}

// Refuses an unpacked database that lacks a table or column the program uses (every
// window would fail on it), or that holds a trigger or view of its own (it would run
// on the program's saves and reads).
void checkIsDatabaseOfThisProgram(const QString &unpacked, const QString &archivePath)
{
    try {
        db::checkHoldsSchema(unpacked, programSchema());
    } catch (const db::Error &error) {
        throw noDatabaseOfThisProgram(archivePath, error.message());
    }
}

// Runs work that may block for long on a thread of its own while the progress window
// keeps redrawing: putting a new safety copy in place of a large old one frees the old
// one's blocks, which can take a good part of a second.
template <typename Work>
auto whileRedrawing(Work work)
{
    return db::runAside(std::move(work), [] { QCoreApplication::processEvents(); });
}

// A consistent copy of the live file as its ".bak", put in place only once complete
// and synced, its folder too, so it survives a power cut during the work after it.
// Read under the lock of heldBy when that holds the live file.
void makeSafetyCopy(const QString &dbPath, const db::StepProgress &progress = {},
                    const db::ContentsReplacement *heldBy = nullptr)
{
    PartialFile building(safetyCopyPath(dbPath));
    try {
        if (heldBy)
            heldBy->copyLiveFile(building.path(), progress);
        else
            db::copyDatabaseFile(dbPath, building.path(), progress);
    } catch (const db::Aborted &) {
        throw;
    } catch (const db::Error &error) {
        throw inUserTerms(error, building.path(), QStringLiteral("the safety copy ") + quoted(safetyCopyPath(dbPath)));
    }
    if (progress)
        whileRedrawing([&] { building.putInPlace(); });
    else
        building.putInPlace();
}

// Both commands log a failure of their work under one name, as they always did.
void logRunError(const std::exception &error)
{
    LogMessage(kLogError, QStringLiteral("%s.SpasavanjeExecute: %s"), {QStringLiteral("modSpas"), errorText(error)});
}

// A backup or restore that failed on the way: logged, the progress window gone, the
// user told.
MaintenanceOutcome failedRun(const std::exception &error, bool progressShown)
{
    logRunError(error);
    if (progressShown)
        HideBackupProgress();
    ui::MsgBox(errorText(error), ui::vbCritical | ui::vbOKOnly, QStringLiteral("Error!"));
    return MaintenanceOutcome::failed(errorText(error));
}

// Moves the progress window's bar within the current step and lets it redraw. True
// when the user clicked Cancel and confirmed it, asked only when hearCancel.
bool showBackupStepProgress(double done, double total, bool hearCancel) noexcept
{
    // Called from inside the library and the database layer: nothing may be thrown back.
    try {
        if (s_progress)
            s_progress->showStepProgress(done, total);
        const bool abort = hearCancel && s_progress && s_progress->CheckAbort();
        QCoreApplication::processEvents();
        return abort;
    } catch (const std::exception &error) {
        logError(QStringLiteral("modSpas.BackupProgressCallback"), error);
    } catch (...) {
        logError(QStringLiteral("modSpas.BackupProgressCallback"), QStringLiteral("unknown error"));
    }
    return false;
}

// The progress of a step of the database layer, in the window; Cancel stops it.
db::StepProgress cancellableStepProgress()
{
    return [](qint64 done, qint64 total) { return !showBackupStepProgress(double(done), double(total), true); };
}

// The same for the copy into the live file, which no Cancel may stop half way.
db::StepProgress uncancellableStepProgress()
{
    return [](qint64 done, qint64 total) { return !showBackupStepProgress(double(done), double(total), false); };
}

// A call of the archive library runs on a thread of its own: its last step, syncing a
// file of hundreds of megabytes to disk, tells nothing for a good part of a second.
// Its callback then only records how far it has come, and waits while the window's
// thread asks about a Cancel, so the library goes on only once the user has answered.
struct LibraryRun {
    std::atomic<int32_t> total{0};
    std::atomic<int32_t> done{0};
    std::atomic<bool> asking{false};
    std::atomic<bool> abort{false};
};

std::atomic<LibraryRun *> s_libraryRun{nullptr};

// The library's callback on its worker: the progress recorded, the answer awaited.
bool recordLibraryProgress(LibraryRun &run, int32_t total, int32_t done)
{
    run.total = total;
    run.done = done;
    while (run.asking)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return run.abort;
}

// Runs call, a call of the archive library, while the progress window redraws and
// hears Cancel; the library's result. When cancelOutlivesTheCall, a Cancel confirmed
// after the library's last callback makes the result an abort all the same.
int whileLibraryWorks(const std::function<int()> &call, bool cancelOutlivesTheCall)
{
    LibraryRun run;
    s_libraryRun = &run;
    const auto unset = qScopeGuard([] { s_libraryRun = nullptr; });
    const int result = db::runAside(call, [&run] {
        run.asking = s_progress && s_progress->AbortRequested && !run.abort;
        if (showBackupStepProgress(run.done, run.total, run.asking))
            run.abort = true;
        run.asking = false;
    });
    return result == ZRESULT_OK && run.abort && cancelOutlivesTheCall ? int(ZRESULT_USER_ABORT) : result;
}

void beginBackupStep(ProgressBarPart part)
{
    if (s_progress)
        s_progress->beginStep(part.from, part.to);
    QCoreApplication::processEvents();
}

// The last moment a restore can be cancelled: right before the live file is written.
// From then on Cancel is greyed, so nobody is asked about a stop that cannot be.
bool restoreCancelledBeforeCopyIn()
{
    if (!s_progress)
        return false;
    if (s_progress->CheckAbort())
        return true;
    s_progress->btnPrekid->setEnabled(false);
    return false;
}

// Copies the unpacked database, judged sound, into the live file, after a safety copy
// of what the live file holds. The live file is held from the safety copy to the end
// of the copy-in, so every save of another program lands either before (and is in
// the safety copy) or after the restore. Cancel is heard until the copy-in begins.
void copyInAfterSafetyCopy(const QString &unpacked, const QString &dbPath)
{
    beginBackupStep(kRestoreSafetyCopyPart);
    db::ContentsReplacement replacement(unpacked, dbPath, cancellableStepProgress());
    makeSafetyCopy(dbPath, cancellableStepProgress(), &replacement);
    beginBackupStep(kRestoreCopyInPart);
    if (restoreCancelledBeforeCopyIn())
        throw db::Aborted();
    replacement.copyIn(uncancellableStepProgress());
}

// A backup or restore the user cancelled: the progress window gone, nothing said.
MaintenanceOutcome abortedRun(bool progressShown)
{
    if (progressShown)
        HideBackupProgress();
    return MaintenanceOutcome::aborted();
}

// A maintenance command's failure: in the message log under the main window's
// handler, and shown under title.
void reportCommandFailure(const char *handler, const QString &text, const QString &title)
{
    LogMessage(kLogError, QStringLiteral("%s.") + QString::fromLatin1(handler) + QStringLiteral(": %s"),
               {QStringLiteral("MDIMain"), text});
    ui::MsgBox(text, ui::vbCritical | ui::vbOKOnly, title);
}

// Opens again the connections closed holds. One that cannot be opened (a failed
// write may leave a journal that only a new start of the program can roll back)
// makes the outcome a failure, and the user is told to start the program again,
// after unshownFailure, the work's own failure not yet shown. True when it told.
bool reopenConnections(db::ClosedConnections &closed, MaintenanceOutcome &outcome, const char *handler,
                       const QString &unshownFailure = QString())
{
    try {
        closed.reopen();
        return false;
    } catch (const std::exception &error) {
        const QString failure = QStringLiteral("The database cannot be opened again: ") + errorText(error);
        const QString advice = QStringLiteral("Close the program and start it again: the database is opened afresh "
                                              "then, and a change that was cut short is undone.");
        const QString before = unshownFailure.isEmpty() ? QString() : unshownFailure + QStringLiteral("\n\n");
        reportCommandFailure(handler, before + failure + QStringLiteral("\n\n") + advice, QStringLiteral("Error!"));
        outcome = MaintenanceOutcome::failed(outcome.kind == MaintenanceOutcome::Failed
                                                 ? outcome.error + QLatin1Char(' ') + failure
                                                 : failure);
        return true;
    }
}

// Runs step while every connection to the database file is closed, and opens them
// again once it is done.
MaintenanceOutcome withConnectionsClosed(const QString &dbPath, const char *handler,
                                         const std::function<MaintenanceOutcome()> &step)
{
    db::ClosedConnections closed(dbPath);
    MaintenanceOutcome outcome = step();
    reopenConnections(closed, outcome, handler);
    return outcome;
}

} // namespace

QString MaintenanceOutcome::eventDetails() const
{
    switch (kind) {
    case Done: return QString();
    case Aborted: return QStringLiteral("Aborted");
    case Failed: return QStringLiteral("Error: ") + error;
    }
    return QString();
}

QString defaultArchivePassword()
{
    return QString::number(kArchivePasswordNumber);
}

QString maintenanceDatabasePath()
{
    if (!DbConnection || DbConnection->databasePath().isEmpty())
        throw std::runtime_error("No database connection has been opened.");
    return DbConnection->databasePath();
}

QString FileSelect(const QString &Title, bool ForSave)
{
    try {
        ui::FileDialogRequest request;
        request.title = Title;
        request.defaultExt = QStringLiteral("SPA");
        request.filter = QStringLiteral("SPA Datoteke (*.SPA)|*.spa");
        request.filterIndex = 1;
        request.initDir = QString();
        request.save = ForSave;
        if (ForSave) {
            request.flags = ui::cdlOFNOverwritePrompt | ui::cdlOFNHideReadOnly | ui::cdlOFNPathMustExist;
            request.fileName = QStringLiteral("SPA_") + ui::Now().date().toString(QStringLiteral("ddMMyyyy"))
                + QStringLiteral(".SPA");
        } else {
            request.flags = ui::cdlOFNHideReadOnly | ui::cdlOFNPathMustExist | ui::cdlOFNFileMustExist;
            request.fileName = QString();
        }
        return dlgExport(request);
    } catch (const std::exception &error) {
        LogMessage(kLogError, QStringLiteral("%s.FileSelect: %s"), {QStringLiteral("MDIMain"), errorText(error)});
        ui::MsgBox(errorText(error), ui::vbCritical | ui::vbOKOnly, QStringLiteral("Bad file name"));
        return QString();
    }
}

QString safetyCopyPath(const QString &dbPath)
{
    return paths::safetyCopyPath(dbPath);
}

bool isDatabaseFileOf(const QString &archivePath, const QString &dbPath)
{
    return paths::isDatabaseFileOf(archivePath, dbPath);
}

bool PrepareArchiveTarget(const QString &ArchivePath)
{
    const QFileInfo info(ArchivePath);
    if (!info.exists() && !info.isSymLink())
        return true;
    // Only a plain file may be replaced: the rights, a leading dot and any other kind
    // of entry play the part the read-only, hidden and system marks played.
    return info.isFile() && !info.isSymLink() && !info.fileName().startsWith(QLatin1Char('.'))
        && (info.permissions() & QFileDevice::WriteOwner);
}

bool DeleteFileNoConfirm(const QString &Path, bool AllowUndo)
{
    if (AllowUndo)
        return QFile::moveToTrash(Path);
    return ui::ShellDeleteFile(Path);
}

frmBackup *backupProgressWindow()
{
    return s_progress.data();
}

void ShowBackupProgress()
{
    // Each step on its own: a failing one does not keep the next from running.
    try {
        delete s_progress.data();
        if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
            s_progress = new frmBackup(MDIMain::current());
            s_progress->ctlProgressBar1->setMin(0);
            s_progress->ctlProgressBar1->setMax(100);
            s_progress->ctlProgressBar1->setValue(0);
            // Modal, so that no other command reaches the database while it is closed.
            s_progress->setWindowModality(Qt::ApplicationModal);
            s_progress->show();
            QApplication::processEvents();
        }
    } catch (const std::exception &error) {
        logError(QStringLiteral("modSpas.ShowBackupProgress"), error);
    }
    try {
        RegisterCallback(&BackupProgressCallback);
    } catch (const std::exception &error) {
        logError(QStringLiteral("modSpas.ShowBackupProgress"), error);
    }
}

void HideBackupProgress()
{
    if (s_progress) {
        s_progress->hide();
        delete s_progress.data();
    }
    UnregisterCallback();
}

void BackupProgressCallback(int32_t Total, int32_t Done, int32_t *Abort) noexcept
{
    LibraryRun *run = s_libraryRun;
    const bool abort = run ? recordLibraryProgress(*run, Total, Done) : showBackupStepProgress(Done, Total, true);
    if (Abort)
        *Abort = abort ? -1 : 0;
}

MaintenanceOutcome SpasavanjeExecute(const QString &DbPath, const QString &ArchivePath, int Level,
                                     const QString &Password)
{
    bool busy = false;
    try {
        // The database's own files and what is no plain file are refused saying why;
        // an existing archive the user keeps (read-only, hidden) as it always was.
        QString refusal = paths::writeRefusal(ArchivePath, DbPath);
        if (refusal.isEmpty() && !PrepareArchiveTarget(ArchivePath))
            refusal = QStringLiteral("Can't continue if file exist!");
        if (!refusal.isEmpty()) {
            ui::MsgBox(refusal, ui::vbCritical | ui::vbOKOnly, QStringLiteral("Error!"));
            return MaintenanceOutcome::failed(refusal);
        }
        ShowBackupProgress();
        busy = true;
        const QString password = Password.isEmpty() ? defaultArchivePassword() : Password;

        // The library packs a still copy, never the file other programs may be writing.
        const MaintenanceFolder work;
        const QString snapshot = work.filePath(QStringLiteral("snapshot.db"));
        beginBackupStep(kBackupCopyPart);
        try {
            db::copyDatabaseFile(DbPath, snapshot, cancellableStepProgress());
        } catch (const db::Aborted &) {
            throw;
        } catch (const db::Error &error) {
            throw inUserTerms(error, snapshot, QStringLiteral("the temporary folder"));
        }
        beginBackupStep(kBackupPackPart);
        // An archive already in place is kept, however late a Cancel came.
        const int result =
            whileLibraryWorks([&] { return Zcompress(snapshot, ArchivePath, password, Level); }, false);
        HideBackupProgress();
        busy = false;

        if (result == 0) {
            ui::MsgBox(QStringLiteral("Database backuped"), ui::vbInformation | ui::vbOKOnly,
                       QStringLiteral("Information"));
            return MaintenanceOutcome();
        }
        if (result == 2)
            return MaintenanceOutcome::aborted();
        ui::MsgBox(Sprintf(QStringLiteral("Can't create SPA file%nError:%s"), ZErrorText(result)),
                   ui::vbCritical | ui::vbOKOnly, QStringLiteral("Error!"));
        return MaintenanceOutcome::failed(ZErrorText(result));
    } catch (const db::Aborted &) {
        return abortedRun(busy);
    } catch (const std::exception &error) {
        return failedRun(error, busy);
    }
}

MaintenanceOutcome RestoreDatabase(const QString &ArchivePath, const QString &DbPath, const QString &Password)
{
    bool busy = false;
    try {
        refuseUnlessPlainFile(ArchivePath);
        ShowBackupProgress();
        busy = true;
        const QString password = Password.isEmpty() ? defaultArchivePassword() : Password;

        const MaintenanceFolder work;
        const QString unpacked = work.filePath(QStringLiteral("restored.db"));
        beginBackupStep(kRestoreUnpackPart);
        const int result = unpackDatabase(ArchivePath, unpacked, password);
        if (result == 0) {
            // Judged in full before the live file or its earlier safety copy is
            // touched, so a refused archive leaves both as they were.
            checkIsDatabaseOfThisProgram(unpacked, ArchivePath);
            try {
                db::useRollbackJournal(unpacked);
                beginBackupStep(kRestoreCheckPart);
                db::checkDatabaseFile(unpacked, cancellableStepProgress());
                copyInAfterSafetyCopy(unpacked, DbPath);
            } catch (const db::Aborted &) {
                throw;
            } catch (const db::Error &error) {
                throw inUserTerms(error, unpacked, quoted(ArchivePath));
            }
        }
        HideBackupProgress();
        busy = false;

        if (result == 0) {
            ui::MsgBox(QStringLiteral("Database restored"), ui::vbInformation | ui::vbOKOnly,
                       QStringLiteral("Information"));
            return MaintenanceOutcome();
        }
        if (result == 2)
            return MaintenanceOutcome::aborted();
        ui::MsgBox(QStringLiteral("Can't add ") + ZErrorText(result), ui::vbCritical | ui::vbOKOnly,
                   QStringLiteral("Error!"));
        return MaintenanceOutcome::failed(ZErrorText(result));
    } catch (const db::Aborted &) {
        return abortedRun(busy);
    } catch (const std::exception &error) {
        return failedRun(error, busy);
    }
}

bool CompactDatabase(const QString &DbPath, bool MakeBackup, QString *error)
{
    try {
        if (!QFileInfo(DbPath).isFile())
            throw std::runtime_error("The database file \"" + DbPath.toStdString() + "\" does not exist.");
        // The compact's window has no Cancel: both steps only let it redraw.
        const db::StepProgress redraw = [](qint64, qint64) {
            QCoreApplication::processEvents();
            return true;
        };
        if (MakeBackup)
            makeSafetyCopy(DbPath, redraw);
        // Rebuilt in place through SQLite, journaled: a compact cut short by a crash
        // is rolled back at the next open. Unlike the former engine's compact, the
        // result is not encrypted; SQLite writes the file as it is.
        db::vacuumDatabaseFile(DbPath, redraw);
        return true;
    } catch (const std::exception &failure) {
        if (error)
            *error = errorText(failure);
        return false;
    }
}

void BackupDatabaseCommand()
{
    const MaintenanceRun run;
    if (run.alreadyRunning())
        return;
    try {
        const QString dbPath = maintenanceDatabasePath();
        const QString archive = FileSelect(QStringLiteral("Select your database backup file ..."), true);
        if (archive.isEmpty())
            return;
        removeDeadLeftovers(safetyCopyPath(dbPath), archive);
        const MaintenanceOutcome outcome = withConnectionsClosed(
            dbPath, "mnuFileBackupDB_Click", [&] { return SpasavanjeExecute(dbPath, archive, -1, QString()); });
        WriteEventLog(ui::Now(), evDatabaseBackupPerformed, outcome.eventDetails());
    } catch (const std::exception &error) {
        reportCommandFailure("mnuFileBackupDB_Click", errorText(error),
                             QStringLiteral("Error detected when make database backup!"));
        WriteEventLog(ui::Now(), evDatabaseBackupPerformed, MaintenanceOutcome::failed(errorText(error)).eventDetails());
    }
}

void RestoreDatabaseCommand(QMdiArea *childWindows)
{
    const MaintenanceRun run;
    if (run.alreadyRunning())
        return;
    try {
        const QString dbPath = maintenanceDatabasePath();
        const QString archive = FileSelect(QStringLiteral("Select your backuped database ..."), false);
        if (archive.isEmpty())
            return;
        removeDeadLeftovers(safetyCopyPath(dbPath), archive);
        const MaintenanceOutcome outcome = withConnectionsClosed(
            dbPath, "mnuFileRestoreDB_Click", [&] { return RestoreDatabase(archive, dbPath, QString()); });
        if (outcome.succeeded() && childWindows) {
            // Their rows and IDs belong to the replaced contents; an edit saved from
            // one of them could land on another row.
            childWindows->closeAllSubWindows();
            for (QMdiSubWindow *left : childWindows->subWindowList())
                delete left;
        }
        WriteEventLog(ui::Now(), evDatabaseRestorePerformed, outcome.eventDetails());
    } catch (const std::exception &error) {
        reportCommandFailure("mnuFileRestoreDB_Click", errorText(error),
                             QStringLiteral("Error detected when restoring database backup!"));
        WriteEventLog(ui::Now(), evDatabaseRestorePerformed, MaintenanceOutcome::failed(errorText(error)).eventDetails());
    }
}

void CompactDatabaseCommand()
{
    const MaintenanceRun run;
    if (run.alreadyRunning())
        return;
    MaintenanceOutcome outcome;
    try {
        const QString dbPath = maintenanceDatabasePath();
        removeDeadLeftovers(safetyCopyPath(dbPath));
        db::ClosedConnections closed(dbPath);
        frmCompact progress(MDIMain::current());
        progress.Execute();
        QString failure;
        if (!CompactDatabase(dbPath, true, &failure))
            outcome = MaintenanceOutcome::failed(failure);
        progress.Destroy();
        // One message says both when the database cannot be opened again either.
        if (!reopenConnections(closed, outcome, "mnuFileCompactDB_Click", failure) && !failure.isEmpty())
            reportCommandFailure("mnuFileCompactDB_Click", failure, QStringLiteral("Error!"));
    } catch (const std::exception &error) {
        reportCommandFailure("mnuFileCompactDB_Click", errorText(error), QStringLiteral("Error!"));
        outcome = MaintenanceOutcome::failed(errorText(error));
    }
    WriteEventLog(ui::Now(), evDatabaseCompacted, outcome.eventDetails());
}

} // namespace quorl
