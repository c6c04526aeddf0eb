#pragma once

#include <QString>

namespace quorl {

// The files a backup, restore or compact writes on the way to its result: its
// temporary folder, a safety copy's "DB.bak.part", and the archive library's
// "<archive>.tmp-XXXXXX". The run that makes one holds a lock on it (flock) for as
// long as it exists. The kernel drops that lock when the process ends, however it
// ends, so an entry nobody locks was left by a dead run. Unlike a process ID in the
// name, a lock cannot be taken for a later process that got the same number.

// A temporary folder "quorl-maintenance-XXXXXX" in the system's temporary folder,
// locked while it lives and removed with everything in it when it goes. Throws
// std::runtime_error when none can be made.
class MaintenanceFolder
{
public:
    MaintenanceFolder();
    ~MaintenanceFolder();
    MaintenanceFolder(const MaintenanceFolder &) = delete;
    MaintenanceFolder &operator=(const MaintenanceFolder &) = delete;

    QString path() const { return m_path; }
    QString filePath(const QString &name) const;

private:
    QString m_path;
    int m_lock = -1;
};

// The empty file "<target>.part", locked, for a file to be built and then put in
// place; removed unless it was. Throws std::runtime_error when it cannot be made, or
// when a running instance of the program is building it.
class PartialFile
{
public:
    explicit PartialFile(const QString &target);
    ~PartialFile();
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;

    QString path() const { return m_path; }
    // Syncs the contents, renames the file to the target and syncs the folder, so
    // the target is there, complete, after a power cut. Throws when a step fails.
    void putInPlace();

private:
    QString m_target;
    QString m_path;
    int m_fd = -1;
    bool m_placed = false;
};

// Removes what dead runs of this user left, and nothing else: maintenance folders in
// the temporary folder, the partial file of safetyCopy, and the partial archives of
// archive (when given) beside it. What a running instance holds is kept, and links
// are never followed. Returns how many were removed. Throws std::runtime_error,
// naming it, when the partial file's name is taken by anything but a plain file.
int removeDeadLeftovers(const QString &safetyCopy, const QString &archive = QString());

} // namespace quorl
