#pragma once

#include <QString>
#include <QStringList>

namespace quorl::ui {

class ShellService {
public:
    virtual ~ShellService() = default;
    // A web address, "mailto:..." or a document, opened by the desktop's handler.
    virtual bool openUrl(const QString &urlOrMailto) = 0;
    virtual bool startProgram(const QString &program, const QStringList &args) = 0;
    // Deletes without asking; false when the file is missing or cannot go.
    virtual bool deleteFile(const QString &localPath) = 0;
};

bool ShellOpen(const QString &urlOrMailto);
bool ShellStart(const QString &program, const QStringList &args = {});
bool ShellDeleteFile(const QString &localPath);

} // namespace quorl::ui
