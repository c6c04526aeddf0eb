#include <memory>
#include <string>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "core/MDIMain.h"
#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "core/frmTipOfTheDay.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMain.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

QString setting(const char *name)
{
    return programSetting(name, "<missing>");
}

class TipTest : public QuorlTest
{
protected:
    void TearDown() override
    {
        DbConnection.reset();
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    void writeTips(const QByteArray &bytes)
    {
        QFile file(programDir() + QStringLiteral("/TipOfTheDay.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The tips a user sees on opening the window and pressing "Next Tip".
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
    setProgramSetting(kValueNextTip, QStringLiteral("2"));
    EXPECT_EQ(shownTips(0), QStringList({"Customers \u20ac last"}));
    EXPECT_EQ(setting(kValueNextTip), "0");
    EXPECT_EQ(shownTips(3), QStringList({"Berths first", "Then owners", "Customers \u20ac last", "Berths first"}));
    EXPECT_EQ(setting(kValueNextTip), "1");

    writeTips("Only this\r\n");
    EXPECT_EQ(shownTips(2), QStringList({"Only this", "Only this", "Only this"}));
    EXPECT_EQ(setting(kValueNextTip), "0");
}

TEST_F(TipTest, AStoredPositionThatIsNoTipStartsAgainAtTheFirst)
{
    writeTips("One\r\n\r\nThree\r\n");
    const struct {
        const char *stored;
        const char *shown;
        const char *storedAfter;
    } cases[] = {{"1", "", "2"}, {"3", "One", "1"}, {"-1", "One", "1"}, {"second", "One", "1"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        setProgramSetting(kValueNextTip, QString::fromUtf8(c.stored));
        EXPECT_EQ(shownTips(0), QStringList{QString::fromUtf8(c.shown)});
        EXPECT_EQ(setting(kValueNextTip), c.storedAfter);
    }
}

TEST_F(TipTest, WithoutTipsTheWindowOpensEmptyAndNextTipClosesIt)
{
    for (const bool emptyFile : {false, true}) {
        SCOPED_TRACE(emptyFile ? "empty file" : "no file");
        if (emptyFile)
            writeTips(QByteArray());
        setProgramSetting(kValueNextTip, QStringLiteral("1"));
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
    for (const bool ticked : {false, true, false}) {
        frmTipOfTheDay tip;
        tip.prepare();
        auto *box = tip.findChild<QCheckBox *>(QStringLiteral("chkShowTipsAtStartup"));
        EXPECT_EQ(box->isChecked(), setting(kValueShowTipAtStartup) != "1");
        box->setChecked(ticked);
        const bool viaOk = setting(kValueShowTipAtStartup) != "0"; // the last round leaves by the close box
        viaOk ? tip.cmdOK_Click() : void(tip.close());
        EXPECT_EQ(setting(kValueShowTipAtStartup), viaOk && !ticked ? "1" : "0");
    }
}

struct StartUpCase {
    const char *name;
    const char *stored; // null: never stored
    bool shown;
};
void PrintTo(const StartUpCase &c, std::ostream *out) { *out << c.name; }

class TipAtStartUp : public TipTest, public ::testing::WithParamInterface<StartUpCase>
{
};

TEST_P(TipAtStartUp, ShowsOverTheMainWindowWhileTheSettingReadsNought)
{
    ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces")));
    writeTips("Welcome aboard\r\nSecond tip\r\n");
    if (GetParam().stored)
        setProgramSetting(kValueShowTipAtStartup, QString::fromUtf8(GetParam().stored));
    std::unique_ptr<MDIMain> window = Main(0);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto *tip = window->findChild<frmTipOfTheDay *>();
    ASSERT_EQ(tip != nullptr && tip->isVisible(), GetParam().shown);
    if (tip) {
        EXPECT_EQ(tip->tipText(), "Welcome aboard");
    }
    EXPECT_EQ(setting(kValueNextTip), GetParam().shown ? "1" : "<missing>");
}

INSTANTIATE_TEST_SUITE_P(Settings, TipAtStartUp,
                         ::testing::Values(StartUpCase{"Missing", nullptr, true}, StartUpCase{"Nought", "0", true},
                                           StartUpCase{"One", "1", false},
                                           StartUpCase{"NotANumber", "no", true}),
                         [](const ::testing::TestParamInfo<StartUpCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace quorl
