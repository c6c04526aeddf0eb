#pragma once

#include <memory>

#include "platform/ui/Clock.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

// The user-facing services the program calls through one place each: main()
// installs the Qt ones, tests install scripted ones. Each setter hands back the
// service it replaces, so a caller can put it back. Until one is installed, the
// Qt service is used.

namespace quorl::ui {

std::unique_ptr<MessageBoxService> setMessageBoxService(std::unique_ptr<MessageBoxService> service);
std::unique_ptr<FileDialogService> setFileDialogService(std::unique_ptr<FileDialogService> service);
std::unique_ptr<ShellService> setShellService(std::unique_ptr<ShellService> service);
std::unique_ptr<ClockService> setClockService(std::unique_ptr<ClockService> service);

MessageBoxService &messageBoxService();
FileDialogService &fileDialogService();
ShellService &shellService();
ClockService &clockService();

void installQtServices();

} // namespace quorl::ui
