#include "core/modSpas.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <future>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include "core/MDIMain.h"
#include "core/ctlProgressBar.h"
#include "core/frmBackup.h"
#include "core/frmCompact.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "core/modttgz_api.h"
#include "platform/db/Maintenance.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

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

// The path as the file system knows it; for a file not yet there, its folder's.
QString canonicalPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.canonicalFilePath().isEmpty())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

QString errorText(const std::exception &error)
{
    return QString::fromUtf8(error.what());
}

// Runs work that may block for long on a thread of its own while the progress window
// keeps redrawing: putting a new safety copy in place of a large old one frees the old
// one's blocks, which can take a good part of a second.
template <typename Work>
auto whileRedrawing(Work work)
{
    auto running = std::async(std::launch::async, std::move(work));
    while (running.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return running.get();
}

// A consistent copy of the live file as its ".bak", put in place only once complete.
void makeSafetyCopy(const QString &dbPath, const db::StepProgress &progress = {})
{
    const QString target = safetyCopyPath(dbPath);
    const QString building = target + QStringLiteral(".part");
    db::copyDatabaseFile(dbPath, building, progress);
    const auto putInPlace = [&] {
        return std::rename(QFile::encodeName(building).constData(), QFile::encodeName(target).constData());
    };
    if ((progress ? whileRedrawing(putInPlace) : putInPlace()) != 0) {
        QFile::remove(building);
        throw std::runtime_error("The safety copy \"" + target.toStdString() + "\" cannot be written.");
    }
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

// A backup or restore the user cancelled: the progress window gone, nothing said.
MaintenanceOutcome abortedRun(bool progressShown)
{
    if (progressShown)
        HideBackupProgress();
    return MaintenanceOutcome::aborted();
}

// Runs step while every connection to the database file is closed, and opens them
// again once it is done.
MaintenanceOutcome withConnectionsClosed(const QString &dbPath, const std::function<MaintenanceOutcome()> &step)
{
    db::ClosedConnections closed(dbPath);
    MaintenanceOutcome outcome = step();
    closed.reopen();
    return outcome;
}

// A maintenance command's failure: in the message log under the main window's
// handler, and shown under title.
void reportCommandFailure(const char *handler, const QString &text, const QString &title)
{
    LogMessage(kLogError, QStringLiteral("%s.") + QString::fromLatin1(handler) + QStringLiteral(": %s"),
               {QStringLiteral("MDIMain"), text});
    ui::MsgBox(text, ui::vbCritical | ui::vbOKOnly, title);
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
    const QFileInfo info(dbPath);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".bak");
}

bool isDatabaseFileOf(const QString &archivePath, const QString &dbPath)
{
    const QString archive = canonicalPath(archivePath);
    QStringList guarded = db::databaseCompanionPaths(canonicalPath(dbPath));
    guarded += canonicalPath(safetyCopyPath(dbPath));
    return guarded.contains(archive);
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
    const bool abort = showBackupStepProgress(Done, Total, true);
    if (Abort)
        *Abort = abort ? -1 : 0;
}

MaintenanceOutcome SpasavanjeExecute(const QString &DbPath, const QString &ArchivePath, int Level,
                                     const QString &Password)
{
    bool busy = false;
    try {
        if (isDatabaseFileOf(ArchivePath, DbPath) || !PrepareArchiveTarget(ArchivePath)) {
            const QString refusal = QStringLiteral("Can't continue if file exist!");
            ui::MsgBox(refusal, ui::vbCritical | ui::vbOKOnly, QStringLiteral("Error!"));
            return MaintenanceOutcome::failed(refusal);
        }
        ShowBackupProgress();
        busy = true;
        const QString password = Password.isEmpty() ? defaultArchivePassword() : Password;

        // The library packs a still copy, never the file other programs may be writing.
        QTemporaryDir work;
        if (!work.isValid())
            throw std::runtime_error("No temporary folder for the copy of the database: "
                                     + work.errorString().toStdString());
        const QString snapshot = work.filePath(QStringLiteral("snapshot.db"));
        beginBackupStep(kBackupCopyPart);
        db::copyDatabaseFile(DbPath, snapshot, cancellableStepProgress());
        beginBackupStep(kBackupPackPart);
        const int result = Zcompress(snapshot, ArchivePath, password, Level);
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
        ShowBackupProgress();
        busy = true;
        if (QFileInfo::exists(DbPath)) {
            beginBackupStep(kRestoreSafetyCopyPart);
            makeSafetyCopy(DbPath, cancellableStepProgress());
        }
        const QString password = Password.isEmpty() ? defaultArchivePassword() : Password;

        QTemporaryDir work;
        if (!work.isValid())
            throw std::runtime_error("No temporary folder to unpack the archive in: " + work.errorString().toStdString());
        const QString unpacked = work.filePath(QStringLiteral("restored.db"));
        beginBackupStep(kRestoreUnpackPart);
        const int result = Zuncompress(ArchivePath, unpacked, password);
        if (result == 0) {
            // The live file is touched only by a sound database, in one transaction.
            beginBackupStep(kRestoreCheckPart);
            db::checkDatabaseFile(unpacked, cancellableStepProgress());
            beginBackupStep(kRestoreCopyInPart);
            if (restoreCancelledBeforeCopyIn())
                throw db::Aborted();
            db::replaceDatabaseContents(unpacked, DbPath, uncancellableStepProgress());
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
        if (MakeBackup)
            makeSafetyCopy(DbPath);
        // Rebuilt in place through SQLite, journaled: a compact cut short by a crash
        // is rolled back at the next open. Unlike the former engine's compact, the
        // result is not encrypted; SQLite writes the file as it is.
        db::vacuumDatabaseFile(DbPath);
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
        const MaintenanceOutcome outcome =
            withConnectionsClosed(dbPath, [&] { return SpasavanjeExecute(dbPath, archive, -1, QString()); });
        WriteEventLog(ui::Now(), evDatabaseBackupPerformed, outcome.eventDetails());
    } catch (const std::exception &error) {
        reportCommandFailure("mnuFileBackupDB_Click", errorText(error),
                             QStringLiteral("Error detected when make database backup!"));
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
        const MaintenanceOutcome outcome =
            withConnectionsClosed(dbPath, [&] { return RestoreDatabase(archive, dbPath, QString()); });
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
    }
}

void CompactDatabaseCommand()
{
    const MaintenanceRun run;
    if (run.alreadyRunning())
        return;
    QString failure;
    try {
        const QString dbPath = maintenanceDatabasePath();
        db::ClosedConnections closed(dbPath);
        frmCompact progress(MDIMain::current());
        progress.Execute();
        CompactDatabase(dbPath, true, &failure);
        progress.Destroy();
        closed.reopen();
    } catch (const std::exception &error) {
        if (failure.isEmpty())
            failure = errorText(error);
    }
    if (!failure.isEmpty()) {
        reportCommandFailure("mnuFileCompactDB_Click", failure, QStringLiteral("Error!"));
    }
    WriteEventLog(ui::Now(), evDatabaseCompacted, failure.isEmpty() ? QString() : QStringLiteral("Error: ") + failure);
}

} // namespace quorl
