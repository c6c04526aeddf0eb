#include "platform/ui/Services.h"

#include "platform/ui/QtServices.h"

namespace quorl::ui {
namespace {

std::unique_ptr<MessageBoxService> s_messageBox;
std::unique_ptr<FileDialogService> s_fileDialog;
std::unique_ptr<ShellService> s_shell;
std::unique_ptr<ClockService> s_clock;

template<typename Service, typename QtService>
Service &installed(std::unique_ptr<Service> &slot)
{
    if (!slot)
        slot = std::make_unique<QtService>();
    return *slot;
}

} // namespace

std::unique_ptr<MessageBoxService> setMessageBoxService(std::unique_ptr<MessageBoxService> service)
{
    return std::exchange(s_messageBox, std::move(service));
}

std::unique_ptr<FileDialogService> setFileDialogService(std::unique_ptr<FileDialogService> service)
{
    return std::exchange(s_fileDialog, std::move(service));
}

std::unique_ptr<ShellService> setShellService(std::unique_ptr<ShellService> service)
{
    return std::exchange(s_shell, std::move(service));
}

std::unique_ptr<ClockService> setClockService(std::unique_ptr<ClockService> service)
{
    return std::exchange(s_clock, std::move(service));
}

MessageBoxService &messageBoxService()
{
    return installed<MessageBoxService, QtMessageBoxService>(s_messageBox);
}

FileDialogService &fileDialogService()
{
    return installed<FileDialogService, QtFileDialogService>(s_fileDialog);
}

ShellService &shellService()
{
    return installed<ShellService, QtShellService>(s_shell);
}

ClockService &clockService()
{
    return installed<ClockService, SystemClockService>(s_clock);
}

void installQtServices()
{
    setMessageBoxService(std::make_unique<QtMessageBoxService>());
    setFileDialogService(std::make_unique<QtFileDialogService>());
    setShellService(std::make_unique<QtShellService>());
    setClockService(std::make_unique<SystemClockService>());
}

} // namespace quorl::ui
