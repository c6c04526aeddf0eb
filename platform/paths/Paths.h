#pragma once

#include <QChar>
#include <QString>

// Windows-style paths ("c:\Quorlc\data\DB.mdb") to local ones. A drive letter maps
// to a folder of its own, and names match existing entries whatever their letter
// case, so two spellings that named one file on Windows name one file here.

namespace quorl::paths {

// "c:\Quorlc\data\DB.mdb" -> "<drive C root>/Quorlc/data/DB.mdb". "\" becomes "/",
// "." and ".." are folded (never above the drive root), each existing component
// takes the case it has on disk and new ones keep the given case. A path ending in
// a separator keeps one "/" at its end. A local path (starting with "/") keeps its
// root; a path with neither drive nor root is taken from the program folder.
QString resolve(const QString &windowsOrLocalPath);

// The local path a file named for writing is opened at. A local path (starting with
// "/") is taken as it stands; a Windows-style or relative one is mapped as resolve()
// maps it, but nothing is trimmed and "." and ".." stay for the kernel, which takes
// them after following links, so the path names what the kernel will find.
QString resolveForOpen(const QString &windowsOrLocalPath);

// A path given on a command line: a Windows-style one (with a drive letter, or starting
// with "\") and a local absolute one as resolve() reads them; any other is taken from
// the current folder, as command-line tools do.
QString resolveFromCurrentFolder(const QString &path);

// C: is $QUORL_DRIVE_C, else $XDG_DATA_HOME/quorl-marina/drive_c (~/.local/share by
// default); another letter L is $QUORL_DRIVE_L, else the folder drive_l beside C's.
QString driveRoot(QChar driveLetter);

// The folder of the program's own files; the executable's folder unless set.
QString programFolder();
void setProgramFolder(const QString &localFolder);

QString tempFolder();

// "c:\x\" + "y" and "c:\x" + "y" both give "c:\x\y". A local folder is joined with "/".
QString joinWindows(const QString &folder, const QString &name);

} // namespace quorl::paths
