#pragma once

#include "platform/ui/Services.h"

// The services on the real desktop: Qt's message box and file dialog, the
// desktop's URL handler and processes, the system clock.

namespace quorl::ui {

class QtMessageBoxService final : public MessageBoxService {
public:
    int show(const MessageRequest &request) override;
};

class QtFileDialogService final : public FileDialogService {
public:
    QString show(const FileDialogRequest &request) override;
};

class QtShellService final : public ShellService {
public:
    bool openUrl(const QString &urlOrMailto) override;
    bool startProgram(const QString &program, const QStringList &args) override;
    bool deleteFile(const QString &localPath) override;
};

class SystemClockService final : public ClockService {
public:
    QDateTime now() override;
};

} // namespace quorl::ui
