#include <ostream>

#include <QDir>
#include <QFile>
#include <QSettings>

#include "platform/registry/Registry.h"
#include "platform/text/Text.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

const QString kKey = QStringLiteral("Software\\Quorl Software\\Quorl Duzuruz");

class RegistryTest : public QuorlTest {};

TEST_F(RegistryTest, MissingFileKeyOrValueGivesTheDefault)
{
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", "c:\\Quorlc\\data\\DB.mdb"),
              "c:\\Quorlc\\data\\DB.mdb");
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "3");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CheckInTime", "09:00"), "09:00");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey + "\\Other", "Next Tip", "0"), "0");
    EXPECT_EQ(GetRegistryValue(HKEY_USERS, kKey, "Next Tip", "0"), "0") << "roots are separate";
}

TEST_F(RegistryTest, EmptyTextReadsAsEmptyNotAsTheDefault)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "PostCode", "");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "PostCode", "-1"), "");
}

class RegistryTypedValue : public RegistryTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(RegistryTypedValue, NonTextValueGivesTheDefault)
{
    registry::setRawValueForTesting(HKEY_LOCAL_MACHINE, kKey, "traces", GetParam(), "c:\\Elsewhere\\");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "traces", "c:\\Quorlc\\traces\\"), "c:\\Quorlc\\traces\\");
}

INSTANTIATE_TEST_SUITE_P(Types, RegistryTypedValue,
                         ::testing::Values("REG_EXPAND_SZ", "REG_DWORD", "REG_BINARY", "REG_MULTI_SZ"));

class RegistryText : public RegistryTest, public ::testing::WithParamInterface<QString> {};

TEST_P(RegistryText, TextReadsBackUnchanged)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CurrencySymbol", GetParam());
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "7"); // a later write keeps the first
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CurrencySymbol", "0"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Texts, RegistryText,
                         ::testing::Values(QString("09:00"), QString("REG_DWORD:1"), QString("c:\\Quorlc\\data\\DB.mdb"),
                                           QString("a, b; c # d"), QString("  padded  "), QString("say \"hi\""),
                                           QString("two\r\nlines"), QString("£ and €"), QString("[x]=y"),
                                           QString("%20 %U0041"), QString(QChar(1)) + "abc\tf"));

TEST_F(RegistryTest, StringEndsAtItsFirstNul)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", QString("abc") + QChar(0) + "def");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", "x"), "abc");
}

TEST_F(RegistryTest, KeyPathAndValueNameIgnoreLetterCase)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CheckInTime", "08:30");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\quorl software\\QUORL DUZURUZ", "checkintime", ""), "08:30");

    SetRegistryValue(HKEY_LOCAL_MACHINE, "software\\QUORL SOFTWARE\\quorl duzuruz", "CHECKINTIME", "10:00");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CheckInTime", ""), "10:00");
    const QString file = text::readAnsiFile(registry::filePath());
    EXPECT_EQ(file.count("[HKEY_LOCAL_MACHINE"), 1) << file.toStdString();
    EXPECT_EQ(file.count("=\"REG_SZ:"), 1) << file.toStdString();
}

TEST_F(RegistryTest, WritingCreatesTheKeyPathAndTheFileFolder)
{
    setVariable("QUORL_REGISTRY", worldDir() + "/new/folder/registry.ini");
    SetRegistryValue(HKEY_USERS, ".DEFAULT\\Control Panel\\International", "sCurrency", "£");
    EXPECT_EQ(GetRegistryValue(HKEY_USERS, ".DEFAULT\\Control Panel\\International", "sCurrency", "0"), "£");
    EXPECT_TRUE(QFile::exists(worldDir() + "/new/folder/registry.ini"));
}

TEST_F(RegistryTest, EachCallReadsTheFileAsItIsNow)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", "c:\\one.mdb");
    // Another process (or a person) rewrites the file; values typed by hand have no type tag.
    ASSERT_TRUE(text::writeAnsiFile(registry::filePath(),
                                    "; edited\n[HKEY_LOCAL_MACHINE\\Software\\Quorl Software\\Quorl Duzuruz]\n"
                                    "data = c:\\two.mdb\n"));
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", ""), "c:\\two.mdb");

    setVariable("QUORL_REGISTRY", worldDir() + "/other.ini");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", "none"), "none");
}

struct HandWrittenCase {
    const char *name;
    const char *line; // as typed into the file, after "data"
    const char *read;
};

void PrintTo(const HandWrittenCase &c, std::ostream *out)
{
    *out << c.name;
}

class RegistryHandWritten : public RegistryTest, public ::testing::WithParamInterface<HandWrittenCase> {};

TEST_P(RegistryHandWritten, ValueReadsAsItWasMeant)
{
    ASSERT_TRUE(text::writeAnsiFile(registry::filePath(),
                                    QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Quorl Software\\Quorl Duzuruz]\r\n"
                                                   "data%1\r\n")
                                        .arg(QString::fromLatin1(GetParam().line))));
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", "default"), QString::fromLatin1(GetParam().read));
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "1"); // the file is written anew
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "data", "default"), QString::fromLatin1(GetParam().read));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RegistryHandWritten,
    ::testing::Values(
        HandWrittenCase{"QuotedWindowsPath", R"(="C:\Quorlc\data\DB.mdb")", R"(C:\Quorlc\data\DB.mdb)"},
        HandWrittenCase{"QuotedFolderEndingInBackslash", R"( = "C:\Quorlc\traces\" )", R"(C:\Quorlc\traces\)"},
        HandWrittenCase{"QuotedNetworkPath", R"(="\\office-pc\quorlc\DB.mdb")", R"(\\office-pc\quorlc\DB.mdb)"},
        HandWrittenCase{"UnquotedWindowsPath", R"(=C:\Quorlc\data\DB.mdb)", R"(C:\Quorlc\data\DB.mdb)"},
        HandWrittenCase{"QuotedEmpty", R"(="")", ""},
        // Typed values are this program's own writing, where a backslash escapes...
        HandWrittenCase{"TypedWithEscapes", R"(="REG_SZ:C:\\Quorlc\\x.mdb\tend")", "C:\\Quorlc\\x.mdb\tend"},
        // ...but one that starts no escape is still data.
        HandWrittenCase{"TypedWithUnknownEscapes", R"(="REG_SZ:C:\Quorlc\data\DB.mdb")", R"(C:\Quorlc\data\DB.mdb)"},
        HandWrittenCase{"OtherTypeGivesTheDefault", R"(="REG_DWORD:1")", "default"}));

TEST_F(RegistryTest, FileIsReadableByQSettingsAndLeavesNoScratchFiles)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Show No. of Adults and Kids", "0");
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "traces", "C:\\Quorlc\\Traces\\");
    SetRegistryValue(HKEY_USERS, ".DEFAULT\\Control Panel\\International", "sCurrency", "a, b");

    QSettings settings(registry::filePath(), QSettings::IniFormat);
    EXPECT_EQ(settings.value("HKEY_LOCAL_MACHINE/Software/Quorl Software/Quorl Duzuruz/Show No. of Adults and Kids"),
              QVariant("REG_SZ:0"));
    EXPECT_EQ(settings.value("HKEY_LOCAL_MACHINE/Software/Quorl Software/Quorl Duzuruz/traces"),
              QVariant("REG_SZ:C:\\Quorlc\\Traces\\"));
    EXPECT_EQ(settings.value("HKEY_USERS/.DEFAULT/Control Panel/International/sCurrency"), QVariant("REG_SZ:a, b"));

    const QStringList left = QDir(worldDir()).entryList({"registry*"}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"registry.ini"});
}

TEST_F(RegistryTest, WriteThatCannotBeMadeIsLostQuietly)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "4");
    // A file where the registry's folder would have to be.
    ASSERT_TRUE(text::writeAnsiFile(worldDir() + "/blocked", "x"));
    setVariable("QUORL_REGISTRY", worldDir() + "/blocked/registry.ini");
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "5");
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "0"), "0");
}

TEST_F(RegistryTest, SettingsThatCannotBeReadAreNotWipedByAWrite)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CheckInTime", "08:30");
    const QString path = worldDir() + "/registry.ini";
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        GTEST_SKIP() << "this user reads files whatever their permissions";
    }
    SetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "Next Tip", "5");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(GetRegistryValue(HKEY_LOCAL_MACHINE, kKey, "CheckInTime", "09:00"), "08:30");
}

} // namespace
} // namespace quorl
