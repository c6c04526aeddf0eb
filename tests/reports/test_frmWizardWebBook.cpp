#include "reports/frmWizardWebBook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "core/RegistryValues.h"
#include "masterdata/MasterDataTest.h"
#include "platform/registry/Registry.h"

namespace quorl {
namespace {

class WebWizardTest : public MasterDataTest
{
protected:
    static QString welcomeValue()
    {
        return GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey),
                                QString::fromUtf8(kValueWebBookingsWelcomeScreen), QStringLiteral("<unset>"));
    }

    // Opens the wizard and runs act while it is shown; true when it was left open.
    bool run(std::function<void(frmWizardWebBook &)> act)
    {
        bool leftOpen = false;
        onModal<frmWizardWebBook>(std::move(act), &leftOpen);
        frmWizardWebBook wizard;
        wizard.Display();
        return leftOpen;
    }

    static void next(frmWizardWebBook &w, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            w.cmdNext->click();
    }

    QString target() const { return worldDir() + QStringLiteral("/page.html"); }
};

TEST_F(WebWizardTest, CustomProviderIsStoredLoggedAndUsedByThePage)
{
    exec(QStringLiteral("UPDATE Settings SET WebBookingEmail = 'old@marina.example', WebBookingProviderIndex = 0, "
                        "WebBookingProviderCustom = 'https://kept.example/form'"));
    expectMessage(QStringLiteral("Would you like to create a booking web page now?"), ui::vbYes);
    expectFileDialog(target());
    const bool leftOpen = run([](frmWizardWebBook &w) {
        EXPECT_EQ(w.currentPage(), 0);
        EXPECT_EQ(w.txtWebBookingEmail->text(), QStringLiteral("old@marina.example"));
        EXPECT_EQ(w.txtCustomProvider->text(), QStringLiteral("https://kept.example/form"));
        next(w);
        w.txtWebBookingEmail->setText(QStringLiteral("o'hara@marina.example"));
        next(w);
        w.cboProvider->setCurrentIndex(1);
        w.txtCustomProvider->setText(QStringLiteral("https://custom.example/cgi-bin/mail"));
        next(w);
        next(w);
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(scalar(QStringLiteral("SELECT WebBookingEmail || '|' || WebBookingProviderIndex || '|' || "
                                    "WebBookingProviderCustom FROM Settings")),
              QStringLiteral("o'hara@marina.example|1|https://custom.example/cgi-bin/mail"));
    EXPECT_EQ(eventLog(), entry(QStringLiteral("Settings modified"),
                                QStringLiteral("Web Booking Email: 'o'hara@marina.example', Web Booking Provider: "
                                               "Custom..., Web Booking Custom Provider: "
                                               "'https://custom.example/cgi-bin/mail'")));
    QFile page(target());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    EXPECT_TRUE(html.contains("action=\"https://custom.example/cgi-bin/mail\""));
    EXPECT_EQ(html.count("value=\"o&#39;hara@marina.example\""), 2);
    EXPECT_EQ(welcomeValue(), QStringLiteral("<unset>"));
}

TEST_F(WebWizardTest, UntickedWelcomeMakesTheNextOpeningStartOnTheAddressPage)
{
    expectMessage(QStringLiteral("Would you like to create"), ui::vbNo);
    run([](frmWizardWebBook &w) {
        w.chkWelcome->setChecked(false);
        next(w, 4);
    });
    EXPECT_EQ(welcomeValue(), QStringLiteral("1"));

    expectMessage(QStringLiteral("Would you like to create"), ui::vbNo);
    run([](frmWizardWebBook &w) {
        EXPECT_EQ(w.currentPage(), 1);
        EXPECT_FALSE(w.chkWelcome->isChecked());
        w.cmdBack->click();
        EXPECT_EQ(w.currentPage(), 0);
        EXPECT_FALSE(w.cmdBack->isVisible());
        w.chkWelcome->setChecked(true);
        next(w, 4);
    });
    EXPECT_EQ(welcomeValue(), QStringLiteral("0"));
}

TEST_F(WebWizardTest, CancelStoresNothing)
{
    const bool leftOpen = run([](frmWizardWebBook &w) {
        w.chkWelcome->setChecked(false);
        next(w);
        w.txtWebBookingEmail->setText(QStringLiteral("new@marina.example"));
        w.cmdCancel->click();
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(scalar(QStringLiteral("SELECT WebBookingEmail FROM Settings")), QString());
    EXPECT_EQ(eventLog(), QString());
    EXPECT_EQ(welcomeValue(), QStringLiteral("<unset>"));
}

TEST_F(WebWizardTest, DatabaseWithoutSettingsRowGetsOne)
{
    exec(QStringLiteral("DELETE FROM Settings"));
    expectMessage(QStringLiteral("Would you like to create"), ui::vbNo);
    run([](frmWizardWebBook &w) {
        EXPECT_TRUE(w.txtWebBookingEmail->text().isEmpty());
        next(w);
        w.txtWebBookingEmail->setText(QStringLiteral("first@marina.example"));
        next(w, 3);
    });
    EXPECT_EQ(count(QStringLiteral("Settings")), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT WebBookingEmail || '|' || WebBookingProviderIndex FROM Settings")),
              QStringLiteral("first@marina.example|0"));
}

} // namespace
} // namespace quorl
