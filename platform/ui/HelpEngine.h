#pragma once

#include <QString>

class QWidget;

// The help engine the program calls with a help file and a command. The help
// file is shown by the desktop's viewer for its type; a missing file or a machine
// without such a viewer shows nothing, and the caller is told only by the result.

namespace quorl::ui {

// The commands the program sends, with the values the old help engine gave them.
enum HelpCommand : unsigned {
    HELP_CONTEXT = 0x1,   // data: the topic's context number
    HELP_KEY = 0x101,     // data: a keyword; an empty one opens the index
};

// Opens localHelpFile for the command. Returns false when the file is missing or
// the viewer could not be started. The owner window and the data are passed on
// to the viewer only as far as it can use them, which a plain file viewer cannot.
bool WinHelp(QWidget *owner, const QString &localHelpFile, HelpCommand command, const QString &data);

} // namespace quorl::ui
