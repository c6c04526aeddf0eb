#pragma once

#include <QString>

#include "reports/WelcomeWizard.h"

class QLineEdit;
class QPushButton;

namespace quorl {

// The customers' e-mail addresses that are not empty, in the order they were entered,
// joined by ", ": one line, ready for the address line of a mail program.
QString mailingListText();

// Writes the addresses (mailingListText()) and CR LF into the file, as Windows-1252. The
// file appears only whole, never over a file of the database in use or a device; false,
// with the reason in *error, when it could not be written.
bool writeMailingList(const QString &localPath, const QString &addresses, QString *error = nullptr);

// The three-page wizard that writes the customers' e-mail addresses into a file.
class frmWizardMailList : public WelcomeWizard
{
    Q_OBJECT

public:
    explicit frmWizardMailList(QWidget *parent = nullptr);

    QLineEdit *txtFileName = nullptr;
    QPushButton *cmdBrowse = nullptr;

public slots:
    void cmdBrowse_Click();

protected:
    bool mayLeave(int page) override;
    bool finish() override;

private:
    // A file error: says so and sends the user back to the name. Always false.
    bool backToFileName(const QString &message);
};

} // namespace quorl
