#include "platform/ui/Shell.h"

#include "platform/ui/Services.h"

namespace quorl::ui {

bool ShellOpen(const QString &urlOrMailto)
{
    return shellService().openUrl(urlOrMailto);
}

bool ShellStart(const QString &program, const QStringList &args)
{
    return shellService().startProgram(program, args);
}

bool ShellDeleteFile(const QString &localPath)
{
    return shellService().deleteFile(localPath);
}

} // namespace quorl::ui
