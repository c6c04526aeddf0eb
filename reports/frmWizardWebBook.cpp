#include "reports/frmWizardWebBook.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/MDIMain.h"
#include "core/RegistryValues.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "reports/modWebBookingPage.h"

namespace quorl {
namespace {

QLabel *caption(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

WebBookingSettings readWebBookingSettings()
{
    WebBookingSettings settings;
    auto rows = OpenRecordset(QStringLiteral("Settings"), nullptr, true, db::adCmdTableDirect);
    if (!rows->isOpen())
        throw db::Error(rows->lastError());
    if (!rows->isEOF()) {
        settings.email = rows->value(QStringLiteral("WebBookingEmail")).toString();
        const QVariant index = rows->value(QStringLiteral("WebBookingProviderIndex"));
        settings.providerIndex = index.toInt() == 1 ? 1 : 0;
        settings.custom = rows->value(QStringLiteral("WebBookingProviderCustom")).toString();
    }
    return settings;
}

void saveWebBookingSettings(const WebBookingSettings &settings)
{
    const QString values = QStringLiteral("WebBookingEmail = %1, WebBookingProviderIndex = %2, "
                                          "WebBookingProviderCustom = %3")
                               .arg(db::SqlQuote(settings.email), db::sqlNumber(settings.providerIndex),
                                    db::SqlQuote(settings.custom));
    if (DbConnection->Execute(QStringLiteral("UPDATE Settings SET ") + values) > 0)
        return;
    // A file whose Settings row was lost gets it back, so the choices are not dropped.
    DbConnection->Execute(QStringLiteral("INSERT INTO Settings (WebBookingEmail, WebBookingProviderIndex, "
                                         "WebBookingProviderCustom) VALUES (%1, %2, %3)")
                              .arg(db::SqlQuote(settings.email), db::sqlNumber(settings.providerIndex),
                                   db::SqlQuote(settings.custom)));
}

frmWizardWebBook::frmWizardWebBook(QWidget *parent)
    : WelcomeWizard(parent, "frmWizardWebBook", QString::fromUtf8(kValueWebBookingsWelcomeScreen),
                    {QStringLiteral("Web Booking Configuration Wizard"),
                     {QStringLiteral("Welcome to the Web Booking Configuration Wizard"),
                      QStringLiteral("Usin this wizard you can configure your website to accept online bookings."),
                      QStringLiteral("To contionue, click Next.")}})
{
    QVBoxLayout *emailPage = addPage(
        QStringLiteral("Enter your email booking address"),
        {QStringLiteral("Enter the email address that should receive the bookings made from the website.")});
    txtWebBookingEmail = new QLineEdit;
    txtWebBookingEmail->setObjectName(QStringLiteral("txtWebBookingEmail"));
    auto *emailForm = new QFormLayout;
    emailForm->addRow(caption(nullptr, nullptr, QStringLiteral("Booking email address:"), txtWebBookingEmail),
                      txtWebBookingEmail);
    emailPage->addLayout(emailForm);
    emailPage->addStretch(1);

    QVBoxLayout *providerPage =
        addPage(QStringLiteral("Choose your email provider"),
                {QStringLiteral("Select the email provider to use to send your email confirmations. If you are not "
                                "sure, then leave the default setting.")});
    cboProvider = new QComboBox;
    cboProvider->setObjectName(QStringLiteral("cboProvider"));
    cboProvider->addItems({QStringLiteral("Response-o-Matic (default)"), QStringLiteral("Custom...")});
    txtCustomProvider = new QLineEdit;
    txtCustomProvider->setObjectName(QStringLiteral("txtCustomProvider"));
    auto *providerForm = new QFormLayout;
    providerForm->addRow(caption(nullptr, "Label1", QStringLiteral("Email provider:"), cboProvider), cboProvider);
    providerForm->addRow(caption(nullptr, "Label2", QStringLiteral("Custom provider:"), txtCustomProvider),
                         txtCustomProvider);
    providerPage->addLayout(providerForm);
    providerPage->addStretch(1);

    addPage(QStringLiteral("Enter Your Room Information"), {QStringLiteral("Click Finish to complete your configuration")})
        ->addStretch(1);
    finishPages();
}

void frmWizardWebBook::prepare()
{
    const WebBookingSettings settings = readWebBookingSettings();
    txtWebBookingEmail->setText(settings.email);
    cboProvider->setCurrentIndex(settings.providerIndex);
    txtCustomProvider->setText(settings.custom);
}

bool frmWizardWebBook::finish()
{
    WebBookingSettings settings;
    settings.email = txtWebBookingEmail->text();
    settings.providerIndex = cboProvider->currentIndex() == 1 ? 1 : 0;
    settings.custom = txtCustomProvider->text();
    try {
        saveWebBookingSettings(settings);
    } catch (const db::Error &error) {
        // Nothing is stored and the wizard stays open with what was typed.
        logError(QStringLiteral("frmWizardWebBook.Finish"), error);
        ui::MsgBox(Sprintf(QStringLiteral("Can't save the web booking settings:%n%s"),
                           error.isBusy() ? QString::fromUtf8(db::kBusyMessage) : error.message()),
                   ui::vbCritical, windowTitle());
        return false;
    }
    storeWelcomeChoice();
    WriteEventLog(ui::Now(), evSettingsModified,
                  QStringLiteral("Web Booking Email: '%1', Web Booking Provider: %2, Web Booking Custom Provider: '%3'")
                      .arg(settings.email, cboProvider->itemText(settings.providerIndex), settings.custom));

    if (ui::MsgBox(QStringLiteral("Would you like to create a booking web page now?"), ui::vbYesNo, windowTitle())
        == ui::vbYes) {
        try {
            GenerateWebBookingPage(webBookingFormAction(settings.providerIndex, settings.custom), settings.email);
        } catch (const std::exception &error) {
            logError(QStringLiteral("frmWizardWebBook.Finish"), error);
        }
    }
    return true;
}

} // namespace quorl
