#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

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
    return GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name),
                            QStringLiteral("<missing>"));
}

void store(const char *name, const QString &value)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(name), value);
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

    template <class T>
    T *control(const char *name)
    {
        T *found = form.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString eventLog() const { return text::readAnsiFile(EventLogPath); }

    // What the control shows, as text.
    QString shownBy(const char *name)
    {
        QWidget *shown = control<QWidget>(name);
        if (auto *combo = qobject_cast<QComboBox *>(shown))
            return combo->currentText();
        if (auto *box = qobject_cast<QLineEdit *>(shown))
            return box->text();
        if (auto *picker = qobject_cast<QTimeEdit *>(shown))
            return picker->time().toString(QStringLiteral("HH:mm"));
        if (auto *check = qobject_cast<QCheckBox *>(shown))
            return check->isChecked() ? QStringLiteral("ticked") : QStringLiteral("clear");
        return QString();
    }

    frmRegionalSettings form;
};

TEST_F(RegionalSettingsTest, AFreshRegistryShowsThePostCodeTheUsualTimesAndTheCounts)
{
    EXPECT_EQ(control<QComboBox>("cboPostCode")->currentText(), "Post Code");
    EXPECT_EQ(control<QLineEdit>("txtCurrencySymbol")->text(), "\u00a3");
    EXPECT_EQ(control<QTimeEdit>("dtpCheckInTime")->time(), QTime(9, 0));
    EXPECT_EQ(control<QTimeEdit>("dtpCheckOutTime")->time(), QTime(14, 0));
    EXPECT_TRUE(control<QCheckBox>("chkShowKidsAdults")->isChecked());
}

TEST_F(RegionalSettingsTest, OkStoresEverySettingMakesTheTraceFolderAndLogsWhatItStored)
{
    control<QComboBox>("cboPostCode")->setCurrentIndex(1);
    control<QLineEdit>("txtCurrencySymbol")->setText(QStringLiteral("$"));
    control<QTimeEdit>("dtpCheckInTime")->setTime(QTime(10, 30));
    control<QTimeEdit>("dtpCheckOutTime")->setTime(QTime(16, 0));
    control<QCheckBox>("chkShowKidsAdults")->setChecked(false);
    ASSERT_TRUE(QDir(driveC() + QStringLiteral("/Quorlc/traces")).removeRecursively());
    QTest::mouseClick(control<QPushButton>("cmdOK"), Qt::LeftButton);

    EXPECT_EQ(setting(kValuePostCode), "1");
    EXPECT_EQ(setting(kValueCurrencySymbol), "$");
    EXPECT_EQ(setting(kValueCheckInTime), "10:30:00");
    EXPECT_EQ(setting(kValueCheckoutTime), "16:00:00");
    EXPECT_EQ(setting(kValueShowAdultsAndKids), "0");
    EXPECT_EQ(setting(kValueTraces), "C:\\Quorlc\\Traces\\");
    // The next start logs into the folder the setting names.
    EXPECT_TRUE(QFileInfo(driveC() + QStringLiteral("/Quorlc/Traces")).isDir());
}

TEST_F(RegionalSettingsTest, OkWritesEventTwentySixWithTheStoredValues)
{
    form.cmdOK_Click();
    EXPECT_EQ(eventLog(), eventLogEntry(defaultNow(), evRegionalSettingsModified,
                                        QStringLiteral("Postcode: 0, Currency Symbol: \u00a3, Check in time: "
                                                       "09:00:00, Check out time: 14:00:00")));
    // Also when nothing changed, every value is stored.
    EXPECT_EQ(setting(kValuePostCode), "0");
    EXPECT_EQ(setting(kValueShowAdultsAndKids), "1");
    EXPECT_EQ(setting(kValueTraces), "C:\\Quorlc\\Traces\\");
}

TEST_F(RegionalSettingsTest, CancelAndTheCloseBoxStoreNothing)
{
    control<QComboBox>("cboPostCode")->setCurrentIndex(1);
    form.cmdCancel_Click();
    form.load();
    control<QComboBox>("cboPostCode")->setCurrentIndex(1);
    form.close();
    EXPECT_EQ(setting(kValuePostCode), "<missing>");
    EXPECT_EQ(setting(kValueTraces), "<missing>");
    EXPECT_EQ(eventLog(), "");
}

struct StoredCase {
    const char *name;
    const char *value;
    const char *stored;
    const char *control;
    QString shown;
};

void PrintTo(const StoredCase &c, std::ostream *out)
{
    *out << c.name;
}

class StoredSettings : public RegionalSettingsTest, public ::testing::WithParamInterface<StoredCase>
{
};

// What a stored value shows, and that OK without a change keeps its meaning.
TEST_P(StoredSettings, ShowAsTheyMeanAndKeepTheirMeaningThroughOk)
{
    const StoredCase &c = GetParam();
    store(c.value, QString::fromUtf8(c.stored));
    form.load();
    EXPECT_EQ(shownBy(c.control), c.shown);
    form.cmdOK_Click();
    form.load();
    EXPECT_EQ(shownBy(c.control), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredSettings,
    ::testing::Values(StoredCase{"PostCodeNought", kValuePostCode, "0", "cboPostCode", "Post Code"},
                      StoredCase{"PostCodeOne", kValuePostCode, "1", "cboPostCode", "Zip Code"},
                      StoredCase{"PostCodeNoneChosen", kValuePostCode, "-1", "cboPostCode", "Zip Code"},
                      StoredCase{"CurrencyNoughtMeansTheSystems", kValueCurrencySymbol, "0", "txtCurrencySymbol",
                                 QStringLiteral("\u00a3")},
                      StoredCase{"CurrencyOfItsOwn", kValueCurrencySymbol, "EUR", "txtCurrencySymbol", "EUR"},
                      StoredCase{"CheckInAsStored", kValueCheckInTime, "07:30:00", "dtpCheckInTime", "07:30"},
                      StoredCase{"CheckInWithADatePart", kValueCheckInTime, "30/12/1899 11:00:00", "dtpCheckInTime",
                                 "11:00"},
                      StoredCase{"CheckOutUnreadable", kValueCheckoutTime, "noon", "dtpCheckOutTime", "14:00"},
                      StoredCase{"CountsOff", kValueShowAdultsAndKids, "0", "chkShowKidsAdults", "clear"},
                      StoredCase{"CountsOn", kValueShowAdultsAndKids, "1", "chkShowKidsAdults", "ticked"}),
    [](const ::testing::TestParamInfo<StoredCase> &info) { return std::string(info.param.name); });

TEST_F(RegionalSettingsTest, ACurrencySymbolOfNoughtShowsTheSystemsSymbolNextTime)
{
    SetRegistryValue(HKEY_USERS, QString::fromUtf8(kInternationalKey), QString::fromUtf8(kValueSystemCurrency),
                     QStringLiteral("kr"));
    control<QLineEdit>("txtCurrencySymbol")->setText(QStringLiteral("0"));
    form.cmdOK_Click();
    EXPECT_EQ(setting(kValueCurrencySymbol), "0");
    form.load();
    EXPECT_EQ(control<QLineEdit>("txtCurrencySymbol")->text(), "kr");
}

} // namespace
} // namespace quorl
