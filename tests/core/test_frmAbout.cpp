#include <string>

#include <QDir>
#include <QFile>

#include "core/frmAbout.h"
#include "platform/registry/Registry.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

struct SysInfoCase {
    const char *name;
    const char *path;   // the registry's "PATH"; null: none
    const char *folder; // the registry's "MSINFO" folder, holding the program; null: none
    bool onPath;        // the desktop's program is on the program path
    bool starts;
    const char *started; // <C> and <world> stand for the test's folders; null: nothing started
};
void PrintTo(const SysInfoCase &c, std::ostream *out) { *out << c.name; }

class SystemInfo : public QuorlTest, public ::testing::WithParamInterface<SysInfoCase>
{
};

TEST_P(SystemInfo, StartsTheProgramTheInstallationNamesOrSaysItIsUnavailable)
{
    const SysInfoCase &c = GetParam();
    const QString bin = worldDir() + QStringLiteral("/bin");
    setVariable("PATH", bin); // only the test's own programs are found
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(driveC() + QStringLiteral("/Tools/Info")));
    QFile(driveC() + QStringLiteral("/Tools/Info/msinfo32.exe")).open(QIODevice::WriteOnly);
    if (c.path)
        SetRegistryValue(HKEY_LOCAL_MACHINE, kSysInfoPathKey, kSysInfoPathValue, QString::fromUtf8(c.path));
    if (c.folder)
        SetRegistryValue(HKEY_LOCAL_MACHINE, kSysInfoFolderKey, kSysInfoFolderValue, QString::fromUtf8(c.folder));
    if (c.onPath) {
        QFile program(bin + QStringLiteral("/hardinfo"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    }
    setShellResult(c.starts);
    if (!c.started || !c.starts)
        expectMessage(QString::fromUtf8(kSysInfoUnavailable), ui::vbOK);

    frmAbout about;
    about.load();
    about.cmdSystemInfo_Click();
    QStringList started;
    for (const ShellCall &call : shellCalls())
        started << call.kind + QLatin1Char(' ') + call.target;
    const QString expected = QString::fromUtf8(c.started).replace("<C>", driveC()).replace("<world>", worldDir());
    EXPECT_EQ(started, c.started ? QStringList{"startProgram " + expected} : QStringList());
    for (const ui::MessageRequest &message : messages())
        EXPECT_EQ(message.title, "Quorl Duzuruz");
}

INSTANTIATE_TEST_SUITE_P(
    Places, SystemInfo,
    ::testing::Values(
        SysInfoCase{"PathInTheRegistryIsStartedUnchecked", "C:\\Nowhere\\info.exe", nullptr, true, true,
                    "C:\\Nowhere\\info.exe"},
        SysInfoCase{"PathThatFailsToStart", "C:\\Nowhere\\info.exe", nullptr, false, false, "C:\\Nowhere\\info.exe"},
        SysInfoCase{"FolderInTheRegistry", nullptr, "C:\\TOOLS\\info", true, true, "<C>/Tools/Info/msinfo32.exe"},
        SysInfoCase{"FolderWithoutTheProgram", nullptr, "C:\\Tools", true, true, "<world>/bin/hardinfo"},
        SysInfoCase{"DesktopProgramOnThePath", nullptr, nullptr, true, true, "<world>/bin/hardinfo"},
        SysInfoCase{"NoProgramAnywhere", nullptr, nullptr, false, true, nullptr}),
    [](const ::testing::TestParamInfo<SysInfoCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
