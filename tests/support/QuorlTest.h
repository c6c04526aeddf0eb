#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/ui/Services.h"
#include "support/QtPrinters.h"

namespace quorl {

struct ShellCall {
    QString kind; // "openUrl", "startProgram" or "deleteFile"
    QString target;
    QStringList args;
};

// A fresh world for each test: its own drive C:, registry file and program folder
// in a temporary folder, a starter database where "c:\Quorlc\data\DB.mdb" points,
// a fixed clock, and scripted message boxes, file dialog and shell. A message box
// or file dialog the test did not expect fails the test, and so does one it
// expected that never came.
class QuorlTest : public ::testing::Test {
protected:
    QuorlTest();
    ~QuorlTest() override;

    void SetUp() override;
    void TearDown() override;

    QString worldDir() const;
    QString driveC() const;
    QString databasePath() const;
    QString programDir() const;

    // 8 December 2026 10:47:00 until a test sets another time.
    static QDateTime defaultNow();
    void setNow(const QDateTime &now);

    // The next message box must contain promptSubstring; it is answered with answer
    // (an MsgBoxResult value). Expectations are met in the order given.
    void expectMessage(const QString &promptSubstring, int answer);
    const QList<ui::MessageRequest> &messages() const;

    // The next file dialog returns answer: a local path, or "" for cancel.
    void expectFileDialog(const QString &answer);
    const QList<ui::FileDialogRequest> &fileDialogRequests() const;

    // Every shell call in order. Opening and starting succeed unless set otherwise;
    // deleting really deletes.
    const QList<ShellCall> &shellCalls() const;
    void setShellResult(bool ok);

    // Environment changes the fixture undoes after the test.
    void setVariable(const char *name, const QString &value);
    void unsetVariable(const char *name);

public:
    struct Script; // what the scripted services share with the fixture

private:
    struct SavedVariable {
        QByteArray name;
        bool wasSet = false;
        QByteArray value;
    };

    void saveVariable(const char *name);

    std::unique_ptr<QTemporaryDir> m_world;
    std::shared_ptr<Script> m_script;
    QList<SavedVariable> m_savedVariables;
    QString m_savedProgramFolder;
    QString m_databasePath;
    std::unique_ptr<ui::MessageBoxService> m_previousMessageBox;
    std::unique_ptr<ui::FileDialogService> m_previousFileDialog;
    std::unique_ptr<ui::ShellService> m_previousShell;
    std::unique_ptr<ui::ClockService> m_previousClock;
    bool m_servicesInstalled = false;
};

} // namespace quorl

using quorl::QuorlTest;
