#include <string>

#include <QDir>
#include <QFile>
#include <QLabel>

#include "core/frmAbout.h"
#include "core/modFunctions.h"
#include "platform/registry/Registry.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

struct SysInfoCase {
    const char *name;
    const char *pathValue;   // "PATH" under the first key; null: none
    const char *folderValue; // "MSINFO" under the second key; null: none
    bool programInFolder;    // MSINFO32.EXE is in that folder
    bool desktopProgram;     // the desktop's program is on the program path
    bool startSucceeds;
    const char *started;     // the program started (a local path, or the drive C: relative path); null: none
};

class SystemInfo : public QuorlTest, public ::testing::WithParamInterface<SysInfoCase>
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        // Only the test's own folder is searched for programs.
        setVariable("PATH", worldDir() + QStringLiteral("/bin"));
        ASSERT_TRUE(QDir().mkpath(worldDir() + QStringLiteral("/bin")));
    }
};

TEST_P(SystemInfo, StartsTheProgramTheInstallationNamesOrSaysItIsUnavailable)
{
    const SysInfoCase &c = GetParam();
    if (c.pathValue)
        SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kSysInfoPathKey), QString::fromUtf8(kSysInfoPathValue),
                         QString::fromUtf8(c.pathValue));
    if (c.folderValue)
        SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kSysInfoFolderKey),
                         QString::fromUtf8(kSysInfoFolderValue), QString::fromUtf8(c.folderValue));
    if (c.programInFolder) {
        ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Tools/Info")));
        QFile(driveC() + QStringLiteral("/Tools/Info/msinfo32.exe")).open(QIODevice::WriteOnly);
    }
    if (c.desktopProgram) {
        QFile program(worldDir() + QStringLiteral("/bin/hardinfo"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    }
    setShellResult(c.startSucceeds);
    if (!c.started || !c.startSucceeds)
        expectMessage(QString::fromUtf8(kSysInfoUnavailable), ui::vbOK);

    frmAbout about;
    about.load();
    about.cmdSystemInfo_Click();

    if (c.started) {
        ASSERT_EQ(shellCalls().size(), 1);
        EXPECT_EQ(shellCalls().first().kind, "startProgram");
        QString expected = QString::fromUtf8(c.started);
        expected.replace(QStringLiteral("<C>"), driveC()).replace(QStringLiteral("<world>"), worldDir());
        EXPECT_EQ(shellCalls().first().target, expected);
    } else {
        EXPECT_TRUE(shellCalls().isEmpty());
    }
    if (!messages().isEmpty()) {
        EXPECT_EQ(messages().first().title, "Quorl Duzuruz");
        EXPECT_EQ(messages().first().buttons, ui::vbOKOnly);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, SystemInfo,
    ::testing::Values(
        SysInfoCase{"PathInTheRegistryIsStartedUnchecked", "C:\\Nowhere\\info.exe", nullptr, false, true, true,
                    "C:\\Nowhere\\info.exe"},
        SysInfoCase{"PathThatFailsToStartSaysUnavailable", "C:\\Nowhere\\info.exe", nullptr, false, false, false,
                    "C:\\Nowhere\\info.exe"},
        SysInfoCase{"FolderInTheRegistryHoldingTheProgram", nullptr, "C:\\TOOLS\\info", true, false, true,
                    "<C>/Tools/Info/msinfo32.exe"},
        SysInfoCase{"FolderWithoutTheProgramFallsToTheDesktops", nullptr, "C:\\Tools\\Info", false, true, true,
                    "<world>/bin/hardinfo"},
        SysInfoCase{"DesktopProgramOnThePath", nullptr, nullptr, false, true, true, "<world>/bin/hardinfo"},
        SysInfoCase{"NoProgramAnywhere", nullptr, nullptr, false, false, true, nullptr}),
    [](const ::testing::TestParamInfo<SysInfoCase> &info) { return std::string(info.param.name); });

class AboutBox : public QuorlTest
{
};

TEST_F(AboutBox, ShowsTheProductTitleAndTheRunningVersion)
{
    frmAbout about;
    about.load();
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblCompanyProduct"))->text(), ProductTitleForCaption());
    EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), "v 1.0.1");
}

} // namespace
} // namespace quorl
