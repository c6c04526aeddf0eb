#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "core/frmRegionalSettings.h"
#include "core/modEventLog.h"
#include "platform/registry/Registry.h"
#include "platform/text/Text.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

QString setting(const char *name)
{
    return programSetting(name, "<missing>");
}

class RegionalSettingsTest : public QuorlTest
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(driveC() + QStringLiteral("/Quorlc/traces")));
        InitEventLog();
        form.load();
    }

    void TearDown() override
    {
        EventLogPath.clear();
        QuorlTest::TearDown();
    }

    // What the dialog shows, box by box.
    QStringList shown()
    {
        return {form.findChild<QComboBox *>("cboPostCode")->currentText(),
                form.findChild<QLineEdit *>("txtCurrencySymbol")->text(),
                form.findChild<QTimeEdit *>("dtpCheckInTime")->time().toString("HH:mm"),
                form.findChild<QTimeEdit *>("dtpCheckOutTime")->time().toString("HH:mm"),
                form.findChild<QCheckBox *>("chkShowKidsAdults")->isChecked() ? "counts" : "no counts"};
    }

    frmRegionalSettings form;
};

TEST_F(RegionalSettingsTest, OkStoresEverySettingAndTheNextOpeningShowsThem)
{
    EXPECT_EQ(shown(), QStringList({"Post Code", "\u00a3", "09:00", "14:00", "counts"}));
    form.findChild<QComboBox *>("cboPostCode")->setCurrentIndex(1);
    form.findChild<QLineEdit *>("txtCurrencySymbol")->setText(QStringLiteral("$"));
    form.findChild<QTimeEdit *>("dtpCheckInTime")->setTime(QTime(10, 30));
    form.findChild<QTimeEdit *>("dtpCheckOutTime")->setTime(QTime(16, 0));
    form.findChild<QCheckBox *>("chkShowKidsAdults")->setChecked(false);
    QTest::mouseClick(form.findChild<QPushButton *>("cmdOK"), Qt::LeftButton);

    EXPECT_EQ((QStringList{setting(kValuePostCode), setting(kValueCurrencySymbol), setting(kValueCheckInTime),
                           setting(kValueCheckoutTime), setting(kValueShowAdultsAndKids), setting(kValueTraces)}),
              QStringList({"1", "$", "10:30:00", "16:00:00", "0", "C:\\Quorlc\\Traces\\"}));
    EXPECT_EQ(text::readAnsiFile(EventLogPath),
              eventLogEntry(defaultNow(), evRegionalSettingsModified,
                            "Postcode: 1, Currency Symbol: $, Check in time: 10:30:00, Check out time: 16:00:00"));
    form.load();
    EXPECT_EQ(shown(), QStringList({"Zip Code", "$", "10:30", "16:00", "no counts"}));
}

TEST_F(RegionalSettingsTest, OkMakesTheTraceFolderItStores)
{
    ASSERT_TRUE(QDir(driveC() + QStringLiteral("/Quorlc/traces")).removeRecursively());
    form.cmdOK_Click();
    EXPECT_TRUE(QFileInfo(driveC() + QStringLiteral("/Quorlc/Traces")).isDir());
}

TEST_F(RegionalSettingsTest, CancelAndTheCloseBoxStoreNothing)
{
    form.findChild<QComboBox *>("cboPostCode")->setCurrentIndex(1);
    form.cmdCancel_Click();
    form.close();
    EXPECT_EQ(setting(kValuePostCode), "<missing>");
    EXPECT_EQ(text::readAnsiFile(EventLogPath), "");
}

TEST_F(RegionalSettingsTest, StoredValuesShowAsTheyMean)
{
    SetRegistryValue(HKEY_USERS, kInternationalKey, kValueSystemCurrency, QStringLiteral("kr"));
    setProgramSetting(kValuePostCode, QStringLiteral("-1"));      // no choice made: not a post code
    setProgramSetting(kValueCurrencySymbol, QStringLiteral("0")); // the system's symbol
    setProgramSetting(kValueCheckInTime, QStringLiteral("30/12/1899 11:00:00"));
    setProgramSetting(kValueCheckoutTime, QStringLiteral("noon")); // unreadable: the usual time
    form.load();
    EXPECT_EQ(shown(), QStringList({"Zip Code", "kr", "11:00", "14:00", "counts"}));
    form.findChild<QLineEdit *>("txtCurrencySymbol")->setText(QStringLiteral("0"));
    form.cmdOK_Click();
    EXPECT_EQ(setting(kValueCurrencySymbol), "0");
}

} // namespace
} // namespace quorl
