#pragma once

#include <QString>
#include <QStringList>

namespace quorl::ui {

// Flag values of the common file dialog, as callers combine them (&H806 ...).
enum FileDialogFlags {
    cdlOFNReadOnly = 0x1,
    cdlOFNOverwritePrompt = 0x2,
    cdlOFNHideReadOnly = 0x4,
    cdlOFNNoChangeDir = 0x8,
    cdlOFNPathMustExist = 0x800,
    cdlOFNFileMustExist = 0x1000,
    cdlOFNCreatePrompt = 0x2000,
    cdlOFNExplorer = 0x80000,
};

// Everything one use of the shared file dialog asks for; every field is set by
// the caller each time, so nothing carries over from an earlier use.
struct FileDialogRequest {
    QString title;
    QString fileName;   // initial name; a Windows-style or local path may lead it
    QString filter;     // "Text (*.txt)|*.txt|All (*.*)|*.*"
    int filterIndex = 1; // 1-based, into the filter's pairs
    QString defaultExt; // "SPA", added when the user types a name without one
    QString initDir;    // Windows-style or local folder
    int flags = 0;
    bool save = false;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file as a local path; "" when the user cancels.
    virtual QString show(const FileDialogRequest &request) = 0;
};

QString showFileDialog(const FileDialogRequest &request);

// "desc|pat;pat|desc|pat|" as Qt name filters "desc (pat pat)". A pattern "*.*"
// means every file, as it did on Windows, so it becomes "*".
QStringList qtNameFilters(const QString &vbFilter);

// The patterns of one Qt name filter ("desc (*.spa *.txt)"), made to match file names
// without regard to case, as they did on Windows: "*.spa" gives "*.[sS][pP][aA]",
// which also finds "SPA_08122026.SPA".
QStringList caselessPatterns(const QString &qtNameFilter);

} // namespace quorl::ui
