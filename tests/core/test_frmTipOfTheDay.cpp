#include <memory>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "core/MDIMain.h"
#include "core/RegistryValues.h"
#include "core/frmTipOfTheDay.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMain.h"
#include "platform/registry/Registry.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

QString setting(const char *name)
{
    return GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name),
                            QStringLiteral("<missing>"));
}

void store(const char *name, const QString &value)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name), value);
}

class TipTest : public QuorlTest
{
protected:
    void writeTips(const QByteArray &bytes)
    {
        QFile file(programDir() + QStringLiteral("/TipOfTheDay.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The tips a user sees, pressing "Next Tip" after the first one.
    QStringList shownTips(int nextTipPresses)
    {
        frmTipOfTheDay tip;
        tip.prepare();
        QStringList shown{tip.tipText()};
        for (int press = 0; press < nextTipPresses; ++press) {
            tip.findChild<QPushButton *>(QStringLiteral("cmdNextTip"))->click();
            shown << tip.tipText();
        }
        return shown;
    }
};

TEST_F(TipTest, TipsComeInTurnAcrossOpeningsAndStartAgainAfterTheLast)
{
    writeTips("Berths first\r\nThen owners\r\nCustomers \x80 last\r\n");
    store(kValueNextTip, QStringLiteral("2"));
    EXPECT_EQ(shownTips(0), QStringList({"Customers \u20ac last"}));
    EXPECT_EQ(setting(kValueNextTip), "0");
    EXPECT_EQ(shownTips(3), QStringList({"Berths first", "Then owners", "Customers \u20ac last", "Berths first"}));
    EXPECT_EQ(setting(kValueNextTip), "1");
}

struct StoredPositionCase {
    const char *name;
    const char *stored; // null: never stored
    const char *shown;
    const char *storedAfter;
};

class TipPositions : public TipTest, public ::testing::WithParamInterface<StoredPositionCase>
{
};

TEST_P(TipPositions, AStoredPositionThatIsNoTipStartsAgainAtTheFirst)
{
    writeTips("One\r\n\r\nThree\r\n");
    if (GetParam().stored)
        store(kValueNextTip, QString::fromUtf8(GetParam().stored));
    EXPECT_EQ(shownTips(0), QStringList{QString::fromUtf8(GetParam().shown)});
    EXPECT_EQ(setting(kValueNextTip), QString::fromUtf8(GetParam().storedAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Stored, TipPositions,
    ::testing::Values(StoredPositionCase{"Missing", nullptr, "One", "1"},
                      StoredPositionCase{"EmptyLineIsATip", "1", "", "2"},
                      StoredPositionCase{"PastTheEnd", "3", "One", "1"},
                      StoredPositionCase{"FarPastTheEnd", "250", "One", "1"},
                      StoredPositionCase{"Negative", "-1", "One", "1"},
                      StoredPositionCase{"NotANumber", "second", "One", "1"}),
    [](const ::testing::TestParamInfo<StoredPositionCase> &info) { return std::string(info.param.name); });

TEST_F(TipTest, AFileOfOneLineAlwaysShowsThatLine)
{
    writeTips("Only this\r\n");
    EXPECT_EQ(shownTips(2), QStringList({"Only this", "Only this", "Only this"}));
    EXPECT_EQ(setting(kValueNextTip), "0");
}

TEST_F(TipTest, WithoutTipsTheWindowOpensEmptyAndNextTipClosesIt)
{
    for (const bool emptyFile : {false, true}) {
        SCOPED_TRACE(emptyFile ? "empty file" : "no file");
        if (emptyFile)
            writeTips(QByteArray());
        store(kValueNextTip, QStringLiteral("1"));
        frmTipOfTheDay tip;
        tip.prepare();
        tip.show();
        EXPECT_EQ(tip.tipText(), "");
        tip.cmdNextTip_Click();
        EXPECT_FALSE(tip.isVisible());
        EXPECT_EQ(setting(kValueNextTip), "1");
    }
}

TEST_F(TipTest, OkStoresTheStartUpChoiceAndTheCloseBoxLeavesIt)
{
    writeTips("A tip\r\n");
    // Each opening shows the choice stored before; OK stores the box as left.
    for (const bool ticked : {false, true, false}) {
        frmTipOfTheDay tip;
        tip.prepare();
        auto *box = tip.findChild<QCheckBox *>(QStringLiteral("chkShowTipsAtStartup"));
        EXPECT_EQ(box->isChecked(), setting(kValueShowTipAtStartup) != "1");
        box->setChecked(ticked);
        if (ticked) {
            tip.cmdOK_Click();
            EXPECT_EQ(setting(kValueShowTipAtStartup), "0");
        } else if (setting(kValueShowTipAtStartup) == "<missing>") {
            tip.cmdOK_Click();
            EXPECT_EQ(setting(kValueShowTipAtStartup), "1");
        } else {
            tip.close();
            EXPECT_EQ(setting(kValueShowTipAtStartup), "0") << "the close box stores nothing";
        }
    }
}

TEST_F(TipTest, TheShippedTipsFileHoldsReadableTips)
{
    const QStringList tips = readTips(QStringLiteral(QUORL_SOURCE_DIR "/resources/TipOfTheDay.txt"));
    EXPECT_GE(tips.size(), 10);
    for (const QString &tip : tips) {
        EXPECT_GT(tip.size(), 20) << tip.toStdString();
        EXPECT_FALSE(tip.contains(QChar(0xFFFD))) << tip.toStdString();
        EXPECT_FALSE(tip.contains(QLatin1Char('\r'))) << tip.toStdString();
    }
}

struct StartUpCase {
    const char *name;
    const char *stored; // null: never stored
    bool shown;
};

class TipAtStartUp : public TipTest, public ::testing::WithParamInterface<StartUpCase>
{
protected:
    void TearDown() override
    {
        DbConnection.reset();
        EventLogPath.clear();
        TipTest::TearDown();
    }
};

TEST_P(TipAtStartUp, ShowsOverTheMainWindowWhileTheSettingReadsNought)
{
    ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces")));
    writeTips("Welcome aboard\r\nSecond tip\r\n");
    if (GetParam().stored)
        store(kValueShowTipAtStartup, QString::fromUtf8(GetParam().stored));
    std::unique_ptr<MDIMain> window = Main(0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto *tip = window->findChild<frmTipOfTheDay *>();
    EXPECT_EQ(tip != nullptr && tip->isVisible(), GetParam().shown);
    if (GetParam().shown) {
        EXPECT_EQ(tip->tipText(), "Welcome aboard");
        EXPECT_TRUE(tip->isModal());
        EXPECT_EQ(setting(kValueNextTip), "1");
    } else {
        EXPECT_EQ(setting(kValueNextTip), "<missing>");
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, TipAtStartUp,
                         ::testing::Values(StartUpCase{"Missing", nullptr, true}, StartUpCase{"Nought", "0", true},
                                           StartUpCase{"One", "1", false}, StartUpCase{"Blank", "", true},
                                           StartUpCase{"NotANumber", "no", true}),
                         [](const ::testing::TestParamInfo<StartUpCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace quorl
