#pragma once

#include <QString>

#include "reports/WelcomeWizard.h"

class QComboBox;
class QLineEdit;

namespace quorl {

// What the web booking settings hold: the office's address and the service the page posts to.
struct WebBookingSettings {
    QString email;
    int providerIndex = 0;   // 0 the built-in service, 1 the custom address
    QString custom;
};

// The Settings row, or the empty choice (no address, built-in service) when the table has none.
WebBookingSettings readWebBookingSettings();

// Stores the settings in the one Settings row, making it when the table has none.
// Throws db::Error when the database refuses.
void saveWebBookingSettings(const WebBookingSettings &settings);

// The four-page wizard that sets up the web booking page: the address receiving the
// requests and the service that mails them. Finish stores both and offers the page.
class frmWizardWebBook : public WelcomeWizard
{
    Q_OBJECT

public:
    explicit frmWizardWebBook(QWidget *parent = nullptr);

    QLineEdit *txtWebBookingEmail = nullptr;
    QComboBox *cboProvider = nullptr;
    QLineEdit *txtCustomProvider = nullptr;

protected:
    void prepare() override;
    bool finish() override;
};

} // namespace quorl
