#include "platform/ui/HelpEngine.h"

#include <QFileInfo>
#include <QUrl>

#include "platform/ui/Shell.h"

namespace quorl::ui {

bool WinHelp(QWidget *owner, const QString &localHelpFile, HelpCommand command, const QString &data)
{
    Q_UNUSED(owner);
    Q_UNUSED(command);
    Q_UNUSED(data);
    if (localHelpFile.isEmpty() || !QFileInfo(localHelpFile).isFile())
        return false;
    return ShellOpen(QUrl::fromLocalFile(localHelpFile).toString());
}

} // namespace quorl::ui
