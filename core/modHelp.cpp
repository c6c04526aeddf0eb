#include "core/modHelp.h"

#include "platform/paths/Paths.h"
#include "platform/ui/HelpEngine.h"

namespace quorl {

QString HelpFilePath()
{
    return paths::resolve(paths::joinWindows(paths::programFolder(), QStringLiteral("help\\Quorlc.hlp")));
}

void ShowHelpContext(const QString &helpFile, long contextId, QWidget *window)
{
    ui::WinHelp(window, paths::resolve(helpFile), ui::HELP_CONTEXT, QString::number(contextId));
}

void ShowHelpIndex(const QString &helpFile, QWidget *window)
{
    ui::WinHelp(window, paths::resolve(helpFile), ui::HELP_KEY, QString());
}

} // namespace quorl
