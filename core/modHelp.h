#pragma once

#include <QString>

class QWidget;

namespace quorl {

// Local path of the help file: "help\Quorlc.hlp" in the program folder.
QString HelpFilePath();

// Opens the help file at a topic, and at its index. A missing help file or a
// failing viewer is ignored: the commands then do nothing.
void ShowHelpContext(const QString &helpFile, long contextId, QWidget *window);
void ShowHelpIndex(const QString &helpFile, QWidget *window);

} // namespace quorl
